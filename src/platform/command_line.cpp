#include "platform/command_line.h"

#include "core/model/doctor_slots.h"

#include "server/server_connection.h"
#include "server/server_schema.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace velmora {

namespace {

const char *const kLanguages[] = {"en", "pt_BR"};

// The terminal's texts, in their own context.
struct CommandLineTexts
{
    Q_DECLARE_TR_FUNCTIONS(CommandLine)
};

// The raw bytes of the last --data-folder given: Qt's reading of an argument as text loses what is no
// valid text.
QByteArray rawDataFolder(const QList<QByteArray> &arguments)
{
    QByteArray folder;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QByteArray &argument = arguments.at(i);
        if (argument == "--data-folder" && i + 1 < arguments.size())
            folder = arguments.at(++i);
        else if (argument.startsWith("--data-folder="))
            folder = argument.mid(static_cast<qsizetype>(std::strlen("--data-folder=")));
    }
    return folder;
}

} // namespace

QString namedLanguage(const QList<QByteArray> &arguments)
{
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QByteArray &argument = arguments.at(i);
        if ((argument == "--language" || argument == "-language") && i + 1 < arguments.size())
            return QString::fromLocal8Bit(arguments.at(i + 1));
        if (argument.startsWith("--language="))
            return QString::fromLocal8Bit(argument.mid(11));
    }
    return {};
}

