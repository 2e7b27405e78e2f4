#include "sheet/QtText.h"

#include <gtest/gtest.h>

#include <string>

namespace ulvan {
namespace {

struct TextCase {
    const char* name;
    std::u16string text;
};

class QtTextTest : public testing::TestWithParam<TextCase> {};

TEST_P(QtTextTest, KeepsEveryCodeUnit) {
    const QString converted = ToQ(GetParam().text);
    ASSERT_EQ(static_cast<std::size_t>(converted.size()), GetParam().text.size());
    for (std::size_t i = 0; i < GetParam().text.size(); ++i) {
        EXPECT_EQ(converted.at(static_cast<qsizetype>(i)).unicode(), GetParam().text[i]) << i;
    }
    EXPECT_EQ(ToU16(converted), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, QtTextTest,
    testing::Values(TextCase{"Empty", u""}, TextCase{"Kanji", u"釋浄念"},
                    TextCase{"SurrogatePair", u"𠮟る"},
                    TextCase{"EmbeddedNul", std::u16string(u"名\0よみ", 4)},
                    TextCase{"UnpairedHighSurrogate", std::u16string(1, char16_t{0xD842})},
                    TextCase{"UnpairedLowSurrogate", std::u16string(u"a") + char16_t{0xDFB7}}),
    [](const auto& row) { return std::string(row.param.name); });

} // namespace
} // namespace ulvan
