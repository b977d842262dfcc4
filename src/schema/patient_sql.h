#pragma once

#include "schema/booking_sql.h"

#include <QString>

namespace velmora {

struct Patient;

// The patients' table, beside the calendar in the settings file and in a server's public schema: one
// row per patient, the record whole as JSON, and its CPF apart so that no two patients hold one.
QString patientsTable();
QString patientsTableStatement(Dialect dialect, const QString &table);

// The record as the table keeps it, and back; false when the text is no record.
QString patientText(const Patient &patient);
bool patientFromText(const QString &text, Patient *patient);
// The CPF column's value: null for a patient without one, so that many may have none.
QVariant storedCpf(const Patient &patient);

} // namespace velmora
