#include "core/patients/booking_review.h"

#include "core/patients/patient_bookings.h"
#include "core/patients/patient_matching.h"
#include "core/patients/patient_records.h"
#include "core/storage/book_storage.h"
#include "core/storage/stored_bookings.h"

#include <QCoreApplication>
#include <QSet>

#include <algorithm>

namespace velmora {

BookingReview reviewBookings(BookStorage &storage, const std::function<bool(int)> &progress)
{
    BookingReview review;
    QVector<BookedName> names;
    QVector<ReviewBooking> places;
    for (int slot = 1; slot <= kDoctorSlotCount; ++slot) {
        if (!progress((slot - 1) * 80 / kDoctorSlotCount)) {
            review.cancelled = true;
            return review;
        }
        QVector<Appointment> book;
        QVector<BookingLink> links;
        if (!storage.readPeriod(slot, QDate(1, 1, 1), QDate(9999, 12, 31), &book, &review.error) ||
            !storage.readBookingLinks(slot, &links, &review.error))
            return review;
        QSet<qint64> linked;
        for (const BookingLink &link : std::as_const(links))
            linked.insert(link.booking);
        for (const Appointment &booking : std::as_const(book))
            if (!linked.contains(booking.id) && booking.date != placeholderDate()) {
                names.append({booking.nome, booking.telefone});
                places.append({slot, booking.id, booking.date, booking.hora, booking.convenio});
            }
    }
    if (!progress(85)) {
        review.cancelled = true;
        return review;
    }
    for (const SuggestedPatient &suggested : suggestedPatients(names)) {
        ReviewGroup group{suggested.name, names.at(suggested.bookings.first()).phones, suggested.maybe, {}};
        for (const int place : suggested.bookings)
            group.bookings.append(places.at(place));
        review.groups.append(group);
    }
    review.read = progress(100);
    review.cancelled = !review.read;
    return review;
}

void splitOff(QVector<ReviewGroup> &groups, int group, const QVector<int> &bookings)
{
    ReviewGroup &from = groups[group];
    ReviewGroup apart{from.name, from.phones, from.maybe, {}};
    QVector<ReviewBooking> kept;
    for (int i = 0; i < from.bookings.size(); ++i)
        (bookings.contains(i) ? apart.bookings : kept).append(from.bookings.at(i));
    if (apart.bookings.isEmpty() || kept.isEmpty())
        return; // nothing to split, or the whole group
    from.bookings = kept;
    groups.insert(group + 1, apart);
}

void joinGroups(QVector<ReviewGroup> &groups, QVector<int> joined)
{
    std::sort(joined.begin(), joined.end());
    joined.erase(std::unique(joined.begin(), joined.end()), joined.end());
    if (joined.size() < 2)
        return;
    ReviewGroup &into = groups[joined.first()];
    into.maybe = false;
    for (int i = static_cast<int>(joined.size()) - 1; i > 0; --i) {
        into.bookings += groups.at(joined.at(i)).bookings;
        groups.removeAt(joined.at(i));
    }
}

Outcome acceptGroups(BookStorage &storage, PatientRecords &records, QVector<ReviewGroup> &groups,
                     QVector<int> accepted)
{
    Outcome outcome;
    std::sort(accepted.begin(), accepted.end());
    accepted.erase(std::unique(accepted.begin(), accepted.end()), accepted.end());
    for (int i = static_cast<int>(accepted.size()) - 1; i >= 0; --i) {
        const ReviewGroup &group = groups.at(accepted.at(i));
        Patient patient = patientFromBooking(group.name, group.phones, group.bookings.first().plan);
        if (const Outcome saved = records.save(patient); !saved.done) {
            outcome.messages << saved.messages;
            continue;
        }
        QVector<BookingLink> links;
        for (const ReviewBooking &booking : group.bookings)
            links.append({booking.slot, booking.id, patient.id});
        QString error;
        if (!storage.linkBookings(links, &error)) {
            outcome.messages << QCoreApplication::translate("BookingReview",
                                                            "The appointments of %1 could not all be given "
                                                            "their patient: %2.")
                                    .arg(group.name, error);
            continue;
        }
        groups.removeAt(accepted.at(i));
        outcome.done = true;
    }
    return outcome;
}

} // namespace velmora
