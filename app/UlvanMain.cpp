#include "app/UlvanMain.h"
#include "app/UlvanMainParts.h"

#include "app/AgeCalUnit.h"
#include "app/KaiUnit.h"
#include "app/ShosaiUnit.h"
#include "calendar/DateCalc.h"
#include "calendar/TextUtil.h"
#include "case/SettingsCheck.h"
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
#include <QElapsedTimer>
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
constexpr int kStatusBarHeight = 19;
constexpr int kEditHeight = 20;

const QString kCaption = QStringLiteral("Ulvan表3.1");
const QString kEveHint = QStringLiteral("ここがチェックされていると日付が逮夜（前日）となります");

QString Numbered(const char* stem, int number) {
    return QString::fromLatin1(stem) + QString::number(number);
}

void SetHint(QWidget* widget, const QString& hint) {
    widget->setToolTip(hint);
    widget->setStatusTip(hint);
}

// Numeric fields and the font boxes take no input method.
void NoInputMethod(QWidget* widget) {
    widget->setAttribute(Qt::WA_InputMethodEnabled, false);
}

} // namespace

TUlvanForm::TUlvanForm(Interaction& interaction, const QString& settingsFile,
                       int startupPictureAfterMs, QWidget* parent)
    : QMainWindow(parent)
    , m_interaction(interaction)
    , m_settingsFile(settingsFile)
    , m_shosaiForm([this] { return std::make_unique<TShosaiForm>(m_interaction, this); })
    , m_ageCalForm([this] { return std::make_unique<TAgeCalForm>(this); })
    , m_kaiForm([this] { return std::make_unique<TKaiForm>(this); }) {
    // A quick start shows the main window only; a slow one (a loaded machine, a cold font
    // cache) shows the start-up picture from the step where the wait becomes noticeable.
    QElapsedTimer creating;
    creating.start();
    BuildWindow();
    ShowStartupPictureIfSlow(creating.elapsed(), startupPictureAfterMs);
    // A settings file that did not read cleanly is copied before anything can be saved; one
    // that cannot be read at all is left alone for the whole run.
    const SettingsOpening opening = PrepareSettingsForRun(m_settingsFile);
    m_settingsWritable = opening.MayWrite;
    LoadSettings();
    ShowStartupPictureIfSlow(creating.elapsed(), startupPictureAfterMs);
    FillLists();
    if (OpenForm != nullptr) {
        // Gone once the event loop runs, that is after every window has been created.
        OpenForm->deleteLater();
        OpenForm = nullptr;
    }
    if (!opening.Message.empty()) {
        m_interaction.ShowMessage(opening.Message);
    }
}

void TUlvanForm::ShowStartupPictureIfSlow(std::int64_t elapsedMs, int afterMs) {
    if (afterMs < 0 || OpenForm != nullptr || elapsedMs < afterMs) {
        return;
    }
    auto* picture = new TOpenForm();
    picture->ShowNow();
    OpenForm = picture;
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
    // Room for four digits and the caret in the window's face (designed 33 wide from 80).
    inGroup1(Edit1, 74, 64, 39, kEditHeight);
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
    Label6 = group1Label(BlankWeekdayText(), 226, 108);
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
    gyonen->setGeometry(48, 120, 31, kEditHeight); // three digits: an age of 100
    NoInputMethod(gyonen);
    PlaceLabel(group2, QStringLiteral("歳"), 82, 124);
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
        WeekLabels[row] = rowLabel(BlankWeekdayText(), 496, top);
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
    // A row's month or day edited by hand (textEdited: by the user only) gives its weekday
    // label the edited date's weekday.
    for (std::size_t r = 0; r < 9; ++r) {
        for (QLineEdit* field : {MonthEdits[r], DayEdits[r]})
            connect(field, &QLineEdit::textEdited, this, [this, r] { ShowEditedRowWeekday(r); });
    }
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

} // namespace ulvan
