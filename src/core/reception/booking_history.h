#pragma once

#include "core/model/appointment.h"
#include "core/schedule/day_list_rules.h"
#include "core/storage/book_storage.h"

#include <QStringList>
#include <QVector>

#include <optional>

namespace velmora {

// The booking a listed row shows, as stored now: none when it is no longer stored as listed.
struct ListedBooking
{
    bool read = false;
    QString error;
    std::optional<Appointment> booking;
};
ListedBooking findListedBooking(BookStorage &storage, const ListedRow &listed);

// What was done to a listed booking, oldest first, or why it cannot be shown.
struct BookingHistory
{
    bool read = false;
    QString message;
    // The booking is no longer stored as listed: the day list should be read again.
    bool dayChanged = false;
    QVector<HistoryEntry> entries;
};

// The history of the booking the row shows, read from its day as stored. Entries of another booking
// under the same identity (a book another program renumbered) are set aside, never shown as this one's.
BookingHistory readBookingHistory(BookStorage &storage, const ListedRow &listed);

} // namespace velmora
