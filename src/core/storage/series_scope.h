#pragma once

#include "core/model/booking_state.h"

#include <QString>

namespace velmora {

// Which sessions a Change, Remove, Move or status of one of them reaches.
enum class SeriesScope
{
    ThisOne,
    ThisAndFollowing,
    Whole
};

// "3/10": the place a booking of a series shows; empty for a booking of its own.
QString sessionText(const SeriesPlace &place);

} // namespace velmora
