// The annual chart as it reaches the canvas, on the printer page and on the preview. The
// positions are recomputed here from the chart's fractions with the platform's own
// round-half-even; the shared parts are compared with the memorial sheet drawn on the same
// page, so the two sheets cannot drift apart.
#include "CanvasTestSupport.h"
#include "tests/support/SampleCase.h"

#include "annual/NenkaiPage.h"
#include "sheet/KanjiNumerals.h"
#include "sheet/MemorialPage.h"
#include "sheet/QtText.h"

#include <gtest/gtest.h>

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
    EXPECT_EQ(std::fegetround(), FE_TONEAREST);
    return static_cast<int>(std::nearbyint(v));
}

int RowY(int j) {
    return Rnd((0.3564 + 0.0398 * (j - 1)) * kH);
}

// The filled case of the memorial tests with the annual window's values of a death in 2024
// (令和6), every anniversary computed as the window computes it.
NenkaiSheetInputs FilledChart(
    std::u16string_view year = u"2024", std::array<bool, 21> checked = [] {
        std::array<bool, 21> all{};
        all.fill(true);
        return all;
    }()) {
    const MemorialSheetInputs base = test::FilledCase();
    NenkaiSheetInputs in;
    in.Deceased = base.Deceased;
    in.Deceased.Kaimyo = u"釋浄念";
    in.Deceased.Yomi = u"しゃくじょうねん";
    in.Options = base.Options;
    in.Options.FntName1 = u"TitleFamily";
    in.Options.FntName2 = u"BodyFamily";
    in.Footer = base.Footer;
    in.Chart.Title = u"年回表";
    in.Chart.Year = std::u16string(year);
    in.Chart.Era = u"令和";
    in.Chart.EraYear = u" 6";
    const auto results = ComputeNenkai(year, in.Deceased.KiGatsu, in.Deceased.KiNichi);
    if (results) {
        in.Chart.Rows = NenkaiPrintedRows(*results, checked);
    }
    return in;
}

std::vector<CanvasCall> DrawPaper(NenkaiSheetInputs in, bool blank) {
    test::EnsureGuiApplication();
    RecordingCanvas canvas;
    FooterDrawRequest request;
    PageMetrics page{kW, kH, 0, 0, kW, kH};
    DrawNenkaiPaper(canvas, page, in, blank, request);
    return canvas.Calls();
}

std::vector<CanvasCall> DrawScreen(NenkaiSheetInputs in) {
    test::EnsureGuiApplication();
    RecordingCanvas canvas;
    FooterDrawRequest request;
    DrawNenkaiPreview(canvas, kPW, kPH, in, request);
    return canvas.Calls();
}

std::vector<CanvasCall> MemorialPaper(bool blank) {
    test::EnsureGuiApplication();
    MemorialSheetInputs in = test::FilledCase();
    in.Options.FntName1 = u"TitleFamily";
    in.Options.FntName2 = u"BodyFamily";
    RecordingCanvas canvas;
    FooterDrawRequest request;
    PageMetrics page{kW, kH, 0, 0, kW, kH};
    DrawMemorialPaper(canvas, page, in, blank, request);
    return canvas.Calls();
}

std::vector<CanvasCall> Of(const std::vector<CanvasCall>& calls, CanvasCall::Kind kind) {
    std::vector<CanvasCall> out;
    for (const CanvasCall& c : calls) {
        if (c.What == kind) {
            out.push_back(c);
        }
    }
    return out;
}

std::vector<CanvasCall> TextsAtY(const std::vector<CanvasCall>& calls, int y) {
    std::vector<CanvasCall> out;
    for (const CanvasCall& c : Of(calls, CanvasCall::Kind::Text)) {
        if (c.Y1 == y) {
            out.push_back(c);
        }
    }
    return out;
}

