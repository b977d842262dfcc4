#pragma once

#include "core/model/patient.h"

#include <QDate>
#include <QString>

namespace velmora {

// A patient as a booking's own fields write it, and back: the booking keeps its name, phones and plan
// so that every reader of the books goes on working.
struct BookingDetails
{
    QString name;   // the social name when the person asked for one
    QString phones; // the WhatsApp one first
    QString plan;   // the current card's
};
BookingDetails bookingDetailsOf(const Patient &patient);

// The numbers of a phones field, each as typed: "(11) 98765-4321 / 3333-4444".
QStringList typedPhones(const QString &field);

// The record a booking for someone not recorded yet makes: the name, each phone of the field (the first
// mobile marked for WhatsApp) and the plan; the CPF not given yet.
Patient patientFromBooking(const QString &name, const QString &phones, const QString &plan);

// Of the candidates, the one patient a booking's name and phones stand for: the same name (accents,
// case and blanks aside) and one of the patient's phones among the phones; 0 when none or several do.
qint64 patientBookedAs(const QVector<Patient> &candidates, const QString &name, const QString &phones);

// The patient's answer to messages by WhatsApp as the record says it: who noted it and when.
QString messageAnswerSaid(const Patient &patient);

// The patient told apart from namesakes in one line: the name, the birth date and the phones.
QString patientSummary(const Patient &patient);

// Said when the patient's current card ends before the date booked, naming the card and its end; empty
// otherwise.
QString cardEndsBefore(const Patient &patient, QDate booked);

} // namespace velmora
