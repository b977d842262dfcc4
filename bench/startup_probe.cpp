// Starts Velmora as its main() does, in the working directory, and quits as soon as the doctor list
// is filled: the start-up the benchmark times.
#include "app/velmora_app.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    velmora::VelmoraApp velmora(QDir::current());
    QObject::connect(&velmora.window(), &velmora::MainWindow::doctorListFilled, &app, &QApplication::quit,
                     Qt::QueuedConnection);
    velmora.window().showMaximized();
    return QApplication::exec();
}
