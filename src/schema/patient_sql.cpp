#include "schema/patient_sql.h"

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

QString patientsTable()
{
    return QStringLiteral("patients");
}

QString patientsTableStatement(Dialect dialect, const QString &table)
{
    return QStringLiteral(
               "CREATE TABLE IF NOT EXISTS %1 (id %2 PRIMARY KEY, cpf %3 UNIQUE, record %3 NOT NULL)")
        .arg(table, dialect == Dialect::Files ? QStringLiteral("INTEGER") : QStringLiteral("bigserial"),
             dialect == Dialect::Files ? QStringLiteral("TEXT") : QStringLiteral("text"));
}

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
    if (patient.mergedInto != 0)
        record.insert(QStringLiteral("merged_into"), QString::number(patient.mergedInto));
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
    patient->mergedInto = record.value(QStringLiteral("merged_into")).toString().toLongLong();
    return true;
}

QVariant storedCpf(const Patient &patient)
{
    return patient.cpf.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(patient.cpf);
}

QString patientLinkTable(const QString &schema)
{
    return schema + QStringLiteral(".booking_patient");
}

QStringList patientLinkTableStatements(Dialect dialect, const QString &schema)
{
    if (dialect == Dialect::Files)
        return {
            QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (id INTEGER PRIMARY KEY, patient INTEGER NOT NULL)")
                .arg(patientLinkTable(schema)),
            QStringLiteral(
                "CREATE INDEX IF NOT EXISTS %1.booking_patient_patient ON booking_patient (patient)")
                .arg(schema)};
    return {QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (id bigint PRIMARY KEY, patient bigint NOT NULL)")
                .arg(patientLinkTable(schema)),
            QStringLiteral("CREATE INDEX IF NOT EXISTS booking_patient_patient ON %1 (patient)")
                .arg(patientLinkTable(schema))};
}

QString linkPatientStatement(Dialect dialect, const QString &schema)
{
    if (dialect == Dialect::Files)
        return QStringLiteral("INSERT OR REPLACE INTO %1 (id, patient) VALUES (?, ?)")
            .arg(patientLinkTable(schema));
    return QStringLiteral(
               "INSERT INTO %1 (id, patient) VALUES (?, ?) ON CONFLICT (id) DO UPDATE SET patient = "
               "excluded.patient")
        .arg(patientLinkTable(schema));
}

QString carryPatientLinkStatement(Dialect dialect, const QString &fromSchema, const QString &toSchema)
{
    return QStringLiteral("INSERT INTO %1 (id, patient) SELECT CAST(? AS %3), patient FROM %2 WHERE id = ?%4")
        .arg(patientLinkTable(toSchema), patientLinkTable(fromSchema),
             dialect == Dialect::Files ? QStringLiteral("INTEGER") : QStringLiteral("bigint"),
             dialect == Dialect::Files
                 ? QString()
                 : QStringLiteral(" ON CONFLICT (id) DO UPDATE SET patient = excluded.patient"));
}

QString patientBookingsQuery(const QString &table, const QString &idColumn, const QString &schema)
{
    return QStringLiteral(
               "SELECT d.%1, d.data, d.hora, d.nome, d.convenio, d.telefone, d.obs, coalesce(s.status, 0), "
               "coalesce(r.series, 0), coalesce(r.number, 0), coalesce(r.total, 0), p.patient FROM %2 p JOIN "
               "%3 d "
               "ON d.%1 = p.id LEFT JOIN %4 s ON s.id = d.%1 AND s.nome = coalesce(d.nome, '') LEFT JOIN %5 "
               "r ON "
               "r.id = d.%1 WHERE p.patient = ?")
        .arg(idColumn, patientLinkTable(schema), table, statusTable(schema), seriesTable(schema));
}

QString everyPatientLinkQuery(const QString &schema)
{
    return QStringLiteral("SELECT id, patient FROM %1 ORDER BY id").arg(patientLinkTable(schema));
}

} // namespace velmora
