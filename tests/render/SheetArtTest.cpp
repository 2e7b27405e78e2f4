// The canopy and lotus line art: upright for the screen, turned a quarter turn for the paper,
// and the same pixels whether drawn afresh or from the kept rendering.
#include "CanvasTestSupport.h"

#include "sheet/SheetArt.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace ulvan {
namespace {

QImage PaintOn(const Picture& picture, QSize size, QPoint at = QPoint(0, 0)) {
    test::EnsureGuiApplication();
    QImage image = test::WhiteImage(size.width() + at.x(), size.height() + at.y());
    QPainter painter(&image);
    picture.Paint(painter, QRectF(at, size));
    return image;
}

struct ArtCase {
    const char* Name;
    const Picture* (*Get)();
    QSize Upright;
};

class LineArt : public ::testing::TestWithParam<ArtCase> {};

TEST_P(LineArt, FillsItsBoxUpright) {
    const Picture& art = *GetParam().Get();
    EXPECT_EQ(art.Size(), GetParam().Upright);
    const QSize box = GetParam().Upright * 2;
    const QImage image = PaintOn(art, box);
    const QRect ink = test::InkBounds(image, image.rect());
    ASSERT_FALSE(ink.isNull());
    EXPECT_GT(ink.width(), box.width() * 8 / 10);
    EXPECT_GT(ink.height(), box.height() * 8 / 10);
    // Symmetric about the vertical centre line, as a canopy and a pedestal are.
    EXPECT_NEAR(ink.center().x(), box.width() / 2, 3);
}

TEST_P(LineArt, TurnedForThePaper) {
    const Picture& art = *GetParam().Get();
    const TurnedPicture turned(art);
    EXPECT_EQ(turned.Size(), GetParam().Upright.transposed());
    EXPECT_EQ(turned.Name(), art.Name());
    const QSize upright = GetParam().Upright * 2;
    const QImage straight = PaintOn(art, upright);
    const QImage sideways = PaintOn(turned, upright.transposed());
    // Turning the paper clockwise brings the art back upright.
    const QImage back = sideways.transformed(QTransform().rotate(90));
    int differing = 0;
    for (int y = 0; y < upright.height(); ++y) {
        for (int x = 0; x < upright.width(); ++x) {
            differing += test::IsInk(straight.pixel(x, y)) != test::IsInk(back.pixel(x, y));
        }
    }
    EXPECT_LT(differing, upright.width() * upright.height() / 100);
}

TEST_P(LineArt, KeptRenderingMatchesAndFollowsTheSize) {
    const Picture& art = *GetParam().Get();
    const QSize box = GetParam().Upright;
    const QImage first = PaintOn(art, box, QPoint(7, 5));
    const QImage again = PaintOn(art, box, QPoint(7, 5));
    EXPECT_EQ(first, again);
    const QImage larger = PaintOn(art, box * 3);
    const QRect ink = test::InkBounds(larger, larger.rect());
    EXPECT_GT(ink.width(), box.width() * 3 * 8 / 10);
}

const Picture* Canopy() {
    return &CanopyArt();
}
const Picture* Lotus() {
    return &LotusArt();
}

INSTANTIATE_TEST_SUITE_P(Pictures, LineArt,
                         ::testing::Values(ArtCase{"canopy", Canopy, QSize(320, 220)},
                                           ArtCase{"lotus", Lotus, QSize(320, 180)}),
                         [](const auto& param) { return std::string(param.param.Name); });

} // namespace
} // namespace ulvan
