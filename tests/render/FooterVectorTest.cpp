// Vector footer pictures (enhanced and Windows metafiles, drawings): the same crest as a
// bitmap and as a vector picture lands in the same rectangle the same way up on the page, the
// preview and the editor, and in the picture dialog's preview; a PDF keeps it as paths; a file
// that cannot be drawn gives the one load message.
#include "CanvasTestSupport.h"

#include "calendar/TextUtil.h"
#include "footer/FooterRenderer.h"
#include "sheet/QtText.h"
#include "tests/support/VectorCrest.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPdfWriter>
#include <QPolygonF>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace ulvan {
namespace {

using Kind = CanvasCall::Kind;

class RecordingSink final : public MessageSink {
public:
    void ShowMessage(std::u16string_view text) override { Events.emplace_back(text); }
    void Beep(BeepKind) override { Events.emplace_back(u"<beep>"); }
    std::vector<std::u16string> Events;
};

FooterFrame PictureFrame(std::u16string_view kind, const QString& path) {
    FooterFrame frame;
    frame.Left = u"1000";
    frame.Top = u"1200";
    frame.Right = u"9000";
    frame.Bottom = u"2600";
    frame.FontHeight = u"500";
    frame.Spacing = u"100";
    frame.FontFace = u"ＭＳ 明朝";
    frame.Kind = kind;
    frame.Content = ToU16(path);
    return frame;
}

FooterLayout OnePicture(std::u16string_view kind, const QString& path) {
    FooterLayout layout;
    layout.Append(PictureFrame(kind, path));
    return layout;
}

// An editor, a preview and a page at 150 dpi (small enough to paint whole in a test).
const FooterTarget kEditor = FooterTarget::Editor(200, 744);
const FooterTarget kPreview = FooterTarget::Preview(1123, 794);
const FooterTarget kPage = FooterTarget::Page(1240, 1754, 0, 0);

QString Write(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    EXPECT_EQ(file.write(bytes), bytes.size());
    return path;
}

enum class Format { Emf, Wmf, Svg };

const char* NameOf(Format format) {
    switch (format) {
    case Format::Emf:
        return "emf";
    case Format::Wmf:
        return "wmf";
    case Format::Svg:
        return "svg";
    }
    return "";
}

// The crest written in `format` (and as a bitmap under "crest.bmp") in `dir`.
QString WriteCrest(const QTemporaryDir& dir, Format format, const test::Crest& crest) {
    switch (format) {
    case Format::Emf:
        return Write(dir, QStringLiteral("crest.emf"), test::CrestEmf(crest));
    case Format::Wmf:
        return Write(dir, QStringLiteral("crest.wmf"), test::CrestWmf(crest));
    case Format::Svg:
        return Write(dir, QStringLiteral("crest.svg"), test::CrestSvg(crest));
    }
    return {};
}

QString WriteBitmap(const QTemporaryDir& dir, const test::Crest& crest) {
    const QString path = dir.filePath(QStringLiteral("crest.bmp"));
    EXPECT_TRUE(test::CrestImage(crest).save(path, "BMP"));
    return path;
}

QImage Paint(const FooterTarget& target, const FooterLayout& layout,
             RecordingSink* sink = nullptr) {
    QImage image = test::WhiteImage(target.Width, target.Height);
    QPainter painter(&image);
    QPainterCanvas canvas(painter);
    FooterDrawRequest request(sink);
    DrawFooter(canvas, target, layout, request);
    painter.end();
    return image;
}

std::vector<CanvasCall> Record(const FooterTarget& target, const FooterLayout& layout) {
    RecordingCanvas canvas;
    FooterDrawRequest request;
    DrawFooter(canvas, target, layout, request);
    return canvas.CallsOf(Kind::Picture);
}

// Pixels dark in one image and not in the other.
std::int64_t InkDifference(const QImage& a, const QImage& b) {
    std::int64_t differing = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            differing += test::IsInk(a.pixel(x, y)) != test::IsInk(b.pixel(x, y)) ? 1 : 0;
        }
    }
    return differing;
}

std::int64_t InkCount(const QImage& image) {
    return InkDifference(image, test::WhiteImage(image.width(), image.height()));
}

