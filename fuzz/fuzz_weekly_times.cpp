// The weekly-time check over any 28 boxes: a pass stores only empty texts or four digits in hour
// range, a failure names its box or its day.
#include "core/weekly_times.h"
#include "fuzz_input.h"

using namespace velmora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QStringList parts = fuzzing::pieces(data, size, kWeeklyTimeCount);
    WeeklyTimes typed;
    for (int i = 0; i < kWeeklyTimeCount; ++i)
        typed[i] = parts.at(i);
    const WeeklyTimesCheck check = checkWeeklyTimes(typed);
    if (check.passed) {
        FUZZ_CHECK(check.message.isEmpty());
        for (const QString &stored : check.stored) {
            FUZZ_CHECK(stored.isEmpty() || stored.size() == 4);
            if (!stored.isEmpty())
                FUZZ_CHECK(stored.left(2).toInt() <= 23 && stored.right(2).toInt() <= 59);
        }
    } else {
        FUZZ_CHECK(!check.message.isEmpty());
        FUZZ_CHECK(check.focusBox >= -1 && check.focusBox < kWeeklyTimeCount);
    }
    return 0;
}
