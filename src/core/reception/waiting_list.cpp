#include "core/reception/waiting_list.h"

#include "core/model/appointment.h"
#include "core/reception/confirmation_message.h"
#include "core/schedule/day_list_rules.h"
#include "core/schedule/doctor_settings.h"
#include "core/storage/book_storage.h"
#include "core/text/name_rules.h"
#include "core/text/text_rules.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTime>

#include <algorithm>
#include <array>

namespace velmora {

namespace {

// The longest text an entry keeps in each field: the day list's own widths, and a longer note.
constexpr int kNotesLength = 200;

bool inPeriod(WaitingEntry::Period period, const QString &time)
{
    const QTime read =
        QTime::fromString(trimBlanks(time).rightJustified(5, QLatin1Char('0')), QStringLiteral("HH:mm"));
    switch (period) {
    case WaitingEntry::Period::Any:
        return true;
    case WaitingEntry::Period::Morning:
        return read.isValid() && read < QTime(12, 0);
    case WaitingEntry::Period::Afternoon:
        return read.isValid() && read >= QTime(12, 0);
    }
    return true;
}

} // namespace

bool wantsSlot(const WaitingEntry &entry, int slot, QDate date, const QString &time)
{
    return entry.state == WaitingEntry::State::Waiting && (entry.slot == 0 || entry.slot == slot) &&
           (!entry.from.isValid() || entry.from <= date) && (!entry.to.isValid() || date <= entry.to) &&
           inPeriod(entry.period, time);
}

QVector<WaitingEntry> waitingFor(const QVector<WaitingEntry> &entries, int slot, QDate date,
                                 const QString &time)
{
    QVector<WaitingEntry> wanting;
    for (const WaitingEntry &entry : entries)
        if (wantsSlot(entry, slot, date, time))
            wanting << entry;
    std::stable_sort(wanting.begin(), wanting.end(), [](const WaitingEntry &a, const WaitingEntry &b) {
        return a.addedAt != b.addedAt ? a.addedAt < b.addedAt : a.id < b.id;
    });
    return wanting;
}

QVector<qint64> expiredOn(const QVector<WaitingEntry> &entries, QDate today)
{
    QVector<qint64> expired;
    for (const WaitingEntry &entry : entries)
        if (entry.state == WaitingEntry::State::Waiting && entry.to.isValid() && entry.to < today)
            expired << entry.id;
    return expired;
}

QString waitingRefusal(const WaitingEntry &entry)
{
    if (trimBlanks(entry.name).isEmpty())
        return QCoreApplication::translate("WaitingList", "Type the patient's name.");
    if (trimBlanks(entry.phone).isEmpty())
        return QCoreApplication::translate("WaitingList", "Type a phone number, to offer the freed times.");
    if (entry.from.isValid() && entry.to.isValid() && entry.to < entry.from)
        return QCoreApplication::translate("WaitingList", "The last date wanted is before the first.");
    const struct
    {
        const QString &text;
        int length;
        const char *field;
    } fields[] = {
        {entry.name, BookingRecord::kNomeWidth, QT_TRANSLATE_NOOP("WaitingList", "The name")},
        {entry.phone, BookingRecord::kTelefoneWidth, QT_TRANSLATE_NOOP("WaitingList", "The phones")},
        {entry.plan, BookingRecord::kConvenioWidth, QT_TRANSLATE_NOOP("WaitingList", "The plan")},
        {entry.notes, kNotesLength, QT_TRANSLATE_NOOP("WaitingList", "The notes")}};
    for (const auto &field : fields) {
        if (characterCount(field.text) > field.length)
            return QCoreApplication::translate("WaitingList", "%1 may be at most %2 characters long.")
                .arg(QCoreApplication::translate("WaitingList", field.field))
                .arg(field.length);
        if (blankControlCharacters(field.text) != field.text)
            return QCoreApplication::translate("WaitingList", "%1 may not hold control characters.")
                .arg(QCoreApplication::translate("WaitingList", field.field));
    }
    return {};
}

Appointment bookingOf(const WaitingEntry &entry, QDate date, const QString &time)
{
    Appointment booking;
    booking.date = date;
    booking.hora = time;
    booking.nome = trimBlanks(entry.name);
    booking.convenio = trimBlanks(entry.plan);
    booking.telefone = trimBlanks(entry.phone);
    booking.obs = trimBlanks(entry.notes);
    return booking;
}

QString offerMessage(const QString &messageTemplate, const WaitingEntry &entry, QDate date,
                     const QString &time, const QString &doctor, const QString &clinic)
{
    return filledMessage(messageTemplate, {entry.name, date, time, doctor, clinic, {}}, QLocale());
}

QString defaultOfferTemplate()
{
    return QCoreApplication::translate(
        "WaitingList",
        "Hello, {first_name}! A time has opened with {doctor} on {weekday}, {date}, at {time}. "
        "Would you like it? Please reply YES to take it.\n{clinic}");
}

bool WaitingList::read(QString *error)
{
    if (!storage_.readWaitingList(&entries_, error))
        return false;
    const QVector<qint64> expired = expiredOn(entries_, today_);
    for (const qint64 id : expired) {
        QString unrecorded; // left as waiting, and expired again at the next read
        storage_.leaveWaitingList(id, WaitingEntry::State::Expired, &unrecorded);
    }
    return expired.isEmpty() || storage_.readWaitingList(&entries_, error);
}

QVector<WaitingEntry> WaitingList::waiting() const
{
    QVector<WaitingEntry> waiting;
    for (const WaitingEntry &entry : entries_)
        if (entry.state == WaitingEntry::State::Waiting)
            waiting << entry;
    std::stable_sort(waiting.begin(), waiting.end(),
                     [](const WaitingEntry &a, const WaitingEntry &b) { return a.addedAt < b.addedAt; });
    return waiting;
}

Outcome WaitingList::add(WaitingEntry entry, const QString &signedBy)
{
    entry.name = capitalize_name(trimBlanks(entry.name));
    entry.plan = capitalize_plan(trimBlanks(entry.plan));
    entry.phone = trimBlanks(entry.phone);
    entry.notes = trimBlanks(entry.notes);
    if (const QString refused = waitingRefusal(entry); !refused.isEmpty())
        return said(refused);
    if (entry.to.isValid() && entry.to < today_) // it would expire unseen at the next read
        return said(QCoreApplication::translate("WaitingList",
                                                "The last date wanted, %1, has passed: choose dates from "
                                                "today on. Nothing was added.")
                        .arg(QLocale().toString(entry.to, QLocale::ShortFormat)));
    entry.addedAt = QDateTime::currentDateTimeUtc();
    entry.addedBy = signedBy;
    QString error;
    if (!storage_.addToWaitingList(entry, &error))
        return said(
            QCoreApplication::translate("WaitingList", "The entry could not be added: %1.").arg(error));
    Outcome outcome;
    outcome.done = true;
    if (!read(&error))
        outcome.messages << QCoreApplication::translate("WaitingList",
                                                        "The waiting list could not be read again: %1.")
                                .arg(error);
    return outcome;
}

Outcome WaitingList::remove(qint64 id)
{
    QString error;
    const WriteOutcome removed = storage_.leaveWaitingList(id, WaitingEntry::State::Removed, &error);
    Outcome outcome;
    outcome.done = removed == WriteOutcome::Done;
    if (removed != WriteOutcome::Done)
        outcome.messages
            << QCoreApplication::translate("WaitingList", "The entry was not removed: %1.").arg(error);
    read(&error);
    return outcome;
}

QVector<WaitingEntry> WaitingList::offersFor(const Outcome::Freed &freed) const
{
    return freed.slot == 0 ? QVector<WaitingEntry>()
                           : waitingFor(entries_, freed.slot, freed.date, freed.time);
}

const WaitingEntry *WaitingList::entry(qint64 id) const
{
    for (const WaitingEntry &entry : entries_)
        if (entry.id == id)
            return &entry;
    return nullptr;
}

QString WaitingList::notOffered(const Outcome::Freed &freed, QTime now) const
{
    const QString meant = meantTime(freed.time);
    const QTime at = QTime::fromString(meant, QStringLiteral("HH:mm"));
    if (freed.date < today_ || (freed.date == today_ && now.isValid() && at.isValid() && at <= now))
        return QCoreApplication::translate("WaitingList", "%1 has passed. Nothing was booked.").arg(meant);
    DoctorFields fields;
    DoctorSettings doctor;
    QString error;
    if (!storage_.readSlotLengthAndLink(freed.slot, &fields, &error) ||
        !readDoctorSettings(storage_, freed.slot, fields, &doctor, &error))
        return QCoreApplication::translate("WaitingList", "The doctor's hours could not be read: %1.")
            .arg(error);
    if (!freeSlotRows(doctor, freed.date).contains(meant))
        return QCoreApplication::translate("WaitingList",
                                           "%1 is not one of the doctor's open times that day. Nothing was "
                                           "booked.")
            .arg(meant);
    // The time may have been taken since it was freed, or held by a squeeze-in that stays.
    QVector<Appointment> day;
    if (!storage_.readDay(freed.slot, freed.date, &day, &error))
        return QCoreApplication::translate("WaitingList", "The day could not be read: %1.").arg(error);
    for (const Appointment &booking : std::as_const(day))
        if (meantTime(booking.hora) == meant && !trimBlanks(booking.nome).isEmpty() &&
            booking.status != BookingStatus::Cancelled)
            return QCoreApplication::translate("WaitingList", "%1 was taken meanwhile. Nothing was booked.")
                .arg(meant);
    return {};
}

Outcome WaitingList::book(qint64 id, const Outcome::Freed &freed, qint64 patient)
{
    const WaitingEntry *wanted = entry(id);
    if (!wanted || freed.slot == 0)
        return said(QCoreApplication::translate("WaitingList", "Choose an entry of the waiting list first."));
    if (const QString why = notOffered(freed, QTime()); !why.isEmpty())
        return said(why);
    QString error;
    Appointment booking = bookingOf(*wanted, freed.date, freed.time);
    booking.patient = patient;
    const AddOutcome booked = storage_.bookFromWaitingList(freed.slot, id, booking, &error);
    Outcome outcome;
    outcome.done = booked != AddOutcome::NotStored;
    if (!outcome.done)
        outcome.messages << QCoreApplication::translate("WaitingList", "Nothing was booked: %1.").arg(error);
    read(&error);
    return outcome;
}

} // namespace velmora
