#include "server/server_storage.h"

#include "core/model/appointment.h"
#include "core/model/booking_status.h"
#include "core/model/patient.h"
#include "core/reception/waiting_list.h"
#include "core/safekeeping/activity_log.h"
#include "core/schedule/clinic_calendar.h"
#include "core/storage/stored_bookings.h"
#include "core/text/text_rules.h"
#include "schema/book_schema.h"
#include "schema/booking_sql.h"
#include "schema/calendar_text.h"
#include "schema/patient_sql.h"
#include "schema/settings_fields.h"
#include "schema/slot_files.h"
#include "schema/waiting_sql.h"
#include "server/server_fill.h"
#include "server/server_schema.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlRecord>
#include <QUuid>

#include <limits>

namespace velmora {

namespace {

// What a desk stores is announced on this channel as "DESK SLOT DATE", or "DESK doctors" for settings.
const char *const kChannel = "velmora";
const char *const kDoctorsNotice = "doctors";
const char *const kEverythingNotice = "everything"; // whole books written at once
const char *const kPatientsNotice = "patients";
// How often a server out of reach is tried again without the user asking.
constexpr int kRetryMs = 2000;

QString notifying(int notices)
{
    QStringList calls;
    for (int i = 0; i < notices; ++i)
        calls << QStringLiteral("pg_notify('%1', ?)").arg(QLatin1String(kChannel));
    return calls.join(QStringLiteral(", "));
}

QString addedTo(const QString &name, int slot)
{
    return QStringLiteral("%1 AS (INSERT INTO %2 (%3) VALUES (?, ?, ?, ?, ?, ?) RETURNING id)")
        .arg(name, serverBookTable(slot), bookingColumns());
}

// An entry in the slot's history for each identity the statement named `from` gives; the values: when,
// computer, details. The person is the database role the desk logged in as.
QString loggedFrom(const QString &name, int slot, const QString &from, const char *action)
{
    return QStringLiteral(
               "%1 AS (INSERT INTO %2 (id, at, computer, person, action, details) SELECT id, ?, ?, "
               "session_user, '%3', ? FROM %4)")
        .arg(name, historyTable(serverSchema(slot)), QLatin1String(action), from);
}

// The booking each identity the statement named `from` gives linked to its patient (the value), when it
// has one.
QString patientLinkedFrom(const QString &name, int slot, const QString &from, const Appointment &booking)
{
    if (booking.patient == 0)
        return {};
    return QStringLiteral(", %1 AS (INSERT INTO %2 (id, patient) SELECT id, CAST(? AS bigint) FROM %3)")
        .arg(name, patientLinkTable(serverSchema(slot)), from);
}

QVariantList patientValue(const Appointment &booking)
{
    return booking.patient == 0 ? QVariantList() : QVariantList{booking.patient};
}

QVariantList entryValues(const Desk &desk, const QString &details)
{
    return {QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs), desk.computer, details};
}

// The stored key of the status number in column.
QString statusKeyOf(const QString &column)
{
    QString cases;
    for (int number = 0; number < kBookingStatusCount; ++number)
        cases += QStringLiteral(" WHEN %1 THEN '%2'").arg(number).arg(statusKey(statusFromNumber(number)));
    return QStringLiteral("CASE %1%2 END").arg(column, cases);
}

// The rows a statement gave, read to the end.
int rowsOf(QSqlQuery &query)
{
    int rows = 0;
    while (query.next())
        ++rows;
    query.finish();
    return rows;
}

QString noLongerStored()
{
    return QCoreApplication::translate("Storage", "the appointment is no longer stored");
}

// What a write matched as read did: it gave one row when the booking was there as read.
WriteOutcome matchedOnce(QSqlQuery *query, QString *error)
{
    if (!query)
        return WriteOutcome::Failed;
    if (rowsOf(*query) == 1)
        return WriteOutcome::Done;
    *error = noLongerStored();
    return WriteOutcome::NoLongerStored;
}

// A PostgreSQL array literal of the texts, each quoted.
QString textArray(const QStringList &texts)
{
    QStringList quoted;
    for (QString text : texts)
        quoted << QLatin1Char('"') +
                      text.replace(QLatin1Char('\\'), QLatin1String("\\\\"))
                          .replace(QLatin1Char('"'), QLatin1String("\\\"")) +
                      QLatin1Char('"');
    return QLatin1Char('{') + quoted.join(QLatin1Char(',')) + QLatin1Char('}');
}

} // namespace

ServerStorage::ServerStorage(const QString &url, int timeLimitMs)
    : connection_(QStringLiteral("Books"), url, timeLimitMs), url_(url), timeLimitMs_(timeLimitMs),
      desk_(QUuid::createUuid().toString(QUuid::Id128).left(12)), thisDesk_(thisDesk())
{
}

ServerStorage::~ServerStorage() = default;

void ServerStorage::onlyRead()
{
    onlyRead_ = true;
    connection_.onlyRead();
}

bool ServerStorage::prepare(QString *error, bool *foreign)
{
    if (foreign)
        *foreign = false;
    if (!connection_.ensureOpen(error))
        return false;
    QString problem;
    QString reason;
    bool prepared = false;
    const auto readyBooks = [&] {
        if (!onlyRead_)
            return prepareServer(connection_.database(), &problem, &reason);
        ServerContents contents = ServerContents::Foreign;
        if (!inspectServer(connection_.database(), &contents, &problem, &reason))
            return false;
        if (contents == ServerContents::Empty)
            reason = QCoreApplication::translate("Storage", "the database holds no books yet");
        return contents == ServerContents::Books || contents == ServerContents::BooksWithoutStatuses;
    };
    if (!connection_.withinLimit(readyBooks, &prepared, error))
        return false;
    if (!prepared) {
        if (foreign)
            *foreign = !problem.isEmpty();
        *error = connection_.named(
            problem.isEmpty()
                ? reason
                : QCoreApplication::translate("Storage", "the database is not Velmora's: %1").arg(problem));
        connection_.dropIfLost(*error);
        return false;
    }
    prepared_ = true;
    // The searches' indexes, made by the first login that may make them; read from then on.
    bool indexed = false;
    QString unanswered;
    connection_.withinLimit(
        [&] {
            return onlyRead_ ? searchIndexesThere(connection_.database())
                             : ensureSearchIndexes(connection_.database());
        },
        &indexed, &unanswered);
    searchIndexed_ = indexed;
    bool keeps = false;
    QString unasked;
    connection_.withinLimit([&] { return serverKeepsHistory(connection_.database()); }, &keeps, &unasked);
    serverKeepsHistory_ = keeps;
    seriesKept_ = !neverSetUp(seriesTable(serverSchema(1)));
    heldKept_ = !neverSetUp(serverHeldTable());
    linksKept_ = !neverSetUp(patientLinkTable(serverSchema(1)));
    return true;
}

bool ServerStorage::ready(QString *error)
{
    if (!connection_.ensureOpen(error))
        return false;
    const bool reconnected = connection_.takeReconnected();
    if (!prepared_ && !prepare(error))
        return false;
    // Back from an absence: the watch need not wait for its next try.
    if (reconnected && watch_)
        watch_->start();
    return true;
}

