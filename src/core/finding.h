#pragma once

#include "core/appointment.h"
#include "core/mod_marca.h"

#include <QDate>
#include <QString>
#include <QVector>

#include <functional>

namespace velmora {

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

PatientQuery patientQuery(const QString &typed);

// "Conceição  da SILVA" gives "conceicao da silva": accents dropped, case folded, runs of blanks made one.
QString foldedName(const QString &text);

// "(11) 9999-0000" gives "1199990000".
QString phoneDigits(const QString &text);

// A name holds the folded text; a phones field holds a number with the typed digits, or, for one typed
// with an area code, the number without it or after that same area code.
bool matchesQuery(const PatientQuery &query, const Appointment &booking);

// A booking found, with the doctor's slot whose book holds it.
struct FoundBooking
{
    int slot = 0;
    Appointment booking;
};

// Upcoming ones (today and later) first, soonest first, then past ones, latest first; within a day by
// time as stored, then slot.
void sortFound(QVector<FoundBooking> &found, QDate today);

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

} // namespace velmora
