#include "core/text/text_rules.h"

#include <QTime>

#include <algorithm>
#include <cmath>
#include <limits>

namespace velmora {

namespace {

// Index in UTF-16 units where the character at position characters starts, or text.size().
int unitIndexOfCharacter(const QString &text, int characters)
{
    int unit = 0;
    for (int seen = 0; seen < characters && unit < text.size(); ++seen) {
        const bool pair =
            text.at(unit).isHighSurrogate() && unit + 1 < text.size() && text.at(unit + 1).isLowSurrogate();
        unit += pair ? 2 : 1;
    }
    return unit;
}

} // namespace

int characterCount(const QString &text)
{
    int count = 0;
    for (int unit = 0; unit < text.size(); ++count) {
        const bool pair =
            text.at(unit).isHighSurrogate() && unit + 1 < text.size() && text.at(unit + 1).isLowSurrogate();
        unit += pair ? 2 : 1;
    }
    return count;
}

QString characterSlice(const QString &text, int start, int count)
{
    const int from = unitIndexOfCharacter(text, start);
    const QString rest = text.mid(from);
    return rest.left(unitIndexOfCharacter(rest, count));
}

QString fitted(const QString &text, int width)
{
    // A text that fits and holds no surrogate pair, as most do, is only padded.
    if (text.size() <= width &&
        std::none_of(text.begin(), text.end(), [](QChar c) { return c.isSurrogate(); }))
        return text.leftJustified(width, QLatin1Char(' '));
    const QString cut = characterSlice(text, 0, width);
    return cut + QString(width - characterCount(cut), QLatin1Char(' '));
}

QString trimBlanks(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == QLatin1Char(' '))
        ++begin;
    while (end > begin && text.at(end - 1) == QLatin1Char(' '))
        --end;
    return text.mid(begin, end - begin);
}

QString meantTime(const QString &typed)
{
    const QString trimmed = trimBlanks(typed);
    const QTime time =
        QTime::fromString(trimmed.rightJustified(5, QLatin1Char('0')), QStringLiteral("HH:mm"));
    return time.isValid() ? time.toString(QStringLiteral("HH:mm")) : trimmed;
}

double numericValue(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && text.at(i) == QLatin1Char(' '))
        ++i;
    double sign = 1.0;
    if (i < text.size() && (text.at(i) == QLatin1Char('-') || text.at(i) == QLatin1Char('+'))) {
        sign = text.at(i) == QLatin1Char('-') ? -1.0 : 1.0;
        ++i;
    }
    double value = 0.0;
    for (; i < text.size() && text.at(i) >= QLatin1Char('0') && text.at(i) <= QLatin1Char('9'); ++i)
        value = value * 10.0 + (text.at(i).unicode() - '0');
    if (i < text.size() && text.at(i) == QLatin1Char('.')) {
        double scale = 0.1;
        for (++i; i < text.size() && text.at(i) >= QLatin1Char('0') && text.at(i) <= QLatin1Char('9'); ++i) {
            value += (text.at(i).unicode() - '0') * scale;
            scale /= 10.0;
        }
    }
    return sign * value;
}

QString blankControlCharacters(const QString &text)
{
    const auto control = [](QChar c) {
        // Printable ASCII, as most of a book is, needs no look at its category.
        if (c.unicode() >= 0x20 && c.unicode() < 0x7f)
            return false;
        const QChar::Category category = c.category();
        return category == QChar::Other_Control || category == QChar::Separator_Line ||
               category == QChar::Separator_Paragraph;
    };
    // Shared, not copied, when there is nothing to blank.
    if (std::none_of(text.cbegin(), text.cend(), control))
        return text;
    QString blanked = text;
    for (QChar &c : blanked)
        if (control(c))
            c = QLatin1Char(' ');
    return blanked;
}

LimitedEdit limitedEdit(const QString &before, const QString &after, int limit)
{
    // The edit kept a common start and end of the text and put something between them.
    const qsizetype shorter = std::min(before.size(), after.size());
    qsizetype head = 0;
    while (head < shorter && before.at(head) == after.at(head))
        ++head;
    if (head > 0 && after.at(head - 1).isHighSurrogate())
        --head;
    qsizetype tail = 0;
    while (tail < shorter - head && before.at(before.size() - 1 - tail) == after.at(after.size() - 1 - tail))
        ++tail;
    if (tail > 0 && after.at(after.size() - tail).isLowSurrogate())
        --tail;

    const QString kept = after.left(head) + after.right(tail);
    const QString inserted = blankControlCharacters(after.mid(head, after.size() - head - tail));
    LimitedEdit edit;
    if (inserted.isEmpty()) { // only deleted: always allowed
        edit.accepted = true;
        edit.text = after;
        edit.cursor = static_cast<int>(head);
        return edit;
    }
    const QString taken = characterSlice(inserted, 0, limit - characterCount(kept));
    if (taken.isEmpty())
        return edit;
    edit.accepted = true;
    edit.text = after.left(head) + taken + after.right(tail);
    edit.cursor = static_cast<int>(head + taken.size());
    return edit;
}

qint64 wholeValue(const QString &text)
{
    constexpr double kLimit = 1e9;
    const double value = numericValue(text);
    if (!std::isfinite(value))
        return value > 0 ? static_cast<qint64>(kLimit) : -static_cast<qint64>(kLimit);
    // nearbyint rounds halves to the even neighbour in the default rounding mode.
    return static_cast<qint64>(std::nearbyint(std::clamp(value, -kLimit, kLimit)));
}

qint16 linkedSlotValue(const QString &storedLink)
{
    const qint64 value = wholeValue(storedLink);
    if (value < std::numeric_limits<qint16>::min() || value > std::numeric_limits<qint16>::max())
        return 0;
    return static_cast<qint16>(value);
}

BookingRecord BookingRecord::of(const QString &hora, const QString &nome, const QString &convenio,
                                const QString &telefone, const QString &obs)
{
    BookingRecord record;
    record.hora = fitted(hora, kHoraWidth);
    record.nome = fitted(nome, kNomeWidth);
    record.convenio = fitted(convenio, kConvenioWidth);
    record.telefone = fitted(telefone, kTelefoneWidth);
    record.obs = fitted(obs, kObsWidth);
    return record;
}

BookingRecord BookingRecord::fromRow(const QString &row)
{
    const QString padded = fitted(row, kRowWidth);
    return of(characterSlice(padded, 0, kHoraWidth), characterSlice(padded, 7, kNomeWidth),
              characterSlice(padded, 44, kConvenioWidth), characterSlice(padded, 61, kTelefoneWidth),
              characterSlice(padded, 83, kObsWidth));
}

QString BookingRecord::row() const
{
    const QLatin1String gap("  ");
    QString row;
    row.reserve(hora.size() + nome.size() + convenio.size() + telefone.size() + obs.size() + 8);
    row.append(hora)
        .append(gap)
        .append(nome)
        .append(gap)
        .append(convenio)
        .append(gap)
        .append(telefone)
        .append(gap)
        .append(obs);
    return row;
}

} // namespace velmora