QSqlQuery *ServerStorage::run(const QString &statement, const QVariantList &values, QString *error)
{
    return ready(error) ? connection_.run(statement, values, error) : nullptr;
}

bool ServerStorage::neverSetUp(const QString &table)
{
    QString ignored;
    QSqlQuery *query = run(QStringLiteral("SELECT to_regclass(?) IS NULL"), {table}, &ignored);
    const bool none = query && query->next() && query->value(0).toBool();
    if (query)
        query->finish();
    return none;
}

QString ServerStorage::unheld(int slot, const QString &from) const
{
    // A booking removed or cancelled is no longer there to be moved: its hold goes in the same statement.
    return heldKept_
               ? QStringLiteral(", unheld AS (DELETE FROM %1 WHERE slot = %2 AND id IN (SELECT id FROM %3))")
                     .arg(serverHeldTable())
                     .arg(slot)
                     .arg(from)
               : QString();
}

QString ServerStorage::logged(const QString &name, int slot, const QString &from, const char *action) const
{
    return serverKeepsHistory_ ? QString() : QStringLiteral(", ") + loggedFrom(name, slot, from, action);
}

QString ServerStorage::dayNotice(int slot, QDate date) const
{
    return QStringLiteral("%1 %2 %3").arg(desk_).arg(slot).arg(storedDate(date));
}

QString ServerStorage::everythingNotice() const
{
    return QStringLiteral("%1 %2").arg(desk_, QLatin1String(kEverythingNotice));
}

QString ServerStorage::announcing()
{
    return QStringLiteral("SELECT %1").arg(notifying(1));
}

bool ServerStorage::openBook(int slot, QString *error)
{
    // Reached, and the older program's placeholder record put in a book that holds none, at once.
    return run(QStringLiteral("INSERT INTO %1 (data) SELECT ? WHERE NOT EXISTS (SELECT 1 FROM %1)")
                   .arg(serverBookTable(slot)),
               {storedDate(placeholderDate())}, error) != nullptr;
}

bool ServerStorage::readDay(int slot, QDate date, QVector<Appointment> *bookings, QString *error)
{
    bookings->clear();
    QSqlQuery *query = run(dayQuery(serverBookTable(slot), QStringLiteral("id"),
                                    statusTable(serverSchema(slot)), seriesTableOf(slot)),
                           {storedDate(date)}, error);
    if (!query)
        return false;
    appendDayBookings(*query, date, bookings);
    query->finish();
    return true;
}

bool ServerStorage::readDays(const QVector<int> &slots, QDate date, std::map<int, QVector<Appointment>> *days,
                             QString *error)
{
    // One statement and one round trip for every book's day, each book's rows in their order.
    QStringList parts;
    QVariantList values;
    for (const int slot : slots) {
        parts << QStringLiteral("SELECT q.*, %1 AS slot FROM (%2) q")
                     .arg(slot)
                     .arg(dayQuery(serverBookTable(slot), QStringLiteral("id"),
                                   statusTable(serverSchema(slot)), seriesTableOf(slot)));
        values << storedDate(date);
        (*days)[slot].clear();
    }
    if (parts.isEmpty())
        return true;
    QSqlQuery *query = run(QStringLiteral("SELECT * FROM (%1) u ORDER BY slot, id")
                               .arg(parts.join(QStringLiteral(" UNION ALL "))),
                           values, error);
    if (!query)
        return false;
    while (query->next()) {
        Appointment booking;
        booking.id = query->value(0).toLongLong();
        booking.date = date;
        booking.hora = query->value(1).toString();
        booking.nome = query->value(2).toString();
        booking.convenio = query->value(3).toString();
        booking.telefone = query->value(4).toString();
        booking.obs = query->value(5).toString();
        booking.status = statusFromNumber(query->value(6).toInt());
        const int slotColumn = query->record().count() - 1;
        if (slotColumn > 9)
            booking.series = {query->value(7).toLongLong(), query->value(8).toInt(), query->value(9).toInt()};
        (*days)[query->value(slotColumn).toInt()].append(booking);
    }
    query->finish();
    return true;
}

bool ServerStorage::readPeriod(int slot, QDate from, QDate to, QVector<Appointment> *bookings, QString *error)
{
    bookings->clear();
    QSqlQuery *query = run(periodQuery(serverBookTable(slot), QStringLiteral("id"),
                                       statusTable(serverSchema(slot)), seriesTableOf(slot)),
                           {storedDate(from), storedDate(to)}, error);
    if (!query)
        return false;
    appendPeriodBookings(*query, bookings);
    query->finish();
    return true;
}

Appointment ServerStorage::storable(const Appointment &booking) const
{
    if (linksKept_ || booking.patient == 0)
        return booking;
    qCWarning(logServer) << "the books keep no patients: run velmora --server-setup again";
    Appointment alone = booking;
    alone.patient = 0;
    return alone;
}

Added ServerStorage::add(int slot, const Appointment &given, int linkedSlot, QString *error)
{
    const Appointment booking = storable(given);
    const QVariantList values = bookingValues(booking);
    // Where the server keeps the history itself, the desk writes none.
    const QVariantList entry =
        serverKeepsHistory_ ? QVariantList() : entryValues(thisDesk_, addedDetails(booking));
    const QVariant notice = dayNotice(slot, booking.date);
    QString linkProblem;
    if (isDoctorSlot(linkedSlot) && linkedSlot != slot) {
        // Both rows in one statement: the server commits them together or not at all.
        QSqlQuery *query = run(
            QStringLiteral("WITH %1, %2%3%4%5%6 SELECT %7 FROM added, copied")
                .arg(addedTo(QStringLiteral("added"), slot), addedTo(QStringLiteral("copied"), linkedSlot),
                     logged(QStringLiteral("logged"), slot, QStringLiteral("added"), "added"),
                     logged(QStringLiteral("copylogged"), linkedSlot, QStringLiteral("copied"), "added"),
                     patientLinkedFrom(QStringLiteral("linked"), slot, QStringLiteral("added"), booking),
                     patientLinkedFrom(QStringLiteral("copylinked"), linkedSlot, QStringLiteral("copied"),
                                       booking),
                     notifying(2)),
            values + values + entry + entry + patientValue(booking) + patientValue(booking) +
                QVariantList{notice, dayNotice(linkedSlot, booking.date)},
            &linkProblem);
        if (query) {
            rowsOf(*query);
            return {AddOutcome::Stored};
        }
        // The server gone is no fault of the linked book: nothing was stored.
        if (!connection_.isOpen()) {
            *error = linkProblem;
            return {AddOutcome::NotStored};
        }
    }
    QSqlQuery *query =
        run(QStringLiteral("WITH %1%2%3 SELECT %4 FROM added")
                .arg(addedTo(QStringLiteral("added"), slot),
                     logged(QStringLiteral("logged"), slot, QStringLiteral("added"), "added"),
                     patientLinkedFrom(QStringLiteral("linked"), slot, QStringLiteral("added"), booking),
                     notifying(1)),
            values + entry + patientValue(booking) + QVariantList{notice}, error);
    if (!query)
        return {AddOutcome::NotStored};
    rowsOf(*query);
    if (linkProblem.isEmpty())
        return {AddOutcome::Stored};
    *error = QCoreApplication::translate("Storage", "\"%1\" could not be written: %2")
                 .arg(serverBookTable(linkedSlot), linkProblem);
    return {AddOutcome::StoredWithoutCopy};
}

