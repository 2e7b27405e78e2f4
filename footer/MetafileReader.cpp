#include "footer/MetafileReader.h"

#include "records/Cp932.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <functional>
#include <queue>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace ulvan {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kMmPerInch = 25.4;
constexpr double kScreenDpi = 96.0;
// The largest picture side the header may declare.
constexpr double kMaxSideMm = 10'000.0;
// How far outside its own rectangle a picture may draw (in picture sizes).
constexpr double kClampMargin = 16.0;
// Largest factor of a world transform, and the smallest non-zero one.
constexpr double kMaxTransformFactor = 1e6;

// ---------------------------------------------------------------------------------------------
// Reading

// A record's bytes. Every read is checked; a read outside marks the record bad and yields 0,
// and a bad record ends the playback.
class Record {
public:
    Record(const std::uint8_t* data, std::size_t size)
        : m_data(data)
        , m_size(size) {}

    std::size_t Size() const { return m_size; }
    bool Bad() const { return m_bad; }
    void MarkBad() { m_bad = true; }
    // Whether `count` items of `itemSize` bytes fit from `offset` on (64-bit products).
    bool Fits(std::uint64_t offset, std::uint64_t count, std::uint64_t itemSize) {
        const std::uint64_t size = m_size;
        const bool fits = offset <= size && (itemSize == 0 || count <= (size - offset) / itemSize);
        if (!fits)
            m_bad = true;
        return fits;
    }
    std::uint8_t U8(std::size_t offset) {
        if (!Fits(offset, 1, 1))
            return 0;
        return m_data[offset];
    }
    std::uint16_t U16(std::size_t offset) {
        if (!Fits(offset, 1, 2))
            return 0;
        return static_cast<std::uint16_t>(m_data[offset] | m_data[offset + 1] << 8);
    }
    std::int16_t I16(std::size_t offset) { return static_cast<std::int16_t>(U16(offset)); }
    std::uint32_t U32(std::size_t offset) {
        if (!Fits(offset, 1, 4))
            return 0;
        return static_cast<std::uint32_t>(m_data[offset]) |
               static_cast<std::uint32_t>(m_data[offset + 1]) << 8 |
               static_cast<std::uint32_t>(m_data[offset + 2]) << 16 |
               static_cast<std::uint32_t>(m_data[offset + 3]) << 24;
    }
    std::int32_t I32(std::size_t offset) { return static_cast<std::int32_t>(U32(offset)); }
    float F32(std::size_t offset) {
        const std::uint32_t bits = U32(offset);
        float value = 0;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    // `count` bytes from `offset`, empty (and the record bad) when they do not fit.
    std::span<const std::uint8_t> Bytes(std::uint64_t offset, std::uint64_t count) {
        if (!Fits(offset, count, 1))
            return {};
        return {m_data + offset, static_cast<std::size_t>(count)};
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    bool m_bad = false;
};

std::uint32_t ColorFromRef(std::uint32_t colorRef) {
    // COLORREF is 0x00BBGGRR.
    return (colorRef & 0xFF) << 16 | (colorRef & 0xFF00) | (colorRef >> 16 & 0xFF);
}

// ---------------------------------------------------------------------------------------------
// Geometry

struct Affine {
    double M11 = 1, M12 = 0, M21 = 0, M22 = 1, Dx = 0, Dy = 0;

    MetafilePoint Map(double x, double y) const {
        return {x * M11 + y * M21 + Dx, x * M12 + y * M22 + Dy};
    }
    MetafilePoint MapVector(double x, double y) const {
        return {x * M11 + y * M21, x * M12 + y * M22};
    }
    // This transform followed by `next`.
    Affine Then(const Affine& next) const {
        return {M11 * next.M11 + M12 * next.M21,         M11 * next.M12 + M12 * next.M22,
                M21 * next.M11 + M22 * next.M21,         M21 * next.M12 + M22 * next.M22,
                Dx * next.M11 + Dy * next.M21 + next.Dx, Dx * next.M12 + Dy * next.M22 + next.Dy};
    }
    double Determinant() const { return M11 * M22 - M12 * M21; }
    bool Sane() const {
        for (const double v : {M11, M12, M21, M22, Dx, Dy})
            if (!std::isfinite(v) || std::fabs(v) > kMaxTransformFactor * 1e3)
                return false;
        for (const double v : {M11, M12, M21, M22})
            if (std::fabs(v) > kMaxTransformFactor)
                return false;
        const double det = Determinant();
        return std::isfinite(det) && std::fabs(det) > 1e-12;
    }
};

// A shape in logical coordinates, turned into a picture path by the current transform.
struct LogicalPath {
    std::vector<MetafilePath::Op> Ops;
    std::vector<MetafilePoint> Points;

    void Move(double x, double y) { Add(MetafilePath::Op::MoveTo, x, y); }
    void Line(double x, double y) { Add(MetafilePath::Op::LineTo, x, y); }
    void Cubic(MetafilePoint a, MetafilePoint b, MetafilePoint c) {
        Ops.push_back(MetafilePath::Op::CubicTo);
        Points.push_back(a);
        Points.push_back(b);
        Points.push_back(c);
    }
    void Close() { Ops.push_back(MetafilePath::Op::Close); }

private:
    void Add(MetafilePath::Op op, double x, double y) {
        Ops.push_back(op);
        Points.push_back({x, y});
    }
};

struct Box {
    double Left, Top, Right, Bottom;
    static Box Normalised(double l, double t, double r, double b) {
        return {std::min(l, r), std::min(t, b), std::max(l, r), std::max(t, b)};
    }
};

// The point of the ellipse in `box` at `angle` (radians, counter-clockwise as seen, y down).
MetafilePoint EllipsePoint(const Box& box, double angle) {
    const double cx = (box.Left + box.Right) / 2, cy = (box.Top + box.Bottom) / 2;
    const double rx = (box.Right - box.Left) / 2, ry = (box.Bottom - box.Top) / 2;
    return {cx + rx * std::cos(angle), cy - ry * std::sin(angle)};
}

double AngleOf(const Box& box, double x, double y) {
    const double cx = (box.Left + box.Right) / 2, cy = (box.Top + box.Bottom) / 2;
    const double rx = std::max((box.Right - box.Left) / 2, 1e-9);
    const double ry = std::max((box.Bottom - box.Top) / 2, 1e-9);
    return std::atan2(-(y - cy) / ry, (x - cx) / rx);
}

// Appends the arc of the ellipse in `box` from `start` sweeping `sweep` radians (positive
// counter-clockwise) as cubic Béziers; the path is already at the arc's first point.
void AppendArc(LogicalPath& path, const Box& box, double start, double sweep) {
    if (!std::isfinite(start) || !std::isfinite(sweep))
        return;
    const double rx = (box.Right - box.Left) / 2, ry = (box.Bottom - box.Top) / 2;
    const int pieces =
        std::clamp(static_cast<int>(std::ceil(std::fabs(sweep) / (kPi / 2) - 1e-9)), 1, 4);
    const double step = sweep / pieces;
    const double k = 4.0 / 3.0 * std::tan(step / 4);
    double a = start;
    for (int i = 0; i < pieces; ++i) {
        const double b = a + step;
        const MetafilePoint p0 = EllipsePoint(box, a), p3 = EllipsePoint(box, b);
        const MetafilePoint d0{-rx * std::sin(a), -ry * std::cos(a)};
        const MetafilePoint d3{-rx * std::sin(b), -ry * std::cos(b)};
        path.Cubic({p0.X + k * d0.X, p0.Y + k * d0.Y}, {p3.X - k * d3.X, p3.Y - k * d3.Y}, p3);
        a = b;
    }
}

void AppendEllipse(LogicalPath& path, const Box& box) {
    const MetafilePoint start = EllipsePoint(box, 0);
    path.Move(start.X, start.Y);
    AppendArc(path, box, 0, 2 * kPi);
    path.Close();
}

void AppendRoundRect(LogicalPath& path, const Box& box, double width, double height) {
    const double rx = std::min(std::fabs(width) / 2, (box.Right - box.Left) / 2);
    const double ry = std::min(std::fabs(height) / 2, (box.Bottom - box.Top) / 2);
    if (rx <= 0 || ry <= 0) {
        path.Move(box.Left, box.Top);
        path.Line(box.Right, box.Top);
        path.Line(box.Right, box.Bottom);
        path.Line(box.Left, box.Bottom);
        path.Close();
        return;
    }
    const Box topRight{box.Right - 2 * rx, box.Top, box.Right, box.Top + 2 * ry};
    const Box topLeft{box.Left, box.Top, box.Left + 2 * rx, box.Top + 2 * ry};
    const Box bottomLeft{box.Left, box.Bottom - 2 * ry, box.Left + 2 * rx, box.Bottom};
    const Box bottomRight{box.Right - 2 * rx, box.Bottom - 2 * ry, box.Right, box.Bottom};
    path.Move(box.Right, box.Top + ry);
    AppendArc(path, topRight, 0, kPi / 2);
    path.Line(box.Left + rx, box.Top);
    AppendArc(path, topLeft, kPi / 2, kPi / 2);
    path.Line(box.Left, box.Bottom - ry);
    AppendArc(path, bottomLeft, kPi, kPi / 2);
    path.Line(box.Right - rx, box.Bottom);
    AppendArc(path, bottomRight, 3 * kPi / 2, kPi / 2);
    path.Close();
}

// ---------------------------------------------------------------------------------------------
// Text

// Windows-1252's characters for 0x80-0x9F (0 where the code page has none).
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

constexpr std::uint8_t kShiftJisCharset = 128;
constexpr std::uint8_t kDefaultCharset = 1;

// Whether text of a font with `charset` is in code page 932: the Japanese charset, and the
// "default" charset, which on the Japanese Windows these pictures come from is code page 932.
bool UsesCp932(std::uint8_t charset) {
    return charset == kShiftJisCharset || charset == kDefaultCharset;
}

bool IsCp932Lead(std::uint8_t byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// Bytes of a font's charset as text, with each byte's character start: `starts[i]` is the byte
// index where the i-th UTF-16 unit's character began.
std::u16string DecodeBytes(std::span<const std::uint8_t> bytes, std::uint8_t charset,
                           std::vector<std::size_t>* starts) {
    std::u16string text;
    std::size_t i = 0;
    while (i < bytes.size()) {
        const std::size_t length =
            UsesCp932(charset) && IsCp932Lead(bytes[i]) && i + 1 < bytes.size() ? 2 : 1;
        std::u16string piece;
        if (UsesCp932(charset)) {
            piece = DecodeCp932(
                std::string_view(reinterpret_cast<const char*>(bytes.data() + i), length), nullptr);
        } else {
            const std::uint8_t b = bytes[i];
            const char16_t high = b >= 0x80 && b <= 0x9F ? kCp1252High[b - 0x80] : char16_t{0};
            piece.push_back(high != 0 ? high : static_cast<char16_t>(b));
        }
        for (const char16_t unit : piece) {
            text.push_back(unit);
            if (starts)
                starts->push_back(i);
        }
        i += length;
    }
    return text;
}

std::u16string TrimAtNul(std::u16string text) {
    const std::size_t nul = text.find(u'\0');
    if (nul != std::u16string::npos)
        text.resize(nul);
    return text;
}

// ---------------------------------------------------------------------------------------------
// Bitmaps (device-independent bitmaps)

struct DecodedBitmap {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint32_t> Pixels; // top row first
};

unsigned ShiftOf(std::uint32_t mask) {
    unsigned shift = 0;
    while (shift < 32 && (mask >> shift & 1) == 0)
        ++shift;
    return shift;
}

std::uint32_t Channel(std::uint32_t value, std::uint32_t mask) {
    if (mask == 0)
        return 0;
    const unsigned shift = ShiftOf(mask);
    const std::uint32_t max = mask >> shift;
    return static_cast<std::uint32_t>(
        (static_cast<std::uint64_t>((value & mask) >> shift) * 255 + max / 2) / max);
}

// Decodes the bitmap whose header and colours are `info` and whose pixels are `bits`.
// Nullopt for a format not drawn (compressed, palette indices) and, with `bad` set, for a
// header that does not hold, pixels that do not fit or a bitmap over the limits. With
// `keepAlpha`, 32-bit pixels keep their (premultiplied) alpha byte; else all are opaque.
std::optional<DecodedBitmap> DecodeDib(std::span<const std::uint8_t> info,
                                       std::span<const std::uint8_t> bits, bool paletteIndices,
                                       std::int64_t& pixelBudget, bool& bad,
                                       bool keepAlpha = false) {
    bad = true;
    Record header(info.data(), info.size());
    const std::uint32_t headerSize = header.U32(0);
    std::int64_t width = 0, height = 0;
    unsigned bitCount = 0;
    std::uint32_t compression = 0, colorsUsed = 0;
    std::size_t colorEntrySize = 4;
    if (headerSize == 12) {
        width = header.U16(4);
        height = header.U16(6);
        bitCount = header.U16(10);
        colorEntrySize = 3;
    } else if (headerSize >= 40) {
        width = header.I32(4);
        height = header.I32(8);
        bitCount = header.U16(14);
        compression = header.U32(16);
        colorsUsed = header.U32(32);
    } else {
        return std::nullopt;
    }
    if (header.Bad())
        return std::nullopt;
    const bool topDown = height < 0;
    height = height < 0 ? -height : height;
    if (width <= 0 || height <= 0 || width > kMaxMetafileBitmapSide ||
        height > kMaxMetafileBitmapSide || width * height > kMaxMetafileBitmapPixels ||
        width * height > pixelBudget)
        return std::nullopt;
    bad = false;
    if (paletteIndices)
        return std::nullopt;
    constexpr std::uint32_t kRgb = 0, kBitFields = 3;
    if (compression != kRgb && !(compression == kBitFields && (bitCount == 16 || bitCount == 32)))
        return std::nullopt;
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 &&
        bitCount != 32)
        return std::nullopt;

    std::uint32_t redMask = 0x7C00, greenMask = 0x03E0, blueMask = 0x001F;
    if (bitCount == 32)
        redMask = 0xFF0000, greenMask = 0xFF00, blueMask = 0xFF;
    std::vector<std::uint32_t> palette;
    if (compression == kBitFields) {
        // The masks follow a 40-byte header, and sit at the same place inside a larger one.
        redMask = header.U32(40);
        greenMask = header.U32(44);
        blueMask = header.U32(48);
        if (header.Bad()) {
            bad = true;
            return std::nullopt;
        }
    } else if (bitCount <= 8) {
        const std::size_t entries =
            colorsUsed != 0 ? std::min<std::size_t>(colorsUsed, std::size_t{1} << bitCount)
                            : std::size_t{1} << bitCount;
        if (!header.Fits(headerSize, entries, colorEntrySize)) {
            bad = true;
            return std::nullopt;
        }
        palette.reserve(entries);
        for (std::size_t i = 0; i < entries; ++i) {
            const std::size_t at = headerSize + i * colorEntrySize;
            palette.push_back(0xFF000000u | static_cast<std::uint32_t>(header.U8(at + 2)) << 16 |
                              static_cast<std::uint32_t>(header.U8(at + 1)) << 8 | header.U8(at));
        }
    }

    const std::uint64_t stride = (static_cast<std::uint64_t>(width) * bitCount + 31) / 32 * 4;
    const auto rows = static_cast<std::uint64_t>(height);
    // The last row need not be padded.
    const std::uint64_t needed =
        stride * (rows - 1) + (static_cast<std::uint64_t>(width) * bitCount + 7) / 8;
    if (bits.size() < needed) {
        bad = true;
        return std::nullopt;
    }

    pixelBudget -= width * height;
    DecodedBitmap bitmap;
    bitmap.Width = static_cast<int>(width);
    bitmap.Height = static_cast<int>(height);
    bitmap.Pixels.resize(static_cast<std::size_t>(width * height));
    for (std::uint64_t row = 0; row < rows; ++row) {
        const std::uint8_t* line = bits.data() + stride * (topDown ? row : rows - 1 - row);
        std::uint32_t* out = bitmap.Pixels.data() + row * static_cast<std::uint64_t>(width);
        for (std::int64_t x = 0; x < width; ++x) {
            std::uint32_t pixel = 0xFF000000u;
            const auto ux = static_cast<std::uint64_t>(x);
            switch (bitCount) {
            case 1:
            case 4:
            case 8: {
                const std::uint64_t bit = ux * bitCount;
                const unsigned shift = 8 - bitCount - static_cast<unsigned>(bit % 8);
                const std::size_t index =
                    static_cast<std::size_t>(line[bit / 8] >> shift & ((1u << bitCount) - 1));
                pixel = index < palette.size() ? palette[index] : 0xFF000000u;
                break;
            }
            case 16:
            case 32: {
                std::uint32_t value = line[ux * bitCount / 8] |
                                      static_cast<std::uint32_t>(line[ux * bitCount / 8 + 1]) << 8;
                if (bitCount == 32)
                    value |= static_cast<std::uint32_t>(line[ux * 4 + 2]) << 16 |
                             static_cast<std::uint32_t>(line[ux * 4 + 3]) << 24;
                pixel = 0xFF000000u | Channel(value, redMask) << 16 |
                        Channel(value, greenMask) << 8 | Channel(value, blueMask);
                if (keepAlpha && bitCount == 32) {
                    const std::uint32_t alpha = value >> 24;
                    const auto unpremultiply = [alpha](std::uint32_t c) {
                        return alpha == 0
                                   ? 0u
                                   : std::min<std::uint32_t>(255, (c * 255 + alpha / 2) / alpha);
                    };
                    pixel = alpha << 24 | unpremultiply(pixel >> 16 & 0xFF) << 16 |
                            unpremultiply(pixel >> 8 & 0xFF) << 8 | unpremultiply(pixel & 0xFF);
                }
                break;
            }
            case 24:
                pixel = 0xFF000000u | static_cast<std::uint32_t>(line[ux * 3 + 2]) << 16 |
                        static_cast<std::uint32_t>(line[ux * 3 + 1]) << 8 | line[ux * 3];
                break;
            default:
                break;
            }
            out[x] = pixel;
        }
    }
    return bitmap;
}

// The bytes a packed bitmap's header and colour table take (WMF keeps header, colours and
// pixels together); 0 when the header does not hold.
std::uint64_t PackedDibHeaderBytes(Record& dib, std::uint64_t at) {
    const std::uint32_t headerSize = dib.U32(at);
    if (headerSize == 12) {
        const unsigned bitCount = dib.U16(at + 10);
        return 12 + (bitCount <= 8 ? (std::uint64_t{1} << bitCount) * 3 : 0);
    }
    if (headerSize < 40 || headerSize > 1024)
        return 0;
    const unsigned bitCount = dib.U16(at + 14);
    const std::uint32_t compression = dib.U32(at + 16);
    const std::uint32_t used = dib.U32(at + 32);
    std::uint64_t colors = 0;
    if (bitCount <= 8)
        colors = used != 0
                     ? std::min<std::uint64_t>(used, std::uint64_t{1} << std::min(bitCount, 8u))
                     : std::uint64_t{1} << std::min(bitCount, 8u);
    else if (compression == 3 && headerSize == 40)
        colors = 3;
    else
        colors = used;
    if (dib.Bad() || colors > 65536)
        return 0;
    return headerSize + colors * 4;
}

// ---------------------------------------------------------------------------------------------
// The player

enum MapMode : std::uint32_t {
    MmText = 1,
    MmLoMetric = 2,
    MmHiMetric = 3,
    MmLoEnglish = 4,
    MmHiEnglish = 5,
    MmTwips = 6,
    MmIsotropic = 7,
    MmAnisotropic = 8
};

struct FontObject {
    std::u16string Face;
    double Height = 0;  // logical; negative: character height, positive: cell height
    int Escapement = 0; // tenths of a degree, counter-clockwise
    int Weight = 400;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    std::uint8_t Charset = kDefaultCharset;
};

struct PenObject {
    MetafilePen Pen;
    double Width = 0; // logical
};

struct GdiObject {
    enum class Kind { Free, Pen, Brush, Font, Region, Other };
    Kind Type = Kind::Free;
    PenObject Pen;
    MetafileBrush Brush;
    FontObject Font;
    std::vector<Box> Rects; // a region's rectangles
};

struct DeviceContext {
    std::uint32_t Mode = MmText;
    double WindowOrgX = 0, WindowOrgY = 0, WindowExtX = 1, WindowExtY = 1;
    double ViewportOrgX = 0, ViewportOrgY = 0, ViewportExtX = 1, ViewportExtY = 1;
    Affine World;
    PenObject Pen;
    MetafileBrush Brush;
    FontObject Font;
    std::uint32_t TextColor = 0;
    std::uint32_t BackColor = 0xFFFFFF;
    bool OpaqueBackground = true;
    std::uint32_t TextAlign = 0;
    MetafileFillRule FillRule = MetafileFillRule::Alternate;
    double CurrentX = 0, CurrentY = 0;
    bool Clockwise = false;
    bool HalftoneStretch = false;
    std::vector<MetafileClipStep> Clip;
};

MetafilePen StockPen(std::uint32_t color, bool null) {
    MetafilePen pen;
    pen.Color = color;
    pen.Style = null ? MetafilePen::Line::Null : MetafilePen::Line::Solid;
    return pen;
}

MetafileBrush SolidBrush(std::uint32_t color) {
    MetafileBrush brush;
    brush.Color = color;
    return brush;
}

MetafileBrush NullBrush() {
    MetafileBrush brush;
    brush.Style = MetafileBrush::Fill::Null;
    return brush;
}

MetafilePen::Line LineOf(std::uint32_t style) {
    switch (style & 0xF) {
    case 1:
        return MetafilePen::Line::Dash;
    case 2:
    case 8:
        return MetafilePen::Line::Dot;
    case 3:
        return MetafilePen::Line::DashDot;
    case 4:
        return MetafilePen::Line::DashDotDot;
    case 5:
        return MetafilePen::Line::Null;
    case 7:
        return MetafilePen::Line::Dash;
    default:
        return MetafilePen::Line::Solid;
    }
}

PenObject MakePen(std::uint32_t style, double width, std::uint32_t colorRef, bool geometric) {
    PenObject object;
    object.Pen.Style = LineOf(style);
    switch (style & 0xF00) {
    case 0x100:
        object.Pen.Cap = MetafilePen::CapStyle::Square;
        break;
    case 0x200:
        object.Pen.Cap = MetafilePen::CapStyle::Flat;
        break;
    default:
        break;
    }
    switch (style & 0xF000) {
    case 0x1000:
        object.Pen.Join = MetafilePen::JoinStyle::Bevel;
        break;
    case 0x2000:
        object.Pen.Join = MetafilePen::JoinStyle::Miter;
        break;
    default:
        break;
    }
    object.Pen.Color = ColorFromRef(colorRef);
    object.Width = geometric ? std::fabs(width) : 0;
    return object;
}

MetafileBrush MakeBrush(std::uint32_t style, std::uint32_t colorRef, std::uint32_t hatch) {
    MetafileBrush brush;
    brush.Color = ColorFromRef(colorRef);
    switch (style) {
    case 1:
        brush.Style = MetafileBrush::Fill::Null;
        break;
    case 2:
        brush.Style = MetafileBrush::Fill::Hatched;
        brush.Hatch = static_cast<MetafileBrush::HatchKind>(std::min<std::uint32_t>(hatch, 5));
        break;
    default:
        break;
    }
    return brush;
}

// A brush of a bitmap pattern, drawn as its mean colour.
MetafileBrush PatternBrush(const std::optional<DecodedBitmap>& bitmap) {
    if (!bitmap || bitmap->Pixels.empty())
        return SolidBrush(0x808080);
    std::uint64_t r = 0, g = 0, b = 0;
    for (const std::uint32_t pixel : bitmap->Pixels) {
        r += pixel >> 16 & 0xFF;
        g += pixel >> 8 & 0xFF;
        b += pixel & 0xFF;
    }
    const std::uint64_t n = bitmap->Pixels.size();
    return SolidBrush(static_cast<std::uint32_t>(r / n << 16 | g / n << 8 | b / n));
}

class Player {
public:
    Player(const MetafileInfo& info, MetafileSink& sink, double unitsPerMmX, double unitsPerMmY)
        : m_info(info)
        , m_sink(sink)
        , m_unitsPerMmX(unitsPerMmX)
        , m_unitsPerMmY(unitsPerMmY) {
        const double span = std::max(info.Right - info.Left, info.Bottom - info.Top);
        m_clampLow[0] = info.Left - kClampMargin * span;
        m_clampHigh[0] = info.Right + kClampMargin * span;
        m_clampLow[1] = info.Top - kClampMargin * span;
        m_clampHigh[1] = info.Bottom + kClampMargin * span;
        m_maxWidth = 4 * span;
        m_dc.Pen.Pen = StockPen(0, false);
        m_dc.Brush = SolidBrush(0xFFFFFF);
    }

    DeviceContext& Dc() { return m_dc; }
    bool Failed() const { return m_failed; }
    void Fail() { m_failed = true; }
    // Takes `points` from what the picture may hand over; false (and the playback ended)
    // when that is spent.
    bool Charge(std::size_t points) {
        if (points > m_work) {
            m_work = 0;
            Fail();
            return false;
        }
        m_work -= points;
        return true;
    }
    void Emit(const MetafilePath& path, const MetafilePen* pen, const MetafileBrush* brush,
              MetafileFillRule rule) {
        if (Charge(path.Points.size() + 1))
            m_sink.DrawPath(path, pen, brush, rule);
    }
    void EmitClip() {
        std::size_t points = 1;
        for (const MetafileClipStep& step : m_dc.Clip)
            points += step.Area.Points.size();
        if (points > kMaxMetafileClipPoints) {
            Fail();
            return;
        }
        if (Charge(points))
            m_sink.SetClip(m_dc.Clip);
    }
    void MoveTo(double x, double y) {
        m_dc.CurrentX = x, m_dc.CurrentY = y;
        m_figureOpen = false;
    }

    // --- transforms

    // Logical coordinates to picture coordinates: the world transform, then the page.
    Affine Transform() const {
        double sx = 1, sy = 1;
        switch (m_dc.Mode) {
        case MmLoMetric:
            sx = m_unitsPerMmX / 10, sy = -m_unitsPerMmY / 10;
            break;
        case MmHiMetric:
            sx = m_unitsPerMmX / 100, sy = -m_unitsPerMmY / 100;
            break;
        case MmLoEnglish:
            sx = m_unitsPerMmX * kMmPerInch / 100, sy = -m_unitsPerMmY * kMmPerInch / 100;
            break;
        case MmHiEnglish:
            sx = m_unitsPerMmX * kMmPerInch / 1000, sy = -m_unitsPerMmY * kMmPerInch / 1000;
            break;
        case MmTwips:
            sx = m_unitsPerMmX * kMmPerInch / 1440, sy = -m_unitsPerMmY * kMmPerInch / 1440;
            break;
        case MmIsotropic: {
            sx = m_dc.ViewportExtX / m_dc.WindowExtX;
            sy = m_dc.ViewportExtY / m_dc.WindowExtY;
            const double m = std::min(std::fabs(sx), std::fabs(sy));
            sx = std::copysign(m, sx), sy = std::copysign(m, sy);
            break;
        }
        case MmAnisotropic:
            sx = m_dc.ViewportExtX / m_dc.WindowExtX;
            sy = m_dc.ViewportExtY / m_dc.WindowExtY;
            break;
        default:
            break;
        }
        const Affine page{sx,
                          0,
                          0,
                          sy,
                          m_dc.ViewportOrgX - m_dc.WindowOrgX * sx,
                          m_dc.ViewportOrgY - m_dc.WindowOrgY * sy};
        return m_dc.World.Then(page);
    }

    double Clamp(double v, int axis) const {
        if (!std::isfinite(v))
            return v > 0 ? m_clampHigh[axis] : m_clampLow[axis];
        return std::clamp(v, m_clampLow[axis], m_clampHigh[axis]);
    }
    MetafilePoint ClampPoint(MetafilePoint p) const { return {Clamp(p.X, 0), Clamp(p.Y, 1)}; }
    MetafilePoint ToPicture(const Affine& t, double x, double y) const {
        return ClampPoint(t.Map(x, y));
    }

    MetafilePath ToPicturePath(const LogicalPath& logical) const {
        const Affine t = Transform();
        MetafilePath path;
        path.Ops = logical.Ops;
        path.Points.reserve(logical.Points.size());
        for (const MetafilePoint& p : logical.Points)
            path.Points.push_back(ToPicture(t, p.X, p.Y));
        return path;
    }

    // --- drawing

    MetafilePen PicturePen() const {
        MetafilePen pen = m_dc.Pen.Pen;
        const double scale = std::sqrt(std::fabs(Transform().Determinant()));
        const double width = m_dc.Pen.Width * scale;
        pen.Width = std::isfinite(width) ? std::min(width, m_maxWidth) : 0;
        return pen;
    }
    MetafileBrush PictureBrush() const {
        MetafileBrush brush = m_dc.Brush;
        brush.Background = m_dc.BackColor;
        brush.OpaqueBackground = m_dc.OpaqueBackground;
        return brush;
    }

    // Draws a shape (or adds it to the path being built).
    void Shape(const LogicalPath& logical, bool fill, bool stroke) {
        if (logical.Ops.empty())
            return;
        if (m_inPath) {
            AppendToPath(ToPicturePath(logical));
            m_figureOpen = false;
            return;
        }
        Draw(ToPicturePath(logical), fill, stroke);
    }

    void Draw(const MetafilePath& path, bool fill, bool stroke) {
        const MetafilePen pen = PicturePen();
        const MetafileBrush brush = PictureBrush();
        const bool hasPen = stroke && pen.Style != MetafilePen::Line::Null;
        const bool hasBrush = fill && brush.Style != MetafileBrush::Fill::Null;
        if (!hasPen && !hasBrush)
            return;
        Emit(path, hasPen ? &pen : nullptr, hasBrush ? &brush : nullptr, m_dc.FillRule);
    }

    // A line from the current position through `points` (LineTo, PolylineTo, PolyBezierTo).
    void FromCurrent(const std::vector<MetafilePoint>& points, bool bezier) {
        if (points.empty())
            return;
        LogicalPath logical;
        logical.Move(m_dc.CurrentX, m_dc.CurrentY);
        const std::size_t whole = bezier ? points.size() / 3 * 3 : points.size();
        for (std::size_t i = 0; i < whole; i += bezier ? 3 : 1) {
            if (bezier)
                logical.Cubic(points[i], points[i + 1], points[i + 2]);
            else
                logical.Line(points[i].X, points[i].Y);
        }
        if (whole == 0)
            return;
        m_dc.CurrentX = points[whole - 1].X;
        m_dc.CurrentY = points[whole - 1].Y;
        if (m_inPath) {
            ContinueFigure(ToPicturePath(logical));
            return;
        }
        Draw(ToPicturePath(logical), false, true);
    }

    void Polyline(const std::vector<MetafilePoint>& points, bool closed, bool bezier) {
        if (points.empty())
            return;
        LogicalPath logical;
        logical.Move(points[0].X, points[0].Y);
        if (bezier) {
            for (std::size_t i = 1; i + 2 < points.size(); i += 3)
                logical.Cubic(points[i], points[i + 1], points[i + 2]);
        } else {
            for (std::size_t i = 1; i < points.size(); ++i)
                logical.Line(points[i].X, points[i].Y);
        }
        if (closed)
            logical.Close();
        Shape(logical, closed, true);
    }

    void PolyPolygon(const std::vector<MetafilePoint>& points,
                     const std::vector<std::uint32_t>& counts, bool closed) {
        LogicalPath logical;
        std::size_t at = 0;
        for (const std::uint32_t count : counts) {
            if (count == 0)
                continue;
            logical.Move(points[at].X, points[at].Y);
            for (std::size_t i = 1; i < count; ++i)
                logical.Line(points[at + i].X, points[at + i].Y);
            if (closed)
                logical.Close();
            at += count;
        }
        Shape(logical, closed, true);
    }

    void Rectangle(double l, double t, double r, double b) {
        const Box box = Box::Normalised(l, t, r, b);
        LogicalPath logical;
        logical.Move(box.Left, box.Top);
        logical.Line(box.Right, box.Top);
        logical.Line(box.Right, box.Bottom);
        logical.Line(box.Left, box.Bottom);
        logical.Close();
        Shape(logical, true, true);
    }

    void FillRect(const Box& box, std::uint32_t color) {
        LogicalPath logical;
        logical.Move(box.Left, box.Top);
        logical.Line(box.Right, box.Top);
        logical.Line(box.Right, box.Bottom);
        logical.Line(box.Left, box.Bottom);
        logical.Close();
        const MetafileBrush brush = SolidBrush(color);
        Emit(ToPicturePath(logical), nullptr, &brush, MetafileFillRule::Winding);
    }

    void Ellipse(double l, double t, double r, double b) {
        LogicalPath logical;
        AppendEllipse(logical, Box::Normalised(l, t, r, b));
        Shape(logical, true, true);
    }

    void RoundRect(double l, double t, double r, double b, double w, double h) {
        LogicalPath logical;
        AppendRoundRect(logical, Box::Normalised(l, t, r, b), w, h);
        Shape(logical, true, true);
    }

    enum class ArcKind { Arc, ArcTo, Chord, Pie };
    void Arc(ArcKind kind, double l, double t, double r, double b, double xs, double ys, double xe,
             double ye) {
        const Box box = Box::Normalised(l, t, r, b);
        const double start = AngleOf(box, xs, ys);
        const double end = AngleOf(box, xe, ye);
        double sweep = m_dc.Clockwise ? start - end : end - start;
        while (sweep <= 1e-12)
            sweep += 2 * kPi;
        if (sweep > 2 * kPi)
            sweep = 2 * kPi;
        if (m_dc.Clockwise)
            sweep = -sweep;
        const MetafilePoint first = EllipsePoint(box, start);
        const MetafilePoint last = EllipsePoint(box, start + sweep);
        LogicalPath logical;
        if (kind == ArcKind::Pie) {
            logical.Move((box.Left + box.Right) / 2, (box.Top + box.Bottom) / 2);
            logical.Line(first.X, first.Y);
        } else if (kind == ArcKind::ArcTo) {
            logical.Move(m_dc.CurrentX, m_dc.CurrentY);
            logical.Line(first.X, first.Y);
        } else {
            logical.Move(first.X, first.Y);
        }
        AppendArc(logical, box, start, sweep);
        if (kind == ArcKind::Pie || kind == ArcKind::Chord)
            logical.Close();
        if (kind == ArcKind::ArcTo) {
            m_dc.CurrentX = last.X;
            m_dc.CurrentY = last.Y;
            if (m_inPath) {
                ContinueFigure(ToPicturePath(logical));
                return;
            }
        }
        const bool closed = kind == ArcKind::Pie || kind == ArcKind::Chord;
        Shape(logical, closed, true);
    }

    void SetPixel(double x, double y, std::uint32_t colorRef) {
        if (m_inPath)
            return;
        const Affine t = Transform();
        // One device pixel of the picture, at the point.
        const MetafilePoint p = ToPicture(t, x, y);
        const double px = m_info.Format == MetafileFormat::Emf
                              ? 1.0
                              : std::max(m_unitsPerMmX * kMmPerInch / kScreenDpi, 1e-9);
        MetafilePath path;
        path.Ops = {MetafilePath::Op::MoveTo, MetafilePath::Op::LineTo, MetafilePath::Op::LineTo,
                    MetafilePath::Op::LineTo, MetafilePath::Op::Close};
        path.Points = {p, ClampPoint({p.X + px, p.Y}), ClampPoint({p.X + px, p.Y + px}),
                       ClampPoint({p.X, p.Y + px})};
        const MetafileBrush brush = SolidBrush(ColorFromRef(colorRef));
        Emit(path, nullptr, &brush, MetafileFillRule::Winding);
    }

    // --- paths

    // Adds a line from the current position to the path: it continues the open figure.
    void ContinueFigure(MetafilePath path) {
        if (m_figureOpen && !m_path.Empty()) {
            path.Ops.erase(path.Ops.begin());
            path.Points.erase(path.Points.begin());
        }
        AppendToPath(path);
        m_figureOpen = true;
    }
    void BeginPath() {
        m_inPath = true;
        m_figureOpen = false;
        m_path = {};
    }
    void EndPath() { m_inPath = false; }
    void AbortPath() {
        m_inPath = false;
        m_path = {};
    }
    void CloseFigure() {
        if (m_inPath && !m_path.Empty() && m_path.Ops.back() != MetafilePath::Op::Close)
            m_path.Ops.push_back(MetafilePath::Op::Close);
        m_figureOpen = false;
    }
    void AppendToPath(const MetafilePath& path) {
        if (m_path.Ops.size() + path.Ops.size() > kMaxMetafilePathElements) {
            Fail();
            return;
        }
        m_path.Ops.insert(m_path.Ops.end(), path.Ops.begin(), path.Ops.end());
        m_path.Points.insert(m_path.Points.end(), path.Points.begin(), path.Points.end());
    }
    void DrawStoredPath(bool fill, bool stroke) {
        m_inPath = false;
        if (!m_path.Empty())
            Draw(m_path, fill, stroke);
        m_path = {};
    }
    void ClipToPath(std::uint32_t mode) {
        m_inPath = false;
        MetafilePath path = std::move(m_path);
        m_path = {};
        ChangeClip(mode, std::move(path));
    }

    // --- clip

    static std::optional<MetafileClipStep::Combine> CombineOf(std::uint32_t mode) {
        switch (mode) {
        case 1:
            return MetafileClipStep::Combine::Intersect;
        case 2:
            return MetafileClipStep::Combine::Unite;
        case 3:
            return MetafileClipStep::Combine::Xor;
        case 4:
            return MetafileClipStep::Combine::Exclude;
        case 5:
            return MetafileClipStep::Combine::Replace;
        default:
            return std::nullopt;
        }
    }
    void ChangeClip(std::uint32_t mode, MetafilePath area) {
        const std::optional<MetafileClipStep::Combine> combine = CombineOf(mode);
        if (!combine)
            return;
        if (*combine == MetafileClipStep::Combine::Replace)
            m_dc.Clip.clear();
        if (m_dc.Clip.size() >= kMaxMetafileClipSteps) {
            Fail();
            return;
        }
        m_dc.Clip.push_back({*combine, std::move(area)});
        EmitClip();
    }
    void ResetClip() {
        if (m_dc.Clip.empty())
            return;
        m_dc.Clip.clear();
        EmitClip();
    }
    MetafilePath RectArea(const Box& box, bool logical) const {
        LogicalPath path;
        path.Move(box.Left, box.Top);
        path.Line(box.Right, box.Top);
        path.Line(box.Right, box.Bottom);
        path.Line(box.Left, box.Bottom);
        path.Close();
        if (logical)
            return ToPicturePath(path);
        MetafilePath picture;
        picture.Ops = path.Ops;
        for (const MetafilePoint& p : path.Points)
            picture.Points.push_back(ClampPoint(p));
        return picture;
    }
    MetafilePath RegionArea(const std::vector<Box>& rects, bool logical) const {
        MetafilePath area;
        for (const Box& box : rects) {
            const MetafilePath one = RectArea(box, logical);
            area.Ops.insert(area.Ops.end(), one.Ops.begin(), one.Ops.end());
            area.Points.insert(area.Points.end(), one.Points.begin(), one.Points.end());
        }
        return area;
    }
    void ClipRect(double l, double t, double r, double b, bool exclude) {
        ChangeClip(exclude ? 4 : 1, RectArea(Box::Normalised(l, t, r, b), true));
    }
    void FillRegion(const std::vector<Box>& rects, const MetafileBrush& brush, bool logical) {
        if (rects.empty() || brush.Style == MetafileBrush::Fill::Null)
            return;
        if (Charge(rects.size() * 5))
            Emit(RegionArea(rects, logical), nullptr, &brush, MetafileFillRule::Winding);
    }

    // --- saved states

    void Save() {
        if (m_saved.size() >= kMaxMetafileSaveDepth) {
            Fail();
            return;
        }
        std::size_t points = 1;
        for (const MetafileClipStep& step : m_dc.Clip)
            points += step.Area.Points.size();
        if (Charge(points))
            m_saved.push_back(m_dc);
    }
    // Restores the state saved `back` saves ago (1 the last).
    void Restore(std::int64_t back) {
        if (back < 1 || static_cast<std::uint64_t>(back) > m_saved.size())
            return;
        m_saved.resize(m_saved.size() - static_cast<std::size_t>(back - 1));
        const std::size_t clipBefore = m_dc.Clip.size();
        m_dc = std::move(m_saved.back());
        m_saved.pop_back();
        if (clipBefore != 0 || !m_dc.Clip.empty())
            EmitClip();
    }
    std::size_t SavedCount() const { return m_saved.size(); }

    // --- window and viewport

    void SetWindowOrg(double x, double y) { m_dc.WindowOrgX = x, m_dc.WindowOrgY = y; }
    void SetViewportOrg(double x, double y) { m_dc.ViewportOrgX = x, m_dc.ViewportOrgY = y; }
    bool ExtentsApply() const { return m_dc.Mode == MmIsotropic || m_dc.Mode == MmAnisotropic; }
    void SetWindowExt(double x, double y) {
        if (x != 0 && y != 0 && ExtentsApply())
            m_dc.WindowExtX = x, m_dc.WindowExtY = y;
    }
    void SetViewportExt(double x, double y) {
        if (x != 0 && y != 0 && ExtentsApply())
            m_dc.ViewportExtX = x, m_dc.ViewportExtY = y;
    }
    void ScaleWindowExt(double xNum, double xDen, double yNum, double yDen) {
        if (xDen != 0 && yDen != 0)
            SetWindowExt(m_dc.WindowExtX * xNum / xDen, m_dc.WindowExtY * yNum / yDen);
    }
    void ScaleViewportExt(double xNum, double xDen, double yNum, double yDen) {
        if (xDen != 0 && yDen != 0)
            SetViewportExt(m_dc.ViewportExtX * xNum / xDen, m_dc.ViewportExtY * yNum / yDen);
    }
    void SetMapMode(std::uint32_t mode) {
        if (mode < MmText || mode > MmAnisotropic)
            return;
        m_dc.Mode = mode;
        if (mode != MmIsotropic && mode != MmAnisotropic) {
            m_dc.WindowExtX = m_dc.WindowExtY = m_dc.ViewportExtX = m_dc.ViewportExtY = 1;
        }
    }

    // --- text

    void Text(std::u16string text, double x, double y, const std::vector<double>* advances,
              const std::optional<Box>& opaque) {
        if (m_inPath)
            return;
        if (opaque)
            FillRect(*opaque, m_dc.BackColor);
        if (text.empty())
            return;
        if (text.size() > kMaxMetafileTextUnits)
            text.resize(kMaxMetafileTextUnits);
        const bool updateCurrent = (m_dc.TextAlign & 1) != 0;
        if (updateCurrent)
            x = m_dc.CurrentX, y = m_dc.CurrentY;
        const Affine t = Transform();
        MetafilePoint ex = t.MapVector(1, 0);
        MetafilePoint ey = t.MapVector(0, 1);
        if (ex.X * ey.Y - ex.Y * ey.X < 0)
            ey = {-ey.X, -ey.Y}; // keep the letters upright where y runs up
        const double angle = m_dc.Font.Escapement / 10.0 * kPi / 180.0;
        const MetafilePoint u{std::cos(angle), -std::sin(angle)};
        const MetafilePoint v{std::sin(angle), std::cos(angle)};
        MetafileText run;
        run.Text = std::move(text);
        run.Origin = ToPicture(t, x, y);
        run.XAxis = {ex.X * u.X + ey.X * u.Y, ex.Y * u.X + ey.Y * u.Y};
        run.YAxis = {ex.X * v.X + ey.X * v.Y, ex.Y * v.X + ey.Y * v.Y};
        for (const double value : {run.XAxis.X, run.XAxis.Y, run.YAxis.X, run.YAxis.Y})
            if (!std::isfinite(value) || std::fabs(value) > m_maxWidth + kMaxTransformFactor)
                return;
        const double height = std::fabs(m_dc.Font.Height);
        run.Font.Face = m_dc.Font.Face;
        run.Font.Height = height > 0 ? std::min(height, 1e7) : 12.0;
        run.Font.CellHeight = m_dc.Font.Height > 0;
        run.Font.Weight = m_dc.Font.Weight;
        run.Font.Italic = m_dc.Font.Italic;
        run.Font.Underline = m_dc.Font.Underline;
        run.Font.StrikeOut = m_dc.Font.StrikeOut;
        run.Color = m_dc.TextColor;
        switch (m_dc.TextAlign & 6) {
        case 2:
            run.Horizontal = MetafileText::HAlign::Right;
            break;
        case 6:
            run.Horizontal = MetafileText::HAlign::Center;
            break;
        default:
            break;
        }
        switch (m_dc.TextAlign & 24) {
        case 8:
            run.Vertical = MetafileText::VAlign::Bottom;
            break;
        case 24:
            run.Vertical = MetafileText::VAlign::Baseline;
            break;
        default:
            break;
        }
        if (advances && advances->size() == run.Text.size()) {
            double at = 0;
            run.Positions.reserve(advances->size());
            for (const double advance : *advances) {
                run.Positions.push_back(at);
                at += std::isfinite(advance) ? std::clamp(advance, -1e7, 1e7) : 0;
            }
        }
        const double drawnHeight = run.Font.Height * std::hypot(run.YAxis.X, run.YAxis.Y);
        if (!(drawnHeight <= m_maxWidth) ||
            !Charge(run.Text.size() * kMetafileTextCharacterPoints + 1))
            return; // letters larger than the picture many times over are no drawing
        m_sink.DrawText(run);
    }

    // --- bitmaps

    // Draws `bitmap`'s part (sx, sy, sw, sh) over the logical rectangle (x, y, w, h).
    void Bitmap(const DecodedBitmap& bitmap, double x, double y, double w, double h, double sx,
                double sy, double sw, double sh) {
        if (m_inPath || sw == 0 || sh == 0)
            return;
        // Keep to the part of the source inside the bitmap, shrinking the destination with it.
        const double left = std::max(std::min(sx, sx + sw), 0.0);
        const double right = std::min(std::max(sx, sx + sw), static_cast<double>(bitmap.Width));
        const double top = std::max(std::min(sy, sy + sh), 0.0);
        const double bottom = std::min(std::max(sy, sy + sh), static_cast<double>(bitmap.Height));
        if (!(right > left && bottom > top))
            return;
        const double fx = w / sw, fy = h / sh;
        const double dx0 = x + (left - sx) * fx, dy0 = y + (top - sy) * fy;
        const double dx1 = x + (right - sx) * fx, dy1 = y + (bottom - sy) * fy;
        const int cl = static_cast<int>(std::floor(left)), ct = static_cast<int>(std::floor(top));
        const int cw = std::max(static_cast<int>(std::ceil(right)) - cl, 1);
        const int ch = std::max(static_cast<int>(std::ceil(bottom)) - ct, 1);
        MetafileBitmap out;
        if (cl == 0 && ct == 0 && cw == bitmap.Width && ch == bitmap.Height) {
            out.Pixels = bitmap.Pixels;
        } else {
            out.Pixels.reserve(static_cast<std::size_t>(cw) * static_cast<std::size_t>(ch));
            for (int row = ct; row < ct + ch; ++row) {
                const auto begin =
                    bitmap.Pixels.begin() +
                    static_cast<std::ptrdiff_t>(static_cast<std::size_t>(row) *
                                                    static_cast<std::size_t>(bitmap.Width) +
                                                static_cast<std::size_t>(cl));
                out.Pixels.insert(out.Pixels.end(), begin, begin + cw);
            }
        }
        out.Width = cw;
        out.Height = ch;
        const Affine t = Transform();
        out.TopLeft = ToPicture(t, dx0, dy0);
        out.TopRight = ToPicture(t, dx1, dy0);
        out.BottomLeft = ToPicture(t, dx0, dy1);
        out.Smooth = m_dc.HalftoneStretch;
        if (Charge(1))
            m_sink.DrawBitmap(out);
    }
    std::int64_t& PixelBudget() { return m_pixelBudget; }

    // --- the object table

    std::vector<GdiObject>& Objects() { return m_objects; }
    std::unordered_map<std::uint32_t, GdiObject>& NamedObjects() { return m_namedObjects; }

    void Select(const GdiObject& object) {
        switch (object.Type) {
        case GdiObject::Kind::Pen:
            m_dc.Pen = object.Pen;
            break;
        case GdiObject::Kind::Brush:
            m_dc.Brush = object.Brush;
            break;
        case GdiObject::Kind::Font:
            m_dc.Font = object.Font;
            break;
        case GdiObject::Kind::Region:
            ChangeClip(5, RegionArea(object.Rects, true));
            break;
        default:
            break;
        }
    }

private:
    MetafileInfo m_info;
    MetafileSink& m_sink;
    double m_unitsPerMmX;
    double m_unitsPerMmY;
    double m_clampLow[2]{};
    double m_clampHigh[2]{};
    double m_maxWidth = 0;
    DeviceContext m_dc;
    std::vector<DeviceContext> m_saved;
    std::vector<GdiObject> m_objects;                            // WMF: by slot
    std::unordered_map<std::uint32_t, GdiObject> m_namedObjects; // EMF: by the file's index
    MetafilePath m_path;
    bool m_inPath = false;
    bool m_figureOpen = false;
    bool m_failed = false;
    std::size_t m_work = kMaxMetafileOutputPoints;
    std::int64_t m_pixelBudget = kMaxMetafileBitmapPixelsTotal;
};

// ---------------------------------------------------------------------------------------------
// EMF

constexpr std::uint32_t kEmfSignature = 0x464D4520; // " EMF"
constexpr std::size_t kEmfHeaderBytes = 88;

struct EmfHeader {
    MetafileInfo Info;
    double UnitsPerMmX = kScreenDpi / kMmPerInch;
    double UnitsPerMmY = kScreenDpi / kMmPerInch;
    std::uint32_t Handles = 0;
    std::size_t HeaderSize = 0;
};

std::optional<EmfHeader> ReadEmfHeader(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kEmfHeaderBytes || bytes.size() > kMaxMetafileBytes)
        return std::nullopt;
    Record r(bytes.data(), bytes.size());
    if (r.U32(0) != 1 || r.U32(40) != kEmfSignature)
        return std::nullopt;
    const std::uint32_t size = r.U32(4);
    if (size < kEmfHeaderBytes || size > bytes.size())
        return std::nullopt;
    EmfHeader header;
    header.HeaderSize = size;
    const double boundsL = r.I32(8), boundsT = r.I32(12), boundsR = r.I32(16), boundsB = r.I32(20);
    const double frameL = r.I32(24), frameT = r.I32(28), frameR = r.I32(32), frameB = r.I32(36);
    header.Handles = r.U16(56);
    const double deviceX = r.I32(72), deviceY = r.I32(76), mmX = r.I32(80), mmY = r.I32(84);
    if (deviceX > 0 && deviceY > 0 && mmX > 0 && mmY > 0 && deviceX <= 1e6 && deviceY <= 1e6 &&
        mmX <= 1e6 && mmY <= 1e6) {
        header.UnitsPerMmX = deviceX / mmX;
        header.UnitsPerMmY = deviceY / mmY;
    }
    MetafileInfo& info = header.Info;
    info.Format = MetafileFormat::Emf;
    if (frameR > frameL && frameB > frameT) {
        info.WidthMm = (frameR - frameL) / 100;
        info.HeightMm = (frameB - frameT) / 100;
        info.Left = frameL / 100 * header.UnitsPerMmX;
        info.Top = frameT / 100 * header.UnitsPerMmY;
        info.Right = frameR / 100 * header.UnitsPerMmX;
        info.Bottom = frameB / 100 * header.UnitsPerMmY;
    } else if (boundsR >= boundsL && boundsB >= boundsT) {
        // Bounds are inclusive device pixels.
        info.Left = boundsL, info.Top = boundsT, info.Right = boundsR + 1,
        info.Bottom = boundsB + 1;
        info.WidthMm = (info.Right - info.Left) / header.UnitsPerMmX;
        info.HeightMm = (info.Bottom - info.Top) / header.UnitsPerMmY;
    } else {
        return std::nullopt;
    }
    if (!(info.WidthMm > 0 && info.HeightMm > 0 && info.WidthMm <= kMaxSideMm &&
          info.HeightMm <= kMaxSideMm))
        return std::nullopt;
    return header;
}

std::vector<MetafilePoint> ReadPoints(Record& r, std::size_t at, std::uint64_t count, bool small) {
    std::vector<MetafilePoint> points;
    if (count > kMaxMetafilePolygonPoints || !r.Fits(at, count, small ? 4 : 8))
        return points;
    points.reserve(static_cast<std::size_t>(count));
    for (std::uint64_t i = 0; i < count; ++i) {
        const std::size_t p = at + static_cast<std::size_t>(i) * (small ? 4 : 8);
        if (small)
            points.push_back({static_cast<double>(r.I16(p)), static_cast<double>(r.I16(p + 2))});
        else
            points.push_back({static_cast<double>(r.I32(p)), static_cast<double>(r.I32(p + 4))});
    }
    return points;
}

// Rectangles of a region's data at `at` (a RGNDATA header, then the rectangles).
std::optional<std::vector<Box>> ReadRegionData(Record& r, std::size_t at, std::uint64_t bytes) {
    const std::uint32_t headerSize = r.U32(at);
    const std::uint32_t count = r.U32(at + 8);
    if (r.Bad() || headerSize < 32 || count > kMaxMetafileRegionRects ||
        !r.Fits(at + static_cast<std::uint64_t>(headerSize), count, 16) ||
        static_cast<std::uint64_t>(headerSize) + std::uint64_t{count} * 16 > bytes) {
        r.MarkBad();
        return std::nullopt;
    }
    std::vector<Box> rects;
    rects.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::size_t p = at + headerSize + std::size_t{i} * 16;
        rects.push_back(Box::Normalised(r.I32(p), r.I32(p + 4), r.I32(p + 8), r.I32(p + 12)));
    }
    return rects;
}

