#include "footer/FooterModel.h"

#include "calendar/TextUtil.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <utility>

namespace ulvan {

namespace {

constexpr double kUnits = 10000.0;

std::size_t LineIndex(std::size_t frame, FooterField field) {
    return frame * kFooterFieldCount + static_cast<std::size_t>(field);
}

constexpr std::array<FooterField, kFooterFieldCount> kAllFields = {
    FooterField::Left,       FooterField::Top,     FooterField::Right,    FooterField::Bottom,
    FooterField::FontHeight, FooterField::Spacing, FooterField::FontFace, FooterField::Bold,
    FooterField::Kind,       FooterField::Content};

// Wide and fullwidth ranges, plus the ambiguous-width characters that Japanese fonts draw
// full width (the ones a temple's address or name plausibly holds: marks, Greek and
// Cyrillic, circled numbers, box drawing, shapes). Sorted, inclusive.
constexpr std::pair<char32_t, char32_t> kFullWidthRanges[] = {
    {0x00A7, 0x00A8}, {0x00B0, 0x00B1}, {0x00B4, 0x00B4}, {0x00B6, 0x00B6}, {0x00D7, 0x00D7},
    {0x00F7, 0x00F7}, {0x0391, 0x03C9}, {0x0401, 0x0451}, {0x1100, 0x115F}, {0x2010, 0x2010},
    {0x2014, 0x2016}, {0x2018, 0x2019}, {0x201C, 0x201D}, {0x2020, 0x2021}, {0x2025, 0x2026},
    {0x2030, 0x2030}, {0x2032, 0x2033}, {0x203B, 0x203B}, {0x2103, 0x2103}, {0x2116, 0x2116},
    {0x2121, 0x2121}, {0x2160, 0x217F}, {0x2190, 0x2199}, {0x21D2, 0x21D2}, {0x21D4, 0x21D4},
    {0x2200, 0x22FF}, {0x2312, 0x2312}, {0x2460, 0x24FF}, {0x2500, 0x257F}, {0x25A0, 0x25FF},
    {0x2605, 0x2606}, {0x2640, 0x2640}, {0x2642, 0x2642}, {0x266A, 0x266F}, {0x2E80, 0x303E},
    {0x3041, 0x33FF}, {0x3400, 0x4DBF}, {0x4E00, 0x9FFF}, {0xA000, 0xA4CF}, {0xA960, 0xA97F},
    {0xAC00, 0xD7A3}, {0xF900, 0xFAFF}, {0xFE10, 0xFE19}, {0xFE30, 0xFE6F}, {0xFF00, 0xFF60},
    {0xFFE0, 0xFFE6},
};

bool IsHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

} // namespace

std::u16string& FooterFrame::operator[](FooterField field) {
    return const_cast<std::u16string&>(std::as_const(*this)[field]);
}

const std::u16string& FooterFrame::operator[](FooterField field) const {
    switch (field) {
    case FooterField::Left:
        return Left;
    case FooterField::Top:
        return Top;
    case FooterField::Right:
        return Right;
    case FooterField::Bottom:
        return Bottom;
    case FooterField::FontHeight:
        return FontHeight;
    case FooterField::Spacing:
        return Spacing;
    case FooterField::FontFace:
        return FontFace;
    case FooterField::Bold:
        return Bold;
    case FooterField::Kind:
        return Kind;
    case FooterField::Content:
        break;
    }
    return Content;
}

FooterLayout::FooterLayout(std::vector<std::u16string> lines)
    : m_lines(std::move(lines)) {
    m_lines.resize(m_lines.size() - m_lines.size() % kFooterFieldCount);
}

FooterLayout FooterLayout::FromStored(std::u16string_view stored) {
    std::vector<std::u16string> lines;
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < stored.size()) {
        const char16_t c = stored[i];
        if (c != u'\r' && c != u'\n') {
            ++i;
            continue;
        }
        lines.emplace_back(stored.substr(start, i - start));
        i += (c == u'\r' && i + 1 < stored.size() && stored[i + 1] == u'\n') ? std::size_t{2}
                                                                             : std::size_t{1};
        start = i;
    }
    if (start < stored.size()) {
        lines.emplace_back(stored.substr(start));
    }
    return FooterLayout(std::move(lines));
}

std::u16string FooterLayout::ToStored() const {
    std::u16string text;
    for (const auto& line : m_lines) {
        text += line;
        text += u"\r\n";
    }
    return text;
}

const std::u16string& FooterLayout::Field(std::size_t frame, FooterField field) const {
    return m_lines.at(LineIndex(frame, field));
}

void FooterLayout::SetField(std::size_t frame, FooterField field, std::u16string value) {
    m_lines.at(LineIndex(frame, field)) = std::move(value);
}

FooterFrame FooterLayout::Frame(std::size_t frame) const {
    FooterFrame result;
    for (const FooterField field : kAllFields) {
        result[field] = Field(frame, field);
    }
    return result;
}

void FooterLayout::SetFrame(std::size_t frame, const FooterFrame& value) {
    for (const FooterField field : kAllFields) {
        SetField(frame, field, value[field]);
    }
}

void FooterLayout::Append(const FooterFrame& frame) {
    for (const FooterField field : kAllFields) {
        m_lines.push_back(frame[field]);
    }
}

void FooterLayout::Remove(std::size_t frame) {
    if (frame >= FrameCount()) {
        return;
    }
    const auto first =
        m_lines.begin() + static_cast<std::ptrdiff_t>(LineIndex(frame, FooterField::Left));
    m_lines.erase(first, first + static_cast<std::ptrdiff_t>(kFooterFieldCount));
}

