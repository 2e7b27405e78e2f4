#include "resources/ToolIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <algorithm>

namespace ulvan {

namespace {

// A small palette shared by all pictures, so that the tool bar reads as one set.
const QColor kOutline(0x30, 0x30, 0x38);
const QColor kPaper(0xff, 0xff, 0xff);
const QColor kPaperShade(0xd8, 0xd8, 0xe0);
const QColor kText(0x70, 0x78, 0x90);
const QColor kFolder(0xf2, 0xc2, 0x3c);
const QColor kFolderDark(0xb8, 0x86, 0x10);
const QColor kGreen(0x1f, 0x9a, 0x3a);
const QColor kBlue(0x2a, 0x5d, 0xc8);
const QColor kRed(0xc8, 0x28, 0x28);
const QColor kGrey(0x9c, 0xa0, 0xa8);
const QColor kGreyDark(0x60, 0x64, 0x6c);
const QColor kPink(0xf0, 0x9c, 0xb4);

// Rectangles are given in pixel cells of the 16 x 16 design: (x, y, w, h) covers w x h cells.
void Fill(QPainter& p, int x, int y, int w, int h, const QColor& colour) {
    p.fillRect(QRect(x, y, w, h), colour);
}

void Frame(QPainter& p, int x, int y, int w, int h, const QColor& fill,
           const QColor& line = kOutline) {
    Fill(p, x, y, w, h, line);
    Fill(p, x + 1, y + 1, w - 2, h - 2, fill);
}

// A sheet of paper with a folded corner; `lines` rows of text when > 0.
void Page(QPainter& p, int x, int y, int w, int h, int lines) {
    const int fold = 4;
    QPolygon outline;
    outline << QPoint(x, y) << QPoint(x + w - 1 - fold, y) << QPoint(x + w - 1, y + fold)
            << QPoint(x + w - 1, y + h - 1) << QPoint(x, y + h - 1);
    p.setPen(Qt::NoPen);
    p.setBrush(kPaper);
    p.drawPolygon(outline);
    p.setPen(kOutline);
    p.setBrush(Qt::NoBrush);
    p.drawPolygon(outline);
    QPolygon ear;
    ear << QPoint(x + w - 1 - fold, y) << QPoint(x + w - 1 - fold, y + fold)
        << QPoint(x + w - 1, y + fold);
    p.setBrush(kPaperShade);
    p.drawPolygon(ear);
    for (int i = 0; i < lines; ++i) {
        const int lineY = y + 4 + 2 * i;
        if (lineY >= y + h - 2) {
            break;
        }
        const int right = (i == 0) ? x + w - 2 - fold : x + w - 3;
        Fill(p, x + 2, lineY, right - (x + 2), 1, kText);
    }
}

// A filled arrow from `from` towards `to`, with its head at `to`.
void Arrow(QPainter& p, QPointF from, QPointF to, const QColor& colour) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    const QLineF shaft(from, to);
    const qreal length = shaft.length();
    const QPointF unit = (to - from) / length;
    const QPointF normal(-unit.y(), unit.x());
    const qreal head = 4.5;
    const QPointF base = to - unit * head;
    QPolygonF shape;
    shape << from + normal * 1.3 << base + normal * 1.3 << base + normal * 3.6 << to
          << base - normal * 3.6 << base - normal * 1.3 << from - normal * 1.3;
    p.setPen(QPen(colour.darker(140), 0.8));
    p.setBrush(colour);
    p.drawPolygon(shape);
    p.restore();
}

void Printer(QPainter& p, bool paperLines) {
    // Paper standing out of the top.
    Frame(p, 4, 1, 8, 6, kPaper);
    if (paperLines) {
        Fill(p, 5, 3, 6, 1, kText);
        Fill(p, 5, 5, 4, 1, kText);
    }
    // Body.
    Frame(p, 1, 6, 14, 7, kGrey, kGreyDark);
    Fill(p, 2, 7, 12, 1, kPaperShade);
    Fill(p, 12, 8, 2, 1, kGreen); // power lamp
    // Paper coming out of the front.
    Frame(p, 4, 11, 8, 4, kPaper);
}

void DrawImport(QPainter& p) {
    // An open folder with a record rising out of it.
    Frame(p, 1, 4, 6, 3, kFolder, kFolderDark);
    Frame(p, 1, 6, 14, 9, kFolder, kFolderDark);
    Fill(p, 2, 7, 12, 1, QColor(0xf9, 0xdc, 0x80));
    Arrow(p, QPointF(8.0, 13.0), QPointF(8.0, 0.5), kGreen);
}

void DrawAppend(QPainter& p) {
    Page(p, 1, 0, 11, 15, 6);
    // A plus: one more record at the end.
    Fill(p, 8, 9, 8, 4, kOutline);
    Fill(p, 10, 7, 4, 8, kOutline);
    Fill(p, 9, 10, 6, 2, kGreen);
    Fill(p, 11, 8, 2, 6, kGreen);
}

void DrawPrint(QPainter& p) {
    Printer(p, true);
}

void DrawPreview(QPainter& p) {
    Page(p, 0, 0, 11, 14, 5);
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    // The lens over the page and its handle.
    p.setPen(QPen(kGreyDark, 2.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(11.2, 11.2), QPointF(14.6, 14.6));
    p.setPen(QPen(kOutline, 1.4));
    p.setBrush(QColor(0xcf, 0xe6, 0xff, 0xd0));
    p.drawEllipse(QPointF(8.5, 8.5), 4.0, 4.0);
    p.restore();
}

void DrawClear(QPainter& p) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    // An eraser lying on its side, over a rubbed-out line.
    p.setPen(QPen(kGreyDark, 1.0));
    p.drawLine(QPointF(1.0, 14.5), QPointF(15.0, 14.5));
    p.translate(8.0, 8.0);
    p.rotate(-40.0);
    const QRectF body(-7.0, -3.5, 14.0, 7.0);
    p.setPen(QPen(kOutline, 1.0));
    p.setBrush(kPink);
    p.drawRect(body);
    p.setBrush(kBlue);
    p.drawRect(QRectF(-7.0, -3.5, 6.0, 7.0));
    p.restore();
}

void DrawAnnualChart(QPainter& p) {
    // A calendar pad: red head, rings, a grid of days.
    Frame(p, 1, 2, 14, 13, kPaper);
    Fill(p, 2, 3, 12, 3, kRed);
    Fill(p, 4, 1, 1, 3, kOutline);
    Fill(p, 11, 1, 1, 3, kOutline);
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 4; ++col) {
            Fill(p, 3 + 3 * col, 7 + 2 * row, 2, 1, row == 2 && col == 3 ? kRed : kText);
        }
    }
}

