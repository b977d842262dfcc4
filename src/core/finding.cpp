#include "core/finding.h"

#include "core/text_rules.h"

#include <algorithm>

namespace velmora {

QString foldedName(const QString &text)
{
    const QString decomposed = text.normalized(QString::NormalizationForm_KD);
    QString folded;
    folded.reserve(decomposed.size());
    bool blank = true; // no blank at the start
    for (const QChar c : decomposed) {
        if (c.category() == QChar::Mark_NonSpacing)
            continue;
        if (c.isSpace()) {
            if (!blank)
                folded += QLatin1Char(' ');
            blank = true;
            continue;
        }
        folded += c.toCaseFolded();
        blank = false;
    }
    if (folded.endsWith(QLatin1Char(' ')))
        folded.chop(1);
    return folded;
}

QString phoneDigits(const QString &text)
{
    QString digits;
    for (const QChar c : text)
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            digits += c;
    return digits;
}

PatientQuery patientQuery(const QString &typed)
{
    PatientQuery query;
    // A phone number: digits with the blanks, dashes, dots, brackets and plus sign people write in one.
    const bool phoneLike = std::all_of(typed.cbegin(), typed.cend(), [](QChar c) {
        return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c.isSpace() ||
               QStringView(u"-.()+/").contains(c);
    });
    const QString digits = phoneDigits(typed);
    if (phoneLike && !digits.isEmpty()) {
        if (digits.size() >= 4)
            query = {PatientQuery::Kind::Phone, digits};
        return query;
    }
    const QString folded = foldedName(typed);
    const qsizetype letters =
        std::count_if(folded.cbegin(), folded.cend(), [](QChar c) { return c.isLetter(); });
    if (letters >= 3)
        query = {PatientQuery::Kind::Name, folded};
    return query;
}

bool matchesQuery(const PatientQuery &query, const Appointment &booking)
{
    switch (query.kind) {
    case PatientQuery::Kind::Name:
        return foldedName(booking.nome).contains(query.text);
    case PatientQuery::Kind::Phone:
        return phoneDigits(booking.telefone).contains(query.text);
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
