#include "core/desk/appointment_book.h"
#include "core/desk/book_messages.h"
#include "core/model/appointment.h"
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

namespace {

// Tells the views that the rows about to move are moved by the book, not picked by the user.
class ListChange
{
public:
    explicit ListChange(AppointmentBook &book) : book_(book) { Q_EMIT book_.listChanging(true); }
    ~ListChange() { Q_EMIT book_.listChanging(false); }
    ListChange(const ListChange &) = delete;
    ListChange &operator=(const ListChange &) = delete;

private:
    AppointmentBook &book_;
};

} // namespace

AppointmentBook::AppointmentBook(BookStorage &storage, QDate today, QObject *parent)
    : QObject(parent), storage_(storage), currentDate_(today)
{
    storage_.watchOtherDesks([this](const StoredElsewhere &change) { storedElsewhere(change); });
}

AppointmentBook::~AppointmentBook()
{
    storage_.watchOtherDesks({});
}

void AppointmentBook::storedElsewhere(const StoredElsewhere &change)
{
    Q_EMIT booksChanged(change);
    QString unread; // the list stays as last read; the next move says why
    if (!change.doctors() || change.anything)
        readHeld(&unread);
    if (change.doctors()) {
        squeezeLimits_.reset(); // saved with the settings, at this desk or another
        followDoctorsSavedElsewhere(change.anything);
    } else if (activeSlot_ != 0 && change.slot == activeSlot_ && change.date == currentDate_) {
        QString error; // the next action says why the day cannot be read
        listDayAgainKeepingSelection(&error);
    }
}

bool AppointmentBook::listDayAgainKeepingSelection(QString *error)
{
    QVector<Appointment> bookings;
    // Read first: when the read fails the list stays as it was.
    if (!storage_.readDay(activeSlot_, currentDate_, &bookings, error))
        return false;
    listKeepingSelection(bookings);
    return true;
}

void AppointmentBook::listKeepingSelection(const QVector<Appointment> &bookings)
{
    const QString selected = selectedRow_ >= 0 ? dayList_.rows().at(selectedRow_) : QString();
    const int sameBefore = selectedRow_ >= 0 ? sameRowsBefore(dayList_.rows(), selectedRow_) : 0;
    const BookingRecord current = entry_.current();
    const EntryButtons buttons = entry_.buttons();
    showDay(bookings);
    entry_.setCurrent(current);
    const int row = selected.isNull() ? -1 : rowReadingAs(dayList_.rows(), selected, sameBefore);
    if (row < 0)
        return; // what was selected is gone: nothing to change or remove
    setSelectedRow(row);
    entry_.offer(buttons);
    Q_EMIT rowReselected(row);
}

void AppointmentBook::followDoctorsSavedElsewhere(bool dayToo)
{
    // Two reads: the settings record, which the doctor list needs anyway, and the chosen doctor's
    // weekly hours. The day's bookings, which a settings save leaves as they were, are listed again
    // from what was last read, with the slot length and hours as they are now.
    AllDoctorFields fields;
    const int slot = activeSlot_;
    if (!readDoctorNames(&fields).read || slot == 0)
        return;
    QString error;
    if (!readDoctorSettings(storage_, slot, fields[static_cast<size_t>(slot - 1)], &doctor_, &error))
        return; // the next choice of the doctor says why
    if (dayToo)
        listDayAgainKeepingSelection(&error);
    else if (dayBookings_)
        listKeepingSelection(*dayBookings_);
}

AppointmentBook::DoctorNames AppointmentBook::readDoctorNames(AllDoctorFields *fields)
{
    AllDoctorFields read;
    fields = fields ? fields : &read;
    DoctorNames result;
    QString error;
    if (!storage_.readDoctors(fields, &error, LockWait::GiveUp))
        return result; // tried again on the next tick
    result.read = true;
    result.names = listedNames(*fields);
    result.complete = result.names.size() == kDoctorSlotCount;
    names_ = result.names;
    Q_EMIT doctorNamesChanged();
    return result;
}

