// The annual chart's texts: the printed rows and the cells of their years.
#include "annual/NenkaiSheet.h"

#include <gtest/gtest.h>

namespace ulvan {
namespace {

struct YearCase {
    NenkaiResult Result;
    std::u16string Western;
    std::u16string EraName;
    std::u16string EraYear;
};

class NenkaiYearCells : public testing::TestWithParam<YearCase> {};

TEST_P(NenkaiYearCells, GivesTheDrawnTexts) {
    const YearCase& c = GetParam();
    const auto cells = NenkaiYearTexts(c.Result);
    EXPECT_EQ(cells.WesternYear, c.Western);
    EXPECT_EQ(cells.EraName, c.EraName);
    EXPECT_EQ(cells.EraYear, c.EraYear);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, NenkaiYearCells,
    testing::Values(
        // One digit of era year: a leading blank is read, two U+3000 go in front.
        YearCase{{u"2019", u"令和", u" 1"}, u"二〇一九", u"令和", u"　　一"},
        YearCase{{u"2049", u"令和", u"31"}, u"二〇四九", u"令和", u"三十一"},
        YearCase{{u"2099", u"令和", u"81"}, u"二〇九九", u"令和", u"八十一"},
        // Beyond 99 years into the newest era: nothing visible in the era cells.
        YearCase{{u"2149", u"　　", u"  "}, u"二一四九", u"　　", u"　　　"},
        // A year below 1000 keeps its place in four cells.
        YearCase{{u" 501", u"－－", u"  "}, u"　五〇一", u"－－", u"　　　"},
        YearCase{{u"   6", u"－－", u" 6"}, u"　　　六", u"－－", u"　　六"},
        // Year 0's era text "－－--" does not parse as an era year.
        YearCase{{u"   0", u"－－", u"--"}, u"　　　〇", u"－－", u"　　　"},
        // A year of five digits stays whole.
        YearCase{{u"10099", u"　　", u"  "}, u"一〇〇九九", u"　　", u"　　　"},
        // Negative years: the sign is no digit, the era fields are empty.
        YearCase{{u"  -9", u"", u""}, u"　　九", u"", u"　　　"}));

TEST(NenkaiPrintedRows, TakesTheFirstElevenCheckedInListOrder) {
    const auto results = ComputeNenkai(u"2000", u"", u"");
    ASSERT_TRUE(results.has_value());
    std::array<bool, 21> checked{};
    checked.fill(true);
    checked[1] = false; // 三回忌
    const auto rows = NenkaiPrintedRows(*results, checked);
    ASSERT_EQ(rows.size(), 11U);
    EXPECT_EQ(rows[0].Name, u"一周忌");
    EXPECT_EQ(rows[1].Name, u"七回忌");
    EXPECT_EQ(rows[10].Name, u"七十回忌");
    EXPECT_EQ(rows[10].Result, (*results)[11]);
}

TEST(NenkaiPrintedRows, NoneCheckedGivesNoRows) {
    const auto results = ComputeNenkai(u"2000", u"", u"");
    ASSERT_TRUE(results.has_value());
    EXPECT_TRUE(NenkaiPrintedRows(*results, std::array<bool, 21>{}).empty());
}

TEST(NenkaiTitle, EmptyMeansTheDefault) {
    EXPECT_EQ(NenkaiTitle(u""), u"年回表");
    EXPECT_EQ(NenkaiTitle(u"回忌表"), u"回忌表");
    EXPECT_EQ(NenkaiTitle(u"とても長い表題の年回表"), u"とても長い表題の年回表");
}

TEST(NenkaiDeceased, TakesTheYearOfDeathFromTheChart) {
    DeceasedData main;
    main.KiNen = u"2024";
    main.KiNengo = u"令和";
    main.KiWanen = u"6";
    main.KiGatsu = u"3";
    main.Kaimyo = u"釋浄念";
    NenkaiChart chart;
    chart.Year = u"1989";
    chart.Era = u"平成";
    chart.EraYear = u" 1";
    const DeceasedData data = NenkaiDeceased(main, chart);
    EXPECT_EQ(data.KiNen, u"1989");
    EXPECT_EQ(data.KiNengo, u"平成");
    EXPECT_EQ(data.KiWanen, u" 1");
    EXPECT_EQ(data.KiGatsu, u"3");
    EXPECT_EQ(data.Kaimyo, u"釋浄念");
}

TEST(BuildNenkaiSheet, OverlongRowListDrawsElevenRows) {
    NenkaiChart chart;
    for (int i = 0; i < 30; ++i) {
        chart.Rows.push_back(NenkaiRow{u"一周忌", {u"2000", u"平成", u"12"}});
    }
    SheetOptions options;
    const SheetDescription sheet = BuildNenkaiSheet(DeceasedData{}, options, chart, false, false);
    int eraNames = 0;
    for (const SheetElement& e : sheet.Elements) {
        if (const auto* text = std::get_if<SheetText>(&e); text && text->Text == u"平") {
            ++eraNames;
        }
    }
    EXPECT_EQ(eraNames, 11);
}

} // namespace
} // namespace ulvan
