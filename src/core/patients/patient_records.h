#pragma once

#include "core/model/outcome.h"
#include "core/model/patient.h"
#include "core/patients/patient_matching.h"

#include <QDate>
#include <QVector>

namespace velmora {

class PatientStorage;

// What saving a patient asks first: why it cannot be saved as it stands, or else the patients already
// recorded it may be, for the receptionist to say whether it is one of them.
struct PatientCheck
{
    QString refusal;
    QVector<Patient> lookalikes;
};

// The patients as read and indexed, possibly beside the window: the part of reading them that takes
// time at a clinic of many.
struct ReadPatients
{
    bool read = false;
    QString error;
    QVector<Patient> patients;
    PatientFinder finder;
};
ReadPatients readPatients(PatientStorage &storage);

// The clinic's patients as a desk works on them: read once, suggested while a name is typed, checked
// and saved.
class PatientRecords
{
public:
    PatientRecords(PatientStorage &storage, QDate today) : storage_(storage), today_(today) {}

    bool read(QString *error);
    // Those read beside the window, in place of those there.
    void adopt(ReadPatients &&read);
    const QVector<Patient> &patients() const { return patients_; }
    QVector<Patient> suggestions(const QString &typed, int limit) const;
    // The patient with that identity as read, or none.
    const Patient *byId(qint64 id) const;
    // The look-alikes are asked of a new record only: a known one is already the patient it is.
    PatientCheck check(const Patient &patient) const;
    // Stored as it stands (a new one given its identity); a CPF another patient holds is said, naming
    // that patient.
    Outcome save(Patient &patient);

private:
    PatientStorage &storage_;
    QDate today_;
    QVector<Patient> patients_;
    PatientFinder finder_;
};

} // namespace velmora
