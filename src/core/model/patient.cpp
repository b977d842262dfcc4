#include "core/model/patient.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <array>

namespace velmora {

namespace {

const std::array<const char *, 4> kAbsenceKeys{"", "newborn", "foreigner", "not-given"};

QString dateText(QDate date)
{
    return date.isValid() ? date.toString(Qt::ISODate) : QString();
}

QDate dateOf(const QJsonValue &value)
{
    return QDate::fromString(value.toString(), Qt::ISODate);
}

} // namespace

QString patientText(const Patient &patient)
{
    QJsonArray phones;
    for (const PatientPhone &phone : patient.phones)
        phones.append(QJsonObject{{QStringLiteral("number"), phone.number},
                                  {QStringLiteral("whatsapp"), phone.whatsApp}});
    QJsonArray cards;
    for (const HealthCard &card : patient.cards)
        cards.append(QJsonObject{{QStringLiteral("plan"), card.plan},
                                 {QStringLiteral("number"), card.number},
                                 {QStringLiteral("valid_until"), dateText(card.validUntil)}});
    const PatientAddress &address = patient.address;
    QJsonObject record{
        {QStringLiteral("full_name"), patient.fullName},
        {QStringLiteral("social_name"), patient.socialName},
        {QStringLiteral("cpf"), patient.cpf},
        {QStringLiteral("cpf_absence"), QLatin1String(kAbsenceKeys[static_cast<size_t>(patient.cpfAbsence)])},
        {QStringLiteral("birth_date"), dateText(patient.birthDate)},
        {QStringLiteral("phones"), phones},
        {QStringLiteral("email"), patient.email},
        {QStringLiteral("address"), QJsonObject{{QStringLiteral("street"), address.street},
                                                {QStringLiteral("number"), address.number},
                                                {QStringLiteral("complement"), address.complement},
                                                {QStringLiteral("district"), address.district},
                                                {QStringLiteral("city"), address.city},
                                                {QStringLiteral("state"), address.state},
                                                {QStringLiteral("cep"), address.cep}}},
        {QStringLiteral("cards"), cards},
        {QStringLiteral("cns"), patient.cns},
        {QStringLiteral("notes"), patient.notes}};
    if (patient.messages.consent != MessageConsent::NotAsked)
        record.insert(
            QStringLiteral("messages"),
            QJsonObject{{QStringLiteral("consent"), patient.messages.consent == MessageConsent::Yes
                                                        ? QStringLiteral("yes")
                                                        : QStringLiteral("no")},
                        {QStringLiteral("at"), patient.messages.at.toUTC().toString(Qt::ISODateWithMs)},
                        {QStringLiteral("by"), patient.messages.by}});
    if (patient.mergedInto != 0)
        record.insert(QStringLiteral("merged_into"), QString::number(patient.mergedInto));
    if (!patient.mergeRecord.isEmpty())
        record.insert(QStringLiteral("merge"), patient.mergeRecord);
    return QString::fromUtf8(QJsonDocument(record).toJson(QJsonDocument::Compact));
}

bool patientFromText(const QString &text, Patient *patient)
{
    QJsonParseError parsed;
    const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8(), &parsed);
    if (parsed.error != QJsonParseError::NoError || !document.isObject())
        return false;
    const QJsonObject record = document.object();
    const qint64 id = patient->id;
    *patient = Patient{};
    patient->id = id;
    patient->fullName = record.value(QStringLiteral("full_name")).toString();
    patient->socialName = record.value(QStringLiteral("social_name")).toString();
    patient->cpf = record.value(QStringLiteral("cpf")).toString();
    const QString absence = record.value(QStringLiteral("cpf_absence")).toString();
    for (size_t i = 0; i < kAbsenceKeys.size(); ++i)
        if (absence == QLatin1String(kAbsenceKeys[i]))
            patient->cpfAbsence = static_cast<CpfAbsence>(i);
    patient->birthDate = dateOf(record.value(QStringLiteral("birth_date")));
    for (const QJsonValue &phone : record.value(QStringLiteral("phones")).toArray())
        patient->phones.append({phone.toObject().value(QStringLiteral("number")).toString(),
                                phone.toObject().value(QStringLiteral("whatsapp")).toBool()});
    patient->email = record.value(QStringLiteral("email")).toString();
    const QJsonObject address = record.value(QStringLiteral("address")).toObject();
    patient->address = {address.value(QStringLiteral("street")).toString(),
                        address.value(QStringLiteral("number")).toString(),
                        address.value(QStringLiteral("complement")).toString(),
                        address.value(QStringLiteral("district")).toString(),
                        address.value(QStringLiteral("city")).toString(),
                        address.value(QStringLiteral("state")).toString(),
                        address.value(QStringLiteral("cep")).toString()};
    for (const QJsonValue &card : record.value(QStringLiteral("cards")).toArray())
        patient->cards.append({card.toObject().value(QStringLiteral("plan")).toString(),
                               card.toObject().value(QStringLiteral("number")).toString(),
                               dateOf(card.toObject().value(QStringLiteral("valid_until")))});
    patient->cns = record.value(QStringLiteral("cns")).toString();
    patient->notes = record.value(QStringLiteral("notes")).toString();
    const QJsonObject messages = record.value(QStringLiteral("messages")).toObject();
    const QString consent = messages.value(QStringLiteral("consent")).toString();
    if (consent == QLatin1String("yes") || consent == QLatin1String("no"))
        patient->messages = {
            consent == QLatin1String("yes") ? MessageConsent::Yes : MessageConsent::No,
            QDateTime::fromString(messages.value(QStringLiteral("at")).toString(), Qt::ISODateWithMs),
            messages.value(QStringLiteral("by")).toString()};
    patient->mergedInto = record.value(QStringLiteral("merged_into")).toString().toLongLong();
    patient->mergeRecord = record.value(QStringLiteral("merge")).toString();
    return true;
}

} // namespace velmora
