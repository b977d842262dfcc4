#include "core/schedule/weekly_times.h"

#include <QCoreApplication>
#include <QLocale>

#include "core/text/text_rules.h"

namespace velmora {

const char *const kBadTimeMessage = QT_TRANSLATE_NOOP("WeeklyTimes", "Types correctly");

namespace {

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// A non-blank box must hold HH?MM with hours 00-23 and minutes 00-59; the separator is free. A
// period may end at midnight, written 24:00.
bool isWellFormedTime(const QString &typed, bool periodEnd)
{
    const QString time = trimBlanks(typed);
    if (time.isEmpty())
        return true;
    if (time.size() != 5 || !isDigit(time.at(0)) || !isDigit(time.at(1)) || !isDigit(time.at(3)) ||
        !isDigit(time.at(4)))
        return false;
    if (periodEnd && time.left(2) == QLatin1String("24") && time.right(2) == QLatin1String("00"))
        return true;
    return time.left(2).toInt() <= 23 && time.right(2).toInt() <= 59;
}

// Why a day's periods are out of order, or the empty text when they are in order.
QString periodFault(const QString *stored)
{
    const qint64 n[] = {wholeValue(stored[0]), wholeValue(stored[1]), wholeValue(stored[2]),
                        wholeValue(stored[3])};
    for (int period = 0; period < 2; ++period) {
        const qint64 start = n[2 * period];
        const qint64 end = n[2 * period + 1];
        if ((start > 0 || end > 0) && !(end > start)) {
            const QString which = period == 0
                                      ? QCoreApplication::translate("WeeklyTimes", "the first period")
                                      : QCoreApplication::translate("WeeklyTimes", "the second period");
            return stored[2 * period + 1].isEmpty()
                       ? QCoreApplication::translate("WeeklyTimes", "%1 has a start (%2) but no end.")
                             .arg(which, shownTime(stored[2 * period]))
                       : QCoreApplication::translate("WeeklyTimes",
                                                     "%1 must end after it starts: it runs from %2 to %3.")
                             .arg(which, shownTime(stored[2 * period]), shownTime(stored[2 * period + 1]));
        }
    }
    // The second period may start the minute the first ends.
    if (n[1] > 0 && n[2] > 0 && n[1] > n[2])
        return QCoreApplication::translate("WeeklyTimes",
                                           "the second period starts at %1, before the first ends at %2.")
            .arg(shownTime(stored[2]), shownTime(stored[1]));
    return {};
}

QString boxCalled(int index)
{
    static const char *const names[] = {QT_TRANSLATE_NOOP("WeeklyTimes", "the start of the first period"),
                                        QT_TRANSLATE_NOOP("WeeklyTimes", "the end of the first period"),
                                        QT_TRANSLATE_NOOP("WeeklyTimes", "the start of the second period"),
                                        QT_TRANSLATE_NOOP("WeeklyTimes", "the end of the second period")};
    return QCoreApplication::translate("WeeklyTimes", names[index - 1]);
}

// The weekday's name in the language of the program, capitalised to begin the message.
QString weekdayName(int day)
{
    const QString name = QLocale().dayName(day + 1, QLocale::LongFormat);
    return name.left(1).toUpper() + name.mid(1);
}

} // namespace

QString shownTime(const QString &stored)
{
    if (stored.size() != 4)
        return stored;
    return stored.left(2) + QLatin1Char(':') + stored.right(2);
}

QString storedTime(const QString &typed)
{
    const QString time = trimBlanks(typed);
    if (time.isEmpty())
        return QStringLiteral(""); // the empty text, never a field without value
    return time.left(2) + time.right(2);
}

WeeklyTimesCheck checkWeeklyTimes(const WeeklyTimes &typed)
{
    WeeklyTimesCheck check;
    for (int day = 0; day < kWeekdayCount; ++day) {
        for (int index = 1; index <= kTimesPerDay; ++index) {
            const int box = weeklyTimePosition(day, index);
            if (!isWellFormedTime(typed[box], index % 2 == 0)) {
                check.message = QCoreApplication::translate("WeeklyTimes", kBadTimeMessage);
                check.reason =
                    QCoreApplication::translate(
                        "WeeklyTimes", "%1, %2: \"%3\" is not a time. Write it as 08:00, from 00:00 to 23:59 "
                                       "(24:00 may end a period).")
                        .arg(weekdayName(day), boxCalled(index), trimBlanks(typed[box]));
                check.focusBox = box;
                return check;
            }
            check.stored[box] = storedTime(typed[box]);
        }
        const QString fault = periodFault(&check.stored[weeklyTimePosition(day, 1)]);
        if (!fault.isEmpty()) {
            check.message =
                QCoreApplication::translate("WeeklyTimes", "%1 with inadequate data, please corrects.")
                    .arg(weekdayName(day));
            check.reason = QStringLiteral("%1: %2").arg(weekdayName(day), fault);
            return check;
        }
    }
    check.passed = true;
    return check;
}

} // namespace velmora
