#include "sheet/PrinterMetrics.h"

#include "sheet/SheetLayout.h"

#include <QPrinter>

namespace ulvan {

PageMetrics PrinterPageMetrics(const QPrinter& printer) {
    const QRectF paper = printer.paperRect(QPrinter::DevicePixel);
    const QRectF printable = printer.pageRect(QPrinter::DevicePixel);
    PageMetrics page;
    page.Width = SheetRound(paper.width());
    page.Height = SheetRound(paper.height());
    page.OffsetX = SheetRound(printable.left() - paper.left());
    page.OffsetY = SheetRound(printable.top() - paper.top());
    page.PrintableWidth = SheetRound(printable.width());
    page.PrintableHeight = SheetRound(printable.height());
    return page;
}

} // namespace ulvan