// The bitmap of a bit-block record: header and colours at offBmi, pixels at offBits.
std::optional<DecodedBitmap> ReadEmfBitmap(Record& r, Player& player, std::uint32_t offBmi,
                                           std::uint32_t cbBmi, std::uint32_t offBits,
                                           std::uint32_t cbBits, std::uint32_t usage,
                                           bool keepAlpha = false) {
    const std::span<const std::uint8_t> info = r.Bytes(offBmi, cbBmi);
    const std::span<const std::uint8_t> bits = r.Bytes(offBits, cbBits);
    if (r.Bad())
        return std::nullopt;
    bool bad = false;
    std::optional<DecodedBitmap> bitmap =
        DecodeDib(info, bits, usage == 1, player.PixelBudget(), bad, keepAlpha);
    if (bad)
        r.MarkBad();
    return bitmap;
}

constexpr std::uint32_t kSrcCopy = 0xCC0020, kNotSrcCopy = 0x330008, kSrcAnd = 0x8800C6,
                        kSrcPaint = 0xEE0086;
constexpr std::uint32_t kPatCopy = 0xF00021, kBlackness = 0x000042, kWhiteness = 0xFF0062;

// A bitmap's pixels as the raster operation leaves them on a white page: copied, inverted,
// or (for the mask operations) with the pixels that leave the page as it was made clear.
bool ApplyRop(DecodedBitmap& bitmap, std::uint32_t rop) {
    switch (rop) {
    case kSrcCopy:
        return true;
    case kNotSrcCopy:
        for (std::uint32_t& p : bitmap.Pixels)
            p = 0xFF000000u | (~p & 0xFFFFFF);
        return true;
    case kSrcAnd:
        for (std::uint32_t& p : bitmap.Pixels)
            if ((p & 0xFFFFFF) == 0xFFFFFF)
                p = 0;
        return true;
    case kSrcPaint:
        for (std::uint32_t& p : bitmap.Pixels)
            if ((p & 0xFFFFFF) == 0)
                p = 0;
        return true;
    default:
        return false;
    }
}

