// The footer editor driven as a user drives it: synthesised mouse and key events on the real
// window, dialogs answered as they open, against a small host that holds the layout.
#include "ModalDriver.h"
#include "ScriptedInteraction.h"
#include "Typing.h"
#include "app/UlvanMain.h"
#include "calendar/TextUtil.h"
#include "footer/FooterEditing.h"
#include "footer/FooterRenderer.h"
#include "footer/GraphicUnit.h"
#include "footer/MojiUnit.h"
#include "footer/TempleUnit.h"
#include "footer/WakuSelUnit.h"
#include "resources/HelpUnit.h"
#include "sheet/Fonts.h"
#include "sheet/MemorialPage.h"
#include "sheet/QtText.h"
#include "sheet/SheetCommands.h"
#include "tests/support/VectorCrest.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>

#include <cmath>
#include <optional>

using namespace ulvan;

namespace {

// The host as the editor sees it: a layout to read and a place to hand it back.
class FooterHost final : public CaseHost {
public:
    DeceasedData Deceased() const override { return {}; }
    SheetOptions Options() const override { return {}; }
    MemorialSchedule Schedule() const override { return DefaultSchedule(); }
    FooterLayout Footer() const override { return Layout; }
    std::vector<std::u16string> EraItems() const override { return {}; }
    QDate CurrentDate() const override { return QDate(2024, 1, 1); }
    QString SettingsFile() const override { return {}; }
    QWidget* HostWindow() const override { return nullptr; }
    void PrintMemorialSheet(bool) override {}
    void ShowPreview(PreviewKind) override {}
    void ApplyRecord(const DeceasedData&) override {}
    void ShowStatusMessage(const QString&) override {}
    void SetFooter(const FooterLayout& layout) override {
        Layout = layout;
        ++SetCalls;
    }

    FooterLayout Layout;
    int SetCalls = 0;
};

PixelPoint P(std::int64_t x, std::int64_t y) {
    return PixelPoint{x, y};
}

QPoint Q(PixelPoint p) {
    return QPoint(static_cast<int>(p.X), static_cast<int>(p.Y));
}

void SendMouse(QWidget* box, QEvent::Type type, Qt::MouseButton button, PixelPoint at) {
    const QPointF local(Q(at));
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton
                                  : type == QEvent::MouseMove && button == Qt::NoButton
                                      ? Qt::NoButton
                                      : Qt::MouseButtons(button);
    QMouseEvent event(type, local, box->mapToGlobal(local), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(box, &event);
}

// A frame of the given pixel rectangle in the editor's units.
FooterFrame FrameAt(const TTempleForm& form, PixelRect r, std::u16string_view kind = u"",
                    std::u16string_view content = u"") {
    FooterLayout one;
    one.Append(FooterFrame{});
    StoreFrameRect(one, 0, r, form.AreaWidth(), form.AreaHeight());
    FooterFrame frame = one.Frame(0);
    frame.Kind = kind;
    frame.Content = content;
    if (!kind.empty() && (kind == kFooterVertical || kind == kFooterHorizontal)) {
        frame.FontFace = u"ＭＳ 明朝";
    }
    return frame;
}

QImage WhiteImage(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(255, 255, 255));
    return image;
}

} // namespace

class TestTempleForm : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    // Window and layout.
    void ControlsAndStartState_data();
    void ControlsAndStartState();
    void LayoutFollowsTheSize_data();
    void LayoutFollowsTheSize();
    void EditOpensMaximisedAndModal();

    // Inserting.
    void NineByNineBandMakesNothing();
    void FlatBandMakesAFrameMovableOnlyOnceGrown();
    void CancelledKindLeavesAnEmptySelectedFrame();
    void InsertedTextFrameIsFilledAndFitted();
    void InsertedPictureFrameTakesTheBrowsedFile();
    void InsertKeyTogglesOnRelease();
    void OtherButtonLeavesInsertModeOn();

    // Selecting, moving, resizing.
    void OverlapSelectsTheLaterFrame();
    void HandleCursorsWithinTwoPixels_data();
    void HandleCursorsWithinTwoPixels();
    void NoHandlesOnFramesSmallerThanFive();
    void RightEdgeRefusedAtTenPixels();
    void MovePastTheTopStoresANegativeTop();
    void WideningAVerticalTextGrowsIt();
    void DragRedrawsOnlyTheDraggedFrameOverTheCache();

    // Deleting.
    void DeleteKeyWithoutSelectionDoesNothing();
    void DeleteAsksAndRemoves_data();
    void DeleteAsksAndRemoves();
    void DeleteAllAsks();

    // Closing and the kept selection.
    void OkHandsBackCancelDrops_data();
    void OkHandsBackCancelDrops();
    void KeptSelectionShownAgain_data();
    void KeptSelectionShownAgain();
    void EscapeDoesNotClose();
    void HelpOpensTheEditorsAnchor();
    void HelpStandsOverTheModalEditor();

    // Bad input.
    void FrameWithoutNumericRectangleIsInert();
    void UnreadablePictureReportedOnceAndAskedAgain();
    void CrestInEveryFormatShowsAlike_data();
    void CrestInEveryFormatShowsAlike();
    void UnreadablePicturesToldOnceWithTheirCount();
    void UnreadablePictureKindHandedBackOnOk();
    void PictureNamedAgainIsTriedAgain();
    void CancelledKindLeavesTheUnreadablePictureAsItWas();
    void ThousandsOfFramesOpenAndPaint();

    // The dialogs.
    void WakuSelKeepsTheLastChoice();
    void MojiClearAsks_data();
    void MojiClearAsks();
    void MojiFontBoxIsTheProgramsFontList();
    void GraphicBrowseOffersThePictureKinds();

    // The whole way.
    void DesignedFooterReachesThePrintedSheet();
    // Only with ULVAN_DOCS_DIR set: designs the README's footer and leaves the editor's
    // picture and the settings holding it in that folder.
    void DocsPictures();

private:
    // A fresh editor, shown, on `frames`.
    void OpenOn(const std::vector<FooterFrame>& frames = {});
    void Press(PixelPoint p, Qt::MouseButton b = Qt::LeftButton) {
        SendMouse(m_form->PaintBox1, QEvent::MouseButtonPress, b, p);
    }
    void Hover(PixelPoint p) { SendMouse(m_form->PaintBox1, QEvent::MouseMove, Qt::NoButton, p); }
    void MoveHeld(PixelPoint p) {
        SendMouse(m_form->PaintBox1, QEvent::MouseMove, Qt::LeftButton, p);
    }
    void Release(PixelPoint p, Qt::MouseButton b = Qt::LeftButton) {
        SendMouse(m_form->PaintBox1, QEvent::MouseButtonRelease, b, p);
    }
    void Click(PixelPoint p) {
        Hover(p);
        Press(p);
        Release(p);
    }
    // Hover, press, move in steps of one pixel along each axis, release.
    void Drag(PixelPoint from, PixelPoint to);
    void Band(PixelPoint from, PixelPoint to) {
        Press(from);
        MoveHeld(to);
        Release(to);
    }
    std::optional<PixelRect> Rect(std::size_t frame) const {
        return FramePixels(m_form->KariList, frame, m_form->AreaWidth(), m_form->AreaHeight());
    }

    QTemporaryDir m_dir;
    std::unique_ptr<ScriptedInteraction> m_ui;
    std::unique_ptr<FooterHost> m_host;
    std::unique_ptr<TTempleForm> m_form;
};