void DrawQuickTable(QPainter& p) {
    // A ruled table with a blue head row: the years at a glance.
    Frame(p, 0, 1, 16, 14, kPaper);
    Fill(p, 1, 2, 14, 3, kBlue);
    Fill(p, 5, 5, 1, 9, kOutline);
    for (int row = 0; row < 3; ++row) {
        const int y = 7 + 3 * row;
        Fill(p, 1, y + 1, 14, 1, kPaperShade);
        Fill(p, 2, y, 2, 1, kText);
        Fill(p, 7, y, 6 - row, 1, kText);
    }
    // A small clock face in the corner: quick.
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(kOutline, 1.0));
    p.setBrush(QColor(0xff, 0xe0, 0x60));
    p.drawEllipse(QPointF(12.0, 11.5), 3.5, 3.5);
    p.setPen(QPen(kOutline, 1.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(12.0, 11.5), QPointF(12.0, 9.0));
    p.drawLine(QPointF(12.0, 11.5), QPointF(13.8, 11.5));
    p.restore();
}

void DrawDueList(QPainter& p) {
    // A calendar page with its red head and rings, and a list of names with one marked.
    Frame(p, 1, 2, 14, 13, kPaper);
    Fill(p, 2, 3, 12, 3, kRed);
    Fill(p, 4, 1, 1, 3, kOutline);
    Fill(p, 11, 1, 1, 3, kOutline);
    for (int row = 0; row < 3; ++row) {
        const int y = 7 + 2 * row;
        Fill(p, 3, y, 2, 1, row == 1 ? kRed : kText);
        Fill(p, 6, y, 7 - 2 * row, 1, kText);
    }
}

