// Drawing a footer of 50 frames on a 1200 dpi A4 page: the layout alone (recording canvas),
// on an image of the footer strip, and into a PDF page.
#include "calendar/TextUtil.h"
#include "footer/FooterRenderer.h"
#include "sheet/QtText.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace ulvan {
namespace {

constexpr int kDpi = 1200;
constexpr int kPageWidth = 9921; // A4 at 1200 dpi
constexpr int kPageHeight = 14031;

void EnsureApplication() {
    if (QCoreApplication::instance() == nullptr) {
        static int argc = 1;
        static char name[] = "ulvan_bench";
        static char* argv[] = {name, nullptr};
        static QApplication app(argc, argv);
    }
}

// 40 vertical lines, 8 horizontal ones and 2 pictures, fitted for a 200 x 744 editor.
struct Sample {
    QTemporaryDir Dir;
    FooterLayout Layout;

    Sample() {
        EnsureApplication();
        const QString picture = Dir.filePath(QStringLiteral("emblem.png"));
        QImage image(200, 240, QImage::Format_RGB32);
        image.fill(QColor(255, 255, 255));
        {
            QPainter painter(&image);
            painter.setBrush(QColor(0, 0, 0));
            painter.drawEllipse(QRect(20, 20, 160, 200));
        }
        image.save(picture);
        for (int i = 0; i < 50; ++i) {
            FooterFrame frame;
            const int column = i % 10;
            const int row = i / 10;
            frame.Left = DecimalText(column * 1000);
            frame.Right = DecimalText(column * 1000 + 900);
            frame.Top = DecimalText(row * 2000);
            frame.Bottom = DecimalText(row * 2000 + 1900);
            frame.FontFace = i % 2 == 0 ? u"ＭＳ 明朝" : u"ＭＳ ゴシック";
            frame.Bold = i % 7 == 0 ? u"B" : u"";
            if (i == 24 || i == 37) {
                frame.Kind = kFooterPictureFixed;
                frame.Content = ToU16(picture);
            } else if (i % 6 == 5) {
                frame.Kind = kFooterHorizontal;
                frame.Content = u"TEL 03-1234-5678";
            } else {
                frame.Kind = kFooterVertical;
                frame.Content = u"東京都台東区谷中1－2";
            }
            Layout.Append(frame);
            FitFooterText(Layout, Layout.FrameCount() - 1, 200, 744);
        }
    }
};

Sample& TheSample() {
    static Sample sample;
    return sample;
}

const FooterTarget kPage = FooterTarget::Page(kPageWidth, kPageHeight, 0, 0);

void BM_FooterRecording(benchmark::State& state) {
    FooterLayout layout = TheSample().Layout;
    for (auto _ : state) {
        RecordingCanvas canvas;
        FooterDrawRequest request;
        DrawFooter(canvas, kPage, layout, request);
        benchmark::DoNotOptimize(canvas.Calls().data());
    }
}
BENCHMARK(BM_FooterRecording)->Unit(benchmark::kMillisecond);

// Draws `layout` onto a 1200 dpi image of the footer strip only; the painter keeps page
// coordinates through a translation.
void DrawOnFooterStrip(benchmark::State& state, FooterLayout layout) {
    const QRect strip(QPoint(int(0.119 * kPageWidth) - 8, int(0.7878 * kPageHeight) - 8),
                      QPoint(int(0.881 * kPageWidth) + 8, int(0.9326 * kPageHeight) + 8));
    QImage image(strip.size(), QImage::Format_ARGB32_Premultiplied);
    const int dotsPerMeter = static_cast<int>(kDpi / 0.0254 + 0.5);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(QColor(255, 255, 255)); // drawing over the same ink costs the same
    for (auto _ : state) {
        QPainter painter(&image);
        painter.translate(-strip.left(), -strip.top());
        QPainterCanvas canvas(painter);
        FooterDrawRequest request;
        DrawFooter(canvas, kPage, layout, request);
    }
}

void BM_FooterImage1200dpi(benchmark::State& state) {
    DrawOnFooterStrip(state, TheSample().Layout);
}
BENCHMARK(BM_FooterImage1200dpi)->Unit(benchmark::kMillisecond);

void BM_FooterImagePicturesOnly(benchmark::State& state) {
    FooterLayout all = TheSample().Layout;
    FooterLayout layout;
    layout.Append(all.Frame(24));
    layout.Append(all.Frame(37));
    DrawOnFooterStrip(state, layout);
}
BENCHMARK(BM_FooterImagePicturesOnly)->Unit(benchmark::kMillisecond);

void BM_FooterPdfJob1200dpi(benchmark::State& state) {
    FooterLayout layout = TheSample().Layout;
    for (auto _ : state) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(kDpi);
        writer.setPageLayout(
            QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        QPainter painter(&writer);
        QPainterCanvas canvas(painter);
        FooterDrawRequest request;
        DrawFooter(canvas, kPage, layout, request);
        painter.end();
        benchmark::DoNotOptimize(buffer.data().size());
    }
}
BENCHMARK(BM_FooterPdfJob1200dpi)->Unit(benchmark::kMillisecond);

// The drawing alone, one page per iteration of one long document (no job set-up, no font
// embedding at the end).
void BM_FooterPdfPage1200dpi(benchmark::State& state) {
    FooterLayout layout = TheSample().Layout;
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(kDpi);
    writer.setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    QPainter painter(&writer);
    QPainterCanvas canvas(painter);
    for (auto _ : state) {
        FooterDrawRequest request;
        DrawFooter(canvas, kPage, layout, request);
        state.PauseTiming();
        writer.newPage();
        state.ResumeTiming();
    }
    painter.end();
}
BENCHMARK(BM_FooterPdfPage1200dpi)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace ulvan
