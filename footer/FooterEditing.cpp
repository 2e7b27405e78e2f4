#include "footer/FooterEditing.h"

#include "calendar/TextUtil.h"

#include <algorithm>
#include <limits>

namespace ulvan {

namespace {

constexpr double kUnits = 10000.0;

// Pixel arithmetic on values read from a hand-editable store: saturate instead of overflow.
std::int64_t Add(std::int64_t a, std::int64_t b) {
    std::int64_t r = 0;
    if (__builtin_add_overflow(a, b, &r)) {
        return b < 0 ? std::numeric_limits<std::int64_t>::min()
                     : std::numeric_limits<std::int64_t>::max();
    }
    return r;
}

std::int64_t Sub(std::int64_t a, std::int64_t b) {
    std::int64_t r = 0;
    if (__builtin_sub_overflow(a, b, &r)) {
        return b > 0 ? std::numeric_limits<std::int64_t>::min()
                     : std::numeric_limits<std::int64_t>::max();
    }
    return r;
}

bool Near(PixelPoint handle, PixelPoint point) {
    return Sub(point.X, handle.X) >= -kHandleReach && Sub(point.X, handle.X) <= kHandleReach &&
           Sub(point.Y, handle.Y) >= -kHandleReach && Sub(point.Y, handle.Y) <= kHandleReach;
}

struct Units {
    std::int32_t Left, Top, Right, Bottom;
};

std::optional<Units> FrameUnits(const FooterLayout& layout, std::size_t frame) {
    if (frame >= layout.FrameCount()) {
        return std::nullopt;
    }
    const auto left = FooterNumber(layout, frame, FooterField::Left);
    const auto top = FooterNumber(layout, frame, FooterField::Top);
    const auto right = FooterNumber(layout, frame, FooterField::Right);
    const auto bottom = FooterNumber(layout, frame, FooterField::Bottom);
    if (!left || !top || !right || !bottom) {
        return std::nullopt;
    }
    return Units{*left, *top, *right, *bottom};
}

} // namespace

std::optional<PixelRect> FramePixels(const FooterLayout& layout, std::size_t frame, int width,
                                     int height) {
    const auto units = FrameUnits(layout, frame);
    if (!units) {
        return std::nullopt;
    }
    return PixelRect{
        FooterUnitsToPixels(units->Left, width), FooterUnitsToPixels(units->Top, height),
        FooterUnitsToPixels(units->Right, width), FooterUnitsToPixels(units->Bottom, height)};
}

std::optional<std::array<PixelPoint, 8>> HandlePoints(const FooterLayout& layout, std::size_t frame,
                                                      int width, int height) {
    const auto units = FrameUnits(layout, frame);
    if (!units) {
        return std::nullopt;
    }
    const PixelRect r = *FramePixels(layout, frame, width, height);
    // The middles come from the stored units, not from the rounded pixel corners.
    const double midUnitsX = (static_cast<double>(units->Left) + units->Right) / (2 * kUnits);
    const double midUnitsY = (static_cast<double>(units->Top) + units->Bottom) / (2 * kUnits);
    const std::int64_t mx = RoundHalfEven(midUnitsX * width);
    const std::int64_t my = RoundHalfEven(midUnitsY * height);
    return std::array<PixelPoint, 8>{{
        {r.Left, r.Top},
        {r.Right, r.Top},
        {r.Right, r.Bottom},
        {r.Left, r.Bottom},
        {mx, r.Top},
        {r.Right, my},
        {mx, r.Bottom},
        {r.Left, my},
    }};
}

std::optional<FrameHandle> HandleAt(const FooterLayout& layout, std::size_t frame, PixelPoint point,
                                    int width, int height) {
    const auto rect = FramePixels(layout, frame, width, height);
    if (!rect || rect->Width() < kHandleMinSize || rect->Height() < kHandleMinSize) {
        return std::nullopt;
    }
    const auto points = *HandlePoints(layout, frame, width, height);
    std::optional<FrameHandle> found;
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (Near(points[i], point)) {
            found = static_cast<FrameHandle>(i);
        }
    }
    if (point.X >= Add(rect->Left, kHandleReach) && point.X <= Sub(rect->Right, kHandleReach) &&
        point.Y >= Add(rect->Top, kHandleReach) && point.Y <= Sub(rect->Bottom, kHandleReach)) {
        found = FrameHandle::Interior;
    }
    return found;
}