void TestTempleForm::init() {
    m_ui = std::make_unique<ScriptedInteraction>();
    m_host = std::make_unique<FooterHost>();
    m_form = std::make_unique<TTempleForm>(*m_host, *m_ui);
    // Frames are placed in pixels of this size's drawing area (Edit() would maximise); the
    // layout follows the size once the window is shown.
    m_form->resize(900, 700);
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    m_form->hide();
}

void TestTempleForm::cleanup() {
    QCOMPARE(m_ui->PendingAnswers(), std::size_t{0});
    QCOMPARE(m_ui->UnscriptedCalls(), 0);
    m_form.reset();
    m_host.reset();
    m_ui.reset();
    ForgetUnreadablePictures(); // the run's marks are the process's; each test starts afresh
}

void TestTempleForm::OpenOn(const std::vector<FooterFrame>& frames) {
    FooterLayout layout;
    for (const FooterFrame& frame : frames) {
        layout.Append(frame);
    }
    m_host->Layout = layout;
    m_form->Open();
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
}

void TestTempleForm::Drag(PixelPoint from, PixelPoint to) {
    Hover(from);
    Press(from);
    PixelPoint at = from;
    while (at != to) {
        at.X += (to.X > at.X) - (to.X < at.X);
        at.Y += (to.Y > at.Y) - (to.Y < at.Y);
        MoveHeld(at);
    }
    Release(to);
}

// ------------------------------------------------------------------------------------------

void TestTempleForm::ControlsAndStartState_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("SpeedButton1") << "SpeedButton1"
                                  << "枠の挿入"
                                  << "文字またはグラフィックを書き込む枠を挿入します" << true;
    QTest::newRow("SpeedButton2")
        << "SpeedButton2"
        << "枠の編集"
        << "選択されている枠に記入する文字の編集またはグラフィックファイルを設定します" << false;
    QTest::newRow("SpeedButton3") << "SpeedButton3"
                                  << "枠の削除"
                                  << "選択されている枠を削除します" << false;
    QTest::newRow("SpeedButton4") << "SpeedButton4"
                                  << "全ての枠の削除"
                                  << "選択の如何にかかわらず、すべての枠を削除します" << true;
    QTest::newRow("Button3") << "Button3"
                             << "ﾍﾙﾌﾟ"
                             << "" << true;
    QTest::newRow("Button1") << "Button1"
                             << "ｷｬﾝｾﾙ"
                             << "" << true;
    QTest::newRow("Button2") << "Button2"
                             << "OK"
                             << "" << true;
    QTest::newRow("N1") << "N1"
                        << "枠の挿入"
                        << "" << true;
    QTest::newRow("N2") << "N2"
                        << "枠の編集"
                        << "" << false;
    QTest::newRow("N3") << "N3"
                        << "枠の削除"
                        << "" << false;
    QTest::newRow("N5") << "N5"
                        << "全ての枠の削除"
                        << "" << true;
}

