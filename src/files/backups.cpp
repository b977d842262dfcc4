#include "files/backups.h"

#include "core/safekeeping/backup_days.h"
#include "files/database.h"
#include "schema/booking_sql.h"
#include "schema/slot_files.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <sqlite3.h>
#include <zstd.h>

#include <algorithm>
#include <vector>

namespace velmora {

namespace {

const char *const kBackupsFolder = "backups";
const char *const kDayFormat = "yyyy-MM-dd";
constexpr int kBackupLockWaitMs = 200;
constexpr int kPagesPerStep = 256;

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
        // A few pages at a time: the source is locked only while a step reads, so that the window's
        // writes go on meanwhile (a write between steps starts the copy again, as SQLite keeps it whole).
        int step = backup ? SQLITE_OK : SQLITE_ERROR;
        while (step == SQLITE_OK || step == SQLITE_BUSY || step == SQLITE_LOCKED) {
            step = sqlite3_backup_step(backup, kPagesPerStep);
            if (step == SQLITE_BUSY || step == SQLITE_LOCKED)
                sqlite3_sleep(kBackupLockWaitMs / 10);
        }
        ok = step == SQLITE_DONE;
        sqlite3_backup_finish(backup);
        ok = ok && sqlite3_errcode(target) == SQLITE_OK;
    }
    if (!ok)
        *problem = QString::fromUtf8(sqlite3_errmsg(target ? target : source));
    sqlite3_close(source);
    sqlite3_close(target);
    return ok;
}

const char *const kCompressed = ".zst";
constexpr int kCompressionLevel = 3;

// Streams from into to through zstd, compressing or decompressing; false with why.
bool streamThroughZstd(const QString &from, const QString &to, bool compress, QString *problem)
{
    QFile in(from);
    QSaveFile out(to);
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly)) {
        *problem = in.isOpen() ? out.errorString() : in.errorString();
        return false;
    }
    ZSTD_CCtx *cctx = compress ? ZSTD_createCCtx() : nullptr;
    ZSTD_DCtx *dctx = compress ? nullptr : ZSTD_createDCtx();
    if (cctx)
        ZSTD_CCtx_setParameter(cctx, ZSTD_c_compressionLevel, kCompressionLevel);
    std::vector<char> input(compress ? ZSTD_CStreamInSize() : ZSTD_DStreamInSize());
    std::vector<char> output(compress ? ZSTD_CStreamOutSize() : ZSTD_DStreamOutSize());
    bool ok = true;
    size_t pending = 0; // decompressing: what the frame still expects
    for (bool last = false; ok && !last;) {
        const qint64 read = in.read(input.data(), static_cast<qint64>(input.size()));
        ok = read >= 0;
        last = read < static_cast<qint64>(input.size());
        ZSTD_inBuffer chunk{input.data(), static_cast<size_t>(std::max<qint64>(read, 0)), 0};
        for (bool finished = false; ok && !finished;) {
            ZSTD_outBuffer room{output.data(), output.size(), 0};
            const size_t left =
                compress ? ZSTD_compressStream2(cctx, &room, &chunk, last ? ZSTD_e_end : ZSTD_e_continue)
                         : ZSTD_decompressStream(dctx, &room, &chunk);
            ok = !ZSTD_isError(left) &&
                 out.write(output.data(), static_cast<qint64>(room.pos)) == static_cast<qint64>(room.pos);
            pending = left;
            finished = compress ? (last ? left == 0 : chunk.pos == chunk.size) : chunk.pos == chunk.size;
        }
    }
    // A compressed file cut short leaves its last frame unfinished.
    ok = ok && (compress || pending == 0);
    ZSTD_freeCCtx(cctx);
    ZSTD_freeDCtx(dctx);
    if (ok && out.commit())
        return true;
    *problem =
        ok ? out.errorString() : QCoreApplication::translate("Storage", "the compressed copy is damaged");
    out.cancelWriting();
    return false;
}

