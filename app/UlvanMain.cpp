#include "app/UlvanMain.h"

#include "app/AgeCalUnit.h"
#include "app/KaiUnit.h"
#include "app/ShosaiUnit.h"
#include "calendar/DateCalc.h"
#include "calendar/TextUtil.h"
#include "case/StoredCase.h"
#include "resources/OpenUnit.h"
#include "resources/ToolIcons.h"
#include "sheet/Fonts.h"
#include "ui/DialogSupport.h"
#include "ui/Interaction.h"
#include "ui/UpDown.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>

namespace ulvan {

namespace {

constexpr int kClientWidth = 642;
constexpr int kClientHeight = 468;
constexpr int kToolBarHeight = 29;
constexpr int kStatusBarHeight = 19;
constexpr int kEditHeight = 20;

const QString kCaption = QStringLiteral("Ulvan表3.1");
const QString kBlankWeekdayText = ToQ(kBlankWeekday);
const QString kNoEraName = QStringLiteral("－－");
const QString kEveHint = QStringLiteral("ここがチェックされていると日付が逮夜（前日）となります");

QString Numbered(const char* stem, int number) {
    return QString::fromLatin1(stem) + QString::number(number);
}

void SetHint(QWidget* widget, const QString& hint) {
    widget->setToolTip(hint);
    widget->setStatusTip(hint);
}

// The memorial names of the result rows, as designed; a longer name is condensed to fit.
QFont RowNameFont() {
    return UiFont(ToQ(kGothic), 12);
}

// Numeric fields and the font boxes take no input method.
void NoInputMethod(QWidget* widget) {
    widget->setAttribute(Qt::WA_InputMethodEnabled, false);
}

} // namespace

TUlvanForm::TUlvanForm(Interaction& interaction, const QString& settingsFile, bool startupPicture,
                       QWidget* parent)
    : QMainWindow(parent)
    , m_interaction(interaction)
    , m_settingsFile(settingsFile)
    , m_shosaiForm([this] { return std::make_unique<TShosaiForm>(m_interaction, this); })
    , m_ageCalForm([this] { return std::make_unique<TAgeCalForm>(this); })
    , m_kaiForm([this] { return std::make_unique<TKaiForm>(this); }) {
    // The start-up picture stays up while the settings load and the lists fill.
    if (startupPicture) {
        auto* picture = new TOpenForm();
        picture->ShowNow();
        OpenForm = picture;
    }
    BuildWindow();
    LoadSettings();
    if (OpenForm != nullptr) {
        // Gone once the event loop runs, that is after every window has been created.
        OpenForm->deleteLater();
        OpenForm = nullptr;
    }
    FillLists();
}

TUlvanForm::~TUlvanForm() = default;

// ------------------------------------------------------------------------------------------
// Building the window
// ------------------------------------------------------------------------------------------

void TUlvanForm::BuildWindow() {
    setObjectName(QStringLiteral("UlvanForm"));
    setWindowTitle(kCaption);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFont(DefaultUiFont());

    BuildMenus();
    BuildToolBar();

    auto* status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("StatusBar1"));
    status->setSizeGripEnabled(false);
    status->setFixedHeight(kStatusBarHeight);
    setStatusBar(status);

