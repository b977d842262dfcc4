#include "core/weekly_times.h"

#include <QCoreApplication>
#include <QLocale>

#include "core/text_rules.h"

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

bool periodsAreInOrder(const QString *stored)
{
    const qint64 n1 = wholeValue(stored[0]);
    const qint64 n2 = wholeValue(stored[1]);
    const qint64 n3 = wholeValue(stored[2]);
    const qint64 n4 = wholeValue(stored[3]);
    if ((n1 > 0 || n2 > 0) && !(n2 > n1))
        return false;
    if ((n3 > 0 || n4 > 0) && !(n4 > n3))
        return false;
    return !(n2 > 0 && n3 > 0 && n2 > n3); // the second period may start the minute the first ends
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
                check.focusBox = box;
                return check;
            }
            check.stored[box] = storedTime(typed[box]);
        }
        if (!periodsAreInOrder(&check.stored[weeklyTimePosition(day, 1)])) {
            check.message =
                QCoreApplication::translate("WeeklyTimes", "%1 with inadequate data, please corrects.")
                    .arg(weekdayName(day));
            return check;
        }
    }
    check.passed = true;
    return check;
}

} // namespace velmora