WriteOutcome ServerStorage::update(int slot, const Appointment &stored, const Appointment &changed,
                                   QString *error)
{
    // The status follows the booking's new name.
    const QVariantList values = bookingValues(changed);
    QSqlQuery *query = run(
        QStringLiteral("WITH changed AS (%1 RETURNING id), renamed AS (UPDATE %2 SET nome = ? WHERE id IN "
                       "(SELECT id FROM changed))%3 SELECT %4 FROM changed")
            .arg(updateStored(serverBookTable(slot), QStringLiteral("id")), statusTable(serverSchema(slot)),
                 logged(QStringLiteral("logged"), slot, QStringLiteral("changed"), "changed"), notifying(1)),
        values + storedValues(stored) + QVariantList{values.at(2)} +
            (serverKeepsHistory_ ? QVariantList() : entryValues(thisDesk_, changedDetails(stored, changed))) +
            QVariantList{dayNotice(slot, changed.date)},
        error);
    return matchedOnce(query, error);
}

WriteOutcome ServerStorage::remove(int slot, const Appointment &stored, QString *error)
{
    QSqlQuery *query = run(
        QStringLiteral("WITH removed AS (DELETE FROM %1 WHERE %2 RETURNING id), gone AS (DELETE FROM %3 "
                       "WHERE id IN (SELECT id FROM removed))%4%5 SELECT %6 FROM removed")
            .arg(serverBookTable(slot), matchesStored(QStringLiteral("id")), statusTable(serverSchema(slot)),
                 unheld(slot, QStringLiteral("removed")),
                 logged(QStringLiteral("logged"), slot, QStringLiteral("removed"), "removed"), notifying(1)),
        storedValues(stored) +
            (serverKeepsHistory_ ? QVariantList() : entryValues(thisDesk_, addedDetails(stored))) +
            QVariantList{dayNotice(slot, stored.date)},
        error);
    return matchedOnce(query, error);
}

WriteOutcome ServerStorage::setStatus(int slot, const Appointment &stored, BookingStatus status,
                                      QString *error)
{
    // The history's details name the status as it was, read in the same statement.
    const QString statuses = statusTable(serverSchema(slot));
    const QVariant name = bookingValues(stored).at(2);
    QVariantList values = storedValues(stored);
    values << stored.id << name << name << static_cast<int>(status);
    if (!serverKeepsHistory_)
        values << QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs) << thisDesk_.computer
               << QStringLiteral("status: ") << QStringLiteral(" \u2192 ") + statusKey(status);
    values << dayNotice(slot, stored.date);
    const QString statusLogged =
        serverKeepsHistory_
            ? QString()
            : QStringLiteral(
                  ", logged AS (INSERT INTO %1 (id, at, computer, person, action, details) SELECT "
                  "id, ?, ?, session_user, 'status', ? || (SELECT %2 FROM before) || ? FROM target)")
                  .arg(historyTable(serverSchema(slot)), statusKeyOf(QStringLiteral("status")));
    QSqlQuery *query = run(
        QStringLiteral(
            "WITH target AS (SELECT id FROM %1 WHERE %2 FOR UPDATE), before AS (SELECT coalesce((SELECT "
            "status "
            "FROM %3 WHERE id = ? AND nome = ?), 0) AS status), saved AS (INSERT INTO %3 (id, nome, status) "
            "SELECT id, ?, ? FROM target ON CONFLICT (id) DO UPDATE SET nome = excluded.nome, status = "
            "excluded.status)%4%5 SELECT %6 FROM target")
            .arg(serverBookTable(slot), matchesStored(QStringLiteral("id")), statuses, statusLogged,
                 status == BookingStatus::Cancelled ? unheld(slot, QStringLiteral("target")) : QString(),
                 notifying(1)),
        values, error);
    return matchedOnce(query, error);
}

WriteOutcome ServerStorage::hold(int slot, const Appointment &stored, QString *error)
{
    QSqlQuery *query = run(
        QStringLiteral(
            "WITH target AS (SELECT id FROM %1 WHERE %2), held AS (INSERT INTO %3 (slot, id, at, computer, "
            "person) SELECT ?, id, ?, ?, session_user FROM target ON CONFLICT DO NOTHING) SELECT %4 FROM "
            "target")
            .arg(serverBookTable(slot), matchesStored(QStringLiteral("id")), serverHeldTable(), notifying(1)),
        storedValues(stored) + QVariantList{slot, QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs),
                                            thisDesk_.computer, dayNotice(slot, stored.date)},
        error);
    return matchedOnce(query, error);
}

bool ServerStorage::putBack(int slot, qint64 id, QString *error)
{
    // The other desks are told of the booking's day, read as it is undone.
    QSqlQuery *query =
        run(QStringLiteral("WITH gone AS (DELETE FROM %1 WHERE slot = ? AND id = ? RETURNING id) "
                           "SELECT pg_notify('%2', ? || b.data) FROM gone JOIN %3 b USING (id)")
                .arg(serverHeldTable(), QLatin1String(kChannel), serverBookTable(slot)),
            {slot, id, QStringLiteral("%1 %2 ").arg(desk_).arg(slot)}, error);
    if (!query)
        return false;
    query->finish();
    return true;
}

bool ServerStorage::readHeld(QVector<HeldBooking> *held, QString *error)
{
    held->clear();
    QStringList books;
    for (const DoctorSlot &slot : kDoctorSlots)
        books << QStringLiteral("SELECT h.at, h.computer, h.person, h.slot, b.id, %1 FROM %2 h JOIN %3 b ON "
                                "h.slot = %4 AND b.id = h.id")
                     .arg(bookingColumns(), serverHeldTable(), serverBookTable(slot.slot))
                     .arg(slot.slot);
    QSqlQuery *query = run(
        QStringLiteral("SELECT * FROM (%1) held ORDER BY 1").arg(books.join(QStringLiteral(" UNION ALL "))),
        {}, error);
    if (!query) {
        // Books set up before bookings could be held have none until the set-up is run again.
        return neverSetUp(serverHeldTable());
    }
    while (query->next()) {
        HeldBooking booking;
        booking.at = QDateTime::fromString(query->value(0).toString(), Qt::ISODateWithMs);
        booking.computer = query->value(1).toString();
        booking.person = query->value(2).toString();
        booking.slot = query->value(3).toInt();
        booking.booking.id = query->value(4).toLongLong();
        booking.booking.date = QDate::fromString(query->value(5).toString().left(10), Qt::ISODate);
        booking.booking.hora = query->value(6).toString();
        booking.booking.nome = query->value(7).toString();
        booking.booking.convenio = query->value(8).toString();
        booking.booking.telefone = query->value(9).toString();
        booking.booking.obs = query->value(10).toString();
        held->append(booking);
    }
    query->finish();
    return true;
}