void TestTempleForm::ControlsAndStartState() {
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, hint);
    QFETCH(bool, enabled);
    QCOMPARE(m_form->windowTitle(), QStringLiteral("寺院名等の編集"));
    QVERIFY(!(m_form->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(m_form->windowFlags() & Qt::WindowMinimizeButtonHint);
    if (auto* action = m_form->findChild<QAction*>(name)) {
        QCOMPARE(action->text(), caption);
        QCOMPARE(action->isEnabled(), enabled);
        return;
    }
    auto* button = m_form->findChild<QAbstractButton*>(name);
    QVERIFY(button != nullptr);
    QCOMPARE(button->text(), caption);
    QCOMPARE(button->toolTip(), hint);
    QCOMPARE(button->isEnabled(), enabled);
    QCOMPARE(m_form->Panel1->text(), QStringLiteral("編集枠→"));
    QVERIFY(m_form->Button2->isDefault());
    QVERIFY(!m_form->InsertMode());
    QVERIFY(!m_form->Selected());
}

void TestTempleForm::LayoutFollowsTheSize_data() {
    QTest::addColumn<QSize>("size");
    QTest::newRow("small") << QSize(640, 480);
    QTest::newRow("wide") << QSize(1600, 600);
    QTest::newRow("tall") << QSize(900, 1200);
}

void TestTempleForm::LayoutFollowsTheSize() {
    QFETCH(QSize, size);
    OpenOn();
    m_form->resize(size);
    QCOMPARE(m_form->Panel1->width(), static_cast<int>(RoundHalfEven(m_form->width() / 4.0)));
    const int client = m_form->height() - m_form->StatusBar1->height();
    QCOMPARE(m_form->Panel2->height(), client);
    QCOMPARE(m_form->Panel2->width(), static_cast<int>(RoundHalfEven(client / 3.7202)));
    QCOMPARE(m_form->PaintBox1->geometry(), m_form->Panel2->rect().adjusted(2, 2, -2, -2));
    QCOMPARE(m_form->AreaWidth(), m_form->PaintBox1->width());
    QCOMPARE(m_form->AreaHeight(), m_form->PaintBox1->height());
    const int left = m_form->Panel1->width() + m_form->Panel2->width() + 32;
    for (QWidget* button : std::initializer_list<QWidget*>{
             m_form->SpeedButton1, m_form->SpeedButton2, m_form->SpeedButton3, m_form->SpeedButton4,
             m_form->Button3, m_form->Button1, m_form->Button2}) {
        QCOMPARE(button->x(), left);
    }
    QVERIFY(m_form->StatusBar1->currentMessage().isEmpty());
}

void TestTempleForm::EditOpensMaximisedAndModal() {
    bool maximised = false;
    bool modal = false;
    WhenModalOf<TTempleForm>([&](TTempleForm* form) {
        maximised = form->windowState().testFlag(Qt::WindowMaximized);
        modal = form->isModal();
        form->Button2->click();
    });
    QVERIFY(m_form->Edit());
    QVERIFY(maximised);
    QVERIFY(modal);
    QCOMPARE(m_host->SetCalls, 1);
}

// ------------------------------------------------------------------------------------------

void TestTempleForm::NineByNineBandMakesNothing() {
    OpenOn();
    const QImage before = m_form->AreaImage();
    m_form->SpeedButton1->click();
    QVERIFY(m_form->InsertMode());
    Band(P(20, 30), P(29, 39));
    QCOMPARE(m_form->KariList.FrameCount(), std::size_t{0});
    QVERIFY(!m_form->InsertMode());
    QCOMPARE(m_form->AreaImage(), before); // no trace of the band
    QCOMPARE(before, WhiteImage(before.size()));
}

void TestTempleForm::FlatBandMakesAFrameMovableOnlyOnceGrown() {
    OpenOn();
    m_form->SpeedButton1->click();
    WhenModalOf<TWakuSelForm>([](TWakuSelForm* dialog) { dialog->Button2->click(); });
    Band(P(20, 100), P(70, 105));
    QCOMPARE(m_form->KariList.FrameCount(), std::size_t{1});
    const PixelRect flat{20, 100, 70, 105};
    QCOMPARE(*Rect(0), flat);
    QCOMPARE(m_form->Selected(), std::optional<std::size_t>(0));

    // Moving is refused: it would stay 5 high.
    Drag(P(45, 102), P(45, 140));
    QCOMPARE(*Rect(0), flat);
    // Its bottom dragged down by 4 is refused, by 5 accepted.
    Click(P(45, 102));
    Drag(P(45, 105), P(45, 109));
    QCOMPARE(*Rect(0), flat);
    Click(P(45, 102));
    Drag(P(45, 105), P(45, 110));
    QCOMPARE(Rect(0)->Bottom, std::int64_t{110});
    // Now an ordinary frame: it moves.
    Click(P(45, 104));
    Drag(P(45, 104), P(45, 134));
    QCOMPARE(*Rect(0), (PixelRect{20, 130, 70, 140}));
}

void TestTempleForm::CancelledKindLeavesAnEmptySelectedFrame() {
    OpenOn();
    m_form->N1->trigger();
    WhenModalOf<TWakuSelForm>([](TWakuSelForm* dialog) { dialog->Button2->click(); });
    Band(P(20, 20), P(80, 200));
    QCOMPARE(m_form->KariList.FrameCount(), std::size_t{1});
    QVERIFY(m_form->KariList.Field(0, FooterField::Kind).empty());
    QCOMPARE(m_form->Selected(), std::optional<std::size_t>(0));
    QVERIFY(m_form->SpeedButton2->isEnabled());
    QVERIFY(m_form->N3->isEnabled());
    // Only the dotted outline is drawn: the inside stays white.
    const QImage area = m_form->AreaImage();
    QCOMPARE(area.pixelColor(50, 100), QColor(255, 255, 255));
    QVERIFY(area.pixelColor(20, 100) != QColor(255, 255, 255) ||
            area.pixelColor(20, 101) != QColor(255, 255, 255));
    // 枠の編集 asks for the kind again.
    bool asked = false;
    WhenModalOf<TWakuSelForm>([&asked](TWakuSelForm* dialog) {
        asked = true;
        dialog->Button2->click();
    });
    m_form->SpeedButton2->click();
    QVERIFY(asked);
    QVERIFY(m_form->KariList.Field(0, FooterField::Kind).empty());
}

void TestTempleForm::InsertedTextFrameIsFilledAndFitted() {
    OpenOn();
    m_form->SpeedButton1->click();
    TextFrameValues shown;
    WhenModalOf<TWakuSelForm>([&shown](TWakuSelForm* dialog) {
        dialog->RadioGroup1Buttons->button(0)->click();
        WhenModalOf<TMojiForm>([&shown](TMojiForm* moji) {
            shown = moji->Values();
            TypeText(moji->Edit1, QStringLiteral("光明寺"));
            moji->ComboBox1->setEditText(QString());
            moji->CheckBox1->setChecked(true);
            moji->Button1->click();
        });
        dialog->Button1->click();
    });
    // The dialog was reset for the new frame, whatever it showed before.
    m_form->MojiForm->SetValues({QStringLiteral("old"), false, QStringLiteral("x"), true});
    Band(P(100, 40), P(140, 400));
    QCOMPARE(shown, TextFrameValues{});
    QCOMPARE(m_ui->Messages, QStringList{QStringLiteral(
                                 "フォントが指定されていません。\n仮に「ＭＳ 明朝」を使用します")});
    const FooterLayout& k = m_form->KariList;
    QCOMPARE(k.Field(0, FooterField::Kind), std::u16string(kFooterVertical));
    QCOMPARE(k.Field(0, FooterField::FontFace), std::u16string(u"ＭＳ 明朝"));
    QCOMPARE(k.Field(0, FooterField::Bold), std::u16string(kFooterBold));
    QCOMPARE(k.Field(0, FooterField::Content), std::u16string(u"光明寺"));
    FooterLayout fitted = k;
    fitted.SetField(0, FooterField::FontHeight, u"");
    fitted.SetField(0, FooterField::Spacing, u"");
    FitFooterText(fitted, 0, m_form->AreaWidth(), m_form->AreaHeight());
    QCOMPARE(k, fitted);
    QVERIFY(!k.Field(0, FooterField::FontHeight).empty());
}

void TestTempleForm::InsertedPictureFrameTakesTheBrowsedFile() {
    OpenOn();
    const QString picture = m_dir.filePath(QStringLiteral("mon.png"));
    QImage image(40, 40, QImage::Format_RGB32);
    image.fill(QColor(0, 0, 0));
    QVERIFY(image.save(picture));
    m_ui->AnswerOpenPicture(picture);
    m_form->SpeedButton1->click();
    WhenModalOf<TWakuSelForm>([](TWakuSelForm* dialog) {
        dialog->RadioGroup1Buttons->button(1)->click();
        WhenModalOf<TGraphicForm>([](TGraphicForm* graphic) {
            graphic->Button1->click(); // 参照
            graphic->CheckBox1->setChecked(false);
            graphic->Button2->click();
        });
        dialog->Button1->click();
    });
    Band(P(20, 500), P(120, 600));
    QCOMPARE(m_form->KariList.Field(0, FooterField::Kind), std::u16string(kFooterPictureStretch));
    QCOMPARE(m_form->KariList.Field(0, FooterField::Content), ToU16(picture));
    // Drawn: black inside the frame.
    QCOMPARE(m_form->AreaImage().pixelColor(70, 550), QColor(0, 0, 0));
}

void TestTempleForm::InsertKeyTogglesOnRelease() {
    OpenOn({FrameAt(*m_form, {10, 10, 60, 60})});
    Click(P(30, 30));
    QVERIFY(m_form->Selected());
    QTest::keyPress(m_form.get(), Qt::Key_Insert);
    QVERIFY(!m_form->InsertMode()); // acts on release
    QTest::keyRelease(m_form.get(), Qt::Key_Insert);
    QVERIFY(m_form->InsertMode());
    QVERIFY(!m_form->Selected());
    QTest::keyClick(m_form->Button3, Qt::Key_Insert); // whichever control has the focus
    QVERIFY(!m_form->InsertMode());
}

void TestTempleForm::OtherButtonLeavesInsertModeOn() {
    OpenOn();
    m_form->SpeedButton1->click();
    Press(P(10, 10), Qt::RightButton);
    Release(P(40, 40), Qt::RightButton);
    QVERIFY(m_form->InsertMode());
    QCOMPARE(m_form->KariList.FrameCount(), std::size_t{0});
}

// ------------------------------------------------------------------------------------------

void TestTempleForm::OverlapSelectsTheLaterFrame() {
    OpenOn({FrameAt(*m_form, {10, 10, 100, 100}), FrameAt(*m_form, {50, 50, 150, 150})});
    Click(P(75, 75));
    QCOMPARE(m_form->Selected(), std::optional<std::size_t>(1));
    Click(P(20, 20));
    QCOMPARE(m_form->Selected(), std::optional<std::size_t>(0));
    Click(P(200, 300));
    QVERIFY(!m_form->Selected()); // the press dropped it; nothing under the release
}

void TestTempleForm::HandleCursorsWithinTwoPixels_data() {
    QTest::addColumn<int>("dx");
    QTest::addColumn<int>("dy");
    QTest::addColumn<int>("cursor");
    // Offsets from the frame's top-left corner (frame 40 x 100 at 20, 20).
    QTest::newRow("corner") << 0 << 0 << int(Qt::SizeFDiagCursor);
    QTest::newRow("corner+2") << -2 << 2 << int(Qt::SizeFDiagCursor);
    QTest::newRow("corner+3") << -3 << 0 << int(Qt::ArrowCursor);
    QTest::newRow("top-right") << 41 << 1 << int(Qt::SizeBDiagCursor);
    QTest::newRow("top-middle") << 20 << -2 << int(Qt::SizeVerCursor);
    QTest::newRow("right-middle") << 40 << 50 << int(Qt::SizeHorCursor);
    QTest::newRow("interior") << 20 << 30 << int(Qt::SizeAllCursor);
    QTest::newRow("outside") << 80 << 30 << int(Qt::ArrowCursor);
}

void TestTempleForm::HandleCursorsWithinTwoPixels() {
    QFETCH(int, dx);
    QFETCH(int, dy);
    QFETCH(int, cursor);
    OpenOn({FrameAt(*m_form, {20, 20, 60, 120})});
    Click(P(40, 60));
    Hover(P(20 + dx, 20 + dy));
    QCOMPARE(int(m_form->PaintBox1->cursor().shape()), cursor);
}

void TestTempleForm::NoHandlesOnFramesSmallerThanFive() {
    // A stored frame only 4 pixels wide: selectable, but it offers no handle.
    OpenOn({FrameAt(*m_form, {20, 20, 24, 120})});
    Click(P(22, 60));
    QCOMPARE(m_form->Selected(), std::optional<std::size_t>(0));
    Hover(P(20, 20));
    QCOMPARE(m_form->PaintBox1->cursor().shape(), Qt::ArrowCursor);
    Drag(P(20, 20), P(5, 5));
    QCOMPARE(*Rect(0), (PixelRect{20, 20, 24, 120}));
}

void TestTempleForm::RightEdgeRefusedAtTenPixels() {
    OpenOn({FrameAt(*m_form, {20, 20, 60, 120})});
    Click(P(40, 60));
    Drag(P(60, 70), P(0, 70)); // past the left edge, one pixel at a time
    QCOMPARE(*Rect(0), (PixelRect{20, 20, 30, 120}));
}

void TestTempleForm::MovePastTheTopStoresANegativeTop() {
    OpenOn({FrameAt(*m_form, {20, 20, 60, 120})});
    Click(P(40, 60));
    Drag(P(40, 60), P(40, 30));
    QCOMPARE(*Rect(0), (PixelRect{20, -10, 60, 90}));
    const auto top = FooterNumber(m_form->KariList, 0, FooterField::Top);
    QVERIFY(top && *top < 0);
    m_form->Button2->click();
    QCOMPARE(FooterNumber(m_host->Layout, 0, FooterField::Top), top);
}

void TestTempleForm::WideningAVerticalTextGrowsIt() {
    OpenOn({FrameAt(*m_form, {20, 20, 40, 400}, kFooterVertical, u"寺院名")});
    FitFooterText(m_form->KariList, 0, m_form->AreaWidth(), m_form->AreaHeight());
    const auto before = FooterNumber(m_form->KariList, 0, FooterField::FontHeight);
    Click(P(30, 200));
    Drag(P(40, 210), P(60, 210));
    const auto after = FooterNumber(m_form->KariList, 0, FooterField::FontHeight);
    QVERIFY(before && after);
    QVERIFY2(*after > *before, qPrintable(QStringLiteral("%1 -> %2").arg(*before).arg(*after)));
}

void TestTempleForm::DragRedrawsOnlyTheDraggedFrameOverTheCache() {
    // A picture frame that is not dragged is not drawn again at a drag step: deleting its
    // file mid-drag changes nothing on the screen, and no message comes.
    const QString picture = m_dir.filePath(QStringLiteral("kept.png"));
    QImage image(30, 30, QImage::Format_RGB32);
    image.fill(QColor(0, 0, 0));
    QVERIFY(image.save(picture));
    OpenOn({FrameAt(*m_form, {100, 300, 200, 400}, kFooterPictureStretch, ToU16(picture)),
            FrameAt(*m_form, {20, 20, 60, 120})});
    QCOMPARE(m_form->AreaImage().pixelColor(150, 350), QColor(0, 0, 0));
    Click(P(40, 60));
    Hover(P(40, 60));
    Press(P(40, 60));
    QVERIFY(QFile::remove(picture));
    MoveHeld(P(41, 61));
    MoveHeld(P(42, 62));
    QCOMPARE(m_form->AreaImage().pixelColor(150, 350), QColor(0, 0, 0));
    Release(P(42, 62));
    QCOMPARE(*Rect(1), (PixelRect{22, 22, 62, 122}));
    QVERIFY(m_ui->Messages.isEmpty());
}

// ------------------------------------------------------------------------------------------

void TestTempleForm::DeleteKeyWithoutSelectionDoesNothing() {
    OpenOn({FrameAt(*m_form, {20, 20, 60, 120})});
    QTest::keyClick(m_form.get(), Qt::Key_Delete);
    QVERIFY(m_ui->Log.isEmpty());
    QCOMPARE(m_form->KariList.FrameCount(), std::size_t{1});
}

void TestTempleForm::DeleteAsksAndRemoves_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("yes");
    QTest::newRow("key yes") << "key" << true;
    QTest::newRow("key no") << "key" << false;
    QTest::newRow("button yes") << "button" << true;
    QTest::newRow("menu yes") << "menu" << true;
}

