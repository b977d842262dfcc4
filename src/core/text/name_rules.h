#pragma once

#include <QString>
#include <QStringList>

namespace velmora {

// "maria DA silva" gives "Maria da Silva": blanks kept between words, particles in lower case.
// "d'ávila" gives "d'Ávila".
QString capitalize_name(const QString &text);

// A health plan as typed but for each word's first letter raised: "SUS" and "SulAmérica" stay as they are.
QString capitalize_plan(const QString &text);

// A doctor as messages name one: the name in quotes, or "doctor 3" for a slot without one.
QString doctorCalled(const QStringList &names, int slot);

// "Conceição  da SILVA" gives "conceicao da silva": accents dropped, case folded, runs of blanks made one.
QString foldedName(const QString &text);

// The digits of a number as typed: "(11) 9999-0000" gives "1199990000".
QString digitsOf(const QString &text);

} // namespace velmora
