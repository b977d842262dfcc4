#include "core/model/doctor_slots.h"

#include <QtGlobal>

namespace velmora {

const std::array<Weekday, kWeekdayCount> kWeekdays = {{
    {"seg", QT_TRANSLATE_NOOP("SetupWindow", "Mon:"), "Monday"},
    {"ter", QT_TRANSLATE_NOOP("SetupWindow", "Tue:"), "Tuesday"},
    {"qua", QT_TRANSLATE_NOOP("SetupWindow", "Wed:"), "Wednesday"},
    {"qui", QT_TRANSLATE_NOOP("SetupWindow", "Thu:"), "Thursday"},
    {"sex", QT_TRANSLATE_NOOP("SetupWindow", "Fri:"), "Friday"},
    {"sab", QT_TRANSLATE_NOOP("SetupWindow", "Sat:"), "Saturday"},
    {"dom", QT_TRANSLATE_NOOP("SetupWindow", "Sun:"), "Sunday"},
}};

bool isDoctorSlot(int slot)
{
    return slot >= 1 && slot <= kDoctorSlotCount;
}

} // namespace velmora
