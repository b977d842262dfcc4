// Names of any text: no blanks left at the ends, blanks inside kept, and lower-case particles.
#include "core/text/name_rules.h"
#include "core/text/text_rules.h"
#include "fuzz_input.h"

using namespace velmora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString typed = fuzzing::pieces(data, size, 1).join(QChar(0x1F));
    const QString name = capitalize_name(typed);
    FUZZ_CHECK(name == trimBlanks(name));
    FUZZ_CHECK(name.count(QLatin1Char(' ')) == trimBlanks(typed).count(QLatin1Char(' ')));
    if (typed.toLower() == QLatin1String("da") || typed.toLower() == QLatin1String("e"))
        FUZZ_CHECK(name == typed.toLower());
    return 0;
}
