// The footer against hostile and faulty input: pictures that are not regular files, pictures
// far larger than their frames, many failing frames, pictures missing for a moment, and
// texts of megabytes.
#include "CanvasTestSupport.h"

#include "calendar/TextUtil.h"
#include "footer/FooterRenderer.h"
#include "sheet/MemorialSheet.h"
#include "sheet/QtText.h"
#include "sheet/SheetRenderer.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <future>
#include <memory>
#include <string>
#include <thread>
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

FooterFrame Frame(std::u16string_view kind, int left, int top, int right, int bottom,
                  std::u16string_view content = u"") {
    FooterFrame frame;
    frame.Left = DecimalText(left);
    frame.Top = DecimalText(top);
    frame.Right = DecimalText(right);
    frame.Bottom = DecimalText(bottom);
    frame.FontHeight = u"500";
    frame.Spacing = u"100";
    frame.FontFace = u"ＭＳ 明朝";
    frame.Kind = kind;
    frame.Content = content;
    return frame;
}

const FooterTarget kEditor = FooterTarget::Editor(200, 744);
const FooterTarget kPreview = FooterTarget::Preview(1123, 794);
const FooterTarget kPage = FooterTarget::Page(4960, 7016, 50, 60);

std::vector<CanvasCall> Only(const std::vector<CanvasCall>& calls, Kind kind) {
    std::vector<CanvasCall> result;
    for (const auto& call : calls) {
        if (call.What == kind) {
            result.push_back(call);
        }
    }
    return result;
}

QString SavePicture(const QTemporaryDir& dir, const QString& name, QSize size,
                    const char* format = "PNG") {
    const QString path = dir.filePath(name);
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(40, 40, 40));
    EXPECT_TRUE(image.save(path, format));
    return path;
}

// Runs `call` on a thread and tells whether it returned within `limit`; a call that blocks
// is left behind (the process ends with the test run).
template <class Call> bool ReturnsWithin(std::chrono::milliseconds limit, Call call) {
    auto done = std::make_shared<std::promise<void>>();
    std::future<void> finished = done->get_future();
    std::thread([call, done] {
        call();
        done->set_value();
    }).detach();
    return finished.wait_for(limit) == std::future_status::ready;
}

constexpr std::chrono::seconds kTimeLimit{5};

// ---- what is opened -------------------------------------------------------------------------

struct SpecialFileCase {
    const char* Name;
    const char* FileName;
    bool Fifo;          // a FIFO; otherwise a link to Target
    const char* Target; // a device or a folder
};

class FooterPictureSpecialFile : public testing::TestWithParam<SpecialFileCase> {};

TEST_P(FooterPictureSpecialFile, IsRefusedWithoutWaiting) {
    test::EnsureGuiApplication();
    const SpecialFileCase& c = GetParam();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QString::fromUtf8(c.FileName));
    if (c.Fifo) {
        ASSERT_EQ(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    } else {
        ASSERT_TRUE(QFile::link(QString::fromUtf8(c.Target), path));
    }
    bool opened = true;
    ASSERT_TRUE(ReturnsWithin(kTimeLimit,
                              [path, &opened] { opened = OpenFooterPicture(path) != nullptr; }));
    EXPECT_FALSE(opened);

    // Drawn on a page: the load message, no picture, no wait.
    FooterLayout layout;
    layout.Append(Frame(kFooterPictureStretch, 0, 0, 2000, 2000, ToU16(path)));
    auto sink = std::make_shared<RecordingSink>();
    auto canvas = std::make_shared<RecordingCanvas>();
    ASSERT_TRUE(ReturnsWithin(kTimeLimit, [layout, sink, canvas] {
        FooterDrawRequest request(sink.get());
        DrawFooter(*canvas, kPage, layout, request);
    }));
    EXPECT_TRUE(Only(canvas->Calls(), Kind::Picture).empty());
    EXPECT_EQ(sink->Events,
              (std::vector<std::u16string>{u"<beep>", std::u16string(kFooterLoadFailedMessage)}));
    ForgetUnreadablePictures();
}

INSTANTIATE_TEST_SUITE_P(
    Files, FooterPictureSpecialFile,
    testing::Values(SpecialFileCase{"fifo", "pipe.png", true, nullptr},
                    SpecialFileCase{"endless_device", "zero.bmp", false, "/dev/zero"},
                    SpecialFileCase{"empty_device", "null.jpg", false, "/dev/null"},
                    SpecialFileCase{"folder", "folder.png", false, "/tmp"}),
    [](const auto& row) { return std::string(row.param.Name); });

// ---- decoded at the drawn size --------------------------------------------------------------