void TestTempleForm::DeleteAsksAndRemoves() {
    QFETCH(QString, how);
    QFETCH(bool, yes);
    OpenOn({FrameAt(*m_form, {20, 20, 60, 120}, u"", u"first"),
            FrameAt(*m_form, {100, 20, 160, 120}, u"", u"second")});
    Click(P(40, 60));
    m_ui->AnswerConfirm(yes);
    if (how == QStringLiteral("key")) {
        QTest::keyPress(m_form.get(), Qt::Key_Delete);
        QVERIFY(m_ui->Questions.empty()); // acts on release
        QTest::keyRelease(m_form.get(), Qt::Key_Delete);
    } else if (how == QStringLiteral("button")) {
        m_form->SpeedButton3->click();
    } else {
        m_form->N3->trigger();
    }
    QCOMPARE(m_ui->Log,
             (QStringList{QStringLiteral("beep: exclamation"),
                          QStringLiteral("confirm: 確認 | この枠情報を削除しますか？")}));
    QCOMPARE(m_form->KariList.FrameCount(), yes ? std::size_t{1} : std::size_t{2});
    QCOMPARE(m_form->KariList.Field(0, FooterField::Content),
             yes ? std::u16string(u"second") : std::u16string(u"first"));
    QCOMPARE(m_form->Selected().has_value(), !yes);
    QCOMPARE(m_form->SpeedButton3->isEnabled(), !yes);
}

