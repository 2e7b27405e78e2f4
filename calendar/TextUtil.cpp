#include "calendar/TextUtil.h"

namespace ulvan {

std::optional<std::int32_t> ParseInt(std::u16string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == u' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    if (i == text.size())
        return std::nullopt;
    // Accumulate as a negative magnitude so that INT32_MIN needs no special case.
    constexpr std::int64_t limit = -static_cast<std::int64_t>(INT32_MIN);
    std::int64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i];
        // Full-width digits are what an input method types in a Japanese text field.
        const int digit = c >= u'0' && c <= u'9'             ? c - u'0'
                          : c >= u'\uFF10' && c <= u'\uFF19' ? c - u'\uFF10'
                                                             : -1;
        if (digit < 0)
            return std::nullopt;
        magnitude = magnitude * 10 + digit;
        if (magnitude > limit)
            return std::nullopt;
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value > INT32_MAX)
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

std::int32_t ParseIntOr(std::u16string_view text, std::int32_t fallback) {
    return ParseInt(text).value_or(fallback);
}

std::u16string DecimalText(std::int64_t value) {
    char16_t buffer[24];
    std::size_t pos = sizeof buffer / sizeof buffer[0];
    // Work on the unsigned magnitude so that INT64_MIN is representable.
    std::uint64_t magnitude =
        value < 0 ? ~static_cast<std::uint64_t>(value) + 1 : static_cast<std::uint64_t>(value);
    do {
        buffer[--pos] = static_cast<char16_t>(u'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0)
        buffer[--pos] = u'-';
    return std::u16string(buffer + pos, buffer + sizeof buffer / sizeof buffer[0]);
}

std::u16string FromUtf8(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto b0 = static_cast<unsigned char>(text[i]);
        char32_t cp = 0xFFFD;
        std::size_t len = 1;
        auto cont = [&](std::size_t k) {
            return i + k < text.size() && (static_cast<unsigned char>(text[i + k]) & 0xC0) == 0x80;
        };
        auto bits = [&](std::size_t k) {
            return static_cast<char32_t>(static_cast<unsigned char>(text[i + k]) & 0x3F);
        };
        if (b0 < 0x80) {
            cp = b0;
        } else if (b0 >= 0xC2 && b0 < 0xE0 && cont(1)) {
            cp = (static_cast<char32_t>(b0 & 0x1F) << 6) | bits(1);
            len = 2;
        } else if (b0 >= 0xE0 && b0 < 0xF0 && cont(1) && cont(2)) {
            const char32_t v = (static_cast<char32_t>(b0 & 0x0F) << 12) | (bits(1) << 6) | bits(2);
            if (v >= 0x800 && (v < 0xD800 || v > 0xDFFF)) {
                cp = v;
                len = 3;
            }
        } else if (b0 >= 0xF0 && b0 < 0xF5 && cont(1) && cont(2) && cont(3)) {
            const char32_t v = (static_cast<char32_t>(b0 & 0x07) << 18) | (bits(1) << 12) |
                               (bits(2) << 6) | bits(3);
            if (v >= 0x10000 && v <= 0x10FFFF) {
                cp = v;
                len = 4;
            }
        }
        if (cp >= 0x10000) {
            const char32_t v = cp - 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (v >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (v & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
        i += len;
    }
    return out;
}

std::string ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size() * 3);
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t cp = text[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD; // a lone surrogate
        }
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

} // namespace ulvan
