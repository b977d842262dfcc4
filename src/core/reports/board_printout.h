#pragma once

#include "core/reception/clinic_day.h"
#include "core/text/printout.h"

namespace velmora {

// The board on paper: landscape, the date (or the doctor's week) in the header, a legend, every column's
// name in full, then the table of times, its headings on every page. A cell is cut to a fixed width so
// that ten columns fit a page; the whole names are in the key above the table.
Printout boardPrintout(const ClinicDay &board, bool week);

} // namespace velmora
