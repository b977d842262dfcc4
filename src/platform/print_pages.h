#pragma once

#include "core/text/printout.h"

class QPagedPaintDevice;

namespace velmora {

// Lays the printout on the device's pages: two blank Arial 10 lines, the header in Arial 16 indented
// five positions, two blank lines, then the rows in Courier New 9 bold indented three positions,
// continuing on new pages without a header. False with a reason when the device cannot be painted.
bool paintPrintout(QPagedPaintDevice &device, const Printout &printout, QString *error);

} // namespace velmora
