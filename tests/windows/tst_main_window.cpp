#include "core/desk/desk_settings.h"
#include "core/model/patient.h"
#include "core/reception/waiting_list.h"
#include "core/safekeeping/activity_log.h"
#include "core/schedule/clinic_calendar.h"
#include "core/storage/stored_bookings.h"
#include "core/text/written_dates.h"
#include "files/sqlite_storage.h"
#include "platform/language.h"
#include "platform/log_file.h"
#include "support/book_window.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QTableWidget>

#include <QElapsedTimer>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QMenu>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTimer>
#include <QWheelEvent>

using namespace velmora;
using velmora::testing::BookWindow;

namespace {

const QDate kMonday(2027, 3, 1);

// Monday to Sunday 08:00 to 09:00 at the given slot length.
void morningDoctor(BookWindow &book, int slot, const QString &name, const QString &interval = "15",
                   int link = 0)
{
    book.files.setDoctor(slot, name, interval, {"0800", "0900"}, link);
}

// The window open with that doctor in slot 1 chosen, on the Current date.
void openOnMorningDoctor(BookWindow &book)
{
    morningDoctor(book, 1, "Ana");
    book.open();
    book.chooseDoctor(1);
}

} // namespace

class MainWindowTest : public QObject
{
    Q_OBJECT
    const ProgramLanguage speaking_; // the system's, as the program speaks it: counts read right

private Q_SLOTS:
    void startUpState()
    {
        BookWindow book;
        book.files.setDoctor(1, "Ana Souza", "15");
        book.files.setDoctor(6, "Six", "20");
        book.open();
        QCOMPARE(book.window->windowTitle(), QStringLiteral("Velmora 3.2"));
        QComboBox *combo = book.combo();
        QCOMPARE(combo->currentText(), QStringLiteral("Choose the doctor"));
        QCOMPARE(combo->itemText(0), QStringLiteral("Ana Souza"));
        QCOMPARE(combo->itemText(1), QString());
        QCOMPARE(combo->itemText(5), QStringLiteral("Six"));
        QVERIFY(book.button("cmd_inc")->isEnabled());
        QVERIFY(!book.button("cmd_alt")->isEnabled());
        QVERIFY(!book.button("cmd_exc")->isEnabled());
        QVERIFY(book.rows().isEmpty());
        QCOMPARE(book.dateLabel(), QLocale::system().toString(kMonday, QLocale::LongFormat));
        QVERIFY(combo->hasFocus());
        // The clock shows the time from the first paint, not its design text.
        QVERIFY(book.find<QLabel>("lab_hora")->text().contains(QStringLiteral("20:30")));
        QVERIFY(!book.find<QLabel>("firstStartHint")->isVisible());
        QCOMPARE(book.button("cmd_exc")->toolTip(), QStringLiteral("Remove  schedule"));
        // "&TODAY" sits in the blue-lettered frame but takes the desktop's button text colour.
        QCOMPARE(book.button("Command7")->palette().color(QPalette::ButtonText),
                 QApplication::palette().color(QPalette::ButtonText));

        // Tab walks the controls in their order and back to the doctor list, at any window size, the side
        // panel's beside them too.
        const QStringList order = {"List1",    "cmd_imp",  "cmd_sai",  "Text1",    "Text2",    "Text3",
                                   "Text4",    "Text5",    "Command1", "Command2", "Command3", "Command4",
                                   "Command5", "Command6", "Command7", "cmd_inc",  "cmd_cad"};
        for (const QSize size : {book.window->size(), QSize(400, 300), QSize(1366, 768)}) {
            book.window->resize(size);
            QStringList visited;
            for (int i = 0; i <= order.size(); ++i) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                visited << QApplication::focusWidget()->objectName();
            }
            QCOMPARE(visited, order + QStringList{"Combo1"});
        }

