#pragma once

#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>

namespace velmora::fuzzing {

// The fuzzer's bytes as text (invalid UTF-8 becomes replacement characters), cut into pieces at
// each byte 0x1F.
inline QStringList pieces(const uint8_t *data, size_t size, int count)
{
    QStringList parts = QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size))
                            .split(QChar(0x1F));
    while (parts.size() < count)
        parts << QString();
    return parts;
}

} // namespace velmora::fuzzing

#define FUZZ_CHECK(condition)                                                                                \
    do {                                                                                                     \
        if (!(condition))                                                                                    \
            __builtin_trap();                                                                                \
    } while (false)
