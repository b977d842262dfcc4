#include "support/book_window.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QRadioButton>
#include <QSqlDatabase>
#include <QSqlQuery>

using namespace velmora;
using velmora::testing::BookWindow;

namespace {

QWidget *setupWindow()
{
    return BookWindow::setupWindow();
}

template <typename T = QWidget> T *control(const QString &name)
{
    return BookWindow::setupControl<T>(name);
}

void typeOver(QLineEdit *box, const QString &text)
{
    QTest::mouseClick(box, Qt::LeftButton);
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    BookWindow::typeText(box, text);
}

void openSetup(BookWindow &book)
{
    book.click("cmd_cad");
    QVERIFY(setupWindow());
    QVERIFY(setupWindow()->isVisible());
    QVERIFY(!book.window->isVisible());
    QApplication::setActiveWindow(setupWindow());
    QVERIFY(QTest::qWaitForWindowActive(setupWindow()));
}

} // namespace

class SetupWindowTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void roundTripOfADoctor()
    {
        BookWindow book;
        book.files.setDoctor(1, "Ana", "15", {"0800", "0900"});
        book.open();
        book.chooseDoctor(1);
        openSetup(book);
        QCOMPARE(setupWindow()->windowTitle(), QStringLiteral("Setup professional"));
        QCOMPARE(control<QLineEdit>("Text1")->text(), QStringLiteral("Ana"));
        QVERIFY(control<QRadioButton>("opt1_15")->isChecked());

        typeOver(control<QLineEdit>("Text2"), "Bruno Lima");
        QTest::mouseClick(control<QRadioButton>("opt2_20"), Qt::LeftButton);
        QTest::mouseClick(control<QPushButton>("Command4"), Qt::LeftButton); // Schedule of slot 2
        QVERIFY(control<QGroupBox>("Frame11")->isVisible());
        QCOMPARE(control<QGroupBox>("Frame11")->title(),
                 QStringLiteral("Bruno Lima - Configuration of schedule"));
        QVERIFY(!control<QPushButton>("Command1")->isEnabled()); // covered by the editor
        typeOver(control<QLineEdit>("seg_1"), "08:00");
        typeOver(control<QLineEdit>("seg_2"), "09:00");
        QTest::mouseClick(control<QPushButton>("Command2"), Qt::LeftButton);
        QVERIFY(!control<QGroupBox>("Frame11")->isVisible());
        QVERIFY(book.platform.messages.shown.isEmpty());
        QCOMPARE(book.files.setting("bdm6.mdb", "p2_seg1").toString(), QStringLiteral("0800"));
        QCOMPARE(book.files.setting("bdm6.mdb", "p2_seg2").toString(), QStringLiteral("0900"));
        QCOMPARE(book.files.setting("bdm6.mdb", "p2_ter1").toString(), QString());
        QVERIFY2(!book.files.setting("bdm6.mdb", "p2_ter1").isNull(), "a blank time is the empty text");

        QTest::mouseClick(control<QPushButton>("Command1"), Qt::LeftButton); // Save and Return
        QVERIFY(!setupWindow()->isVisible());
        QVERIFY(book.window->isVisible());
        QCOMPARE(book.files.setting("bdm6.mdb", "prof2").toString(), QStringLiteral("Bruno Lima"));
        QCOMPARE(book.files.setting("bdm6.mdb", "interv2").toString(), QStringLiteral("20"));
        QCOMPARE(book.appointmentBook->activeSlot(), 0);
        QVERIFY(book.rows().isEmpty());
        QCOMPARE(book.combo()->currentText(), QStringLiteral("Choose the doctor"));
        QCOMPARE(book.combo()->itemText(1), QStringLiteral("Bruno Lima"));
        QCOMPARE(book.combo()->count(), 10);
        QCOMPARE(book.appointmentBook->currentDate(), QDate(2027, 3, 1));

        // The doctor's Mondays follow the new hours.
        book.chooseDoctor(2);
        book.click("Command2"); // + week, to the next Monday
        QCOMPARE(book.rows(), (QStringList{"08:00", "08:20", "08:40", "09:00"}));

        // A second opening shows the last saved values, not a fresh read.
        book.files.setSetting("bdm6.mdb", "prof2", "Changed Behind");
        openSetup(book);
        QCOMPARE(control<QLineEdit>("Text2")->text(), QStringLiteral("Bruno Lima"));
        QVERIFY(control<QRadioButton>("opt2_20")->isChecked());
    }

    void scheduleUsesTheRightFile()
    {
        BookWindow book;
        book.files.setSetting("bdm6.mdb", "p6_seg1", "0730");
        book.files.setSetting("bdm6.mdb", "p6_seg2", "800"); // not four characters: shown as stored
        book.files.setSetting("bdm66.mdb", "p7_dom3", "1400");
        book.files.setSetting("bdm66.mdb", "p7_dom4", "1500");
        book.open();
        openSetup(book);

        QTest::mouseClick(control<QPushButton>("Command8"), Qt::LeftButton); // slot 6
        QCOMPARE(control<QLineEdit>("seg_1")->text(), QStringLiteral("07:30"));
        QCOMPARE(control<QLineEdit>("seg_2")->text(), QStringLiteral("800"));
        QCOMPARE(control<QLineEdit>("dom_3")->text(), QString());
        QTest::mouseClick(control<QPushButton>("Command2"), Qt::LeftButton);
        QCOMPARE(book.platform.messages.takeOne(),
                 QStringLiteral("Types correctly\n\nMonday, the end of the first period: \"800\" is not a "
                                "time. Write it as 08:00, from 00:00 to 23:59 (24:00 may end a period)."));
        QVERIFY(control<QLineEdit>("seg_2")->hasFocus());
        typeOver(control<QLineEdit>("seg_2"), "08:00");
        QTest::mouseClick(control<QPushButton>("Command2"), Qt::LeftButton);
        QCOMPARE(book.files.setting("bdm6.mdb", "p6_seg2").toString(), QStringLiteral("0800"));

        QTest::mouseClick(control<QPushButton>("Command9"), Qt::LeftButton); // slot 7
        QCOMPARE(control<QLineEdit>("seg_1")->text(), QString());
        QCOMPARE(control<QLineEdit>("dom_3")->text(), QStringLiteral("14:00"));
        typeOver(control<QLineEdit>("ter_1"), "25:99");
        QTest::mouseClick(control<QPushButton>("Command2"), Qt::LeftButton);
        QVERIFY(book.platform.messages.takeOne().startsWith(QStringLiteral("Types correctly\n\nTuesday, ")));
        QVERIFY(control<QLineEdit>("ter_1")->hasFocus());
        typeOver(control<QLineEdit>("ter_1"), " 10:00");
        QTest::mouseClick(control<QPushButton>("Command2"), Qt::LeftButton);
        QCOMPARE(book.platform.messages.takeOne(),
                 QStringLiteral("Tuesday with inadequate data, please corrects.\n\nTuesday: the first period "
                                "has a start (10:00) but no end."));
        typeOver(control<QLineEdit>("ter_2"), "11:00");
        QTest::mouseClick(control<QPushButton>("Command2"), Qt::LeftButton);
        QVERIFY(book.platform.messages.shown.isEmpty());
        QCOMPARE(book.files.setting("bdm66.mdb", "p7_ter1").toString(), QStringLiteral("1000"));
        QCOMPARE(book.files.setting("bdm66.mdb", "p7_dom4").toString(), QStringLiteral("1500"));
        QCOMPARE(book.files.setting("bdm6.mdb", "p6_ter1").toString(), QString());
    }

    void closingThroughTheFrameSavesNothing()
    {
        BookWindow book;
        book.files.setDoctor(3, "Carla", "30");
        book.open();
        book.chooseDoctor(3);
        openSetup(book);
        typeOver(control<QLineEdit>("Text3"), "Not Saved");
        QTest::mouseClick(control<QPushButton>("Command5"), Qt::LeftButton);
        typeOver(control<QLineEdit>("seg_1"), "07:00");
        setupWindow()->close();
        QVERIFY(book.window->isVisible());
        QCOMPARE(book.appointmentBook->activeSlot(), 0);
        QVERIFY(book.rows().isEmpty());
        QCOMPARE(book.combo()->currentText(), QStringLiteral("Choose the doctor"));
        QCOMPARE(book.files.setting("bdm6.mdb", "prof3").toString(), QStringLiteral("Carla"));
        QCOMPARE(book.files.setting("bdm6.mdb", "p3_seg1").toString(), QString());
        openSetup(book);
        QCOMPARE(control<QLineEdit>("Text3")->text(), QStringLiteral("Carla"));
        QVERIFY(!control<QGroupBox>("Frame11")->isVisible());
    }

    void linksAndIntervalsTravelThroughSave()
    {
        BookWindow book;
        book.files.setDoctor(1, "Ana", "45", {}, 3); // an interval that is none of the three
        book.files.exec("bdm6.mdb", "UPDATE profs SET junta2 = NULL, junta5 = 123");
        const QString longName = QStringLiteral("Written By Another Program, Forty Chars");
        book.files.setSetting("bdm6.mdb", "prof11", longName);
        book.open();
        openSetup(book);
        QVERIFY(!control<QRadioButton>("opt1_15")->isChecked());
        QVERIFY(!control<QRadioButton>("opt1_20")->isChecked());
        QVERIFY(!control<QRadioButton>("opt1_30")->isChecked());
        QCOMPARE(control<QLineEdit>("junto1")->text(), QStringLiteral("3"));
        QVERIFY(!control<QLineEdit>("junto1")->isVisible());
        QCOMPARE(control<QLineEdit>("junto2")->text(), QString());
        // A name box takes 30 characters.
        typeOver(control<QLineEdit>("Text4"), QString(31, QLatin1Char('x')));
        QCOMPARE(control<QLineEdit>("Text4")->text(), QString(30, QLatin1Char('x')));
        // A keystroke into the full box is refused; a stored longer name is shown whole.
        QTest::keyClick(control<QLineEdit>("Text4"), Qt::Key_Home);
        QTest::keyClick(control<QLineEdit>("Text4"), Qt::Key_Y);
        QCOMPARE(control<QLineEdit>("Text4")->text(), QString(30, QLatin1Char('x')));
        QCOMPARE(control<QLineEdit>("Text6")->text(), longName);
        QCOMPARE(control<QPushButton>("Command3")->palette().color(QPalette::ButtonText),
                 QApplication::palette().color(QPalette::ButtonText));
        QTest::mouseClick(control<QPushButton>("Command1"), Qt::LeftButton);
        QCOMPARE(book.files.setting("bdm6.mdb", "interv1").toString(), QStringLiteral("45"));
        QCOMPARE(book.files.setting("bdm6.mdb", "junta1").toInt(), 3);
        QCOMPARE(book.files.setting("bdm6.mdb", "junta2"), QVariant(0));
        QCOMPARE(book.files.setting("bdm6.mdb", "junta5").toInt(), 123); // kept, not cut to two digits
        QCOMPARE(book.files.setting("bdm6.mdb", "prof4").toString(), QString(30, QLatin1Char('x')));
        QCOMPARE(book.files.setting("bdm6.mdb", "prof11").toString(), longName);
    }

    void aSaveOverAnotherDesksIsAskedAbout()
    {
        BookWindow book;
        book.files.setDoctor(1, "Ana", "15");
        book.open();
        openSetup(book);
        typeOver(control<QLineEdit>("Text1"), "Ana Maria");
        book.files.setSetting("bdm6.mdb", "prof2", "Saved Elsewhere"); // another desk saves meanwhile

        book.platform.messages.answers = {false};
        QTest::mouseClick(control<QPushButton>("Command1"), Qt::LeftButton);
        QVERIFY(book.platform.messages.takeOne().contains(QStringLiteral("saved at another desk")));
        QVERIFY(setupWindow()->isVisible());
        QCOMPARE(book.files.setting("bdm6.mdb", "prof1").toString(), QStringLiteral("Ana"));
        // Not saving shows theirs; the next Save and Return saves without asking again.
        QCOMPARE(control<QLineEdit>("Text1")->text(), QStringLiteral("Ana"));
        QCOMPARE(control<QLineEdit>("Text2")->text(), QStringLiteral("Saved Elsewhere"));
        typeOver(control<QLineEdit>("Text1"), "Ana Maria");
        QTest::mouseClick(control<QPushButton>("Command1"), Qt::LeftButton);
        QVERIFY(book.platform.messages.shown.isEmpty());
        QCOMPARE(book.files.setting("bdm6.mdb", "prof1").toString(), QStringLiteral("Ana Maria"));
        QCOMPARE(book.files.setting("bdm6.mdb", "prof2").toString(), QStringLiteral("Saved Elsewhere"));
        QVERIFY(book.window->isVisible());

        openSetup(book);
        book.files.setSetting("bdm6.mdb", "prof2", "Saved Again");
        book.platform.messages.answers = {true};
        QTest::mouseClick(control<QPushButton>("Command1"), Qt::LeftButton);
        QVERIFY(book.platform.messages.takeOne().contains(QStringLiteral("saved at another desk")));
        QCOMPARE(book.files.setting("bdm6.mdb", "prof2").toString(), QStringLiteral("Saved Elsewhere"));
    }

    void failedSaveKeepsWhatWasTyped()
    {
        BookWindow book;
        book.files.setDoctor(1, "Ana", "15");
        book.open();
        openSetup(book);
        typeOver(control<QLineEdit>("Text1"), "Ana Maria");

        auto lock = std::make_unique<velmora::testing::WriteLock>(book.files.path("bdm6.mdb"));
        QTest::mouseClick(control<QPushButton>("Command1"), Qt::LeftButton);
        QVERIFY(book.platform.messages.takeOne().startsWith(QStringLiteral("The settings were not saved")));
        QVERIFY(setupWindow()->isVisible());
        QVERIFY(!book.window->isVisible());
        QCOMPARE(control<QLineEdit>("Text1")->text(), QStringLiteral("Ana Maria"));
        lock.reset();
        QCOMPARE(book.files.setting("bdm6.mdb", "prof1").toString(), QStringLiteral("Ana"));

        QTest::mouseClick(control<QPushButton>("Command1"), Qt::LeftButton);
        QCOMPARE(book.files.setting("bdm6.mdb", "prof1").toString(), QStringLiteral("Ana Maria"));
        QVERIFY(book.window->isVisible());
    }
};

QTEST_MAIN(SetupWindowTest)
#include "tst_setup_window.moc"