// A bit-block operation without a source: fills with the brush, black or white.
void PatternBlt(Player& player, std::uint32_t rop, double x, double y, double w, double h) {
    const Box box = Box::Normalised(x, y, x + w, y + h);
    if (rop == kBlackness)
        player.FillRect(box, 0);
    else if (rop == kWhiteness)
        player.FillRect(box, 0xFFFFFF);
    else if (rop == kPatCopy && player.Dc().Brush.Style == MetafileBrush::Fill::Solid)
        player.FillRect(box, player.Dc().Brush.Color);
}

FontObject ReadLogFontW(Record& r, std::size_t at) {
    FontObject font;
    font.Height = r.I32(at);
    font.Escapement = static_cast<int>(r.I32(at + 8) % 3600);
    font.Weight = static_cast<int>(std::clamp<std::int32_t>(r.I32(at + 16), 0, 1000));
    font.Italic = r.U8(at + 20) != 0;
    font.Underline = r.U8(at + 21) != 0;
    font.StrikeOut = r.U8(at + 22) != 0;
    font.Charset = r.U8(at + 23);
    std::u16string face;
    for (std::size_t i = 0; i < 32; ++i)
        face.push_back(static_cast<char16_t>(r.U16(at + 28 + 2 * i)));
    font.Face = TrimAtNul(std::move(face));
    return font;
}

