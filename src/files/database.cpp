#include "files/database.h"

#include "schema/slot_files.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUrl>

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <map>
#include <mutex>

namespace velmora {

namespace {

QString uniqueConnectionName(const QString &role)
{
    static std::atomic<int> counter{0};
    return QStringLiteral("%1#%2").arg(role).arg(++counter);
}

bool openFile(QSqlDatabase &db, const QString &path, bool create, QString *error,
              int lockWaitMs = kLockWaitMs, FileAccess access = FileAccess::ReadWrite)
{
    const bool readOnly = access != FileAccess::ReadWrite;
    db.setDatabaseName(sqliteUri(path, readOnly ? "ro" : create ? "rwc" : "rw"));
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1%2")
                             .arg(lockWaitMs)
                             .arg(readOnly ? QStringLiteral(";QSQLITE_OPEN_READONLY") : QString()));
    if (!db.open()) {
        *error = reasonOf(db.lastError());
        return false;
    }
    QSqlQuery pragma(db);
    if (readOnly) // the journal's mode is the writers' to set
        return pragma.exec(QStringLiteral("PRAGMA query_only = 1")) || (db.close(), false);
    // A rollback journal with full syncs: every commit is on the disk when it returns, also on a
    // network folder, where a write-ahead log is not safe.
    for (const char *statement : {"PRAGMA journal_mode = DELETE", "PRAGMA synchronous = FULL"}) {
        if (!pragma.exec(QString::fromLatin1(statement))) {
            *error = reasonOf(pragma.lastError());
            db.close();
            return false;
        }
        // A file another program keeps in write-ahead-log mode would not commit with a linked one.
        if (pragma.next() && pragma.value(0).toString().toLower() == QLatin1String("wal")) {
            *error = QCoreApplication::translate("Storage",
                                                 "its journal cannot be switched from write-ahead logging");
            pragma.finish();
            db.close();
            return false;
        }
    }
    return true;
}

bool createFile(const QString &path, FileKind kind, QString *error)
{
    // Built under another name and renamed when complete, so that an interrupted first start never
    // leaves a half-made file under the real name.
    const QString partial = path + QStringLiteral(".new");
    QFile::remove(partial);
    bool ok = false;
    {
        const QString name = uniqueConnectionName(QStringLiteral("create"));
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        if (openFile(db, partial, true, error)) {
            QSqlQuery query(db);
            const QStringList statements = fileCreateStatements(kind);
            ok = db.transaction();
            for (const QString &statement : std::as_const(statements)) {
                if (ok && !query.exec(statement)) {
                    *error = reasonOf(query.lastError());
                    ok = false;
                }
            }
            ok = ok && db.commit();
            if (!ok && error->isEmpty())
                *error = reasonOf(db.lastError());
            query.finish();
            db.close();
        }
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(name);
    }
    if (ok && !QFile::rename(partial, path)) {
        *error = QCoreApplication::translate("Storage", "the finished file could not be renamed");
        ok = false;
    }
    if (!ok)
        QFile::remove(partial);
    return ok;
}

// Reads what the file holds with SQLite directly, read-only: lighter than a connection of its own.
class SchemaReader
{
public:
    SchemaReader(const QString &path, int lockWaitMs, FileAccess access)
    {
        // Opened for writing (never created), so that the first read rolls back what an interrupted
        // change left in a hot journal; read-only only where the file cannot be written at all, or the
        // task only reads.
        const QByteArray uri = sqliteUri(path, "rw").toUtf8();
        opened_ = access == FileAccess::ReadWrite &&
                  sqlite3_open_v2(uri.constData(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_URI, nullptr) ==
                      SQLITE_OK;
        if (!opened_) {
            sqlite3_close(db_);
            db_ = nullptr;
            const QByteArray readOnly = sqliteUri(path, "ro").toUtf8();
            opened_ = sqlite3_open_v2(readOnly.constData(), &db_, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI,
                                      nullptr) == SQLITE_OK;
        }
        if (opened_)
            sqlite3_busy_timeout(db_, lockWaitMs);
    }
    ~SchemaReader() { sqlite3_close(db_); }
    SchemaReader(const SchemaReader &) = delete;
    SchemaReader &operator=(const SchemaReader &) = delete;

    // The first column of every row the statement gives; false with the engine's reason.
    bool column(const char *statement, QStringList *values, QString *problem)
    {
        sqlite3_stmt *query = nullptr;
        int rc = opened_ ? sqlite3_prepare_v2(db_, statement, -1, &query, nullptr) : SQLITE_CANTOPEN;
        if (rc == SQLITE_OK) {
            while ((rc = sqlite3_step(query)) == SQLITE_ROW)
                *values << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(query, 0)));
        }
        sqlite3_finalize(query);
        if (rc != SQLITE_DONE) {
            busy_ = db_ && (sqlite3_errcode(db_) & 0xff) == SQLITE_BUSY;
            *problem = QString::fromUtf8(db_ ? sqlite3_errmsg(db_) : "out of memory");
            return false;
        }
        return true;
    }

