#pragma once

#include "core/book_storage.h"

#include <QSqlRecord>
#include <QStringList>
#include <QVariantList>

namespace velmora {

// The settings record's fields as every engine reads and writes them, named from the slot table.

// Names, slot lengths and links of the ten slots.
QStringList doctorFieldNames();
AllDoctorFields doctorFieldsOf(const QSqlRecord &record);
// A stored value as the settings record holds it: its text, or none for a field without value.
std::optional<QString> storedText(const QVariant &value);

// A slot's weekly times, in the order of WeeklyTimes.
QStringList weeklyTimeFields(int slot);
WeeklyTimes weeklyTimesOf(const QSqlRecord &record, int slot);

// The fields a save sets and their values, in the same order.
struct SettingsWrite
{
    QStringList fields;
    QVariantList values;
};
// A slot length left unchosen is not written.
SettingsWrite doctorsWrite(const AllDoctorChanges &changes);
// A blank time is written as the empty text.
SettingsWrite weeklyTimesWrite(int slot, const WeeklyTimes &times);

} // namespace velmora
