// The annual chart on its targets: the printer's page, the preview's screen and a page turned
// to the reading view (`ulvan sheet --annual`). All draw the one element list of
// BuildNenkaiSheet through the memorial sheet's page routines; callers pass both windows'
// values as they stand when drawing starts.
#pragma once

#include "annual/NenkaiSheet.h"
#include "footer/FooterModel.h"
#include "footer/FooterRenderer.h"
#include "sheet/Canvas.h"
#include "sheet/PageMetrics.h"

class QPainter;

namespace ulvan {

struct NenkaiSheetInputs {
    DeceasedData Deceased; // the main window's, date of death included
    SheetOptions Options;
    FooterLayout Footer;
    NenkaiChart Chart; // the annual window's title, year of death and rows
};

// The printed chart (`blank`: the printed form only), never with the reading. The footer
// renderer may mark a picture that fails to load in `inputs.Footer`.
void DrawNenkaiPaper(Canvas& canvas, const PageMetrics& page, NenkaiSheetInputs& inputs, bool blank,
                     FooterDrawRequest& request);

// The preview: the dotted border, then the filled chart, with the reading where RubyPrint
// asks for it.
void DrawNenkaiPreview(Canvas& canvas, int previewWidth, int previewHeight,
                       NenkaiSheetInputs& inputs, FooterDrawRequest& request);

// The printed chart on a landscape device, turned to the reading view.
void DrawNenkaiReadingPage(QPainter& painter, int portraitWidth, int portraitHeight,
                           NenkaiSheetInputs& inputs, bool blank, FooterDrawRequest& request);

} // namespace ulvan
