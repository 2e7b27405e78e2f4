// Draws a sheet description (sheet/SheetLayout.h) on a Canvas through one mapping: the
// printer page or the preview's screen. The same list of elements goes through here for
// both targets; only the mapping differs.
#pragma once

#include "sheet/Canvas.h"
#include "sheet/SheetLayout.h"

#include <functional>

namespace ulvan {

// The upright name-box pictures; null draws nothing for that picture.
struct SheetPictures {
    const Picture* Canopy = nullptr;
    const Picture* Lotus = nullptr;
};
// The built-in canopy and lotus art.
SheetPictures DefaultSheetPictures();

// Draws the footer frames into the area; the mapping tells paper from screen. May be empty.
using FooterPainter = std::function<void(Canvas&, const SheetMapping&, const SheetFooter&)>;

// Draws every element in order. The page starts from a clear brush and a black pen whatever
// the canvas held before. Blank cells (U+3000) are drawn like any character: they show
// nothing, and every cell keeps its one text output.
void DrawSheet(Canvas& canvas, const SheetDescription& sheet, const SheetMapping& mapping,
               const SheetPictures& pictures, const FooterPainter& footer);

// The preview's dotted purple border around the page.
void DrawPreviewBorder(Canvas& canvas, int previewWidth, int previewHeight);

} // namespace ulvan
