#include "core/model/waiting_entry.h"

#include <array>

namespace velmora {

namespace {

const std::array<const char *, 3> kPeriodKeys{"any", "morning", "afternoon"};
const std::array<const char *, 4> kStateKeys{"waiting", "booked", "expired", "removed"};

template <size_t N> int indexOfKey(const std::array<const char *, N> &keys, const QString &key)
{
    for (size_t i = 0; i < N; ++i)
        if (key == QLatin1String(keys[i]))
            return static_cast<int>(i);
    return 0;
}

} // namespace

bool WaitingEntry::operator==(const WaitingEntry &other) const
{
    return id == other.id && name == other.name && phone == other.phone && plan == other.plan &&
           slot == other.slot && from == other.from && to == other.to && period == other.period &&
           notes == other.notes && addedAt == other.addedAt && addedBy == other.addedBy &&
           state == other.state && leftAt == other.leftAt;
}

QString periodKey(WaitingEntry::Period period)
{
    return QLatin1String(kPeriodKeys[static_cast<size_t>(period)]);
}

WaitingEntry::Period periodFromKey(const QString &key)
{
    return static_cast<WaitingEntry::Period>(indexOfKey(kPeriodKeys, key));
}

QString stateKey(WaitingEntry::State state)
{
    return QLatin1String(kStateKeys[static_cast<size_t>(state)]);
}

WaitingEntry::State stateFromKey(const QString &key)
{
    return static_cast<WaitingEntry::State>(indexOfKey(kStateKeys, key));
}

} // namespace velmora