// Two paintings of the crest agree when their dark pixels span the same box (to a pixel, the
// bitmap's edge pixels being rounded where the vectors are not) and at most the pixels along
// the shapes' edges differ.
void ExpectSameInk(const QImage& bitmap, const QImage& vector) {
    ASSERT_EQ(bitmap.size(), vector.size());
    const QRect a = test::InkBounds(bitmap, bitmap.rect());
    const QRect b = test::InkBounds(vector, vector.rect());
    ASSERT_FALSE(a.isNull());
    ASSERT_FALSE(b.isNull());
    EXPECT_NEAR(a.left(), b.left(), 1);
    EXPECT_NEAR(a.top(), b.top(), 1);
    EXPECT_NEAR(a.right(), b.right(), 1);
    EXPECT_NEAR(a.bottom(), b.bottom(), 1);
    const std::int64_t ink = InkCount(bitmap);
    const std::int64_t edges = 2 * (a.width() + a.height()) * 3;
    EXPECT_LE(InkDifference(bitmap, vector), std::max<std::int64_t>(edges, ink / 10))
        << "of " << ink << " dark pixels";
}

// ---- one crest, every format, every target --------------------------------------------------

struct SameWayCase {
    const char* Name;
    Format Vector;
    FooterTarget Target;
    std::u16string_view FrameKind;
};

void PrintTo(const SameWayCase& c, std::ostream* os) {
    *os << c.Name;
}

class FooterVectorCrest : public testing::TestWithParam<SameWayCase> {};

TEST_P(FooterVectorCrest, LandsInTheBitmapsRectangle) {
    test::EnsureGuiApplication();
    const SameWayCase& c = GetParam();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const test::Crest crest = test::LopsidedCrest();
    const auto bitmap = Record(c.Target, OnePicture(c.FrameKind, WriteBitmap(dir, crest)));
    const auto vector = Record(c.Target, OnePicture(c.FrameKind, WriteCrest(dir, c.Vector, crest)));
    ASSERT_EQ(bitmap.size(), 1U);
    ASSERT_EQ(vector.size(), 1U);
    EXPECT_EQ(QRect(QPoint(vector[0].X1, vector[0].Y1), QPoint(vector[0].X2, vector[0].Y2)),
              QRect(QPoint(bitmap[0].X1, bitmap[0].Y1), QPoint(bitmap[0].X2, bitmap[0].Y2)));
}

TEST_P(FooterVectorCrest, PaintsTheBitmapsPixelsTheSameWayUp) {
    test::EnsureGuiApplication();
    const SameWayCase& c = GetParam();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const test::Crest crest = test::LopsidedCrest();
    RecordingSink sink;
    const QImage bitmap = Paint(c.Target, OnePicture(c.FrameKind, WriteBitmap(dir, crest)), &sink);
    const QImage vector =
        Paint(c.Target, OnePicture(c.FrameKind, WriteCrest(dir, c.Vector, crest)), &sink);
    EXPECT_TRUE(sink.Events.empty());
    ExpectSameInk(bitmap, vector);
}

INSTANTIATE_TEST_SUITE_P(
    Targets, FooterVectorCrest,
    testing::Values(
        SameWayCase{"emf_page_fixed", Format::Emf, kPage, kFooterPictureFixed},
        SameWayCase{"emf_page_stretched", Format::Emf, kPage, kFooterPictureStretch},
        SameWayCase{"emf_preview_fixed", Format::Emf, kPreview, kFooterPictureFixed},
        SameWayCase{"emf_editor_stretched", Format::Emf, kEditor, kFooterPictureStretch},
        SameWayCase{"wmf_page_fixed", Format::Wmf, kPage, kFooterPictureFixed},
        SameWayCase{"wmf_preview_stretched", Format::Wmf, kPreview, kFooterPictureStretch},
        SameWayCase{"wmf_editor_fixed", Format::Wmf, kEditor, kFooterPictureFixed},
        SameWayCase{"svg_page_fixed", Format::Svg, kPage, kFooterPictureFixed},
        SameWayCase{"svg_page_stretched", Format::Svg, kPage, kFooterPictureStretch},
        SameWayCase{"svg_preview_fixed", Format::Svg, kPreview, kFooterPictureFixed},
        SameWayCase{"svg_editor_fixed", Format::Svg, kEditor, kFooterPictureFixed},
        SameWayCase{"svg_editor_stretched", Format::Svg, kEditor, kFooterPictureStretch}),
    [](const auto& row) { return std::string(row.param.Name); });

