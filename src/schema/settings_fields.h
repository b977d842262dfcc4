#pragma once

#include "core/storage/book_storage.h"
#include "schema/slot_files.h"

#include <QSqlRecord>
#include <QStringList>
#include <QVariantList>

#include <vector>

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

// One field of the whole settings record: its stored name, its file, and where a SettingsRecord
// holds it.
struct RecordField
{
    QString name;
    SettingsFile file;
    bool number;                                        // stored as a number (the links)
    std::optional<QString> SlotRecord::*part = nullptr; // or, for a weekly time, none and its position
    int slot = 0;
    int time = -1;
    std::optional<QString> &in(SettingsRecord &record) const;
    const std::optional<QString> &in(const SettingsRecord &record) const;
};
// Every field, the main file's first.
const std::vector<RecordField> &recordFields();
const RecordField *recordField(const QString &name);

// A field's value as a statement binds it: none stays none, a number its number.
QVariant storedValue(const RecordField &field, const QString &value);
// A stored value as the whole record holds it: the null text for no value.
QString recordValue(const QVariant &value);

} // namespace velmora
