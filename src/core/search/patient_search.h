#pragma once

#include "core/model/outcome.h"
#include "core/storage/book_storage.h"

#include <QDate>
#include <QStringList>
#include <QVector>

namespace velmora {

// Every booking the typed text finds, all doctors and dates, upcoming (from today) first, with the
// doctors' names; nothing is searched for a text too short, which query tells.
struct FoundPatients
{
    bool read = false;
    QString error;
    PatientQuery query;
    QVector<FoundBooking> found;
    QStringList doctorNames;
};
FoundPatients findPatients(BookStorage &storage, const QString &typed, QDate today);

// A booking found, as a place in the books; said when it is no longer stored as found.
BookPlace placeOf(const FoundBooking &found);

} // namespace velmora