void TestTempleForm::DeleteAllAsks() {
    OpenOn({FrameAt(*m_form, {20, 20, 60, 120}), FrameAt(*m_form, {100, 20, 160, 120})});
    m_ui->AnswerConfirm(false);
    m_form->SpeedButton4->click();
    QCOMPARE(m_form->KariList.FrameCount(), std::size_t{2});
    m_ui->AnswerConfirm(true);
    m_form->N5->trigger();
    QCOMPARE(m_form->KariList.FrameCount(), std::size_t{0});
    QCOMPARE(m_ui->Questions.size(), std::size_t{2});
    QCOMPARE(m_ui->Questions.back().Text, QStringLiteral("全ての枠情報を削除しますか？"));
}

// ------------------------------------------------------------------------------------------

void TestTempleForm::OkHandsBackCancelDrops_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("OK") << "ok";
    QTest::newRow("ｷｬﾝｾﾙ") << "cancel";
    QTest::newRow("close box") << "close";
}

void TestTempleForm::OkHandsBackCancelDrops() {
    QFETCH(QString, how);
    const FooterFrame original = FrameAt(*m_form, {20, 20, 60, 120});
    m_host->Layout.Append(original);
    const FooterLayout before = m_host->Layout;
    std::optional<bool> result;
    WhenModalOf<TTempleForm>([&](TTempleForm* form) {
        form->SpeedButton1->click();
        WhenModalOf<TWakuSelForm>([](TWakuSelForm* dialog) { dialog->Button2->click(); });
        Band(P(100, 100), P(150, 200));
        // The host still has its own layout while the editor works on the copy.
        [&] { QCOMPARE(m_host->Layout, before); }();
        if (how == QStringLiteral("ok")) {
            form->Button2->click();
        } else if (how == QStringLiteral("cancel")) {
            form->Button1->click();
        } else {
            form->close();
        }
    });
    result = m_form->Edit();
    QCOMPARE(*result, how == QStringLiteral("ok"));
    if (how == QStringLiteral("ok")) {
        QCOMPARE(m_host->SetCalls, 1);
        QCOMPARE(m_host->Layout.FrameCount(), std::size_t{2});
        QCOMPARE(m_host->Layout.Frame(0), original);
    } else {
        QCOMPARE(m_host->SetCalls, 0);
        QCOMPARE(m_host->Layout, before);
    }
    QVERIFY(m_form->KariList.Empty()); // the working copy is gone
}

void TestTempleForm::KeptSelectionShownAgain_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("kept");
    QTest::newRow("OK") << "ok" << true;
    QTest::newRow("close box") << "close" << true;
    QTest::newRow("ｷｬﾝｾﾙ") << "cancel" << false;
    QTest::newRow("cleared by the host") << "cleared" << false;
    QTest::newRow("frame gone") << "gone" << false;
}

void TestTempleForm::KeptSelectionShownAgain() {
    QFETCH(QString, how);
    QFETCH(bool, kept);
    m_host->Layout.Append(FrameAt(*m_form, {20, 20, 60, 120}));
    m_host->Layout.Append(FrameAt(*m_form, {100, 20, 160, 120}));
    WhenModalOf<TTempleForm>([&](TTempleForm* form) {
        Click(P(130, 60));
        if (how == QStringLiteral("cancel")) {
            form->Button1->click();
        } else if (how == QStringLiteral("close")) {
            form->close();
        } else {
            form->Button2->click();
        }
    });
    m_form->Edit();
    if (how == QStringLiteral("cleared")) {
        m_form->DropSelection();
    } else if (how == QStringLiteral("gone")) {
        m_host->Layout.Remove(1);
    }
    std::optional<std::size_t> shown;
    QColor handle;
    WhenModalOf<TTempleForm>([&](TTempleForm* form) {
        shown = form->Selected();
        const auto rect = FramePixels(form->KariList, 1, form->AreaWidth(), form->AreaHeight());
        if (rect) {
            // The top-left handle's square: its outline is 2 pixels out from the corner.
            handle = form->AreaImage().pixelColor(static_cast<int>(rect->Left - 2),
                                                  static_cast<int>(rect->Top));
        }
        form->Button1->click();
    });
    m_form->Edit();
    QCOMPARE(shown.has_value(), kept);
    if (kept) {
        QCOMPARE(*shown, std::size_t{1});
        QCOMPARE(handle, PenAqua());
    }
}

void TestTempleForm::EscapeDoesNotClose() {
    OpenOn({FrameAt(*m_form, {20, 20, 60, 120})});
    QTest::keyClick(m_form.get(), Qt::Key_Escape);
    QVERIFY(m_form->isVisible());
}

void TestTempleForm::HelpOpensTheEditorsAnchor() {
    OpenOn();
    QStringList anchors;
    m_form->OnHelp = [&anchors](const QString& anchor) { anchors.append(anchor); };
    m_form->Button3->click();
    QCOMPARE(anchors, QStringList{QStringLiteral("footer-editor")});
    QFile help(QStringLiteral(":/help/Ulvan.html"));
    QVERIFY(help.open(QIODevice::ReadOnly));
    QVERIFY(QString::fromUtf8(help.readAll()).contains(QStringLiteral("name=\"footer-editor\"")));
}

void TestTempleForm::HelpStandsOverTheModalEditor() {
    QWidget home;
    THelpForm help(&home);
    bool over = false;
    QString fragment;
    m_form->OnHelp = [&](const QString& anchor) { help.ShowTopic(anchor, m_form.get()); };
    WhenModalOf<TTempleForm>([&](TTempleForm* form) {
        form->Button3->click();
        // Owned by the modal editor, the guide is not blocked by it.
        over = help.isVisible() && help.parentWidget() == form;
        fragment = help.HelpText->source().fragment();
        form->Button1->click();
    });
    m_form->Edit();
    QVERIFY(over);
    QCOMPARE(fragment, QStringLiteral("footer-editor"));
    QCOMPARE(help.parentWidget(), &home); // back in its place once the editor closed
    QVERIFY(help.isVisible());
}

// ------------------------------------------------------------------------------------------

void TestTempleForm::FrameWithoutNumericRectangleIsInert() {
    FooterFrame broken = FrameAt(*m_form, {20, 20, 60, 120}, kFooterVertical, u"寺");
    broken.Right = u"abc";
    OpenOn({broken});
    const QImage area = m_form->AreaImage();
    QCOMPARE(area, WhiteImage(area.size()));
    Click(P(40, 60));
    QVERIFY(!m_form->Selected());
    m_form->Button2->click();
    QCOMPARE(m_host->Layout.Frame(0), broken); // untouched
}

void TestTempleForm::CrestInEveryFormatShowsAlike_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    const test::Crest crest = test::LopsidedCrest();
    QTest::newRow("emf") << QStringLiteral("crest.emf") << test::CrestEmf(crest);
    QTest::newRow("wmf") << QStringLiteral("crest.wmf") << test::CrestWmf(crest);
    QTest::newRow("svg") << QStringLiteral("crest.svg") << test::CrestSvg(crest);
}

