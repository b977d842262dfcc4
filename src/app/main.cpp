#include "platform/start_up.h"
#include "platform/system_platform.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmora"));
    QApplication::setApplicationVersion(QStringLiteral("3.2"));

    velmora::SystemMessages messages;
    velmora::SystemClock clock;
    velmora::SystemPrinter printer;
    velmora::SystemBrowser browser;
    // The program keeps its twelve files in the folder it is started in, named relatively so that a
    // folder whose name is not valid text is still found.
    velmora::VelmoraApp velmora(velmora::Platform{messages, clock, printer, browser},
                                QDir(QStringLiteral(".")));
    if (!velmora.start())
        return 1;
    velmora.window().showMaximized();
    return QApplication::exec();
}
