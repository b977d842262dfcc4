#pragma once

#include "core/model/appointment.h"
#include "core/model/booking_status.h"
#include "core/storage/book_storage.h"
#include "files/database.h"

#include <QSqlQuery>
#include <QVector>

#include <functional>

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
    // Several at once, in one transaction: all or nothing.
    // The moves carry the copies in the linked book of copySlot (copyFile; none: no copy to move) along.
    WriteOutcome writeSeries(const QVector<BookingWrite> &writes, const QString &copyFile, int copySlot,
                             QString *error);
    // A weekly series' bookings with their places, and the linked file's copies when one is named, in
    // one transaction; none when a booking with a name holds the time of one that is no squeeze-in.
    AddOutcome addSeries(const QVector<Appointment> &bookings, const QString &linkedFile,
                         const QVector<bool> &squeezeIns, QVector<qint64> *ids, QString *error);
    bool readSeries(qint64 series, QVector<Appointment> *bookings, QString *error);
    bool readSeriesEnding(QDate from, QVector<Appointment> *bookings, QString *error);
    bool readHistory(qint64 id, QVector<HistoryEntry> *history, QString *error);
    // The book's bookings given their patients (slots not read), in one transaction; a booking no longer
    // stored is passed over.
    bool linkPatients(const QVector<BookingLink> &links, QString *error);
    bool readPatientBookings(qint64 patient, QVector<Appointment> *bookings, QString *error);
    bool readPatientOf(qint64 booking, qint64 *patient, QString *error);
    // Every link of the book, the slot left 0.
    bool readPatientLinks(QVector<BookingLink> *links, QString *error);

    // Holding a booking to be moved, kept in its own book beside it.
    WriteOutcome hold(const Appointment &stored, QString *error);
    bool putBack(qint64 id, QString *error);
    // The bookings held in this book, as bookings of the slot.
    bool readHeld(int slot, QVector<HeldBooking> *held, QString *error);

    // Where a booking moves: a date and time in this book or in bookFile, and the file of the linked
    // doctor whose copy moves with it (none: no copy to move).
    struct MovePlace
    {
        int fromSlot = 0;
        int toSlot = 0;
        QString bookFile; // none: this book
        QDate date;
        QString hora;
        int copySlot = 0;
        QString copyFile;
    };
    // The books concerned are attached and committed together, in rollback-journal mode: a crash
    // leaves the booking in exactly one of them.
    Moved move(const Appointment &stored, const MovePlace &place, QString *error);

    // The waiting list's entry (in the settings file) booked here, in one transaction.
    AddOutcome bookFromWaiting(const Appointment &booking, const QString &settingsFile, qint64 entry,
                               QString *error);

private:
    // The write, in a transaction of its own: committed when done, rolled back otherwise.
    WriteOutcome inOwnTransaction(const std::function<WriteOutcome()> &write, QString *error);
    // Each within the transaction begun.
    WriteOutcome updated(const Appointment &stored, const Appointment &changed, QString *error);
    WriteOutcome removed(const Appointment &stored, QString *error);
    WriteOutcome statusSet(const Appointment &stored, BookingStatus status, QString *error);
    WriteOutcome movedWithin(const Appointment &stored, const Appointment &placed, QString *error);
    // The booking's status and hold in this book gone with it (moved elsewhere in the book, removed).
    bool forgetStatusAndHold(qint64 id, QString *error);
    // The linked book attached as schema, whose copy of a booking goes where the booking went: moved
    // to its new date and time, or taken away when the booking itself moved into that book (except:
    // the booking's own identity there).
    struct CopyPlace
    {
        QString schema;
        int slot = 0;
        bool takenAway = false;
        qint64 except = 0;
        QString details; // of the removal's history entry
    };
    bool carriedCopy(const CopyPlace &copy, const Appointment &stored, const Appointment &placed,
                     Moved::Copy *carried, QString *error);
    bool attachLinked(const QString &linkedFile, QString *problem);
    void detachLinked();
    // book: the file must hold an appointment table (the settings file does not).
    bool attachBook(const QString &file, const QString &schema, QString *problem, bool book = true);
    void detachBook(const QString &schema);
    // Inserted into the schema's book, without a history entry: its identity, 0 on a failure.
    qint64 insertRow(const QString &schema, const Appointment &booking, QString *error);
    // Around a write of the program to the schema's book: the book's search index, when it has one,
    // kept in the same transaction (the booking with that identity, or none after a removal), and the
    // index's state left as it was.
    bool beginOwnWrite(const QString &schema, bool *indexed);
    bool indexBooking(const QString &schema, qint64 id, const Appointment *booking, QString *error);
    bool endOwnWrite(const QString &schema, QString *error);
    // Inserted into the schema's book and recorded in its history.
    bool insertInto(const QString &schema, const Appointment &booking, QString *error);
    // Inserts a booking's six fields (values) into the schema's book, at an identity never used there.
    static QString insertStatement(const QString &schema);
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
