#include "records/DueList.h"

#include "annual/Nenkai.h"
#include "records/RecordFile.h"

#include <gtest/gtest.h>

#include <climits>
#include <ostream>
#include <string>
#include <vector>

namespace ulvan {
namespace {

std::u16string Line(std::u16string_view name, std::u16string_view zoku, std::u16string_view year,
                    std::u16string_view era, std::u16string_view eraYear, std::u16string_view month,
                    std::u16string_view day) {
    DeceasedRecord record;
    record.Kaimyo = name;
    record.Yomi = u"よみ";
    record.Zokumyo = zoku;
    record.KiNen = year;
    record.KiNengo = era;
    record.KiWanen = eraYear;
    record.KiGatsu = month;
    record.KiNichi = day;
    record.GyoNen = u"80";
    return WriteRecordLine(record);
}

std::u16string_view ItemName(const DueEntry& entry) {
    return NenkaiItems()[entry.Item].Name;
}

// One record, one year: which memorial (empty: none) and, for a listed one, its year.
struct SingleCase {
    const char* what;
    std::u16string year, era, eraYear, month, day;
    std::int32_t listYear;
    bool withNext;
    std::u16string_view memorial; // empty: not listed
    std::int64_t memorialYear;

    friend void PrintTo(const SingleCase& c, std::ostream* os) { *os << c.what; }
};

class DueSingle : public ::testing::TestWithParam<SingleCase> {};

TEST_P(DueSingle, ListsTheMemorialOwed) {
    const SingleCase& c = GetParam();
    const std::vector<std::u16string> lines{
        Line(u"釈一郎", u"青木一郎", c.year, c.era, c.eraYear, c.month, c.day)};
    const DueList list = BuildDueList(lines, c.listYear, c.withNext);
    EXPECT_EQ(list.Read, 1u);
    EXPECT_TRUE(list.Undated.empty());
    if (c.memorial.empty()) {
        EXPECT_TRUE(list.Due.empty());
        return;
    }
    ASSERT_EQ(list.Due.size(), 1u);
    EXPECT_EQ(ItemName(list.Due[0]), c.memorial);
    EXPECT_EQ(list.Due[0].Year, c.memorialYear);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DueSingle,
    ::testing::Values(
        SingleCase{"三回忌 two years on", u"2023", u"", u"", u"4", u"1", 2025, false, u"三回忌",
                   2025},
        SingleCase{"十三回忌 twelve years on", u"2013", u"", u"", u"4", u"1", 2025, false,
                   u"十三回忌", 2025},
        SingleCase{"no memorial three years on", u"2022", u"", u"", u"4", u"1", 2025, false, u"",
                   0},
        SingleCase{"一周忌", u"2024", u"", u"", u"12", u"31", 2025, false, u"一周忌", 2025},
        SingleCase{"death on 29 February", u"2020", u"", u"", u"2", u"29", 2022, false, u"三回忌",
                   2022},
        SingleCase{"era year without western year", u"", u"平成", u"31", u"4", u"30", 2025, false,
                   u"七回忌", 2025},
        SingleCase{"first year of an era", u"", u"令和", u"1", u"5", u"1", 2031, false, u"十三回忌",
                   2031},
        SingleCase{"western year wins over the era", u"2013", u"令和", u"1", u"5", u"1", 2025,
                   false, u"十三回忌", 2025},
        SingleCase{"the next year with the switch", u"2013", u"", u"", u"5", u"1", 2024, true,
                   u"十三回忌", 2025},
        SingleCase{"the next year without it", u"2013", u"", u"", u"5", u"1", 2024, false, u"", 0},
        SingleCase{"五百回忌", u"1526", u"", u"", u"1", u"1", 2025, false, u"五百回忌", 2025},
        SingleCase{"year of death after the list's year", u"2030", u"", u"", u"1", u"1", 2025, true,
                   u"", 0},
        SingleCase{"largest year: 一周忌 beyond 32 bits", u"2147483647", u"", u"", u"1", u"1",
                   INT32_MAX, true, u"一周忌", std::int64_t{INT32_MAX} + 1},
        SingleCase{"memorial beyond the 32-bit range", u"2147483647", u"", u"", u"1", u"1",
                   INT32_MAX, false, u"", 0},
        SingleCase{"smallest year", u"-2147483648", u"", u"", u"1", u"1", INT32_MIN, true,
                   u"一周忌", std::int64_t{INT32_MIN} + 1},
        SingleCase{"month and day not given", u"2023", u"", u"", u"", u"x", 2025, false, u"三回忌",
                   2025}));

TEST(DueList, NextYearAtTheLimitIsComputedWide) {
    // 2147483647 + 1 lies outside 32 bits: the memorial of a death in 2147483647 − 1 is
    // 三回忌 in 2147483648, and nothing wraps to a negative year.
    const std::vector<std::u16string> lines{Line(u"a", u"b", u"2147483646", u"", u"", u"1", u"1")};
    const DueList list = BuildDueList(lines, INT32_MAX, true);
    ASSERT_EQ(list.Due.size(), 2u);
    EXPECT_EQ(ItemName(list.Due[0]), u"一周忌");
    EXPECT_EQ(list.Due[1].Year, std::int64_t{INT32_MAX} + 1);
}

TEST(DueList, UnreadableYearsAreListedApartAndCounted) {
    const std::vector<std::u16string> lines{
        Line(u"甲", u"一", u"", u"", u"", u"1", u"1"),         // blank year
        Line(u"乙", u"二", u"二〇一三", u"", u"", u"1", u"1"), // not digits
        Line(u"丙", u"三", u"", u"－－", u"5", u"1", u"1"),    // no era
        Line(u"丁", u"四", u"", u"明応", u"x", u"1", u"1"),    // era year not a number
        u"",                                                   // a blank line is no record
        u"  \u3000",
        Line(u"戊", u"五", u"2023", u"", u"", u"1", u"1"),
    };
    const DueList list = BuildDueList(lines, 2025, false);
    EXPECT_EQ(list.Read, 5u);
    ASSERT_EQ(list.Undated.size(), 4u);
    EXPECT_EQ(list.Undated[0].Line, 0u);
    EXPECT_EQ(list.Undated[3].Line, 3u);
    EXPECT_EQ(list.Undated[1].Record.KiNen, u"二〇一三");
    ASSERT_EQ(list.Due.size(), 1u);
    EXPECT_EQ(list.Due[0].Line, 6u);
    EXPECT_EQ(DueCountText(list), u"読み込み 5件　該当 1件　没年不明 4件");
    const DueRow undated = UndatedRowOf(list.Undated[1]);
    EXPECT_EQ(undated[kDueMemorial], kUndatedLabel);
    EXPECT_EQ(undated[kDueDeathDate], u"二〇一三年1月1日");
}

TEST(DueList, SortedByMonthAndDayThenNameWithDuplicatesKept) {
    const std::vector<std::u16string> lines{
        Line(u"乙", u"同名", u"2023", u"", u"", u"12", u"31"),
        Line(u"甲", u"同名", u"2023", u"", u"", u"12", u"31"),
        Line(u"甲", u"同名", u"2023", u"", u"", u"12", u"31"),
        Line(u"丙", u"三", u"2013", u"", u"", u"1", u"1"),
        Line(u"丁", u"四", u"2019", u"", u"", u"", u""),
        Line(u"戊", u"五", u"2013", u"", u"", u"2", u"29"),
    };
    const DueList list = BuildDueList(lines, 2025, false);
    std::vector<std::size_t> order;
    for (const DueEntry& entry : list.Due)
        order.push_back(entry.Line);
    // 1/1, 2/29, then 12/31 by name (same reading: 乙 U+4E59 before 甲 U+7532, the two 甲
    // in file order), the record without month and day last.
    EXPECT_EQ(order, (std::vector<std::size_t>{3, 5, 0, 1, 2, 4}));
}

TEST(DueList, YearAndNextSortByTheMemorialsYearFirst) {
    const std::vector<std::u16string> lines{
        Line(u"甲", u"一", u"2013", u"", u"", u"1", u"5"),  // 十三回忌 2025
        Line(u"乙", u"二", u"2023", u"", u"", u"12", u"1"), // 三回忌 2025
        Line(u"丙", u"三", u"2024", u"", u"", u"12", u"1"), // 一周忌 2025, 三回忌 2026
    };
    const DueList list = BuildDueList(lines, 2025, true);
    ASSERT_EQ(list.Due.size(), 4u);
    EXPECT_EQ(list.Due[0].Line, 0u);
    EXPECT_EQ(list.Due[3].Year, 2026);
    EXPECT_EQ(ItemName(list.Due[3]), u"三回忌");
    EXPECT_EQ(list.Due[3].Line, 2u);
}

TEST(DueList, RowTextsShowBothCalendars) {
    const std::vector<std::u16string> lines{
        Line(u"釈一郎", u"青木一郎", u"2019", u"", u"", u"5", u"1")};
    const DueList list = BuildDueList(lines, 2025, false);
    ASSERT_EQ(list.Due.size(), 1u);
    const DueRow row = DueRowOf(list.Due[0]);
    EXPECT_EQ(row[kDueMemorial], u"七回忌");
    EXPECT_EQ(row[kDueYear], u"2025");
    EXPECT_EQ(row[kDueEraYear], u"令和7年");
    EXPECT_EQ(row[kDueKaimyo], u"釈一郎");
    EXPECT_EQ(row[kDueYomi], u"よみ");
    EXPECT_EQ(row[kDueZokumyo], u"青木一郎");
    EXPECT_EQ(row[kDueDeathWareki], u"令和1年5月1日");
    EXPECT_EQ(row[kDueDeathDate], u"2019年5月1日");
    EXPECT_EQ(row[kDueAge], u"80");
}

TEST(DueList, UndecidedYearOfChangeShowsBothEras) {
    EXPECT_EQ(EraYearText(2019, 0, 0), u"平成31年/令和1年");
    EXPECT_EQ(EraYearText(2019, 4, 30), u"平成31年");
    EXPECT_EQ(EraYearText(-5, 1, 1), u"");
}

// The same file in code page 932 and in UTF-8 gives the same list.
TEST(DueList, Cp932AndUtf8FilesGiveTheSameList) {
    const std::u16string text =
        Line(u"釋髙橋院", u"髙橋　花子", u"2013", u"平成", u"25", u"7", u"7") + u"\r\n" +
        Line(u"", u"～不明", u"", u"", u"", u"", u"") + u"\r\n";
    const EncodedText cp932 = EncodeRecordText(text, RecordEncoding::Cp932);
    ASSERT_TRUE(cp932.Lost.empty());
    const EncodedText utf8 = EncodeRecordText(text, RecordEncoding::Utf8Bom);
    const RecordFileText a = ReadRecordText(cp932.Bytes);
    const RecordFileText b = ReadRecordText("\xEF\xBB\xBF" + utf8.Bytes);
    EXPECT_EQ(a.Encoding, RecordEncoding::Cp932);
    EXPECT_EQ(b.Encoding, RecordEncoding::Utf8Bom);
    const DueList fromCp932 = BuildDueList(a.Lines, 2025, false);
    const DueList fromUtf8 = BuildDueList(b.Lines, 2025, false);
    ASSERT_EQ(fromCp932.Due.size(), 1u);
    ASSERT_EQ(fromUtf8.Due.size(), 1u);
    EXPECT_EQ(DueRowOf(fromCp932.Due[0]), DueRowOf(fromUtf8.Due[0]));
    EXPECT_EQ(fromCp932.Due[0].Record.Zokumyo, u"髙橋　花子");
    ASSERT_EQ(fromCp932.Undated.size(), 1u);
    EXPECT_EQ(fromCp932.Undated[0].Record.Zokumyo, u"～不明");
}

TEST(DueList, CsvTextReadsBackFieldByField) {
    const std::vector<std::u16string> lines{
        Line(u"釈,一郎", u"青木 \"一郎\"", u"2023", u"", u"", u"1", u"1"),
        Line(u"乙", u"二", u"", u"", u"", u"", u""),
    };
    const DueList list = BuildDueList(lines, 2025, false);
    const std::u16string csv = DueCsvText(list);
    std::vector<std::u16string> csvLines;
    for (std::size_t start = 0; start < csv.size();) {
        const std::size_t end = csv.find(u"\r\n", start);
        ASSERT_NE(end, std::u16string::npos);
        csvLines.push_back(csv.substr(start, end - start));
        start = end + 2;
    }
    ASSERT_EQ(csvLines.size(), 3u);
    EXPECT_EQ(SplitCommaText(csvLines[0]).size(), std::size_t{kDueColumnCount});
    const std::vector<std::u16string> due = SplitCommaText(csvLines[1]);
    ASSERT_EQ(due.size(), std::size_t{kDueColumnCount});
    EXPECT_EQ(due[kDueKaimyo], u"釈,一郎");
    EXPECT_EQ(due[kDueZokumyo], u"青木 \"一郎\"");
    EXPECT_EQ(SplitCommaText(csvLines[2])[kDueMemorial], kUndatedLabel);
}

TEST(DueList, CsvTextRunsNoFormula) {
    const std::vector<std::u16string> lines{
        Line(u"=HYPERLINK(\"x\")", u"+81-3", u"2023", u"", u"", u"1", u"1")};
    const std::u16string csv = DueCsvText(BuildDueList(lines, 2025, false));
    const std::vector<std::u16string> due =
        SplitCommaText(std::u16string_view(csv).substr(csv.find(u"\r\n") + 2));
    ASSERT_EQ(due.size(), std::size_t{kDueColumnCount});
    EXPECT_EQ(due[kDueKaimyo], u"'=HYPERLINK(\"x\")");
    EXPECT_EQ(due[kDueZokumyo], u"'+81-3");
}

TEST(DueList, HeaderHasOneCaptionPerColumn) {
    for (const std::u16string& caption : DueHeader())
        EXPECT_FALSE(caption.empty());
}

} // namespace
} // namespace ulvan