// Whether the crest covers its own point (u, v), and no shape edge lies within `margin`.
std::optional<bool> CrestCovers(const test::Crest& crest, QPointF p, double margin) {
    std::optional<bool> covered;
    for (const QPointF d : {QPointF(0, 0), QPointF(margin, 0), QPointF(-margin, 0),
                            QPointF(0, margin), QPointF(0, -margin)}) {
        bool inside = false;
        for (const test::CrestShape& shape : crest.Shapes) {
            inside = inside || QPolygonF(shape.Outline).containsPoint(p + d, Qt::OddEvenFill);
        }
        if (covered && *covered != inside) {
            return std::nullopt;
        }
        covered = inside;
    }
    return covered;
}

// On the page the picture stands turned a quarter turn counter-clockwise: its own point (u, v)
// lies at (left + v / ph x width, bottom - u / pw x height) of its rectangle. Checked on a
// grid of points clear of the shapes' edges, so that a turn the other way, a mirror image or
// no turn at all shows.
TEST(FooterVectorTurn, PageHoldsThePictureTurnedCounterClockwise) {
    test::EnsureGuiApplication();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const test::Crest crest = test::LopsidedCrest();
    for (const Format format : {Format::Emf, Format::Wmf, Format::Svg}) {
        const FooterLayout layout =
            OnePicture(kFooterPictureStretch, WriteCrest(dir, format, crest));
        const auto calls = Record(kPage, layout);
        ASSERT_EQ(calls.size(), 1U) << NameOf(format);
        const QRectF box(QPointF(calls[0].X1, calls[0].Y1), QPointF(calls[0].X2, calls[0].Y2));
        const QImage image = Paint(kPage, layout);
        const double pw = crest.Size.width();
        const double ph = crest.Size.height();
        int checked = 0;
        for (int i = 0; i < 24; ++i) {
            for (int j = 0; j < 24; ++j) {
                const QPointF at(box.left() + (i + 0.5) * box.width() / 24,
                                 box.top() + (j + 0.5) * box.height() / 24);
                const QPointF own((box.bottom() - at.y()) / box.height() * pw,
                                  (at.x() - box.left()) / box.width() * ph);
                const std::optional<bool> covered = CrestCovers(crest, own, 3);
                if (!covered) {
                    continue;
                }
                ++checked;
                EXPECT_EQ(test::IsInk(image.pixel(at.toPoint())), *covered)
                    << NameOf(format) << " at " << own.x() << ", " << own.y();
            }
        }
        EXPECT_GT(checked, 24 * 24 / 2);
    }
}

// ---- the picture dialog's preview -----------------------------------------------------------

struct DialogCase {
    const char* Name;
    Format Vector;
    int Side;
};

void PrintTo(const DialogCase& c, std::ostream* os) {
    *os << c.Name;
}

class FooterVectorDialogPreview : public testing::TestWithParam<DialogCase> {};

TEST_P(FooterVectorDialogPreview, ShowsTheBitmapsPicture) {
    test::EnsureGuiApplication();
    const DialogCase& c = GetParam();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const test::Crest crest = test::LopsidedCrest();
    const QImage bitmap = FooterPicturePreview(WriteBitmap(dir, crest), c.Side);
    const QImage vector = FooterPicturePreview(WriteCrest(dir, c.Vector, crest), c.Side);
    ASSERT_FALSE(vector.isNull());
    ASSERT_EQ(vector.size(), bitmap.size());
    // Both on white, as the dialog shows them.
    QImage a = test::WhiteImage(bitmap.width(), bitmap.height());
    QImage b = a;
    QPainter(&a).drawImage(0, 0, bitmap);
    QPainter(&b).drawImage(0, 0, vector);
    ExpectSameInk(a, b);
}

INSTANTIATE_TEST_SUITE_P(Formats, FooterVectorDialogPreview,
                         testing::Values(DialogCase{"emf", Format::Emf, 96},
                                         DialogCase{"wmf", Format::Wmf, 120},
                                         DialogCase{"svg", Format::Svg, 96},
                                         DialogCase{"svg_own_size", Format::Svg, 192}),
                         [](const auto& row) { return std::string(row.param.Name); });

