#pragma once

#include <QString>

namespace velmora {

// Characters are Unicode code points: a width never splits a surrogate pair, so "Conceição" is nine
// characters wide and an emoji is one.
int characterCount(const QString &text);

// The characters from position start (counted from 0) on, at most count of them.
QString characterSlice(const QString &text, int start, int count);

// Left-aligned in exactly width characters: padded with blanks or cut on the right.
QString fitted(const QString &text, int width);

// Blanks (not other white space) removed from both ends.
QString trimBlanks(const QString &text);

// A time as it is meant: "8:00" and " 08:00" are "08:00"; a text that reads as no time (a
// squeeze-in's own text) comes back trimmed of blanks.
QString meantTime(const QString &typed);

// The number at the start of the text, leading blanks skipped: "0800" is 800, "3.5x" is 3.5, and a
// text without a leading number is 0.
double numericValue(const QString &text);

// numericValue rounded to a whole number, halves to the even one, kept within +-1e9.
qint64 wholeValue(const QString &text);

// Control characters (NUL, tabs, line breaks and the like) as blanks: a field holds one line.
QString blankControlCharacters(const QString &text);

// What a typed or pasted edit of a field limited to limit characters leaves in it. The edit turned
// before into after; the part it inserted is taken only as far as it fits, so that a keystroke into a
// full field is refused (accepted is false) and never pushes out what was there.
struct LimitedEdit
{
    bool accepted = false;
    QString text;
    int cursor = 0; // in UTF-16 units, after what was inserted
};
LimitedEdit limitedEdit(const QString &before, const QString &after, int limit);

// The linked slot a stored link value stands for: its whole value, or 0 outside the 16-bit range.
qint16 linkedSlotValue(const QString &storedLink);

// The appointment texts at their row widths; the current booking record and the row buffer.
struct BookingRecord
{
    static constexpr int kHoraWidth = 5;
    static constexpr int kNomeWidth = 35;
    static constexpr int kConvenioWidth = 15;
    static constexpr int kTelefoneWidth = 20;
    static constexpr int kObsWidth = 20;
    static constexpr int kRowWidth = 103;

    QString hora = fitted({}, kHoraWidth);
    QString nome = fitted({}, kNomeWidth);
    QString convenio = fitted({}, kConvenioWidth);
    QString telefone = fitted({}, kTelefoneWidth);
    QString obs = fitted({}, kObsWidth);

    // Every text fitted to its width.
    static BookingRecord of(const QString &hora, const QString &nome, const QString &convenio,
                            const QString &telefone, const QString &obs);

    // The five columns of a day-list row, read at their fixed positions; a free row gives its time.
    static BookingRecord fromRow(const QString &row);

    // The 103-character row: the five columns separated by two blanks.
    QString row() const;
};

} // namespace velmora

Q_DECLARE_TYPEINFO(velmora::BookingRecord, Q_RELOCATABLE_TYPE);
