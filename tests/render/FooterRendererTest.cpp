#include "CanvasTestSupport.h"

#include "calendar/TextUtil.h"
#include "footer/FooterRenderer.h"
#include "sheet/QtText.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace ulvan {
namespace {

using Kind = CanvasCall::Kind;

class RecordingSink final : public MessageSink {
public:
    void ShowMessage(std::u16string_view text) override { Events.emplace_back(text); }
    void Beep(BeepKind kind) override {
        Events.emplace_back(kind == BeepKind::Default ? u"<beep>" : u"<exclamation>");
    }
    std::vector<std::u16string> Events;
};

FooterFrame Frame(std::u16string_view kind, int left, int top, int right, int bottom,
                  std::u16string_view content = u"") {
    FooterFrame frame;
    frame.Left = DecimalText(left);
    frame.Top = DecimalText(top);
    frame.Right = DecimalText(right);
    frame.Bottom = DecimalText(bottom);
    frame.FontFace = u"ＭＳ 明朝";
    frame.Kind = kind;
    frame.Content = content;
    return frame;
}

// The targets used throughout: an editor of 200 x 744 pixels, a preview of 1123 x 794 and
// an A4 page at 600 dpi with a printable area starting 50 and 60 dots in.
const FooterTarget kEditor = FooterTarget::Editor(200, 744);
const FooterTarget kPreview = FooterTarget::Preview(1123, 794);
const FooterTarget kPage = FooterTarget::Page(4960, 7016, 50, 60);

std::vector<CanvasCall> Draw(const FooterTarget& target, FooterLayout& layout,
                             MessageSink* sink = nullptr) {
    RecordingCanvas canvas;
    FooterDrawRequest request(sink);
    DrawFooter(canvas, target, layout, request);
    return canvas.Calls();
}

std::vector<CanvasCall> Only(const std::vector<CanvasCall>& calls, Kind kind) {
    std::vector<CanvasCall> result;
    for (const auto& call : calls) {
        if (call.What == kind) {
            result.push_back(call);
        }
    }
    return result;
}

// ---- vertical text --------------------------------------------------------------------------

struct VerticalCase {
    const char* Name;
    FooterTarget Target;
    QString Face;
    int CellHeight;
    int Escapement;
    std::vector<QPoint> Points;
};

class FooterVertical : public testing::TestWithParam<VerticalCase> {};

// A frame of 40 x 400 editor pixels (Left 2000..Right 4000 is 40..80 of 200 pixels; Top
// 1000..Bottom 6371 is 74..474 of 744) holding five characters: fitted to FontHeight 1900
// (38 px) and Spacing 698 (51.93 px of 744).
FooterLayout FiveCharacters(std::u16string_view text) {
    FooterLayout layout;
    layout.Append(Frame(kFooterVertical, 2000, 1000, 4000, 6371, text));
    FitFooterText(layout, 0, 200, 744);
    return layout;
}

TEST(FooterVerticalFit, FortyByFourHundredFrame) {
    const FooterLayout layout = FiveCharacters(u"光明山善福");
    EXPECT_EQ(layout.Field(0, FooterField::FontHeight), u"1900");
    EXPECT_EQ(layout.Field(0, FooterField::Spacing), u"698");
}

TEST_P(FooterVertical, CharactersStepDownTheColumn) {
    const VerticalCase& c = GetParam();
    FooterLayout layout = FiveCharacters(u"光明山善福");
    const auto texts = Only(Draw(c.Target, layout), Kind::Text);
    ASSERT_EQ(texts.size(), c.Points.size());
    const std::u16string content = u"光明山善福";
    for (std::size_t k = 0; k < texts.size(); ++k) {
        EXPECT_EQ(texts[k].Text, QString(QChar(content[k])));
        EXPECT_EQ(QPoint(texts[k].X1, texts[k].Y1), c.Points[k]) << "character " << k + 1;
        EXPECT_EQ(texts[k].Font.Face, c.Face);
        EXPECT_EQ(texts[k].Font.CellHeight, c.CellHeight);
        EXPECT_EQ(texts[k].Font.Escapement, c.Escapement);
        EXPECT_EQ(texts[k].Font.Weight, 400);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Targets, FooterVertical,
    testing::Values(
        // Editor: (Rx - 1, Ty + 1 + Round((k - 1) * 38 + (k - 1) * 51.93)), steps of 90.
        VerticalCase{"editor",
                     kEditor,
                     QStringLiteral("@ＭＳ 明朝"),
                     38,
                     2700,
                     {{79, 75}, {79, 165}, {79, 255}, {79, 345}, {79, 435}}},
        // Preview: Rx = Round(0.12532 * 1123) = 141, Ty = Round(0.19519 * 794) = 155,
        // h = 0.19 * 0.1448 * 1123 = 30.90, s = 0.0698 * 0.7619 * 794 = 42.23.
        VerticalCase{"preview",
                     kPreview,
                     QStringLiteral("@ＭＳ 明朝"),
                     31,
                     2700,
                     {{141, 155}, {141, 228}, {141, 301}, {141, 374}, {141, 447}}},
        // Page: I = Round(0.19519 * 4960) = 968, J = Round(0.87468 * 7016) = 6137,
        // N = Round(0.027512 * 7016) = 193, O = Round(0.05318 * 4960) = 264; less 50, 60.
        VerticalCase{"page",
                     kPage,
                     QStringLiteral("@ＭＳ 明朝"),
                     193,
                     0,
                     {{918, 6077}, {1375, 6077}, {1832, 6077}, {2289, 6077}, {2746, 6077}}}),
    [](const auto& row) { return std::string(row.param.Name); });

class FooterHyphen : public testing::TestWithParam<FooterTarget> {};

TEST_P(FooterHyphen, DashTakesThePlainFaceInItsOwnCell) {
    FooterLayout reference = FiveCharacters(u"光明山善福");
    FooterLayout layout = FiveCharacters(u"光明－善福");
    const auto expected = Only(Draw(GetParam(), reference), Kind::Text);
    const auto texts = Only(Draw(GetParam(), layout), Kind::Text);
    ASSERT_EQ(texts.size(), 5u);
    for (std::size_t k = 0; k < 5; ++k) {
        EXPECT_EQ(QPoint(texts[k].X1, texts[k].Y1), QPoint(expected[k].X1, expected[k].Y1));
        EXPECT_EQ(texts[k].Font.CellHeight, expected[k].Font.CellHeight);
        EXPECT_EQ(texts[k].Font.Escapement, expected[k].Font.Escapement);
        const bool dash = k == 2;
        EXPECT_EQ(texts[k].Font.Face,
                  dash ? QStringLiteral("ＭＳ 明朝") : QStringLiteral("@ＭＳ 明朝"));
        EXPECT_EQ(texts[k].Text.size(), 1); // each character alone
    }
}

INSTANTIATE_TEST_SUITE_P(Targets, FooterHyphen, testing::Values(kEditor, kPreview, kPage));

TEST(FooterVerticalEdge, SurrogatePairIsOneCell) {
    FooterLayout layout = FiveCharacters(u"𠮟𠮟𠮟𠮟𠮟");
    const auto texts = Only(Draw(kEditor, layout), Kind::Text);
    ASSERT_EQ(texts.size(), 5u);
    EXPECT_EQ(texts[1].Text, ToQ(u"𠮟"));
    EXPECT_EQ(texts[4].Y1, 435);
}

TEST(FooterVerticalEdge, BoldFrameUsesWeight700) {
    FooterLayout layout = FiveCharacters(u"光明山善福");
    layout.SetField(0, FooterField::Bold, u"B");
    for (const auto& text : Only(Draw(kPage, layout), Kind::Text)) {
        EXPECT_EQ(text.Font.Weight, 700);
    }
}

TEST(FooterVerticalEdge, EmptyTextDrawsNothing) {
    FooterLayout layout = FiveCharacters(u"");
    layout.SetField(0, FooterField::FontHeight, u"1900");
    layout.SetField(0, FooterField::Spacing, u"698");
    for (const auto& target : {kEditor, kPreview, kPage}) {
        EXPECT_TRUE(Only(Draw(target, layout), Kind::Text).empty());
    }
}

TEST(FooterVerticalEdge, UnfittedTextOnlyOutlinedInTheEditor) {
    FooterLayout layout;
    layout.Append(Frame(kFooterVertical, 2000, 1000, 4000, 6371, u"光明"));
    const auto editor = Draw(kEditor, layout);
    EXPECT_EQ(Only(editor, Kind::FocusRect).size(), 1u);
    EXPECT_TRUE(Only(editor, Kind::Text).empty());
    // Preview and page draw with height 0 and no spacing: every character at the start.
    const auto preview = Only(Draw(kPreview, layout), Kind::Text);
    ASSERT_EQ(preview.size(), 2u);
    EXPECT_EQ(preview[0].Font.CellHeight, 0);
    EXPECT_EQ(QPoint(preview[1].X1, preview[1].Y1), QPoint(preview[0].X1, preview[0].Y1));
}

// ---- horizontal text ------------------------------------------------------------------------

TEST(FooterHorizontal, FullWidthCountsTwoUnits) {
    FooterLayout layout;
    // 0..10000 wide is 0..200 px; 1000..2000 high is 74..149 px.
    layout.Append(Frame(kFooterHorizontal, 0, 1000, 10000, 2000, u"寺AB院"));
    layout.SetField(0, FooterField::FontHeight, u"2000"); // h = 40 px
    layout.SetField(0, FooterField::Spacing, u"100");     // s = 7.44 px
    const auto texts = Only(Draw(kEditor, layout), Kind::Text);
    ASSERT_EQ(texts.size(), 4u);
    // x = 0 + 1 + Round(20 * (k - 1) + (g - 1) * 7.44) with k = 1, 3, 4, 5 and g = 1..4.
    const int expected[] = {1, 1 + 47, 1 + 75, 1 + 102}; // 47.44, 74.88, 102.32
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(texts[i].X1, expected[i]) << i;
        EXPECT_EQ(texts[i].Y1, 75);
        EXPECT_EQ(texts[i].Font.Face, QStringLiteral("ＭＳ 明朝"));
        EXPECT_EQ(texts[i].Font.Escapement, 0);
        EXPECT_EQ(texts[i].Font.CellHeight, 40);
    }
}

TEST(FooterHorizontal, EachFrameStartsAtItsOwnLeftEdge) {
    FooterLayout layout;
    layout.Append(Frame(kFooterHorizontal, 0, 1000, 4000, 2000, u"ABC"));
    layout.Append(Frame(kFooterHorizontal, 5000, 3000, 9000, 4000, u"DEF"));
    for (std::size_t i = 0; i < 2; ++i) {
        layout.SetField(i, FooterField::FontHeight, u"2000");
        layout.SetField(i, FooterField::Spacing, u"100");
    }
    const auto texts = Only(Draw(kPreview, layout), Kind::Text);
    ASSERT_EQ(texts.size(), 6u);
    // Preview Lx of 0 = Round(0.0674 * 1123) = 76; of 5000 = Round(0.1398 * 1123) = 157.
    // h = 0.2 * 0.1448 * 1123 = 32.52, s = 0.01 * 0.7619 * 794 = 6.05; step 16.26 + 6.05.
    EXPECT_EQ(texts[0].X1, 76);
    EXPECT_EQ(texts[1].X1, 76 + 22);
    EXPECT_EQ(texts[2].X1, 76 + 45);
    EXPECT_EQ(texts[3].X1, 157);
    EXPECT_EQ(texts[4].X1, 157 + 22);
    EXPECT_EQ(texts[5].X1, 157 + 45);
    // Ty of 1000 = Round(0.19519 * 794) = 155; of 3000 = Round(0.34757 * 794) = 276.
    EXPECT_EQ(texts[0].Y1, 155);
    EXPECT_EQ(texts[3].Y1, 276);
}

TEST(FooterHorizontal, PageRunsUpTheLeftEdgeAtEscapement900) {
    FooterLayout layout;
    layout.Append(Frame(kFooterHorizontal, 1000, 1000, 9000, 3000, u"寺A"));
    layout.SetField(0, FooterField::FontHeight, u"2000"); // N = Round(0.02896 * 7016) = 203
    layout.SetField(0, FooterField::Spacing, u"100");     // O = Round(0.007619 * 4960) = 38
    const auto texts = Only(Draw(kPage, layout), Kind::Text);
    ASSERT_EQ(texts.size(), 2u);
    // I = 968, Ly = page y of Left 1000 = Round(0.91812 * 7016) = 6442.
    EXPECT_EQ(QPoint(texts[0].X1, texts[0].Y1), QPoint(968 - 50, 6442 - 60));
    // Second glyph: k = 3, g = 2: Ly - Round(203 / 2 * 2 + 38).
    EXPECT_EQ(QPoint(texts[1].X1, texts[1].Y1), QPoint(968 - 50, 6442 - 241 - 60));
    EXPECT_EQ(texts[0].Font.Escapement, 900);
    EXPECT_EQ(texts[0].Font.CellHeight, 203);
    EXPECT_EQ(texts[0].Font.Face, QStringLiteral("ＭＳ 明朝"));
}

// ---- the frame mapping ----------------------------------------------------------------------

struct MappingCase {
    const char* Name;
    FooterTarget Target;
    int Left, Top, Right, Bottom;
    QRect Expected; // the stretched picture "V": one pixel inside the frame (x1, y1, x2, y2)
};

class FooterMapping : public testing::TestWithParam<MappingCase> {
protected:
    void SetUp() override {
        test::EnsureGuiApplication();
        ASSERT_TRUE(m_dir.isValid());
        m_picture = m_dir.filePath(QStringLiteral("p.bmp"));
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(QColor(10, 20, 30));
        ASSERT_TRUE(image.save(m_picture));
    }
    QTemporaryDir m_dir;
    QString m_picture;
};

TEST_P(FooterMapping, StretchedPictureFillsTheMappedFrame) {
    const MappingCase& c = GetParam();
    FooterLayout layout;
    layout.Append(Frame(kFooterPictureStretch, c.Left, c.Top, c.Right, c.Bottom, ToU16(m_picture)));
    const auto pictures = Only(Draw(c.Target, layout), Kind::Picture);
    ASSERT_EQ(pictures.size(), 1u);
    const auto& p = pictures[0];
    EXPECT_EQ(QRect(QPoint(p.X1, p.Y1), QPoint(p.X2, p.Y2)), c.Expected);
    // The page gets the picture turned a quarter turn: 30 wide and 40 high.
    EXPECT_EQ(p.PictureSize,
              c.Target.Kind == FooterTargetKind::Page ? QSize(30, 40) : QSize(40, 30));
}

INSTANTIATE_TEST_SUITE_P(
    Targets, FooterMapping,
    testing::Values(
        // Editor: 125 -> 2.5 -> 2 and 175 -> 3.5 -> 4 (halves to even); 5175 -> 103.49..
        // (the division comes first, as written) -> 103; 1000 -> 74.4 -> 74, 6371 -> 474.
        MappingCase{"editor_halves_down", kEditor, 125, 1000, 5175, 6371,
                    QRect(QPoint(3, 75), QPoint(102, 473))},
        MappingCase{"editor_halves_up", kEditor, 175, 1000, 5175, 6371,
                    QRect(QPoint(5, 75), QPoint(102, 473))},
        MappingCase{"editor_negative_top", kEditor, 0, -500, 10000, 1000,
                    QRect(QPoint(1, -36), QPoint(199, 73))}, // -37.2 -> -37
        // Preview: Lx = Round(0.08188 * 1123) = 92, Rx = Round(0.19772 * 1123) = 222,
        // Ty = 155, By = Round(0.34757 * 794) = 276.
        MappingCase{"preview", kPreview, 1000, 1000, 9000, 3000,
                    QRect(QPoint(93, 156), QPoint(221, 275))},
        // Page: I = 968, K = Round(0.34757 * 4960) = 1724, J = page y of Right 9000 =
        // Round(0.80228 * 7016) = 5629, Ly = 6442; box 754 x 811 from (I + 1, J + 1).
        MappingCase{"page", kPage, 1000, 1000, 9000, 3000,
                    QRect(QPoint(919, 5570), QPoint(919 + 754, 5570 + 811))}),
    [](const auto& row) { return std::string(row.param.Name); });

TEST(FooterMappingEditor, OutlineIsTheFocusRectangle) {
    FooterLayout layout;
    layout.Append(Frame(u"", 2000, 1000, 4000, 6371));
    const auto calls = Draw(kEditor, layout);
    const auto outlines = Only(calls, Kind::FocusRect);
    ASSERT_EQ(outlines.size(), 1u);
    EXPECT_EQ(QRect(QPoint(outlines[0].X1, outlines[0].Y1), QPoint(outlines[0].X2, outlines[0].Y2)),
              QRect(QPoint(40, 74), QPoint(80, 474)));
    EXPECT_EQ(calls.size(), 1u); // an empty kind: the outline and nothing else
    EXPECT_TRUE(Draw(kPreview, layout).empty());
    EXPECT_TRUE(Draw(kPage, layout).empty());
}

// ---- pictures "F" ---------------------------------------------------------------------------

struct FixedCase {
    const char* Name;
    FooterTarget Target;
    int Left, Top, Right, Bottom;
    QSize Picture;
    QRect Expected; // (x1, y1, x2, y2)
};

class FooterFixedPicture : public testing::TestWithParam<FixedCase> {};

TEST_P(FooterFixedPicture, KeepsProportions) {
    test::EnsureGuiApplication();
    const FixedCase& c = GetParam();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("f.png"));
    QImage image(c.Picture, QImage::Format_RGB32);
    image.fill(QColor(0, 0, 0));
    ASSERT_TRUE(image.save(path));
    FooterLayout layout;
    layout.Append(Frame(kFooterPictureFixed, c.Left, c.Top, c.Right, c.Bottom, ToU16(path)));
    const auto pictures = Only(Draw(c.Target, layout), Kind::Picture);
    ASSERT_EQ(pictures.size(), 1u);
    const auto& p = pictures[0];
    EXPECT_EQ(QRect(QPoint(p.X1, p.Y1), QPoint(p.X2, p.Y2)), c.Expected);
    EXPECT_EQ(p.PictureName, path);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FooterFixedPicture,
    testing::Values(
        // Inner boxes with exactly the picture's proportions are filled on every target.
        // Editor: 40..80 x 74..152 (2043 -> 151.999), inner 38 x 76, picture 19 x 38.
        FixedCase{"editor_exact", kEditor, 2000, 1000, 4000, 2043, QSize(19, 38),
                  QRect(QPoint(41, 75), QPoint(79, 151))},
        // Preview: inner 128 x 119.
        FixedCase{"preview_exact", kPreview, 1000, 1000, 9000, 3000, QSize(128, 119),
                  QRect(QPoint(93, 156), QPoint(221, 275))},
        // Page: inner 754 x 811 of the turned picture, so the picture is 811 x 754.
        FixedCase{"page_exact", kPage, 1000, 1000, 9000, 3000, QSize(811, 754),
                  QRect(QPoint(919, 5570), QPoint(919 + 754, 5570 + 811))},
        // A wide box: the picture fills the height, flush with the right side:
        // inner 198 x 73 (0..200 x 74..149), picture 20 x 10: width Round(2 * 73) = 146.
        FixedCase{"editor_flush_right", kEditor, 0, 1000, 10000, 2000, QSize(20, 10),
                  QRect(QPoint(199 - 146, 75), QPoint(199, 148))},
        // A tall box: it fills the width, flush with the top: height Round(0.5 * 38) = 19.
        FixedCase{"editor_flush_top", kEditor, 2000, 1000, 4000, 6371, QSize(20, 10),
                  QRect(QPoint(41, 75), QPoint(79, 75 + 19))},
        // The page with a tall reading box: turned picture 10 wide, 20 high; box 754 x 811:
        // 754 / 811 >= 0.5, so the size is (Round(0.5 * 811), 811) = (406, 811).
        FixedCase{"page_fit_height", kPage, 1000, 1000, 9000, 3000, QSize(20, 10),
                  QRect(QPoint(919, 5570), QPoint(919 + 406, 5570 + 811))}),
    [](const auto& row) { return std::string(row.param.Name); });

