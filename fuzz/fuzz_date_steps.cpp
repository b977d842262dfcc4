// Date steps from any date of the calendar, the ends included: the result stays in the calendar and
// the step moves by what it says.
#include "core/text/date_steps.h"

#include <cstring>

using namespace velmora;

#define FUZZ_CHECK(condition)                                                                                \
    do {                                                                                                     \
        if (!(condition))                                                                                    \
            __builtin_trap();                                                                                \
    } while (false)

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 9)
        return 0;
    qint64 offset = 0;
    std::memcpy(&offset, data, sizeof offset);
    const qint64 first = firstCalendarDate().toJulianDay();
    const qint64 span = lastCalendarDate().toJulianDay() - first + 1;
    const QDate from = QDate::fromJulianDay(first + (offset % span + span) % span);
    const auto step = static_cast<DateStep>(data[8] % 7);
    FUZZ_CHECK(days_in_month(from) >= 28 && days_in_month(from) <= 31);
    const std::optional<QDate> to = steppedDate(from, step, QDate(2027, 3, 1));
    if (!to)
        return 0;
    FUZZ_CHECK(*to >= firstCalendarDate() && *to <= lastCalendarDate());
    const qint64 moved = from.daysTo(*to);
    switch (step) {
    case DateStep::PlusDay:
        FUZZ_CHECK(moved == 1);
        break;
    case DateStep::PlusWeek:
        FUZZ_CHECK(moved == 7);
        break;
    case DateStep::MinusDay:
        FUZZ_CHECK(moved == -1);
        break;
    case DateStep::MinusWeek:
        FUZZ_CHECK(moved == -7);
        break;
    case DateStep::PlusMonth:
        FUZZ_CHECK(moved == days_in_month(from));
        break;
    case DateStep::MinusMonth:
        FUZZ_CHECK(moved >= -31 && moved <= -28);
        break;
    case DateStep::Today:
        FUZZ_CHECK(*to == QDate(2027, 3, 1));
        break;
    }
    return 0;
}
