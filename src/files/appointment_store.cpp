#include "files/appointment_store.h"
#include "core/reception/waiting_list.h"
#include "core/storage/stored_bookings.h"
#include "files/direct_reads.h"

#include "core/safekeeping/activity_log.h"

#include "core/model/booking_status.h"
#include "core/search/patient_query.h"
#include "schema/booking_sql.h"
#include "schema/patient_sql.h"
#include "schema/waiting_sql.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>

#include <sqlite3.h>

namespace velmora {

namespace {

const char *const kLinkedSchema = "linked";
const QString kMain = QStringLiteral("main");
const QString kRowid = QStringLiteral("rowid");

// A statement run through SQLite itself, prepared once and run for many rows: a series writes hundreds,
// and Qt's driver makes a variant of every value first. Texts, whole numbers and no value are bound.
class DirectStatement
{
public:
    DirectStatement(QSqlDatabase db, const QString &sql)
    {
        connection_ = sqliteOf(db);
        if (connection_ &&
            sqlite3_prepare_v2(connection_, sql.toUtf8().constData(), -1, &statement_, nullptr) != SQLITE_OK)
            statement_ = nullptr;
    }
    ~DirectStatement() { sqlite3_finalize(statement_); }
    DirectStatement(const DirectStatement &) = delete;
    DirectStatement &operator=(const DirectStatement &) = delete;

