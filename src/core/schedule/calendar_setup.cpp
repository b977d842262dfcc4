#include "core/schedule/calendar_setup.h"

#include "core/model/appointment.h"
#include "core/schedule/doctor_settings.h"
#include "core/storage/stored_bookings.h"
#include "core/text/text_rules.h"

#include <QCoreApplication>

#include <algorithm>
#include <map>

namespace velmora {

namespace {

bool named(const DoctorFields &doctor)
{
    return !trimBlanks(doctor.name.value_or(QString())).isEmpty();
}

// The bookings of the named doctors' books among slots, from..to, that the calendar closes: only the
// days it closes (a holiday, a closure, the country's holidays too) are read, whatever the period.
bool closedBookings(BookStorage &storage, const ClinicCalendar &calendar, const QVector<int> &slots,
                    QDate from, QDate to, QVector<FoundBooking> *found, QString *error,
                    const ReadProgress &progress)
{
    AllDoctorFields doctors;
    if (!storage.readDoctors(&doctors, error))
        return false;
    const qint64 days = std::max<qint64>(1, from.daysTo(to) + 1);
    for (QDate date = from; date <= to; date = date.addDays(1)) {
        if (progress && !progress(static_cast<int>(from.daysTo(date) * 100 / days)))
            return false;
        QVector<int> closing;
        for (const int slot : slots) {
            const DayPlan plan = calendar.planFor(slot, date);
            if (named(doctors[static_cast<size_t>(slot - 1)]) && (plan.wholeDay || !plan.times.isEmpty()))
                closing << slot;
        }
        std::map<int, QVector<Appointment>> booked;
        if (closing.isEmpty() || !storage.readDays(closing, date, &booked, error)) {
            if (closing.isEmpty())
                continue;
            return false;
        }
        for (const auto &[slot, bookings] : booked)
            for (const Appointment &booking : bookings)
                if (booking.date != placeholderDate() && calendar.planFor(slot, date).closedAt(booking.hora))
                    found->append({slot, booking});
    }
    std::stable_sort(found->begin(), found->end(), [](const FoundBooking &a, const FoundBooking &b) {
        return std::tie(a.booking.date, a.booking.hora) < std::tie(b.booking.date, b.booking.hora);
    });
    return true;
}

QVector<int> everySlot()
{
    QVector<int> slots;
    for (int slot = 1; slot <= kDoctorSlotCount; ++slot)
        slots << slot;
    return slots;
}

} // namespace

bool CalendarSetup::read(QString *error)
{
    return storage_.readCalendar(&entries_, error);
}

QVector<CalendarEntry> CalendarSetup::listed() const
{
    QVector<CalendarEntry> shown;
    std::copy_if(
        entries_.cbegin(), entries_.cend(), std::back_inserter(shown),
        [](const CalendarEntry &entry) { return entry.kind != CalendarEntry::Kind::OptionalClosed; });
    std::stable_sort(shown.begin(), shown.end(),
                     [](const CalendarEntry &a, const CalendarEntry &b) { return a.from < b.from; });
    return shown;
}

QString CalendarSetup::refusal(const CalendarEntry &entry) const
{
    return calendarRefusal(entry, entries_);
}

bool CalendarSetup::bookingsUnder(const CalendarEntry &entry, QVector<FoundBooking> *found, QString *error)
{
    found->clear();
    // What closes booked times: a closure, and the clinic's own holidays (state, city) alike.
    if (entry.kind != CalendarEntry::Kind::Closure && entry.kind != CalendarEntry::Kind::Holiday)
        return true;
    // A holiday closes through the holidays' rule, which the calendar of the closure alone leaves out.
    const ClinicCalendar alone =
        entry.kind == CalendarEntry::Kind::Holiday ? ClinicCalendar({entry}) : ClinicCalendar::only({entry});
    return closedBookings(storage_, alone, entry.slot ? QVector<int>{entry.slot} : everySlot(), entry.from,
                          entry.to.isValid() ? entry.to : entry.from, found, error, {});
}

bool CalendarSetup::add(CalendarEntry entry, const QString &signedBy, const QDateTime &at, QString *error)
{
    entry.changedBy = signedBy;
    entry.changedAt = at;
    return save(
        [&entry](QVector<CalendarEntry> &entries, QString *why) {
            if (const QString refused = calendarRefusal(entry, entries); !refused.isEmpty()) {
                *why = refused;
                return false;
            }
            entries << entry;
            return true;
        },
        error);
}

bool CalendarSetup::remove(const CalendarEntry &entry, QString *error)
{
    return save(
        [&entry](QVector<CalendarEntry> &entries, QString *) {
            entries.removeOne(entry); // one removed at another desk meanwhile is gone all the same
            return true;
        },
        error);
}

bool CalendarSetup::change(const CalendarEntry &listed, CalendarEntry changed, const QString &signedBy,
                           const QDateTime &at, QString *error)
{
    changed.changedBy = signedBy;
    changed.changedAt = at;
    return save(
        [&](QVector<CalendarEntry> &entries, QString *why) {
            const auto found = std::find(entries.begin(), entries.end(), listed);
            if (found == entries.end()) {
                *why = QCoreApplication::translate("CalendarSetup",
                                                   "it was changed or removed at another desk meanwhile");
                return false;
            }
            entries.erase(found);
            if (const QString refused = calendarRefusal(changed, entries); !refused.isEmpty()) {
                *why = refused;
                return false;
            }
            entries << changed;
            return true;
        },
        error);
}

bool CalendarSetup::closesOn(const QString &optionalKey) const
{
    return std::any_of(entries_.cbegin(), entries_.cend(), [&optionalKey](const CalendarEntry &entry) {
        return entry.kind == CalendarEntry::Kind::OptionalClosed && entry.reason == optionalKey;
    });
}

bool CalendarSetup::setClosesOn(const QString &optionalKey, bool closes, const QString &signedBy,
                                const QDateTime &at, QString *error)
{
    const auto optional = [&optionalKey](const CalendarEntry &entry) {
        return entry.kind == CalendarEntry::Kind::OptionalClosed && entry.reason == optionalKey;
    };
    return save(
        [&](QVector<CalendarEntry> &entries, QString *) {
            if (std::any_of(entries.cbegin(), entries.cend(), optional) == closes)
                return true; // as chosen already, signed as it was
            entries.erase(std::remove_if(entries.begin(), entries.end(), optional), entries.end());
            if (closes) {
                CalendarEntry choice;
                choice.kind = CalendarEntry::Kind::OptionalClosed;
                choice.reason = optionalKey;
                choice.changedBy = signedBy;
                choice.changedAt = at;
                entries << choice;
            }
            return true;
        },
        error);
}

bool CalendarSetup::save(const BookStorage::CalendarEdit &edit, QString *error)
{
    // Made on the calendar as stored at the moment of the write: what other desks saved meanwhile stays.
    QVector<CalendarEntry> saved;
    if (!storage_.changeCalendar(edit, &saved, error)) {
        QString unread; // the list stays as it was; the error says why
        read(&unread);
        return false;
    }
    entries_ = saved;
    return true;
}

bool readBookingsToReschedule(BookStorage &storage, QDate from, QVector<FoundBooking> *found, QString *error,
                              const ReadProgress &progress)
{
    found->clear();
    const std::shared_ptr<const ClinicCalendar> calendar = readClinicCalendar(storage, error);
    return calendar &&
           closedBookings(storage, *calendar, everySlot(), from, from.addDays(366), found, error, progress);
}

std::optional<int> countToReschedule(BookStorage &storage, QDate from, const ReadProgress &progress)
{
    QVector<FoundBooking> found;
    QString error;
    if (!readBookingsToReschedule(storage, from, &found, &error, progress))
        return std::nullopt;
    return static_cast<int>(found.size());
}

} // namespace velmora