        QTest::mouseClick(book.find<QLabel>("Image1"), Qt::LeftButton);
        QCOMPARE(book.platform.browser.opened.size(), 1);
        QVERIFY(book.platform.messages.shown.isEmpty());
    }

    // A name without value stops the fill after the names before it; the timer tries again until the
    // record can be read whole.
    void doctorListFillRetries()
    {
        BookWindow book;
        book.files.setDoctor(1, "Ana", "15");
        book.files.exec("bdm6.mdb", "UPDATE profs SET prof3 = NULL");
        book.create();
        book.window->show();
        QTRY_COMPARE(book.combo()->count(), 2);
        QCOMPARE(book.combo()->currentText(), QStringLiteral("Choose the doctor"));
        auto *timer = book.window->findChild<QTimer *>(QStringLiteral("Timer1"));
        QVERIFY(timer->isActive());
        book.files.setSetting("bdm6.mdb", "prof3", "Carla");
        QTRY_COMPARE(book.combo()->count(), 10);
        QCOMPARE(book.combo()->itemText(2), QStringLiteral("Carla"));
        QVERIFY(!timer->isActive());
        QVERIFY(book.platform.messages.shown.isEmpty());
    }

    // A time typed in another form than the list's is asked about; Yes books it at the list's time.
    void aTimeTypedShortIsAskedAbout()
    {
        BookWindow book;
        morningDoctor(book, 1, "Ana");
        book.files.addAppointment(1, kMonday, "08:00", "First");
        book.open();
        book.chooseDoctor(1);
        book.typeInto(1, "8:00");
        book.typeInto(2, "Second");
        book.platform.messages.answers = {true};
        book.click("cmd_inc");
        QVERIFY2(book.platform.messages.shown.value(0).contains("8:00 is 08:00 in the list"),
                 qPrintable(book.platform.messages.shown.join('|')));
        QVERIFY(book.rowStartingWith(QStringLiteral("08:00  Second")) >= 0);
    }

    // The next patient's Add asks about the plan and phones the previous booking left in the fields;
    // No clears them.
    void aPreviousPatientsPlanIsNotCarriedUnseen()
    {
        BookWindow book;
        morningDoctor(book, 1, "Ana");
        book.open();
        book.chooseDoctor(1);
        for (const auto &[field, text] :
             {std::pair{1, "08:00"}, std::pair{2, "Maria"}, std::pair{3, "Unimed"}, std::pair{4, "1199"}})
            book.typeInto(field, text);
        book.click("cmd_inc");
        book.typeInto(1, "08:15");
        book.typeInto(2, "Joao");
        book.platform.messages.answers = {false};
        book.click("cmd_inc");
        QVERIFY2(book.platform.messages.shown.value(0).contains("still those of the previous booking"),
                 qPrintable(book.platform.messages.shown.join('|')));
        QCOMPARE(book.files.appointments(1).filter("Joao"), QStringList{"2027-03-01|08:15|Joao|||"});
    }

    // The patient booked once is listed under the name field as she is typed again, and chosen fills
    // the booking; typed by hand with her phone, she is asked about: every booking stays hers alone.
    void thePatientIsFoundBeforeBeingTypedTwice()
    {
        BookWindow book;
        openOnMorningDoctor(book);
        book.typeInto(1, "08:00");
        book.typeInto(2, "Maria da Conceição");
        book.typeInto(4, "(11) 98765-4321");
        book.click("cmd_inc");

        book.typeInto(1, "08:15");
        book.typeInto(2, "conc");
        QAbstractItemView *list = nullptr; // a window of its own, under the field
        for (QWidget *widget : QApplication::topLevelWidgets())
            if (widget->objectName() == QLatin1String("patientList"))
                list = qobject_cast<QAbstractItemView *>(widget);
        QVERIFY(list && list->isVisible());
        QCOMPARE(list->model()->index(0, 0).data().toString(),
                 QStringLiteral("Maria da Conceição, (11) 98765-4321"));
        QTest::keyClick(list, Qt::Key_Down);
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(book.field(2)->text(), QStringLiteral("Maria da Conceição"));
        QCOMPARE(book.field(4)->text(), QStringLiteral("(11) 98765-4321"));
        book.click("cmd_inc");

        book.typeInto(1, "08:30");
        book.typeInto(2, "MARIA CONCEICAO");
        book.typeInto(4, "11987654321");
        book.platform.messages.choices = {0}; // Book for Maria da Conceição
        book.click("cmd_inc");
        QVERIFY2(book.platform.messages.last().contains("may be a patient already recorded"),
                 qPrintable(book.platform.messages.shown.join('|')));
        QString error;
        QVector<Patient> patients;
        QVERIFY(book.storage->readPatients(&patients, &error));
        QCOMPARE(patients.size(), 1);
        QVector<FoundBooking> hers;
        QVERIFY(book.storage->readPatientBookings(patients.first().id, &hers, &error));
        QCOMPARE(hers.size(), 3);

        // Her record from the day list: every appointment, and the clinic's checks on saving it.
        book.clickRow(0);
        QTest::keyClick(book.window, Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
        auto *record = book.window->findChild<QWidget *>("patientWindow");
        QVERIFY(record && record->isVisible());
        QCOMPARE(record->findChild<QTableWidget *>("patientAppointments")->rowCount(), 3);
        auto *cpf = record->findChild<QLineEdit *>("patientCpf");
        BookWindow::typeText(cpf, "111.111.111-11");
        QTest::mouseClick(record->findChild<QPushButton *>("patientSave"), Qt::LeftButton);
        QVERIFY2(book.platform.messages.last().contains("CPF"), qPrintable(book.platform.messages.last()));
        cpf->clear();
        BookWindow::typeText(cpf, "529.982.247-25");
        record->findChild<QComboBox *>("patientMessages")->setCurrentIndex(2); // she said no to messages
        QTest::mouseClick(record->findChild<QPushButton *>("patientSave"), Qt::LeftButton);
        QVERIFY(book.storage->readPatients(&patients, &error));
        QCOMPARE(patients.first().cpf, QStringLiteral("52998224725"));
        QCOMPARE(patients.first().messages.consent, MessageConsent::No); // signed by whoever noted it
        QVERIFY(patients.first().messages.at.isValid() && !patients.first().messages.by.isEmpty());
    }

    // Two records of one person, made apart on purpose, merged from the first one's record, the part
    // they differ in picked; then undone from there.
    void twoRecordsMergedAndUndone()
    {
        BookWindow book;
        openOnMorningDoctor(book);
        for (const auto &[time, name] :
             {std::pair{"08:00", "Maria Souza"}, std::pair{"08:15", "Maria S. Souza"}}) {
            book.typeInto(1, time);
            book.typeInto(2, name);
            book.typeInto(4, "(11) 99999-0000");
            book.platform.messages.choices = {1}; // the second: a new patient, with the same phones
            book.platform.messages.answers = {true};
            book.click("cmd_inc");
        }
        QString error;
        QVector<Patient> patients;
        QVERIFY(book.storage->readPatients(&patients, &error));
        QCOMPARE(patients.size(), 2);
        const auto bookingsOf = [&](qint64 patient) {
            QVector<FoundBooking> found;
            return book.storage->readPatientBookings(patient, &found, &error) ? found.size() : -1;
        };

        book.clickRow(0);
        QTest::keyClick(book.window, Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
        auto *record = book.window->findChild<QWidget *>("patientWindow");
        BookWindow::typeText(record->findChild<QLineEdit *>("patientMergeWith"), "maria s");
        QCOMPARE(record->findChild<QListWidget *>("patientMergeCandidates")->count(), 1);
        book.platform.messages.choices = {1}; // the full name: take "Maria S. Souza"
        book.platform.messages.answers = {true};
        auto *merge = record->findChild<QPushButton *>("patientMerge");
        QTest::mouseClick(merge, Qt::LeftButton);
        QVERIFY2(book.platform.messages.shown.filter("Full name differs").size() == 1,
                 qPrintable(book.platform.messages.shown.join('|')));
        QCOMPARE(bookingsOf(patients.first().id), 2);
        QVERIFY(book.storage->readPatients(&patients, &error));
        QCOMPARE(patients.first().fullName, QStringLiteral("Maria S. Souza"));
        QCOMPARE(patients.last().mergedInto, patients.first().id);

        QCOMPARE(merge->text(), QStringLiteral("Undo the mer&ge of Maria S. Souza"));
        book.platform.messages.answers = {true};
        QTest::mouseClick(merge, Qt::LeftButton);
        QCOMPARE(bookingsOf(patients.first().id), 1);
        QCOMPARE(bookingsOf(patients.last().id), 1);
        QVERIFY(book.storage->readPatients(&patients, &error));
        QCOMPARE(patients.first().fullName, QStringLiteral("Maria Souza"));
        QCOMPARE(patients.last().mergedInto, 0);
    }

    // Quit asks first while a booking is typed and not stored (in Portuguese its Alt+S is pressed for
    // other windows' buttons too); No goes on typing.
    void quitAsksWhileABookingIsTyped()
    {
        BookWindow book;
        morningDoctor(book, 1, "Ana");
        book.open();
        book.chooseDoctor(1);
        book.typeInto(1, "08:00");
        book.typeInto(2, "Maria");
        book.platform.messages.answers = {false};
        book.click("cmd_sai");
        QVERIFY(book.window->isVisible());
        QCOMPARE(book.field(2)->text(), QStringLiteral("Maria"));
        book.click("cmd_inc");
        book.click("cmd_sai"); // stored: nothing to ask
        QVERIFY(!book.window->isVisible());
    }

    // A note longer than its column, as an import keeps it, is shown whole in the field and its tool
    // tip; a key typed into it is refused rather than cutting it.
    void aLongNoteIsShownWhole()
    {
        BookWindow book;
        morningDoctor(book, 1, "Ana");
        const QString note = QStringLiteral("Nota longa importada ") + QString(150, QLatin1Char('x'));
        book.files.addAppointment(1, kMonday, "08:15", "Long Note", "", "", note);
        book.open();
        book.chooseDoctor(1);
        book.clickRow(book.rowStartingWith(QStringLiteral("08:15  Long Note")));
        QLineEdit *notes = book.field(5);
        QCOMPARE(notes->text(), note);
        QCOMPARE(notes->toolTip(), note);
        QTest::keyClick(notes, Qt::Key_Y);
        QCOMPARE(notes->text(), note);
    }

    // Ctrl+F finds a patient by a name typed without its accents; Enter brings the booking up in the
    // main window: its doctor, its date, its row selected and its fields filled.
    void findAPatientAndGoThere()
    {
        BookWindow book;
        morningDoctor(book, 1, "Ana");
        morningDoctor(book, 6, "Rui");
        book.files.addAppointment(6, kMonday.addDays(9), "08:30", "Maria Conceição", "Unimed");
        book.open();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F, Qt::ControlModifier); // from the doctor list
        auto *finder = book.window->findChild<QWidget *>("findWindow");
        QVERIFY(finder && finder->isVisible());
        auto *text = finder->findChild<QLineEdit *>("findText");
        QTest::keyClicks(text, "co");
        QTRY_VERIFY(finder->findChild<QLabel *>("findSaid")->text().contains("three letters"));
        QTest::keyClicks(text, "nceicao");
        auto *results = finder->findChild<QListWidget *>("findResults");
        QTRY_COMPARE(results->count(), 1);
        QVERIFY(results->item(0)->text().contains("Maria Conceição"));
        QTest::keyClick(text, Qt::Key_Return);
        QVERIFY(!finder->isVisible());
        QCOMPARE(book.appointmentBook->activeSlot(), 6);
        QCOMPARE(book.appointmentBook->currentDate(), kMonday.addDays(9));
        QCOMPARE(book.combo()->currentText(), QStringLiteral("Rui"));
        QVERIFY(book.list()->currentIndex().data().toString().startsWith("08:30  Maria Conceição"));
        QCOMPARE(book.field(2)->text(), QStringLiteral("Maria Conceição"));
        QVERIFY(book.button("cmd_alt")->isEnabled() && book.button("cmd_exc")->isEnabled());
        QVERIFY(book.platform.messages.shown.isEmpty());
    }

    // Ctrl+Shift+E lists the chosen doctor's first free time of the next days that have one; Enter brings the
    // day up with that free row selected and the time in its field, ready for Add. Without a doctor,
    // or hours, it says so.
    void firstFreeTimesInAKeystroke()
    {
        BookWindow book;
        book.files.setDoctor(1, "Ana", "30", {"0800", "0900"}); // 08:00, 08:30, 09:00 every day
        for (const char *time : {"08:00", "08:30", "09:00"})
            book.files.addAppointment(1, kMonday, time, "Full");
        book.files.addAppointment(1, kMonday.addDays(1), "08:00", "Early");
        book.open();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_E, Qt::ControlModifier | Qt::ShiftModifier);
        QTRY_COMPARE(book.platform.messages.shown.size(), 1);
        QCOMPARE(book.platform.messages.takeOne(), QStringLiteral("Please choose professional first"));
        book.chooseDoctor(1);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_E, Qt::ControlModifier | Qt::ShiftModifier);
        QWidget *window = nullptr;
        QTRY_VERIFY((window = book.window->findChild<QWidget *>("firstFreeWindow")) && window->isVisible());
        auto *slots = window->findChild<QListWidget *>("firstFreeSlots");
        QCOMPARE(slots->count(), 10);
        QVERIFY(slots->item(0)->text().startsWith("08:30")); // Monday is full; Tuesday's first is 08:30
        QTest::keyClick(slots, Qt::Key_Return);
        QVERIFY(!window->isVisible());
        QCOMPARE(book.appointmentBook->currentDate(), kMonday.addDays(1));
        QCOMPARE(book.list()->currentIndex().data().toString(), QStringLiteral("08:30"));
        QCOMPARE(book.field(1)->text(), QStringLiteral("08:30"));
        QVERIFY(book.platform.messages.shown.isEmpty());
    }

    // The doctor's week is the doctor of the board's column the receptionist is on, named in the heading.
    void theWeekIsTheDoctorOnTheBoard()
    {
        BookWindow book;
        book.files.setDoctor(1, "Ana", "30", {"0800", "0900"});
        book.files.setDoctor(2, "Bruno", "30", {"0800", "0830"});
        book.open();
        book.chooseDoctor(1);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_D, Qt::ControlModifier | Qt::ShiftModifier);
        auto *board = book.find<QTableWidget>("clinicDayBoard");
        QTRY_COMPARE(board->columnCount(), 2);
        board->setCurrentCell(0, 1);
        QTest::mouseClick(book.find<QPushButton>("clinicDayWeek"), Qt::LeftButton);
        QTRY_VERIFY(book.find<QLabel>("clinicDayDate")->text().endsWith(QStringLiteral(" - Bruno")));
    }

    // Ctrl+Shift+D: every doctor's day side by side, each cell read out; Home and End go to the day's
    // first and last time; Enter on a free cell brings that doctor's day up ready for the name, and an
    // Add shows on the board.
    void theClinicsDay()
    {
        BookWindow book;
        book.files.setDoctor(1, "Ana", "30", {"0800", "0900"});
        book.files.setDoctor(2, "Bruno", "30", {"0800", "0830"});
        book.files.addAppointment(1, kMonday, "08:30", "Maria");
        book.open();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_D, Qt::ControlModifier | Qt::ShiftModifier);
        auto *board = book.find<QTableWidget>("clinicDayBoard");
        QTRY_COMPARE(board->rowCount(), 3);
        QCOMPARE(board->columnCount(), 2);
        const auto spoken = [board](int row, int column) {
            return board->item(row, column)->data(Qt::AccessibleTextRole).toString();
        };
        QCOMPARE(spoken(0, 0), QStringLiteral("Ana, 08:00: free"));
        QCOMPARE(spoken(1, 0), QStringLiteral("Ana, 08:30: booked, Maria To confirm"));
        QCOMPARE(spoken(2, 1), QStringLiteral("Bruno, 09:00: outside the hours"));
        QApplication::setActiveWindow(board->window());
        QTest::keyClick(board, Qt::Key_End);
        QCOMPARE(board->currentRow(), 2);
        QTest::keyClick(board, Qt::Key_Home);
        QTest::keyClick(board, Qt::Key_Right);
        QTest::keyClick(board, Qt::Key_Return);
        QCOMPARE(book.appointmentBook->activeSlot(), 2);
        QCOMPARE(book.field(1)->text(), QStringLiteral("08:00"));
        QCOMPARE(book.window->focusWidget(), book.field(2));
        book.typeInto(2, "Carla");
        book.click("cmd_inc");
        QTRY_COMPARE(spoken(0, 1), QStringLiteral("Bruno, 08:00: booked, Carla To confirm"));
        // Another desk's booking is read in, the receptionist still on Bruno's 08:00.
        book.files.addAppointment(1, kMonday, "09:00", "Davi");
        book.appointmentBook->storedElsewhere(StoredElsewhere{1, kMonday});
        QTRY_COMPARE(spoken(2, 0), QStringLiteral("Ana, 09:00: booked, Davi To confirm"));
        QCOMPARE(board->currentRow(), 0);
        QCOMPARE(board->currentColumn(), 1);
        // The chosen doctor's week: a column a day, Monday first.
        QApplication::setActiveWindow(book.window);
        QTest::keyClick(book.window, Qt::Key_D, Qt::ControlModifier | Qt::ShiftModifier);
        QTest::mouseClick(book.find<QPushButton>("clinicDayWeek"), Qt::LeftButton);
        QTRY_COMPARE(board->columnCount(), 7);
        QCOMPARE(spoken(0, 0), QStringLiteral("Mon 2027-03-01, 08:00: booked, Carla To confirm"));
        QVERIFY(book.platform.messages.shown.isEmpty());
    }

    // The calendar's form offers only the doctors there are, Escape on an open drop-down closes that
    // alone, and a new entry starts from a clean form.
    void theCalendarFormIsAsAReceptionistExpects()
    {
        BookWindow book;
        book.files.setDoctor(1, "Ana", "30", {"0800", "0900"});
        book.files.setDoctor(3, "Carla", "30", {"0800", "0900"});
        book.open();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_L, Qt::ControlModifier | Qt::ShiftModifier);
        auto *window = book.find<QWidget>("calendarWindow");
        QTRY_VERIFY(window->isVisible());
        auto *doctor = book.find<QComboBox>("calendarDoctor");
        QStringList offered;
        for (int i = 0; i < doctor->count(); ++i)
            offered << doctor->itemText(i);
        QCOMPARE(offered, (QStringList{"The whole clinic", "Ana", "Carla"}));
        doctor->showPopup();
        QTRY_VERIFY(QApplication::activePopupWidget());
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
        QTRY_VERIFY(!QApplication::activePopupWidget());
        QVERIFY(window->isVisible());
        auto *kind = book.find<QComboBox>("calendarKind");
        kind->setCurrentIndex(kind->findData(static_cast<int>(CalendarEntry::Kind::Holiday)));
        book.find<QCheckBox>("calendarYearly")->setChecked(true);
        QTest::keyClicks(book.find<QLineEdit>("calendarReason"), QStringLiteral("City day"));
        QTest::mouseClick(book.find<QPushButton>("calendarAdd"), Qt::LeftButton);
        QCOMPARE(book.find<QTableWidget>("calendarEntries")->rowCount(), 1);
        QVERIFY(!book.find<QCheckBox>("calendarYearly")->isChecked());
    }

    // Ctrl+Shift+L: a vacation typed over a booked day is asked about, saved, and closes the day's free
    // slots; the booking stays and is listed to reschedule, counted in the panel, and Enter on it brings
    // it up in the main window.
    void aVacationKeepsItsBookingToReschedule()
    {
        BookWindow book;
        book.files.setDoctor(1, "Ana", "30", {"0800", "0900"});
        book.files.addAppointment(1, kMonday.addDays(8), "08:30", "Maria");
        book.open();
        book.chooseDoctor(1);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_L, Qt::ControlModifier | Qt::ShiftModifier);
        auto *window = book.find<QWidget>("calendarWindow");
        QTRY_VERIFY(window->isVisible());
        auto *doctor = book.find<QComboBox>("calendarDoctor");
        doctor->setCurrentIndex(doctor->findText("Ana"));
        // A date typed over the whole of From is taken as typed, and To moves along.
        auto *from = book.find<QDateEdit>("calendarFrom");
        auto *to = book.find<QDateEdit>("calendarTo");
        const auto typeOver = [](QDateEdit *date, QDate typed) {
            date->setFocus();
            QTest::keyClick(date, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(date, writtenDate(typed, QLocale()));
            QTest::keyClick(date, Qt::Key_Tab);
        };
        typeOver(from, kMonday.addYears(1).addDays(9));
        QCOMPARE(from->date(), kMonday.addYears(1).addDays(9));
        QCOMPARE(to->date(), kMonday.addYears(1).addDays(9));
        typeOver(from, kMonday.addDays(7));
        typeOver(to, kMonday.addDays(11));
        QCOMPARE(from->date(), kMonday.addDays(7));
        QCOMPARE(to->date(), kMonday.addDays(11));
        QTest::keyClicks(book.find<QLineEdit>("calendarReason"), QStringLiteral("Vacation"));
        book.platform.messages.answers = {true};
        QTest::mouseClick(book.find<QPushButton>("calendarAdd"), Qt::LeftButton);
        QVERIFY2(book.platform.messages.takeOne().startsWith("1 appointment falls in this closure"),
                 qPrintable(book.platform.messages.last()));
        QCOMPARE(book.find<QTableWidget>("calendarEntries")->rowCount(), 1);
        auto *reschedule = book.find<QTableWidget>("rescheduleList");
        QTRY_COMPARE(reschedule->rowCount(), 1);
        QCOMPARE(reschedule->item(0, 3)->text(), QStringLiteral("Maria"));
        QTRY_COMPARE(book.find<QPushButton>("rescheduleButton")->text(),
                     QStringLiteral("To resc&hedule (1)"));
        QApplication::setActiveWindow(window);
        reschedule->setCurrentCell(0, 0);
        QTest::keyClick(reschedule, Qt::Key_Return);
        QCOMPARE(book.appointmentBook->currentDate(), kMonday.addDays(8));
        QCOMPARE(book.rows(), QStringList{book.rows().value(0)}); // the booking alone, no free slot
        QVERIFY(book.rows().value(0).startsWith(QStringLiteral("08:30  Maria")));
        QCOMPARE(book.field(2)->text(), QStringLiteral("Maria"));
        QVERIFY(book.find<QLabel>("closedNote")->isVisible());
        QCOMPARE(book.find<QLabel>("closedNote")->text(), QStringLiteral("Vacation"));
        // A time typed on the closed day is asked about, and not booked on No.
        book.typeInto(1, "09:00");
        book.typeInto(2, "Walk-in");
        book.platform.messages.answers = {false};
        book.click("cmd_inc");
        QVERIFY(book.platform.messages.takeOne().startsWith("09:00 is closed that day (Vacation)"));
        QCOMPARE(book.rows().size(), 1);
        QVERIFY(book.platform.messages.shown.isEmpty());
    }

    // A removal frees a time, offered at once to whoever on the waiting list wants it, and booked there
    // for the one chosen in a click.
    // (The test's clock says 10:20: a time freed before that has passed, and is offered to nobody.)
    void aFreedTimeGoesToTheWaitingList()
    {
        BookWindow book;
        book.files.setDoctor(1, "Ana", "15", {"0800", "1200"});
        book.files.addAppointment(1, kMonday, "10:45", "Leaving");
        Patient joana; // her record, read by the desk at its start
        joana.fullName = QStringLiteral("Joana Lima");
        joana.cpfAbsence = CpfAbsence::NotGiven;
        joana.phones = {{QStringLiteral("(11) 98888-7777"), true}};
        QString error;
        QCOMPARE(SqliteStorage(book.files.folder()).savePatient(joana, &joana.id, &error),
                 PatientSaved::Saved);
        book.open();
        QTRY_VERIFY(book.appointmentBook->patientsCurrent()); // read beside the window
        WaitingEntry wanting;
        wanting.name = joana.fullName;
        wanting.phone = joana.phones.first().number;
        wanting.addedAt = QDateTime::currentDateTimeUtc();
        QVERIFY(book.storage->addToWaitingList(wanting, &error));
        book.chooseDoctor(1);
        book.clickRow(book.rowStartingWith(QStringLiteral("10:45  Leaving")));
        book.click("cmd_exc");
        auto *window = book.find<QWidget>("waitingListWindow");
        QTRY_VERIFY(window->isVisible());
        auto *table = book.find<QTableWidget>("waitingTable");
        QCOMPARE(table->rowCount(), 1);
        QCOMPARE(table->item(0, 1)->text(), QStringLiteral("Joana Lima"));
        QTest::mouseClick(book.find<QPushButton>("bookWaiting"), Qt::LeftButton);
        QVERIFY2(book.platform.messages.takeOne().startsWith("Joana Lima is booked at 10:45"),
                 qPrintable(book.platform.messages.last()));
        QTRY_VERIFY(book.rowStartingWith(QStringLiteral("10:45  Joana Lima")) >= 0);
        QVERIFY(!window->isVisible());
        QVector<WaitingEntry> entries;
        QVERIFY(book.storage->readWaitingList(&entries, &error));
        QCOMPARE(entries.value(0).state, WaitingEntry::State::Booked);
        QVector<FoundBooking> hers; // the booking is hers, written with it
        QVERIFY(book.storage->readPatientBookings(joana.id, &hers, &error) && hers.size() == 1);
    }

    // A first start, with no doctor named, says what to do in the list's place until one is.
    void firstStartHint()
    {
        BookWindow book;
        book.open();
        QLabel *hint = book.find<QLabel>("firstStartHint");
        QVERIFY(hint->isVisible());
        QVERIFY(hint->text().contains(QStringLiteral("Setup Doctors Details")));
        book.files.setSetting("bdm6.mdb", "prof1", "Ana");
        book.appointmentBook->readDoctorNames(); // as after the setup window's save
        QVERIFY(!hint->isVisible());
    }

    // While another program keeps the settings file locked, the fill gives up at once and tries again
    // on the next tick, rather than holding the window for the lock's wait each time.
    void lockedSettingsDoNotHoldTheWindow()
    {
        BookWindow book;
        book.files.setDoctor(1, "Ana", "15");
        auto lock = std::make_unique<velmora::testing::WriteLock>(book.files.path("bdm6.mdb"),
                                                                  velmora::testing::WriteLock::Everyone);
        book.create();
        book.window->show();
        QElapsedTimer ticks;
        ticks.start();
        for (int i = 0; i < 5; ++i) // what five ticks of the timer do
            QVERIFY(!book.appointmentBook->readDoctorNames().read);
        QVERIFY2(ticks.elapsed() < kLockWaitMs, "a tick waited for the lock");
        QCOMPARE(book.combo()->count(), 0);
        lock.reset();
        QTRY_COMPARE(book.combo()->count(), 10);
        QVERIFY(book.platform.messages.shown.isEmpty());
    }

    void startUpReportsUnusableFiles()
    {
        BookWindow book;
        book.files.write("bdm13.mdb", "another program's data");
        const QStringList problems = book.files.prepare();
        book.create(problems);
        book.window->show();
        QTRY_COMPARE(book.platform.messages.shown.size(), 1);
        QVERIFY(book.platform.messages.last().contains(QStringLiteral("\"bdm13.mdb\" cannot be used")));
        QTRY_COMPARE(book.combo()->count(), 10);
    }

    // A pick reaches the book and the day shows in the list (what it holds is the book's tests').
    void choosingADoctorListsTheDay()
    {
        BookWindow book;
        morningDoctor(book, 1, "Ana");
        book.files.addAppointment(1, kMonday, "08:30", "First");
        book.open();
        book.chooseDoctor(1);
        QCOMPARE(book.appointmentBook->activeSlot(), 1);
        QCOMPARE(book.list()->model()->rowCount(), 5);
        QVERIFY(
            book.list()->model()->index(2, 0).data().toString().startsWith(QStringLiteral("08:30  First")));
        QCOMPARE(book.combo()->currentText(), QStringLiteral("Ana"));
        QVERIFY(book.platform.messages.shown.isEmpty());

        // A book that cannot be opened is said, and the box asks for a doctor again.
        book.files.write("bdm2.mdb", "garbage that is no database");
        book.chooseDoctor(2);
        QVERIFY(book.platform.messages.takeOne().contains("bdm2.mdb"));
        QCOMPARE(book.combo()->currentText(), QStringLiteral("Choose the doctor"));
    }

    void dateButtonsNeedADoctor()
    {
        BookWindow book;
        book.open();
        const QString shown = book.dateLabel();
        for (const char *name :
             {"Command1", "Command2", "Command3", "Command4", "Command5", "Command6", "Command7"}) {
            book.click(name);
            QCOMPARE(book.platform.messages.takeOne(), QStringLiteral("Please choose professional first"));
            QCOMPARE(book.dateLabel(), shown);
        }
        QCOMPARE(book.appointmentBook->currentDate(), kMonday);
    }

    void dateButtonsMoveTheList()
    {
        BookWindow book;
        morningDoctor(book, 1, "Ana");
        book.files.setSetting("bdm6.mdb", "p1_ter2", "0830"); // Tuesdays end earlier
        book.files.addAppointment(1, kMonday.addDays(1), "08:15", "Tuesday");
        book.open();
        book.chooseDoctor(1);
        QCOMPARE(book.rows().size(), 5);
        book.click("Command1");
        QCOMPARE(book.appointmentBook->currentDate(), kMonday.addDays(1));
        QCOMPARE(book.dateLabel(), QLocale::system().toString(kMonday.addDays(1), QLocale::LongFormat));
        QCOMPARE(book.rows().size(), 3);
        QVERIFY(book.rows().at(1).startsWith(QStringLiteral("08:15  Tuesday")));
        book.click("Command3");
        QCOMPARE(book.appointmentBook->currentDate(), QDate(2027, 4, 2));
        book.click("Command6");
        QCOMPARE(book.appointmentBook->currentDate(), QDate(2027, 3, 2));
        book.click("Command5");
        QCOMPARE(book.appointmentBook->currentDate(), QDate(2027, 2, 23));
        book.click("Command7");
        QCOMPARE(book.appointmentBook->currentDate(), kMonday);
        QVERIFY(book.platform.messages.shown.isEmpty());
    }

    // The date does not follow the clock past midnight until "&TODAY" is pressed.
    void todayAfterMidnight()
    {
        BookWindow book;
        openOnMorningDoctor(book);
        book.platform.clock.setToday(kMonday.addDays(1));
        QCOMPARE(book.appointmentBook->currentDate(), kMonday);
        book.click("Command7");
        QCOMPARE(book.appointmentBook->currentDate(), kMonday.addDays(1));
        QCOMPARE(book.dateLabel(), QLocale::system().toString(kMonday.addDays(1), QLocale::LongFormat));
    }

    void bookingOnAFreeRow()
    {
        BookWindow book;
        openOnMorningDoctor(book);
        book.clickRow(book.rows().indexOf(QStringLiteral("08:30")));
        QCOMPARE(book.field(1)->text(), QStringLiteral("08:30"));
        QVERIFY(!book.button("cmd_exc")->isEnabled());
        book.typeInto(2, "maria DA silva");
        book.typeInto(3, "unimed");
        QCOMPARE(book.field(2)->text(), QStringLiteral("Maria da Silva")); // capitalised on leaving the field
        book.typeInto(4, "555 1234");
        book.typeInto(5, "first visit");
        book.click("cmd_inc");
        QCOMPARE(book.files.appointments(1).last(),
                 QStringLiteral("2027-03-01|08:30|Maria da Silva|Unimed|555 1234|first visit"));
        QVERIFY(!book.rows().contains(QStringLiteral("08:30")));
        const int row = book.rowStartingWith(QStringLiteral("08:30  Maria da Silva"));
        QCOMPARE(row, 2);
        QCOMPARE(book.rows().at(row).size(), 103);
        QCOMPARE(book.appointmentBook->entry().current().hora, QStringLiteral("08:30"));
        QVERIFY(book.platform.messages.shown.isEmpty());
    }

    void enterWalksTheFieldsAndBooks()
    {
        BookWindow book;
        openOnMorningDoctor(book);
        book.typeInto(1, "08:45");
        QTest::keyClick(book.field(1), Qt::Key_Return);
        QVERIFY(book.field(2)->hasFocus());
        BookWindow::typeText(book.field(2), QStringLiteral("joão DA conceição"));
        QTest::keyClick(book.field(2), Qt::Key_Return);
        QVERIFY(book.field(3)->hasFocus());
        QCOMPARE(book.field(2)->text(), QStringLiteral("João da Conceição"));
        QTest::keyClick(book.field(3), Qt::Key_Enter);
        QVERIFY(book.field(4)->hasFocus());
        QTest::keyClick(book.field(4), Qt::Key_Return);
        QVERIFY(book.field(5)->hasFocus());
        QTest::keyClicks(book.field(5), "note");
        QTest::keyClick(book.field(5), Qt::Key_Return);
        QCOMPARE(book.files.appointments(1).last(),
                 QStringLiteral("2027-03-01|08:45|João da Conceição|||note"));
        const int row = book.rowStartingWith(QStringLiteral("08:45  João da Conceição"));
        QVERIFY(row >= 0);
        QCOMPARE(characterCount(book.rows().at(row)), 103);
    }

    // Only a pick from the open list chooses a doctor: not a typed name left with Tab, not the wheel
    // over the closed box.
    void doctorBoxChoosesOnlyFromItsList()
    {
        BookWindow book;
        morningDoctor(book, 1, "Ana");
        morningDoctor(book, 2, "Bia");
        book.open();
        QComboBox *box = book.combo();
        QTest::mouseClick(box->lineEdit(), Qt::LeftButton);
        box->lineEdit()->selectAll();
        QTest::keyClicks(box->lineEdit(), "Bia");
        QTest::keyClick(box->lineEdit(), Qt::Key_Return);
        QTest::keyClick(box, Qt::Key_Tab);
        QCOMPARE(book.appointmentBook->activeSlot(), 0);
        QCOMPARE(box->currentText(), QStringLiteral("Choose the doctor"));
        QWheelEvent wheel(QPointF(5, 5), box->mapToGlobal(QPointF(5, 5)), {}, QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(box, &wheel);
        QCOMPARE(book.appointmentBook->activeSlot(), 0);
        QCOMPARE(box->currentText(), QStringLiteral("Choose the doctor"));

        // From the keyboard: the arrow opens the list, Enter picks.
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Down);
        QTRY_VERIFY(box->view()->isVisible());
        QTest::keyClick(box->view(), Qt::Key_Down);
        QTest::keyClick(box->view(), Qt::Key_Return);
        QCOMPARE(book.appointmentBook->activeSlot(), 2);
        QCOMPARE(box->currentText(), QStringLiteral("Bia"));
        QVERIFY(book.platform.messages.shown.isEmpty());
    }

    // A full field refuses a keystroke; an access key books what is typed, capitalised; Enter on a
    // focused button presses it.
    void bookingFromTheKeyboard()
    {
        BookWindow book;
        openOnMorningDoctor(book);
        book.typeInto(1, "08:00");
        QTest::keyClick(book.field(1), Qt::Key_Home);
        QTest::keyClick(book.field(1), Qt::Key_1);
        QCOMPARE(book.field(1)->text(), QStringLiteral("08:00"));
        book.typeInto(2, "maria da silva");
        // The key goes to the window, as the desktop sends it; the button clicks a moment later.
        QTest::keyClick(book.window, Qt::Key_A, Qt::AltModifier);
        QTRY_COMPARE(book.files.appointments(1).last(), QStringLiteral("2027-03-01|08:00|Maria da Silva|||"));

        book.typeInto(1, "08:15");
        book.typeInto(2, "Tab Walker");
        book.button("cmd_inc")->setFocus(Qt::TabFocusReason);
        QTest::keyClick(book.button("cmd_inc"), Qt::Key_Return);
        QCOMPARE(book.files.appointments(1).last(), QStringLiteral("2027-03-01|08:15|Tab Walker|||"));
        QVERIFY(book.platform.messages.shown.isEmpty());
    }

    // Mondays and Wednesdays at 08:00, four sessions: the taken Monday goes to the day's next free time
    // and the series is booked from its window; the Wednesday removed alone, on the question's first
    // answer.
    void aSeriesIsBookedInItsWindow()
    {
        BookWindow book;
        book.files.setDoctor(1, "Ana", "30", {"0800", "1200"});
        book.files.addAppointment(1, QDate(2027, 3, 8), "08:00", "Other Patient");
        book.open();
        book.chooseDoctor(1);
        book.clickRow(book.rowStartingWith("08:00"));
        book.typeInto(2, "Series Patient");
        QTest::keyClick(book.window, Qt::Key_B, Qt::ControlModifier | Qt::ShiftModifier);
        auto *series = book.find<QWidget>("seriesWindow");
        QVERIFY(series->isVisible());
        QTest::mouseClick(series->findChild<QCheckBox *>("seriesDay3"), Qt::LeftButton);
        auto *sessions = series->findChild<QSpinBox *>("seriesSessions");
        sessions->selectAll();
        QTest::keyClicks(sessions, "4");
        QTest::mouseClick(series->findChild<QPushButton *>("seriesList"), Qt::LeftButton);
        auto *table = series->findChild<QTableWidget *>("seriesSessionsTable");
        QCOMPARE(table->rowCount(), 4);
        auto *inTheWay = qobject_cast<QComboBox *>(table->cellWidget(2, 4));
        QVERIFY(inTheWay);
        inTheWay->setCurrentIndex(inTheWay->findText("Next free time (08:30)"));
        QTest::mouseClick(series->findChild<QPushButton *>("seriesBook"), Qt::LeftButton);
        QVERIFY(!series->isVisible());
        QCOMPARE(book.files.appointments(1).mid(1),
                 (QStringList{"2027-03-01|08:00|Series Patient|||", "2027-03-03|08:00|Series Patient|||",
                              "2027-03-08|08:30|Series Patient|||", "2027-03-10|08:00|Series Patient|||"}));

        book.click("Command1");
        book.click("Command1");
        book.clickRow(book.rowStartingWith("08:00  Series Patient"));
        book.platform.messages.choices.push_back(0);
        book.click("cmd_exc");
        QCOMPARE(book.platform.messages.offers.value(0),
                 (QStringList{"&This one", "This and the &following", "The &whole series", "&Cancel"}));
        QCOMPARE(book.files.appointments(1).size(), 4);
        QVERIFY(!book.files.appointments(1).contains("2027-03-03|08:00|Series Patient|||"));
        // Every session is the one patient's.
        QString error;
        QVector<Patient> patients;
        QVector<FoundBooking> hers;
        QVERIFY(book.storage->readPatients(&patients, &error) && patients.size() == 1);
        QVERIFY(book.storage->readPatientBookings(patients.first().id, &hers, &error));
        QCOMPARE(hers.size(), book.files.appointments(1).filter("Series Patient").size());
    }

    // Rows are reachable whole, a new booking is brought into sight, a larger window gives the list
    // the room, and a smaller one scrolls to every control.
    void dayListFitsTheWindow()
    {
        BookWindow book;
        book.files.setDoctor(1, "Ana", "15", {"0800", "2000"});
        book.open();
        book.chooseDoctor(1);
        QListView *list = book.list();
        const QRect layoutList = list->geometry();
        const int fullRow = list->fontMetrics().horizontalAdvance(QString(BookingRecord::kRowWidth, 'W'));
        QVERIFY(list->horizontalScrollBar()->maximum() + list->viewport()->width() >= fullRow);

        book.typeInto(1, "19:45");
        book.typeInto(2, "Late Patient");
        book.click("cmd_inc");
        const QModelIndex added = list->model()->index(book.rowStartingWith("19:45  Late Patient"), 0);
        const QRect addedRect = list->visualRect(added);
        QVERIFY(addedRect.top() >= 0 && addedRect.bottom() <= list->viewport()->rect().bottom());

        QWidget *quit = book.button("cmd_sai");
        const QRect layoutQuit = quit->geometry();
        const int marginBelow = book.window->height() - layoutQuit.bottom();
        book.window->resize(1366, 768);
        const int grown = list->height() - layoutList.height();
        QCOMPARE(grown, 768 - (layoutQuit.bottom() + marginBelow)); // the list takes all the extra height
        QCOMPARE(quit->geometry(), layoutQuit.translated(0, grown));
        QVERIFY(list->width() >= fullRow);

        book.window->resize(400, 300);
        QCOMPARE(list->geometry(), layoutList);
        auto *scroller = book.window->findChild<QScrollArea *>("canvasScroller");
        scroller->ensureWidgetVisible(quit);
        const QRect shown(quit->mapTo(scroller->viewport(), QPoint(0, 0)), quit->size());
        QVERIFY(scroller->viewport()->rect().contains(shown));
    }

    // Change and Remove from a row the user clicks; a click beside the rows withdraws them.
    void changeAndRemoveFromTheList()
    {
        BookWindow book;
        morningDoctor(book, 1, "Ana");
        book.files.addAppointment(1, kMonday, "08:15", "Booked");
        book.files.addAppointment(1, kMonday, "08:30", "Other");
        book.open();
        book.chooseDoctor(1);
        book.clickRow(book.rowStartingWith(QStringLiteral("08:15  Booked")));
        QVERIFY(book.button("cmd_alt")->isEnabled() && book.button("cmd_exc")->isEnabled());
        QTest::mouseClick(book.list()->viewport(), Qt::LeftButton, {},
                          QPoint(10, book.list()->viewport()->height() - 3));
        QVERIFY(!book.button("cmd_alt")->isEnabled() && !book.button("cmd_exc")->isEnabled());

        book.clickRow(book.rowStartingWith(QStringLiteral("08:15  Booked")));
        book.typeInto(2, "renamed one");
        QVERIFY(!book.button("cmd_exc")->isEnabled());
        book.click("cmd_alt");
        QVERIFY(book.files.appointments(1).contains(
            QStringLiteral("2027-03-01|08:15|%1|||").arg(fitted("Renamed One", 35))));
        QCOMPARE(book.field(2)->text(), QString());

        book.clickRow(book.rowStartingWith(QStringLiteral("08:30  Other")));
        book.click("cmd_exc");
        QVERIFY(book.rows().contains(QStringLiteral("08:30")));
        QVERIFY(book.platform.messages.shown.isEmpty());
    }

    void anotherDesksBookingKeepsTheRowAndTheFields()
    {
        BookWindow book;
        book.files.setDoctor(1, "Ana", "10", {"0800", "1800"});
        book.files.addAppointment(1, kMonday, "17:30", "Booked");
        book.open();
        book.chooseDoctor(1);
        QScrollBar *scroll = book.list()->verticalScrollBar();
        // Far down a long day, other desks booking (the book hears of it as the server announces it):
        // the list stays where the receptionist scrolled to, and keeps the selected row in sight.
        book.list()->scrollToBottom();
        const int scrolled = scroll->value();
        QVERIFY(scrolled > 0);
        book.files.addAppointment(1, kMonday, "07:30", "Early");
        book.appointmentBook->storedElsewhere(StoredElsewhere{1, kMonday});
        QCOMPARE(book.rowStartingWith(QStringLiteral("07:30  Early")), 0);
        QCoreApplication::processEvents(); // the view lays its rows out again
        QVERIFY(scroll->value() >= scrolled);

        book.clickRow(book.rowStartingWith(QStringLiteral("17:30  Booked")));
        book.typeInto(5, "typed here");
        book.files.addAppointment(1, kMonday, "07:20", "Earlier");
        book.appointmentBook->storedElsewhere(StoredElsewhere{1, kMonday});
        QCOMPARE(book.rowStartingWith(QStringLiteral("07:20  Earlier")), 0);
        const int booked = book.rowStartingWith(QStringLiteral("17:30  Booked"));
        QCOMPARE(book.list()->currentIndex().row(), booked);
        QVERIFY(book.list()->selectionModel()->isRowSelected(booked, {}));
        const QRect shown = book.list()->visualRect(book.list()->currentIndex());
        QVERIFY(shown.top() >= 0 && shown.bottom() < book.list()->viewport()->height());
        QCOMPARE(book.field(5)->text(), QStringLiteral("typed here"));
        book.click("cmd_alt");
        QVERIFY(book.files.appointments(1).join('\n').contains(QStringLiteral("|typed here")));
        QVERIFY(book.platform.messages.shown.isEmpty());
    }

    // Tomorrow's list: a row's WhatsApp opened with its message, a status set there and in the main
    // window, the day list marking it, the history telling it.
    // A patient who said no to messages by WhatsApp is not sent one from the list: the phone to call is said.
    void aPatientWhoSaidNoIsCalled()
    {
        BookWindow book;
        const QDate tuesday = book.platform.clock.today().addDays(1);
        book.files.setDoctor(1, "Ana", "30", {"0800", "1000"});
        book.files.addAppointment(1, tuesday, "08:00", "Maria Conceição", "", "(11) 99999-0000");
        {
            SqliteStorage storage(book.files.folder());
            QString error;
            Patient maria;
            maria.fullName = QStringLiteral("Maria Conceição");
            maria.cpfAbsence = CpfAbsence::NotGiven;
            maria.messages.consent = MessageConsent::No;
            QCOMPARE(storage.savePatient(maria, &maria.id, &error), PatientSaved::Saved);
            QVector<Appointment> day;
            QVERIFY(storage.readDay(1, tuesday, &day, &error) && day.size() == 1);
            QVERIFY(storage.linkBookings({{1, day.first().id, maria.id}}, &error));
        }
        book.open();
        QTRY_VERIFY(book.appointmentBook->patientsCurrent());
        QTest::keyClick(book.window, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
        auto *table = book.find<QTableWidget>("confirmationList");
        QTRY_COMPARE(table->rowCount(), 1);
        QTest::keyClick(table, Qt::Key_Return);
        QVERIFY2(book.platform.messages.last().endsWith(
                     "said no to messages by WhatsApp. Call instead: (11) 99999-0000"),
                 qPrintable(book.platform.messages.last()));
        QVERIFY(book.platform.browser.opened.isEmpty());
    }

    void confirmingTomorrowsPatients()
    {
        BookWindow book; // a Monday
        const QDate tuesday = book.platform.clock.today().addDays(1);
        book.files.setDoctor(1, "Ana", "30", {"0800", "1000"});
        book.files.addAppointment(1, tuesday, "08:00", "Maria Conceição", "", "(11) 99999-0000 / 3333-4444");
        book.files.addAppointment(1, tuesday, "09:00", "Bia", "", "3333-4444");
        QVERIFY(saveConfirmationSettings(book.files.folder().filePath("velmora.ini"),
                                         {"Oi {primeiro_nome}, {hora}?", "", "", "11", ""}));
        book.open();
        QTest::keyClick(book.window, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
        auto *confirmations = book.find<QWidget>("confirmationWindow");
        auto *table = book.find<QTableWidget>("confirmationList");
        QTRY_COMPARE(table->rowCount(), 2);
        QCOMPARE(table->item(0, 3)->text(), QStringLiteral("Maria Conceição"));

        book.platform.messages.choices.push_back(0);
        QTest::keyClick(table, Qt::Key_Return);
        QCOMPARE(book.platform.browser.opened.value(0).toEncoded(),
                 QByteArray("https://wa.me/5511999990000?text=Oi%20Maria%2C%2008%3A00%3F"));
        QVERIFY(book.platform.messages.takeOne().contains("+55 (11) 99999-0000"));
        QCOMPARE(book.platform.messages.offers.value(0), (QStringList{"Open WhatsApp", "Cancel"}));
        QApplication::setActiveWindow(confirmations);
        QTest::keyClick(confirmations, Qt::Key_2, Qt::ControlModifier);
        QTRY_VERIFY(table->item(0, 6)->text().endsWith("Confirmed"));
        // The status set names its patient; the menu checks the status the selected booking has.
        QVERIFY(book.find<QLabel>("confirmSaid")->text().startsWith("Maria Conceição, Tue "));
        QVERIFY(confirmations->findChild<QMenu *>("statusMenu")->actions().at(1)->isChecked());
        // A patient who cancelled is asked about before a reminder goes out.
        QTest::keyClick(confirmations, Qt::Key_4, Qt::ControlModifier);
        QTRY_VERIFY(table->item(0, 6)->text().endsWith("Cancelled by the patient"));
        book.platform.messages.answers.push_back(false);
        QTest::keyClick(table, Qt::Key_Return);
        QVERIFY(book.platform.messages.takeOne().contains("Cancelled by the patient"));
        QCOMPARE(book.platform.browser.opened.size(), 1);
        QTest::keyClick(confirmations, Qt::Key_2, Qt::ControlModifier);
        QTRY_VERIFY(table->item(0, 6)->text().endsWith("Confirmed"));
        table->selectRow(1);
        QTest::mouseClick(book.find<QPushButton>("confirmWhatsApp"), Qt::LeftButton);
        QVERIFY(book.platform.messages.takeOne().endsWith("Call instead: 3333-4444"));
        QCOMPARE(book.platform.browser.opened.size(), 1);
        QTest::mouseClick(book.find<QCheckBox>("toConfirmOnly"), Qt::LeftButton);
        QTRY_COMPARE(table->rowCount(), 1);
        confirmations->close();
        QApplication::setActiveWindow(book.window);

        book.chooseDoctor(1);
        book.click("Command1");
        const int maria = book.rowStartingWith("08:00  Maria");
        QCOMPARE(book.list()->model()->index(maria, 0).data(Qt::ToolTipRole).toString(),
                 QStringLiteral("Confirmed"));
        book.clickRow(book.rowStartingWith("09:00  Bia"));
        QTest::keyClick(book.list(), Qt::Key_4, Qt::ControlModifier);
        const QModelIndex bia = book.list()->currentIndex();
        QCOMPARE(bia.data(DayListModel::StatusRole).toInt(), static_cast<int>(BookingStatus::Cancelled));
        QVERIFY(book.list()->selectionModel()->isSelected(bia));
        QTest::keyClick(book.list(), Qt::Key_H, Qt::ControlModifier | Qt::ShiftModifier);
        QTRY_COMPARE(book.platform.messages.shown.size(), 1);
        const QString history = book.platform.messages.takeOne();
        QVERIFY2(history.contains("Status: To confirm \u2192 Cancelled by the patient"), qPrintable(history));
        QVERIFY(book.platform.messages.shown.isEmpty());
    }

    // The month in numbers from its key: the figures of the month shown, one doctor chosen, the CSV
    // saved where the dialog says.
    void theMonthInNumbers()
    {
        BookWindow book; // 2027-03-01
        book.files.setDoctor(1, "Ana", "30", {"0800", "1000"});
        book.files.setDoctor(2, "Bruno", "30", {"0800", "0900"});
        book.files.addAppointment(1, QDate(2027, 3, 2), "08:00", "Maria", "Unimed");
        book.files.addAppointment(1, QDate(2027, 3, 30), "08:30", "Bia", "UNIMED");
        book.files.addAppointment(2, QDate(2027, 4, 1), "08:00", "Next month");
        book.open();
        QTest::keyClick(book.window, Qt::Key_M, Qt::ControlModifier | Qt::ShiftModifier);
        auto *figures = book.find<QTableWidget>("reportFigures");
        QTRY_COMPARE(figures->rowCount(), 2);
        QCOMPARE(figures->item(0, 0)->text(), QStringLiteral("Ana"));
        QCOMPARE(figures->item(0, 1)->text(),
                 QStringLiteral("150")); // five slots a day, Good Friday (26th) closed
        QCOMPARE(figures->item(0, 2)->text(), QStringLiteral("2"));
        QCOMPARE(figures->item(1, 2)->text(), QStringLiteral("0"));
        auto *doctor = book.find<QComboBox>("reportDoctor");
        doctor->setCurrentIndex(doctor->findText("Bruno"));
        QTRY_COMPARE(figures->rowCount(), 1);
        book.platform.messages.saveAs = book.files.folder().filePath("march.csv");
        QTest::mouseClick(book.find<QPushButton>("reportCsv"), Qt::LeftButton);
        QFile csv(book.platform.messages.saveAs);
        QVERIFY(csv.open(QIODevice::ReadOnly));
        QVERIFY(csv.readAll().contains("\r\nBruno;90;0;0;0.0;0;0;0;0\r\n"));
        QVERIFY(book.platform.messages.shown.isEmpty());
    }

    // What the receptionist is told goes to the log in the folder, without the patient in the fields.
    void theLogTellsWithoutThePatient()
    {
        BookWindow book;
        book.files.setDoctor(1, "Ana", "15", {"0800", "0900"});
        installLogFile(book.files.folder());
        book.open();
        book.chooseDoctor(1);
        book.typeInto(2, "Maria Sigilosa");
        book.click("cmd_inc"); // no time typed
        qCInfo(logServer) << "a line of another category";
        removeLogFile();
        QFile log(book.files.folder().filePath("velmora.log"));
        QVERIFY(log.open(QIODevice::ReadOnly));
        const QString written = QString::fromUtf8(log.readAll());
        QVERIFY2(written.contains("warning velmora.book: Choose schedule belows or type one time"),
                 qPrintable(written));
        QVERIFY(written.contains("info velmora.server: a line of another category"));
        QVERIFY(!written.contains("Sigilosa"));
        QCOMPARE(book.platform.messages.shown.size(), 1);
    }

    void quitClosesTheWindow()
    {
        BookWindow book;
        book.open();
        book.click("cmd_sai");
        QVERIFY(!book.window->isVisible());
    }
};

QTEST_MAIN(MainWindowTest)
#include "tst_main_window.moc"
