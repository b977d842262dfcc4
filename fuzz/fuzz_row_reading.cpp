// Reading a selected row of any text: every column at its width, the rebuilt row 103 characters,
// and a row made from a record reads back as that record.
#include "core/text/text_rules.h"
#include "fuzz_input.h"

using namespace velmora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QStringList parts = fuzzing::pieces(data, size, 5);
    const BookingRecord read = BookingRecord::fromRow(parts.join(QString()));
    FUZZ_CHECK(characterCount(read.hora) == BookingRecord::kHoraWidth);
    FUZZ_CHECK(characterCount(read.nome) == BookingRecord::kNomeWidth);
    FUZZ_CHECK(characterCount(read.obs) == BookingRecord::kObsWidth);
    FUZZ_CHECK(characterCount(read.row()) == BookingRecord::kRowWidth);

    const BookingRecord made =
        BookingRecord::of(parts.at(0), parts.at(1), parts.at(2), parts.at(3), parts.at(4));
    const BookingRecord back = BookingRecord::fromRow(made.row());
    FUZZ_CHECK(back.hora == made.hora && back.nome == made.nome && back.convenio == made.convenio &&
               back.telefone == made.telefone && back.obs == made.obs);
    return 0;
}