QString ServerStorage::seriesTableOf(int slot) const
{
    return seriesKept_ ? seriesTable(serverSchema(slot)) : QString();
}

bool ServerStorage::inTransaction(const std::function<bool()> &write, QString *error)
{
    if (!ready(error))
        return false;
    QSqlDatabase db = connection_.database();
    if (!db.transaction()) {
        *error = connection_.failure(db.lastError());
        return false;
    }
    if (write() && db.commit())
        return true;
    if (error->isEmpty())
        *error = connection_.failure(db.lastError());
    db.rollback();
    return false;
}

AddOutcome ServerStorage::addSeries(int slot, const QVector<Appointment> &given, int linkedSlot,
                                    const QVector<bool> &squeezeIns, QVector<qint64> *ids, QString *error)
{
    QVector<Appointment> bookings;
    for (const Appointment &booking : given)
        bookings.append(storable(booking));
    if (!seriesKept_) {
        *error = connection_.named(olderServerSetUp());
        return AddOutcome::NotStored;
    }
    const bool linked = isDoctorSlot(linkedSlot) && linkedSlot != slot;
    const auto stored = [&](bool withCopies, QString *why) {
        ids->clear();
        return inTransaction(
            [&] {
                for (int i = 0; i < bookings.size(); ++i)
                    if (!squeezeIns.value(i) && !timeFree(slot, bookings.at(i), 0, why))
                        return false;
                for (const Appointment &booking : bookings) {
                    const QVariantList values = bookingValues(booking);
                    const QVariantList entry =
                        serverKeepsHistory_ ? QVariantList() : entryValues(thisDesk_, addedDetails(booking));
                    const QVariant series =
                        ids->isEmpty() ? QVariant(QMetaType(QMetaType::LongLong)) : QVariant(ids->first());
                    QVariantList all =
                        values + QVariantList{series, booking.series.number, booking.series.total};
                    QString statement =
                        QStringLiteral(
                            "WITH %1, placed AS (INSERT INTO %2 (id, series, number, total) SELECT id, "
                            "coalesce(CAST(? AS bigint), id), ?, ? FROM added)")
                            .arg(addedTo(QStringLiteral("added"), slot), seriesTable(serverSchema(slot)));
                    if (withCopies) {
                        statement += QStringLiteral(", ") + addedTo(QStringLiteral("copied"), linkedSlot);
                        all += values;
                    }
                    statement += logged(QStringLiteral("logged"), slot, QStringLiteral("added"), "added");
                    all += entry;
                    if (withCopies) {
                        statement += logged(QStringLiteral("copylogged"), linkedSlot,
                                            QStringLiteral("copied"), "added");
                        all += entry;
                    }
                    statement +=
                        patientLinkedFrom(QStringLiteral("linked"), slot, QStringLiteral("added"), booking);
                    all += patientValue(booking);
                    if (withCopies) {
                        statement += patientLinkedFrom(QStringLiteral("copylinked"), linkedSlot,
                                                       QStringLiteral("copied"), booking);
                        all += patientValue(booking);
                    }
                    statement += QStringLiteral(" SELECT added.id, %1 FROM added%2")
                                     .arg(notifying(withCopies ? 2 : 1),
                                          withCopies ? QStringLiteral(", copied") : QString());
                    all << dayNotice(slot, booking.date);
                    if (withCopies)
                        all << dayNotice(linkedSlot, booking.date);
                    QSqlQuery *query = connection_.run(statement, all, why);
                    if (!query || !query->next())
                        return false;
                    ids->append(query->value(0).toLongLong());
                    query->finish();
                }
                return true;
            },
            why);
    };
    QString linkProblem;
    if (linked && stored(true, &linkProblem))
        return AddOutcome::Stored;
    // The server gone is no fault of the linked book: nothing was stored.
    if (linked && !connection_.isOpen()) {
        *error = linkProblem;
        return AddOutcome::NotStored;
    }
    if (!stored(false, error))
        return AddOutcome::NotStored;
    if (!linked)
        return AddOutcome::Stored;
    *error = QCoreApplication::translate("Storage", "\"%1\" could not be written: %2")
                 .arg(serverBookTable(linkedSlot), linkProblem);
    return AddOutcome::StoredWithoutCopy;
}

bool ServerStorage::foundInEveryBook(const std::function<std::pair<QString, QVariantList>(int slot)> &queryOf,
                                     QVector<FoundBooking> *bookings, QString *error)
{
    // The ten books in one statement, each row with its book's slot last: one round trip to the server.
    QStringList parts;
    QVariantList values;
    for (const DoctorSlot &slot : kDoctorSlots) {
        const auto [statement, bound] = queryOf(slot.slot);
        parts << QStringLiteral("SELECT q.*, %1 AS slot FROM (%2) q").arg(slot.slot).arg(statement);
        values += bound;
    }
    QSqlQuery *query = run(parts.join(QStringLiteral(" UNION ALL ")), values, error);
    if (!query)
        return false;
    const int slotColumn = query->record().count() - 1;
    while (query->next())
        bookings->append({query->value(slotColumn).toInt(), wholeRowBooking(*query, true, slotColumn)});
    query->finish();
    return true;
}

bool ServerStorage::readSeries(int slot, qint64 series, QVector<Appointment> *bookings, QString *error)
{
    bookings->clear();
    if (!ready(error))
        return false;
    if (!seriesKept_)
        return true;
    QSqlQuery *query =
        run(seriesQuery(serverBookTable(slot), QStringLiteral("id"), serverSchema(slot)), {series}, error);
    if (!query)
        return false;
    while (query->next())
        bookings->append(wholeRowBooking(*query, true));
    query->finish();
    return true;
}

bool ServerStorage::readSeriesEnding(QDate from, QVector<FoundBooking> *bookings, QString *error)
{
    bookings->clear();
    if (!ready(error))
        return false;
    if (!seriesKept_)
        return true;
    return foundInEveryBook(
        [from](int slot) {
            return std::pair{seriesEndingQuery(serverBookTable(slot), QStringLiteral("id"),
                                               serverSchema(slot), kSeriesEndingLeft),
                             QVariantList{storedDate(from), storedDate(from)}};
        },
        bookings, error);
}

WriteOutcome ServerStorage::writeSeries(int slot, const QVector<BookingWrite> &writes, int linkedSlot,
                                        QString *error)
{
    WriteOutcome outcome = WriteOutcome::Done;
    const bool written = inTransaction(
        [&] {
            for (const BookingWrite &write : writes) {
                switch (write.kind) {
                case BookingWrite::Kind::Change:
                    outcome = update(slot, write.stored, write.changed, error);
                    break;
                case BookingWrite::Kind::Remove:
                    outcome = remove(slot, write.stored, error);
                    break;
                case BookingWrite::Kind::Status:
                    outcome = setStatus(slot, write.stored, write.status, error);
                    break;
                case BookingWrite::Kind::Move:
                    outcome = movedAsRead(slot, write.stored, slot, write.changed.date, write.changed.hora,
                                          linkedSlot, error)
                                  .outcome;
                    break;
                }
                if (outcome != WriteOutcome::Done)
                    return false;
            }
            return true;
        },
        error);
    return written ? WriteOutcome::Done : outcome == WriteOutcome::Done ? WriteOutcome::Failed : outcome;
}

