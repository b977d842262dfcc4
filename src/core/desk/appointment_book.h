#pragma once

#include "core/desk/day_document.h"
#include "core/patients/patient_records.h"
#include "core/storage/series_scope.h"

#include <functional>

namespace velmora {

struct SeriesOccurrence;
struct SeriesRule;

// The questions an Add asks before storing, each empty (or false) when it has none to ask.
struct AddCheck
{
    bool otherPatientsDetails = false; // the plan and phones are still those of the previous booking
    QString listedTime;        // the time typed stands in the list in this form: booked at it when said so
    QString closedReason;      // the calendar closes the time booked
    QString squeezeInQuestion; // a squeeze-in past the doctor's daily limit
    bool squeezedIn = false;   // the time booked is no free slot of the day as listed
    QString time;              // the time booked that the answers are for
    // The patient booked for: the one chosen from the suggestions, or the look-alike the receptionist
    // says it is; 0 makes a new record of the name, phones and plan typed.
    qint64 patient = 0;
    QVector<Patient> lookalikes; // a name not chosen that may be these patients: asked which, if any
    QString cardEnded;           // the chosen patient's card ends before the day booked
};

// The questions Place it here asks before placing a held booking, for the scope the receptionist chose.
struct PlaceCheck
{
    SeriesScope scope = SeriesScope::ThisOne;
    QString time;              // where it goes: the free row selected, or the time typed
    QString closedReason;      // the calendar closes that time (asked of one booking, not of a series)
    QString squeezeInQuestion; // a squeeze-in past the doctor's daily limit
};

// The receptionist's commands on the day at the desk: Add, Change, Remove, a status, a move in two
// actions and a weekly series, each on the selected booking or the entry fields. An action that asks
// first has one check step: the window asks what it found and hands it back. Windows show the day and
// pass the user's actions on; the search, the confirmations, the month's figures and the setup are
// services of their own.
class AppointmentBook : public DayDocument
{
    Q_OBJECT

public:
    AppointmentBook(BookStorage &storage, QDate today, QObject *parent = nullptr);

    // The patients the name field's typing may be, for the list beside it; none until they are read
    // (beside the window: a clinic may have hundreds of thousands), and read again after another desk
    // changed them. Without them the booking is made as before, and a record made at the Add.
    QVector<Patient> patientSuggestions(const QString &typed, int limit = 8);
    // Whether the patients are read and current; if not, the window reads them beside it and hands them
    // to takePatients().
    bool patientsCurrent() const { return patientsCurrent_; }
    void takePatients(ReadPatients &&read);
    // The one patient a name and phones stand for among those read (0: none, several, or not read yet).
    qint64 patientBookedAs(const QString &name, const QString &phones) const;
    // The patient's answer to messages by WhatsApp, as read (not asked when not read yet).
    MessageConsent messageAnswerOf(qint64 patient) const;
    // The patient chosen from the list: the name, phones and plan filled from the record, and the next
    // Add booked for that patient, unless the name is typed over meanwhile.
    void choosePatient(const Patient &patient);
    // The patient the name field stands for now: 0 when none was chosen or the name was typed over.
    qint64 chosenPatient() const;

    // What an Add asks before it stores, worked out once from the fields and the day listed: the window
    // asks each question in turn and hands the check to add(). add() alone asks nothing.
    AddCheck checkAdd();
    Outcome add(const AddCheck &check);
    Outcome add() { return add(checkAdd()); }
    // Of a booking of a series, the scope says which of its sessions the action reaches, all of them
    // in one transaction.
    Outcome change(SeriesScope scope = SeriesScope::ThisOne);
    Outcome remove(SeriesScope scope = SeriesScope::ThisOne);
    // The selected booking's status set; the row stays selected with its new mark.
    Outcome setStatus(BookingStatus status, SeriesScope scope = SeriesScope::ThisOne);

    // A weekly series for the patient of the entry fields, with the doctor and the first date shown:
    // its sessions, each with what stands in its way (false, with why, when the rule is refused or a
    // day cannot be read), then those not skipped booked in one transaction.
    bool planSeries(const SeriesRule &rule, QDate today, QVector<SeriesOccurrence> *occurrences,
                    QString *message);
    Outcome bookSeries(const QVector<SeriesOccurrence> &occurrences);

    // Moving a booking in two actions: the selected one held (it stays in its place, shown held at
    // every desk, until placed or put back), then placed at the free row selected, or at the time
    // typed, of the doctor and date shown.
    Outcome holdSelected();
    // Of a series, the sessions the scope reaches go to the same weekday shift and the new time, from
    // today on; only within the same doctor's book.
    // A time the clinic's calendar closes is refused, unless the receptionist said to place it there.
    Outcome placeHeld(int index, SeriesScope scope = SeriesScope::ThisOne, QDate today = QDate(),
                      bool closedAccepted = false);
    PlaceCheck checkPlace(SeriesScope scope);
    // Placed as the receptionist answered the check: at a closed time when it asked about one.
    Outcome placeHeld(int index, const PlaceCheck &check, QDate today)
    {
        return placeHeld(index, check.scope, today, !check.closedReason.isEmpty());
    }
    // The time Place it here would use (the free row selected, or the time typed), empty when none.
    QString timeToPlace() const
    {
        QString unused;
        return placeTime(&unused);
    }
    Outcome putBack(int index);

private:
    // The patients read now, when not yet or when another desk changed them since.
    bool patientsRead();
    // The patient the Add is for: the check's, or a new record of the fields; 0, with why in a
    // message, when none could be made (the booking is stored without).
    qint64 patientToBook(const AddCheck &check, Outcome &outcome);

    PatientRecords patients_;
    bool patientsCurrent_ = false;
    qint64 chosenPatient_ = 0;
    QString chosenName_;

    // The time a held booking is placed at: the free row selected, or the time typed; empty, with
    // why in whyNot, when neither.
    QString placeTime(QString *whyNot) const;
    QString squeezeInQuestionAt(const QString &time);
    // The time the list shows for the time typed in another form ("8:00" for a listed 08:00, free or
    // taken); empty otherwise.
    QString listedFormOfTyped() const;
    // Why the calendar closes the time typed on the day shown ("Holiday: Christmas"); empty when open.
    QString closedReasonAt(const QString &time) const;
    bool findSelectedBooking(Appointment *found, bool *readOk, Outcome &outcome);
    // The selected booking found as stored and written by write; false, with the outcome saying why
    // (notMatched when it is no longer stored as listed, failed when the write failed), otherwise.
    using SelectedWrite = std::function<WriteOutcome(const Appointment &found, QString *error)>;
    bool writeSelected(const char *notMatched, const char *failed, const SelectedWrite &write,
                       Outcome &outcome);
    // The write of the found booking, or of the sessions of its series the scope reaches (each write
    // made by writeOf) in one transaction; the identities written in written.
    WriteOutcome writeInScope(const Appointment &found, SeriesScope scope,
                              const std::function<BookingWrite(const Appointment &)> &writeOf,
                              QVector<qint64> *written, QString *error);
    Outcome placeSeries(int index, const QString &time, SeriesScope scope, QDate today);
};

} // namespace velmora