    // The central area is the client area below the tool bar: the design coordinates are
    // client coordinates, so every top is moved up by the tool bar's height.
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("Client"));
    client->setFixedSize(kClientWidth, kClientHeight - kToolBarHeight - kStatusBarHeight);
    setCentralWidget(client);
    const auto place = [](QWidget* widget, int left, int top, int width, int height) {
        widget->setGeometry(left, top - kToolBarHeight, width, height);
    };
    const auto label = [client](const QString& text, int left, int top,
                                const QColor& colour = QColor(), int pixelSize = 0) {
        return PlaceLabel(client, text, left, top - kToolBarHeight, colour, pixelSize);
    };
    const auto edit = [](QWidget* parent, const char* name) {
        auto* field = new QLineEdit(parent);
        field->setObjectName(QString::fromLatin1(name));
        return field;
    };

    // Thin bevelled panels between the areas.
    const auto panel = [client, &place](int left, int top, int width, int height) {
        auto* frame = new QFrame(client);
        frame->setFrameShape(QFrame::Panel);
        frame->setFrameShadow(QFrame::Sunken);
        frame->setLineWidth(1);
        place(frame, left, top, width, height);
        return frame;
    };
    panel(8, 32, 297, 280);
    panel(312, 32, 327, 280);
    panel(8, 317, 626, 130);

    // Date of death. The controls stand on the group box but are laid out in client
    // coordinates.
    auto* group1 = new QGroupBox(QStringLiteral("命日（日付計算に必要）"), client);
    group1->setObjectName(QStringLiteral("GroupBox1"));
    place(group1, 16, 40, 281, 97);
    const auto inGroup1 = [](QWidget* widget, int left, int top, int width, int height) {
        widget->setGeometry(left - 16, top - 40, width, height);
    };
    const auto group1Label = [group1](const QString& text, int left, int top) {
        return PlaceLabel(group1, text, left - 16, top - 40);
    };
    group1Label(QStringLiteral("西暦"), 52, 68);
    Edit1 = edit(group1, "Edit1");
    inGroup1(Edit1, 80, 64, 33, kEditHeight);
    UpDown1 = new UpDown(group1);
    UpDown1->setObjectName(QStringLiteral("UpDown1"));
    inGroup1(UpDown1, 113, 64, 15, kEditHeight);
    group1Label(QStringLiteral("年"), 132, 68);
    ComboBox1 = new QComboBox(group1);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    ComboBox1->setMaxVisibleItems(16);
    inGroup1(ComboBox1, 152, 64, 49, kEditHeight);
    Edit2 = edit(group1, "Edit2");
    inGroup1(Edit2, 200, 64, 25, kEditHeight);
    group1Label(QStringLiteral("年"), 228, 68);
    Button1 = new QPushButton(QStringLiteral("きょう"), group1);
    Button1->setObjectName(QStringLiteral("Button1"));
    inGroup1(Button1, 48, 104, 41, 20);
    Edit3 = edit(group1, "Edit3");
    inGroup1(Edit3, 112, 104, 25, kEditHeight);
    UpDown3 = new UpDown(group1);
    UpDown3->setObjectName(QStringLiteral("UpDown3"));
    inGroup1(UpDown3, 137, 104, 15, kEditHeight);
    group1Label(QStringLiteral("月"), 154, 108);
    Edit4 = edit(group1, "Edit4");
    inGroup1(Edit4, 168, 104, 25, kEditHeight);
    UpDown4 = new UpDown(group1);
    UpDown4->setObjectName(QStringLiteral("UpDown4"));
    inGroup1(UpDown4, 193, 104, 15, kEditHeight);
    group1Label(QStringLiteral("日"), 210, 108);
    Label6 = group1Label(kBlankWeekdayText, 226, 108);
    Label6->setObjectName(QStringLiteral("Label6"));
    LimitUserInput(Edit1, 4);
    LimitUserInput(Edit2, 2);
    LimitUserInput(Edit3, 2);
    LimitUserInput(Edit4, 2);
    LimitUserInput(ComboBox1->lineEdit(), 4);
    for (QWidget* field : {static_cast<QWidget*>(Edit1), static_cast<QWidget*>(Edit2),
                           static_cast<QWidget*>(Edit3), static_cast<QWidget*>(Edit4)}) {
        NoInputMethod(field);
    }
    SetHint(Button1, QStringLiteral("今日現在の日付を入力します"));

    // The deceased; coordinates relative to the group box.
    auto* group2 =
        new QGroupBox(QStringLiteral("戒名法名・俗名・行年（計算のみのときは不要）"), client);
    group2->setObjectName(QStringLiteral("GroupBox2"));
    place(group2, 16, 152, 281, 153);
    PlaceLabel(group2, QStringLiteral("戒名"), 16, 20);
    PlaceLabel(group2, QStringLiteral("法名"), 16, 33);
    kaimyo = edit(group2, "kaimyo");
    kaimyo->setGeometry(48, 24, 169, kEditHeight);
    LimitUserInput(kaimyo, 32);
    Button4 = new QPushButton(QStringLiteral("入力"), group2);
    Button4->setObjectName(QStringLiteral("Button4"));
    Button4->setGeometry(224, 24, 41, 20);
    PlaceLabel(group2, QStringLiteral("読み"), 16, 56);
    yomi = edit(group2, "yomi");
    yomi->setGeometry(48, 52, 217, kEditHeight);
    PlaceLabel(group2, QStringLiteral("俗名"), 16, 96);
    zokumyo = edit(group2, "zokumyo");
    zokumyo->setGeometry(48, 92, 121, kEditHeight);
    LimitUserInput(zokumyo, 16);
    PlaceLabel(group2, QStringLiteral("行年"), 16, 124);
    gyonen = edit(group2, "gyonen");
    gyonen->setGeometry(48, 120, 25, kEditHeight);
    NoInputMethod(gyonen);
    PlaceLabel(group2, QStringLiteral("歳"), 78, 124);
    Button2 = new QPushButton(QStringLiteral("参照"), group2);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(128, 120, 41, 20);
    SetHint(kaimyo, QStringLiteral("直接入力できますが、右のボタンをクリックすると入力ダイアロ"
                                   "グボックスが表示されます"));
    SetHint(Button4, QStringLiteral("戒名・法名の入力ダイアログボックスを表示します"));
    SetHint(yomi, QStringLiteral("戒名によみがなをつけて印刷する場合に入力してください。"));
    SetHint(zokumyo, QStringLiteral("生前の名前を記入します"));
    SetHint(gyonen, QStringLiteral("亡くなった時の年齢（一般的には数え歳）を記入します"));
    SetHint(Button2, QStringLiteral("生年から行年を計算"));

    // The results.
    Button5 = new QPushButton(QStringLiteral("詳細設定"), client);
    Button5->setObjectName(QStringLiteral("Button5"));
    place(Button5, 328, 44, 57, 20);
    SetHint(Button5, QStringLiteral("忌の名称や計算式をカスタマイズします"));
    QLabel* heading = label(QStringLiteral("Ulvan日付の計算結果"), 408, 48, QColor(), 16);
    heading->setObjectName(QStringLiteral("Label52"));
    const MemorialSchedule defaults = DefaultSchedule();
    // Every control of a row stands at the row's top; the labels are as tall as the fields
    // and centre their text on them.
    const auto rowLabel = [&label](const QString& text, int left, int top) {
        QLabel* rowText = label(text, left, top);
        rowText->setFixedHeight(kEditHeight);
        rowText->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        return rowText;
    };
    for (int r = 0; r < 9; ++r) {
        const auto row = static_cast<std::size_t>(r);
        const int top = 72 + 24 * r;
        QLabel* name = rowLabel(ToQ(defaults[row].Name), 328, top);
        name->setObjectName(Numbered("Label", 11 + r));
        name->setFixedWidth(73);
        // The label reaches the month field; a long name keeps a little space before it.
        name->setContentsMargins(0, 0, 3, 0);
        NameLabels[row] = name;
        ShowRowName(row, name->text());
        MonthEdits[row] = edit(client, "");
        MonthEdits[row]->setObjectName(Numbered("Edit", 5 + r));
        place(MonthEdits[row], 400, top, 25, kEditHeight);
        rowLabel(QStringLiteral("月"), 428, top);
        DayEdits[row] = edit(client, "");
        DayEdits[row]->setObjectName(Numbered("Edit", 14 + r));
        place(DayEdits[row], 448, top, 25, kEditHeight);
        rowLabel(QStringLiteral("日"), 476, top);
        WeekLabels[row] = rowLabel(kBlankWeekdayText, 496, top);
        WeekLabels[row]->setObjectName(Numbered("Label", 40 + r));
        EveBoxes[row] = new QCheckBox(QStringLiteral("逮夜日付"), client);
        EveBoxes[row]->setObjectName(Numbered("CheckBox", 1 + r));
        // As wide as its caption needs in the screen's font, never narrower than designed.
        place(EveBoxes[row], 560, top, std::max(65, EveBoxes[row]->sizeHint().width()),
              kEditHeight);
        EveBoxes[row]->setChecked(defaults[row].Eve);
        SetHint(EveBoxes[row], kEveHint);
        NoInputMethod(MonthEdits[row]);
        NoInputMethod(DayEdits[row]);
    }
    label(QStringLiteral("日付数字を書きかえると印刷結果に反映されます"), 376, 292)
        ->setObjectName(QStringLiteral("Label53"));

    // Print settings.
    QLabel* band = label(QStringLiteral("印\n刷\n設\n定\n欄"), 16, 344, QColor(), 16);
    band->setObjectName(QStringLiteral("PrintCaption"));
    band->setFixedWidth(24);
    band->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label(QStringLiteral("表　　　題"), 56, 332);
    ComboBox2 = new QComboBox(client);
    ComboBox2->setObjectName(QStringLiteral("ComboBox2"));
    ComboBox2->setEditable(true);
    ComboBox2->setInsertPolicy(QComboBox::NoInsert);
    place(ComboBox2, 128, 328, 113, kEditHeight);
    LimitUserInput(ComboBox2->lineEdit(), 14);
    label(QStringLiteral("（最大７文字・書きかえもできます）"), 112, 352, QColor(Qt::blue));
    label(QStringLiteral("表題フォント"), 56, 380);
    ComboBox3 = new QComboBox(client);
    ComboBox3->setObjectName(QStringLiteral("ComboBox3"));
    ComboBox3->setEditable(true);
    ComboBox3->setInsertPolicy(QComboBox::NoInsert);
    place(ComboBox3, 128, 376, 145, kEditHeight);
    label(QStringLiteral("本文フォント"), 56, 412);
    ComboBox4 = new QComboBox(client);
    ComboBox4->setObjectName(QStringLiteral("ComboBox4"));
    ComboBox4->setEditable(true);
    ComboBox4->setInsertPolicy(QComboBox::NoInsert);
    place(ComboBox4, 128, 408, 145, kEditHeight);
    NoInputMethod(ComboBox3);
    NoInputMethod(ComboBox3->lineEdit());
    NoInputMethod(ComboBox4);
    NoInputMethod(ComboBox4->lineEdit());
    SetHint(ComboBox2, QStringLiteral("Ulvan表の表題を選択したり、自分で変更設定したりできます。"
                                      "最大７文字まで。"));
    SetHint(ComboBox3, QStringLiteral("Ulvan表の表題に使用されるフォントを選択"));
    SetHint(ComboBox4, QStringLiteral("Ulvan表の本文表題に使用されるフォントを選択（毛筆体などが"
                                      "良いでしょう）"));

    RadioGroup1 = new QGroupBox(QStringLiteral("戒名法名欄の印刷様式"), client);
    RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    place(RadioGroup1, 304, 328, 153, 57);
    RadioGroup1Buttons = new QButtonGroup(this);
    const QStringList styles{QStringLiteral("天蓋・蓮台をつけて印刷"),
                             QStringLiteral("線で囲んで印刷")};
    for (int i = 0; i < styles.size(); ++i) {
        auto* radio = new QRadioButton(styles[i], RadioGroup1);
        radio->setObjectName(Numbered("RadioGroup1Item", i));
        radio->setGeometry(4, 16 + 18 * i, 148, 17);
        RadioGroup1Buttons->addButton(radio, i);
    }
    CheckBox10 = new QCheckBox(QStringLiteral("寺院名等を印刷"), client);
    CheckBox10->setObjectName(QStringLiteral("CheckBox10"));
    place(CheckBox10, 312, 400, 130, 17);
    SetHint(CheckBox10,
            QStringLiteral("ここをチェックするとUlvan表の末尾に寺院名等が印刷されます"));
    Button3 = new QPushButton(QStringLiteral("寺院名等の編集"), client);
    Button3->setObjectName(QStringLiteral("Button3"));
    place(Button3, 360, 424, 97, 20);
    SetHint(Button3, QStringLiteral("Ulvan表末尾に挿入する寺院名等の文書編集"));
    struct OptionBox {
        QCheckBox** box;
        const char* name;
        QString caption;
        QString hint;
    };
    const OptionBox options[] = {
        {&CheckBox11, "CheckBox11", QStringLiteral("初月忌を含めて印刷"),
         QStringLiteral("ここをチェックすると初月忌が印刷されます")},
        {&CheckBox12, "CheckBox12", QStringLiteral("百箇日を含めて印刷"),
         QStringLiteral("ここをチェックすると百箇日が印刷されます")},
        {&CheckBox13, "CheckBox13", QStringLiteral("同月の場合の省略"),
         QStringLiteral("ここをチェックすると、前項と同月の場合、月を省略して印刷します")},
        {&CheckBox14, "CheckBox14", QStringLiteral("和暦を使用して印刷"),
         QStringLiteral("ここのチェックをはずすと西暦のみで印刷します")},
        {&CheckBox15, "CheckBox15", QStringLiteral("戒名にルビをつける"),
         QStringLiteral("戒名に読みがなを付けて印刷します")},
    };
    int top = 328;
    for (const OptionBox& option : options) {
        auto* box = new QCheckBox(option.caption, client);
        box->setObjectName(QString::fromLatin1(option.name));
        place(box, 488, top, 140, 17);
        SetHint(box, option.hint);
        *option.box = box;
        top += 24;
    }
    // Initial states before any stored setting.
    for (QCheckBox* box :
         {CheckBox10, CheckBox11, CheckBox12, CheckBox13, CheckBox14, CheckBox15}) {
        box->setChecked(true);
    }
    SetKaimyoStyle(0);

    // Tab order: the date first, in the order the date is usually entered.
    QWidget* const order[] = {Edit1,   Edit2,     Edit3,     Edit4,    Button1, ComboBox1,
                              kaimyo,  Button4,   yomi,      zokumyo,  gyonen,  Button2,
                              Button5, ComboBox2, ComboBox3, ComboBox4};
    for (std::size_t i = 1; i < std::size(order); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }
    QWidget* previous = Button5;
    for (std::size_t r = 0; r < 9; ++r) {
        setTabOrder(previous, MonthEdits[r]);
        setTabOrder(MonthEdits[r], DayEdits[r]);
        setTabOrder(DayEdits[r], EveBoxes[r]);
        previous = EveBoxes[r];
    }
    setTabOrder(previous, ComboBox2);
    setTabOrder(ComboBox4, RadioGroup1Buttons->button(0));
    setTabOrder(RadioGroup1Buttons->button(0), CheckBox10);
    setTabOrder(CheckBox10, Button3);
    setTabOrder(Button3, CheckBox11);
    setTabOrder(CheckBox11, CheckBox12);
    setTabOrder(CheckBox12, CheckBox13);
    setTabOrder(CheckBox13, CheckBox14);
    setTabOrder(CheckBox14, CheckBox15);

    // Event wiring. A text change (typed or set by the program; setting the same text fires
    // nothing) recomputes the schedule; a key release brings the era fields in step.
    for (QLineEdit* field : {Edit1, Edit3, Edit4}) {
        connect(field, &QLineEdit::textChanged, this, [this] {
            ComputeSchedule();
            ShowDeathWeekday();
        });
        field->installEventFilter(this);
    }
    Edit2->installEventFilter(this);
    // activated: only a choice by the user; selecting in code fires nothing.
    connect(ComboBox1, &QComboBox::activated, this, [this] { UpdateWesternYear(); });
    // toggled fires on every change of state, by a click or set in code, and not when a
    // box is set to the state it already has.
    for (QCheckBox* box : EveBoxes) {
        connect(box, &QCheckBox::toggled, this, [this] { ComputeSchedule(); });
    }
    connect(UpDown1, &UpDown::Stepped, this, [this](int delta) { StepYear(delta); });
    connect(UpDown3, &UpDown::Stepped, this, [this](int delta) { StepMonth(delta); });
    connect(UpDown4, &UpDown::Stepped, this, [this](int delta) { StepDay(delta); });
    for (UpDown* upDown : {UpDown1, UpDown3, UpDown4}) {
        connect(upDown, &UpDown::Released, this, [this] { UpDownReleased(); });
    }
    connect(Button1, &QPushButton::clicked, this, [this] { Today(); });
    connect(Button2, &QPushButton::clicked, this, [this] { CalcAge(); });
    connect(Button4, &QPushButton::clicked, this, [this] { EditKaimyo(); });
    connect(Button5, &QPushButton::clicked, this, [this] { EditDetailSettings(); });
    connect(Button3, &QPushButton::clicked, this, [this] { EditFooter(); });

    // The window keeps its design size.
    adjustSize();
    setFixedSize(sizeHint());
}