Moved ServerStorage::move(int slot, const Appointment &stored, int toSlot, QDate date, const QString &time,
                          int linkedSlot, QString *error)
{
    // Decided in the write: the time locked against every other desk placing there, looked at, then
    // the booking moved, in one transaction.
    Moved moved;
    inTransaction(
        [&] {
            Appointment placed = stored;
            placed.date = date;
            placed.hora = time;
            if (!timeFree(toSlot, placed, toSlot == slot ? stored.id : 0, error, stored))
                return false;
            moved = movedAsRead(slot, stored, toSlot, date, time, linkedSlot, error);
            return moved.outcome == WriteOutcome::Done;
        },
        error);
    return moved;
}

bool ServerStorage::timeFree(int slot, const Appointment &booking, qint64 except, QString *error,
                             const std::optional<Appointment> &moving)
{
    // The time locked against every other desk placing or booking a series there, then looked at.
    QSqlQuery *locked = run(QStringLiteral("SELECT pg_advisory_xact_lock(?, hashtext(?))"),
                            {slot, storedDate(booking.date) + meantTime(booking.hora)}, error);
    if (!locked)
        return false;
    locked->finish();
    QSqlQuery *taken =
        run(takenAtStatement(serverBookTable(slot), QStringLiteral("id")),
            takenAtValues(booking.date, booking.hora, except, moving.value_or(booking)), error);
    if (!taken)
        return false;
    const bool free = !taken->next();
    if (!free)
        *error = connection_.named(takenMeanwhile(booking.hora, taken->value(0).toString()));
    taken->finish();
    return free;
}

Moved ServerStorage::movedAsRead(int slot, const Appointment &stored, int toSlot, QDate date,
                                 const QString &time, int linkedSlot, QString *error)
{
    Moved moved;
    const QVariantList fields = bookingValues(stored);
    QStringList texts;
    for (const QVariant &field : fields)
        texts << field.toString();
    const int copySlot = isDoctorSlot(linkedSlot) ? linkedSlot : 0;
    Appointment placed = stored;
    placed.date = date;
    placed.hora = time;
    const QVariantList notices{dayNotice(slot, stored.date), dayNotice(toSlot, date),
                               dayNotice(copySlot != 0 ? copySlot : slot, stored.date),
                               dayNotice(copySlot != 0 ? copySlot : toSlot, date)};
    // The fields go as one array of texts, each as bookingValues() gives it.
    QSqlQuery *query =
        run(QStringLiteral("SELECT public.velmora_move(?, ?, ?::text[], ?, ?, ?, ?), %1").arg(notifying(4)),
            QVariantList{slot, stored.id, textArray(texts), toSlot, storedDate(date),
                         bookingValues(placed).at(1), copySlot} +
                notices,
            error);
    if (!query)
        return moved;
    const QString result = query->next() ? query->value(0).toString() : QString();
    query->finish();
    if (result.isEmpty()) {
        *error = noLongerStored();
        moved.outcome = WriteOutcome::NoLongerStored;
        return moved;
    }
    moved.outcome = WriteOutcome::Done;
    moved.id = result.section(QLatin1Char(' '), 0, 0).toLongLong();
    const QString copy = result.section(QLatin1Char(' '), 1);
    moved.copy = copy == QLatin1String("moved")     ? Moved::Copy::Moved
                 : copy == QLatin1String("left")    ? Moved::Copy::LeftAlone
                 : copy == QLatin1String("removed") ? Moved::Copy::Removed
                                                    : Moved::Copy::None;
    return moved;
}

PatientSaved ServerStorage::savePatient(const Patient &patient, qint64 *id, QString *error)
{
    // One statement either way: a CPF another patient holds, or one another desk is storing at this
    // moment, leaves the row unwritten.
    const QString table = QStringLiteral("public.") + patientsTable();
    QSqlQuery *query =
        patient.id == 0
            ? run(QStringLiteral("INSERT INTO %1 (cpf, record) VALUES (?, ?) ON CONFLICT (cpf) DO NOTHING "
                                 "RETURNING id")
                      .arg(table),
                  {storedCpf(patient), patientText(patient)}, error)
            : run(QStringLiteral(
                      "UPDATE %1 SET cpf = ?, record = ? WHERE id = ? AND NOT EXISTS (SELECT 1 FROM "
                      "%1 WHERE cpf = ? AND id <> ?) RETURNING id")
                      .arg(table),
                  {storedCpf(patient), patientText(patient), patient.id, storedCpf(patient), patient.id},
                  error);
    if (!query) {
        // Another desk gave the same CPF to another patient at this very moment: the unique CPF refused
        // this write.
        QString unused;
        QSqlQuery *holder = patient.cpf.isEmpty()
                                ? nullptr
                                : run(QStringLiteral("SELECT 1 FROM %1 WHERE cpf = ? AND id <> ?").arg(table),
                                      {patient.cpf, patient.id}, &unused);
        const bool taken = holder && holder->next();
        if (holder)
            holder->finish();
        return taken ? PatientSaved::CpfTaken : PatientSaved::Failed;
    }
    const bool written = query->next();
    if (written)
        *id = query->value(0).toLongLong();
    query->finish();
    if (written)
        announcePatients();
    return written ? PatientSaved::Saved : PatientSaved::CpfTaken;
}

bool ServerStorage::readPatients(QVector<Patient> *patients, QString *error)
{
    patients->clear();
    QSqlQuery *query =
        run(QStringLiteral("SELECT id, record FROM public.%1 ORDER BY id").arg(patientsTable()), {}, error);
    if (!query)
        return neverSetUp(QStringLiteral("public.") + patientsTable());
    while (query->next()) {
        Patient patient;
        patient.id = query->value(0).toLongLong();
        if (patientFromText(query->value(1).toString(), &patient))
            patients->append(patient);
    }
    query->finish();
    return true;
}

void ServerStorage::announcePatients()
{
    // The other desks read the patients again when next they need them.
    QString unheard;
    if (QSqlQuery *query =
            run(QStringLiteral("SELECT %1").arg(notifying(1)),
                {QStringLiteral("%1 %2").arg(desk_, QLatin1String(kPatientsNotice))}, &unheard))
        query->finish();
}

