#pragma once

#include "core/model/outcome.h"
#include "core/schedule/day_list_rules.h"
#include "core/storage/book_storage.h"

#include <QDate>
#include <QString>
#include <QTime>
#include <QVector>

#include <functional>

namespace velmora {

struct Appointment;

// The first free slot of a day, as the day list shows it, or none.
struct FirstFree
{
    QDate date;
    QString time;
};

// The first free slot of each of the next `days` days that have one, from `from` on, looking at most a
// year ahead: the free rows of the weekly hours less the bookings, exactly as the day list would show
// them. Days without weekly hours are passed over without reading them. readDay gives a date's
// bookings; false (a book that cannot be read) ends the search with what was found. On the first day
// the times before notBefore (the time it is now, when the search starts today) are not offered.
QVector<FirstFree> firstFreeSlots(const DoctorSettings &doctor, QDate from,
                                  const std::function<bool(QDate, QVector<Appointment> *)> &readDay,
                                  int days = 10, QTime notBefore = QTime());

// Where the earliest free times are looked for: the doctor's slot (0: none chosen), as messages call
// it, its settings, and the first date and time offered.
struct FirstFreeSearch
{
    int slot = 0;
    QString doctorCalled;
    DoctorSettings doctor;
    QDate from;
    QTime notBefore;
};

// "What is the earliest you have?": the first free slot of each of the next ten days that have one;
// said instead when there is no doctor, no weekly hours, or no free time within a year.
struct FirstFreeTimes
{
    QVector<FirstFree> found;
    QString message;
};
FirstFreeTimes readFirstFreeTimes(BookStorage &storage, const FirstFreeSearch &search);

// A free time offered, as a place in the books; said when it was booked meanwhile.
BookPlace placeOf(int slot, const FirstFree &free);

} // namespace velmora