void TUlvanForm::BuildMenus() {
    struct Item {
        const char* name;
        QString caption;
        QString hint;
        std::function<void()> action;
    };
    const auto addMenu = [this](const QString& title, const char* name,
                                const std::vector<Item>& items) {
        QMenu* menu = menuBar()->addMenu(title);
        menu->setObjectName(QString::fromLatin1(name));
        for (const Item& item : items) {
            if (item.name == nullptr) {
                menu->addSeparator();
                continue;
            }
            QAction* action = menu->addAction(item.caption);
            action->setObjectName(QString::fromLatin1(item.name));
            action->setStatusTip(item.hint);
            action->setToolTip(item.hint);
            connect(action, &QAction::triggered, this, item.action);
        }
    };
    menuBar()->setObjectName(QStringLiteral("MainMenu1"));
    addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"), "File1",
            {{"Open1", QStringLiteral("ﾌｧｲﾙから取り込み(&D)"),
              QStringLiteral("ファイルからデータを取り込む"), [this] { RunHook(OnImport); }},
             {"New1", QStringLiteral("ﾌｧｲﾙに追記(&A)"), QStringLiteral("ファイルにデータを追記"),
              [this] { RunHook(OnAppend); }},
             {nullptr, {}, {}, {}},
             {"Print1", QStringLiteral("Ulvan表の印刷(&P)"),
              QStringLiteral("Ulvan表を印刷します（入力データも印刷）"),
              [this] { PrintMemorialSheet(false); }},
             {"PrintPreview1", QStringLiteral("印刷ﾌﾟﾚﾋﾞｭｰ(&V)"),
              QStringLiteral("印刷プレビュー画面を表示"),
              [this] { ShowPreview(PreviewKind::Memorial); }},
             {"Print2", QStringLiteral("空白用紙の印刷(&Y)"),
              QStringLiteral("空白のUlvan表用紙を印刷します（入力データは印刷しない）"),
              [this] { PrintMemorialSheet(true); }},
             {nullptr, {}, {}, {}},
             {"Exit1", QStringLiteral("Ulvan表の終了(&X)"), QStringLiteral("Ulvan表の終了"),
              [this] { close(); }}});
    addMenu(QStringLiteral("編集(&E)"), "Edit1Menu",
            {{"Find1", QStringLiteral("故人データのクリア(&C)"),
              QStringLiteral("全てのデータ欄を消去"), [this] { ClearDeceasedData(); }},
             {nullptr, {}, {}, {}},
             {"T1", QStringLiteral("寺院名等の編集(&J)"),
              QStringLiteral("Ulvan表末尾に挿入する寺院名等の編集を行ないます"),
              [this] { EditFooter(); }},
             {"D1", QStringLiteral("寺院名等のクリア(&D)"),
              QStringLiteral("寺院名等のデータを全て削除します"), [this] { ClearFooter(); }}});
    // "元に戻す" stands first in the edit menu. Its Ctrl+Z acts only while no text field has
    // the focus: a field takes the key for its own undo first.
    auto* editMenu = menuBar()->findChild<QMenu*>(QStringLiteral("Edit1Menu"));
    m_undoAction = new QAction(QStringLiteral("元に戻す(&U)"), this);
    m_undoAction->setObjectName(QStringLiteral("Undo1"));
    m_undoAction->setShortcut(QKeySequence::Undo);
    m_undoAction->setStatusTip(QStringLiteral("ファイルから取り込む前のデータに戻します"));
    m_undoAction->setToolTip(m_undoAction->statusTip());
    m_undoAction->setEnabled(false);
    connect(m_undoAction, &QAction::triggered, this, [this] { UndoImport(); });
    QAction* first = editMenu->actions().value(0);
    editMenu->insertAction(first, m_undoAction);
    editMenu->insertSeparator(first);
    addMenu(
        QStringLiteral("ｵﾌﾟｼｮﾝ(&O)"), "Option1",
        {{"N9", QStringLiteral("Ulvan日付の詳細設定"), QString(), [this] { EditDetailSettings(); }},
         {nullptr, {}, {}, {}},
         {"N4", QStringLiteral("年回表（没年から求める）(&N)"),
          QStringLiteral("没年をもとに年回表を作成"), [this] { RunHook(OnAnnualChart); }},
         {"N7", QStringLiteral("年回早見表（逆算）(&H)"),
          QStringLiteral("当該年度における年回早見表作成"), [this] { RunHook(OnQuickTable); }}});
    addMenu(QStringLiteral("ﾍﾙﾌﾟ(&H)"), "Help1",
            {{"Contents1", QStringLiteral("目次(&C)"), QStringLiteral("ヘルプの目次を表示"),
              [this] { RunHook(OnHelp); }},
             {"SearchforHelpOn1", QStringLiteral("ﾄﾋﾟｯｸの検索(&S)"),
              QStringLiteral("ヘルプ・トピックの検索"), [this] { RunHook(OnHelp); }},
             {nullptr, {}, {}, {}},
             {"About1", QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&A)"),
              QStringLiteral("現在ご使用のUlvan表のバージョンと著作権情報などを表示"),
              [this] { RunHook(OnAbout); }}});
}