// A file's copy for a backup: consistent, without the search index, compact and compressed.
bool backupCopy(const QString &from, const QString &compressedTo, QString *problem)
{
    const QString plain = compressedTo + QStringLiteral(".plain");
    bool ok = copyConsistently(from, plain, problem);
    sqlite3 *db = nullptr;
    if (ok && sqlite3_open_v2(sqliteUri(plain, "rw").toUtf8().constData(), &db,
                              SQLITE_OPEN_READWRITE | SQLITE_OPEN_URI, nullptr) == SQLITE_OK) {
        const QStringList statements = searchIndexDropStatements() << QStringLiteral("VACUUM");
        for (const QString &statement : statements) {
            const QByteArray sql = statement.toUtf8();
            ok = ok && sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
        }
        if (!ok)
            *problem = QString::fromUtf8(sqlite3_errmsg(db));
    }
    sqlite3_close(db);
    ok = ok && streamThroughZstd(plain, compressedTo, true, problem);
    QFile::remove(plain);
    return ok;
}

QDir backupsOf(const QDir &folder)
{
    return QDir(folder.filePath(QString::fromLatin1(kBackupsFolder)));
}

// Removes what the program made in backups/: a link is removed as a link, its target left alone.
void removeMadeHere(const QString &path)
{
    if (isLink(path) || !QFileInfo(path).isDir())
        QFile::remove(path);
    else
        QDir(path).removeRecursively(); // takes the links inside as links too
}

const char *const kRestoreMarker = "restore-in-progress";
const char *const kJournals[] = {"-journal", "-wal", "-shm"};

// A book moved with the journals beside it: a change a crash left unfinished stays with its file,
// to be rolled back wherever the file is opened.
bool moveWithJournals(const QString &from, const QString &to)
{
    if (!QFile::rename(from, to))
        return false;
    for (const char *journal : kJournals)
        if (QFileInfo::exists(from + QLatin1String(journal)))
            QFile::rename(from + QLatin1String(journal), to + QLatin1String(journal));
    return true;
}

// Whether a file of a backup can be put back: a regular file, not a link, whole and of its kind.
bool usableBackupFile(const QString &path, const QString &fileName, QString *problem)
{
    if (isLink(path) || !isRegularFile(path)) {
        *problem = QCoreApplication::translate("Storage", "it is a link or not a file");
        return false;
    }
    if (!checkFile(path, kindOfFile(fileName), problem, 0))
        return false;
    sqlite3 *db = nullptr;
    bool whole = sqlite3_open_v2(sqliteUri(path, "ro").toUtf8().constData(), &db,
                                 SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr) == SQLITE_OK;
    sqlite3_stmt *check = nullptr;
    whole = whole && sqlite3_prepare_v2(db, "PRAGMA quick_check", -1, &check, nullptr) == SQLITE_OK &&
            sqlite3_step(check) == SQLITE_ROW &&
            qstrcmp(reinterpret_cast<const char *>(sqlite3_column_text(check, 0)), "ok") == 0;
    sqlite3_finalize(check);
    sqlite3_close(db);
    if (!whole)
        *problem = QCoreApplication::translate("Storage", "it is damaged");
    return whole;
}

// The swap of a restore: the current file (if any) aside, the prepared one in its place.
bool swapIn(const QDir &folder, const QString &fileName, const QDir &prepared, const QDir &aside)
{
    const QString current = folder.filePath(fileName);
    if (QFileInfo::exists(current) && !QFileInfo::exists(aside.filePath(fileName)) &&
        !moveWithJournals(current, aside.filePath(fileName)))
        return false;
    return QFile::rename(prepared.filePath(fileName), current);
}

} // namespace

