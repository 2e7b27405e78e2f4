#include "records/RecordCodec.h"

namespace ulvan {

// Stand-in until the code page 932 codec is in: ASCII only.
std::u16string DecodeAnsiText(std::string_view bytes, bool& unreadable) {
    std::u16string text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80) {
            text.push_back(b);
        } else {
            text.push_back(u'\uFFFD');
            unreadable = true;
        }
    }
    return text;
}

std::string EncodeAnsiText(std::u16string_view text, std::vector<char32_t>& lost) {
    std::string bytes;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c < 0x80) {
            bytes.push_back(static_cast<char>(c));
            continue;
        }
        char32_t value = c;
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            value = 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) +
                    (static_cast<char32_t>(text[++i]) - 0xDC00);
        }
        bytes.push_back('?');
        lost.push_back(value);
    }
    return bytes;
}

} // namespace ulvan
