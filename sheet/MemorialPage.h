// The memorial sheet on its two targets: the printer's page (portrait, positions less the
// printer's physical offsets) and the preview's screen (the page turned into the reading
// view). Both draw the one element list of BuildMemorialSheet; callers pass the main window's
// values as they stand when drawing starts.
#pragma once

#include "calendar/Messages.h"
#include "calendar/Schedule.h"
#include "case/CaseData.h"
#include "footer/FooterModel.h"
#include "footer/FooterRenderer.h"
#include "sheet/Canvas.h"
#include "sheet/PageMetrics.h"
#include "sheet/SheetLayout.h"

#include <functional>

class QPagedPaintDevice;
class QPainter;

namespace ulvan {

// Any sheet's element list on the printer page (origin at the printable area's corner) with
// the built-in canopy and lotus, the footer strip drawn from `footer`. Shared by the memorial
// sheet and the annual chart.
void DrawSheetPaper(Canvas& canvas, const PageMetrics& page, const SheetDescription& sheet,
                    FooterLayout& footer, FooterDrawRequest& request);
// The same list on the preview's screen: the dotted border, then the sheet.
void DrawSheetPreview(Canvas& canvas, int previewWidth, int previewHeight,
                      const SheetDescription& sheet, FooterLayout& footer,
                      FooterDrawRequest& request);
// Runs `draw` for a portrait page without offsets on `painter`, a landscape device of paper
// height x paper width, so that the page appears turned a quarter turn clockwise.
void DrawReadingPage(QPainter& painter, int portraitWidth, int portraitHeight,
                     const std::function<void(Canvas&, const PageMetrics&)>& draw);

struct MemorialSheetInputs {
    DeceasedData Deceased;
    SheetOptions Options;
    MemorialSchedule Schedule;
    FooterLayout Footer;
};

// The printed sheet (elements 1-15; `blank`: the printed form only) on a page canvas whose
// origin is the corner of the printable area. The footer renderer may mark a picture that
// fails to load in `inputs.Footer` and reports through `request` (one request per print job).
void DrawMemorialPaper(Canvas& canvas, const PageMetrics& page, MemorialSheetInputs& inputs,
                       bool blank, FooterDrawRequest& request);

// The preview's sheet: the dotted border, then the filled sheet through the screen mapping
// for a page of previewWidth x previewHeight pixels (one footer request per showing).
void DrawMemorialPreview(Canvas& canvas, int previewWidth, int previewHeight,
                         MemorialSheetInputs& inputs, FooterDrawRequest& request);

// The printed sheet on a page of `paper` turned to the reading view: `painter` draws on a
// landscape device of paper height x paper width (long side across); the sheet is drawn as
// on portrait paper with no offsets and turned a quarter turn clockwise.
void DrawMemorialReadingPage(QPainter& painter, int portraitWidth, int portraitHeight,
                             MemorialSheetInputs& inputs, bool blank, FooterDrawRequest& request);

} // namespace ulvan
