#include "transfer/server_copy.h"

#include "files/database.h"
#include "schema/booking_sql.h"
#include "schema/slot_files.h"
#include "server/server_connection.h"
#include "server/server_schema.h"

#include <QCoreApplication>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <tuple>

namespace velmora {

namespace {

// A copy reads and writes whole books: its statements get far more time than a desk's.
constexpr int kCopyTimeLimitMs = 600000;
constexpr int kRowsPerInsert = 200;

// Inserts rows of the given columns, many to a statement; the rows are the query's current and following.
class RowWriter
{
public:
    RowWriter(QSqlDatabase db, const QString &table, const QStringList &columns)
        : db_(db), table_(table), columns_(columns)
    {
    }
    bool add(const QVariantList &row, QString *error)
    {
        pending_ << row;
        return pending_.size() < kRowsPerInsert || flush(error);
    }
    bool flush(QString *error)
    {
        if (pending_.isEmpty())
            return true;
        QStringList marks(columns_.size(), QStringLiteral("?"));
        const QString one = QStringLiteral("(%1)").arg(marks.join(QStringLiteral(", ")));
        QSqlQuery query(db_);
        query.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES %3")
                          .arg(table_, columns_.join(QStringLiteral(", ")),
                               QStringList(pending_.size(), one).join(QStringLiteral(", "))));
        for (const QVariantList &row : std::as_const(pending_))
            for (const QVariant &value : row)
                query.addBindValue(value);
        pending_.clear();
        if (!query.exec()) {
            *error = reasonOf(query.lastError());
            return false;
        }
        return true;
    }

private:
    QSqlDatabase db_;
    QString table_;
    QStringList columns_;
    QList<QVariantList> pending_;
};

QVariantList rowOf(const QSqlQuery &query, int columns)
{
    QVariantList row;
    for (int i = 0; i < columns; ++i)
        row << query.value(i);
    return row;
}

// Same value: both without value, or the same text (a number compares as its digits).
bool sameValue(const QVariant &a, const QVariant &b)
{
    return a.isNull() == b.isNull() && (a.isNull() || a.toString() == b.toString());
}

// Reads both sides row by row and compares every value; counts the rows.
bool sameRows(QSqlQuery &from, QSqlQuery &to, int columns, qint64 *rows, QString *problem)
{
    *rows = 0;
    for (;;) {
        const bool more = from.next();
        if (more != to.next()) {
            *problem = QCoreApplication::translate("Storage", "the copy holds a different number of rows");
            return false;
        }
        if (!more)
            break;
        ++*rows;
        for (int i = 0; i < columns; ++i) {
            if (!sameValue(from.value(i), to.value(i))) {
                *problem = QCoreApplication::translate("Storage", "row %1 differs in its field %2")
                               .arg(*rows)
                               .arg(from.record().fieldName(i));
                return false;
            }
        }
    }
    if (from.lastError().isValid() || to.lastError().isValid()) {
        *problem = reasonOf(from.lastError().isValid() ? from.lastError() : to.lastError());
        return false;
    }
    return true;
}

QString bookFile(int slot)
{
    return QString::fromLatin1(doctorSlot(slot).appointmentFile);
}

QStringList mainSettingsFields()
{
    return fileFields(FileKind::MainSettings).texts + fileFields(FileKind::MainSettings).numbers;
}

QStringList extraSettingsFields()
{
    return fileFields(FileKind::ExtraSettings).texts;
}

const QString kFirstFileRecord = QStringLiteral("ORDER BY rowid LIMIT 1");
const QString kFirstServerRecord = QStringLiteral("ORDER BY id LIMIT 1");

bool exec(QSqlQuery &query, const QString &statement, QString *error)
{
    query.setForwardOnly(true);
    if (query.exec(statement))
        return true;
    *error = reasonOf(query.lastError());
    return false;
}

// One book from a query over the source to a table of the target, rows keeping their identity.
bool copyBook(QSqlDatabase source, const QString &sourceSelect, QSqlDatabase target,
              const QString &targetTable, const QString &idColumn, QString *error)
{
    QSqlQuery rows(source);
    if (!exec(rows, sourceSelect, error))
        return false;
    RowWriter writer(target, targetTable,
                     QStringList{idColumn} + bookingColumns().split(QStringLiteral(", ")));
    while (rows.next())
        if (!writer.add(rowOf(rows, 7), error))
            return false;
    return writer.flush(error);
}

bool checkBook(QSqlDatabase source, const QString &sourceSelect, QSqlDatabase target,
               const QString &targetSelect, qint64 *rows, QString *error)
{
    QSqlQuery from(source);
    QSqlQuery to(target);
    return exec(from, sourceSelect, error) && exec(to, targetSelect, error) &&
           sameRows(from, to, 7, rows, error);
}

// Whether the book beside which statuses and history are kept has them (a file never given a status
// has not).
bool keepsStatuses(QSqlDatabase db, bool server, int slot)
{
    QSqlQuery query(db);
    query.prepare(
        server ? QStringLiteral("SELECT to_regclass(?) IS NOT NULL")
               : QStringLiteral("SELECT count(*) = 1 FROM sqlite_master WHERE name = 'booking_status'"));
    if (server)
        query.addBindValue(statusTable(serverSchema(slot)));
    return query.exec() && query.next() && query.value(0).toBool();
}

// The statuses and the history of a book, kept beside it, copied with the book's identities.
bool copyStatusesAndHistory(QSqlDatabase source, QSqlDatabase target, bool toServer, int slot, QString *error)
{
    const QString serverSide = serverSchema(slot);
    const QString fileSide = QStringLiteral("main");
    if (!keepsStatuses(source, !toServer, slot))
        return true;
    QSqlQuery query(target);
    if (!toServer)
        for (const QString &statement : statusTableStatements(Dialect::Files, fileSide))
            if (!exec(query, statement, error))
                return false;
    const QString from = toServer ? fileSide : serverSide;
    const QString to = toServer ? serverSide : fileSide;
    const QStringList statusColumns{QStringLiteral("id"), QStringLiteral("nome"), QStringLiteral("status")};
    const QStringList historyColumns{QStringLiteral("id"),       QStringLiteral("at"),
                                     QStringLiteral("computer"), QStringLiteral("person"),
                                     QStringLiteral("action"),   QStringLiteral("details")};
    for (const auto &[table, columns, order] :
         {std::tuple{statusTable(from), statusColumns, QStringLiteral("id")},
          std::tuple{historyTable(from), historyColumns,
                     toServer ? QStringLiteral("rowid") : QStringLiteral("seq")}}) {
        QSqlQuery rows(source);
        if (!exec(rows,
                  QStringLiteral("SELECT %1 FROM %2 ORDER BY %3")
                      .arg(columns.join(QStringLiteral(", ")), table, order),
                  error))
            return false;
        RowWriter writer(target, table == statusTable(from) ? statusTable(to) : historyTable(to), columns);
        while (rows.next())
            if (!writer.add(rowOf(rows, static_cast<int>(columns.size())), error))
                return false;
        if (!writer.flush(error))
            return false;
    }
    return true;
}

QString fileSelect()
{
    return QStringLiteral("SELECT rowid, %1 FROM dados ORDER BY rowid").arg(bookingColumns());
}

QString serverSelect(int slot)
{
    return QStringLiteral("SELECT id, %1 FROM %2 ORDER BY id").arg(bookingColumns(), serverBookTable(slot));
}

// The settings fields of one file from its first record onto the first record of the other side.
bool copySettings(QSqlDatabase source, const QString &sourceTable, const QString &sourceOrder,
                  QSqlDatabase target, const QString &targetTable, const QString &targetKey,
                  const QStringList &fields, QString *error)
{
    QSqlQuery read(source);
    if (!exec(read,
              QStringLiteral("SELECT %1 FROM %2 %3")
                  .arg(fields.join(QStringLiteral(", ")), sourceTable, sourceOrder),
              error))
        return false;
    if (!read.next()) {
        *error = QCoreApplication::translate("Storage", "there is no settings record");
        return false;
    }
    QStringList assignments;
    for (const QString &field : fields)
        assignments << field + QStringLiteral(" = ?");
    QSqlQuery write(target);
    write.prepare(QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                      .arg(targetTable, assignments.join(QStringLiteral(", ")), targetKey));
    for (int i = 0; i < fields.size(); ++i)
        write.addBindValue(read.value(i));
    if (!write.exec() || write.numRowsAffected() != 1) {
        *error = write.lastError().isValid()
                     ? reasonOf(write.lastError())
                     : QCoreApplication::translate("Storage", "there is no settings record");
        return false;
    }
    return true;
}

bool checkSettings(QSqlDatabase source, const QString &sourceTable, const QString &sourceOrder,
                   QSqlDatabase target, const QString &targetTable, const QString &targetOrder,
                   const QStringList &fields, QString *error)
{
    const QString select = QStringLiteral("SELECT %1 FROM %2 %3");
    const QString columns = fields.join(QStringLiteral(", "));
    QSqlQuery from(source);
    QSqlQuery to(target);
    qint64 rows = 0;
    return exec(from, select.arg(columns, sourceTable, sourceOrder), error) &&
           exec(to, select.arg(columns, targetTable, targetOrder), error) &&
           sameRows(from, to, static_cast<int>(fields.size()), &rows, error);
}

QString copiedLine(const QString &book, qint64 rows)
{
    return QCoreApplication::translate("Storage", "%1: %2 appointments copied, every row checked")
        .arg(book)
        .arg(rows);
}

// Where the settings record is on each side of a copy, and how its first record is found.
struct SettingsPlace
{
    QSqlDatabase db;
    QString table;
    QString firstOrder; // after FROM, selecting the first record
    QString firstKey;   // a condition naming the first record
};

enum class Direction
{
    ToServer,
    FromServer
};

// The ten books and the settings record copied one way between the folder's files and the server,
// each checked row by row against its source once written; lines says what was copied.
bool copyBooksAndSettings(const QDir &folder, QSqlDatabase server, Direction direction, QStringList *lines,
                          QString *error)
{
    const bool toServer = direction == Direction::ToServer;
    for (const DoctorSlot &slot : kDoctorSlots) {
        const QString name = bookFile(slot.slot);
        Connection file(QStringLiteral("Copy"), folder);
        if (!file.pointAt(name, error))
            return false;
        QSqlDatabase source = toServer ? file.database() : server;
        QSqlDatabase target = toServer ? server : file.database();
        const QString sourceSelect = toServer ? fileSelect() : serverSelect(slot.slot);
        const QString targetSelect = toServer ? serverSelect(slot.slot) : fileSelect();
        QSqlQuery query(server);
        // The server's numbering goes on after the rows copied; a file is written in a transaction of
        // its own (the server's is the caller's).
        const QString nextIds = QStringLiteral("SELECT setval(pg_get_serial_sequence('%1', 'id'), "
                                               "coalesce(max(id), 0) + 1, false) FROM %1")
                                    .arg(serverBookTable(slot.slot));
        qint64 rows = 0;
        const bool ok = (toServer || target.transaction()) &&
                        copyBook(source, sourceSelect, target,
                                 toServer ? serverBookTable(slot.slot) : QStringLiteral("dados"),
                                 toServer ? QStringLiteral("id") : QStringLiteral("rowid"), error) &&
                        copyStatusesAndHistory(source, target, toServer, slot.slot, error) &&
                        (toServer ? exec(query, nextIds, error) : target.commit()) &&
                        checkBook(source, sourceSelect, target, targetSelect, &rows, error);
        if (!ok) {
            *error = QStringLiteral("\"%1\": %2")
                         .arg(name, error->isEmpty() ? reasonOf(target.lastError()) : *error);
            return false;
        }
        *lines << copiedLine(name, rows);
    }
    const SettingsPlace onServer{server, QStringLiteral("public.profs"), kFirstServerRecord,
                                 QStringLiteral("id = (SELECT min(id) FROM public.profs)")};
    for (const auto &[name, fields] :
         {std::pair{QString::fromLatin1(kMainSettingsFile), mainSettingsFields()},
          std::pair{QString::fromLatin1(kExtraSettingsFile), extraSettingsFields()}}) {
        Connection file(QStringLiteral("Copy"), folder);
        if (!file.pointAt(name, error))
            return false;
        const SettingsPlace inFile{file.database(), QStringLiteral("profs"), kFirstFileRecord,
                                   QStringLiteral("rowid = (SELECT min(rowid) FROM profs)")};
        const SettingsPlace &from = toServer ? inFile : onServer;
        const SettingsPlace &to = toServer ? onServer : inFile;
        if (!copySettings(from.db, from.table, from.firstOrder, to.db, to.table, to.firstKey, fields,
                          error) ||
            !checkSettings(from.db, from.table, from.firstOrder, to.db, to.table, to.firstOrder, fields,
                           error)) {
            *error = QStringLiteral("\"%1\": %2").arg(name, *error);
            return false;
        }
        *lines
            << QCoreApplication::translate("Storage", "%1: the settings record copied and checked").arg(name);
    }
    return true;
}

// The server's connection and what its database holds; false after putting why in the report.
bool openServer(ServerConnection &server, ServerContents *contents, CopyReport &report)
{
    QString error;
    QString problem;
    if (!server.ensureOpen(&error)) {
        report.lines << error;
        return false;
    }
    if (!inspectServer(server.database(), contents, &problem, &error)) {
        report.lines << server.named(error);
        return false;
    }
    return true;
}

} // namespace

