// Windows metafiles (Enhanced Metafiles and the older Windows Metafiles, with or without the
// placeable header) read record by record, for the footer's vector pictures.
//
// The reader keeps the drawing state a metafile changes as it plays (mapping mode, window and
// viewport, world transform, saved states, the object table with pens, brushes and fonts,
// text colour and alignment, the path being built, fill mode, clip) and hands each drawing
// to a MetafileSink as a final call in picture coordinates: outlines already turned into
// paths, the transforms applied, bitmaps decoded. The sink only draws.
//
// Picture files are hostile input. Every size, count and offset is checked against the
// record and the file before anything is read; counts are multiplied in 64 bits; the limits
// below bound the work and memory one picture may take; coordinates handed to the sink are
// finite and clamped near the picture; nothing recurses on input. A record that does not fit
// ends the playback (what was drawn stays) and the playback reports failure. A record of a
// kind the reader does not know, or cannot draw (EMF+ comments among them), is skipped.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace ulvan {

// Limits of one picture.
inline constexpr std::size_t kMaxMetafileBytes = std::size_t{64} * 1024 * 1024;
inline constexpr std::size_t kMaxMetafileRecords = 1'000'000;
inline constexpr std::size_t kMaxMetafileObjects = 65'535; // object table entries
inline constexpr std::size_t kMaxMetafileSaveDepth = 256;  // saved states
inline constexpr std::size_t kMaxMetafilePolygonPoints = 1'000'000;
inline constexpr std::size_t kMaxMetafilePathElements = 2'000'000;
inline constexpr std::size_t kMaxMetafileClipSteps = 64; // clip changes since the last reset
inline constexpr std::size_t kMaxMetafileRegionRects = 10'000;
inline constexpr std::size_t kMaxMetafileClipPoints = 100'000; // all steps of one clip together
inline constexpr std::size_t kMaxMetafileTextUnits = 65'536;   // characters of one text
// Points one picture may hand to the sink in all, clip changes and saved clips included (a
// character counts as kMetafileTextCharacterPoints): what bounds the drawing work.
inline constexpr std::size_t kMetafileTextCharacterPoints = 16;
inline constexpr std::size_t kMaxMetafileOutputPoints = 20'000'000;
// Embedded bitmaps: the same limits as the other footer pictures (checked to agree where
// both are known), and all bitmaps of one picture together.
inline constexpr std::int64_t kMaxMetafileBitmapPixels = 40'000'000;
inline constexpr int kMaxMetafileBitmapSide = 20'000;
inline constexpr std::int64_t kMaxMetafileBitmapPixelsTotal = 4 * kMaxMetafileBitmapPixels;

enum class MetafileFormat { Emf, Wmf };

struct MetafilePoint {
    double X = 0;
    double Y = 0;
    friend bool operator==(const MetafilePoint&, const MetafilePoint&) = default;
};

// The picture's own size and the rectangle of picture coordinates it covers.
struct MetafileInfo {
    MetafileFormat Format = MetafileFormat::Emf;
    double WidthMm = 0; // the picture's own size in millimetres (both > 0)
    double HeightMm = 0;
    // The rectangle of picture coordinates the picture covers (Right > Left, Bottom > Top),
    // y down: what is stretched over the target.
    double Left = 0;
    double Top = 0;
    double Right = 0;
    double Bottom = 0;
};

// An outline in picture coordinates: figures of lines and cubic Béziers.
struct MetafilePath {
    enum class Op : std::uint8_t { MoveTo, LineTo, CubicTo, Close };
    std::vector<Op> Ops; // CubicTo takes three points, Close none, others one
    std::vector<MetafilePoint> Points;
    bool Empty() const { return Ops.empty(); }
};

// Colours as 0xRRGGBB.
struct MetafilePen {
    enum class Line : std::uint8_t { Solid, Dash, Dot, DashDot, DashDotDot, Null };
    enum class CapStyle : std::uint8_t { Round, Square, Flat };
    enum class JoinStyle : std::uint8_t { Round, Bevel, Miter };
    Line Style = Line::Solid;
    CapStyle Cap = CapStyle::Round;
    JoinStyle Join = JoinStyle::Round;
    double Width = 0; // picture units; 0 draws the thinnest line (one pixel of the picture)
    std::uint32_t Color = 0;
};

