// The printed sheets as one description of their elements, independent of where they are
// drawn. A builder (the memorial sheet, the annual chart) lists the elements in drawing
// order with their positions as fractions of the paper; a SheetMapping turns a position into
// device units either for the printer page (portrait, less the printer's offsets) or for the
// preview's screen (the page turned into the reading view). The renderer walks the list once
// for either target, so the paper and the screen can never drift apart.
//
// Coordinates: on the paper, fx runs left to right (the reader's downward direction) and fy
// top to bottom (the reader's right to left). The screen shows the page turned a quarter turn
// clockwise: a paper point (fx, fy) lands at x = rnd((1 - fy) * width), y = rnd(fx * height).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace ulvan {

// Rounding to the nearest integer, halves to the even neighbour, clamped to the 32-bit range
// (a NaN gives 0), so any product of a fraction and a page size has a defined result.
std::int32_t SheetRound(double value);

// A position along fx. The rounding is part of the position: a spread or fixed-pitch run
// rounds its start and its pitch separately, a cell run rounds every cell on its own.
struct AlongPos {
    enum class Mode {
        Point,  // rnd(Start * L)
        Cell,   // rnd((Start + Step * Index) * L)
        Spread, // rnd(Start * L) + Index * rnd(Step * L / (Count - 1)); pitch 0 when Count < 2
        Pitch,  // rnd(Start * L) + Index * rnd(Step * L)
    };
    Mode How = Mode::Point;
    double Start = 0.0;
    double Step = 0.0; // Cell: cell step; Spread: the span; Pitch: the pitch
    std::int64_t Index = 0;
    std::int64_t Count = 0;

    friend bool operator==(const AlongPos&, const AlongPos&) = default;
};

// A position along fy: Base ten-thousandths of the paper height plus Index * StepNum /
// StepDen. Kept as an exact decimal so that the screen's complement 1 - fy is the exact
// decimal too (0.0707 on paper is 0.9293 on the screen, not 1 - 0.0707 in binary).
struct AcrossPos {
    std::int32_t Base = 0;
    double StepNum = 0.0;
    double StepDen = 1.0;
    std::int32_t Index = 0;

    friend bool operator==(const AcrossPos&, const AcrossPos&) = default;
};

inline AcrossPos Across(std::int32_t base) {
    return AcrossPos{base, 0.0, 1.0, 0};
}
inline AlongPos Along(double start) {
    return AlongPos{AlongPos::Mode::Point, start, 0.0, 0, 0};
}

// Black solid pen: width rnd(Num * L / Den) + Extra, where L is the along-length (the paper
// width; the screen page height), plus ScreenExtra on the screen only.
struct SheetPen {
    double Num = 0.0;
    double Den = 1.0;
    std::int32_t Extra = 0;
    std::int32_t ScreenExtra = 0;

    friend bool operator==(const SheetPen&, const SheetPen&) = default;
};

struct SheetRect {
    AlongPos X1;
    AcrossPos Y1;
    AlongPos X2;
    AcrossPos Y2;

    friend bool operator==(const SheetRect&, const SheetRect&) = default;
};

struct SheetLine {
    AlongPos X1;
    AcrossPos Y1;
    AlongPos X2;
    AcrossPos Y2;

    friend bool operator==(const SheetLine&, const SheetLine&) = default;
};

enum class SheetPictureKind { Canopy, Lotus };

// A picture stretched into a rectangle; on the paper it stands turned for the reading view.
struct SheetPicture {
    SheetPictureKind Kind = SheetPictureKind::Canopy;
    SheetRect Box;

    friend bool operator==(const SheetPicture&, const SheetPicture&) = default;
};

// A vertical font: Face is the "@" face name; the cell height is rnd(Height * L) where L is
// the across-length (the paper height; the screen page width). Normal weight always.
struct SheetFont {
    std::u16string Face;
    double Height = 0.0;

    friend bool operator==(const SheetFont&, const SheetFont&) = default;
};