// ---- failures and messages ------------------------------------------------------------------

TEST(FooterMessages, IncompleteRectangleOncePerDrawingAndRequest) {
    FooterLayout layout;
    layout.Append(Frame(kFooterVertical, 0, 0, 1000, 9000, u"寺"));
    layout.SetField(0, FooterField::Top, u"");
    layout.Append(layout.Frame(0));
    RecordingSink sink;
    RecordingCanvas canvas;
    FooterDrawRequest request(&sink);
    DrawFooter(canvas, kPreview, layout, request);
    DrawFooter(canvas, kPreview, layout, request); // the repaint after the message box
    // Once for the drawing, with the number of frames, and not again on the repaint.
    EXPECT_EQ(sink.Events,
              (std::vector<std::u16string>{FooterMessageWithCount(kFooterIncompleteMessage, 2)}));
    EXPECT_TRUE(canvas.Calls().empty());
    FooterDrawRequest next(&sink); // a new print job tells again
    DrawFooter(canvas, kPage, layout, next);
    EXPECT_EQ(sink.Events.size(), 2u);
}

TEST(FooterMessages, EditorSkipsAnIncompleteFrameSilently) {
    FooterLayout layout;
    layout.Append(Frame(kFooterVertical, 0, 0, 1000, 9000, u"寺"));
    layout.SetField(0, FooterField::Right, u"1e3");
    RecordingSink sink;
    EXPECT_TRUE(Draw(kEditor, layout, &sink).empty());
    EXPECT_TRUE(sink.Events.empty());
}

