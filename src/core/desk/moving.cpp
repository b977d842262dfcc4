// Moving a booking: held first, then placed at another date and time, of this doctor or another.

#include "core/desk/appointment_book.h"
#include "core/desk/book_messages.h"
#include "core/storage/stored_bookings.h"

#include "core/schedule/doctor_settings.h"
#include "core/text/name_rules.h"
#include "core/text/text_rules.h"

#include <QCoreApplication>
#include <QTime>

#include <algorithm>

namespace velmora {

namespace {

const char *const kNothingMoved = QT_TRANSLATE_NOOP(
    "AppointmentBook", "The held appointment is no longer stored as it was held: it was changed, moved or "
                       "removed at another desk. Nothing was moved.");

} // namespace

Outcome AppointmentBook::holdSelected()
{
    if (!bookingSelected())
        return said(QCoreApplication::translate("AppointmentBook", kNoAppointmentSelected));
    Outcome outcome;
    if (!writeSelected(
            kNothingChanged,
            QT_TRANSLATE_NOOP("AppointmentBook", "The appointment could not be held to be moved"),
            [this](const Appointment &found, QString *error) {
                return storage_.hold(activeSlot_, found, error);
            },
            outcome))
        return outcome;
    outcome.done = true;
    Q_EMIT booksChanged({activeSlot_, currentDate_, false});
    QString error;
    if (!readHeld(&error))
        reportStorageFailure(outcome,
                             QCoreApplication::translate("AppointmentBook",
                                                         "The appointment is held, but the held list could "
                                                         "not be read"),
                             error);
    return outcome;
}

QString AppointmentBook::placeTime(QString *whyNot) const
{
    if (selectedRow_ >= 0 && !bookingSelected())
        return BookingRecord::fromRow(dayList_.rows().at(selectedRow_)).hora;
    const QString typed = trimBlanks(entry_.text(TimeField));
    if (typed.isEmpty()) {
        *whyNot = QCoreApplication::translate("AppointmentBook",
                                              "Select a free time in the list, or type a time, to place the "
                                              "held appointment there.");
        return {};
    }
    if (!QTime::fromString(typed.rightJustified(5, QLatin1Char('0')), QStringLiteral("HH:mm")).isValid()) {
        *whyNot = QCoreApplication::translate("AppointmentBook",
                                              "\"%1\" is not a time: type it as HH:MM, for example 14:30.")
                      .arg(typed);
        return {};
    }
    return meantTime(typed);
}

Outcome AppointmentBook::placeHeld(int index, SeriesScope scope, QDate today, bool closedAccepted)
{
    if (index < 0 || index >= held_.size())
        return said(QCoreApplication::translate("AppointmentBook", "Choose a held appointment first."));
    if (activeSlot_ == 0)
        return said(QCoreApplication::translate("AppointmentBook", kChooseProfessionalFirst));
    const HeldBooking held = held_.at(index);
    QString whyNot;
    const QString time = placeTime(&whyNot);
    if (time.isEmpty())
        return said(whyNot);
    if (held.slot == activeSlot_ && held.booking.date == currentDate_ &&
        meantTime(held.booking.hora) == meantTime(time))
        return said(
            QCoreApplication::translate("AppointmentBook", "The appointment is already at that time."));
    if (dayBookings_ &&
        std::any_of(dayBookings_->cbegin(), dayBookings_->cend(), [&](const Appointment &booking) {
            return meantTime(booking.hora) == meantTime(time) && !trimBlanks(booking.nome).isEmpty();
        }))
        return said(QCoreApplication::translate(
                        "AppointmentBook", "%1 is taken on this day. Nothing was moved: choose a free time.")
                        .arg(trimBlanks(time)));
    const DayPlan plan = dayPlan(doctor_, currentDate_);
    if (!closedAccepted && plan.closedAt(meantTime(time)))
        return said(QCoreApplication::translate(
                        "AppointmentBook", "The clinic's calendar closes %1 on this day (%2). Nothing was "
                                           "moved.")
                        .arg(trimBlanks(time), plan.reasons()));
    if (scope != SeriesScope::ThisOne && held.slot == activeSlot_ && heldSeries(index).series != 0)
        return placeSeries(index, time, scope, today.isValid() ? today : currentDate_);

    DoctorFields fields;
    QString error;
    const int linked = storage_.readSlotLengthAndLink(held.slot, &fields, &error)
                           ? linkedSlotValue(fields.link.value_or(QString()))
                           : 0;
    const Moved moved =
        storage_.move(held.slot, held.booking, activeSlot_, currentDate_, time, linked, &error);
    Outcome outcome;
    if (moved.outcome == WriteOutcome::NoLongerStored)
        outcome.messages << QCoreApplication::translate("AppointmentBook", kNothingMoved);
    else if (moved.outcome == WriteOutcome::Failed)
        reportStorageFailure(
            outcome,
            QCoreApplication::translate("AppointmentBook",
                                        "The appointment could not be moved; it stays where it was"),
            error);
    if (moved.outcome == WriteOutcome::Done) {
        outcome.done = true;
        outcome.freed = {held.slot, held.booking.date, held.booking.hora};
        Q_EMIT booksChanged({held.slot, held.booking.date, false});
        Q_EMIT booksChanged({activeSlot_, currentDate_, false});
        if (moved.copy == Moved::Copy::LeftAlone)
            outcome.messages << QCoreApplication::translate(
                                    "AppointmentBook", "The appointment was moved. Its copy in the linked "
                                                       "doctor's book (%1) was changed or removed since it "
                                                       "was made, and was left as it is.")
                                    .arg(doctorCalled(names_, linked));
    }
    // The booking placed is no longer held; what other desks held since comes with their notice.
    if (moved.outcome == WriteOutcome::Done) {
        held_.removeAt(index);
        Q_EMIT heldChanged();
    } else {
        readHeld(&error);
    }
    rebuildDayList(outcome);
    if (outcome.done) {
        Appointment placed = held.booking;
        placed.hora = time;
        const int row = static_cast<int>(dayList_.rows().indexOf(shownRecord(placed).row()));
        if (row >= 0) {
            selectRow(row);
            Q_EMIT rowReselected(row);
            outcome.rowToShow = row;
        }
    }
    return outcome;
}

Outcome AppointmentBook::putBack(int index)
{
    if (index < 0 || index >= held_.size())
        return said(QCoreApplication::translate("AppointmentBook", "Choose a held appointment first."));
    QString error;
    Outcome outcome;
    if (!storage_.putBack(held_.at(index).slot, held_.at(index).booking.id, &error))
        reportStorageFailure(
            outcome, QCoreApplication::translate("AppointmentBook", "The appointment could not be put back"),
            error);
    else
        outcome.done = true;
    if (outcome.done)
        Q_EMIT booksChanged({held_.at(index).slot, held_.at(index).booking.date, false});
    readHeld(&error);
    return outcome;
}

} // namespace velmora
