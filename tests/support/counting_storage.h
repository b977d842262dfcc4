#pragma once

#include "core/reception/waiting_list.h"
#include "core/schedule/clinic_calendar.h"
#include "core/storage/book_storage.h"

namespace velmora::testing {

// Another engine's calls counted, each one a round trip on a server: for what an action may cost.
class CountingStorage : public BookStorage
{
public:
    explicit CountingStorage(BookStorage &engine) : engine_(engine) {}
    int calls = 0;

    bool openBook(int slot, QString *error) override
    {
        ++calls;
        return engine_.openBook(slot, error);
    }
    bool readDay(int slot, QDate date, QVector<Appointment> *bookings, QString *error) override
    {
        ++calls;
        return engine_.readDay(slot, date, bookings, error);
    }
    bool readPeriod(int slot, QDate from, QDate to, QVector<Appointment> *bookings, QString *error) override
    {
        ++calls;
        return engine_.readPeriod(slot, from, to, bookings, error);
    }
    Added add(int slot, const Appointment &booking, int linkedSlot, QString *error) override
    {
        ++calls;
        return engine_.add(slot, booking, linkedSlot, error);
    }
    WriteOutcome update(int slot, const Appointment &stored, const Appointment &changed,
                        QString *error) override
    {
        ++calls;
        return engine_.update(slot, stored, changed, error);
    }
    WriteOutcome remove(int slot, const Appointment &stored, QString *error) override
    {
        ++calls;
        return engine_.remove(slot, stored, error);
    }
    WriteOutcome setStatus(int slot, const Appointment &stored, BookingStatus status, QString *error) override
    {
        ++calls;
        return engine_.setStatus(slot, stored, status, error);
    }
    WriteOutcome hold(int slot, const Appointment &stored, QString *error) override
    {
        ++calls;
        return engine_.hold(slot, stored, error);
    }
    bool putBack(int slot, qint64 id, QString *error) override
    {
        ++calls;
        return engine_.putBack(slot, id, error);
    }
    bool readHeld(QVector<HeldBooking> *held, QString *error) override
    {
        ++calls;
        return engine_.readHeld(held, error);
    }
    Moved move(int slot, const Appointment &stored, int toSlot, QDate date, const QString &hora,
               int linkedSlot, QString *error) override
    {
        ++calls;
        return engine_.move(slot, stored, toSlot, date, hora, linkedSlot, error);
    }
    AddOutcome addSeries(int slot, const QVector<Appointment> &bookings, int linkedSlot,
                         const QVector<bool> &squeezeIns, QVector<qint64> *ids, QString *error) override
    {
        ++calls;
        return engine_.addSeries(slot, bookings, linkedSlot, squeezeIns, ids, error);
    }
    bool readSeries(int slot, qint64 series, QVector<Appointment> *bookings, QString *error) override
    {
        ++calls;
        return engine_.readSeries(slot, series, bookings, error);
    }
    bool readSeriesEnding(QDate from, QVector<FoundBooking> *bookings, QString *error) override
    {
        ++calls;
        return engine_.readSeriesEnding(from, bookings, error);
    }
    WriteOutcome writeSeries(int slot, const QVector<BookingWrite> &writes, int linkedSlot,
                             QString *error) override
    {
        ++calls;
        return engine_.writeSeries(slot, writes, linkedSlot, error);
    }
    PatientSaved savePatient(const Patient &patient, qint64 *id, QString *error) override
    {
        ++calls;
        return engine_.savePatient(patient, id, error);
    }
    bool readPatients(QVector<Patient> *patients, QString *error) override
    {
        ++calls;
        return engine_.readPatients(patients, error);
    }
    bool linkBookings(const QVector<BookingLink> &links, QString *error) override
    {
        ++calls;
        return engine_.linkBookings(links, error);
    }
    bool readPatientBookings(qint64 patient, QVector<FoundBooking> *bookings, QString *error) override
    {
        ++calls;
        return engine_.readPatientBookings(patient, bookings, error);
    }
    bool readBookingLinks(int slot, QVector<BookingLink> *links, QString *error) override
    {
        ++calls;
        return engine_.readBookingLinks(slot, links, error);
    }
    bool readPatientOf(int slot, qint64 booking, qint64 *patient, QString *error) override
    {
        ++calls;
        return engine_.readPatientOf(slot, booking, patient, error);
    }
    bool readSqueezeLimits(SqueezeLimits *limits, QString *error) override
    {
        ++calls;
        return engine_.readSqueezeLimits(limits, error);
    }
    bool saveSqueezeLimits(const SqueezeLimits &limits, QString *error) override
    {
        ++calls;
        return engine_.saveSqueezeLimits(limits, error);
    }
    bool readWaitingList(QVector<WaitingEntry> *entries, QString *error) override
    {
        ++calls;
        return engine_.readWaitingList(entries, error);
    }
    bool addToWaitingList(const WaitingEntry &entry, QString *error) override
    {
        ++calls;
        return engine_.addToWaitingList(entry, error);
    }
    WriteOutcome leaveWaitingList(qint64 id, WaitingEntry::State state, QString *error) override
    {
        ++calls;
        return engine_.leaveWaitingList(id, state, error);
    }
    AddOutcome bookFromWaitingList(int slot, qint64 id, const Appointment &booking, QString *error) override
    {
        ++calls;
        return engine_.bookFromWaitingList(slot, id, booking, error);
    }
    bool readHistory(int slot, qint64 id, QVector<HistoryEntry> *history, QString *error) override
    {
        ++calls;
        return engine_.readHistory(slot, id, history, error);
    }
    bool findBookings(const PatientQuery &query, QVector<FoundBooking> *found, QString *error) override
    {
        ++calls;
        return engine_.findBookings(query, found, error);
    }
    bool readDoctors(AllDoctorFields *fields, QString *error, LockWait wait) override
    {
        ++calls;
        return engine_.readDoctors(fields, error, wait);
    }
    bool readSlotLengthAndLink(int slot, DoctorFields *fields, QString *error) override
    {
        ++calls;
        return engine_.readSlotLengthAndLink(slot, fields, error);
    }
    bool saveDoctors(const AllDoctorChanges &changes, QString *error) override
    {
        ++calls;
        return engine_.saveDoctors(changes, error);
    }
    bool readWeeklyTimes(int slot, WeeklyTimes *times, QString *error) override
    {
        ++calls;
        return engine_.readWeeklyTimes(slot, times, error);
    }
    bool saveWeeklyTimes(int slot, const WeeklyTimes &times, QString *error) override
    {
        ++calls;
        return engine_.saveWeeklyTimes(slot, times, error);
    }
    bool readCalendar(QVector<CalendarEntry> *entries, QString *error) override
    {
        ++calls;
        return engine_.readCalendar(entries, error);
    }
    bool saveCalendar(const QVector<CalendarEntry> &entries, QString *error) override
    {
        ++calls;
        return engine_.saveCalendar(entries, error);
    }
    std::unique_ptr<StorageFill> fill(QString *error) override { return engine_.fill(error); }
    bool pourInto(StorageFill &fill, QString *error) override { return engine_.pourInto(fill, error); }

private:
    BookStorage &engine_;
};

} // namespace velmora::testing