bool AppointmentBook::loadDoctor(int slot, QString *error)
{
    AllDoctorFields fields;
    return storage_.readDoctors(&fields, error) &&
           readDoctorSettings(storage_, slot, fields[static_cast<size_t>(slot - 1)], &doctor_, error) &&
           storage_.openBook(slot, error);
}

Outcome AppointmentBook::chooseDoctor(int slot)
{
    if (!isDoctorSlot(slot)) {
        leaveDoctor();
        return {};
    }
    activeSlot_ = slot;
    QString error;
    Outcome outcome;
    if (!loadDoctor(slot, &error)) {
        leaveDoctor();
        return said(QCoreApplication::translate("AppointmentBook",
                                                "The appointment book of %1 could not be opened: %2.\n\n"
                                                "No doctor is chosen; please choose one again.")
                        .arg(doctorCalled(names_, slot), error));
    }
    Q_EMIT doctorChanged();
    outcome.done = true;
    rebuildDayList(outcome);
    return outcome;
}

void AppointmentBook::leaveDoctor()
{
    activeSlot_ = 0;
    clearDayList();
    Q_EMIT doctorChanged();
}

void AppointmentBook::clearDayList()
{
    ListChange change(*this);
    dayList_.clear();
    dayBookings_.reset();
    selectNone();
}

void AppointmentBook::selectNone()
{
    setSelectedRow(-1);
    Q_EMIT selectionCleared();
    entry_.offer({entry_.buttons().add, false, false}); // nothing to change or remove
}

void AppointmentBook::setSelectedRow(int row)
{
    selectedRow_ = row;
    entry_.setRowSelected(row >= 0);
}

void AppointmentBook::showDay(const QVector<Appointment> &bookings)
{
    // The whole day in one change of the list, from the rules that list the free slots and merge the
    // bookings in.
    ListChange change(*this);
    dayBookings_ = bookings;
    const ListedDay day = listedDay(doctor_, currentDate_, bookings);
    QVector<BookingStatus> statuses;
    statuses.reserve(day.rows.size());
    QVector<bool> held;
    QVector<bool> squeezed;
    QStringList sessions;
    held.reserve(day.rows.size());
    const QVector<bool> squeezeIn = squeezeIns(gridSlotRows(doctor_, currentDate_), bookings);
    for (const int booking : day.bookingOfRow) {
        squeezed << (booking >= 0 && squeezeIn.at(booking));
        statuses << (booking < 0 ? BookingStatus::ToConfirm : bookings.at(booking).status);
        sessions << (booking < 0 ? QString() : sessionText(bookings.at(booking).series));
        held << (booking >= 0 && std::any_of(held_.cbegin(), held_.cend(), [&](const HeldBooking &one) {
                     return one.slot == activeSlot_ && one.booking.id == bookings.at(booking).id;
                 }));
    }
    dayList_.setRows(day.rows, statuses, dayPlan(doctor_, currentDate_), held, squeezed, sessions);
    if (!bookings.isEmpty())
        entry_.setCurrent(shownRecord(bookings.last())); // as merging the bookings one by one leaves it
    selectNone();
}

void AppointmentBook::rebuildDayList(Outcome &outcome)
{
    // When a day's appointments cannot be read, the list stays empty rather than showing free rows
    // that may be booked.
    QVector<Appointment> bookings;
    QString error;
    if (storage_.readDay(activeSlot_, currentDate_, &bookings, &error)) {
        showDay(bookings);
        return;
    }
    clearDayList();
    outcome.messages << QCoreApplication::translate("AppointmentBook",
                                                    "The appointments of %1 could not be read: %2.\n\n"
                                                    "The list stays empty until they can be read.")
                            .arg(longDate(currentDate_), error);
}

