#pragma once

#include "core/model/outcome.h"
#include "core/model/waiting_entry.h"

#include <QDateTime>
#include <QVector>

namespace velmora {

struct Appointment;

// Whether the entry, still waiting, wants that doctor's time on that date ("HH:MM").
bool wantsSlot(const WaitingEntry &entry, int slot, QDate date, const QString &time);
// The entries waiting that want the freed time, oldest first.
QVector<WaitingEntry> waitingFor(const QVector<WaitingEntry> &entries, int slot, QDate date,
                                 const QString &time);
// The entries still waiting whose last date is before today: they leave the list by themselves.
QVector<qint64> expiredOn(const QVector<WaitingEntry> &entries, QDate today);

// Said when an entry cannot be added as it stands (no name, no phone, dates the wrong way round, texts
// past their lengths or with control characters); empty when it can.
QString waitingRefusal(const WaitingEntry &entry);

// The booking an entry becomes in a freed slot: its name, plan, phones and notes at that date and time.
Appointment bookingOf(const WaitingEntry &entry, QDate date, const QString &time);

// The offer of a freed slot, its template's placeholders filled as a confirmation's are.
QString offerMessage(const QString &messageTemplate, const WaitingEntry &entry, QDate date,
                     const QString &time, const QString &doctor, const QString &clinic);
QString defaultOfferTemplate();

class BookStorage;

// The clinic's waiting list as a desk works on it: read (entries past their last date leaving it by
// themselves), added to, taken from, and offered every time freed.
class WaitingList
{
public:
    WaitingList(BookStorage &storage, QDate today) : storage_(storage), today_(today) {}

    // Read afresh; the entries past their last date are recorded as expired first.
    bool read(QString *error);
    // Every entry read, those that left the list too, in the order added.
    const QVector<WaitingEntry> &entries() const { return entries_; }
    // The entries still waiting, oldest first.
    QVector<WaitingEntry> waiting() const;

    // The entry added as typed: names capitalised, blanks around trimmed, signed by the desk now.
    Outcome add(WaitingEntry entry, const QString &signedBy);
    Outcome remove(qint64 id);
    // The entries that want the freed time, oldest first.
    QVector<WaitingEntry> offersFor(const Outcome::Freed &freed) const;
    // Why a freed time is not to be offered, read from the books: empty when the day list itself would
    // show it free (a slot of the doctor's hours the calendar leaves open, not past at now, held by no
    // booking); now invalid: only a past day counts as past.
    QString notOffered(const Outcome::Freed &freed, QTime now) const;
    // The entry booked into the freed time and taken off the list, in one action.
    // patient: the one the entry's name and phones stand for, given with the booking (0: none known).
    Outcome book(qint64 id, const Outcome::Freed &freed, qint64 patient = 0);

private:
    const WaitingEntry *entry(qint64 id) const;

    BookStorage &storage_;
    QDate today_;
    QVector<WaitingEntry> entries_;
};

} // namespace velmora
