#pragma once

#include "core/storage/storage_vocabulary.h"

#include <QString>
#include <QVector>

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>

namespace velmora {

// Named here only: a unit that reads or writes them includes their own headers.
struct CalendarEntry;
struct WaitingEntry;
enum class WaitingState;

// Whole books written at once, for an import or a copy, in pieces as they come: each book started,
// its bookings and history appended, and everything made visible together by finish(). Nothing of a
// book dropped, or of a fill given up before finish(), is ever seen; the memory used stays that of
// one piece, whatever the books' size.
class StorageFill
{
public:
    virtual ~StorageFill() = default;
    // The slot's book to be replaced by what is appended next. It must hold no bookings but the older
    // program's placeholder (a file the program cannot read counts as none); otherwise refused.
    virtual bool startBook(int slot, QString *error) = 0;
    // A booking for the book started last. Of identity 0 it gets the next identity; with its own (a
    // copy) it keeps it, and its status. A text without value (the null text) is stored as such.
    virtual bool append(const Appointment &booking, QString *error) = 0;
    // An entry of the history of the booking with that identity in the book started last, kept as
    // given (when, computer, person).
    virtual bool appendHistory(qint64 id, const HistoryEntry &entry, QString *error) = 0;
    // The book started last left as it was before the fill.
    virtual void dropBook() = 0;
    virtual bool writeSettings(const SettingsRecord &record, QString *error) = 0;
    // The clinic's calendar in place of the one there, after writeSettings.
    virtual bool writeCalendar(const QVector<CalendarEntry> &entries, QString *error) = 0;
    // The waiting list (every entry as stored, with its identity and state) and the squeeze-ins per
    // day in place of those there, after writeSettings.
    virtual bool writeReceptionLists(const QVector<WaitingEntry> &waiting, const SqueezeLimits &limits,
                                     QString *error) = 0;
    // The patients (each with its identity) in place of those there, after writeSettings.
    virtual bool writePatients(const QVector<Patient> &patients, QString *error) = 0;
    // The patients of the bookings of the book started last, by the identities they were appended with.
    virtual bool appendPatientLinks(const QVector<BookingLink> &links, QString *error) = 0;
    // Everything appended made visible, each book checked to hold the number of bookings appended.
    virtual bool finish(QString *error) = 0;
};

// A weekly series with this many sessions left, or fewer, is about to end.
constexpr int kSeriesEndingLeft = 2;

// The bookings of the ten books: a day or a period read, a booking added (with its linked copy),
// changed, removed or given a status, its history, and the search over every book.
class BookingStorage
{
public:
    virtual ~BookingStorage() = default;

    // The slot's book made ready as its doctor is chosen: checked for use and, as the older program
    // did, given its placeholder record (dated placeholderDate()) when it holds none at all.
    virtual bool openBook(int slot, QString *error) = 0;
    // The date's bookings, each with its identity and status, in the order they were added.
    virtual bool readDay(int slot, QDate date, QVector<Appointment> *bookings, QString *error) = 0;
    // The day of each of the slots' books, read at once where the engine can: what a view of the whole
    // clinic reads. False, with why, when any cannot be read.
    virtual bool readDays(const QVector<int> &slots, QDate date, std::map<int, QVector<Appointment>> *days,
                          QString *error);
    // The bookings of the dates from to to (both included), with identities and statuses, by date and
    // then in the order they were added; read through the date index, whatever the book's size.
    virtual bool readPeriod(int slot, QDate from, QDate to, QVector<Appointment> *bookings,
                            QString *error) = 0;
    // The booking, and the same booking in the linked slot's book when linkedSlot is another slot,
    // in one transaction. When only the linked part fails, the booking is stored alone.
    virtual Added add(int slot, const Appointment &booking, int linkedSlot, QString *error) = 0;
    // The stored booking (its identity and fields as read) changed or removed; when it is no longer
    // stored as read (another desk changed or removed it), nothing is written.
    virtual WriteOutcome update(int slot, const Appointment &stored, const Appointment &changed,
                                QString *error) = 0;
    virtual WriteOutcome remove(int slot, const Appointment &stored, QString *error) = 0;
    // The stored booking's status set, matched as read as update() matches it. A changed booking keeps
    // its status, a removed one takes it along, and a linked copy starts with its own.
    virtual WriteOutcome setStatus(int slot, const Appointment &stored, BookingStatus status,
                                   QString *error) = 0;
    // Every add, change, remove and status set is recorded, in the same transaction, with when, this
    // desk's computer and person (on a server, the database role), and what changed. The entries of
    // the booking with that identity in the slot's book, oldest first.
    virtual bool readHistory(int slot, qint64 id, QVector<HistoryEntry> *history, QString *error) = 0;
    // Every booking of the ten books, all dates, that the patient query matches, each with its slot's
    // book; in no order (sortFound orders them). Nothing is searched for a query too short.
    virtual bool findBookings(const PatientQuery &query, QVector<FoundBooking> *found, QString *error) = 0;
};

// Bookings moved: held to be moved and placed elsewhere, and weekly series stored, read and
// changed whole.
class MovingStorage
{
public:
    virtual ~MovingStorage() = default;

