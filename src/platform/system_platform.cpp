#include "platform/system_platform.h"

#include "platform/print_pages.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressDialog>
#include <QPushButton>

namespace velmora {

namespace {
const char *const kCaption = "Velmora";
}

void SystemMessages::inform(QWidget *parent, const QString &text)
{
    QMessageBox::information(parent, QString::fromLatin1(kCaption), text, QMessageBox::Ok);
}

bool SystemMessages::ask(QWidget *parent, const QString &text)
{
    return QMessageBox::question(parent, QString::fromLatin1(kCaption), text,
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) == QMessageBox::Yes;
}

bool SystemMessages::ask(QWidget *parent, const QString &text, const QString &yes, const QString &no,
                         Default answer)
{
    QMessageBox box(QMessageBox::Question, QString::fromLatin1(kCaption), text, QMessageBox::NoButton,
                    parent);
    QPushButton *yesButton = box.addButton(yes, QMessageBox::AcceptRole);
    QPushButton *noButton = box.addButton(no, QMessageBox::RejectRole);
    box.setDefaultButton(answer == Default::Yes ? yesButton : noButton);
    box.exec();
    return box.clickedButton() == yesButton;
}

SystemProgress::~SystemProgress()
{
    close();
}

bool SystemProgress::show(QWidget *parent, const QString &text, int percent)
{
    if (!dialog_) {
        dialog_ = new QProgressDialog(parent);
        dialog_->setWindowTitle(QString::fromLatin1(kCaption));
        dialog_->setWindowModality(Qt::ApplicationModal);
        dialog_->setMinimumDuration(0);
        dialog_->setRange(0, 100);
    }
    dialog_->setLabelText(text);
    dialog_->setValue(percent);
    QCoreApplication::processEvents(); // the window drawn and Cancel heard between the steps
    return !dialog_->wasCanceled();
}

void SystemProgress::close()
{
    delete dialog_;
    dialog_ = nullptr;
}

QString SystemMessages::saveFileName(QWidget *parent, const QString &startPath, const QString &filter)
{
    return QFileDialog::getSaveFileName(parent, QString::fromLatin1(kCaption), startPath, filter);
}

QDate SystemClock::today() const
{
    return QDate::currentDate();
}

QTime SystemClock::now() const
{
    return QTime::currentTime();
}

bool SystemPrinter::print(const Printout &printout, QString *error)
{
    const QPrinterInfo printerInfo = QPrinterInfo::defaultPrinter();
    // Without a default printer QPrinter would quietly turn into a nameless PDF file.
    if (printerInfo.isNull()) {
        *error = QCoreApplication::translate("Platform", "no default printer is set up on this computer");
        return false;
    }
    // A stopped printer would keep the list in its queue with nothing coming out.
    if (printerInfo.state() == QPrinter::Error) {
        *error = QCoreApplication::translate("Platform", "the printer \"%1\" is stopped")
                     .arg(printerInfo.printerName());
        return false;
    }
    QPrinter printer(printerInfo, QPrinter::HighResolution);
    printer.setDocName(printout.documentName);
    if (!paintPrintout(printer, printout, error))
        return false;
    if (printer.printerState() == QPrinter::Error) {
        *error = QCoreApplication::translate("Platform", "the printer \"%1\" reported an error")
                     .arg(printerInfo.printerName());
        return false;
    }
    return true;
}

bool SystemPrinter::saveAsPdf(const Printout &printout, const QString &path, QString *error)
{
    {
        QPdfWriter writer(path);
        writer.setTitle(printout.documentName);
        writer.setCreator(QStringLiteral("Velmora"));
        writer.setResolution(300);
        if (!paintPrintout(writer, printout, error)) {
            *error = QCoreApplication::translate("Platform", "\"%1\" could not be written").arg(path);
            return false;
        }
    }
    if (QFileInfo(path).size() <= 0) {
        *error = QCoreApplication::translate("Platform", "\"%1\" could not be written").arg(path);
        return false;
    }
    return true;
}

bool SystemBrowser::open(const QUrl &address)
{
    return QDesktopServices::openUrl(address);
}

} // namespace velmora
