// The geometry of editing footer frames with the mouse: handles, hits, drag steps and bands.
#include "footer/FooterEditing.h"
#include "calendar/TextUtil.h"

#include <gtest/gtest.h>

#include <limits>

#include <string>

namespace ulvan {
namespace {

// An editor area where one pixel is exactly 50 x units and 10 y units.
constexpr int kW = 200;
constexpr int kH = 1000;

FooterLayout LayoutWith(std::initializer_list<PixelRect> rects) {
    FooterLayout layout;
    for (const PixelRect& r : rects) {
        layout.Append(FooterFrame{});
        StoreFrameRect(layout, layout.FrameCount() - 1, r, kW, kH);
    }
    return layout;
}

struct HandleCase {
    const char* Name;
    PixelRect Rect;
    PixelPoint Point;
    std::optional<FrameHandle> Expected;
};

class HandleAtTest : public ::testing::TestWithParam<HandleCase> {};

TEST_P(HandleAtTest, FindsTheHandleUnderThePoint) {
    const HandleCase& c = GetParam();
    const FooterLayout layout = LayoutWith({c.Rect});
    EXPECT_EQ(HandleAt(layout, 0, c.Point, kW, kH), c.Expected);
}

const PixelRect kBox{40, 100, 80, 200}; // middles at x 60, y 150

INSTANTIATE_TEST_SUITE_P(
    Handles, HandleAtTest,
    ::testing::Values(
        HandleCase{"TopLeftExact", kBox, {40, 100}, FrameHandle::TopLeft},
        HandleCase{"TopLeftTwoOut", kBox, {38, 98}, FrameHandle::TopLeft},
        HandleCase{"TopLeftThreeOut", kBox, {37, 100}, std::nullopt},
        HandleCase{"TopRight", kBox, {82, 102}, FrameHandle::TopRight},
        HandleCase{"BottomRight", kBox, {80, 200}, FrameHandle::BottomRight},
        HandleCase{"BottomLeft", kBox, {41, 199}, FrameHandle::BottomLeft},
        HandleCase{"TopMiddle", kBox, {60, 98}, FrameHandle::Top},
        HandleCase{"RightMiddle", kBox, {82, 150}, FrameHandle::Right},
        HandleCase{"BottomMiddle", kBox, {58, 202}, FrameHandle::Bottom},
        HandleCase{"LeftMiddle", kBox, {38, 152}, FrameHandle::Left},
        HandleCase{"Interior", kBox, {60, 120}, FrameHandle::Interior},
        HandleCase{"InteriorStartsTwoIn", kBox, {42, 120}, FrameHandle::Interior},
        // One pixel inside the left edge, away from the handles: on the border, no handle.
        HandleCase{"BorderBand", kBox, {41, 120}, std::nullopt},
        HandleCase{"Outside", kBox, {20, 20}, std::nullopt},
        // A corner lies inside the interior band of a frame only 5 wide: the interior,
        // tested last, wins over the corner.
        HandleCase{
            "LaterWinsInterior", PixelRect{40, 100, 45, 105}, {42, 102}, FrameHandle::Interior},
        // Within 2 of the top-left corner and of the top middle (x 43): the middle wins.
        HandleCase{"LaterWinsMiddle", PixelRect{40, 100, 46, 120}, {41, 100}, FrameHandle::Top},
        HandleCase{"NarrowerThanFive", PixelRect{40, 100, 44, 200}, {40, 100}, std::nullopt},
        HandleCase{"LowerThanFive", PixelRect{40, 100, 80, 104}, {40, 100}, std::nullopt},
        // Five pixels are enough; the left middle (y 102) lies within reach too and wins.
        HandleCase{"ExactlyFive", PixelRect{40, 100, 45, 105}, {40, 100}, FrameHandle::Left}),
    [](const auto& row) { return std::string(row.param.Name); });

TEST(HandleAtTest, NoHandleForAFrameWithoutANumericRectangle) {
    FooterLayout layout = LayoutWith({kBox});
    layout.SetField(0, FooterField::Top, u"x");
    EXPECT_EQ(HandleAt(layout, 0, {40, 100}, kW, kH), std::nullopt);
    EXPECT_EQ(HandlePoints(layout, 0, kW, kH), std::nullopt);
}

TEST(HandlePointsTest, MiddlesComeFromTheStoredUnits) {
    // x units 1000 and 1030: pixels 20 and 20.6 -> 21, middle 1015 -> 20.3 -> 20 (not
    // (20 + 21) / 2 rounded from the pixel corners).
    FooterLayout layout;
    FooterFrame frame;
    frame.Left = u"1000", frame.Top = u"0", frame.Right = u"1030", frame.Bottom = u"1000";
    layout.Append(frame);
    const auto points = HandlePoints(layout, 0, kW, kH);
    ASSERT_TRUE(points);
    EXPECT_EQ((*points)[static_cast<int>(FrameHandle::Top)].X, 20);
    EXPECT_EQ((*points)[static_cast<int>(FrameHandle::TopRight)].X, 21);
}

TEST(HitFrameTest, TheLaterOfTwoOverlappingFramesIsHit) {
    const FooterLayout layout = LayoutWith({{10, 10, 100, 100}, {50, 50, 150, 150}});
    EXPECT_EQ(HitFrame(layout, {75, 75}, kW, kH), std::size_t{1});
    EXPECT_EQ(HitFrame(layout, {20, 20}, kW, kH), std::size_t{0});
    EXPECT_EQ(HitFrame(layout, {160, 20}, kW, kH), std::nullopt);
}

TEST(HitFrameTest, EdgesBelongToTheFrame) {
    const FooterLayout layout = LayoutWith({{10, 10, 100, 100}});
    EXPECT_EQ(HitFrame(layout, {10, 10}, kW, kH), std::size_t{0});
    EXPECT_EQ(HitFrame(layout, {100, 100}, kW, kH), std::size_t{0});
    EXPECT_EQ(HitFrame(layout, {101, 100}, kW, kH), std::nullopt);
}

TEST(HitFrameTest, AFrameWithoutANumericRectangleCannotBeHit) {
    FooterLayout layout = LayoutWith({{10, 10, 100, 100}, {10, 10, 100, 100}});
    layout.SetField(1, FooterField::Right, u"");
    EXPECT_EQ(HitFrame(layout, {50, 50}, kW, kH), std::size_t{0});
}

struct DragCase {
    const char* Name;
    FrameHandle Handle;
    PixelPoint Mouse;
    PixelPoint Last;
    std::optional<PixelRect> Expected;
};

class DragStepTest : public ::testing::TestWithParam<DragCase> {};

TEST_P(DragStepTest, AppliesOrRefusesTheStep) {
    const DragCase& c = GetParam();
    EXPECT_EQ(DragFrameStep(kBox, c.Handle, c.Mouse, c.Last), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, DragStepTest,
    ::testing::Values(
        DragCase{"TopLeft", FrameHandle::TopLeft, {30, 90}, {}, PixelRect{30, 90, 80, 200}},
        DragCase{"TopRight", FrameHandle::TopRight, {90, 90}, {}, PixelRect{40, 90, 90, 200}},
        DragCase{
            "BottomRight", FrameHandle::BottomRight, {90, 210}, {}, PixelRect{40, 100, 90, 210}},
        DragCase{"BottomLeft", FrameHandle::BottomLeft, {30, 210}, {}, PixelRect{30, 100, 80, 210}},
        DragCase{"Top", FrameHandle::Top, {0, 90}, {}, PixelRect{40, 90, 80, 200}},
        DragCase{"Right", FrameHandle::Right, {100, 0}, {}, PixelRect{40, 100, 100, 200}},
        DragCase{"Bottom", FrameHandle::Bottom, {0, 250}, {}, PixelRect{40, 100, 80, 250}},
        DragCase{"Left", FrameHandle::Left, {20, 0}, {}, PixelRect{20, 100, 80, 200}},
        DragCase{"Move", FrameHandle::Interior, {65, 95}, {60, 150}, PixelRect{45, 45, 85, 145}},
        DragCase{"MovePastTheTop",
                 FrameHandle::Interior,
                 {60, 0},
                 {60, 150},
                 PixelRect{40, -50, 80, 50}},
        // The right edge dragged towards the left one: 10 pixels wide is kept, 9 refused,
        // and past the left edge nothing flips.
        DragCase{"RightToTen", FrameHandle::Right, {50, 0}, {}, PixelRect{40, 100, 50, 200}},
        DragCase{"RightToNine", FrameHandle::Right, {49, 0}, {}, std::nullopt},
        DragCase{"RightPastLeft", FrameHandle::Right, {20, 0}, {}, std::nullopt},
        DragCase{"BottomToNine", FrameHandle::Bottom, {0, 109}, {}, std::nullopt},
        DragCase{"TopPastBottom", FrameHandle::Top, {0, 300}, {}, std::nullopt}),
    [](const auto& row) { return std::string(row.param.Name); });

TEST(DragStepTest, AFrameFiveHighCannotMoveButGrowsByItsBottom) {
    const PixelRect flat{10, 10, 60, 15};
    EXPECT_EQ(DragFrameStep(flat, FrameHandle::Interior, {30, 40}, {30, 12}), std::nullopt);
    EXPECT_EQ(DragFrameStep(flat, FrameHandle::Bottom, {30, 19}, {}), std::nullopt);
    EXPECT_EQ(DragFrameStep(flat, FrameHandle::Bottom, {30, 20}, {}), (PixelRect{10, 10, 60, 20}));
}

TEST(DragStepTest, ExtremePointsSaturateAndAreRefused) {
    // Both edges pile up at the largest value instead of wrapping round: no width is left.
    EXPECT_EQ(DragFrameStep(kBox, FrameHandle::Interior,
                            {std::numeric_limits<std::int64_t>::max(), 0},
                            {std::numeric_limits<std::int64_t>::min(), 0}),
              std::nullopt);
}

struct BandCase {
    const char* Name;
    PixelPoint Start, End;
    bool Makes;
};

class BandTest : public ::testing::TestWithParam<BandCase> {};

TEST_P(BandTest, MakesAFrameWhenOneSideReachesTen) {
    const BandCase& c = GetParam();
    EXPECT_EQ(BandMakesFrame(c.Start, c.End), c.Makes);
}

INSTANTIATE_TEST_SUITE_P(Bands, BandTest,
                         ::testing::Values(BandCase{"NineByNine", {10, 10}, {19, 19}, false},
                                           BandCase{"FiftyByFive", {10, 10}, {60, 15}, true},
                                           BandCase{"FiveByFifty", {10, 10}, {15, 60}, true},
                                           BandCase{"TenByZero", {10, 10}, {20, 10}, true},
                                           BandCase{"Backwards", {60, 60}, {10, 55}, true},
                                           BandCase{"Point", {10, 10}, {10, 10}, false}),
                         [](const auto& row) { return std::string(row.param.Name); });

TEST(BandTest, AppendedFrameSpansTheNormalisedBandWithOtherFieldsEmpty) {
    FooterLayout layout;
    const std::size_t frame = AppendBandFrame(layout, {60, 300}, {10, 100}, kW, kH);
    EXPECT_EQ(frame, std::size_t{0});
    EXPECT_EQ(FramePixels(layout, 0, kW, kH), (PixelRect{10, 100, 60, 300}));
    EXPECT_EQ(layout.Field(0, FooterField::Left), DecimalText(FooterPixelsToUnits(10, kW)));
    for (FooterField field : {FooterField::FontHeight, FooterField::Spacing, FooterField::FontFace,
                              FooterField::Bold, FooterField::Kind, FooterField::Content}) {
        EXPECT_TRUE(layout.Field(0, field).empty());
    }
}

TEST(StoreFrameRectTest, ANegativeTopIsStoredAsANegativeInteger) {
    FooterLayout layout = LayoutWith({kBox});
    StoreFrameRect(layout, 0, PixelRect{40, -5, 80, 95}, kW, kH);
    EXPECT_EQ(layout.Field(0, FooterField::Top), DecimalText(FooterPixelsToUnits(-5, kH)));
    EXPECT_EQ(FooterNumber(layout, 0, FooterField::Top), FooterPixelsToUnits(-5, kH));
    EXPECT_LT(*FooterNumber(layout, 0, FooterField::Top), 0);
}

} // namespace
} // namespace ulvan