// The editor shows a crest saved as a metafile or a drawing where and as it shows the same
// crest saved as a bitmap: the same dark pixels, to the shapes' edges.
void TestTempleForm::CrestInEveryFormatShowsAlike() {
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    const test::Crest crest = test::LopsidedCrest();
    const QString bitmap = m_dir.filePath(QStringLiteral("crest.bmp"));
    QVERIFY(test::CrestImage(crest).save(bitmap, "BMP"));
    const QString vector = m_dir.filePath(name);
    QFile file(vector);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
    file.close();
    const PixelRect box{30, 40, 190, 140};
    const auto ink = [this, box](const QString& path) {
        OpenOn({FrameAt(*m_form, box, kFooterPictureFixed, ToU16(path))});
        const QImage area = m_form->AreaImage();
        m_form->Button2->click();
        QImage mask(area.size(), QImage::Format_Mono);
        mask.fill(0);
        for (int y = 0; y < area.height(); ++y) {
            for (int x = 0; x < area.width(); ++x) {
                if (qGray(area.pixel(x, y)) < 128) {
                    mask.setPixel(x, y, 1);
                }
            }
        }
        return mask;
    };
    const QImage a = ink(bitmap);
    const QImage b = ink(vector);
    QCOMPARE(m_ui->Messages, QStringList());
    int differing = 0;
    int dark = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            dark += a.pixelIndex(x, y);
            differing += a.pixelIndex(x, y) != b.pixelIndex(x, y) ? 1 : 0;
        }
    }
    QVERIFY(dark > 0);
    // Only pixels along the shapes' edges (a bitmap's edges fall on whole pixels) may differ.
    QVERIFY2(differing <= dark / 10,
             qPrintable(QStringLiteral("%1 of %2").arg(differing).arg(dark)));
}

void TestTempleForm::UnreadablePictureReportedOnceAndAskedAgain() {
    const QString missing = m_dir.filePath(QStringLiteral("gone.bmp"));
    OpenOn({FrameAt(*m_form, {20, 20, 120, 120}, kFooterPictureFixed, ToU16(missing))});
    m_form->AreaImage();
    QTRY_COMPARE(m_ui->Messages.size(), 1);
    m_form->AreaImage();
    QCoreApplication::processEvents(); // a second message would be queued by now
    QCOMPARE(m_ui->Log,
             (QStringList{QStringLiteral("beep: default"),
                          QStringLiteral("message: グラフィックファイルを読み込めませんでした")}));
    // Marked for the run only: the working copy keeps the frame's own kind.
    QCOMPARE(FooterKindForRun(m_form->KariList, 0), std::u16string(kFooterUnreadable));
    QCOMPARE(m_form->KariList.Field(0, FooterField::Kind), std::u16string(kFooterPictureFixed));
    // Editing it asks for the kind again; a picture chosen again is a kept-proportions one,
    // and the dialog starts from the frame's file.
    const QString found = m_dir.filePath(QStringLiteral("found.png"));
    QImage image(20, 20, QImage::Format_RGB32);
    image.fill(QColor(0, 0, 0));
    QVERIFY(image.save(found));
    Click(P(60, 60));
    QString offered;
    WhenModalOf<TWakuSelForm>([&offered, found](TWakuSelForm* dialog) {
        dialog->RadioGroup1Buttons->button(1)->click();
        WhenModalOf<TGraphicForm>([&offered, found](TGraphicForm* graphic) {
            offered = graphic->Edit1->text();
            graphic->Edit1->setText(found);
            graphic->Button2->click();
        });
        dialog->Button1->click();
    });
    m_form->SpeedButton2->click();
    QCOMPARE(offered, missing);
    QCOMPARE(m_form->KariList.Field(0, FooterField::Kind), std::u16string(kFooterPictureFixed));
    QCOMPARE(m_form->AreaImage().pixelColor(110, 60), QColor(0, 0, 0));
    QCOMPARE(m_ui->Messages.size(), 1);
}

void TestTempleForm::UnreadablePicturesToldOnceWithTheirCount() {
    const std::u16string missing = ToU16(m_dir.filePath(QStringLiteral("gone.bmp")));
    const std::u16string other = ToU16(m_dir.filePath(QStringLiteral("other.png")));
    OpenOn({FrameAt(*m_form, {20, 20, 120, 120}, kFooterPictureFixed, missing),
            FrameAt(*m_form, {20, 140, 120, 240}, kFooterPictureStretch, missing),
            FrameAt(*m_form, {20, 260, 120, 360}, kFooterPictureFixed, other)});
    m_form->AreaImage();
    QTRY_COMPARE(m_ui->Messages.size(), 1);
    m_form->AreaImage();
    QCoreApplication::processEvents(); // a second message would be queued by now
    QCOMPARE(m_ui->Messages, QStringList{ToQ(FooterMessageWithCount(kFooterLoadFailedMessage, 3))});
    QVERIFY(m_ui->Messages[0].endsWith(QStringLiteral("（3 枠）")));
}

void TestTempleForm::UnreadablePictureKindHandedBackOnOk() {
    const std::u16string missing = ToU16(m_dir.filePath(QStringLiteral("gone.bmp")));
    const FooterFrame fixed = FrameAt(*m_form, {20, 20, 120, 120}, kFooterPictureFixed, missing);
    const FooterFrame stretched =
        FrameAt(*m_form, {20, 140, 120, 240}, kFooterPictureStretch, missing);
    m_host->Layout.Append(fixed);
    m_host->Layout.Append(stretched);
    WhenModalOf<TTempleForm>([&](TTempleForm* form) {
        form->AreaImage();
        QTRY_COMPARE(m_ui->Messages.size(), 1);
        form->Button2->click();
    });
    QVERIFY(m_form->Edit());
    QCOMPARE(m_host->SetCalls, 1);
    // The user's "F" and "V" stay in the layout the editor hands back.
    QCOMPARE(m_host->Layout.Frame(0), fixed);
    QCOMPARE(m_host->Layout.Frame(1), stretched);
    QCOMPARE(FooterKindForRun(m_host->Layout, 0), std::u16string(kFooterUnreadable));
}

void TestTempleForm::PictureNamedAgainIsTriedAgain() {
    const QString path = m_dir.filePath(QStringLiteral("back.png"));
    OpenOn({FrameAt(*m_form, {20, 20, 120, 120}, kFooterPictureStretch, ToU16(path))});
    m_form->AreaImage();
    QTRY_COMPARE(m_ui->Messages.size(), 1);
    // The file comes back and the user names it again in the frame's dialog.
    QImage image(20, 20, QImage::Format_RGB32);
    image.fill(QColor(0, 0, 0));
    QVERIFY(image.save(path));
    Click(P(60, 60));
    WhenModalOf<TWakuSelForm>([path](TWakuSelForm* dialog) {
        dialog->RadioGroup1Buttons->button(1)->click();
        WhenModalOf<TGraphicForm>([path](TGraphicForm* graphic) {
            QCOMPARE(graphic->Edit1->text(), path);
            graphic->CheckBox1->setChecked(false);
            graphic->Button2->click();
        });
        dialog->Button1->click();
    });
    m_form->SpeedButton2->click();
    QCOMPARE(FooterKindForRun(m_form->KariList, 0), std::u16string(kFooterPictureStretch));
    QCOMPARE(m_form->AreaImage().pixelColor(60, 60), QColor(0, 0, 0));
    QCOMPARE(m_ui->Messages.size(), 1);
}

