#include "sheet/KanjiNumerals.h"

#include <gtest/gtest.h>

#include <climits>

namespace ulvan {
namespace {

struct NumberCase {
    std::int64_t n;
    std::u16string expected;
};

class KanjiNumberTest : public testing::TestWithParam<NumberCase> {};

TEST_P(KanjiNumberTest, WritesPositionalWords) {
    EXPECT_EQ(KanjiNumber(GetParam().n), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, KanjiNumberTest,
    testing::Values(NumberCase{0, u"当"}, NumberCase{1, u"一"}, NumberCase{7, u"七"},
                    NumberCase{9, u"九"}, NumberCase{10, u"十"}, NumberCase{11, u"十一"},
                    NumberCase{12, u"十二"}, NumberCase{19, u"十九"}, NumberCase{20, u"二十"},
                    NumberCase{25, u"二十五"}, NumberCase{30, u"三十"}, NumberCase{31, u"三十一"},
                    NumberCase{90, u"九十"}, NumberCase{99, u"九十九"}, NumberCase{100, u"百"},
                    NumberCase{101, u"百一"}, NumberCase{105, u"百五"}, NumberCase{110, u"百十"},
                    NumberCase{115, u"百十五"}, NumberCase{120, u"百二十"},
                    NumberCase{130, u"百三十"}, NumberCase{149, u"百四十九"},
                    NumberCase{150, u"百五十"}, NumberCase{151, u""}, NumberCase{-1, u""},
                    NumberCase{-5, u""}, NumberCase{1000, u""}, NumberCase{INT32_MAX, u""},
                    NumberCase{INT32_MIN, u""}, NumberCase{INT64_MIN, u""},
                    NumberCase{INT64_MAX, u""}));

// Every value of the range is written without 〇 and without a 一 before 十 or 百, and the
// words read back to the value.
TEST(KanjiNumber, WholeRangeReadsBack) {
    const std::u16string digits = u"〇一二三四五六七八九";
    for (std::int64_t n = 1; n <= 150; ++n) {
        const std::u16string text = KanjiNumber(n);
        ASSERT_FALSE(text.empty()) << n;
        EXPECT_EQ(text.find(u'〇'), std::u16string::npos) << n;
        EXPECT_NE(text.substr(0, 2), u"一十") << n;
        EXPECT_NE(text.substr(0, 2), u"一百") << n;
        std::int64_t value = 0;
        std::int64_t pending = 0;
        for (const char16_t c : text) {
            if (c == u'百') {
                value += 100;
            } else if (c == u'十') {
                value += (pending == 0 ? 1 : pending) * 10;
                pending = 0;
            } else {
                const auto pos = digits.find(c);
                ASSERT_NE(pos, std::u16string::npos) << n;
                pending = static_cast<std::int64_t>(pos);
            }
        }
        EXPECT_EQ(value + pending, n);
    }
}

struct DigitsCase {
    std::u16string text;
    std::u16string expected;
};

class KanjiDigitsTest : public testing::TestWithParam<DigitsCase> {};

TEST_P(KanjiDigitsTest, ConvertsDigitsAndBlanksOnly) {
    EXPECT_EQ(KanjiDigits(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, KanjiDigitsTest,
    testing::Values(DigitsCase{u"2019", u"二〇一九"}, DigitsCase{u"1868", u"一八六八"},
                    DigitsCase{u"0123456789", u"〇一二三四五六七八九"},
                    DigitsCase{u"20a9", u"二〇九"}, DigitsCase{u"19 5", u"一九\u3000五"},
                    DigitsCase{u" 1", u"\u3000一"}, DigitsCase{u"２０１９", u""},
                    DigitsCase{u"", u""}, DigitsCase{u"令和", u""},
                    DigitsCase{u"-5\t\u3000", u"五"}, DigitsCase{u"\U00020BB71", u"一"}));

struct CountCase {
    std::u16string text;
    std::size_t expected;
};

class CharCountTest : public testing::TestWithParam<CountCase> {};

TEST_P(CharCountTest, CountsCodePoints) {
    EXPECT_EQ(CharCount(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, CharCountTest,
    testing::Values(CountCase{u"", 0}, CountCase{u"初七日忌", 4}, CountCase{u"\U00020BB7", 1},
                    CountCase{u"a\U00020BB7b", 3}, CountCase{u"\U00020BB7\U00020BB7", 2},
                    CountCase{std::u16string(1, u'\xD842'), 1},         // lone high surrogate
                    CountCase{std::u16string(1, u'\xDFB7'), 1},         // lone low surrogate
                    CountCase{std::u16string{u'\xDFB7', u'\xD842'}, 2}, // reversed pair
                    CountCase{std::u16string{u'\xD842', u'\xD842', u'\xDFB7'}, 2},
                    CountCase{u"令和 1", 4}));

} // namespace
} // namespace ulvan