// The text drawn at a point; empty when none.
QString TextAt(const std::vector<CanvasCall>& calls, int x, int y) {
    QString found;
    for (const CanvasCall& c : TextsAtY(calls, y)) {
        if (c.X1 == x) {
            found += c.Text;
        }
    }
    return found;
}

// The text drawn last at a point; empty when none.
QString LastTextAt(const std::vector<CanvasCall>& calls, int x, int y) {
    QString found;
    for (const CanvasCall& c : TextsAtY(calls, y)) {
        if (c.X1 == x) {
            found = c.Text;
        }
    }
    return found;
}

// The text drawn first at a point; empty when none.
QString FirstTextAt(const std::vector<CanvasCall>& calls, int x, int y) {
    for (const CanvasCall& c : TextsAtY(calls, y)) {
        if (c.X1 == x) {
            return c.Text;
        }
    }
    return QString();
}

// A row's year label: what its cells show first (the label comes before the years).
QString LabelAt(const std::vector<CanvasCall>& calls, double fx, int y, int cells) {
    QString run;
    for (int k = 0; k < cells; ++k) {
        run += FirstTextAt(calls, Rnd(fx * kW) + k * Rnd(0.0292 * kW), y);
    }
    return run;
}

// A value of a row: what `cells` cells of the row's pitch from fx on show last (a year over
// its label's blank); empty when none of them holds anything.
QString RunAt(const std::vector<CanvasCall>& calls, double fx, int y, int cells) {
    QString run;
    for (int k = 0; k < cells; ++k) {
        run += LastTextAt(calls, Rnd(fx * kW) + k * Rnd(0.0292 * kW), y);
    }
    return run;
}

// The characters drawn at one y from fx `from` on (paper x), joined in drawing order.
QString JoinedFrom(const std::vector<CanvasCall>& calls, int y, double from, double to) {
    QString out;
    for (const CanvasCall& c : TextsAtY(calls, y)) {
        if (c.X1 >= Rnd(from * kW) && c.X1 < Rnd(to * kW)) {
            out += c.Text;
        }
    }
    return out;
}

// --- the table -------------------------------------------------------------------------

TEST(NenkaiSheetPaper, FrameHasElevenBandsWithTheMemorialSheetsOutline) {
    const auto calls = DrawPaper(FilledChart(), false);
    const auto rects = Of(calls, CanvasCall::Kind::Rectangle);
    const auto memorialRects = Of(MemorialPaper(false), CanvasCall::Kind::Rectangle);
    ASSERT_FALSE(rects.empty());
    ASSERT_FALSE(memorialRects.empty());
    EXPECT_EQ(rects.front().X1, memorialRects.front().X1);
    EXPECT_EQ(rects.front().Y1, memorialRects.front().Y1);
    EXPECT_EQ(rects.front().X2, memorialRects.front().X2);
    EXPECT_EQ(rects.front().Y2, memorialRects.front().Y2);
    EXPECT_EQ(rects.front().Pen.Width, memorialRects.front().Pen.Width);

    const auto lines = Of(calls, CanvasCall::Kind::Line);
    std::vector<int> rules;
    for (const CanvasCall& c : lines) {
        if (c.Y1 == c.Y2) {
            rules.push_back(c.Y1);
            EXPECT_EQ(c.X1, Rnd(0.119 * kW));
            EXPECT_EQ(c.X2, Rnd(0.8809 * kW));
        }
    }
    ASSERT_EQ(rules.size(), 10U);
    for (int i = 1; i <= 10; ++i) {
        EXPECT_EQ(rules[static_cast<std::size_t>(i - 1)], Rnd((0.3468 + i * 0.4377 / 11) * kH))
            << i;
    }
    int doubleRule = 0;
    for (const CanvasCall& c : lines) {
        if (c.X1 == c.X2) {
            ++doubleRule;
            EXPECT_TRUE(c.X1 == Rnd(0.4238 * kW) || c.X1 == Rnd(0.4286 * kW)) << c.X1;
        }
    }
    EXPECT_EQ(doubleRule, 2);
}