CommandLine readCommandLine(const QList<QByteArray> &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(CommandLineTexts::tr("The appointment book of a small clinic."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help-all"), QStringLiteral("help")},
                                  CommandLineTexts::tr("Show this help and end."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     CommandLineTexts::tr("Show the version and end."));
    const QCommandLineOption dataFolder(
        QStringLiteral("data-folder"),
        CommandLineTexts::tr(
            "The folder of the twelve files, which must exist; \"user\" for the user's own (%1), made on "
            "first "
            "use. Without it, the working folder.")
            .arg(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)),
        CommandLineTexts::tr("DIR"));
    const QCommandLineOption language(
        QStringLiteral("language"),
        CommandLineTexts::tr("The language to speak: en or pt_BR. Without it, the system's."),
        CommandLineTexts::tr("LANGUAGE"));
    const QCommandLineOption importLegacy(
        QStringLiteral("import-legacy"),
        CommandLineTexts::tr(
            "Import the older program's files of the data folder, print the summary and end: 0 when all were "
            "imported, 1 when one could not be, 2 when there was nothing to import."));
    const QCommandLineOption restoreBackup(
        QStringLiteral("restore-backup"),
        CommandLineTexts::tr(
            "Put the backup of that day back (the program closed), keeping the current files aside."),
        CommandLineTexts::tr("YYYY-MM-DD"));
    const QCommandLineOption server(
        QStringLiteral("server"),
        CommandLineTexts::tr(
            "Keep the books on this PostgreSQL server (postgresql://host:port/database) instead of the "
            "folder's "
            "files; without it, the one velmora.ini of the data folder names, if any."),
        CommandLineTexts::tr("URL"));
    const QCommandLineOption copyToServer(
        QStringLiteral("copy-to-server"),
        CommandLineTexts::tr("Copy the data folder's twelve files into an empty server "
                             "database, print what was copied and end: "
                             "0 when done, 1 otherwise."),
        CommandLineTexts::tr("URL"));
    const QCommandLineOption copyFromServer(
        QStringLiteral("copy-from-server"),
        CommandLineTexts::tr("Write a server's books into the twelve files of a data "
                             "folder without them, print what was copied "
                             "and end: 0 when done, 1 otherwise."),
        CommandLineTexts::tr("URL"));
    const QCommandLineOption find(
        QStringLiteral("find"),
        CommandLineTexts::tr(
            "Print every appointment, all doctors and dates, whose patient's name holds the text (accents, "
            "case "
            "and blanks ignored) or whose phones hold its digits, one a line: date, time, slot, doctor, "
            "name, "
            "health plan, phones, tab-separated, upcoming first. Exit 0 when something was found, 1 when "
            "nothing was, 2 on an error or a text too short."),
        CommandLineTexts::tr("TEXT"));
    const QCommandLineOption patient(
        QStringLiteral("patient"),
        CommandLineTexts::tr(
            "Print the patients a name, phone, CPF or birth date (DD/MM/YYYY) may be, as the name field "
            "lists them, each on a line that starts \"patient\": identity, full name, social name, CPF, "
            "birth date, phones, health plan card and its end, appointments missed; then each of their "
            "appointments, all doctors, on a line that starts \"appointment\": date, time, slot, doctor, "
            "name, health plan, phones, status; tab-separated, upcoming first. Only reads. Exit 0 when a "
            "patient was found, 1 when none was, 2 on an error or a text too short."),
        CommandLineTexts::tr("TEXT"));
    const QCommandLineOption report(
        QStringLiteral("report"),
        CommandLineTexts::tr("Print the figures of the days FROM to TO (both YYYY-MM-DD, TO after "
                             "the option's value): per doctor "
                             "the free slots, bookings, occupancy and statuses, per health plan "
                             "the bookings, ';'-separated; exit "
                             "0 when done, 2 otherwise."),
        CommandLineTexts::tr("FROM"));
    const QCommandLineOption day(
        QStringLiteral("day"),
        CommandLineTexts::tr("Print the clinic's day: for each doctor, each row of that doctor's day list in "
                             "its order, tab-separated: time, slot, doctor, state (free, booked, no-hours), "
                             "patient, health plan, phones, status. Exit 0 when done, 2 on a bad date or "
                             "slot or an error."),
        CommandLineTexts::tr("YYYY-MM-DD"));
    const QCommandLineOption calendar(
        QStringLiteral("calendar"),
        CommandLineTexts::tr(
            "Print the year's holidays, optional days, closures and extra days in date order, "
            "tab-separated: date, end date, slot (1 to 10) or clinic, kind (holiday, "
            "optional, closure, extra, opening), reason, times. Exit 0 when done, 2 on a "
            "year outside 1900-2200 or an error."),
        CommandLineTexts::tr("YEAR"));
    const QCommandLineOption doctor(QStringLiteral("doctor"),
                                    CommandLineTexts::tr("With --day: that doctor's slot (1 to 10) alone."),
                                    CommandLineTexts::tr("K"));
    const QCommandLineOption csv(
        QStringLiteral("csv"),
        CommandLineTexts::tr("With --report: write the figures to this spreadsheet file instead."),
        CommandLineTexts::tr("FILE"));
    const QCommandLineOption force(
        QStringLiteral("force"),
        CommandLineTexts::tr("With --report --csv: write over a file of that name that is there already."));
    const QCommandLineOption serverSetup(
        QStringLiteral("server-setup"),
        CommandLineTexts::tr("Run once by the clinic's IT person as the database's owner (the address may be "
                             "left out for the one --server or velmora.ini names): make the books on "
                             "the server if absent "
                             "and the role %1 with a desk's rights, print how to add a person and end: 0 "
                             "when done, 1 otherwise.")
            .arg(QLatin1String(kDeskRole)),
        CommandLineTexts::tr("URL"));
    parser.addOptions({help, version, dataFolder, language, importLegacy, restoreBackup, server, copyToServer,
                       copyFromServer, find, patient, report, csv, force, serverSetup, day, doctor,
                       calendar});

    QStringList texts{QStringLiteral("velmora")};
    for (const QByteArray &argument : arguments)
        texts << QFile::decodeName(argument);
    // --server-setup may go without its address: the one --server or velmora.ini names is set up.
    for (qsizetype i = 1; i < texts.size(); ++i)
        if (texts.at(i) == QLatin1String("--server-setup") &&
            (i + 1 == texts.size() || texts.at(i + 1).startsWith(QLatin1String("--"))))
            texts.insert(i + 1, QString());
    CommandLine line;
    line.help = parser.helpText();
    if (!parser.parse(texts)) {
        line.error = parser.errorText();
        return line;
    }
    // A report's last day is the one argument that follows no option.
    const QStringList positional = parser.positionalArguments();
    if (parser.isSet(report) && positional.size() == 1) {
        line.until = positional.first().trimmed();
    } else if (!positional.isEmpty()) {
        line.error = CommandLineTexts::tr("Unexpected argument: %1")
                         .arg(positional.value(parser.isSet(report) ? 1 : 0));
        return line;
    }
    // One task at a time, each with the value it needs.
    const std::pair<const QCommandLineOption *, CommandLine::Task> tasks[] = {
        {&help, CommandLine::Task::Help},
        {&version, CommandLine::Task::Version},
        {&importLegacy, CommandLine::Task::ImportLegacy},
        {&restoreBackup, CommandLine::Task::RestoreBackup},
        {&copyToServer, CommandLine::Task::CopyToServer},
        {&copyFromServer, CommandLine::Task::CopyFromServer},
        {&find, CommandLine::Task::Find},
        {&patient, CommandLine::Task::Patient},
        {&report, CommandLine::Task::Report},
        {&serverSetup, CommandLine::Task::ServerSetup},
        {&day, CommandLine::Task::Day},
        {&calendar, CommandLine::Task::Calendar}};
    QStringList asked;
    for (const auto &[option, task] : tasks) {
        if (!parser.isSet(*option))
            continue;
        asked << QStringLiteral("--") + option->names().constLast();
        line.task = task;
        if (!option->valueName().isEmpty())
            line.value = parser.value(*option).trimmed();
    }
    if (parser.isSet(help)) {
        line.task = CommandLine::Task::Help;
        return line;
    }
    if (asked.size() > 1) {
        line.error =
            CommandLineTexts::tr("Only one of these at a time: %1").arg(asked.join(QStringLiteral(", ")));
        return line;
    }
    for (const QCommandLineOption *option : {&dataFolder, &language, &restoreBackup, &server, &copyToServer,
                                             &copyFromServer, &find, &patient, &report, &csv}) {
        if (parser.isSet(*option) && parser.value(*option).trimmed().isEmpty()) {
            line.error = CommandLineTexts::tr("--%1 needs a value: %2")
                             .arg(option->names().constLast(), option->valueName());
            return line;
        }
    }
    // A day of the folder's backups, or (for a server) the whole path of a dump copied from any desk.
    if (line.task == CommandLine::Task::RestoreBackup &&
        !QDate::fromString(line.value, Qt::ISODate).isValid() &&
        !line.value.endsWith(QLatin1String(".dump"))) {
        line.error = CommandLineTexts::tr("--restore-backup needs a day written YYYY-MM-DD, not \"%1\"")
                         .arg(line.value);
        return line;
    }
    if (line.task == CommandLine::Task::Day) {
        bool slotRead = true;
        line.doctor = parser.isSet(doctor) ? parser.value(doctor).trimmed().toInt(&slotRead) : 0;
        // Each refusal names what was given wrong, and only that.
        if (!QDate::fromString(line.value, Qt::ISODate).isValid()) {
            line.error = CommandLineTexts::tr("--day needs a day that exists, written YYYY-MM-DD, not \"%1\"")
                             .arg(line.value);
            return line;
        }
        if (!slotRead || line.doctor < 0 || line.doctor > kDoctorSlotCount) {
            line.error = CommandLineTexts::tr("--doctor needs a slot from 1 to 10, not \"%1\"")
                             .arg(parser.value(doctor));
            return line;
        }
    } else if (line.task == CommandLine::Task::Calendar) {
        bool read = false;
        const int year = line.value.toInt(&read);
        if (!read || year < 1900 || year > 2200) {
            line.error =
                CommandLineTexts::tr("--calendar needs a year from 1900 to 2200, not \"%1\"").arg(line.value);
            return line;
        }
    } else if (parser.isSet(doctor)) {
        line.error = CommandLineTexts::tr("--doctor goes with --day");
        return line;
    }
    if (line.task == CommandLine::Task::Report) {
        const QDate from = QDate::fromString(line.value, Qt::ISODate);
        const QDate to = QDate::fromString(line.until, Qt::ISODate);
        if (!from.isValid() || !to.isValid() || to < from) {
            line.error =
                CommandLineTexts::tr(
                    "--report needs two days written YYYY-MM-DD, the second not before the first: %1 %2")
                    .arg(line.value, line.until);
            return line;
        }
        // Named from the shell's folder, as every terminal program takes a file's name.
        line.csvFile = parser.isSet(csv) ? QDir::current().absoluteFilePath(parser.value(csv)) : QString();
        line.force = parser.isSet(force);
    } else if (parser.isSet(csv) || parser.isSet(force)) {
        line.error = CommandLineTexts::tr("--csv goes with --report");
        return line;
    }
    line.language = parser.value(language);
    if (!line.language.isEmpty() &&
        std::find(std::begin(kLanguages), std::end(kLanguages), line.language) == std::end(kLanguages)) {
        line.error = CommandLineTexts::tr("The languages are en and pt_BR, not \"%1\"").arg(line.language);
        return line;
    }
    line.server = parser.value(server).trimmed();
    line.dataFolder = rawDataFolder(arguments);
    return line;
}

QString passwordWarning(const CommandLine &line)
{
    QStringList addresses{line.server};
    if (line.task == CommandLine::Task::CopyToServer || line.task == CommandLine::Task::CopyFromServer ||
        line.task == CommandLine::Task::ServerSetup)
        addresses << line.value;
    for (const QString &address : std::as_const(addresses)) {
        SecuredAddress secured;
        QString unread;
        if (address.isEmpty() || !securedAddress(address, &secured, &unread))
            continue;
        for (const auto &[keyword, value] : std::as_const(secured.keywords))
            if (keyword == "password" && !value.isEmpty())
                return CommandLineTexts::tr(
                    "The server's address on the command line holds a password, which every user of this "
                    "computer can see in the list of programs running. Put it in ~/.pgpass instead (a line "
                    "host:port:database:login:password, readable by you alone) and leave it out of the "
                    "address.");
    }
    return {};
}

bool enterDataFolder(const QByteArray &dataFolder, QString *error)
{
    if (dataFolder.isEmpty())
        return true;
    QByteArray path = dataFolder;
    if (dataFolder == "user") {
        const QString own = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        QDir().mkpath(own);
        path = QFile::encodeName(own);
    }
    if (::chdir(path.constData()) == 0)
        return true;
    const int reason = errno;
    const QString shown = QFile::decodeName(dataFolder);
    if (reason == ENOENT)
        *error = CommandLineTexts::tr(
                     "The data folder \"%1\" does not exist: name a folder that does, or make it first.")
                     .arg(shown);
    else if (reason == ENOTDIR)
        *error = CommandLineTexts::tr("The data folder \"%1\" is not a folder.").arg(shown);
    else
        *error = CommandLineTexts::tr("The data folder \"%1\" cannot be opened: %2.")
                     .arg(shown, QString::fromLocal8Bit(std::strerror(reason)));
    return false;
}

} // namespace velmora
