// Kanji numerals for the vertically written sheets. Pure functions on texts and integers;
// the sheet layouts, the preview and the annual chart call them for every printed number.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace ulvan {

// Positional-word numeral: 0 → "当", 10 → "十", 25 → "二十五", 100 → "百", 115 → "百十五".
// Defined for 0 ≤ n ≤ 150 only (ages, era years, months, days); any other value gives the
// empty text, which the sheets pad with blanks like a missing value.
std::u16string KanjiNumber(std::int64_t n);

// Digit by digit: each ASCII digit becomes its kanji ("0" → "〇"), each ASCII space the
// ideographic space U+3000; every other code unit is dropped. "2019" → "二〇一九".
std::u16string KanjiDigits(std::u16string_view text);

// Number of characters: a well-formed surrogate pair counts once, every other code unit once.
std::size_t CharCount(std::u16string_view text);

} // namespace ulvan
