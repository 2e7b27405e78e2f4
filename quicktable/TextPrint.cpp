#include "quicktable/TextPrint.h"

#include <QFont>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrinter>
#include <QTextLayout>

#include <functional>

namespace ulvan {

namespace {

// Lays the text out in lines of the printable width and hands each line, with its page
// index and its top on that page, to `place`. Returns the number of pages used (at least 1).
int LayOut(const QString& text, const QFont& font, QPagedPaintDevice& device,
           const std::function<bool(const QTextLine&, int page, qreal top)>& place) {
    const QRectF area = device.pageLayout().paintRectPixels(device.logicalDpiX()).toRectF();
    const qreal width = area.width();
    const qreal height = area.height();
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    int page = 0;
    qreal y = 0;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (const QString& paragraph : lines) {
        QTextLayout layout(paragraph, font, &device);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            line.setPosition(QPointF(0, 0));
            // A line that does not fit below the last one starts a new page; a page always
            // takes at least one line, however tall.
            if (y > 0 && y + line.height() > height) {
                ++page;
                y = 0;
            }
            if (!place(line, page, y)) {
                layout.endLayout();
                return -1;
            }
            y += line.height();
        }
        layout.endLayout();
    }
    return page + 1;
}

} // namespace

TextPrintResult PrintPlainText(const QString& text, const QFont& font, QPagedPaintDevice& device) {
    QPainter painter;
    if (!painter.begin(&device))
        return TextPrintResult::NotStarted;
    painter.setFont(font);
    painter.setPen(Qt::black);
    // A printer left in full-page mode paints from the paper's corner: the text still starts
    // at the corner of the printable area.
    if (auto* printer = dynamic_cast<QPrinter*>(&device); printer != nullptr && printer->fullPage())
        painter.translate(printer->pageLayout().paintRectPixels(printer->resolution()).topLeft());
    int current = 0;
    const int pages = LayOut(text, font, device, [&](const QTextLine& line, int page, qreal top) {
        if (page != current) {
            if (!device.newPage())
                return false;
            current = page;
        }
        line.draw(&painter, QPointF(0, top));
        return true;
    });
    const bool ended = painter.end();
    const auto* printer = dynamic_cast<QPrinter*>(&device);
    if (pages < 0 || !ended || (printer != nullptr && printer->printerState() == QPrinter::Error))
        return TextPrintResult::Broken;
    return TextPrintResult::Printed;
}

} // namespace ulvan