bool ServerStorage::linkBookings(const QVector<BookingLink> &links, QString *error)
{
    if (links.isEmpty())
        return true;
    if (!ready(error))
        return false;
    if (!linksKept_) {
        *error = connection_.named(olderServerSetUp());
        return false;
    }
    const bool linked = inTransaction(
        [&] {
            for (const BookingLink &link : links) {
                QSqlQuery *query = connection_.run(
                    QStringLiteral(
                        "INSERT INTO %1 (id, patient) SELECT id, CAST(? AS bigint) FROM %2 WHERE id "
                        "= ? ON CONFLICT (id) DO UPDATE SET patient = excluded.patient")
                        .arg(patientLinkTable(serverSchema(link.slot)), serverBookTable(link.slot)),
                    {link.patient, link.booking}, error);
                if (!query)
                    return false;
                query->finish();
            }
            return true;
        },
        error);
    if (linked)
        announcePatients();
    return linked;
}

bool ServerStorage::readBookingLinks(int slot, QVector<BookingLink> *links, QString *error)
{
    links->clear();
    QSqlQuery *query = run(
        everyPatientLinkQuery(serverBookTable(slot), QStringLiteral("id"), serverSchema(slot)), {}, error);
    if (!query)
        return neverSetUp(patientLinkTable(serverSchema(slot)));
    while (query->next())
        links->append({slot, query->value(0).toLongLong(), query->value(1).toLongLong()});
    query->finish();
    return true;
}

bool ServerStorage::readPatientOf(int slot, qint64 booking, qint64 *patient, QString *error)
{
    *patient = 0;
    QSqlQuery *query =
        run(QStringLiteral("SELECT patient FROM %1 WHERE id = ?").arg(patientLinkTable(serverSchema(slot))),
            {booking}, error);
    if (!query)
        return neverSetUp(patientLinkTable(serverSchema(slot)));
    if (query->next())
        *patient = query->value(0).toLongLong();
    query->finish();
    return true;
}

bool ServerStorage::readPatientBookings(qint64 patient, QVector<FoundBooking> *bookings, QString *error)
{
    bookings->clear();
    const bool read = foundInEveryBook(
        [patient](int slot) {
            return std::pair{
                patientBookingsQuery(serverBookTable(slot), QStringLiteral("id"), serverSchema(slot)),
                QVariantList{patient}};
        },
        bookings, error);
    // Books set up before the patients have no links: no booking is anyone's yet.
    return read || neverSetUp(patientLinkTable(serverSchema(1)));
}

bool ServerStorage::readSqueezeLimits(SqueezeLimits *limits, QString *error)
{
    limits->fill(std::nullopt);
    QSqlQuery *query =
        run(QStringLiteral("SELECT slot, per_day FROM public.%1").arg(squeezeLimitsTable()), {}, error);
    if (!query) {
        // Books set up before the limits have none until the set-up is run again.
        return neverSetUp(QStringLiteral("public.") + squeezeLimitsTable());
    }
    while (query->next())
        if (isDoctorSlot(query->value(0).toInt()))
            (*limits)[static_cast<size_t>(query->value(0).toInt() - 1)] =
                std::max(0, query->value(1).toInt());
    query->finish();
    return true;
}

bool ServerStorage::saveSqueezeLimits(const SqueezeLimits &limits, QString *error)
{
    // Replaced whole in one statement, the other desks told as of a settings save.
    QStringList rows;
    QVariantList values;
    for (int slot = 1; slot <= kDoctorSlotCount; ++slot)
        if (const std::optional<int> limit = limits[static_cast<size_t>(slot - 1)]) {
            rows << QStringLiteral("(?::integer, ?::integer)");
            values << slot << *limit;
        }
    const QString put = rows.isEmpty()
                            ? QString()
                            : QStringLiteral(", put AS (INSERT INTO public.%1 (slot, per_day) VALUES %2)")
                                  .arg(squeezeLimitsTable(), rows.join(QStringLiteral(", ")));
    QSqlQuery *query =
        run(QStringLiteral("WITH gone AS (DELETE FROM public.%1)%2 SELECT %3")
                .arg(squeezeLimitsTable(), put, notifying(1)),
            values + QVariantList{QStringLiteral("%1 %2").arg(desk_, QLatin1String(kDoctorsNotice))}, error);
    if (!query)
        return false;
    query->finish();
    return true;
}

bool ServerStorage::readWaitingList(QVector<WaitingEntry> *entries, QString *error)
{
    entries->clear();
    QSqlQuery *query =
        run(QStringLiteral("SELECT id, %1 FROM %2 ORDER BY id").arg(waitingColumns(), serverWaitingTable()),
            {}, error);
    if (!query) {
        // Books set up before the waiting list have none until the set-up is run again.
        return neverSetUp(serverWaitingTable());
    }
    while (query->next())
        entries->append(waitingEntryOf(*query));
    query->finish();
    return true;
}

bool ServerStorage::addToWaitingList(const WaitingEntry &entry, QString *error)
{
    WaitingEntry waiting = entry;
    waiting.state = WaitingEntry::State::Waiting;
    waiting.leftAt = {};
    const QVariantList values = waitingValues(waiting);
    // The other desks are told as of a settings save: they read the list again.
    QSqlQuery *query =
        run(QStringLiteral("WITH added AS (INSERT INTO %1 (%2) VALUES (?%3)) SELECT %4")
                .arg(serverWaitingTable(), waitingColumns(),
                     QStringLiteral(", ?").repeated(values.size() - 1), notifying(1)),
            values + QVariantList{QStringLiteral("%1 %2").arg(desk_, QLatin1String(kDoctorsNotice))}, error);
    if (!query)
        return false;
    query->finish();
    return true;
}

WriteOutcome ServerStorage::leaveWaitingList(qint64 id, WaitingEntry::State state, QString *error)
{
    QSqlQuery *query = run(QStringLiteral("WITH gone AS (%1 RETURNING id) SELECT %2 FROM gone")
                               .arg(leaveWaitingStatement(serverWaitingTable()), notifying(1)),
                           {stateKey(state), QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs), id,
                            QStringLiteral("%1 %2").arg(desk_, QLatin1String(kDoctorsNotice))},
                           error);
    const WriteOutcome outcome = matchedOnce(query, error);
    if (outcome == WriteOutcome::NoLongerStored)
        *error = QCoreApplication::translate("Storage", "the entry is no longer on the waiting list");
    return outcome;
}

AddOutcome ServerStorage::bookFromWaitingList(int slot, qint64 id, const Appointment &given, QString *error)
{
    const Appointment booking = storable(given);
    QStringList texts;
    for (const QVariant &field : bookingValues(booking))
        texts << field.toString();
    // The patient linked in the same statement, to the identity the server gave.
    QSqlQuery *query = run(
        QStringLiteral("WITH booked AS (SELECT public.velmora_book_waiting(?, ?, ?::text[]) AS id)%1 SELECT "
                       "booked.id, %2 FROM booked")
            .arg(
                booking.patient == 0
                    ? QString()
                    : QStringLiteral(", linked AS (INSERT INTO %1 (id, patient) SELECT id, CAST(? AS bigint) "
                                     "FROM booked WHERE id IS NOT NULL)")
                          .arg(patientLinkTable(serverSchema(slot))),
                notifying(2)),
        QVariantList{slot, id, textArray(texts)} + patientValue(booking) +
            QVariantList{dayNotice(slot, booking.date),
                         QStringLiteral("%1 %2").arg(desk_, QLatin1String(kDoctorsNotice))},
        error);
    if (!query)
        return AddOutcome::NotStored;
    const bool booked = query->next() && !query->value(0).isNull();
    query->finish();
    if (!booked)
        *error = QCoreApplication::translate("Storage", "the entry is no longer on the waiting list");
    return booked ? AddOutcome::Stored : AddOutcome::NotStored;
}

