#include "platform/language.h"
#include "platform/start_up.h"
#include "platform/system_platform.h"

#include <QApplication>

#include <cstring>

int main(int argc, char *argv[])
{
    // Setting up a clinic's PC from a terminal: no window, no question.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--import-legacy") == 0) {
            QCoreApplication app(argc, argv);
            QTextStream out(stdout);
            return velmora::importFromCommandLine(QDir(QStringLiteral(".")),
                                                  velmora::VelmoraApp::defaultReaderPath(), out);
        }
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmora"));
    QApplication::setApplicationVersion(QStringLiteral("3.2"));

    // The system's language, or the one "--language en" or "--language pt_BR" names.
    const QStringList arguments = QApplication::arguments();
    const qsizetype asked = arguments.indexOf(QStringLiteral("--language"));
    const velmora::ProgramLanguage language(asked > 0 ? arguments.value(asked + 1) : QString());

    velmora::SystemMessages messages;
    velmora::SystemClock clock;
    velmora::SystemPrinter printer;
    velmora::SystemBrowser browser;
    velmora::SystemProgress progress;
    // The program keeps its twelve files in the folder it is started in, named relatively so that a
    // folder whose name is not valid text is still found.
    velmora::VelmoraApp velmora(velmora::Platform{messages, clock, printer, browser, progress},
                                QDir(QStringLiteral(".")));
    if (!velmora.start())
        return 1;
    velmora.window().showMaximized();
    return QApplication::exec();
}
