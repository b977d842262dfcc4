#include "platform/system_platform.h"

#include "core/safekeeping/desk_files.h"
#include "core/text/printout.h"
#include "platform/print_pages.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStandardPaths>

#include <algorithm>

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

namespace {

// A question whose text would not fit the screen (a long message to be sent) scrolls inside the box,
// its buttons always in sight.
void fitOnScreen(QMessageBox &box, const QString &text)
{
    if (text.count(QLatin1Char('\n')) < 20 && text.size() < 1500)
        return;
    auto *label = box.findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
    auto *grid = qobject_cast<QGridLayout *>(box.layout());
    if (!label || !grid)
        return;
    const int index = grid->indexOf(label);
    int row = 0, column = 0, rows = 1, columns = 1;
    grid->getItemPosition(index, &row, &column, &rows, &columns);
    grid->removeWidget(label);
    auto *area = new QScrollArea(&box);
    area->setObjectName(QStringLiteral("questionText"));
    area->setWidgetResizable(true);
    label->setParent(nullptr);
    label->setWordWrap(true);
    area->setWidget(label);
    const QRect screen = box.screen() ? box.screen()->availableGeometry() : QRect(0, 0, 1024, 768);
    area->setMinimumSize(std::min(560, screen.width() * 2 / 3), std::min(360, screen.height() / 2));
    grid->addWidget(area, row, column, rows, columns);
}

} // namespace

int SystemMessages::choose(QWidget *parent, const QString &text, const QStringList &choices)
{
    QMessageBox box(QMessageBox::Question, QString::fromLatin1(kCaption), text, QMessageBox::NoButton,
                    parent);
    fitOnScreen(box, text);
    QList<QPushButton *> buttons;
    for (qsizetype i = 0; i < choices.size(); ++i)
        buttons << box.addButton(choices.at(i), i == 0                    ? QMessageBox::AcceptRole
                                                : i == choices.size() - 1 ? QMessageBox::RejectRole
                                                                          : QMessageBox::ActionRole);
    if (!buttons.isEmpty())
        box.setDefaultButton(buttons.first());
    box.exec();
    return static_cast<int>(buttons.indexOf(static_cast<QPushButton *>(box.clickedButton())));
}

QString SystemMessages::saveFileName(QWidget *parent, const QString &startPath, const QString &filter)
{
    // Offered where the user keeps documents, not in the program's hidden data folder.
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (documents.isEmpty() || !QFileInfo(documents).isDir())
        documents = QDir::homePath();
    const QString offered = QDir(documents).filePath(QFileInfo(startPath).fileName());
    // The desktop's own dialog speaks the desktop's language: Qt's speaks the program's.
    const QFileDialog::Options options = QLocale().name() == QLocale::system().name()
                                             ? QFileDialog::Options()
                                             : QFileDialog::DontUseNativeDialog;
    return QFileDialog::getSaveFileName(parent, QString::fromLatin1(kCaption), offered, filter, nullptr,
                                        options);
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
    printer.setDocName(printJobName(printout.documentName));
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
    // The list's patients are the user's alone: the file is made so before the writer fills it.
    if (!makePrivateFile(path, error))
        return false;
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

namespace {

// Qt names the whole address when no browser can be found, and an address can hold a patient's name:
// nothing of it may reach the terminal or the system's journal.
void withoutAddress(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    Q_UNUSED(type)
    Q_UNUSED(context)
    Q_UNUSED(message)
}

} // namespace

bool SystemBrowser::open(const QUrl &address)
{
    const QtMessageHandler previous = qInstallMessageHandler(withoutAddress);
    const bool opened = QDesktopServices::openUrl(address);
    qInstallMessageHandler(previous);
    return opened;
}

} // namespace velmora
