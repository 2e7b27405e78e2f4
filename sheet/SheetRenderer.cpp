#include "sheet/SheetRenderer.h"

#include "sheet/QtText.h"
#include "sheet/SheetArt.h"

#include <QString>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <type_traits>

namespace ulvan {

namespace {

constexpr int kScreenEscapement = 2700;

} // namespace

SheetPictures DefaultSheetPictures() {
    return SheetPictures{&CanopyArt(), &LotusArt()};
}

void DrawSheet(Canvas& canvas, const SheetDescription& sheet, const SheetMapping& mapping,
               const SheetPictures& pictures, const FooterPainter& footer) {
    canvas.SetClearBrush();
    canvas.SetPen(PenSpec{});
    const int escapement = mapping.IsScreen() ? kScreenEscapement : 0;
    // Text that lies wholly outside the page (more than two cells beyond an edge) is not
    // drawn; the device extent in the surface's own orientation.
    const std::int64_t width = mapping.IsScreen() ? mapping.AcrossLength() : mapping.AlongLength();
    const std::int64_t height = mapping.IsScreen() ? mapping.AlongLength() : mapping.AcrossLength();
    std::int64_t cell = 1;
    for (const SheetElement& element : sheet.Elements) {
        std::visit(
            [&](const auto& e) {
                using T = std::decay_t<decltype(e)>;
                if constexpr (std::is_same_v<T, SheetPen>) {
                    PenSpec pen;
                    pen.Width = mapping.PenWidth(e);
                    canvas.SetPen(pen);
                } else if constexpr (std::is_same_v<T, SheetRect>) {
                    const auto [a, b] = mapping.MapRect(e);
                    canvas.Rectangle(a.X, a.Y, b.X, b.Y);
                } else if constexpr (std::is_same_v<T, SheetLine>) {
                    const DevicePoint a = mapping.Map(e.X1, e.Y1);
                    const DevicePoint b = mapping.Map(e.X2, e.Y2);
                    canvas.Line(a.X, a.Y, b.X, b.Y);
                } else if constexpr (std::is_same_v<T, SheetPicture>) {
                    const Picture* upright =
                        e.Kind == SheetPictureKind::Canopy ? pictures.Canopy : pictures.Lotus;
                    if (upright == nullptr) {
                        return;
                    }
                    const auto [a, b] = mapping.MapRect(e.Box);
                    if (mapping.IsScreen()) {
                        canvas.StretchPicture(*upright, a.X, a.Y, b.X, b.Y);
                    } else {
                        const TurnedPicture turned(*upright);
                        canvas.StretchPicture(turned, a.X, a.Y, b.X, b.Y);
                    }
                } else if constexpr (std::is_same_v<T, SheetFont>) {
                    FontSpec font;
                    font.Face = ToQ(e.Face);
                    font.CellHeight = mapping.FontHeight(e);
                    cell = std::max<std::int64_t>(std::abs(std::int64_t{font.CellHeight}), 1);
                    font.Weight = 400;
                    font.Escapement = escapement;
                    canvas.SetFont(font);
                } else if constexpr (std::is_same_v<T, SheetText>) {
                    if (e.Text.empty()) {
                        return;
                    }
                    const DevicePoint p = mapping.Map(e.X, e.Y);
                    const std::int64_t margin = 2 * cell;
                    if (p.X < -margin || p.Y < -margin || p.X > width + margin ||
                        p.Y > height + margin) {
                        return;
                    }
                    canvas.TextOut(p.X, p.Y, ToQ(e.Text));
                } else if constexpr (std::is_same_v<T, SheetFooter>) {
                    if (footer) {
                        footer(canvas, mapping, e);
                    }
                }
            },
            element);
    }
}

void DrawPreviewBorder(Canvas& canvas, int previewWidth, int previewHeight) {
    canvas.SetClearBrush();
    PenSpec pen;
    pen.Colour = PenPurple();
    pen.Style = PenStyle::Dotted;
    pen.Width = 1;
    pen.Mode = PenMode::Copy;
    canvas.SetPen(pen);
    canvas.Rectangle(0, 0, previewWidth, previewHeight);
}

} // namespace ulvan
