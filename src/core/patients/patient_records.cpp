#include "core/patients/patient_records.h"

#include "core/patients/patient_matching.h"
#include "core/patients/patient_rules.h"
#include "core/storage/book_storage.h"

#include <QCoreApplication>

#include <algorithm>

namespace velmora {

ReadPatients readPatients(PatientStorage &storage)
{
    ReadPatients read;
    read.read = storage.readPatients(&read.patients, &read.error);
    if (read.read)
        read.finder.index(read.patients);
    return read;
}

bool PatientRecords::read(QString *error)
{
    ReadPatients read = readPatients(storage_);
    if (!read.read) {
        *error = read.error;
        return false;
    }
    adopt(std::move(read));
    return true;
}

void PatientRecords::adopt(ReadPatients &&read)
{
    patients_ = std::move(read.patients);
    finder_ = std::move(read.finder);
}

QVector<Patient> PatientRecords::suggestions(const QString &typed, int limit) const
{
    QVector<Patient> found;
    for (const int position : finder_.find(typed, limit))
        found.append(patients_.at(position));
    return found;
}

const Patient *PatientRecords::byId(qint64 id) const
{
    const auto found = std::find_if(patients_.cbegin(), patients_.cend(),
                                    [id](const Patient &patient) { return patient.id == id; });
    return found == patients_.cend() ? nullptr : &*found;
}

PatientCheck PatientRecords::check(const Patient &patient) const
{
    PatientCheck check;
    check.refusal = patientRefusal(patient, today_);
    if (!check.refusal.isEmpty() || patient.id != 0)
        return check;
    for (const qint64 id : lookalikes(patient, patients_))
        for (const Patient &known : patients_)
            if (known.id == id)
                check.lookalikes.append(known);
    return check;
}

Outcome PatientRecords::save(Patient &patient)
{
    Outcome outcome;
    if (const QString refusal = patientRefusal(patient, today_); !refusal.isEmpty()) {
        outcome.messages << refusal;
        return outcome;
    }
    QString error;
    qint64 id = patient.id;
    switch (storage_.savePatient(patient, &id, &error)) {
    case PatientSaved::Saved: {
        patient.id = id;
        const auto known = std::find_if(patients_.begin(), patients_.end(),
                                        [id](const Patient &other) { return other.id == id; });
        const auto position = static_cast<int>(known - patients_.begin());
        if (known != patients_.end())
            *known = patient;
        else
            patients_.append(patient);
        finder_.reindex(position, patient);
        outcome.done = true;
        break;
    }
    case PatientSaved::CpfTaken: {
        const auto holder =
            std::find_if(patients_.cbegin(), patients_.cend(), [&patient](const Patient &other) {
                return other.cpf == patient.cpf && other.id != patient.id;
            });
        outcome.messages << (holder != patients_.cend()
                                 ? QCoreApplication::translate(
                                       "PatientRecords", "The CPF %1 is already %2's: open that record.")
                                       .arg(shownCpf(patient.cpf), holder->fullName)
                                 : QCoreApplication::translate(
                                       "PatientRecords", "The CPF %1 is already another patient's (saved at "
                                                         "another desk): open that record.")
                                       .arg(shownCpf(patient.cpf)));
        break;
    }
    case PatientSaved::Failed:
        outcome.messages << QCoreApplication::translate("PatientRecords",
                                                        "The patient could not be saved: %1.")
                                .arg(error);
        break;
    }
    return outcome;
}

} // namespace velmora