void TUlvanForm::BuildToolBar() {
    auto* bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setFixedHeight(kToolBarHeight);
    bar->setIconSize(QSize(16, 16));
    bar->setContextMenuPolicy(Qt::PreventContextMenu);
    addToolBar(Qt::TopToolBarArea, bar);
    struct Tool {
        const char* name;
        int image;
        QString hint;
        std::function<void()> action;
    };
    const Tool tools[] = {
        {nullptr, 0, {}, {}},
        {"ToolButton1", 0, QStringLiteral("ファイルからデータを取り込む"),
         [this] { RunHook(OnImport); }},
        {"ToolButton2", 1, QStringLiteral("ファイルにデータを追記"), [this] { RunHook(OnAppend); }},
        {nullptr, 0, {}, {}},
        {"ToolButton4", 2, QStringLiteral("Ulvan表を印刷します（入力データも印刷）"),
         [this] { PrintMemorialSheet(false); }},
        {"ToolButton5", 3, QStringLiteral("印刷プレビュー画面を表示"),
         [this] { ShowPreview(PreviewKind::Memorial); }},
        {"ToolButton11", 7,
         QStringLiteral("空白のUlvan表用紙を印刷します（入力データは印刷しない）"),
         [this] { PrintMemorialSheet(true); }},
        {nullptr, 0, {}, {}},
        {"ToolButton7", 4, QStringLiteral("故人データのクリア"), [this] { ClearDeceasedData(); }},
        {nullptr, 0, {}, {}},
        {"ToolButton9", 5, QStringLiteral("没年をもとに年回表を作成"),
         [this] { RunHook(OnAnnualChart); }},
        {"ToolButton10", 6, QStringLiteral("当該年度における年回早見表作成"),
         [this] { RunHook(OnQuickTable); }},
    };
    for (const Tool& tool : tools) {
        if (tool.name == nullptr) {
            bar->addSeparator();
            continue;
        }
        auto* button = new QToolButton(bar);
        button->setObjectName(QString::fromLatin1(tool.name));
        button->setIcon(ToolIcon(static_cast<ToolIconId>(tool.image)));
        button->setAutoRaise(true);
        button->setFixedSize(23, 22);
        SetHint(button, tool.hint);
        connect(button, &QToolButton::clicked, this, tool.action);
        bar->addWidget(button);
    }
}

