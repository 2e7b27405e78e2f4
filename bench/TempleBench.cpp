// One drag step in the footer editor (the mouse moved with a frame's handle held: the step
// applied, the text re-fitted, the drawing area painted) with 20 frames, a picture among
// them, on a drawing area 1080 pixels high. The target is one screen refresh, 16 ms.
#include "calendar/TextUtil.h"
#include "case/CaseHost.h"
#include "footer/FooterEditing.h"
#include "footer/FooterRenderer.h"
#include "footer/TempleUnit.h"
#include "sheet/QtText.h"
#include "ui/Interaction.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QStatusBar>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace ulvan {
namespace {

void EnsureWindowApplication() {
    if (QCoreApplication::instance() == nullptr) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        static int argc = 1;
        static char name[] = "ulvan_bench";
        static char* argv[] = {name, nullptr};
        static QApplication app(argc, argv);
    }
}

class SilentInteraction final : public Interaction {
public:
    void ShowMessage(std::u16string_view) override {}
    void Beep(BeepKind) override {}
    bool Confirm(ConfirmKind, const QString&, const QString&) override { return false; }
    Choice AskYesNoCancel(const QString&, const QString&) override { return Choice::Cancel; }
    QString OpenFileName(QWidget*, const QString&, const QString&, const QString&) override {
        return {};
    }
    QString SaveFileName(QWidget*, const QString&, const QString&, const QString&) override {
        return {};
    }
    QString OpenPictureFileName(QWidget*, const QString&, const QString&, const QString&) override {
        return {};
    }
    bool PrintDialog(QWidget*, QPrinter&) override { return false; }
};

class BenchHost final : public CaseHost {
public:
    DeceasedData Deceased() const override { return {}; }
    SheetOptions Options() const override { return {}; }
    MemorialSchedule Schedule() const override { return DefaultSchedule(); }
    FooterLayout Footer() const override { return Layout; }
    std::vector<std::u16string> EraItems() const override { return {}; }
    QDate CurrentDate() const override { return {}; }
    QString SettingsFile() const override { return {}; }
    QWidget* HostWindow() const override { return nullptr; }
    void PrintMemorialSheet(bool) override {}
    void ShowPreview(PreviewKind) override {}
    void ApplyRecord(const DeceasedData&) override {}
    void ShowStatusMessage(const QString&) override {}
    void SetFooter(const FooterLayout& layout) override { Layout = layout; }
    FooterLayout Layout;
};

constexpr int kAreaHeight = 1080;

struct Editor {
    QTemporaryDir Dir;
    SilentInteraction Ui;
    BenchHost Host;
    std::unique_ptr<TTempleForm> Form;

    Editor() {
        EnsureWindowApplication();
        const QString picture = Dir.filePath(QStringLiteral("emblem.png"));
        QImage image(600, 600, QImage::Format_RGB32);
        image.fill(QColor(255, 255, 255));
        {
            QPainter painter(&image);
            painter.setBrush(QColor(0, 0, 0));
            painter.drawEllipse(QRect(40, 40, 520, 520));
        }
        image.save(picture);
        Form = std::make_unique<TTempleForm>(Host, Ui);
        const int status = Form->StatusBar1->sizeHint().height();
        Form->resize(1600, kAreaHeight + 4 + status);
        Form->show();
        QCoreApplication::processEvents();
        const int W = Form->AreaWidth();
        const int H = Form->AreaHeight();
        // Frame 0 is the picture, frame 1 the vertical temple name that is dragged, then
        // vertical and horizontal lines down the strip.
        for (int i = 0; i < 20; ++i) {
            FooterFrame frame;
            const std::int64_t top = 20 + 50 * i;
            PixelRect r{10, top, W - 10, top + 45};
            if (i == 0) {
                r = PixelRect{W / 4, 10, W - 10, 10 + W / 2};
                frame.Kind = kFooterPictureFixed;
                frame.Content = ToU16(picture);
            } else if (i % 3 == 0) {
                frame.Kind = kFooterHorizontal;
                frame.Content = u"TEL 03-1234-5678";
            } else {
                r = PixelRect{10 + (i % 4) * 60, 200 + i * 20, 60 + (i % 4) * 60, 600 + i * 20};
                frame.Kind = kFooterVertical;
                frame.Content = u"東京都台東区谷中一丁目";
            }
            frame.FontFace = u"ＭＳ 明朝";
            Host.Layout.Append(frame);
            StoreFrameRect(Host.Layout, Host.Layout.FrameCount() - 1, r, W, H);
            FitFooterText(Host.Layout, Host.Layout.FrameCount() - 1, W, H);
        }
        Form->Open();
        QCoreApplication::processEvents();
    }

    void Send(QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held, PixelPoint at) {
        const QPointF local(static_cast<double>(at.X), static_cast<double>(at.Y));
        QMouseEvent event(type, local, Form->PaintBox1->mapToGlobal(local), button, held,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(Form->PaintBox1, &event);
    }

    // Selects the frame under `inside`, then presses on the handle at `handle`.
    void Grab(PixelPoint inside, PixelPoint handle) {
        Send(QEvent::MouseMove, Qt::NoButton, Qt::NoButton, inside);
        Send(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, inside);
        Send(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, inside);
        Send(QEvent::MouseMove, Qt::NoButton, Qt::NoButton, handle);
        Send(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, handle);
    }
};

void DragSteps(benchmark::State& state, std::size_t frame, bool resize) {
    Editor editor;
    const auto rect =
        FramePixels(editor.Host.Layout, frame, editor.Form->AreaWidth(), editor.Form->AreaHeight());
    const PixelPoint inside{(rect->Left + rect->Right) / 2, (rect->Top + rect->Bottom) / 2};
    const PixelPoint grip = resize ? PixelPoint{rect->Right, rect->Bottom} : inside;
    editor.Grab(inside, grip);
    std::int64_t step = 0;
    for (auto _ : state) {
        // Back and forth by 3 pixels, so that every step is accepted.
        const std::int64_t d = (step++ % 2 == 0) ? 3 : 0;
        editor.Send(QEvent::MouseMove, Qt::NoButton, Qt::LeftButton,
                    PixelPoint{grip.X + d, grip.Y + d});
        editor.Form->PaintBox1->repaint();
    }
    editor.Send(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, grip);
    state.counters["area_height"] = editor.Form->AreaHeight();
}

void BM_TempleDragText(benchmark::State& state) {
    DragSteps(state, 1, false);
}
BENCHMARK(BM_TempleDragText)->Unit(benchmark::kMillisecond);

void BM_TempleResizeText(benchmark::State& state) {
    DragSteps(state, 1, true);
}
BENCHMARK(BM_TempleResizeText)->Unit(benchmark::kMillisecond);

void BM_TempleDragPicture(benchmark::State& state) {
    DragSteps(state, 0, false);
}
BENCHMARK(BM_TempleDragPicture)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace ulvan
