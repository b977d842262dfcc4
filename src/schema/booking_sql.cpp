#include "schema/booking_sql.h"

#include "core/search/patient_query.h"
#include "core/storage/stored_bookings.h"
#include "core/text/text_rules.h"
#include "schema/book_schema.h"
#include "schema/patient_sql.h"

#include <QSqlRecord>

#include <optional>

namespace velmora {

namespace {

QVariant storedText(const QString &text)
{
    return text.isNull() ? QStringLiteral("") : text;
}

QString Appointment::*const kTexts[] = {&Appointment::hora, &Appointment::nome, &Appointment::convenio,
                                        &Appointment::telefone, &Appointment::obs};

} // namespace

QString bookingColumns()
{
    static const QString columns = requiredColumns(FileKind::Appointments).join(QStringLiteral(", "));
    return columns;
}

QVariantList bookingValues(const Appointment &booking)
{
    QVariantList values{storedDate(booking.date)};
    for (QString Appointment::*text : kTexts)
        values << storedText(booking.*text);
    return values;
}

void bindBooking(QSqlQuery &query, const Appointment &booking)
{
    for (const QVariant &value : bookingValues(booking))
        query.addBindValue(value);
}

QString matchesStored(const QString &idColumn, const QString &identityIs)
{
    return idColumn + QLatin1Char(' ') + identityIs + QStringLiteral(" ? AND ") + sameFields();
}

QString takenAtStatement(const QString &table, const QString &idColumn)
{
    return QStringLiteral("SELECT nome FROM %1 WHERE data = ? AND trim(coalesce(hora, '')) IN (?, ?) AND "
                          "trim(coalesce(nome, '')) <> '' AND %2 <> ? AND NOT (%3) LIMIT 1")
        .arg(table, idColumn, sameFields());
}

QVariantList takenAtValues(QDate date, const QString &time, qint64 except, const Appointment &moving)
{
    const QString meant = meantTime(time);
    const QString unpadded = meant.startsWith(QLatin1Char('0')) && meant.size() == 5 ? meant.mid(1) : meant;
    return QVariantList{storedDate(date), meant, unpadded, except} + bookingValues(moving);
}

QString updateStored(const QString &table, const QString &idColumn)
{
    QStringList assignments;
    for (const QString &column : bookingColumns().split(QStringLiteral(", ")))
        assignments << column + QStringLiteral(" = ?");
    return QStringLiteral("UPDATE %1 SET %2 WHERE %3")
        .arg(table, assignments.join(QStringLiteral(", ")), matchesStored(idColumn));
}

QVariantList storedValues(const Appointment &stored)
{
    return QVariantList{stored.id} + bookingValues(stored);
}

void bindStored(QSqlQuery &query, const Appointment &stored)
{
    for (const QVariant &value : storedValues(stored))
        query.addBindValue(value);
}

QString heldBookingsQuery(const QString &table)
{
    return QStringLiteral(
               "SELECT count(*) FROM %1 WHERE NOT (data IS NOT DISTINCT FROM ? AND coalesce(hora, '') = "
               "'' AND coalesce(nome, '') = '' AND coalesce(convenio, '') = '' AND coalesce(telefone, "
               "'') = '' AND coalesce(obs, '') = '')")
        .arg(table);
}

QString everyBookingOf(const QString &table, const QString &idColumn, const QString &seriesTable)
{
    if (seriesTable.isEmpty())
        return QStringLiteral("SELECT %1, %2 FROM %3").arg(idColumn, bookingColumns(), table);
    return QStringLiteral(
               "SELECT %3.%1, %2, r.series, r.number, r.total FROM %3 LEFT JOIN %4 r ON r.id = %3.%1")
        .arg(idColumn, bookingColumns(), table, seriesTable);
}

void appendFound(QSqlQuery &query, int slot, const PatientQuery &patient, QVector<FoundBooking> *found)
{
    const bool withPlaces = query.record().count() > 9;
    while (query.next()) {
        Appointment booking;
        booking.id = query.value(0).toLongLong();
        booking.date = QDate::fromString(query.value(1).toString(), Qt::ISODate);
        for (int i = 0; i < 5; ++i)
            booking.*kTexts[i] = query.value(i + 2).toString();
        if (withPlaces)
            booking.series = {query.value(7).toLongLong(), query.value(8).toInt(), query.value(9).toInt()};
        if (matchesQuery(patient, booking))
            found->append({slot, booking});
    }
}

namespace {

enum class Span
{
    Day,
    Period,
    Whole
};

// The bookings of a day (one value), of a period (two) or of the whole book, the latter two with
// their dates, with their statuses when statusTable is given.
QString bookingsQuery(const QString &table, const QString &idColumn, const QString &statusTable,
                      const QString &seriesTable, Span span)
{
    const QString texts = QStringLiteral("d.hora, d.nome, d.convenio, d.telefone, d.obs");
    const bool series = !statusTable.isEmpty() && !seriesTable.isEmpty();
    return QStringLiteral("SELECT d.%1, %2%3%4 FROM %5 d%6%7 ORDER BY %8d.%1")
        .arg(idColumn, span != Span::Day ? QStringLiteral("d.data, ") : QString(), texts,
             statusTable.isEmpty() ? QString()
             : series
                 ? QStringLiteral(", coalesce(s.status, 0), coalesce(r.series, 0), coalesce(r.number, 0), "
                                  "coalesce(r.total, 0)")
                 : QStringLiteral(", coalesce(s.status, 0)"),
             table,
             (statusTable.isEmpty()
                  ? QString()
                  : QStringLiteral(" LEFT JOIN %1 s ON s.id = d.%2 AND s.nome = coalesce(d.nome, '')")
                        .arg(statusTable, idColumn)) +
                 (series ? QStringLiteral(" LEFT JOIN %1 r ON r.id = d.%2").arg(seriesTable, idColumn)
                         : QString()),
             span == Span::Whole    ? QString()
             : span == Span::Period ? QStringLiteral(" WHERE d.data >= ? AND d.data <= ?")
                                    : QStringLiteral(" WHERE d.data = ?"),
             span == Span::Period ? QStringLiteral("d.data, ") : QString());
}

SeriesPlace seriesPlaceOf(const QSqlQuery &query, int first)
{
    return {query.value(first).toLongLong(), query.value(first + 1).toInt(), query.value(first + 2).toInt()};
}

// Appends the rows: the identity, the date when no day is given, the five texts and, when selected,
// the status.
void appendBookings(QSqlQuery &query, std::optional<QDate> day, QVector<Appointment> *bookings)
{
    const int texts = day ? 1 : 2;
    int columns = -1;
    QString lastDate;
    QDate date = day.value_or(QDate());
    while (query.next()) {
        if (columns < 0)
            columns = query.record().count();
        Appointment booking;
        booking.id = query.value(0).toLongLong();
        if (!day) {
            const QString stored = query.value(1).toString();
            if (stored != lastDate) {
                lastDate = stored;
                date = QDate::fromString(stored, Qt::ISODate);
            }
        }
        booking.date = date;
        for (int i = 0; i < 5; ++i)
            booking.*kTexts[i] = query.value(texts + i).toString();
        if (columns > texts + 5)
            booking.status = statusFromNumber(query.value(texts + 5).toInt());
        if (columns > texts + 8)
            booking.series = seriesPlaceOf(query, texts + 6);
        bookings->append(booking);
    }
}

} // namespace

QString dayQuery(const QString &table, const QString &idColumn, const QString &statusTable,
                 const QString &seriesTable)
{
    return bookingsQuery(table, idColumn, statusTable, seriesTable, Span::Day);
}

QString dayQueryWithoutStatus(const QString &table, const QString &idColumn)
{
    return bookingsQuery(table, idColumn, {}, {}, Span::Day);
}

QString periodQuery(const QString &table, const QString &idColumn, const QString &statusTable,
                    const QString &seriesTable)
{
    return bookingsQuery(table, idColumn, statusTable, seriesTable, Span::Period);
}

QString periodQueryWithoutStatus(const QString &table, const QString &idColumn)
{
    return bookingsQuery(table, idColumn, {}, {}, Span::Period);
}

Appointment wholeRowBooking(const QSqlQuery &query, bool withStatus, int columns)
{
    if (columns < 0)
        columns = query.record().count();
    Appointment booking;
    booking.id = query.value(0).toLongLong();
    const QVariant date = query.value(1);
    if (!date.isNull())
        booking.date = QDate::fromString(date.toString(), Qt::ISODate);
    for (int i = 0; i < 5; ++i)
        booking.*kTexts[i] = query.value(i + 2).toString();
    if (withStatus)
        booking.status = statusFromNumber(query.value(7).toInt());
    if (withStatus && columns > 10)
        booking.series = seriesPlaceOf(query, 8);
    if (withStatus && columns > 11)
        booking.patient = query.value(11).toLongLong();
    return booking;
}

QString wholeBookQuery(const QString &table, const QString &idColumn, const QString &statusTable,
                       const QString &seriesTable)
{
    return bookingsQuery(table, idColumn, statusTable, seriesTable, Span::Whole);
}

void appendPeriodBookings(QSqlQuery &query, QVector<Appointment> *bookings)
{
    appendBookings(query, std::nullopt, bookings);
}

void appendDayBookings(QSqlQuery &query, QDate date, QVector<Appointment> *bookings)
{
    appendBookings(query, date, bookings);
}

QString statusTable(const QString &schema)
{
    return schema + QStringLiteral(".booking_status");
}

QString historyTable(const QString &schema)
{
    return schema + QStringLiteral(".booking_history");
}

QString heldTable(const QString &schema)
{
    return schema + QStringLiteral(".booking_held");
}

QString seriesTable(const QString &schema)
{
    return schema + QStringLiteral(".booking_series");
}

QString seriesQuery(const QString &table, const QString &idColumn, const QString &schema)
{
    return QStringLiteral(
               "SELECT d.%1, d.data, d.hora, d.nome, d.convenio, d.telefone, d.obs, coalesce(s.status, 0), "
               "r.series, r.number, r.total FROM %2 r JOIN %3 d ON d.%1 = r.id LEFT JOIN %4 s ON s.id = d.%1 "
               "AND s.nome = coalesce(d.nome, '') WHERE r.series = ? ORDER BY r.number")
        .arg(idColumn, seriesTable(schema), table, statusTable(schema));
}

QString seriesEndingQuery(const QString &table, const QString &idColumn, const QString &schema, int left)
{
    const QString sessions =
        QStringLiteral(
            "%1 r JOIN %2 d ON d.%3 = r.id LEFT JOIN %4 s ON s.id = d.%3 AND s.nome = coalesce(d.nome, '') "
            "WHERE d.data >= ?")
            .arg(seriesTable(schema), table, idColumn, statusTable(schema));
    return QStringLiteral(
               "SELECT d.%1, d.data, d.hora, d.nome, d.convenio, d.telefone, d.obs, coalesce(s.status, 0), "
               "r.series, r.number, r.total FROM %2 AND r.series IN (SELECT r.series FROM %2 AND "
               "coalesce(s.status, 0) <> %3 GROUP BY r.series HAVING count(*) <= %4)")
        .arg(idColumn, sessions)
        .arg(static_cast<int>(BookingStatus::Cancelled))
        .arg(left);
}

QString placeInSeriesStatement(const QString &schema)
{
    return QStringLiteral("INSERT INTO %1 (id, series, number, total) VALUES (?, ?, ?, ?)")
        .arg(seriesTable(schema));
}

QString sameFields()
{
    return QStringLiteral(
        "data = ? AND coalesce(hora, '') = ? AND coalesce(nome, '') = ? AND coalesce(convenio, "
        "'') = ? AND coalesce(telefone, '') = ? AND coalesce(obs, '') = ?");
}

QStringList statusTableStatements(Dialect dialect, const QString &schema)
{
    if (dialect == Dialect::Files)
        return QStringList{
                   QStringLiteral(
                       "CREATE TABLE IF NOT EXISTS %1 (id INTEGER PRIMARY KEY, nome TEXT NOT NULL, "
                       "status INTEGER NOT NULL)")
                       .arg(statusTable(schema)),
                   QStringLiteral(
                       "CREATE TABLE IF NOT EXISTS %1 (id INTEGER NOT NULL, at TEXT NOT NULL, computer "
                       "TEXT, person TEXT, action TEXT NOT NULL, details TEXT)")
                       .arg(historyTable(schema)),
                   QStringLiteral("CREATE INDEX IF NOT EXISTS %1.booking_history_id ON booking_history (id)")
                       .arg(schema),
                   QStringLiteral(
                       "CREATE TABLE IF NOT EXISTS %1 (id INTEGER PRIMARY KEY, at TEXT NOT NULL, computer "
                       "TEXT, person TEXT)")
                       .arg(heldTable(schema)),
                   QStringLiteral(
                       "CREATE TABLE IF NOT EXISTS %1 (id INTEGER PRIMARY KEY, series INTEGER NOT NULL, "
                       "number INTEGER NOT NULL, total INTEGER NOT NULL)")
                       .arg(seriesTable(schema)),
                   QStringLiteral(
                       "CREATE INDEX IF NOT EXISTS %1.booking_series_series ON booking_series (series)")
                       .arg(schema)} +
               patientLinkTableStatements(dialect, schema);
    return QStringList{
               QStringLiteral(
                   "CREATE TABLE IF NOT EXISTS %1 (id bigint PRIMARY KEY, nome text NOT NULL, status "
                   "integer NOT NULL)")
                   .arg(statusTable(schema)),
               QStringLiteral(
                   "CREATE TABLE IF NOT EXISTS %1 (seq bigserial PRIMARY KEY, id bigint NOT NULL, at "
                   "text NOT NULL, computer text, person text, action text NOT NULL, details text)")
                   .arg(historyTable(schema)),
               QStringLiteral("CREATE INDEX IF NOT EXISTS booking_history_id ON %1 (id)")
                   .arg(historyTable(schema)),
               QStringLiteral(
                   "CREATE TABLE IF NOT EXISTS %1 (id bigint PRIMARY KEY, series bigint NOT NULL, number "
                   "integer NOT NULL, total integer NOT NULL)")
                   .arg(seriesTable(schema)),
               QStringLiteral("CREATE INDEX IF NOT EXISTS booking_series_series ON %1 (series)")
                   .arg(seriesTable(schema))} +
           patientLinkTableStatements(dialect, schema);
}

QString setStatusStatement(Dialect dialect, const QString &schema)
{
    if (dialect == Dialect::Files)
        return QStringLiteral("INSERT OR REPLACE INTO %1 (id, nome, status) VALUES (?, ?, ?)")
            .arg(statusTable(schema));
    return QStringLiteral("INSERT INTO %1 (id, nome, status) VALUES (?, ?, ?) ON CONFLICT (id) DO UPDATE SET "
                          "nome = excluded.nome, status = excluded.status")
        .arg(statusTable(schema));
}

QString recordHistoryStatement(const QString &schema)
{
    return QStringLiteral(
               "INSERT INTO %1 (id, at, computer, person, action, details) VALUES (?, ?, ?, ?, ?, ?)")
        .arg(historyTable(schema));
}

QString readHistoryStatement(Dialect dialect, const QString &schema)
{
    return QStringLiteral("SELECT at, computer, person, action, details FROM %1 WHERE id = ? ORDER BY %2")
        .arg(historyTable(schema),
             dialect == Dialect::Files ? QStringLiteral("rowid") : QStringLiteral("seq"));
}

QString wholeHistoryQuery(Dialect dialect, const QString &schema)
{
    return QStringLiteral("SELECT id, at, computer, person, action, details FROM %1 ORDER BY %2")
        .arg(historyTable(schema),
             dialect == Dialect::Files ? QStringLiteral("rowid") : QStringLiteral("seq"));
}

HistoryEntry historyEntryOf(const QSqlQuery &query, int first)
{
    return {QDateTime::fromString(query.value(first).toString(), Qt::ISODateWithMs),
            query.value(first + 1).toString(), query.value(first + 2).toString(),
            query.value(first + 3).toString(), query.value(first + 4).toString()};
}

void appendHistory(QSqlQuery &query, QVector<HistoryEntry> *history)
{
    while (query.next())
        history->append(historyEntryOf(query, 0));
}

QString searchIndexTable(const QString &schema)
{
    return schema + QStringLiteral(".booking_search");
}

QString searchStateTable(const QString &schema)
{
    return schema + QStringLiteral(".booking_search_state");
}

QStringList searchIndexStatements(const QString &schema)
{
    QStringList statements{
        QStringLiteral("CREATE VIRTUAL TABLE IF NOT EXISTS %1 USING fts5(name, phones, tokenize = 'trigram')")
            .arg(searchIndexTable(schema)),
        QStringLiteral(
            "CREATE TABLE IF NOT EXISTS %1 (id INTEGER PRIMARY KEY CHECK (id = 1), stale INTEGER NOT "
            "NULL, own INTEGER NOT NULL)")
            .arg(searchStateTable(schema)),
        QStringLiteral("INSERT OR IGNORE INTO %1 (id, stale, own) VALUES (1, 1, 0)")
            .arg(searchStateTable(schema))};
    for (const char *event : {"INSERT", "UPDATE", "DELETE"})
        statements << QStringLiteral(
                          "CREATE TRIGGER IF NOT EXISTS %1.booking_search_after_%2 AFTER %3 ON dados "
                          "WHEN (SELECT own FROM booking_search_state) = 0 BEGIN UPDATE "
                          "booking_search_state SET stale = 1; END")
                          .arg(schema, QString::fromLatin1(event).toLower(), QLatin1String(event));
    return statements;
}

QString searchIndexPartsQuery(const QString &schema)
{
    return QStringLiteral(
               "SELECT count(*) FROM %1.sqlite_master WHERE name IN ('booking_search', "
               "'booking_search_state', 'booking_search_after_insert', 'booking_search_after_update', "
               "'booking_search_after_delete')")
        .arg(schema);
}

QStringList searchIndexDropStatements()
{
    QStringList statements;
    for (const char *event : {"insert", "update", "delete"})
        statements
            << QStringLiteral("DROP TRIGGER IF EXISTS booking_search_after_%1").arg(QLatin1String(event));
    return statements << QStringLiteral("DROP TABLE IF EXISTS booking_search")
                      << QStringLiteral("DROP TABLE IF EXISTS booking_search_state");
}

QString indexedSearch(const PatientQuery &query, bool series)
{
    return QStringLiteral("SELECT d.rowid, d.data, d.hora, d.nome, d.convenio, d.telefone, d.obs%2 FROM "
                          "main.booking_search s JOIN main.dados d ON d.rowid = s.rowid%3 WHERE s.%1 MATCH ?")
        .arg(query.kind == PatientQuery::Kind::Phone ? QStringLiteral("phones") : QStringLiteral("name"),
             series ? QStringLiteral(", r.series, r.number, r.total") : QString(),
             series ? QStringLiteral(" LEFT JOIN main.booking_series r ON r.id = d.rowid") : QString());
}

QString searchPhrase(const PatientQuery &query)
{
    return QLatin1Char('"') + QString(query.text).replace(QLatin1Char('"'), QLatin1String("\"\"")) +
           QLatin1Char('"');
}

} // namespace velmora
