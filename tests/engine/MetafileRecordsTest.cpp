// Single records of the metafile reader, built here byte by byte: bitmaps of each depth,
// raster operations, text alignment and turning, code pages, arcs, regions and clips, the
// object table and the limits of the clip.
#include "footer/MetafileReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace ulvan {
namespace {

// ---------------------------------------------------------------------------------------------
// Building pictures

class Bytes {
public:
    Bytes& U8(std::uint8_t v) {
        m_data.push_back(v);
        return *this;
    }
    Bytes& U16(std::uint16_t v) {
        return U8(static_cast<std::uint8_t>(v)).U8(static_cast<std::uint8_t>(v >> 8));
    }
    Bytes& I16(std::int16_t v) { return U16(static_cast<std::uint16_t>(v)); }
    Bytes& U32(std::uint32_t v) {
        return U16(static_cast<std::uint16_t>(v)).U16(static_cast<std::uint16_t>(v >> 16));
    }
    Bytes& I32(std::int32_t v) { return U32(static_cast<std::uint32_t>(v)); }
    Bytes& F32(float v) {
        std::uint32_t bits = 0;
        std::memcpy(&bits, &v, 4);
        return U32(bits);
    }
    Bytes& Raw(const std::vector<std::uint8_t>& v) {
        m_data.insert(m_data.end(), v.begin(), v.end());
        return *this;
    }
    Bytes& Pad(std::size_t multiple) {
        while (m_data.size() % multiple != 0)
            m_data.push_back(0);
        return *this;
    }
    std::size_t Size() const { return m_data.size(); }
    const std::vector<std::uint8_t>& Data() const { return m_data; }

private:
    std::vector<std::uint8_t> m_data;
};

// An EMF of 100 x 100 mm on a device of 1000 x 1000 pixels: picture coordinates = logical
// coordinates until the records change the mapping.
class Emf {
public:
    Emf& Record(std::uint32_t type, const Bytes& payload = {}) {
        Bytes padded = payload;
        padded.Pad(4);
        m_records.U32(type).U32(static_cast<std::uint32_t>(8 + padded.Size())).Raw(padded.Data());
        return *this;
    }
    std::vector<std::uint8_t> Build() const {
        Bytes out;
        out.U32(1).U32(88);
        for (const std::int32_t v : {0, 0, 999, 999, 0, 0, 10000, 10000})
            out.I32(v);
        out.U32(0x464D4520).U32(0x10000).U32(0).U32(0).U16(16).U16(0).U32(0).U32(0).U32(0);
        out.I32(1000).I32(1000).I32(100).I32(100);
        out.Raw(m_records.Data());
        out.U32(14).U32(20).U32(0).U32(16).U32(20);
        return out.Data();
    }

private:
    Bytes m_records;
};

// A placeable WMF of 1000 x 1000 units at 1000 units an inch.
class Wmf {
public:
    Wmf& Record(std::uint16_t function, const Bytes& payload = {}) {
        Bytes padded = payload;
        padded.Pad(2);
        m_records.U32(static_cast<std::uint32_t>(3 + padded.Size() / 2))
            .U16(function)
            .Raw(padded.Data());
        return *this;
    }
    std::vector<std::uint8_t> Build() const {
        Bytes out;
        out.U32(0x9AC6CDD7).U16(0).I16(0).I16(0).I16(1000).I16(1000).U16(1000).U32(0).U16(0);
        out.U16(1).U16(9).U16(0x300).U32(0).U16(8).U32(0).U16(0);
        out.Raw(m_records.Data());
        out.U32(3).U16(0);
        return out.Data();
    }

private:
    Bytes m_records;
};

struct Recorder final : MetafileSink {
    struct Path {
        MetafilePath Shape;
        bool Pen;
        std::optional<MetafileBrush> Brush;
    };
    std::vector<Path> Paths;
    std::vector<MetafileText> Texts;
    std::vector<MetafileBitmap> Bitmaps;
    std::vector<std::vector<MetafileClipStep>> Clips;
    std::size_t StopAfter = static_cast<std::size_t>(-1);

