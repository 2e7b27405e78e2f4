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
    for (const char16_t c : text) {
        if (c < 0x80) {
            bytes.push_back(static_cast<char>(c));
        } else {
            bytes.push_back('?');
            lost.push_back(c);
        }
    }
    return bytes;
}

} // namespace ulvan