TEST(FooterMessages, MissingPictureBeepsTellsAndMarks) {
    test::EnsureGuiApplication();
    FooterLayout layout;
    layout.Append(Frame(kFooterPictureFixed, 0, 0, 1000, 1000, u"/nonexistent/寺.bmp"));
    RecordingSink sink;
    RecordingCanvas canvas;
    FooterDrawRequest request(&sink);
    DrawFooter(canvas, kEditor, layout, request);
    EXPECT_EQ(sink.Events,
              (std::vector<std::u16string>{u"<beep>", std::u16string(kFooterLoadFailedMessage)}));
    // The layout keeps its kind; the run sees the frame as unreadable.
    EXPECT_EQ(layout.Field(0, FooterField::Kind), kFooterPictureFixed);
    EXPECT_EQ(FooterKindForRun(layout, 0), kFooterUnreadable);
    // The next repaint finds the mark: the outline only, no further message.
    canvas.Clear();
    DrawFooter(canvas, kEditor, layout, request);
    EXPECT_EQ(sink.Events.size(), 2u);
    EXPECT_EQ(canvas.Calls().size(), 1u);
    EXPECT_EQ(canvas.Calls()[0].What, Kind::FocusRect);
    ForgetUnreadablePictures();
}

TEST(FooterMessages, UnreadableMarkOnPreviewAndPage) {
    FooterLayout layout;
    layout.Append(Frame(kFooterUnreadable, 0, 0, 1000, 1000, u"x.bmp"));
    layout.Append(layout.Frame(0));
    for (const auto& target : {kPreview, kPage}) {
        RecordingSink sink;
        RecordingCanvas canvas;
        FooterDrawRequest request(&sink);
        DrawFooter(canvas, target, layout, request);
        DrawFooter(canvas, target, layout, request);
        EXPECT_EQ(sink.Events, (std::vector<std::u16string>{
                                   FooterMessageWithCount(kFooterUnreadableMessage, 2)}));
        EXPECT_TRUE(canvas.Calls().empty());
    }
}