    // The last statement failed because another program holds the file locked.
    bool busy() const { return busy_; }

private:
    bool busy_ = false;
    sqlite3 *db_ = nullptr;
    bool opened_ = false;
};

bool checkSchema(const QString &path, FileKind kind, QString *problem, int lockWaitMs, bool *busy,
                 FileAccess access)
{
    SchemaReader reader(path, lockWaitMs, access);
    const auto failed = [&] {
        if (busy)
            *busy = reader.busy();
        return false;
    };
    const QString table = tableOf(kind);
    QStringList present;
    const QByteArray columns =
        QStringLiteral("SELECT name FROM pragma_table_info('%1')").arg(table).toLatin1();
    if (!reader.column(columns.constData(), &present, problem))
        return failed();
    if (present.isEmpty()) {
        *problem = QCoreApplication::translate("Storage", "the table \"%1\" is missing").arg(table);
        return false;
    }
    QSet<QString> names;
    for (const QString &name : std::as_const(present))
        names.insert(name.toLower());
    for (const QString &column : requiredColumns(kind)) {
        if (!names.contains(column)) {
            *problem =
                QCoreApplication::translate("Storage", "the field \"%1\" is missing from the table \"%2\"")
                    .arg(column, table);
            return false;
        }
    }
    if (kind != FileKind::Appointments) {
        QStringList records;
        if (!reader.column("SELECT count(*) FROM profs", &records, problem))
            return failed();
        if (records.value(0).toLongLong() < 1) {
            *problem = QCoreApplication::translate("Storage", "the table \"profs\" holds no settings record");
            return false;
        }
    }
    return true;
}

// The files found sound in this run, as they were then: a file unchanged since (the same file, size and
// times) is not read again for its tables, where the program's connections open the same dozen files
// one after another at its start.
class SoundFiles
{
public:
    struct State
    {
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = 0;
        timespec modified{};
        timespec changed{};
        FileKind kind = FileKind::Appointments;
        bool operator==(const State &other) const
        {
            return device == other.device && inode == other.inode && size == other.size &&
                   modified.tv_sec == other.modified.tv_sec && modified.tv_nsec == other.modified.tv_nsec &&
                   changed.tv_sec == other.changed.tv_sec && changed.tv_nsec == other.changed.tv_nsec &&
                   kind == other.kind;
        }
    };
    // False when the file is not there or not a plain file.
    static bool stateOf(const QString &path, FileKind kind, State *state)
    {
        struct stat info;
        if (::stat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISREG(info.st_mode))
            return false;
        *state = {info.st_dev, info.st_ino, info.st_size, info.st_mtim, info.st_ctim, kind};
        return true;
    }
    bool known(const State &state)
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        const auto found = states_.find({state.device, state.inode});
        return found != states_.end() && found->second == state;
    }
    void remember(const State &state)
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        states_[{state.device, state.inode}] = state;
    }

private:
    std::mutex mutex_;
    std::map<std::pair<dev_t, ino_t>, State> states_; // by the file itself, whatever path led to it
};

SoundFiles &soundFiles()
{
    static SoundFiles files;
    return files;
}

// The journal that ties the files of a linked booking together is needed only while one of their
// own journals is hot. Once every file has been checked, and so rolled back, a journal still there is
// a stale one, and a tying journal a crash left behind is removed.
void removeOrphanSuperJournals(const QDir &folder)
{
    for (const QString &fileName : allFileNames())
        for (const QString &super :
             folder.entryList({fileName + QStringLiteral("-mj*")}, QDir::Files | QDir::Hidden))
            QFile::remove(folder.filePath(super));
}

} // namespace

