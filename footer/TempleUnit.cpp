#include "footer/TempleUnit.h"

#include "calendar/Messages.h"
#include "case/CaseHost.h"
#include "footer/FooterRenderer.h"
#include "footer/GraphicUnit.h"
#include "footer/MojiUnit.h"
#include "footer/WakuSelUnit.h"
#include "sheet/Canvas.h"
#include "sheet/QtText.h"
#include "ui/DialogSupport.h"
#include "ui/Interaction.h"

#include <QAction>
#include <QCloseEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStatusBar>
#include <QToolButton>

#include <algorithm>
#include <limits>
#include <string>

namespace ulvan {

namespace {

// The drawing area's panel is this many times as high as it is wide, like the footer strip.
constexpr double kPanelAspect = 3.7202;
// The drawing area lies this far inside its panel's border on every side.
constexpr int kPanelBorder = 2;
constexpr int kButtonGap = 32;
constexpr int kButtonWidth = 89;
constexpr int kButtonHeight = 25;
constexpr int kOkHeight = 49;
constexpr int kHandleHalf = 2; // a handle square is 5 x 5 pixels around its point

const QString kDeleteQuestion = QStringLiteral("この枠情報を削除しますか？");
const QString kDeleteAllQuestion = QStringLiteral("全ての枠情報を削除しますか？");
const QString kNoFontMessage =
    QStringLiteral("フォントが指定されていません。\n仮に「ＭＳ 明朝」を使用します");
const std::u16string kFallbackFace = u"ＭＳ 明朝";

void SetHint(QWidget* widget, const QString& hint) {
    widget->setToolTip(hint);
    widget->setStatusTip(hint);
}

Qt::CursorShape CursorOf(std::optional<FrameHandle> handle) {
    if (!handle) {
        return Qt::ArrowCursor;
    }
    switch (*handle) {
    case FrameHandle::TopLeft:
    case FrameHandle::BottomRight:
        return Qt::SizeFDiagCursor;
    case FrameHandle::TopRight:
    case FrameHandle::BottomLeft:
        return Qt::SizeBDiagCursor;
    case FrameHandle::Top:
    case FrameHandle::Bottom:
        return Qt::SizeVerCursor;
    case FrameHandle::Right:
    case FrameHandle::Left:
        return Qt::SizeHorCursor;
    case FrameHandle::Interior:
        return Qt::SizeAllCursor;
    }
    return Qt::ArrowCursor;
}

int Clamped(std::int64_t value) {
    constexpr std::int64_t kLimit = std::int64_t{1} << 30;
    return static_cast<int>(std::clamp(value, -kLimit, kLimit));
}

PixelPoint PointOf(const QPointF& position) {
    const QPoint p = position.toPoint();
    return PixelPoint{p.x(), p.y()};
}

// The drawing area: paints through the editor and hands it every mouse event.
class FooterPaintBox final : public QWidget {
public:
    FooterPaintBox(TTempleForm& form, QWidget* parent)
        : QWidget(parent)
        , m_form(form) {
        setMouseTracking(true);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        QPainter painter(this);
        m_form.PaintArea(painter);
    }
    void mousePressEvent(QMouseEvent* event) override {
        m_form.AreaPressed(event->button(), PointOf(event->position()));
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        m_form.AreaMoved(PointOf(event->position()));
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        m_form.AreaReleased(event->button(), PointOf(event->position()));
    }

private:
    TTempleForm& m_form;
};

} // namespace

// Keeps what the renderer reports while it draws; the editor shows it after the paint, since
// a message box opened inside a paint would paint the area again underneath.
class TTempleForm::DeferredMessages final : public MessageSink {
public:
    struct Item {
        std::optional<BeepKind> Beep;
        std::u16string Text;
    };
    void Beep(BeepKind kind) override { m_beep = kind; }
    void ShowMessage(std::u16string_view text) override {
        Items.push_back({m_beep, std::u16string(text)});
        m_beep.reset();
    }
    std::vector<Item> Items;

private:
    std::optional<BeepKind> m_beep;
};

TTempleForm::TTempleForm(CaseHost& host, Interaction& interaction, QWidget* parent)
    : QDialog(parent)
    , m_host(host)
    , m_interaction(interaction)
    , m_messages(std::make_unique<DeferredMessages>())
    , m_request(std::make_unique<FooterDrawRequest>(m_messages.get())) {
    BuildWindow();
    WakuSelForm = new TWakuSelForm(this);
    MojiForm = new TMojiForm(interaction, this);
    GraphicForm = new TGraphicForm(interaction, this);
    LayOut();
    UpdateCommands();
}

TTempleForm::~TTempleForm() = default;

void TTempleForm::BuildWindow() {
    setObjectName(QStringLiteral("TempleForm"));
    setWindowTitle(QStringLiteral("寺院名等の編集"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setModal(true);
    setFont(DefaultUiFont());
    setSizeGripEnabled(false);
    resize(800, 600);

    Panel1 = new QLabel(QStringLiteral("編集枠→"), this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setAlignment(Qt::AlignCenter);

    Panel2 = new QFrame(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel2->setLineWidth(kPanelBorder);
    Panel2->setAutoFillBackground(true);
    QPalette white = Panel2->palette();
    white.setColor(QPalette::Window, QColor(255, 255, 255));
    Panel2->setPalette(white);

    PaintBox1 = new FooterPaintBox(*this, Panel2);
    PaintBox1->setObjectName(QStringLiteral("PaintBox1"));
    PaintBox1->setContextMenuPolicy(Qt::CustomContextMenu);

    const auto button = [this](const char* name, const QString& text, const QString& hint) {
        auto* b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(name));
        b->setText(text);
        SetHint(b, hint);
        return b;
    };
    SpeedButton1 = button("SpeedButton1", QStringLiteral("枠の挿入"),
                          QStringLiteral("文字またはグラフィックを書き込む枠を挿入します"));
    SpeedButton1->setCheckable(true);
    SpeedButton2 =
        button("SpeedButton2", QStringLiteral("枠の編集"),
               QStringLiteral(
                   "選択されている枠に記入する文字の編集またはグラフィックファイルを設定します"));
    SpeedButton3 = button("SpeedButton3", QStringLiteral("枠の削除"),
                          QStringLiteral("選択されている枠を削除します"));
    SpeedButton4 = button("SpeedButton4", QStringLiteral("全ての枠の削除"),
                          QStringLiteral("選択の如何にかかわらず、すべての枠を削除します"));
    Button3 = new QPushButton(QStringLiteral("ﾍﾙﾌﾟ"), this);
    Button3->setObjectName(QStringLiteral("Button3"));
    Button3->setAutoDefault(false);
    Button1 = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setAutoDefault(false);
    Button2 = new QPushButton(QStringLiteral("OK"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setDefault(true);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    const auto item = [this](const char* name, const QString& text) {
        QAction* action = PopupMenu1->addAction(text);
        action->setObjectName(QString::fromLatin1(name));
        return action;
    };
    N1 = item("N1", QStringLiteral("枠の挿入"));
    N2 = item("N2", QStringLiteral("枠の編集"));
    N3 = item("N3", QStringLiteral("枠の削除"));
    QAction* separator = PopupMenu1->addSeparator();
    separator->setObjectName(QStringLiteral("N4"));
    N5 = item("N5", QStringLiteral("全ての枠の削除"));

    connect(SpeedButton1, &QToolButton::clicked, this, [this](bool on) {
        // The button has already toggled itself; pressing it also drops the selection.
        if (!on) {
            m_banding = false;
        }
        Deselect();
        Repaint();
    });
    connect(SpeedButton2, &QToolButton::clicked, this, &TTempleForm::EditSelectedFrame);
    connect(SpeedButton3, &QToolButton::clicked, this, &TTempleForm::DeleteSelectedFrame);
    connect(SpeedButton4, &QToolButton::clicked, this, &TTempleForm::DeleteAllFrames);
    connect(N1, &QAction::triggered, this, [this] { SetInsertMode(true); });
    connect(N2, &QAction::triggered, this, &TTempleForm::EditSelectedFrame);
    connect(N3, &QAction::triggered, this, &TTempleForm::DeleteSelectedFrame);
    connect(N5, &QAction::triggered, this, &TTempleForm::DeleteAllFrames);
    connect(PaintBox1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { PopupMenu1->popup(PaintBox1->mapToGlobal(at)); });
    connect(Button3, &QPushButton::clicked, this, [this] {
        if (OnHelp) {
            OnHelp(QString::fromLatin1(kFooterEditorHelpAnchor));
        } else {
            m_interaction.Beep(BeepKind::Default);
        }
    });
    connect(Button1, &QPushButton::clicked, this, &TTempleForm::CancelClicked);
    connect(Button2, &QPushButton::clicked, this, &TTempleForm::OkClicked);

    // Key preview: the window sees Insert and Delete whichever control has the focus.
    for (QWidget* child : findChildren<QWidget*>()) {
        child->installEventFilter(this);
    }
}

void TTempleForm::LayOut() {
    const int statusHeight = StatusBar1->sizeHint().height();
    const int clientWidth = width();
    const int clientHeight = std::max(0, height() - statusHeight);
    const int panel1Width = static_cast<int>(RoundHalfEven(clientWidth / 4.0));
    const int panel2Width = static_cast<int>(RoundHalfEven(clientHeight / kPanelAspect));
    Panel1->setGeometry(0, 0, panel1Width, clientHeight);
    Panel2->setGeometry(panel1Width, 0, panel2Width, clientHeight);
    const int areaWidth = std::max(0, panel2Width - 2 * kPanelBorder);
    const int areaHeight = std::max(0, clientHeight - 2 * kPanelBorder);
    PaintBox1->setGeometry(kPanelBorder, kPanelBorder, areaWidth, areaHeight);
    const int left = panel1Width + panel2Width + kButtonGap;
    SpeedButton1->setGeometry(left, 16, kButtonWidth, kButtonHeight);
    SpeedButton2->setGeometry(left, 56, kButtonWidth, kButtonHeight);
    SpeedButton3->setGeometry(left, 136, kButtonWidth, kButtonHeight);
    SpeedButton4->setGeometry(left, 176, kButtonWidth, kButtonHeight);
    Button3->setGeometry(left, 256, kButtonWidth, kButtonHeight);
    Button1->setGeometry(left, 296, kButtonWidth, kButtonHeight);
    Button2->setGeometry(left, 344, kButtonWidth, kOkHeight);
    StatusBar1->setGeometry(0, clientHeight, clientWidth, statusHeight);
    if (areaWidth != m_width || areaHeight != m_height) {
        m_width = areaWidth;
        m_height = areaHeight;
        m_cacheValid = false;
    }
}

void TTempleForm::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    LayOut();
}

bool TTempleForm::Edit() {
    Open();
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized);
    const bool ok = exec() == QDialog::Accepted;
    // The working copy lives only while the editor is open.
    KariList.Clear();
    m_cacheValid = false;
    return ok;
}

void TTempleForm::Open() {
    KariList = m_host.Footer();
    if (m_selected && *m_selected >= KariList.FrameCount()) {
        m_selected.reset();
    }
    SpeedButton1->setChecked(false);
    m_banding = false;
    m_dragFrame.reset();
    m_hover.reset();
    PaintBox1->setCursor(Qt::ArrowCursor);
    UpdateCommands();
    LayoutChanged();
}

void TTempleForm::DropSelection() {
    m_selected.reset();
    UpdateCommands();
}

bool TTempleForm::InsertMode() const {
    return SpeedButton1->isChecked();
}

void TTempleForm::OkClicked() {
    m_host.SetFooter(KariList);
    accept();
}

void TTempleForm::CancelClicked() {
    m_selected.reset();
    UpdateCommands();
    reject();
}

void TTempleForm::closeEvent(QCloseEvent* event) {
    // The close box cancels but keeps the selection for the next showing.
    QDialog::closeEvent(event);
}

void TTempleForm::keyPressEvent(QKeyEvent* event) {
    // Escape does not close the editor: a stray key must not throw away a design.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TTempleForm::keyReleaseEvent(QKeyEvent* event) {
    if (event->isAutoRepeat()) {
        QDialog::keyReleaseEvent(event);
        return;
    }
    if (event->key() == Qt::Key_Insert) {
        if (InsertMode()) {
            SpeedButton1->setChecked(false);
            m_banding = false;
        } else {
            SetInsertMode(true);
        }
        Repaint();
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Delete) {
        DeleteSelectedFrame();
        event->accept();
        return;
    }
    QDialog::keyReleaseEvent(event);
}

bool TTempleForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyRelease && watched != this && isVisible()) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Insert || key->key() == Qt::Key_Delete) {
            keyReleaseEvent(key);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TTempleForm::SetInsertMode(bool on) {
    SpeedButton1->setChecked(on);
    if (on) {
        Deselect();
    } else {
        m_banding = false;
    }
    Repaint();
}

void TTempleForm::Select(std::size_t frame) {
    m_selected = frame;
    UpdateCommands();
    Repaint();
}

void TTempleForm::Deselect() {
    if (!m_selected) {
        return;
    }
    m_selected.reset();
    UpdateCommands();
    Repaint();
}

void TTempleForm::UpdateCommands() {
    const bool selected = m_selected.has_value();
    N2->setEnabled(selected);
    N3->setEnabled(selected);
    SpeedButton2->setEnabled(selected);
    SpeedButton3->setEnabled(selected);
}

void TTempleForm::HitTest(PixelPoint point) {
    if (const auto frame = HitFrame(KariList, point, m_width, m_height)) {
        Select(*frame);
    }
}

// ------------------------------------------------------------------------------------------
// The mouse
// ------------------------------------------------------------------------------------------

void TTempleForm::AreaPressed(Qt::MouseButton button, PixelPoint point) {
    if (button != Qt::LeftButton) {
        return;
    }
    const std::optional<std::size_t> wasSelected = m_selected;
    Deselect();
    if (InsertMode()) {
        m_banding = true;
        m_bandStart = point;
        m_bandEnd = point;
        Repaint();
        return;
    }
    // The cursor shows a handle of the frame that was selected until now: drag it.
    if (m_hover && wasSelected && *wasSelected < KariList.FrameCount()) {
        m_dragFrame = *wasSelected;
        m_dragHandle = *m_hover;
        m_dragLast = point;
        Repaint();
    }
}

void TTempleForm::AreaMoved(PixelPoint point) {
    if (InsertMode()) {
        if (m_banding) {
            m_bandEnd = point;
            Repaint();
        }
        return;
    }
    if (!m_dragFrame) {
        m_hover.reset();
        if (m_selected) {
            m_hover = HandleAt(KariList, *m_selected, point, m_width, m_height);
        }
        PaintBox1->setCursor(CursorOf(m_hover));
        return;
    }
    const std::size_t frame = *m_dragFrame;
    const auto rect = FramePixels(KariList, frame, m_width, m_height);
    if (!rect) {
        return;
    }
    const auto moved = DragFrameStep(*rect, m_dragHandle, point, m_dragLast);
    if (!moved) {
        return; // narrower or lower than 10 pixels: the frame stays
    }
    StoreFrameRect(KariList, frame, *moved, m_width, m_height);
    FitFooterText(KariList, frame, m_width, m_height);
    m_dragLast = point;
    Repaint();
}

void TTempleForm::AreaReleased(Qt::MouseButton button, PixelPoint point) {
    if (!InsertMode()) {
        const bool dragged = m_dragFrame.has_value();
        m_dragFrame.reset();
        if (button == Qt::LeftButton) {
            HitTest(point);
        }
        if (dragged) {
            m_cacheValid = false; // the dragged frame goes back into the cached image
            Repaint();
        }
        return;
    }
    if (button != Qt::LeftButton || !m_banding) {
        return; // another button leaves insert mode on
    }
    SpeedButton1->setChecked(false);
    m_banding = false;
    m_bandEnd = point;
    if (!BandMakesFrame(m_bandStart, m_bandEnd)) {
        Repaint();
        return;
    }
    InsertFrame(m_bandStart, m_bandEnd);
}

void TTempleForm::InsertFrame(PixelPoint start, PixelPoint end) {
    AppendBandFrame(KariList, start, end, m_width, m_height);
    LayoutChanged();
    HitTest(end);
    const std::size_t frame = KariList.FrameCount() - 1;
    const auto choice = WakuSelForm->Choose();
    if (!choice) {
        return; // the frame stays, empty
    }
    if (*choice == FrameContentChoice::Text) {
        AskTextValues(frame, false);
    } else {
        AskPictureValues(frame, false);
    }
}

// ------------------------------------------------------------------------------------------
// The dialogs
// ------------------------------------------------------------------------------------------

void TTempleForm::AskTextValues(std::size_t frame, bool fromFrame) {
    TextFrameValues values; // a new frame: empty text, vertical, no font, not bold
    if (fromFrame) {
        values.Text = ToQ(KariList.Field(frame, FooterField::Content));
        values.Vertical = KariList.Field(frame, FooterField::Kind) != kFooterHorizontal;
        values.Face = ToQ(KariList.Field(frame, FooterField::FontFace));
        values.Bold = KariList.Field(frame, FooterField::Bold) == kFooterBold;
    }
    const auto result = MojiForm->Edit(values);
    if (!result || frame >= KariList.FrameCount()) {
        return;
    }
    KariList.SetField(frame, FooterField::Bold,
                      result->Bold ? std::u16string(kFooterBold) : std::u16string());
    KariList.SetField(frame, FooterField::Kind,
                      std::u16string(result->Vertical ? kFooterVertical : kFooterHorizontal));
    std::u16string face = ToU16(result->Face);
    if (face.empty()) {
        m_interaction.ShowMessage(ToU16(kNoFontMessage));
        face = kFallbackFace;
    }
    // A face is stored without the "@" of its vertical variant; drawing adds it.
    while (!face.empty() && face.front() == u'@') {
        face.erase(face.begin());
    }
    KariList.SetField(frame, FooterField::FontFace, face);
    // One line: a pasted line break would split the stored form.
    QString text = result->Text;
    text.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    KariList.SetField(frame, FooterField::Content, ToU16(text));
    FitFooterText(KariList, frame, m_width, m_height);
    LayoutChanged();
}

void TTempleForm::AskPictureValues(std::size_t frame, bool fromFrame) {
    PictureFrameValues values; // a new frame: no file, proportions kept
    if (fromFrame) {
        values.File = ToQ(KariList.Field(frame, FooterField::Content));
        values.KeepAspect = KariList.Field(frame, FooterField::Kind) == kFooterPictureFixed;
    }
    const auto result = GraphicForm->Edit(values);
    if (!result || frame >= KariList.FrameCount()) {
        return;
    }
    KariList.SetField(
        frame, FooterField::Kind,
        std::u16string(result->KeepAspect ? kFooterPictureFixed : kFooterPictureStretch));
    QString file = result->File;
    file.replace(QLatin1Char('\r'), QString()).replace(QLatin1Char('\n'), QString());
    KariList.SetField(frame, FooterField::Content, ToU16(file));
    // A file named again is tried again, also one found unreadable earlier in this run (the
    // user may have put it back).
    ForgetUnreadablePicture(file);
    LayoutChanged();
}

void TTempleForm::EditSelectedFrame() {
    if (!m_selected || *m_selected >= KariList.FrameCount()) {
        return;
    }
    const std::size_t frame = *m_selected;
    // A picture found unreadable in this run counts as having no kind: the kind is asked
    // again, and the one chosen is stored.
    const std::u16string kind = FooterKindForRun(KariList, frame);
    bool kindChosen = false;
    if (kind.empty() || kind == kFooterUnreadable) {
        if (const auto choice = WakuSelForm->Choose()) {
            // Drawn again only once its dialog is done: an unreadable picture is not
            // reported anew while the user is choosing another file.
            if (kind == kFooterUnreadable) {
                ForgetUnreadablePicture(ToQ(KariList.Field(frame, FooterField::Content)));
            }
            KariList.SetField(frame, FooterField::Kind,
                              std::u16string(*choice == FrameContentChoice::Text
                                                 ? kFooterVertical
                                                 : kFooterPictureFixed));
            kindChosen = true;
        }
    }
    const std::u16string now = kindChosen ? KariList.Field(frame, FooterField::Kind) : kind;
    if (now == kFooterVertical || now == kFooterHorizontal) {
        AskTextValues(frame, true);
    } else if (now == kFooterPictureFixed || now == kFooterPictureStretch) {
        AskPictureValues(frame, true);
    }
    if (kindChosen) {
        LayoutChanged();
    }
}

void TTempleForm::DeleteSelectedFrame() {
    if (!m_selected) {
        return;
    }
    m_interaction.Beep(BeepKind::Exclamation);
    if (!m_interaction.Confirm(Interaction::ConfirmKind::Question, QStringLiteral("確認"),
                               kDeleteQuestion)) {
        return;
    }
    const std::size_t frame = *m_selected;
    Deselect();
    if (frame < KariList.FrameCount()) {
        KariList.Remove(frame);
    }
    LayoutChanged();
}

void TTempleForm::DeleteAllFrames() {
    m_interaction.Beep(BeepKind::Exclamation);
    if (!m_interaction.Confirm(Interaction::ConfirmKind::Question, QStringLiteral("確認"),
                               kDeleteAllQuestion)) {
        return;
    }
    Deselect();
    KariList.Clear();
    LayoutChanged();
}

// ------------------------------------------------------------------------------------------
// Drawing
// ------------------------------------------------------------------------------------------

void TTempleForm::LayoutChanged() {
    m_cacheValid = false;
    // A new drawing request: a frame given a new picture is told about again.
    m_request = std::make_unique<FooterDrawRequest>(m_messages.get());
    Repaint();
}

void TTempleForm::Repaint() {
    PaintBox1->update();
}

void TTempleForm::EnsureCache() {
    const std::optional<std::size_t> excluded = m_dragFrame;
    const QSize size(std::max(1, m_width), std::max(1, m_height));
    if (m_cacheValid && m_cacheExcluded == excluded && m_cache.size() == size) {
        return;
    }
    if (m_cache.size() != size) {
        m_cache = QImage(size, QImage::Format_RGB32);
    }
    m_cache.fill(QColor(255, 255, 255));
    {
        QPainter painter(&m_cache);
        QPainterCanvas canvas(painter);
        const FooterTarget target = FooterTarget::Editor(m_width, m_height);
        // One drawing: each message once, with the number of frames it concerns.
        m_request->BeginDrawing();
        for (std::size_t frame = 0; frame < KariList.FrameCount(); ++frame) {
            if (frame != excluded) {
                DrawFooterFrame(canvas, target, KariList, frame, *m_request);
            }
        }
        m_request->EndDrawing();
    }
    m_cacheValid = true;
    m_cacheExcluded = excluded;
}

void TTempleForm::ComposeArea() {
    EnsureCache();
    m_area = m_cache;
    QPainter painter(&m_area);
    QPainterCanvas canvas(painter);
    if (m_dragFrame) {
        DrawFooterFrame(canvas, FooterTarget::Editor(m_width, m_height), KariList, *m_dragFrame,
                        *m_request);
    }
    if (m_selected) {
        if (const auto points = HandlePoints(KariList, *m_selected, m_width, m_height)) {
            PenSpec pen;
            pen.Colour = PenAqua();
            canvas.SetPen(pen);
            canvas.SetClearBrush();
            for (const PixelPoint& p : *points) {
                canvas.Rectangle(Clamped(p.X - kHandleHalf), Clamped(p.Y - kHandleHalf),
                                 Clamped(p.X + kHandleHalf + 1), Clamped(p.Y + kHandleHalf + 1));
            }
        }
    }
    if (m_banding) {
        const PixelRect band = BandRect(m_bandStart, m_bandEnd);
        canvas.FocusRect(Clamped(band.Left), Clamped(band.Top), Clamped(band.Right),
                         Clamped(band.Bottom));
    }
    if (!m_messages->Items.empty() && !m_flushPending) {
        m_flushPending = true;
        QMetaObject::invokeMethod(this, &TTempleForm::FlushMessages, Qt::QueuedConnection);
    }
}

QImage TTempleForm::AreaImage() {
    ComposeArea();
    return m_area;
}

void TTempleForm::PaintArea(QPainter& painter) {
    if (m_painting) {
        return;
    }
    m_painting = true;
    ComposeArea();
    painter.drawImage(0, 0, m_area);
    m_painting = false;
}

void TTempleForm::FlushMessages() {
    m_flushPending = false;
    std::vector<DeferredMessages::Item> items;
    items.swap(m_messages->Items);
    for (const DeferredMessages::Item& item : items) {
        if (item.Beep) {
            m_interaction.Beep(*item.Beep);
        }
        m_interaction.ShowMessage(item.Text);
    }
    // A picture that failed to load is marked for the run now; draw its frame as such.
    if (!items.empty()) {
        Repaint();
    }
}

} // namespace ulvan
