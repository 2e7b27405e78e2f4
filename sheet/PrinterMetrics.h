// The page of a printer as the sheets measure it.
#pragma once

#include "sheet/PageMetrics.h"

class QPrinter;

namespace ulvan {

// The page metrics of a printer as it is set up now, in its device pixels: the physical
// paper, the printable area's offsets from the paper's corner, and the printable area.
PageMetrics PrinterPageMetrics(const QPrinter& printer);

} // namespace ulvan
