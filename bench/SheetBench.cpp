// Drawing the memorial sheet: the element list alone, the whole printed page at 1200 dpi into
// a PDF (QPdfWriter over a memory buffer, one page per iteration, the PDF finished each time),
// and one paint of the preview at zoom level 2 (a 2828 x 2000 page on an RGB32 image, as the
// paint box draws it).
#include "sheet/MemorialPage.h"
#include "sheet/MemorialSheet.h"
#include "tests/support/SampleCase.h"

#include <QApplication>
#include <QBuffer>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <benchmark/benchmark.h>

namespace ulvan {
namespace {

constexpr int kDpi = 1200;

void EnsureApplication() {
    if (QCoreApplication::instance() == nullptr) {
        static int argc = 1;
        static char name[] = "ulvan_bench";
        static char* argv[] = {name, nullptr};
        static QApplication app(argc, argv);
    }
}

using ulvan::test::FilledCase;

void BM_MemorialSheetElements(benchmark::State& state) {
    const MemorialSheetInputs in = FilledCase();
    for (auto _ : state) {
        SheetDescription sheet = BuildMemorialSheet(in.Deceased, in.Options, in.Schedule, false);
        benchmark::DoNotOptimize(sheet.Elements.data());
    }
}
BENCHMARK(BM_MemorialSheetElements);

void BM_MemorialSheetPdfPage1200dpi(benchmark::State& state) {
    EnsureApplication();
    MemorialSheetInputs in = FilledCase();
    for (auto _ : state) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(kDpi);
        writer.setPageLayout(
            QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
        const QRect full = writer.pageLayout().fullRectPixels(kDpi);
        QPainter painter(&writer);
        QPainterCanvas canvas(painter);
        FooterDrawRequest request;
        const PageMetrics page{full.width(), full.height(), 0, 0, full.width(), full.height()};
        DrawMemorialPaper(canvas, page, in, false, request);
        painter.end();
        state.counters["pdf_bytes"] = static_cast<double>(buffer.size());
    }
}
BENCHMARK(BM_MemorialSheetPdfPage1200dpi)->Unit(benchmark::kMillisecond);

// Argument: the name box style (0 canopy and lotus art, 1 ruled box).
void BM_PreviewPaintLevel2(benchmark::State& state) {
    EnsureApplication();
    MemorialSheetInputs in = FilledCase();
    in.Options.KaimyoStyle = static_cast<std::int32_t>(state.range(0));
    QImage image(2828, 2000, QImage::Format_RGB32);
    FooterDrawRequest request;
    for (auto _ : state) {
        QPainter painter(&image);
        painter.fillRect(image.rect(), Qt::white);
        QPainterCanvas canvas(painter);
        DrawMemorialPreview(canvas, 2828, 2000, in, request);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_PreviewPaintLevel2)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace ulvan