TEST(FooterVectorDialogPreview, SmallVectorPictureFillsTheSquare) {
    test::EnsureGuiApplication();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const test::Crest crest = test::LopsidedCrest();
    const int side = crest.Size.width() * 2;
    EXPECT_EQ(FooterPicturePreview(WriteCrest(dir, Format::Svg, crest), side).size(),
              crest.Size * 2);
    // A bitmap is never enlarged.
    EXPECT_EQ(FooterPicturePreview(WriteBitmap(dir, crest), side).size(), crest.Size);
}

// ---- the picture's own size -----------------------------------------------------------------

TEST(FooterVectorSize, OwnSizeIsTheHeadersSize) {
    test::EnsureGuiApplication();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const test::Crest crest = test::LopsidedCrest();
    for (const Format format : {Format::Emf, Format::Wmf, Format::Svg}) {
        const auto source = OpenFooterPicture(WriteCrest(dir, format, crest));
        ASSERT_NE(source, nullptr) << NameOf(format);
        EXPECT_EQ(source->Size(), crest.Size) << NameOf(format);
        EXPECT_TRUE(source->Scalable());
    }
}

// ---- the budget and the cache ---------------------------------------------------------------

TEST(FooterVectorBudget, CostsAtLeastItsFileAtAnySize) {
    test::EnsureGuiApplication();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const test::Crest crest = test::LatticeCrest();
    for (const Format format : {Format::Emf, Format::Wmf, Format::Svg}) {
        const QString path = WriteCrest(dir, format, crest);
        const auto source = OpenFooterPicture(path);
        ASSERT_NE(source, nullptr) << NameOf(format);
        const std::int64_t file = QFileInfo(path).size();
        EXPECT_GE(source->Cost(QSize(10, 10), false), file);
        EXPECT_EQ(source->Cost(QSize(10, 10), false), source->Cost(QSize(5000, 3000), true));
        const auto picture = source->Prepare(QSize(5000, 3000), true);
        ASSERT_NE(picture, nullptr);
        EXPECT_GE(picture->HeldBytes(), file);
        EXPECT_LE(picture->HeldBytes(), source->Cost(QSize(5000, 3000), true));
    }
}

TEST(FooterVectorBudget, OverBudgetIsReportedButNotMarkedUnreadable) {
    test::EnsureGuiApplication();
    ForgetUnreadablePictures();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = WriteCrest(dir, Format::Svg, test::LatticeCrest());
    const FooterLayout layout = OnePicture(kFooterPictureFixed, path);
    RecordingSink sink;
    RecordingCanvas canvas;
    FooterDrawRequest request(&sink, QFileInfo(path).size() - 1);
    DrawFooter(canvas, kPage, layout, request);
    EXPECT_TRUE(canvas.CallsOf(Kind::Picture).empty());
    EXPECT_EQ(sink.Events,
              (std::vector<std::u16string>{u"<beep>", std::u16string(kFooterLoadFailedMessage)}));
    EXPECT_FALSE(IsPictureMarkedUnreadable(path));
}

// ---- what cannot be drawn -------------------------------------------------------------------

QByteArray Svg(const QByteArray& body, const QByteArray& head = {}) {
    return head +
           "<svg xmlns=\"http://www.w3.org/2000/svg\" "
           "xmlns:xlink=\"http://www.w3.org/1999/xlink\" width=\"40\" height=\"20\">" +
           body + "</svg>";
}

QByteArray Nested(int depth) {
    QByteArray body;
    for (int i = 0; i < depth; ++i) {
        body += "<g>";
    }
    body += "<rect width=\"4\" height=\"4\"/>";
    for (int i = 0; i < depth; ++i) {
        body += "</g>";
    }
    return Svg(body);
}

