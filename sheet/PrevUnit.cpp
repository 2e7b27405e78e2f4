#include "sheet/PrevUnit.h"

#include "sheet/Fonts.h"
#include "sheet/MemorialPage.h"
#include "sheet/PrintSheet.h"
#include "sheet/QtText.h"
#include "sheet/SheetRenderer.h"
#include "ui/Interaction.h"

#include <QEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace ulvan {

// Holds back what the footer reports during a paint until the paint is over.
class PreviewMessages final : public MessageSink {
public:
    explicit PreviewMessages(TPrevForm& form)
        : m_form(form) {}
    void ShowMessage(std::u16string_view text) override { m_form.m_pending.append(ToQ(text)); }
    void Beep(BeepKind kind) override { m_form.m_printer.UserInteraction().Beep(kind); }

private:
    TPrevForm& m_form;
};

// The page: white, with the sheet drawn at the top-left corner.
class PreviewPaintBox final : public QWidget {
public:
    PreviewPaintBox(TPrevForm& form, QWidget* parent)
        : QWidget(parent)
        , m_form(form) {
        setObjectName(QStringLiteral("PaintBox1"));
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter painter(this);
        painter.fillRect(event->rect(), Qt::white);
        QPainterCanvas canvas(painter);
        m_form.PaintPage(canvas);
    }

private:
    TPrevForm& m_form;
};

TPrevForm::TPrevForm(MemorialSheetPrinter& printer, QWidget* parent)
    : QDialog(parent)
    , m_printer(printer)
    , m_messages(std::make_unique<PreviewMessages>(*this))
    , m_request(std::make_unique<FooterDrawRequest>(m_messages.get())) {
    setObjectName(QStringLiteral("PrevForm"));
    setWindowTitle(QStringLiteral("印刷プレビュー"));
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint);
    QFont font(ResolveFace(QStringLiteral("ＭＳ Ｐゴシック")));
    font.setPixelSize(12);
    setFont(font);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedHeight(29);
    layout->addWidget(Panel1);

    const auto makeButton = [this](const char* name, const QString& caption, const QString& hint,
                                   int left) {
        auto* button = new QToolButton(Panel1);
        button->setObjectName(QString::fromLatin1(name));
        button->setText(caption);
        button->setToolTip(hint);
        button->setStatusTip(hint);
        button->setGeometry(left, 4, 81, 21);
        button->setCursor(Qt::PointingHandCursor);
        button->setAutoRaise(true);
        button->installEventFilter(this);
        return button;
    };
    SpeedButton1 = makeButton("SpeedButton1", QStringLiteral("印刷"),
                              QStringLiteral("表示されているUlvan表を印刷します"), 8);
    SpeedButton5 = makeButton("SpeedButton5", QStringLiteral("PDFに保存…"),
                              QStringLiteral("表示されているUlvan表をPDFファイルに保存します"), 96);
    SpeedButton2 = makeButton("SpeedButton2", QStringLiteral("ズームイン"),
                              QStringLiteral("拡大表示します"), 184);
    SpeedButton3 = makeButton("SpeedButton3", QStringLiteral("ズームアウト"),
                              QStringLiteral("縮小表示します"), 272);
    SpeedButton4 = makeButton("SpeedButton4", QStringLiteral("閉じる"),
                              QStringLiteral("プレビュー・フォームを閉じます"), 360);

    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setWidgetResizable(false);
    ScrollBox1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette white = ScrollBox1->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::Base, Qt::white);
    ScrollBox1->setPalette(white);
    ScrollBox1->setBackgroundRole(QPalette::Base);
    ScrollBox1->viewport()->setAutoFillBackground(true);
    ScrollBox1->viewport()->installEventFilter(this);
    PaintBox1 = new PreviewPaintBox(*this, nullptr);
    ScrollBox1->setWidget(PaintBox1);
    layout->addWidget(ScrollBox1, 1);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    layout->addWidget(StatusBar1);

    // A zoomed page opens at the end the sheet is read from; once the user scrolls, the
    // view stays where they put it.
    for (QScrollBar* bar : {ScrollBox1->horizontalScrollBar(), ScrollBox1->verticalScrollBar()}) {
        connect(bar, &QScrollBar::rangeChanged, this, [this] {
            if (m_atReadingEnd) {
                ScrollToReadingEnd();
            }
        });
        connect(bar, &QScrollBar::actionTriggered, this, [this] { m_atReadingEnd = false; });
    }

    connect(SpeedButton1, &QToolButton::clicked, this, &TPrevForm::Print);
    connect(SpeedButton5, &QToolButton::clicked, this, &TPrevForm::SavePdf);
    connect(SpeedButton2, &QToolButton::clicked, this, &TPrevForm::ZoomIn);
    connect(SpeedButton3, &QToolButton::clicked, this, &TPrevForm::ZoomOut);
    connect(SpeedButton4, &QToolButton::clicked, this, &TPrevForm::close);

    resize(800, 600);
    Fit();
}

