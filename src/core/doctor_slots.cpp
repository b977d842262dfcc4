#include "core/doctor_slots.h"

namespace velmora {

const std::array<Weekday, kWeekdayCount> kWeekdays = {{
    {"seg", "Mon:", "Monday"},
    {"ter", "Tue:", "Tuesday"},
    {"qua", "Wed:", "Wednesday"},
    {"qui", "Thu:", "Thursday"},
    {"sex", "Fri:", "Friday"},
    {"sab", "Sat:", "Saturday"},
    {"dom", "Sun:", "Sunday"},
}};

bool isDoctorSlot(int slot)
{
    return slot >= 1 && slot <= kDoctorSlotCount;
}

} // namespace velmora
