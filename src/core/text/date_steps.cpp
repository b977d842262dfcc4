#include "core/text/date_steps.h"

namespace velmora {

qint16 days_in_month(QDate date)
{
    return static_cast<qint16>(date.daysInMonth());
}

QDate firstCalendarDate()
{
    return QDate(100, 1, 1);
}
QDate lastCalendarDate()
{
    return QDate(9999, 12, 31);
}

std::optional<QDate> steppedDate(QDate current, DateStep step, QDate today)
{
    QDate next;
    switch (step) {
    case DateStep::PlusDay:
        next = current.addDays(1);
        break;
    case DateStep::PlusWeek:
        next = current.addDays(7);
        break;
    case DateStep::PlusMonth:
        next = current.addDays(days_in_month(current));
        break;
    case DateStep::MinusDay:
        next = current.addDays(-1);
        break;
    case DateStep::MinusWeek:
        next = current.addDays(-7);
        break;
    case DateStep::MinusMonth: {
        const QDate endOfPreviousMonth = current.addDays(-current.day());
        if (!endOfPreviousMonth.isValid() || endOfPreviousMonth < firstCalendarDate())
            return std::nullopt;
        next = current.addDays(-days_in_month(endOfPreviousMonth));
        break;
    }
    case DateStep::Today:
        next = today;
        break;
    }
    if (!next.isValid() || next < firstCalendarDate() || next > lastCalendarDate())
        return std::nullopt;
    return next;
}

} // namespace velmora
