#pragma once

#include <QString>

#include <array>

namespace velmora {

constexpr int kDoctorSlotCount = 10;
constexpr int kWeekdayCount = 7;
constexpr int kTimesPerDay = 4;
constexpr int kWeeklyTimeCount = kWeekdayCount * kTimesPerDay;

using WeeklyTimes = std::array<QString, kWeeklyTimeCount>;

// Which settings file, and so which connection, holds a slot's weekly times.
enum class SettingsFile
{
    Main,
    Extra
};

// One doctor position with the names of its file and settings fields. Slots 6 to 10 number their
// appointment file and name and interval fields from 11, but their link field and time prefix from 6.
struct DoctorSlot
{
    int slot;
    const char *appointmentFile;
    const char *nameField;
    const char *intervalField;
    const char *linkField;
    const char *timePrefix;
    SettingsFile timesFile;
};

extern const std::array<DoctorSlot, kDoctorSlotCount> kDoctorSlots;

struct Weekday
{
    const char *fieldPart; // "seg" .. "dom", in field and box names
    const char *label;     // "Mon:" .. "Sun:"
    const char *name;      // "Monday" .. "Sunday"
};

// Monday first, the order in which weekly times are stored and checked.
extern const std::array<Weekday, kWeekdayCount> kWeekdays;

extern const char *const kMainSettingsFile;  // "bdm6.mdb"
extern const char *const kExtraSettingsFile; // "bdm66.mdb"

bool isDoctorSlot(int slot);

// The slot's row of the table; slot must be 1 to 10.
const DoctorSlot &doctorSlot(int slot);

// The weekly-time field of a slot, day (0 = Monday) and index (1 to 4), for example "p3_ter2".
QString weeklyTimeField(int slot, int day, int index);

// Position 0..27 of a day (0 = Monday) and index (1 to 4) in the weekly times.
constexpr int weeklyTimePosition(int day, int index)
{
    return day * kTimesPerDay + index - 1;
}

} // namespace velmora