CopyReport copyToServer(const QDir &folder, const QString &url)
{
    CopyReport report;
    const FolderCheck check = checkFolder(folder);
    if (!check.missing.isEmpty() || !check.problems.isEmpty()) {
        report.lines << QCoreApplication::translate("Storage", "The folder's files cannot be copied: %1")
                            .arg((check.problems + check.missing).join(QStringLiteral("; ")));
        return report;
    }
    ServerConnection server(QStringLiteral("CopyTo"), url, kCopyTimeLimitMs);
    ServerContents contents = ServerContents::Foreign;
    if (!openServer(server, &contents, report))
        return report;
    if (contents != ServerContents::Empty) {
        report.lines << server.named(QCoreApplication::translate(
            "Storage", "the database is not empty; the files are copied only into an empty one"));
        return report;
    }
    // The books are made and filled in one transaction: a copy that fails leaves the database empty.
    QSqlDatabase db = server.database();
    QString error;
    QStringList lines;
    bool ok = db.transaction();
    {
        QSqlQuery query(db);
        for (const QString &statement : serverCreateStatements())
            ok = ok && exec(query, statement, &error);
    }
    ok = ok && copyBooksAndSettings(folder, db, Direction::ToServer, &lines, &error);
    if (ok && !db.commit()) {
        error = reasonOf(db.lastError());
        ok = false;
    }
    if (!ok) {
        db.rollback();
        report.lines << QCoreApplication::translate("Storage", "Nothing was copied to %1: %2")
                            .arg(shownServer(url), error);
        return report;
    }
    report.done = true;
    report.lines = lines;
    report.lines
        << QCoreApplication::translate("Storage", "Copied to %1 in one transaction.").arg(shownServer(url));
    return report;
}