// Ten uses of the level below, eight levels deep: 10^8 rectangles from a few hundred bytes.
QByteArray UseBomb() {
    QByteArray body = "<defs><rect id=\"l0\" width=\"1\" height=\"1\"/>";
    for (int level = 1; level <= 8; ++level) {
        body += "<g id=\"l" + QByteArray::number(level) + "\">";
        for (int i = 0; i < 10; ++i) {
            body += "<use xlink:href=\"#l" + QByteArray::number(level - 1) + "\"/>";
        }
        body += "</g>";
    }
    return Svg(body + "</defs><use xlink:href=\"#l8\"/>");
}

QByteArray EmbeddedPng(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::black);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return Svg("<image width=\"40\" height=\"20\" xlink:href=\"data:image/png;base64," +
               png.toBase64() + "\"/>");
}

QByteArray Gzipped(const QByteArray& bytes) {
    // A gzip member around a stored deflate block: what a compressed drawing starts with.
    QByteArray out("\x1f\x8b\x08\x00\x00\x00\x00\x00\x00\x03", 10);
    return out + bytes;
}

struct UnreadableCase {
    const char* Name;
    const char* FileName;
    QByteArray Bytes;
};

QByteArray Truncated(const QByteArray& bytes, qsizetype size) {
    return bytes.left(size);
}

void PrintTo(const UnreadableCase& c, std::ostream* os) {
    *os << c.Name;
}

class FooterVectorUnreadable : public testing::TestWithParam<UnreadableCase> {};

TEST_P(FooterVectorUnreadable, GivesTheOneLoadMessage) {
    test::EnsureGuiApplication();
    ForgetUnreadablePictures();
    const UnreadableCase& c = GetParam();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QString::fromUtf8(c.FileName));
    if (!c.Bytes.isNull()) {
        Write(dir, QString::fromUtf8(c.FileName), c.Bytes);
    }
    EXPECT_EQ(OpenFooterPicture(path), nullptr);
    EXPECT_TRUE(FooterPicturePreview(path, 200).isNull());
    // Two frames naming it on the page: one beep, one message naming both frames.
    FooterLayout layout = OnePicture(kFooterPictureFixed, path);
    layout.Append(PictureFrame(kFooterPictureStretch, path));
    RecordingSink sink;
    RecordingCanvas canvas;
    FooterDrawRequest request(&sink);
    DrawFooter(canvas, kPage, layout, request);
    EXPECT_TRUE(canvas.CallsOf(Kind::Picture).empty());
    EXPECT_EQ(sink.Events, (std::vector<std::u16string>{
                               u"<beep>", FooterMessageWithCount(kFooterLoadFailedMessage, 2)}));
    EXPECT_TRUE(IsPictureMarkedUnreadable(path));
}

INSTANTIATE_TEST_SUITE_P(
    Files, FooterVectorUnreadable,
    testing::Values(
        UnreadableCase{"missing_emf", "gone.emf", QByteArray()},
        UnreadableCase{"empty_wmf", "empty.wmf", QByteArray("")},
        UnreadableCase{"bitmap_named_emf", "crest.emf",
                       QByteArray("BM\x3a\0\0\0\0\0\0\0\x36\0\0\0", 14)},
        UnreadableCase{"emf_header_cut", "cut.emf",
                       Truncated(test::CrestEmf(test::LopsidedCrest()), 60)},
        UnreadableCase{"wmf_named_emf", "seal.emf", test::CrestWmf(test::LopsidedCrest())},
        UnreadableCase{"emf_named_wmf", "seal.wmf", test::CrestEmf(test::LopsidedCrest())},
        UnreadableCase{"svg_not_xml", "logo.svg", QByteArray("<svg><g></svg>")},
        UnreadableCase{"svg_gzipped", "logo.svg", Gzipped(Svg("<rect width=\"4\" height=\"4\"/>"))},
        UnreadableCase{"svg_linked_image", "linked.svg",
                       Svg("<image width=\"4\" height=\"4\" xlink:href=\"/dev/zero\"/>")},
        UnreadableCase{"svg_linked_image_href", "linked2.svg",
                       Svg("<image width=\"4\" height=\"4\" href=\"crest.png\"/>")},
        UnreadableCase{"svg_image_beyond_limits", "huge.svg",
                       EmbeddedPng(QSize(kMaxFooterPictureSide + 1, 1))},
        UnreadableCase{"svg_use_loop", "loop.svg",
                       Svg("<g id=\"a\"><use xlink:href=\"#b\"/></g><g id=\"b\"><use "
                           "xlink:href=\"#a\"/></g>")},
        UnreadableCase{"svg_use_self", "self.svg", Svg("<g id=\"a\"><use xlink:href=\"#a\"/></g>")},
        UnreadableCase{"svg_use_bomb", "bomb.svg", UseBomb()},
        UnreadableCase{"svg_too_deep", "deep.svg", Nested(kMaxFooterSvgDepth)},
        UnreadableCase{"svg_two_roots", "roots.svg", Svg("") + Svg("")},
        UnreadableCase{"svg_no_size", "nosize.svg",
                       QByteArray("<svg xmlns=\"http://www.w3.org/2000/svg\"/>")}),
    [](const auto& row) { return std::string(row.param.Name); });

