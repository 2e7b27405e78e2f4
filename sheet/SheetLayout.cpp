#include "sheet/SheetLayout.h"

#include "footer/FooterModel.h"
#include "sheet/KanjiNumerals.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace ulvan {

namespace {

constexpr char16_t kIdeographicSpace = u'\u3000';
// A run stops placing characters whose start lies beyond this many page lengths.
constexpr double kRunLimit = 2.0;
// Keeps index * pitch inside 64 bits whatever the text length.
constexpr std::int64_t kIndexLimit = std::int64_t{1} << 31;

std::int32_t Clamp32(std::int64_t v) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        v, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

bool IsHigh(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLow(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

} // namespace

std::int32_t SheetRound(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    constexpr double lo = std::numeric_limits<std::int32_t>::min();
    constexpr double hi = std::numeric_limits<std::int32_t>::max();
    if (value <= lo) {
        return std::numeric_limits<std::int32_t>::min();
    }
    if (value >= hi) {
        return std::numeric_limits<std::int32_t>::max();
    }
    const double floor = std::floor(value);
    const double fraction = value - floor;
    auto result = static_cast<std::int64_t>(floor);
    if (fraction > 0.5 || (fraction == 0.5 && result % 2 != 0)) {
        ++result;
    }
    return Clamp32(result);
}

std::vector<std::u16string_view> SplitCharacters(std::u16string_view text) {
    std::vector<std::u16string_view> out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t len =
            (IsHigh(text[i]) && i + 1 < text.size() && IsLow(text[i + 1])) ? 2 : 1;
        out.push_back(text.substr(i, len));
        i += len;
    }
    return out;
}

std::u16string PadFront(std::u16string_view text, std::size_t width) {
    const std::size_t n = CharCount(text);
    std::u16string out;
    if (n < width) {
        out.assign(width - n, kIdeographicSpace);
    }
    out.append(text);
    return out;
}

void AddSpread(SheetDescription& sheet, std::u16string_view text, double fx0, double span,
               AcrossPos fy) {
    const auto chars = SplitCharacters(LeadingCharacters(text, kMaxDrawnTextCharacters));
    const auto count = static_cast<std::int64_t>(chars.size());
    for (std::size_t k = 0; k < chars.size(); ++k) {
        AlongPos x{AlongPos::Mode::Spread, fx0, span, static_cast<std::int64_t>(k), count};
        sheet.Elements.emplace_back(SheetText{std::u16string(chars[k]), x, fy});
    }
}

void AddCells(SheetDescription& sheet, std::u16string_view text, double fx0, double step,
              AcrossPos fy) {
    const auto chars = SplitCharacters(LeadingCharacters(text, kMaxDrawnTextCharacters));
    for (std::size_t k = 0; k < chars.size(); ++k) {
        const auto index = static_cast<std::int64_t>(k);
        if (fx0 + step * static_cast<double>(index) > kRunLimit) {
            break;
        }
        AlongPos x{AlongPos::Mode::Cell, fx0, step, index, 0};
        sheet.Elements.emplace_back(SheetText{std::u16string(chars[k]), x, fy});
    }
}

void AddPitched(SheetDescription& sheet, std::u16string_view text, double fx0, double pitch,
                AcrossPos fy) {
    const auto chars = SplitCharacters(LeadingCharacters(text, kMaxDrawnTextCharacters));
    for (std::size_t k = 0; k < chars.size(); ++k) {
        const auto index = static_cast<std::int64_t>(k);
        if (fx0 + pitch * static_cast<double>(index) > kRunLimit) {
            break;
        }
        AlongPos x{AlongPos::Mode::Pitch, fx0, pitch, index, 0};
        sheet.Elements.emplace_back(SheetText{std::u16string(chars[k]), x, fy});
    }
}

SheetMapping SheetMapping::Paper(std::int32_t width, std::int32_t height, std::int32_t offX,
                                 std::int32_t offY) {
    SheetMapping m;
    m.m_screen = false;
    m.m_along = width;
    m.m_across = height;
    m.m_offX = offX;
    m.m_offY = offY;
    return m;
}

SheetMapping SheetMapping::Screen(std::int32_t previewWidth, std::int32_t previewHeight) {
    SheetMapping m;
    m.m_screen = true;
    m.m_along = previewHeight;
    m.m_across = previewWidth;
    return m;
}

std::int64_t SheetMapping::AlongValue(const AlongPos& x) const {
    const double length = m_along;
    const std::int64_t index = std::clamp<std::int64_t>(x.Index, 0, kIndexLimit);
    std::int64_t value = 0;
    switch (x.How) {
    case AlongPos::Mode::Point:
        value = SheetRound(x.Start * length);
        break;
    case AlongPos::Mode::Cell:
        value = SheetRound((x.Start + x.Step * static_cast<double>(index)) * length);
        break;
    case AlongPos::Mode::Spread: {
        const std::int64_t pitch =
            x.Count >= 2 ? SheetRound(x.Step * length / static_cast<double>(x.Count - 1)) : 0;
        value = SheetRound(x.Start * length) + index * pitch;
        break;
    }
    case AlongPos::Mode::Pitch:
        value = SheetRound(x.Start * length) + index * std::int64_t{SheetRound(x.Step * length)};
        break;
    }
    return m_screen ? value : value - m_offX;
}

std::int64_t SheetMapping::AcrossValue(const AcrossPos& y) const {
    const double length = m_across;
    const double step = static_cast<double>(y.Index) * y.StepNum / y.StepDen;
    if (m_screen) {
        const double complement = static_cast<double>(10000 - y.Base) / 10000.0;
        return SheetRound((complement - step) * length);
    }
    const double base = static_cast<double>(y.Base) / 10000.0;
    return std::int64_t{SheetRound((base + step) * length)} - m_offY;
}

DevicePoint SheetMapping::Map(const AlongPos& x, const AcrossPos& y) const {
    const std::int64_t along = AlongValue(x);
    const std::int64_t across = AcrossValue(y);
    if (m_screen) {
        return DevicePoint{Clamp32(across), Clamp32(along)};
    }
    return DevicePoint{Clamp32(along), Clamp32(across)};
}

std::pair<DevicePoint, DevicePoint> SheetMapping::MapRect(const SheetRect& rect) const {
    const DevicePoint a = Map(rect.X1, rect.Y1);
    const DevicePoint b = Map(rect.X2, rect.Y2);
    return {DevicePoint{std::min(a.X, b.X), std::min(a.Y, b.Y)},
            DevicePoint{std::max(a.X, b.X), std::max(a.Y, b.Y)}};
}

std::int32_t SheetMapping::PenWidth(const SheetPen& pen) const {
    const std::int64_t width = std::int64_t{SheetRound(pen.Num * m_along / pen.Den)} + pen.Extra +
                               (m_screen ? pen.ScreenExtra : 0);
    return Clamp32(width);
}

std::int32_t SheetMapping::FontHeight(const SheetFont& font) const {
    return SheetRound(font.Height * m_across);
}

} // namespace ulvan