GdiObject StockObject(std::uint32_t index) {
    GdiObject object;
    switch (index) {
    case 0: // white, light grey, grey, dark grey, black brush
    case 1:
    case 2:
    case 3:
    case 4: {
        constexpr std::array<std::uint32_t, 5> greys = {0xFFFFFF, 0xC0C0C0, 0x808080, 0x404040, 0};
        object.Type = GdiObject::Kind::Brush;
        object.Brush = SolidBrush(greys[index]);
        break;
    }
    case 5:
        object.Type = GdiObject::Kind::Brush;
        object.Brush = NullBrush();
        break;
    case 6:
    case 7:
    case 8:
        object.Type = GdiObject::Kind::Pen;
        object.Pen.Pen = StockPen(index == 6 ? 0xFFFFFF : 0, index == 8);
        break;
    case 18:
        object.Type = GdiObject::Kind::Brush;
        object.Brush = SolidBrush(0xFFFFFF);
        break;
    case 19:
        object.Type = GdiObject::Kind::Pen;
        object.Pen.Pen = StockPen(0, false);
        break;
    case 10:
    case 11:
    case 12:
    case 13:
    case 14:
    case 16:
    case 17:
        object.Type = GdiObject::Kind::Font;
        object.Font.Height = -12;
        break;
    default:
        break;
    }
    return object;
}

