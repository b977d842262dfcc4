#pragma once

#include <QDate>
#include <QDir>
#include <QString>

namespace velmora {

// The day's copy of the twelve files in backups/YYYY-MM-DD of the folder, made with SQLite's online
// backup so that a file in use is copied as one consistent whole, without the search index (made
// again from the books) and compressed with zstd: FILE.zst. Made once a day; the days backupsKept
// names are kept. False with the reason when no copy could be made.
bool backUpDay(const QDir &folder, QDate day, QString *problem);

// A backup's compressed file written out whole, or false with why.
bool decompressFile(const QString &from, const QString &to, QString *problem);

// The days there are backups of, oldest first.
QList<QDate> backupDays(const QDir &folder);

// Puts the backup of the day back, all of its files or none: each is copied (or decompressed) beside
// the books and checked, and then each current file goes aside into backups/replaced-<when> (with the
// journal of a change left unfinished) as the backup's takes its place. A crash meanwhile is finished
// by finishInterruptedRestore. report says what was done, error why nothing was.
bool restoreBackup(const QDir &folder, QDate day, QString *report, QString *error);

// Carries a restore a crash interrupted to its end, before anything else opens the books; what was
// done, to be said, or nothing when no restore was under way.
QString finishInterruptedRestore(const QDir &folder);

} // namespace velmora
