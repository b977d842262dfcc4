#pragma once

#include "schema/book_schema.h"

#include <QDate>
#include <QDir>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <map>
#include <utility>

struct sqlite3;
struct sqlite3_stmt;

namespace velmora {

// Whether the books are opened to be written, or only read by a task that must leave the folder as
// it is (a search or a report from a terminal, while a window may be writing): no journal rolled back
// or removed, no index made, the files opened read-only. ReadBeside reads alike, for the background
// reads of a program whose own writing storage checked the search indexes at its start: an index
// whose state is up to date is searched without counting it again.
enum class FileAccess
{
    ReadWrite,
    ReadOnly,
    ReadBeside
};

// Whether path names a regular file, through a link or not: a folder, a pipe or a device is none, and
// opening one could hang. Checked without opening it.
bool isRegularFile(const QString &path);
// Whether path is itself a symbolic link, whether or not it leads anywhere.
bool isLink(const QString &path);
// A file's or folder's content (a folder's: its names) on the disk, for a rename that must survive a
// power cut.
bool syncPath(const QString &path);

// The wait for a file that another program holds locked, before a statement fails.
constexpr int kLockWaitMs = 3000;

// The address SQLite opens a file by, with its mode ("ro", "rw", "rwc"): with "rw" a missing file
// is refused, not created empty.
QString sqliteUri(const QString &path, const char *mode);

// Whether the file at path holds what kind needs; problem says what is wrong otherwise. Changes
// nothing but rolling back what an interrupted change left unfinished; waits up to lockWaitMs for a
// file another program holds locked, and sets busy when that wait was not enough.
bool checkFile(const QString &path, FileKind kind, QString *problem, int lockWaitMs = kLockWaitMs,
               bool *busy = nullptr, FileAccess access = FileAccess::ReadWrite);

// The twelve files of a folder as found at start, without waiting for locks and without creating
// or writing anything.
struct FolderCheck
{
    QStringList missing;     // names of the files that are not there
    QStringList problems;    // one line per file that cannot be used
    bool firstStart = false; // none of the twelve is there
};
FolderCheck checkFolder(const QDir &folder, FileAccess access = FileAccess::ReadWrite);

// A file made complete under a temporary name and renamed to path, as a first start makes it.
bool createEmptyFile(const QString &path, FileKind kind, QString *error);

// Creates each named file with its table (and the one settings record); one line per failure.
QStringList createFiles(const QDir &folder, const QStringList &fileNames);

// checkFolder, then every missing file created. Returns one line per file that cannot be used.
QStringList prepareFiles(const QDir &folder);

// Which file a path names at the moment, to notice one renamed over it or removed.
struct FileIdentity
{
    bool exists = false;
    quint64 device = 0;
    quint64 inode = 0;
    bool operator==(const FileIdentity &other) const
    {
        return exists == other.exists && device == other.device && inode == other.inode;
    }
};

// The SQLite handle of a connection Qt's driver opened; null when it is not open.
sqlite3 *sqliteOf(QSqlDatabase db);

// One named connection bound to one file of the folder at a time. Re-pointing closes the file in use
// and opens the other; a missing or unusable file is refused, never created or repaired.
class Connection
{
public:
    Connection(const QString &role, const QDir &folder);
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    bool pointAt(const QString &fileName, QString *error);
    // Names the file without opening it: the first read or write opens it, so that no lock is
    // waited for before it is needed.
    void pointLater(const QString &fileName);
    // Opens the file last pointed at when it is closed, for example after a failed start, and again
    // by its name when the file there is no longer the one opened.
    bool ensureOpen(QString *error);
    // Whether the file was opened again by its name since the last call.
    bool takeReopened() { return std::exchange(reopened_, false); }
    // A number no other opening of a file by any connection had; 0 before the first.
    quint64 opening() const { return opening_; }
    // A statement run by SQLite itself, made at its first use and kept while the file stays open, for
    // a read asked again and again: reset, its values cleared. Null when it cannot be made, which is
    // remembered until forgetUnmade() (say, when the file changed).
    sqlite3_stmt *keptStatement(const QString &sql);
    void forgetUnmade();
    void close();
    // How long opening and statements wait for a file another program holds locked.
    void setLockWait(int milliseconds);
    // From the next opening on.
    void setAccess(FileAccess access) { access_ = access; }
    int lockWait() const { return lockWaitMs_; }

    bool isOpen() const;
    QString fileName() const { return fileName_; }
    QString pathOf(const QString &fileName) const;
    QSqlDatabase database() const;

private:
    FileAccess access_ = FileAccess::ReadWrite;
    QString connectionName_;
    QDir folder_;
    QString fileName_; // the file meant, also while it could not be opened
    int lockWaitMs_ = kLockWaitMs;
    FileIdentity opened_;
    bool reopened_ = false;
    quint64 opening_ = 0;
    std::map<QString, sqlite3_stmt *> kept_; // finalized before the file is closed

    static FileIdentity identityOf(const QString &path);
};

} // namespace velmora
