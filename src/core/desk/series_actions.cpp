// Weekly series at the desk: booked in one action, and changed, removed, given a status or moved as
// one when the receptionist says so.

#include "core/desk/appointment_book.h"
#include "core/desk/book_messages.h"
#include "core/schedule/weekly_series.h"
#include "core/storage/stored_bookings.h"

#include "core/schedule/day_list_rules.h"
#include "core/text/name_rules.h"
#include "core/text/text_rules.h"

#include <QCoreApplication>
#include <QLocale>

#include <algorithm>

namespace velmora {

WriteOutcome AppointmentBook::writeInScope(const Appointment &found, SeriesScope scope,
                                           const std::function<BookingWrite(const Appointment &)> &writeOf,
                                           QVector<qint64> *written, QString *error)
{
    QVector<Appointment> sessions{found};
    if (scope != SeriesScope::ThisOne && found.series.series != 0) {
        QVector<Appointment> series;
        if (!storage_.readSeries(activeSlot_, found.series.series, &series, error))
            return WriteOutcome::Failed;
        sessions = seriesInScope(series, found, scope);
        // The one chosen, as read with its day, stands for itself however the series was read.
        if (std::none_of(sessions.cbegin(), sessions.cend(),
                         [&](const Appointment &session) { return session.id == found.id; }))
            return WriteOutcome::NoLongerStored;
    }
    written->clear();
    for (const Appointment &session : std::as_const(sessions))
        written->append(session.id);
    if (sessions.size() == 1) {
        const BookingWrite write = writeOf(found);
        switch (write.kind) {
        case BookingWrite::Kind::Change:
            return storage_.update(activeSlot_, found, write.changed, error);
        case BookingWrite::Kind::Remove:
            return storage_.remove(activeSlot_, found, error);
        case BookingWrite::Kind::Status:
            return storage_.setStatus(activeSlot_, found, write.status, error);
        case BookingWrite::Kind::Move:
            break;
        }
    }
    QVector<BookingWrite> writes;
    for (const Appointment &session : std::as_const(sessions))
        writes << writeOf(session);
    return storage_.writeSeries(activeSlot_, writes, 0, error);
}

bool AppointmentBook::planSeries(const SeriesRule &rule, QDate today, QVector<SeriesOccurrence> *occurrences,
                                 QString *message)
{
    occurrences->clear();
    if (activeSlot_ == 0) {
        *message = QCoreApplication::translate("AppointmentBook", kChooseProfessionalFirst);
        return false;
    }
    *message = seriesRefusal(rule);
    if (!message->isEmpty())
        return false;
    const int slot = activeSlot_;
    return seriesOccurrences(
        rule, doctor_, today,
        [&](QDate date, QVector<Appointment> *bookings) {
            QString error;
            return storage_.readDay(slot, date, bookings, &error);
        },
        occurrences, message);
}

Outcome AppointmentBook::bookSeries(const QVector<SeriesOccurrence> &occurrences)
{
    entry_.leave(NameField);
    entry_.leave(PlanField);
    if (activeSlot_ == 0)
        return said(QCoreApplication::translate("AppointmentBook", kChooseProfessionalFirst));
    if (trimBlanks(entry_.text(NameField)).isEmpty())
        return said(QCoreApplication::translate(
            "AppointmentBook",
            "Type the patient's name first: each session of the series is booked for them."));
    const QVector<Appointment> bookings = seriesBookings(occurrences, entry_.booking(currentDate_));
    if (bookings.isEmpty())
        return said(QCoreApplication::translate(
            "AppointmentBook", "Every session of the series is skipped or in the way: nothing was booked."));
    // Every session is the patient's: the one chosen from the list, or a record made of the fields.
    Outcome outcome;
    AddCheck forPatient;
    forPatient.patient = chosenPatient();
    const qint64 patient = patientToBook(forPatient, outcome);
    QVector<Appointment> linkedSessions = bookings;
    for (Appointment &session : linkedSessions)
        session.patient = patient;
    QVector<bool> squeezeIns; // booked anyway where another patient is: the rest must find the time free
    for (const SeriesOccurrence &occurrence : occurrences)
        if (!occurrence.bookedTime().isEmpty())
            squeezeIns << (occurrence.choice == SeriesChoice::BookAnyway);
    const int linked = doctor_.linkedSlot;
    QString error;
    QVector<qint64> ids;
    const AddOutcome stored = storage_.addSeries(activeSlot_, linkedSessions,
                                                 isDoctorSlot(linked) && linked != activeSlot_ ? linked : 0,
                                                 squeezeIns, &ids, &error);
    if (stored == AddOutcome::NotStored) {
        reportStorageFailure(
            outcome,
            QCoreApplication::translate("AppointmentBook",
                                        "The series could not be booked; none of its sessions was stored"),
            error);
        return outcome;
    }
    outcome.done = true;
    // One notice for the many days: what follows the books reads once, not once a session.
    Q_EMIT booksChanged({activeSlot_, bookings.first().date, true});
    const int sessions = static_cast<int>(bookings.size());
    outcome.messages << QCoreApplication::translate("AppointmentBook", "%n session(s) booked, from %1 to %2.",
                                                    nullptr, sessions)
                            .arg(QLocale().toString(bookings.first().date, QLocale::ShortFormat),
                                 QLocale().toString(bookings.last().date, QLocale::ShortFormat));
    if (stored == AddOutcome::StoredWithoutCopy)
        outcome.messages
            << QCoreApplication::translate(
                   "AppointmentBook",
                   "The series was booked, but it could not be copied to the linked doctor's book "
                   "(%1): %2.")
                   .arg(doctorCalled(names_, linked), error);
    entry_.clear();
    entry_.offer({entry_.buttons().add, false, false});
    rebuildDayList(outcome);
    return outcome;
}

Outcome AppointmentBook::placeSeries(int index, const QString &time, SeriesScope scope, QDate today)
{
    const HeldBooking held = held_.at(index);
    Appointment chosen = held.booking;
    chosen.series = heldSeries(index);
    QVector<Appointment> series;
    QString error;
    if (!storage_.readSeries(held.slot, chosen.series.series, &series, &error)) {
        Outcome outcome;
        reportStorageFailure(
            outcome,
            QCoreApplication::translate("AppointmentBook", "The series could not be read; nothing was moved"),
            error);
        return outcome;
    }
    const qint64 shift = held.booking.date.daysTo(currentDate_);
    QVector<Appointment> moving;
    QVector<qint64> movingIds;
    for (const Appointment &session : seriesInScope(series, chosen, scope))
        if (session.id == chosen.id || session.date >= today) { // a session past stays where it was
            moving << session;
            movingIds << session.id;
        }
    QVector<BookingWrite> writes;
    QStringList inTheWay;
    for (const Appointment &session : std::as_const(moving)) {
        Appointment placed = session;
        placed.date = session.date.addDays(shift);
        placed.hora = time;
        QVector<Appointment> day;
        if (!storage_.readDay(activeSlot_, placed.date, &day, &error)) {
            Outcome outcome;
            reportStorageFailure(outcome,
                                 QCoreApplication::translate(
                                     "AppointmentBook", "The series could not be read; nothing was moved"),
                                 error);
            return outcome;
        }
        // The sessions that move leave their places as the others arrive; those that stay are in the way.
        day.erase(std::remove_if(day.begin(), day.end(),
                                 [&](const Appointment &booking) { return movingIds.contains(booking.id); }),
                  day.end());
        const SeriesOccurrence checked = sessionAt({placed.date, meantTime(time)}, doctor_, today, day);
        if (checked.obstacle != SeriesObstacle::None)
            inTheWay << QStringLiteral("%1 %2 %3: %4")
                            .arg(sessionText(session.series),
                                 QLocale().toString(placed.date, QLocale::ShortFormat), trimBlanks(time),
                                 obstacleText(checked.obstacle));
        writes << BookingWrite{BookingWrite::Kind::Move, session, placed, BookingStatus::ToConfirm};
    }
    if (!inTheWay.isEmpty())
        return said(QCoreApplication::translate("AppointmentBook",
                                                "Nothing was moved: these sessions would not fit.\n%1")
                        .arg(inTheWay.join(QLatin1Char('\n'))));
    Outcome outcome;
    const WriteOutcome written = storage_.writeSeries(held.slot, writes, doctor_.linkedSlot, &error);
    if (written == WriteOutcome::NoLongerStored)
        outcome.messages << QCoreApplication::translate(
            "AppointmentBook",
            "A session of the series was changed, moved or removed at another desk. Nothing "
            "was moved.");
    else if (written == WriteOutcome::Failed)
        reportStorageFailure(outcome,
                             QCoreApplication::translate(
                                 "AppointmentBook", "The series could not be moved; it stays where it was"),
                             error);
    if (written == WriteOutcome::Done) {
        outcome.done = true;
        outcome.freed = {held.slot, held.booking.date, held.booking.hora};
        Q_EMIT booksChanged({held.slot, held.booking.date, true});
        const int sessions = static_cast<int>(writes.size());
        outcome.messages << QCoreApplication::translate("AppointmentBook", "%n session(s) moved.", nullptr,
                                                        sessions);
    }
    readHeld(&error);
    rebuildDayList(outcome);
    return outcome;
}

} // namespace velmora
