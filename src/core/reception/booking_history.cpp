#include "core/reception/booking_history.h"

#include "core/model/appointment.h"
#include "core/model/booking_status.h"

#include <QCoreApplication>

namespace velmora {

ListedBooking findListedBooking(BookStorage &storage, const ListedRow &listed)
{
    ListedBooking found;
    QVector<Appointment> day;
    found.read = storage.readDay(listed.slot, listed.date, &day, &found.error);
    // The booking shown in the row, as it is stored (whatever the row shows of control characters or
    // of a field longer than its column).
    if (found.read)
        found.booking = bookingShownAt(listed.rows, listed.position, day);
    return found;
}

BookingHistory readBookingHistory(BookStorage &storage, const ListedRow &listed)
{
    BookingHistory history;
    QVector<Appointment> day;
    QString error;
    if (!storage.readDay(listed.slot, listed.date, &day, &error)) {
        history.message = QCoreApplication::translate("AppointmentBook",
                                                      "The history of the appointment could not be read: %1.")
                              .arg(error);
        return history;
    }
    const std::optional<Appointment> booking = bookingShownAt(listed.rows, listed.position, day);
    if (!booking) {
        history.dayChanged = true;
        history.message = QCoreApplication::translate(
            "AppointmentBook",
            "The selected appointment is no longer stored as listed: it may have been changed or "
            "removed at another desk.");
        return history;
    }
    if (!storage.readHistory(listed.slot, booking->id, &history.entries, &error)) {
        history.message = QCoreApplication::translate("AppointmentBook",
                                                      "The history of the appointment could not be read: %1.")
                              .arg(error);
        return history;
    }
    if (!historyBelongsTo(history.entries, *booking)) {
        history.entries.clear();
        history.message = QCoreApplication::translate(
            "AppointmentBook",
            "The history kept under this appointment's number tells of another appointment "
            "(the book was renumbered by another program): it is set aside, not shown.");
        return history;
    }
    history.read = true;
    return history;
}

} // namespace velmora
