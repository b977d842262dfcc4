#pragma once

#include <QDate>
#include <QDir>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

namespace velmora {

// What a file must hold to be used: the appointment table, or the settings table of either file.
enum class FileKind
{
    Appointments,
    MainSettings,
    ExtraSettings
};

FileKind kindOfFile(const QString &fileName);

// The wait for a file that another program holds locked, before a statement fails.
constexpr int kLockWaitMs = 3000;

// The twelve file names, appointment files first.
QStringList allFileNames();

// The engine's reason for a failed statement, in one line.
QString reasonOf(const class QSqlError &error);

// The address SQLite opens a file by, with its mode ("ro", "rw", "rwc"): with "rw" a missing file
// is refused, not created empty.
QString sqliteUri(const QString &path, const char *mode);

// Dates are stored as ISO text so that the index orders them.
QString storedDate(QDate date);

// Whether the file at path holds what kind needs; problem says what is wrong otherwise. Reads only,
// waiting up to lockWaitMs for a file another program holds locked.
bool checkFile(const QString &path, FileKind kind, QString *problem, int lockWaitMs = kLockWaitMs);

// Creates each missing file with its table (and the one settings record) and checks the others.
// Files that exist are never written here. Returns one line per file that cannot be used.
QStringList prepareFiles(const QDir &folder);

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
    // Opens the file last pointed at again when it is closed, for example after a failed start.
    bool ensureOpen(QString *error);
    void close();
    // How long opening and statements wait for a file another program holds locked.
    void setLockWait(int milliseconds);

    bool isOpen() const;
    QString fileName() const { return fileName_; }
    QString pathOf(const QString &fileName) const;
    QSqlDatabase database() const;

private:
    QString connectionName_;
    QDir folder_;
    QString fileName_; // the file meant, also while it could not be opened
    int lockWaitMs_ = kLockWaitMs;
};

} // namespace velmora
