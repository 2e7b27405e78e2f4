#include "CanvasTestSupport.h"

#include "sheet/Canvas.h"
#include "sheet/Fonts.h"
#include "sheet/QtText.h"
#include "sheet/VerticalText.h"

#include <QBuffer>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ulvan {
namespace {

using test::EnsureGuiApplication;
using test::InkBounds;
using test::WhiteImage;

const QString kMincho = QStringLiteral("ＭＳ 明朝");
const QString kVerticalMincho = QStringLiteral("@ＭＳ 明朝");

// ---- the orientation table --------------------------------------------------------------------

enum class Expect { Upright, Sideways, SmallKana, Punctuation };

struct OrientationCase {
    char32_t Character;
    Expect Class;
};

class VerticalTable : public testing::TestWithParam<OrientationCase> {};

TEST_P(VerticalTable, ClassOfCharacter) {
    const auto& c = GetParam();
    const VerticalPlacement p = VerticalPlacementOf(c.Character);
    const auto code = static_cast<unsigned>(c.Character);
    switch (c.Class) {
    case Expect::Upright:
        EXPECT_EQ(p, VerticalPlacement{}) << std::hex << code;
        break;
    case Expect::Sideways:
        EXPECT_EQ(p.Orientation, VerticalOrientation::Sideways) << std::hex << code;
        break;
    case Expect::SmallKana:
        EXPECT_EQ(p.Orientation, VerticalOrientation::Upright) << std::hex << code;
        EXPECT_GT(p.ShiftX, 0);    // toward the reader's right
        EXPECT_LT(p.ShiftY, 0);    // and up
        EXPECT_LT(p.ShiftX, 0.25); // but stays in its own cell
        break;
    case Expect::Punctuation:
        EXPECT_EQ(p.Orientation, VerticalOrientation::Upright) << std::hex << code;
        EXPECT_GE(p.ShiftX, 0.4); // from the lower left into the upper right quarter
        EXPECT_LE(p.ShiftY, -0.4);
        break;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Characters, VerticalTable,
    testing::Values(
        OrientationCase{U'国', Expect::Upright}, OrientationCase{U'あ', Expect::Upright},
        OrientationCase{U'ア', Expect::Upright}, OrientationCase{U'Ａ', Expect::Upright},
        OrientationCase{U'１', Expect::Upright}, OrientationCase{U'〒', Expect::Upright},
        OrientationCase{U'\U00020B9F', Expect::Upright}, // beyond the basic plane
        OrientationCase{U'\uFE41', Expect::Upright},     // a vertical form already
        OrientationCase{U'A', Expect::Sideways}, OrientationCase{U'1', Expect::Sideways},
        OrientationCase{U'-', Expect::Sideways}, OrientationCase{U'(', Expect::Sideways},
        OrientationCase{U'ｱ', Expect::Sideways}, // half-width katakana
        OrientationCase{U'ー', Expect::Sideways}, OrientationCase{U'－', Expect::Sideways},
        OrientationCase{U'―', Expect::Sideways}, OrientationCase{U'…', Expect::Sideways},
        OrientationCase{U'〜', Expect::Sideways}, OrientationCase{U'～', Expect::Sideways},
        OrientationCase{U'「', Expect::Sideways}, OrientationCase{U'」', Expect::Sideways},
        OrientationCase{U'『', Expect::Sideways}, OrientationCase{U'（', Expect::Sideways},
        OrientationCase{U'）', Expect::Sideways}, OrientationCase{U'【', Expect::Sideways},
        OrientationCase{U'［', Expect::Sideways}, OrientationCase{U'｝', Expect::Sideways},
        OrientationCase{U'：', Expect::Sideways}, OrientationCase{U'＝', Expect::Sideways},
        OrientationCase{U'ぁ', Expect::SmallKana}, OrientationCase{U'っ', Expect::SmallKana},
        OrientationCase{U'ょ', Expect::SmallKana}, OrientationCase{U'ァ', Expect::SmallKana},
        OrientationCase{U'ッ', Expect::SmallKana}, OrientationCase{U'ヶ', Expect::SmallKana},
        OrientationCase{U'、', Expect::Punctuation}, OrientationCase{U'。', Expect::Punctuation},
        OrientationCase{U'，', Expect::Punctuation}, OrientationCase{U'．', Expect::Punctuation},
        // Neighbours of listed entries keep the default class.
        OrientationCase{U'つ', Expect::Upright}, OrientationCase{U'よ', Expect::Upright},
        OrientationCase{U'〃', Expect::Upright}));

// ---- fonts ------------------------------------------------------------------------------------

struct FaceCase {
    const char16_t* Face;
    const char* Installed; // the family expected, or null: any Japanese family
};

class FaceResolution : public testing::TestWithParam<FaceCase> {};

TEST_P(FaceResolution, MapsToAnInstalledJapaneseFace) {
    EnsureGuiApplication();
    if (!QFontDatabase::hasFamily(QStringLiteral("IPAMincho"))) {
        GTEST_SKIP() << "the IPA faces are not installed";
    }
    const QString face = ToQ(GetParam().Face);
    const QString resolved = ResolveFace(face);
    if (GetParam().Installed != nullptr) {
        EXPECT_EQ(resolved, QString::fromUtf8(GetParam().Installed));
    }
    EXPECT_TRUE(QFontDatabase::writingSystems(resolved).contains(QFontDatabase::Japanese))
        << resolved.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Faces, FaceResolution,
                         testing::Values(FaceCase{u"ＭＳ 明朝", "IPAMincho"},
                                         FaceCase{u"@ＭＳ 明朝", "IPAMincho"},
                                         FaceCase{u"ＭＳ ゴシック", "IPAGothic"},
                                         FaceCase{u"@ＭＳ ゴシック", "IPAGothic"},
                                         FaceCase{u"ＭＳ Ｐ明朝", "IPAPMincho"},
                                         FaceCase{u"ＭＳ Ｐゴシック", "IPAPGothic"},
                                         FaceCase{u"@IPAPGothic", "IPAPGothic"},
                                         FaceCase{u"HG正楷書体-PRO", "IPAMincho"},
                                         FaceCase{u"No Such Gothic", "IPAGothic"},
                                         FaceCase{u"", nullptr}, FaceCase{u"@", nullptr}));

TEST(JapaneseFamiliesTest, ListsOnlyJapaneseFacesFixedPitchFirst) {
    EnsureGuiApplication();
    const QStringList families = JapaneseFamilies();
    if (QFontDatabase::families(QFontDatabase::Japanese).isEmpty()) {
        GTEST_SKIP() << "no Japanese face installed";
    }
    ASSERT_FALSE(families.isEmpty());
    bool proportionalSeen = false;
    for (const QString& family : families) {
        EXPECT_TRUE(QFontDatabase::writingSystems(family).contains(QFontDatabase::Japanese));
        const bool fixed = QFontDatabase::isFixedPitch(family);
        EXPECT_FALSE(fixed && proportionalSeen) << family.toStdString();
        proportionalSeen = proportionalSeen || !fixed;
    }
}

// ---- cell height ------------------------------------------------------------------------------

struct CellCase {
    const char16_t* Face;
    int CellHeight;
    int Dpi;
};

class CellHeight : public testing::TestWithParam<CellCase> {};

TEST_P(CellHeight, FontFillsTheCellOnTheDevice) {
    EnsureGuiApplication();
    const CellCase& c = GetParam();
    QImage image = WhiteImage(c.CellHeight * 3, c.CellHeight * 2);
    const int dotsPerMeter = static_cast<int>(c.Dpi / 0.0254 + 0.5);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    QPainter painter(&image);
    QPainterCanvas canvas(painter);
    canvas.SetFont(FontSpec{ToQ(c.Face), c.CellHeight, 400, 0});
    const QFontMetricsF metrics(painter.font(), &image);
    EXPECT_NEAR(metrics.ascent() + metrics.descent(), c.CellHeight, 1.0);
    canvas.TextOut(5, 5, u"国");
    painter.end();
    const QRect ink = InkBounds(image, image.rect());
    ASSERT_FALSE(ink.isNull());
    EXPECT_GE(ink.top(), 5);
    EXPECT_LE(ink.bottom(), 5 + c.CellHeight);
    EXPECT_GT(ink.height(), c.CellHeight * 0.7); // it fills the cell, not a fraction of it
}

INSTANTIATE_TEST_SUITE_P(
    Devices, CellHeight,
    testing::Values(CellCase{u"ＭＳ 明朝", 40, 96}, CellCase{u"ＭＳ 明朝", 40, 1200},
                    CellCase{u"ＭＳ 明朝", 193, 600}, CellCase{u"ＭＳ ゴシック", 31, 72},
                    CellCase{u"ＭＳ Ｐゴシック", 120, 300}, CellCase{u"@ＭＳ 明朝", 64, 1200}));

TEST(CellHeightPdf, FontFillsTheCellOnAPdfPage) {
    EnsureGuiApplication();
    QBuffer buffer;
    ASSERT_TRUE(buffer.open(QIODevice::WriteOnly));
    for (const int dpi : {300, 1200}) {
        QPdfWriter writer(&buffer);
        writer.setResolution(dpi);
        QPainter painter(&writer);
        QPainterCanvas canvas(painter);
        for (const int cell : {193, 410}) {
            canvas.SetFont(FontSpec{kVerticalMincho, cell, 400, 0});
            const QFontMetricsF metrics(painter.font(), &writer);
            EXPECT_NEAR(metrics.ascent() + metrics.descent(), cell, 1.0) << dpi << " dpi";
        }
    }
}

// ---- vertical writing on pixels ----------------------------------------------------------------

struct Drawn {
    QImage Image;
    QRect Ink;
};

Drawn DrawOne(const QString& face, int escapement, QStringView text, QPoint at, int cell = 80) {
    EnsureGuiApplication();
    Drawn result{WhiteImage(400, 400), {}};
    QPainter painter(&result.Image);
    QPainterCanvas canvas(painter);
    canvas.SetFont(FontSpec{face, cell, 400, escapement});
    canvas.TextOut(at.x(), at.y(), text);
    painter.end();
    result.Ink = InkBounds(result.Image, result.Image.rect());
    return result;
}

// Row (or column) of the ink box with the most ink.
int HeaviestRow(const Drawn& d) {
    int best = -1;
    int bestCount = -1;
    for (int y = d.Ink.top(); y <= d.Ink.bottom(); ++y) {
        int count = 0;
        for (int x = d.Ink.left(); x <= d.Ink.right(); ++x) {
            count += test::IsInk(d.Image.pixel(x, y)) ? 1 : 0;
        }
        if (count > bestCount) {
            best = y, bestCount = count;
        }
    }
    return best;
}

int HeaviestColumn(const Drawn& d) {
    int best = -1;
    int bestCount = -1;
    for (int x = d.Ink.left(); x <= d.Ink.right(); ++x) {
        int count = 0;
        for (int y = d.Ink.top(); y <= d.Ink.bottom(); ++y) {
            count += test::IsInk(d.Image.pixel(x, y)) ? 1 : 0;
        }
        if (count > bestCount) {
            best = x, bestCount = count;
        }
    }
    return best;
}

TEST(VerticalDrawing, FullWidthGlyphStandsUprightWhenThePageIsTurned) {
    // "Ｌ" upright in the reading view (page turned a quarter turn clockwise) lies on the
    // page with its long stroke along the bottom and its foot along the right side.
    const Drawn d = DrawOne(kVerticalMincho, 0, u"Ｌ", QPoint(100, 100));
    ASSERT_FALSE(d.Ink.isNull());
    EXPECT_TRUE(QRect(100, 100, 81, 81).contains(d.Ink));
    EXPECT_GT(HeaviestRow(d), d.Ink.center().y());
    EXPECT_GT(HeaviestColumn(d), d.Ink.center().x());
}

TEST(VerticalDrawing, PlainFaceKeepsTheGlyphAsItIs) {
    const Drawn d = DrawOne(kMincho, 0, u"Ｌ", QPoint(100, 100));
    ASSERT_FALSE(d.Ink.isNull());
    EXPECT_LT(HeaviestColumn(d), d.Ink.center().x()); // the stem on the left
    EXPECT_GT(HeaviestRow(d), d.Ink.center().y());    // the foot at the bottom
}

struct AlongCase {
    const char* Name;
    const char16_t* Text;
    bool Dash; // a line-like glyph: visibly longer along the column
};

class VerticalSideways : public testing::TestWithParam<AlongCase> {};

TEST_P(VerticalSideways, KeepsItsHorizontalFormAlongTheColumn) {
    // Sideways characters are drawn exactly as the plain face draws them: their baseline
    // runs along the column (page x at escapement 0), so in the reading view they lie
    // turned a quarter turn clockwise.
    const QString text = ToQ(GetParam().Text);
    const Drawn vertical = DrawOne(kVerticalMincho, 0, text, QPoint(100, 100));
    const Drawn plain = DrawOne(kMincho, 0, text, QPoint(100, 100));
    ASSERT_FALSE(vertical.Ink.isNull());
    EXPECT_EQ(vertical.Image, plain.Image) << GetParam().Name;
    EXPECT_TRUE(QRect(100, 100, 81, 81).contains(vertical.Ink));
    if (GetParam().Dash) {
        EXPECT_GT(vertical.Ink.width(), vertical.Ink.height() * 3) << GetParam().Name;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Characters, VerticalSideways,
    testing::Values(AlongCase{"long_vowel", u"ー", true},
                    AlongCase{"fullwidth_hyphen", u"－", true}, AlongCase{"hyphen", u"-", true},
                    AlongCase{"dash", u"―", true}, AlongCase{"wave_dash", u"～", false},
                    AlongCase{"digit_one", u"1", false}, AlongCase{"letter_l", u"l", false},
                    AlongCase{"bracket", u"（", false}),
    [](const auto& row) { return std::string(row.param.Name); });

TEST(VerticalDrawing, UprightDiffersFromThePlainFace) {
    const Drawn vertical = DrawOne(kVerticalMincho, 0, u"国", QPoint(100, 100));
    const Drawn plain = DrawOne(kMincho, 0, u"国", QPoint(100, 100));
    EXPECT_NE(vertical.Image, plain.Image);
}

TEST(VerticalDrawing, HyphenWithPlainFaceLiesAlongTheColumnToo) {
    const Drawn d = DrawOne(kMincho, 2700, u"－", QPoint(200, 100));
    ASSERT_FALSE(d.Ink.isNull());
    EXPECT_GT(d.Ink.height(), d.Ink.width() * 3); // the column runs down the screen
}

TEST(VerticalDrawing, OpeningBracketOpensTowardTheText) {
    // In the reading view "「" becomes a corner at the top right with strokes running down
    // and to the left. On the page (reading right = page up, reading down = page right)
    // the corner is at the top left, the strokes along the top and down the left side.
    const Drawn d = DrawOne(kVerticalMincho, 0, u"「", QPoint(100, 100));
    ASSERT_FALSE(d.Ink.isNull());
    EXPECT_LT(HeaviestRow(d), d.Ink.center().y());
    EXPECT_LT(HeaviestColumn(d), d.Ink.center().x());
    // And it sits in the later half of its cell, next to the text it opens.
    EXPECT_GT(d.Ink.center().x(), 100 + 80 * 0.4);
}

TEST(VerticalDrawing, CommaSitsInTheUpperRightOfTheReadingCell) {
    // Reading top = page left, reading right = page top.
    const Drawn vertical = DrawOne(kVerticalMincho, 0, u"、", QPoint(100, 100));
    ASSERT_FALSE(vertical.Ink.isNull());
    EXPECT_LT(vertical.Ink.center().x(), 140);
    EXPECT_LT(vertical.Ink.center().y(), 140);
    EXPECT_TRUE(QRect(100, 100, 81, 81).contains(vertical.Ink));
    // Horizontal writing keeps it at the lower left.
    const Drawn horizontal = DrawOne(kMincho, 0, u"、", QPoint(100, 100));
    EXPECT_GT(horizontal.Ink.center().y(), 140);
}

TEST(VerticalDrawing, SmallKanaMovesTowardTheUpperRight) {
    const Drawn small = DrawOne(kVerticalMincho, 0, u"っ", QPoint(100, 100));
    const Drawn normal = DrawOne(kVerticalMincho, 0, u"つ", QPoint(100, 100));
    ASSERT_FALSE(small.Ink.isNull());
    // Reading up is page left (smaller x); reading right is page up (smaller y).
    EXPECT_LT(small.Ink.center().y(), normal.Ink.center().y());
    EXPECT_TRUE(QRect(100, 100, 81, 81).contains(small.Ink));
}

struct CellPlacementCase {
    const char* Name;
    const char16_t* Face;
    int Escapement;
    QPoint At;
    QRect Cell; // where the ink must stay (the cell from the point, per orientation)
};

class CellFromThePoint : public testing::TestWithParam<CellPlacementCase> {};

TEST_P(CellFromThePoint, InkStaysInTheCell) {
    const auto& c = GetParam();
    const Drawn d = DrawOne(ToQ(c.Face), c.Escapement, u"国", c.At);
    ASSERT_FALSE(d.Ink.isNull());
    EXPECT_TRUE(c.Cell.contains(d.Ink)) << c.Name << ": " << d.Ink.x() << "," << d.Ink.y() << " "
                                        << d.Ink.width() << "x" << d.Ink.height();
    EXPECT_GT(d.Ink.width(), 50);
}

INSTANTIATE_TEST_SUITE_P(
    Orientations, CellFromThePoint,
    testing::Values(
        // Escapement 0: the cell extends right and down.
        CellPlacementCase{"vertical_0", u"@ＭＳ 明朝", 0, {100, 100}, QRect(100, 100, 81, 81)},
        CellPlacementCase{"plain_0", u"ＭＳ 明朝", 0, {100, 100}, QRect(100, 100, 81, 81)},
        // Escapement 2700: down and to the left.
        CellPlacementCase{
            "vertical_2700", u"@ＭＳ 明朝", 2700, {200, 100}, QRect(119, 100, 82, 81)},
        CellPlacementCase{"plain_2700", u"ＭＳ 明朝", 2700, {200, 100}, QRect(119, 100, 82, 81)},
        // Escapement 900: up and to the right.
        CellPlacementCase{"plain_900", u"ＭＳ 明朝", 900, {100, 200}, QRect(100, 119, 81, 82)},
        CellPlacementCase{"vertical_900", u"@ＭＳ 明朝", 900, {100, 200}, QRect(100, 119, 81, 82)}),
    [](const auto& row) { return std::string(row.param.Name); });

TEST(VerticalDrawing, RunAdvancesByTheFontsWidths) {
    // A run of two full-width characters in the vertical face: the second cell starts one
    // em after the first along the baseline.
    const Drawn one = DrawOne(kVerticalMincho, 0, u"一", QPoint(50, 100));
    const Drawn two = DrawOne(kVerticalMincho, 0, u"一一", QPoint(50, 100));
    ASSERT_FALSE(two.Ink.isNull());
    EXPECT_NEAR(two.Ink.right() - one.Ink.right(), 80 / 1.102, 2.0); // IPA: cell = 1.102 em
}

long InkCount(const QImage& image) {
    long count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += test::IsInk(image.pixel(x, y)) ? 1 : 0;
        }
    }
    return count;
}

class BoldAtAnySize : public testing::TestWithParam<int> {};

TEST_P(BoldAtAnySize, Weight700IsHeavierOnImages) {
    // The installed faces have no bold style: bold must not depend on the glyph size.
    const int cell = GetParam();
    long ink[2] = {0, 0};
    for (const int weight : {400, 700}) {
        EnsureGuiApplication();
        QImage image = WhiteImage(cell * 5, cell * 2);
        {
            QPainter painter(&image);
            QPainterCanvas canvas(painter);
            canvas.SetFont(FontSpec{kVerticalMincho, cell, weight, 0});
            canvas.TextOut(0, 0, u"善福寺");
            canvas.SetFont(FontSpec{kMincho, cell, weight, 0});
            canvas.TextOut(cell * 3, 0, u"寺");
        }
        ink[weight == 700 ? 1 : 0] = InkCount(image);
    }
    EXPECT_GT(ink[1] * 100, ink[0] * 115) << ink[0] << " vs " << ink[1];
}

INSTANTIATE_TEST_SUITE_P(Sizes, BoldAtAnySize, testing::Values(24, 60, 240));

// ---- pens, rectangles, pictures ----------------------------------------------------------------

TEST(PainterCanvas, RectangleOutlineExcludesRightAndBottom) {
    EnsureGuiApplication();
    QImage image = WhiteImage(40, 40);
    {
        QPainter painter(&image);
        QPainterCanvas canvas(painter);
        canvas.SetPen(PenSpec{PenBlack(), PenStyle::Solid, 1, PenMode::Copy});
        canvas.SetClearBrush();
        canvas.Rectangle(10, 10, 20, 15);
    }
    EXPECT_TRUE(test::IsInk(image.pixel(10, 10)));
    EXPECT_TRUE(test::IsInk(image.pixel(19, 14)));
    EXPECT_TRUE(test::IsInk(image.pixel(15, 10)));
    EXPECT_FALSE(test::IsInk(image.pixel(20, 10)));
    EXPECT_FALSE(test::IsInk(image.pixel(15, 15)));
    EXPECT_FALSE(test::IsInk(image.pixel(15, 12))); // outline only
}

TEST(PainterCanvas, XorAndFocusRectangleUndoThemselves) {
    EnsureGuiApplication();
    QImage image = WhiteImage(60, 60);
    {
        QPainter painter(&image);
        painter.fillRect(QRect(0, 0, 30, 60), QColor(20, 120, 200));
    }
    const QImage before = image.copy();
    {
        QPainter painter(&image);
        QPainterCanvas canvas(painter);
        canvas.SetPen(PenSpec{PenAqua(), PenStyle::Solid, 3, PenMode::Xor});
        canvas.Rectangle(5, 5, 50, 50);
        canvas.FocusRect(2, 3, 57, 40);
    }
    EXPECT_NE(image, before);
    {
        QPainter painter(&image);
        QPainterCanvas canvas(painter);
        canvas.SetPen(PenSpec{PenAqua(), PenStyle::Solid, 3, PenMode::Xor});
        canvas.FocusRect(2, 3, 57, 40);
        canvas.Rectangle(5, 5, 50, 50);
    }
    EXPECT_EQ(image, before);
}

TEST(PainterCanvas, PictureIsStretchedIntoTheRectangle) {
    EnsureGuiApplication();
    QImage source(2, 2, QImage::Format_RGB32);
    source.setPixel(0, 0, qRgb(255, 0, 0));
    source.setPixel(1, 0, qRgb(0, 255, 0));
    source.setPixel(0, 1, qRgb(0, 0, 255));
    source.setPixel(1, 1, qRgb(0, 0, 0));
    const RasterPicture picture(source, QStringLiteral("four"));
    QImage image = WhiteImage(40, 40);
    {
        QPainter painter(&image);
        QPainterCanvas canvas(painter);
        canvas.StretchPicture(picture, 10, 10, 30, 30);
    }
    EXPECT_EQ(image.pixel(10, 10), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(29, 10), qRgb(0, 255, 0));
    EXPECT_EQ(image.pixel(10, 29), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(29, 29), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(30, 30), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(9, 9), qRgb(255, 255, 255));
}

class Cross final : public VectorPicture {
public:
    Cross()
        : VectorPicture(QSize(10, 10), QStringLiteral("cross")) {}
    void Paint(QPainter& painter, const QRectF& target) const override {
        painter.fillRect(QRectF(target.left(), target.center().y() - 1, target.width(), 2),
                         QColor(0, 0, 0));
    }
};

TEST(RecordingCanvasTest, KeepsCallsWithTheirState) {
    RecordingCanvas canvas;
    const Cross cross;
    const PenSpec pen{PenPurple(), PenStyle::Dotted, 3, PenMode::Copy};
    const FontSpec font{kVerticalMincho, 120, 700, 2700};
    canvas.SetPen(pen);
    canvas.SetFont(font);
    canvas.TextOut(7, 8, u"寺");
    canvas.StretchPicture(cross, 1, 2, 3, 4);
    canvas.Line(1, 1, 9, 9);
    ASSERT_EQ(canvas.Calls().size(), 5u);
    const auto texts = canvas.CallsOf(CanvasCall::Kind::Text);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].Font, font);
    EXPECT_EQ(texts[0].Pen, pen);
    EXPECT_EQ(texts[0].Text, QStringLiteral("寺"));
    EXPECT_EQ(QPoint(texts[0].X1, texts[0].Y1), QPoint(7, 8));
    const auto pictures = canvas.CallsOf(CanvasCall::Kind::Picture);
    ASSERT_EQ(pictures.size(), 1u);
    EXPECT_EQ(pictures[0].PictureRef, &cross);
    EXPECT_EQ(pictures[0].PictureName, QStringLiteral("cross"));
    EXPECT_EQ(QRect(QPoint(pictures[0].X1, pictures[0].Y1), QPoint(pictures[0].X2, pictures[0].Y2)),
              QRect(QPoint(1, 2), QPoint(3, 4)));
    EXPECT_TRUE(font.IsVertical());
    EXPECT_EQ(font.Family(), kMincho);
    canvas.Clear();
    EXPECT_TRUE(canvas.Calls().empty());
}

TEST(PainterCanvas, VectorPictureDrawsAtDeviceResolution) {
    EnsureGuiApplication();
    const Cross cross;
    QImage image = WhiteImage(100, 100);
    {
        QPainter painter(&image);
        QPainterCanvas canvas(painter);
        canvas.StretchPicture(cross, 0, 0, 100, 100);
    }
    const QRect ink = InkBounds(image, image.rect());
    EXPECT_EQ(ink, QRect(0, 49, 100, 2));
}

TEST(PainterCanvas, HostileHeightsDoNotStall) {
    EnsureGuiApplication();
    QImage image = WhiteImage(50, 50);
    QPainter painter(&image);
    QPainterCanvas canvas(painter);
    for (const int height : {0, -30, 2147483647, -2147483647 - 1, 1}) {
        canvas.SetFont(FontSpec{kVerticalMincho, height, 400, 0});
        canvas.TextOut(0, 0, u"国－ー1");
        canvas.SetFont(FontSpec{kMincho, height, 700, 900});
        canvas.TextOut(0, 40, u"国");
    }
    canvas.TextOut(0, 0, QStringView(u"\xD842")); // a lone surrogate
    SUCCEED();
}

} // namespace
} // namespace ulvan
