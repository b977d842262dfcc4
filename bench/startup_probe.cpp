// Starts Velmora as its main() does, in the working directory, and quits as soon as the doctor list
// is filled: the start-up the benchmark times.
#include "platform/start_up.h"
#include "platform/system_platform.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    velmora::SystemMessages messages;
    velmora::SystemClock clock;
    velmora::SystemPrinter printer;
    velmora::SystemBrowser browser;
    velmora::SystemProgress progress;
    velmora::VelmoraApp velmora(velmora::Platform{messages, clock, printer, browser, progress},
                                QDir(QStringLiteral(".")));
    if (!velmora.start())
        return 1;
    QObject::connect(&velmora.window(), &velmora::MainWindow::doctorListFilled, &app, &QApplication::quit,
                     Qt::QueuedConnection);
    velmora.window().showMaximized();
    return QApplication::exec();
}
