// The memorial sheet as it reaches the canvas, on the printer page and on the preview: the
// positions are recomputed here from the sheet's fractions with the platform's own
// round-half-even, independently of the layout code.
#include "CanvasTestSupport.h"
#include "tests/support/SampleCase.h"

#include "sheet/KanjiNumerals.h"
#include "sheet/MemorialPage.h"
#include "sheet/QtText.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <algorithm>

#include <cfenv>
#include <cmath>
#include <string>
#include <vector>

namespace ulvan {
namespace {

constexpr int kW = 4961; // A4 at 600 dpi
constexpr int kH = 7016;
constexpr int kPW = 1414; // a fitted preview
constexpr int kPH = 1000;

int Rnd(double v) {
    // nearbyint follows the current rounding mode: to nearest, ties to even.
    EXPECT_EQ(std::fegetround(), FE_TONEAREST);
    return static_cast<int>(std::nearbyint(v));
}

// The shared filled case with a three-character name and stand-in font names, so that the
// recorded calls show which font each text was drawn with.
MemorialSheetInputs FilledCase() {
    MemorialSheetInputs in = test::FilledCase();
    in.Deceased.Kaimyo = u"釋浄念";
    in.Deceased.Yomi = u"しゃくじょうねん";
    in.Options.FntName1 = u"TitleFamily";
    in.Options.FntName2 = u"BodyFamily";
    return in;
}

std::vector<CanvasCall> DrawPaper(MemorialSheetInputs in, bool blank, int offX = 0, int offY = 0) {
    test::EnsureGuiApplication();
    RecordingCanvas canvas;
    FooterDrawRequest request;
    PageMetrics page{kW, kH, offX, offY, kW - offX, kH - offY};
    DrawMemorialPaper(canvas, page, in, blank, request);
    return canvas.Calls();
}

std::vector<CanvasCall> DrawScreen(MemorialSheetInputs in) {
    test::EnsureGuiApplication();
    RecordingCanvas canvas;
    FooterDrawRequest request;
    DrawMemorialPreview(canvas, kPW, kPH, in, request);
    return canvas.Calls();
}

std::vector<CanvasCall> Texts(const std::vector<CanvasCall>& calls) {
    std::vector<CanvasCall> out;
    for (const CanvasCall& c : calls) {
        if (c.What == CanvasCall::Kind::Text) {
            out.push_back(c);
        }
    }
    return out;
}

// Texts drawn at one y, in drawing order.
std::vector<CanvasCall> TextsAtY(const std::vector<CanvasCall>& calls, int y) {
    std::vector<CanvasCall> out;
    for (const CanvasCall& c : Texts(calls)) {
        if (c.Y1 == y) {
            out.push_back(c);
        }
    }
    return out;
}

// The text drawn last at a point; empty when none.
QString LastTextAt(const std::vector<CanvasCall>& calls, int x, int y) {
    QString found;
    for (const CanvasCall& c : Texts(calls)) {
        if (c.X1 == x && c.Y1 == y) {
            found = c.Text;
        }
    }
    return found;
}

// --- the title's spread ----------------------------------------------------------------

struct TitleCase {
    std::u16string Title;
    int Count;
    int Pitch;
};

class TitleSpread : public ::testing::TestWithParam<TitleCase> {};

TEST_P(TitleSpread, ReachesOverTheSpanWhateverItsLength) {
    const TitleCase& tc = GetParam();
    MemorialSheetInputs in = FilledCase();
    in.Options.TitName = tc.Title;
    const auto calls = DrawPaper(in, false);
    std::vector<CanvasCall> title;
    for (const CanvasCall& c : TextsAtY(calls, Rnd(0.0707 * kH))) {
        if (c.Font.Face == QStringLiteral("@TitleFamily")) {
            title.push_back(c);
        }
    }
    ASSERT_EQ(static_cast<int>(title.size()), tc.Count);
    for (int k = 0; k < tc.Count; ++k) {
        EXPECT_EQ(title[static_cast<std::size_t>(k)].X1, Rnd(0.3048 * kW) + k * tc.Pitch) << k;
        EXPECT_EQ(title[static_cast<std::size_t>(k)].Font.CellHeight, Rnd(0.035 * kH));
        EXPECT_EQ(title[static_cast<std::size_t>(k)].Font.Escapement, 0);
    }
    if (tc.Count >= 2) {
        EXPECT_EQ(tc.Pitch, Rnd(0.2809 * kW / (tc.Count - 1)));
    }
}

INSTANTIATE_TEST_SUITE_P(Titles, TitleSpread,
                         ::testing::Values(TitleCase{u"忌日表", 3, 697},
                                           TitleCase{u"忌日", 2, 1394}, TitleCase{u"忌", 1, 0},
                                           TitleCase{u"四十九日忌日表", 7, Rnd(0.2809 * kW / 6)}));

TEST(MemorialSheetPaper, EmptyTitleAndFontsUseTheFallbacks) {
    MemorialSheetInputs in = FilledCase();
    in.Options.TitName.clear();
    in.Options.FntName1.clear();
    in.Options.FntName2.clear();
    const auto calls = DrawPaper(in, false);
    const auto title = TextsAtY(calls, Rnd(0.0707 * kH));
    QString drawn;
    for (const CanvasCall& c : title) {
        drawn += c.Text;
        EXPECT_EQ(c.Font.Face, QStringLiteral("@ＭＳ ゴシック"));
    }
    EXPECT_EQ(drawn, QStringLiteral("Ulvan表"));
    const auto name = TextsAtY(calls, Rnd(0.2215 * kH));
    ASSERT_FALSE(name.empty());
    EXPECT_EQ(name.front().Font.Face, QStringLiteral("@ＭＳ 明朝"));
}

// --- the posthumous name and its reading -----------------------------------------------

struct NameCase {
    int Length;
    double Start; // < 0: nothing drawn
    double Span;
    double Row;
    double Height;
    double ReadingStart; // < 0: no reading
};

class NameClasses : public ::testing::TestWithParam<NameCase> {};

std::u16string NameOf(int length) {
    static const std::u16string pool = u"釋浄念院殿大居士信女禅定門童子位霊";
    std::u16string name;
    for (int i = 0; i < length; ++i) {
        name.push_back(pool[static_cast<std::size_t>(i) % pool.size()]);
    }
    return name;
}

TEST_P(NameClasses, PlacementAndHeightByLength) {
    const NameCase& nc = GetParam();
    MemorialSheetInputs in = FilledCase();
    in.Deceased.Kaimyo = NameOf(nc.Length);
    in.Deceased.Yomi = u"あいう";
    in.Options.RubyPrint = true;
    const auto calls = DrawPaper(in, false);

    std::vector<CanvasCall> name;
    for (const CanvasCall& c : Texts(calls)) {
        if (c.Font.Face == QStringLiteral("@BodyFamily") &&
            (c.Y1 == Rnd(0.2215 * kH) || c.Y1 == Rnd(0.226 * kH))) {
            name.push_back(c);
        }
    }
    if (nc.Start < 0) {
        EXPECT_TRUE(name.empty());
    } else {
        ASSERT_EQ(static_cast<int>(name.size()), nc.Length);
        const int pitch = nc.Length >= 2 ? Rnd(nc.Span * kW / (nc.Length - 1)) : 0;
        for (int k = 0; k < nc.Length; ++k) {
            const CanvasCall& c = name[static_cast<std::size_t>(k)];
            EXPECT_EQ(c.X1, Rnd(nc.Start * kW) + k * pitch) << k;
            EXPECT_EQ(c.Y1, Rnd(nc.Row * kH));
            EXPECT_EQ(c.Font.CellHeight, Rnd(nc.Height * kH));
            EXPECT_EQ(c.Text, ToQ(in.Deceased.Kaimyo.substr(static_cast<std::size_t>(k), 1)));
        }
    }

    const auto reading = TextsAtY(calls, Rnd(0.1953 * kH));
    if (nc.ReadingStart < 0) {
        EXPECT_TRUE(reading.empty());
    } else {
        ASSERT_EQ(reading.size(), 3u);
        for (int k = 0; k < 3; ++k) {
            const CanvasCall& c = reading[static_cast<std::size_t>(k)];
            EXPECT_EQ(c.X1, Rnd(nc.ReadingStart * kW) + k * Rnd(0.017 * kW));
            EXPECT_EQ(c.Font.CellHeight, Rnd(0.011 * kH));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Lengths, NameClasses,
                         ::testing::Values(NameCase{0, -1, 0, 0, 0, -1},
                                           NameCase{1, 0.2476, 0, 0.2215, 0.035, 0.262},
                                           NameCase{2, 0.2476, 0.3567, 0.2215, 0.035, 0.262},
                                           NameCase{8, 0.2476, 0.3567, 0.2215, 0.035, 0.262},
                                           NameCase{9, 0.2, 0.5428, 0.2215, 0.035, 0.2142},
                                           NameCase{12, 0.2, 0.5428, 0.2215, 0.035, 0.2142},
                                           NameCase{13, 0.2, 0.5428, 0.226, 0.026, 0.2142},
                                           NameCase{16, 0.2, 0.5428, 0.226, 0.026, 0.2142},
                                           NameCase{17, -1, 0, 0, 0, -1}));

TEST(MemorialSheetPaper, ReadingOffPrintsNoReading) {
    MemorialSheetInputs in = FilledCase();
    in.Options.RubyPrint = false;
    EXPECT_TRUE(TextsAtY(DrawPaper(in, false), Rnd(0.1953 * kH)).empty());
}

TEST(MemorialSheetPaper, OverlongReadingStopsPastThePage) {
    MemorialSheetInputs in = FilledCase();
    in.Deceased.Yomi = std::u16string(200000, u'あ');
    const auto reading = TextsAtY(DrawPaper(in, false), Rnd(0.1953 * kH));
    ASSERT_FALSE(reading.empty());
    EXPECT_LT(reading.size(), 200u);  // two page lengths at 0.017 a character
    EXPECT_GT(reading.back().X1, kW); // but it does run on past the page's end
}

// --- the age -----------------------------------------------------------------------------

struct AgeCase {
    std::u16string Age;
    std::u16string Run;
};

class AgeRun : public ::testing::TestWithParam<AgeCase> {};

TEST_P(AgeRun, PaddedToFourCellsAndDrawnAsOneRun) {
    MemorialSheetInputs in = FilledCase();
    in.Deceased.GyoNen = GetParam().Age;
    const auto calls = DrawPaper(in, false);
    const int x = Rnd(0.6952 * kW);
    const int y = Rnd(0.3064 * kH);
    int runs = 0;
    for (const CanvasCall& c : Texts(calls)) {
        if (c.X1 == x && c.Y1 == y) {
            ++runs;
            EXPECT_EQ(c.Text, ToQ(GetParam().Run));
            EXPECT_EQ(c.Font.CellHeight, Rnd(0.0206 * kH));
        }
    }
    EXPECT_EQ(runs, 1);
}

INSTANTIATE_TEST_SUITE_P(Ages, AgeRun,
                         ::testing::Values(AgeCase{u"0", u"　　　当"}, AgeCase{u"5", u"　　　五"},
                                           AgeCase{u"82", u"　八十二"},
                                           AgeCase{u"115", u"　百十五"},
                                           AgeCase{u"151", u"　　　　"}, AgeCase{u"", u"　　　　"},
                                           AgeCase{u"八十", u"　　　　"},
                                           AgeCase{u"-1", u"　　　　"}));

// --- the date of death ---------------------------------------------------------------------

struct YearCase {
    bool Wareki;
    std::u16string Era;
    std::u16string EraYear;
    std::u16string Western;
    std::u16string Cells; // cells 1..5 of the column, as they end up
};

class DeathYear : public ::testing::TestWithParam<YearCase> {};

TEST_P(DeathYear, FillsItsCells) {
    const YearCase& yc = GetParam();
    MemorialSheetInputs in = FilledCase();
    in.Options.WarekiInsatsu = yc.Wareki;
    in.Deceased.KiNengo = yc.Era;
    in.Deceased.KiWanen = yc.EraYear;
    in.Deceased.KiNen = yc.Western;
    const auto calls = DrawPaper(in, false);
    const int y = Rnd(0.1465 * kH);
    for (std::size_t k = 0; k < 5; ++k) {
        const int x = Rnd((0.1476 + 0.0337 * static_cast<double>(k)) * kW);
        EXPECT_EQ(LastTextAt(calls, x, y), ToQ(yc.Cells.substr(k, 1))) << "cell " << k + 1;
    }
    // 年 stays in cell 6, 寂 in cell 14.
    EXPECT_EQ(LastTextAt(calls, Rnd((0.1476 + 0.0337 * 5) * kW), y), QStringLiteral("年"));
    EXPECT_EQ(LastTextAt(calls, Rnd((0.1476 + 0.0337 * 13) * kW), y), QStringLiteral("寂"));
}

INSTANTIATE_TEST_SUITE_P(Years, DeathYear,
                         ::testing::Values(YearCase{true, u"令和", u"1", u"2019", u"令和　　元"},
                                           YearCase{true, u"平成", u"10", u"1998", u"平成　　十"},
                                           YearCase{true, u"昭和", u"64", u"1989", u"昭和六十四"},
                                           YearCase{true, u"令和", u" 6", u"2024", u"令和　　六"},
                                           YearCase{true, u"－－", u"5", u"1400", u"　　　　五"},
                                           YearCase{true, u"", u"x", u"", u"　　　　　"},
                                           YearCase{false, u"令和", u"1", u"2019", u"　二〇一九"},
                                           YearCase{false, u"令和", u"1", u"", u"　　　　　"},
                                           YearCase{false, u"令和", u"1", u"645", u"　　六四五"}));

TEST(MemorialSheetPaper, MonthAndDayOfDeathInTheirCells) {
    MemorialSheetInputs in = FilledCase();
    in.Deceased.KiGatsu = u"12";
    in.Deceased.KiNichi = u"5";
    const auto calls = DrawPaper(in, false);
    const int y = Rnd(0.1465 * kH);
    EXPECT_EQ(LastTextAt(calls, Rnd(0.3498 * kW), y), QStringLiteral("十"));
    EXPECT_EQ(LastTextAt(calls, Rnd((0.3498 + 0.0337) * kW), y), QStringLiteral("二"));
    EXPECT_EQ(LastTextAt(calls, Rnd((0.3498 + 0.0337 * 2) * kW), y), QStringLiteral("月"));
    EXPECT_EQ(LastTextAt(calls, Rnd((0.4509 + 0.0337 * 2) * kW), y), QStringLiteral("五"));
    EXPECT_EQ(LastTextAt(calls, Rnd((0.4509 + 0.0337 * 3) * kW), y), QStringLiteral("日"));
}

// --- the blank sheet -------------------------------------------------------------------------

TEST(MemorialSheetPaper, BlankSheetCarriesOnlyTheForm) {
    MemorialSheetInputs in = FilledCase();
    const auto calls = DrawPaper(in, true);
    const int dateY = Rnd(0.1465 * kH);
    EXPECT_EQ(LastTextAt(calls, Rnd(0.1476 * kW), dateY), QStringLiteral("令"));
    EXPECT_EQ(LastTextAt(calls, Rnd((0.1476 + 0.0337) * kW), dateY), QStringLiteral("和"));
    for (int k = 2; k < 5; ++k) { // no year
        EXPECT_EQ(LastTextAt(calls, Rnd((0.1476 + 0.0337 * k) * kW), dateY), QStringLiteral("　"));
    }
    EXPECT_TRUE(TextsAtY(calls, Rnd(0.2215 * kH)).empty());                       // no name
    EXPECT_TRUE(TextsAtY(calls, Rnd(0.1953 * kH)).empty());                       // no reading
    EXPECT_TRUE(LastTextAt(calls, Rnd(0.6952 * kW), Rnd(0.3064 * kH)).isEmpty()); // no age
    for (int r = 1; r <= 9; ++r) {
        const int y = Rnd((0.3608 + 0.0486 * (r - 1)) * kH);
        EXPECT_EQ(LastTextAt(calls, Rnd(0.6238 * kW), y), QStringLiteral("月")) << r;
        EXPECT_EQ(LastTextAt(calls, Rnd(0.8286 * kW), y), QStringLiteral("日")) << r;
        EXPECT_TRUE(LastTextAt(calls, Rnd(0.7275 * kW), y).isEmpty()) << r; // no day
        EXPECT_TRUE(LastTextAt(calls, Rnd(0.5564 * kW), y).isEmpty()) << r; // no month
    }
}

TEST(MemorialSheetPaper, BlankSheetWesternHasNoEraAndFewerRows) {
    MemorialSheetInputs in = FilledCase();
    in.Options.WarekiInsatsu = false;
    in.Options.HyakkaNichiPrint = false;
    const auto calls = DrawPaper(in, true);
    EXPECT_EQ(LastTextAt(calls, Rnd(0.1476 * kW), Rnd(0.1465 * kH)), QStringLiteral("　"));
    int marks = 0;
    for (const CanvasCall& c : Texts(calls)) {
        marks += (c.X1 == Rnd(0.6238 * kW) && c.Text == QStringLiteral("月")) ? 1 : 0;
    }
    EXPECT_EQ(marks, 8);
}

// --- the schedule rows -------------------------------------------------------------------------

struct RowCase {
    bool HatsuGatsu;
    bool Hyakka;
    std::vector<std::size_t> Rows; // schedule rows (0-based) printed, in order
};

class RowSelection : public ::testing::TestWithParam<RowCase> {};

TEST_P(RowSelection, PrintsTheChosenRowsInTheFirstPlaces) {
    const RowCase& rc = GetParam();
    MemorialSheetInputs in = FilledCase();
    for (std::size_t i = 0; i < 9; ++i) {
        in.Schedule[i].Name = std::u16string(u"忌") + std::u16string(1, u"一二三四五六七八九"[i]);
        in.Schedule[i].Month = u"4";
        in.Schedule[i].Day = std::u16string(1, static_cast<char16_t>(u'1' + i));
    }
    in.Options.HatsuGatsuPrint = rc.HatsuGatsu;
    in.Options.HyakkaNichiPrint = rc.Hyakka;
    in.Options.DogetsuShoryaku = false;
    const auto calls = DrawPaper(in, false);
    for (int r = 1; r <= 9; ++r) {
        const int y = Rnd((0.3608 + 0.0486 * (r - 1)) * kH);
        const auto row = TextsAtY(calls, y);
        const auto printed = static_cast<std::size_t>(r - 1) < rc.Rows.size();
        if (!printed) {
            EXPECT_TRUE(row.empty()) << "row " << r;
            continue;
        }
        const std::size_t source = rc.Rows[static_cast<std::size_t>(r - 1)];
        const int pitch = Rnd(0.2429 * kW);
        EXPECT_EQ(LastTextAt(calls, Rnd(0.1333 * kW), y),
                  ToQ(in.Schedule[source].Name.substr(0, 1)));
        EXPECT_EQ(LastTextAt(calls, Rnd(0.1333 * kW) + pitch, y),
                  ToQ(in.Schedule[source].Name.substr(1, 1)));
        EXPECT_EQ(LastTextAt(calls, Rnd(0.7275 * kW), y),
                  ToQ(KanjiNumber(static_cast<std::int64_t>(source) + 1)));
        EXPECT_EQ(LastTextAt(calls, Rnd(0.8286 * kW), y), QStringLiteral("日"));
        EXPECT_EQ(LastTextAt(calls, Rnd(0.6238 * kW), y), QStringLiteral("月"));
    }
}

INSTANTIATE_TEST_SUITE_P(Options, RowSelection,
                         ::testing::Values(RowCase{true, true, {0, 1, 2, 3, 4, 5, 6, 7, 8}},
                                           RowCase{false, true, {0, 1, 2, 3, 5, 6, 7, 8}},
                                           RowCase{true, false, {0, 1, 2, 3, 4, 5, 6, 7}},
                                           RowCase{false, false, {0, 1, 2, 3, 5, 6, 7}}));

TEST(MemorialSheetPaper, HeadingOfOneCharacterAndEmptyHeading) {
    MemorialSheetInputs in = FilledCase();
    in.Schedule[0].Name = u"忌";
    in.Schedule[1].Name.clear();
    const auto calls = DrawPaper(in, false);
    const auto row1 = TextsAtY(calls, Rnd(0.3608 * kH));
    EXPECT_EQ(LastTextAt(calls, Rnd(0.1333 * kW), Rnd(0.3608 * kH)), QStringLiteral("忌"));
    int headings = 0;
    for (const CanvasCall& c : row1) {
        headings += c.X1 < Rnd(0.4238 * kW) ? 1 : 0;
    }
    EXPECT_EQ(headings, 1);
    for (const CanvasCall& c : TextsAtY(calls, Rnd((0.3608 + 0.0486) * kH))) {
        EXPECT_GT(c.X1, Rnd(0.4286 * kW)); // nothing in the heading cell
    }
}

struct DayCase {
    std::u16string Day;
    std::u16string Cells;
};

class DayFilling : public ::testing::TestWithParam<DayCase> {};

TEST_P(DayFilling, DayLandsInFixedCells) {
    MemorialSheetInputs in = FilledCase();
    in.Schedule[2].Day = GetParam().Day;
    const auto calls = DrawPaper(in, false);
    const int y = Rnd((0.3608 + 0.0486 * 2) * kH);
    for (std::size_t k = 0; k < 3; ++k) {
        const int x = Rnd((0.7275 + 0.0337 * static_cast<double>(k)) * kW);
        EXPECT_EQ(LastTextAt(calls, x, y), ToQ(GetParam().Cells.substr(k, 1))) << k;
    }
    EXPECT_EQ(LastTextAt(calls, Rnd(0.8286 * kW), y), QStringLiteral("日"));
}

INSTANTIATE_TEST_SUITE_P(Days, DayFilling,
                         ::testing::Values(DayCase{u"5", u"五　　"}, DayCase{u"10", u"十　　"},
                                           DayCase{u"15", u"十　五"}, DayCase{u"20", u"二　十"},
                                           DayCase{u"25", u"二十五"}, DayCase{u"31", u"三十一"},
                                           DayCase{u"", u"　　　"}, DayCase{u"x", u"　　　"}));

TEST(MemorialSheetPaper, SameMonthOmittedOnTheSheet) {
    MemorialSheetInputs in = FilledCase();
    const char16_t* months[9] = {u"2", u"2", u"3", u"3", u"3", u"4", u"4", u"4", u"12"};
    for (std::size_t i = 0; i < 9; ++i) {
        in.Schedule[i].Month = months[i];
    }
    in.Options.DogetsuShoryaku = true;
    const auto calls = DrawPaper(in, false);
    const std::u16string expected[9] = {u"　二月", u"", u"　三月", u"",      u"",
                                        u"　四月", u"", u"",       u"十二月"};
    for (int r = 1; r <= 9; ++r) {
        const int y = Rnd((0.3608 + 0.0486 * (r - 1)) * kH);
        QString drawn;
        for (std::size_t k = 0; k < 3; ++k) {
            drawn += LastTextAt(calls, Rnd((0.5564 + 0.0337 * static_cast<double>(k)) * kW), y);
        }
        EXPECT_EQ(drawn, ToQ(expected[r - 1])) << "row " << r;
    }
}

struct OrderCase {
    bool Blank;
    std::string Expected; // one letter per run: H heading, M month, D day, N the 日 mark
};

class RowDrawingOrder : public ::testing::TestWithParam<OrderCase> {};

// The rows' texts are drawn column by column of the table: every heading, then the marks,
// and on the filled sheet every month before any day.
TEST_P(RowDrawingOrder, EachKindForAllRowsBeforeTheNext) {
    const auto calls = DrawPaper(FilledCase(), GetParam().Blank);
    std::vector<int> rowYs;
    for (int r = 1; r <= 9; ++r) {
        rowYs.push_back(Rnd((0.3608 + 0.0486 * (r - 1)) * kH));
    }
    std::string runs;
    for (const CanvasCall& c : Texts(calls)) {
        if (std::find(rowYs.begin(), rowYs.end(), c.Y1) == rowYs.end()) {
            continue;
        }
        char kind = '?';
        if (c.X1 < Rnd(0.4238 * kW)) {
            kind = 'H';
        } else if (c.X1 >= Rnd(0.5564 * kW) && c.X1 <= Rnd(0.6238 * kW)) {
            kind = 'M';
        } else if (c.X1 >= Rnd(0.7275 * kW) && c.X1 <= Rnd(0.7949 * kW)) {
            kind = 'D';
        } else if (c.X1 == Rnd(0.8286 * kW)) {
            kind = 'N';
        }
        if (runs.empty() || runs.back() != kind) {
            runs.push_back(kind);
        }
    }
    EXPECT_EQ(runs, GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Sheets, RowDrawingOrder,
                         ::testing::Values(OrderCase{true, "HMN"}, OrderCase{false, "HNMD"}));

// --- frame, name box and offsets ---------------------------------------------------------------

TEST(MemorialSheetPaper, FrameRulesAndPens) {
    const auto calls = DrawPaper(FilledCase(), false);
    std::vector<CanvasCall> rects, lines;
    for (const CanvasCall& c : calls) {
        if (c.What == CanvasCall::Kind::Rectangle) {
            rects.push_back(c);
        } else if (c.What == CanvasCall::Kind::Line) {
            lines.push_back(c);
        }
    }
    ASSERT_GE(rects.size(), 1u);
    EXPECT_EQ(rects[0].X1, Rnd(0.119 * kW));
    EXPECT_EQ(rects[0].Y1, Rnd(0.3468 * kH));
    EXPECT_EQ(rects[0].X2, Rnd(0.8809 * kW));
    EXPECT_EQ(rects[0].Y2, Rnd(0.7845 * kH));
    EXPECT_EQ(rects[0].Pen.Width, Rnd(0.005 * kW));
    ASSERT_EQ(lines.size(), 10u);
    for (int i = 1; i <= 8; ++i) {
        const CanvasCall& l = lines[static_cast<std::size_t>(i - 1)];
        const int y = Rnd((0.3468 + i * 0.4377 / 9) * kH);
        EXPECT_EQ(l.Y1, y);
        EXPECT_EQ(l.Y2, y);
        EXPECT_EQ(l.X1, Rnd(0.119 * kW));
        EXPECT_EQ(l.X2, Rnd(0.8809 * kW));
        EXPECT_EQ(l.Pen.Width, Rnd(kW / 1300.0) + 1);
    }
    EXPECT_EQ(lines[8].X1, Rnd(0.4238 * kW));
    EXPECT_EQ(lines[9].X1, Rnd(0.4286 * kW));
    EXPECT_EQ(lines[9].Y1, Rnd(0.3468 * kH));
    EXPECT_EQ(lines[9].Y2, Rnd(0.7845 * kH));
}

struct StyleCase {
    int Style;
    bool Pictures;
};

class NameBox : public ::testing::TestWithParam<StyleCase> {};

TEST_P(NameBox, PicturesOrRuledBox) {
    MemorialSheetInputs in = FilledCase();
    in.Options.KaimyoStyle = GetParam().Style;
    const auto calls = DrawPaper(in, false);
    std::vector<CanvasCall> pictures, rects;
    for (const CanvasCall& c : calls) {
        if (c.What == CanvasCall::Kind::Picture) {
            pictures.push_back(c);
        } else if (c.What == CanvasCall::Kind::Rectangle) {
            rects.push_back(c);
        }
    }
    if (GetParam().Pictures) {
        ASSERT_EQ(pictures.size(), 2u);
        EXPECT_EQ(rects.size(), 1u);
        // Turned for the paper: the upright art stands on its side.
        EXPECT_EQ(pictures[0].PictureSize, QSize(220, 320));
        EXPECT_EQ(pictures[1].PictureSize, QSize(180, 320));
        EXPECT_EQ(pictures[0].X1, Rnd(0.0952 * kW));
        EXPECT_EQ(pictures[0].X2, Rnd(0.2 * kW));
        EXPECT_EQ(pictures[0].Y1, Rnd(0.1851 * kH));
        EXPECT_EQ(pictures[0].Y2, Rnd(0.2929 * kH));
        EXPECT_EQ(pictures[1].X1, Rnd(0.7952 * kW));
        EXPECT_EQ(pictures[1].X2, Rnd(0.8809 * kW));
    } else {
        EXPECT_TRUE(pictures.empty());
        ASSERT_EQ(rects.size(), 2u);
        EXPECT_EQ(rects[1].X1, Rnd(0.119 * kW));
        EXPECT_EQ(rects[1].Y1, Rnd(0.1851 * kH));
        EXPECT_EQ(rects[1].X2, Rnd(0.8809 * kW));
        EXPECT_EQ(rects[1].Y2, Rnd(0.2929 * kH));
        EXPECT_EQ(rects[1].Pen.Width, Rnd(0.0029 * kW));
    }
}

INSTANTIATE_TEST_SUITE_P(Styles, NameBox,
                         ::testing::Values(StyleCase{0, true}, StyleCase{1, false},
                                           StyleCase{2, false}, StyleCase{-1, false}));

TEST(MemorialSheetPaper, PrinterOffsetsAreSubtractedFromEveryPosition) {
    const auto plain = DrawPaper(FilledCase(), false);
    const auto shifted = DrawPaper(FilledCase(), false, 118, 97);
    ASSERT_EQ(plain.size(), shifted.size());
    for (std::size_t i = 0; i < plain.size(); ++i) {
        if (plain[i].What == CanvasCall::Kind::Text || plain[i].What == CanvasCall::Kind::Line) {
            EXPECT_EQ(shifted[i].X1, plain[i].X1 - 118) << i;
            EXPECT_EQ(shifted[i].Y1, plain[i].Y1 - 97) << i;
        }
    }
}

TEST(MemorialSheetPaper, EveryPageStartsWithAClearBrushAndBlackPen) {
    const auto calls = DrawPaper(FilledCase(), false);
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[0].What, CanvasCall::Kind::ClearBrush);
    EXPECT_EQ(calls[1].What, CanvasCall::Kind::Pen);
    EXPECT_EQ(calls[1].Pen.Colour, QColor(0, 0, 0));
    for (const CanvasCall& c : calls) {
        if (c.What == CanvasCall::Kind::Font) {
            EXPECT_EQ(c.Font.Weight, 400);
            EXPECT_TRUE(c.Font.IsVertical());
        }
    }
}

// --- the preview's mapping -------------------------------------------------------------------

TEST(MemorialSheetPreview, SameElementsThroughTheScreenMapping) {
    MemorialSheetInputs in = FilledCase();
    const auto paper = Texts(DrawPaper(in, false));
    const auto screen = Texts(DrawScreen(in));
    ASSERT_EQ(paper.size(), screen.size());
    for (std::size_t i = 0; i < paper.size(); ++i) {
        EXPECT_EQ(paper[i].Text, screen[i].Text) << i;
        EXPECT_EQ(screen[i].Font.Escapement, 2700);
        EXPECT_EQ(screen[i].Font.Face, paper[i].Font.Face);
    }
}

TEST(MemorialSheetPreview, PositionsAreTheComplementsOnTheScreen) {
    MemorialSheetInputs in = FilledCase();
    const auto calls = DrawScreen(in);
    // Title: x 0.9293, spread from 0.3048 over 0.2809 of the height.
    std::vector<CanvasCall> title;
    for (const CanvasCall& c : Texts(calls)) {
        if (c.X1 == Rnd(0.9293 * kPW)) {
            title.push_back(c);
        }
    }
    ASSERT_EQ(title.size(), 3u);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(title[static_cast<std::size_t>(k)].Y1,
                  Rnd(0.3048 * kPH) + k * Rnd(0.2809 * kPH / 2));
        EXPECT_EQ(title[static_cast<std::size_t>(k)].Font.CellHeight, Rnd(0.035 * kPW));
    }
    // Name column at 0.7785, reading at 0.8047 with pitch rnd(0.017 * height).
    std::vector<CanvasCall> name, reading;
    for (const CanvasCall& c : Texts(calls)) {
        if (c.X1 == Rnd(0.7785 * kPW)) {
            name.push_back(c);
        } else if (c.X1 == Rnd(0.8047 * kPW)) {
            reading.push_back(c);
        }
    }
    ASSERT_EQ(name.size(), 3u);
    EXPECT_EQ(name[0].Y1, Rnd(0.2476 * kPH));
    EXPECT_EQ(name[2].Y1, Rnd(0.2476 * kPH) + 2 * Rnd(0.3567 * kPH / 2));
    ASSERT_EQ(reading.size(), 8u);
    EXPECT_EQ(reading[1].Y1 - reading[0].Y1, Rnd(0.017 * kPH));
    EXPECT_EQ(reading[0].Y1, Rnd(0.262 * kPH));
    // Schedule rows at 0.6392 - 0.0486 (r - 1); the 日 at 0.8286 of the height.
    for (int r = 1; r <= 9; ++r) {
        EXPECT_EQ(LastTextAt(calls, Rnd((0.6392 - 0.0486 * (r - 1)) * kPW), Rnd(0.8286 * kPH)),
                  QStringLiteral("日"))
            << r;
    }
    // Death-date column at 0.8535; the era year's 六 in cell 5.
    EXPECT_EQ(LastTextAt(calls, Rnd(0.8535 * kPW), Rnd((0.215 + 0.0337 * 2) * kPH)),
              QStringLiteral("六"));
    // Secular name at 0.6936, age run at 0.6952 of the height.
    EXPECT_EQ(LastTextAt(calls, Rnd(0.6936 * kPW), Rnd(0.2476 * kPH)), QStringLiteral("山"));
    EXPECT_EQ(LastTextAt(calls, Rnd(0.6936 * kPW), Rnd(0.6952 * kPH)), QStringLiteral("　八十二"));
}

TEST(MemorialSheetPreview, BorderFrameAndPictures) {
    const auto calls = DrawScreen(FilledCase());
    std::vector<CanvasCall> rects, pictures;
    for (const CanvasCall& c : calls) {
        if (c.What == CanvasCall::Kind::Rectangle) {
            rects.push_back(c);
        } else if (c.What == CanvasCall::Kind::Picture) {
            pictures.push_back(c);
        }
    }
    ASSERT_GE(rects.size(), 2u);
    EXPECT_EQ(rects[0].Pen.Colour, QColor(128, 0, 128));
    EXPECT_EQ(rects[0].Pen.Style, PenStyle::Dotted);
    EXPECT_EQ(rects[0].X2, kPW);
    EXPECT_EQ(rects[0].Y2, kPH);
    EXPECT_EQ(rects[1].X1, Rnd(0.2155 * kPW));
    EXPECT_EQ(rects[1].X2, Rnd(0.6532 * kPW));
    EXPECT_EQ(rects[1].Y1, Rnd(0.119 * kPH));
    EXPECT_EQ(rects[1].Y2, Rnd(0.8809 * kPH));
    EXPECT_EQ(rects[1].Pen.Width, Rnd(0.005 * kPH) + 1);
    ASSERT_EQ(pictures.size(), 2u);
    EXPECT_EQ(pictures[0].PictureSize, QSize(320, 220)); // upright
    EXPECT_EQ(pictures[0].X1, Rnd(0.7071 * kPW));
    EXPECT_EQ(pictures[0].X2, Rnd(0.8149 * kPW));
    EXPECT_EQ(pictures[0].Y1, Rnd(0.0952 * kPH));
    EXPECT_EQ(pictures[0].Y2, Rnd(0.2 * kPH));
    EXPECT_EQ(pictures[1].Y1, Rnd(0.7952 * kPH));
}

TEST(MemorialSheetPreview, FrameRulesAtTheScreenFractions) {
    const auto calls = DrawScreen(FilledCase());
    std::vector<int> xs;
    for (const CanvasCall& c : calls) {
        if (c.What == CanvasCall::Kind::Line && c.X1 == c.X2) {
            xs.push_back(c.X1);
            EXPECT_EQ(c.Pen.Width, Rnd(kPH / 1300.0) + 1);
        }
    }
    ASSERT_EQ(xs.size(), 8u);
    std::sort(xs.begin(), xs.end());
    for (int i = 1; i <= 8; ++i) {
        EXPECT_EQ(xs[static_cast<std::size_t>(i - 1)], Rnd((0.2155 + i * 0.4377 / 9) * kPW));
    }
}

// --- drawing on real surfaces ----------------------------------------------------------------

TEST(MemorialSheetImage, ArtAndNameLeaveInkInTheirBoxes) {
    test::EnsureGuiApplication();
    MemorialSheetInputs in = FilledCase();
    QImage image = test::WhiteImage(kPW, kPH);
    {
        QPainter painter(&image);
        QPainterCanvas canvas(painter);
        FooterDrawRequest request;
        DrawMemorialPreview(canvas, kPW, kPH, in, request);
    }
    const QRect canopy(Rnd(0.7071 * kPW), Rnd(0.0952 * kPH), Rnd(0.1078 * kPW), Rnd(0.1048 * kPH));
    const QRect ink = test::InkBounds(image, canopy);
    ASSERT_FALSE(ink.isNull());
    EXPECT_GT(ink.width(), canopy.width() * 3 / 4); // the canopy spans its box
    const QRect name(Rnd(0.7785 * kPW) - Rnd(0.035 * kPW), Rnd(0.2476 * kPH), Rnd(0.035 * kPW),
                     Rnd(0.4 * kPH));
    EXPECT_FALSE(test::InkBounds(image, name).isNull());
}

} // namespace
} // namespace ulvan
