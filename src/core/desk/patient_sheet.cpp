#include "core/desk/patient_sheet.h"

#include "core/model/booking_status.h"
#include "core/patients/patient_bookings.h"
#include "core/schedule/day_list_rules.h"
#include "core/search/patient_query.h"
#include "core/storage/book_storage.h"
#include "core/text/written_dates.h"
#include <QDateTime>

#include <QCoreApplication>
#include <QLocale>

#include <algorithm>

namespace velmora {

PatientSheet::PatientSheet(BookStorage &storage, QDate today)
    : storage_(storage), today_(today), records_(storage, today)
{
}

bool PatientSheet::open(qint64 patient, QString *error)
{
    if (!records_.read(error) || !storage_.readPatientBookings(patient, &bookings_, error))
        return false;
    const Patient *found = records_.byId(patient);
    if (!found) {
        *error = QCoreApplication::translate("PatientSheet", "The patient's record is no longer there.");
        return false;
    }
    patient_ = *found;
    sortFound(bookings_, today_);
    return true;
}

bool PatientSheet::openOfBooking(int slot, qint64 booking, QString *error)
{
    qint64 patient = 0;
    if (!storage_.readPatientOf(slot, booking, &patient, error))
        return false;
    if (patient == 0) {
        *error = QCoreApplication::translate("PatientSheet",
                                             "This appointment was booked before patients were recorded: "
                                             "it belongs to no patient yet.");
        return false;
    }
    return open(patient, error);
}

bool PatientSheet::openOfListed(const ListedRow &listed, QString *error)
{
    QVector<Appointment> day;
    if (!storage_.readDay(listed.slot, listed.date, &day, error))
        return false;
    const std::optional<Appointment> booking = bookingShownAt(listed.rows, listed.position, day);
    if (!booking) {
        *error = QCoreApplication::translate("PatientSheet",
                                             "The selected appointment is no longer stored as listed: it may "
                                             "have been changed or removed at another desk.");
        return false;
    }
    return openOfBooking(listed.slot, booking->id, error);
}

int PatientSheet::missed() const
{
    return static_cast<int>(
        std::count_if(bookings_.cbegin(), bookings_.cend(), [](const FoundBooking &found) {
            return found.booking.status == BookingStatus::Missed;
        }));
}

QString PatientSheet::cardWarning() const
{
    return cardEndsBefore(patient_, today_.addDays(1));
}

QVector<QStringList> PatientSheet::bookingLines(const QStringList &doctorNames) const
{
    QVector<QStringList> lines;
    for (const FoundBooking &found : bookings_)
        lines.append({listedDate(found.booking.date, QLocale()), found.booking.hora.trimmed(),
                      doctorNames.value(found.slot - 1), found.booking.nome.trimmed(),
                      statusCaption(found.booking.status)});
    return lines;
}

QVector<Patient> PatientSheet::mergeCandidates(const QString &typed) const
{
    QVector<Patient> candidates;
    for (const Patient &patient : records_.suggestions(typed, 20))
        if (patient.id != patient_.id && patient.mergedInto == 0 && candidates.size() < 8)
            candidates.append(patient);
    return candidates;
}

Outcome PatientSheet::mergeFrom(qint64 other, const QSet<PatientPart> &fromOther)
{
    Outcome outcome =
        PatientMerge(storage_, records_)
            .merge(patient_.id, other, fromOther, thisDesk().person, QDateTime::currentDateTimeUtc());
    QString error;
    if (!open(patient_.id, &error))
        outcome.messages << error;
    return outcome;
}

const Patient *PatientSheet::lastMergedHere() const
{
    const Patient *last = nullptr;
    // A merge's record begins with when it was made: the latest is the greatest.
    for (const Patient &patient : records_.patients())
        if (patient.mergedInto == patient_.id && (!last || patient.mergeRecord > last->mergeRecord))
            last = &patient;
    return last;
}

Outcome PatientSheet::undoMerge(qint64 merged)
{
    Outcome outcome = PatientMerge(storage_, records_).undo(merged);
    QString error;
    if (!open(patient_.id, &error))
        outcome.messages << error;
    return outcome;
}

QString PatientSheet::mergeSaid(const Patient &merged) const
{
    return PatientMerge(storage_, records_).said(merged);
}

Outcome PatientSheet::save(const Patient &edited)
{
    Patient saved = edited;
    // An answer about messages is signed with who noted it and when; an unchanged one keeps its signature.
    saved.messages =
        edited.messages.consent == patient_.messages.consent
            ? patient_.messages
            : MessageAnswer{edited.messages.consent, QDateTime::currentDateTimeUtc(), thisDesk().person};
    Outcome outcome = records_.save(saved);
    if (outcome.done)
        patient_ = saved;
    return outcome;
}

} // namespace velmora
