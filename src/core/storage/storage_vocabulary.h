#pragma once

#include "core/model/appointment.h"
#include "core/model/doctor_slots.h"

#include <QDate>
#include <QDateTime>
#include <QString>

#include <array>
#include <optional>

namespace velmora {

struct HistoryEntry; // a unit that reads the history includes core/booking_status.h

// A doctor's name, slot length and link as stored, each read as its text; a field without value is
// none.
struct DoctorFields
{
    std::optional<QString> name;
    std::optional<QString> interval;
    std::optional<QString> link;
    bool operator==(const DoctorFields &other) const
    {
        return name == other.name && interval == other.interval && link == other.link;
    }
};

using AllDoctorFields = std::array<DoctorFields, kDoctorSlotCount>;
using AllWeeklyTimes = std::array<WeeklyTimes, kDoctorSlotCount>;
// How many squeeze-ins the doctor of each slot takes a day; none: no limit was set.
using SqueezeLimits = std::array<std::optional<int>, kDoctorSlotCount>;

// What the setup window writes for a slot; a slot length left unchosen keeps the stored one.
struct DoctorChanges
{
    QString name;
    qint64 link = 0;
    std::optional<QString> interval;
};

using AllDoctorChanges = std::array<DoctorChanges, kDoctorSlotCount>;

// What a Change or Remove did: a booking changed meanwhile (at another desk) is not found.
enum class WriteOutcome
{
    Done,
    NoLongerStored,
    Failed
};

// A booking held to be moved elsewhere: where it stands now, as stored, and who held it when. It stays
// in its place until the move is carried out.
struct HeldBooking
{
    int slot = 0;
    Appointment booking;
    QDateTime at;
    QString computer;
    QString person;
};

// What a move did to the booking, and to the copy the linked doctor got when it was booked.
struct Moved
{
    enum class Copy
    {
        None,      // no linked doctor, or the same book
        Moved,     // found as it was copied, and moved with the booking
        LeftAlone, // changed or removed since: left as it is
        Removed    // the booking moved into the linked book itself: its copy there taken away
    };
    WriteOutcome outcome = WriteOutcome::Failed;
    qint64 id = 0; // the booking's identity in its new book
    Copy copy = Copy::None;
};

// One write of several made together: a change to the fields of changed, a removal, a status, or a
// move within the book to changed's date and time (its status back to to confirm, any hold undone).
struct BookingWrite
{
    enum class Kind
    {
        Change,
        Remove,
        Status,
        Move
    };
    Kind kind = Kind::Change;
    Appointment stored;
    Appointment changed;
    BookingStatus status = BookingStatus::ToConfirm;
};

// What another desk stored: a day of a doctor's book, or the doctors' settings (slot 0, no date), or
// anything at all (while nobody listened: the settings and every day).
struct StoredElsewhere
{
    int slot = 0;
    QDate date;
    bool anything = false;
    bool doctors() const { return slot == 0; }
};

enum class AddOutcome
{
    Stored,
    StoredWithoutCopy, // stored for the doctor, but not copied to the linked book
    NotStored
};

// What an Add did, and whether the engine found the book replaced by another (a file a sync tool put
// in its place) and worked on that one: the day listed before may not be what the book holds.
struct Added
{
    AddOutcome outcome = AddOutcome::NotStored;
    bool bookReplaced = false;
};

// Whether a read waits for a lock another program holds, or gives up at once, to be tried again soon.
enum class LockWait
{
    Wait,
    GiveUp
};

// One slot's part of the settings record whole, for an import or a copy. Read, every field is
// given, as the null text where the record holds no value. Written, a field left out (none) keeps
// the value it has, and the null text is stored as no value. The link is its number as text.
struct SlotRecord
{
    std::optional<QString> name;
    std::optional<QString> interval;
    std::optional<QString> link;
    std::array<std::optional<QString>, kWeeklyTimeCount> weeklyTimes;
    bool operator==(const SlotRecord &other) const
    {
        return name == other.name && interval == other.interval && link == other.link &&
               weeklyTimes == other.weeklyTimes;
    }
};

using SettingsRecord = std::array<SlotRecord, kDoctorSlotCount>;

// What the receptionist typed to find a patient's appointments: a name, matched with accents, case
// and runs of blanks ignored, or a phone number, matched by its digits alone.
struct PatientQuery
{
    enum class Kind
    {
        Name,
        Phone,
        TooShort // fewer than three letters, or than four digits: nothing is searched
    };
    Kind kind = Kind::TooShort;
    // The folded name, or the digits searched for: of a number typed with its area code (and country
    // code), the number without them, so that it is found also where it was stored without.
    QString text;
    QString areaCode;    // of a phone typed with one
    QString typedDigits; // of a phone, every digit typed
};

// A booking found, with the doctor's slot whose book holds it.
struct FoundBooking
{
    int slot = 0;
    Appointment booking;
};

} // namespace velmora
