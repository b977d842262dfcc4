#include "core/desk/appointment_book.h"

#include "core/desk/book_messages.h"
#include "core/model/appointment.h"
#include "core/patients/patient_bookings.h"
#include "core/reception/clinic_day.h"
#include "core/schedule/weekly_series.h"
#include "core/storage/stored_bookings.h"

#include "core/reception/booking_history.h"
#include "core/schedule/doctor_settings.h"
#include "core/schedule/squeeze_ins.h"
#include "core/text/name_rules.h"
#include "core/text/text_rules.h"
#include "core/text/written_dates.h"

#include <QCoreApplication>
#include <QLocale>

#include <algorithm>

namespace velmora {

AppointmentBook::AppointmentBook(BookStorage &storage, QDate today, QObject *parent)
    : DayDocument(storage, today, parent), patients_(storage, today)
{
    // Read again when next needed; a whole copy of the books brings other patients too.
    connect(this, &DayDocument::patientsChanged, this, [this] { patientsCurrent_ = false; });
    connect(this, &DayDocument::booksChanged, this, [this](const StoredElsewhere &change) {
        if (change.anything)
            patientsCurrent_ = false;
    });
}

bool AppointmentBook::patientsRead()
{
    QString unread; // suggestions are a help: without them the receptionist types as before
    if (!patientsCurrent_)
        patientsCurrent_ = patients_.read(&unread);
    return patientsCurrent_;
}

QVector<Patient> AppointmentBook::patientSuggestions(const QString &typed, int limit)
{
    return patientsCurrent_ ? patients_.suggestions(typed, limit) : QVector<Patient>();
}

qint64 AppointmentBook::patientBookedAs(const QString &name, const QString &phones) const
{
    return patientsCurrent_ ? velmora::patientBookedAs(patients_.suggestions(name, 50), name, phones) : 0;
}

MessageConsent AppointmentBook::messageAnswerOf(qint64 patient) const
{
    const Patient *known = patientsCurrent_ ? patients_.byId(patient) : nullptr;
    return known ? known->messages.consent : MessageConsent::NotAsked;
}

void AppointmentBook::takePatients(ReadPatients &&read)
{
    if (!read.read)
        return; // the next key asks again
    patients_.adopt(std::move(read));
    patientsCurrent_ = true;
}

void AppointmentBook::choosePatient(const Patient &patient)
{
    const BookingDetails details = bookingDetailsOf(patient);
    entry_.fill(NameField, details.name);
    entry_.fill(PhonesField, details.phones);
    entry_.fill(PlanField, details.plan);
    chosenPatient_ = patient.id;
    chosenName_ = details.name;
}

qint64 AppointmentBook::chosenPatient() const
{
    // However the name was capitalised on leaving the field, it is still the chosen patient's.
    return chosenPatient_ != 0 && foldedName(entry_.text(NameField)) == foldedName(chosenName_)
               ? chosenPatient_
               : 0;
}

qint64 AppointmentBook::patientToBook(const AddCheck &check, Outcome &outcome)
{
    if (check.patient != 0 || trimBlanks(entry_.text(NameField)).isEmpty() || !patientsRead())
        return check.patient;
    Patient made =
        patientFromBooking(entry_.text(NameField), entry_.text(PhonesField), entry_.text(PlanField));
    const Outcome saved = patients_.save(made);
    if (saved.done) { // the next Add of the same name is for the same person
        chosenPatient_ = made.id;
        chosenName_ = made.fullName;
        return made.id;
    }
    outcome.messages << QCoreApplication::translate("AppointmentBook",
                                                    "The appointment is stored without a patient record: %1")
                            .arg(saved.messages.join(QLatin1Char(' ')));
    return 0;
}

AddCheck AppointmentBook::checkAdd()
{
    entry_.leave(NameField);
    AddCheck check;
    check.otherPatientsDetails = entry_.carriesAnotherPatient();
    if (activeSlot_ == 0)
        return check;
    check.patient = chosenPatient();
    if (check.patient != 0 && patientsRead()) {
        if (const Patient *chosen = patients_.byId(check.patient))
            check.cardEnded = cardEndsBefore(*chosen, currentDate_);
    } else if (!trimBlanks(entry_.text(NameField)).isEmpty() && patientsRead()) {
        check.lookalikes = patients_
                               .check(patientFromBooking(entry_.text(NameField), entry_.text(PhonesField),
                                                         entry_.text(PlanField)))
                               .lookalikes;
    }
    check.listedTime = listedFormOfTyped();
    // Asked about the time that will be booked: the list's form when there is one, or the time typed.
    const QString booked = check.listedTime.isEmpty() ? entry_.booking(currentDate_).hora : check.listedTime;
    check.time = booked;
    check.closedReason =
        closedReasonAt(check.listedTime.isEmpty() ? entry_.text(TimeField) : check.listedTime);
    check.squeezeInQuestion = squeezeInQuestionAt(booked);
    check.squeezedIn =
        dayBookings_ && wouldSqueezeIn(gridSlotRows(doctor_, currentDate_), *dayBookings_, booked);
    return check;
}

QString AppointmentBook::listedFormOfTyped() const
{
    const QString typed = trimBlanks(entry_.text(TimeField));
    const QString meant = meantTime(typed);
    if (activeSlot_ == 0 || typed == meant)
        return {};
    const QStringList rows = dayList_.rows();
    return std::any_of(rows.cbegin(), rows.cend(),
                       [&meant](const QString &row) { return timeOfRow(row) == meant; })
               ? meant
               : QString();
}

QString AppointmentBook::closedReasonAt(const QString &time) const
{
    const DayPlan plan = dayPlan(doctor_, currentDate_);
    return plan.closedAt(time.trimmed().rightJustified(5, QLatin1Char('0'))) ? plan.reasons() : QString();
}

PlaceCheck AppointmentBook::checkPlace(SeriesScope scope)
{
    PlaceCheck check;
    check.scope = scope;
    check.time = timeToPlace();
    if (check.time.isEmpty() || activeSlot_ == 0)
        return check;
    if (scope == SeriesScope::ThisOne)
        check.closedReason = closedReasonAt(check.time);
    check.squeezeInQuestion = squeezeInQuestionAt(check.time);
    return check;
}

QString AppointmentBook::squeezeInQuestionAt(const QString &time)
{
    if (activeSlot_ == 0 || !dayBookings_)
        return {};
    const QStringList slots = gridSlotRows(doctor_, currentDate_);
    if (!wouldSqueezeIn(slots, *dayBookings_, time))
        return {};
    if (!squeezeLimits_) {
        SqueezeLimits limits;
        QString error; // unread, the limit is none: the booking is never refused for want of it
        if (!storage_.readSqueezeLimits(&limits, &error))
            return {};
        squeezeLimits_ = limits;
    }
    return velmora::squeezeInQuestion(slots, *dayBookings_, time,
                                      (*squeezeLimits_)[static_cast<size_t>(activeSlot_ - 1)],
                                      doctorCalled(names_, activeSlot_));
}

Outcome AppointmentBook::add(const AddCheck &check)
{
    // However the button was pressed (an access key leaves the focus in the field), names are
    // capitalised before they are read.
    entry_.leave(NameField);
    entry_.leave(PlanField);
    if (activeSlot_ == 0)
        return said(QCoreApplication::translate("AppointmentBook", kChooseProfessionalFirst));
    if (const QString refused = entry_.refusal(); !refused.isEmpty())
        return said(refused);

    // Not hearing the other desks, the list may miss their bookings: read again first, so that the
    // list the new booking joins is what is stored.
    QString unread;
    const bool readAgain = !storage_.hearsOtherDesks() && listDayAgainKeepingSelection(&unread);
    Outcome outcome;
    const BookingRecord typed = entry_.record();
    Appointment booking = entry_.booking(currentDate_);
    booking.patient = patientToBook(check, outcome);
    BookingRecord current = entry_.current();
    current.hora = typed.hora;
    entry_.setCurrent(current);
    int added = -1;
    // The check's answer stands unless the day was read again since, or another time is booked.
    const bool squeezedIn =
        readAgain || booking.hora != check.time
            ? dayBookings_ && wouldSqueezeIn(gridSlotRows(doctor_, currentDate_), *dayBookings_, booking.hora)
            : check.squeezedIn;
    {
        ListChange change(*this);
        drop_free_slot(dayList_, current);
        added = dayList_.add(typed.row());
        selectNone();
    }

    const int linked = doctor_.linkedSlot;
    QString error;
    const Added stored = storage_.add(activeSlot_, booking,
                                      isDoctorSlot(linked) && linked != activeSlot_ ? linked : 0, &error);
    if (stored.outcome != AddOutcome::NotStored) {
        outcome.done = true;
        entry_.rememberBooked();
        Q_EMIT booksChanged({activeSlot_, currentDate_, false});
        outcome.rowToShow = added;
        dayList_.setSqueezedInAt(added, squeezedIn);
        if (dayBookings_)
            dayBookings_->append(booking);
    }
    switch (stored.outcome) {
    case AddOutcome::Stored:
        break;
    case AddOutcome::StoredWithoutCopy:
        outcome.messages << QCoreApplication::translate(
                                "AppointmentBook",
                                "The appointment was stored, but it could not be copied to the linked "
                                "doctor's book (%1): %2.")
                                .arg(doctorCalled(names_, linked), error);
        break;
    case AddOutcome::NotStored:
        reportStorageFailure(
            outcome,
            QCoreApplication::translate("AppointmentBook",
                                        "The appointment could not be stored, for this doctor nor for a "
                                        "linked one"),
            error);
        break;
    }
    // The book was replaced under the program: the list shows what the book there holds.
    if (stored.bookReplaced) {
        rebuildDayList(outcome);
        outcome.rowToShow = outcome.done ? static_cast<int>(dayList_.rows().indexOf(typed.row())) : -1;
    }
    if (!readSlotLengthAndLink(storage_, activeSlot_, &doctor_, &error))
        outcome.messages << QCoreApplication::translate(
                                "AppointmentBook",
                                "The doctor's slot length and linked book could not be read again: %1.")
                                .arg(error);
    return outcome;
}

bool AppointmentBook::findSelectedBooking(Appointment *found, bool *readOk, Outcome &outcome)
{
    const ListedBooking listed =
        findListedBooking(storage_, {activeSlot_, currentDate_, dayList_.rows(), selectedRow_});
    *readOk = listed.read;
    if (!listed.read)
        reportStorageFailure(
            outcome,
            QCoreApplication::translate("AppointmentBook", "The appointments of this day could not be read"),
            listed.error);
    if (listed.booking)
        *found = *listed.booking;
    return listed.booking.has_value();
}

bool AppointmentBook::writeSelected(const char *notMatched, const char *failed, const SelectedWrite &write,
                                    Outcome &outcome)
{
    Appointment found;
    bool readOk = false;
    if (!findSelectedBooking(&found, &readOk, outcome)) {
        if (readOk)
            reportNothingMatched(outcome, notMatched); // the row stays, as its booking does
        return false;
    }
    QString error;
    const WriteOutcome written = write(found, &error);
    if (written == WriteOutcome::NoLongerStored)
        reportNothingMatched(outcome, notMatched);
    else if (written == WriteOutcome::Failed) // the fields keep what was typed, to be tried again
        reportStorageFailure(outcome, QCoreApplication::translate("AppointmentBook", failed), error);
    return written == WriteOutcome::Done;
}

Outcome AppointmentBook::setStatus(BookingStatus status, SeriesScope scope)
{
    if (!bookingSelected())
        return said(QCoreApplication::translate("AppointmentBook", kNoAppointmentSelected));
    Outcome outcome;
    QVector<qint64> ids;
    if (!writeSelected(
            kStatusNotSet,
            QT_TRANSLATE_NOOP("AppointmentBook", "The status could not be set; it stays as it was"),
            [&](const Appointment &found, QString *error) {
                if (status == BookingStatus::Cancelled && found.status != BookingStatus::Cancelled)
                    outcome.freed = {activeSlot_, found.date, found.hora};
                return writeInScope(
                    found, scope,
                    [status](const Appointment &session) {
                        return BookingWrite{BookingWrite::Kind::Status, session, session, status};
                    },
                    &ids, error);
            },
            outcome)) {
        outcome.freed = {};
        return outcome;
    }
    // The row keeps its selection and the fields what they hold: only its mark changes.
    outcome.done = true;
    Q_EMIT booksChanged({activeSlot_, currentDate_, false});
    dayList_.setStatusAt(selectedRow_, status);
    if (dayBookings_)
        for (Appointment &booking : *dayBookings_)
            if (ids.contains(booking.id))
                booking.status = status;
    if (status == BookingStatus::Cancelled)
        followHeld(ids);
    return outcome;
}

Outcome AppointmentBook::change(SeriesScope scope)
{
    entry_.leave(NameField);
    entry_.leave(PlanField);
    if (activeSlot_ == 0)
        return said(QCoreApplication::translate("AppointmentBook", "Please choose the professional first"));
    if (!bookingSelected())
        return said(QCoreApplication::translate("AppointmentBook", kNoAppointmentSelected));
    if (const QString refused = entry_.refusal(); !refused.isEmpty())
        return said(refused);
    // The record is the one selected, as it was read; the fields hold what it becomes.
    Outcome outcome;
    QVector<qint64> ids;
    if (!writeSelected(
            kNothingChanged,
            QT_TRANSLATE_NOOP("AppointmentBook",
                              "The appointment could not be changed; it is stored as it was"),
            [this, scope, &ids](const Appointment &found, QString *error) {
                const Appointment changed = entry_.changed(found);
                return writeInScope(
                    found, scope,
                    [&](const Appointment &session) {
                        return BookingWrite{BookingWrite::Kind::Change, session,
                                            sameChange(found, changed, session), BookingStatus::ToConfirm};
                    },
                    &ids, error);
            },
            outcome))
        return outcome;
    entry_.clear();
    entry_.offer({entry_.buttons().add, false, false});
    // Rebuilt rather than patched, so that the old time gets its free row back and the new one loses it.
    outcome.done = true;
    Q_EMIT booksChanged({activeSlot_, currentDate_, false});
    rebuildDayList(outcome);
    followHeld(ids);
    return outcome;
}

Outcome AppointmentBook::remove(SeriesScope scope)
{
    if (!bookingSelected())
        return said(QCoreApplication::translate("AppointmentBook", kNoAppointmentSelected));
    // Remove goes by what the fields hold now: the selected booking, while they still name it.
    if (!entry_.readsAsSelected(TimeField) || !entry_.readsAsSelected(NameField))
        return said(QCoreApplication::translate("AppointmentBook", kNothingRemoved));
    Outcome outcome;
    QVector<qint64> ids;
    if (!writeSelected(
            kNothingRemoved,
            QT_TRANSLATE_NOOP("AppointmentBook", "The appointment could not be removed; it is still stored"),
            [this, scope, &outcome, &ids](const Appointment &found, QString *error) {
                outcome.freed = {activeSlot_, found.date, found.hora};
                return writeInScope(
                    found, scope,
                    [](const Appointment &session) {
                        return BookingWrite{BookingWrite::Kind::Remove, session, session,
                                            BookingStatus::ToConfirm};
                    },
                    &ids, error);
            },
            outcome)) {
        outcome.freed = {};
        return outcome;
    }
    outcome.done = true;
    Q_EMIT booksChanged({activeSlot_, currentDate_, false});
    rebuildDayList(outcome);
    followHeld(ids);
    return outcome;
}

} // namespace velmora
