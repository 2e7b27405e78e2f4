// The preview's page size and its five zoom levels. The page is a landscape rectangle of
// aspect 1.414 : 1; level 0 fits it into the paint box, each step up enlarges it by about
// the square root of two and each step down shrinks it, starting from the current size (so
// rounding accumulates, and the second step back to 0 refits).
#pragma once

#include <cstdint>

namespace ulvan {

struct PreviewPage {
    std::int32_t Width = 0;
    std::int32_t Height = 0;

    friend bool operator==(const PreviewPage&, const PreviewPage&) = default;
};

inline constexpr std::int32_t kMinZoomLevel = -2;
inline constexpr std::int32_t kMaxZoomLevel = 2;

// The largest 1.414 : 1 page at the top-left of a box of boxWidth x boxHeight.
PreviewPage FitPreviewPage(std::int32_t boxWidth, std::int32_t boxHeight);

// One step from `page` (not at level 0): the new height is rnd(height * factor), the width
// rnd(newHeight * 1.414213). Zoom in uses 1.414213, zoom out 0.707106.
PreviewPage ScalePreviewPage(PreviewPage page, double factor);
inline constexpr double kZoomInFactor = 1.414213;
inline constexpr double kZoomOutFactor = 0.707106;

} // namespace ulvan
