#include "core/patients/patient_bookings.h"

#include "core/text/name_rules.h"
#include "core/text/phone_numbers.h"
#include "core/text/written_dates.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include <algorithm>

namespace velmora {

BookingDetails bookingDetailsOf(const Patient &patient)
{
    BookingDetails details;
    details.name = patient.socialName.trimmed().isEmpty() ? patient.fullName : patient.socialName;
    QStringList phones;
    for (const PatientPhone &phone : patient.phones)
        if (phone.whatsApp)
            phones.prepend(phone.number);
        else
            phones.append(phone.number);
    details.phones = phones.join(QStringLiteral(" / "));
    if (!patient.cards.isEmpty())
        details.plan = patient.cards.last().plan;
    return details;
}

QStringList typedPhones(const QString &field)
{
    static const QRegularExpression between(QStringLiteral("[/;,]"));
    QStringList numbers;
    for (const QString &number : field.split(between, Qt::SkipEmptyParts))
        if (!number.trimmed().isEmpty())
            numbers << number.trimmed();
    return numbers;
}

Patient patientFromBooking(const QString &name, const QString &phones, const QString &plan)
{
    Patient patient;
    patient.fullName = name.simplified();
    patient.cpfAbsence = CpfAbsence::NotGiven;
    bool whatsAppGiven = false;
    for (const QString &number : typedPhones(phones)) {
        // Any area code will do to tell a mobile: the number itself is kept as typed.
        const bool mobile = !phoneNumbers(number, QStringLiteral("11")).mobiles.isEmpty();
        patient.phones.append({number, mobile && !whatsAppGiven});
        whatsAppGiven = whatsAppGiven || mobile;
    }
    if (!plan.trimmed().isEmpty())
        patient.cards.append({plan.trimmed(), QString(), QDate()});
    return patient;
}

qint64 patientBookedAs(const QVector<Patient> &candidates, const QString &name, const QString &phones)
{
    const QString folded = foldedName(name);
    const QString digits = digitsOf(phones);
    qint64 found = 0;
    for (const Patient &patient : candidates) {
        const bool sameName = !folded.isEmpty() && (foldedName(patient.fullName) == folded ||
                                                    foldedName(patient.socialName) == folded);
        const bool samePhone =
            !digits.isEmpty() &&
            std::any_of(patient.phones.cbegin(), patient.phones.cend(), [&](const PatientPhone &p) {
                const QString own = digitsOf(p.number);
                return !own.isEmpty() && digits.contains(own);
            });
        if (sameName && samePhone) {
            if (found != 0)
                return 0; // two records stand for it: the receptionist says which, later
            found = patient.id;
        }
    }
    return found;
}

QString messageAnswerSaid(const Patient &patient)
{
    const MessageAnswer &answer = patient.messages;
    if (answer.consent == MessageConsent::NotAsked)
        return QCoreApplication::translate("PatientBookings", "Not asked yet about messages by WhatsApp.");
    const QString when = writtenDate(answer.at.toLocalTime().date(), QLocale());
    return answer.consent == MessageConsent::Yes
               ? QCoreApplication::translate("PatientBookings",
                                             "Agreed to messages by WhatsApp (noted by %1 on %2).")
                     .arg(answer.by, when)
               : QCoreApplication::translate(
                     "PatientBookings", "Said no to messages by WhatsApp (noted by %1 on %2): call instead.")
                     .arg(answer.by, when);
}

QString patientSummary(const Patient &patient)
{
    QStringList parts{patient.fullName};
    if (patient.birthDate.isValid())
        parts << QCoreApplication::translate("PatientBookings", "born %1")
                     .arg(writtenDate(patient.birthDate, QLocale()));
    const QString phones = bookingDetailsOf(patient).phones;
    if (!phones.isEmpty())
        parts << phones;
    return parts.join(QStringLiteral(", "));
}

QString cardEndsBefore(const Patient &patient, QDate booked)
{
    if (patient.cards.isEmpty() || !patient.cards.last().validUntil.isValid() ||
        patient.cards.last().validUntil >= booked)
        return {};
    const HealthCard &card = patient.cards.last();
    return QCoreApplication::translate(
               "PatientBookings", "%1's health plan card (%2 %3) is valid until %4, before the day booked.")
        .arg(bookingDetailsOf(patient).name, card.plan, card.number, writtenDate(card.validUntil, QLocale()));
}

} // namespace velmora
