#pragma once

#include <QDate>
#include <QString>

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

// One booking as stored; a field without value reads as the empty text.
struct Appointment
{
    qint64 id = 0; // the booking's identity in its book, growing in the order bookings were added
    QDate date;
    QString hora;
    QString nome;
    QString convenio;
    QString telefone;
    QString obs;
    BookingStatus status = BookingStatus::ToConfirm; // read with the day; written on its own
    SeriesPlace series;                              // read with the day; written with the series
};

} // namespace velmora

// Moved as bytes when a day's list of bookings grows: a day can hold tens of thousands.
Q_DECLARE_TYPEINFO(velmora::Appointment, Q_RELOCATABLE_TYPE);

namespace velmora {

// The date of the record a doctor's empty book receives when first chosen.
inline QDate placeholderDate()
{
    return QDate(2100, 12, 31);
}

} // namespace velmora