void TestTempleForm::CancelledKindLeavesTheUnreadablePictureAsItWas() {
    const std::u16string missing = ToU16(m_dir.filePath(QStringLiteral("gone.bmp")));
    const FooterFrame frame = FrameAt(*m_form, {20, 20, 120, 120}, kFooterPictureFixed, missing);
    OpenOn({frame});
    m_form->AreaImage();
    QTRY_COMPARE(m_ui->Messages.size(), 1);
    Click(P(60, 60));
    // No kind chosen: no picture dialog, the frame and its run-only mark stay.
    WhenModalOf<TWakuSelForm>([](TWakuSelForm* dialog) { dialog->Button2->click(); });
    m_form->SpeedButton2->click();
    QCOMPARE(m_form->KariList.Frame(0), frame);
    QCOMPARE(FooterKindForRun(m_form->KariList, 0), std::u16string(kFooterUnreadable));
    QCOMPARE(m_ui->Messages.size(), 1);
}

void TestTempleForm::ThousandsOfFramesOpenAndPaint() {
    std::vector<FooterFrame> frames;
    for (int i = 0; i < 3000; ++i) {
        frames.push_back(FrameAt(*m_form, {i % 200, i % 500, i % 200 + 30, i % 500 + 40},
                                 kFooterVertical, u"寺"));
    }
    OpenOn(frames);
    const QImage area = m_form->AreaImage();
    QVERIFY(area != WhiteImage(area.size()));
    Click(P(15, 15));
    QVERIFY(m_form->Selected());
}

// ------------------------------------------------------------------------------------------

void TestTempleForm::WakuSelKeepsTheLastChoice() {
    TWakuSelForm& dialog = *m_form->WakuSelForm;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("挿入枠の選択"));
    QCOMPARE(dialog.RadioGroup1Buttons->checkedId(), 0);
    WhenModalOf<TWakuSelForm>([](TWakuSelForm* d) {
        d->RadioGroup1Buttons->button(1)->click();
        d->Button1->click();
    });
    QCOMPARE(dialog.Choose(), std::optional<FrameContentChoice>(FrameContentChoice::Picture));
    WhenModalOf<TWakuSelForm>([](TWakuSelForm* d) { d->Button1->click(); });
    QCOMPARE(dialog.Choose(), std::optional<FrameContentChoice>(FrameContentChoice::Picture));
}

void TestTempleForm::MojiClearAsks_data() {
    QTest::addColumn<bool>("yes");
    QTest::newRow("yes") << true;
    QTest::newRow("no") << false;
}

void TestTempleForm::MojiClearAsks() {
    QFETCH(bool, yes);
    TMojiForm& dialog = *m_form->MojiForm;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("文字枠の編集"));
    dialog.Edit1->setText(QStringLiteral("寺"));
    m_ui->AnswerConfirm(yes);
    dialog.SpeedButton1->click();
    QCOMPARE(m_ui->Log, (QStringList{QStringLiteral("beep: exclamation"),
                                     QStringLiteral("confirm: 確認 | 文字列を削除しますか？")}));
    QCOMPARE(dialog.Edit1->text(), yes ? QString() : QStringLiteral("寺"));
}

void TestTempleForm::MojiFontBoxIsTheProgramsFontList() {
    QComboBox* box = m_form->MojiForm->ComboBox1;
    QStringList items;
    for (int i = 0; i < box->count(); ++i) {
        items.append(box->itemText(i));
    }
    QCOMPARE(items, FontBoxFamilies());
    QVERIFY(box->isEditable());
}

void TestTempleForm::GraphicBrowseOffersThePictureKinds() {
    TGraphicForm& dialog = *m_form->GraphicForm;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("ｸﾞﾗﾌｨｯｸ枠の設定"));
    QVERIFY(!dialog.Button2->isDefault() && !dialog.Button3->isDefault());
    dialog.Edit1->setText(QStringLiteral("/kept/as/is.bmp"));
    m_ui->AnswerOpenPicture(QString()); // cancelled: the name stays
    dialog.Button1->click();
    QCOMPARE(dialog.Edit1->text(), QStringLiteral("/kept/as/is.bmp"));
    QCOMPARE(m_ui->Dialogs.size(), std::size_t{1});
    const auto& call = m_ui->Dialogs.front();
    QCOMPARE(call.Kind, ScriptedInteraction::DialogKind::OpenPicture);
    QCOMPARE(call.Caption, QStringLiteral("ｸﾞﾗﾌｨｯｸﾌｧｲﾙ名の参照"));
    for (const char* pattern : {"*.bmp", "*.ico", "*.emf", "*.wmf", "*.svg", "*.tif", "*.tiff",
                                "*.png", "*.jpg", "*.jpeg"}) {
        QVERIFY2(call.Filter.section(QStringLiteral(";;"), 0, 0).contains(QLatin1String(pattern)),
                 pattern);
    }
}

// ------------------------------------------------------------------------------------------

void TestTempleForm::DesignedFooterReachesThePrintedSheet() {
    const QString settings = m_dir.filePath(QStringLiteral("roundtrip.ini"));
    const QString picture = m_dir.filePath(QStringLiteral("mon.png"));
    QImage image(64, 64, QImage::Format_RGB32);
    image.fill(QColor(0, 0, 0));
    QVERIFY(image.save(picture));
    FooterLayout designed;
    {
        ScriptedInteraction ui;
        TUlvanForm main(ui, settings);
        TTempleForm editor(main, ui);
        main.OnEditFooter = [&editor] { return editor.Edit(); };
        const auto insertText = [this](const QString& text, bool vertical, PixelPoint a,
                                       PixelPoint b) {
            TTempleForm* form = qobject_cast<TTempleForm*>(QApplication::activeModalWidget());
            form->SpeedButton1->click();
            WhenModalOf<TWakuSelForm>([text, vertical](TWakuSelForm* dialog) {
                dialog->RadioGroup1Buttons->button(0)->click();
                WhenModalOf<TMojiForm>([text, vertical](TMojiForm* moji) {
                    moji->Edit1->setText(text);
                    moji->RadioGroup1Buttons->button(vertical ? 0 : 1)->click();
                    moji->ComboBox1->setEditText(QStringLiteral("ＭＳ 明朝"));
                    moji->Button1->click();
                });
                dialog->Button1->click();
            });
            SendMouse(form->PaintBox1, QEvent::MouseButtonPress, Qt::LeftButton, a);
            SendMouse(form->PaintBox1, QEvent::MouseMove, Qt::LeftButton, b);
            SendMouse(form->PaintBox1, QEvent::MouseButtonRelease, Qt::LeftButton, b);
        };
        WhenModalOf<TTempleForm>([&](TTempleForm* form) {
            insertText(QStringLiteral("光明寺"), true, P(150, 20), P(200, 300));
            insertText(QStringLiteral("東京都台東区谷中一丁目"), false, P(10, 320), P(200, 345));
            ui.AnswerOpenPicture(picture);
            form->SpeedButton1->click();
            WhenModalOf<TWakuSelForm>([](TWakuSelForm* dialog) {
                dialog->RadioGroup1Buttons->button(1)->click();
                WhenModalOf<TGraphicForm>([](TGraphicForm* graphic) {
                    graphic->Button1->click();
                    graphic->Button2->click();
                });
                dialog->Button1->click();
            });
            SendMouse(form->PaintBox1, QEvent::MouseButtonPress, Qt::LeftButton, P(20, 20));
            SendMouse(form->PaintBox1, QEvent::MouseMove, Qt::LeftButton, P(120, 120));
            SendMouse(form->PaintBox1, QEvent::MouseButtonRelease, Qt::LeftButton, P(120, 120));
            designed = form->KariList;
            form->Button2->click();
        });
        main.Button3->click();
        QCOMPARE(main.Footer(), designed);
        QVERIFY(main.SaveSettings());
        QCOMPARE(ui.UnscriptedCalls(), 0);
    }
    QCOMPARE(designed.FrameCount(), std::size_t{3});
    ScriptedInteraction ui;
    TUlvanForm restarted(ui, settings);
    QCOMPARE(restarted.Footer(), designed);

    // The printed page carries the three frames: the texts character by character, the
    // picture turned for the page.
    MemorialSheetInputs inputs = SheetCommands::ReadInputs(restarted);
    inputs.Options.TmplNamePrint = true;
    RecordingCanvas canvas;
    FooterDrawRequest request(&ui);
    DrawMemorialPaper(canvas, PageMetrics{4960, 7016, 0, 0, 4960, 7016}, inputs, false, request);
    QString drawn;
    int pictures = 0;
    for (const CanvasCall& call : canvas.Calls()) {
        if (call.What == CanvasCall::Kind::Text) {
            drawn += call.Text;
        }
        pictures += call.What == CanvasCall::Kind::Picture && call.PictureName == picture ? 1 : 0;
    }
    QVERIFY(drawn.contains(QStringLiteral("光明寺")));
    QVERIFY(drawn.contains(QStringLiteral("東京都台東区谷中一丁目")));
    QCOMPARE(pictures, 1);
    QVERIFY(ui.Messages.isEmpty());
}

