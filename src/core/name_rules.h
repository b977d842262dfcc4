#pragma once

#include <QString>

namespace velmora {

// "maria DA silva" gives "Maria da Silva": blanks kept between words, particles in lower case.
QString capitalize_name(const QString &text);

} // namespace velmora