TEST(FooterMessages, HostileNumbersStayBounded) {
    FooterLayout layout;
    layout.Append(Frame(kFooterVertical, -2147483647 - 1, -2147483647 - 1, 2147483647, 2147483647,
                        u"光明山善福"));
    layout.SetField(0, FooterField::FontHeight, u"2147483647");
    layout.SetField(0, FooterField::Spacing, u"-2147483648");
    for (const auto& target : {kEditor, kPreview, kPage}) {
        // Defined positions throughout; the characters landing far off the target are
        // skipped.
        const auto texts = Only(Draw(target, layout), Kind::Text);
        EXPECT_LE(texts.size(), 5u);
        for (const auto& text : texts) {
            EXPECT_LE(std::abs(std::int64_t{text.X1}), std::int64_t{1} << 30);
            EXPECT_LE(std::abs(std::int64_t{text.Y1}), std::int64_t{1} << 30);
        }
    }
}

TEST(FooterFrameIndex, PastTheEndDrawsNothing) {
    FooterLayout layout;
    RecordingCanvas canvas;
    FooterDrawRequest request;
    DrawFooterFrame(canvas, kEditor, layout, 3, request);
    EXPECT_TRUE(canvas.Calls().empty());
}

// ---- picture files --------------------------------------------------------------------------

