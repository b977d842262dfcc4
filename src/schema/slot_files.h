#pragma once

#include <QFileDevice>

#include "core/model/doctor_slots.h"

#include <QString>

#include <array>

namespace velmora {

// What the program writes of the books (their backups, the files it saves) is the user's alone.
constexpr QFileDevice::Permissions kPrivateFile = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
constexpr QFileDevice::Permissions kPrivateFolder =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;

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

extern const char *const kMainSettingsFile;  // "bdm6.mdb"
extern const char *const kExtraSettingsFile; // "bdm66.mdb"

// The slot's row of the table; slot must be 1 to 10.
const DoctorSlot &doctorSlot(int slot);

// The weekly-time field of a slot, day (0 = Monday) and index (1 to 4), for example "p3_ter2".
QString weeklyTimeField(int slot, int day, int index);

} // namespace velmora
