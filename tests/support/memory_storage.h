#pragma once

#include "core/model/booking_status.h"
#include "core/model/patient.h"
#include "core/reception/waiting_list.h"
#include "core/schedule/clinic_calendar.h"
#include "core/search/patient_query.h"
#include "core/storage/book_storage.h"
#include "core/storage/stored_bookings.h"
#include "core/text/text_rules.h"

#include <QObject>
#include <QTimer>

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

namespace velmora::testing {

// A desk on the books in memory: what it is told of the other desks' writes.
struct MemoryDesk
{
    std::function<void(const StoredElsewhere &)> changed;
    std::unique_ptr<QObject> context = std::make_unique<QObject>(); // what the event loop delivers to it
};

// The books kept in memory, shared by the desks opened on them: an engine for the tests, as the
// contract describes one, without a file or a server. Each desk hears the others' writes through the
// event loop, as on a server.
class MemoryBooks
{
public:
    std::map<int, QVector<Appointment>> books; // slot 1 to 10: the bookings in the order added
    AllDoctorFields doctors;
    std::array<WeeklyTimes, kDoctorSlotCount> hours;
    QVector<CalendarEntry> calendar;
    qint64 lastId = 0;
    std::map<std::pair<int, qint64>, QVector<HistoryEntry>> history; // by slot and identity
    QVector<HeldBooking> held; // the booking as held; listed with its fields as stored now
    QVector<WaitingEntry> waiting;
    SqueezeLimits squeezeLimits;
    QVector<Patient> patients; // by identity
    std::vector<MemoryDesk *> desks;

    MemoryBooks()
    {
        for (DoctorFields &doctor : doctors)
            doctor = {QString(), QString(), QStringLiteral("0")};
    }

    // A doctor in the slot who works on Mondays alone, from start to end ("HHMM"), without a link.
    void setMondayDoctor(int slot, const QString &name, const QString &slotLength, const QString &start,
                         const QString &end)
    {
        doctors[static_cast<size_t>(slot - 1)] = {name, slotLength, QStringLiteral("0")};
        WeeklyTimes &times = hours[static_cast<size_t>(slot - 1)];
        times.fill(QStringLiteral("    "));
        times[weeklyTimePosition(0, 1)] = start;
        times[weeklyTimePosition(0, 2)] = end;
    }

    // Tells every desk but the one that wrote.
    void announce(const MemoryDesk *writer, const StoredElsewhere &change)
    {
        for (MemoryDesk *desk : desks)
            if (desk != writer && desk->changed)
                QTimer::singleShot(0, desk->context.get(), [desk, change] { desk->changed(change); });
    }
};

class MemoryStorage : public BookStorage
{
public:
    explicit MemoryStorage(MemoryBooks &books) : books_(books) { books_.desks.push_back(&desk_); }
    ~MemoryStorage() override
    {
        books_.desks.erase(std::remove(books_.desks.begin(), books_.desks.end(), &desk_), books_.desks.end());
    }
    MemoryStorage(const MemoryStorage &) = delete;
    Desk desk = thisDesk(); // who the history names
    MemoryStorage &operator=(const MemoryStorage &) = delete;

