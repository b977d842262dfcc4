#include "core/schedule/first_free.h"

#include "core/model/appointment.h"
#include "core/model/outcome.h"
#include "core/text/text_rules.h"
#include "core/text/written_dates.h"

#include <QCoreApplication>

#include <algorithm>

namespace velmora {

QVector<FirstFree> firstFreeSlots(const DoctorSettings &doctor, QDate from,
                                  const std::function<bool(QDate, QVector<Appointment> *)> &readDay, int days,
                                  QTime notBefore)
{
    QVector<FirstFree> found;
    for (QDate date = from; found.size() < days && date.isValid() && date <= from.addYears(1);
         date = date.addDays(1)) {
        if (freeSlotRows(doctor, date).isEmpty())
            continue; // no hours that weekday
        QVector<Appointment> bookings;
        if (!readDay(date, &bookings))
            break;
        // A free row is a time alone; a booking row is a full row.
        for (const QString &row : dayRows(doctor, date, bookings)) {
            const QTime time = QTime::fromString(row.trimmed(), QStringLiteral("HH:mm"));
            if (date == from && notBefore.isValid() && time.isValid() && time < notBefore)
                continue; // already past
            if (row.size() <= BookingRecord::kHoraWidth) {
                found << FirstFree{date, row};
                break;
            }
        }
    }
    return found;
}

FirstFreeTimes readFirstFreeTimes(BookStorage &storage, const FirstFreeSearch &search)
{
    const auto said = [](const QString &message) { return FirstFreeTimes{{}, message}; };
    if (search.slot == 0)
        return said(QCoreApplication::translate("AppointmentBook", "Please choose professional first"));
    const auto &times = search.doctor.weeklyTimes;
    if (std::all_of(times.cbegin(), times.cend(),
                    [](const QString &time) { return trimBlanks(time).isEmpty(); }))
        return said(
            QCoreApplication::translate("AppointmentBook", "%1 has no weekly hours: set them up first.")
                .arg(search.doctorCalled));
    QString error;
    bool readOk = true;
    FirstFreeTimes times10;
    times10.found = firstFreeSlots(
        search.doctor, search.from,
        [&](QDate date, QVector<Appointment> *bookings) {
            readOk = storage.readDay(search.slot, date, bookings, &error);
            return readOk;
        },
        10, search.notBefore);
    if (!readOk)
        return said(QCoreApplication::translate("AppointmentBook", "The appointments could not be read: %1.")
                        .arg(error));
    if (times10.found.isEmpty())
        return said(
            QCoreApplication::translate("AppointmentBook", "%1 has no free time within a year from %2.")
                .arg(search.doctorCalled, longDate(search.from)));
    return times10;
}

BookPlace placeOf(int slot, const FirstFree &free)
{
    return {slot, free.date, free.time,
            QCoreApplication::translate(
                "AppointmentBook", "The time %1 was booked meanwhile; the list shows the day as it is now.")
                .arg(free.time)};
}

} // namespace velmora