bool ServerStorage::readHistory(int slot, qint64 id, QVector<HistoryEntry> *history, QString *error)
{
    history->clear();
    QSqlQuery *query = run(readHistoryStatement(Dialect::Server, serverSchema(slot)), {id}, error);
    if (!query)
        return false;
    appendHistory(*query, history);
    query->finish();
    return true;
}

bool ServerStorage::readSettings(const QStringList &fields, QSqlRecord *record, QString *error)
{
    QSqlQuery *query = run(QStringLiteral("SELECT %1 FROM public.profs ORDER BY id LIMIT 1")
                               .arg(fields.join(QStringLiteral(", "))),
                           {}, error);
    if (!query)
        return false;
    if (!query->next()) {
        query->finish();
        *error = connection_.named(QCoreApplication::translate("Storage", "it holds no settings record"));
        return false;
    }
    *record = query->record();
    query->finish();
    return true;
}

bool ServerStorage::saveSettings(const QStringList &fields, const QVariantList &values, QString *error)
{
    doctorsAsRead_.reset();
    QStringList assignments;
    for (const QString &field : fields)
        assignments << field + QStringLiteral(" = ?");
    QSqlQuery *query =
        run(QStringLiteral("WITH saved AS (UPDATE public.profs SET %1 WHERE id = (SELECT min(id) FROM "
                           "public.profs) RETURNING id) SELECT %2 FROM saved")
                .arg(assignments.join(QStringLiteral(", ")), notifying(1)),
            values + QVariantList{QStringLiteral("%1 %2").arg(desk_, QLatin1String(kDoctorsNotice))}, error);
    if (!query)
        return false;
    if (rowsOf(*query) == 1)
        return true;
    *error = connection_.named(QCoreApplication::translate("Storage", "it holds no settings record"));
    return false;
}

bool ServerStorage::findBookings(const PatientQuery &query, QVector<FoundBooking> *found, QString *error)
{
    found->clear();
    if (query.kind == PatientQuery::Kind::TooShort)
        return true;
    for (const DoctorSlot &slot : kDoctorSlots) {
        const QString every =
            everyBookingOf(serverBookTable(slot.slot), QStringLiteral("id"), seriesTableOf(slot.slot));
        QSqlQuery *rows = searchIndexed_
                              ? run(every + QStringLiteral(" WHERE ") + serverSearchCondition(query),
                                    {serverSearchPattern(query)}, error)
                              : run(every, {}, error);
        if (!rows)
            return false;
        appendFound(*rows, slot.slot, query, found);
        rows->finish();
    }
    return true;
}

bool ServerStorage::readDoctors(AllDoctorFields *fields, QString *error, LockWait wait)
{
    // A read on the server waits for no writer, but connecting to a server out of reach would. A read
    // tried again soon connects only once the watch (which connects without blocking) has found the
    // server answering; without a watch, not within a short while of the last failure.
    if (wait == LockWait::GiveUp && !connection_.isOpen()) {
        if (watch_ && !watch_->listening()) {
            if (!connection_.failedWithin(std::numeric_limits<int>::max(), error))
                *error = connection_.named(QCoreApplication::translate(
                    "Storage", "it has not answered yet; it is tried again shortly"));
            return false;
        }
        if (!watch_ && connection_.failedWithin(kRetryMs, error))
            return false;
    }
    QSqlRecord record;
    if (!readSettings(doctorFieldNames(), &record, error))
        return false;
    *fields = doctorFieldsOf(record);
    if (watch_ && watch_->listening())
        doctorsAsRead_ = *fields;
    return true;
}

bool ServerStorage::readSlotLengthAndLink(int slot, DoctorFields *fields, QString *error)
{
    // Read after every booking. While the watch listens, every settings save is heard and drops the
    // record last read, so that record serves without asking the server again.
    if (doctorsAsRead_ && watch_ && watch_->listening()) {
        *fields = (*doctorsAsRead_)[static_cast<size_t>(slot - 1)];
        return true;
    }
    const DoctorSlot &doctor = doctorSlot(slot);
    QSqlRecord record;
    if (!readSettings({QString::fromLatin1(doctor.intervalField), QString::fromLatin1(doctor.linkField)},
                      &record, error))
        return false;
    fields->interval = storedText(record.value(0));
    fields->link = storedText(record.value(1));
    return true;
}

bool ServerStorage::saveDoctors(const AllDoctorChanges &changes, QString *error)
{
    const SettingsWrite write = doctorsWrite(changes);
    return saveSettings(write.fields, write.values, error);
}

bool ServerStorage::readWeeklyTimes(int slot, WeeklyTimes *times, QString *error)
{
    QSqlRecord record;
    if (!readSettings(weeklyTimeFields(slot), &record, error))
        return false;
    *times = weeklyTimesOf(record, slot);
    return true;
}

bool ServerStorage::readAllWeeklyTimes(AllWeeklyTimes *times, QString *error)
{
    QStringList fields;
    for (int slot = 1; slot <= kDoctorSlotCount; ++slot)
        fields << weeklyTimeFields(slot);
    QSqlRecord record;
    if (!readSettings(fields, &record, error))
        return false;
    for (int slot = 1; slot <= kDoctorSlotCount; ++slot)
        (*times)[static_cast<size_t>(slot - 1)] = weeklyTimesOf(record, slot);
    return true;
}

bool ServerStorage::readCalendar(QVector<CalendarEntry> *entries, QString *error)
{
    entries->clear();
    QSqlQuery *query =
        run(QStringLiteral("SELECT entries FROM public.%1 LIMIT 1").arg(QLatin1String(kCalendarTable)), {},
            error);
    if (!query) {
        // Books set up before the calendar have no table for it until the set-up is run again.
        return neverSetUp(QStringLiteral("public.") + QLatin1String(kCalendarTable));
    }
    // What cannot be read of it comes as entries kept unread: the books stay usable, the days open.
    if (query->next())
        calendarFromText(query->value(0).toString(), entries);
    query->finish();
    return true;
}

bool ServerStorage::saveCalendar(const QVector<CalendarEntry> &entries, QString *error)
{
    // The calendar replaced whole by the server's function, which signs what changed; the other desks
    // told as of a settings save.
    QSqlQuery *query = run(
        QStringLiteral("SELECT public.velmora_save_calendar(?), %1").arg(notifying(1)),
        {calendarText(entries), QStringLiteral("%1 %2").arg(desk_, QLatin1String(kDoctorsNotice))}, error);
    if (!query)
        return false;
    query->finish();
    return true;
}

