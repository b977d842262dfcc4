#pragma once

#include <QtGlobal>

namespace velmora {

// Where a booking stands with its patient, kept beside the book's own fields; to confirm until the
// receptionist says otherwise. The numbers are stored.
enum class BookingStatus
{
    ToConfirm = 0,
    Confirmed = 1,
    NotReached = 2,
    Cancelled = 3,
    Arrived = 4,
    Missed = 5
};
constexpr int kBookingStatusCount = 6;

// A booking's place in a weekly series: the series (the identity of its first booking, in the same
// book), its number and how many sessions were booked; series 0: a booking of its own.
struct SeriesPlace
{
    qint64 series = 0;
    int number = 0;
    int total = 0;
    bool operator==(const SeriesPlace &other) const
    {
        return series == other.series && number == other.number && total == other.total;
    }
};

} // namespace velmora