struct LoadCase {
    const char* Name;
    const char* FileName;
    const char* WriteFormat; // null: write garbage bytes
    bool Loads;
};

class FooterPictureLoad : public testing::TestWithParam<LoadCase> {};

TEST_P(FooterPictureLoad, ByExtension) {
    test::EnsureGuiApplication();
    const LoadCase& c = GetParam();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QString::fromUtf8(c.FileName));
    if (c.WriteFormat != nullptr) {
        QImage image(7, 5, QImage::Format_RGB32);
        image.fill(QColor(200, 100, 0));
        ASSERT_TRUE(image.save(path, c.WriteFormat));
    } else {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("not a picture at all, just some bytes");
    }
    const QImage image = LoadFooterPicture(path);
    EXPECT_EQ(!image.isNull(), c.Loads);
    if (c.Loads) {
        EXPECT_EQ(image.size(), QSize(7, 5));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Formats, FooterPictureLoad,
    testing::Values(LoadCase{"bmp", "a.bmp", "BMP", true},
                    LoadCase{"upper_case_extension", "a.BMP", "BMP", true},
                    LoadCase{"ico", "a.ico", "ICO", true}, LoadCase{"tif", "a.tif", "TIFF", true},
                    LoadCase{"tiff", "a.tiff", "TIFF", true}, LoadCase{"png", "a.png", "PNG", true},
                    LoadCase{"jpg", "a.jpg", "JPEG", true},
                    LoadCase{"jpeg", "a.jpeg", "JPEG", true},
                    // Metafiles cannot be drawn here; neither can unlisted kinds.
                    LoadCase{"emf", "a.emf", nullptr, false},
                    LoadCase{"wmf", "a.wmf", nullptr, false},
                    LoadCase{"gif_named", "a.gif", "PNG", false},
                    LoadCase{"no_extension", "picture", "PNG", false},
                    // The extension decides the format: a PNG named .bmp does not load.
                    LoadCase{"png_named_bmp", "b.bmp", "PNG", false},
                    LoadCase{"garbage_bmp", "g.bmp", nullptr, false}),
    [](const auto& row) { return std::string(row.param.Name); });