    // False, with SQLite's reason in error, when the statement could not be made.
    bool prepared(QString *error) const
    {
        if (statement_)
            return true;
        *error = connection_ ? QString::fromUtf8(sqlite3_errmsg(connection_))
                             : QCoreApplication::translate("Storage", "the book is not open");
        return false;
    }
    // Run with the values; false, with SQLite's reason in error, when it fails.
    bool run(const QVariantList &values, QString *error)
    {
        int index = 1;
        for (const QVariant &value : values) {
            if (value.isNull()) {
                sqlite3_bind_null(statement_, index++);
            } else if (value.typeId() == QMetaType::QString) {
                const QByteArray text = value.toString().toUtf8();
                sqlite3_bind_text(statement_, index++, text.constData(), static_cast<int>(text.size()),
                                  SQLITE_TRANSIENT);
            } else {
                sqlite3_bind_int64(statement_, index++, value.toLongLong());
            }
        }
        const int step = sqlite3_step(statement_);
        sqlite3_reset(statement_);
        sqlite3_clear_bindings(statement_);
        if (step == SQLITE_DONE)
            return true;
        *error = QString::fromUtf8(sqlite3_errmsg(connection_));
        return false;
    }
    qint64 lastIdentity() const { return sqlite3_last_insert_rowid(connection_); }

private:
    sqlite3 *connection_ = nullptr;
    sqlite3_stmt *statement_ = nullptr;
};

bool fail(const QSqlQuery &query, QString *error)
{
    *error = reasonOf(query.lastError());
    return false;
}

WriteOutcome written(QSqlQuery &query, QString *error)
{
    if (!query.exec()) {
        fail(query, error);
        return WriteOutcome::Failed;
    }
    if (query.numRowsAffected() != 1) {
        *error = QCoreApplication::translate("Storage", "the appointment is no longer stored");
        return WriteOutcome::NoLongerStored;
    }
    return WriteOutcome::Done;
}

} // namespace

bool AppointmentStore::hasRecords(bool *any, QString *error)
{
    if (!connection_.ensureOpen(error))
        return false;
    QSqlQuery query(connection_.database());
    if (!query.exec(QStringLiteral("SELECT 1 FROM dados LIMIT 1")))
        return fail(query, error);
    *any = query.next();
    return true;
}

bool AppointmentStore::addPlaceholder(QString *error)
{
    QSqlQuery query(connection_.database());
    // Past every identity the history or a hold ever named, as for a booking; a book never written
    // by this program has neither table.
    if (!query.prepare(QStringLiteral("INSERT INTO dados (rowid, data) VALUES (1 + max(coalesce((SELECT "
                                      "max(rowid) FROM dados), 0), coalesce((SELECT max(id) FROM %1), 0), "
                                      "coalesce((SELECT max(id) FROM %2), 0)), ?)")
                           .arg(historyTable(kMain), heldTable(kMain))))
        query.prepare(QStringLiteral("INSERT INTO dados (data) VALUES (?)"));
    query.addBindValue(storedDate(placeholderDate()));
    return query.exec() || fail(query, error);
}

bool AppointmentStore::readDay(QDate date, QVector<Appointment> *bookings, QString *error)
{
    bookings->clear();
    if (!connection_.ensureOpen(error))
        return false;
    // A book that never had a status set has no table of them; one whose tables are empty is read
    // without them, as a crowded day's every row would look into them for nothing.
    QStringList queries{dayQueryWithoutStatus(QStringLiteral("dados"), kRowid)};
    {
        QSqlQuery kept(connection_.database());
        const bool statuses =
            !kept.exec(QStringLiteral("SELECT EXISTS (SELECT 1 FROM %1)").arg(statusTable(kMain))) ||
            !kept.next() || kept.value(0).toBool();
        kept.finish();
        const bool series =
            !kept.exec(QStringLiteral("SELECT EXISTS (SELECT 1 FROM %1)").arg(seriesTable(kMain))) ||
            !kept.next() || kept.value(0).toBool();
        if (statuses || series)
            queries.prepend(dayQuery(QStringLiteral("dados"), kRowid, statusTable(kMain)));
        if (series)
            queries.prepend(
                dayQuery(QStringLiteral("dados"), kRowid, statusTable(kMain), seriesTable(kMain)));
    }
    for (const QString &sql : std::as_const(queries))
        if (readDayDirectly(connection_.database(), sql, date, bookings))
            return true;
    QSqlQuery query(connection_.database());
    query.setForwardOnly(true);
    if (!query.prepare(dayQuery(QStringLiteral("dados"), kRowid, statusTable(kMain), seriesTable(kMain))) &&
        !query.prepare(dayQuery(QStringLiteral("dados"), kRowid, statusTable(kMain))))
        query.prepare(dayQueryWithoutStatus(QStringLiteral("dados"), kRowid));
    query.addBindValue(storedDate(date));
    if (!query.exec())
        return fail(query, error);
    appendDayBookings(query, date, bookings);
    // A damaged page met half-way shows as an error after the last row read.
    if (query.lastError().isValid())
        return fail(query, error);
    return true;
}

bool AppointmentStore::readPeriod(QDate from, QDate to, QVector<Appointment> *bookings, QString *error)
{
    bookings->clear();
    if (!connection_.ensureOpen(error))
        return false;
    QSqlQuery query(connection_.database());
    query.setForwardOnly(true);
    if (!query.prepare(
            periodQuery(QStringLiteral("dados"), kRowid, statusTable(kMain), seriesTable(kMain))) &&
        !query.prepare(periodQuery(QStringLiteral("dados"), kRowid, statusTable(kMain))))
        query.prepare(periodQueryWithoutStatus(QStringLiteral("dados"), kRowid));
    query.addBindValue(storedDate(from));
    query.addBindValue(storedDate(to));
    if (!query.exec())
        return fail(query, error);
    appendPeriodBookings(query, bookings);
    if (query.lastError().isValid())
        return fail(query, error);
    return true;
}

bool AppointmentStore::attachLinked(const QString &linkedFile, QString *problem)
{
    return attachBook(linkedFile, QLatin1String(kLinkedSchema), problem);
}

void AppointmentStore::detachLinked()
{
    detachBook(QLatin1String(kLinkedSchema));
}

bool AppointmentStore::attachBook(const QString &file, const QString &schema, QString *problem, bool book)
{
    // A missing file is refused by the URI's mode, one of another format by the first read, and one
    // without the appointment table by the check below: none of them is written to.
    QSqlQuery query(connection_.database());
    query.prepare(QStringLiteral("ATTACH DATABASE ? AS %1").arg(schema));
    query.addBindValue(sqliteUri(connection_.pathOf(file), "rw"));
    if (!query.exec())
        return fail(query, problem);
    // Committed together only in rollback-journal mode: with a write-ahead log the two files would
    // commit one after the other.
    if (!query.exec(QStringLiteral("PRAGMA %1.journal_mode = DELETE").arg(schema)) || !query.next() ||
        query.value(0).toString().toLower() != QLatin1String("delete")) {
        if (query.lastError().isValid())
            fail(query, problem);
        else
            *problem = QCoreApplication::translate(
                "Storage", "its journal cannot be switched to the mode that keeps both books together");
        query.finish();
        detachBook(schema);
        return false;
    }
    query.finish();
    if (!book)
        return true;
    QStringList columns;
    if (!query.exec(QStringLiteral("PRAGMA %1.table_info(dados)").arg(schema)))
        fail(query, problem);
    while (query.isActive() && query.next())
        columns << query.value(1).toString().toLower();
    for (const QString &column : requiredColumns(FileKind::Appointments)) {
        if (!columns.contains(column)) {
            if (problem->isEmpty())
                *problem =
                    QCoreApplication::translate("Storage", "its appointment table is missing or incomplete");
            query.finish();
            detachBook(schema);
            return false;
        }
    }
    return true;
}

void AppointmentStore::detachBook(const QString &schema)
{
    QSqlQuery detach(connection_.database());
    detach.exec(QStringLiteral("DETACH DATABASE %1").arg(schema));
}

bool AppointmentStore::beginOwnWrite(const QString &schema, bool *indexed)
{
    QSqlQuery query(connection_.database());
    // What another tool left of a broken index (a table dropped, its triggers left) would refuse the
    // booking: whatever is left of it goes, and the index is made whole at the next search.
    if (query.exec(searchIndexPartsQuery(schema)) && query.next()) {
        const int parts = query.value(0).toInt();
        query.finish();
        if (parts != 0 && parts != kSearchIndexParts) {
            qCWarning(logBook).noquote() << "a damaged search index was set aside, to be made again";
            for (const char *trigger : {"insert", "update", "delete"})
                query.exec(QStringLiteral("DROP TRIGGER IF EXISTS %1.booking_search_after_%2")
                               .arg(schema, QLatin1String(trigger)));
            query.exec(QStringLiteral("DROP TABLE IF EXISTS %1").arg(searchIndexTable(schema)));
            query.exec(QStringLiteral("DROP TABLE IF EXISTS %1").arg(searchStateTable(schema)));
        }
    }
    // A book without an index (never searched, or written by another tool since) gets it at its next
    // search.
    *indexed = query.exec(QStringLiteral("UPDATE %1 SET own = 1").arg(searchStateTable(schema)));
    return true;
}

bool AppointmentStore::keepIndex(const QString &schema, qint64 id, const Appointment *booking)
{
    // The booking never depends on its index: one that cannot take it is marked to be made again.
    QSqlQuery query(connection_.database());
    query.exec(QStringLiteral("SAVEPOINT search_index"));
    QString unused;
    if (indexBooking(schema, id, booking, &unused) && endOwnWrite(schema, &unused)) {
        query.exec(QStringLiteral("RELEASE search_index"));
        return true;
    }
    query.exec(QStringLiteral("ROLLBACK TO search_index"));
    query.exec(QStringLiteral("RELEASE search_index"));
    query.exec(QStringLiteral("UPDATE %1 SET stale = 1, own = 0").arg(searchStateTable(schema)));
    qCWarning(logBook).noquote()
        << "the search index could not take a booking; it is made again at the next search";
    return true;
}

bool AppointmentStore::indexBooking(const QString &schema, qint64 id, const Appointment *booking,
                                    QString *error)
{
    QSqlQuery query(connection_.database());
    if (!booking) {
        query.prepare(QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(searchIndexTable(schema)));
        query.addBindValue(id);
        return query.exec() || fail(query, error);
    }
    // Replacing: an identity the book gives again after another tool's removal may still have its
    // entry (the index is then stale, and made again at the next search).
    query.prepare(QStringLiteral("INSERT OR REPLACE INTO %1 (rowid, name, phones) VALUES (?, ?, ?)")
                      .arg(searchIndexTable(schema)));
    query.addBindValue(id);
    query.addBindValue(foldedName(booking->nome));
    query.addBindValue(digitsOf(booking->telefone));
    return query.exec() || fail(query, error);
}

bool AppointmentStore::endOwnWrite(const QString &schema, QString *error)
{
    QSqlQuery query(connection_.database());
    return query.exec(QStringLiteral("UPDATE %1 SET own = 0").arg(searchStateTable(schema))) ||
           fail(query, error);
}

QString AppointmentStore::insertStatement(const QString &schema)
{
    // SQLite gives a removed last row's number again, and that booking's history would then read as
    // the new one's: the new identity is past every one the history has ever named as well.
    return QStringLiteral("INSERT INTO %1.dados (rowid, %2) VALUES (1 + max(coalesce((SELECT max(rowid) FROM "
                          "%1.dados), 0), coalesce((SELECT max(id) FROM %3), 0)), ?, ?, ?, ?, ?, ?)")
        .arg(schema, bookingColumns(), historyTable(schema));
}

bool AppointmentStore::insertInto(const QString &schema, const Appointment &booking, QString *error)
{
    const qint64 id = insertRow(schema, booking, error);
    return id != 0 && record(schema, id, QStringLiteral("added"), addedDetails(booking), error);
}

qint64 AppointmentStore::insertRow(const QString &schema, const Appointment &booking, QString *error)
{
    bool indexed = false;
    beginOwnWrite(schema, &indexed);
    QSqlQuery query(connection_.database());
    if (!preparedWithTables(query, insertStatement(schema), schema, error))
        return 0;
    bindBooking(query, booking);
    if (!query.exec()) {
        fail(query, error);
        return 0;
    }
    const qint64 id = query.lastInsertId().toLongLong();
    if (indexed)
        keepIndex(schema, id, &booking);
    if (booking.patient != 0) {
        query.finish();
        if (!preparedWithTables(query, linkPatientStatement(Dialect::Files, schema), schema, error))
            return 0;
        query.addBindValue(id);
        query.addBindValue(booking.patient);
        if (!query.exec()) {
            fail(query, error);
            return 0;
        }
    }
    return id;
}

bool AppointmentStore::record(const QString &schema, qint64 id, const QString &action, const QString &details,
                              QString *error)
{
    QSqlQuery query(connection_.database());
    if (!preparedWithTables(query, recordHistoryStatement(schema), schema, error))
        return false;
    for (const QVariant &value : QVariantList{id, QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs),
                                              desk_.computer, desk_.person, action, details})
        query.addBindValue(value);
    return query.exec() || fail(query, error);
}

