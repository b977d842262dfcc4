#include "core/desk/desk_settings.h"
#include "core/reception/confirmation_message.h"
#include "core/text/name_rules.h"
#include "support/book_window.h"
#include "windows/widgets_support.h"

#include <QClipboard>
#include <QDateEdit>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace velmora;
using velmora::testing::BookWindow;

namespace {

// Puts the text into the field as the receptionist would: typed, or pasted from the clipboard.
void enter(BookWindow &book, int field, const QString &text, bool paste)
{
    QLineEdit *box = book.field(field);
    QTest::mouseClick(box, Qt::LeftButton);
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    if (paste) {
        QApplication::clipboard()->setText(text);
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    } else {
        BookWindow::typeText(box, text);
    }
}

} // namespace

class BadInputTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A date typed over the whole field, in each language's form, is the date typed.
    void datesTypedOverTheWhole_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("typed");
        QTest::newRow("English") << "yyyy-MM-dd"
                                 << "2027-03-10";
        QTest::newRow("Portuguese") << "dd/MM/yyyy"
                                    << "10/03/2027";
        QTest::newRow("without separators") << "dd/MM/yyyy"
                                            << "10032027";
    }
    void datesTypedOverTheWhole()
    {
        QFETCH(QString, format);
        QFETCH(QString, typed);
        QDateEdit date;
        date.setDisplayFormat(format);
        date.setDate(QDate(2026, 12, 9));
        typeDatesWhole(&date);
        date.show();
        QTest::keyClick(&date, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(&date, typed);
        QCOMPARE(date.date(), QDate(2027, 3, 10));
    }

    void storedShownAndReadBackExactly_data()
    {
        QTest::addColumn<QString>("entered");
        QTest::addColumn<bool>("paste");
        QTest::addColumn<QString>("kept"); // what the single-line field holds

        QTest::newRow("quotes") << "O'Brien \"Doc\"" << false << "O'Brien \"Doc\"";
        QTest::newRow("statement") << "x'); DROP TABLE dados;--" << false << "x'); DROP TABLE dados;--";
        QTest::newRow("keywords") << "NULL SELECT * FROM" << false << "NULL SELECT * FROM";
        QTest::newRow("markup") << "<b>bold</b> & <i>" << false << "<b>bold</b> & <i>";
        QTest::newRow("format codes") << "%s %n %1 \\0" << false << "%s %n %1 \\0";
        QTest::newRow("pasted line breaks")
            << "first line\r\nsecond\nthird" << true << "first line  second third";
        QTest::newRow("pasted tab") << "tab\there" << true << "tab here";
        QTest::newRow("control character") << QStringLiteral("bell\x07ring") << true << "bell ring";
        QTest::newRow("NUL") << QStringLiteral("nul\0end") << true << "nul end";
        QTest::newRow("right to left") << "שלום עליכם" << false << "שלום עליכם";
        QTest::newRow("arabic and digits") << "مرحبا 123" << false << "مرحبا 123";
        QTest::newRow("emoji") << "😀 ok 👍🏽" << false << "😀 ok 👍🏽";
        QTest::newRow("accents") << "Ñandú Ærø ß Zoë" << false << "Ñandú Ærø ß Zoë";
        QTest::newRow("decomposed accent")
            << QStringLiteral("Jose\u0301") << false << QStringLiteral("Jose\u0301");
    }

    void storedShownAndReadBackExactly()
    {
        QFETCH(QString, entered);
        QFETCH(bool, paste);
        QFETCH(QString, kept);
        BookWindow book;
        book.files.setDoctor(1, "Ana", "30", {"0800", "0900"});
        book.open();
        book.chooseDoctor(1);
        book.clickRow(book.rows().indexOf(QStringLiteral("08:30")));
        const QString fitsNotes = characterSlice(kept, 0, BookingRecord::kObsWidth);
        enter(book, 2, entered, paste);
        enter(book, 4, entered.left(60), paste);
        enter(book, 5, entered, paste);
        QCOMPARE(book.field(4)->text(), characterSlice(kept, 0, BookingRecord::kTelefoneWidth));
        QCOMPARE(book.field(5)->text(), fitsNotes);
        QTest::mouseClick(book.button("cmd_inc"), Qt::LeftButton);
        QVERIFY(book.platform.messages.shown.isEmpty());

        const QString name = capitalize_name(kept);
        QCOMPARE(
            book.files.appointments(1).last(),
            QStringLiteral("2027-03-01|08:30|%1||%2|%3").arg(name, characterSlice(kept, 0, 20), fitsNotes));
        const int row = book.rowStartingWith(QStringLiteral("08:30  "));
        QVERIFY(row >= 0);
        QCOMPARE(characterCount(book.rows().at(row)), BookingRecord::kRowWidth);
        QCOMPARE(book.rows().at(row),
                 BookingRecord::of("08:30", name, "", characterSlice(kept, 0, 20), fitsNotes).row());

        // Read back from the list into the fields, also after a fresh rebuild from the file.
        book.click("Command1");
        book.click("Command4");
        book.clickRow(book.rowStartingWith(QStringLiteral("08:30  ")));
        QCOMPARE(book.field(2)->text(), trimBlanks(name));
        QCOMPARE(book.field(4)->text(), trimBlanks(characterSlice(kept, 0, 20)));
        QCOMPARE(book.field(5)->text(), trimBlanks(fitsNotes));
    }

    // Doctor names typed in the setup window come back exactly in the settings, the doctor list and
    // the next opening of the window.
    void doctorNamesKeptExactly()
    {
        const QStringList names = {"Dr. O'Neil \"Jr\"",      "x'); DROP TABLE profs;--",
                                   "<b>Zé</b> & Ñandú",      "שלום עליכם",
                                   "😀 Dr Emoji 👍🏽", QStringLiteral("tab\x07") + "bell"};
        // A control character pasted becomes a blank; everything else is kept exactly.
        QStringList stored = names;
        stored.last() = QStringLiteral("tab bell");
        BookWindow book;
        book.open();
        book.click("cmd_cad");
        QWidget *setup = BookWindow::setupWindow();
        QVERIFY(setup);
        for (int i = 0; i < names.size(); ++i) {
            auto *box = setup->findChild<QLineEdit *>(QStringLiteral("Text%1").arg(i + 1));
            box->selectAll();
            QApplication::clipboard()->setText(names.at(i));
            QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        }
        QTest::mouseClick(setup->findChild<QPushButton *>(QStringLiteral("Command1")), Qt::LeftButton);
        QVERIFY(book.platform.messages.shown.isEmpty());
        for (int i = 0; i < names.size(); ++i) {
            const QString field = QString::fromLatin1(doctorSlot(i + 1).nameField);
            QCOMPARE(book.files.setting("bdm6.mdb", field).toString(), stored.at(i));
            QCOMPARE(book.combo()->itemText(i), stored.at(i));
        }
        book.chooseDoctor(2);
        QCOMPARE(book.combo()->currentText(), stored.at(1));
        QCOMPARE(book.appointmentBook->activeSlot(), 2);
    }

    void fieldsCountCharacters()
    {
        BookWindow book;
        book.open();
        // Twenty emoji fit the notes field; the twenty-first is refused whole, never cut in half.
        const QString twenty = QString(QStringLiteral("😀")).repeated(20);
        enter(book, 5, twenty + QStringLiteral("😀"), false);
        QCOMPARE(book.field(5)->text(), twenty);
        enter(book, 5, twenty + QStringLiteral("😀x"), true);
        QCOMPARE(characterCount(book.field(5)->text()), 20);
        QVERIFY(!book.field(5)->text().back().isHighSurrogate());
    }

    // The message of the confirmations: an empty one is refused, "Default message" puts the program's
    // back, Enter in the clinic's field saves it.
    void theMessageIsNeverEmpty()
    {
        BookWindow book;
        book.open();
        QTest::keyClick(book.window, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
        QTest::mouseClick(book.find<QPushButton>("confirmMessage"), Qt::LeftButton);
        auto *text = book.find<QPlainTextEdit>("messageText");
        auto *clinic = book.find<QLineEdit>("clinicName");
        text->setPlainText(QStringLiteral("  \n "));
        QTest::keyClick(clinic, Qt::Key_Return);
        QVERIFY(book.platform.messages.takeOne().startsWith("The message is empty"));
        QVERIFY(book.find<QWidget>("messageWindow")->isVisible());
        QTest::mouseClick(book.find<QPushButton>("defaultMessage"), Qt::LeftButton);
        QCOMPARE(text->toPlainText(), defaultMessageTemplate());
        clinic->setText(QStringLiteral("Clínica Santa Luzia"));
        QTest::keyClick(clinic, Qt::Key_Return);
        QVERIFY(book.platform.messages.shown.isEmpty());
        QVERIFY(!book.find<QWidget>("messageWindow")->isVisible());
        QCOMPARE(readConfirmationSettings(book.files.path("velmora.ini")).clinic,
                 QStringLiteral("Clínica Santa Luzia"));
    }

    // A period over two years (a year mistyped) is asked about before it is read; No puts it back.
    void aLongPeriodIsAskedAbout()
    {
        BookWindow book;
        book.open();
        QTest::keyClick(book.window, Qt::Key_M, Qt::ControlModifier | Qt::ShiftModifier);
        auto *to = book.find<QDateEdit>("reportTo");
        const QDate shown = to->date();
        book.platform.messages.answers = {false};
        to->setDate(QDate(9026, 12, 31));
        QVERIFY(book.platform.messages.takeOne().contains("9026"));
        QCOMPARE(to->date(), shown);
        book.platform.messages.answers = {true};
        to->setDate(shown.addYears(3));
        QCOMPARE(to->date(), shown.addYears(3));
        QVERIFY(book.platform.messages.answers.empty());
    }
};

QTEST_MAIN(BadInputTest)
#include "tst_bad_input.moc"
