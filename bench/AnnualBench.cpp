// Drawing the annual chart: the element list alone, the whole printed page at 1200 dpi into a
// PDF (QPdfWriter over a memory buffer, one page per iteration, the PDF finished each time),
// and one paint of the preview at zoom level 2 (a 2828 x 2000 page on an RGB32 image, as the
// paint box draws it), with eleven rows and the reading shown.
#include "annual/NenkaiPage.h"
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

// The shared filled case, charted from its year of death with every anniversary checked.
NenkaiSheetInputs FilledChart() {
    const MemorialSheetInputs base = test::FilledCase();
    NenkaiSheetInputs in;
    in.Deceased = base.Deceased;
    in.Options = base.Options;
    in.Footer = base.Footer;
    in.Chart.Title = u"年回表";
    in.Chart.Year = base.Deceased.KiNen;
    in.Chart.Era = base.Deceased.KiNengo;
    in.Chart.EraYear = base.Deceased.KiWanen;
    std::array<bool, 21> all{};
    all.fill(true);
    in.Chart.Rows = NenkaiPrintedRows(
        *ComputeNenkai(in.Chart.Year, base.Deceased.KiGatsu, base.Deceased.KiNichi), all);
    return in;
}

void BM_AnnualSheetElements(benchmark::State& state) {
    const NenkaiSheetInputs in = FilledChart();
    for (auto _ : state) {
        SheetDescription sheet = BuildNenkaiSheet(in.Deceased, in.Options, in.Chart, false, false);
        benchmark::DoNotOptimize(sheet.Elements.data());
    }
}
BENCHMARK(BM_AnnualSheetElements);

void BM_AnnualSheetPdfPage1200dpi(benchmark::State& state) {
    EnsureApplication();
    NenkaiSheetInputs in = FilledChart();
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
        DrawNenkaiPaper(canvas, page, in, false, request);
        painter.end();
        state.counters["pdf_bytes"] = static_cast<double>(buffer.size());
    }
}
BENCHMARK(BM_AnnualSheetPdfPage1200dpi)->Unit(benchmark::kMillisecond);

// Argument: the name box style (0 canopy and lotus art, 1 ruled box).
void BM_AnnualPreviewPaintLevel2(benchmark::State& state) {
    EnsureApplication();
    NenkaiSheetInputs in = FilledChart();
    in.Options.KaimyoStyle = static_cast<std::int32_t>(state.range(0));
    QImage image(2828, 2000, QImage::Format_RGB32);
    FooterDrawRequest request;
    for (auto _ : state) {
        QPainter painter(&image);
        painter.fillRect(image.rect(), Qt::white);
        QPainterCanvas canvas(painter);
        DrawNenkaiPreview(canvas, 2828, 2000, in, request);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_AnnualPreviewPaintLevel2)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace ulvan