bool AppointmentStore::preparedWithTables(QSqlQuery &query, const QString &statement, const QString &schema,
                                          QString *error)
{
    if (query.prepare(statement))
        return true;
    // The first status or history of a book: its tables are made in the same transaction.
    for (const QString &making : statusTableStatements(Dialect::Files, schema))
        if (!query.exec(making))
            return fail(query, error);
    return query.prepare(statement) || fail(query, error);
}

bool AppointmentStore::begin(QString *error)
{
    // The write lock taken (and waited for) first: what is read in the transaction is then what is
    // written over, and another desk's write meanwhile is waited for rather than failing the write
    // half-way as a read turned write would.
    QSqlQuery query(connection_.database());
    return query.exec(QStringLiteral("BEGIN IMMEDIATE")) || fail(query, error);
}

bool AppointmentStore::commit(QString *error)
{
    QSqlDatabase db = connection_.database();
    if (db.commit())
        return true;
    *error = reasonOf(db.lastError());
    db.rollback();
    return false;
}

WriteOutcome AppointmentStore::rolledBack(WriteOutcome outcome)
{
    connection_.database().rollback();
    return outcome;
}

AddOutcome AppointmentStore::add(const Appointment &booking, const QString &linkedFile, QString *error)
{
    if (!connection_.ensureOpen(error))
        return AddOutcome::NotStored;
    const QString main = kMain;
    if (linkedFile.isEmpty())
        return storedAlone(booking, error) ? AddOutcome::Stored : AddOutcome::NotStored;

    QString linkProblem;
    if (!attachLinked(linkedFile, &linkProblem)) {
        linkProblem =
            QCoreApplication::translate("Storage", "\"%1\" cannot be used: %2").arg(linkedFile, linkProblem);
    } else {
        // Both rows in one transaction: SQLite commits attached files together, so neither file can
        // keep a booking the other lacks, whatever happens half-way.
        QSqlDatabase db = connection_.database();
        QString ownError;
        const qint64 mainBefore = lastIdentity(main);
        const qint64 linkedBefore = lastIdentity(QLatin1String(kLinkedSchema));
        bool ok = db.transaction();
        if (!ok)
            ownError = reasonOf(db.lastError());
        ok = ok && insertInto(main, booking, &ownError);
        if (!ok) { // the doctor's own file refuses: nothing is stored anywhere
            db.rollback();
            detachLinked();
            *error = ownError;
            return AddOutcome::NotStored;
        }
        ok = insertInto(QLatin1String(kLinkedSchema), booking, &linkProblem);
        bool commitFailed = false;
        if (ok && !db.commit()) {
            linkProblem = reasonOf(db.lastError());
            ok = false;
            commitFailed = true;
        }
        if (!ok)
            db.rollback();
        // A commit that failed may still have been made (the disk answered late, another program
        // removed a journal): what is stored is looked up before anything is written again.
        const bool madeAnyway = commitFailed && storedSince(main, booking, mainBefore);
        const bool copiedAnyway =
            madeAnyway && storedSince(QLatin1String(kLinkedSchema), booking, linkedBefore);
        detachLinked();
        if (ok || copiedAnyway)
            return AddOutcome::Stored;
        if (madeAnyway) {
            *error = QCoreApplication::translate("Storage", "\"%1\" could not be written: %2")
                         .arg(linkedFile, linkProblem);
            return AddOutcome::StoredWithoutCopy;
        }
        linkProblem = QCoreApplication::translate("Storage", "\"%1\" could not be written: %2")
                          .arg(linkedFile, linkProblem);
    }
    // The linked part failed at some step: the booking is still stored for the doctor, alone.
    if (!storedAlone(booking, error))
        return AddOutcome::NotStored;
    *error = linkProblem;
    return AddOutcome::StoredWithoutCopy;
}