// A metafile whose second shape's record claims more bytes than the file holds: the first
// shape is drawn, the playback stops there, and the frame gets the one load message.
TEST(FooterVectorUnreadable, PlaybackThatStopsEarlyKeepsWhatItDrewAndTellsOnce) {
    test::EnsureGuiApplication();
    ForgetUnreadablePictures();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const test::Crest crest = test::LopsidedCrest();
    QByteArray bytes = test::CrestEmf(crest);
    // Header (108), the pen (12), the first shape (24 + 12 + 44 + 12), the second's brush and
    // its selection (24 + 12): then the second shape's polygon, whose size field is cut wrong.
    const qsizetype polygon = 108 + 12 + 92 + 36;
    ASSERT_EQ(static_cast<std::uint8_t>(bytes[polygon]), test::kEmrPolygon16);
    bytes[polygon + 6] = '\x7F';
    const QString path = Write(dir, QStringLiteral("cut.emf"), bytes);
    ASSERT_NE(OpenFooterPicture(path), nullptr); // the header holds
    EXPECT_TRUE(FooterPicturePreview(path, 200).isNull());

    RecordingSink sink;
    const QImage image = Paint(kPreview, OnePicture(kFooterPictureStretch, path), &sink);
    EXPECT_EQ(sink.Events,
              (std::vector<std::u16string>{u"<beep>", std::u16string(kFooterLoadFailedMessage)}));
    EXPECT_TRUE(IsPictureMarkedUnreadable(path));
    // The block (the first shape) is there, the bar along the bottom (the second) is not.
    QTemporaryDir other;
    const QImage whole =
        Paint(kPreview, OnePicture(kFooterPictureStretch, WriteCrest(other, Format::Emf, crest)));
    const QRect drawn = test::InkBounds(image, image.rect());
    const QRect full = test::InkBounds(whole, whole.rect());
    ASSERT_FALSE(drawn.isNull());
    EXPECT_EQ(drawn.topLeft(), full.topLeft());
    EXPECT_LT(drawn.width(), full.width() / 2);
    EXPECT_LT(drawn.height(), full.height() / 2);
}

// The limits hold exactly at their edge: one level less than the depth limit still draws, and
// a small embedded image is drawn.
TEST(FooterVectorLimits, DrawingsWithinTheLimitsOpen) {
    test::EnsureGuiApplication();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const auto& [name, bytes] : std::vector<std::pair<QString, QByteArray>>{
             {QStringLiteral("deep.svg"), Nested(kMaxFooterSvgDepth - 2)},
             {QStringLiteral("image.svg"), EmbeddedPng(QSize(8, 4))},
             {QStringLiteral("use.svg"),
              Svg("<defs><rect id=\"r\" width=\"4\" height=\"4\"/></defs>"
                  "<use xlink:href=\"#r\"/><use xlink:href=\"#r\" x=\"8\"/>")}}) {
        const auto source = OpenFooterPicture(Write(dir, name, bytes));
        ASSERT_NE(source, nullptr) << name.toStdString();
        EXPECT_EQ(source->Size(), QSize(40, 20));
        EXPECT_NE(source->Prepare(QSize(40, 20), false), nullptr);
    }
}

