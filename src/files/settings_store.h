#pragma once

#include "core/storage/book_storage.h"
#include "files/database.h"
#include "schema/slot_files.h"

namespace velmora {

// The settings record, spread over the main settings file (names, slot lengths, links, weekly times
// of slots 1 to 6) and the extra one (weekly times of slots 7 to 10). Each read takes the first
// record afresh; each save is one transaction.
class SettingsStore
{
public:
    SettingsStore(Connection &main, Connection &extra) : main_(main), extra_(extra) {}

    bool readDoctorFields(AllDoctorFields *fields, QString *error);
    // The same, giving up at once on a locked file, for a read that is tried again soon anyway.
    bool tryReadDoctorFields(AllDoctorFields *fields, QString *error);
    // Only one slot's slot length and link: read after every booking, so kept to two fields.
    bool readSlotLengthAndLink(int slot, DoctorFields *fields, QString *error);
    bool saveDoctorFields(const AllDoctorChanges &changes, QString *error);

    // Weekly times of a slot, Monday first; a field without value reads as the empty text.
    bool readWeeklyTimes(int slot, WeeklyTimes *times, QString *error);
    // Every slot's, each settings file read once.
    bool readAllWeeklyTimes(AllWeeklyTimes *times, QString *error);
    bool saveWeeklyTimes(int slot, const WeeklyTimes &times, QString *error);

    // The clinic's calendar, in a table of its own beside the settings record.
    bool readCalendar(QVector<CalendarEntry> *entries, QString *error);
    bool saveCalendar(const QVector<CalendarEntry> &entries, QString *error);
    bool changeCalendar(const BookStorage::CalendarEdit &edit, QVector<CalendarEntry> *saved, QString *error);

    // The waiting list, in a table of its own beside the settings record.
    bool readWaitingList(QVector<WaitingEntry> *entries, QString *error);
    bool addToWaitingList(const WaitingEntry &entry, QString *error);
    WriteOutcome leaveWaitingList(qint64 id, WaitingState state, QString *error);
    PatientSaved savePatient(const Patient &patient, qint64 *id, QString *error);
    bool readPatients(QVector<Patient> *patients, QString *error);
    bool readSqueezeLimits(SqueezeLimits *limits, QString *error);
    bool saveSqueezeLimits(const SqueezeLimits &limits, QString *error);

private:
    Connection &connectionForTimes(int slot);

    Connection &main_;
    Connection &extra_;
};

} // namespace velmora
