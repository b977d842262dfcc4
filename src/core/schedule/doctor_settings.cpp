#include "core/schedule/doctor_settings.h"

#include "core/safekeeping/activity_log.h"
#include "core/schedule/clinic_calendar.h"

#include <QCoreApplication>

#include <algorithm>

namespace velmora {

std::array<QString, kWeeklyTimeCount> DoctorSettings::blank()
{
    std::array<QString, kWeeklyTimeCount> times;
    times.fill(fitted({}, 4));
    return times;
}

DoctorSettings doctorSettingsOf(const DoctorFields &doctor, const WeeklyTimes &times)
{
    DoctorSettings settings;
    settings.slotLength = fitted(doctor.interval.value_or(QString()), 2);
    settings.linkedSlot = linkedSlotValue(doctor.link.value_or(QString()));
    for (int i = 0; i < kWeeklyTimeCount; ++i)
        settings.weeklyTimes[i] = fitted(times[i], 4);
    return settings;
}

std::shared_ptr<const ClinicCalendar> readClinicCalendar(BookStorage &storage, QString *error)
{
    QVector<CalendarEntry> entries;
    if (!storage.readCalendar(&entries, error))
        return nullptr;
    const auto unread = std::count_if(entries.cbegin(), entries.cend(),
                                      [](const CalendarEntry &entry) { return !entry.unreadable.isEmpty(); });
    if (unread > 0)
        qCWarning(logBook,
                  "%lld entries of the clinic's calendar cannot be read: the days they might close are taken "
                  "as open until they are removed in the calendar window",
                  static_cast<long long>(unread));
    return std::make_shared<const ClinicCalendar>(std::move(entries));
}

bool doctorSettingsFrom(const DoctorFields &doctor, const WeeklyTimes &times, DoctorSettings *settings,
                        QString *error)
{
    if (!doctor.interval || !doctor.link) {
        *error = QCoreApplication::translate(
            "AppointmentBook", "the doctor's slot length or linked book has no value in the settings");
        return false;
    }
    *settings = doctorSettingsOf(doctor, times);
    return true;
}

bool readDoctorSettings(BookStorage &storage, int slot, const DoctorFields &doctor, DoctorSettings *settings,
                        QString *error)
{
    WeeklyTimes times;
    if (!doctorSettingsFrom(doctor, {}, settings, error) || !storage.readWeeklyTimes(slot, &times, error) ||
        !doctorSettingsFrom(doctor, times, settings, error))
        return false;
    settings->slot = slot;
    settings->calendar = readClinicCalendar(storage, error);
    return settings->calendar != nullptr;
}

bool readSlotLengthAndLink(BookStorage &storage, int slot, DoctorSettings *settings, QString *error)
{
    DoctorFields doctor;
    if (!storage.readSlotLengthAndLink(slot, &doctor, error))
        return false;
    settings->slotLength = fitted(doctor.interval.value_or(QString()), 2);
    settings->linkedSlot = linkedSlotValue(doctor.link.value_or(QString()));
    return true;
}

QStringList listedNames(const AllDoctorFields &fields)
{
    QStringList names;
    for (const DoctorFields &doctor : fields) {
        if (!doctor.name)
            break;
        names << *doctor.name;
    }
    return names;
}

} // namespace velmora
