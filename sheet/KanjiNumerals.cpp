#include "sheet/KanjiNumerals.h"

namespace ulvan {
namespace {

constexpr char16_t kDigitKanji[10] = {u'〇', u'一', u'二', u'三', u'四',
                                      u'五', u'六', u'七', u'八', u'九'};

bool IsHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

// 1..99 without a leading 一 before 十.
void AppendBelowHundred(std::u16string& out, std::int64_t n) {
    const auto tens = static_cast<std::size_t>(n / 10);
    const auto ones = static_cast<std::size_t>(n % 10);
    if (tens > 1)
        out.push_back(kDigitKanji[tens]);
    if (tens > 0)
        out.push_back(u'十');
    if (ones > 0)
        out.push_back(kDigitKanji[ones]);
}

} // namespace

std::u16string KanjiNumber(std::int64_t n) {
    std::u16string out;
    if (n < 0 || n > 150)
        return out;
    if (n == 0)
        return u"当";
    if (n >= 100) {
        out.push_back(u'百');
        n -= 100;
    }
    AppendBelowHundred(out, n);
    return out;
}

std::u16string KanjiDigits(std::u16string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (const char16_t c : text) {
        if (c == u' ')
            out.push_back(u'\u3000');
        else if (c >= u'0' && c <= u'9')
            out.push_back(kDigitKanji[c - u'0']);
    }
    return out;
}

std::size_t CharCount(std::u16string_view text) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1]))
            ++i;
        ++count;
    }
    return count;
}

} // namespace ulvan
