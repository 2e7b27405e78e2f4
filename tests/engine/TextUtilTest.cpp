#include "calendar/TextUtil.h"

#include <gtest/gtest.h>

#include <climits>

namespace ulvan {
namespace {

struct ParseCase {
    std::u16string text;
    std::optional<std::int32_t> expected;
};

class ParseIntTest : public testing::TestWithParam<ParseCase> {};

TEST_P(ParseIntTest, FollowsTheFieldRules) {
    EXPECT_EQ(ParseInt(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, ParseIntTest,
    testing::Values(ParseCase{u"2019", 2019}, ParseCase{u"  7", 7}, ParseCase{u" 1", 1},
                    ParseCase{u"-5", -5}, ParseCase{u"+12", 12}, ParseCase{u"007", 7},
                    ParseCase{u"2147483647", INT32_MAX}, ParseCase{u"-2147483648", INT32_MIN},
                    ParseCase{u"2147483648", std::nullopt}, ParseCase{u"-2147483649", std::nullopt},
                    ParseCase{u"99999999999999999999999", std::nullopt},
                    ParseCase{u"", std::nullopt}, ParseCase{u"   ", std::nullopt},
                    ParseCase{u"-", std::nullopt}, ParseCase{u"+-1", std::nullopt},
                    ParseCase{u"12 ", std::nullopt}, ParseCase{u"1 2", std::nullopt},
                    ParseCase{u"２０１９", 2019}, ParseCase{u"-２0１9", -2019},
                    ParseCase{u"二〇一九", std::nullopt}, ParseCase{u"0x10", std::nullopt},
                    ParseCase{u"\t5", std::nullopt}, ParseCase{u"- 5", std::nullopt}));

TEST(DecimalText, WritesSignAndDigits) {
    EXPECT_EQ(DecimalText(0), u"0");
    EXPECT_EQ(DecimalText(-42), u"-42");
    EXPECT_EQ(DecimalText(INT64_MIN), u"-9223372036854775808");
    EXPECT_EQ(DecimalText(INT64_MAX), u"9223372036854775807");
}

TEST(Utf8, RoundTripsAndReplacesIllFormedInput) {
    const std::u16string text = u"令和 1\U00020BB7";
    EXPECT_EQ(FromUtf8(ToUtf8(text)), text);
    EXPECT_EQ(FromUtf8("\xff"), u"\uFFFD");
    EXPECT_EQ(FromUtf8("\xe4\xbb"), u"\uFFFD\uFFFD"); // truncated sequence
    EXPECT_EQ(ToUtf8(u"\xD800"), "\xEF\xBF\xBD");     // lone surrogate
}

} // namespace
} // namespace ulvan
