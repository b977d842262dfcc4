#include "core/model/version.h"
#include "core/safekeeping/activity_log.h"
#include "platform/command_line.h"
#include "platform/language.h"
#include "platform/log_file.h"
#include "platform/start_up.h"
#include "platform/system_platform.h"
#include "server/server_connection.h"

#include <QApplication>
#include <QDir>
#include <QLoggingCategory>
#include <QTextStream>

#include <memory>
#include <sys/stat.h>

int main(int argc, char *argv[])
{
    // What the program makes (the books, their backups, the lists it saves) holds patients' data: the
    // user's alone.
    ::umask(077);
    QCoreApplication::setApplicationName(QStringLiteral("Velmora"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VELMORA_VERSION));
    // Read and checked before anything is opened or written, and before a window (which needs a
    // screen) is thought of.
    QList<QByteArray> arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QByteArray(argv[i]);
    // The terminal's texts (--help, errors, reports) in the program's language: the line is read with
    // the language it names, or the system's, already spoken.
    std::unique_ptr<QCoreApplication> app; // outlives the languages spoken below
    auto terminal = std::make_unique<QCoreApplication>(argc, argv);
    auto speaking = std::make_unique<velmora::ProgramLanguage>(velmora::namedLanguage(arguments));
    const velmora::CommandLine line = velmora::readCommandLine(arguments);
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (!line.error.isEmpty()) {
        err << line.error << '\n' << QStringLiteral("velmora --help") << '\n';
        return 2;
    }
    if (line.task == velmora::CommandLine::Task::Help) {
        out << line.help;
        return 0;
    }
    if (line.task == velmora::CommandLine::Task::Version) {
        out << QCoreApplication::applicationName() << ' ' << QCoreApplication::applicationVersion() << '\n';
        return 0;
    }
    if (line.needsWindow()) {
        // A window needs the application of widgets, and speaks its language from the start below.
        speaking.reset();
        terminal.reset();
        app = std::make_unique<QApplication>(argc, argv);
    } else {
        app = std::move(terminal);
    }
    QString folderProblem;
    if (!velmora::enterDataFolder(line.dataFolder, &folderProblem)) {
        if (line.needsWindow()) {
            const velmora::ProgramLanguage language(line.language);
            velmora::SystemMessages().inform(nullptr, folderProblem);
        } else {
            err << folderProblem << '\n';
        }
        return 2;
    }
    const QDir folder(QStringLiteral("."));
    const QString passwordSeen = velmora::passwordWarning(line);
    if (!passwordSeen.isEmpty() && !line.needsWindow())
        err << passwordSeen << '\n' << Qt::flush;
    // Tasks that only read leave the folder as it was: no log is begun for them, and what they could
    // not do they print themselves, once, without the server's log lines beside it.
    if (line.task != velmora::CommandLine::Task::Find && line.task != velmora::CommandLine::Task::Patient &&
        line.task != velmora::CommandLine::Task::Report && line.task != velmora::CommandLine::Task::Day &&
        line.task != velmora::CommandLine::Task::Calendar)
        velmora::installLogFile(folder,
                                line.needsWindow() ? velmora::LogEcho::PassedOn : velmora::LogEcho::LogOnly);
    else
        QLoggingCategory::setFilterRules(QStringLiteral("velmora.server=false"));
    switch (line.task) {
    case velmora::CommandLine::Task::ImportLegacy:
        return velmora::importFromCommandLine(folder, velmora::VelmoraApp::defaultReaderPath(), out,
                                              line.server);
    case velmora::CommandLine::Task::RestoreBackup:
        return velmora::restoreFromCommandLine(folder, line.value, out, line.server);
    case velmora::CommandLine::Task::CopyToServer:
        return velmora::copyToServerFromCommandLine(folder, line.value, out);
    case velmora::CommandLine::Task::CopyFromServer:
        return velmora::copyFromServerFromCommandLine(line.value, folder, out);
    case velmora::CommandLine::Task::Find:
        return velmora::findFromCommandLine(folder, line.server, line.value, QDate::currentDate(), out, err);
    case velmora::CommandLine::Task::Patient:
        return velmora::patientFromCommandLine(folder, line.server, line.value, QDate::currentDate(), out,
                                               err);
    case velmora::CommandLine::Task::ServerSetup:
        return velmora::serverSetupFromCommandLine(!line.value.isEmpty() ? line.value
                                                   : !line.server.isEmpty()
                                                       ? line.server
                                                       : velmora::serverInSettings(folder),
                                                   out, err);
    case velmora::CommandLine::Task::Calendar: {
        const velmora::ProgramLanguage language(line.language);
        return velmora::calendarFromCommandLine(folder, line.server, line.value.toInt(), out, err);
    }
    case velmora::CommandLine::Task::Day:
        return velmora::dayFromCommandLine(folder, line.server, QDate::fromString(line.value, Qt::ISODate),
                                           line.doctor, out, err);
    case velmora::CommandLine::Task::Report: {
        const velmora::ProgramLanguage language(line.language);
        return velmora::reportFromCommandLine(folder, line.server, QDate::fromString(line.value, Qt::ISODate),
                                              QDate::fromString(line.until, Qt::ISODate), line.csvFile, out,
                                              err, line.force);
    }
    default:
        break;
    }

    const velmora::ProgramLanguage language(line.language);
    velmora::SystemMessages messages;
    velmora::SystemClock clock;
    velmora::SystemPrinter printer;
    velmora::SystemBrowser browser;
    velmora::SystemProgress progress;
    if (!passwordSeen.isEmpty())
        messages.inform(nullptr, passwordSeen);
    velmora::VelmoraApp velmora(velmora::Platform{messages, clock, printer, browser, progress}, folder,
                                velmora::VelmoraApp::defaultReaderPath(), line.server);
    if (!velmora.start())
        return 1;
    velmora.window().showMaximized();
    const int ended = QCoreApplication::exec();
    qCInfo(logStart) << "Velmora stops";
    return ended;
}
