#pragma once

#include "core/day_plan.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

namespace velmora {

// One thing the clinic set in its calendar.
struct CalendarEntry
{
    enum class Kind
    {
        Closure,        // the clinic or a doctor closed from..to, the whole day or start..end
        ExtraDay,       // a doctor's own hours on one date, in place of the weekly ones
        Holiday,        // one of the state's or city's, named in reason; yearly: on that day every year
        Opening,        // the clinic opens on a holiday
        OptionalClosed, // the clinic closes on an optional day every year; reason holds its key
    };
    Kind kind = Kind::Closure;
    int slot = 0; // 0: the whole clinic
    QDate from;
    QDate to; // the last day, itself included
    QString start;
    QString end;       // "HHMM"; both empty for the whole day
    QStringList hours; // an extra day's periods: "HHMM" start and end, one or two periods
    QString reason;
    bool yearly = false;
    QString changedBy; // who set it, on which computer, and when: the settings' history
    QDateTime changedAt;
    // An entry as stored that this program cannot read exactly (another program's, or damaged): its
    // text, kept as it is and written back unchanged; no day is closed or opened by it.
    QString unreadable;

    bool operator==(const CalendarEntry &other) const;
    // Its hours as the receptionist types them ("13:00-18:00", an extra day's periods); empty for a whole
    // day.
    QString hoursTyped() const;
};

// The country's holidays, the clinic's own, its closures, openings and extra days.
class ClinicCalendar
{
public:
    ClinicCalendar() = default;
    // The entries that cannot be read are left out: the days they might close stay open.
    explicit ClinicCalendar(QVector<CalendarEntry> entries);
    const QVector<CalendarEntry> &entries() const { return entries_; }
    DayPlan planFor(int slot, QDate date) const;
    // No holiday, closure nor extra day: the weekly hours as they stand.
    static ClinicCalendar weeklyAlone();
    // The entries alone, without the country's holidays.
    static ClinicCalendar only(QVector<CalendarEntry> entries);

private:
    QVector<CalendarEntry> entries_;
    bool keepsHolidays_ = true;
};

// Hours as the receptionist types them, "13:00-18:00" or "08:00-12:00 14:00-18:00" (colons optional),
// as "HHMM" starts and ends; none when the text reads otherwise. The empty text is no hours.
std::optional<QStringList> hoursFromText(const QString &text);
QString hoursText(const QStringList &hours);

// Why an entry cannot be kept as it is, in the user's words; empty when it can. others: the entries it
// joins, for an extra day that would overlap another of the same doctor.
QString calendarRefusal(const CalendarEntry &entry, const QVector<CalendarEntry> &others);

// The year's holidays, optional days, closures and extra days as tab-separated lines, in date order:
// date, end date, slot or "clinic", kind, reason, times.
QStringList calendarLines(const ClinicCalendar &calendar, int year);

} // namespace velmora
