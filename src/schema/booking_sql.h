#pragma once

#include "core/appointment.h"
#include "core/finding.h"

#include <QSqlQuery>
#include <QVector>

namespace velmora {

// The statements' pieces both engines share for a booking's six fields.

// "data, hora, nome, convenio, telefone, obs"
QString bookingColumns();

// The date and the five texts in the order of bookingColumns(); an empty text is stored as the
// empty text, never as a field without value.
QVariantList bookingValues(const Appointment &booking);
void bindBooking(QSqlQuery &query, const Appointment &booking);

// The condition that a row is the stored booking as it was read: its identity under idColumn and
// its six fields (a field without value read as the empty text), with these values.
QString matchesStored(const QString &idColumn);
QVariantList storedValues(const Appointment &stored);
void bindStored(QSqlQuery &query, const Appointment &stored);

// Every booking of a book, its identity under idColumn first, for a search.
QString everyBookingOf(const QString &table, const QString &idColumn);
// Appends the rows of that query the patient query matches, as found in the slot's book.
void appendFound(QSqlQuery &query, int slot, const PatientQuery &patient, QVector<FoundBooking> *found);

// Appends the rows of a day's query, selecting the identity and then hora, nome, convenio, telefone
// and obs, as bookings of that date.
void appendDayBookings(QSqlQuery &query, QDate date, QVector<Appointment> *bookings);

} // namespace velmora
