#include "core/patients/patient_rules.h"

#include "core/text/name_rules.h"

#include <QCoreApplication>

#include <algorithm>

namespace velmora {

namespace {

constexpr int kCpfLength = 11;
constexpr int kCnsLength = 15;
constexpr int kCepLength = 8;
constexpr int kOldestAge = 130;

int digitAt(const QString &digits, int index)
{
    return digits.at(index).digitValue();
}

// The check digit of the first count digits, weighted from count + 1 down to 2.
int cpfCheckDigit(const QString &digits, int count)
{
    int sum = 0;
    for (int i = 0; i < count; ++i)
        sum += digitAt(digits, i) * (count + 1 - i);
    const int rest = sum % 11;
    return rest < 2 ? 0 : 11 - rest;
}

bool allDigits(const QString &text)
{
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.isDigit(); });
}

// Only digits and the marks a number is typed with.
bool typedAsNumber(const QString &typed)
{
    return std::all_of(typed.cbegin(), typed.cend(), [](QChar c) {
        return c.isDigit() || c == QLatin1Char('.') || c == QLatin1Char('-') || c == QLatin1Char('/') ||
               c.isSpace();
    });
}

QString said(const char *text)
{
    return QCoreApplication::translate("PatientRules", text);
}

} // namespace

bool validCpf(const QString &typed)
{
    const QString digits = digitsOf(typed);
    if (!typedAsNumber(typed) || digits.size() != kCpfLength || digits.count(digits.at(0)) == kCpfLength)
        return false;
    return cpfCheckDigit(digits, 9) == digitAt(digits, 9) && cpfCheckDigit(digits, 10) == digitAt(digits, 10);
}

QString shownCpf(const QString &digits)
{
    if (digits.size() != kCpfLength || !allDigits(digits))
        return digits;
    return digits.left(3) + QLatin1Char('.') + digits.mid(3, 3) + QLatin1Char('.') + digits.mid(6, 3) +
           QLatin1Char('-') + digits.right(2);
}

bool validCns(const QString &typed)
{
    const QString digits = digitsOf(typed);
    if (!typedAsNumber(typed) || digits.size() != kCnsLength)
        return false;
    const int first = digitAt(digits, 0);
    if (first == 1 || first == 2) {
        int sum = 0;
        for (int i = 0; i < 11; ++i)
            sum += digitAt(digits, i) * (15 - i);
        int check = 11 - sum % 11;
        QString expected = digits.left(11);
        if (check == 11)
            check = 0;
        if (check == 10) {
            sum += 2;
            check = 11 - sum % 11;
            expected += QStringLiteral("001");
        } else {
            expected += QStringLiteral("000");
        }
        return expected + QString::number(check) == digits;
    }
    if (first >= 7) {
        int sum = 0;
        for (int i = 0; i < kCnsLength; ++i)
            sum += digitAt(digits, i) * (15 - i);
        return sum % 11 == 0;
    }
    return false;
}

QString cpfRefusal(const QString &typed, CpfAbsence absence)
{
    if (typed.trimmed().isEmpty())
        return absence == CpfAbsence::None
                   ? said(QT_TRANSLATE_NOOP(
                         "PatientRules",
                         "Type the CPF, or choose why there is none (newborn, foreigner, not given)."))
                   : QString();
    const QString digits = digitsOf(typed);
    if (!typedAsNumber(typed) || digits.size() != kCpfLength)
        return said(QT_TRANSLATE_NOOP("PatientRules", "A CPF has eleven digits."));
    if (digits.count(digits.at(0)) == kCpfLength)
        return said(QT_TRANSLATE_NOOP(
            "PatientRules", "A CPF of one digit repeated is no one's: check the number on the document."));
    if (!validCpf(typed))
        return said(QT_TRANSLATE_NOOP(
            "PatientRules", "This CPF's check digits are wrong: check the number on the document."));
    return {};
}

QString cnsRefusal(const QString &typed)
{
    if (typed.trimmed().isEmpty())
        return {};
    if (!typedAsNumber(typed) || digitsOf(typed).size() != kCnsLength)
        return said(QT_TRANSLATE_NOOP("PatientRules", "A national health card (CNS) has fifteen digits."));
    if (!validCns(typed))
        return said(QT_TRANSLATE_NOOP(
            "PatientRules", "This national health card (CNS) number is not valid: check it on the card."));
    return {};
}

QString birthDateRefusal(QDate birth, QDate today)
{
    if (!birth.isValid())
        return {};
    if (birth > today)
        return said(QT_TRANSLATE_NOOP("PatientRules", "The birth date is in the future."));
    if (birth < today.addYears(-kOldestAge))
        return said(QT_TRANSLATE_NOOP("PatientRules", "The birth date is more than 130 years ago."));
    return {};
}

QString cepRefusal(const QString &typed)
{
    if (typed.trimmed().isEmpty())
        return {};
    if (!typedAsNumber(typed) || digitsOf(typed).size() != kCepLength)
        return said(QT_TRANSLATE_NOOP("PatientRules", "A CEP has eight digits."));
    return {};
}

QString patientRefusal(const Patient &patient, QDate today)
{
    if (patient.fullName.trimmed().isEmpty())
        return said(QT_TRANSLATE_NOOP("PatientRules", "Type the patient's full name."));
    for (const QString &refusal :
         {cpfRefusal(patient.cpf, patient.cpfAbsence), cnsRefusal(patient.cns),
          birthDateRefusal(patient.birthDate, today), cepRefusal(patient.address.cep)})
        if (!refusal.isEmpty())
            return refusal;
    return {};
}

} // namespace velmora
