#include "core/first_free.h"

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

} // namespace velmora
