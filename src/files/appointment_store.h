#pragma once

#include "core/appointment.h"
#include "core/book_storage.h"
#include "files/database.h"

#include <QSqlQuery>
#include <QVector>

namespace velmora {

// The appointment table of the file a connection points at.
class AppointmentStore
{
public:
    explicit AppointmentStore(Connection &connection) : connection_(connection), desk_(thisDesk()) {}

    bool hasRecords(bool *any, QString *error);
    bool addPlaceholder(QString *error);

    // The date's appointments in the order they were added.
    bool readDay(QDate date, QVector<Appointment> *bookings, QString *error);
    bool readPeriod(QDate from, QDate to, QVector<Appointment> *bookings, QString *error);

    // Adds the booking, and when linkedFile is given the same booking to that file, both in one
    // transaction. When the linked part fails at any step (a file that cannot be used, a lock, a
    // write refused) the booking is stored alone (StoredWithoutCopy, with the linked file's name and
    // the reason in error); when the doctor's own file fails, nothing is stored anywhere.
    AddOutcome add(const Appointment &booking, const QString &linkedFile, QString *error);

    // The booking stored as read (its identity and fields) changed or removed.
    WriteOutcome update(const Appointment &stored, const Appointment &changed, QString *error);
    WriteOutcome remove(const Appointment &stored, QString *error);
    WriteOutcome setStatus(const Appointment &stored, BookingStatus status, QString *error);
    bool readHistory(qint64 id, QVector<HistoryEntry> *history, QString *error);

private:
    bool attachLinked(const QString &linkedFile, QString *problem);
    void detachLinked();
    // Around a write of the program to the schema's book: the book's search index, when it has one,
    // kept in the same transaction (the booking with that identity, or none after a removal), and the
    // index's state left as it was.
    bool beginOwnWrite(const QString &schema, bool *indexed);
    bool indexBooking(const QString &schema, qint64 id, const Appointment *booking, QString *error);
    bool endOwnWrite(const QString &schema, QString *error);
    // Inserted into the schema's book and recorded in its history.
    bool insertInto(const QString &schema, const Appointment &booking, QString *error);
    // The highest identity of the book (main or linked), and whether a booking reading as booking was
    // stored after it.
    qint64 lastIdentity(const QString &schema);
    bool storedSince(const QString &schema, const Appointment &booking, qint64 after);
    // The booking's entry in the search index kept, in a savepoint of its own; never a reason for the
    // write to fail.
    bool keepIndex(const QString &schema, qint64 id, const Appointment *booking);
    bool storedAlone(const Appointment &booking, QString *error);
    // An entry in the schema's history, its tables made on the first.
    bool record(const QString &schema, qint64 id, const QString &action, const QString &details,
                QString *error);
    // Prepared, the status and history tables of the schema made first when the statement needs them.
    bool preparedWithTables(QSqlQuery &query, const QString &statement, const QString &schema,
                            QString *error);
    bool begin(QString *error);
    bool commit(QString *error);
    WriteOutcome rolledBack(WriteOutcome outcome);

    Connection &connection_;
    Desk desk_;
};

} // namespace velmora
