#pragma once

#include "core/model/booking_state.h"

#include <QDate>
#include <QString>

namespace velmora {

// One booking as stored; a field without value reads as the empty text.
struct Appointment
{
    qint64 id = 0; // the booking's identity in its book, growing in the order bookings were added
    QDate date;
    QString hora;
    QString nome;
    QString convenio;
    QString telefone;
    QString obs;
    BookingStatus status = BookingStatus::ToConfirm; // read with the day; written on its own
    SeriesPlace series;                              // read with the day; written with the series
    // The patient the booking belongs to (0: none yet): written with the booking, and carried along
    // when it moves; read with a patient's bookings.
    qint64 patient = 0;
};

} // namespace velmora

// Moved as bytes when a day's list of bookings grows: a day can hold tens of thousands.
Q_DECLARE_TYPEINFO(velmora::Appointment, Q_RELOCATABLE_TYPE);

namespace velmora {

// The date of the record a doctor's empty book receives when first chosen.
inline QDate placeholderDate()
{
    return QDate(2100, 12, 31);
}

} // namespace velmora
