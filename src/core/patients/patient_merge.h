#pragma once

#include "core/model/outcome.h"
#include "core/model/patient.h"

#include <QDateTime>
#include <QSet>
#include <QVector>

namespace velmora {

class PatientStorage;
class PatientRecords;

// What a receptionist picks, field by field, when two records are one person.
enum class PatientPart
{
    FullName,
    SocialName,
    Cpf,
    BirthDate,
    Phones,
    Email,
    Address,
    Cards,
    Cns,
    Notes,
    Messages
};
// The parts in which the two records differ: those the receptionist is asked to pick.
QVector<PatientPart> differingParts(const Patient &kept, const Patient &other);
// The kept record with the parts taken from the other (the CPF with its reason for being absent).
Patient mergedRecord(const Patient &kept, const Patient &other, const QSet<PatientPart> &fromOther);

// The part's name and its value in a record, as the receptionist is asked to pick between two.
QString partCaption(PatientPart part);
QString partValue(const Patient &patient, PatientPart part);

// Two records of one person made one, never by itself: every booking of the other given to the kept
// record, which takes the parts picked; the other stays, marked merged, with what the merge did, so
// that it can be said (who merged what, when) and undone while neither record changed since.
class PatientMerge
{
public:
    PatientMerge(PatientStorage &storage, PatientRecords &records) : storage_(storage), records_(records) {}

    Outcome merge(qint64 kept, qint64 other, const QSet<PatientPart> &fromOther, const QString &who,
                  const QDateTime &at);
    // The merge of the other record (merged into another) undone: both records as they were, its
    // bookings its own again. Refused when either record changed since.
    Outcome undo(qint64 other);
    // "Ana S. Souza was merged into Ana Souza by maria on ...": empty for a record not merged.
    QString said(const Patient &merged) const;

private:
    PatientStorage &storage_;
    PatientRecords &records_;
};

} // namespace velmora