TEST(FooterPictureLoadLimits, HugeDeclaredSizeIsRefused) {
    test::EnsureGuiApplication();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("huge.bmp"));
    // A bitmap header claiming 60000 x 60000 pixels at 24 bits, with no pixel data.
    QByteArray bmp(54, '\0');
    auto put32 = [&bmp](int at, quint32 v) {
        for (int i = 0; i < 4; ++i) {
            bmp[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
        }
    };
    bmp[0] = 'B';
    bmp[1] = 'M';
    put32(2, 54);
    put32(10, 54);
    put32(14, 40);
    put32(18, 60000);
    put32(22, 60000);
    bmp[26] = 1;
    bmp[28] = 24;
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bmp);
    file.close();
    EXPECT_TRUE(LoadFooterPicture(path).isNull());
}

TEST(FooterPictureTurn, QuarterTurnCounterClockwise) {
    // 3 wide, 2 high, every pixel different.
    QImage image(3, 2, QImage::Format_ARGB32);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) {
            image.setPixel(x, y, qRgb(x * 80, y * 200, 7));
        }
    }
    const QImage turned = TurnCounterClockwise(image);
    ASSERT_EQ(turned.size(), QSize(2, 3));
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 2; ++x) {
            EXPECT_EQ(turned.pixel(x, y), image.pixel(3 - 1 - y, x)) << x << "," << y;
        }
    }
    // The top-right corner of the original becomes the top-left corner.
    EXPECT_EQ(turned.pixel(0, 0), image.pixel(2, 0));
}

} // namespace
} // namespace ulvan
