// Each window in each language: captions, messages and dates translated, access keys unique, every
// caption fitting its control; English as it always was.
#include "core/desk/session_views.h"
#include "core/schedule/weekly_times.h"
#include "platform/language.h"
#include "support/book_window.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QHeaderView>
#include <QRadioButton>
#include <QTableWidget>

using namespace velmora;
using velmora::testing::BookWindow;

namespace {

QString withoutAccessKey(QString text)
{
    return text.replace(QStringLiteral("&&"), QStringLiteral("\x01"))
        .remove(QLatin1Char('&'))
        .replace(QLatin1Char('\x01'), QLatin1Char('&'));
}

// The access keys of a window's buttons, each with the caption it belongs to.
QMultiMap<QChar, QString> accessKeys(const QWidget *window)
{
    QMultiMap<QChar, QString> keys;
    for (const QAbstractButton *button : window->findChildren<QAbstractButton *>()) {
        const QString text = QString(button->text()).replace(QStringLiteral("&&"), QString());
        const qsizetype marker = text.indexOf(QLatin1Char('&'));
        if (marker >= 0 && marker + 1 < text.size())
            keys.insert(text.at(marker + 1).toLower(), button->text());
    }
    return keys;
}

// The captions that do not fit their controls, measured in their fonts.
QStringList clippedCaptions(const QWidget *window)
{
    QStringList clipped;
    for (const QAbstractButton *button : window->findChildren<QAbstractButton *>()) {
        if (!button->isVisibleTo(window) || button->text().isEmpty())
            continue; // a table's corner button has no caption to cut
        const int needed =
            qobject_cast<const QRadioButton *>(button)
                ? button->sizeHint().width()
                : button->fontMetrics().horizontalAdvance(withoutAccessKey(button->text())) + 6;
        if (needed > button->width())
            clipped << QStringLiteral("%1 (%2 > %3)").arg(button->text()).arg(needed).arg(button->width());
    }
    for (const QLabel *label : window->findChildren<QLabel *>()) {
        if (label->objectName().startsWith(QLatin1String("lab_")) || label->text().isEmpty() ||
            !label->isVisibleTo(window))
            continue; // the clock and the date size themselves
        if (Qt::mightBeRichText(label->text()) || label->wordWrap())
            continue; // laid out by its own rules, or wrapped onto more lines
        const QString shown = label->buddy() ? withoutAccessKey(label->text()) : label->text();
        if (label->fontMetrics().horizontalAdvance(shown) > label->width())
            clipped << label->text();
    }
    // A table's columns whole in sight, each as wide as its heading and cells need.
    for (QTableWidget *table : window->findChildren<QTableWidget *>()) {
        if (!table->isVisibleTo(window))
            continue;
        const QHeaderView *header = table->horizontalHeader();
        int right = 0;
        for (int column = 0; column < table->columnCount(); ++column)
            right += std::max({header->sectionSizeHint(column),
                               static_cast<const QAbstractItemView *>(table)->sizeHintForColumn(column),
                               column + 1 < table->columnCount() ? header->sectionSize(column) : 0});
        if (right > table->viewport()->width())
            clipped << QStringLiteral("%1's columns (%2 > %3)")
                           .arg(table->objectName())
                           .arg(right)
                           .arg(table->viewport()->width());
    }
    for (const QGroupBox *frame : window->findChildren<QGroupBox *>())
        if (frame->fontMetrics().horizontalAdvance(frame->title()) > frame->width())
            clipped << frame->title();
    return clipped;
}

void checkWindow(const QWidget *window)
{
    const QMultiMap<QChar, QString> keys = accessKeys(window);
    for (const QChar key : keys.uniqueKeys())
        QVERIFY2(keys.count(key) == 1, qPrintable(QStringList(keys.values(key)).join(QStringLiteral(", "))));
    QVERIFY2(clippedCaptions(window).isEmpty(),
             qPrintable(clippedCaptions(window).join(QStringLiteral("; "))));
}

} // namespace

class TranslationTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void windowsInEachLanguage_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<bool>("translated");
        QTest::addColumn<QString>("add");
        QTest::addColumn<QString>("longDate");
        QTest::addColumn<QString>("noDoctor");
        QTest::addColumn<QString>("mondayMessage");
        QTest::addColumn<QString>("yes");
        QTest::newRow("the system's English")
            << "" << false << "&Add" << QLocale::system().toString(QDate(2027, 3, 1), QLocale::LongFormat)
            << "Please choose professional first"
            << "Monday with inadequate data, please corrects."
            << "&Yes";
        // A system language the program does not speak: English throughout, dates and weekdays too.
        QTest::newRow("German system") << "de_DE" << false << "&Add"
                                       << "Monday, March 1, 2027"
                                       << "Please choose professional first"
                                       << "Monday with inadequate data, please corrects."
                                       << "&Yes";
        QTest::newRow("Brazilian Portuguese") << "pt_BR" << true << "&Incluir"
                                              << "segunda-feira, 1 de março de 2027"
                                              << "Escolha o profissional primeiro"
                                              << "Segunda-feira com dados inadequados, por favor corrija."
                                              << "&Sim";
    }

    void windowsInEachLanguage()
    {
        QFETCH(QString, language);
        QFETCH(bool, translated);
        QFETCH(QString, add);
        QFETCH(QString, longDate);
        QFETCH(QString, noDoctor);
        QFETCH(QString, mondayMessage);
        QFETCH(QString, yes);
        const ProgramLanguage speaking(language);
        QCOMPARE(speaking.isTranslated(), translated);
        BookWindow book;
        book.files.setDoctor(1, "Ana", "15", {"0800", "0900"});
        book.open();
        QCOMPARE(book.button("cmd_inc")->text(), add);
        QCOMPARE(book.dateLabel(), longDate);
        book.click("Command1");
        QCOMPARE(book.platform.messages.takeOne(), noDoctor);
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"), yes); // Qt's own buttons
        checkWindow(book.window);
        // With room beside the list: the side panel, and the confirmations it opens.
        book.window->resize(1366, 768);
        QVERIFY(book.find<QWidget>("sidePanel")->isVisible());
        checkWindow(book.window);
        QTest::keyClick(book.window, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
        QWidget *confirmations = book.find<QWidget>("confirmationWindow");
        QVERIFY(confirmations && confirmations->isVisible());
        checkWindow(confirmations);
        QTest::mouseClick(confirmations->findChild<QPushButton *>("confirmMessage"), Qt::LeftButton);
        checkWindow(book.find<QWidget>("messageWindow"));
        confirmations->close();
        QTest::keyClick(book.window, Qt::Key_M, Qt::ControlModifier | Qt::ShiftModifier);
        checkWindow(book.find<QWidget>("monthWindow"));
        for (const Qt::Key key : {Qt::Key_D, Qt::Key_L}) {
            QApplication::setActiveWindow(book.window);
            QTest::keyClick(book.window, key, Qt::ControlModifier | Qt::ShiftModifier);
        }
        checkWindow(book.find<QWidget>("clinicDayWindow"));
        checkWindow(book.find<QWidget>("calendarWindow"));
        QApplication::setActiveWindow(book.window);
        QTest::keyClick(book.window, Qt::Key_W, Qt::ControlModifier | Qt::ShiftModifier);
        checkWindow(book.find<QWidget>("waitingListWindow"));
        book.find<QWidget>("waitingListWindow")->close();
        book.chooseDoctor(1);
        book.typeInto(2, "Series Patient");
        QApplication::setActiveWindow(book.window);
        QTest::keyClick(book.window, Qt::Key_B, Qt::ControlModifier | Qt::ShiftModifier);
        QWidget *series = book.find<QWidget>("seriesWindow");
        QVERIFY(series && series->isVisible());
        checkWindow(series);
        QTest::mouseClick(series->findChild<QPushButton *>("seriesList"), Qt::LeftButton);
        checkWindow(series);
        series->close();
        // Both through a pixmap, so that both lose the same of what transparent pixels hold.
        const bool englishLogo = book.find<QLabel>("Image1")->pixmap().toImage() ==
                                 QPixmap(QStringLiteral(":/images/logo.png")).toImage();
        QCOMPARE(englishLogo, !translated);

        book.chooseDoctor(1);
        QCOMPARE(dayPrintout(*book.appointmentBook)->header, QStringLiteral("Ana - ") + longDate);
        WeeklyTimes times;
        times[0] = QStringLiteral("08:00");
        QCOMPARE(checkWeeklyTimes(times).message, mondayMessage);

        book.click("cmd_cad");
        QWidget *setup = BookWindow::setupWindow();
        QVERIFY(setup);
        checkWindow(setup);
        QTest::mouseClick(BookWindow::setupControl<QPushButton>("Command3"),
                          Qt::LeftButton); // the weekly hours
        checkWindow(setup);
    }

    // Counts read right in both languages, none and one included.
    void counts_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("said");
        QTest::newRow("en 0") << "en" << 0 << "0 appointments";
        QTest::newRow("en 1") << "en" << 1 << "1 appointment";
        QTest::newRow("en 2") << "en" << 2 << "2 appointments";
        QTest::newRow("pt_BR 0") << "pt_BR" << 0 << "0 consultas";
        QTest::newRow("pt_BR 1") << "pt_BR" << 1 << "1 consulta";
        QTest::newRow("pt_BR 2") << "pt_BR" << 2 << "2 consultas";
    }
    void counts()
    {
        QFETCH(QString, language);
        QFETCH(int, count);
        const ProgramLanguage speaking(language);
        QTEST(QCoreApplication::translate("velmora::ConfirmationWindow", "%n appointment(s)", nullptr, count),
              "said");
    }
};

QTEST_MAIN(TranslationTest)
#include "tst_translation.moc"