TEST(FooterPictureScaled, DecodedAtTheFrameSizeWithTheOwnProportions) {
    test::EnsureGuiApplication();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // 2000 x 1000 into the preview frame of inner 128 x 119: as wide as the frame, half as
    // high (Round(0.5 * 128) = 64), from the picture's own proportions.
    const QString path = SavePicture(dir, QStringLiteral("wide.png"), QSize(2000, 1000));
    FooterLayout layout;
    layout.Append(Frame(kFooterPictureFixed, 1000, 1000, 9000, 3000, ToU16(path)));
    RecordingCanvas canvas;
    FooterDrawRequest request;
    DrawFooter(canvas, kPreview, layout, request);
    const auto pictures = Only(canvas.Calls(), Kind::Picture);
    ASSERT_EQ(pictures.size(), 1u);
    EXPECT_EQ(QRect(QPoint(pictures[0].X1, pictures[0].Y1), QPoint(pictures[0].X2, pictures[0].Y2)),
              QRect(QPoint(93, 156), QPoint(221, 220)));
    EXPECT_EQ(pictures[0].PictureSize, QSize(128, 64));
}

TEST(FooterPictureScaled, PageGetsTheTurnedPictureAtItsDrawnSize) {
    test::EnsureGuiApplication();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // The page box is 754 x 811 (see the mapping tests); a 3000 x 3000 picture stretched
    // over it is decoded at 811 x 754 and turned to 754 x 811.
    const QString path = SavePicture(dir, QStringLiteral("big.bmp"), QSize(3000, 3000), "BMP");
    FooterLayout layout;
    layout.Append(Frame(kFooterPictureStretch, 1000, 1000, 9000, 3000, ToU16(path)));
    RecordingCanvas canvas;
    FooterDrawRequest request;
    DrawFooter(canvas, kPage, layout, request);
    const auto pictures = Only(canvas.Calls(), Kind::Picture);
    ASSERT_EQ(pictures.size(), 1u);
    EXPECT_EQ(QRect(QPoint(pictures[0].X1, pictures[0].Y1), QPoint(pictures[0].X2, pictures[0].Y2)),
              QRect(QPoint(919, 5570), QPoint(919 + 754, 5570 + 811)));
    EXPECT_EQ(pictures[0].PictureSize, QSize(754, 811));
}

TEST(FooterPictureScaled, SmallPictureIsNeverEnlargedWhenDecoded) {
    test::EnsureGuiApplication();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = SavePicture(dir, QStringLiteral("small.png"), QSize(12, 9));
    const std::unique_ptr<FooterPictureSource> source = OpenFooterPicture(path);
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(source->Size(), QSize(12, 9));
    const auto picture = source->Prepare(QSize(5000, 4000), false);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->Size(), QSize(12, 9));
    const auto turned = source->Prepare(QSize(5000, 4000), true);
    ASSERT_NE(turned, nullptr);
    EXPECT_EQ(turned->Size(), QSize(9, 12));
}

// ---- the picture file dialog's preview ------------------------------------------------------

struct PreviewCase {
    const char* Name;
    const char* FileName;
    QSize Own;
    int Side;
    QSize Shown; // invalid: no preview
};

class FooterPicturePreviewSize : public testing::TestWithParam<PreviewCase> {};

