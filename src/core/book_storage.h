#pragma once

#include "core/appointment.h"
#include "core/doctor_slots.h"

#include <QVariant>
#include <QVector>

#include <array>
#include <functional>
#include <optional>

namespace velmora {

// A doctor's name, slot length and link as stored; a field without value is a null variant.
struct DoctorFields
{
    QVariant name;
    QVariant interval;
    QVariant link;
    bool operator==(const DoctorFields &other) const
    {
        return name == other.name && interval == other.interval && link == other.link;
    }
};

using AllDoctorFields = std::array<DoctorFields, kDoctorSlotCount>;

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

// What another desk stored: a day of a doctor's book, or the doctors' settings (slot 0, no date).
struct StoredElsewhere
{
    int slot = 0;
    QDate date;
    bool doctors() const { return slot == 0; }
};

enum class AddOutcome
{
    Stored,
    StoredWithoutCopy, // stored for the doctor, but not copied to the linked book
    NotStored
};

// Where the ten appointment books and the one settings record are kept, spoken of in doctor slots.
// One book is open at a time, as the receptionist works on one doctor. Every failure gives its
// reason in error, in words the user can be shown.
class BookStorage
{
public:
    virtual ~BookStorage() = default;

    // Opens the slot's book (1 to 10) for the operations below, checking that it can be used.
    virtual bool openBook(int slot, QString *error) = 0;
    virtual bool bookIsEmpty(bool *empty, QString *error) = 0;
    virtual bool addPlaceholder(QString *error) = 0;
    // The date's bookings in the order they were added.
    virtual bool readDay(QDate date, QVector<Appointment> *bookings, QString *error) = 0;
    // The booking, and the same booking in the linked slot's book when linkedSlot is another slot,
    // in one transaction. When only the linked part fails, the booking is stored alone.
    virtual AddOutcome add(const Appointment &booking, int linkedSlot, QString *error) = 0;
    // The stored booking (its id and fields as read) changed or removed; when it is no longer stored
    // as read, nothing is written.
    virtual WriteOutcome update(const Appointment &stored, const Appointment &changed, QString *error) = 0;
    virtual WriteOutcome remove(const Appointment &stored, QString *error) = 0;
    // Whether the open book was found replaced by another and opened again since the last call.
    virtual bool takeBookReopened() = 0;

    // The settings record: names, slot lengths and links of the ten slots, and their weekly hours.
    virtual bool readDoctors(AllDoctorFields *fields, QString *error) = 0;
    // The same, giving up at once on a lock another program holds, for a read tried again soon.
    virtual bool tryReadDoctors(AllDoctorFields *fields, QString *error) = 0;
    virtual bool readSlotLengthAndLink(int slot, DoctorFields *fields, QString *error) = 0;
    virtual bool saveDoctors(const AllDoctorChanges &changes, QString *error) = 0;
    virtual bool readWeeklyTimes(int slot, WeeklyTimes *times, QString *error) = 0;
    virtual bool saveWeeklyTimes(int slot, const WeeklyTimes &times, QString *error) = 0;

    // Calls changed, from the event loop, whenever another program sharing the books stores something;
    // books that no other program writes to meanwhile never call it.
    virtual void watchOtherDesks(std::function<void(const StoredElsewhere &)> changed) { Q_UNUSED(changed) }
};

} // namespace velmora