void TestTempleForm::DocsPictures() {
    const QString out = qEnvironmentVariable("ULVAN_DOCS_DIR");
    if (out.isEmpty()) {
        QSKIP("ULVAN_DOCS_DIR not set");
    }
    const QString settings = QDir(out).filePath(QStringLiteral("Dorim.conf"));
    QFile::remove(settings);
    const QString crest = QDir(out).filePath(QStringLiteral("crest.png"));
    {
        QImage image(240, 240, QImage::Format_RGB32);
        image.fill(QColor(255, 255, 255));
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(QColor(0, 0, 0), 14));
        painter.drawEllipse(QRect(12, 12, 216, 216));
        painter.setBrush(QColor(0, 0, 0));
        for (int i = 0; i < 5; ++i) {
            painter.save();
            painter.translate(120, 120);
            painter.rotate(72.0 * i);
            painter.drawEllipse(QRect(-22, -88, 44, 70));
            painter.restore();
        }
        painter.drawEllipse(QRect(100, 100, 40, 40));
        painter.end();
        QVERIFY(image.save(crest));
    }
    ScriptedInteraction ui;
    TUlvanForm main(ui, settings);
    main.Edit1->setText(QStringLiteral("2024"));
    main.Edit3->setText(QStringLiteral("3"));
    main.Edit4->setText(QStringLiteral("15"));
    main.kaimyo->setText(QStringLiteral("釋浄念"));
    main.yomi->setText(QStringLiteral("しゃくじょうねん"));
    main.zokumyo->setText(QStringLiteral("山田太郎"));
    main.gyonen->setText(QStringLiteral("82"));
    main.CheckBox10->setChecked(true);
    TTempleForm editor(main, ui);
    main.OnEditFooter = [&editor] { return editor.Edit(); };
    WhenModalOf<TTempleForm>([&](TTempleForm* form) {
        form->setWindowState(Qt::WindowNoState);
        form->resize(760, 760);
        QTRY_COMPARE(form->size(), QSize(760, 760));
        const int W = form->AreaWidth();
        const int H = form->AreaHeight();
        const auto band = [form](PixelPoint a, PixelPoint b) {
            form->SpeedButton1->click();
            SendMouse(form->PaintBox1, QEvent::MouseButtonPress, Qt::LeftButton, a);
            SendMouse(form->PaintBox1, QEvent::MouseMove, Qt::LeftButton, b);
            SendMouse(form->PaintBox1, QEvent::MouseButtonRelease, Qt::LeftButton, b);
        };
        const auto text = [&band](const QString& value, bool vertical, bool bold, PixelPoint a,
                                  PixelPoint b) {
            WhenModalOf<TWakuSelForm>([value, vertical, bold](TWakuSelForm* dialog) {
                dialog->RadioGroup1Buttons->button(0)->click();
                WhenModalOf<TMojiForm>([value, vertical, bold](TMojiForm* moji) {
                    moji->Edit1->setText(value);
                    moji->RadioGroup1Buttons->button(vertical ? 0 : 1)->click();
                    moji->ComboBox1->setEditText(QStringLiteral("ＭＳ 明朝"));
                    moji->CheckBox1->setChecked(bold);
                    moji->Button1->click();
                });
                dialog->Button1->click();
            });
            band(a, b);
        };
        // The crest at the top, the temple's name below it, the priest's line beside it,
        // the address across the foot of the strip.
        ui.AnswerOpenPicture(crest);
        WhenModalOf<TWakuSelForm>([](TWakuSelForm* dialog) {
            dialog->RadioGroup1Buttons->button(1)->click();
            WhenModalOf<TGraphicForm>([](TGraphicForm* graphic) {
                graphic->Button1->click();
                graphic->Button2->click();
            });
            dialog->Button1->click();
        });
        band(P(W / 5, H / 40), P(W * 4 / 5, H / 40 + W * 3 / 5));
        text(QStringLiteral("浄土真宗　光明寺"), true, true, P(W * 9 / 20, H / 5),
             P(W * 17 / 20, H * 7 / 10));
        text(QStringLiteral("住職　釋光明"), true, false, P(W / 10, H * 2 / 5),
             P(W * 7 / 20, H * 7 / 10));
        text(QStringLiteral("東京都台東区谷中1-2-3"), false, false, P(W / 20, H * 3 / 4),
             P(W * 19 / 20, H * 3 / 4 + W / 9));
        text(QStringLiteral("TEL 03-1234-5678"), false, false, P(W / 20, H * 5 / 6),
             P(W * 19 / 20, H * 5 / 6 + W / 11));
        // The temple's name selected, as the user last touched it.
        SendMouse(form->PaintBox1, QEvent::MouseMove, Qt::NoButton, P(W * 13 / 20, H * 2 / 5));
        SendMouse(form->PaintBox1, QEvent::MouseButtonPress, Qt::LeftButton,
                  P(W * 13 / 20, H * 2 / 5));
        SendMouse(form->PaintBox1, QEvent::MouseButtonRelease, Qt::LeftButton,
                  P(W * 13 / 20, H * 2 / 5));
        QCoreApplication::processEvents();
        form->grab().save(QDir(out).filePath(QStringLiteral("footer-editor.png")));
        form->Button2->click();
    });
    main.Button3->click();
    QCOMPARE(main.Footer().FrameCount(), std::size_t{5});
    QVERIFY(main.SaveSettings());
}

QTEST_MAIN(TestTempleForm)
#include "tst_templeform.moc"