void AppointmentBook::reportStorageFailure(Outcome &outcome, const QString &what, const QString &reason)
{
    // One message says both what failed and what the list now shows. The selection and the fields
    // stay, so that the action can simply be tried again once the cause is gone.
    QString readError;
    const bool listed = listDayAgainKeepingSelection(&readError);
    if (!listed)
        clearDayList();
    const QString shown =
        listed ? QCoreApplication::translate("AppointmentBook", "The list shows what is stored.")
               : QCoreApplication::translate("AppointmentBook",
                                             "The stored appointments cannot be read either (%1); the list "
                                             "stays empty until they can be read.")
                     .arg(readError);
    outcome.messages << QStringLiteral("%1: %2.\n\n%3").arg(what, reason, shown);
}

void AppointmentBook::reportNothingMatched(Outcome &outcome, const char *what)
{
    outcome.messages << QCoreApplication::translate("AppointmentBook", what);
    rebuildDayList(outcome);
}

Outcome AppointmentBook::stepDate(DateStep step, QDate today)
{
    if (activeSlot_ == 0)
        return said(QCoreApplication::translate("AppointmentBook", kChooseProfessionalFirst));
    const std::optional<QDate> next = steppedDate(currentDate_, step, today);
    if (!next)
        return {}; // past the calendar's ends nothing changes
    currentDate_ = *next;
    Q_EMIT dateChanged();
    Outcome outcome;
    outcome.done = true;
    rebuildDayList(outcome);
    return outcome;
}

void AppointmentBook::selectRow(int row)
{
    if (row < 0 || row >= dayList_.rowCount()) {
        // A click beside the rows selects none: there is nothing to change or remove.
        setSelectedRow(-1);
        entry_.offer({entry_.buttons().add, false, false});
        return;
    }
    setSelectedRow(row);
    const BookingRecord picked = BookingRecord::fromRow(dayList_.rows().at(row));
    // A booked row's fields show the whole stored values, not the row's columns, which cut them.
    entry_.fillFromSelection(picked, dayBookings_ && !trimBlanks(picked.nome).isEmpty()
                                         ? bookingShownAt(dayList_.rows(), row, *dayBookings_)
                                         : std::nullopt);
}

AddCheck AppointmentBook::checkAdd()
{
    entry_.leave(NameField);
    AddCheck check;
    check.otherPatientsDetails = entry_.carriesAnotherPatient();
    if (activeSlot_ == 0)
        return check;
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
    const BookingRecord typed = entry_.record();
    const Appointment booking = entry_.booking(currentDate_);
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
    Outcome outcome;
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

void AppointmentBook::followHeld(const QVector<qint64> &written)
{
    // A hold shows the booking as stored: one changed, cancelled or removed here is read again.
    if (std::any_of(held_.cbegin(), held_.cend(), [&](const HeldBooking &held) {
            return held.slot == activeSlot_ && written.contains(held.booking.id);
        })) {
        QString unread; // the list stays as it is; the next move says why
        readHeld(&unread);
    }
}

bool AppointmentBook::bookingSelected() const
{
    return selectedRow_ >= 0 &&
           !trimBlanks(BookingRecord::fromRow(dayList_.rows().at(selectedRow_)).nome).isEmpty();
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

Outcome AppointmentBook::goTo(const BookPlace &place)
{
    Outcome outcome;
    outcome.done = true;
    if (activeSlot_ != place.slot) {
        outcome = chooseDoctor(place.slot);
        if (activeSlot_ != place.slot)
            return outcome;
    }
    if (!showDateWithRow(place.date, place.row, outcome))
        outcome.messages << place.whenGone;
    return outcome;
}

bool AppointmentBook::showDateWithRow(QDate date, const QString &row, Outcome &outcome)
{
    if (currentDate_ != date) {
        currentDate_ = date;
        Q_EMIT dateChanged();
        rebuildDayList(outcome);
    }
    const int position = static_cast<int>(dayList_.rows().indexOf(row));
    if (position < 0) {
        outcome.done = false;
        return false;
    }
    selectRow(position);
    Q_EMIT rowReselected(position);
    return true;
}

} // namespace velmora
