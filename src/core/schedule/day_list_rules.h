#pragma once

#include "core/model/doctor_slots.h"
#include "core/schedule/day_plan.h"
#include "core/schedule/doctor_settings.h"
#include "core/text/text_rules.h"

#include <QDate>
#include <QStringList>
#include <QVector>

#include <array>
#include <optional>

namespace velmora {

struct Appointment;

// Rows in the day list's order: ascending text without regard to case, equal rows as they came.
QStringList inListOrder(QStringList rows);

// The free slot rows of one period: the start always, then every slot step up to and including end.
QStringList periodRows(const QString &start, const QString &end, const QString &slotLength);

// What the calendar makes of the doctor's date: closed, in part or whole, or other hours.
DayPlan dayPlan(const DoctorSettings &settings, QDate date);

// The free slot rows of the date: the weekly hours of its weekday (or the extra day's), first period
// then second, unsorted, without the times the calendar closes.
QStringList freeSlotRows(const DoctorSettings &settings, QDate date);
// The same whatever the calendar closes: the slots a booking held when it was made there, so that one
// is no squeeze-in because its day closed later.
QStringList gridSlotRows(const DoctorSettings &settings, QDate date);

// The rows of the sorted list after adding each booking's row in the order given, each followed by
// drop_free_slot, in O(n log n) also for a day of tens of thousands of bookings.
QStringList mergedDayRows(const QStringList &listed, const QVector<BookingRecord> &bookings);

// The day list of a date: its free slot rows with the bookings merged in, as list_free_slots and
// merge_bookings leave an empty list.
QStringList dayRows(const DoctorSettings &settings, QDate date, const QVector<Appointment> &bookings);
// A day's list as the day list shows it, with the booking each row shows (its place in bookings) or -1
// for a free row: dayRows and rowBookings in one, each booking's row made once.
struct ListedDay
{
    QStringList rows;
    QVector<int> bookingOfRow;
};
ListedDay listedDay(const DoctorSettings &settings, QDate date, const QVector<Appointment> &bookings);

// shownRecord(booking).row(), made at once.
QString shownRow(const Appointment &booking);

// The booking each row of such a list shows (its place in bookings), or -1 for a free row: among rows
// that read alike, the first shows the first such booking, and so on.
QVector<int> rowBookings(const QStringList &rows, const QVector<Appointment> &bookings);

// A booking as the day list shows it: control characters (tabs, line breaks a stored field may hold)
// as blanks, so that the row keeps its columns.
BookingRecord shownRecord(const Appointment &booking);

// A booked row of a doctor's day list, by which its booking is found as stored.
struct ListedRow
{
    int slot = 0;
    QDate date;
    QStringList rows;
    int position = -1;
};

// The booking the row at position shows, among bookings: of the bookings shown alike, the one in the
// same place (equal rows stand in the order their bookings were added).
std::optional<Appointment> bookingShownAt(const QStringList &rows, int position,
                                          const QVector<Appointment> &bookings);
// Rows reading exactly as the row at position, before it: equal rows stand in the order their
// bookings were added, so the count tells which of them it is.
int sameRowsBefore(const QStringList &rows, int position);
// The position of the row reading as text that has before rows reading the same before it, or -1.
int rowReadingAs(const QStringList &rows, const QString &text, int before);

} // namespace velmora
