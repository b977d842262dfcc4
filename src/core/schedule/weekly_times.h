#pragma once

#include "core/model/doctor_slots.h"

#include <QString>

#include <array>

namespace velmora {

// A stored HHMM shown as HH:MM; a value of any other length is shown as it is.
QString shownTime(const QString &stored);

// A typed time as it is stored: the first two and last two characters of the blank-trimmed text, or
// the empty text (never a null one) for a blank box.
QString storedTime(const QString &typed);

// The outcome of checking the 28 typed times, Monday first.
struct WeeklyTimesCheck
{
    bool passed = false;
    QString message;    // the first failure's message, empty when passed
    QString reason;     // which day, period and time failed, and why
    int focusBox = -1;  // the box (0..27) to take the focus, -1 for a period rule failure
    WeeklyTimes stored; // the values to store, complete only when passed
};

extern const char *const kBadTimeMessage; // "Types correctly"

// Checks the days one after another: each box's shape first, then the day's period rules.
WeeklyTimesCheck checkWeeklyTimes(const WeeklyTimes &typed);

} // namespace velmora