QString sqliteUri(const QString &path, const char *mode)
{
    // A relative path stays relative: SQLite finds it from the working folder by its bytes, also
    // where the folder's name is not valid text in the system's encoding.
    const QString located = QFileInfo(path).isRelative()
                                ? QString::fromLatin1(QUrl::toPercentEncoding(path, "/"))
                                : QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded).mid(5);
    return QStringLiteral("file:") + located + QStringLiteral("?mode=") + QLatin1String(mode);
}

bool isRegularFile(const QString &path)
{
    struct stat info;
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 && S_ISREG(info.st_mode);
}

bool syncPath(const QString &path)
{
    const int handle = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (handle < 0)
        return false;
    const bool synced = ::fsync(handle) == 0;
    ::close(handle);
    return synced;
}

bool isLink(const QString &path)
{
    struct stat info;
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 && S_ISLNK(info.st_mode);
}

bool checkFile(const QString &path, FileKind kind, QString *problem, int lockWaitMs, bool *busy,
               FileAccess access)
{
    if (busy)
        *busy = false;
    SoundFiles::State before;
    const bool there = SoundFiles::stateOf(path, kind, &before);
    if (there && soundFiles().known(before))
        return true;
    QFile file(path);
    if (!file.exists()) {
        *problem = QCoreApplication::translate("Storage", "the file does not exist");
        return false;
    }
    if (!isRegularFile(path)) {
        *problem =
            QCoreApplication::translate("Storage", "it is not a file but a folder, a pipe or a device");
        return false;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        *problem =
            QCoreApplication::translate("Storage", "the file cannot be read (%1)").arg(file.errorString());
        return false;
    }
    const QByteArray header = file.read(16);
    file.close();
    if (header.isEmpty()) {
        *problem = QCoreApplication::translate("Storage", "the file is empty");
        return false;
    }
    if (header != QByteArray("SQLite format 3\0", 16)) {
        *problem = QCoreApplication::translate("Storage",
                                               "the file is not a database in the format the program uses");
        return false;
    }
    if (!checkSchema(path, kind, problem, lockWaitMs, busy, access))
        return false;
    // As it was before the check: a change made meanwhile has it read again next time.
    if (there)
        soundFiles().remember(before);
    return true;
}

FolderCheck checkFolder(const QDir &folder, FileAccess access)
{
    FolderCheck check;
    if (!QFileInfo(folder.path()).isDir()) {
        check.problems << QCoreApplication::translate(
                              "Storage", "The folder \"%1\" cannot be opened; none of the files can be used.")
                              .arg(QDir::toNativeSeparators(folder.path()));
        return check;
    }
    bool anyBusy = false;
    for (const QString &fileName : allFileNames()) {
        const QString path = folder.filePath(fileName);
        const QFileInfo info(path);
        QString problem;
        bool busy = false;
        if (info.isSymLink() && !info.exists()) {
            // A link to a share that is not mounted: nothing is ever made at the other end.
            check.problems << QCoreApplication::translate(
                                  "Storage", "\"%1\" cannot be used: it is a link to \"%2\", which is not "
                                             "there. Nothing was created.")
                                  .arg(fileName, info.symLinkTarget());
        } else if (!info.exists()) {
            check.missing << fileName;
        } else if (!checkFile(path, kindOfFile(fileName), &problem, 0, &busy, access) && !busy) {
            // A file another program holds locked is checked when it is first used, after the window
            // is on the screen.
            check.problems << QCoreApplication::translate(
                                  "Storage", "\"%1\" cannot be used: %2. The file was left as it is.")
                                  .arg(fileName, problem);
        }
        anyBusy = anyBusy || busy;
    }
    check.firstStart = check.missing.size() == allFileNames().size();
    // A locked file may still be in the middle of a linked booking; and only the folder's holder
    // cleans: a task that only reads could take a live journal for a stale one.
    if (!anyBusy && access == FileAccess::ReadWrite)
        removeOrphanSuperJournals(folder);
    return check;
}

QStringList createFiles(const QDir &folder, const QStringList &fileNames)
{
    QStringList problems;
    for (const QString &fileName : fileNames) {
        QString problem;
        if (!createFile(folder.filePath(fileName), kindOfFile(fileName), &problem))
            problems << QCoreApplication::translate("Storage", "\"%1\" could not be created: %2.")
                            .arg(fileName, problem);
    }
    return problems;
}