std::optional<std::size_t> HitFrame(const FooterLayout& layout, PixelPoint point, int width,
                                    int height) {
    const std::int32_t px = FooterPixelsToUnits(point.X, width);
    const std::int32_t py = FooterPixelsToUnits(point.Y, height);
    for (std::size_t frame = layout.FrameCount(); frame-- > 0;) {
        const auto units = FrameUnits(layout, frame);
        if (units && units->Left <= px && px <= units->Right && units->Top <= py &&
            py <= units->Bottom) {
            return frame;
        }
    }
    return std::nullopt;
}

std::optional<PixelRect> DragFrameStep(const PixelRect& rect, FrameHandle handle, PixelPoint mouse,
                                       PixelPoint last) {
    PixelRect r = rect;
    switch (handle) {
    case FrameHandle::TopLeft:
        r.Left = mouse.X, r.Top = mouse.Y;
        break;
    case FrameHandle::TopRight:
        r.Right = mouse.X, r.Top = mouse.Y;
        break;
    case FrameHandle::BottomRight:
        r.Right = mouse.X, r.Bottom = mouse.Y;
        break;
    case FrameHandle::BottomLeft:
        r.Left = mouse.X, r.Bottom = mouse.Y;
        break;
    case FrameHandle::Top:
        r.Top = mouse.Y;
        break;
    case FrameHandle::Right:
        r.Right = mouse.X;
        break;
    case FrameHandle::Bottom:
        r.Bottom = mouse.Y;
        break;
    case FrameHandle::Left:
        r.Left = mouse.X;
        break;
    case FrameHandle::Interior: {
        const std::int64_t dx = Sub(mouse.X, last.X);
        const std::int64_t dy = Sub(mouse.Y, last.Y);
        r.Left = Add(r.Left, dx), r.Right = Add(r.Right, dx);
        r.Top = Add(r.Top, dy), r.Bottom = Add(r.Bottom, dy);
        break;
    }
    }
    if (Sub(r.Right, r.Left) < kMinFramePixels || Sub(r.Bottom, r.Top) < kMinFramePixels) {
        return std::nullopt;
    }
    return r;
}

void StoreFrameRect(FooterLayout& layout, std::size_t frame, const PixelRect& rect, int width,
                    int height) {
    if (frame >= layout.FrameCount()) {
        return;
    }
    layout.SetField(frame, FooterField::Left, DecimalText(FooterPixelsToUnits(rect.Left, width)));
    layout.SetField(frame, FooterField::Top, DecimalText(FooterPixelsToUnits(rect.Top, height)));
    layout.SetField(frame, FooterField::Right, DecimalText(FooterPixelsToUnits(rect.Right, width)));
    layout.SetField(frame, FooterField::Bottom,
                    DecimalText(FooterPixelsToUnits(rect.Bottom, height)));
}

bool BandMakesFrame(PixelPoint start, PixelPoint end) {
    const PixelRect r = BandRect(start, end);
    return r.Width() >= kMinFramePixels || r.Height() >= kMinFramePixels;
}

PixelRect BandRect(PixelPoint start, PixelPoint end) {
    return PixelRect{std::min(start.X, end.X), std::min(start.Y, end.Y), std::max(start.X, end.X),
                     std::max(start.Y, end.Y)};
}

std::size_t AppendBandFrame(FooterLayout& layout, PixelPoint start, PixelPoint end, int width,
                            int height) {
    layout.Append(FooterFrame{});
    const std::size_t frame = layout.FrameCount() - 1;
    StoreFrameRect(layout, frame, BandRect(start, end), width, height);
    return frame;
}

} // namespace ulvan