bool ServerStorage::keepCalendar(const QVector<CalendarEntry> &entries, QString *error)
{
    QSqlQuery *query = run(
        QStringLiteral("WITH gone AS (DELETE FROM public.%1), put AS (INSERT INTO public.%1 "
                       "(entries) VALUES (?)) SELECT %2")
            .arg(QLatin1String(kCalendarTable), notifying(1)),
        {calendarText(entries), QStringLiteral("%1 %2").arg(desk_, QLatin1String(kDoctorsNotice))}, error);
    if (!query)
        return false;
    query->finish();
    return true;
}

bool ServerStorage::changeCalendar(const CalendarEdit &edit, QVector<CalendarEntry> *saved, QString *error)
{
    // Every desk's change to the calendar waits for the one before it to be committed, then reads it.
    return inTransaction(
        [&] {
            // The lock, and whether the server has the function that saves the calendar (a server set
            // up by an older release does not), in one round trip.
            QSqlQuery *locked = run(QStringLiteral("SELECT pg_advisory_xact_lock(hashtext(?)) IS NULL OR "
                                                   "to_regprocedure('public.velmora_save_calendar(text)') IS "
                                                   "NOT NULL"),
                                    {QLatin1String(kCalendarTable)}, error);
            if (!locked)
                return false;
            const bool setUp = locked->next() && locked->value(0).toBool();
            locked->finish();
            if (!setUp) {
                *error = connection_.named(olderServerSetUp());
                return false;
            }
            // Read again once saved: the server signed what changed.
            return readCalendar(saved, error) && edit(*saved, error) && saveCalendar(*saved, error) &&
                   readCalendar(saved, error);
        },
        error);
}

bool ServerStorage::saveWeeklyTimes(int slot, const WeeklyTimes &times, QString *error)
{
    const SettingsWrite write = weeklyTimesWrite(slot, times);
    return saveSettings(write.fields, write.values, error);
}

bool ServerStorage::hearsOtherDesks() const
{
    return !watch_ || watch_->listening();
}

void ServerStorage::watchOtherDesks(std::function<void(const StoredElsewhere &)> changed)
{
    changed_ = std::move(changed);
    watch_.reset();
    if (!changed_)
        return;
    watch_ = std::make_unique<ServerWatch>(url_, QString::fromLatin1(kChannel), timeLimitMs_, kRetryMs);
    QObject::connect(watch_.get(), &ServerWatch::heard, watch_.get(),
                     [this](const QString &payload) { heard(payload); });
    // What was stored before the watch listened, or while it was away, is read again.
    QObject::connect(watch_.get(), &ServerWatch::listeningStarted, watch_.get(), [this] {
        doctorsAsRead_.reset();
        StoredElsewhere anything;
        anything.anything = true;
        changed_(anything);
    });
    watch_->start();
}

void ServerStorage::heard(const QString &payload)
{
    const QStringList parts = payload.split(QLatin1Char(' '));
    if (!changed_ || parts.value(0) == desk_)
        return;
    if (parts.value(1) == QLatin1String(kEverythingNotice)) {
        doctorsAsRead_.reset();
        changed_(StoredElsewhere{0, {}, true});
        return;
    }
    if (parts.value(1) == QLatin1String(kDoctorsNotice)) {
        doctorsAsRead_.reset();
        changed_(StoredElsewhere{});
        return;
    }
    if (parts.value(1) == QLatin1String(kPatientsNotice)) {
        changed_(StoredElsewhere{0, {}, false, true});
        return;
    }
    StoredElsewhere change;
    change.slot = parts.value(1).toInt();
    change.date = QDate::fromString(parts.value(2), Qt::ISODate);
    if (isDoctorSlot(change.slot) && change.date.isValid())
        changed_(change);
}

std::unique_ptr<StorageFill> ServerStorage::fill(QString *error)
{
    auto fill = std::make_unique<ServerFill>(*this);
    if (!fill->begun(error))
        return nullptr;
    return fill;
}

bool ServerStorage::pourInto(StorageFill &fill, QString *error)
{
    if (!ready(error))
        return false;
    // One snapshot of everything, whatever the desks store meanwhile.
    QSqlDatabase db = connection_.database();
    if (!db.transaction()) {
        *error = connection_.failure(db.lastError());
        return false;
    }
    const auto poured = [&] {
        QSqlQuery snapshot(db);
        if (!connection_.execute(
                snapshot, QStringLiteral("SET TRANSACTION ISOLATION LEVEL REPEATABLE READ READ ONLY"), error))
            return false;
        for (const DoctorSlot &slot : kDoctorSlots) {
            const QString schema = serverSchema(slot.slot);
            QSqlQuery *kept =
                run(QStringLiteral("SELECT to_regclass(?) IS NOT NULL"), {statusTable(schema)}, error);
            if (!kept || !kept->next())
                return false;
            const bool statuses = kept->value(0).toBool();
            kept->finish();
            QSqlQuery *rows =
                run(wholeBookQuery(serverBookTable(slot.slot), QStringLiteral("id"),
                                   statuses ? statusTable(schema) : QString(), seriesTableOf(slot.slot)),
                    {}, error);
            if (!rows || !fill.startBook(slot.slot, error))
                return false;
            while (rows->next())
                if (!fill.append(wholeRowBooking(*rows, statuses), error))
                    return false;
            rows->finish();
            if (!statuses)
                continue;
            QSqlQuery *history = run(wholeHistoryQuery(Dialect::Server, schema), {}, error);
            if (!history)
                return false;
            while (history->next())
                if (!fill.appendHistory(history->value(0).toLongLong(), historyEntryOf(*history, 1), error))
                    return false;
            history->finish();
            if (neverSetUp(patientLinkTable(schema)))
                continue;
            QSqlQuery *linked = run(
                everyPatientLinkQuery(serverBookTable(slot.slot), QStringLiteral("id"), schema), {}, error);
            if (!linked)
                return false;
            QVector<BookingLink> links;
            while (linked->next())
                links.append({slot.slot, linked->value(0).toLongLong(), linked->value(1).toLongLong()});
            linked->finish();
            if (!fill.appendPatientLinks(links, error))
                return false;
        }
        QSqlQuery *settings =
            run(QStringLiteral("SELECT * FROM public.profs ORDER BY id LIMIT 1"), {}, error);
        if (!settings)
            return false;
        if (!settings->next()) {
            *error = connection_.named(QCoreApplication::translate("Storage", "it holds no settings record"));
            return false;
        }
        SettingsRecord record;
        const QSqlRecord fields = settings->record();
        for (const RecordField &field : recordFields())
            field.in(record) = recordValue(fields.value(field.name));
        settings->finish();
        QVector<CalendarEntry> calendar;
        QVector<WaitingEntry> waiting;
        SqueezeLimits limits;
        QVector<Patient> patients;
        return fill.writeSettings(record, error) && readCalendar(&calendar, error) &&
               fill.writeCalendar(calendar, error) && readWaitingList(&waiting, error) &&
               readSqueezeLimits(&limits, error) && fill.writeReceptionLists(waiting, limits, error) &&
               readPatients(&patients, error) && fill.writePatients(patients, error);
    };
    const bool ok = poured();
    if (connection_.isOpen())
        db.rollback();
    return ok;
}

} // namespace velmora
