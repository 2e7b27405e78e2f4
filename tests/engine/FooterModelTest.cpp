#include "footer/FooterModel.h"
#include "calendar/TextUtil.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace ulvan {
namespace {

FooterFrame PictureFrame() {
    FooterFrame frame;
    frame.Left = u"100";
    frame.Top = u"200";
    frame.Right = u"3000";
    frame.Bottom = u"2500";
    frame.Kind = u"F";
    frame.Content = u"C:\\寺\\logo.bmp";
    return frame;
}

FooterFrame TextFrame(std::u16string kind, int left, int top, int right, int bottom,
                      std::u16string content) {
    FooterFrame frame;
    frame.Left = DecimalText(left);
    frame.Top = DecimalText(top);
    frame.Right = DecimalText(right);
    frame.Bottom = DecimalText(bottom);
    frame.FontFace = u"ＭＳ 明朝";
    frame.Kind = std::move(kind);
    frame.Content = std::move(content);
    return frame;
}

// ---- stored form ----------------------------------------------------------------------------

TEST(FooterStoredForm, PictureFrameWithEmptyFieldsRoundTrips) {
    FooterLayout layout;
    layout.Append(PictureFrame());
    const std::u16string stored = layout.ToStored();
    EXPECT_EQ(stored, u"100\r\n200\r\n3000\r\n2500\r\n\r\n\r\n\r\n\r\nF\r\nC:\\寺\\logo.bmp\r\n");
    const FooterLayout back = FooterLayout::FromStored(stored);
    ASSERT_EQ(back.Lines().size(), 10u);
    EXPECT_EQ(back, layout);
    EXPECT_EQ(back.ToStored(), stored);
}

TEST(FooterStoredForm, EmptyContentAtTheEndSurvives) {
    FooterLayout layout;
    layout.Append(TextFrame(u"P", 0, 0, 1000, 9000, u""));
    const std::u16string stored = layout.ToStored();
    ASSERT_EQ(stored.substr(stored.size() - 5), u"P\r\n\r\n"); // empty last line kept
    const FooterLayout back = FooterLayout::FromStored(stored);
    ASSERT_EQ(back.FrameCount(), 1u);
    EXPECT_EQ(back.Field(0, FooterField::Content), u"");
    EXPECT_EQ(back.Field(0, FooterField::Kind), u"P");
}

TEST(FooterStoredForm, NegativeTopStaysNegative) {
    FooterLayout layout;
    layout.Append(TextFrame(u"L", 100, -350, 900, 400, u"寺"));
    const FooterLayout back = FooterLayout::FromStored(layout.ToStored());
    EXPECT_EQ(FooterNumber(back, 0, FooterField::Top), -350);
}

TEST(FooterStoredForm, EmptyLayoutIsEmptyText) {
    FooterLayout layout;
    layout.Append(PictureFrame());
    layout.Clear();
    EXPECT_EQ(layout.ToStored(), u"");
    EXPECT_TRUE(FooterLayout::FromStored(u"").Empty());
}

TEST(FooterStoredForm, NonMarkSurvivesSaving) {
    FooterLayout layout;
    layout.Append(PictureFrame());
    layout.SetField(0, FooterField::Kind, std::u16string(kFooterUnreadable));
    const FooterLayout back = FooterLayout::FromStored(layout.ToStored());
    EXPECT_EQ(back.Field(0, FooterField::Kind), u"Non");
}

struct SplitCase {
    const char* Name;
    std::u16string Stored;
    std::vector<std::u16string> Lines;
};

class FooterStoredSplit : public testing::TestWithParam<SplitCase> {};

std::u16string Ten(std::u16string_view separator, bool trailing) {
    std::u16string text;
    for (int i = 0; i < 10; ++i) {
        text += DecimalText(i);
        if (i < 9 || trailing) {
            text += separator;
        }
    }
    return text;
}

std::vector<std::u16string> Digits() {
    std::vector<std::u16string> lines;
    for (int i = 0; i < 10; ++i) {
        lines.push_back(DecimalText(i));
    }
    return lines;
}

TEST_P(FooterStoredSplit, SplitsAtEveryKindOfBreak) {
    const SplitCase& c = GetParam();
    EXPECT_EQ(FooterLayout::FromStored(c.Stored).Lines(), c.Lines) << c.Name;
}

std::vector<std::u16string> WithEmpties() {
    return {u"a", u"", u"", u"b", u"", u"c", u"", u"", u"", u""};
}

INSTANTIATE_TEST_SUITE_P(
    Breaks, FooterStoredSplit,
    testing::Values(SplitCase{"crlf", Ten(u"\r\n", true), Digits()},
                    SplitCase{"crlf, no final break", Ten(u"\r\n", false), Digits()},
                    SplitCase{"cr", Ten(u"\r", true), Digits()},
                    SplitCase{"lf", Ten(u"\n", true), Digits()},
                    // Empty lines in the middle and at the end are fields; only the very
                    // last break adds nothing.
                    SplitCase{"mixed with empties", u"a\r\n\r\rb\n\nc\r\n\n\r\n\r\r\n",
                              WithEmpties()},
                    // An incomplete group at the end goes; whole frames stay in place.
                    SplitCase{"incomplete tail", Ten(u"\r\n", true) + u"x\r\ny\r\n", Digits()},
                    SplitCase{"less than a frame", u"1\r\n2\r\n3\r\n", {}}),
    [](const auto& row) {
        std::string name = row.param.Name;
        for (char& c : name) {
            if (!std::isalnum(static_cast<unsigned char>(c))) {
                c = '_';
            }
        }
        return name;
    });

TEST(FooterLayoutLines, IncompleteTailDoesNotShiftLaterFields) {
    std::vector<std::u16string> lines = FooterLayout::FromStored(Ten(u"\r\n", true)).Lines();
    lines.insert(lines.end(), {u"5", u"6", u"7"});
    const FooterLayout layout(lines);
    ASSERT_EQ(layout.FrameCount(), 1u);
    EXPECT_EQ(layout.Field(0, FooterField::Content), u"9");
}

TEST(FooterLayoutLines, FrameAccessUsesTenLinesAFrame) {
    FooterLayout layout;
    layout.Append(PictureFrame());
    layout.Append(TextFrame(u"P", 1, 2, 3, 4, u"善福寺"));
    ASSERT_EQ(layout.Lines().size(), 20u);
    EXPECT_EQ(layout.Lines()[19], u"善福寺");
    EXPECT_EQ(layout.Lines()[12], u"3");
    EXPECT_EQ(layout.Frame(1).Content, u"善福寺");
    layout.Remove(0);
    EXPECT_EQ(layout.FrameCount(), 1u);
    EXPECT_EQ(layout.Field(0, FooterField::Kind), u"P");
    layout.Remove(5); // past the end: nothing happens
    EXPECT_EQ(layout.FrameCount(), 1u);
}

TEST(FooterLayoutLines, NumbersAreStrictIntegers) {
    FooterLayout layout;
    layout.Append(TextFrame(u"P", 0, 0, 0, 0, u""));
    layout.SetField(0, FooterField::Left, u"12a");
    layout.SetField(0, FooterField::FontHeight, u"");
    layout.SetField(0, FooterField::Spacing, u"-7");
    EXPECT_FALSE(FooterNumber(layout, 0, FooterField::Left).has_value());
    EXPECT_FALSE(FooterNumber(layout, 0, FooterField::FontHeight).has_value());
    EXPECT_EQ(FooterNumber(layout, 0, FooterField::Spacing), -7);
}

// ---- characters and units -------------------------------------------------------------------

struct WidthCase {
    char32_t Character;
    int Units;
};

class FooterUnitWidthTest : public testing::TestWithParam<WidthCase> {};

TEST_P(FooterUnitWidthTest, FullWidthTakesTwoUnits) {
    EXPECT_EQ(FooterUnitWidth(GetParam().Character), GetParam().Units)
        << std::hex << static_cast<std::uint32_t>(GetParam().Character);
}

INSTANTIATE_TEST_SUITE_P(
    Table, FooterUnitWidthTest,
    testing::Values(WidthCase{U'A', 1}, WidthCase{U'0', 1}, WidthCase{U'-', 1}, WidthCase{U' ', 1},
                    WidthCase{U'ｱ', 1}, // half-width katakana
                    WidthCase{U'寺', 2}, WidthCase{U'あ', 2}, WidthCase{U'ー', 2},
                    WidthCase{U'－', 2}, WidthCase{U'１', 2}, WidthCase{U'　', 2},
                    WidthCase{U'〒', 2}, WidthCase{U'※', 2}, WidthCase{U'①', 2}, WidthCase{U'○', 2},
                    WidthCase{U'\U00020B9F', 2}, // 𠮟, beyond the BMP
                    WidthCase{U'\uFF61', 1}, WidthCase{U'\uFFE5', 2}, WidthCase{U'\u303F', 1}));

TEST(FooterCharactersTest, SurrogatePairIsOneCharacter) {
    const std::u16string text = u"a𠮟b";
    const auto characters = FooterCharacters(text);
    ASSERT_EQ(characters.size(), 3u);
    EXPECT_EQ(characters[1].size(), 2u);
    EXPECT_EQ(FooterCodePoint(characters[1]), U'\U00020B9F');
    EXPECT_EQ(FooterUnitWidth(text), 4);
}

TEST(FooterCharactersTest, LoneSurrogatesAreCharactersOfTheirOwn) {
    const std::u16string text{u'\xD842', u'x', u'\xDFB7'};
    const auto characters = FooterCharacters(text);
    ASSERT_EQ(characters.size(), 3u);
    EXPECT_EQ(FooterCodePoint(characters[0]), 0xD842u);
}

TEST(FooterRounding, HalvesGoToEven) {
    EXPECT_EQ(RoundHalfEven(0.5), 0);
    EXPECT_EQ(RoundHalfEven(1.5), 2);
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(-0.5), 0);
    EXPECT_EQ(RoundHalfEven(-1.5), -2);
    EXPECT_EQ(RoundHalfEven(2.4999), 2);
    EXPECT_EQ(RoundHalfEven(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(RoundHalfEven(1e300), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(RoundHalfEven(-1e300), std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(TruncToInt32(-2.9), -2);
    EXPECT_EQ(TruncToInt32(1e20), std::numeric_limits<std::int32_t>::max());
}

TEST(FooterRounding, PixelsAndUnits) {
    EXPECT_EQ(FooterUnitsToPixels(2500, 200), 50);
    EXPECT_EQ(FooterUnitsToPixels(125, 200), 2); // 2.5 to the even 2
    EXPECT_EQ(FooterUnitsToPixels(175, 200), 4); // 3.5 to the even 4
    EXPECT_EQ(FooterUnitsToPixels(-350, 744), -26);
    EXPECT_EQ(FooterPixelsToUnits(50, 200), 2500);
    EXPECT_EQ(FooterPixelsToUnits(1, 744), 13); // 13.44
    EXPECT_EQ(FooterPixelsToUnits(5, 0), 0);    // no area, no division
}

// ---- fitting ----------------------------------------------------------------------------------

struct FitCase {
    const char* Name;
    std::u16string Kind;
    // Rectangle in layout units, for an editor area of 200 x 744 pixels.
    int Left, Top, Right, Bottom;
    std::u16string Content;
    std::u16string FontHeight; // expected
    std::u16string Spacing;
};

class FooterFit : public testing::TestWithParam<FitCase> {};

TEST_P(FooterFit, ComputesHeightAndSpacing) {
    const FitCase& c = GetParam();
    FooterLayout layout;
    FooterFrame frame = TextFrame(c.Kind, c.Left, c.Top, c.Right, c.Bottom, c.Content);
    frame.FontHeight = u"keep";
    frame.Spacing = u"keep";
    layout.Append(frame);
    FitFooterText(layout, 0, 200, 744);
    EXPECT_EQ(layout.Field(0, FooterField::FontHeight), c.FontHeight) << c.Name;
    EXPECT_EQ(layout.Field(0, FooterField::Spacing), c.Spacing) << c.Name;
}

// Left 2000..4000 is 40..80 px of 200; Top 1000 is 74 px, Bottom 6371 is 474 px of 744: a
// frame of 40 x 400 pixels, inner box 38 x 398.
INSTANTIATE_TEST_SUITE_P(
    Cases, FooterFit,
    testing::Values(
        // 5 x 38 = 190 < 398: square cells 38 high, (398 - 190) / 4 = 52 px between them.
        FitCase{"vertical_spread", u"P", 2000, 1000, 4000, 6371, u"光明山善福",
                u"1900", // 38 / 200 * 10000
                u"698"}, // 52 / 744 * 10000 = 698.9
        // 12 x 38 = 456 >= 398: cells 398 / 12 = 33.17 px, no spacing.
        FitCase{"vertical_too_short", u"P", 2000, 1000, 4000, 6371, u"一二三四五六七八九十百千",
                u"1658", u"0"},
        // One character: the largest square, whatever the kind.
        FitCase{"single_vertical", u"P", 2000, 1000, 4000, 6371, u"寺", u"1900", u"0"},
        FitCase{"single_empty_kind", u"", 2000, 1000, 4000, 6371, u"寺", u"1900", u"0"},
        // Inner box 198 x 73 (Top 1000 -> 74, Bottom 2000 -> 149): 73 / 200 * 10000.
        FitCase{"single_picture_kind", u"F", 0, 1000, 10000, 2000, u"寺", u"3650", u"0"},
        // "TEL" is 3 units: 198 > 73 * 1.5 = 109.5: height 73, (198 - 109.5) / 2 = 44.25 px.
        FitCase{"horizontal_half_width", u"L", 0, 1000, 10000, 2000, u"TEL", u"3650", u"594"},
        // Three full-width characters are 6 units: 198 <= 73 * 3 = 219: 198 / 3 = 66 px.
        FitCase{"horizontal_full_width", u"L", 0, 1000, 10000, 2000, u"善福寺", u"3300", u"0"},
        // A surrogate pair counts as one character of two units: n = 2, U = 3,
        // (198 - 109.5) / 1 / 744 * 10000 = 1189.5.
        FitCase{"horizontal_surrogate", u"L", 0, 1000, 10000, 2000, u"a𠮟", u"3650", u"1189"},
        // Two characters of a picture kind: nothing changes.
        FitCase{"picture_kind_text", u"F", 2000, 1000, 4000, 6371, u"光明", u"keep", u"keep"},
        FitCase{"empty_text", u"P", 2000, 1000, 4000, 6371, u"", u"keep", u"keep"}),
    [](const auto& row) { return std::string(row.param.Name); });

TEST(FooterFitEdge, RectangleNotANumberLeavesTheFrame) {
    FooterLayout layout;
    FooterFrame frame = TextFrame(u"P", 0, 0, 1000, 9000, u"寺院");
    frame.Right = u"x";
    frame.FontHeight = u"12";
    layout.Append(frame);
    FitFooterText(layout, 0, 200, 744);
    EXPECT_EQ(layout.Field(0, FooterField::FontHeight), u"12");
    EXPECT_EQ(layout.Field(0, FooterField::Spacing), u"");
}

TEST(FooterFitEdge, ExtremeRectanglesSaturate) {
    FooterLayout layout;
    layout.Append(TextFrame(
        u"P", std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::min(),
        std::numeric_limits<std::int32_t>::max(), std::numeric_limits<std::int32_t>::max(), u"寺"));
    // One character: 429494 px / 1 px * 10000 is beyond the int range.
    FitFooterText(layout, 0, 1, 1);
    EXPECT_EQ(layout.Field(0, FooterField::FontHeight), u"2147483647");
    FitFooterText(layout, 0, 0, 744); // no area: unchanged
    EXPECT_EQ(layout.Field(0, FooterField::FontHeight), u"2147483647");
}

} // namespace
} // namespace ulvan
