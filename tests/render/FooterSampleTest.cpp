// Renders a sample footer on the preview picture, the editor and a PDF page, and checks that
// the three agree on where the ink lies. With ULVAN_SAMPLE_DIR set the outputs are kept
// there for a look (footer_preview.png, footer_editor.png, footer_page.pdf).
#include "CanvasTestSupport.h"

#include "calendar/TextUtil.h"
#include "footer/FooterRenderer.h"
#include "sheet/QtText.h"

#include <QDir>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace ulvan {
namespace {

using test::EnsureGuiApplication;
using test::InkBounds;
using test::WhiteImage;

FooterFrame Text(std::u16string_view kind, int left, int top, int right, int bottom,
                 std::u16string_view content, bool bold = false) {
    FooterFrame frame;
    frame.Left = DecimalText(left);
    frame.Top = DecimalText(top);
    frame.Right = DecimalText(right);
    frame.Bottom = DecimalText(bottom);
    frame.FontFace = u"ＭＳ 明朝";
    frame.Bold = bold ? u"B" : u"";
    frame.Kind = kind;
    frame.Content = content;
    return frame;
}

// An emblem that shows its own orientation: a dark triangle pointing up over a bar.
QImage Emblem() {
    QImage image(90, 120, QImage::Format_RGB32);
    image.fill(QColor(255, 255, 255));
    QPainter painter(&image);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0));
    painter.drawPolygon(QPolygon({QPoint(45, 5), QPoint(85, 60), QPoint(5, 60)}));
    painter.setBrush(QColor(160, 0, 0));
    painter.drawRect(QRect(10, 80, 70, 30));
    return image;
}

FooterLayout SampleLayout(const QString& picturePath) {
    constexpr int kEditorWidth = 200;
    constexpr int kEditorHeight = 744;
    FooterLayout layout;
    layout.Append(Text(kFooterVertical, 6200, 300, 9000, 9000, u"光明山　善福寺", true));
    layout.Append(Text(kFooterVertical, 3300, 300, 5600, 9600, u"東京都台東区谷中1-23－4"));
    layout.Append(Text(kFooterVertical, 1000, 2500, 3000, 9600, u"ファックス「電話」、ちょっと。"));
    layout.Append(Text(kFooterHorizontal, 200, 9700, 9800, 9950, u"TEL 03-1234-5678"));
    FooterFrame picture;
    picture.Left = u"500";
    picture.Top = u"200";
    picture.Right = u"3000";
    picture.Bottom = u"2300";
    picture.Kind = kFooterPictureFixed;
    picture.Content = ToU16(picturePath);
    layout.Append(picture);
    for (std::size_t i = 0; i + 1 < layout.FrameCount(); ++i) {
        FitFooterText(layout, i, kEditorWidth, kEditorHeight);
    }
    return layout;
}

TEST(FooterSample, PreviewEditorAndPageAgree) {
    EnsureGuiApplication();
    QTemporaryDir temporary;
    ASSERT_TRUE(temporary.isValid());
    const QString keep = qEnvironmentVariable("ULVAN_SAMPLE_DIR");
    const QDir out(keep.isEmpty() ? temporary.path() : keep);
    const QString picturePath = out.filePath(QStringLiteral("emblem.png"));
    ASSERT_TRUE(Emblem().save(picturePath));
    FooterLayout layout = SampleLayout(picturePath);

    // The preview: a landscape sheet picture in the reading orientation.
    const int pw = 1123;
    const int ph = 794;
    QImage preview = WhiteImage(pw, ph);
    {
        QPainter painter(&preview);
        QPainterCanvas canvas(painter);
        FooterDrawRequest request;
        DrawFooter(canvas, FooterTarget::Preview(pw, ph), layout, request);
    }
    // The strip of the preview: x from 0.0674 to 0.2122 of the width, y from 0.119 to 0.8809.
    const QRect strip(QPoint(int(0.0674 * pw) - 1, int(0.119 * ph) - 1),
                      QPoint(int(0.2122 * pw) + 1, int(0.8809 * ph) + 1));
    const QRect ink = InkBounds(preview, preview.rect());
    ASSERT_FALSE(ink.isNull());
    EXPECT_TRUE(strip.contains(ink))
        << ink.x() << "," << ink.y() << " " << ink.width() << "x" << ink.height();

    QImage editor = WhiteImage(200, 744);
    {
        QPainter painter(&editor);
        QPainterCanvas canvas(painter);
        FooterDrawRequest request;
        DrawFooter(canvas, FooterTarget::Editor(200, 744), layout, request);
    }

    // The page: A4 portrait at 600 dpi, no margins, so the physical offsets are zero.
    const QString pdfPath = out.filePath(QStringLiteral("footer_page.pdf"));
    {
        QPdfWriter writer(pdfPath);
        writer.setResolution(600);
        writer.setPageLayout(
            QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        QPainter painter(&writer);
        QPainterCanvas canvas(painter);
        FooterDrawRequest request;
        const QRect page = writer.pageLayout().fullRectPixels(600);
        DrawFooter(canvas, FooterTarget::Page(page.width(), page.height(), 0, 0), layout, request);
    }
    EXPECT_GT(QFileInfo(pdfPath).size(), 1000);
    EXPECT_EQ(layout.Field(4, FooterField::Kind), kFooterPictureFixed); // the picture loaded

    // The page drawn on an image as well, turned into the reading view: the ink lies where
    // the preview's does, scaled.
    const int pageW = 794;
    const int pageH = 1123;
    QImage page = WhiteImage(pageW, pageH);
    {
        QPainter painter(&page);
        QPainterCanvas canvas(painter);
        FooterDrawRequest request;
        DrawFooter(canvas, FooterTarget::Page(pageW, pageH, 0, 0), layout, request);
    }
    const QImage reading = page.transformed(QTransform().rotate(90));
    // The page rounds the font height to whole dots and the preview does not, so a long
    // horizontal line may end a few pixels apart (a quarter pixel per character at most).
    const QRect readingInk = InkBounds(reading, reading.rect());
    EXPECT_NEAR(readingInk.left(), ink.left(), 3);
    EXPECT_NEAR(readingInk.top(), ink.top(), 3);
    EXPECT_NEAR(readingInk.right(), ink.right(), 6);
    EXPECT_NEAR(readingInk.bottom(), ink.bottom(), 3);

    if (!keep.isEmpty()) {
        preview.save(out.filePath(QStringLiteral("footer_preview.png")));
        editor.save(out.filePath(QStringLiteral("footer_editor.png")));
        reading.save(out.filePath(QStringLiteral("footer_page_reading.png")));
    }
}

} // namespace
} // namespace ulvan
