// How each character stands in vertical Japanese writing, for drawing vertical text on a
// platform whose fonts have no vertical variants. The one place that decides it; the
// canvas only follows the table.
#pragma once

namespace ulvan {

enum class VerticalOrientation {
    Upright,  // stands upright in its cell (ideographs, kana, full-width letters)
    Sideways, // lies along the column, turned a quarter turn clockwise (half-width text,
              // long vowel mark, dashes, brackets, wave dash): brackets then open toward
              // the text they enclose
};

struct VerticalPlacement {
    VerticalOrientation Orientation = VerticalOrientation::Upright;
    // Shift of an upright glyph in its cell, in ems, in the reading view: positive X to the
    // reader's right, positive Y down. Small kana move toward the upper right, the comma
    // and the full stop from the lower left into the upper right quarter.
    double ShiftX = 0;
    double ShiftY = 0;

    friend bool operator==(const VerticalPlacement&, const VerticalPlacement&) = default;
};

VerticalPlacement VerticalPlacementOf(char32_t c);

} // namespace ulvan
