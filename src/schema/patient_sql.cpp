#include "schema/patient_sql.h"

#include "core/model/patient.h"

namespace velmora {

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

QString everyPatientLinkQuery(const QString &table, const QString &idColumn, const QString &schema)
{
    return QStringLiteral("SELECT p.id, p.patient FROM %1 p JOIN %2 d ON d.%3 = p.id ORDER BY p.id")
        .arg(patientLinkTable(schema), table, idColumn);
}

} // namespace velmora