qint64 AppointmentStore::lastIdentity(const QString &schema)
{
    QSqlQuery query(connection_.database());
    return query.exec(QStringLiteral("SELECT coalesce(max(rowid), 0) FROM %1.dados").arg(schema)) &&
                   query.next()
               ? query.value(0).toLongLong()
               : 0;
}

bool AppointmentStore::storedSince(const QString &schema, const Appointment &booking, qint64 after)
{
    QSqlQuery query(connection_.database());
    Appointment stored = booking;
    stored.id = after;
    query.prepare(QStringLiteral("SELECT 1 FROM %1.dados WHERE %2")
                      .arg(schema, matchesStored(QStringLiteral("rowid"), QStringLiteral(">"))));
    bindStored(query, stored);
    return query.exec() && query.next();
}

bool AppointmentStore::storedAlone(const Appointment &booking, QString *error)
{
    if (!begin(error))
        return false;
    if (!insertInto(kMain, booking, error)) {
        rolledBack(WriteOutcome::Failed);
        return false;
    }
    return commit(error);
}

WriteOutcome AppointmentStore::inOwnTransaction(const std::function<WriteOutcome()> &write, QString *error)
{
    if (!connection_.ensureOpen(error) || !begin(error))
        return WriteOutcome::Failed;
    const WriteOutcome outcome = write();
    if (outcome != WriteOutcome::Done)
        return rolledBack(outcome);
    return commit(error) ? WriteOutcome::Done : WriteOutcome::Failed;
}

WriteOutcome AppointmentStore::update(const Appointment &stored, const Appointment &changed, QString *error)
{
    return inOwnTransaction([&] { return updated(stored, changed, error); }, error);
}

WriteOutcome AppointmentStore::remove(const Appointment &stored, QString *error)
{
    return inOwnTransaction([&] { return removed(stored, error); }, error);
}

WriteOutcome AppointmentStore::setStatus(const Appointment &stored, BookingStatus status, QString *error)
{
    return inOwnTransaction([&] { return statusSet(stored, status, error); }, error);
}

WriteOutcome AppointmentStore::writeSeries(const QVector<BookingWrite> &writes, const QString &copyFile,
                                           int copySlot, QString *error)
{
    // A linked book that cannot be attached keeps its copies where they are, as a single move does.
    QString unattached;
    const bool linked =
        !copyFile.isEmpty() &&
        std::any_of(writes.cbegin(), writes.cend(),
                    [](const BookingWrite &write) { return write.kind == BookingWrite::Kind::Move; }) &&
        attachLinked(copyFile, &unattached);
    const WriteOutcome written = inOwnTransaction(
        [&] {
            for (const BookingWrite &write : writes) {
                Moved::Copy carried = Moved::Copy::None;
                const WriteOutcome outcome =
                    write.kind == BookingWrite::Kind::Change   ? updated(write.stored, write.changed, error)
                    : write.kind == BookingWrite::Kind::Remove ? removed(write.stored, error)
                    : write.kind == BookingWrite::Kind::Status
                        ? statusSet(write.stored, write.status, error)
                        : movedWithin(write.stored, write.changed, error);
                if (outcome != WriteOutcome::Done)
                    return outcome;
                if (linked && write.kind == BookingWrite::Kind::Move &&
                    !carriedCopy({QLatin1String(kLinkedSchema), copySlot, false, 0, {}}, write.stored,
                                 write.changed, &carried, error))
                    return WriteOutcome::Failed;
            }
            return WriteOutcome::Done;
        },
        error);
    if (linked)
        detachLinked();
    return written;
}

WriteOutcome AppointmentStore::movedWithin(const Appointment &stored, const Appointment &placed,
                                           QString *error)
{
    bool indexed = false;
    beginOwnWrite(kMain, &indexed);
    QSqlQuery query(connection_.database());
    if (!preparedWithTables(
            query, QStringLiteral("UPDATE dados SET data = ?, hora = ? WHERE %1").arg(matchesStored(kRowid)),
            kMain, error))
        return WriteOutcome::Failed;
    query.addBindValue(storedDate(placed.date));
    query.addBindValue(bookingValues(placed).at(1));
    bindStored(query, stored);
    const WriteOutcome outcome = written(query, error);
    if (outcome != WriteOutcome::Done)
        return outcome;
    Appointment moved = stored;
    moved.date = placed.date;
    moved.hora = placed.hora;
    if (indexed)
        keepIndex(kMain, stored.id, &moved);
    if (!forgetStatusAndHold(stored.id, error))
        return WriteOutcome::Failed;
    return record(kMain, stored.id, QStringLiteral("moved"),
                  movedDetails(stored, 0, 0, placed.date, placed.hora), error)
               ? WriteOutcome::Done
               : WriteOutcome::Failed;
}

bool AppointmentStore::forgetStatusAndHold(qint64 id, QString *error)
{
    QSqlQuery query(connection_.database());
    for (const QString &table : {statusTable(kMain), heldTable(kMain)}) {
        query.prepare(QStringLiteral("DELETE FROM %1 WHERE id = ?").arg(table));
        query.addBindValue(id);
        if (!query.exec())
            return fail(query, error);
    }
    return true;
}