    bool openBook(int slot, QString *) override
    {
        QVector<Appointment> &book = books_.books[slot];
        if (book.isEmpty()) {
            Appointment placeholder;
            placeholder.id = ++books_.lastId;
            placeholder.date = placeholderDate();
            book << placeholder;
        }
        return true;
    }
    bool readDay(int slot, QDate date, QVector<Appointment> *bookings, QString *) override
    {
        bookings->clear();
        for (const Appointment &booking : books_.books[slot])
            if (booking.date == date)
                *bookings << booking;
        return true;
    }
    bool readPeriod(int slot, QDate from, QDate to, QVector<Appointment> *bookings, QString *) override
    {
        bookings->clear();
        for (const Appointment &booking : books_.books[slot])
            if (booking.date >= from && booking.date <= to)
                *bookings << booking;
        std::stable_sort(bookings->begin(), bookings->end(),
                         [](const Appointment &a, const Appointment &b) { return a.date < b.date; });
        return true;
    }
    Added add(int slot, const Appointment &booking, int linkedSlot, QString *) override
    {
        const std::vector<int> into = isDoctorSlot(linkedSlot) && linkedSlot != slot
                                          ? std::vector<int>{slot, linkedSlot}
                                          : std::vector<int>{slot};
        for (const int book : into) {
            Appointment stored = booking;
            stored.id = ++books_.lastId;
            stored.status = BookingStatus::ToConfirm;
            stored.series = {};
            books_.books[book] << stored;
            record(book, stored.id, "added", addedDetails(stored));
            books_.announce(&desk_, {book, booking.date});
        }
        return {AddOutcome::Stored};
    }
    WriteOutcome update(int slot, const Appointment &stored, const Appointment &changed,
                        QString *error) override
    {
        Appointment *found = asRead(slot, stored, error);
        if (!found)
            return WriteOutcome::NoLongerStored;
        const Appointment before = *found;
        *found = changed;
        found->id = before.id;
        found->status = before.status;
        found->series = before.series;
        found->patient = changed.patient != 0 ? changed.patient : before.patient;
        record(slot, before.id, "changed", changedDetails(before, changed));
        books_.announce(&desk_, {slot, changed.date});
        return WriteOutcome::Done;
    }
    WriteOutcome remove(int slot, const Appointment &stored, QString *error) override
    {
        Appointment *found = asRead(slot, stored, error);
        if (!found)
            return WriteOutcome::NoLongerStored;
        record(slot, found->id, "removed", addedDetails(*found));
        if (const HeldBooking *held = heldAt(slot, found->id))
            books_.held.removeAt(held - books_.held.data());
        QVector<Appointment> &book = books_.books[slot];
        book.removeAt(found - book.data());
        books_.announce(&desk_, {slot, stored.date});
        return WriteOutcome::Done;
    }
    WriteOutcome setStatus(int slot, const Appointment &stored, BookingStatus status, QString *error) override
    {
        Appointment *found = asRead(slot, stored, error);
        if (!found)
            return WriteOutcome::NoLongerStored;
        record(slot, found->id, "status", statusDetails(found->status, status));
        found->status = status;
        if (const HeldBooking *held = heldAt(slot, found->id); held && status == BookingStatus::Cancelled)
            books_.held.removeAt(held - books_.held.data());
        books_.announce(&desk_, {slot, stored.date});
        return WriteOutcome::Done;
    }
    WriteOutcome hold(int slot, const Appointment &stored, QString *error) override
    {
        if (!asRead(slot, stored, error))
            return WriteOutcome::NoLongerStored;
        if (!heldAt(slot, stored.id))
            books_.held << HeldBooking{slot, stored, QDateTime::currentDateTimeUtc(), desk.computer,
                                       desk.person};
        books_.announce(&desk_, {slot, stored.date});
        return WriteOutcome::Done;
    }
    bool putBack(int slot, qint64 id, QString *) override
    {
        if (const HeldBooking *held = heldAt(slot, id)) {
            books_.announce(&desk_, {slot, held->booking.date});
            books_.held.removeAt(held - books_.held.data());
        }
        return true;
    }
    bool readHeld(QVector<HeldBooking> *held, QString *) override
    {
        held->clear();
        for (HeldBooking entry : std::as_const(books_.held))
            for (const Appointment &booking : books_.books[entry.slot])
                if (booking.id == entry.booking.id)
                    *held << (entry.booking = booking, entry);
        return true;
    }
    static bool sameSix(const Appointment &a, const Appointment &b)
    {
        return a.date == b.date && a.hora == b.hora && a.nome == b.nome && a.convenio == b.convenio &&
               a.telefone == b.telefone && a.obs == b.obs;
    }
    Moved move(int slot, const Appointment &stored, int toSlot, QDate date, const QString &hora,
               int linkedSlot, QString *error) override
    {
        for (const Appointment &there : books_.books[toSlot])
            if (there.date == date && meantTime(there.hora) == meantTime(hora) &&
                !trimBlanks(there.nome).isEmpty() && (toSlot != slot || there.id != stored.id) &&
                !sameSix(there, stored)) { // its own linked copy makes way for it
                *error = takenMeanwhile(hora, there.nome);
                return {};
            }
        return movedAsRead(slot, stored, toSlot, date, hora, linkedSlot, error);
    }
    Moved movedAsRead(int slot, const Appointment &stored, int toSlot, QDate date, const QString &hora,
                      int linkedSlot, QString *error)
    {
        Appointment *found = asRead(slot, stored, error);
        if (!found)
            return {WriteOutcome::NoLongerStored, 0, Moved::Copy::None};
        Moved moved{WriteOutcome::Done, stored.id, Moved::Copy::None};
        const QString details = movedDetails(stored, slot, toSlot, date, hora);
        Appointment placed = *found;
        placed.date = date;
        placed.hora = hora;
        placed.status = BookingStatus::ToConfirm;
        if (toSlot == slot) {
            *found = placed;
        } else {
            QVector<Appointment> &from = books_.books[slot];
            from.removeAt(found - from.data());
            placed.id = moved.id = ++books_.lastId;
            placed.series = {}; // a series is one doctor's
            books_.books[toSlot] << placed;
            books_.history[{toSlot, moved.id}] = books_.history[{slot, stored.id}];
            record(slot, stored.id, "moved", details);
        }
        record(toSlot, moved.id, "moved", details);
        if (const HeldBooking *held = heldAt(slot, stored.id))
            books_.held.removeAt(held - books_.held.data());
        if (isDoctorSlot(linkedSlot) && linkedSlot != slot) {
            moved.copy = Moved::Copy::LeftAlone;
            for (Appointment &copy : books_.books[linkedSlot])
                if (copy.id != moved.id && sameSix(copy, stored)) {
                    if (linkedSlot == toSlot) {
                        record(linkedSlot, copy.id, "removed", details);
                        books_.books[linkedSlot].removeAt(&copy - books_.books[linkedSlot].data());
                        moved.copy = Moved::Copy::Removed;
                        books_.announce(&desk_, {linkedSlot, stored.date});
                        break;
                    }
                    copy.date = date;
                    copy.hora = hora;
                    copy.status = BookingStatus::ToConfirm;
                    record(linkedSlot, copy.id, "moved",
                           movedDetails(stored, linkedSlot, linkedSlot, date, hora));
                    moved.copy = Moved::Copy::Moved;
                    books_.announce(&desk_, {linkedSlot, stored.date});
                    books_.announce(&desk_, {linkedSlot, date});
                    break;
                }
        }
        books_.announce(&desk_, {slot, stored.date});
        books_.announce(&desk_, {toSlot, date});
        return moved;
    }
    AddOutcome addSeries(int slot, const QVector<Appointment> &bookings, int linkedSlot,
                         const QVector<bool> &squeezeIns, QVector<qint64> *ids, QString *error) override
    {
        ids->clear();
        for (int i = 0; i < bookings.size(); ++i)
            for (const Appointment &there : books_.books[slot])
                if (!squeezeIns.value(i) && there.date == bookings.at(i).date &&
                    meantTime(there.hora) == meantTime(bookings.at(i).hora) &&
                    !trimBlanks(there.nome).isEmpty()) {
                    *error = takenMeanwhile(there.hora, there.nome);
                    return AddOutcome::NotStored;
                }
        for (const Appointment &booking : bookings) {
            add(slot, booking, linkedSlot, error);
            Appointment &stored = books_.books[slot].last();
            stored.series = {ids->isEmpty() ? stored.id : ids->first(), booking.series.number,
                             booking.series.total};
            *ids << stored.id;
        }
        return AddOutcome::Stored;
    }
    bool readSeries(int slot, qint64 series, QVector<Appointment> *bookings, QString *) override
    {
        bookings->clear();
        for (const Appointment &booking : books_.books[slot])
            if (booking.series.series == series)
                *bookings << booking;
        std::sort(bookings->begin(), bookings->end(), [](const Appointment &a, const Appointment &b) {
            return a.series.number < b.series.number;
        });
        return true;
    }
    bool readSeriesEnding(QDate from, QVector<FoundBooking> *bookings, QString *) override
    {
        bookings->clear();
        std::map<std::pair<int, qint64>, int> left;
        for (const auto &[slot, book] : books_.books)
            for (const Appointment &booking : book)
                if (booking.series.series != 0 && booking.date >= from &&
                    booking.status != BookingStatus::Cancelled)
                    ++left[{slot, booking.series.series}];
        for (const auto &[slot, book] : books_.books)
            for (const Appointment &booking : book)
                if (booking.series.series != 0 && booking.date >= from &&
                    left[{slot, booking.series.series}] <= kSeriesEndingLeft)
                    *bookings << FoundBooking{slot, booking};
        return true;
    }
    WriteOutcome writeSeries(int slot, const QVector<BookingWrite> &writes, int linkedSlot,
                             QString *error) override
    {
        // All or nothing: what was there before is put back when one of them is not stored as read.
        const auto books = books_.books;
        const auto history = books_.history;
        const auto held = books_.held;
        for (const BookingWrite &write : writes) {
            const WriteOutcome outcome =
                write.kind == BookingWrite::Kind::Change   ? update(slot, write.stored, write.changed, error)
                : write.kind == BookingWrite::Kind::Remove ? remove(slot, write.stored, error)
                : write.kind == BookingWrite::Kind::Status
                    ? setStatus(slot, write.stored, write.status, error)
                    : movedAsRead(slot, write.stored, slot, write.changed.date, write.changed.hora,
                                  linkedSlot, error)
                          .outcome;
            if (outcome != WriteOutcome::Done) {
                books_.books = books;
                books_.history = history;
                books_.held = held;
                return outcome;
            }
        }
        return WriteOutcome::Done;
    }
    PatientSaved savePatient(const Patient &patient, qint64 *id, QString *) override
    {
        QVector<Patient> &patients = books_.patients;
        if (!patient.cpf.isEmpty() &&
            std::any_of(patients.cbegin(), patients.cend(), [&](const Patient &other) {
                return other.cpf == patient.cpf && other.id != patient.id;
            }))
            return PatientSaved::CpfTaken;
        if (patient.id == 0) {
            patients.append(patient);
            patients.last().id = *id = (patients.size() > 1 ? patients.at(patients.size() - 2).id : 0) + 1;
            books_.announce(&desk_, {0, {}, false, true});
            return PatientSaved::Saved;
        }
        for (Patient &stored : patients)
            if (stored.id == patient.id) {
                stored = patient;
                *id = patient.id;
                books_.announce(&desk_, {0, {}, false, true});
                return PatientSaved::Saved;
            }
        return PatientSaved::Failed;
    }
    bool readPatients(QVector<Patient> *patients, QString *) override
    {
        *patients = books_.patients;
        return true;
    }
    bool linkBookings(const QVector<BookingLink> &links, QString *) override
    {
        for (const BookingLink &link : links)
            for (Appointment &booking : books_.books[link.slot])
                if (booking.id == link.booking)
                    booking.patient = link.patient;
        books_.announce(&desk_, {0, {}, false, true});
        return true;
    }
    bool readBookingLinks(int slot, QVector<BookingLink> *links, QString *) override
    {
        links->clear();
        for (const Appointment &stored : books_.books[slot])
            if (stored.patient != 0)
                links->append({slot, stored.id, stored.patient});
        return true;
    }
    bool readPatientOf(int slot, qint64 booking, qint64 *patient, QString *) override
    {
        *patient = 0;
        for (const Appointment &stored : books_.books[slot])
            if (stored.id == booking)
                *patient = stored.patient;
        return true;
    }
    bool readPatientBookings(qint64 patient, QVector<FoundBooking> *bookings, QString *) override
    {
        bookings->clear();
        for (const auto &[slot, book] : books_.books)
            for (const Appointment &booking : book)
                if (booking.patient == patient)
                    bookings->append({slot, booking});
        return true;
    }
    bool readSqueezeLimits(SqueezeLimits *limits, QString *) override
    {
        *limits = books_.squeezeLimits;
        return true;
    }
    bool saveSqueezeLimits(const SqueezeLimits &limits, QString *) override
    {
        books_.squeezeLimits = limits;
        books_.announce(&desk_, {});
        return true;
    }
    bool readWaitingList(QVector<WaitingEntry> *entries, QString *) override
    {
        *entries = books_.waiting;
        return true;
    }
    bool addToWaitingList(const WaitingEntry &entry, QString *) override
    {
        WaitingEntry added = entry;
        added.id = books_.waiting.isEmpty() ? 1 : books_.waiting.last().id + 1;
        added.state = WaitingEntry::State::Waiting;
        books_.waiting << added;
        books_.announce(&desk_, {});
        return true;
    }
    WriteOutcome leaveWaitingList(qint64 id, WaitingEntry::State state, QString *error) override
    {
        for (WaitingEntry &entry : books_.waiting)
            if (entry.id == id && entry.state == WaitingEntry::State::Waiting) {
                entry.state = state;
                entry.leftAt = QDateTime::currentDateTimeUtc();
                books_.announce(&desk_, {});
                return WriteOutcome::Done;
            }
        *error = QStringLiteral("the entry is no longer on the waiting list");
        return WriteOutcome::NoLongerStored;
    }
    AddOutcome bookFromWaitingList(int slot, qint64 id, const Appointment &booking, QString *error) override
    {
        if (leaveWaitingList(id, WaitingEntry::State::Booked, error) != WriteOutcome::Done)
            return AddOutcome::NotStored;
        Appointment stored = booking;
        stored.id = ++books_.lastId;
        books_.books[slot] << stored;
        record(slot, stored.id, "waiting", addedDetails(stored));
        books_.announce(&desk_, {slot, booking.date});
        return AddOutcome::Stored;
    }
    bool readHistory(int slot, qint64 id, QVector<HistoryEntry> *history, QString *) override
    {
        *history = books_.history[{slot, id}];
        return true;
    }
    bool findBookings(const PatientQuery &query, QVector<FoundBooking> *found, QString *) override
    {
        found->clear();
        for (const auto &[slot, book] : books_.books)
            for (const Appointment &booking : book)
                if (matchesQuery(query, booking))
                    found->append({slot, booking});
        return true;
    }
    bool readDoctors(AllDoctorFields *fields, QString *, LockWait) override
    {
        *fields = books_.doctors;
        return true;
    }
    bool readSlotLengthAndLink(int slot, DoctorFields *fields, QString *) override
    {
        *fields = books_.doctors[static_cast<size_t>(slot - 1)];
        fields->name.reset();
        return true;
    }
    bool saveDoctors(const AllDoctorChanges &changes, QString *) override
    {
        for (size_t i = 0; i < changes.size(); ++i) {
            books_.doctors[i].name = changes[i].name;
            books_.doctors[i].link = QString::number(changes[i].link);
            if (changes[i].interval)
                books_.doctors[i].interval = *changes[i].interval;
        }
        books_.announce(&desk_, {});
        return true;
    }
    bool readWeeklyTimes(int slot, WeeklyTimes *times, QString *) override
    {
        *times = books_.hours[static_cast<size_t>(slot - 1)];
        return true;
    }
    bool saveWeeklyTimes(int slot, const WeeklyTimes &times, QString *) override
    {
        books_.hours[static_cast<size_t>(slot - 1)] = times;
        books_.announce(&desk_, {});
        return true;
    }
    bool readCalendar(QVector<CalendarEntry> *entries, QString *) override
    {
        *entries = books_.calendar;
        return true;
    }
    bool saveCalendar(const QVector<CalendarEntry> &entries, QString *) override
    {
        books_.calendar = entries;
        books_.announce(&desk_, {});
        return true;
    }
    // The books and settings copied, filled and put back whole at finish().
    class Fill : public StorageFill
    {
    public:
        Fill(MemoryStorage &storage) : storage_(storage), staged_(storage.books_.books)
        {
            doctors_ = storage.books_.doctors;
            hours_ = storage.books_.hours;
        }
        bool startBook(int slot, QString *error) override
        {
            for (const Appointment &booking : staged_[slot])
                if (booking.date != placeholderDate() || !booking.nome.isEmpty()) {
                    *error = QStringLiteral("it already holds appointments");
                    return false;
                }
            before_ = staged_[slot];
            staged_[slot].clear();
            slot_ = slot;
            return true;
        }
        bool append(const Appointment &booking, QString *) override
        {
            Appointment stored = booking;
            stored.id = booking.id != 0 ? booking.id : ++storage_.books_.lastId;
            storage_.books_.lastId = std::max(storage_.books_.lastId, stored.id);
            staged_[slot_] << stored;
            return true;
        }
        bool appendHistory(qint64 id, const HistoryEntry &entry, QString *) override
        {
            history_[{slot_, id}] << entry;
            return true;
        }
        void dropBook() override { staged_[slot_] = before_; }
        bool writeSettings(const SettingsRecord &record, QString *) override
        {
            for (size_t i = 0; i < record.size(); ++i) {
                for (auto [from, to] : {std::pair{&SlotRecord::name, &DoctorFields::name},
                                        std::pair{&SlotRecord::interval, &DoctorFields::interval},
                                        std::pair{&SlotRecord::link, &DoctorFields::link}})
                    if (record[i].*from)
                        doctors_[i].*to = (record[i].*from)->isNull() ? std::nullopt : record[i].*from;
                for (size_t t = 0; t < hours_[i].size(); ++t)
                    if (record[i].weeklyTimes[t])
                        hours_[i][t] = *record[i].weeklyTimes[t];
            }
            return true;
        }
        bool writeCalendar(const QVector<CalendarEntry> &entries, QString *) override
        {
            calendar_ = entries;
            return true;
        }
        bool writeReceptionLists(const QVector<WaitingEntry> &waiting, const SqueezeLimits &limits,
                                 QString *) override
        {
            waiting_ = waiting;
            limits_ = limits;
            return true;
        }
        bool writePatients(const QVector<Patient> &patients, QString *) override
        {
            patients_ = patients;
            return true;
        }
        bool appendPatientLinks(const QVector<BookingLink> &links, QString *) override
        {
            for (const BookingLink &link : links)
                for (Appointment &booking : staged_[slot_])
                    if (booking.id == link.booking)
                        booking.patient = link.patient;
            return true;
        }
        bool finish(QString *) override
        {
            storage_.books_.patients = patients_;
            storage_.books_.calendar = calendar_;
            storage_.books_.waiting = waiting_;
            storage_.books_.squeezeLimits = limits_;
            storage_.books_.books = staged_;
            storage_.books_.doctors = doctors_;
            storage_.books_.hours = hours_;
            for (const auto &[key, entries] : history_)
                storage_.books_.history[key] << entries;
            storage_.books_.announce(&storage_.desk_, {0, {}, true});
            return true;
        }

