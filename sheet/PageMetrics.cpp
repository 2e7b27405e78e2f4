#include "sheet/PageMetrics.h"

namespace ulvan {

bool ExceedsPrintableArea(const PageMetrics& page) {
    if (page.Width <= 0 || page.Height <= 0) {
        return true;
    }
    const double w = page.Width;
    const double h = page.Height;
    // Differences in 64 bits: the fields are arbitrary 32-bit values.
    const auto right =
        static_cast<double>(std::int64_t{page.Width} - page.OffsetX - page.PrintableWidth);
    const auto bottom =
        static_cast<double>(std::int64_t{page.Height} - page.OffsetY - page.PrintableHeight);
    return page.OffsetX / w > 0.0952 || page.OffsetY / h > 0.0673 || right / w > 0.119 ||
           bottom / h > 0.0673;
}

} // namespace ulvan