// The slot of an EMF object index (the file names it; only the ones used are kept); null for
// index 0 or past the limit.
GdiObject* EmfSlot(Player& player, std::uint32_t index) {
    if (index == 0 || index >= kMaxMetafileObjects)
        return nullptr;
    return &player.NamedObjects()[index];
}

// The EMF object at `index`, null when there is none.
const GdiObject* EmfObject(Player& player, std::uint32_t index) {
    const auto found = player.NamedObjects().find(index);
    return found == player.NamedObjects().end() ? nullptr : &found->second;
}

namespace emr {
enum : std::uint32_t {
    Header = 1,
    PolyBezier = 2,
    Polygon = 3,
    Polyline = 4,
    PolyBezierTo = 5,
    PolylineTo = 6,
    PolyPolyline = 7,
    PolyPolygon = 8,
    SetWindowExtEx = 9,
    SetWindowOrgEx = 10,
    SetViewportExtEx = 11,
    SetViewportOrgEx = 12,
    Eof = 14,
    SetPixelV = 15,
    SetMapMode = 17,
    SetBkMode = 18,
    SetPolyFillMode = 19,
    SetStretchBltMode = 21,
    SetTextAlign = 22,
    SetTextColor = 24,
    SetBkColor = 25,
    MoveToEx = 27,
    ExcludeClipRect = 29,
    IntersectClipRect = 30,
    ScaleViewportExtEx = 31,
    ScaleWindowExtEx = 32,
    SaveDc = 33,
    RestoreDc = 34,
    SetWorldTransform = 35,
    ModifyWorldTransform = 36,
    SelectObject = 37,
    CreatePen = 38,
    CreateBrushIndirect = 39,
    DeleteObject = 40,
    AngleArc = 41,
    Ellipse = 42,
    Rectangle = 43,
    RoundRect = 44,
    Arc = 45,
    Chord = 46,
    Pie = 47,
    LineTo = 54,
    ArcTo = 55,
    PolyDraw = 56,
    SetArcDirection = 57,
    BeginPath = 59,
    EndPath = 60,
    CloseFigure = 61,
    FillPath = 62,
    StrokeAndFillPath = 63,
    StrokePath = 64,
    SelectClipPath = 67,
    AbortPath = 68,
    FillRgn = 71,
    PaintRgn = 74,
    ExtSelectClipRgn = 75,
    BitBlt = 76,
    StretchBlt = 77,
    SetDiBitsToDevice = 80,
    StretchDiBits = 81,
    AlphaBlend = 114,
    TransparentBlt = 116,
    ExtCreateFontIndirectW = 82,
    ExtTextOutA = 83,
    ExtTextOutW = 84,
    PolyBezier16 = 85,
    Polygon16 = 86,
    Polyline16 = 87,
    PolyBezierTo16 = 88,
    PolylineTo16 = 89,
    PolyPolyline16 = 90,
    PolyPolygon16 = 91,
    PolyDraw16 = 92,
    CreateMonoBrush = 93,
    CreateDibPatternBrushPt = 94,
    ExtCreatePen = 95
};
} // namespace emr

void EmfText(Record& r, Player& player, bool wide) {
    const double x = r.I32(36), y = r.I32(40);
    const std::uint32_t count = r.U32(44);
    const std::uint32_t offString = r.U32(48);
    const std::uint32_t options = r.U32(52);
    const Box clip = Box::Normalised(r.I32(56), r.I32(60), r.I32(64), r.I32(68));
    const std::uint32_t offDx = r.U32(72);
    if (r.Bad())
        return;
    constexpr std::uint32_t kOpaque = 2, kGlyphIndex = 0x10, kPdy = 0x2000;
    std::optional<Box> opaque;
    if ((options & kOpaque) != 0)
        opaque = clip;
    if (count > kMaxMetafileTextUnits || !r.Fits(offString, count, wide ? 2 : 1))
        return;
    std::u16string text;
    std::vector<std::size_t> starts;
    if (wide) {
        for (std::uint32_t i = 0; i < count; ++i)
            text.push_back(static_cast<char16_t>(r.U16(offString + std::size_t{i} * 2)));
    } else {
        text = DecodeBytes(r.Bytes(offString, count), player.Dc().Font.Charset, &starts);
    }
    std::vector<double> advances;
    const std::uint32_t dxPer = (options & kPdy) != 0 ? 2 : 1;
    if (offDx != 0) {
        if (!r.Fits(offDx, std::uint64_t{count} * dxPer, 4))
            return;
        std::vector<double> perByte;
        for (std::uint32_t i = 0; i < count; ++i)
            perByte.push_back(r.I32(offDx + std::size_t{i} * 4 * dxPer));
        if (wide) {
            advances = std::move(perByte);
        } else {
            // One advance per character, the sum of its bytes' advances.
            advances.assign(text.size(), 0);
            for (std::size_t unit = 0; unit < text.size(); ++unit) {
                const std::size_t first = starts[unit];
                const bool lastOfChar = unit + 1 == text.size() || starts[unit + 1] != first;
                if (!lastOfChar)
                    continue;
                const std::size_t end = unit + 1 < text.size() ? starts[unit + 1] : perByte.size();
                for (std::size_t b = first; b < end && b < perByte.size(); ++b)
                    advances[unit] += perByte[b];
            }
        }
    }
    if ((options & kGlyphIndex) != 0)
        text.clear(); // glyph numbers of a font not at hand: only the background is drawn
    player.Text(std::move(text), x, y, advances.empty() ? nullptr : &advances, opaque);
}

