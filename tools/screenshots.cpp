// Makes the README's pictures of every window, in English and in Brazilian Portuguese, from a sample
// clinic with Brazilian names, phones and plans: the windows are opened offscreen and driven through
// their own controls and keys, never through positions on a screen.
//   velmora-screenshots FOLDER      writes FOLDER/<window>.png and FOLDER/<window>-pt_BR.png
#include "core/desk/appointment_book.h"
#include "core/reception/waiting_list.h"
#include "core/schedule/clinic_calendar.h"
#include "files/database.h"
#include "files/sqlite_storage.h"
#include "platform/language.h"
#include "platform/system_platform.h"
#include "windows/book_windows.h"
#include "windows/doctor_box.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <tuple>

using namespace velmora;

namespace {

struct Patient
{
    const char *time;
    const char *name;
    const char *plan;
    const char *phones;
    BookingStatus status;
};

const Patient kMorning[] = {
    {"07:30", "Maria da Conceição Silva", "Unimed", "(11) 98765-4321", BookingStatus::Confirmed},
    {"08:15", "João Pedro Araújo", "Bradesco Saúde", "(11) 3224-5678", BookingStatus::NotReached},
    {"09:00", "Ana Luísa D'Ávila", "Particular", "(11) 99812-3344 / 3473-6808", BookingStatus::ToConfirm},
    {"09:45", "Gabriel de Carvalho", "Amil", "(21) 98808-4474", BookingStatus::Cancelled},
    {"10:30", "Francisca Gonçalves", "Unimed", "(11) 97654-1122", BookingStatus::Confirmed},
    {"11:15", "Sebastião Ribeiro", "SulAmérica", "(11) 3251-0909", BookingStatus::ToConfirm},
};

// The sample clinic: three professionals, mornings and afternoons, a month of bookings.
void fillClinic(SqliteStorage &storage, QDate today)
{
    QString error;
    AllDoctorChanges changes;
    const char *names[] = {"Dra. Márcia Guimarães", "Dr. João Batista Falcão", "Dra. Lúcia Helena Aragão"};
    for (int slot = 1; slot <= 3; ++slot) {
        changes[static_cast<size_t>(slot - 1)] = {QString::fromUtf8(names[slot - 1]), 0,
                                                  QStringLiteral("15")};
        WeeklyTimes times;
        for (int day = 0; day < 5; ++day) {
            times[weeklyTimePosition(day, 1)] = QStringLiteral("0730");
            times[weeklyTimePosition(day, 2)] = QStringLiteral("1130");
            times[weeklyTimePosition(day, 3)] = QStringLiteral("1330");
            times[weeklyTimePosition(day, 4)] = QStringLiteral("1800");
        }
        storage.saveWeeklyTimes(slot, times, &error);
    }
    storage.saveDoctors(changes, &error);
    for (QDate date = QDate(today.year(), today.month(), 1); date.month() == today.month();
         date = date.addDays(1)) {
        if (date.dayOfWeek() > 5)
            continue;
        for (int slot = 1; slot <= 3; ++slot) {
            const int count = date == today || date == today.addDays(1) ? 6 : (date.day() * slot) % 5 + 1;
            for (int i = 0; i < count; ++i) {
                const Patient &patient = kMorning[(i + slot) % 6];
                Appointment booking;
                booking.date = date;
                booking.hora =
                    QString::fromLatin1(date == today || slot == 1 ? kMorning[i].time : patient.time);
                booking.nome = QString::fromUtf8(patient.name);
                booking.convenio = QString::fromUtf8(patient.plan);
                booking.telefone = QString::fromUtf8(patient.phones);
                storage.add(slot, booking, 0, &error);
                QVector<Appointment> day;
                storage.readDay(slot, date, &day, &error);
                const BookingStatus status =
                    date < today ? (i % 4 == 3 ? BookingStatus::Missed : BookingStatus::Arrived)
                                 : patient.status;
                if (!day.isEmpty() && status != BookingStatus::ToConfirm)
                    storage.setStatus(slot, day.last(), status, &error);
            }
        }
    }
}

void save(QWidget *window, const QString &path)
{
    QApplication::processEvents();
    if (!window->grab().save(path))
        qFatal("%s could not be written", qPrintable(path));
}

bool topLevelShown(const char *name)
{
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (widget->objectName() == QLatin1String(name) && widget->isVisible())
            return true;
    return false;
}

// A doctor's vacation next week, an extra Saturday after it, the city's holiday and a closed Carnival.
void fillCalendar(SqliteStorage &storage, QDate today)
{
    const QDate monday = today.addDays(8 - today.dayOfWeek());
    CalendarEntry vacation;
    vacation.slot = 2;
    vacation.from = monday;
    vacation.to = monday.addDays(4);
    vacation.reason = QStringLiteral("Férias");
    CalendarEntry saturday;
    saturday.kind = CalendarEntry::Kind::ExtraDay;
    saturday.slot = 1;
    saturday.from = monday.addDays(5);
    saturday.hours = QStringList{"0800", "1200"};
    saturday.reason = QStringLiteral("Mutirão");
    CalendarEntry city;
    city.kind = CalendarEntry::Kind::Holiday;
    city.from = QDate(today.year(), 1, 25);
    city.yearly = true;
    city.reason = QStringLiteral("Aniversário da cidade");
    CalendarEntry carnival;
    carnival.kind = CalendarEntry::Kind::OptionalClosed;
    carnival.reason = QStringLiteral("carnival");
    QVector<CalendarEntry> entries{vacation, saturday, city, carnival};
    for (CalendarEntry &entry : entries) {
        entry.changedBy = QStringLiteral("recepcao (balcao-1)");
        entry.changedAt = QDateTime(today, QTime(8, 5));
    }
    QString error;
    if (!storage.saveCalendar(entries, &error))
        qFatal("%s", qPrintable(error));
}

QWidget *topLevel(const char *name)
{
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (widget->objectName() == QLatin1String(name) && widget->isVisible())
            return widget;
    for (QWidget *widget : QApplication::allWidgets())
        if (widget->objectName() == QLatin1String(name))
            return widget;
    qFatal("no window %s", name);
}

void shoot(const QString &language, const QString &out)
{
    const ProgramLanguage speaking(language);
    const QString suffix = language == QLatin1String("en") ? QString() : QLatin1Char('-') + language;
    const auto path = [&](const char *name) { return out + QLatin1Char('/') + name + suffix + ".png"; };
    QTemporaryDir folder;
    prepareFiles(QDir(folder.path()));
    SqliteStorage storage{QDir(folder.path())};
    SystemClock clock;
    fillClinic(storage, clock.today());
    fillCalendar(storage, clock.today());
    SystemMessages messages;
    SystemPrinter printer;
    SystemBrowser browser;
    SystemProgress progress;
    BackgroundReads reads([&folder] {
        return std::make_unique<SqliteStorage>(QDir(folder.path()), kLockWaitMs, FileAccess::ReadBeside);
    });
    AppointmentBook book(storage, clock.today());
    BookWindows windows(Platform{messages, clock, printer, browser, progress}, book, storage, reads,
                        QDir(folder.path()));
    // A window is pictured once its reads in the background are shown.
    const auto readsShown = [](QWidget *window) {
        if (!QTest::qWaitFor([window] {
                return !window->findChild<QWidget *>(QStringLiteral("readingBar"))->isVisible();
            }))
            qFatal("%s still reading", qPrintable(window->objectName()));
    };
    MainWindow &main = windows.main();
    main.show();
    main.resize(1366, 740);
    book.readDoctorNames();
    Q_EMIT main.findChild<DoctorBox *>(QStringLiteral("Combo1"))->doctorPicked(0);
    auto *list = main.findChild<QListView *>(QStringLiteral("List1"));
    list->setCurrentIndex(list->model()->index(3, 0));
    book.holdSelected(); // one booking being moved, in the side panel
    list->setCurrentIndex(list->model()->index(2, 0));
    for (const auto &[name, phones, slot, period] :
         {std::tuple{"Helena Duarte", "(11) 98123-4567", 0, WaitingEntry::Period::Morning},
          std::tuple{"Rafael Monteiro", "(11) 97654-3210", 1, WaitingEntry::Period::Any}}) {
        WaitingEntry waiting;
        waiting.name = QString::fromUtf8(name);
        waiting.phone = QString::fromUtf8(phones);
        waiting.slot = slot;
        waiting.period = period;
        waiting.from = clock.today();
        waiting.to = clock.today().addDays(30);
        waiting.addedAt = QDateTime::currentDateTimeUtc();
        waiting.addedBy = QStringLiteral("recepcao (balcao)");
        QString error;
        storage.addToWaitingList(waiting, &error);
    }
    // A weekly physiotherapy series with two sessions left, listed as ending soon.
    QVector<Appointment> sessions;
    for (int week = 1; week <= 2; ++week) {
        Appointment session;
        session.date = clock.today().addDays(7 * week);
        session.hora = QStringLiteral("16:00");
        session.nome = QStringLiteral("Otávio Rezende");
        session.convenio = QStringLiteral("Unimed");
        session.series = {0, week + 8, 10};
        sessions << session;
    }
    QVector<qint64> ids;
    QString error;
    storage.addSeries(2, sessions, 0, {}, &ids, &error);
    book.storedElsewhere({2, clock.today(), true});
    // The side panel's list is read beside the window.
    if (!QTest::qWaitFor([&main] {
            return main.findChild<QListWidget *>(QStringLiteral("seriesEndingList"))->count() > 0;
        }))
        qFatal("no series ending listed");
    save(&main, path("main-window"));

    // Tuesdays and Thursdays at 08:00 for a new patient: the series window with its sessions listed.
    list->setCurrentIndex(list->model()->index(3, 0));
    book.entry().type(NameField, QStringLiteral("Beatriz Nogueira"));
    book.entry().type(TimeField, QStringLiteral("07:30"));
    QApplication::setActiveWindow(&main);
    QTest::keyClick(&main, Qt::Key_B, Qt::ControlModifier | Qt::ShiftModifier);
    QWidget *series = topLevel("seriesWindow");
    for (const char *day : {"seriesDay2", "seriesDay4"})
        series->findChild<QCheckBox *>(QLatin1String(day))->setChecked(true);
    QTest::mouseClick(series->findChild<QPushButton *>(QStringLiteral("seriesList")), Qt::LeftButton);
    series->resize(620, 640);
    save(series, path("weekly-series"));
    series->close();
    book.entry().clear();

    // A session of the physiotherapy series removed: the question of which sessions, pictured and
    // answered Cancel.
    book.goTo({2, clock.today().addDays(7), {}, {}});
    const QStringList rows = book.dayList().rows();
    const auto session = std::find_if(rows.cbegin(), rows.cend(), [](const QString &row) {
        return row.startsWith(QLatin1String("16:00  "));
    });
    list->setCurrentIndex(list->model()->index(static_cast<int>(session - rows.cbegin()), 0));
    QTimer::singleShot(0, [&] {
        QWidget *question = QApplication::activeModalWidget();
        if (!question)
            qFatal("no question of which sessions");
        save(question, path("series-question"));
        QTest::keyClick(question, Qt::Key_Escape);
    });
    QTest::mouseClick(main.findChild<QPushButton *>(QStringLiteral("cmd_exc")), Qt::LeftButton);
    book.chooseDoctor(1);

    QApplication::setActiveWindow(&main);
    QTest::keyClick(&main, Qt::Key_W, Qt::ControlModifier | Qt::ShiftModifier);
    QWidget *waitingList = topLevel("waitingListWindow");
    save(waitingList, path("waiting-list"));
    waitingList->close();

    QApplication::setActiveWindow(&main);
    QTest::keyClick(&main, Qt::Key_F, Qt::ControlModifier);
    QWidget *find = topLevel("findWindow");
    QTest::keyClicks(find->findChild<QLineEdit *>(), QStringLiteral("conceicao"));
    QTest::qWait(300); // the pause after typing
    readsShown(find);
    save(find, path("find-window"));
    find->close();

    QApplication::setActiveWindow(&main);
    QTest::keyClick(&main, Qt::Key_E, Qt::ControlModifier | Qt::ShiftModifier);
    if (!QTest::qWaitFor([] { return topLevelShown("firstFreeWindow"); }))
        qFatal("no earliest free times");
    QWidget *firstFree = topLevel("firstFreeWindow");
    save(firstFree, path("first-free-times"));
    firstFree->close();

    QApplication::setActiveWindow(&main);
    QTest::keyClick(&main, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    QWidget *confirmations = topLevel("confirmationWindow");
    readsShown(confirmations);
    save(confirmations, path("confirmations"));
    QTest::mouseClick(confirmations->findChild<QPushButton *>(QStringLiteral("confirmMessage")),
                      Qt::LeftButton);
    QWidget *message = topLevel("messageWindow");
    save(message, path("message-window"));
    message->close();
    confirmations->close();

    QApplication::setActiveWindow(&main);
    QTest::keyClick(&main, Qt::Key_D, Qt::ControlModifier | Qt::ShiftModifier);
    QWidget *clinicDay = topLevel("clinicDayWindow");
    clinicDay->resize(1366, 740);
    readsShown(clinicDay);
    save(clinicDay, path("clinic-day"));
    clinicDay->close();

    QApplication::setActiveWindow(&main);
    QTest::keyClick(&main, Qt::Key_L, Qt::ControlModifier | Qt::ShiftModifier);
    QWidget *calendar = topLevel("calendarWindow");
    readsShown(calendar);
    save(calendar, path("calendar"));
    calendar->close();

    QApplication::setActiveWindow(&main);
    QTest::keyClick(&main, Qt::Key_M, Qt::ControlModifier | Qt::ShiftModifier);
    QWidget *month = topLevel("monthWindow");
    readsShown(month);
    save(month, path("month-in-numbers"));
    month->close();

    QTest::mouseClick(main.findChild<QPushButton *>(QStringLiteral("cmd_cad")), Qt::LeftButton);
    QWidget *setup = topLevel("marca2");
    save(setup, path("setup-window"));
    QTest::mouseClick(setup->findChild<QPushButton *>(QStringLiteral("Command3")), Qt::LeftButton);
    save(setup, path("weekly-hours"));
    QTest::mouseClick(setup->findChild<QPushButton *>(QStringLiteral("setupSqueezeIns")), Qt::LeftButton);
    QWidget *squeezeIns = topLevel("squeezeLimitsWindow");
    save(squeezeIns, path("squeeze-ins"));
    squeezeIns->close();
    setup->close();
}

} // namespace

int main(int argc, char *argv[])
{
    // A screen of the size reception desks have, as the windows size themselves to it.
    QTemporaryDir screenFolder;
    const QString screenConfig = screenFolder.filePath(QStringLiteral("screen.json"));
    QFile screen(screenConfig);
    if (!screen.open(QIODevice::WriteOnly) ||
        screen.write(R"({"screens": [{"name": "desk", "x": 0, "y": 0, "width": 1366, "height": 768,
                     "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})") <= 0)
        qFatal("no screen configuration");
    screen.close();
    // VELMORA_SHOTS_ON_SCREEN: the windows shown on the X server the environment names (Xvfb), to see
    // them as a desk does; the README's pictures come offscreen, the same on every machine.
    if (qEnvironmentVariableIsEmpty("VELMORA_SHOTS_ON_SCREEN"))
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(screenConfig));
    QApplication app(argc, argv);
    if (argc != 2)
        qFatal("usage: velmora-screenshots FOLDER");
    for (const char *language : {"en", "pt_BR"})
        shoot(QString::fromLatin1(language), QString::fromLocal8Bit(argv[1]));
    return 0;
}