// ------------------------------------------------------------------------------------------
// Settings
// ------------------------------------------------------------------------------------------

void TUlvanForm::LoadSettings() {
    ApplyStoredCase(ReadStoredCase(m_settingsFile));
}

void TUlvanForm::ApplyStoredCase(const StoredCase& stored) {
    // The offsets, names and eve flags go in before the date, whose assignments recompute
    // the schedule: what shows after start-up is computed with the stored settings.
    const SheetOptions& options = stored.Options;
    CheckBox15->setChecked(options.RubyPrint);
    m_add = OffsetsOf(stored.Rows);
    for (std::size_t r = 0; r < 9; ++r) {
        ShowRowName(r, ToQ(stored.Rows[r].Name));
    }
    for (std::size_t r = 0; r < 9; ++r) {
        EveBoxes[r]->setChecked(stored.Rows[r].Eve);
    }
    CheckBox10->setChecked(options.TmplNamePrint);
    SetKaimyoStyle(options.KaimyoStyle);
    ComboBox2->setEditText(ToQ(options.TitName));
    ComboBox3->setEditText(ToQ(options.FntName1));
    ComboBox4->setEditText(ToQ(options.FntName2));
    const DeceasedData& deceased = stored.Deceased;
    SetText(Edit1, ToQ(deceased.KiNen));
    // Selected once the era list is filled; the era fields are not recomputed from the year.
    m_storedEra = ToQ(deceased.KiNengo);
    SetText(Edit2, ToQ(deceased.KiWanen));
    SetText(Edit3, ToQ(deceased.KiGatsu));
    SetText(Edit4, ToQ(deceased.KiNichi));
    SetText(kaimyo, ToQ(deceased.Kaimyo));
    if (!stored.KeepsReading) {
        SetText(yomi, ToQ(deceased.Yomi));
    }
    SetText(zokumyo, ToQ(deceased.Zokumyo));
    SetText(gyonen, ToQ(deceased.GyoNen));
    CheckBox11->setChecked(options.HatsuGatsuPrint);
    CheckBox12->setChecked(options.HyakkaNichiPrint);
    CheckBox13->setChecked(options.DogetsuShoryaku);
    CheckBox14->setChecked(options.WarekiInsatsu);
    SetEditStr(ToQ(stored.EditStr));
}

