// The code page 932 conversion the record file uses, behind two functions.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ulvan {

// Bytes to text; an invalid or truncated sequence becomes U+FFFD and sets `unreadable`.
std::u16string DecodeAnsiText(std::string_view bytes, bool& unreadable);
// Text to bytes; a character the code page lacks becomes "?" and is added to `lost`.
std::string EncodeAnsiText(std::u16string_view text, std::vector<char32_t>& lost);

} // namespace ulvan
