#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

namespace velmora {

// Why a doctor's day is closed, or some of its times.
struct ClosedTime
{
    QString start; // "HH:MM"; both empty for the whole day
    QString end;
    QString reason; // "Holiday: Christmas", "Vacation"
};

// What the calendar makes of one doctor's day.
struct DayPlan
{
    std::optional<ClosedTime> wholeDay;
    QVector<ClosedTime> times;
    std::optional<QStringList> extraHours; // in place of the weekly hours: "HHMM", start and end by period
    bool closedAt(const QString &time) const;
    bool touchesNothing() const { return !wholeDay && times.isEmpty() && !extraHours; }
    // The line that tells the receptionist why ("Holiday: Christmas"); empty when nothing is closed.
    QString reasons() const;
};

} // namespace velmora
