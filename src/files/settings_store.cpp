#include "files/settings_store.h"

#include "core/model/patient.h"
#include "core/reception/waiting_list.h"
#include "core/schedule/clinic_calendar.h"
#include "schema/calendar_text.h"
#include "schema/patient_sql.h"
#include "schema/settings_fields.h"
#include "schema/waiting_sql.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <algorithm>

namespace velmora {

namespace {

// The write's transaction committed when its statements went through, else rolled back; error holds
// why a statement failed, or is given the commit's reason.
// A read of a table kept beside the record failed: true when the file simply has none yet (nothing of
// that kind was ever saved in it), which reads as empty.
bool neverSaved(QSqlDatabase db, const QString &table)
{
    QSqlQuery query(db);
    return query.exec(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = '%1'")
                          .arg(table)) &&
           !query.next();
}

// The connection's file opened and a write begun on it; false, with why, otherwise.
bool beginWrite(Connection &connection, QSqlDatabase *db, QString *error)
{
    if (!connection.ensureOpen(error))
        return false;
    *db = connection.database();
    if (db->transaction())
        return true;
    *error = reasonOf(db->lastError());
    return false;
}

bool endWrite(QSqlDatabase &db, QSqlQuery &query, bool written, QString *error)
{
    query.finish();
    if (written && db.commit())
        return true;
    if (written)
        *error = reasonOf(db.lastError());
    db.rollback();
    return false;
}

bool readFirstRecord(Connection &connection, QSqlRecord *record, qint64 *rowId, QString *error)
{
    if (!connection.ensureOpen(error))
        return false;
    QSqlQuery query(connection.database());
    if (!query.exec(QStringLiteral("SELECT rowid AS velmora_rowid, * FROM profs ORDER BY rowid LIMIT 1"))) {
        *error = reasonOf(query.lastError());
        return false;
    }
    if (!query.next()) {
        *error = QCoreApplication::translate("Storage", "\"%1\" holds no settings record")
                     .arg(connection.fileName());
        return false;
    }
    *record = query.record();
    *rowId = query.value(0).toLongLong();
    return true;
}

// Sets the named fields of the first record in one statement; the names come from the slot table,
// the values are bound.
bool updateFirstRecord(Connection &connection, const QStringList &fields, const QVariantList &values,
                       QString *error)
{
    QSqlRecord record;
    qint64 rowId = 0;
    if (!readFirstRecord(connection, &record, &rowId, error))
        return false;
    QStringList assignments;
    for (const QString &field : fields)
        assignments << field + QStringLiteral(" = ?");
    QSqlDatabase db = connection.database();
    QSqlQuery query(db);
    query.prepare(
        QStringLiteral("UPDATE profs SET %1 WHERE rowid = ?").arg(assignments.join(QStringLiteral(", "))));
    for (const QVariant &value : values)
        query.addBindValue(value);
    query.addBindValue(rowId);
    if (!db.transaction()) {
        *error = reasonOf(db.lastError());
        return false;
    }
    const bool written = query.exec() && query.numRowsAffected() == 1;
    if (!written)
        *error = query.lastError().isValid()
                     ? reasonOf(query.lastError())
                     : QCoreApplication::translate("Storage", "the settings record was not found");
    return endWrite(db, query, written, error);
}

} // namespace

Connection &SettingsStore::connectionForTimes(int slot)
{
    return doctorSlot(slot).timesFile == SettingsFile::Main ? main_ : extra_;
}

bool SettingsStore::readDoctorFields(AllDoctorFields *fields, QString *error)
{
    QSqlRecord record;
    qint64 rowId = 0;
    if (!readFirstRecord(main_, &record, &rowId, error))
        return false;
    *fields = doctorFieldsOf(record);
    return true;
}

bool SettingsStore::tryReadDoctorFields(AllDoctorFields *fields, QString *error)
{
    const int wait = main_.lockWait();
    main_.setLockWait(0);
    const bool ok = readDoctorFields(fields, error);
    main_.setLockWait(wait);
    return ok;
}

bool SettingsStore::readSlotLengthAndLink(int slot, DoctorFields *fields, QString *error)
{
    if (!main_.ensureOpen(error))
        return false;
    const DoctorSlot &doctor = doctorSlot(slot);
    QSqlQuery query(main_.database());
    if (!query.exec(QStringLiteral("SELECT %1, %2 FROM profs ORDER BY rowid LIMIT 1")
                        .arg(QLatin1String(doctor.intervalField), QLatin1String(doctor.linkField)))) {
        *error = reasonOf(query.lastError());
        return false;
    }
    if (!query.next()) {
        *error =
            QCoreApplication::translate("Storage", "\"%1\" holds no settings record").arg(main_.fileName());
        return false;
    }
    fields->interval = storedText(query.value(0));
    fields->link = storedText(query.value(1));
    return true;
}

bool SettingsStore::saveDoctorFields(const AllDoctorChanges &changes, QString *error)
{
    const SettingsWrite write = doctorsWrite(changes);
    return updateFirstRecord(main_, write.fields, write.values, error);
}

bool SettingsStore::readWeeklyTimes(int slot, WeeklyTimes *times, QString *error)
{
    QSqlRecord record;
    qint64 rowId = 0;
    if (!readFirstRecord(connectionForTimes(slot), &record, &rowId, error))
        return false;
    *times = weeklyTimesOf(record, slot);
    return true;
}

bool SettingsStore::readAllWeeklyTimes(AllWeeklyTimes *times, QString *error)
{
    QSqlRecord main;
    QSqlRecord extra;
    qint64 rowId = 0;
    if (!readFirstRecord(main_, &main, &rowId, error) || !readFirstRecord(extra_, &extra, &rowId, error))
        return false;
    for (int slot = 1; slot <= kDoctorSlotCount; ++slot)
        (*times)[static_cast<size_t>(slot - 1)] =
            weeklyTimesOf(doctorSlot(slot).timesFile == SettingsFile::Main ? main : extra, slot);
    return true;
}

bool SettingsStore::saveWeeklyTimes(int slot, const WeeklyTimes &times, QString *error)
{
    const SettingsWrite write = weeklyTimesWrite(slot, times);
    return updateFirstRecord(connectionForTimes(slot), write.fields, write.values, error);
}

bool SettingsStore::readCalendar(QVector<CalendarEntry> *entries, QString *error)
{
    entries->clear();
    if (!main_.ensureOpen(error))
        return false;
    QSqlQuery query(main_.database());
    if (!query.exec(QStringLiteral("SELECT entries FROM %1 LIMIT 1").arg(QLatin1String(kCalendarTable)))) {
        if (neverSaved(main_.database(), QLatin1String(kCalendarTable)))
            return true;
        *error = reasonOf(query.lastError());
        return false;
    }
    // What cannot be read of it comes as entries kept unread: the books stay usable, the days open.
    if (query.next())
        calendarFromText(query.value(0).toString(), entries);
    return true;
}

bool SettingsStore::saveCalendar(const QVector<CalendarEntry> &entries, QString *error)
{
    QSqlDatabase db;
    if (!beginWrite(main_, &db, error))
        return false;
    const QString table = QLatin1String(kCalendarTable);
    QSqlQuery query(db);
    const bool saved =
        query.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (entries TEXT NOT NULL)").arg(table)) &&
        query.exec(QStringLiteral("DELETE FROM %1").arg(table)) &&
        query.prepare(QStringLiteral("INSERT INTO %1 (entries) VALUES (?)").arg(table)) &&
        (query.addBindValue(calendarText(entries)), query.exec());
    if (!saved)
        *error = reasonOf(query.lastError());
    return endWrite(db, query, saved, error);
}

bool SettingsStore::changeCalendar(const BookStorage::CalendarEdit &edit, QVector<CalendarEntry> *saved,
                                   QString *error)
{
    if (!main_.ensureOpen(error))
        return false;
    QSqlDatabase db = main_.database();
    const QString table = QLatin1String(kCalendarTable);
    QSqlQuery query(db);
    // The file's write lock taken (waited for) before the calendar is read, so that the one read is the
    // one replaced.
    if (!query.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
        *error = reasonOf(query.lastError());
        return false;
    }
    if (!query.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (entries TEXT NOT NULL)").arg(table)) ||
        !query.exec(QStringLiteral("SELECT entries FROM %1 LIMIT 1").arg(table))) {
        *error = reasonOf(query.lastError());
        return endWrite(db, query, false, error);
    }
    saved->clear();
    if (query.next())
        calendarFromText(query.value(0).toString(), saved); // what cannot be read is written back as it was
    query.finish();
    if (!edit(*saved, error))
        return endWrite(db, query, false, error);
    const bool written = query.exec(QStringLiteral("DELETE FROM %1").arg(table)) &&
                         query.prepare(QStringLiteral("INSERT INTO %1 (entries) VALUES (?)").arg(table)) &&
                         (query.addBindValue(calendarText(*saved)), query.exec());
    if (!written)
        *error = reasonOf(query.lastError());
    return endWrite(db, query, written, error);
}

bool SettingsStore::readWaitingList(QVector<WaitingEntry> *entries, QString *error)
{
    entries->clear();
    if (!main_.ensureOpen(error))
        return false;
    QSqlQuery query(main_.database());
    query.setForwardOnly(true);
    if (!query.exec(
            QStringLiteral("SELECT id, %1 FROM %2 ORDER BY id").arg(waitingColumns(), waitingListTable()))) {
        if (neverSaved(main_.database(), waitingListTable()))
            return true;
        *error = reasonOf(query.lastError());
        return false;
    }
    while (query.next())
        entries->append(waitingEntryOf(query));
    return true;
}

bool SettingsStore::addToWaitingList(const WaitingEntry &entry, QString *error)
{
    QSqlDatabase db;
    if (!beginWrite(main_, &db, error))
        return false;
    QSqlQuery query(db);
    WaitingEntry waiting = entry;
    waiting.state = WaitingEntry::State::Waiting;
    waiting.leftAt = {};
    const QVariantList values = waitingValues(waiting);
    const bool added = query.exec(waitingTableStatement(Dialect::Files, waitingListTable())) &&
                       query.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (?%3)")
                                         .arg(waitingListTable(), waitingColumns(),
                                              QStringLiteral(", ?").repeated(values.size() - 1))) &&
                       (std::for_each(values.cbegin(), values.cend(),
                                      [&](const QVariant &value) { query.addBindValue(value); }),
                        query.exec());
    if (!added)
        *error = reasonOf(query.lastError());
    return endWrite(db, query, added, error);
}

