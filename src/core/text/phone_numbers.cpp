#include "core/text/phone_numbers.h"

#include <QRegularExpression>

namespace velmora {

namespace {

bool isAreaCode(QStringView digits)
{
    return digits.size() == 2 && digits.at(0) != QLatin1Char('0') && digits.at(1) != QLatin1Char('0');
}

enum class Kind
{
    None,
    Mobile,
    Other
};

// A run of digits read as one number of Brazil (or, after a '+', of any country); mobile gets the
// number as WhatsApp wants it.
Kind classify(QString digits, bool plus, const QString &areaCode, QString *mobile)
{
    if (plus && !digits.startsWith(QLatin1String("55")))
        return digits.size() >= 8 && digits.size() <= 15 ? Kind::Other : Kind::None;
    if ((plus || digits.size() == 12 || digits.size() == 13) && digits.startsWith(QLatin1String("55")))
        digits = digits.mid(2);
    else if (digits.startsWith(QLatin1Char('0')))
        // The long-distance prefix, with or without a carrier's two digits.
        digits = digits.size() == 11 || digits.size() == 12   ? digits.mid(1)
                 : digits.size() == 13 || digits.size() == 14 ? digits.mid(3)
                                                              : QString();
    if (digits.size() == 11 && isAreaCode(QStringView(digits).left(2)) && digits.at(2) == QLatin1Char('9')) {
        *mobile = QStringLiteral("55") + digits;
        return Kind::Mobile;
    }
    if (digits.size() == 10 && isAreaCode(QStringView(digits).left(2)))
        return Kind::Other;
    if (digits.size() == 9 && digits.at(0) == QLatin1Char('9')) {
        if (!isAreaCode(areaCode))
            return Kind::Other; // a mobile, but of which area is not known: to be called
        *mobile = QStringLiteral("55") + areaCode + digits;
        return Kind::Mobile;
    }
    return digits.size() == 8 ? Kind::Other : Kind::None;
}

} // namespace

PhoneNumbers phoneNumbers(const QString &phones, const QString &clinicAreaCode)
{
    PhoneNumbers numbers;
    const QString areaCode = clinicAreaCode.trimmed();
    // Letters and marks such as '/' or ',' part numbers; blanks may be inside one number or between two.
    static const QRegularExpression pieces(QStringLiteral("[+(0-9][0-9 ().\\-]*"));
    for (auto piece = pieces.globalMatch(phones); piece.hasNext();) {
        const QString text = piece.next().captured(0);
        const bool plus = text.startsWith(QLatin1Char('+'));
        QStringList groups = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        // From each group on, the longest run of groups that reads as one number.
        for (int first = 0; first < groups.size();) {
            int taken = 0;
            Kind kind = Kind::None;
            QString mobile;
            QString digits;
            for (int last = first; last < groups.size(); ++last) {
                const qsizetype before = digits.size();
                for (const QChar c : std::as_const(groups[last]))
                    if (c.isDigit())
                        digits += c;
                if (digits.size() == before)
                    continue; // a bracket alone adds nothing to a number
                QString candidate;
                const Kind read = classify(digits, plus && first == 0, areaCode, &candidate);
                if (read != Kind::None) {
                    kind = read;
                    mobile = candidate;
                    taken = last - first + 1;
                }
            }
            if (kind == Kind::None) {
                ++first;
                continue;
            }
            const QString typed = groups.mid(first, taken).join(QLatin1Char(' '));
            if (kind == Kind::Mobile && !numbers.mobiles.contains(mobile))
                numbers.mobiles << mobile;
            else if (kind == Kind::Other)
                numbers.others << typed;
            first += taken;
        }
    }
    return numbers;
}

} // namespace velmora
