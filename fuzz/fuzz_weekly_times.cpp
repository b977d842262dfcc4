// The weekly-time check over any 28 boxes: a pass stores only empty texts or four digits in hour
// range (a period may end at 24:00, the end of the day), a failure names its box or its day.
#include "core/schedule/weekly_times.h"
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
        for (int box = 0; box < kWeeklyTimeCount; ++box) {
            const QString &stored = check.stored[box];
            FUZZ_CHECK(stored.isEmpty() || stored.size() == 4);
            const bool periodEnd = box % 2 == 1;
            if (!stored.isEmpty() && !(periodEnd && stored == QLatin1String("2400")))
                FUZZ_CHECK(stored.left(2).toInt() <= 23 && stored.right(2).toInt() <= 59);
        }
    } else {
        FUZZ_CHECK(!check.message.isEmpty());
        FUZZ_CHECK(check.focusBox >= -1 && check.focusBox < kWeeklyTimeCount);
    }
    return 0;
}
