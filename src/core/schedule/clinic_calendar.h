#pragma once

#include "core/model/calendar_entry.h"
#include "core/schedule/day_plan.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

namespace velmora {

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
// An entry's hours as the receptionist types them ("13:00-18:00", an extra day's periods); empty for a
// whole day.
QString hoursTyped(const CalendarEntry &entry);

// Why an entry cannot be kept as it is, in the user's words; empty when it can. others: the entries it
// joins, for an extra day that would overlap another of the same doctor.
QString calendarRefusal(const CalendarEntry &entry, const QVector<CalendarEntry> &others);

// The year's holidays, optional days, closures and extra days as tab-separated lines, in date order:
// date, end date, slot or "clinic", kind, reason, times.
QStringList calendarLines(const ClinicCalendar &calendar, int year);

} // namespace velmora