CopyReport copyFromServer(const QString &url, const QDir &folder)
{
    CopyReport report;
    QStringList present;
    for (const QString &name : allFileNames())
        if (QFile::exists(folder.filePath(name)))
            present << name;
    if (!present.isEmpty()) {
        report.lines
            << QCoreApplication::translate(
                   "Storage",
                   "The folder already holds %1; the books are written only into a folder without them.")
                   .arg(present.join(QStringLiteral(", ")));
        return report;
    }
    ServerConnection server(QStringLiteral("CopyFrom"), url, kCopyTimeLimitMs);
    ServerContents contents = ServerContents::Foreign;
    if (!openServer(server, &contents, report))
        return report;
    if (contents != ServerContents::Books && contents != ServerContents::BooksWithoutStatuses) {
        report.lines << server.named(QCoreApplication::translate("Storage", "it holds no books"));
        return report;
    }
    // Every book read from the same moment of the server, while desks may go on booking.
    QSqlDatabase db = server.database();
    QString error;
    QStringList lines;
    bool ok = db.transaction();
    {
        QSqlQuery snapshot(db);
        ok = ok && exec(snapshot, QStringLiteral("SET TRANSACTION ISOLATION LEVEL REPEATABLE READ READ ONLY"),
                        &error);
    }
    // Written aside and put in place only when complete: a copy killed half-way leaves no books that a
    // window would open as if they were the clinic's.
    const QString asideName = QStringLiteral(".copy-from-server");
    QDir(folder.filePath(asideName)).removeRecursively();
    if (!folder.mkdir(asideName)) {
        error = QCoreApplication::translate("Storage", "the folder \"%1\" cannot be made").arg(asideName);
        ok = false;
    }
    QDir aside(folder.filePath(asideName));
    const QStringList created = ok ? createFiles(aside, allFileNames()) : QStringList();
    if (!created.isEmpty()) {
        error = created.join(QStringLiteral("; "));
        ok = false;
    }
    ok = ok && copyBooksAndSettings(aside, db, Direction::FromServer, &lines, &error);
    db.rollback(); // only read
    for (const QString &name : allFileNames()) {
        if (!ok)
            break;
        if (!syncPath(aside.filePath(name)) || !QFile::rename(aside.filePath(name), folder.filePath(name))) {
            error = QCoreApplication::translate("Storage", "\"%1\" could not be put in place").arg(name);
            ok = false;
        }
    }
    aside.removeRecursively();
    if (!ok) {
        for (const QString &name : allFileNames())
            QFile::remove(folder.filePath(name));
        report.lines << QCoreApplication::translate("Storage", "Nothing was written from %1: %2")
                            .arg(shownServer(url), error);
        return report;
    }
    syncPath(folder.path());
    report.done = true;
    report.lines = lines;
    report.lines << QCoreApplication::translate("Storage", "Written from %1.").arg(shownServer(url));
    return report;
}

} // namespace velmora
