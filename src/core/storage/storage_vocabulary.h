#pragma once

#include "core/model/doctor_slots.h"

#include <QDate>
#include <QDateTime>
#include <QString>

#include <array>
#include <optional>

namespace velmora {

// Named here, defined in the model: a unit that works on bookings or the history includes their headers.
struct Appointment;
enum class BookingStatus;
struct HistoryEntry;
struct Patient;
// Defined in stored_bookings.h, for the units that read or write them.
struct HeldBooking;
struct BookingWrite;
struct FoundBooking;
struct BookingLink;

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

// What saving a patient did: a CPF another patient holds is refused.
enum class PatientSaved
{
    Saved,
    CpfTaken,
    Failed
};

// What a Change or Remove did: a booking changed meanwhile (at another desk) is not found.
enum class WriteOutcome
{
    Done,
    NoLongerStored,
    Failed
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

// What another desk stored: a day of a doctor's book, or the doctors' settings (slot 0, no date), or
// anything at all (while nobody listened: the settings and every day).
struct StoredElsewhere
{
    int slot = 0;
    QDate date;
    bool anything = false;
    bool patients = false; // the patients alone changed
    bool doctors() const { return slot == 0 && !patients; }
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

} // namespace velmora
