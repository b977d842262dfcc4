#pragma once

#include "core/model/patient.h"
#include "schema/booking_sql.h"

#include <QString>

namespace velmora {

struct Patient;

// The patients' table, beside the calendar in the settings file and in a server's public schema: one
// row per patient, the record whole as JSON, and its CPF apart so that no two patients hold one.
QString patientsTable();
QString patientsTableStatement(Dialect dialect, const QString &table);

// The CPF column's value: null for a patient without one, so that many may have none.
QVariant storedCpf(const Patient &patient);

// Each book's links from a booking's identity to its patient, made with the book's other side tables.
QString patientLinkTable(const QString &schema);
QStringList patientLinkTableStatements(Dialect dialect, const QString &schema);
// Gives a booking its patient, replacing any (values: identity, patient).
QString linkPatientStatement(Dialect dialect, const QString &schema);
// The link of one identity given to another in the book of toSchema, as a booking moves between
// books (values: the new identity, the old one).
QString carryPatientLinkStatement(Dialect dialect, const QString &fromSchema, const QString &toSchema);
// A patient's bookings in one book, as the whole-book query selects them, with the patient after the
// series place (value: the patient).
QString patientBookingsQuery(const QString &table, const QString &idColumn, const QString &schema);
// Every link of a booking still in the book (no values): identity, patient.
QString everyPatientLinkQuery(const QString &table, const QString &idColumn, const QString &schema);

} // namespace velmora
