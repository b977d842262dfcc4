#include "schema/settings_fields.h"

#include "schema/slot_files.h"

namespace velmora {

QStringList doctorFieldNames()
{
    QStringList names;
    for (const DoctorSlot &slot : kDoctorSlots)
        names << QString::fromLatin1(slot.nameField) << QString::fromLatin1(slot.intervalField)
              << QString::fromLatin1(slot.linkField);
    return names;
}

std::optional<QString> storedText(const QVariant &value)
{
    return value.isNull() ? std::nullopt : std::optional<QString>(value.toString());
}

AllDoctorFields doctorFieldsOf(const QSqlRecord &record)
{
    AllDoctorFields fields;
    for (const DoctorSlot &slot : kDoctorSlots) {
        DoctorFields &doctor = fields[static_cast<size_t>(slot.slot - 1)];
        doctor.name = storedText(record.value(QString::fromLatin1(slot.nameField)));
        doctor.interval = storedText(record.value(QString::fromLatin1(slot.intervalField)));
        doctor.link = storedText(record.value(QString::fromLatin1(slot.linkField)));
    }
    return fields;
}

QStringList weeklyTimeFields(int slot)
{
    QStringList fields;
    for (int day = 0; day < kWeekdayCount; ++day)
        for (int index = 1; index <= kTimesPerDay; ++index)
            fields << weeklyTimeField(slot, day, index);
    return fields;
}

WeeklyTimes weeklyTimesOf(const QSqlRecord &record, int slot)
{
    WeeklyTimes times;
    const QStringList fields = weeklyTimeFields(slot);
    for (int i = 0; i < kWeeklyTimeCount; ++i)
        times[static_cast<size_t>(i)] = record.value(fields[i]).toString();
    return times;
}

SettingsWrite doctorsWrite(const AllDoctorChanges &changes)
{
    SettingsWrite write;
    for (const DoctorSlot &slot : kDoctorSlots) {
        const DoctorChanges &doctor = changes[static_cast<size_t>(slot.slot - 1)];
        write.fields << QString::fromLatin1(slot.linkField) << QString::fromLatin1(slot.nameField);
        write.values << doctor.link << doctor.name;
        if (doctor.interval) {
            write.fields << QString::fromLatin1(slot.intervalField);
            write.values << *doctor.interval;
        }
    }
    return write;
}

SettingsWrite weeklyTimesWrite(int slot, const WeeklyTimes &times)
{
    SettingsWrite write{weeklyTimeFields(slot), {}};
    for (const QString &time : times)
        write.values << (time.isNull() ? QStringLiteral("") : time);
    return write;
}

std::optional<QString> &RecordField::in(SettingsRecord &record) const
{
    SlotRecord &slotRecord = record[static_cast<size_t>(slot - 1)];
    return part ? slotRecord.*part : slotRecord.weeklyTimes[static_cast<size_t>(time)];
}

const std::optional<QString> &RecordField::in(const SettingsRecord &record) const
{
    return in(const_cast<SettingsRecord &>(record));
}

const std::vector<RecordField> &recordFields()
{
    static const std::vector<RecordField> fields = [] {
        std::vector<RecordField> all;
        for (const DoctorSlot &slot : kDoctorSlots) {
            all.push_back({QString::fromLatin1(slot.nameField), SettingsFile::Main, false, &SlotRecord::name,
                           slot.slot});
            all.push_back({QString::fromLatin1(slot.intervalField), SettingsFile::Main, false,
                           &SlotRecord::interval, slot.slot});
            all.push_back({QString::fromLatin1(slot.linkField), SettingsFile::Main, true, &SlotRecord::link,
                           slot.slot});
        }
        for (const SettingsFile file : {SettingsFile::Main, SettingsFile::Extra})
            for (const DoctorSlot &slot : kDoctorSlots)
                if (slot.timesFile == file)
                    for (int time = 0; time < kWeeklyTimeCount; ++time)
                        all.push_back(
                            {weeklyTimeFields(slot.slot).at(time), file, false, nullptr, slot.slot, time});
        return all;
    }();
    return fields;
}

const RecordField *recordField(const QString &name)
{
    for (const RecordField &field : recordFields())
        if (field.name == name)
            return &field;
    return nullptr;
}

QVariant storedValue(const RecordField &field, const QString &value)
{
    if (value.isNull())
        return QVariant(field.number ? QMetaType::fromType<qlonglong>() : QMetaType::fromType<QString>());
    bool whole = false;
    const qlonglong number = value.toLongLong(&whole);
    return field.number && whole ? QVariant(number) : QVariant(value);
}

QString recordValue(const QVariant &value)
{
    return value.isNull() ? QString() : value.toString();
}

} // namespace velmora