WriteOutcome AppointmentStore::updated(const Appointment &stored, const Appointment &changed, QString *error)
{
    bool indexed = false;
    beginOwnWrite(kMain, &indexed);
    QSqlQuery query(connection_.database());
    query.prepare(updateStored(QStringLiteral("dados"), kRowid));
    bindBooking(query, changed);
    bindStored(query, stored);
    const WriteOutcome outcome = written(query, error);
    if (outcome != WriteOutcome::Done)
        return outcome;
    if (indexed)
        keepIndex(kMain, stored.id, &changed);
    // The status follows the booking's new name.
    if (!record(kMain, stored.id, QStringLiteral("changed"), changedDetails(stored, changed), error) ||
        !query.prepare(QStringLiteral("UPDATE %1 SET nome = ? WHERE id = ?").arg(statusTable(kMain))))
        return WriteOutcome::Failed;
    query.addBindValue(bookingValues(changed).at(2));
    query.addBindValue(stored.id);
    if (!query.exec()) {
        fail(query, error);
        return WriteOutcome::Failed;
    }
    return WriteOutcome::Done;
}

WriteOutcome AppointmentStore::removed(const Appointment &stored, QString *error)
{
    bool indexed = false;
    beginOwnWrite(kMain, &indexed);
    QSqlQuery query(connection_.database());
    query.prepare(QStringLiteral("DELETE FROM dados WHERE %1").arg(matchesStored(kRowid)));
    bindStored(query, stored);
    const WriteOutcome outcome = written(query, error);
    if (outcome != WriteOutcome::Done)
        return outcome;
    if (indexed)
        keepIndex(kMain, stored.id, nullptr);
    if (!record(kMain, stored.id, QStringLiteral("removed"), addedDetails(stored), error))
        return WriteOutcome::Failed;
    if (!forgetStatusAndHold(stored.id, error))
        return WriteOutcome::Failed;
    return WriteOutcome::Done;
}

WriteOutcome AppointmentStore::statusSet(const Appointment &stored, BookingStatus status, QString *error)
{
    QSqlQuery query(connection_.database());
    // Matched as read, and its status as it is now, for the history.
    if (!preparedWithTables(
            query,
            QStringLiteral("SELECT coalesce((SELECT status FROM %1 WHERE id = dados.rowid AND nome = "
                           "coalesce(dados.nome, '')), 0) FROM dados WHERE %2")
                .arg(statusTable(kMain), matchesStored(kRowid)),
            kMain, error))
        return WriteOutcome::Failed;
    bindStored(query, stored);
    if (!query.exec()) {
        fail(query, error);
        return WriteOutcome::Failed;
    }
    if (!query.next()) {
        *error = QCoreApplication::translate("Storage", "the appointment is no longer stored");
        return WriteOutcome::NoLongerStored;
    }
    const BookingStatus before = statusFromNumber(query.value(0).toInt());
    query.finish();
    const QVariant name = bookingValues(stored).at(2);
    if (!record(kMain, stored.id, QStringLiteral("status"), statusDetails(before, status), error))
        return WriteOutcome::Failed;
    query.prepare(setStatusStatement(Dialect::Files, kMain));
    for (const QVariant &value : QVariantList{stored.id, name, static_cast<int>(status)})
        query.addBindValue(value);
    if (!query.exec()) {
        fail(query, error);
        return WriteOutcome::Failed;
    }
    if (status == BookingStatus::Cancelled) {
        // A cancelled booking is no longer there to be moved.
        query.prepare(QStringLiteral("DELETE FROM %1 WHERE id = ?").arg(heldTable(kMain)));
        query.addBindValue(stored.id);
        if (!query.exec()) {
            fail(query, error);
            return WriteOutcome::Failed;
        }
    }
    return WriteOutcome::Done;
}

WriteOutcome AppointmentStore::hold(const Appointment &stored, QString *error)
{
    if (!connection_.ensureOpen(error) || !begin(error))
        return WriteOutcome::Failed;
    QSqlQuery query(connection_.database());
    // Held as read: a booking another desk changed or removed meanwhile is not.
    if (!preparedWithTables(
            query,
            QStringLiteral("INSERT OR IGNORE INTO %1 (id, at, computer, person) SELECT rowid, ?, "
                           "?, ? FROM dados WHERE %2")
                .arg(heldTable(kMain), matchesStored(kRowid)),
            kMain, error))
        return rolledBack(WriteOutcome::Failed);
    for (const QVariant &value : QVariantList{QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs),
                                              desk_.computer, desk_.person})
        query.addBindValue(value);
    bindStored(query, stored);
    if (!query.exec()) {
        fail(query, error);
        return rolledBack(WriteOutcome::Failed);
    }
    query.prepare(QStringLiteral("SELECT 1 FROM dados WHERE %1").arg(matchesStored(kRowid)));
    bindStored(query, stored);
    if (!query.exec() || !query.next()) {
        *error = QCoreApplication::translate("Storage", "the appointment is no longer stored");
        return rolledBack(WriteOutcome::NoLongerStored);
    }
    query.finish();
    return commit(error) ? WriteOutcome::Done : WriteOutcome::Failed;
}

bool AppointmentStore::putBack(qint64 id, QString *error)
{
    if (!connection_.ensureOpen(error))
        return false;
    QSqlQuery query(connection_.database());
    // A book nothing was ever held in has no table for it.
    if (!query.prepare(QStringLiteral("DELETE FROM %1 WHERE id = ?").arg(heldTable(kMain))))
        return true;
    query.addBindValue(id);
    return query.exec() || fail(query, error);
}

