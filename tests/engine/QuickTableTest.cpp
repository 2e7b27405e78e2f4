#include "quicktable/QuickTable.h"

#include "calendar/TextUtil.h"
#include "sheet/KanjiNumerals.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace ulvan {
namespace {

std::vector<std::u16string> Lines(const std::u16string& text) {
    std::vector<std::u16string> lines;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find(u'\n', start);
        lines.push_back(text.substr(start, end - start));
        if (end == std::u16string::npos)
            return lines;
        start = end + 1;
    }
}

// The table as the window builds it when opened: era fields first, then the text.
QuickTableText OpenedTable(std::u16string_view year) {
    const EraFields era = SyncFiscalEra(year);
    auto table = BuildQuickTable(year, era.EraName, era.EraYear);
    EXPECT_TRUE(table.has_value());
    return table.value_or(QuickTableText{});
}

struct DeathYearCase {
    std::int64_t year;
    std::u16string expected;
};

class DeathYearTextTest : public testing::TestWithParam<DeathYearCase> {};

TEST_P(DeathYearTextTest, WritesYearAndEra) {
    EXPECT_EQ(DeathYearText(GetParam().year), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Years, DeathYearTextTest,
    testing::Values(DeathYearCase{2018, u"2018年（平成30年）没"},
                    DeathYearCase{2019, u"2019年（平成31年　または　令和元年）没"},
                    DeathYearCase{1989, u"1989年（昭和64年　または　平成元年）没"},
                    DeathYearCase{1868, u"1868年（慶應 4年　または　明治元年）没"},
                    DeathYearCase{1394, u"1394年（－－  年　または　應永元年）没"},
                    DeathYearCase{2020, u"2020年（令和 2年）没"},
                    DeathYearCase{1301, u"1301年（－－  年）没"},
                    DeathYearCase{0, u"0年（－－--年）没"}, DeathYearCase{1, u"1年（－－ 1年）没"},
                    DeathYearCase{-1, u"-1年（年）没"},
                    DeathYearCase{2118, u"2118年（\u3000\u3000  年）没"},
                    DeathYearCase{INT64_C(-2147483649), u"-2147483649年（年）没"},
                    DeathYearCase{INT64_C(2147483648), u"2147483648年（\u3000\u3000  年）没"}));

struct RowCase {
    const char* name;
    std::u16string year;
    std::size_t row;
    std::u16string tail;
};

class QuickTableRowTest : public testing::TestWithParam<RowCase> {};

// Row lines follow four heading lines; each is the padded label and the death-year text.
TEST_P(QuickTableRowTest, RowReadsLabelAndDeathYear) {
    const auto lines = Lines(OpenedTable(GetParam().year).Text);
    ASSERT_EQ(lines.size(), 25U);
    const std::u16string& line = lines[4 + GetParam().row];
    std::u16string label(NenkaiItems()[GetParam().row].Name);
    label.append(7 - CharCount(label), u'\u3000');
    EXPECT_EQ(line, label + GetParam().tail);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, QuickTableRowTest,
    testing::Values(
        RowCase{"ChangeYearFiftieth", u"2068", 10, u"2019年（平成31年　または　令和元年）没"},
        RowCase{"ChangeYearFirst", u"2020", 0, u"2019年（平成31年　または　令和元年）没"},
        RowCase{"PlainSecond", u"2020", 1, u"2018年（平成30年）没"},
        RowCase{"YearOneFirst", u"1", 0, u"0年（－－--年）没"},
        RowCase{"YearOneSecond", u"1", 1, u"-1年（年）没"},
        RowCase{"YearOneLast", u"1", 20, u"-498年（年）没"},
        RowCase{"PseudoEra", u"1500", 14, u"1301年（－－  年）没"},
        RowCase{"LeadingBlank", u" 2020", 1, u"2018年（平成30年）没"},
        RowCase{"SmallestYear", u"-2147483648", 20, u"-2147484147年（年）没"},
        RowCase{"LargestYear", u"2147483647", 0, u"2147483646年（\u3000\u3000  年）没"}),
    [](const auto& row) { return std::string(row.param.name); });

struct HeadingCase {
    const char* name;
    std::u16string edit2, combo, edit3;
    std::u16string heading, caption;
};

class QuickTableHeadingTest : public testing::TestWithParam<HeadingCase> {};

TEST_P(QuickTableHeadingTest, HeadingAndCaptionTakeTheFieldsAsTheyStand) {
    const HeadingCase& c = GetParam();
    const auto table = BuildQuickTable(c.edit2, c.combo, c.edit3);
    ASSERT_TRUE(table.has_value());
    const auto lines = Lines(table->Text);
    ASSERT_EQ(lines.size(), 25U);
    EXPECT_EQ(lines[0], std::u16string(34, u'='));
    EXPECT_EQ(lines[1], c.heading);
    EXPECT_EQ(lines[2], std::u16string(34, u'='));
    EXPECT_EQ(lines[3], u"");
    EXPECT_EQ(table->Caption, c.caption);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, QuickTableHeadingTest,
    testing::Values(
        HeadingCase{"FirstEraYear", u"2019", u"令和", u" 1", u"  2019年度（令和元年度）年回早見表",
                    u"2019年度（令和 1年度）年回早見表"},
        HeadingCase{"TwoDigits", u"2028", u"令和", u"10", u"  2028年度（令和10年度）年回早見表",
                    u"2028年度（令和10年度）年回早見表"},
        HeadingCase{"OneWithoutBlank", u"2019", u"令和", u"1", u"  2019年度（令和1年度）年回早見表",
                    u"2019年度（令和1年度）年回早見表"},
        HeadingCase{"FieldsNotConverted", u"2019", u"明治", u" 5",
                    u"  2019年度（明治 5年度）年回早見表", u"2019年度（明治 5年度）年回早見表"},
        HeadingCase{"EmptyCombo", u"3000", u"", u"  ", u"  3000年度（  年度）年回早見表",
                    u"3000年度（  年度）年回早見表"},
        HeadingCase{"YearAsTyped", u" 20", u"－－", u"20", u"   20年度（－－20年度）年回早見表",
                    u" 20年度（－－20年度）年回早見表"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(QuickTable, OpenedIn2019And2024) {
    EXPECT_EQ(OpenedTable(u"2019").Caption, u"2019年度（令和 1年度）年回早見表");
    EXPECT_EQ(Lines(OpenedTable(u"2019").Text)[1], u"  2019年度（令和元年度）年回早見表");
    EXPECT_EQ(OpenedTable(u"2024").Caption, u"2024年度（令和 6年度）年回早見表");
}

// Every row's death year is the table's year less the memorial's offset.
TEST(QuickTable, RowsCountBackByTheOffsets) {
    for (const std::int32_t year : {-1000, 0, 1, 1394, 2019, 2068, 32767}) {
        const auto lines = Lines(OpenedTable(DecimalText(year)).Text);
        ASSERT_EQ(lines.size(), 25U);
        for (std::size_t i = 0; i < 21; ++i) {
            const std::int64_t death = std::int64_t{year} - NenkaiItems()[i].YearsAfter;
            EXPECT_TRUE(lines[4 + i].starts_with(NenkaiItems()[i].Name)) << year << " row " << i;
            EXPECT_TRUE(lines[4 + i].ends_with(DeathYearText(death))) << year << " row " << i;
        }
    }
}

class QuickTableNotAYear : public testing::TestWithParam<std::u16string> {};

TEST_P(QuickTableNotAYear, GivesNothing) {
    EXPECT_FALSE(BuildQuickTable(GetParam(), u"令和", u" 1").has_value());
}

INSTANTIATE_TEST_SUITE_P(Texts, QuickTableNotAYear,
                         testing::Values(u"", u"year", u"-", u"2019 ", u"二〇一九",
                                         u"99999999999"));

struct SyncCase {
    std::u16string edit2, eraName, eraYear;
};

class SyncFiscalEraTest : public testing::TestWithParam<SyncCase> {};

TEST_P(SyncFiscalEraTest, TakesTheEraAtTheYearsEnd) {
    const EraFields f = SyncFiscalEra(GetParam().edit2);
    EXPECT_EQ(f.EraName, GetParam().eraName);
    EXPECT_EQ(f.EraYear, GetParam().eraYear);
}

INSTANTIATE_TEST_SUITE_P(
    Years, SyncFiscalEraTest,
    testing::Values(SyncCase{u"2019", u"令和", u" 1"}, SyncCase{u"2018", u"平成", u"30"},
                    SyncCase{u"1989", u"平成", u" 1"}, SyncCase{u"1868", u"明治", u" 1"},
                    SyncCase{u"2024", u"令和", u" 6"}, SyncCase{u"0", u"－－", u"--"},
                    SyncCase{u"1", u"－－", u" 1"}, SyncCase{u"1000", u"－－", u"  "},
                    SyncCase{u"2118", u"\u3000\u3000", u"  "}, SyncCase{u"-1", u"", u""},
                    SyncCase{u"", u"－－", u"--"}, SyncCase{u"abc", u"－－", u"--"},
                    SyncCase{u"2147483647", u"\u3000\u3000", u"  "},
                    SyncCase{u"-2147483648", u"", u""}));

} // namespace
} // namespace ulvan