QList<QDate> backupDays(const QDir &folder)
{
    QList<QDate> days;
    const QDir backups = backupsOf(folder);
    for (const QString &name : backups.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        const QDate day = QDate::fromString(name, QLatin1String(kDayFormat));
        if (day.isValid() && !isLink(backups.filePath(name))) // a link is no backup the program made
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
    if (isLink(backups.path())) {
        *problem =
            QCoreApplication::translate("Storage", "\"%1\" is a link; backups are made only in a folder")
                .arg(QLatin1String(kBackupsFolder));
        return false;
    }
    const QString partial = name + QStringLiteral(".partial");
    removeMadeHere(backups.filePath(partial));
    if (!folder.mkpath(backups.filePath(partial))) {
        *problem = QCoreApplication::translate("Storage", "the folder \"%1\" cannot be made")
                       .arg(backups.filePath(name));
        return false;
    }
    // The books' copies are the user's alone, whatever the folder's mode was.
    QFile::setPermissions(backups.path(), kPrivateFolder);
    QFile::setPermissions(backups.filePath(partial), kPrivateFolder);
    for (const QString &fileName : allFileNames()) {
        const QString path = folder.filePath(fileName);
        // A file another program holds locked is not waited for long: the window is due on the screen.
        bool busy = false;
        if (!QFileInfo::exists(path) ||
            !checkFile(path, kindOfFile(fileName), problem, kBackupLockWaitMs, &busy)) {
            if (!busy)
                continue; // only the program's own files, as they are usable
            removeMadeHere(backups.filePath(partial));
            *problem =
                QCoreApplication::translate("Storage", "\"%1\" is held by another program").arg(fileName);
            return false;
        }
        const QString copy =
            backups.filePath(partial + QLatin1Char('/') + fileName + QLatin1String(kCompressed));
        if (!backupCopy(path, copy, problem)) {
            removeMadeHere(backups.filePath(partial));
            *problem = QStringLiteral("\"%1\": %2").arg(fileName, *problem);
            return false;
        }
        QFile::setPermissions(copy, kPrivateFile);
    }
    // Complete before it takes the day's name: a backup cut short is never taken for one.
    if (!backups.rename(partial, name)) {
        removeMadeHere(backups.filePath(partial));
        *problem = QCoreApplication::translate("Storage", "the finished backup could not be renamed");
        return false;
    }
    // Always the one just made, also when the clock was set back.
    const QList<QDate> days = backupDays(folder);
    const QList<QDate> kept = backupsKept(days, day);
    for (const QDate &made : days)
        if (!kept.contains(made))
            removeMadeHere(backups.filePath(made.toString(QLatin1String(kDayFormat))));
    return true;
}

bool decompressFile(const QString &from, const QString &to, QString *problem)
{
    return streamThroughZstd(from, to, false, problem);
}

QString finishInterruptedRestore(const QDir &folder)
{
    const QDir backups = backupsOf(folder);
    QFile marker(backups.filePath(QString::fromLatin1(kRestoreMarker)));
    if (!isRegularFile(marker.fileName()) || !marker.open(QIODevice::ReadOnly))
        return {};
    const QStringList names =
        QString::fromUtf8(marker.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    marker.close();
    if (names.size() != 2)
        return {};
    const QDir prepared(backups.filePath(names.at(0)));
    const QDir aside(backups.filePath(names.at(1)));
    // Every prepared file is whole (the marker is written only then): the swap is carried to its end.
    for (const QString &fileName : allFileNames())
        if (QFileInfo::exists(prepared.filePath(fileName)) && !swapIn(folder, fileName, prepared, aside))
            return QCoreApplication::translate(
                       "Storage", "A restore of a backup was interrupted and cannot be finished: "
                                  "\"%1\" could not be put in place. The backup's files are in "
                                  "\"%2\", the ones they replace in \"%3\".")
                .arg(fileName, QDir::toNativeSeparators(prepared.path()),
                     QDir::toNativeSeparators(aside.path()));
    marker.remove();
    removeMadeHere(prepared.path());
    return QCoreApplication::translate(
               "Storage", "A restore of a backup was interrupted; it was finished now. The files "
                          "it replaced are in \"%1\".")
        .arg(QDir::toNativeSeparators(aside.path()));
}

bool restoreBackup(const QDir &folder, QDate day, QString *report, QString *error)
{
    const QDir backups = backupsOf(folder);
    const QString dayName = day.toString(QLatin1String(kDayFormat));
    if (!day.isValid() || !backupDays(folder).contains(day)) {
        QStringList days;
        for (const QDate &kept : backupDays(folder))
            days << kept.toString(QLatin1String(kDayFormat));
        *error =
            QCoreApplication::translate("Storage", "there is no backup of that day; there are backups of: %1")
                .arg(days.isEmpty() ? QStringLiteral("-") : days.join(QStringLiteral(", ")));
        return false;
    }
    const QString unchanged = QCoreApplication::translate("Storage", "nothing in the folder was changed");
    // Every file of the day put beside the books and checked before anything is touched; a backup
    // made before they were compressed holds the files as they are.
    const QDir backup(backups.filePath(dayName));
    const QString when = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-ddTHHmmss"));
    const QString preparedName = QStringLiteral("restoring-%1").arg(when);
    const QString asideName = QStringLiteral("replaced-%1").arg(when);
    const QDir prepared(backups.filePath(preparedName));
    const QDir aside(backups.filePath(asideName));
    // What the restore made, taken away again when it changes nothing after all.
    const auto undoFolders = [&prepared, &aside] {
        removeMadeHere(prepared.path());
        removeMadeHere(aside.path());
    };
    if (!backups.mkpath(preparedName) || !backups.mkpath(asideName)) {
        undoFolders();
        *error =
            QCoreApplication::translate("Storage", "the folders for the restore cannot be made in \"%1\"; %2")
                .arg(QDir::toNativeSeparators(backups.path()), unchanged);
        return false;
    }
    QStringList fileNames;
    for (const QString &fileName : allFileNames()) {
        const QString compressed = backup.filePath(fileName + QLatin1String(kCompressed));
        const bool isCompressed = QFileInfo::exists(compressed) || isLink(compressed);
        const QString path = isCompressed ? compressed : backup.filePath(fileName);
        if (!QFileInfo::exists(path) && !isLink(path))
            continue; // a file the backup does not hold stays as it is
        const QString target = prepared.filePath(fileName);
        QString problem;
        const bool usable =
            !isLink(path) && isRegularFile(path) &&
            (isCompressed ? decompressFile(path, target, &problem) : QFile::copy(path, target)) &&
            usableBackupFile(target, fileName, &problem);
        if (!usable) {
            undoFolders();
            if (problem.isEmpty())
                problem = isLink(path) || !isRegularFile(path)
                              ? QCoreApplication::translate("Storage", "it is a link or not a file")
                              : QCoreApplication::translate("Storage",
                                                            "it could not be copied (is the disk full?)");
            *error = QCoreApplication::translate("Storage", "the backup's \"%1\" cannot be used (%2); %3")
                         .arg(fileName, problem, unchanged);
            return false;
        }
        const QString current = folder.filePath(fileName);
        QFile::setPermissions(target, QFileInfo::exists(current) ? QFile::permissions(current)
                                                                 : QFile::ReadOwner | QFile::WriteOwner);
        fileNames << fileName;
    }
    // From here a crash is finished at the next start, as the marker says.
    QSaveFile marker(backups.filePath(QString::fromLatin1(kRestoreMarker)));
    if (!marker.open(QIODevice::WriteOnly) ||
        marker.write((preparedName + '\n' + asideName + '\n').toUtf8()) < 0 || !marker.commit()) {
        undoFolders();
        *error = QCoreApplication::translate("Storage",
                                             "the restore could not be recorded (is the disk full?); %1")
                     .arg(unchanged);
        return false;
    }
    QStringList swapped;
    for (const QString &fileName : std::as_const(fileNames)) {
        if (swapIn(folder, fileName, prepared, aside)) {
            swapped << fileName;
            continue;
        }
        // Undone: the files already put back go back to where they were prepared, the replaced ones
        // return.
        for (const QString &done : std::as_const(swapped)) {
            QFile::rename(folder.filePath(done), prepared.filePath(done));
            moveWithJournals(aside.filePath(done), folder.filePath(done));
        }
        if (QFileInfo::exists(aside.filePath(fileName)) && !QFileInfo::exists(folder.filePath(fileName)))
            moveWithJournals(aside.filePath(fileName), folder.filePath(fileName));
        QFile::remove(marker.fileName());
        undoFolders();
        *error = QCoreApplication::translate("Storage", "\"%1\" could not be put in place; %2")
                     .arg(fileName, unchanged);
        return false;
    }
    QFile::remove(marker.fileName());
    removeMadeHere(prepared.path());
    *report = QCoreApplication::translate("Storage",
                                          "The backup of %1 was put back (%2). The files it replaced are in "
                                          "\"%3\". The search index is made again as Velmora next opens the "
                                          "books.")
                  .arg(dayName, fileNames.join(QStringLiteral(", ")), QDir::toNativeSeparators(aside.path()));
    return true;
}

} // namespace velmora