bool createEmptyFile(const QString &path, FileKind kind, QString *error)
{
    return createFile(path, kind, error);
}

QStringList prepareFiles(const QDir &folder)
{
    const FolderCheck check = checkFolder(folder);
    return check.problems + createFiles(folder, check.missing);
}

Connection::Connection(const QString &role, const QDir &folder)
    : connectionName_(uniqueConnectionName(role)), folder_(folder)
{
    QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName_);
}

Connection::~Connection()
{
    close();
    QSqlDatabase::removeDatabase(connectionName_);
}

QString Connection::pathOf(const QString &fileName) const
{
    return folder_.filePath(fileName);
}

void Connection::pointLater(const QString &fileName)
{
    close();
    fileName_ = fileName;
}

bool Connection::pointAt(const QString &fileName, QString *error)
{
    close();
    fileName_ = fileName;
    const QString path = pathOf(fileName);
    QString problem;
    if (!checkFile(path, kindOfFile(fileName), &problem, lockWaitMs_, nullptr, access_)) {
        *error = QCoreApplication::translate("Storage", "\"%1\" cannot be used: %2").arg(fileName, problem);
        return false;
    }
    QSqlDatabase db = database();
    if (!openFile(db, path, false, &problem, lockWaitMs_, access_)) {
        *error = QCoreApplication::translate("Storage", "\"%1\" cannot be opened: %2").arg(fileName, problem);
        return false;
    }
    opened_ = identityOf(path);
    static std::atomic<quint64> openings{0};
    opening_ = ++openings;
    return true;
}

FileIdentity Connection::identityOf(const QString &path)
{
    struct stat info;
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return {};
    return {true, static_cast<quint64>(info.st_dev), static_cast<quint64>(info.st_ino)};
}

bool Connection::ensureOpen(QString *error)
{
    if (isOpen()) {
        // A sync or backup tool may have replaced or removed the file by name: what is read and
        // written is the file that is there now, checked as at start.
        if (identityOf(pathOf(fileName_)) == opened_)
            return true;
        close();
        reopened_ = true;
        return pointAt(fileName_, error);
    }
    if (fileName_.isEmpty()) {
        *error = QCoreApplication::translate("Storage", "no file is open");
        return false;
    }
    return pointAt(fileName_, error);
}

sqlite3 *sqliteOf(QSqlDatabase db)
{
    const QVariant handle = db.driver() ? db.driver()->handle() : QVariant();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3 *const *>(handle.data());
}

sqlite3_stmt *Connection::keptStatement(const QString &sql)
{
    if (const auto found = kept_.find(sql); found != kept_.end()) {
        if (found->second) {
            sqlite3_reset(found->second);
            sqlite3_clear_bindings(found->second);
        }
        return found->second;
    }
    sqlite3 *connection = sqliteOf(database());
    if (!connection)
        return nullptr;
    sqlite3_stmt *statement = nullptr;
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v3(connection, text.constData(), -1, SQLITE_PREPARE_PERSISTENT, &statement,
                           nullptr) != SQLITE_OK) {
        sqlite3_finalize(statement);
        statement = nullptr;
    }
    kept_.emplace(sql, statement);
    return statement;
}

void Connection::forgetUnmade()
{
    for (auto kept = kept_.begin(); kept != kept_.end();)
        kept = kept->second ? std::next(kept) : kept_.erase(kept);
}

void Connection::close()
{
    // SQLite keeps a file open while statements made on it remain, and Qt's driver would not know.
    for (const auto &[sql, statement] : kept_)
        sqlite3_finalize(statement);
    kept_.clear();
    QSqlDatabase db = database();
    if (db.isOpen())
        db.close();
}

void Connection::setLockWait(int milliseconds)
{
    lockWaitMs_ = milliseconds;
    if (isOpen())
        QSqlQuery(database()).exec(QStringLiteral("PRAGMA busy_timeout = %1").arg(milliseconds));
}

bool Connection::isOpen() const
{
    return database().isOpen();
}

QSqlDatabase Connection::database() const
{
    return QSqlDatabase::database(connectionName_, false);
}

} // namespace velmora
