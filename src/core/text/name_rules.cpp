#include "core/text/name_rules.h"

#include "core/text/text_rules.h"

#include <QCoreApplication>
#include <QStringList>
#include <QVector>

#include <algorithm>

namespace velmora {

namespace {

// Case mapped one character at a time, so that a name never changes its length: the full mappings
// would turn the dotted capital I into two characters.
template <typename Map> QString mapEachCharacter(const QString &text, Map map)
{
    QString mapped;
    mapped.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            const char32_t codePoint = map(QChar::surrogateToUcs4(c, text.at(++i)));
            mapped += QString::fromUcs4(&codePoint, 1);
        } else {
            mapped += c.isSurrogate()
                          ? c
                          : QChar(static_cast<char16_t>(map(c.unicode()))); // a lone half is kept as it is
        }
    }
    return mapped;
}

// Qt's one-character mapping leaves a character whose full mapping is longer as it is; the simple
// mapping drops the combining marks of the longer one (the dotted capital I lowers to a plain i).
template <typename Full> char32_t simpleMapping(char32_t c, char32_t mapped, Full full)
{
    if (mapped != c || c < 0x80)
        return mapped;
    const QString longer = full(QString::fromUcs4(&c, 1));
    const QList<uint> codePoints = longer.toUcs4();
    if (codePoints.size() < 2)
        return c;
    for (qsizetype i = 1; i < codePoints.size(); ++i)
        if (QChar::category(codePoints.at(i)) != QChar::Mark_NonSpacing)
            return c;
    return codePoints.first();
}

QString lowerEach(const QString &text)
{
    return mapEachCharacter(text, [](char32_t c) {
        return simpleMapping(c, QChar::toLower(c), [](const QString &s) { return s.toLower(); });
    });
}

QString upperEach(const QString &text)
{
    return mapEachCharacter(text, [](char32_t c) {
        return simpleMapping(c, QChar::toUpper(c), [](const QString &s) { return s.toUpper(); });
    });
}

} // namespace

namespace {

bool isParticle(const QString &lowerWord)
{
    static const QStringList particles = {QStringLiteral("da"),  QStringLiteral("de"),  QStringLiteral("do"),
                                          QStringLiteral("das"), QStringLiteral("dos"), QStringLiteral("a"),
                                          QStringLiteral("e")};
    return particles.contains(lowerWord);
}

// The first letter raised, taken from the word as typed so that a dotted capital I keeps its dot.
QString raiseFirst(const QString &typed, const QString &rest)
{
    const QString first = characterSlice(typed, 0, 1);
    return upperEach(first) + rest.mid(first.size());
}

// "d'" is "de" elided before a vowel (d'Ávila, d'Oliveira): a particle joined to the name it belongs to.
qsizetype elidedParticleLength(const QString &lowerWord)
{
    const bool elided = lowerWord.size() > 2 && lowerWord.at(0) == QLatin1Char('d') &&
                        (lowerWord.at(1) == QLatin1Char('\'') || lowerWord.at(1) == QChar(0x2019));
    return elided ? 2 : 0;
}

} // namespace

QString capitalize_name(const QString &text)
{
    QStringList words = text.split(QLatin1Char(' '));
    for (QString &word : words) {
        const QString lower = lowerEach(word);
        if (word.isEmpty() || isParticle(lower)) {
            word = lower;
            continue;
        }
        const qsizetype particle = elidedParticleLength(lower);
        word = lower.left(particle) + raiseFirst(word.mid(particle), lower.mid(particle));
    }
    return trimBlanks(words.join(QLatin1Char(' ')));
}

QString capitalize_plan(const QString &text)
{
    QStringList words = text.split(QLatin1Char(' '));
    for (QString &word : words)
        if (!word.isEmpty() && !isParticle(lowerEach(word)))
            word = raiseFirst(word, word);
    return trimBlanks(words.join(QLatin1Char(' ')));
}

QString doctorCalled(const QStringList &names, int slot)
{
    const QString name = trimBlanks(names.value(slot - 1));
    return name.isEmpty() ? QCoreApplication::translate("AppointmentBook", "doctor %1").arg(slot)
                          : QStringLiteral("\"%1\"").arg(name);
}

QString foldedName(const QString &text)
{
    // Plain ASCII, as most names are typed, is its own decomposition.
    const bool ascii = std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x80; });
    const QString decomposed = ascii ? text : text.normalized(QString::NormalizationForm_KD);
    // In ASCII, folding the case is lowering A to Z.
    const auto asciiFolded = [](QChar c) {
        return c >= QLatin1Char('A') && c <= QLatin1Char('Z') ? QChar(c.unicode() + ('a' - 'A')) : c;
    };
    QString folded;
    folded.reserve(decomposed.size());
    bool blank = true; // no blank at the start
    for (const QChar c : decomposed) {
        if (!ascii && c.category() == QChar::Mark_NonSpacing)
            continue;
        if (c.isSpace()) {
            if (!blank)
                folded += QLatin1Char(' ');
            blank = true;
            continue;
        }
        folded += ascii ? asciiFolded(c) : c.toCaseFolded();
        blank = false;
    }
    if (folded.endsWith(QLatin1Char(' ')))
        folded.chop(1);
    return folded;
}

QString digitsOf(const QString &text)
{
    QString digits;
    for (const QChar c : text)
        if (c.isDigit() && c.unicode() < 0x80)
            digits += c;
    return digits;
}

} // namespace velmora
