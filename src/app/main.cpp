#include "app/system_platform.h"
#include "book/main_window.h"
#include "storage/database.h"

#include <QApplication>
#include <QDir>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmora"));
    QApplication::setApplicationVersion(QStringLiteral("3.2"));

    // The program keeps its twelve files in the folder it is started in.
    const QDir folder = QDir::current();
    const QStringList problems = velmora::prepareFiles(folder);

    velmora::SystemMessages messages;
    velmora::SystemClock clock;
    velmora::SystemPrinter printer;
    velmora::SystemBrowser browser;
    const velmora::Platform platform{messages, clock, printer, browser};

    velmora::MainWindow window(platform, folder, problems);
    window.showMaximized();
    return QApplication::exec();
}
