#pragma once

#include "core/model/appointment.h"
#include "core/search/patient_query.h"
#include "core/storage/storage_vocabulary.h"
#include "files/database.h"

#include <QSqlDatabase>
#include <QVector>

namespace velmora {

// Reads run by SQLite itself on a connection Qt's driver opened, where many rows are read or a read is
// asked again and again: the driver makes a variant of every value first. The connection's reads keep
// their statements made. Each answers false, having appended nothing, on any failure, for the driver's
// own read to say why.

// The bookings of the day the statement's one value names, as the day query gives them.
bool readDayDirectly(QSqlDatabase db, const QString &sql, QDate date, QVector<Appointment> *bookings);

// The bookings the search statement finds for the phrase bound to it that match the query, appended
// with the doctor slot.
bool findDirectly(Connection &connection, const QString &sql, const PatientQuery &query, int slot,
                  QVector<FoundBooking> *found);

// The statement's one value, a whole number.
bool readNumber(Connection &connection, const QString &sql, qint64 *number);

} // namespace velmora
