#include "sheet/MemorialPage.h"

#include "sheet/MemorialSheet.h"
#include "sheet/SheetLayout.h"
#include "sheet/SheetRenderer.h"

#include <QPainter>

namespace ulvan {

namespace {

FooterPainter FooterFor(FooterLayout& layout, FooterDrawRequest& request) {
    return [&layout, &request](Canvas& canvas, const SheetMapping& mapping, const SheetFooter&) {
        // The footer renderer maps the layout's units onto the same strip itself.
        const FooterTarget target =
            mapping.IsScreen()
                ? FooterTarget::Preview(mapping.AcrossLength(), mapping.AlongLength())
                : FooterTarget::Page(mapping.AlongLength(), mapping.AcrossLength(),
                                     mapping.OffsetX(), mapping.OffsetY());
        DrawFooter(canvas, target, layout, request);
    };
}

} // namespace

void DrawSheetPaper(Canvas& canvas, const PageMetrics& page, const SheetDescription& sheet,
                    FooterLayout& footer, FooterDrawRequest& request) {
    const SheetMapping mapping =
        SheetMapping::Paper(page.Width, page.Height, page.OffsetX, page.OffsetY);
    DrawSheet(canvas, sheet, mapping, DefaultSheetPictures(), FooterFor(footer, request));
}

void DrawSheetPreview(Canvas& canvas, int previewWidth, int previewHeight,
                      const SheetDescription& sheet, FooterLayout& footer,
                      FooterDrawRequest& request) {
    DrawPreviewBorder(canvas, previewWidth, previewHeight);
    const SheetMapping mapping = SheetMapping::Screen(previewWidth, previewHeight);
    DrawSheet(canvas, sheet, mapping, DefaultSheetPictures(), FooterFor(footer, request));
}

void DrawReadingPage(QPainter& painter, int portraitWidth, int portraitHeight,
                     const std::function<void(Canvas&, const PageMetrics&)>& draw) {
    painter.save();
    // Portrait (x, y) lands at (portraitHeight - y, x): the page turned clockwise.
    painter.translate(portraitHeight, 0);
    painter.rotate(90.0);
    QPainterCanvas canvas(painter);
    PageMetrics page;
    page.Width = portraitWidth;
    page.Height = portraitHeight;
    page.PrintableWidth = portraitWidth;
    page.PrintableHeight = portraitHeight;
    draw(canvas, page);
    painter.restore();
}

void DrawMemorialPaper(Canvas& canvas, const PageMetrics& page, MemorialSheetInputs& inputs,
                       bool blank, FooterDrawRequest& request) {
    DrawSheetPaper(canvas, page,
                   BuildMemorialSheet(inputs.Deceased, inputs.Options, inputs.Schedule, blank),
                   inputs.Footer, request);
}

void DrawMemorialPreview(Canvas& canvas, int previewWidth, int previewHeight,
                         MemorialSheetInputs& inputs, FooterDrawRequest& request) {
    DrawSheetPreview(canvas, previewWidth, previewHeight,
                     BuildMemorialSheet(inputs.Deceased, inputs.Options, inputs.Schedule, false),
                     inputs.Footer, request);
}

void DrawMemorialReadingPage(QPainter& painter, int portraitWidth, int portraitHeight,
                             MemorialSheetInputs& inputs, bool blank, FooterDrawRequest& request) {
    DrawReadingPage(painter, portraitWidth, portraitHeight,
                    [&](Canvas& canvas, const PageMetrics& page) {
                        DrawMemorialPaper(canvas, page, inputs, blank, request);
                    });
}

} // namespace ulvan
