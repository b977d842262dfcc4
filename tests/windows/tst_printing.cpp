#include "core/text/printout.h"
#include "support/book_window.h"
#include "support/print_queue.h"

#include <QLocale>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>

using namespace velmora;
using velmora::testing::BookWindow;
using velmora::testing::PrintQueue;

namespace {

const QDate kMonday(2027, 3, 1);

// Waits for the queue to finish the job and gives its PDF.
void waitForPdf(const QString &documentName, const QDateTime &since, QString *pdf)
{
    QTRY_VERIFY_WITH_TIMEOUT(
        PrintQueue::queueIsEmpty() && !(*pdf = PrintQueue::pdfOf(documentName, since)).isEmpty(), 60000);
}

QStringList nonBlankLines(const QString &text)
{
    QStringList lines;
    for (const QString &line : text.split('\n'))
        if (!line.trimmed().isEmpty() && !line.startsWith('\f'))
            lines << line;
        else if (line.startsWith('\f') && !line.trimmed().isEmpty())
            lines << line.mid(1);
    return lines;
}

} // namespace

class PrintingTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        if (!PrintQueue::available())
            QSKIP("no print queue: the test command starts one (scripts/test.sh)");
    }

    void dayListOnThePrinter()
    {
        BookWindow book;
        book.files.setDoctor(1, "Ana Souza", "30", {"0800", "1000"});
        book.files.addAppointment(1, kMonday, "08:30", "Maria da Silva", "Unimed", "555-1234", "first visit");
        book.files.addAppointment(1, kMonday, "09:10", "O'Brien <VIP>", "Plan; DROP", "", "João");
        book.open();
        book.chooseDoctor(1);
        const QStringList rows = book.rows();
        QCOMPARE(rows.size(), 6);
        const QDateTime printed = QDateTime::currentDateTime().addSecs(-1);
        book.click("cmd_imp");
        QVERIFY(book.platform.messages.shown.isEmpty());

        QString pdf;
        waitForPdf(printDocumentName("Ana Souza", kMonday), printed, &pdf);
        QVERIFY(!pdf.isEmpty());
        const QStringList lines = nonBlankLines(PrintQueue::text(pdf));
        const QString longDate = QLocale::system().toString(kMonday, QLocale::LongFormat);
        QCOMPARE(lines.size(), 1 + rows.size());
        QCOMPARE(lines.first().trimmed(), QStringLiteral("Ana Souza - %1").arg(longDate));
        // Every row in order, with its columns where the screen has them; 09:10, between the slots, is a
        // squeeze-in and says so.
        for (int i = 0; i < rows.size(); ++i)
            QCOMPARE(lines.at(i + 1).trimmed().simplified(),
                     (rows.at(i) + (rows.at(i).startsWith("09:10") ? "  (squeeze-in)" : ""))
                         .trimmed()
                         .simplified());
        // The fixed-pitch columns of the two bookings line up on paper, accented letters included.
        const QString first = lines.at(2);
        const QString second = lines.at(4);
        QVERIFY(second.contains(QStringLiteral("O'Brien <VIP>")));
        QCOMPARE(first.indexOf(QStringLiteral("Maria")), second.indexOf(QStringLiteral("O'Brien")));
        QCOMPARE(first.indexOf(QStringLiteral("Unimed")), second.indexOf(QStringLiteral("Plan; DROP")));
        QCOMPARE(first.indexOf(QStringLiteral("first visit")), second.indexOf(QStringLiteral("João")));

        const QString fonts = PrintQueue::run("pdffonts", {pdf});
        QVERIFY2(fonts.contains(QRegularExpression(QStringLiteral("LiberationSans(?!-Bold)"))),
                 qPrintable(fonts));
        QVERIFY2(fonts.contains(QStringLiteral("LiberationMono-Bold")), qPrintable(fonts));
    }

    void longListFlowsOntoMorePages()
    {
        BookWindow book;
        book.files.setDoctor(2, "Long Day", "05", {"0000", "2355"});
        book.open();
        book.chooseDoctor(2);
        const QStringList rows = book.rows();
        QCOMPARE(rows.size(), 288);
        const QDateTime printed = QDateTime::currentDateTime().addSecs(-1);
        book.click("cmd_imp");
        QString pdf;
        waitForPdf(printDocumentName("Long Day", kMonday), printed, &pdf);
        QVERIFY(!pdf.isEmpty());
        const QStringList first = nonBlankLines(PrintQueue::text(pdf, 1));
        const QStringList second = nonBlankLines(PrintQueue::text(pdf, 2));
        QVERIFY(first.first().contains(QStringLiteral("Long Day - ")));
        QVERIFY(second.size() > 10);
        const int lastOnFirst = rows.indexOf(first.last().trimmed());
        QVERIFY(lastOnFirst > 0);
        QCOMPARE(second.first().trimmed(), rows.at(lastOnFirst + 1));
        for (const QString &line : second)
            QVERIFY(!line.contains(QStringLiteral("Long Day")));
        QCOMPARE(nonBlankLines(PrintQueue::text(pdf)).size(), 1 + rows.size());
    }

    // A doctor's name with quotes, markup and accents prints as it stands, and a second printout in
    // the same run looks like the first.
    void doctorNameAsItStands()
    {
        const QString name = QStringLiteral("Dr. O'Neil \"Zé\" <Ñandú> & Co;");
        BookWindow book;
        book.files.setDoctor(4, name, "30", {"0800", "0830"});
        book.open();
        book.chooseDoctor(4);
        QStringList pdfs;
        for (int copy = 0; copy < 2; ++copy) {
            const QDateTime printed = QDateTime::currentDateTime().addSecs(-1);
            book.click("cmd_imp");
            QString pdf;
            waitForPdf(printJobName(printDocumentName(name, kMonday)), printed, &pdf);
            QVERIFY(!pdf.isEmpty());
            const QStringList lines = nonBlankLines(PrintQueue::text(pdf));
            QVERIFY2(lines.first().trimmed().startsWith(name + QStringLiteral(" - ")),
                     qPrintable(lines.first()));
            QCOMPARE(lines.mid(1).join('|').remove(' '), QStringLiteral("08:00|08:30"));
            pdfs << PrintQueue::run("pdffonts", {pdf})
                        .section('\n', 2)
                        .remove(QRegularExpression("[A-Z]{6}\\+"))
                        .remove(
                            QRegularExpression("\\s+\\d+\\s+0\\s*$", QRegularExpression::MultilineOption));
            // The next copy must be a new file, not this one found again.
            QFile::remove(pdf);
        }
        QCOMPARE(pdfs.at(1), pdfs.at(0));
    }

    // The clinic's day prints landscape, the times' headings on every page, every name in full above.
    void clinicsDayOnLandscapePages()
    {
        const QString longName = QStringLiteral("Dra. Maria Aparecida Gonçalves");
        BookWindow book;
        book.files.setDoctor(1, "Ana", "05", {"0800", "1800"});
        book.files.setDoctor(2, longName, "10", {"0800", "1200"});
        book.files.addAppointment(2, kMonday, "09:00", "Carla Dias");
        book.open();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_D, Qt::ControlModifier | Qt::ShiftModifier);
        QTRY_COMPARE(book.find<QTableWidget>("clinicDayBoard")->columnCount(), 2);
        const QDateTime printed = QDateTime::currentDateTime().addSecs(-1);
        QTest::mouseClick(book.find<QPushButton>("clinicDayPrint"), Qt::LeftButton);
        QString pdf;
        waitForPdf(printDocumentName("clinic", kMonday), printed, &pdf);
        QVERIFY(!pdf.isEmpty());
        // The queue lays a turned page on a portrait sheet: the lines run up the sheet.
        const QRegularExpressionMatch word =
            QRegularExpression(QStringLiteral("xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" "
                                              "yMax=\"([\\d.]+)\">Gonçalves<"))
                .match(PrintQueue::run("pdftotext", {"-bbox", "-f", "1", "-l", "1", pdf, "-"}));
        QVERIFY(word.hasMatch());
        QVERIFY(word.captured(4).toDouble() - word.captured(2).toDouble() >
                word.captured(3).toDouble() - word.captured(1).toDouble());
        const QString info = PrintQueue::run("pdfinfo", {pdf});
        const int pages =
            QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info).captured(1).toInt();
        QVERIFY2(pages > 1, qPrintable(info));
        const QString first = PrintQueue::text(pdf, 1);
        QVERIFY(first.contains(QStringLiteral("The clinic's day - ")));
        QVERIFY(first.contains(longName));
        QVERIFY(first.contains(QStringLiteral("Carla Dias")));
        for (int page = 2; page <= pages; ++page)
            QVERIFY2(nonBlankLines(PrintQueue::text(pdf, page))
                         .first()
                         .simplified()
                         .startsWith("Time 1 Ana 2 Dra."),
                     qPrintable(PrintQueue::text(pdf, page)));
        QVERIFY(book.platform.messages.shown.isEmpty());
    }

    // A stopped printer is said, and nothing is left waiting in its queue.
    void stoppedPrinterIsSaid()
    {
        BookWindow book;
        book.files.setDoctor(1, "Ana Souza", "30", {"0800", "0830"});
        book.open();
        book.chooseDoctor(1);
        const QString printer = PrintQueue::run("lpstat", {"-d"}).section(':', 1).trimmed();
        QVERIFY(!printer.isEmpty());
        PrintQueue::run("cupsdisable", {printer});
        const int before = PrintQueue::jobsEverQueued();
        book.platform.messages.answers = {false}; // no PDF instead
        book.click("cmd_imp");
        PrintQueue::run("cupsenable", {printer});
        QCOMPARE(PrintQueue::jobsEverQueued(), before);
        QVERIFY2(book.platform.messages.takeOne().contains(QStringLiteral("is stopped")),
                 qPrintable(book.platform.messages.last()));
    }

    void nothingWithoutADoctor()
    {
        BookWindow book;
        book.open();
        const int before = PrintQueue::jobsEverQueued();
        book.click("cmd_imp");
        QCOMPARE(PrintQueue::jobsEverQueued(), before);
        QVERIFY(book.platform.messages.shown.isEmpty());
    }
};

QTEST_MAIN(PrintingTest)
#include "tst_printing.moc"