struct MetafileBrush {
    enum class Fill : std::uint8_t { Solid, Null, Hatched };
    enum class HatchKind : std::uint8_t {
        Horizontal,
        Vertical,
        ForwardDiagonal,
        BackwardDiagonal,
        Cross,
        DiagonalCross
    };
    Fill Style = Fill::Solid;
    HatchKind Hatch = HatchKind::Horizontal;
    std::uint32_t Color = 0xFFFFFF;
    std::uint32_t Background = 0xFFFFFF; // behind a hatch when the background is opaque
    bool OpaqueBackground = false;
};

enum class MetafileFillRule { Alternate, Winding };

struct MetafileFont {
    std::u16string Face;
    double Height = 12;      // character height in the text's own units (see MetafileText), > 0
    bool CellHeight = false; // Height includes the internal leading (a positive font height)
    int Weight = 400;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
};

// One run of text. The text's own units have x along the baseline and y down; `Axes` maps
// them into picture coordinates at `Origin`: a picture point is Origin + x * XAxis + y * YAxis.
struct MetafileText {
    std::u16string Text;
    MetafilePoint Origin;
    MetafilePoint XAxis{1, 0};
    MetafilePoint YAxis{0, 1};
    MetafileFont Font;
    std::uint32_t Color = 0;
    enum class HAlign : std::uint8_t { Left, Center, Right };
    enum class VAlign : std::uint8_t { Top, Baseline, Bottom };
    HAlign Horizontal = HAlign::Left;
    VAlign Vertical = VAlign::Top;
    // Where each character starts, in the text's own units along the baseline (empty: the
    // font's own advances). One entry per UTF-16 unit.
    std::vector<double> Positions;
};

// A decoded bitmap: Width x Height pixels 0xAARRGGBB, rows top first, stretched over the
// parallelogram with corners TopLeft, TopRight and BottomLeft (picture coordinates).
struct MetafileBitmap {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint32_t> Pixels;
    MetafilePoint TopLeft;
    MetafilePoint TopRight;
    MetafilePoint BottomLeft;
    bool Smooth = false; // stretched with averaging (the halftone stretch mode), else nearest
};

// One change of the clip since it was last reset: the clip becomes the previous clip combined
// with `Area` (filled with the winding rule).
struct MetafileClipStep {
    enum class Combine : std::uint8_t { Intersect, Unite, Exclude, Xor, Replace };
    Combine Mode = Combine::Intersect;
    MetafilePath Area;
};

// What the picture draws, in order. Points are finite and within the reader's clamp.
class MetafileSink {
public:
    virtual ~MetafileSink() = default;
    // `pen` null: no outline; `brush` null: no fill.
    virtual void DrawPath(const MetafilePath& path, const MetafilePen* pen,
                          const MetafileBrush* brush, MetafileFillRule rule) = 0;
    virtual void DrawText(const MetafileText& text) = 0;
    virtual void DrawBitmap(const MetafileBitmap& bitmap) = 0;
    // The whole clip: no step is no clip. At most kMaxMetafileClipSteps steps holding at most
    // kMaxMetafileClipPoints points.
    virtual void SetClip(const std::vector<MetafileClipStep>& steps) = 0;
    // True when the sink has done all the work it takes from one picture: the playback ends
    // there, as at a limit of the reader's.
    virtual bool Exhausted() const { return false; }
};

// The picture's size and covered rectangle, nullopt when `bytes` is not an EMF or WMF whose
// header holds (or is larger than kMaxMetafileBytes).
std::optional<MetafileInfo> ReadMetafileInfo(std::span<const std::uint8_t> bytes);

// Plays the picture onto `sink`. True when every record up to the end record fitted; false
// when the header does not hold, a record did not fit or a limit was reached (what was
// handed to the sink until then stays drawn).
bool PlayMetafile(std::span<const std::uint8_t> bytes, MetafileSink& sink);

} // namespace ulvan