TEST_P(FooterPicturePreviewSize, FitsTheSquareThroughTheDrawingPath) {
    test::EnsureGuiApplication();
    const PreviewCase& c = GetParam();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = SavePicture(dir, QString::fromUtf8(c.FileName), c.Own, "PNG");
    const QImage preview = FooterPicturePreview(path, c.Side);
    EXPECT_EQ(preview.isNull(), !c.Shown.isValid());
    if (c.Shown.isValid()) {
        EXPECT_EQ(preview.size(), c.Shown);
        EXPECT_EQ(preview.pixelColor(c.Shown.width() / 2, c.Shown.height() / 2),
                  QColor(40, 40, 40));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, FooterPicturePreviewSize,
    testing::Values(PreviewCase{"large_wide", "wide.png", {4000, 1000}, 200, {200, 50}},
                    PreviewCase{"large_tall", "tall.png", {300, 3000}, 200, {20, 200}},
                    PreviewCase{"small_kept", "small.png", {30, 20}, 200, {30, 20}},
                    PreviewCase{"thin_line", "line.png", {5000, 1}, 200, {200, 1}},
                    // Saved as PNG under a metafile's name: the footer cannot draw it.
                    PreviewCase{"metafile_name", "logo.emf", {30, 20}, 200, {}},
                    PreviewCase{"no_side", "none.png", {30, 20}, 0, {}}),
    [](const auto& row) { return std::string(row.param.Name); });

TEST(FooterPicturePreviewFile, FifoAndMissingFileGiveNoPreviewWithoutWaiting) {
    test::EnsureGuiApplication();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString fifo = dir.filePath(QStringLiteral("pipe.png"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString& path : {fifo, dir.filePath(QStringLiteral("gone.png"))}) {
        auto shown = std::make_shared<bool>(true);
        ASSERT_TRUE(ReturnsWithin(
            kTimeLimit, [path, shown] { *shown = !FooterPicturePreview(path, 200).isNull(); }));
        EXPECT_FALSE(*shown) << path.toStdString();
    }
}

// ---- the budget -----------------------------------------------------------------------------

struct BudgetCase {
    const char* Name;
    std::int64_t Budget;
    std::vector<std::int64_t> Takes;
    std::vector<bool> Granted;
    std::int64_t Left;
};

class FooterPictureBudgetTake : public testing::TestWithParam<BudgetCase> {};

TEST_P(FooterPictureBudgetTake, GrantsWhileItLasts) {
    const BudgetCase& c = GetParam();
    FooterPictureBudget budget(c.Budget);
    std::vector<bool> granted;
    for (const std::int64_t take : c.Takes) {
        granted.push_back(budget.Take(take));
    }
    EXPECT_EQ(granted, c.Granted);
    EXPECT_EQ(budget.Left(), c.Left);
}

INSTANTIATE_TEST_SUITE_P(
    Takes, FooterPictureBudgetTake,
    testing::Values(BudgetCase{"exactly_all", 100, {60, 40}, {true, true}, 0},
                    BudgetCase{"one_too_many", 100, {60, 41, 40}, {true, false, true}, 0},
                    BudgetCase{"negative_refused", 100, {-5}, {false}, 100},
                    BudgetCase{"huge_refused", 100, {INT64_MAX}, {false}, 100}),
    [](const auto& row) { return std::string(row.param.Name); });

TEST(FooterPictureBudgetDrawing, PicturesBeyondTheBudgetGetTheLoadMessageOnce) {
    test::EnsureGuiApplication();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // Each 100 x 100 picture costs 40,000 bytes read plus its decoded frame; a budget of
    // 100,000 bytes lets two of five distinct pictures through.
    FooterLayout layout;
    for (int i = 0; i < 5; ++i) {
        const QString path = SavePicture(dir, QStringLiteral("p%1.png").arg(i), QSize(100, 100));
        layout.Append(Frame(kFooterPictureStretch, 0, i * 1000, 1000, i * 1000 + 900, ToU16(path)));
    }
    RecordingSink sink;
    RecordingCanvas canvas;
    FooterDrawRequest request(&sink, 100'000);
    DrawFooter(canvas, kPreview, layout, request);
    EXPECT_EQ(Only(canvas.Calls(), Kind::Picture).size(), 2u);
    EXPECT_EQ(sink.Events, (std::vector<std::u16string>{
                               u"<beep>", FooterMessageWithCount(kFooterLoadFailedMessage, 3)}));
    // Over the budget is not the file's fault: nothing is marked for the run.
    for (std::size_t frame = 0; frame < layout.FrameCount(); ++frame) {
        EXPECT_EQ(FooterKindForRun(layout, frame), kFooterPictureStretch);
    }
}

TEST(FooterPictureBudgetDrawing, OnePictureInManyFramesIsDecodedOnce) {
    test::EnsureGuiApplication();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = SavePicture(dir, QStringLiteral("logo.png"), QSize(100, 100));
    FooterLayout layout;
    for (int i = 0; i < 8; ++i) {
        layout.Append(Frame(kFooterPictureStretch, 0, 0, 1000, 900, ToU16(path)));
    }
    RecordingSink sink;
    RecordingCanvas canvas;
    // Room for one decoding only.
    FooterDrawRequest request(&sink, 60'000);
    DrawFooter(canvas, kPreview, layout, request);
    EXPECT_EQ(Only(canvas.Calls(), Kind::Picture).size(), 8u);
    EXPECT_TRUE(sink.Events.empty());
}

// ---- one message per kind and drawing -------------------------------------------------------

TEST(FooterMessagesCounted, EachMessageOncePerDrawingWithTheFrameCount) {
    test::EnsureGuiApplication();
    FooterLayout layout;
    // Three frames without a rectangle, two missing pictures, one stored unreadable mark.
    for (int i = 0; i < 3; ++i) {
        layout.Append(Frame(kFooterVertical, 0, 0, 1000, 1000, u"寺"));
        layout.SetField(layout.FrameCount() - 1, FooterField::Left, u"x");
    }
    layout.Append(Frame(kFooterPictureFixed, 0, 0, 1000, 1000, u"/nonexistent/a.bmp"));
    layout.Append(Frame(kFooterPictureFixed, 0, 0, 1000, 1000, u"/nonexistent/b.bmp"));
    layout.Append(Frame(kFooterUnreadable, 0, 0, 1000, 1000, u"c.bmp"));
    RecordingSink sink;
    RecordingCanvas canvas;
    FooterDrawRequest request(&sink);
    DrawFooter(canvas, kPreview, layout, request);
    DrawFooter(canvas, kPreview, layout, request); // the repaint after the message boxes
    EXPECT_EQ(sink.Events, (std::vector<std::u16string>{
                               FooterMessageWithCount(kFooterIncompleteMessage, 3),
                               u"<beep>",
                               FooterMessageWithCount(kFooterLoadFailedMessage, 2),
                               std::u16string(kFooterUnreadableMessage),
                           }));
    // A new request tells again; the missing pictures are now marked for the run.
    RecordingSink next;
    FooterDrawRequest again(&next);
    DrawFooter(canvas, kPage, layout, again);
    EXPECT_EQ(next.Events, (std::vector<std::u16string>{
                               FooterMessageWithCount(kFooterIncompleteMessage, 3),
                               FooterMessageWithCount(kFooterUnreadableMessage, 3),
                           }));
    ForgetUnreadablePictures();
}

TEST(FooterMessagesCounted, FramesSharingAMissingPictureGetTheSameMessage) {
    test::EnsureGuiApplication();
    // The first frame's failure marks the file only once the drawing is done: the second
    // frame naming it fails the same way in the same drawing, not as an earlier mark.
    FooterLayout layout;
    layout.Append(Frame(kFooterPictureFixed, 0, 0, 1000, 1000, u"/nonexistent/shared.png"));
    layout.Append(Frame(kFooterPictureStretch, 0, 2000, 1000, 3000, u"/nonexistent/shared.png"));
    RecordingSink sink;
    RecordingCanvas canvas;
    FooterDrawRequest request(&sink);
    DrawFooter(canvas, kPage, layout, request);
    EXPECT_EQ(sink.Events, (std::vector<std::u16string>{
                               u"<beep>", FooterMessageWithCount(kFooterLoadFailedMessage, 2)}));
    EXPECT_EQ(FooterKindForRun(layout, 0), kFooterUnreadable);
    EXPECT_EQ(FooterKindForRun(layout, 1), kFooterUnreadable);
    ForgetUnreadablePictures();
}

TEST(FooterMessagesCounted, TenThousandFaultyFramesGiveOneMessage) {
    FooterLayout layout;
    for (int i = 0; i < 10'000; ++i) {
        layout.Append(Frame(kFooterHorizontal, 0, 0, 1000, 1000, u"寺"));
        layout.SetField(layout.FrameCount() - 1, FooterField::Bottom, u"1e3");
    }
    RecordingSink sink;
    RecordingCanvas canvas;
    FooterDrawRequest request(&sink);
    DrawFooter(canvas, kPage, layout, request);
    EXPECT_EQ(sink.Events, (std::vector<std::u16string>{
                               FooterMessageWithCount(kFooterIncompleteMessage, 10'000)}));
}

struct CountCase {
    std::size_t Frames;
    std::u16string Expected;
};

class FooterMessageCount : public testing::TestWithParam<CountCase> {};

TEST_P(FooterMessageCount, CountFollowsOnlyForMoreThanOne) {
    EXPECT_EQ(FooterMessageWithCount(u"読めません", GetParam().Frames), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Counts, FooterMessageCount,
                         testing::Values(CountCase{0, u"読めません"}, CountCase{1, u"読めません"},
                                         CountCase{2, u"読めません（2 枠）"},
                                         CountCase{12345, u"読めません（12345 枠）"}));

// ---- a missing picture is marked for the run only --------------------------------------------

TEST(FooterRunMark, MissingPictureKeepsItsStoredKindAndIsMarkedForTheRun) {
    test::EnsureGuiApplication();
    ForgetUnreadablePictures();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("later.png"));
    FooterLayout layout;
    layout.Append(Frame(kFooterPictureFixed, 0, 0, 1000, 1000, ToU16(path)));
    const FooterLayout before = layout;
    RecordingCanvas canvas;
    FooterDrawRequest request;
    DrawFooter(canvas, kPreview, layout, request);
    // The layout (what is stored) is untouched; the run sees the frame as unreadable.
    EXPECT_EQ(layout, before);
    EXPECT_EQ(FooterKindForRun(layout, 0), kFooterUnreadable);
    // The file comes back: this run keeps the mark until the editor forgets it.
    SavePicture(dir, QStringLiteral("later.png"), QSize(10, 10));
    canvas.Clear();
    FooterDrawRequest next;
    DrawFooter(canvas, kPreview, layout, next);
    EXPECT_TRUE(Only(canvas.Calls(), Kind::Picture).empty());
    ForgetUnreadablePicture(path);
    EXPECT_EQ(FooterKindForRun(layout, 0), kFooterPictureFixed);
    FooterDrawRequest third;
    DrawFooter(canvas, kPreview, layout, third);
    EXPECT_EQ(Only(canvas.Calls(), Kind::Picture).size(), 1u);
}

// ---- long texts -----------------------------------------------------------------------------

TEST(FooterTextBound, ALongTextIsCutBeforeLayout) {
    const std::u16string longText(100'000, u'寺');
    for (const auto& kind : {kFooterVertical, kFooterHorizontal}) {
        FooterLayout layout;
        // A frame as long as the editor's strip with a zero font height: every character
        // lands on the target, so only the cut bounds the count.
        layout.Append(Frame(kind, 0, 0, 10000, 10000, longText));
        layout.SetField(0, FooterField::FontHeight, u"0");
        layout.SetField(0, FooterField::Spacing, u"0");
        RecordingCanvas canvas;
        FooterDrawRequest request;
        DrawFooter(canvas, kEditor, layout, request);
        EXPECT_EQ(Only(canvas.Calls(), Kind::Text).size(), kMaxFooterTextCharacters);
    }
}

TEST(FooterTextBound, CharactersWhollyOutsideThePageAreSkipped) {
    FooterLayout layout;
    // Ten characters 1,000 layout units of spacing apart: most of them lie below the page.
    layout.Append(Frame(kFooterVertical, 0, 0, 1000, 1000, u"一二三四五六七八九十"));
    layout.SetField(0, FooterField::FontHeight, u"100");
    layout.SetField(0, FooterField::Spacing, u"5000");
    RecordingCanvas canvas;
    FooterDrawRequest request;
    DrawFooter(canvas, kPage, layout, request);
    const auto texts = Only(canvas.Calls(), Kind::Text);
    EXPECT_GT(texts.size(), 0u);
    EXPECT_LT(texts.size(), 10u);
    for (const auto& text : texts) {
        EXPECT_LE(text.X1, kPage.Width + 2 * text.Font.CellHeight);
    }
}

TEST(SheetTextBound, LongTitleAndNamesAreCutBeforeLayout) {
    DeceasedData data;
    data.Kaimyo = std::u16string(50'000, u'釋');
    SheetOptions options;
    options.TitName = std::u16string(1'000'000, u'表');
    MemorialSchedule rows = DefaultSchedule();
    for (auto& row : rows) {
        row.Name = std::u16string(300'000, u'忌');
    }
    const SheetDescription sheet = BuildMemorialSheet(data, options, rows, false);
    const auto count = [&sheet](std::u16string_view character) {
        std::size_t n = 0;
        for (const SheetElement& element : sheet.Elements) {
            const auto* text = std::get_if<SheetText>(&element);
            n += (text != nullptr && text->Text == character) ? std::size_t{1} : std::size_t{0};
        }
        return n;
    };
    // The title up to the limit (a name this long is not placed at all), the rows' names at
    // most that each.
    EXPECT_EQ(count(u"表"), kMaxDrawnTextCharacters);
    EXPECT_LE(count(u"釋"), kMaxDrawnTextCharacters);
    EXPECT_GE(count(u"忌"), kMaxDrawnTextCharacters);
    EXPECT_LE(count(u"忌"), 9 * kMaxDrawnTextCharacters);
}

TEST(SheetTextBound, TextWhollyOutsideThePageIsNotDrawn) {
    SheetDescription sheet;
    sheet.Elements.emplace_back(SheetFont{u"@ＭＳ 明朝", 0.01});
    AddCells(sheet, u"内外", 0.5, 1.0, Across(5000));
    RecordingCanvas canvas;
    DrawSheet(canvas, sheet, SheetMapping::Paper(4960, 7016, 0, 0), SheetPictures{}, {});
    // The second cell lies a page width further along, off the paper: only the first is
    // drawn.
    const auto texts = Only(canvas.Calls(), Kind::Text);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].Text, QStringLiteral("内"));
}

} // namespace
} // namespace ulvan
