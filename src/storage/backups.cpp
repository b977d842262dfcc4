#include "storage/backups.h"

#include "storage/database.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

namespace velmora {

namespace {

const char *const kBackupsFolder = "backups";
const char *const kDayFormat = "yyyy-MM-dd";
constexpr int kBackupLockWaitMs = 200;

// One file copied page by page through SQLite, which holds the source consistent meanwhile.
bool copyConsistently(const QString &from, const QString &to, QString *problem)
{
    sqlite3 *source = nullptr;
    sqlite3 *target = nullptr;
    bool ok =
        sqlite3_open_v2(sqliteUri(from, "rw").toUtf8().constData(), &source,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_URI, nullptr) == SQLITE_OK &&
        sqlite3_open_v2(sqliteUri(to, "rwc").toUtf8().constData(), &target,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_URI, nullptr) == SQLITE_OK;
    if (ok) {
        sqlite3_busy_timeout(source, kBackupLockWaitMs);
        sqlite3_backup *backup = sqlite3_backup_init(target, "main", source, "main");
        ok = backup && sqlite3_backup_step(backup, -1) == SQLITE_DONE;
        sqlite3_backup_finish(backup);
        ok = ok && sqlite3_errcode(target) == SQLITE_OK;
    }
    if (!ok)
        *problem = QString::fromUtf8(sqlite3_errmsg(target ? target : source));
    sqlite3_close(source);
    sqlite3_close(target);
    return ok;
}

QDir backupsOf(const QDir &folder)
{
    return QDir(folder.filePath(QString::fromLatin1(kBackupsFolder)));
}

} // namespace

QList<QDate> backupDays(const QDir &folder)
{
    QList<QDate> days;
    for (const QString &name : backupsOf(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        const QDate day = QDate::fromString(name, QLatin1String(kDayFormat));
        if (day.isValid())
            days << day;
    }
    return days;
}

bool backUpDay(const QDir &folder, QDate day, QString *problem)
{
    QDir backups = backupsOf(folder);
    const QString name = day.toString(QLatin1String(kDayFormat));
    if (backups.exists(name))
        return true; // made at an earlier start today
    const QString partial = name + QStringLiteral(".partial");
    QDir(backups.filePath(partial)).removeRecursively();
    if (!folder.mkpath(backups.filePath(partial))) {
        *problem = QCoreApplication::translate("Storage", "the folder \"%1\" cannot be made")
                       .arg(backups.filePath(name));
        return false;
    }
    for (const QString &fileName : allFileNames()) {
        const QString path = folder.filePath(fileName);
        // A file another program holds locked is not waited for long: the window is due on the screen.
        bool busy = false;
        if (!QFileInfo::exists(path) ||
            !checkFile(path, kindOfFile(fileName), problem, kBackupLockWaitMs, &busy)) {
            if (!busy)
                continue; // only the program's own files, as they are usable
            QDir(backups.filePath(partial)).removeRecursively();
            *problem =
                QCoreApplication::translate("Storage", "\"%1\" is held by another program").arg(fileName);
            return false;
        }
        if (!copyConsistently(path, backups.filePath(partial + QLatin1Char('/') + fileName), problem)) {
            QDir(backups.filePath(partial)).removeRecursively();
            *problem = QStringLiteral("\"%1\": %2").arg(fileName, *problem);
            return false;
        }
    }
    // Complete before it takes the day's name: a backup cut short is never taken for one.
    if (!backups.rename(partial, name)) {
        QDir(backups.filePath(partial)).removeRecursively();
        *problem = QCoreApplication::translate("Storage", "the finished backup could not be renamed");
        return false;
    }
    QList<QDate> days = backupDays(folder);
    while (days.size() > kBackupsKept)
        QDir(backups.filePath(days.takeFirst().toString(QLatin1String(kDayFormat)))).removeRecursively();
    return true;
}

bool restoreBackup(const QDir &folder, QDate day, QString *report, QString *error)
{
    const QDir backups = backupsOf(folder);
    const QDir backup(backups.filePath(day.toString(QLatin1String(kDayFormat))));
    if (!day.isValid() || !backup.exists()) {
        QStringList days;
        for (const QDate &kept : backupDays(folder))
            days << kept.toString(QLatin1String(kDayFormat));
        *error =
            QCoreApplication::translate("Storage", "there is no backup of that day; there are backups of: %1")
                .arg(days.isEmpty() ? QStringLiteral("-") : days.join(QStringLiteral(", ")));
        return false;
    }
    const QString aside =
        QStringLiteral("replaced-%1")
            .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-ddTHHmmss")));
    if (!backups.mkpath(aside)) {
        *error = QCoreApplication::translate("Storage", "the folder \"%1\" cannot be made")
                     .arg(backups.filePath(aside));
        return false;
    }
    QStringList restored;
    for (const QString &fileName : allFileNames()) {
        if (!backup.exists(fileName))
            continue;
        const QString current = folder.filePath(fileName);
        if (QFileInfo::exists(current) &&
            !QFile::rename(current, backups.filePath(aside + QLatin1Char('/') + fileName))) {
            *error = QCoreApplication::translate("Storage", "\"%1\" could not be put aside").arg(fileName);
            return false;
        }
        for (const char *journal : {"-journal", "-wal", "-shm"})
            QFile::remove(current + QLatin1String(journal));
        if (!QFile::copy(backup.filePath(fileName), current)) {
            *error = QCoreApplication::translate("Storage", "\"%1\" could not be copied back").arg(fileName);
            return false;
        }
        QFile::setPermissions(current,
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
        restored << fileName;
    }
    *report = QCoreApplication::translate("Storage",
                                          "The backup of %1 was put back (%2). The files it replaced are in "
                                          "\"%3\".")
                  .arg(day.toString(QLatin1String(kDayFormat)), restored.join(QStringLiteral(", ")),
                       QDir::toNativeSeparators(backups.filePath(aside)));
    return true;
}

} // namespace velmora
