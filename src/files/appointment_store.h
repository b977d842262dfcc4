#pragma once

#include "core/appointment.h"
#include "core/book_storage.h"
#include "files/database.h"

#include <QVector>

namespace velmora {

// The appointment table of the file a connection points at.
class AppointmentStore
{
public:
    explicit AppointmentStore(Connection &connection) : connection_(connection) {}

    bool hasRecords(bool *any, QString *error);
    bool addPlaceholder(QString *error);

    // The date's appointments in the order they were added.
    bool readDay(QDate date, QVector<Appointment> *bookings, QString *error);

    // Adds the booking, and when linkedFile is given the same booking to that file, both in one
    // transaction. When the linked part fails at any step (a file that cannot be used, a lock, a
    // write refused) the booking is stored alone (StoredWithoutCopy, with the linked file's name and
    // the reason in error); when the doctor's own file fails, nothing is stored anywhere.
    AddOutcome add(const Appointment &booking, const QString &linkedFile, QString *error);

    // The booking stored as read (its identity and fields) changed or removed.
    WriteOutcome update(const Appointment &stored, const Appointment &changed, QString *error);
    WriteOutcome remove(const Appointment &stored, QString *error);

private:
    bool attachLinked(const QString &linkedFile, QString *problem);
    void detachLinked();
    bool insertInto(const QString &schema, const Appointment &booking, QString *error);

    Connection &connection_;
};

} // namespace velmora