    // The stored booking held to be moved (matched as read), seen held by every desk until it is moved
    // or put back; holding it again changes nothing.
    virtual WriteOutcome hold(int slot, const Appointment &stored, QString *error) = 0;
    // The hold on the booking with that identity undone; a hold no longer there is no failure.
    virtual bool putBack(int slot, qint64 id, QString *error) = 0;
    // Every booking held, in the order held, with its fields as stored now; a hold whose booking is no
    // longer stored is not listed.
    virtual bool readHeld(QVector<HeldBooking> *held, QString *error) = 0;
    // The stored booking (matched as read) moved to the date and time in the book of toSlot, in one
    // transaction: it leaves its place and appears at the new one with its fields and its history,
    // its status set back to to confirm, any hold on it undone, and a "moved" entry in the history
    // of both places. When linkedSlot is another book, the copy made there when it was booked (the
    // first booking with its fields) moves to the same date and time; one changed since is left alone,
    // and one in toSlot's own book goes. Failed, naming the other patient, when a booking with a name
    // holds the new date and time, as found in the write (however it was typed: 8:00 is 08:00).
    virtual Moved move(int slot, const Appointment &stored, int toSlot, QDate date, const QString &time,
                       int linkedSlot, QString *error) = 0;
    // A weekly series: its bookings (numbered, each with the total) stored in one transaction, the
    // series named by the first one's identity, each with its "added" history; the linked slot's book,
    // when another, gets each one's copy (of no series) in the same transaction. ids: the identities
    // given, in order. NotStored, with nothing written, when any cannot be stored, or when a booking
    // with a name holds the time of one that is not a squeeze-in (true at its place in squeezeIns;
    // none given: none is), as found in the write.
    virtual AddOutcome addSeries(int slot, const QVector<Appointment> &bookings, int linkedSlot,
                                 const QVector<bool> &squeezeIns, QVector<qint64> *ids, QString *error) = 0;
    // Every booking still stored of the slot's series, with statuses, by number.
    virtual bool readSeries(int slot, qint64 series, QVector<Appointment> *bookings, QString *error) = 0;
    // Of the ten books' series with at most kSeriesEndingLeft sessions dated from on that are not
    // cancelled, those sessions, each with its slot; in no order.
    virtual bool readSeriesEnding(QDate from, QVector<FoundBooking> *bookings, QString *error) = 0;
    // Several bookings of the slot's book (each matched as read) changed, removed, given a status or
    // moved within the book in one transaction, each with its history: all, or nothing when any is no
    // longer stored as read. A move carries the copy in linkedSlot's book along, as move() does.
    virtual WriteOutcome writeSeries(int slot, const QVector<BookingWrite> &writes, int linkedSlot,
                                     QString *error) = 0;
};

// The reception's own lists kept beside the settings record: the waiting list and the squeeze-ins
// each doctor takes a day.
class ReceptionStorage
{
public:
    virtual ~ReceptionStorage() = default;

    // How many squeeze-ins each doctor takes a day, kept beside the settings record; saved whole.
    virtual bool readSqueezeLimits(SqueezeLimits *limits, QString *error) = 0;
    virtual bool saveSqueezeLimits(const SqueezeLimits &limits, QString *error) = 0;
    // The clinic's waiting list, kept beside the settings record: every entry, those that left the list
    // too (booked, expired, removed), in the order added.
    virtual bool readWaitingList(QVector<WaitingEntry> *entries, QString *error) = 0;
    // The entry added as waiting, signed with when and by whom as given.
    virtual bool addToWaitingList(const WaitingEntry &entry, QString *error) = 0;
    // The waiting entry with that identity leaves the list (expired or removed); one no longer waiting
    // (another desk booked or removed it) is not found.
    virtual WriteOutcome leaveWaitingList(qint64 id, WaitingState state, QString *error) = 0;
    // The waiting entry booked into the slot's book at the booking's date and time, in one transaction
    // with its leaving the list as booked; its history's first entry says "booked from the waiting
    // list". NotStored, with nothing written, when the entry is no longer waiting.
    virtual AddOutcome bookFromWaitingList(int slot, qint64 id, const Appointment &booking,
                                           QString *error) = 0;
};

// The clinic's patients: one record each across every book.
class PatientStorage
{
public:
    virtual ~PatientStorage() = default;

