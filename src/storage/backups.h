#pragma once

#include <QDate>
#include <QDir>
#include <QString>

namespace velmora {

constexpr int kBackupsKept = 30;

// The day's copy of the twelve files in backups/YYYY-MM-DD of the folder, made with SQLite's online
// backup so that a file in use is copied as one consistent whole. Made once a day; the newest
// kBackupsKept are kept. False with the reason when no copy could be made.
bool backUpDay(const QDir &folder, QDate day, QString *problem);

// The days there are backups of, oldest first.
QList<QDate> backupDays(const QDir &folder);

// Puts the backup of the day back: the current files go aside into backups/replaced-<when>, then the
// backup's files take their places. report says what was done, error why nothing was.
bool restoreBackup(const QDir &folder, QDate day, QString *report, QString *error);

} // namespace velmora