WriteOutcome SettingsStore::leaveWaitingList(qint64 id, WaitingEntry::State state, QString *error)
{
    if (!main_.ensureOpen(error))
        return WriteOutcome::Failed;
    QSqlQuery query(main_.database());
    if (!query.prepare(leaveWaitingStatement(waitingListTable()))) {
        *error = reasonOf(query.lastError());
        return WriteOutcome::Failed;
    }
    for (const QVariant &value :
         QVariantList{stateKey(state), QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs), id})
        query.addBindValue(value);
    if (!query.exec()) {
        *error = reasonOf(query.lastError());
        return WriteOutcome::Failed;
    }
    if (query.numRowsAffected() != 1) {
        *error = QCoreApplication::translate("Storage", "the entry is no longer on the waiting list");
        return WriteOutcome::NoLongerStored;
    }
    return WriteOutcome::Done;
}

PatientSaved SettingsStore::savePatient(const Patient &patient, qint64 *id, QString *error)
{
    QSqlDatabase db;
    if (!beginWrite(main_, &db, error))
        return PatientSaved::Failed;
    QSqlQuery query(db);
    bool written =
        query.exec(patientsTableStatement(Dialect::Files, patientsTable())) &&
        query.prepare(QStringLiteral("SELECT 1 FROM %1 WHERE cpf = ? AND id <> ?").arg(patientsTable()));
    query.addBindValue(storedCpf(patient));
    query.addBindValue(patient.id);
    written = written && query.exec();
    if (written && query.next()) {
        query.finish();
        endWrite(db, query, false, error);
        return PatientSaved::CpfTaken;
    }
    if (written && patient.id == 0) {
        written =
            query.prepare(QStringLiteral("INSERT INTO %1 (cpf, record) VALUES (?, ?)").arg(patientsTable()));
        query.addBindValue(storedCpf(patient));
        query.addBindValue(patientText(patient));
        written = written && query.exec();
        *id = query.lastInsertId().toLongLong();
    } else if (written) {
        written = query.prepare(
            QStringLiteral("UPDATE %1 SET cpf = ?, record = ? WHERE id = ?").arg(patientsTable()));
        query.addBindValue(storedCpf(patient));
        query.addBindValue(patientText(patient));
        query.addBindValue(patient.id);
        written = written && query.exec() && query.numRowsAffected() == 1;
        *id = patient.id;
    }
    if (!written && error->isEmpty())
        *error = reasonOf(query.lastError());
    return endWrite(db, query, written, error) ? PatientSaved::Saved : PatientSaved::Failed;
}