TEST(FooterVectorLimits, FilesBeyondTheSizeLimitAreNotRead) {
    test::EnsureGuiApplication();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const char* name : {"big.emf", "big.wmf", "big.svg"}) {
        // A sparse file: a valid start, then nothing up to one byte past the limit.
        const QString path =
            Write(dir, QString::fromUtf8(name),
                  QByteArray(name).endsWith("svg") ? test::CrestSvg(test::LopsidedCrest())
                                                   : test::CrestEmf(test::LopsidedCrest()));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.resize(kMaxFooterVectorFileBytes + 1));
        file.close();
        EXPECT_EQ(OpenFooterPicture(path), nullptr) << name;
    }
}

TEST(FooterVectorLimits, FifoIsRefused) {
    test::EnsureGuiApplication();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const char* name : {"pipe.emf", "pipe.wmf", "pipe.svg"}) {
        const QString path = dir.filePath(QString::fromUtf8(name));
        ASSERT_EQ(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        EXPECT_EQ(OpenFooterPicture(path), nullptr) << name;
    }
}

// ---- printed to PDF -------------------------------------------------------------------------

// The PDF of a page holding one picture frame.
QByteArray PagePdf(const QString& picture) {
    QByteArray pdf;
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(300);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter(&writer);
        QPainterCanvas canvas(painter);
        const FooterTarget page = FooterTarget::Page(writer.width(), writer.height(), 0, 0);
        FooterDrawRequest request;
        DrawFooter(canvas, page, OnePicture(kFooterPictureFixed, picture), request);
    }
    return pdf;
}

// The PDF's compressed streams, inflated.
QByteArray Contents(const QByteArray& pdf) {
    QByteArray contents;
    for (qsizetype at = pdf.indexOf("/FlateDecode"); at >= 0;
         at = pdf.indexOf("/FlateDecode", at + 1)) {
        const qsizetype begin = pdf.indexOf("stream\n", at);
        const qsizetype end = pdf.indexOf("endstream", begin);
        if (begin < 0 || end < 0) {
            break;
        }
        QByteArray zlib = pdf.mid(begin + 7, end - begin - 7);
        // qUncompress wants a guess of the inflated size first; it grows it as needed.
        const auto guess = static_cast<quint32>(zlib.size() * 8 + 1024);
        zlib.prepend(4, '\0');
        for (int i = 0; i < 4; ++i) {
            zlib[i] = static_cast<char>((guess >> (24 - 8 * i)) & 0xFF);
        }
        contents += qUncompress(zlib);
    }
    return contents;
}

TEST(FooterVectorPdf, MetafileCrestIsPathsNotAnImage) {
    test::EnsureGuiApplication();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const test::Crest crest = test::LatticeCrest();
    const QByteArray bitmapPdf = PagePdf(WriteBitmap(dir, crest));
    // The bitmap is an image: the check below can see one.
    ASSERT_TRUE(bitmapPdf.contains("/Subtype /Image"));
    for (const Format format : {Format::Emf, Format::Wmf, Format::Svg}) {
        const QByteArray pdf = PagePdf(WriteCrest(dir, format, crest));
        EXPECT_FALSE(pdf.contains("/Subtype /Image")) << NameOf(format);
        // Each of the crest's shapes is a filled path: a move, lines, a close and a fill.
        const QByteArray contents = Contents(pdf);
        EXPECT_GE(contents.count(" m\n"), static_cast<qsizetype>(crest.Shapes.size()))
            << NameOf(format);
        EXPECT_GE(contents.count("\nf\n") + contents.count("\nf*\n"),
                  static_cast<qsizetype>(crest.Shapes.size()))
            << NameOf(format);
    }
}

// Only with ULVAN_DOCS_DIR set: writes the README's crest (an enhanced metafile) and seal (a
// Windows metafile) into that folder.
TEST(FooterVectorDocs, WritesTheReadmesPictures) {
    const QString out = qEnvironmentVariable("ULVAN_DOCS_DIR");
    if (out.isEmpty()) {
        GTEST_SKIP() << "ULVAN_DOCS_DIR not set";
    }
    const QDir dir(out);
    for (const auto& [name, bytes] : std::vector<std::pair<QString, QByteArray>>{
             {QStringLiteral("crest.emf"), test::CrestEmf(test::LatticeCrest(3840, Qt::black, 0))},
             {QStringLiteral("seal.wmf"), test::CrestWmf(test::SealCrest())}}) {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }
}

} // namespace
} // namespace ulvan
