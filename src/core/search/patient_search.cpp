#include "core/search/patient_search.h"

#include "core/schedule/day_list_rules.h"
#include "core/search/patient_query.h"
#include "core/storage/stored_bookings.h"

#include <QCoreApplication>

namespace velmora {

FoundPatients findPatients(BookStorage &storage, const QString &typed, QDate today)
{
    FoundPatients result;
    result.query = patientQuery(typed);
    AllDoctorFields doctors;
    if (!storage.readDoctors(&doctors, &result.error))
        return result;
    for (const DoctorFields &doctor : doctors)
        result.doctorNames << doctor.name.value_or(QString());
    if (result.query.kind != PatientQuery::Kind::TooShort &&
        !storage.findBookings(result.query, &result.found, &result.error))
        return result;
    sortFound(result.found, today);
    result.read = true;
    return result;
}

BookPlace placeOf(const FoundBooking &found)
{
    return {found.slot, found.booking.date, shownRecord(found.booking).row(),
            QCoreApplication::translate(
                "AppointmentBook",
                "The appointment is no longer stored as it was found: it may have been changed "
                "or removed at another desk. The list shows what is stored.")};
}

} // namespace velmora
