#include "annual/Nenkai.h"

#include "calendar/TextUtil.h"
#include "sheet/KanjiNumerals.h"

#include <gtest/gtest.h>

#include <climits>
#include <numeric>

namespace ulvan {
namespace {

constexpr std::u16string_view kNoEraName = u"\u3000\u3000"; // era year would be 100+

struct ItemCase {
    const char* name;
    std::u16string year, month, day;
    std::size_t item;
    std::u16string westernYear, eraName, eraYear;
};

class ComputeNenkaiTest : public testing::TestWithParam<ItemCase> {};

TEST_P(ComputeNenkaiTest, GivesTheItemTexts) {
    const ItemCase& c = GetParam();
    const auto results = ComputeNenkai(c.year, c.month, c.day);
    ASSERT_TRUE(results.has_value());
    const NenkaiResult& r = (*results)[c.item];
    EXPECT_EQ(r.WesternYear, c.westernYear);
    EXPECT_EQ(r.EraName, c.eraName);
    EXPECT_EQ(r.EraYear, c.eraYear);
}

INSTANTIATE_TEST_SUITE_P(
    Items, ComputeNenkaiTest,
    testing::Values(
        ItemCase{"MonthBeforeChange", u"2018", u"3", u"", 0, u"2019", u"平成", u"31"},
        ItemCase{"YearAfterChange", u"2018", u"3", u"", 1, u"2020", u"令和", u" 2"},
        ItemCase{"MonthAfterChange", u"2018", u"6", u"", 0, u"2019", u"令和", u" 1"},
        ItemCase{"DayOfChange", u"2018", u"5", u"1", 0, u"2019", u"令和", u" 1"},
        ItemCase{"DayBeforeChange", u"2018", u"4", u"30", 0, u"2019", u"平成", u"31"},
        ItemCase{"MonthOfChangeNoDay", u"2018", u"5", u"", 0, u"2019", u"平成", u"31"},
        ItemCase{"NoMonth", u"2018", u"", u"", 0, u"2019", u"平成", u"31"},
        ItemCase{"MonthNotAnInteger", u"2018", u"六", u"1", 0, u"2019", u"平成", u"31"},
        ItemCase{"MonthWithLeadingBlank", u"2018", u" 6", u"", 0, u"2019", u"令和", u" 1"},
        ItemCase{"HundredthYear", u"2000", u"", u"", 12, u"2099", u"令和", u"81"},
        ItemCase{"BeyondLastEra", u"2000", u"", u"", 13, u"2149", kNoEraName.data(), u"  "},
        ItemCase{"Kaei", u"1850", u"", u"", 0, u"1851", u"嘉永", u" 4"},
        ItemCase{"YearZeroFirst", u"0", u"", u"", 0, u"   1", u"－－", u" 1"},
        ItemCase{"YearZeroSecond", u"0", u"", u"", 1, u"   2", u"－－", u" 2"},
        ItemCase{"YearZeroHundredth", u"0", u"", u"", 12, u"  99", u"－－", u"99"},
        ItemCase{"YearZeroEraYearHidden", u"0", u"", u"", 13, u" 149", u"－－", u"  "},
        ItemCase{"NegativeFirst", u"-10", u"", u"", 0, u"  -9", u"", u""},
        ItemCase{"NegativeSeventh", u"-10", u"", u"", 2, u"  -4", u"", u""},
        ItemCase{"NegativeThirteenth", u"-10", u"", u"", 3, u"   2", u"－－", u" 2"},
        ItemCase{"NegativeTwoDigitPadded", u"-60", u"", u"", 0, u" -59", u"", u""},
        ItemCase{"SmallYearPadded", u"5", u"", u"", 0, u"   6", u"－－", u" 6"},
        ItemCase{"ThreeDigitsPadded", u"5", u"", u"", 20, u" 504", u"－－", u"  "},
        ItemCase{"FiveDigitsUnpadded", u"9600", u"", u"", 20, u"10099", kNoEraName.data(), u"  "},
        ItemCase{"LeadingBlankYear", u"  2018", u"3", u"", 0, u"2019", u"平成", u"31"},
        ItemCase{"UndecidedShowsEndingEra", u"1988", u"", u"", 0, u"1989", u"昭和", u"64"},
        ItemCase{"Meiji", u"1867", u"10", u"1", 0, u"1868", u"明治", u" 1"},
        // Near the 32-bit limit the item years are the real years, beyond every era.
        ItemCase{"LargestYear", u"2147483647", u"", u"", 20, u"2147484146", kNoEraName.data(),
                 u"  "},
        ItemCase{"SmallestYear", u"-2147483648", u"", u"", 20, u"-2147483149", u"", u""}),
    [](const auto& row) { return std::string(row.param.name); });

class ComputeNenkaiNotAYear : public testing::TestWithParam<std::u16string> {};

TEST_P(ComputeNenkaiNotAYear, GivesNothing) {
    EXPECT_FALSE(ComputeNenkai(GetParam(), u"5", u"1").has_value());
}

INSTANTIATE_TEST_SUITE_P(Texts, ComputeNenkaiNotAYear,
                         testing::Values(u"", u"abc", u"-", u"2019 ", u"二〇一九", u"2147483648"));

// Every item lies its own number of years after the death and agrees with what the year
// alone gives; the western year text is the decimal year padded to four.
TEST(ComputeNenkai, ItemsFollowTheirOffsets) {
    for (const std::int32_t death : {-600, -1, 0, 1, 1393, 1850, 1989, 2019, 9999}) {
        const auto results = ComputeNenkai(DecimalText(death), u"", u"");
        ASSERT_TRUE(results.has_value());
        for (std::size_t i = 0; i < 21; ++i) {
            const std::int64_t year = std::int64_t{death} + NenkaiItems()[i].YearsAfter;
            EXPECT_EQ(ParseInt((*results)[i].WesternYear), year) << death << " item " << i;
            EXPECT_GE((*results)[i].WesternYear.size(), 4U);
        }
    }
}

TEST(NenkaiItems, OffsetsAreTheRunningSumOfTheSteps) {
    const std::array<std::int32_t, 21> steps{1,  1,  4,  6,  4,  6,  2,  2,  6,  4, 13,
                                             20, 30, 50, 50, 50, 50, 50, 50, 50, 50};
    std::int32_t sum = 0;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        sum += steps[i];
        EXPECT_EQ(NenkaiItems()[i].YearsAfter, sum) << i;
        EXPECT_LE(CharCount(NenkaiItems()[i].Name), 6U);
    }
    EXPECT_EQ(NenkaiItems()[0].Name, u"一周忌");
    EXPECT_EQ(NenkaiItems()[20].Name, u"五百回忌");
}

// n回忌 lies n − 1 years after the death; the name carries n in kanji (checked as far as
// the kanji numerals reach, 百五十回忌).
TEST(NenkaiItems, NamesMatchTheirOffsets) {
    for (std::size_t i = 1; i < 14; ++i) {
        const NenkaiItemInfo& item = NenkaiItems()[i];
        EXPECT_EQ(item.Name, KanjiNumber(item.YearsAfter + 1) + u"回忌") << item.YearsAfter;
    }
}

struct PrintedCase {
    const char* name;
    std::vector<std::size_t> checked;
    std::vector<std::size_t> printed;
};

class PrintedItemsTest : public testing::TestWithParam<PrintedCase> {};

TEST_P(PrintedItemsTest, KeepsTheFirstElevenChecked) {
    std::array<bool, 21> boxes{};
    for (const std::size_t i : GetParam().checked)
        boxes[i] = true;
    EXPECT_EQ(PrintedItems(boxes), GetParam().printed);
}

INSTANTIATE_TEST_SUITE_P(Boxes, PrintedItemsTest,
                         testing::Values(PrintedCase{"None", {}, {}},
                                         PrintedCase{"Some", {2, 5, 20}, {2, 5, 20}},
                                         PrintedCase{"Eleven",
                                                     {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10},
                                                     {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
                                         PrintedCase{"Twelve",
                                                     {1, 3, 5, 7, 9, 11, 13, 15, 17, 19, 20, 0},
                                                     {0, 1, 3, 5, 7, 9, 11, 13, 15, 17, 19}},
                                         PrintedCase{"All",
                                                     {0,  1,  2,  3,  4,  5,  6,  7,  8,  9, 10,
                                                      11, 12, 13, 14, 15, 16, 17, 18, 19, 20},
                                                     {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}}),
                         [](const auto& row) { return std::string(row.param.name); });

struct FieldsCase {
    std::u16string wareki, eraName, eraYear;
};

class EraFieldsOfTest : public testing::TestWithParam<FieldsCase> {};

TEST_P(EraFieldsOfTest, TakesCharactersOneToFour) {
    const EraFields f = EraFieldsOf(GetParam().wareki);
    EXPECT_EQ(f.EraName, GetParam().eraName);
    EXPECT_EQ(f.EraYear, GetParam().eraYear);
}

INSTANTIATE_TEST_SUITE_P(Texts, EraFieldsOfTest,
                         testing::Values(FieldsCase{u"令和 1", u"令和", u" 1"},
                                         FieldsCase{u"平成31", u"平成", u"31"},
                                         FieldsCase{u"平成31令和 1", u"平成", u"31"},
                                         FieldsCase{u"－－--", u"－－", u"--"},
                                         FieldsCase{u"\u3000\u3000  ", u"\u3000\u3000", u"  "},
                                         FieldsCase{u"", u"", u""}, FieldsCase{u"令", u"令", u""},
                                         FieldsCase{u"令和", u"令和", u""},
                                         FieldsCase{u"令和 ", u"令和", u" "}));

} // namespace
} // namespace ulvan
