#pragma once

#include "core/storage/book_storage.h"

#include <QDir>
#include <QString>
#include <QStringList>

#include <functional>

namespace velmora {

// Whether the file is one of the older program's (a Jet or ACE database), by its first bytes.
bool isLegacyFile(const QString &path);

// The names among the twelve that hold files of the older program.
QStringList legacyFiles(const QDir &folder);

// What the older program's files hold, counted before anything is imported.
struct LegacySurvey
{
    QStringList files;
    qint64 appointments = 0;
    int doctors = 0; // slots with a name
};
LegacySurvey surveyLegacyFiles(const QDir &folder, const QString &readerPath);

// What an import did; text() is the summary shown and written to legacy/import-report.txt.
struct ImportReport
{
    QStringList imported;
    QStringList notImported; // "bdm3.mdb: why"
    qint64 appointments = 0;
    qint64 rowsWithTimeOfDay = 0; // their time of day was dropped, the date kept
    qint64 textsCut = 0;          // longer than the reader's limit
    QStringList ignoredFields;    // "bdm6.mdb: fieldname"
    QString clinicName;           // the old settings' clinic name, if any
    QStringList notes;
    bool cancelled = false;
    QString text() const;
};

// Told the file being imported and the rows done so far; false cancels what is not yet finished.
using ImportProgress = std::function<bool(const QString &fileName, qint64 rowsDone, qint64 rowsInAll)>;

// Imports every file of the older program in the folder into the books of target, the folder's own
// files or a server: each original is first kept, byte for byte, in the folder's subfolder "legacy",
// then read into one fill of the target, made visible whole at the end (files: each built aside and
// renamed into place; a server: one transaction). A file that cannot be read whole is not imported and
// stays as it is; the originals imported onto a server leave the folder. readerPath is the reader
// program, run once for each file, as a crash or hang of it must not end the import.
ImportReport importLegacyFiles(const QDir &folder, BookStorage &target, const QString &readerPath,
                               const ImportProgress &progress = {});
// The same into the folder's own files.
ImportReport importLegacyFiles(const QDir &folder, const QString &readerPath,
                               const ImportProgress &progress = {});

} // namespace velmora