TEST(NenkaiSheetPaper, TwelveCheckedPrintTheFirstElevenInOrder) {
    std::array<bool, 21> checked{};
    for (std::size_t i = 0; i < 12; ++i) {
        checked[i] = true;
    }
    const auto calls = DrawPaper(FilledChart(u"2024", checked), false);
    for (int j = 1; j <= 11; ++j) {
        const QString name = JoinedFrom(calls, RowY(j), 0.13, 0.38);
        EXPECT_EQ(name, ToQ(NenkaiItems()[static_cast<std::size_t>(j - 1)].Name)) << j;
        // The name spreads from 0.1333 over 0.2429.
        const auto first = TextsAtY(calls, RowY(j));
        ASSERT_FALSE(first.empty());
        EXPECT_EQ(first.front().X1, Rnd(0.1333 * kW));
    }
    // 七十回忌 (the twelfth) appears nowhere; nothing is drawn below the eleventh row.
    QString all;
    for (const CanvasCall& c : Of(calls, CanvasCall::Kind::Text)) {
        all += c.Text;
    }
    EXPECT_FALSE(all.contains(QStringLiteral("七十回忌")));
    EXPECT_TRUE(TextsAtY(calls, RowY(12)).empty());
    // Row 1 holds 一周忌 2025 (令和7): the western year, era name and era year each one run.
    EXPECT_EQ(RunAt(calls, 0.4724, RowY(1), 4), QStringLiteral("二〇二五"));
    EXPECT_EQ(RunAt(calls, 0.6476, RowY(1), 2), QStringLiteral("令和"));
    EXPECT_EQ(RunAt(calls, 0.706, RowY(1), 3), QStringLiteral("　　七"));
    EXPECT_EQ(LabelAt(calls, 0.5892, RowY(1), 9), QStringLiteral("年（　　　　　年）"));
}

TEST(NenkaiSheetPaper, NoneCheckedLeavesEveryBandEmpty) {
    const auto calls = DrawPaper(FilledChart(u"2024", std::array<bool, 21>{}), false);
    for (int j = 1; j <= 11; ++j) {
        EXPECT_TRUE(TextsAtY(calls, RowY(j)).empty()) << j;
    }
    int rules = 0;
    for (const CanvasCall& c : Of(calls, CanvasCall::Kind::Line)) {
        rules += c.Y1 == c.Y2 ? 1 : 0;
    }
    EXPECT_EQ(rules, 10);
    // The blank form's table looks the same.
    const auto blank = DrawPaper(FilledChart(u"2024", std::array<bool, 21>{}), true);
    EXPECT_EQ(Of(blank, CanvasCall::Kind::Line).size(), Of(calls, CanvasCall::Kind::Line).size());
}

struct WarekiCase {
    bool Wareki;
    double WesternX;
    double LabelX;
    QString Label;
};

class NenkaiWareki : public ::testing::TestWithParam<WarekiCase> {};

TEST_P(NenkaiWareki, PlacesTheWesternYearAndLabel) {
    const WarekiCase& wc = GetParam();
    NenkaiSheetInputs in = FilledChart();
    in.Options.WarekiInsatsu = wc.Wareki;
    const auto calls = DrawPaper(in, false);
    for (int j = 1; j <= 11; ++j) {
        const NenkaiResult& r = in.Chart.Rows[static_cast<std::size_t>(j - 1)].Result;
        EXPECT_EQ(RunAt(calls, wc.WesternX, RowY(j), 4), ToQ(KanjiDigits(r.WesternYear))) << j;
        EXPECT_EQ(LabelAt(calls, wc.LabelX, RowY(j), static_cast<int>(wc.Label.size())), wc.Label)
            << j;
        const bool eraCells = !RunAt(calls, 0.706, RowY(j), 3).isEmpty();
        EXPECT_EQ(eraCells, wc.Wareki) << j;
    }
}

