#include "app/velmora_app.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmora"));
    QApplication::setApplicationVersion(QStringLiteral("3.2"));

    // The program keeps its twelve files in the folder it is started in.
    velmora::VelmoraApp velmora(QDir::current());
    velmora.window().showMaximized();
    return QApplication::exec();
}
