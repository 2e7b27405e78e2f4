#include "sheet/PreviewZoom.h"

#include "sheet/SheetLayout.h"

namespace ulvan {

namespace {
constexpr double kAspect = 1.414;
}

PreviewPage FitPreviewPage(std::int32_t boxWidth, std::int32_t boxHeight) {
    PreviewPage page{boxWidth, boxHeight};
    if (page.Width >= page.Height * kAspect) {
        page.Width = SheetRound(page.Height * kAspect);
    }
    if (page.Width < page.Height * kAspect) {
        page.Height = SheetRound(page.Width / kAspect);
    }
    return page;
}

PreviewPage ScalePreviewPage(PreviewPage page, double factor) {
    PreviewPage next;
    next.Height = SheetRound(page.Height * factor);
    next.Width = SheetRound(next.Height * kZoomInFactor);
    return next;
}

} // namespace ulvan
