#include "core/desk/day_list_procedures.h"

#include "core/model/appointment.h"
#include "core/text/text_rules.h"

namespace velmora {

void list_free_slots(DayListModel &list, const DoctorSettings &settings, QDate date)
{
    // As adding each row to its sorted place would, in one sort: a row goes after those it equals,
    // the rows already listed first.
    list.setRows(inListOrder(list.rows() + freeSlotRows(settings, date)));
}

void merge_bookings(DayListModel &list, BookingRecord &current, const QVector<Appointment> &dayBookings)
{
    QVector<BookingRecord> bookings;
    bookings.reserve(dayBookings.size());
    for (const Appointment &booking : dayBookings)
        bookings << shownRecord(booking);
    if (bookings.isEmpty())
        return;
    list.setRows(mergedDayRows(list.rows(), bookings));
    current = bookings.last();
}

int drop_free_slot(DayListModel &list, const BookingRecord &current)
{
    const QString time = trimBlanks(current.hora);
    const QStringList &rows = list.rows();
    for (int i = 0; i < rows.size(); ++i) {
        if (trimBlanks(rows.at(i)) == time) {
            list.removeAt(i);
            return i;
        }
    }
    return -1;
}

} // namespace velmora
