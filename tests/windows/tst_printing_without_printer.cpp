#include "support/book_window.h"

#include <QFileInfo>
#include <QPrinterInfo>
#include <QProcess>

using namespace velmora;
using velmora::testing::BookWindow;

// Run with CUPS_SERVER pointing nowhere, so that the system has no printer at all.
class PrintingWithoutPrinterTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void offersAPdfInstead()
    {
        QVERIFY(QPrinterInfo::defaultPrinter().isNull());
        BookWindow book;
        book.files.setDoctor(1, "Ana Souza", "30", {"0800", "0900"});
        book.open();
        book.chooseDoctor(1);

        // Declined: nothing is written anywhere.
        book.platform.messages.answers = {false};
        book.click("cmd_imp");
        QVERIFY(book.platform.messages.takeOne().startsWith(
            QStringLiteral("The list could not be printed: no default printer")));

        const QString target = book.files.path("saved list.pdf");
        book.platform.messages.answers = {true};
        book.platform.messages.saveAs = target;
        book.click("cmd_imp");
        QVERIFY(
            book.platform.messages.takeOne().contains(QStringLiteral("Save the same pages as a PDF file")));
        QVERIFY(book.platform.messages.shown.isEmpty());
        QVERIFY(book.platform.messages.saveDialogStart.startsWith(book.files.folder().absolutePath()));
        QVERIFY(QFileInfo(target).size() > 0);

        QProcess pdftotext;
        pdftotext.start("pdftotext", {"-layout", target, "-"});
        QVERIFY(pdftotext.waitForFinished(30000));
        const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
        QVERIFY2(text.contains(QStringLiteral("Ana Souza - ")), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("08:30")));
    }
};

QTEST_MAIN(PrintingWithoutPrinterTest)
#include "tst_printing_without_printer.moc"
