#include "core/reception/confirmation_list.h"
#include "core/text/printout.h"
#include "platform/system_platform.h"
#include "support/book_window.h"

#include <QFileInfo>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

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

    // A list wider than a portrait page is printed across a turned one, nothing cut: the longest
    // status, a long doctor's name, the headings.
    void wideListsAreTurnedNotCut()
    {
        QVector<ConfirmationRow> rows(2);
        rows[0].doctor = QStringLiteral("Dra. Maria Aparecida da Conceição Souza Lima");
        rows[0].booking.date = QDate(2026, 12, 9);
        rows[0].booking.hora = QStringLiteral("08:30");
        rows[0].booking.nome = QStringLiteral("Francisca Gonçalves de Albuquerque e Silva");
        rows[0].booking.telefone = QStringLiteral("(11) 99812-3344 / (11) 3473-6808");
        rows[0].booking.status = BookingStatus::Cancelled;
        rows[1] = rows[0];
        Printout printout;
        printout.documentName = QStringLiteral("wide");
        printout.header = QStringLiteral("Confirmations of Wed 2026-12-09, all doctors");
        printout.rows = confirmationLines(rows, QLocale(QLocale::English));
        QTemporaryDir folder;
        const QString target = folder.filePath("wide.pdf");
        SystemPrinter printer;
        QString error;
        QVERIFY2(printer.saveAsPdf(printout, target, &error), qPrintable(error));
        QProcess pdftotext;
        pdftotext.start("pdftotext", {"-layout", target, "-"});
        QVERIFY(pdftotext.waitForFinished(30000));
        const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
        for (const QString &whole : {QStringLiteral("Dra. Maria Aparecida da Conceição Souza Lima"),
                                     QStringLiteral("Cancelled by the patient"), QStringLiteral("Status"),
                                     QStringLiteral("(11) 99812-3344 / (11) 3473-6808")})
            QVERIFY2(text.contains(whole), qPrintable(text));
        QProcess pdfinfo;
        pdfinfo.start("pdfinfo", {target});
        QVERIFY(pdfinfo.waitForFinished(30000));
        const QString info = QString::fromUtf8(pdfinfo.readAllStandardOutput());
        const QRegularExpressionMatch size =
            QRegularExpression("Page size: +([0-9.]+) x ([0-9.]+)").match(info);
        QVERIFY2(size.hasMatch() && size.captured(1).toDouble() > size.captured(2).toDouble(),
                 qPrintable(info));
    }
};

QTEST_MAIN(PrintingWithoutPrinterTest)
#include "tst_printing_without_printer.moc"