INSTANTIATE_TEST_SUITE_P(Options, NenkaiWareki,
                         ::testing::Values(WarekiCase{true, 0.4724, 0.5892,
                                                      QStringLiteral("年（　　　　　年）")},
                                           WarekiCase{false, 0.56, 0.6768, QStringLiteral("年")}));

// --- the death-date column -------------------------------------------------------------

const int kDateY = Rnd(0.1465 * kH);

class NoEraOfDeath : public ::testing::TestWithParam<std::u16string> {};

TEST_P(NoEraOfDeath, LeavesTheEraCellsBlankWhileTheYearPrints) {
    NenkaiSheetInputs in = FilledChart();
    in.Chart.Era = GetParam();
    const auto calls = DrawPaper(in, false);
    // The era prefix's two cells hold ideographic blanks; the era year is printed after them.
    EXPECT_EQ(TextAt(calls, Rnd(0.1476 * kW), kDateY), QStringLiteral("　"));
    EXPECT_EQ(TextAt(calls, Rnd((0.1476 + 0.0337) * kW), kDateY), QStringLiteral("　"));
    // The era year cells: the form's blanks, then the era year 六 in the last cell.
    EXPECT_TRUE(TextAt(calls, Rnd((0.215 + 2 * 0.0337) * kW), kDateY).endsWith(u'六'));
}

INSTANTIATE_TEST_SUITE_P(Eras, NoEraOfDeath, ::testing::Values(u"－－", u""));

TEST(NenkaiSheetPaper, EraYearOneIsGannenInTheDateColumnAndIchiInARow) {
    // Death in 2018 (平成30) in March: 一周忌 2019 is 平成31, 三回忌 2020 is 令和2; a death in
    // 令和元年 (2019, June) has 令和 1 in the date column.
    NenkaiSheetInputs in = FilledChart(u"2019");
    in.Deceased.KiGatsu = u"6";
    const auto results = ComputeNenkai(u"2018", u"6", u"1");
    ASSERT_TRUE(results.has_value());
    std::array<bool, 21> all{};
    all.fill(true);
    in.Chart.Rows = NenkaiPrintedRows(*results, all);
    in.Chart.EraYear = u" 1";
    const auto calls = DrawPaper(in, false);
    // The date column's era year: 元 in the last of its three cells.
    EXPECT_TRUE(TextAt(calls, Rnd((0.215 + 2 * 0.0337) * kW), kDateY).endsWith(u'元'));
    // 一周忌 of a death in June 2018 falls in 令和元年: 一 in the row.
    EXPECT_EQ(RunAt(calls, 0.6476, RowY(1), 2), QStringLiteral("令和"));
    EXPECT_EQ(RunAt(calls, 0.706, RowY(1), 3), QStringLiteral("　　一"));
}

TEST(NenkaiSheetPaper, HundredFiftiethOfTwoThousandHasBlankEraCells) {
    std::array<bool, 21> checked{};
    checked[13] = true; // 百五十回忌
    const auto calls = DrawPaper(FilledChart(u"2000", checked), false);
    EXPECT_EQ(JoinedFrom(calls, RowY(1), 0.13, 0.38), QStringLiteral("百五十回忌"));
    EXPECT_EQ(RunAt(calls, 0.4724, RowY(1), 4), QStringLiteral("二一四九"));
    for (const double x : {0.6476, 0.706}) {
        const QString cell = RunAt(calls, x, RowY(1), 3);
        EXPECT_TRUE(cell.trimmed().isEmpty()) << x << " " << cell.toStdString();
    }
}

TEST(NenkaiSheetPaper, YearBelowOneThousandKeepsItsFourCells) {
    const auto calls = DrawPaper(FilledChart(u"500"), false);
    EXPECT_EQ(RunAt(calls, 0.4724, RowY(1), 4), QStringLiteral("　五〇一"));
}

// --- the reading and the blank form ----------------------------------------------------