void DrawBlankSheet(QPainter& p) {
    // An empty form: the sheet's frame, nothing written in it.
    Page(p, 2, 0, 12, 16, 0);
    p.setPen(QPen(kPaperShade, 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRect(4, 6, 7, 7));
    Fill(p, 4, 3, 4, 1, kPaperShade);
}

void DrawOpenText(QPainter& p) {
    // An open folder with a page in it.
    Frame(p, 1, 3, 6, 3, kFolder, kFolderDark);
    Page(p, 4, 1, 10, 10, 3);
    Frame(p, 1, 7, 14, 8, kFolder, kFolderDark);
    Fill(p, 2, 8, 12, 1, QColor(0xf9, 0xdc, 0x80));
}

void DrawSaveText(QPainter& p) {
    // A diskette: label on top, shutter below.
    Frame(p, 1, 1, 14, 14, kBlue, kOutline);
    Frame(p, 3, 1, 10, 6, kPaper);
    Fill(p, 4, 3, 8, 1, kText);
    Fill(p, 4, 5, 6, 1, kText);
    Frame(p, 4, 9, 8, 6, kGrey, kGreyDark);
    Fill(p, 9, 10, 2, 4, kGreyDark);
}

void DrawCut(QPainter& p) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    // Scissors, blades up, rings down.
    p.setPen(QPen(kGreyDark, 1.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(4.5, 1.0), QPointF(10.0, 10.0));
    p.drawLine(QPointF(11.5, 1.0), QPointF(6.0, 10.0));
    p.setPen(QPen(kRed, 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(4.5, 12.0), 2.6, 2.6);
    p.drawEllipse(QPointF(11.5, 12.0), 2.6, 2.6);
    p.restore();
}

void DrawCopy(QPainter& p) {
    Page(p, 0, 0, 10, 12, 4);
    Page(p, 6, 4, 10, 12, 4);
}

void DrawPaste(QPainter& p) {
    // A clipboard with a page on it.
    Frame(p, 1, 2, 11, 13, QColor(0xc8, 0x9a, 0x5a), kFolderDark);
    Frame(p, 4, 1, 5, 3, kGrey, kGreyDark);
    Page(p, 6, 5, 10, 11, 4);
}

void DrawDelete(QPainter& p) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(kRed, 3.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(2.5, 2.5), QPointF(13.5, 13.5));
    p.drawLine(QPointF(13.5, 2.5), QPointF(2.5, 13.5));
    p.restore();
}

} // namespace

QImage ToolImage(ToolIconId id, int scale) {
    scale = std::clamp(scale, 1, 8);
    QImage image(kToolIconSize * scale, kToolIconSize * scale, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.scale(scale, scale);
    switch (id) {
    case ToolIconId::Import:
        DrawImport(painter);
        break;
    case ToolIconId::Append:
        DrawAppend(painter);
        break;
    case ToolIconId::Print:
        DrawPrint(painter);
        break;
    case ToolIconId::Preview:
        DrawPreview(painter);
        break;
    case ToolIconId::Clear:
        DrawClear(painter);
        break;
    case ToolIconId::AnnualChart:
        DrawAnnualChart(painter);
        break;
    case ToolIconId::QuickTable:
        DrawQuickTable(painter);
        break;
    case ToolIconId::BlankSheet:
        DrawBlankSheet(painter);
        break;
    case ToolIconId::OpenText:
        DrawOpenText(painter);
        break;
    case ToolIconId::SaveText:
        DrawSaveText(painter);
        break;
    case ToolIconId::Cut:
        DrawCut(painter);
        break;
    case ToolIconId::Copy:
        DrawCopy(painter);
        break;
    case ToolIconId::Paste:
        DrawPaste(painter);
        break;
    case ToolIconId::Delete:
        DrawDelete(painter);
        break;
    case ToolIconId::DueList:
        DrawDueList(painter);
        break;
    }
    return image;
}

QIcon ToolIcon(ToolIconId id) {
    QIcon icon;
    icon.addPixmap(QPixmap::fromImage(ToolImage(id, 1)));
    icon.addPixmap(QPixmap::fromImage(ToolImage(id, 2)));
    return icon;
}

} // namespace ulvan