    void DrawPath(const MetafilePath& path, const MetafilePen* pen, const MetafileBrush* brush,
                  MetafileFillRule) override {
        Paths.push_back({path, pen != nullptr, brush ? std::optional(*brush) : std::nullopt});
    }
    void DrawText(const MetafileText& text) override { Texts.push_back(text); }
    void DrawBitmap(const MetafileBitmap& bitmap) override { Bitmaps.push_back(bitmap); }
    void SetClip(const std::vector<MetafileClipStep>& steps) override { Clips.push_back(steps); }
    bool Exhausted() const override { return Paths.size() >= StopAfter; }
};

constexpr std::uint32_t kRectangle = 43, kStretchDiBits = 81, kBitBlt = 76, kSelectObject = 37,
                        kCreateBrush = 39, kDeleteObject = 40, kSetTextAlign = 22,
                        kExtTextOutW = 84, kCreateFontW = 82, kSetMapMode = 17, kArc = 45,
                        kSetArcDirection = 57, kExtSelectClipRgn = 75, kIntersectClipRect = 30,
                        kModifyWorldTransform = 36;

Bytes RectPayload(std::int32_t l, std::int32_t t, std::int32_t r, std::int32_t b) {
    return Bytes().I32(l).I32(t).I32(r).I32(b);
}

// ---------------------------------------------------------------------------------------------
// Bitmaps of each depth

struct DibCase {
    const char* Name;
    std::uint16_t BitCount;
    std::vector<std::uint32_t> Palette; // 0x00RRGGBB entries
    std::vector<std::uint8_t> Bits;     // bottom-up rows, each padded to 4 bytes
    int Width, Height;
    std::vector<std::uint32_t> Expected; // top row first
};

class MetafileDibTest : public testing::TestWithParam<DibCase> {};

std::vector<std::uint8_t> StretchDib(const DibCase& c, std::uint32_t compression = 0) {
    Bytes info;
    info.U32(40)
        .I32(c.Width)
        .I32(c.Height)
        .U16(1)
        .U16(c.BitCount)
        .U32(compression)
        .U32(0)
        .I32(0)
        .I32(0);
    info.U32(static_cast<std::uint32_t>(c.Palette.size())).U32(0);
    for (const std::uint32_t rgb : c.Palette)
        info.U8(static_cast<std::uint8_t>(rgb))
            .U8(static_cast<std::uint8_t>(rgb >> 8))
            .U8(static_cast<std::uint8_t>(rgb >> 16))
            .U8(0);
    Bytes record;
    record.I32(0).I32(0).I32(0).I32(0);                            // bounds
    record.I32(0).I32(0).I32(0).I32(0).I32(c.Width).I32(c.Height); // dest x, y, source rect
    const auto offBmi = 80u, offBits = static_cast<std::uint32_t>(80 + info.Size());
    record.U32(offBmi).U32(static_cast<std::uint32_t>(info.Size())).U32(offBits);
    record.U32(static_cast<std::uint32_t>(c.Bits.size())).U32(0).U32(0xCC0020).I32(100).I32(100);
    record.Raw(info.Data()).Raw(c.Bits);
    return Emf().Record(kStretchDiBits, record).Build();
}

TEST_P(MetafileDibTest, PixelsComeOutTopRowFirst) {
    const DibCase& c = GetParam();
    Recorder sink;
    EXPECT_TRUE(PlayMetafile(StretchDib(c), sink)) << c.Name;
    ASSERT_EQ(sink.Bitmaps.size(), 1u) << c.Name;
    EXPECT_EQ(sink.Bitmaps[0].Width, c.Width);
    EXPECT_EQ(sink.Bitmaps[0].Height, c.Height);
    EXPECT_EQ(sink.Bitmaps[0].Pixels, c.Expected) << c.Name;
}

INSTANTIATE_TEST_SUITE_P(
    Depths, MetafileDibTest,
    testing::Values(
        // 1 bit: bottom row 1 0 1, top row 0 1 0.
        DibCase{"1 bit",
                1,
                {0x000000, 0xFFFFFF},
                {0xA0, 0, 0, 0, 0x40, 0, 0, 0},
                3,
                2,
                {0xFF000000, 0xFFFFFFFF, 0xFF000000, 0xFFFFFFFF, 0xFF000000, 0xFFFFFFFF}},
        DibCase{"4 bits",
                4,
                {0xFF0000, 0x00FF00, 0x0000FF},
                {0x01, 0x20, 0, 0},
                3,
                1,
                {0xFFFF0000, 0xFF00FF00, 0xFF0000FF}},
        DibCase{"8 bits",
                8,
                {0x112233, 0x445566},
                {1, 0, 1, 0, 0, 1, 0, 0},
                3,
                2,
                {0xFF112233, 0xFF445566, 0xFF112233, 0xFF445566, 0xFF112233, 0xFF445566}},
        // 5-5-5: pure red 0x7C00 and pure blue 0x001F.
        DibCase{"16 bits", 16, {}, {0x00, 0x7C, 0x1F, 0x00}, 2, 1, {0xFFFF0000, 0xFF0000FF}},
        DibCase{"24 bits", 24, {}, {0x01, 0x02, 0x03, 0}, 1, 1, {0xFF030201}},
        DibCase{"32 bits", 32, {}, {0x10, 0x20, 0x30, 0x00}, 1, 1, {0xFF302010}}));

struct SourceRowCase {
    const char* Name;
    bool CoreHeader;
    bool TopDown;
    std::uint32_t Expected; // the one pixel of the one source row (0, 0, 1, 1) shown
};

class MetafileSourceRowTest : public testing::TestWithParam<SourceRowCase> {};

TEST_P(MetafileSourceRowTest, SourceRowsCountFromTheBottomOfABottomUpBitmap) {
    const SourceRowCase& c = GetParam();
    // 1 x 2 pixels, 24 bits: the first row in the file is blue, the second red.
    Bytes info;
    if (c.CoreHeader)
        info.U32(12).U16(1).U16(2).U16(1).U16(24);
    else
        info.U32(40)
            .I32(1)
            .I32(c.TopDown ? -2 : 2)
            .U16(1)
            .U16(24)
            .U32(0)
            .U32(0)
            .I32(0)
            .I32(0)
            .U32(0)
            .U32(0);
    const std::vector<std::uint8_t> bits = {0xFF, 0, 0, 0, 0, 0, 0xFF, 0};
    Bytes record;
    record.I32(0).I32(0).I32(0).I32(0).I32(0).I32(0).I32(0).I32(0).I32(1).I32(1);
    const auto offBits = static_cast<std::uint32_t>(80 + info.Size());
    record.U32(80)
        .U32(static_cast<std::uint32_t>(info.Size()))
        .U32(offBits)
        .U32(8)
        .U32(0)
        .U32(0xCC0020);
    record.I32(100).I32(100).Raw(info.Data()).Raw(bits);
    Recorder sink;
    EXPECT_TRUE(PlayMetafile(Emf().Record(kStretchDiBits, record).Build(), sink));
    ASSERT_EQ(sink.Bitmaps.size(), 1u) << c.Name;
    EXPECT_EQ(sink.Bitmaps[0].Pixels, std::vector<std::uint32_t>{c.Expected}) << c.Name;
}

INSTANTIATE_TEST_SUITE_P(
    Headers, MetafileSourceRowTest,
    testing::Values(
        // Bottom-up: the file's first row is the bottom one, where source row 0 counts from.
        SourceRowCase{"bottom-up", false, false, 0xFF0000FF},
        SourceRowCase{"core header, always bottom-up", true, false, 0xFF0000FF},
        SourceRowCase{"top-down", false, true, 0xFF0000FF}));

TEST(MetafileDib, CompressedBitmapIsSkippedNotFailed) {
    const DibCase c{"rle", 8, {0}, {0, 0, 0, 0}, 1, 1, {}};
    Recorder sink;
    EXPECT_TRUE(PlayMetafile(StretchDib(c, 1), sink));
    EXPECT_TRUE(sink.Bitmaps.empty());
}

TEST(MetafileDib, PixelsShorterThanTheHeaderSaysEndThePlayback) {
    DibCase c{"short", 24, {}, {1, 2, 3, 0}, 2, 2, {}};
    Recorder sink;
    EXPECT_FALSE(PlayMetafile(StretchDib(c), sink));
    EXPECT_TRUE(sink.Bitmaps.empty());
}

// ---------------------------------------------------------------------------------------------
// Bit blocks without a source

struct BltCase {
    const char* Name;
    std::uint32_t Rop;
    std::optional<std::uint32_t> Fill; // nullopt: nothing drawn
};

class MetafileBltTest : public testing::TestWithParam<BltCase> {};

TEST_P(MetafileBltTest, BlockWithoutSourceFillsAsItsOperationSays) {
    const BltCase& c = GetParam();
    Bytes blt;
    blt.I32(0).I32(0).I32(0).I32(0).I32(10).I32(20).I32(30).I32(40).U32(c.Rop).I32(0).I32(0);
    for (int i = 0; i < 6; ++i)
        blt.F32(i == 0 || i == 3 ? 1.0f : 0.0f);
    blt.U32(0).U32(0).U32(0).U32(0).U32(0).U32(0);
    Recorder sink;
    EXPECT_TRUE(PlayMetafile(Emf()
                                 .Record(kCreateBrush, Bytes().U32(1).U32(0).U32(0x0000FF).U32(0))
                                 .Record(kSelectObject, Bytes().U32(1))
                                 .Record(kBitBlt, blt)
                                 .Build(),
                             sink));
    ASSERT_EQ(sink.Paths.size(), c.Fill ? 1u : 0u) << c.Name;
    if (c.Fill) {
        ASSERT_TRUE(sink.Paths[0].Brush.has_value());
        EXPECT_EQ(sink.Paths[0].Brush->Color, *c.Fill) << c.Name;
        EXPECT_EQ(sink.Paths[0].Shape.Points[2], (MetafilePoint{40, 60})); // (10, 20) + (30, 40)
    }
}

INSTANTIATE_TEST_SUITE_P(Operations, MetafileBltTest,
                         testing::Values(BltCase{"brush", 0xF00021, 0xFF0000},
                                         BltCase{"black", 0x42, 0x000000},
                                         BltCase{"white", 0xFF0062, 0xFFFFFF},
                                         BltCase{"invert the page", 0x550009, std::nullopt}));

// ---------------------------------------------------------------------------------------------
// Blending and transparent blocks

struct BlendCase {
    const char* Name;
    std::uint32_t Type;             // 114 alpha blend, 116 transparent block
    std::uint32_t Blend;            // the blending, or the colour that stays clear
    std::vector<std::uint8_t> Bits; // one row of 32-bit pixels, blue green red alpha
    std::vector<std::uint32_t> Expected;
};

class MetafileBlendTest : public testing::TestWithParam<BlendCase> {};

TEST_P(MetafileBlendTest, ClearPartsOfTheBitmapStayClear) {
    const BlendCase& c = GetParam();
    const auto width = static_cast<std::int32_t>(c.Bits.size() / 4);
    Bytes info;
    info.U32(40).I32(width).I32(1).U16(1).U16(32).U32(0).U32(0).I32(0).I32(0).U32(0).U32(0);
    Bytes record;
    record.I32(0).I32(0).I32(0).I32(0).I32(10).I32(10).I32(100).I32(50).U32(c.Blend).I32(0).I32(0);
    for (int i = 0; i < 6; ++i)
        record.F32(i == 0 || i == 3 ? 1.0f : 0.0f);
    record.U32(0).U32(0).U32(108).U32(static_cast<std::uint32_t>(info.Size()));
    record.U32(static_cast<std::uint32_t>(108 + info.Size()))
        .U32(static_cast<std::uint32_t>(c.Bits.size()));
    record.I32(width).I32(1).Raw(info.Data()).Raw(c.Bits);
    Recorder sink;
    EXPECT_TRUE(PlayMetafile(Emf().Record(c.Type, record).Build(), sink)) << c.Name;
    ASSERT_EQ(sink.Bitmaps.size(), 1u) << c.Name;
    EXPECT_EQ(sink.Bitmaps[0].Pixels, c.Expected) << c.Name;
    EXPECT_EQ(sink.Bitmaps[0].BottomLeft, (MetafilePoint{10, 60}));
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, MetafileBlendTest,
    testing::Values(
        // Half-covered red, premultiplied in the file: red at half alpha.
        BlendCase{"source alpha", 114, 0x01FF0000, {0, 0, 0x80, 0x80}, {0x80FF0000}},
        BlendCase{"constant alpha", 114, 0x00800000, {0, 0, 0xFF, 0}, {0x80FF0000}},
        BlendCase{"clear colour",
                  116,
                  0x00FFFFFF,
                  {0, 0, 0xFF, 0, 0xFF, 0xFF, 0xFF, 0},
                  {0xFFFF0000, 0x00000000}}));

// ---------------------------------------------------------------------------------------------
// Text

Bytes FontPayload(std::uint32_t index, std::int32_t height, std::int32_t escapement,
                  const std::u16string& face) {
    Bytes font;
    font.U32(index).I32(height).I32(0).I32(escapement).I32(escapement).I32(700);
    font.U8(0).U8(0).U8(0).U8(128).U8(0).U8(0).U8(0).U8(0);
    for (std::size_t i = 0; i < 32; ++i)
        font.U16(i < face.size() ? face[i] : 0);
    return font;
}

Bytes TextPayload(std::int32_t x, std::int32_t y, const std::u16string& text) {
    Bytes t;
    t.I32(0).I32(0).I32(0).I32(0).U32(1).F32(0).F32(0);
    t.I32(x).I32(y).U32(static_cast<std::uint32_t>(text.size())).U32(76).U32(0);
    t.I32(0).I32(0).I32(0).I32(0).U32(0);
    for (const char16_t unit : text)
        t.U16(unit);
    return t;
}

struct AlignCase {
    const char* Name;
    std::uint32_t Align;
    std::uint32_t MapMode;
    std::int32_t Escapement;
    MetafileText::HAlign Horizontal;
    MetafileText::VAlign Vertical;
    MetafilePoint XAxis; // direction of the baseline, per logical unit
};

class MetafileTextAlignTest : public testing::TestWithParam<AlignCase> {};

TEST_P(MetafileTextAlignTest, AlignmentAndTurnReachTheSink) {
    const AlignCase& c = GetParam();
    Recorder sink;
    EXPECT_TRUE(
        PlayMetafile(Emf()
                         .Record(kSetMapMode, Bytes().U32(c.MapMode))
                         .Record(kCreateFontW, FontPayload(1, -40, c.Escapement, u"IPAMincho"))
                         .Record(kSelectObject, Bytes().U32(1))
                         .Record(kSetTextAlign, Bytes().U32(c.Align))
                         .Record(kExtTextOutW, TextPayload(100, -100, u"寺"))
                         .Build(),
                     sink));
    ASSERT_EQ(sink.Texts.size(), 1u);
    const MetafileText& text = sink.Texts[0];
    EXPECT_EQ(text.Horizontal, c.Horizontal) << c.Name;
    EXPECT_EQ(text.Vertical, c.Vertical) << c.Name;
    EXPECT_NEAR(text.XAxis.X, c.XAxis.X, 1e-9) << c.Name;
    EXPECT_NEAR(text.XAxis.Y, c.XAxis.Y, 1e-9) << c.Name;
    // Letters stand upright (or turned with the baseline), never mirrored.
    EXPECT_GT(text.XAxis.X * text.YAxis.Y - text.XAxis.Y * text.YAxis.X, 0) << c.Name;
    EXPECT_EQ(text.Font.Weight, 700);
}

constexpr std::uint32_t kText = 1, kLoMetric = 2;

INSTANTIATE_TEST_SUITE_P(
    Cases, MetafileTextAlignTest,
    testing::Values(
        AlignCase{
            "left top", 0, kText, 0, MetafileText::HAlign::Left, MetafileText::VAlign::Top, {1, 0}},
        AlignCase{"right bottom",
                  2 | 8,
                  kText,
                  0,
                  MetafileText::HAlign::Right,
                  MetafileText::VAlign::Bottom,
                  {1, 0}},
        AlignCase{"centre baseline",
                  6 | 24,
                  kText,
                  0,
                  MetafileText::HAlign::Center,
                  MetafileText::VAlign::Baseline,
                  {1, 0}},
        // A quarter turn counter-clockwise: the baseline runs up the page.
        AlignCase{"turned",
                  0,
                  kText,
                  900,
                  MetafileText::HAlign::Left,
                  MetafileText::VAlign::Top,
                  {0, -1}},
        // 0.1 mm units with y up, at 10 pixels a millimetre: upright all the same.
        AlignCase{"y up",
                  0,
                  kLoMetric,
                  0,
                  MetafileText::HAlign::Left,
                  MetafileText::VAlign::Top,
                  {1, 0}}));

struct CodePageCase {
    const char* Name;
    std::uint8_t Charset;
    std::vector<std::uint8_t> Bytes;
    std::u16string Text;
};

class MetafileCodePageTest : public testing::TestWithParam<CodePageCase> {};

TEST_P(MetafileCodePageTest, WmfTextIsReadInItsFontsCodePage) {
    const CodePageCase& c = GetParam();
    Bytes font;
    font.I16(-100)
        .I16(0)
        .I16(0)
        .I16(0)
        .I16(400)
        .U8(0)
        .U8(0)
        .U8(0)
        .U8(c.Charset)
        .U8(0)
        .U8(0)
        .U8(0)
        .U8(0);
    font.Raw({'A', 'r', 'i', 'a', 'l', 0});
    Bytes text;
    text.I16(static_cast<std::int16_t>(c.Bytes.size())).Raw(c.Bytes).Pad(2).I16(10).I16(20);
    Recorder sink;
    EXPECT_TRUE(PlayMetafile(
        Wmf().Record(0x02FB, font).Record(0x012D, Bytes().U16(0)).Record(0x0521, text).Build(),
        sink));
    ASSERT_EQ(sink.Texts.size(), 1u) << c.Name;
    EXPECT_EQ(sink.Texts[0].Text, c.Text) << c.Name;
    EXPECT_EQ(sink.Texts[0].Font.Face, u"Arial");
    EXPECT_EQ(sink.Texts[0].Origin, (MetafilePoint{20, 10}));
}

INSTANTIATE_TEST_SUITE_P(
    Charsets, MetafileCodePageTest,
    testing::Values(CodePageCase{"Japanese", 128, {0x8E, 0x9B, 0x41}, u"寺A"},
                    CodePageCase{"default on a Japanese system", 1, {0x88, 0xF3}, u"印"},
                    CodePageCase{"Western", 0, {0x80, 0xE9}, u"€é"},
                    // A lead byte at the end stands for no character.
                    CodePageCase{"broken pair", 128, {0x41, 0x8E}, u"A\uFFFD"}));

// ---------------------------------------------------------------------------------------------
// Arcs

struct ArcCase {
    const char* Name;
    std::uint32_t Direction; // 1 counter-clockwise, 2 clockwise
    MetafilePoint Through;   // a point of the ellipse the arc passes
};

class MetafileArcTest : public testing::TestWithParam<ArcCase> {};

TEST_P(MetafileArcTest, ArcGoesTheWayTheDirectionSays) {
    const ArcCase& c = GetParam();
    Recorder sink;
    // The circle (0, 0)-(200, 200) from its right point (200, 100) to its left (0, 100).
    EXPECT_TRUE(PlayMetafile(
        Emf()
            .Record(kSetArcDirection, Bytes().U32(c.Direction))
            .Record(kArc, RectPayload(0, 0, 200, 200).I32(200).I32(100).I32(0).I32(100))
            .Build(),
        sink));
    ASSERT_EQ(sink.Paths.size(), 1u);
    const std::vector<MetafilePoint>& points = sink.Paths[0].Shape.Points;
    EXPECT_FALSE(sink.Paths[0].Brush.has_value()); // an arc is only outlined
    const bool passes = std::any_of(points.begin(), points.end(), [&](const MetafilePoint& p) {
        return std::abs(p.X - c.Through.X) < 1e-6 && std::abs(p.Y - c.Through.Y) < 1e-6;
    });
    EXPECT_TRUE(passes) << c.Name;
    EXPECT_NEAR(points.back().X, 0, 1e-6);
    EXPECT_NEAR(points.back().Y, 100, 1e-6);
}

INSTANTIATE_TEST_SUITE_P(Directions, MetafileArcTest,
                         testing::Values(ArcCase{"counter-clockwise, over the top", 1, {100, 0}},
                                         ArcCase{"clockwise, under the bottom", 2, {100, 200}}));

// ---------------------------------------------------------------------------------------------
// Clips and regions

Bytes Region(const std::vector<std::array<std::int32_t, 4>>& rects) {
    Bytes region;
    region.U32(32)
        .U32(1)
        .U32(static_cast<std::uint32_t>(rects.size()))
        .U32(static_cast<std::uint32_t>(rects.size() * 16));
    region.I32(0).I32(0).I32(0).I32(0);
    for (const auto& r : rects)
        region.I32(r[0]).I32(r[1]).I32(r[2]).I32(r[3]);
    return region;
}

TEST(MetafileClip, RegionOfTwoRectanglesReplacesTheClip) {
    const Bytes region = Region({{0, 0, 10, 10}, {20, 20, 30, 30}});
    Recorder sink;
    EXPECT_TRUE(PlayMetafile(
        Emf()
            .Record(kIntersectClipRect, RectPayload(0, 0, 500, 500))
            .Record(
                kExtSelectClipRgn,
                Bytes().U32(static_cast<std::uint32_t>(region.Size())).U32(5).Raw(region.Data()))
            .Build(),
        sink));
    ASSERT_EQ(sink.Clips.size(), 2u);
    ASSERT_EQ(sink.Clips[1].size(), 1u); // the copy dropped the rectangle before it
    EXPECT_EQ(sink.Clips[1][0].Mode, MetafileClipStep::Combine::Replace);
    const MetafilePath& area = sink.Clips[1][0].Area;
    EXPECT_EQ(std::count(area.Ops.begin(), area.Ops.end(), MetafilePath::Op::MoveTo), 2);
    EXPECT_EQ(area.Points[4], (MetafilePoint{20, 20}));
}

TEST(MetafileClip, RegionCountBeyondItsBytesEndsThePlayback) {
    Bytes lying;
    lying.U32(32).U32(1).U32(1000).U32(16000).I32(0).I32(0).I32(0).I32(0).I32(0).I32(0).I32(5).I32(
        5);
    Recorder sink;
    EXPECT_FALSE(PlayMetafile(
        Emf()
            .Record(kExtSelectClipRgn,
                    Bytes().U32(static_cast<std::uint32_t>(lying.Size())).U32(5).Raw(lying.Data()))
            .Build(),
        sink));
    EXPECT_TRUE(sink.Clips.empty());
}

struct ClipLimitCase {
    std::size_t Steps;
    bool Played;
};

class MetafileClipLimitTest : public testing::TestWithParam<ClipLimitCase> {};

TEST_P(MetafileClipLimitTest, ClipStepsAreBounded) {
    Emf emf;
    for (std::size_t i = 0; i < GetParam().Steps; ++i)
        emf.Record(kIntersectClipRect, RectPayload(0, 0, 900, 900));
    Recorder sink;
    EXPECT_EQ(PlayMetafile(emf.Build(), sink), GetParam().Played);
    EXPECT_LE(sink.Clips.back().size(), kMaxMetafileClipSteps);
}

INSTANTIATE_TEST_SUITE_P(Limits, MetafileClipLimitTest,
                         testing::Values(ClipLimitCase{kMaxMetafileClipSteps, true},
                                         ClipLimitCase{kMaxMetafileClipSteps + 1, false}));

TEST(MetafileClip, WmfRegionObjectBecomesTheClip) {
    // One scan from y 10 to 20 with the span x 30..40.
    Bytes region;
    region.U16(0).I16(6).I32(0).I16(0).I16(1).I16(0).I16(30).I16(10).I16(40).I16(20);
    region.U16(2).U16(10).U16(20).U16(30).U16(40).U16(2);
    Recorder sink;
    EXPECT_TRUE(
        PlayMetafile(Wmf().Record(0x06FF, region).Record(0x012C, Bytes().U16(0)).Build(), sink));
    ASSERT_EQ(sink.Clips.size(), 1u);
    ASSERT_EQ(sink.Clips[0].size(), 1u);
    EXPECT_EQ(sink.Clips[0][0].Area.Points[0], (MetafilePoint{30, 10}));
    EXPECT_EQ(sink.Clips[0][0].Area.Points[2], (MetafilePoint{40, 20}));
}

// ---------------------------------------------------------------------------------------------
// The object table and the world transform

TEST(MetafileObjects, DeletedBrushNoLongerSelectsButTheSelectedOneStays) {
    Recorder sink;
    EXPECT_TRUE(
        PlayMetafile(Emf()
                         .Record(kCreateBrush, Bytes().U32(1).U32(0).U32(0x0000FF).U32(0))
                         .Record(kSelectObject, Bytes().U32(1))
                         .Record(kDeleteObject, Bytes().U32(1))
                         .Record(kRectangle, RectPayload(0, 0, 10, 10))
                         .Record(kSelectObject, Bytes().U32(0x80000000u | 5)) // the null brush
                         .Record(kRectangle, RectPayload(0, 0, 10, 10))
                         .Record(kSelectObject, Bytes().U32(1)) // deleted: no change
                         .Record(kRectangle, RectPayload(0, 0, 10, 10))
                         .Build(),
                     sink));
    ASSERT_EQ(sink.Paths.size(), 3u);
    ASSERT_TRUE(sink.Paths[0].Brush.has_value());
    EXPECT_EQ(sink.Paths[0].Brush->Color, 0xFF0000u);
    EXPECT_FALSE(sink.Paths[1].Brush.has_value());
    EXPECT_FALSE(sink.Paths[2].Brush.has_value());
}

TEST(MetafileObjects, WmfObjectsTakeTheLowestFreeSlot) {
    const auto brush = [](std::uint32_t colorRef) { return Bytes().U16(0).U32(colorRef).U16(0); };
    Recorder sink;
    EXPECT_TRUE(PlayMetafile(Wmf()
                                 .Record(0x02FC, brush(0x0000FF)) // slot 0: red
                                 .Record(0x02FC, brush(0x00FF00)) // slot 1: green
                                 .Record(0x01F0, Bytes().U16(0))  // slot 0 free again
                                 .Record(0x02FC, brush(0xFF0000)) // slot 0: blue
                                 .Record(0x012D, Bytes().U16(0))
                                 .Record(0x041B, Bytes().I16(10).I16(10).I16(0).I16(0))
                                 .Record(0x012D, Bytes().U16(1))
                                 .Record(0x041B, Bytes().I16(10).I16(10).I16(0).I16(0))
                                 .Build(),
                             sink));
    ASSERT_EQ(sink.Paths.size(), 2u);
    EXPECT_EQ(sink.Paths[0].Brush->Color, 0x0000FFu);
    EXPECT_EQ(sink.Paths[1].Brush->Color, 0x00FF00u);
}

struct TransformCase {
    const char* Name;
    std::uint32_t Mode;   // 2 left multiply, 3 right multiply, 4 set, 1 identity
    MetafilePoint Corner; // where logical (10, 0) lands
};

class MetafileWorldTest : public testing::TestWithParam<TransformCase> {};

TEST_P(MetafileWorldTest, ModifyWorldTransformComposesAsItsModeSays) {
    const TransformCase& c = GetParam();
    // First a scale by 2, then the record's move by (100, 0) in the given mode.
    const auto xform = [](float m11, float m22, float dx, std::uint32_t mode) {
        return Bytes().F32(m11).F32(0).F32(0).F32(m22).F32(dx).F32(0).U32(mode);
    };
    Recorder sink;
    EXPECT_TRUE(PlayMetafile(Emf()
                                 .Record(kModifyWorldTransform, xform(2, 2, 0, 4))
                                 .Record(kModifyWorldTransform, xform(1, 1, 100, c.Mode))
                                 .Record(kRectangle, RectPayload(0, 0, 10, 10))
                                 .Build(),
                             sink));
    ASSERT_EQ(sink.Paths.size(), 1u);
    EXPECT_EQ(sink.Paths[0].Shape.Points[1], c.Corner) << c.Name;
}

INSTANTIATE_TEST_SUITE_P(Modes, MetafileWorldTest,
                         testing::Values(
                             // Left: the move first, then the scale: (10 + 100) * 2.
                             TransformCase{"left", 2, {220, 0}},
                             // Right: the scale first, then the move: 10 * 2 + 100.
                             TransformCase{"right", 3, {120, 0}}, TransformCase{"set", 4, {110, 0}},
                             TransformCase{"identity", 1, {10, 0}}));

TEST(MetafileSinkStop, ExhaustedSinkEndsThePlayback) {
    Emf emf;
    for (int i = 0; i < 10; ++i)
        emf.Record(kRectangle, RectPayload(0, 0, 10, 10));
    Recorder sink;
    sink.StopAfter = 3;
    EXPECT_FALSE(PlayMetafile(emf.Build(), sink));
    EXPECT_EQ(sink.Paths.size(), 3u);
}

} // namespace
} // namespace ulvan
