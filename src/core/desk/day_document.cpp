#include "core/desk/day_document.h"

#include "core/desk/book_messages.h"
#include "core/model/appointment.h"
#include "core/reception/booking_history.h"
#include "core/schedule/doctor_settings.h"
#include "core/schedule/squeeze_ins.h"
#include "core/storage/series_scope.h"
#include "core/storage/stored_bookings.h"
#include "core/text/name_rules.h"
#include "core/text/text_rules.h"
#include "core/text/written_dates.h"

#include <QCoreApplication>
#include <QLocale>

#include <algorithm>

namespace velmora {

namespace {

bool sameHeld(const HeldBooking &a, const HeldBooking &b)
{
    return a.slot == b.slot && a.booking.id == b.booking.id && a.booking.date == b.booking.date &&
           a.booking.hora == b.booking.hora && a.booking.nome == b.booking.nome;
}

} // namespace

DayDocument::DayDocument(BookStorage &storage, QDate today, QObject *parent)
    : QObject(parent), storage_(storage), currentDate_(today)
{
    storage_.watchOtherDesks([this](const StoredElsewhere &change) { storedElsewhere(change); });
}

DayDocument::~DayDocument()
{
    storage_.watchOtherDesks({});
}

void DayDocument::storedElsewhere(const StoredElsewhere &change)
{
    if (change.patients) { // no booking nor doctor changed
        Q_EMIT patientsChanged();
        return;
    }
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

bool DayDocument::listDayAgainKeepingSelection(QString *error)
{
    QVector<Appointment> bookings;
    // Read first: when the read fails the list stays as it was.
    if (!storage_.readDay(activeSlot_, currentDate_, &bookings, error))
        return false;
    listKeepingSelection(bookings);
    return true;
}

void DayDocument::listKeepingSelection(const QVector<Appointment> &bookings)
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

void DayDocument::followDoctorsSavedElsewhere(bool dayToo)
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

DayDocument::DoctorNames DayDocument::readDoctorNames(AllDoctorFields *fields)
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

bool DayDocument::loadDoctor(int slot, QString *error)
{
    AllDoctorFields fields;
    return storage_.readDoctors(&fields, error) &&
           readDoctorSettings(storage_, slot, fields[static_cast<size_t>(slot - 1)], &doctor_, error) &&
           storage_.openBook(slot, error);
}

Outcome DayDocument::chooseDoctor(int slot)
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

void DayDocument::leaveDoctor()
{
    activeSlot_ = 0;
    clearDayList();
    Q_EMIT doctorChanged();
}

void DayDocument::clearDayList()
{
    ListChange change(*this);
    dayList_.clear();
    dayBookings_.reset();
    selectNone();
}

void DayDocument::selectNone()
{
    setSelectedRow(-1);
    Q_EMIT selectionCleared();
    entry_.offer({entry_.buttons().add, false, false}); // nothing to change or remove
}

void DayDocument::setSelectedRow(int row)
{
    selectedRow_ = row;
    entry_.setRowSelected(row >= 0);
}

void DayDocument::showDay(const QVector<Appointment> &bookings)
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

void DayDocument::rebuildDayList(Outcome &outcome)
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

void DayDocument::reportStorageFailure(Outcome &outcome, const QString &what, const QString &reason)
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

void DayDocument::reportNothingMatched(Outcome &outcome, const char *what)
{
    outcome.messages << QCoreApplication::translate("AppointmentBook", what);
    rebuildDayList(outcome);
}

Outcome DayDocument::stepDate(DateStep step, QDate today)
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

void DayDocument::selectRow(int row)
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

void DayDocument::followHeld(const QVector<qint64> &written)
{
    // A hold shows the booking as stored: one changed, cancelled or removed here is read again.
    if (std::any_of(held_.cbegin(), held_.cend(), [&](const HeldBooking &held) {
            return held.slot == activeSlot_ && written.contains(held.booking.id);
        })) {
        QString unread; // the list stays as it is; the next move says why
        readHeld(&unread);
    }
}

bool DayDocument::bookingSelected() const
{
    return selectedRow_ >= 0 &&
           !trimBlanks(BookingRecord::fromRow(dayList_.rows().at(selectedRow_)).nome).isEmpty();
}

Outcome DayDocument::goTo(const BookPlace &place)
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

bool DayDocument::showDateWithRow(QDate date, const QString &row, Outcome &outcome)
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

bool DayDocument::readHeld(QString *error)
{
    QVector<HeldBooking> held;
    if (!storage_.readHeld(&held, error))
        return false;
    takeHeld(held, heldReads_);
    return true;
}

void DayDocument::takeHeld(const QVector<HeldBooking> &held, quint64 readsBefore)
{
    if (readsBefore != heldReads_)
        return; // older than the list read here meanwhile
    ++heldReads_;
    if (held.size() == held_.size() && std::equal(held.cbegin(), held.cend(), held_.cbegin(), sameHeld))
        return;
    held_ = held;
    Q_EMIT heldChanged();
    // Read again: the bookings added here since the day was read have no identity to mark them by.
    QString unread; // the list stays as it is; the next action says why
    if (activeSlot_ != 0)
        listDayAgainKeepingSelection(&unread);
}

SeriesPlace DayDocument::selectedSeries() const
{
    if (!bookingSelected() || !dayBookings_)
        return {};
    const std::optional<Appointment> shown = bookingShownAt(dayList_.rows(), selectedRow_, *dayBookings_);
    return shown ? shown->series : SeriesPlace();
}

SeriesPlace DayDocument::heldSeries(int index)
{
    if (index < 0 || index >= held_.size())
        return {};
    const HeldBooking &held = held_.at(index);
    QVector<Appointment> day;
    QString error;
    if (!storage_.readDay(held.slot, held.booking.date, &day, &error))
        return {};
    for (const Appointment &booking : std::as_const(day))
        if (booking.id == held.booking.id)
            return booking.series;
    return {};
}

} // namespace velmora
