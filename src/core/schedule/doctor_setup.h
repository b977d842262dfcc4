#pragma once

#include "core/storage/book_storage.h"

#include <optional>

namespace velmora {

// The setup window's work on the settings record: the doctors' names, links and slot lengths as read
// when the window opens, saved without writing over what another desk saved meanwhile, and each
// doctor's weekly hours.
class DoctorSetup
{
public:
    explicit DoctorSetup(ClinicSetupStorage &storage) : storage_(storage) {}

    bool read(AllDoctorFields *fields, QString *error);
    enum class Save
    {
        Saved,
        SavedElsewhere, // another desk saved since read(): nothing written, ask before overwriting
        Failed
    };
    Save save(const AllDoctorChanges &changes, QString *error, bool overwriteOtherSave = false);
    bool readWeeklyTimes(int slot, WeeklyTimes *times, QString *error);
    bool saveWeeklyTimes(int slot, const WeeklyTimes &times, QString *error);

private:
    ClinicSetupStorage &storage_;
    std::optional<AllDoctorFields> asRead_;
};

} // namespace velmora
