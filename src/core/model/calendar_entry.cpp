#include "core/model/calendar_entry.h"

namespace velmora {

bool CalendarEntry::operator==(const CalendarEntry &other) const
{
    return kind == other.kind && slot == other.slot && from == other.from && to == other.to &&
           start == other.start && end == other.end && hours == other.hours && reason == other.reason &&
           yearly == other.yearly && unreadable == other.unreadable;
}

} // namespace velmora
