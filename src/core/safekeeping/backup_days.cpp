#include "core/safekeeping/backup_days.h"

#include <algorithm>
#include <functional>
#include <set>

namespace velmora {

QList<QDate> backupsKept(const QList<QDate> &days, QDate newest)
{
    QList<QDate> newestFirst = days;
    std::sort(newestFirst.begin(), newestFirst.end(), std::greater<QDate>());
    const QDate daily = newest.addDays(-13);
    const QDate weekly = daily.addDays(-8 * 7);
    std::set<qint64> weeks;
    std::set<int> months;
    QList<QDate> kept;
    for (const QDate &day : std::as_const(newestFirst)) {
        const bool keep =
            day >= daily || day == newest ||
            (day >= weekly && weeks.insert(day.daysTo(daily.addDays(-1)) / 7).second) ||
            (day < weekly && months.size() < 12 && months.insert(day.year() * 12 + day.month()).second);
        if (keep)
            kept.prepend(day);
    }
    return kept;
}

} // namespace velmora
