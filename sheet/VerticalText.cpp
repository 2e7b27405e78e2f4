#include "sheet/VerticalText.h"

#include "footer/FooterModel.h"

#include <algorithm>
#include <iterator>

namespace ulvan {

namespace {

constexpr double kSmallKanaShift = 0.1;
constexpr double kPunctuationShift = 0.55;

struct Entry {
    char32_t First;
    char32_t Last;
    VerticalPlacement Placement;
};

constexpr VerticalPlacement kSideways{VerticalOrientation::Sideways, 0, 0};
constexpr VerticalPlacement kSmallKana{VerticalOrientation::Upright, kSmallKanaShift,
                                       -kSmallKanaShift};
constexpr VerticalPlacement kPunctuation{VerticalOrientation::Upright, kPunctuationShift,
                                         -kPunctuationShift};

// Full-width characters that vertical Japanese does not simply keep upright. Sorted,
// inclusive ranges; anything not listed is upright when full width and sideways otherwise.
constexpr Entry kTable[] = {
    {0x2010, 0x2015, kSideways},    // hyphens and dashes
    {0x2025, 0x2026, kSideways},    // two- and three-dot leaders
    {0x2190, 0x2199, kSideways},    // arrows follow the line
    {0x2225, 0x2225, kSideways},    // parallel
    {0x2500, 0x257F, kSideways},    // box drawing lines
    {0x3001, 0x3002, kPunctuation}, // 、。
    {0x3008, 0x3011, kSideways},    // 〈〉《》「」『』【】
    {0x3014, 0x301B, kSideways},    // 〔〕〖〗〘〙〚〛
    {0x301C, 0x301C, kSideways},    // 〜
    {0x3030, 0x3030, kSideways},    // 〰
    {0x3041, 0x3041, kSmallKana},   // ぁ
    {0x3043, 0x3043, kSmallKana},   // ぃ
    {0x3045, 0x3045, kSmallKana},   // ぅ
    {0x3047, 0x3047, kSmallKana},   // ぇ
    {0x3049, 0x3049, kSmallKana},   // ぉ
    {0x3063, 0x3063, kSmallKana},   // っ
    {0x3083, 0x3083, kSmallKana},   // ゃ
    {0x3085, 0x3085, kSmallKana},   // ゅ
    {0x3087, 0x3087, kSmallKana},   // ょ
    {0x308E, 0x308E, kSmallKana},   // ゎ
    {0x3095, 0x3096, kSmallKana},   // ゕゖ
    {0x30A0, 0x30A0, kSideways},    // ゠
    {0x30A1, 0x30A1, kSmallKana},   // ァ
    {0x30A3, 0x30A3, kSmallKana},   // ィ
    {0x30A5, 0x30A5, kSmallKana},   // ゥ
    {0x30A7, 0x30A7, kSmallKana},   // ェ
    {0x30A9, 0x30A9, kSmallKana},   // ォ
    {0x30C3, 0x30C3, kSmallKana},   // ッ
    {0x30E3, 0x30E3, kSmallKana},   // ャ
    {0x30E5, 0x30E5, kSmallKana},   // ュ
    {0x30E7, 0x30E7, kSmallKana},   // ョ
    {0x30EE, 0x30EE, kSmallKana},   // ヮ
    {0x30F5, 0x30F6, kSmallKana},   // ヵヶ
    {0x30FC, 0x30FC, kSideways},    // ー
    {0x31F0, 0x31FF, kSmallKana},   // small katakana for Ainu
    {0xFF08, 0xFF09, kSideways},    // （）
    {0xFF0C, 0xFF0C, kPunctuation}, // ，
    {0xFF0D, 0xFF0D, kSideways},    // －
    {0xFF0E, 0xFF0E, kPunctuation}, // ．
    {0xFF1A, 0xFF1B, kSideways},    // ：；
    {0xFF1C, 0xFF1E, kSideways},    // ＜＝＞
    {0xFF3B, 0xFF3B, kSideways},    // ［
    {0xFF3D, 0xFF3D, kSideways},    // ］
    {0xFF3F, 0xFF3F, kSideways},    // ＿
    {0xFF5B, 0xFF60, kSideways},    // ｛｜｝～｟｠
    {0xFFE3, 0xFFE3, kSideways},    // ￣
};

} // namespace

VerticalPlacement VerticalPlacementOf(char32_t c) {
    const auto* end = std::end(kTable);
    const auto* it = std::upper_bound(std::begin(kTable), end, c,
                                      [](char32_t v, const Entry& e) { return v < e.First; });
    if (it != std::begin(kTable) && c <= (it - 1)->Last) {
        return (it - 1)->Placement;
    }
    return IsFullWidth(c) ? VerticalPlacement{} : kSideways;
}

} // namespace ulvan
