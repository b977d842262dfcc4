#pragma once

#include "core/storage/storage_vocabulary.h"
#include "core/text/name_rules.h"

#include <QDate>
#include <QString>
#include <QVector>

namespace velmora {

PatientQuery patientQuery(const QString &typed);

// A name holds the folded text; a phones field holds a number with the typed digits, or, for one typed
// with an area code, the number without it or after that same area code.
bool matchesQuery(const PatientQuery &query, const Appointment &booking);

// Upcoming ones (today and later) first, soonest first, then past ones, latest first; within a day by
// time as stored, then slot.
void sortFound(QVector<FoundBooking> &found, QDate today);

} // namespace velmora
