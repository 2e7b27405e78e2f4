// The metafile reader: what each fixture picture hands to the sink and where, and how
// hostile files end (a clean failure, nothing drawn past the fault, the limits held).
#include "footer/MetafileReader.h"

#include "tests/support/MetafileFixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <variant>
#include <vector>

namespace ulvan {
namespace {

using test::ReadMetafileFixture;

struct Bounds {
    double Left = 0, Top = 0, Right = 0, Bottom = 0;
};

Bounds BoundsOf(const std::vector<MetafilePoint>& points) {
    Bounds b{std::numeric_limits<double>::max(), std::numeric_limits<double>::max(),
             std::numeric_limits<double>::lowest(), std::numeric_limits<double>::lowest()};
    for (const MetafilePoint& p : points) {
        b.Left = std::min(b.Left, p.X);
        b.Top = std::min(b.Top, p.Y);
        b.Right = std::max(b.Right, p.X);
        b.Bottom = std::max(b.Bottom, p.Y);
    }
    return b;
}

struct DrawnPath {
    MetafilePath Path;
    std::optional<MetafilePen> Pen;
    std::optional<MetafileBrush> Brush;
    MetafileFillRule Rule;
};

// Keeps every call, in order.
class RecordingSink final : public MetafileSink {
public:
    std::vector<DrawnPath> Paths;
    std::vector<MetafileText> Texts;
    std::vector<MetafileBitmap> Bitmaps;
    std::vector<std::vector<MetafileClipStep>> Clips;
    std::vector<char> Order; // 'p', 't', 'b', 'c'

