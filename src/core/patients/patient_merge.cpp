#include "core/patients/patient_merge.h"

#include "core/patients/patient_bookings.h"
#include "core/patients/patient_records.h"
#include "core/patients/patient_rules.h"
#include "core/storage/book_storage.h"
#include "core/storage/stored_bookings.h"
#include "core/text/written_dates.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>

#include <functional>

namespace velmora {

namespace {

// Each part: whether the two records differ in it, and how it is taken from the other.
struct PartRule
{
    PatientPart part;
    std::function<bool(const Patient &, const Patient &)> same;
    std::function<void(Patient &, const Patient &)> take;
};

const std::vector<PartRule> &partRules()
{
    static const std::vector<PartRule> rules{
        {PatientPart::FullName, [](const Patient &a, const Patient &b) { return a.fullName == b.fullName; },
         [](Patient &to, const Patient &from) { to.fullName = from.fullName; }},
        {PatientPart::SocialName,
         [](const Patient &a, const Patient &b) { return a.socialName == b.socialName; },
         [](Patient &to, const Patient &from) { to.socialName = from.socialName; }},
        {PatientPart::Cpf,
         [](const Patient &a, const Patient &b) { return a.cpf == b.cpf && a.cpfAbsence == b.cpfAbsence; },
         [](Patient &to, const Patient &from) {
             to.cpf = from.cpf;
             to.cpfAbsence = from.cpfAbsence;
         }},
        {PatientPart::BirthDate,
         [](const Patient &a, const Patient &b) { return a.birthDate == b.birthDate; },
         [](Patient &to, const Patient &from) { to.birthDate = from.birthDate; }},
        {PatientPart::Phones, [](const Patient &a, const Patient &b) { return a.phones == b.phones; },
         [](Patient &to, const Patient &from) { to.phones = from.phones; }},
        {PatientPart::Email, [](const Patient &a, const Patient &b) { return a.email == b.email; },
         [](Patient &to, const Patient &from) { to.email = from.email; }},
        {PatientPart::Address, [](const Patient &a, const Patient &b) { return a.address == b.address; },
         [](Patient &to, const Patient &from) { to.address = from.address; }},
        {PatientPart::Cards, [](const Patient &a, const Patient &b) { return a.cards == b.cards; },
         [](Patient &to, const Patient &from) { to.cards = from.cards; }},
        {PatientPart::Cns, [](const Patient &a, const Patient &b) { return a.cns == b.cns; },
         [](Patient &to, const Patient &from) { to.cns = from.cns; }},
        {PatientPart::Notes, [](const Patient &a, const Patient &b) { return a.notes == b.notes; },
         [](Patient &to, const Patient &from) { to.notes = from.notes; }},
        {PatientPart::Messages,
         [](const Patient &a, const Patient &b) { return a.messages.consent == b.messages.consent; },
         [](Patient &to, const Patient &from) { to.messages = from.messages; }},
    };
    return rules;
}

QString mergeText(const char *text)
{
    return QCoreApplication::translate("PatientMerge", text);
}

Outcome refused(const QString &why)
{
    Outcome outcome;
    outcome.messages << why;
    return outcome;
}

} // namespace

QString partCaption(PatientPart part)
{
    switch (part) {
    case PatientPart::FullName:
        return mergeText(QT_TRANSLATE_NOOP("PatientMerge", "Full name"));
    case PatientPart::SocialName:
        return mergeText(QT_TRANSLATE_NOOP("PatientMerge", "Social name"));
    case PatientPart::Cpf:
        return mergeText(QT_TRANSLATE_NOOP("PatientMerge", "CPF"));
    case PatientPart::BirthDate:
        return mergeText(QT_TRANSLATE_NOOP("PatientMerge", "Birth date"));
    case PatientPart::Phones:
        return mergeText(QT_TRANSLATE_NOOP("PatientMerge", "Phones"));
    case PatientPart::Email:
        return mergeText(QT_TRANSLATE_NOOP("PatientMerge", "E-mail"));
    case PatientPart::Address:
        return mergeText(QT_TRANSLATE_NOOP("PatientMerge", "Address"));
    case PatientPart::Cards:
        return mergeText(QT_TRANSLATE_NOOP("PatientMerge", "Health plan cards"));
    case PatientPart::Cns:
        return mergeText(QT_TRANSLATE_NOOP("PatientMerge", "CNS"));
    case PatientPart::Messages:
        return mergeText(QT_TRANSLATE_NOOP("PatientMerge", "Messages by WhatsApp"));
    case PatientPart::Notes:
        break;
    }
    return mergeText(QT_TRANSLATE_NOOP("PatientMerge", "Notes"));
}

QString partValue(const Patient &patient, PatientPart part)
{
    QStringList texts;
    switch (part) {
    case PatientPart::FullName:
        return patient.fullName;
    case PatientPart::SocialName:
        return patient.socialName;
    case PatientPart::Cpf:
        return patient.cpf.isEmpty() ? mergeText(QT_TRANSLATE_NOOP("PatientMerge", "none"))
                                     : shownCpf(patient.cpf);
    case PatientPart::BirthDate:
        return writtenDate(patient.birthDate, QLocale());
    case PatientPart::Phones:
        return bookingDetailsOf(patient).phones;
    case PatientPart::Email:
        return patient.email;
    case PatientPart::Address:
        return QStringList{patient.address.street, patient.address.district, patient.address.city,
                           patient.address.state, patient.address.cep}
            .join(QStringLiteral(", "));
    case PatientPart::Cards:
        for (const HealthCard &card : patient.cards)
            texts << QStringList{card.plan, card.number, writtenDate(card.validUntil, QLocale())}.join(
                QLatin1Char(' '));
        return texts.join(QStringLiteral("; "));
    case PatientPart::Cns:
        return patient.cns;
    case PatientPart::Messages:
        return messageAnswerSaid(patient);
    case PatientPart::Notes:
        break;
    }
    return patient.notes;
}

QVector<PatientPart> differingParts(const Patient &kept, const Patient &other)
{
    QVector<PatientPart> parts;
    for (const PartRule &rule : partRules())
        if (!rule.same(kept, other))
            parts.append(rule.part);
    return parts;
}

Patient mergedRecord(const Patient &kept, const Patient &other, const QSet<PatientPart> &fromOther)
{
    Patient merged = kept;
    for (const PartRule &rule : partRules())
        if (fromOther.contains(rule.part))
            rule.take(merged, other);
    return merged;
}

Outcome PatientMerge::merge(qint64 kept, qint64 other, const QSet<PatientPart> &fromOther, const QString &who,
                            const QDateTime &at)
{
    const Patient *keptBefore = records_.byId(kept);
    const Patient *otherBefore = records_.byId(other);
    if (!keptBefore || !otherBefore || kept == other || keptBefore->mergedInto != 0 ||
        otherBefore->mergedInto != 0)
        return refused(mergeText(
            QT_TRANSLATE_NOOP("PatientMerge", "Choose two patients, neither of them merged already.")));
    Patient keptAfter = mergedRecord(*keptBefore, *otherBefore, fromOther);
    Patient otherAfter = *otherBefore;
    otherAfter.mergedInto = kept;
    // One CPF per patient: the merged record gives its own up to the kept one.
    if (!otherAfter.cpf.isEmpty()) {
        otherAfter.cpf.clear();
        otherAfter.cpfAbsence = CpfAbsence::NotGiven;
    }
    QString error;
    QVector<FoundBooking> bookings;
    if (!storage_.readPatientBookings(other, &bookings, &error))
        return refused(
            mergeText(QT_TRANSLATE_NOOP("PatientMerge", "The patients could not be merged: %1")).arg(error));
    QJsonArray moved;
    QVector<BookingLink> links;
    for (const FoundBooking &found : std::as_const(bookings)) {
        moved.append(QJsonArray{found.slot, QString::number(found.booking.id)});
        links.append({found.slot, found.booking.id, kept});
    }
    const Patient keptSaved = keptAfter;
    otherAfter.mergeRecord = QString::fromUtf8(
        QJsonDocument(QJsonObject{{QStringLiteral("by"), who},
                                  {QStringLiteral("at"), at.toUTC().toString(Qt::ISODate)},
                                  {QStringLiteral("kept_before"), patientText(*keptBefore)},
                                  {QStringLiteral("kept_after"), patientText(keptSaved)},
                                  {QStringLiteral("merged_before"), patientText(*otherBefore)},
                                  {QStringLiteral("bookings"), moved}})
            .toJson(QJsonDocument::Compact));
    // The merged record first, so that a CPF it gives up is free for the kept one.
    for (Patient *record : {&otherAfter, &keptAfter})
        if (const Outcome saved = records_.save(*record); !saved.done)
            return saved;
    if (!storage_.linkBookings(links, &error))
        return refused(
            mergeText(QT_TRANSLATE_NOOP(
                          "PatientMerge",
                          "The records were merged, but their appointments could not all be moved: %1. "
                          "Undo the merge and merge again."))
                .arg(error));
    Outcome done;
    done.done = true;
    return done;
}

Outcome PatientMerge::undo(qint64 other)
{
    const Patient *merged = records_.byId(other);
    const QJsonObject record =
        merged ? QJsonDocument::fromJson(merged->mergeRecord.toUtf8()).object() : QJsonObject();
    if (!merged || merged->mergedInto == 0 || record.isEmpty())
        return refused(
            mergeText(QT_TRANSLATE_NOOP("PatientMerge", "This patient was not merged into another.")));
    const qint64 kept = merged->mergedInto;
    const Patient *keptNow = records_.byId(kept);
    Patient keptAfter;
    keptAfter.id = kept;
    if (!keptNow || !patientFromText(record.value(QStringLiteral("kept_after")).toString(), &keptAfter) ||
        !(keptAfter == *keptNow))
        return refused(mergeText(QT_TRANSLATE_NOOP(
            "PatientMerge", "The merge cannot be undone: the patient kept has changed since.")));
    Patient keptBefore;
    keptBefore.id = kept;
    Patient otherBefore;
    otherBefore.id = other;
    if (!patientFromText(record.value(QStringLiteral("kept_before")).toString(), &keptBefore) ||
        !patientFromText(record.value(QStringLiteral("merged_before")).toString(), &otherBefore))
        return refused(
            mergeText(QT_TRANSLATE_NOOP("PatientMerge", "This patient was not merged into another.")));
    QVector<BookingLink> links;
    for (const QJsonValue &moved : record.value(QStringLiteral("bookings")).toArray())
        links.append({moved.toArray().at(0).toInt(), moved.toArray().at(1).toString().toLongLong(), other});
    QString error;
    if (!storage_.linkBookings(links, &error))
        return refused(
            mergeText(QT_TRANSLATE_NOOP("PatientMerge", "The merge could not be undone: %1")).arg(error));
    // The kept record first, so that a CPF it took back is free for the record it came from.
    for (Patient *restored : {&keptBefore, &otherBefore})
        if (const Outcome saved = records_.save(*restored); !saved.done)
            return saved;
    Outcome done;
    done.done = true;
    return done;
}

QString PatientMerge::said(const Patient &merged) const
{
    if (merged.mergedInto == 0)
        return {};
    const QJsonObject record = QJsonDocument::fromJson(merged.mergeRecord.toUtf8()).object();
    const Patient *kept = records_.byId(merged.mergedInto);
    return QCoreApplication::translate("PatientMerge", "%1 was merged into %2 by %3 on %4.")
        .arg(merged.fullName, kept ? kept->fullName : QString::number(merged.mergedInto),
             record.value(QStringLiteral("by")).toString(),
             writtenDate(QDateTime::fromString(record.value(QStringLiteral("at")).toString(), Qt::ISODate)
                             .toLocalTime()
                             .date(),
                         QLocale()));
}

} // namespace velmora
