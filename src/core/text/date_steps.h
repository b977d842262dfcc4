#pragma once

#include <QDate>

#include <optional>

namespace velmora {

// Days of the month that holds the date: 28 to 31.
qint16 days_in_month(QDate date);

enum class DateStep
{
    PlusDay,
    PlusWeek,
    PlusMonth,
    MinusDay,
    MinusWeek,
    MinusMonth,
    Today
};

// The earliest and latest dates the book moves to.
QDate firstCalendarDate();
QDate lastCalendarDate();

// The date a step leads to, or nothing when it would leave the calendar's range.
std::optional<QDate> steppedDate(QDate current, DateStep step, QDate today);

} // namespace velmora
