#include "core/search/patient_query.h"

#include "core/model/appointment.h"
#include "core/storage/stored_bookings.h"
#include "core/text/text_rules.h"

#include <QRegularExpression>

#include <algorithm>

namespace velmora {

PatientQuery patientQuery(const QString &typed)
{
    PatientQuery query;
    // A phone number: digits with the blanks, dashes, dots, brackets and plus sign people write in one.
    const bool phoneLike = std::all_of(typed.cbegin(), typed.cend(), [](QChar c) {
        return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c.isSpace() ||
               QStringView(u"-.()+/").contains(c);
    });
    const QString digits = digitsOf(typed);
    if (phoneLike && !digits.isEmpty()) {
        if (digits.size() >= 4)
            query = {PatientQuery::Kind::Phone, digits, {}, digits};
        // Brazil's country code, or the long-distance prefix, then an area code before the number.
        QString number = digits;
        if (number.startsWith(QLatin1String("55")) && (number.size() == 12 || number.size() == 13))
            number = number.mid(2);
        else if (number.startsWith(QLatin1Char('0')) && (number.size() == 11 || number.size() == 12))
            number = number.mid(1);
        if ((number.size() == 10 || number.size() == 11) && number.at(0) != QLatin1Char('0') &&
            number.at(1) != QLatin1Char('0')) {
            query.areaCode = number.left(2);
            query.text = number.mid(2);
        }
        return query;
    }
    const QString folded = foldedName(typed);
    const qsizetype letters =
        std::count_if(folded.cbegin(), folded.cend(), [](QChar c) { return c.isLetter(); });
    if (letters >= 3)
        query = {PatientQuery::Kind::Name, folded, {}, {}};
    return query;
}

namespace {

bool phonesMatch(const PatientQuery &query, const QString &phones)
{
    if (query.areaCode.isEmpty())
        return digitsOf(phones).contains(query.text);
    // Each number of the field on its own: the digits before one belong to the number before it.
    static const QRegularExpression between(QStringLiteral("[/,;|\\n\\t]|\\s{2,}|\\s+(?:e|ou|or|and)\\s+"),
                                            QRegularExpression::CaseInsensitiveOption);
    for (const QString &number : phones.split(between)) {
        const QString digits = digitsOf(number);
        if (digits.contains(query.typedDigits))
            return true;
        for (qsizetype at = digits.indexOf(query.text); at >= 0; at = digits.indexOf(query.text, at + 1))
            if (at == 0 || digits.left(at).endsWith(query.areaCode))
                return true;
    }
    return false;
}

} // namespace

bool matchesQuery(const PatientQuery &query, const Appointment &booking)
{
    switch (query.kind) {
    case PatientQuery::Kind::Name:
        return foldedName(booking.nome).contains(query.text);
    case PatientQuery::Kind::Phone:
        return phonesMatch(query, booking.telefone);
    case PatientQuery::Kind::TooShort:
        break;
    }
    return false;
}

void sortFound(QVector<FoundBooking> &found, QDate today)
{
    std::stable_sort(found.begin(), found.end(), [today](const FoundBooking &a, const FoundBooking &b) {
        const bool aComing = a.booking.date >= today;
        const bool bComing = b.booking.date >= today;
        if (aComing != bComing)
            return aComing;
        if (a.booking.date != b.booking.date)
            return aComing ? a.booking.date < b.booking.date : a.booking.date > b.booking.date;
        const QString aTime = trimBlanks(a.booking.hora);
        const QString bTime = trimBlanks(b.booking.hora);
        if (aTime != bTime)
            return aTime < bTime;
        return a.slot < b.slot;
    });
}

} // namespace velmora
