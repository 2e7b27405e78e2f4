// The memorial sheet's texts and arithmetic that do not need a canvas: the schedule cells with
// the row shift and the same-month omission, the padded date and age texts, the rounding, the
// printable-area check and the preview's zoom steps.
#include "sheet/MemorialSheet.h"
#include "sheet/PageMetrics.h"
#include "sheet/PreviewZoom.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace ulvan {
namespace {

MemorialSchedule WithMonths(const std::array<std::u16string, 9>& months) {
    MemorialSchedule schedule = DefaultSchedule();
    for (std::size_t i = 0; i < 9; ++i) {
        schedule[i].Month = months[i];
        schedule[i].Day = u"1";
    }
    return schedule;
}

struct OmissionCase {
    const char* Label;
    std::array<std::u16string, 9> Months;
    bool HatsuGatsu;
    bool Hyakka;
    bool Omit;
    std::array<std::u16string, 9> Expected;
};

class SameMonth : public ::testing::TestWithParam<OmissionCase> {};

TEST_P(SameMonth, OmissionAndFilling) {
    const OmissionCase& oc = GetParam();
    SheetOptions options;
    options.HatsuGatsuPrint = oc.HatsuGatsu;
    options.HyakkaNichiPrint = oc.Hyakka;
    options.DogetsuShoryaku = oc.Omit;
    const ScheduleCells cells = ScheduleRowTexts(WithMonths(oc.Months), options);
    for (std::size_t i = 0; i < 9; ++i) {
        EXPECT_EQ(cells.Months[i], oc.Expected[i]) << oc.Label << " entry " << i + 1;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SameMonth,
    ::testing::Values(
        OmissionCase{"example",
                     {u"2", u"2", u"3", u"3", u"3", u"4", u"4", u"4", u"5"},
                     true,
                     true,
                     true,
                     {u"　二月", u"", u"　三月", u"", u"", u"　四月", u"", u"", u"　五月"}},
        OmissionCase{"off",
                     {u"2", u"2", u"3", u"3", u"3", u"4", u"4", u"4", u"12"},
                     true,
                     true,
                     false,
                     {u"　二月", u"　二月", u"　三月", u"　三月", u"　三月", u"　四月", u"　四月",
                      u"　四月", u"十二月"}},
        OmissionCase{"all equal",
                     {u"7", u"7", u"7", u"7", u"7", u"7", u"7", u"7", u"7"},
                     true,
                     true,
                     true,
                     {u"　七月", u"", u"", u"", u"", u"", u"", u"", u""}},
        OmissionCase{"a bare month anywhere disables it",
                     {u"7", u"7", u"7", u"x", u"7", u"7", u"7", u"7", u"7"},
                     true,
                     true,
                     true,
                     {u"　七月", u"　七月", u"　七月", u"　　月", u"　七月", u"　七月", u"　七月",
                      u"　七月", u"　七月"}},
        OmissionCase{"row 9 unprinted still disables it",
                     {u"7", u"7", u"7", u"7", u"7", u"7", u"7", u"7", u""},
                     true,
                     false,
                     true,
                     {u"　七月", u"　七月", u"　七月", u"　七月", u"　七月", u"　七月", u"　七月",
                      u"　七月", u"　　月"}},
        OmissionCase{"row 5 left out takes no part",
                     {u"3", u"3", u"3", u"3", u"x", u"3", u"4", u"4", u"4"},
                     false,
                     true,
                     true,
                     {u"　三月", u"", u"", u"", u"", u"　四月", u"", u"", u""}},
        OmissionCase{"row 4 compared with row 6 directly",
                     {u"1", u"2", u"2", u"3", u"4", u"3", u"5", u"5", u"5"},
                     false,
                     true,
                     true,
                     {u"　一月", u"　二月", u"", u"　三月", u"", u"　五月", u"", u"", u""}},
        OmissionCase{"zero and out of range",
                     {u"0", u"151", u"150", u"-3", u"12", u"12", u"1", u"10", u"11"},
                     true,
                     true,
                     true,
                     {u"　当月", u"　　月", u"百五十月", u"　　月", u"十二月", u"十二月", u"　一月",
                      u"　十月", u"十一月"}}));

TEST(ScheduleRowTexts, ShiftMovesNamesMonthsAndDaysTogether) {
    MemorialSchedule schedule = DefaultSchedule();
    for (std::size_t i = 0; i < 9; ++i) {
        schedule[i].Name = std::u16string(1, static_cast<char16_t>(u'Ａ' + i));
        schedule[i].Month = std::u16string(1, static_cast<char16_t>(u'1' + i));
        schedule[i].Day = std::u16string(1, static_cast<char16_t>(u'1' + i));
    }
    SheetOptions options;
    options.HatsuGatsuPrint = false;
    options.DogetsuShoryaku = false;
    const ScheduleCells cells = ScheduleRowTexts(schedule, options);
    const std::u16string names = u"ＡＢＣＤＦＧＨＩＩ";
    for (std::size_t i = 0; i < 9; ++i) {
        EXPECT_EQ(cells.Names[i], names.substr(i, 1)) << i;
    }
    EXPECT_EQ(cells.Days[4], u"六　　");
    EXPECT_EQ(cells.Months[4], u"　六月");
    EXPECT_EQ(cells.Days[8], u"九　　");
    EXPECT_EQ(PrintedRowCount(options), 8);
    options.HyakkaNichiPrint = false;
    EXPECT_EQ(PrintedRowCount(options), 7);
    options.HatsuGatsuPrint = true;
    EXPECT_EQ(PrintedRowCount(options), 8);
}

struct PadCase {
    std::u16string In;
    std::u16string Age;
    std::u16string EraYear;
    std::u16string Month;
    std::u16string Day;
};

class PaddedTexts : public ::testing::TestWithParam<PadCase> {};

TEST_P(PaddedTexts, PadInFront) {
    const PadCase& pc = GetParam();
    EXPECT_EQ(AgeText(pc.In), pc.Age);
    EXPECT_EQ(EraYearText(pc.In), pc.EraYear);
    EXPECT_EQ(MonthOfDeathText(pc.In), pc.Month);
    EXPECT_EQ(DayOfDeathText(pc.In), pc.Day);
}

INSTANTIATE_TEST_SUITE_P(
    Values, PaddedTexts,
    ::testing::Values(PadCase{u"1", u"　　　一", u"　　元", u"　一", u"　　一"},
                      PadCase{u"10", u"　　　十", u"　　十", u"　十", u"　　十"},
                      PadCase{u"0", u"　　　当", u"　　当", u"　当", u"　　当"},
                      PadCase{u"31", u"　三十一", u"三十一", u"三十一", u"三十一"},
                      PadCase{u"150", u"　百五十", u"百五十", u"百五十", u"百五十"},
                      PadCase{u"151", u"　　　　", u"　　　", u"　　", u"　　　"},
                      PadCase{u"", u"　　　　", u"　　　", u"　　", u"　　　"},
                      PadCase{u"2147483647", u"　　　　", u"　　　", u"　　", u"　　　"},
                      PadCase{u"99999999999", u"　　　　", u"　　　", u"　　", u"　　　"}));

TEST(WesternYearText, DigitsPaddedToFive) {
    EXPECT_EQ(WesternYearText(u"2019"), u"　二〇一九");
    EXPECT_EQ(WesternYearText(u""), u"　　　　　");
    EXPECT_EQ(WesternYearText(u"645"), u"　　六四五");
    EXPECT_EQ(WesternYearText(u"123456"), u"一二三四五六");
}

TEST(DeathDateForm, EraPrefix) {
    DeceasedData data;
    SheetOptions options;
    data.KiNengo = u"平成";
    EXPECT_EQ(DeathDateForm(data, options, false), u"平成　　　年　　月　　　日寂");
    EXPECT_EQ(DeathDateForm(data, options, true), u"令和　　　年　　月　　　日寂");
    data.KiNengo = u"－－";
    EXPECT_EQ(DeathDateForm(data, options, false).substr(0, 2), u"　　");
    data.KiNengo.clear();
    EXPECT_EQ(DeathDateForm(data, options, false).substr(0, 2), u"　　");
    options.WarekiInsatsu = false;
    data.KiNengo = u"平成";
    EXPECT_EQ(DeathDateForm(data, options, false).substr(0, 2), u"　　");
    EXPECT_EQ(DeathDateForm(data, options, true).substr(0, 2), u"　　");
}

TEST(ClassifyName, LengthClasses) {
    EXPECT_EQ(ClassifyName(0), NameClass::None);
    EXPECT_EQ(ClassifyName(1), NameClass::Single);
    EXPECT_EQ(ClassifyName(2), NameClass::Short);
    EXPECT_EQ(ClassifyName(8), NameClass::Short);
    EXPECT_EQ(ClassifyName(9), NameClass::Long);
    EXPECT_EQ(ClassifyName(12), NameClass::Long);
    EXPECT_EQ(ClassifyName(13), NameClass::Small);
    EXPECT_EQ(ClassifyName(16), NameClass::Small);
    EXPECT_EQ(ClassifyName(17), NameClass::None);
}

TEST(BuildMemorialSheet, SurrogatePairIsOneCharacter) {
    DeceasedData data;
    data.Kaimyo = u"𠮷"; // one character, two code units: drawn alone at its start
    SheetOptions options;
    const SheetDescription sheet = BuildMemorialSheet(data, options, DefaultSchedule(), false);
    int found = 0;
    for (const SheetElement& e : sheet.Elements) {
        if (const auto* text = std::get_if<SheetText>(&e)) {
            if (text->Text == u"𠮷") {
                ++found;
                EXPECT_EQ(text->X.Start, 0.2476);
                EXPECT_EQ(text->Y.Base, 2215);
            }
        }
    }
    EXPECT_EQ(found, 1);
    EXPECT_EQ(SplitCharacters(u"a\xD800"
                              u"b")
                  .size(),
              3u); // a lone surrogate stands alone
}

// --- rounding and mapping ---------------------------------------------------------------

struct RoundCase {
    double In;
    std::int32_t Out;
};

class Rounding : public ::testing::TestWithParam<RoundCase> {};

TEST_P(Rounding, HalvesToEven) {
    EXPECT_EQ(SheetRound(GetParam().In), GetParam().Out);
}

INSTANTIATE_TEST_SUITE_P(
    Values, Rounding,
    ::testing::Values(RoundCase{0.5, 0}, RoundCase{1.5, 2}, RoundCase{2.5, 2}, RoundCase{-0.5, 0},
                      RoundCase{-1.5, -2}, RoundCase{696.5, 696}, RoundCase{697.49, 697},
                      RoundCase{1e300, 2147483647}, RoundCase{-1e300, -2147483647 - 1},
                      RoundCase{std::numeric_limits<double>::quiet_NaN(), 0},
                      RoundCase{std::numeric_limits<double>::infinity(), 2147483647}));

TEST(SheetMapping, PaperAndScreenOfOnePosition) {
    const SheetMapping paper = SheetMapping::Paper(4961, 7016, 50, 60);
    const SheetMapping screen = SheetMapping::Screen(5000, 3536);
    const AlongPos x = Along(0.3048);
    const AcrossPos y = Across(707);
    EXPECT_EQ(paper.Map(x, y), (DevicePoint{1512 - 50, 496 - 60}));
    // 0.9293 * 5000 = 4646.5: the screen's complement of 0.0707, and the half goes to the
    // even neighbour.
    EXPECT_EQ(screen.Map(x, y).X, 4646);
    EXPECT_EQ(screen.Map(x, y).Y, static_cast<std::int32_t>(std::nearbyint(0.3048 * 3536)));
    const AlongPos spread{AlongPos::Mode::Spread, 0.3048, 0.2809, 2, 3};
    EXPECT_EQ(paper.AlongValue(spread), 1512 + 2 * 697 - 50);
    const AlongPos single{AlongPos::Mode::Spread, 0.3048, 0.2809, 0, 1};
    EXPECT_EQ(paper.AlongValue(single), 1512 - 50);
    EXPECT_EQ(paper.PenWidth(SheetPen{1.0, 1300.0, 1, 0}), 5);
    EXPECT_EQ(screen.PenWidth(SheetPen{0.005, 1.0, 0, 1}),
              static_cast<std::int32_t>(std::nearbyint(0.005 * 3536)) + 1);
    EXPECT_EQ(screen.FontHeight(SheetFont{u"@x", 0.035}), 175);
}

// --- the printable area ------------------------------------------------------------------

struct MarginCase {
    const char* Label;
    PageMetrics Page;
    bool Exceeds;
};

class PrintableArea : public ::testing::TestWithParam<MarginCase> {};

TEST_P(PrintableArea, LimitsPassAtEquality) {
    EXPECT_EQ(ExceedsPrintableArea(GetParam().Page), GetParam().Exceeds) << GetParam().Label;
}

// W = 10000, H = 10000: the limits are 952, 673, 1190 and 673 device units.
INSTANTIATE_TEST_SUITE_P(
    Margins, PrintableArea,
    ::testing::Values(MarginCase{"full page", {10000, 10000, 0, 0, 10000, 10000}, false},
                      MarginCase{"left at limit", {10000, 10000, 952, 0, 9048, 10000}, false},
                      MarginCase{"left over", {10000, 10000, 953, 0, 9047, 10000}, true},
                      MarginCase{"top at limit", {10000, 10000, 0, 673, 10000, 9327}, false},
                      MarginCase{"top over", {10000, 10000, 0, 674, 10000, 9326}, true},
                      MarginCase{"right at limit", {10000, 10000, 0, 0, 8810, 10000}, false},
                      MarginCase{"right over", {10000, 10000, 0, 0, 8809, 10000}, true},
                      MarginCase{"bottom at limit", {10000, 10000, 0, 0, 10000, 9327}, false},
                      MarginCase{"bottom over", {10000, 10000, 0, 0, 10000, 9326}, true},
                      MarginCase{"A4 600 dpi, 5 mm", {4961, 7016, 118, 118, 4725, 6780}, false},
                      MarginCase{"no page", {0, 0, 0, 0, 0, 0}, true},
                      MarginCase{"extreme values",
                                 {2147483647, 2147483647, -2147483647 - 1, 2147483647,
                                  -2147483647 - 1, -2147483647 - 1},
                                 true}));

// --- the preview's zoom -------------------------------------------------------------------

struct FitCase {
    std::int32_t BoxW, BoxH;
    PreviewPage Page;
};

class Fit : public ::testing::TestWithParam<FitCase> {};

TEST_P(Fit, LargestLandscapePage) {
    EXPECT_EQ(FitPreviewPage(GetParam().BoxW, GetParam().BoxH), GetParam().Page);
}

INSTANTIATE_TEST_SUITE_P(Boxes, Fit,
                         ::testing::Values(FitCase{1414, 1000, {1414, 1000}},
                                           FitCase{2000, 1000, {1414, 1000}},
                                           FitCase{1000, 1000, {1000, 707}},
                                           FitCase{0, 0, {0, 0}}));

TEST(PreviewZoom, StepsAccumulateFromTheCurrentSize) {
    PreviewPage page = FitPreviewPage(1414, 1000);
    page = ScalePreviewPage(page, kZoomInFactor);
    EXPECT_EQ(page, (PreviewPage{2000, 1414}));
    page = ScalePreviewPage(page, kZoomInFactor);
    EXPECT_EQ(page, (PreviewPage{2828, 2000}));
    page = FitPreviewPage(1414, 1000);
    page = ScalePreviewPage(page, kZoomOutFactor);
    EXPECT_EQ(page, (PreviewPage{1000, 707}));
    page = ScalePreviewPage(page, kZoomOutFactor);
    EXPECT_EQ(page, (PreviewPage{707, 500}));
}

// What is asked or said before a sheet goes out.
struct CaseCheckRow {
    const char* name;
    std::u16string year, month, day, kaimyo;
    std::u16string missing;
    bool nameNotPrinted;
};

class SheetCaseCheckTest : public testing::TestWithParam<CaseCheckRow> {};

TEST_P(SheetCaseCheckTest, FindsWhatWouldPrintWrong) {
    DeceasedData data;
    data.KiNen = GetParam().year;
    data.KiGatsu = GetParam().month;
    data.KiNichi = GetParam().day;
    data.Kaimyo = GetParam().kaimyo;
    const SheetCaseCheck check = CheckSheetCase(data);
    EXPECT_EQ(check.MissingDate, GetParam().missing);
    EXPECT_EQ(check.NameNotPrinted, GetParam().nameNotPrinted);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SheetCaseCheckTest,
    testing::Values(CaseCheckRow{"Real", u"2026", u"1", u"31", u"釋浄心", u"", false},
                    CaseCheckRow{"February31", u"2026", u"2", u"31", u"", u"2月31日", false},
                    CaseCheckRow{"LeapDay", u"2024", u"2", u"29", u"", u"", false},
                    CaseCheckRow{"LeapDayOfACommonYear", u"2023", u"2", u"29", u"", u"2月29日",
                                 false},
                    CaseCheckRow{"LeapDayWithoutYear", u"", u"2", u"29", u"", u"", false},
                    CaseCheckRow{"Month13", u"2026", u"13", u"1", u"", u"13月1日", false},
                    CaseCheckRow{"DayZero", u"2026", u"4", u"0", u"", u"4月0日", false},
                    CaseCheckRow{"BlankDay", u"2026", u"4", u"", u"", u"", false},
                    CaseCheckRow{"SixteenCharacters", u"2026", u"1", u"1",
                                 u"一二三四五六七八九十一二三四五六", u"", false},
                    CaseCheckRow{"SeventeenCharacters", u"2026", u"1", u"1",
                                 u"一二三四五六七八九十一二三四五六七", u"", true}),
    [](const auto& row) { return std::string(row.param.name); });

} // namespace
} // namespace ulvan
