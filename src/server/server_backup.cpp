#include "server/server_backup.h"

#include "core/safekeeping/activity_log.h"
#include "core/safekeeping/backup_days.h"
#include "core/safekeeping/desk_files.h"

#include "schema/book_schema.h"
#include "schema/slot_files.h"
#include "server/server_schema.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QSysInfo>

namespace velmora {

namespace {

// Held on the server while a desk copies the books: another desk starting meanwhile leaves it to it.
constexpr qint64 kBackupLock = 0x56656c6d6f7262; // "Velmorb"

QProcessEnvironment toolEnvironment(const QString &password)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!password.isEmpty())
        environment.insert(QStringLiteral("PGPASSWORD"), password);
    // Debian's wrapper is a Perl script that warns first about a locale the computer lacks.
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    return environment;
}

// What a PostgreSQL tool said of its failure: its own lines ("pg_dump: error: ..."), without the
// warnings of the wrapper that started it.
QString toolComplaint(const QString &tool, const QByteArray &standardError)
{
    const QStringList lines =
        QString::fromLocal8Bit(standardError).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QStringList own;
    QStringList others;
    for (const QString &line : lines) {
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(tool + QLatin1Char(':')))
            own << trimmed;
        else if (!trimmed.isEmpty() && !line.startsWith(QLatin1String("perl: warning:")) &&
                 !line.at(0).isSpace())
            others << trimmed;
    }
    return explainedRefusal((own.isEmpty() ? others : own).join(QLatin1Char(' ')));
}

QString backupsFolder(const QDir &folder)
{
    return folder.filePath(QStringLiteral("backups"));
}

} // namespace

ServerBackup::ServerBackup(const QString &url, const QDir &folder, QDate today, const QString &pgDump,
                           QObject *parent)
    : QObject(parent), url_(url), folder_(folder), today_(today),
      pgDump_(pgDump.isEmpty() ? findTool(QStringLiteral("pg_dump")) : pgDump),
      connection_(QStringLiteral("Backup"), url)
{
}

ServerBackup::~ServerBackup()
{
    if (process_ && process_->state() != QProcess::NotRunning) {
        process_->kill();
        process_->waitForFinished(2000);
    }
}

QString ServerBackup::fileName(QDate day)
{
    return QStringLiteral("server-%1.dump").arg(day.toString(Qt::ISODate));
}

QString ServerBackup::findTool(const QString &name)
{
    const QString onPath = QStandardPaths::findExecutable(name);
    if (!onPath.isEmpty())
        return onPath;
    // Debian's server packages keep the tools of each version in a folder of their own.
    for (const char *version : {"17", "16", "15"}) {
        const QString path =
            QStringLiteral("/usr/lib/postgresql/%1/bin/%2").arg(QLatin1String(version), name);
        if (QFile::exists(path))
            return path;
    }
    return {};
}

void ServerBackup::start()
{
    QString error;
    if (pgDump_.isEmpty() || !QFile::exists(pgDump_))
        return end(false, tr("pg_dump, which copies the server's books, is not installed (Debian's package "
                             "postgresql-client)"));
    if (QDir().mkpath(backupsFolder(folder_)))
        QFile::setPermissions(backupsFolder(folder_), kPrivateFolder);
    else
        return end(false, tr("the folder \"%1\" cannot be made").arg(backupsFolder(folder_)));
    if (!connection_.ensureOpen(&error))
        return end(false, error);
    QSqlQuery query(connection_.database());
    bool locked = false;
    if (!connection_.execute(query, QStringLiteral("SELECT pg_try_advisory_lock(%1)").arg(kBackupLock),
                             &error))
        return end(false, error);
    locked = query.next() && query.value(0).toBool();
    query.finish();
    if (!locked)
        return end(false, {}); // another desk is making it
    // The day as the server's clock has it, as the record of the backups keeps it.
    query.prepare(QStringLiteral("SELECT 1 FROM %1 WHERE day = current_date").arg(serverBackupsTable()));
    if (!connection_.execute(query, &error))
        return end(false, error);
    const bool made = query.next();
    query.finish();
    if (made)
        return end(false, {});

    QString password;
    QString refused;
    const QString address = toolConnectionString(url_, &password, &refused);
    if (address.isEmpty())
        return end(false, refused);
    process_ = std::make_unique<QProcess>();
    process_->setProcessEnvironment(toolEnvironment(password));
    process_->setProcessChannelMode(QProcess::SeparateChannels);
    connect(process_.get(), &QProcess::finished, this, &ServerBackup::copied);
    connect(process_.get(), &QProcess::errorOccurred, this, [this](QProcess::ProcessError failure) {
        if (failure == QProcess::FailedToStart)
            end(false, tr("pg_dump could not be started: %1").arg(process_->errorString()));
    });
    const QString part = QDir(backupsFolder(folder_)).filePath(fileName(today_) + QStringLiteral(".part"));
    // Made the user's alone before pg_dump writes into it (it keeps the mode of a file it finds).
    if (!makePrivateFile(part, &refused))
        return end(false, refused);
    process_->start(pgDump_, {QStringLiteral("--format=custom"), QStringLiteral("--file=") + part,
                              QStringLiteral("--dbname=") + address});
}