StoredCase TUlvanForm::CurrentStoredCase() const {
    StoredCase stored;
    stored.Deceased = Deceased();
    stored.Options = Options();
    stored.Rows = Schedule();
    stored.EditStr = ToU16(EditStr());
    return stored;
}

bool TUlvanForm::SaveSettings() {
    return WriteStoredCase(m_settingsFile, CurrentStoredCase());
}

void TUlvanForm::closeEvent(QCloseEvent* event) {
    // The window closes whatever happens to the store; the user is told when the settings
    // could not be kept, the earlier ones stay as they were.
    if (!SaveSettings()) {
        m_interaction.ShowMessage(
            u"設定を保存できませんでした。前回の設定はそのまま残っています。");
    }
    event->accept();
    Q_EMIT Closed();
}

void TUlvanForm::FillLists() {
    const QStringList fonts = FontBoxFamilies();
    const QString font1 = ComboBox3->currentText();
    const QString font2 = ComboBox4->currentText();
    ComboBox3->addItems(fonts);
    ComboBox4->addItems(fonts);
    // Adding items to an empty editable box selects the first; the stored text stays.
    ComboBox3->setEditText(font1);
    ComboBox4->setEditText(font2);

    const QString title = ComboBox2->currentText();
    ComboBox2->addItems(
        {QStringLiteral("Ulvan表"), QStringLiteral("Ulvan逮夜表"), QStringLiteral("Ulvan日付表")});
    ComboBox2->setEditText(title);

    for (const std::u16string& era : EraComboItems()) {
        ComboBox1->addItem(ToQ(era));
    }
    SelectEra(m_storedEra.left(4));
    m_storedEra.clear();
}

// ------------------------------------------------------------------------------------------
// Date fields
// ------------------------------------------------------------------------------------------

