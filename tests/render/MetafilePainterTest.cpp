// Metafiles played onto a painter: the header's sizes, and what lands on which pixels of an
// image when a fixture picture is stretched over a target rectangle.
#include "footer/MetafilePainter.h"

#include "CanvasTestSupport.h"
#include "tests/support/MetafileFixtures.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QImage>
#include <QPainter>

#include <cstdlib>
#include <string>
#include <vector>

namespace ulvan {
namespace {

QByteArray Fixture(const std::string& name) {
    const std::vector<std::uint8_t> bytes = test::ReadMetafileFixture(name);
    return QByteArray(reinterpret_cast<const char*>(bytes.data()),
                      static_cast<qsizetype>(bytes.size()));
}

struct HeaderCase {
    const char* File;
    MetafileKind Kind;
    QSizeF Millimetres;
    QSize Pixels;
};

class MetafileHeaderTest : public testing::TestWithParam<HeaderCase> {};

TEST_P(MetafileHeaderTest, SizesComeFromTheHeader) {
    const HeaderCase& c = GetParam();
    const std::optional<MetafileHeader> header = ReadMetafileHeader(Fixture(c.File));
    ASSERT_TRUE(header.has_value());
    EXPECT_EQ(header->Kind, c.Kind);
    EXPECT_NEAR(header->Millimetres.width(), c.Millimetres.width(), 1e-9);
    EXPECT_NEAR(header->Millimetres.height(), c.Millimetres.height(), 1e-9);
    EXPECT_EQ(header->Pixels, c.Pixels);
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, MetafileHeaderTest,
    testing::Values(
        // 100 mm at 96 dpi: 377.95 pixels.
        HeaderCase{"rect.emf", MetafileKind::Emf, QSizeF(100, 100), QSize(378, 378)},
        HeaderCase{"placeable.wmf", MetafileKind::Wmf, QSizeF(25.4, 25.4), QSize(96, 96)},
        HeaderCase{"bitmap.wmf", MetafileKind::Wmf, QSizeF(25.4, 12.7), QSize(96, 48)},
        HeaderCase{"plain.wmf", MetafileKind::Wmf, QSizeF(2000 / 96.0 * 25.4, 1000 / 96.0 * 25.4),
                   QSize(2000, 1000)}));

TEST(MetafileHeader, NoHeaderForOtherBytes) {
    EXPECT_FALSE(
        ReadMetafileHeader(QByteArray("BM not a metafile at all, only some bytes")).has_value());
    EXPECT_FALSE(ReadMetafileHeader(QByteArray()).has_value());
}

// A picture played onto a white image, `target` in image pixels.
QImage Paint(const std::string& file, QSize size, const QRectF& target, bool* played = nullptr) {
    test::EnsureGuiApplication(); // fonts
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    const bool result = PaintMetafile(Fixture(file), painter, target);
    if (played)
        *played = result;
    // The painter comes back as it was given.
    EXPECT_TRUE(painter.transform().isIdentity());
    EXPECT_FALSE(painter.hasClipping());
    painter.end();
    if (const char* folder = std::getenv("ULVAN_METAFILE_PNG"))
        image.save(QString::fromLocal8Bit(folder) + QLatin1Char('/') +
                   QString::fromStdString(file) + QStringLiteral(".png"));
    return image;
}

struct ProbeCase {
    const char* File;
    QRectF Target; // in a 200 x 200 image
    QPoint At;
    QRgb Expected;
};

class MetafilePaintTest : public testing::TestWithParam<ProbeCase> {};

TEST_P(MetafilePaintTest, PixelHasTheColourThePictureGivesIt) {
    const ProbeCase& c = GetParam();
    bool played = false;
    const QImage image = Paint(c.File, QSize(200, 200), c.Target, &played);
    EXPECT_TRUE(played);
    const QColor got = image.pixelColor(c.At);
    const QColor want = QColor::fromRgb(c.Expected);
    EXPECT_NEAR(got.red(), want.red(), 8) << c.File << " at " << c.At.x() << "," << c.At.y();
    EXPECT_NEAR(got.green(), want.green(), 8) << c.File << " at " << c.At.x() << "," << c.At.y();
    EXPECT_NEAR(got.blue(), want.blue(), 8) << c.File << " at " << c.At.x() << "," << c.At.y();
}

const QRectF kWhole(0, 0, 200, 200);
const QRectF kInset(50, 50, 100, 100);
constexpr QRgb kWhite = 0xFFFFFF, kRedPixel = 0xFF0000, kBluePixel = 0x0000FF,
               kGreenPixel = 0x00A000;

INSTANTIATE_TEST_SUITE_P(
    Fixtures, MetafilePaintTest,
    testing::Values(
        // The rectangle (100, 200)-(500, 600) of 1000: image (20, 40)-(100, 120).
        ProbeCase{"rect.emf", kWhole, QPoint(60, 80), kRedPixel},
        ProbeCase{"rect.emf", kWhole, QPoint(10, 80), kWhite},
        ProbeCase{"rect.emf", kWhole, QPoint(60, 125), kWhite},
        // Into the inset target: (60, 70)-(100, 110).
        ProbeCase{"rect.emf", kInset, QPoint(80, 90), kRedPixel},
        ProbeCase{"rect.emf", kInset, QPoint(55, 90), kWhite},
        ProbeCase{"mapmode.emf", kWhole, QPoint(60, 60), kBluePixel},
        ProbeCase{"mapmode.emf", kWhole, QPoint(150, 50), kBluePixel},
        ProbeCase{"mapmode.emf", kWhole, QPoint(150, 150), kWhite},
        ProbeCase{"savedc.emf", kWhole, QPoint(140, 40), kRedPixel},
        ProbeCase{"savedc.emf", kWhole, QPoint(40, 40), kBluePixel},
        // A petal of the crest, and the centre of the ring left empty between petals.
        ProbeCase{"crest.emf", kWhole, QPoint(100, 60), kGreenPixel},
        ProbeCase{"crest.emf", kWhole, QPoint(60, 60), kWhite},
        ProbeCase{"crest.emf", kWhole, QPoint(100, 21), QRgb(0x000000)},
        // The bitmap's four pixels over (20, 20)-(100, 100).
        ProbeCase{"bitmap.emf", kWhole, QPoint(35, 35), kRedPixel},
        ProbeCase{"bitmap.emf", kWhole, QPoint(85, 35), QRgb(0x00FF00)},
        ProbeCase{"bitmap.emf", kWhole, QPoint(35, 85), kBluePixel},
        ProbeCase{"bitmap.emf", kWhole, QPoint(150, 150), kWhite},
        // The placeable WMF: blue rectangle (20, 40)-(100, 140), red ellipse centred (150, 150).
        ProbeCase{"placeable.wmf", kWhole, QPoint(60, 120), kBluePixel},
        ProbeCase{"placeable.wmf", kWhole, QPoint(150, 150), kRedPixel},
        ProbeCase{"placeable.wmf", kWhole, QPoint(105, 105), kWhite}));

TEST(MetafilePaint, JapaneseTextIsDrawnAboveItsBaseline) {
    const QImage image = Paint("text.emf", QSize(200, 200), kWhole);
    // The letters stand on the baseline y = 100 from x = 20, 20 pixels high, 40 wide.
    int inside = 0, outside = 0;
    for (int y = 0; y < 200; ++y) {
        for (int x = 0; x < 200; ++x) {
            if (image.pixelColor(x, y).lightness() > 200)
                continue;
            const bool inBox = x >= 18 && x <= 62 && y >= 78 && y <= 104;
            (inBox ? inside : outside) += 1;
        }
    }
    EXPECT_GT(inside, 40);
    EXPECT_EQ(outside, 0);
}

TEST(MetafilePaint, ShapesOfEveryKindDrawInsideTheirClip) {
    bool played = false;
    const QImage image = Paint("shapes.emf", QSize(200, 200), kWhole, &played);
    EXPECT_TRUE(played);
    // The pixel at (50, 650) and the turned ellipse around (500, 700) are drawn inside the clip
    // (y from 600); the outlines above it are drawn before the clip was set.
    EXPECT_FALSE(test::InkBounds(image, QRect(0, 0, 200, 60)).isNull());
    EXPECT_FALSE(test::InkBounds(image, QRect(80, 120, 40, 40)).isNull());
}

TEST(MetafilePaint, VerticalFaceWritesAColumnDownThePage) {
    const QImage image = Paint("vertical.emf", QSize(200, 200), kWhole);
    // The column x 400..500, y 100..300 of 1000: image (80, 20)-(100, 60).
    const QRect ink = test::InkBounds(image, image.rect());
    ASSERT_FALSE(ink.isNull());
    EXPECT_GE(ink.left(), 78);
    EXPECT_LE(ink.right(), 101);
    EXPECT_GE(ink.top(), 19);
    EXPECT_LE(ink.bottom(), 61);
    EXPECT_GT(ink.height(), ink.width() * 3 / 2); // two letters one under the other
}

struct CoverCase {
    int Rectangles;
    bool Played;
};

class MetafileCoverTest : public testing::TestWithParam<CoverCase> {};

// Rectangles over the whole picture, one after the other.
QByteArray Overdrawn(int rectangles) {
    const QByteArray base = Fixture("rect.emf");
    constexpr qsizetype kRectangleRecord = 136, kRecordBytes = 24, kEnd = 20;
    QByteArray full = base.mid(kRectangleRecord, kRecordBytes);
    for (const qsizetype at : {8, 12}) // left, top
        full.replace(at, 4, QByteArray(4, '\0'));
    const char corner[4] = {static_cast<char>(0xE8), static_cast<char>(0x03), 0, 0}; // 1000
    for (const qsizetype at : {16, 20}) // right, bottom
        full.replace(at, 4, QByteArray(corner, 4));
    QByteArray bytes = base.left(kRectangleRecord);
    for (int i = 0; i < rectangles; ++i)
        bytes += full;
    return bytes + base.right(kEnd);
}

TEST_P(MetafileCoverTest, PictureCoveringItsFrameTooOftenStops) {
    test::EnsureGuiApplication();
    QImage image(50, 50, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    EXPECT_EQ(PaintMetafile(Overdrawn(GetParam().Rectangles), painter, QRectF(0, 0, 50, 50)),
              GetParam().Played);
    painter.end();
    EXPECT_EQ(image.pixelColor(25, 25), QColor(Qt::red)); // what was drawn stays
}

INSTANTIATE_TEST_SUITE_P(Budget, MetafileCoverTest,
                         testing::Values(CoverCase{1000, true}, CoverCase{40000, false}));

class MetafileHostilePaintTest : public testing::TestWithParam<const char*> {};

TEST_P(MetafileHostilePaintTest, FailsAndLeavesThePainterAsItWas) {
    bool played = true;
    Paint(GetParam(), QSize(50, 50), QRectF(0, 0, 50, 50), &played);
    EXPECT_FALSE(played);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, MetafileHostilePaintTest,
                         testing::Values("truncated.emf", "looping.emf", "huge_bitmap.emf",
                                         "deep_save.emf", "truncated.wmf", "negative_size.wmf"));

} // namespace
} // namespace ulvan
