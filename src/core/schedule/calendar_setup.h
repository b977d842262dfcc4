#pragma once

#include "core/schedule/clinic_calendar.h"
#include "core/storage/background_reads.h"
#include "core/storage/book_storage.h"

#include <QDateTime>

#include <optional>

namespace velmora {

// The calendar window's work: the clinic's calendar as read, an entry added after its checks, changed
// or removed, each one entry's change to the calendar as stored when it is saved, signed with who and
// when; and the bookings a closure falls on, which it never touches.
class CalendarSetup
{
public:
    explicit CalendarSetup(BookStorage &storage) : storage_(storage) {}

    bool read(QString *error);
    // In date order, the optional days' choices left out.
    QVector<CalendarEntry> listed() const;
    QString refusal(const CalendarEntry &entry) const;
    // The bookings the entry would close: a closure's or a holiday's, on every named doctor's book it
    // covers.
    bool bookingsUnder(const CalendarEntry &entry, QVector<FoundBooking> *found, QString *error);
    // signedBy: "maria (desk 2)".
    bool add(CalendarEntry entry, const QString &signedBy, const QDateTime &at, QString *error);
    bool remove(const CalendarEntry &entry, QString *error);
    // The entry as listed replaced by the one changed, after the same checks as an added one.
    bool change(const CalendarEntry &listed, CalendarEntry changed, const QString &signedBy,
                const QDateTime &at, QString *error);
    // Whether the clinic closes on an optional day ("carnival", "corpus-christi").
    bool closesOn(const QString &optionalKey) const;
    bool setClosesOn(const QString &optionalKey, bool closes, const QString &signedBy, const QDateTime &at,
                     QString *error);

private:
    bool save(const BookStorage::CalendarEdit &edit, QString *error);

    BookStorage &storage_;
    QVector<CalendarEntry> entries_;
};

// Every booking from the day on, a year ahead, at a time the calendar closes: each stays booked until it
// is moved or removed or the closure undone. In date and time order.
bool readBookingsToReschedule(BookStorage &storage, QDate from, QVector<FoundBooking> *found, QString *error,
                              const ReadProgress &progress = {});
// How many there are; none when they cannot be read.
std::optional<int> countToReschedule(BookStorage &storage, QDate from, const ReadProgress &progress = {});

} // namespace velmora
