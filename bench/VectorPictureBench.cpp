// Vector footer pictures: a metafile of 5,000 records played into its frame on a 1,200 dpi
// page (as a PDF is written, and onto the page's pixels as a raster printer gets it), and a
// 1 MB Windows metafile opened and bounded (read, its header checked, its size found), with
// and without the placeable header.
//     build/dev/bench/ulvan_bench --benchmark_filter=VectorPicture
#include "calendar/TextUtil.h"
#include "footer/FooterRenderer.h"
#include "sheet/QtText.h"
#include "tests/support/VectorCrest.h"

#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace ulvan {
namespace {

constexpr int kDpi = 1200;
constexpr int kPageWidth = 9921; // A4 at 1,200 dpi
constexpr int kPageHeight = 14031;

void EnsureApplication() {
    if (QCoreApplication::instance() == nullptr) {
        static int argc = 1;
        static char name[] = "ulvan_bench";
        static char* argv[] = {name, nullptr};
        static QGuiApplication app(argc, argv);
    }
}

QString Write(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    return path;
}

// A footer of one fixed-proportion picture frame as wide as the footer strip.
FooterLayout CrestFooter(const QString& path) {
    FooterFrame frame;
    frame.Left = u"200";
    frame.Top = u"300";
    frame.Right = u"9800";
    frame.Bottom = u"9700";
    frame.Kind = kFooterPictureFixed;
    frame.Content = ToU16(path);
    FooterLayout layout;
    layout.Append(frame);
    return layout;
}

// The lattice crest traced in 1,250 pieces (its ring in 1,242, the bars in 8), each piece a
// brush made, selected, a polygon and the brush deleted: 3 + 4 x 1,250 = 5,003 records.
test::Crest TracedCrest() {
    return test::LatticeCrest(384, QColor(0, 0, 0), 1242);
}

struct Metafile5000 {
    QTemporaryDir Dir;
    QString Path;
    double Records = 0;
    Metafile5000() {
        EnsureApplication();
        const QByteArray bytes = test::CrestEmf(TracedCrest());
        // The header's count of records.
        Records =
            static_cast<std::uint8_t>(bytes[52]) + 256.0 * static_cast<std::uint8_t>(bytes[53]);
        Path = Write(Dir, QStringLiteral("crest.emf"), bytes);
    }
};

void BM_VectorPictureEmf5000OnPdfPage(benchmark::State& state) {
    static Metafile5000 file;
    const FooterLayout layout = CrestFooter(file.Path);
    for (auto _ : state) {
        QByteArray pdf;
        QBuffer buffer(&pdf);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(kDpi);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter(&writer);
        QPainterCanvas canvas(painter);
        FooterDrawRequest request;
        DrawFooter(canvas, FooterTarget::Page(writer.width(), writer.height(), 0, 0), layout,
                   request);
        painter.end();
        benchmark::DoNotOptimize(pdf.size());
    }
    state.counters["records"] = file.Records;
}
BENCHMARK(BM_VectorPictureEmf5000OnPdfPage)->Unit(benchmark::kMillisecond);

// Onto the pixels of the 1,200 dpi page: an image of the footer strip alone (the rest of the
// page holds no picture), placed where the strip lies on the page.
void BM_VectorPictureEmf5000OnPagePixels(benchmark::State& state) {
    static Metafile5000 file;
    const FooterLayout layout = CrestFooter(file.Path);
    const QRect strip(static_cast<int>(0.119 * kPageWidth), static_cast<int>(0.7878 * kPageHeight),
                      static_cast<int>(0.762 * kPageWidth) + 2,
                      static_cast<int>(0.1448 * kPageHeight) + 2);
    QImage image(strip.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    for (auto _ : state) {
        QPainter painter(&image);
        painter.translate(-strip.topLeft());
        QPainterCanvas canvas(painter);
        FooterDrawRequest request;
        DrawFooter(canvas, FooterTarget::Page(kPageWidth, kPageHeight, 0, 0), layout, request);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["records"] = file.Records;
    state.counters["strip_Mpx"] = strip.width() * static_cast<double>(strip.height()) / 1e6;
}
BENCHMARK(BM_VectorPictureEmf5000OnPagePixels)->Unit(benchmark::kMillisecond);

// A Windows metafile of about 1 MB, opened through the footer's picture path.
void BM_VectorPictureWmf1MbOpened(benchmark::State& state) {
    EnsureApplication();
    const bool placeable = state.range(0) != 0;
    const test::Crest crest = test::LatticeCrest();
    QByteArray bytes = test::CrestWmf(crest, 1, placeable);
    const int repeat = static_cast<int>((1 << 20) / bytes.size()) + 1;
    bytes = test::CrestWmf(crest, repeat, placeable);
    QTemporaryDir dir;
    const QString path = Write(dir, QStringLiteral("seal.wmf"), bytes);
    for (auto _ : state) {
        const auto source = OpenFooterPicture(path);
        if (!source) {
            state.SkipWithError("the metafile did not open");
            break;
        }
        benchmark::DoNotOptimize(source->Size());
    }
    state.counters["MB"] = static_cast<double>(bytes.size()) / (1 << 20);
}
BENCHMARK(BM_VectorPictureWmf1MbOpened)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace ulvan
