#include "core/storage/book_storage.h"

#include "core/model/appointment.h"

namespace velmora {

bool BookingStorage::readDays(const QVector<int> &slots, QDate date,
                              std::map<int, QVector<Appointment>> *days, QString *error)
{
    for (const int slot : slots)
        if (!readDay(slot, date, &(*days)[slot], error))
            return false;
    return true;
}

} // namespace velmora
