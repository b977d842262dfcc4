#pragma once

#include "core/model/appointment.h"
#include "core/storage/storage_vocabulary.h"

#include <QDateTime>
#include <QString>

namespace velmora {

// A booking held to be moved elsewhere: where it stands now, as stored, and who held it when. It stays
// in its place until the move is carried out.
struct HeldBooking
{
    int slot = 0;
    Appointment booking;
    QDateTime at;
    QString computer;
    QString person;
};

// One write of several made together: a change to the fields of changed, a removal, a status, or a
// move within the book to changed's date and time (its status back to to confirm, any hold undone).
struct BookingWrite
{
    enum class Kind
    {
        Change,
        Remove,
        Status,
        Move
    };
    Kind kind = Kind::Change;
    Appointment stored;
    Appointment changed;
    BookingStatus status = BookingStatus::ToConfirm;
};

// A booking found, with the doctor's slot whose book holds it.
struct FoundBooking
{
    int slot = 0;
    Appointment booking;
};

// A booking of a slot's book given to a patient.
struct BookingLink
{
    int slot = 0;
    qint64 booking = 0;
    qint64 patient = 0;
};

} // namespace velmora
