#include "core/version.h"
#include "platform/language.h"
#include "platform/start_up.h"
#include "platform/system_platform.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QStandardPaths>

#include <memory>

namespace {

struct Options
{
    QString dataFolder;
    QString language;
    bool importLegacy = false;
    QString restoreBackup;
    QString server;
    QString copyToServer;
    QString copyFromServer;
};

// The command line, read with Qt's parser; --help and --version answer and end the program.
Options readOptions(const QCoreApplication &app)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("The appointment book of a small clinic."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption dataFolder(
        QStringLiteral("data-folder"),
        QStringLiteral(
            "The folder of the twelve files; \"user\" for the user's own (%1). Without it, the working "
            "folder.")
            .arg(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)),
        QStringLiteral("DIR"));
    const QCommandLineOption language(
        QStringLiteral("language"),
        QStringLiteral("The language to speak: en or pt_BR. Without it, the system's."),
        QStringLiteral("LANGUAGE"));
    const QCommandLineOption importLegacy(
        QStringLiteral("import-legacy"),
        QStringLiteral(
            "Import the older program's files of the data folder, print the summary and end: 0 when all "
            "were imported, 1 when one could not be, 2 when there was nothing to import."));
    const QCommandLineOption restoreBackup(
        QStringLiteral("restore-backup"),
        QStringLiteral(
            "Put the backup of that day back (the program closed), keeping the current files aside."),
        QStringLiteral("YYYY-MM-DD"));
    const QCommandLineOption server(
        QStringLiteral("server"),
        QStringLiteral(
            "Keep the books on this PostgreSQL server (postgresql://host:port/database) instead of "
            "the folder's files; without it, the one velmora.ini of the data folder names, if any."),
        QStringLiteral("URL"));
    const QCommandLineOption copyToServer(
        QStringLiteral("copy-to-server"),
        QStringLiteral("Copy the data folder's twelve files into an empty server database, print what was "
                       "copied and end: 0 when done, 1 otherwise."),
        QStringLiteral("URL"));
    const QCommandLineOption copyFromServer(
        QStringLiteral("copy-from-server"),
        QStringLiteral(
            "Write a server's books into the twelve files of a data folder without them, print what "
            "was copied and end: 0 when done, 1 otherwise."),
        QStringLiteral("URL"));
    parser.addOptions(
        {dataFolder, language, importLegacy, restoreBackup, server, copyToServer, copyFromServer});
    parser.process(app);
    Options options;
    options.dataFolder = parser.value(dataFolder);
    options.language = parser.value(language);
    options.importLegacy = parser.isSet(importLegacy);
    options.restoreBackup = parser.value(restoreBackup);
    options.server = parser.value(server);
    options.copyToServer = parser.value(copyToServer);
    options.copyFromServer = parser.value(copyFromServer);
    return options;
}

// The data folder: the working folder, named relatively so that a folder whose name is not valid text
// is still found; or the one named; "user" is the user's own, made when missing.
QDir dataFolder(const QString &named)
{
    if (named.isEmpty())
        return QDir(QStringLiteral("."));
    const QString path = named == QLatin1String("user")
                             ? QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
                             : named;
    QDir().mkpath(path);
    return QDir(path);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("Velmora"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VELMORA_VERSION));
    // The tasks of a terminal need no window, and no screen.
    bool terminalTask = false;
    for (int i = 1; i < argc; ++i)
        for (const char *task : {"--import-legacy", "--restore-backup", "--copy-to-server",
                                 "--copy-from-server", "--help", "-h", "--version", "-v"})
            terminalTask = terminalTask || qstrcmp(argv[i], task) == 0 ||
                           QByteArray(argv[i]).startsWith(QByteArray(task) + '=');
    std::unique_ptr<QCoreApplication> app(terminalTask ? new QCoreApplication(argc, argv)
                                                       : new QApplication(argc, argv));
    const Options options = readOptions(*app);
    const QDir folder = dataFolder(options.dataFolder);
    QTextStream out(stdout);
    if (options.importLegacy)
        return velmora::importFromCommandLine(folder, velmora::VelmoraApp::defaultReaderPath(), out);
    if (!options.restoreBackup.isEmpty())
        return velmora::restoreFromCommandLine(folder, options.restoreBackup, out);
    if (!options.copyToServer.isEmpty())
        return velmora::copyToServerFromCommandLine(folder, options.copyToServer, out);
    if (!options.copyFromServer.isEmpty())
        return velmora::copyFromServerFromCommandLine(options.copyFromServer, folder, out);

    const velmora::ProgramLanguage language(options.language);
    velmora::SystemMessages messages;
    velmora::SystemClock clock;
    velmora::SystemPrinter printer;
    velmora::SystemBrowser browser;
    velmora::SystemProgress progress;
    velmora::VelmoraApp velmora(velmora::Platform{messages, clock, printer, browser, progress}, folder,
                                velmora::VelmoraApp::defaultReaderPath(), options.server);
    if (!velmora.start())
        return 1;
    velmora.window().showMaximized();
    return QCoreApplication::exec();
}