bool PlayEmfRecord(Record& r, std::uint32_t type, Player& player) {
    DeviceContext& dc = player.Dc();
    switch (type) {
    case emr::PolyBezier:
    case emr::Polygon:
    case emr::Polyline:
    case emr::PolyBezierTo:
    case emr::PolylineTo:
    case emr::PolyBezier16:
    case emr::Polygon16:
    case emr::Polyline16:
    case emr::PolyBezierTo16:
    case emr::PolylineTo16: {
        const bool small = type >= emr::PolyBezier16;
        const std::uint32_t base = small ? type - emr::PolyBezier16 + emr::PolyBezier : type;
        const std::uint32_t count = r.U32(24);
        if (count > kMaxMetafilePolygonPoints)
            return false;
        const std::vector<MetafilePoint> points = ReadPoints(r, 28, count, small);
        if (r.Bad())
            return false;
        if (base == emr::PolyBezierTo || base == emr::PolylineTo)
            player.FromCurrent(points, base == emr::PolyBezierTo);
        else
            player.Polyline(points, base == emr::Polygon, base == emr::PolyBezier);
        return true;
    }
    case emr::PolyPolyline:
    case emr::PolyPolygon:
    case emr::PolyPolyline16:
    case emr::PolyPolygon16: {
        const bool small = type >= emr::PolyPolyline16;
        const std::uint32_t polygons = r.U32(24);
        const std::uint32_t total = r.U32(28);
        if (r.Bad() || total > kMaxMetafilePolygonPoints || !r.Fits(32, polygons, 4))
            return false;
        std::vector<std::uint32_t> counts;
        counts.reserve(polygons);
        std::uint64_t sum = 0;
        for (std::uint32_t i = 0; i < polygons; ++i) {
            counts.push_back(r.U32(32 + std::size_t{i} * 4));
            sum += counts.back();
        }
        if (sum != total)
            return false;
        const std::vector<MetafilePoint> points =
            ReadPoints(r, 32 + std::size_t{polygons} * 4, total, small);
        if (r.Bad())
            return false;
        const bool closed = type == emr::PolyPolygon || type == emr::PolyPolygon16;
        player.PolyPolygon(points, counts, closed);
        return true;
    }
    case emr::PolyDraw:
    case emr::PolyDraw16: {
        const bool small = type == emr::PolyDraw16;
        const std::uint32_t count = r.U32(24);
        if (count > kMaxMetafilePolygonPoints)
            return false;
        const std::vector<MetafilePoint> points = ReadPoints(r, 28, count, small);
        const std::span<const std::uint8_t> kinds =
            r.Bytes(28 + std::uint64_t{count} * (small ? 4 : 8), count);
        if (r.Bad())
            return false;
        // Move, line and Bézier points as a path from the current position.
        LogicalPath logical;
        logical.Move(dc.CurrentX, dc.CurrentY);
        for (std::size_t i = 0; i < points.size(); ++i) {
            const std::uint8_t kind = kinds[i];
            if ((kind & 6) == 6 && i + 2 < points.size()) {
                logical.Cubic(points[i], points[i + 1], points[i + 2]);
                i += 2;
            } else if ((kind & 6) == 2) {
                logical.Line(points[i].X, points[i].Y);
            } else {
                logical.Move(points[i].X, points[i].Y);
            }
            if ((kinds[i] & 1) != 0)
                logical.Close();
            dc.CurrentX = points[i].X, dc.CurrentY = points[i].Y;
        }
        player.Shape(logical, false, true);
        return true;
    }
    case emr::SetWindowExtEx:
        player.SetWindowExt(r.I32(8), r.I32(12));
        return true;
    case emr::SetWindowOrgEx:
        player.SetWindowOrg(r.I32(8), r.I32(12));
        return true;
    case emr::SetViewportExtEx:
        player.SetViewportExt(r.I32(8), r.I32(12));
        return true;
    case emr::SetViewportOrgEx:
        player.SetViewportOrg(r.I32(8), r.I32(12));
        return true;
    case emr::ScaleViewportExtEx:
        player.ScaleViewportExt(r.I32(8), r.I32(12), r.I32(16), r.I32(20));
        return true;
    case emr::ScaleWindowExtEx:
        player.ScaleWindowExt(r.I32(8), r.I32(12), r.I32(16), r.I32(20));
        return true;
    case emr::SetPixelV:
        player.SetPixel(r.I32(8), r.I32(12), r.U32(16));
        return true;
    case emr::SetMapMode:
        player.SetMapMode(r.U32(8));
        return true;
    case emr::SetBkMode:
        dc.OpaqueBackground = r.U32(8) == 2;
        return true;
    case emr::SetPolyFillMode:
        dc.FillRule = r.U32(8) == 2 ? MetafileFillRule::Winding : MetafileFillRule::Alternate;
        return true;
    case emr::SetTextAlign:
        dc.TextAlign = r.U32(8);
        return true;
    case emr::SetStretchBltMode:
        dc.HalftoneStretch = r.U32(8) == 4;
        return true;
    case emr::SetTextColor:
        dc.TextColor = ColorFromRef(r.U32(8));
        return true;
    case emr::SetBkColor:
        dc.BackColor = ColorFromRef(r.U32(8));
        return true;
    case emr::MoveToEx:
        player.MoveTo(r.I32(8), r.I32(12));
        return true;
    case emr::ExcludeClipRect:
    case emr::IntersectClipRect:
        player.ClipRect(r.I32(8), r.I32(12), r.I32(16), r.I32(20), type == emr::ExcludeClipRect);
        return true;
    case emr::SaveDc:
        player.Save();
        return true;
    case emr::RestoreDc: {
        const std::int64_t relative = r.I32(8);
        // Negative: that many saves back; positive: the state of that save (1 the first).
        player.Restore(relative < 0
                           ? -relative
                           : static_cast<std::int64_t>(player.SavedCount()) - relative + 1);
        return true;
    }
    case emr::SetWorldTransform:
    case emr::ModifyWorldTransform: {
        const Affine x{r.F32(8), r.F32(12), r.F32(16), r.F32(20), r.F32(24), r.F32(28)};
        const std::uint32_t mode = type == emr::SetWorldTransform ? 4 : r.U32(32);
        if (r.Bad())
            return false;
        Affine next = dc.World;
        switch (mode) {
        case 1:
            next = Affine{};
            break;
        case 2:
            next = x.Then(dc.World);
            break;
        case 3:
            next = dc.World.Then(x);
            break;
        case 4:
            next = x;
            break;
        default:
            return true;
        }
        if (next.Sane())
            dc.World = next;
        return true;
    }
    case emr::SelectObject: {
        const std::uint32_t index = r.U32(8);
        if (r.Bad())
            return false;
        if ((index & 0x80000000u) != 0) {
            player.Select(StockObject(index & 0x7FFFFFFFu));
        } else if (const GdiObject* object = EmfObject(player, index)) {
            player.Select(*object);
        }
        return true;
    }
    case emr::DeleteObject: {
        const std::uint32_t index = r.U32(8);
        player.NamedObjects().erase(index);
        return true;
    }
    case emr::CreatePen: {
        const std::uint32_t index = r.U32(8);
        const std::uint32_t style = r.U32(12);
        const double width = r.I32(16);
        const std::uint32_t color = r.U32(24);
        if (r.Bad())
            return false;
        GdiObject* slot = EmfSlot(player, index);
        if (!slot)
            return index == 0;
        slot->Type = GdiObject::Kind::Pen;
        slot->Pen = MakePen(style, width, color, width > 0);
        return true;
    }
    case emr::ExtCreatePen: {
        const std::uint32_t index = r.U32(8);
        const std::uint32_t style = r.U32(28);
        const double width = r.U32(32);
        const std::uint32_t brushStyle = r.U32(36);
        const std::uint32_t color = r.U32(40);
        if (r.Bad())
            return false;
        GdiObject* slot = EmfSlot(player, index);
        if (!slot)
            return index == 0;
        slot->Type = GdiObject::Kind::Pen;
        const bool geometric = (style & 0xF0000) == 0x10000;
        slot->Pen = MakePen(brushStyle == 1 ? 5 : style, width, color, geometric);
        return true;
    }
    case emr::CreateBrushIndirect: {
        const std::uint32_t index = r.U32(8);
        const MetafileBrush brush = MakeBrush(r.U32(12), r.U32(16), r.U32(20));
        if (r.Bad())
            return false;
        GdiObject* slot = EmfSlot(player, index);
        if (!slot)
            return index == 0;
        slot->Type = GdiObject::Kind::Brush;
        slot->Brush = brush;
        return true;
    }
    case emr::CreateMonoBrush:
    case emr::CreateDibPatternBrushPt: {
        const std::uint32_t index = r.U32(8);
        const std::uint32_t usage = r.U32(12);
        const std::optional<DecodedBitmap> bitmap =
            ReadEmfBitmap(r, player, r.U32(16), r.U32(20), r.U32(24), r.U32(28), usage);
        if (r.Bad())
            return false;
        GdiObject* slot = EmfSlot(player, index);
        if (!slot)
            return index == 0;
        slot->Type = GdiObject::Kind::Brush;
        slot->Brush = PatternBrush(bitmap);
        return true;
    }
    case emr::ExtCreateFontIndirectW: {
        const std::uint32_t index = r.U32(8);
        const FontObject font = ReadLogFontW(r, 12);
        if (r.Bad())
            return false;
        GdiObject* slot = EmfSlot(player, index);
        if (!slot)
            return index == 0;
        slot->Type = GdiObject::Kind::Font;
        slot->Font = font;
        return true;
    }
    case emr::AngleArc: {
        const double cx = r.I32(8), cy = r.I32(12);
        const double radius = r.U32(16);
        const double start = r.F32(20), sweep = r.F32(24);
        if (r.Bad())
            return false;
        if (!std::isfinite(start) || !std::isfinite(sweep))
            return true;
        // A line from the current position to the arc's start, then the arc.
        const double a0 = std::fmod(static_cast<double>(start), 360.0) * kPi / 180;
        const double s = std::clamp(static_cast<double>(sweep), -360.0, 360.0) * kPi / 180;
        const Box box{cx - radius, cy - radius, cx + radius, cy + radius};
        const MetafilePoint from = EllipsePoint(box, a0), to = EllipsePoint(box, a0 + s);
        const bool clockwise = dc.Clockwise;
        dc.Clockwise = s < 0;
        player.Arc(Player::ArcKind::ArcTo, box.Left, box.Top, box.Right, box.Bottom, from.X, from.Y,
                   to.X, to.Y);
        dc.Clockwise = clockwise;
        return true;
    }
    case emr::Ellipse:
        player.Ellipse(r.I32(8), r.I32(12), r.I32(16), r.I32(20));
        return !r.Bad();
    case emr::Rectangle:
        player.Rectangle(r.I32(8), r.I32(12), r.I32(16), r.I32(20));
        return !r.Bad();
    case emr::RoundRect:
        player.RoundRect(r.I32(8), r.I32(12), r.I32(16), r.I32(20), r.I32(24), r.I32(28));
        return !r.Bad();
    case emr::Arc:
    case emr::ArcTo:
    case emr::Chord:
    case emr::Pie: {
        const Player::ArcKind kind = type == emr::Arc     ? Player::ArcKind::Arc
                                     : type == emr::ArcTo ? Player::ArcKind::ArcTo
                                     : type == emr::Chord ? Player::ArcKind::Chord
                                                          : Player::ArcKind::Pie;
        const double v[8] = {static_cast<double>(r.I32(8)),  static_cast<double>(r.I32(12)),
                             static_cast<double>(r.I32(16)), static_cast<double>(r.I32(20)),
                             static_cast<double>(r.I32(24)), static_cast<double>(r.I32(28)),
                             static_cast<double>(r.I32(32)), static_cast<double>(r.I32(36))};
        if (r.Bad())
            return false;
        player.Arc(kind, v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]);
        return true;
    }
    case emr::LineTo: {
        const std::vector<MetafilePoint> point = ReadPoints(r, 8, 1, false);
        if (r.Bad())
            return false;
        player.FromCurrent(point, false);
        return true;
    }
    case emr::SetArcDirection:
        dc.Clockwise = r.U32(8) == 2;
        return true;
    case emr::BeginPath:
        player.BeginPath();
        return true;
    case emr::EndPath:
        player.EndPath();
        return true;
    case emr::CloseFigure:
        player.CloseFigure();
        return true;
    case emr::FillPath:
        player.DrawStoredPath(true, false);
        return true;
    case emr::StrokePath:
        player.DrawStoredPath(false, true);
        return true;
    case emr::StrokeAndFillPath:
        player.DrawStoredPath(true, true);
        return true;
    case emr::AbortPath:
        player.AbortPath();
        return true;
    case emr::SelectClipPath:
        player.ClipToPath(r.U32(8));
        return true;
    case emr::ExtSelectClipRgn: {
        const std::uint32_t bytes = r.U32(8);
        const std::uint32_t mode = r.U32(12);
        if (r.Bad())
            return false;
        if (bytes == 0) { // only "copy" goes without a region: no clip
            if (mode == 5)
                player.ResetClip();
            return true;
        }
        const std::optional<std::vector<Box>> rects = ReadRegionData(r, 16, bytes);
        if (!rects)
            return false;
        player.ChangeClip(mode, player.RegionArea(*rects, false));
        return true;
    }
    case emr::FillRgn:
    case emr::PaintRgn: {
        const std::uint32_t bytes = r.U32(24);
        const bool fill = type == emr::FillRgn;
        MetafileBrush brush = player.PictureBrush();
        if (fill) {
            const std::uint32_t index = r.U32(28);
            if ((index & 0x80000000u) != 0) {
                const GdiObject stock = StockObject(index & 0x7FFFFFFFu);
                if (stock.Type == GdiObject::Kind::Brush)
                    brush = stock.Brush;
            } else if (const GdiObject* object = EmfObject(player, index);
                       object && object->Type == GdiObject::Kind::Brush) {
                brush = object->Brush;
            }
        }
        if (r.Bad())
            return false;
        const std::optional<std::vector<Box>> rects = ReadRegionData(r, fill ? 32 : 28, bytes);
        if (!rects)
            return false;
        player.FillRegion(*rects, brush, true);
        return true;
    }
    case emr::BitBlt:
    case emr::StretchBlt: {
        const double x = r.I32(24), y = r.I32(28), w = r.I32(32), h = r.I32(36);
        const std::uint32_t rop = r.U32(40);
        const double sx = r.I32(44), sy = r.I32(48);
        const std::uint32_t usage = r.U32(80), offBmi = r.U32(84), cbBmi = r.U32(88),
                            offBits = r.U32(92), cbBits = r.U32(96);
        double sw = w, sh = h;
        if (type == emr::StretchBlt)
            sw = r.I32(100), sh = r.I32(104);
        if (r.Bad())
            return false;
        if (cbBmi == 0) {
            PatternBlt(player, rop, x, y, w, h);
            return true;
        }
        std::optional<DecodedBitmap> bitmap =
            ReadEmfBitmap(r, player, offBmi, cbBmi, offBits, cbBits, usage);
        if (r.Bad())
            return false;
        if (bitmap && ApplyRop(*bitmap, rop))
            player.Bitmap(*bitmap, x, y, w, h, sx, sy, sw, sh);
        return true;
    }
    case emr::AlphaBlend:
    case emr::TransparentBlt: {
        // Laid out as a stretched block; the raster operation's place holds the blending
        // (constant alpha in its third byte, "the source has alpha" in its fourth) or the
        // colour that stays clear.
        const double x = r.I32(24), y = r.I32(28), w = r.I32(32), h = r.I32(36);
        const std::uint32_t blend = r.U32(40);
        const double sx = r.I32(44), sy = r.I32(48);
        const std::uint32_t usage = r.U32(80), offBmi = r.U32(84), cbBmi = r.U32(88),
                            offBits = r.U32(92), cbBits = r.U32(96);
        const double sw = r.I32(100), sh = r.I32(104);
        if (r.Bad())
            return false;
        const bool alpha = type == emr::AlphaBlend;
        std::optional<DecodedBitmap> bitmap = ReadEmfBitmap(
            r, player, offBmi, cbBmi, offBits, cbBits, usage, alpha && (blend >> 24 & 1) != 0);
        if (r.Bad())
            return false;
        if (!bitmap)
            return true;
        if (alpha) {
            const std::uint32_t constant = blend >> 16 & 0xFF;
            for (std::uint32_t& p : bitmap->Pixels)
                p = ((p >> 24) * constant + 127) / 255 << 24 | (p & 0xFFFFFF);
        } else {
            const std::uint32_t clear = ColorFromRef(blend);
            for (std::uint32_t& p : bitmap->Pixels)
                if ((p & 0xFFFFFF) == clear)
                    p = 0;
        }
        player.Bitmap(*bitmap, x, y, w, h, sx, sy, sw, sh);
        return true;
    }
    case emr::StretchDiBits:
    case emr::SetDiBitsToDevice: {
        const double x = r.I32(24), y = r.I32(28), sx = r.I32(32), sy = r.I32(36);
        const double sw = r.I32(40), sh = r.I32(44);
        const std::uint32_t offBmi = r.U32(48), cbBmi = r.U32(52), offBits = r.U32(56),
                            cbBits = r.U32(60);
        const std::uint32_t usage = r.U32(64);
        const bool stretch = type == emr::StretchDiBits;
        const std::uint32_t rop = stretch ? r.U32(68) : kSrcCopy;
        const double w = stretch ? r.I32(72) : sw, h = stretch ? r.I32(76) : sh;
        if (r.Bad())
            return false;
        std::optional<DecodedBitmap> bitmap =
            ReadEmfBitmap(r, player, offBmi, cbBmi, offBits, cbBits, usage);
        if (r.Bad())
            return false;
        if (bitmap && ApplyRop(*bitmap, rop)) {
            // The source rectangle counts from the bitmap's bottom row in a bottom-up bitmap.
            // A core header (12 bytes) always stands bottom-up.
            const bool bottomUp = r.U32(offBmi) == 12 || r.I32(offBmi + 8) > 0;
            const double top = bottomUp ? bitmap->Height - sy - sh : sy;
            player.Bitmap(*bitmap, x, y, w, h, sx, top, sw, sh);
        }
        return !r.Bad();
    }
    case emr::ExtTextOutA:
    case emr::ExtTextOutW:
        EmfText(r, player, type == emr::ExtTextOutW);
        return !r.Bad();
    default:
        return true; // comments (EMF+ among them), palettes and the rest: nothing to draw
    }
}

