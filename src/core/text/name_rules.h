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

} // namespace velmora
