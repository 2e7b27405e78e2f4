#include "records/DuePrint.h"

#include "sheet/QtText.h"
#include "ui/DialogSupport.h"

#include <QPagedPaintDevice>
#include <QPainter>

#include <array>
#include <vector>

namespace ulvan {
namespace {

// Relative column widths: memorial, year, era year, kaimyo, reading, secular name, death in
// both calendars, age.
constexpr std::array<int, kDueColumnCount> kWeights{9, 6, 11, 20, 16, 13, 13, 13, 5};
constexpr double kBodyPoints = 9.0;
constexpr double kHeadingPoints = 12.0;

struct Layout {
    QRectF Page;
    std::array<QRectF, kDueColumnCount> Columns; // x and width only
    double Pad = 0;
};

double RowHeight(QPainter& painter, const Layout& layout, const DueRow& row) {
    double height = painter.fontMetrics().height();
    for (std::size_t i = 0; i < row.size(); ++i) {
        const QRectF cell(0, 0, layout.Columns[i].width() - 2 * layout.Pad, 1e6);
        const QRectF needed = painter.boundingRect(cell, Qt::TextWrapAnywhere, ToQ(row[i]));
        height = std::max(height, needed.height());
    }
    return height + 2 * layout.Pad;
}

void PaintRow(QPainter& painter, const Layout& layout, const DueRow& row, double top, double height,
              bool header) {
    for (std::size_t i = 0; i < row.size(); ++i) {
        const QRectF cell(layout.Columns[i].left(), top, layout.Columns[i].width(), height);
        if (header)
            painter.fillRect(cell, QColor(230, 230, 230));
        painter.drawRect(cell);
        painter.drawText(cell.adjusted(layout.Pad, layout.Pad, -layout.Pad, -layout.Pad),
                         Qt::TextWrapAnywhere | Qt::AlignLeft | Qt::AlignVCenter, ToQ(row[i]));
    }
}

} // namespace

DuePrintResult PaintDueList(QPagedPaintDevice& device, const QString& heading,
                            const DueList& list) {
    DuePrintResult result;
    QPainter painter;
    if (!painter.begin(&device))
        return result;
    const double dpi = device.logicalDpiY();
    Layout layout;
    layout.Page = QRectF(0, 0, device.width(), device.height());
    layout.Pad = dpi * 0.03;
    int total = 0;
    for (const int weight : kWeights)
        total += weight;
    double x = layout.Page.left();
    for (std::size_t i = 0; i < kWeights.size(); ++i) {
        const double width = layout.Page.width() * kWeights[i] / total;
        layout.Columns[i] = QRectF(x, 0, width, 0);
        x += width;
    }
    QFont body = UiFont(ToQ(kGothic), 12);
    body.setPointSizeF(kBodyPoints);
    QFont title = body;
    title.setPointSizeF(kHeadingPoints);
    title.setBold(true);
    painter.setPen(QPen(Qt::black, dpi / 144.0));

    std::vector<DueRow> rows;
    rows.reserve(list.Due.size() + list.Undated.size());
    for (const DueEntry& entry : list.Due)
        rows.push_back(DueRowOf(entry));
    for (const UndatedEntry& entry : list.Undated)
        rows.push_back(UndatedRowOf(entry));

    std::size_t next = 0;
    int page = 0;
    do {
        if (page > 0 && !device.newPage()) {
            painter.end();
            return result;
        }
        ++page;
        painter.setFont(title);
        const double headingHeight = painter.fontMetrics().height() * 1.6;
        const QString pageHeading = heading + QStringLiteral("　（%1ページ）").arg(page);
        painter.drawText(
            QRectF(layout.Page.left(), layout.Page.top(), layout.Page.width(), headingHeight),
            Qt::AlignLeft | Qt::AlignTop | Qt::TextWrapAnywhere, pageHeading);
        painter.setFont(body);
        double top = layout.Page.top() + headingHeight;
        const double headerHeight = RowHeight(painter, layout, DueHeader());
        PaintRow(painter, layout, DueHeader(), top, headerHeight, true);
        top += headerHeight;
        bool placed = false;
        while (next < rows.size()) {
            double height = RowHeight(painter, layout, rows[next]);
            const double room = layout.Page.bottom() - top;
            if (height > room) {
                // A row taller than a whole page is drawn clipped on a page of its own rather
                // than pushing pages forever.
                if (placed)
                    break;
                height = room;
            }
            PaintRow(painter, layout, rows[next], top, height, false);
            top += height;
            placed = true;
            ++next;
        }
        if (next < rows.size() && !placed)
            ++next;
    } while (next < rows.size());
    result.Ok = painter.end();
    result.Pages = page;
    return result;
}

} // namespace ulvan
