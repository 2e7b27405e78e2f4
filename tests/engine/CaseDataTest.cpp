#include "case/CaseData.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace ulvan {
namespace {

struct NameCase {
    const char* name;
    std::u16string joined;
    std::u16string kaimyo;
    std::optional<std::u16string> yomi;
};

class NameReadingTest : public testing::TestWithParam<NameCase> {};

TEST_P(NameReadingTest, SplitsAtTheFirstSlash) {
    const NameAndReading split = SplitNameReading(GetParam().joined);
    EXPECT_EQ(split.Name, GetParam().kaimyo);
    EXPECT_EQ(split.Reading, GetParam().yomi);
}

TEST_P(NameReadingTest, JoiningWhatWasSplitGivesTheTextBack) {
    const NameAndReading split = SplitNameReading(GetParam().joined);
    const std::u16string joined = JoinNameReading(split.Name, split.Reading.value_or(u""));
    // A text without a slash comes back with the one the joined form always has.
    EXPECT_EQ(joined, split.Reading ? GetParam().joined : GetParam().joined + u"/");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NameReadingTest,
    testing::Values(NameCase{"Both", u"釋浄念/しゃくじょうねん", u"釋浄念", u"しゃくじょうねん"},
                    NameCase{"NoSlashKeepsTheReading", u"釋浄念", u"釋浄念", std::nullopt},
                    NameCase{"EmptyText", u"", u"", std::nullopt},
                    NameCase{"EmptyReading", u"釋浄念/", u"釋浄念", u""},
                    NameCase{"EmptyName", u"/よみ", u"", u"よみ"},
                    NameCase{"LaterSlashStaysInTheReading", u"名/よ/み", u"名", u"よ/み"},
                    NameCase{"FullWidthSlashIsText", u"名／よみ", u"名／よみ", std::nullopt}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(JoinNameReading, WritesTheSlashForAnEmptyReading) {
    EXPECT_EQ(JoinNameReading(u"釋浄念", u""), u"釋浄念/");
}

} // namespace
} // namespace ulvan