TPrevForm::~TPrevForm() = default;

void TPrevForm::ShowPreview(std::int32_t kind) {
    PreviewKind = kind;
    m_request = std::make_unique<FooterDrawRequest>(m_messages.get());
    m_pending.clear();
    setWindowState(windowState() | Qt::WindowMaximized);
    if (ZoomLevel == 0) {
        Fit();
    } else {
        StartAtReadingEnd();
    }
    exec();
}

void TPrevForm::Print() {
    if (PreviewKind == 0) {
        m_printer.PrintMemorialSheet(false, /*asked=*/true); // asked when the preview opened
    } else if (PreviewKind == 1 && AnnualPrint) {
        AnnualPrint();
    } else {
        m_printer.UserInteraction().Beep(BeepKind::Default);
    }
}

void TPrevForm::SavePdf() {
    if (PreviewKind == 0) {
        m_printer.SaveMemorialSheetPdf(false, /*asked=*/true);
    } else if (PreviewKind == 1 && AnnualSavePdf) {
        AnnualSavePdf();
    } else {
        m_printer.UserInteraction().Beep(BeepKind::Default);
    }
}

void TPrevForm::Fit() {
    m_atReadingEnd = false;
    const QSize box = ScrollBox1->viewport()->size();
    PaintBox1->resize(box);
    const PreviewPage page = FitPreviewPage(box.width(), box.height());
    PreviewWidth = page.Width;
    PreviewHeight = page.Height;
    PaintBox1->update();
}

void TPrevForm::ApplyPageSize() {
    PaintBox1->resize(PreviewWidth, PreviewHeight);
    PaintBox1->update();
}

void TPrevForm::StartAtReadingEnd() {
    m_atReadingEnd = true;
    ScrollToReadingEnd();
}

void TPrevForm::ScrollToReadingEnd() {
    QScrollBar* across = ScrollBox1->horizontalScrollBar();
    across->setValue(across->maximum());
    ScrollBox1->verticalScrollBar()->setValue(0);
}

void TPrevForm::ZoomIn() {
    StepZoom(+1);
}

void TPrevForm::ZoomOut() {
    StepZoom(-1);
}

void TPrevForm::StepZoom(int step) {
    const std::int32_t level = ZoomLevel + step;
    if (level < kMinZoomLevel || level > kMaxZoomLevel) {
        return;
    }
    ZoomLevel = level;
    if (ZoomLevel == 0) {
        Fit();
    } else {
        const PreviewPage page = ScalePreviewPage(PreviewPage{PreviewWidth, PreviewHeight},
                                                  step > 0 ? kZoomInFactor : kZoomOutFactor);
        PreviewWidth = page.Width;
        PreviewHeight = page.Height;
        ApplyPageSize();
        StartAtReadingEnd();
    }
    SpeedButton2->setEnabled(ZoomLevel < kMaxZoomLevel);
    SpeedButton3->setEnabled(ZoomLevel > kMinZoomLevel);
}

void TPrevForm::PaintPage(Canvas& canvas) {
    if (PreviewKind == 0) {
        MemorialSheetInputs inputs = m_printer.ReadInputs();
        const FooterLayout before = inputs.Footer;
        DrawMemorialPreview(canvas, PreviewWidth, PreviewHeight, inputs, *m_request);
        if (!(inputs.Footer == before)) {
            m_printer.WriteFooter(inputs.Footer);
        }
    } else if (PreviewKind == 1 && AnnualPainter) {
        AnnualPainter(canvas, PreviewWidth, PreviewHeight, *m_request);
    } else {
        DrawPreviewBorder(canvas, PreviewWidth, PreviewHeight);
    }
    if (!m_pending.isEmpty() && !m_messageQueued) {
        m_messageQueued = true;
        QTimer::singleShot(0, this, &TPrevForm::ShowPaintMessages);
    }
}

void TPrevForm::ShowPaintMessages() {
    m_messageQueued = false;
    const QStringList pending = std::exchange(m_pending, {});
    for (const QString& text : pending) {
        m_printer.UserInteraction().ShowMessage(ToU16(text));
    }
}

bool TPrevForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ScrollBox1->viewport() && event->type() == QEvent::Resize && ZoomLevel == 0) {
        Fit();
    }
    if (auto* button = qobject_cast<QToolButton*>(watched)) {
        if (event->type() == QEvent::Enter) {
            StatusBar1->showMessage(button->statusTip());
        } else if (event->type() == QEvent::Leave) {
            StatusBar1->clearMessage();
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace ulvan