AddOutcome AppointmentStore::addSeries(const QVector<Appointment> &bookings, const QString &linkedFile,
                                       const QVector<bool> &squeezeIns, QVector<qint64> *ids, QString *error)
{
    if (!connection_.ensureOpen(error))
        return AddOutcome::NotStored;
    QString linkProblem;
    const bool linked = !linkedFile.isEmpty() && attachLinked(linkedFile, &linkProblem);
    const auto stored = [&](bool withCopies, QString *why) {
        ids->clear();
        if (!begin(why))
            return false;
        // Each statement made once for the whole series, the search index kept as the rows go in.
        bool indexed = false;
        beginOwnWrite(kMain, &indexed);
        bool indexKept = true;
        QSqlQuery query(connection_.database());
        bool ok = preparedWithTables(query, placeInSeriesStatement(kMain), kMain, why); // the tables made
        query.finish();
        // Decided here, in the write: another desk may have booked one of the times since they were listed.
        for (int i = 0; ok && i < bookings.size(); ++i) {
            if (squeezeIns.value(i))
                continue;
            ok = query.prepare(takenAtStatement(QStringLiteral("dados"), kRowid)) || fail(query, why);
            for (const QVariant &value :
                 takenAtValues(bookings.at(i).date, bookings.at(i).hora, 0, bookings.at(i)))
                query.addBindValue(value);
            ok = ok && (query.exec() || fail(query, why));
            if (ok && query.next()) {
                *why = takenMeanwhile(bookings.at(i).hora, query.value(0).toString());
                ok = false;
            }
            query.finish();
        }
        DirectStatement insert(connection_.database(), insertStatement(kMain));
        DirectStatement history(connection_.database(), recordHistoryStatement(kMain));
        DirectStatement place(connection_.database(), placeInSeriesStatement(kMain));
        DirectStatement patient(connection_.database(), linkPatientStatement(Dialect::Files, kMain));
        ok = ok && insert.prepared(why) && history.prepared(why) && place.prepared(why) &&
             patient.prepared(why);
        const QString at = QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs);
        for (const Appointment &booking : bookings) {
            if (!ok)
                break;
            ok = insert.run(bookingValues(booking), why);
            const qint64 id = ok ? insert.lastIdentity() : 0;
            if (ok && indexed) {
                QString unused;
                indexKept = indexKept && indexBooking(kMain, id, &booking, &unused);
            }
            ok = ok &&
                 history.run(
                     {id, at, desk_.computer, desk_.person, QStringLiteral("added"), addedDetails(booking)},
                     why) &&
                 place.run(
                     {id, ids->isEmpty() ? id : ids->first(), booking.series.number, booking.series.total},
                     why) &&
                 (booking.patient == 0 || patient.run({id, booking.patient}, why)) &&
                 (!withCopies || insertInto(QLatin1String(kLinkedSchema), booking, why));
            ids->append(id);
        }
        if (ok && indexed) {
            QString unused;
            if (!indexKept || !endOwnWrite(kMain, &unused))
                query.exec(QStringLiteral("UPDATE %1 SET stale = 1, own = 0").arg(searchStateTable(kMain)));
        }
        if (!ok) {
            rolledBack(WriteOutcome::Failed);
            ids->clear();
            return false;
        }
        return commit(why);
    };
    AddOutcome outcome = AddOutcome::NotStored;
    if (linked && stored(true, &linkProblem))
        outcome = AddOutcome::Stored;
    if (linked)
        detachLinked();
    if (outcome == AddOutcome::NotStored && stored(false, error))
        outcome = linkedFile.isEmpty() ? AddOutcome::Stored : AddOutcome::StoredWithoutCopy;
    if (outcome == AddOutcome::StoredWithoutCopy)
        *error = QCoreApplication::translate("Storage", "\"%1\" could not be written: %2")
                     .arg(linkedFile, linkProblem);
    return outcome;
}

namespace {

// A series' bookings as seriesQuery and seriesEndingQuery give them.
bool appendSeriesBookings(QSqlQuery &query, QVector<Appointment> *bookings, QString *error)
{
    if (!query.exec())
        return fail(query, error);
    while (query.next())
        bookings->append(wholeRowBooking(query, true));
    return !query.lastError().isValid() || fail(query, error);
}

} // namespace

bool AppointmentStore::readSeries(qint64 series, QVector<Appointment> *bookings, QString *error)
{
    bookings->clear();
    if (!connection_.ensureOpen(error))
        return false;
    QSqlQuery query(connection_.database());
    query.setForwardOnly(true);
    // A book that never had a series has no table of them.
    if (!query.prepare(seriesQuery(QStringLiteral("dados"), kRowid, kMain)))
        return true;
    query.addBindValue(series);
    return appendSeriesBookings(query, bookings, error);
}

bool AppointmentStore::readSeriesEnding(QDate from, QVector<Appointment> *bookings, QString *error)
{
    if (!connection_.ensureOpen(error))
        return false;
    QSqlQuery query(connection_.database());
    query.setForwardOnly(true);
    if (!query.prepare(seriesEndingQuery(QStringLiteral("dados"), kRowid, kMain, kSeriesEndingLeft)))
        return true;
    query.addBindValue(storedDate(from));
    query.addBindValue(storedDate(from));
    return appendSeriesBookings(query, bookings, error);
}

bool AppointmentStore::readHeld(int slot, QVector<HeldBooking> *held, QString *error)
{
    if (!connection_.ensureOpen(error))
        return false;
    QSqlQuery query(connection_.database());
    query.setForwardOnly(true);
    if (!query.prepare(
            QStringLiteral("SELECT h.at, h.computer, h.person, d.rowid, %1 FROM %2 h JOIN dados d ON "
                           "d.rowid = h.id ORDER BY h.at")
                .arg(bookingColumns(), heldTable(kMain))))
        return true;
    if (!query.exec())
        return fail(query, error);
    while (query.next()) {
        HeldBooking booking;
        booking.slot = slot;
        booking.at = QDateTime::fromString(query.value(0).toString(), Qt::ISODateWithMs);
        booking.computer = query.value(1).toString();
        booking.person = query.value(2).toString();
        booking.booking.id = query.value(3).toLongLong();
        booking.booking.date = QDate::fromString(query.value(4).toString().left(10), Qt::ISODate);
        booking.booking.hora = query.value(5).toString();
        booking.booking.nome = query.value(6).toString();
        booking.booking.convenio = query.value(7).toString();
        booking.booking.telefone = query.value(8).toString();
        booking.booking.obs = query.value(9).toString();
        held->append(booking);
    }
    return !query.lastError().isValid() || fail(query, error);
}