bool SettingsStore::readPatients(QVector<Patient> *patients, QString *error)
{
    patients->clear();
    if (!main_.ensureOpen(error))
        return false;
    QSqlQuery query(main_.database());
    if (!query.exec(QStringLiteral("SELECT id, record FROM %1 ORDER BY id").arg(patientsTable()))) {
        if (neverSaved(main_.database(), patientsTable()))
            return true;
        *error = reasonOf(query.lastError());
        return false;
    }
    while (query.next()) {
        Patient patient;
        patient.id = query.value(0).toLongLong();
        if (patientFromText(query.value(1).toString(), &patient))
            patients->append(patient);
    }
    return true;
}

bool SettingsStore::readSqueezeLimits(SqueezeLimits *limits, QString *error)
{
    limits->fill(std::nullopt);
    if (!main_.ensureOpen(error))
        return false;
    QSqlQuery query(main_.database());
    if (!query.exec(QStringLiteral("SELECT slot, per_day FROM %1").arg(squeezeLimitsTable()))) {
        if (neverSaved(main_.database(), squeezeLimitsTable()))
            return true;
        *error = reasonOf(query.lastError());
        return false;
    }
    while (query.next())
        if (isDoctorSlot(query.value(0).toInt()))
            (*limits)[static_cast<size_t>(query.value(0).toInt() - 1)] = std::max(0, query.value(1).toInt());
    return true;
}

bool SettingsStore::saveSqueezeLimits(const SqueezeLimits &limits, QString *error)
{
    QSqlDatabase db;
    if (!beginWrite(main_, &db, error))
        return false;
    QSqlQuery query(db);
    bool saved = query.exec(squeezeLimitsStatement(Dialect::Files, squeezeLimitsTable())) &&
                 query.exec(QStringLiteral("DELETE FROM %1").arg(squeezeLimitsTable()));
    for (int slot = 1; saved && slot <= kDoctorSlotCount; ++slot)
        if (const std::optional<int> limit = limits[static_cast<size_t>(slot - 1)]) {
            saved = query.prepare(
                QStringLiteral("INSERT INTO %1 (slot, per_day) VALUES (?, ?)").arg(squeezeLimitsTable()));
            query.addBindValue(slot);
            query.addBindValue(*limit);
            saved = saved && query.exec();
        }
    if (!saved)
        *error = reasonOf(query.lastError());
    return endWrite(db, query, saved, error);
}

} // namespace velmora