// One text output: a single character of a placed text, or a run (the age).
struct SheetText {
    std::u16string Text;
    AlongPos X;
    AcrossPos Y;

    friend bool operator==(const SheetText&, const SheetText&) = default;
};

// The footer area: fx From.. To along, fy Top..Bottom across (ten-thousandths). The footer
// renderer maps the layout's units into it; the font is undefined after it.
struct SheetFooter {
    double FromX = 0.0;
    double ToX = 0.0;
    std::int32_t FromY = 0;
    std::int32_t ToY = 0;

    friend bool operator==(const SheetFooter&, const SheetFooter&) = default;
};

using SheetElement =
    std::variant<SheetPen, SheetRect, SheetLine, SheetPicture, SheetFont, SheetText, SheetFooter>;

struct SheetDescription {
    std::vector<SheetElement> Elements;
};

// Helpers for builders. Each appends one SheetText per character (code point; an unpaired
// surrogate is a character of its own); U+3000 blanks are kept, they draw nothing. Cell and
// pitch runs stop at characters that would start beyond twice the page length: those can show
// on no target, and an overlong text must not cost unbounded time.
// Spread: n = CharCount(text), start fx0, span s.
void AddSpread(SheetDescription& sheet, std::u16string_view text, double fx0, double span,
               AcrossPos fy);
// Cell: character k at rnd((fx0 + step * (k - 1)) * L).
void AddCells(SheetDescription& sheet, std::u16string_view text, double fx0, double step,
              AcrossPos fy);
// Fixed pitch: character k at rnd(fx0 * L) + (k - 1) * rnd(pitch * L).
void AddPitched(SheetDescription& sheet, std::u16string_view text, double fx0, double pitch,
                AcrossPos fy);

// The characters of a text: code points, an unpaired surrogate on its own.
std::vector<std::u16string_view> SplitCharacters(std::u16string_view text);

// `text` with U+3000 in front up to `width` characters; longer texts unchanged.
std::u16string PadFront(std::u16string_view text, std::size_t width);

struct DevicePoint {
    std::int32_t X = 0;
    std::int32_t Y = 0;

    friend bool operator==(const DevicePoint&, const DevicePoint&) = default;
};

// Turns sheet positions into device units of one target.
class SheetMapping {
public:
    // The printer page: physical width and height, physical offsets of the printable area.
    static SheetMapping Paper(std::int32_t width, std::int32_t height, std::int32_t offX,
                              std::int32_t offY);
    // The preview: the page drawn PreviewWidth x PreviewHeight in the reading view.
    static SheetMapping Screen(std::int32_t previewWidth, std::int32_t previewHeight);

    bool IsScreen() const { return m_screen; }
    // Device point of a sheet position.
    DevicePoint Map(const AlongPos& x, const AcrossPos& y) const;
    // Device value of a position on one axis (paper x resp. y; screen y resp. x), offsets
    // included.
    std::int64_t AlongValue(const AlongPos& x) const;
    std::int64_t AcrossValue(const AcrossPos& y) const;
    // Device corners of a rectangle, ordered so that (X1, Y1) is the top-left corner.
    std::pair<DevicePoint, DevicePoint> MapRect(const SheetRect& rect) const;
    std::int32_t PenWidth(const SheetPen& pen) const;
    std::int32_t FontHeight(const SheetFont& font) const;
    // The lengths the fractions refer to: along = paper width or screen height, across =
    // paper height or screen width.
    std::int32_t AlongLength() const { return m_along; }
    std::int32_t AcrossLength() const { return m_across; }
    // The printer's physical offsets (0 on the screen).
    std::int32_t OffsetX() const { return m_offX; }
    std::int32_t OffsetY() const { return m_offY; }

private:
    bool m_screen = false;
    std::int32_t m_along = 0;
    std::int32_t m_across = 0;
    std::int32_t m_offX = 0;
    std::int32_t m_offY = 0;
};

} // namespace ulvan
