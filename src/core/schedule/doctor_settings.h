#pragma once

#include "core/storage/book_storage.h"
#include "core/text/text_rules.h"

#include <QStringList>

#include <array>
#include <memory>
#include <optional>

namespace velmora {

class ClinicCalendar;

// The chosen doctor's settings as the day list and booking read them.
struct DoctorSettings
{
    QString slotLength = fitted({}, 2);                          // "15", "20", "30"; read as a number
    qint16 linkedSlot = 0;                                       // 0 = no link
    std::array<QString, kWeeklyTimeCount> weeklyTimes = blank(); // HHMM or four blanks, Monday first
    int slot = 0;
    std::shared_ptr<const ClinicCalendar> calendar; // none: the country's holidays alone

    static std::array<QString, kWeeklyTimeCount> blank();
};

// A doctor's slot length, link and weekly hours as the day list uses them.
DoctorSettings doctorSettingsOf(const DoctorFields &doctor, const WeeklyTimes &times);

// The slot's settings as stored, read with its weekly hours: false, with why, when its slot length or
// link has no value or the hours cannot be read.
bool readDoctorSettings(BookStorage &storage, int slot, const DoctorFields &doctor, DoctorSettings *settings,
                        QString *error);

// The clinic's calendar as stored; none, with why, when it cannot be read.
std::shared_ptr<const ClinicCalendar> readClinicCalendar(BookStorage &storage, QString *error);

// The same from the doctor's fields and weekly hours already read.
bool doctorSettingsFrom(const DoctorFields &doctor, const WeeklyTimes &times, DoctorSettings *settings,
                        QString *error);

// The slot length and link read again into settings, as before each Add.
bool readSlotLengthAndLink(BookStorage &storage, int slot, DoctorSettings *settings, QString *error);

// The doctor list: the names up to the first without value.
QStringList listedNames(const AllDoctorFields &fields);

} // namespace velmora
