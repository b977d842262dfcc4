#include "core/schedule/doctor_setup.h"

namespace velmora {

bool DoctorSetup::read(AllDoctorFields *fields, QString *error)
{
    asRead_.reset();
    if (!storage_.readDoctors(fields, error))
        return false;
    asRead_ = *fields;
    return true;
}

DoctorSetup::Save DoctorSetup::save(const AllDoctorChanges &changes, QString *error, bool overwriteOtherSave)
{
    if (asRead_ && !overwriteOtherSave) {
        AllDoctorFields now;
        if (!storage_.readDoctors(&now, error))
            return Save::Failed;
        if (now != *asRead_)
            return Save::SavedElsewhere;
    }
    if (!storage_.saveDoctors(changes, error))
        return Save::Failed;
    // What was saved is kept: the next save asks only when another desk saves meanwhile.
    AllDoctorFields saved;
    QString readError;
    if (storage_.readDoctors(&saved, &readError))
        asRead_ = saved;
    else
        asRead_.reset();
    return Save::Saved;
}

bool DoctorSetup::readWeeklyTimes(int slot, WeeklyTimes *times, QString *error)
{
    return storage_.readWeeklyTimes(slot, times, error);
}

bool DoctorSetup::saveWeeklyTimes(int slot, const WeeklyTimes &times, QString *error)
{
    return storage_.saveWeeklyTimes(slot, times, error);
}

} // namespace velmora