    void DrawPath(const MetafilePath& path, const MetafilePen* pen, const MetafileBrush* brush,
                  MetafileFillRule rule) override {
        Paths.push_back({path, pen ? std::optional(*pen) : std::nullopt,
                         brush ? std::optional(*brush) : std::nullopt, rule});
        Order.push_back('p');
    }
    void DrawText(const MetafileText& text) override {
        Texts.push_back(text);
        Order.push_back('t');
    }
    void DrawBitmap(const MetafileBitmap& bitmap) override {
        Bitmaps.push_back(bitmap);
        Order.push_back('b');
    }
    void SetClip(const std::vector<MetafileClipStep>& steps) override {
        Clips.push_back(steps);
        Order.push_back('c');
    }
};

RecordingSink Play(const std::string& name, bool* played = nullptr) {
    const std::vector<std::uint8_t> bytes = ReadMetafileFixture(name);
    EXPECT_FALSE(bytes.empty()) << name;
    RecordingSink sink;
    const bool result = PlayMetafile(bytes, sink);
    if (played)
        *played = result;
    return sink;
}

// ---------------------------------------------------------------------------------------------
// The header: the picture's own size and its rectangle of picture coordinates.

struct InfoCase {
    const char* File;
    MetafileFormat Format;
    double WidthMm, HeightMm;
    Bounds Rect;
};

class MetafileInfoTest : public testing::TestWithParam<InfoCase> {};

TEST_P(MetafileInfoTest, SizeAndRectangleComeFromTheHeader) {
    const InfoCase& c = GetParam();
    const std::optional<MetafileInfo> info = ReadMetafileInfo(ReadMetafileFixture(c.File));
    ASSERT_TRUE(info.has_value());
    EXPECT_EQ(info->Format, c.Format);
    EXPECT_NEAR(info->WidthMm, c.WidthMm, 1e-6);
    EXPECT_NEAR(info->HeightMm, c.HeightMm, 1e-6);
    EXPECT_NEAR(info->Left, c.Rect.Left, 1e-6);
    EXPECT_NEAR(info->Top, c.Rect.Top, 1e-6);
    EXPECT_NEAR(info->Right, c.Rect.Right, 1e-6);
    EXPECT_NEAR(info->Bottom, c.Rect.Bottom, 1e-6);
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, MetafileInfoTest,
    testing::Values(
        // EMF: the frame in 0.01 mm, on a reference device of 10 pixels a millimetre.
        InfoCase{"rect.emf", MetafileFormat::Emf, 100, 100, {0, 0, 1000, 1000}},
        // Placeable WMF: bounds of 1440 units at 1440 units an inch.
        InfoCase{"placeable.wmf", MetafileFormat::Wmf, 25.4, 25.4, {0, 0, 1440, 1440}},
        InfoCase{"bitmap.wmf", MetafileFormat::Wmf, 25.4, 12.7, {0, 0, 1000, 500}},
        // Plain WMF: the window extent at 96 dpi.
        InfoCase{"plain.wmf",
                 MetafileFormat::Wmf,
                 2000 / 96.0 * 25.4,
                 1000 / 96.0 * 25.4,
                 {0, 0, 2000, 1000}}));

TEST(MetafileInfo, RefusesWhatIsNoMetafile) {
    const std::vector<std::vector<std::uint8_t>> notMetafiles = {
        {},
        {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
        std::vector<std::uint8_t>(100, 0),
        std::vector<std::uint8_t>(100, 0xFF),
    };
    for (const std::vector<std::uint8_t>& bytes : notMetafiles)
        EXPECT_FALSE(ReadMetafileInfo(bytes).has_value()) << bytes.size();
}

TEST(MetafileInfo, RefusesAnEmfWithoutFrameOrBounds) {
    std::vector<std::uint8_t> bytes = ReadMetafileFixture("rect.emf");
    // Frame right < left, bounds right < left.
    const std::int32_t negative = -5;
    std::memcpy(bytes.data() + 32, &negative, 4);
    std::memcpy(bytes.data() + 16, &negative, 4);
    EXPECT_FALSE(ReadMetafileInfo(bytes).has_value());
}

TEST(MetafileInfo, RefusesAWmfWithoutWindowOrBounds) {
    std::vector<std::uint8_t> bytes = ReadMetafileFixture("placeable.wmf");
    bytes[10] = bytes[11] = 0; // right = left
    EXPECT_FALSE(ReadMetafileInfo(bytes).has_value());
}

// ---------------------------------------------------------------------------------------------
// What is drawn where.

struct PathCase {
    const char* File;
    std::size_t Index; // which path handed to the sink
    Bounds Where;      // bounds of its points in picture coordinates
    std::optional<std::uint32_t> Fill;
    std::optional<double> PenWidth; // nullopt: no outline
};

class MetafilePathTest : public testing::TestWithParam<PathCase> {};

TEST_P(MetafilePathTest, LandsWhereTheRecordsPutIt) {
    const PathCase& c = GetParam();
    bool played = false;
    const RecordingSink sink = Play(c.File, &played);
    EXPECT_TRUE(played);
    ASSERT_LT(c.Index, sink.Paths.size());
    const DrawnPath& drawn = sink.Paths[c.Index];
    const Bounds b = BoundsOf(drawn.Path.Points);
    EXPECT_NEAR(b.Left, c.Where.Left, 1e-6);
    EXPECT_NEAR(b.Top, c.Where.Top, 1e-6);
    EXPECT_NEAR(b.Right, c.Where.Right, 1e-6);
    EXPECT_NEAR(b.Bottom, c.Where.Bottom, 1e-6);
    ASSERT_EQ(drawn.Brush.has_value(), c.Fill.has_value());
    if (c.Fill) {
        EXPECT_EQ(drawn.Brush->Color, *c.Fill);
    }
    ASSERT_EQ(drawn.Pen.has_value(), c.PenWidth.has_value());
    if (c.PenWidth) {
        EXPECT_NEAR(drawn.Pen->Width, *c.PenWidth, 1e-6);
    }
}

constexpr std::uint32_t kRed = 0xFF0000, kGreen = 0x00A000, kBlue = 0x0000FF;

INSTANTIATE_TEST_SUITE_P(
    Fixtures, MetafilePathTest,
    testing::Values(
        PathCase{"rect.emf", 0, {100, 200, 500, 600}, kRed, std::nullopt},
        // The ring: an ellipse with a 20 wide pen and the null brush.
        PathCase{"crest.emf", 0, {100, 100, 900, 900}, std::nullopt, 20.0},
        // The four petals, one filled path (Bézier control points reach 150 and 850).
        PathCase{"crest.emf", 1, {150, 150, 850, 850}, kGreen, std::nullopt},
        // A window of 100 on a viewport of 1000, then 0.1 mm units with y up.
        PathCase{"mapmode.emf", 0, {100, 100, 500, 500}, kBlue, std::nullopt},
        PathCase{"mapmode.emf", 1, {600, 100, 900, 400}, kBlue, std::nullopt},
        // Inside the saved state: moved by the world transform, red; after it: blue, back.
        PathCase{"savedc.emf", 0, {600, 100, 800, 300}, kRed, std::nullopt},
        PathCase{"savedc.emf", 1, {100, 100, 300, 300}, kBlue, std::nullopt},
        PathCase{"placeable.wmf", 0, {144, 288, 720, 1008}, kBlue, std::nullopt},
        PathCase{"placeable.wmf", 1, {720, 720, 1440, 1440}, kRed, std::nullopt},
        PathCase{"plain.wmf", 0, {100, 100, 900, 900}, 0x008000, 0.0},
        PathCase{"plain.wmf", 1, {1100, 100, 1900, 900}, 0x008000, 0.0},
        PathCase{"plain.wmf", 2, {0, 0, 2000, 1000}, std::nullopt, 0.0}));

TEST(MetafileReader, CrestPathHoldsFourClosedBezierFigures) {
    const RecordingSink sink = Play("crest.emf");
    ASSERT_EQ(sink.Paths.size(), 2u);
    const MetafilePath& petals = sink.Paths[1].Path;
    EXPECT_EQ(std::count(petals.Ops.begin(), petals.Ops.end(), MetafilePath::Op::Close), 4);
    EXPECT_EQ(std::count(petals.Ops.begin(), petals.Ops.end(), MetafilePath::Op::CubicTo), 8);
    EXPECT_EQ(std::count(petals.Ops.begin(), petals.Ops.end(), MetafilePath::Op::MoveTo), 4);
    // The ring is an ellipse of Béziers through (900, 500) and (500, 100).
    const MetafilePath& ring = sink.Paths[0].Path;
    EXPECT_NE(std::find(ring.Points.begin(), ring.Points.end(), MetafilePoint{900, 500}),
              ring.Points.end());
    EXPECT_NE(std::find_if(ring.Points.begin(), ring.Points.end(),
                           [](const MetafilePoint& p) {
                               return std::abs(p.X - 500) < 1e-9 && std::abs(p.Y - 100) < 1e-9;
                           }),
              ring.Points.end());
}

TEST(MetafileReader, PolyPolygonKeepsItsFiguresApart) {
    const RecordingSink sink = Play("plain.wmf");
    ASSERT_GE(sink.Paths.size(), 2u);
    const MetafilePath& two = sink.Paths[1].Path;
    EXPECT_EQ(std::count(two.Ops.begin(), two.Ops.end(), MetafilePath::Op::MoveTo), 2);
    EXPECT_EQ(std::count(two.Ops.begin(), two.Ops.end(), MetafilePath::Op::Close), 2);
}

TEST(MetafileReader, ClipIsSetAndRestoredWithTheSavedState) {
    const RecordingSink sink = Play("plain.wmf");
    ASSERT_EQ(sink.Clips.size(), 2u);
    ASSERT_EQ(sink.Clips[0].size(), 1u);
    EXPECT_EQ(sink.Clips[0][0].Mode, MetafileClipStep::Combine::Intersect);
    const Bounds b = BoundsOf(sink.Clips[0][0].Area.Points);
    EXPECT_DOUBLE_EQ(b.Right, 2000);
    EXPECT_DOUBLE_EQ(b.Bottom, 500);
    EXPECT_TRUE(sink.Clips[1].empty()); // restored: no clip
    // The last line is drawn after the clip went.
    EXPECT_EQ(sink.Order.back(), 'p');
    EXPECT_EQ(sink.Order[sink.Order.size() - 2], 'c');
}

struct TextCase {
    const char* File;
    std::size_t Index;
    std::u16string Text;
    std::u16string Face;
    MetafilePoint Origin;
    double Height; // in picture units along the letters' height
    std::uint32_t Color;
    MetafileText::VAlign Vertical;
    std::vector<double> Positions;
};

class MetafileTextTest : public testing::TestWithParam<TextCase> {};

TEST_P(MetafileTextTest, TextKeepsItsLettersFaceAndPlace) {
    const TextCase& c = GetParam();
    const RecordingSink sink = Play(c.File);
    ASSERT_LT(c.Index, sink.Texts.size());
    const MetafileText& text = sink.Texts[c.Index];
    EXPECT_EQ(text.Text, c.Text);
    EXPECT_EQ(text.Font.Face, c.Face);
    EXPECT_DOUBLE_EQ(text.Origin.X, c.Origin.X);
    EXPECT_DOUBLE_EQ(text.Origin.Y, c.Origin.Y);
    EXPECT_NEAR(text.Font.Height * std::hypot(text.YAxis.X, text.YAxis.Y), c.Height, 1e-9);
    EXPECT_GT(text.XAxis.X, 0); // left to right, upright
    EXPECT_GT(text.YAxis.Y, 0);
    EXPECT_EQ(text.Color, c.Color);
    EXPECT_EQ(text.Vertical, c.Vertical);
    EXPECT_EQ(text.Positions, c.Positions);
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, MetafileTextTest,
    testing::Values(
        // UTF-16 in an EMF, with its advances.
        TextCase{"text.emf",
                 0,
                 u"寺紋",
                 u"ＭＳ 明朝",
                 {100, 500},
                 100,
                 0x800000,
                 MetafileText::VAlign::Baseline,
                 {0, 100}},
        // Code page 932 in a WMF whose font has the Japanese charset; the face too.
        TextCase{"placeable.wmf",
                 0,
                 u"寺",
                 u"ＭＳ ゴシック",
                 {144, 144},
                 144,
                 0,
                 MetafileText::VAlign::Top,
                 {}},
        // Two-byte characters take the advances of both their bytes.
        TextCase{"placeable.wmf",
                 1,
                 u"印影",
                 u"ＭＳ ゴシック",
                 {432, 144},
                 144,
                 0,
                 MetafileText::VAlign::Top,
                 {0, 144}}));

struct BitmapCase {
    const char* File;
    int Width, Height;
    std::vector<std::uint32_t> Pixels;
    MetafilePoint TopLeft, TopRight, BottomLeft;
};

class MetafileBitmapTest : public testing::TestWithParam<BitmapCase> {};

TEST_P(MetafileBitmapTest, BitmapIsDecodedTopRowFirstAndPlaced) {
    const BitmapCase& c = GetParam();
    bool played = false;
    const RecordingSink sink = Play(c.File, &played);
    EXPECT_TRUE(played);
    ASSERT_EQ(sink.Bitmaps.size(), 1u);
    const MetafileBitmap& bitmap = sink.Bitmaps[0];
    EXPECT_EQ(bitmap.Width, c.Width);
    EXPECT_EQ(bitmap.Height, c.Height);
    EXPECT_EQ(bitmap.Pixels, c.Pixels);
    EXPECT_EQ(bitmap.TopLeft, c.TopLeft);
    EXPECT_EQ(bitmap.TopRight, c.TopRight);
    EXPECT_EQ(bitmap.BottomLeft, c.BottomLeft);
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, MetafileBitmapTest,
    testing::Values(
        BitmapCase{"bitmap.emf",
                   2,
                   2,
                   {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF},
                   {100, 100},
                   {500, 100},
                   {100, 500}},
        BitmapCase{"bitmap32.emf", 1, 1, {0xFFFFFF00}, {0, 0}, {100, 0}, {0, 100}},
        BitmapCase{"bitmap.wmf", 2, 1, {0xFF000000, 0xFFFFFFFF}, {0, 0}, {1000, 0}, {0, 500}}));

TEST(MetafileReader, ShapesOfEveryKindPlayToTheEnd) {
    bool played = false;
    const RecordingSink sink = Play("shapes.emf", &played);
    EXPECT_TRUE(played); // unknown records and comments skipped
    // Round rectangle, arc, chord, pie, poly-polygon, polyline, pixel, ellipse.
    EXPECT_EQ(sink.Paths.size(), 8u);
    EXPECT_EQ(sink.Clips.size(), 2u);
    EXPECT_TRUE(sink.Clips.back().empty());
    // The arc is only outlined; the chord and pie are filled too.
    EXPECT_FALSE(sink.Paths[1].Brush.has_value());
    EXPECT_TRUE(sink.Paths[2].Brush.has_value());
    EXPECT_EQ(sink.Paths[2].Brush->Style, MetafileBrush::Fill::Hatched);
    EXPECT_EQ(sink.Paths[4].Rule, MetafileFillRule::Winding);
    // The ellipse under a turned and halved world transform: centred on (500, 700).
    const Bounds b = BoundsOf(sink.Paths[7].Path.Points);
    EXPECT_NEAR((b.Left + b.Right) / 2, 500, 1e-6);
    EXPECT_NEAR((b.Top + b.Bottom) / 2, 700, 1e-6);
}

// ---------------------------------------------------------------------------------------------
// Hostile files end cleanly.

struct HostileCase {
    const char* File;
    std::size_t PathsBefore; // what was drawn before the fault stays
};

class MetafileHostileTest : public testing::TestWithParam<HostileCase> {};

TEST_P(MetafileHostileTest, EndsWithAFailureKeepingWhatWasDrawn) {
    const HostileCase& c = GetParam();
    bool played = true;
    const RecordingSink sink = Play(c.File, &played);
    EXPECT_FALSE(played);
    EXPECT_EQ(sink.Paths.size(), c.PathsBefore);
    EXPECT_TRUE(sink.Bitmaps.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, MetafileHostileTest,
    testing::Values(HostileCase{"truncated.emf", 0}, HostileCase{"oversized_count.emf", 0},
                    HostileCase{"negative_size.emf", 0}, HostileCase{"looping.emf", 0},
                    HostileCase{"huge_bitmap.emf", 0}, HostileCase{"deep_save.emf", 0},
                    HostileCase{"text_offset.emf", 0}, HostileCase{"truncated.wmf", 2},
                    HostileCase{"oversized_count.wmf", 0}, HostileCase{"looping.wmf", 0},
                    HostileCase{"negative_size.wmf", 0}));

// Bytes of an EMF built here: the header of rect.emf and the given records, then the end.
std::vector<std::uint8_t> EmfWith(const std::vector<std::uint8_t>& records) {
    const std::vector<std::uint8_t> base = ReadMetafileFixture("rect.emf");
    const std::vector<std::uint8_t> eof = {14, 0, 0,  0, 20, 0, 0,  0, 0, 0,
                                           0,  0, 16, 0, 0,  0, 20, 0, 0, 0};
    std::vector<std::uint8_t> bytes(88 + records.size() + eof.size());
    std::copy_n(base.begin(), 88, bytes.begin());
    std::copy(records.begin(), records.end(), bytes.begin() + 88);
    std::copy(eof.begin(), eof.end(), bytes.end() - static_cast<std::ptrdiff_t>(eof.size()));
    return bytes;
}

void Put32(std::vector<std::uint8_t>& bytes, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

std::vector<std::uint8_t> Repeated(std::uint32_t type, std::size_t times) {
    std::vector<std::uint8_t> records;
    for (std::size_t i = 0; i < times; ++i) {
        Put32(records, type);
        Put32(records, 8);
    }
    return records;
}

struct LimitCase {
    const char* Name;
    std::uint32_t Type;
    std::size_t Times;
    bool Played;
};

class MetafileLimitTest : public testing::TestWithParam<LimitCase> {};

TEST_P(MetafileLimitTest, LimitIsHeldExactly) {
    const LimitCase& c = GetParam();
    RecordingSink sink;
    EXPECT_EQ(PlayMetafile(EmfWith(Repeated(c.Type, c.Times)), sink), c.Played) << c.Name;
}

constexpr std::uint32_t kSaveDc = 33, kBeginPath = 59;

INSTANTIATE_TEST_SUITE_P(
    Limits, MetafileLimitTest,
    testing::Values(LimitCase{"saves at the limit", kSaveDc, kMaxMetafileSaveDepth, true},
                    LimitCase{"one save past it", kSaveDc, kMaxMetafileSaveDepth + 1, false},
                    // Header and end record count among the records.
                    LimitCase{"records at the limit", kBeginPath, kMaxMetafileRecords - 2, true},
                    LimitCase{"one record past it", kBeginPath, kMaxMetafileRecords - 1, false}));

TEST(MetafileReader, CoordinatesFarOutsideAreClampedNearThePicture) {
    std::vector<std::uint8_t> record;
    Put32(record, 43); // Rectangle
    Put32(record, 24);
    for (const std::int32_t v : {-2'000'000'000, -2'000'000'000, 2'000'000'000, 2'000'000'000})
        Put32(record, static_cast<std::uint32_t>(v));
    RecordingSink sink;
    EXPECT_TRUE(PlayMetafile(EmfWith(record), sink));
    ASSERT_EQ(sink.Paths.size(), 1u);
    const Bounds b = BoundsOf(sink.Paths[0].Path.Points);
    // The picture covers 0..1000: at most 16 of its sizes beyond.
    EXPECT_DOUBLE_EQ(b.Left, -16'000);
    EXPECT_DOUBLE_EQ(b.Right, 17'000);
}

TEST(MetafileReader, WorldTransformThatIsNotFiniteIsIgnored) {
    std::vector<std::uint8_t> records;
    Put32(records, 35); // SetWorldTransform
    Put32(records, 32);
    const float values[6] = {std::numeric_limits<float>::quiet_NaN(), 0, 0, 1, 0, 0};
    for (const float v : values) {
        std::uint32_t bits = 0;
        std::memcpy(&bits, &v, 4);
        Put32(records, bits);
    }
    Put32(records, 43);
    Put32(records, 24);
    for (const std::uint32_t v : {10u, 20u, 30u, 40u})
        Put32(records, v);
    RecordingSink sink;
    EXPECT_TRUE(PlayMetafile(EmfWith(records), sink));
    ASSERT_EQ(sink.Paths.size(), 1u);
    const Bounds b = BoundsOf(sink.Paths[0].Path.Points);
    EXPECT_DOUBLE_EQ(b.Left, 10);
    EXPECT_DOUBLE_EQ(b.Bottom, 40);
}

TEST(MetafileReader, RecordsAfterTheEndRecordAreNotRead) {
    std::vector<std::uint8_t> bytes = ReadMetafileFixture("rect.emf");
    bytes.insert(bytes.end(), 64, 0xEE);
    RecordingSink sink;
    EXPECT_TRUE(PlayMetafile(bytes, sink));
    EXPECT_EQ(sink.Paths.size(), 1u);
}

TEST(MetafileReader, FileWithoutEndRecordFailsAfterDrawing) {
    std::vector<std::uint8_t> bytes = ReadMetafileFixture("rect.emf");
    bytes.resize(bytes.size() - 20); // the end record
    RecordingSink sink;
    EXPECT_FALSE(PlayMetafile(bytes, sink));
    EXPECT_EQ(sink.Paths.size(), 1u);
}

} // namespace
} // namespace ulvan