TEST(NenkaiSheet, ReadingShowsInThePreviewOnly) {
    NenkaiSheetInputs in = FilledChart();
    in.Options.RubyPrint = true;
    const auto paper = DrawPaper(in, false);
    const auto screen = DrawScreen(in);
    const auto hasReading = [](const std::vector<CanvasCall>& calls) {
        for (const CanvasCall& c : Of(calls, CanvasCall::Kind::Text)) {
            if (c.Text == QStringLiteral("し")) {
                return true;
            }
        }
        return false;
    };
    EXPECT_FALSE(hasReading(paper));
    EXPECT_TRUE(hasReading(screen));
    in.Options.RubyPrint = false;
    EXPECT_FALSE(hasReading(DrawScreen(in)));
}

TEST(NenkaiSheet, PreviewPlacesRowsThroughTheScreenMapping) {
    const auto calls = DrawScreen(FilledChart());
    for (int j = 1; j <= 11; ++j) {
        const int x = Rnd((0.6436 - 0.0398 * (j - 1)) * kPW);
        EXPECT_EQ(TextAt(calls, x, Rnd(0.4724 * kPH)).isEmpty(), false) << j;
    }
}

TEST(NenkaiSheetPaper, BlankFormHasReiwaNamesAndLabelsButNoYears) {
    const auto calls = DrawPaper(FilledChart(), true);
    EXPECT_EQ(TextAt(calls, Rnd(0.1476 * kW), kDateY), QStringLiteral("令"));
    EXPECT_EQ(TextAt(calls, Rnd((0.1476 + 0.0337) * kW), kDateY), QStringLiteral("和"));
    for (int j = 1; j <= 11; ++j) {
        EXPECT_EQ(JoinedFrom(calls, RowY(j), 0.13, 0.38),
                  ToQ(NenkaiItems()[static_cast<std::size_t>(j - 1)].Name));
        EXPECT_EQ(LabelAt(calls, 0.5892, RowY(j), 9), QStringLiteral("年（　　　　　年）"));
        EXPECT_TRUE(RunAt(calls, 0.4724, RowY(j), 4).isEmpty());
    }
    // No posthumous name, secular name or age on the blank form.
    for (const CanvasCall& c : Of(calls, CanvasCall::Kind::Text)) {
        EXPECT_NE(c.Text, QStringLiteral("釋"));
        EXPECT_NE(c.Text, QStringLiteral("山"));
    }
}

TEST(NenkaiSheetPaper, TitleSharesTheMemorialSheetsSpan) {
    NenkaiSheetInputs in = FilledChart();
    const int titleY = Rnd(0.0707 * kH);
    for (const std::u16string& title : {std::u16string(u"年回表"), std::u16string(u""),
                                        std::u16string(u"とても長い年回忌の一覧表です")}) {
        in.Chart.Title = title;
        const auto texts = TextsAtY(DrawPaper(in, false), titleY);
        ASSERT_GE(texts.size(), 3U);
        EXPECT_EQ(texts.front().X1, Rnd(0.3048 * kW));
        const int n = static_cast<int>(texts.size());
        EXPECT_EQ(texts.back().X1, Rnd(0.3048 * kW) + (n - 1) * Rnd(0.2809 * kW / (n - 1)));
        if (title.empty()) {
            QString drawn;
            for (const CanvasCall& c : texts) {
                drawn += c.Text;
            }
            EXPECT_EQ(drawn, QStringLiteral("年回表"));
        }
    }
}

TEST(NenkaiSheetPaper, LongPosthumousNameIsNotPrinted) {
    NenkaiSheetInputs in = FilledChart();
    in.Deceased.Kaimyo = u"釋浄念院殿大居士信女禅定門童子位霊";
    const auto calls = DrawPaper(in, false);
    for (const CanvasCall& c : Of(calls, CanvasCall::Kind::Text)) {
        EXPECT_NE(c.Text, QStringLiteral("釋"));
    }
}

} // namespace
} // namespace ulvan