Moved AppointmentStore::move(const Appointment &stored, const MovePlace &place, QString *error)
{
    Moved moved;
    if (!connection_.ensureOpen(error))
        return moved;
    const QString main = kMain;
    const QString target = place.bookFile.isEmpty() ? main : QStringLiteral("target");
    if (target != main && !attachBook(place.bookFile, target, error)) {
        *error =
            QCoreApplication::translate("Storage", "\"%1\" cannot be used: %2").arg(place.bookFile, *error);
        return moved;
    }
    QString copy;
    if (!place.copyFile.isEmpty()) {
        QString unused;
        copy = place.copyFile == place.bookFile ? target : QStringLiteral("copy");
        if (copy != target && !attachBook(place.copyFile, copy, &unused))
            copy.clear();
        moved.copy = Moved::Copy::LeftAlone;
    }
    const auto detachAll = [&] {
        if (target != main)
            detachBook(target);
        if (!copy.isEmpty() && copy != target)
            detachBook(copy);
    };
    QSqlDatabase db = connection_.database();
    QSqlQuery query(db);
    const auto given = [&](WriteOutcome outcome) {
        if (outcome == WriteOutcome::Failed && error->isEmpty())
            *error = reasonOf(query.lastError());
        query.finish();
        db.rollback();
        detachAll();
        moved.outcome = outcome;
        moved.copy = Moved::Copy::None;
        return moved;
    };
    if (!begin(error))
        return given(WriteOutcome::Failed);
    for (const QString &schema : {main, target, copy})
        for (const QString &making : statusTableStatements(Dialect::Files, schema.isEmpty() ? main : schema))
            if (!query.exec(making))
                return given(WriteOutcome::Failed);
    query.prepare(QStringLiteral("SELECT 1 FROM dados WHERE %1").arg(matchesStored(kRowid)));
    bindStored(query, stored);
    if (!query.exec())
        return given(WriteOutcome::Failed);
    if (!query.next()) {
        *error = QCoreApplication::translate("Storage", "the appointment is no longer stored");
        return given(WriteOutcome::NoLongerStored);
    }
    query.finish();
    // Decided here, in the write: another desk may have booked the time since this one read its day.
    query.prepare(takenAtStatement(target + QStringLiteral(".dados"), kRowid));
    for (const QVariant &value :
         takenAtValues(place.date, place.hora, target == main ? stored.id : 0, stored))
        query.addBindValue(value);
    if (!query.exec())
        return given(WriteOutcome::Failed);
    if (query.next()) {
        *error = takenMeanwhile(place.hora, query.value(0).toString());
        return given(WriteOutcome::Failed);
    }
    query.finish();
    Appointment placed = stored;
    placed.date = place.date;
    placed.hora = place.hora;
    placed.status = BookingStatus::ToConfirm;
    const QString details = movedDetails(stored, place.fromSlot, place.toSlot, place.date, place.hora);
    const auto ran = [&](const QString &statement, const QVariantList &values) {
        query.prepare(statement);
        for (const QVariant &value : values)
            query.addBindValue(value);
        return query.exec();
    };
    const QVariantList when{storedDate(place.date), bookingValues(placed).at(1)};
    bool indexed = false;
    beginOwnWrite(main, &indexed);
    if (target == main) {
        if (!ran(QStringLiteral("UPDATE dados SET data = ?, hora = ? WHERE rowid = ?"),
                 when + QVariantList{stored.id}))
            return given(WriteOutcome::Failed);
        moved.id = stored.id;
    } else {
        // The booking's history goes with it, under the identity its new book gives it.
        moved.id = insertRow(target, placed, error);
        if (moved.id == 0 ||
            !ran(QStringLiteral(
                     "INSERT INTO %1 (id, at, computer, person, action, details) SELECT ?, at, computer, "
                     "person, action, details FROM %2 WHERE id = ? ORDER BY rowid")
                     .arg(historyTable(target), historyTable(main)),
                 {moved.id, stored.id}) ||
            !ran(carryPatientLinkStatement(Dialect::Files, main, target), {moved.id, stored.id}) ||
            !ran(QStringLiteral("DELETE FROM dados WHERE rowid = ?"), {stored.id}) ||
            !record(main, stored.id, QStringLiteral("moved"), details, error))
            return given(WriteOutcome::Failed);
    }
    if (indexed)
        keepIndex(main, stored.id, target == main ? &placed : nullptr);
    if (!ran(QStringLiteral("DELETE FROM %1 WHERE id = ?").arg(statusTable(main)), {stored.id}) ||
        !ran(QStringLiteral("DELETE FROM %1 WHERE id = ?").arg(heldTable(main)), {stored.id}) ||
        !record(target, moved.id, QStringLiteral("moved"), details, error))
        return given(WriteOutcome::Failed);
    if (!copy.isEmpty()) {
        query.finish();
        if (!carriedCopy({copy, place.copySlot, copy == target, copy == target ? moved.id : 0, details},
                         stored, placed, &moved.copy, error))
            return given(WriteOutcome::Failed);
    }
    query.finish();
    if (!commit(error))
        return given(WriteOutcome::Failed);
    detachAll();
    moved.outcome = WriteOutcome::Done;
    return moved;
}

