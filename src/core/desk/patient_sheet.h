#pragma once

#include "core/model/outcome.h"
#include "core/patients/patient_merge.h"
#include "core/patients/patient_records.h"
#include "core/storage/stored_bookings.h"

#include <QStringList>
#include <QVector>

namespace velmora {

class BookStorage;
struct ListedRow;

// One patient as the patient's window shows and edits the record: every booking of the patient across
// the ten books (upcoming first, with statuses), the missed ones counted, the card's validity; saved
// after the clinic's checks, a new record asked about when it looks like one already there.
class PatientSheet
{
public:
    PatientSheet(BookStorage &storage, QDate today);

    // The record and bookings of that patient read; false, with why, when they cannot be.
    bool open(qint64 patient, QString *error);
    // The patient of a booking of the slot's book; false, with why, when it has none yet.
    bool openOfBooking(int slot, qint64 booking, QString *error);
    // The patient of the booking a row of the day list shows, found as stored now.
    bool openOfListed(const ListedRow &listed, QString *error);

    const Patient &patient() const { return patient_; }
    const QVector<FoundBooking> &bookings() const { return bookings_; }
    int missed() const;
    // Said when the current card has ended by today; empty otherwise.
    QString cardWarning() const;
    // Each booking as the window lists it: date, time, doctor, name, status.
    QVector<QStringList> bookingLines(const QStringList &doctorNames) const;

    // The records the typing may be that could be merged into this one: neither it nor one merged.
    QVector<Patient> mergeCandidates(const QString &typed) const;
    // The other record merged into this one, the parts picked taken from it; then shown.
    Outcome mergeFrom(qint64 other, const QSet<PatientPart> &fromOther);
    // The record merged into this one last, if any: its merge can be undone from here.
    const Patient *lastMergedHere() const;
    // That record's merge into this one undone; then shown.
    Outcome undoMerge(qint64 merged);
    // Who merged that record into this one, and when.
    QString mergeSaid(const Patient &merged) const;

    // Why the edited record cannot be saved, or the patients already recorded a new one may be.
    PatientCheck check(const Patient &edited) const { return records_.check(edited); }
    // Stored as edited; the sheet then shows it.
    Outcome save(const Patient &edited);

private:
    BookStorage &storage_;
    QDate today_;
    mutable PatientRecords records_;
    Patient patient_;
    QVector<FoundBooking> bookings_;
};

} // namespace velmora
