// The geometry of editing the footer layout with the mouse, in pixels of the editor's drawing
// area (W x H): which frame a point hits, which handle of a frame lies under the mouse, and
// what one step of moving or resizing makes of a frame's rectangle.
//
// Used by the footer editor window; kept free of any window so that the rules can be tested
// and measured alone. Nothing here changes a layout except StoreFrameRect and AppendBandFrame.
#pragma once

#include "footer/FooterModel.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace ulvan {

// A frame's rectangle in editor pixels.
struct PixelRect {
    std::int64_t Left = 0, Top = 0, Right = 0, Bottom = 0;

    std::int64_t Width() const { return Right - Left; }
    std::int64_t Height() const { return Bottom - Top; }
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

struct PixelPoint {
    std::int64_t X = 0, Y = 0;
    friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

// The handles of a selected frame, in the order in which they are tested (a later one wins).
enum class FrameHandle : int {
    TopLeft = 0,
    TopRight = 1,
    BottomRight = 2,
    BottomLeft = 3,
    Top = 4,
    Right = 5,
    Bottom = 6,
    Left = 7,
    Interior = 8, // moving the whole frame
};
inline constexpr int kFrameHandleCount = 9;

// A handle reacts within this many pixels of its point, in each direction, borders included.
inline constexpr int kHandleReach = 2;
// Handles are offered only on frames at least this many pixels wide and high.
inline constexpr int kHandleMinSize = 5;
// Moving and resizing never leave a frame narrower or lower than this; a band narrower and
// lower than this makes no frame.
inline constexpr int kMinFramePixels = 10;

// The frame's rectangle in pixels; nullopt when a rectangle field is not a number.
std::optional<PixelRect> FramePixels(const FooterLayout& layout, std::size_t frame, int width,
                                     int height);

// The eight handle points of a frame (types 0 to 7): the corners and the edge middles, the
// middles computed from the stored units. Nullopt when the rectangle is not a number.
std::optional<std::array<PixelPoint, 8>> HandlePoints(const FooterLayout& layout, std::size_t frame,
                                                      int width, int height);

// The handle of the frame under (x, y): every handle that contains the point counts, a later
// one winning; nullopt when none does, when the frame is smaller than 5 x 5 pixels, or when
// its rectangle is not a number.
std::optional<FrameHandle> HandleAt(const FooterLayout& layout, std::size_t frame, PixelPoint point,
                                    int width, int height);

// The last frame (the one drawn on top) whose rectangle holds the point, compared in layout
// units; frames without a numeric rectangle cannot be hit.
std::optional<std::size_t> HitFrame(const FooterLayout& layout, PixelPoint point, int width,
                                    int height);

// One step of dragging `handle` of a frame at `rect` to `mouse`, the previous accepted point
// being `last`. Nullopt when the result would be narrower or lower than 10 pixels: the frame
// then stays as it is. Nothing flips or clamps the rectangle.
std::optional<PixelRect> DragFrameStep(const PixelRect& rect, FrameHandle handle, PixelPoint mouse,
                                       PixelPoint last);

// Writes a pixel rectangle into the frame's four edges, in layout units.
void StoreFrameRect(FooterLayout& layout, std::size_t frame, const PixelRect& rect, int width,
                    int height);

// Whether a rubber band from `start` to `end` makes a frame: at least 10 pixels wide or high.
bool BandMakesFrame(PixelPoint start, PixelPoint end);
// The normalised rectangle a band spans.
PixelRect BandRect(PixelPoint start, PixelPoint end);
// Appends the frame a band makes (its other six fields empty); returns its index.
std::size_t AppendBandFrame(FooterLayout& layout, PixelPoint start, PixelPoint end, int width,
                            int height);

} // namespace ulvan