bool PlayEmf(std::span<const std::uint8_t> bytes, MetafileSink& sink) {
    const std::optional<EmfHeader> header = ReadEmfHeader(bytes);
    if (!header)
        return false;
    Player player(header->Info, sink, header->UnitsPerMmX, header->UnitsPerMmY);
    std::size_t at = header->HeaderSize;
    std::size_t records = 1;
    while (at < bytes.size()) {
        if (++records > kMaxMetafileRecords || bytes.size() - at < 8)
            return false;
        Record head(bytes.data() + at, 8);
        const std::uint32_t type = head.U32(0);
        const std::uint32_t size = head.U32(4);
        if (size < 8 || size > bytes.size() - at)
            return false;
        if (type == emr::Eof)
            return true;
        Record record(bytes.data() + at, size);
        if (!PlayEmfRecord(record, type, player) || record.Bad() || player.Failed() ||
            sink.Exhausted())
            return false;
        at += size;
    }
    return false; // no end record
}

// ---------------------------------------------------------------------------------------------
// WMF

constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr std::size_t kPlaceableBytes = 22;
constexpr std::size_t kWmfHeaderBytes = 18;

struct WmfHeader {
    MetafileInfo Info;
    std::size_t FirstRecord = 0;
    std::uint16_t Objects = 0;
    double UnitsPerMm = kScreenDpi / kMmPerInch;
    // The logical rectangle the picture covers (the placeable bounds, else the window).
    double OrgX = 0, OrgY = 0, ExtX = 0, ExtY = 0;
};

namespace wmr {
enum : std::uint16_t {
    Eof = 0x0000,
    SetBkColor = 0x0201,
    SetBkMode = 0x0102,
    SetMapMode = 0x0103,
    SetPolyFillMode = 0x0106,
    SetStretchBltMode = 0x0107,
    SetTextColor = 0x0209,
    SetWindowOrg = 0x020B,
    SetWindowExt = 0x020C,
    SetViewportOrg = 0x020D,
    SetViewportExt = 0x020E,
    OffsetWindowOrg = 0x020F,
    ScaleWindowExt = 0x0410,
    OffsetViewportOrg = 0x0211,
    ScaleViewportExt = 0x0412,
    LineTo = 0x0213,
    MoveTo = 0x0214,
    ExcludeClipRect = 0x0415,
    IntersectClipRect = 0x0416,
    Arc = 0x0817,
    Ellipse = 0x0418,
    Pie = 0x081A,
    Rectangle = 0x041B,
    RoundRect = 0x061C,
    PatBlt = 0x061D,
    SaveDc = 0x001E,
    SetPixel = 0x041F,
    TextOut = 0x0521,
    Polygon = 0x0324,
    Polyline = 0x0325,
    RestoreDc = 0x0127,
    FillRegion = 0x0228,
    PaintRegion = 0x012B,
    SelectClipRegion = 0x012C,
    SelectObject = 0x012D,
    SetTextAlign = 0x012E,
    Chord = 0x0830,
    ExtTextOut = 0x0A32,
    SetDibToDev = 0x0D33,
    PolyPolygon = 0x0538,
    DibBitBlt = 0x0940,
    DibStretchBlt = 0x0B41,
    StretchDib = 0x0F43,
    DeleteObject = 0x01F0,
    CreatePalette = 0x00F7,
    CreatePatternBrush = 0x01F9,
    CreatePenIndirect = 0x02FA,
    CreateFontIndirect = 0x02FB,
    CreateBrushIndirect = 0x02FC,
    CreateRegion = 0x06FF,
    DibCreatePatternBrush = 0x0142
};
} // namespace wmr

// Walks the records after the header, calling `visit(record, function)` until it returns
// false; false when a record does not fit, the records run past the limit or no end record.
template <typename Visit>
bool WalkWmf(std::span<const std::uint8_t> bytes, std::size_t at, Visit&& visit) {
    std::size_t records = 0;
    while (bytes.size() - at >= 6) {
        if (++records > kMaxMetafileRecords)
            return false;
        Record head(bytes.data() + at, 6);
        const std::uint64_t size = std::uint64_t{head.U32(0)} * 2;
        const std::uint16_t function = head.U16(4);
        if (size < 6 || size > bytes.size() - at)
            return false;
        if (function == wmr::Eof)
            return true;
        Record record(bytes.data() + at, static_cast<std::size_t>(size));
        if (!visit(record, function))
            return false;
        at += static_cast<std::size_t>(size);
    }
    return false;
}

std::optional<WmfHeader> ReadWmfHeader(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kWmfHeaderBytes || bytes.size() > kMaxMetafileBytes)
        return std::nullopt;
    Record r(bytes.data(), bytes.size());
    WmfHeader header;
    std::size_t at = 0;
    bool placeable = false;
    if (r.U32(0) == kPlaceableKey) {
        if (bytes.size() < kPlaceableBytes + kWmfHeaderBytes)
            return std::nullopt;
        placeable = true;
        const double l = r.I16(6), t = r.I16(8), rt = r.I16(10), b = r.I16(12);
        const double inch = r.U16(14) != 0 ? r.U16(14) : 1440;
        header.OrgX = std::min(l, rt), header.OrgY = std::min(t, b);
        header.ExtX = std::fabs(rt - l), header.ExtY = std::fabs(b - t);
        header.UnitsPerMm = inch / kMmPerInch;
        at = kPlaceableBytes;
    }
    const std::uint16_t type = r.U16(at);
    const std::uint16_t headerWords = r.U16(at + 2);
    const std::uint16_t version = r.U16(at + 4);
    header.Objects = r.U16(at + 10);
    if (r.Bad() || (type != 1 && type != 2) || headerWords != 9 ||
        (version != 0x0100 && version != 0x0300))
        return std::nullopt;
    header.FirstRecord = at + kWmfHeaderBytes;
    if (!placeable) {
        // The window the records set up gives the picture's extent.
        std::optional<MetafilePoint> org, ext;
        WalkWmf(bytes, header.FirstRecord, [&](Record& record, std::uint16_t function) {
            if (function == wmr::SetWindowOrg && !org)
                org = MetafilePoint{static_cast<double>(record.I16(8)),
                                    static_cast<double>(record.I16(6))};
            if (function == wmr::SetWindowExt && !ext)
                ext = MetafilePoint{static_cast<double>(record.I16(8)),
                                    static_cast<double>(record.I16(6))};
            return !record.Bad() && !(org && ext);
        });
        if (!ext)
            return std::nullopt;
        header.OrgX = org ? org->X : 0;
        header.OrgY = org ? org->Y : 0;
        header.ExtX = ext->X;
        header.ExtY = ext->Y;
    }
    MetafileInfo& info = header.Info;
    info.Format = MetafileFormat::Wmf;
    info.Left = 0;
    info.Top = 0;
    info.Right = std::fabs(header.ExtX);
    info.Bottom = std::fabs(header.ExtY);
    info.WidthMm = info.Right / header.UnitsPerMm;
    info.HeightMm = info.Bottom / header.UnitsPerMm;
    if (!(info.WidthMm > 0 && info.HeightMm > 0 && info.WidthMm <= kMaxSideMm &&
          info.HeightMm <= kMaxSideMm))
        return std::nullopt;
    return header;
}

// Puts `object` in the lowest free slot of the WMF object table.
class WmfObjects {
public:
    explicit WmfObjects(Player& player)
        : m_player(player) {}
    bool Add(GdiObject object) {
        std::vector<GdiObject>& objects = m_player.Objects();
        std::size_t slot = 0;
        if (!m_free.empty()) {
            slot = m_free.top();
            m_free.pop();
        } else {
            if (objects.size() >= kMaxMetafileObjects)
                return false;
            slot = objects.size();
            objects.emplace_back();
        }
        objects[slot] = std::move(object);
        return true;
    }
    void Delete(std::size_t index) {
        std::vector<GdiObject>& objects = m_player.Objects();
        if (index >= objects.size() || objects[index].Type == GdiObject::Kind::Free)
            return;
        objects[index] = GdiObject{};
        m_free.push(index);
    }
    const GdiObject* Get(std::size_t index) const {
        const std::vector<GdiObject>& objects = m_player.Objects();
        return index < objects.size() ? &objects[index] : nullptr;
    }

private:
    Player& m_player;
    std::priority_queue<std::size_t, std::vector<std::size_t>, std::greater<>> m_free;
};

std::optional<std::vector<Box>> ReadWmfRegion(Record& r) {
    // Region object: next (2), type (2), count (4), size (2), scans (2), max scan (2), bounds
    // (8), then the scans: count, top, bottom, count/2 pairs of left and right, count again.
    const std::uint16_t scans = r.U16(6 + 10);
    if (r.Bad())
        return std::nullopt;
    std::vector<Box> rects;
    std::size_t at = 6 + 22;
    for (std::uint16_t s = 0; s < scans; ++s) {
        const std::uint16_t count = r.U16(at);
        const double top = r.I16(at + 2), bottom = r.I16(at + 4);
        if (r.Bad() || !r.Fits(at + 6, count, 2))
            return std::nullopt;
        for (std::uint16_t i = 0; i + 1 < count; i += 2) {
            if (rects.size() >= kMaxMetafileRegionRects)
                return std::nullopt;
            rects.push_back(Box::Normalised(r.I16(at + 6 + std::size_t{i} * 2), top,
                                            r.I16(at + 8 + std::size_t{i} * 2), bottom));
        }
        at += 8 + std::size_t{count} * 2;
    }
    return rects;
}

FontObject ReadWmfFont(Record& r) {
    FontObject font;
    font.Height = r.I16(6);
    font.Escapement = r.I16(10) % 3600;
    font.Weight = std::clamp<int>(r.I16(14), 0, 1000);
    font.Italic = r.U8(16) != 0;
    font.Underline = r.U8(17) != 0;
    font.StrikeOut = r.U8(18) != 0;
    font.Charset = r.U8(19);
    std::vector<std::uint8_t> face;
    for (std::size_t i = 24; i < r.Size() && face.size() < 32; ++i) {
        if (r.U8(i) == 0)
            break;
        face.push_back(r.U8(i));
    }
    font.Face = DecodeBytes(face, font.Charset, nullptr);
    return font;
}

// The packed bitmap at `at` up to the record's end.
std::optional<DecodedBitmap> ReadWmfBitmap(Record& r, std::size_t at, bool paletteIndices,
                                           Player& player) {
    if (!r.Fits(at, 1, 4))
        return std::nullopt;
    const std::uint64_t headerBytes = PackedDibHeaderBytes(r, at);
    if (headerBytes == 0 || !r.Fits(at, headerBytes, 1)) {
        r.MarkBad();
        return std::nullopt;
    }
    const std::span<const std::uint8_t> info = r.Bytes(at, headerBytes);
    const std::span<const std::uint8_t> bits =
        r.Bytes(at + headerBytes, r.Size() - at - headerBytes);
    bool bad = false;
    std::optional<DecodedBitmap> bitmap =
        DecodeDib(info, bits, paletteIndices, player.PixelBudget(), bad);
    if (bad)
        r.MarkBad();
    return bitmap;
}

void WmfText(Record& r, Player& player, double x, double y, std::size_t stringAt, std::size_t count,
             std::optional<std::size_t> dxAt, const std::optional<Box>& opaque) {
    const std::span<const std::uint8_t> bytes = r.Bytes(stringAt, count);
    if (r.Bad())
        return;
    std::vector<std::size_t> starts;
    std::u16string text = DecodeBytes(bytes, player.Dc().Font.Charset, &starts);
    std::vector<double> advances;
    if (dxAt && r.Size() >= *dxAt && (r.Size() - *dxAt) / 2 >= count) {
        advances.assign(text.size(), 0);
        for (std::size_t unit = 0; unit < text.size(); ++unit) {
            const bool lastOfChar = unit + 1 == text.size() || starts[unit + 1] != starts[unit];
            if (!lastOfChar)
                continue;
            const std::size_t end = unit + 1 < text.size() ? starts[unit + 1] : count;
            for (std::size_t b = starts[unit]; b < end; ++b)
                advances[unit] += r.I16(*dxAt + b * 2);
        }
    }
    player.Text(std::move(text), x, y, advances.empty() ? nullptr : &advances, opaque);
}

