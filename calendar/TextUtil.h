// Text helpers shared by every layer: the one integer parser that every field of the
// windows goes through, decimal formatting, and UTF-8 <-> UTF-16 conversion.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ulvan {

// Parses a field's text as a signed decimal integer, the way every consumer of a window
// field reads it:
//   - leading ASCII blanks (U+0020) are skipped;
//   - one optional sign, '+' or '-';
//   - then one or more digits up to the end of the text, ASCII '0'..'9' or full-width
//     '０'..'９' (what a Japanese input method types), mixed as they come;
//   - the value must lie in the signed 32-bit range.
// Anything else (empty text, a lone sign, trailing blanks, kanji numerals, overflow) is
// "not an integer" and gives nullopt. Runs in time linear in the text, never overflows.
std::optional<std::int32_t> ParseInt(std::u16string_view text);

// ParseInt, with `fallback` for text that is not an integer.
std::int32_t ParseIntOr(std::u16string_view text, std::int32_t fallback);

// Decimal text of a value: ASCII digits, a leading '-' when negative, no blanks.
std::u16string DecimalText(std::int64_t value);

// Strict conversions; ill-formed input is replaced with U+FFFD, never rejected.
std::u16string FromUtf8(std::string_view text);
std::string ToUtf8(std::u16string_view text);

} // namespace ulvan
