#pragma once

#include <QString>

#include <array>

namespace velmora {

constexpr int kDoctorSlotCount = 10;
constexpr int kWeekdayCount = 7;
constexpr int kTimesPerDay = 4;
constexpr int kWeeklyTimeCount = kWeekdayCount * kTimesPerDay;

// A doctor's weekly hours, Monday first: start and end of the first period, then of the second.
using WeeklyTimes = std::array<QString, kWeeklyTimeCount>;

struct Weekday
{
    const char *code;  // "seg" .. "dom", in the names of fields and time boxes
    const char *label; // "Mon:" .. "Sun:"
    const char *name;  // "Monday" .. "Sunday"
};

// Monday first, the order in which weekly times are stored and checked.
extern const std::array<Weekday, kWeekdayCount> kWeekdays;

bool isDoctorSlot(int slot);

// Position 0..27 of a day (0 = Monday) and index (1 to 4) in the weekly times.
constexpr int weeklyTimePosition(int day, int index)
{
    return day * kTimesPerDay + index - 1;
}

} // namespace velmora
