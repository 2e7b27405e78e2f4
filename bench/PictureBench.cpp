// Large footer pictures against the memory budget: eight frames of a 5,700 x 5,700 PNG
// drawn into a 600 dpi PDF page, as `ulvan sheet` writes it. Each iteration is one print job
// (a fresh drawing request). The counter peak_MB is the process's peak resident memory
// during the iterations (the picture's own making before them excluded); measure the whole
// process with
//     /usr/bin/time -v build/dev/bench/ulvan_bench --benchmark_filter=LargePictures
#include "calendar/TextUtil.h"
#include "footer/FooterRenderer.h"
#include "sheet/QtText.h"

#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <fstream>
#include <string>

namespace ulvan {
namespace {

constexpr int kDpi = 600;
constexpr int kPageWidth = 4960; // A4 at 600 dpi
constexpr int kPageHeight = 7016;
constexpr int kSide = 5700;
constexpr int kFrames = 8;

void EnsureApplication() {
    if (QCoreApplication::instance() == nullptr) {
        static int argc = 1;
        static char name[] = "ulvan_bench";
        static char* argv[] = {name, nullptr};
        static QApplication app(argc, argv);
    }
}

// The peak resident memory (VmHWM) in MB; ResetPeak starts it afresh from what is resident.
double PeakMegabytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::stod(line.substr(6)) / 1024.0;
        }
    }
    return 0;
}

void ResetPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

// One 5,700 x 5,700 picture of line art (a PNG of some hundred kilobytes) and its copies.
struct LargePictures {
    QTemporaryDir Dir;
    QString First;
    QStringList Copies;

    LargePictures() {
        EnsureApplication();
        First = Dir.filePath(QStringLiteral("large0.png"));
        {
            QImage image(kSide, kSide, QImage::Format_RGB32);
            image.fill(QColor(255, 255, 255));
            QPainter painter(&image);
            painter.setPen(QPen(QColor(0, 0, 0), 20));
            for (int i = 0; i < kSide; i += 300) {
                painter.drawLine(0, i, kSide, kSide - i);
                painter.drawEllipse(i, i, 500, 300);
            }
            painter.end();
            image.save(First);
        }
        Copies << First;
        for (int i = 1; i < kFrames; ++i) {
            const QString copy = Dir.filePath(QStringLiteral("large%1.png").arg(i));
            QFile::copy(First, copy);
            Copies << copy;
        }
    }
};

LargePictures& ThePictures() {
    static LargePictures pictures;
    return pictures;
}

// Eight frames side by side along the footer strip; `distinct`: each its own file.
FooterLayout EightFrames(bool distinct) {
    FooterLayout layout;
    for (int i = 0; i < kFrames; ++i) {
        FooterFrame frame;
        frame.Left = u"0";
        frame.Right = u"10000";
        frame.Top = DecimalText(i * 1250);
        frame.Bottom = DecimalText(i * 1250 + 1200);
        frame.Kind = kFooterPictureFixed;
        frame.Content = ToU16(ThePictures().Copies[distinct ? i : 0]);
        layout.Append(frame);
    }
    return layout;
}

void DrawJob(benchmark::State& state, bool distinct) {
    const FooterLayout layout = EightFrames(distinct);
    const FooterTarget page = FooterTarget::Page(kPageWidth, kPageHeight, 0, 0);
    ResetPeak();
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
        DrawFooter(canvas, page, layout, request);
        painter.end();
        benchmark::DoNotOptimize(buffer.data().size());
    }
    state.counters["peak_MB"] = PeakMegabytes();
    // The pictures that make it onto the page, counted on a recording of the same job.
    RecordingCanvas recording;
    FooterDrawRequest counted;
    DrawFooter(recording, page, layout, counted);
    state.counters["pictures_drawn"] =
        static_cast<double>(recording.CallsOf(CanvasCall::Kind::Picture).size());
}

// The same picture in all eight frames: decoded once per job at the frames' size.
void BM_LargePicturesOneFileEightFrames(benchmark::State& state) {
    ThePictures();
    DrawJob(state, false);
}
BENCHMARK(BM_LargePicturesOneFileEightFrames)->Unit(benchmark::kMillisecond)->Iterations(3);

// Eight different files: what fits in the budget is drawn, the rest gets the load message.
void BM_LargePicturesEightFiles(benchmark::State& state) {
    ThePictures();
    DrawJob(state, true);
}
BENCHMARK(BM_LargePicturesEightFiles)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
} // namespace ulvan