    // A new patient (identity 0) stored and given its identity in id; a known one changed as it stands.
    // One CPF per patient: a CPF another patient holds is refused (CpfTaken), also when two desks make
    // the same patient at once.
    virtual PatientSaved savePatient(const Patient &patient, qint64 *id, QString *error) = 0;
    // Every patient, by identity.
    virtual bool readPatients(QVector<Patient> *patients, QString *error) = 0;
    // Each booking (of the slot's book, by identity) given its patient in place of any: on a server in
    // one transaction, on files book by book. A booking no longer stored is passed over.
    virtual bool linkBookings(const QVector<BookingLink> &links, QString *error) = 0;
    // Every booking of the patient in the ten books, all dates, with its slot, status, series place and
    // patient; in no order.
    virtual bool readPatientBookings(qint64 patient, QVector<FoundBooking> *bookings, QString *error) = 0;
    // Every booking of the slot's book that has a patient, with it.
    virtual bool readBookingLinks(int slot, QVector<BookingLink> *links, QString *error) = 0;
    // The patient of the booking with that identity in the slot's book: 0 when it has none.
    virtual bool readPatientOf(int slot, qint64 booking, qint64 *patient, QString *error) = 0;
};

// The clinic's setup: the doctors of the ten slots, their weekly hours and the clinic's calendar.
class ClinicSetupStorage
{
public:
    virtual ~ClinicSetupStorage() = default;

    // The settings record: names, slot lengths and links of the ten slots, and their weekly hours.
    virtual bool readDoctors(AllDoctorFields *fields, QString *error, LockWait wait = LockWait::Wait) = 0;
    virtual bool readSlotLengthAndLink(int slot, DoctorFields *fields, QString *error) = 0;
    virtual bool saveDoctors(const AllDoctorChanges &changes, QString *error) = 0;
    virtual bool readWeeklyTimes(int slot, WeeklyTimes *times, QString *error) = 0;
    virtual bool saveWeeklyTimes(int slot, const WeeklyTimes &times, QString *error) = 0;
    // Every slot's weekly hours, read at once where the engine can.
    virtual bool readAllWeeklyTimes(AllWeeklyTimes *times, QString *error)
    {
        for (int slot = 1; slot <= kDoctorSlotCount; ++slot)
            if (!readWeeklyTimes(slot, &(*times)[static_cast<size_t>(slot - 1)], error))
                return false;
        return true;
    }
    // The clinic's calendar: closures, extra days, its own holidays and openings, as a list kept beside
    // the settings record; saved whole, in place of the one before. No booking is ever touched by it.
    virtual bool readCalendar(QVector<CalendarEntry> *entries, QString *error) = 0;
    virtual bool saveCalendar(const QVector<CalendarEntry> &entries, QString *error) = 0;
    // One desk's change to the calendar: edit is given the calendar as stored at the moment of the
    // write and changes it (false, with why, changes nothing), and what it makes is saved in its
    // place in the same transaction, so that what another desk saved meanwhile is never lost. The
    // calendar as saved comes back in saved.
    using CalendarEdit = std::function<bool(QVector<CalendarEntry> &entries, QString *error)>;
    virtual bool changeCalendar(const CalendarEdit &edit, QVector<CalendarEntry> *saved, QString *error)
    {
        // Enough for an engine that one program alone writes to.
        return readCalendar(saved, error) && edit(*saved, error) && saveCalendar(*saved, error);
    }
};

// Whole books written or read at once, for an import or a copy.
class BulkStorage
{
public:
    virtual ~BulkStorage() = default;

    // The fill of whole books and the settings record, for an import or a copy. Files: each book and
    // settings file built beside its place and renamed into it by finish(). Server: everything in
    // one transaction, the other desks told of it all at once.
    virtual std::unique_ptr<StorageFill> fill(QString *error) = 0;
    // Everything stored, as of one moment, poured into a fill for a copy: each book started, its
    // bookings in the order added with identities and statuses, its history oldest first, then the
    // whole settings record. The fill is not finished.
    virtual bool pourInto(StorageFill &fill, QString *error) = 0;
};

// What other programs sharing the books store meanwhile.
class DeskWatch
{
public:
    virtual ~DeskWatch() = default;

    // Calls changed, from the event loop, whenever another program sharing the books stores something;
    // books that no other program writes to meanwhile never call it.
    virtual void watchOtherDesks(std::function<void(const StoredElsewhere &)> changed) { Q_UNUSED(changed) }
    // False while other programs may store something unheard (the watch on them lost, and not yet
    // back): what is shown may be out of date.
    virtual bool hearsOtherDesks() const { return true; }
};

// Where the ten appointment books and the one settings record are kept, spoken of in doctor slots: the
// one contract every engine fulfils alike (the twelve files of a folder, a server shared by several
// desks), made of the roles above; a part of the program that needs one role takes that role alone.
// Each call names the slot's book (1 to 10) it works on and depends on no call before it; what an
// engine needs of its own (a connection kept open, a file opened again, lock waits, the older
// program's placeholder record) stays inside it. Every failure gives its reason in error, in words the
// user can be shown, naming the book or the server.
class BookStorage : public BookingStorage,
                    public MovingStorage,
                    public ReceptionStorage,
                    public PatientStorage,
                    public ClinicSetupStorage,
                    public BulkStorage,
                    public DeskWatch
{
public:
    ~BookStorage() override = default;
};

} // namespace velmora
