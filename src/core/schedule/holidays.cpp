#include "core/schedule/holidays.h"

#include <QCoreApplication>

#include <algorithm>
#include <array>

namespace velmora {

QDate easterSunday(int year)
{
    const int a = year % 19;
    const int b = year / 100;
    const int c = year % 100;
    const int d = b / 4;
    const int e = b % 4;
    const int f = (b + 8) / 25;
    const int g = (b - f + 1) / 3;
    const int h = (19 * a + b - d - g + 15) % 30;
    const int i = c / 4;
    const int k = c % 4;
    const int l = (32 + 2 * e + 2 * i - h - k) % 7;
    const int m = (a + 11 * h + 22 * l) / 451;
    const int month = (h + l - 7 * m + 114) / 31;
    const int day = (h + l - 7 * m + 114) % 31 + 1;
    return QDate(year, month, day);
}

namespace {

struct FixedHoliday
{
    int month;
    int day;
    const char *name;
    int since; // the first year it is kept
};

constexpr std::array<FixedHoliday, 9> kFixed{{
    {1, 1, QT_TRANSLATE_NOOP("Holidays", "New Year's Day"), 0},
    {4, 21, QT_TRANSLATE_NOOP("Holidays", "Tiradentes"), 0},
    {5, 1, QT_TRANSLATE_NOOP("Holidays", "Labour Day"), 0},
    {9, 7, QT_TRANSLATE_NOOP("Holidays", "Independence Day"), 0},
    {10, 12, QT_TRANSLATE_NOOP("Holidays", "Our Lady Aparecida"), 0},
    {11, 2, QT_TRANSLATE_NOOP("Holidays", "All Souls' Day"), 0},
    {11, 15, QT_TRANSLATE_NOOP("Holidays", "Proclamation of the Republic"), 0},
    {11, 20, QT_TRANSLATE_NOOP("Holidays", "Black Consciousness Day"), 2024},
    {12, 25, QT_TRANSLATE_NOOP("Holidays", "Christmas"), 0},
}};

// Days counted from Easter Sunday.
struct MovableHoliday
{
    int fromEaster;
    const char *name;
    const char *optionalKey; // none: a national holiday
};

constexpr std::array<MovableHoliday, 4> kMovable{{
    {-48, QT_TRANSLATE_NOOP("Holidays", "Carnival Monday"), "carnival"},
    {-47, QT_TRANSLATE_NOOP("Holidays", "Carnival Tuesday"), "carnival"},
    {-2, QT_TRANSLATE_NOOP("Holidays", "Good Friday"), nullptr},
    {60, QT_TRANSLATE_NOOP("Holidays", "Corpus Christi"), "corpus-christi"},
}};

Holiday fixedHoliday(int year, const FixedHoliday &fixed)
{
    return {
        QDate(year, fixed.month, fixed.day), QCoreApplication::translate("Holidays", fixed.name), false, {}};
}

Holiday movableHoliday(QDate easter, const MovableHoliday &movable)
{
    return {easter.addDays(movable.fromEaster), QCoreApplication::translate("Holidays", movable.name),
            movable.optionalKey != nullptr, QString::fromLatin1(movable.optionalKey)};
}

} // namespace

QVector<Holiday> holidaysOf(int year)
{
    QVector<Holiday> days;
    for (const FixedHoliday &fixed : kFixed)
        if (year >= fixed.since)
            days.append(fixedHoliday(year, fixed));
    const QDate easter = easterSunday(year);
    for (const MovableHoliday &movable : kMovable)
        days.append(movableHoliday(easter, movable));
    std::sort(days.begin(), days.end(), [](const Holiday &a, const Holiday &b) { return a.date < b.date; });
    return days;
}

std::optional<Holiday> holidayOn(QDate date)
{
    if (!date.isValid())
        return std::nullopt;
    for (const FixedHoliday &fixed : kFixed)
        if (date.month() == fixed.month && date.day() == fixed.day && date.year() >= fixed.since)
            return fixedHoliday(date.year(), fixed);
    const QDate easter = easterSunday(date.year());
    for (const MovableHoliday &movable : kMovable)
        if (easter.daysTo(date) == movable.fromEaster)
            return movableHoliday(easter, movable);
    return std::nullopt;
}

} // namespace velmora
