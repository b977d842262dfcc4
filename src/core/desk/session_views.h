#pragma once

#include "core/desk/day_document.h"
#include "core/schedule/first_free.h"
#include "core/text/printout.h"

#include <optional>

namespace velmora {

// What other windows take from the day's session, read from what it shows.

// The day list as printed, or nothing while no doctor is chosen.
std::optional<Printout> dayPrintout(const DayDocument &day);

// The selected row's booking, to find it as stored; none, with why in whyNot, when no booking is
// selected.
std::optional<ListedRow> selectedBooking(const DayDocument &day, QString *whyNot);

// Where the earliest free times are looked for: the chosen doctor, from the date shown but never
// before now.
FirstFreeSearch firstFreeSearch(const DayDocument &day, QDate today, QTime now);

// Why the day shown is closed, in whole or in part; empty when nothing is.
QString closedNote(const DayDocument &day);

} // namespace velmora