void ServerBackup::copied(int exitCode, QProcess::ExitStatus status)
{
    QDir backups(backupsFolder(folder_));
    const QString part = backups.filePath(fileName(today_) + QStringLiteral(".part"));
    const QString made = backups.filePath(fileName(today_));
    if (status != QProcess::NormalExit || exitCode != 0) {
        QFile::remove(part);
        return end(false,
                   tr("pg_dump failed: %1")
                       .arg(toolComplaint(QStringLiteral("pg_dump"), process_->readAllStandardError())));
    }
    QFile::remove(made);
    if (!QFile::rename(part, made))
        return end(false, tr("\"%1\" could not be put in place").arg(made));
    QString error;
    QSqlQuery query(connection_.database());
    // Recorded by the server's function, which records today alone; books set up before it have
    // none, and take the row from the desk.
    query.prepare(QStringLiteral("SELECT public.velmora_backup_made(?)"));
    query.addBindValue(QSysInfo::machineHostName());
    if (!connection_.execute(query, &error)) {
        query.prepare(
            QStringLiteral("INSERT INTO %1 (day, desk) VALUES (current_date, ?) ON CONFLICT (day) DO "
                           "NOTHING")
                .arg(serverBackupsTable()));
        query.addBindValue(QSysInfo::machineHostName());
        if (!connection_.execute(query, &error))
            return end(false, error);
    }
    query.finish();
    // Kept as the folder's own backups are: two weeks by day, eight weeks by week, a year by month.
    QList<QDate> days;
    for (const QString &name : backups.entryList({QStringLiteral("server-*.dump")}, QDir::Files))
        if (const QDate day = QDate::fromString(name.mid(7, 10), Qt::ISODate);
            day.isValid() && name == fileName(day))
            days << day;
    const QList<QDate> kept = backupsKept(days, today_);
    for (const QDate &day : std::as_const(days))
        if (!kept.contains(day))
            backups.remove(fileName(day));
    end(true, {});
}

void ServerBackup::end(bool made, const QString &problem)
{
    if (made)
        qCInfo(logBackup).noquote() << "the server's books copied to" << fileName(today_);
    else if (!problem.isEmpty())
        qCWarning(logBackup).noquote() << "the server's books could not be copied:" << problem;
    connection_.close(); // and with it the lock
    Q_EMIT finished(made, problem);
}

bool restoreServerBackup(const QString &url, const QString &backupFile, QString *report, QString *error)
{
    if (!QFile::exists(backupFile)) {
        *error = QCoreApplication::translate("ServerBackup", "there is no backup \"%1\"").arg(backupFile);
        return false;
    }
    const QString pgRestore = ServerBackup::findTool(QStringLiteral("pg_restore"));
    if (pgRestore.isEmpty()) {
        *error = QCoreApplication::translate("ServerBackup", "pg_restore is not installed (Debian's package "
                                                             "postgresql-client)");
        return false;
    }
    {
        ServerConnection server(QStringLiteral("Restore"), url);
        ServerContents contents = ServerContents::Foreign;
        QString problem;
        if (!server.ensureOpen(error) || !inspectServer(server.database(), &contents, &problem, error))
            return false;
        if (contents != ServerContents::Empty) {
            *error = server.named(QCoreApplication::translate(
                "ServerBackup", "the database is not empty; a backup is put back only into an empty one"));
            return false;
        }
    }
    QString password;
    const QString address = toolConnectionString(url, &password, error);
    if (address.isEmpty())
        return false;
    QProcess process;
    process.setProcessEnvironment(toolEnvironment(password));
    process.start(pgRestore, {QStringLiteral("--single-transaction"), QStringLiteral("--exit-on-error"),
                              QStringLiteral("--no-owner"), QStringLiteral("--no-privileges"),
                              QStringLiteral("--dbname=") + address, backupFile});
    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        *error = QCoreApplication::translate("ServerBackup", "pg_restore failed, nothing was put back: %1")
                     .arg(toolComplaint(QStringLiteral("pg_restore"), process.readAllStandardError()));
        return false;
    }
    *report = QCoreApplication::translate(
                  "ServerBackup", "The backup %1 was put back into %2. Run velmora --server-setup on it to "
                                  "give the desks their rights again.")
                  .arg(QFileInfo(backupFile).fileName(), shownServer(url));
    return true;
}

} // namespace velmora
