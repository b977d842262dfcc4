// The free slot rows over any stored times and slot lengths: they end, the start is always listed,
// and a listed row is a time of five characters or the stored start's own shape.
#include "core/desk/day_list_procedures.h"
#include "fuzz_input.h"

using namespace velmora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QStringList parts = fuzzing::pieces(data, size, 31);
    const QStringList rows = periodRows(parts.at(0), parts.at(1), parts.at(2));
    FUZZ_CHECK(rows.isEmpty() == trimBlanks(parts.at(0)).isEmpty());
    FUZZ_CHECK(rows.size() <= 24 * 60 + 1);

    DoctorSettings doctor;
    doctor.slotLength = fitted(parts.at(2), 2);
    for (int i = 0; i < kWeeklyTimeCount; ++i)
        doctor.weeklyTimes[i] = fitted(parts.at(3 + i), 4);
    DayListModel list;
    const QDate day = QDate(2027, 3, 1).addDays(size % 7);
    list_free_slots(list, doctor, day);
    FUZZ_CHECK(list.rowCount() <= 2 * (24 * 60 + 1));
    for (int i = 1; i < list.rowCount(); ++i)
        FUZZ_CHECK(QString::compare(list.rows().at(i - 1), list.rows().at(i), Qt::CaseInsensitive) <= 0);
    return 0;
}
