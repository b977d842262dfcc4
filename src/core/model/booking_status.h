#pragma once

#include "core/model/booking_state.h"

#include <QDateTime>
#include <QString>
#include <QVector>

#include <optional>

namespace velmora {

struct Appointment;

// A status as stored in the history ("confirmed"), in the user's words, and as the day list marks it
// (none for a booking still to confirm).
QString statusKey(BookingStatus status);
std::optional<BookingStatus> statusFromKey(const QString &key);
// A stored number outside the known ones reads as to confirm.
BookingStatus statusFromNumber(int number);
QString statusCaption(BookingStatus status);
QString statusMark(BookingStatus status);

// What was done to a booking, by whom and from which computer. The details are stored in the
// books' own words, one "field: value" or "field: before → after" per line, and shown in the user's.
struct HistoryEntry
{
    QDateTime at;
    QString computer;
    QString person;
    QString action; // "added", "changed", "removed", "status", "moved" or "waiting" (booked from the list)
    QString details;
};

// The computer's name and the person logged in to it.
struct Desk
{
    QString computer;
    QString person;
};
Desk thisDesk();

QString addedDetails(const Appointment &booking);
// Why a time an engine found taken in the write is refused, naming who took it.
QString takenMeanwhile(const QString &time, const QString &name);
QString changedDetails(const Appointment &before, const Appointment &after);
QString statusDetails(BookingStatus before, BookingStatus after);
// A move's details: the date, the time when it changed, and the doctor's slot when it changed, as
// "before -> after" lines that the history reads as a change.
QString movedDetails(const Appointment &before, int fromSlot, int toSlot, QDate date, const QString &time);

// Whether the entries (oldest first) tell of this booking: from the entry that added it, through every
// change, its date, time and name must come out as they are stored. A book another tool renumbered
// (a dump loaded again) would otherwise show one patient's history on another. A history that does not
// begin with its booking's addition (the older program's bookings) is taken as it is.
bool historyBelongsTo(const QVector<HistoryEntry> &entries, const Appointment &booking);

// One entry as the History view shows it, in the user's language: when, who, where, what.
QString describedEntry(const HistoryEntry &entry);

} // namespace velmora
