#pragma once

#include <QString>
#include <QStringList>

namespace velmora {

// "maria DA silva" gives "Maria da Silva": blanks kept between words, particles in lower case.
QString capitalize_name(const QString &text);

// A doctor as messages name one: the name in quotes, or "doctor 3" for a slot without one.
QString doctorCalled(const QStringList &names, int slot);

} // namespace velmora
