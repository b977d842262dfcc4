#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>

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
};

} // namespace velmora