bool TUlvanForm::eventFilter(QObject* watched, QEvent* event) {
    const bool press = event->type() == QEvent::KeyPress;
    const bool release = event->type() == QEvent::KeyRelease;
    const auto* key = (press || release) ? static_cast<QKeyEvent*>(event) : nullptr;
    if (key == nullptr || key->isAutoRepeat()) {
        return QMainWindow::eventFilter(watched, event);
    }
    if (press) {
        m_keysDown.insert(key->key());
    } else {
        // Only the release of a key pressed in a date field counts. The key that closed a
        // dialog opened by the era update (Enter, Escape) was pressed in that dialog; its
        // release lands here once the dialog is gone and must not open it again.
        if (!m_keysDown.remove(key->key())) {
            return QMainWindow::eventFilter(watched, event);
        }
        if (watched == Edit1 || watched == Edit3 || watched == Edit4) {
            UpdateEraFields();
        } else if (watched == Edit2) {
            UpdateWesternYear();
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TUlvanForm::ShowRowName(std::size_t row, const QString& name) {
    NameLabels[row]->setText(name);
    FitTextToWidth(NameLabels[row], RowNameFont());
}

void TUlvanForm::SetText(QLineEdit* edit, const QString& text) {
    if (edit->text() != text) {
        edit->setText(text);
    }
}

void TUlvanForm::SelectEra(const QString& name) {
    const int index = ComboBox1->findText(name, Qt::MatchExactly);
    ComboBox1->setCurrentIndex(index);
    if (index < 0) {
        ComboBox1->setEditText(QString());
    }
}

void TUlvanForm::ComputeSchedule() {
    MemorialSchedule schedule = Schedule();
    ulvan::ComputeSchedule(ToU16(Edit1->text()), ToU16(Edit3->text()), ToU16(Edit4->text()),
                           schedule, &m_interaction);
    for (std::size_t r = 0; r < 9; ++r) {
        SetText(MonthEdits[r], ToQ(schedule[r].Month));
        SetText(DayEdits[r], ToQ(schedule[r].Day));
        WeekLabels[r]->setText(ToQ(schedule[r].WeekdayText));
    }
}

void TUlvanForm::ShowDeathWeekday() {
    const std::optional<std::int32_t> year = ParseInt(ToU16(Edit1->text()));
    if (!year) {
        Label6->setText(kBlankWeekdayText);
        return;
    }
    const std::int32_t month = ParseIntOr(ToU16(Edit3->text()), 0);
    const std::int32_t day = ParseIntOr(ToU16(Edit4->text()), 0);
    if (month == 0 || day == 0) {
        Label6->setText(kBlankWeekdayText);
        return;
    }
    Label6->setText(ToQ(WeekdayLabel(CalendarDate{*year, month, day}, &m_interaction)));
}

void TUlvanForm::UpdateEraFields() {
    const std::optional<std::int32_t> year = ParseInt(ToU16(Edit1->text()));
    if (!year) {
        SelectEra(kNoEraName);
        SetText(Edit2, QStringLiteral("--"));
        return;
    }
    const std::int32_t month = ParseIntOr(ToU16(Edit3->text()), 0);
    const std::int32_t day = ParseIntOr(ToU16(Edit4->text()), 0);
    const QString wareki =
        ToQ(m_askEra ? WarekiOf(*year, month, day, &m_askEra) : WarekiOf(*year, month, day));
    SelectEra(wareki.left(2));
    SetText(Edit2, wareki.mid(2, 2));
}

void TUlvanForm::UpdateWesternYear() {
    if (const std::optional<QString> year = WesternYearFromEra(*ComboBox1, Edit2->text())) {
        SetText(Edit1, *year);
    }
}

void TUlvanForm::StepYear(int delta) {
    const std::optional<std::int32_t> year = ParseInt(ToU16(Edit1->text()));
    if (!year) {
        m_interaction.Beep(BeepKind::Default);
        return;
    }
    SetText(Edit1, ToQ(DecimalText(std::int64_t{*year} + delta)));
}

void TUlvanForm::StepMonth(int delta) {
    const std::optional<std::int32_t> year = ParseInt(ToU16(Edit1->text()));
    const std::optional<std::int32_t> month = ParseInt(ToU16(Edit3->text()));
    if (!year || !month) {
        m_interaction.Beep(BeepKind::Default);
        return;
    }
    std::int64_t newYear = *year;
    std::int64_t newMonth = std::int64_t{*month} + delta;
    if (newMonth > 12) {
        newMonth = 1;
        ++newYear;
    } else if (newMonth <= 0) {
        newMonth = 12;
        --newYear;
    }
    SetText(Edit1, ToQ(DecimalText(newYear)));
    SetText(Edit3, ToQ(DecimalText(newMonth)));
}

void TUlvanForm::StepDay(int delta) {
    const std::optional<std::int32_t> year = ParseInt(ToU16(Edit1->text()));
    const std::optional<std::int32_t> month = ParseInt(ToU16(Edit3->text()));
    const std::optional<std::int32_t> day = ParseInt(ToU16(Edit4->text()));
    if (!year || !month || !day) {
        m_interaction.Beep(BeepKind::Default);
        return;
    }
    const CalendarDate moved = AddDays(CalendarDate{*year, *month, *day}, delta);
    SetText(Edit1, ToQ(DecimalText(moved.year)));
    SetText(Edit3, ToQ(DecimalText(moved.month)));
    SetText(Edit4, ToQ(DecimalText(moved.day)));
}

void TUlvanForm::UpDownReleased() {
    UpdateEraFields();
    ShowDeathWeekday();
}

QDate TUlvanForm::CurrentDate() const {
    return m_today ? m_today() : QDate::currentDate();
}

void TUlvanForm::Today() {
    const QDate today = CurrentDate();
    const QChar zero(u'0');
    SetText(Edit1, QStringLiteral("%1").arg(today.year(), 4, 10, zero));
    SetText(Edit3, QStringLiteral("%1").arg(today.month(), 2, 10, zero));
    SetText(Edit4, QStringLiteral("%1").arg(today.day(), 2, 10, zero));
    UpdateEraFields();
    ShowDeathWeekday();
}

void TUlvanForm::ClearDeceasedData() {
    SetText(Edit1, QString());
    SetText(Edit2, QString());
    ComboBox1->setCurrentIndex(-1);
    ComboBox1->setEditText(QString());
    SetText(Edit3, QString());
    SetText(Edit4, QString());
    for (std::size_t r = 0; r < 9; ++r) {
        SetText(MonthEdits[r], QString());
        SetText(DayEdits[r], QString());
    }
    SetText(kaimyo, QString());
    SetText(yomi, QString());
    SetText(zokumyo, QString());
    SetText(gyonen, QString());
    for (QLabel* weekday : WeekLabels) {
        weekday->setText(kBlankWeekdayText);
    }
}

void TUlvanForm::ApplyRecord(const DeceasedData& record) {
    // The import replaces the case wholesale; what it replaced can be brought back.
    m_beforeImport = CaptureCase();
    if (m_undoAction != nullptr) {
        m_undoAction->setEnabled(true);
    }
    SetText(Edit1, ToQ(record.KiNen));
    SelectEra(ToQ(record.KiNengo));
    SetText(Edit2, ToQ(record.KiWanen));
    SetText(Edit3, ToQ(record.KiGatsu));
    SetText(Edit4, ToQ(record.KiNichi));
    SetText(kaimyo, ToQ(record.Kaimyo));
    SetText(yomi, ToQ(record.Yomi));
    SetText(zokumyo, ToQ(record.Zokumyo));
    SetText(gyonen, ToQ(record.GyoNen));
}

void TUlvanForm::ShowStatusMessage(const QString& text) {
    statusBar()->showMessage(text);
}

TUlvanForm::CaseSnapshot TUlvanForm::CaptureCase() const {
    CaseSnapshot snapshot;
    const std::array<const QLineEdit*, 8> fields{Edit1,  Edit2, Edit3,   Edit4,
                                                 kaimyo, yomi,  zokumyo, gyonen};
    for (std::size_t i = 0; i < fields.size(); ++i) {
        snapshot.Fields[i] = fields[i]->text();
    }
    snapshot.EraIndex = ComboBox1->currentIndex();
    snapshot.EraText = ComboBox1->currentText();
    for (std::size_t r = 0; r < 9; ++r) {
        snapshot.Months[r] = MonthEdits[r]->text();
        snapshot.Days[r] = DayEdits[r]->text();
        snapshot.Weekdays[r] = WeekLabels[r]->text();
    }
    snapshot.DeathWeekday = Label6->text();
    return snapshot;
}

void TUlvanForm::RestoreCase(const CaseSnapshot& snapshot) {
    // The texts go back as they were, hand edits included; nothing is recomputed on the
    // way, so no intermediate date can raise a message.
    const std::array<QLineEdit*, 8> fields{Edit1,  Edit2, Edit3,   Edit4,
                                           kaimyo, yomi,  zokumyo, gyonen};
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const QSignalBlocker blocker(fields[i]);
        SetText(fields[i], snapshot.Fields[i]);
    }
    ComboBox1->setCurrentIndex(snapshot.EraIndex);
    if (snapshot.EraIndex < 0) {
        ComboBox1->setEditText(snapshot.EraText);
    }
    for (std::size_t r = 0; r < 9; ++r) {
        SetText(MonthEdits[r], snapshot.Months[r]);
        SetText(DayEdits[r], snapshot.Days[r]);
        WeekLabels[r]->setText(snapshot.Weekdays[r]);
    }
    Label6->setText(snapshot.DeathWeekday);
}

bool TUlvanForm::CanUndoImport() const {
    return m_beforeImport.has_value();
}

void TUlvanForm::UndoImport() {
    if (!m_beforeImport) {
        m_interaction.Beep(BeepKind::Default);
        return;
    }
    RestoreCase(*m_beforeImport);
    m_beforeImport.reset();
    if (m_undoAction != nullptr) {
        m_undoAction->setEnabled(false);
    }
}

// ------------------------------------------------------------------------------------------
// Footer and commands
// ------------------------------------------------------------------------------------------

QString TUlvanForm::EditStr() const {
    QString text;
    for (const QString& line : m_editList) {
        text += line + QStringLiteral("\r\n");
    }
    return text;
}

void TUlvanForm::SetEditStr(const QString& text) {
    m_editList.clear();
    if (text.isEmpty()) {
        return;
    }
    // Lines end in CR LF; a lone LF or CR (a hand-edited store) ends a line too.
    QString normal = text;
    normal.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    normal.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    m_editList = normal.split(QLatin1Char('\n'));
    if (normal.endsWith(QLatin1Char('\n'))) {
        m_editList.removeLast();
    }
}

FooterLayout TUlvanForm::Footer() const {
    return FooterLayout::FromStored(ToU16(EditStr()));
}

void TUlvanForm::SetFooter(const FooterLayout& layout) {
    SetEditStr(ToQ(layout.ToStored()));
}

std::vector<std::u16string> TUlvanForm::EraItems() const {
    std::vector<std::u16string> items;
    items.reserve(static_cast<std::size_t>(ComboBox1->count()));
    for (int i = 0; i < ComboBox1->count(); ++i) {
        items.push_back(ToU16(ComboBox1->itemText(i)));
    }
    return items;
}

QWidget* TUlvanForm::HostWindow() const {
    return const_cast<TUlvanForm*>(this);
}

void TUlvanForm::PrintMemorialSheet(bool blank) {
    RunHook(blank ? OnPrintBlank : OnPrint);
}

void TUlvanForm::ShowPreview(PreviewKind kind) {
    if (OnPreview) {
        OnPreview(kind);
    } else {
        m_interaction.Beep(BeepKind::Default);
    }
}

void TUlvanForm::ClearFooter() {
    m_interaction.Beep(BeepKind::Exclamation);
    if (m_interaction.Confirm(Interaction::ConfirmKind::Question, QStringLiteral("確認"),
                              QStringLiteral("寺院名等のデータをすべて削除しますか？"))) {
        m_editList.clear();
        if (OnFooterCleared) {
            OnFooterCleared();
        }
    }
}

void TUlvanForm::EditFooter() {
    if (!OnEditFooter) {
        m_interaction.Beep(BeepKind::Default);
        return;
    }
    // The editor works on its own copy of Footer() and hands it back through SetFooter on OK.
    OnEditFooter();
}

void TUlvanForm::EditDetailSettings() {
    DetailSettings values;
    values.Schedule = Schedule();
    values.HatsuGatsuPrint = CheckBox11->isChecked();
    values.HyakkaNichiPrint = CheckBox12->isChecked();
    const std::optional<DetailSettings> edited = m_shosaiForm->Edit(values);
    if (!edited) {
        return;
    }
    for (std::size_t r = 0; r < 9; ++r) {
        ShowRowName(r, ToQ(edited->Schedule[r].Name));
    }
    m_add = OffsetsOf(edited->Schedule);
    // An eve box set to a new state recomputes on its own; the last recomputation covers
    // the offsets.
    for (std::size_t r = 0; r < 9; ++r) {
        EveBoxes[r]->setChecked(edited->Schedule[r].Eve);
    }
    CheckBox11->setChecked(edited->HatsuGatsuPrint);
    CheckBox12->setChecked(edited->HyakkaNichiPrint);
    ComputeSchedule();
}

void TUlvanForm::CalcAge() {
    m_ageCalForm->Reset();
    KeisanNen = AgeReferenceYear(Edit1->text(), CurrentDate().year(), m_interaction);
    if (const std::optional<QString> age = m_ageCalForm->Calc(KeisanNen)) {
        SetText(gyonen, *age);
    }
}

void TUlvanForm::EditKaimyo() {
    if (const std::optional<QString> name = m_kaiForm->Edit(kaimyo->text())) {
        SetText(kaimyo, *name);
    }
}

void TUlvanForm::RunHook(const std::function<void()>& hook) {
    if (hook) {
        hook();
    } else {
        m_interaction.Beep(BeepKind::Default);
    }
}

// ------------------------------------------------------------------------------------------
// Reading the case
// ------------------------------------------------------------------------------------------

int TUlvanForm::KaimyoStyle() const {
    return RadioGroup1Buttons->checkedId();
}

void TUlvanForm::SetKaimyoStyle(int index) {
    // A stored style outside the two choices keeps the current one.
    if (QAbstractButton* button = RadioGroup1Buttons->button(index)) {
        button->setChecked(true);
    }
}

DeceasedData TUlvanForm::Deceased() const {
    DeceasedData result;
    result.Kaimyo = ToU16(kaimyo->text());
    result.Yomi = ToU16(yomi->text());
    result.Zokumyo = ToU16(zokumyo->text());
    result.GyoNen = ToU16(gyonen->text());
    result.KiNen = ToU16(Edit1->text());
    result.KiNengo = ToU16(ComboBox1->currentText());
    result.KiWanen = ToU16(Edit2->text());
    result.KiGatsu = ToU16(Edit3->text());
    result.KiNichi = ToU16(Edit4->text());
    return result;
}

SheetOptions TUlvanForm::Options() const {
    SheetOptions options;
    options.TitName = ToU16(ComboBox2->currentText());
    options.FntName1 = ToU16(ComboBox3->currentText());
    options.FntName2 = ToU16(ComboBox4->currentText());
    options.KaimyoStyle = KaimyoStyle();
    options.TmplNamePrint = CheckBox10->isChecked();
    options.HatsuGatsuPrint = CheckBox11->isChecked();
    options.HyakkaNichiPrint = CheckBox12->isChecked();
    options.DogetsuShoryaku = CheckBox13->isChecked();
    options.WarekiInsatsu = CheckBox14->isChecked();
    options.RubyPrint = CheckBox15->isChecked();
    return options;
}

MemorialSchedule TUlvanForm::Schedule() const {
    MemorialSchedule schedule;
    ulvan::SetOffsets(schedule, m_add);
    for (std::size_t r = 0; r < 9; ++r) {
        MemorialDay& day = schedule[r];
        day.Name = ToU16(NameLabels[r]->text());
        day.Eve = EveBoxes[r]->isChecked();
        day.Month = ToU16(MonthEdits[r]->text());
        day.Day = ToU16(DayEdits[r]->text());
        day.WeekdayText = ToU16(WeekLabels[r]->text());
    }
    return schedule;
}

} // namespace ulvan