    private:
        MemoryStorage &storage_;
        std::map<int, QVector<Appointment>> staged_;
        QVector<Appointment> before_;
        AllDoctorFields doctors_;
        std::array<WeeklyTimes, kDoctorSlotCount> hours_;
        std::map<std::pair<int, qint64>, QVector<HistoryEntry>> history_;
        QVector<CalendarEntry> calendar_;
        QVector<WaitingEntry> waiting_;
        SqueezeLimits limits_;
        QVector<Patient> patients_;
        int slot_ = 0;
    };
    std::unique_ptr<StorageFill> fill(QString *) override { return std::make_unique<Fill>(*this); }
    bool pourInto(StorageFill &fill, QString *error) override
    {
        for (int slot = 1; slot <= kDoctorSlotCount; ++slot) {
            if (!fill.startBook(slot, error))
                return false;
            QVector<BookingLink> links;
            for (const Appointment &booking : books_.books[slot]) {
                if (!fill.append(booking, error))
                    return false;
                if (booking.patient != 0)
                    links.append({slot, booking.id, booking.patient});
            }
            if (!fill.appendPatientLinks(links, error))
                return false;
            for (const auto &[key, entries] : books_.history)
                for (const HistoryEntry &entry : entries)
                    if (key.first == slot && !fill.appendHistory(key.second, entry, error))
                        return false;
        }
        SettingsRecord record;
        for (size_t i = 0; i < record.size(); ++i) {
            const DoctorFields &doctor = books_.doctors[i];
            record[i].name = doctor.name.value_or(QString());
            record[i].interval = doctor.interval.value_or(QString());
            record[i].link = doctor.link.value_or(QString());
            for (size_t t = 0; t < record[i].weeklyTimes.size(); ++t)
                record[i].weeklyTimes[t] = books_.hours[i][t];
        }
        return fill.writeSettings(record, error) && fill.writeCalendar(books_.calendar, error) &&
               fill.writeReceptionLists(books_.waiting, books_.squeezeLimits, error) &&
               fill.writePatients(books_.patients, error);
    }

    void watchOtherDesks(std::function<void(const StoredElsewhere &)> changed) override
    {
        desk_.changed = std::move(changed);
    }

private:
    void record(int slot, qint64 id, const char *action, const QString &details)
    {
        books_.history[{slot, id}] << HistoryEntry{QDateTime::currentDateTimeUtc(), desk.computer,
                                                   desk.person, QLatin1String(action), details};
    }

    HeldBooking *heldAt(int slot, qint64 id)
    {
        for (HeldBooking &held : books_.held)
            if (held.slot == slot && held.booking.id == id)
                return &held;
        return nullptr;
    }

    // The booking as it was read, by its identity and its six fields, or none.
    Appointment *asRead(int slot, const Appointment &stored, QString *error)
    {
        for (Appointment &booking : books_.books[slot])
            if (booking.id == stored.id && booking.date == stored.date && booking.hora == stored.hora &&
                booking.nome == stored.nome && booking.convenio == stored.convenio &&
                booking.telefone == stored.telefone && booking.obs == stored.obs)
                return &booking;
        *error = QStringLiteral("the appointment is no longer stored as it was read");
        return nullptr;
    }

    MemoryBooks &books_;
    MemoryDesk desk_;
};

} // namespace velmora::testing