bool AppointmentStore::carriedCopy(const CopyPlace &copy, const Appointment &stored,
                                   const Appointment &placed, Moved::Copy *carried, QString *error)
{
    QSqlQuery query(connection_.database());
    const auto ran = [&](const QString &statement, const QVariantList &values) {
        query.prepare(statement);
        for (const QVariant &value : values)
            query.addBindValue(value);
        return query.exec() || fail(query, error);
    };
    // The copy as it was made: the first booking of the linked book with the same six fields.
    if (!ran(QStringLiteral("SELECT rowid FROM %1.dados WHERE rowid <> ? AND %2 ORDER BY rowid LIMIT 1")
                 .arg(copy.schema, sameFields()),
             QVariantList{copy.except} + bookingValues(stored)))
        return false;
    const qint64 copyId = query.next() ? query.value(0).toLongLong() : 0;
    query.finish();
    *carried = Moved::Copy::LeftAlone;
    if (copyId == 0)
        return true;
    bool indexed = false;
    beginOwnWrite(copy.schema, &indexed);
    if (copy.takenAway) {
        // The booking itself now stands in the linked book: its copy there goes.
        if (!ran(QStringLiteral("DELETE FROM %1.dados WHERE rowid = ?").arg(copy.schema), {copyId}) ||
            !ran(QStringLiteral("DELETE FROM %1 WHERE id = ?").arg(heldTable(copy.schema)), {copyId}) ||
            !ran(QStringLiteral("DELETE FROM %1 WHERE id = ?").arg(statusTable(copy.schema)), {copyId}) ||
            !record(copy.schema, copyId, QStringLiteral("removed"), copy.details, error))
            return false;
    } else if (!ran(QStringLiteral("UPDATE %1.dados SET data = ?, hora = ? WHERE rowid = ?").arg(copy.schema),
                    {storedDate(placed.date), bookingValues(placed).at(1), copyId}) ||
               !ran(QStringLiteral("DELETE FROM %1 WHERE id = ?").arg(statusTable(copy.schema)), {copyId}) ||
               !record(copy.schema, copyId, QStringLiteral("moved"),
                       movedDetails(stored, copy.slot, copy.slot, placed.date, placed.hora), error)) {
        return false;
    }
    if (indexed)
        keepIndex(copy.schema, copyId, copy.takenAway ? nullptr : &placed);
    *carried = copy.takenAway ? Moved::Copy::Removed : Moved::Copy::Moved;
    return true;
}

AddOutcome AppointmentStore::bookFromWaiting(const Appointment &booking, const QString &settingsFile,
                                             qint64 entry, QString *error)
{
    if (!connection_.ensureOpen(error))
        return AddOutcome::NotStored;
    const QString desk = QStringLiteral("desk");
    if (!attachBook(settingsFile, desk, error, false))
        return AddOutcome::NotStored;
    QSqlDatabase db = connection_.database();
    QSqlQuery query(db);
    const auto given = [&](AddOutcome outcome) {
        query.finish();
        if (outcome == AddOutcome::NotStored)
            db.rollback();
        detachBook(desk);
        return outcome;
    };
    // The entry taken off the list as booked, and the booking stored, or neither.
    if (!begin(error))
        return given(AddOutcome::NotStored);
    bool taken = query.prepare(leaveWaitingStatement(desk + QLatin1Char('.') + waitingListTable()));
    for (const QVariant &value :
         QVariantList{stateKey(WaitingEntry::State::Booked),
                      QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs), entry})
        query.addBindValue(value);
    taken = taken && query.exec();
    if (!taken) {
        fail(query, error);
        return given(AddOutcome::NotStored);
    }
    if (query.numRowsAffected() != 1) {
        *error = QCoreApplication::translate("Storage", "the entry is no longer on the waiting list");
        return given(AddOutcome::NotStored);
    }
    const qint64 id = insertRow(kMain, booking, error);
    if (id == 0 || !record(kMain, id, QStringLiteral("waiting"), addedDetails(booking), error) ||
        !commit(error))
        return given(AddOutcome::NotStored);
    return given(AddOutcome::Stored);
}

bool AppointmentStore::linkPatients(const QVector<BookingLink> &links, QString *error)
{
    const auto linked = [&] {
        QSqlQuery query(connection_.database());
        if (!preparedWithTables(
                query,
                QStringLiteral("INSERT OR REPLACE INTO %1 (id, patient) SELECT rowid, ? FROM dados "
                               "WHERE rowid = ?")
                    .arg(patientLinkTable(kMain)),
                kMain, error))
            return WriteOutcome::Failed;
        for (const BookingLink &link : links) {
            query.addBindValue(link.patient);
            query.addBindValue(link.booking);
            if (!query.exec()) {
                fail(query, error);
                return WriteOutcome::Failed;
            }
        }
        return WriteOutcome::Done;
    };
    return inOwnTransaction(linked, error) == WriteOutcome::Done;
}

bool AppointmentStore::readPatientBookings(qint64 patient, QVector<Appointment> *bookings, QString *error)
{
    if (!connection_.ensureOpen(error))
        return false;
    QSqlQuery query(connection_.database());
    query.setForwardOnly(true);
    // A book no booking of which was ever given a patient, or one without a series or status yet, has
    // none of them.
    if (!query.prepare(patientBookingsQuery(QStringLiteral("dados"), kRowid, kMain)))
        return true;
    query.addBindValue(patient);
    return appendSeriesBookings(query, bookings, error);
}

bool AppointmentStore::readPatientOf(qint64 booking, qint64 *patient, QString *error)
{
    *patient = 0;
    if (!connection_.ensureOpen(error))
        return false;
    QSqlQuery query(connection_.database());
    if (!query.prepare(QStringLiteral("SELECT patient FROM %1 WHERE id = ?").arg(patientLinkTable(kMain))))
        return true; // no booking of the book was ever given a patient
    query.addBindValue(booking);
    if (!query.exec())
        return fail(query, error);
    if (query.next())
        *patient = query.value(0).toLongLong();
    return true;
}

bool AppointmentStore::readPatientLinks(QVector<BookingLink> *links, QString *error)
{
    if (!connection_.ensureOpen(error))
        return false;
    QSqlQuery query(connection_.database());
    query.setForwardOnly(true);
    if (!query.prepare(everyPatientLinkQuery(QStringLiteral("dados"), kRowid, kMain)))
        return true;
    if (!query.exec())
        return fail(query, error);
    while (query.next())
        links->append({0, query.value(0).toLongLong(), query.value(1).toLongLong()});
    return !query.lastError().isValid() || fail(query, error);
}

bool AppointmentStore::readHistory(qint64 id, QVector<HistoryEntry> *history, QString *error)
{
    history->clear();
    if (!connection_.ensureOpen(error))
        return false;
    QSqlQuery query(connection_.database());
    query.setForwardOnly(true);
    if (!query.prepare(readHistoryStatement(Dialect::Files, kMain)))
        return true; // a book that was never written to by this program has no history
    query.addBindValue(id);
    if (!query.exec())
        return fail(query, error);
    appendHistory(query, history);
    return true;
}

} // namespace velmora