bool AddObject(WmfObjects& objects, Player& player, GdiObject object) {
    if (objects.Add(std::move(object)))
        return true;
    player.Fail();
    return false;
}

bool PlayWmfRecord(Record& r, std::uint16_t function, Player& player, WmfObjects& objects) {
    DeviceContext& dc = player.Dc();
    // Parameters start at byte 6, each 16 bits; many come last to first.
    const auto p = [&r](std::size_t index) { return static_cast<double>(r.I16(6 + index * 2)); };
    switch (function) {
    case wmr::SetBkColor:
        dc.BackColor = ColorFromRef(r.U32(6));
        return true;
    case wmr::SetBkMode:
        dc.OpaqueBackground = r.U16(6) == 2;
        return true;
    case wmr::SetMapMode:
        player.SetMapMode(r.U16(6));
        return true;
    case wmr::SetPolyFillMode:
        dc.FillRule = r.U16(6) == 2 ? MetafileFillRule::Winding : MetafileFillRule::Alternate;
        return true;
    case wmr::SetTextColor:
        dc.TextColor = ColorFromRef(r.U32(6));
        return true;
    case wmr::SetTextAlign:
        dc.TextAlign = r.U16(6);
        return true;
    case wmr::SetStretchBltMode:
        dc.HalftoneStretch = r.U16(6) == 4;
        return true;
    case wmr::SetWindowOrg:
        player.SetWindowOrg(p(1), p(0));
        return true;
    case wmr::SetWindowExt:
        player.SetWindowExt(p(1), p(0));
        return true;
    case wmr::SetViewportOrg:
        player.SetViewportOrg(p(1), p(0));
        return true;
    case wmr::SetViewportExt:
        player.SetViewportExt(p(1), p(0));
        return true;
    case wmr::OffsetWindowOrg:
        player.SetWindowOrg(dc.WindowOrgX + p(1), dc.WindowOrgY + p(0));
        return true;
    case wmr::OffsetViewportOrg:
        player.SetViewportOrg(dc.ViewportOrgX + p(1), dc.ViewportOrgY + p(0));
        return true;
    case wmr::ScaleWindowExt:
        player.ScaleWindowExt(p(3), p(2), p(1), p(0));
        return true;
    case wmr::ScaleViewportExt:
        player.ScaleViewportExt(p(3), p(2), p(1), p(0));
        return true;
    case wmr::LineTo: {
        const std::vector<MetafilePoint> point{{p(1), p(0)}};
        if (r.Bad())
            return false;
        player.FromCurrent(point, false);
        return true;
    }
    case wmr::MoveTo:
        player.MoveTo(p(1), p(0));
        return true;
    case wmr::ExcludeClipRect:
    case wmr::IntersectClipRect:
        player.ClipRect(p(3), p(2), p(1), p(0), function == wmr::ExcludeClipRect);
        return !r.Bad();
    case wmr::Arc:
    case wmr::Pie:
    case wmr::Chord: {
        const Player::ArcKind kind = function == wmr::Arc   ? Player::ArcKind::Arc
                                     : function == wmr::Pie ? Player::ArcKind::Pie
                                                            : Player::ArcKind::Chord;
        const double v[8] = {p(7), p(6), p(5), p(4), p(3), p(2), p(1), p(0)};
        if (r.Bad())
            return false;
        player.Arc(kind, v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]);
        return true;
    }
    case wmr::Ellipse:
        player.Ellipse(p(3), p(2), p(1), p(0));
        return !r.Bad();
    case wmr::Rectangle:
        player.Rectangle(p(3), p(2), p(1), p(0));
        return !r.Bad();
    case wmr::RoundRect:
        player.RoundRect(p(5), p(4), p(3), p(2), p(1), p(0));
        return !r.Bad();
    case wmr::PatBlt: {
        const std::uint32_t rop = r.U32(6);
        const double h = p(2), w = p(3), y = p(4), x = p(5);
        if (r.Bad())
            return false;
        PatternBlt(player, rop, x, y, w, h);
        return true;
    }
    case wmr::SaveDc:
        player.Save();
        return true;
    case wmr::RestoreDc: {
        const std::int64_t relative = r.I16(6);
        player.Restore(relative < 0
                           ? -relative
                           : static_cast<std::int64_t>(player.SavedCount()) - relative + 1);
        return true;
    }
    case wmr::SetPixel:
        player.SetPixel(p(3), p(2), r.U32(6));
        return !r.Bad();
    case wmr::Polygon:
    case wmr::Polyline: {
        const std::uint16_t count = r.U16(6);
        const std::vector<MetafilePoint> points = ReadPoints(r, 8, count, true);
        if (r.Bad())
            return false;
        player.Polyline(points, function == wmr::Polygon, false);
        return true;
    }
    case wmr::PolyPolygon: {
        const std::uint16_t polygons = r.U16(6);
        if (r.Bad() || !r.Fits(8, polygons, 2))
            return false;
        std::vector<std::uint32_t> counts;
        std::uint64_t total = 0;
        for (std::uint16_t i = 0; i < polygons; ++i) {
            counts.push_back(r.U16(8 + std::size_t{i} * 2));
            total += counts.back();
        }
        if (total > kMaxMetafilePolygonPoints)
            return false;
        const std::vector<MetafilePoint> points =
            ReadPoints(r, 8 + std::size_t{polygons} * 2, total, true);
        if (r.Bad())
            return false;
        player.PolyPolygon(points, counts, true);
        return true;
    }
    case wmr::TextOut: {
        const auto count = static_cast<std::uint16_t>(r.I16(6));
        const std::size_t padded = (std::size_t{count} + 1) / 2 * 2;
        const double y = r.I16(8 + padded), x = r.I16(10 + padded);
        if (r.Bad())
            return false;
        WmfText(r, player, x, y, 8, count, std::nullopt, std::nullopt);
        return !r.Bad();
    }
    case wmr::ExtTextOut: {
        const double y = p(0), x = p(1);
        const auto count = static_cast<std::uint16_t>(r.I16(10));
        const std::uint16_t options = r.U16(12);
        std::size_t at = 14;
        std::optional<Box> opaque;
        if ((options & 6) != 0) {
            const Box box = Box::Normalised(p(4), p(5), p(6), p(7));
            if ((options & 2) != 0)
                opaque = box;
            at += 8;
        }
        if (r.Bad())
            return false;
        const std::size_t padded = (std::size_t{count} + 1) / 2 * 2;
        WmfText(r, player, x, y, at, count, at + padded, opaque);
        return !r.Bad();
    }
    case wmr::SelectObject: {
        const GdiObject* object = objects.Get(r.U16(6));
        if (object)
            player.Select(*object);
        return !r.Bad();
    }
    case wmr::SelectClipRegion: {
        const GdiObject* object = objects.Get(r.U16(6));
        if (object && object->Type == GdiObject::Kind::Region)
            player.Select(*object);
        else
            player.ResetClip();
        return !r.Bad();
    }
    case wmr::FillRegion:
    case wmr::PaintRegion: {
        // The region's number, then (filling) the brush's.
        const GdiObject* region = objects.Get(r.U16(6));
        MetafileBrush brush = player.PictureBrush();
        if (function == wmr::FillRegion) {
            const GdiObject* b = objects.Get(r.U16(8));
            if (!b || b->Type != GdiObject::Kind::Brush)
                return !r.Bad();
            brush = b->Brush;
        }
        if (region && region->Type == GdiObject::Kind::Region)
            player.FillRegion(region->Rects, brush, true);
        return !r.Bad();
    }
    case wmr::DeleteObject:
        objects.Delete(r.U16(6));
        return !r.Bad();
    case wmr::CreatePenIndirect: {
        const std::uint16_t style = r.U16(6);
        const double width = r.I16(8);
        const std::uint32_t color = r.U32(12);
        if (r.Bad())
            return false;
        GdiObject object;
        object.Type = GdiObject::Kind::Pen;
        object.Pen = MakePen(style, width, color, width > 0);
        return AddObject(objects, player, std::move(object));
    }
    case wmr::CreateBrushIndirect: {
        GdiObject object;
        object.Type = GdiObject::Kind::Brush;
        object.Brush = MakeBrush(r.U16(6), r.U32(8), r.U16(12));
        if (r.Bad())
            return false;
        return AddObject(objects, player, std::move(object));
    }
    case wmr::CreateFontIndirect: {
        GdiObject object;
        object.Type = GdiObject::Kind::Font;
        object.Font = ReadWmfFont(r);
        if (r.Bad())
            return false;
        return AddObject(objects, player, std::move(object));
    }
    case wmr::DibCreatePatternBrush: {
        GdiObject object;
        object.Type = GdiObject::Kind::Brush;
        const std::uint16_t usage = r.U16(8);
        const std::optional<DecodedBitmap> bitmap = ReadWmfBitmap(r, 10, usage == 1, player);
        object.Brush = PatternBrush(bitmap);
        if (r.Bad())
            return false;
        return AddObject(objects, player, std::move(object));
    }
    case wmr::CreateRegion: {
        GdiObject object;
        object.Type = GdiObject::Kind::Region;
        const std::optional<std::vector<Box>> rects = ReadWmfRegion(r);
        if (!rects)
            return false;
        object.Rects = *rects;
        return AddObject(objects, player, std::move(object));
    }
    case wmr::CreatePalette:
    case wmr::CreatePatternBrush: {
        // Take their slot, so that the later objects' numbers stay right.
        GdiObject object;
        object.Type =
            function == wmr::CreatePatternBrush ? GdiObject::Kind::Brush : GdiObject::Kind::Other;
        object.Brush = SolidBrush(0x808080);
        return AddObject(objects, player, std::move(object));
    }
    case wmr::DibBitBlt:
    case wmr::DibStretchBlt:
    case wmr::StretchDib: {
        const std::uint32_t rop = r.U32(6);
        const bool stretchDib = function == wmr::StretchDib;
        const bool stretch = function != wmr::DibBitBlt;
        // Without a bitmap the record is as long as its function's high byte says and has a
        // spare word before the destination.
        const bool noBitmap =
            !stretchDib && r.Size() / 2 == static_cast<std::size_t>(function >> 8) + 3u;
        // The 16-bit words after the raster operation.
        const auto w = [&r](std::size_t word) { return static_cast<double>(r.I16(10 + word * 2)); };
        double sx = 0, sy = 0, sw = 0, sh = 0, dx = 0, dy = 0, dw = 0, dh = 0;
        std::size_t k = stretchDib ? 1 : 0; // the colour usage word
        if (stretch) {
            sh = w(k), sw = w(k + 1), sy = w(k + 2), sx = w(k + 3);
            k += 4;
        } else {
            sy = w(k), sx = w(k + 1);
            k += 2;
        }
        if (noBitmap)
            ++k;
        dh = w(k), dw = w(k + 1), dy = w(k + 2), dx = w(k + 3);
        k += 4;
        if (!stretch)
            sw = dw, sh = dh;
        if (r.Bad())
            return false;
        if (noBitmap) {
            PatternBlt(player, rop, dx, dy, dw, dh);
            return true;
        }
        const bool paletteIndices = stretchDib && r.U16(10) == 1;
        const std::size_t dibAt = 10 + k * 2;
        std::optional<DecodedBitmap> bitmap = ReadWmfBitmap(r, dibAt, paletteIndices, player);
        if (r.Bad())
            return false;
        if (bitmap && ApplyRop(*bitmap, rop)) {
            const bool bottomUp = r.U32(dibAt) == 12 || r.I32(dibAt + 8) > 0;
            const double top = stretchDib && bottomUp ? bitmap->Height - sy - sh : sy;
            player.Bitmap(*bitmap, dx, dy, dw, dh, sx, top, sw, sh);
        }
        return !r.Bad();
    }
    default:
        return true; // palettes, escapes and the rest: nothing to draw
    }
}

bool PlayWmf(std::span<const std::uint8_t> bytes, MetafileSink& sink) {
    const std::optional<WmfHeader> header = ReadWmfHeader(bytes);
    if (!header)
        return false;
    Player player(header->Info, sink, header->UnitsPerMm, header->UnitsPerMm);
    // The records draw into their window, which the picture's rectangle shows.
    player.SetMapMode(MmAnisotropic);
    player.SetWindowOrg(header->OrgX, header->OrgY);
    player.SetWindowExt(header->ExtX, header->ExtY);
    player.SetViewportExt(header->Info.Right, header->Info.Bottom);
    player.Objects().reserve(std::min<std::size_t>(header->Objects, 1024));
    WmfObjects objects(player);
    return WalkWmf(bytes, header->FirstRecord, [&](Record& record, std::uint16_t function) {
        return PlayWmfRecord(record, function, player, objects) && !record.Bad() &&
               !player.Failed() && !sink.Exhausted();
    });
}

bool IsEmf(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= 44 && bytes[0] == 1 && bytes[1] == 0 && bytes[2] == 0 && bytes[3] == 0 &&
           bytes[40] == 0x20 && bytes[41] == 0x45 && bytes[42] == 0x4D && bytes[43] == 0x46;
}

} // namespace

std::optional<MetafileInfo> ReadMetafileInfo(std::span<const std::uint8_t> bytes) {
    if (IsEmf(bytes)) {
        const std::optional<EmfHeader> header = ReadEmfHeader(bytes);
        return header ? std::optional<MetafileInfo>(header->Info) : std::nullopt;
    }
    const std::optional<WmfHeader> header = ReadWmfHeader(bytes);
    return header ? std::optional<MetafileInfo>(header->Info) : std::nullopt;
}

bool PlayMetafile(std::span<const std::uint8_t> bytes, MetafileSink& sink) {
    return IsEmf(bytes) ? PlayEmf(bytes, sink) : PlayWmf(bytes, sink);
}

} // namespace ulvan
