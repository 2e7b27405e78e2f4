#include "annual/NenkaiPage.h"

#include "sheet/MemorialPage.h"

namespace ulvan {

void DrawNenkaiPaper(Canvas& canvas, const PageMetrics& page, NenkaiSheetInputs& inputs, bool blank,
                     FooterDrawRequest& request) {
    DrawSheetPaper(canvas, page,
                   BuildNenkaiSheet(inputs.Deceased, inputs.Options, inputs.Chart, blank, false),
                   inputs.Footer, request);
}

void DrawNenkaiPreview(Canvas& canvas, int previewWidth, int previewHeight,
                       NenkaiSheetInputs& inputs, FooterDrawRequest& request) {
    DrawSheetPreview(canvas, previewWidth, previewHeight,
                     BuildNenkaiSheet(inputs.Deceased, inputs.Options, inputs.Chart, false, true),
                     inputs.Footer, request);
}

void DrawNenkaiReadingPage(QPainter& painter, int portraitWidth, int portraitHeight,
                           NenkaiSheetInputs& inputs, bool blank, FooterDrawRequest& request) {
    DrawReadingPage(painter, portraitWidth, portraitHeight,
                    [&](Canvas& canvas, const PageMetrics& page) {
                        DrawNenkaiPaper(canvas, page, inputs, blank, request);
                    });
}

} // namespace ulvan