std::optional<std::int32_t> FooterNumber(const FooterLayout& layout, std::size_t frame,
                                         FooterField field) {
    return ParseInt(layout.Field(frame, field));
}

std::vector<std::u16string_view> FooterCharacters(std::u16string_view text) {
    std::vector<std::u16string_view> characters;
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t length =
            (IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) ? 2
                                                                                             : 1;
        characters.push_back(text.substr(i, length));
        i += length;
    }
    return characters;
}

std::u16string_view LeadingCharacters(std::u16string_view text, std::size_t count) {
    std::size_t i = 0;
    for (std::size_t taken = 0; taken < count && i < text.size(); ++taken) {
        const bool pair =
            IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1]);
        i += pair ? std::size_t{2} : std::size_t{1};
    }
    return text.substr(0, i);
}

char32_t FooterCodePoint(std::u16string_view character) {
    if (character.empty()) {
        return 0;
    }
    if (character.size() >= 2 && IsHighSurrogate(character[0]) && IsLowSurrogate(character[1])) {
        return 0x10000 + ((static_cast<char32_t>(character[0]) - 0xD800) << 10) +
               (static_cast<char32_t>(character[1]) - 0xDC00);
    }
    return character[0];
}

bool IsFullWidth(char32_t c) {
    if (c >= 0x10000) {
        return true;
    }
    const auto* end = std::end(kFullWidthRanges);
    const auto* it =
        std::upper_bound(std::begin(kFullWidthRanges), end, c,
                         [](char32_t v, const auto& range) { return v < range.first; });
    return it != std::begin(kFullWidthRanges) && c <= (it - 1)->second;
}

int FooterUnitWidth(char32_t c) {
    return IsFullWidth(c) ? 2 : 1;
}

std::int64_t FooterUnitWidth(std::u16string_view text) {
    std::int64_t units = 0;
    for (const auto character : FooterCharacters(text)) {
        units += FooterUnitWidth(FooterCodePoint(character));
    }
    return units;
}

std::int64_t RoundHalfEven(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    // 2^63 as a double; anything at or beyond it saturates.
    constexpr double kLimit = 9223372036854775808.0;
    if (value >= kLimit) {
        return std::numeric_limits<std::int64_t>::max();
    }
    if (value < -kLimit) {
        return std::numeric_limits<std::int64_t>::min();
    }
    return static_cast<std::int64_t>(std::nearbyint(value)); // default mode: halves to even
}

std::int32_t TruncToInt32(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    const double t = std::trunc(value);
    if (t >= 2147483647.0) {
        return std::numeric_limits<std::int32_t>::max();
    }
    if (t <= -2147483648.0) {
        return std::numeric_limits<std::int32_t>::min();
    }
    return static_cast<std::int32_t>(t);
}

std::int64_t FooterUnitsToPixels(std::int32_t units, double extent) {
    return RoundHalfEven(units / kUnits * extent);
}

std::int32_t FooterPixelsToUnits(std::int64_t pixels, double extent) {
    if (!(extent > 0)) {
        return 0;
    }
    const std::int64_t units = RoundHalfEven(static_cast<double>(pixels) / extent * kUnits);
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        units, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

void FitFooterText(FooterLayout& layout, std::size_t frame, int width, int height) {
    if (frame >= layout.FrameCount() || width <= 0 || height <= 0) {
        return;
    }
    const auto left = FooterNumber(layout, frame, FooterField::Left);
    const auto top = FooterNumber(layout, frame, FooterField::Top);
    const auto right = FooterNumber(layout, frame, FooterField::Right);
    const auto bottom = FooterNumber(layout, frame, FooterField::Bottom);
    if (!left || !top || !right || !bottom) {
        return;
    }
    const std::u16string& content = layout.Field(frame, FooterField::Content);
    const auto n = static_cast<double>(FooterCharacters(content).size());
    if (n == 0) {
        return;
    }
    const double W = width;
    const double H = height;
    // Pixel positions are at most 2^31 * W / 10000 in size: exact in a double.
    const double bw =
        static_cast<double>(FooterUnitsToPixels(*right, W) - FooterUnitsToPixels(*left, W) - 2);
    const double bh =
        static_cast<double>(FooterUnitsToPixels(*bottom, H) - FooterUnitsToPixels(*top, H) - 2);
    const std::u16string& kind = layout.Field(frame, FooterField::Kind);

    std::int32_t fontHeight = 0;
    std::int32_t spacing = 0;
    if (n == 1) {
        fontHeight = TruncToInt32((bw <= bh ? bw : bh) / W * kUnits);
    } else if (kind == kFooterVertical) {
        if (n * bw < bh) {
            fontHeight = TruncToInt32(bw / W * kUnits);
            spacing = TruncToInt32((bh - n * bw) / (n - 1) / H * kUnits);
        } else {
            fontHeight = TruncToInt32(bh / n / W * kUnits);
        }
    } else if (kind == kFooterHorizontal) {
        const auto units = static_cast<double>(FooterUnitWidth(content));
        if (bw > bh * units / 2) {
            fontHeight = TruncToInt32(bh / W * kUnits);
            spacing = TruncToInt32((bw - bh * units / 2) / (n - 1) / H * kUnits);
        } else {
            fontHeight = TruncToInt32(bw / (units / 2) / W * kUnits);
        }
    } else {
        return;
    }
    layout.SetField(frame, FooterField::FontHeight, DecimalText(fontHeight));
    layout.SetField(frame, FooterField::Spacing, DecimalText(spacing));
}

} // namespace ulvan
