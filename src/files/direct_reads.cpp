#include "files/direct_reads.h"

#include "core/model/booking_status.h"
#include "core/storage/stored_bookings.h"
#include "schema/book_schema.h"
#include "schema/booking_sql.h"

#include <sqlite3.h>

namespace velmora {

namespace {

// A text column as Qt's driver reads it: no value is the null text, an empty value the empty one.
QString columnText(sqlite3_stmt *statement, int column)
{
    if (sqlite3_column_type(statement, column) == SQLITE_NULL)
        return {};
    const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(statement, column));
    return QString::fromUtf8(text ? text : "", sqlite3_column_bytes(statement, column));
}

// The booking's five texts, hora to obs, from the columns from first on.
void readTexts(sqlite3_stmt *statement, int first, Appointment *booking)
{
    for (QString *text :
         {&booking->hora, &booking->nome, &booking->convenio, &booking->telefone, &booking->obs})
        *text = columnText(statement, first++);
}

} // namespace

// A crowded day holds tens of thousands.
bool readDayDirectly(QSqlDatabase db, const QString &sql, QDate date, QVector<Appointment> *bookings)
{
    sqlite3 *connection = sqliteOf(db);
    sqlite3_stmt *statement = nullptr;
    const QByteArray query = sql.toUtf8();
    const QByteArray day = storedDate(date).toUtf8();
    bool ok = connection &&
              sqlite3_prepare_v2(connection, query.constData(), -1, &statement, nullptr) == SQLITE_OK &&
              sqlite3_bind_text(statement, 1, day.constData(), static_cast<int>(day.size()), SQLITE_STATIC) ==
                  SQLITE_OK;
    const bool withStatus = ok && sqlite3_column_count(statement) > 6;
    const bool withSeries = ok && sqlite3_column_count(statement) > 9;
    int step = SQLITE_ROW;
    while (ok && (step = sqlite3_step(statement)) == SQLITE_ROW) {
        Appointment booking;
        booking.id = sqlite3_column_int64(statement, 0);
        booking.date = date;
        readTexts(statement, 1, &booking);
        if (withStatus)
            booking.status = statusFromNumber(sqlite3_column_int(statement, 6));
        if (withSeries)
            booking.series = {sqlite3_column_int64(statement, 7), sqlite3_column_int(statement, 8),
                              sqlite3_column_int(statement, 9)};
        bookings->append(booking);
    }
    ok = ok && step == SQLITE_DONE;
    sqlite3_finalize(statement);
    if (!ok)
        bookings->clear();
    return ok;
}

bool findDirectly(Connection &connection, const QString &sql, const PatientQuery &query, int slot,
                  QVector<FoundBooking> *found)
{
    sqlite3_stmt *statement = connection.keptStatement(sql);
    const QByteArray phrase = searchPhrase(query).toUtf8();
    bool ok = statement && sqlite3_bind_text(statement, 1, phrase.constData(),
                                             static_cast<int>(phrase.size()), SQLITE_STATIC) == SQLITE_OK;
    const bool withPlaces = ok && sqlite3_column_count(statement) > 9;
    QVector<FoundBooking> matching;
    int step = SQLITE_ROW;
    while (ok && (step = sqlite3_step(statement)) == SQLITE_ROW) {
        Appointment booking;
        booking.id = sqlite3_column_int64(statement, 0);
        booking.date = QDate::fromString(columnText(statement, 1), Qt::ISODate);
        readTexts(statement, 2, &booking);
        if (withPlaces)
            booking.series = {sqlite3_column_int64(statement, 7), sqlite3_column_int(statement, 8),
                              sqlite3_column_int(statement, 9)};
        // The index is of folded names and digits: what it finds is held to the query as typed.
        if (matchesQuery(query, booking))
            matching.append({slot, booking});
    }
    ok = ok && step == SQLITE_DONE;
    // Reset at once, which ends its read of the book: others wait to write while it lasts.
    if (statement)
        sqlite3_reset(statement);
    if (ok)
        found->append(matching);
    return ok;
}

bool readNumber(Connection &connection, const QString &sql, qint64 *number)
{
    sqlite3_stmt *statement = connection.keptStatement(sql);
    const bool ok = statement && sqlite3_step(statement) == SQLITE_ROW;
    if (ok)
        *number = sqlite3_column_int64(statement, 0);
    if (statement)
        sqlite3_reset(statement);
    return ok;
}

} // namespace velmora
