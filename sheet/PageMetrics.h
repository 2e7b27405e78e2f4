// The page metrics of a printer, as the sheets need them, and the check of the printable area
// against the margins the sheets print into. Pure values; the app layer reads them from the
// chosen printer.
#pragma once

#include <cstdint>

namespace ulvan {

// All in printer device units.
struct PageMetrics {
    std::int32_t Width = 0;          // physical width of the paper
    std::int32_t Height = 0;         // physical height
    std::int32_t OffsetX = 0;        // left edge of the printable area on the paper
    std::int32_t OffsetY = 0;        // top edge of the printable area
    std::int32_t PrintableWidth = 0; // width of the printable area
    std::int32_t PrintableHeight = 0;

    friend bool operator==(const PageMetrics&, const PageMetrics&) = default;
};

// True when the printer may not reach one of the margins the sheets print into: left
// OffsetX / Width > 0.0952, top OffsetY / Height > 0.0673, right (Width - OffsetX -
// PrintableWidth) / Width > 0.119, bottom (Height - OffsetY - PrintableHeight) / Height >
// 0.0673. A ratio equal to its limit passes. A page of no size cannot be printed on and
// counts as exceeding.
bool ExceedsPrintableArea(const PageMetrics& page);

} // namespace ulvan
