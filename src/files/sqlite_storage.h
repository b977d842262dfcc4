#pragma once

#include "core/storage/book_storage.h"
#include "files/appointment_store.h"
#include "files/database.h"
#include "files/settings_store.h"

#include <QDir>

#include <functional>
#include <memory>
#include <vector>

namespace velmora {

// The books and settings in the twelve SQLite files of a folder, through the three named connections
// the program has always used: Data1 on the open book, Data2 and Data22 on the two settings files.
class SqliteStorage : public BookStorage
{
public:
    // lockWaitMs: how long a file another program holds locked is waited for.
    explicit SqliteStorage(const QDir &folder, int lockWaitMs = kLockWaitMs,
                           FileAccess access = FileAccess::ReadWrite);

    bool openBook(int slot, QString *error) override;
    bool readDay(int slot, QDate date, QVector<Appointment> *bookings, QString *error) override;
    bool readPeriod(int slot, QDate from, QDate to, QVector<Appointment> *bookings, QString *error) override;
    Added add(int slot, const Appointment &booking, int linkedSlot, QString *error) override;
    WriteOutcome update(int slot, const Appointment &stored, const Appointment &changed,
                        QString *error) override;
    WriteOutcome remove(int slot, const Appointment &stored, QString *error) override;
    WriteOutcome setStatus(int slot, const Appointment &stored, BookingStatus status,
                           QString *error) override;
    WriteOutcome hold(int slot, const Appointment &stored, QString *error) override;
    bool putBack(int slot, qint64 id, QString *error) override;
    bool readHeld(QVector<HeldBooking> *held, QString *error) override;
    AddOutcome addSeries(int slot, const QVector<Appointment> &bookings, int linkedSlot,
                         const QVector<bool> &squeezeIns, QVector<qint64> *ids, QString *error) override;
    bool readSeries(int slot, qint64 series, QVector<Appointment> *bookings, QString *error) override;
    bool readSeriesEnding(QDate from, QVector<FoundBooking> *bookings, QString *error) override;
    WriteOutcome writeSeries(int slot, const QVector<BookingWrite> &writes, int linkedSlot,
                             QString *error) override;
    Moved move(int slot, const Appointment &stored, int toSlot, QDate date, const QString &time,
               int linkedSlot, QString *error) override;
    bool readSqueezeLimits(SqueezeLimits *limits, QString *error) override;
    bool saveSqueezeLimits(const SqueezeLimits &limits, QString *error) override;
    bool readWaitingList(QVector<WaitingEntry> *entries, QString *error) override;
    bool addToWaitingList(const WaitingEntry &entry, QString *error) override;
    WriteOutcome leaveWaitingList(qint64 id, WaitingState state, QString *error) override;
    AddOutcome bookFromWaitingList(int slot, qint64 id, const Appointment &booking, QString *error) override;
    bool readHistory(int slot, qint64 id, QVector<HistoryEntry> *history, QString *error) override;

    bool findBookings(const PatientQuery &query, QVector<FoundBooking> *found, QString *error) override;
    // Every book's search index brought up to date, as at the start: those another tool wrote since are
    // made again. progress(done, all) is told the bookings indexed so far, and answers false to stop
    // (false is returned then); books that cannot be indexed now are indexed at their next search.
    bool bringSearchUpToDate(const std::function<bool(qint64 done, qint64 all)> &progress);

    bool readDoctors(AllDoctorFields *fields, QString *error, LockWait wait = LockWait::Wait) override;
    bool readSlotLengthAndLink(int slot, DoctorFields *fields, QString *error) override;
    bool saveDoctors(const AllDoctorChanges &changes, QString *error) override;
    bool readWeeklyTimes(int slot, WeeklyTimes *times, QString *error) override;
    bool readAllWeeklyTimes(AllWeeklyTimes *times, QString *error) override;
    bool readCalendar(QVector<CalendarEntry> *entries, QString *error) override;
    bool saveCalendar(const QVector<CalendarEntry> &entries, QString *error) override;
    bool changeCalendar(const CalendarEdit &edit, QVector<CalendarEntry> *saved, QString *error) override;
    bool saveWeeklyTimes(int slot, const WeeklyTimes &times, QString *error) override;

    std::unique_ptr<StorageFill> fill(QString *error) override;
    bool pourInto(StorageFill &fill, QString *error) override;

private:
    FileAccess access_;
    // Whether the book's search index holds every booking, after making it afresh when it was missing
    // or another tool wrote the book since; false when it cannot be made now.
    static bool indexUpToDate(Connection &book, const std::function<bool(qint64 rows)> &indexed = {});
    // Whether the book's search index can be searched as it is: its parts there and its state up to
    // date, and with Recount, as many entries as the book up to the same identity.
    enum class IndexCheck
    {
        State,
        Recount
    };
    static bool indexIsCurrent(Connection &book, IndexCheck check);
    // Whether the search book's index is searchable, asked of the book only when the file changed since
    // it last was: a search asks it of every book.
    bool searchable(size_t book);
    // Data1 on the slot's book, kept open while the calls are for the same one.
    void useBook(int slot);

    QDir folder_;
    Connection data1_;
    Connection data2_;
    Connection data22_;
    // One to each book for the searches, leaving Data1 on the doctor's: kept open between searches, and
    // opened again (checked as at start) only when the file there is no longer the one opened.
    std::vector<std::unique_ptr<Connection>> searchBooks_;
    // Each search book's opening and the file's version when its index was last found searchable.
    struct IndexSeen
    {
        quint64 opening = 0;
        qint64 version = -1;
    };
    std::vector<IndexSeen> indexSeen_;
    SettingsStore settings_;
    AppointmentStore appointments_;
};

} // namespace velmora
