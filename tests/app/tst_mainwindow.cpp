// The main window driven as a user drives it: typing into the date fields, the up-down
// arrows, "きょう", the era box, clearing, the footer question, and the layout and hints.
#include "ModalDriver.h"
#include "ScriptedInteraction.h"
#include "Typing.h"
#include "app/UlvanMain.h"
#include "calendar/DateCalc.h"
#include "calendar/NengoUnit.h"
#include "calendar/Schedule.h"
#include "calendar/TextUtil.h"
#include "sheet/Fonts.h"
#include "ui/DialogSupport.h"
#include "ui/UpDown.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>

#include <memory>

using namespace ulvan;

Q_DECLARE_METATYPE(ulvan::EraChoice)

namespace {

QString S(const char* text) {
    return QString::fromUtf8(text);
}

QStringList L(std::initializer_list<const char*> texts) {
    QStringList list;
    for (const char* text : texts) {
        list << QString::fromUtf8(text);
    }
    return list;
}

// The window on a settings file of its own, empty unless a test writes it first.
struct Fixture {
    QTemporaryDir dir;
    ScriptedInteraction ui;
    std::unique_ptr<TUlvanForm> form;
    std::vector<std::size_t> asked; // era transitions asked, by entry index
    EraChoice answer = EraChoice::None;

    Fixture() {
        form = std::make_unique<TUlvanForm>(ui, dir.filePath(QStringLiteral("Dorim.conf")));
        form->SetEraAsker([this](std::size_t index) {
            asked.push_back(index);
            return answer;
        });
    }
};

// The schedule the engine computes for a date with the window's current rows.
MemorialSchedule Expected(const TUlvanForm& form, const QString& year, const QString& month,
                          const QString& day) {
    MemorialSchedule schedule = form.Schedule();
    ComputeSchedule(ToU16(year), ToU16(month), ToU16(day), schedule);
    return schedule;
}

void CompareShown(const TUlvanForm& form, const MemorialSchedule& expected) {
    const MemorialSchedule shown = form.Schedule();
    for (std::size_t r = 0; r < 9; ++r) {
        QCOMPARE(shown[r].Month, expected[r].Month);
        QCOMPARE(shown[r].Day, expected[r].Day);
        QCOMPARE(shown[r].WeekdayText, expected[r].WeekdayText);
    }
}

// Where a control sits in client coordinates (the tool bar's top is client 0).
QRect ClientRect(const TUlvanForm& form, const QWidget* widget) {
    const QPoint topLeft = widget->mapTo(&form, QPoint(0, 0)) - QPoint(0, form.menuBar()->height());
    return QRect(topLeft, widget->size());
}

void TypeInto(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    TypeText(edit, text);
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void FirstStartDefaults();
    void ClientSizeAndPlaces_data();
    void ClientSizeAndPlaces();
    void Hints_data();
    void Hints();
    void StatusBarShowsHint();
    void MenuItems_data();
    void MenuItems();
    void Captions_data();
    void Captions();
    void InputMethodPerField_data();
    void InputMethodPerField();
    void MenusInOrder();
    void ToolBarInOrder();
    void TabOrderOfDate();
    void TypingYearDigitByDigit_data();
    void TypingYearDigitByDigit();
    void TypingYearWithMonthDecides();
    void TypingYearWithRealEraDialog();
    void EraDialogLeftWithKey_data();
    void EraDialogLeftWithKey();
    void UpDownSteps_data();
    void UpDownSteps();
    void TodayButton();
    void EraChosenSetsWesternYear_data();
    void EraChosenSetsWesternYear();
    void EraYearUnreadableEmptiesYear();
    void SameTextKeepsManualEdits();
    void EditedRowAndImpossibleDateLabels();
    void KeysThatChangeNothingLeaveTheEra();
    void RecordWithOnlyItsEraGetsItsYear();
    void EveBoxClickRecomputes();
    void ClearKeepsSettings();
    void ClearFooterAsks_data();
    void ClearFooterAsks();
    void ImportRecordEraNotListed();
    void UnsetCommandBeeps();
    void EditFooterCopiesBackOnOk_data();
    void EditFooterCopiesBackOnOk();
    void StartupPictureOnlyWhenSlow_data();
    void StartupPictureOnlyWhenSlow();
    void FieldLimitsBindTyping_data();
    void FieldLimitsBindTyping();
    void HeldArrowRepeatsThenSyncsOnce();
    void ExitClosesAndSaves();
    void FontBoxFamiliesFilter_data();
    void FontBoxFamiliesFilter();
    void FontBoxesListEveryJapaneseFamily();
};

void TestMainWindow::FirstStartDefaults() {
    Fixture f;
    TUlvanForm& w = *f.form;
    QCOMPARE(w.windowTitle(), QStringLiteral("Ulvan表3.1"));
    for (std::size_t r = 0; r < 9; ++r) {
        QCOMPARE(w.EveBoxes[r]->isChecked(), r != kFirstMonthlyRow);
        QCOMPARE(w.WeekLabels[r]->text(), QStringLiteral("（　曜日）"));
        QVERIFY(w.MonthEdits[r]->text().isEmpty());
    }
    const SheetOptions options = w.Options();
    QVERIFY(options.TmplNamePrint && options.HatsuGatsuPrint && options.HyakkaNichiPrint);
    QVERIFY(options.DogetsuShoryaku && options.WarekiInsatsu && options.RubyPrint);
    QCOMPARE(options.KaimyoStyle, 0);
    QVERIFY(options.TitName.empty() && options.FntName1.empty() && options.FntName2.empty());
    QCOMPARE(w.ComboBox1->currentIndex(), -1);
    QVERIFY(w.ComboBox1->currentText().isEmpty());
    QCOMPARE(w.ComboBox1->count(), 68);
    QCOMPARE(w.ComboBox1->itemText(0), QStringLiteral("令和"));
    QCOMPARE(w.ComboBox1->itemText(67), QStringLiteral("－－"));
    QCOMPARE(w.ComboBox2->count(), 3);
    QCOMPARE(w.ComboBox2->itemText(1), QStringLiteral("Ulvan逮夜表"));
    QCOMPARE(w.Label6->text(), QStringLiteral("（　曜日）"));
    QCOMPARE(w.Offsets(), (std::array<std::int32_t, 8>{6, 13, 20, 27, 34, 41, 48, 99}));
    QCOMPARE(w.NameLabels[7]->text(), QStringLiteral("満Ulvan"));
    QVERIFY(w.EditList().isEmpty());
    // The font boxes list families, none of them vertical variants.
    for (int i = 0; i < w.ComboBox3->count(); ++i) {
        QVERIFY(!w.ComboBox3->itemText(i).startsWith(QLatin1Char('@')));
    }
    QCOMPARE(w.ComboBox3->count(), w.ComboBox4->count());
    // Proportional Japanese faces follow the fixed-pitch ones.
    const QStringList japanese = JapaneseFamilies();
    if (japanese.contains(QStringLiteral("IPAGothic")) &&
        japanese.contains(QStringLiteral("IPAPGothic"))) {
        QVERIFY(w.ComboBox3->findText(QStringLiteral("IPAGothic")) >= 0);
        QVERIFY(w.ComboBox3->findText(QStringLiteral("IPAPGothic")) >
                w.ComboBox3->findText(QStringLiteral("IPAMincho")));
    }
    QCOMPARE(f.ui.Log, QStringList());
}

void TestMainWindow::ClientSizeAndPlaces_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("rect");
    QTest::newRow("Edit1") << S("Edit1") << QRect(74, 64, 39, 20);
    QTest::newRow("ComboBox1") << S("ComboBox1") << QRect(152, 64, 49, 20);
    QTest::newRow("Edit2") << S("Edit2") << QRect(200, 64, 25, 20);
    QTest::newRow("Button1") << S("Button1") << QRect(48, 104, 41, 20);
    QTest::newRow("Edit3") << S("Edit3") << QRect(112, 104, 25, 20);
    QTest::newRow("Edit4") << S("Edit4") << QRect(168, 104, 25, 20);
    QTest::newRow("GroupBox1") << S("GroupBox1") << QRect(16, 40, 281, 97);
    QTest::newRow("GroupBox2") << S("GroupBox2") << QRect(16, 152, 281, 153);
    QTest::newRow("kaimyo") << S("kaimyo") << QRect(16 + 48, 152 + 24, 169, 20);
    QTest::newRow("Button4") << S("Button4") << QRect(16 + 224, 152 + 24, 41, 20);
    QTest::newRow("yomi") << S("yomi") << QRect(16 + 48, 152 + 52, 217, 20);
    QTest::newRow("gyonen") << S("gyonen") << QRect(16 + 48, 152 + 120, 31, 20);
    QTest::newRow("Button2") << S("Button2") << QRect(16 + 128, 152 + 120, 41, 20);
    QTest::newRow("Button5") << S("Button5") << QRect(328, 44, 57, 20);
    QTest::newRow("Edit5") << S("Edit5") << QRect(400, 72, 25, 20);
    QTest::newRow("Edit13") << S("Edit13") << QRect(400, 72 + 24 * 8, 25, 20);
    QTest::newRow("Edit22") << S("Edit22") << QRect(448, 72 + 24 * 8, 25, 20);
    QTest::newRow("ComboBox2") << S("ComboBox2") << QRect(128, 328, 113, 20);
    QTest::newRow("ComboBox3") << S("ComboBox3") << QRect(128, 376, 145, 20);
    QTest::newRow("ComboBox4") << S("ComboBox4") << QRect(128, 408, 145, 20);
    QTest::newRow("RadioGroup1") << S("RadioGroup1") << QRect(304, 328, 153, 57);
    QTest::newRow("Button3") << S("Button3") << QRect(360, 424, 97, 20);
    // Labels and check boxes: where only the place is given, a width or height of 0 is not
    // compared.
    QTest::newRow("zokumyo") << S("zokumyo") << QRect(16 + 48, 152 + 92, 121, 20);
    QTest::newRow("Label52") << S("Label52") << QRect(408, 48, 0, 0);
    QTest::newRow("Label53") << S("Label53") << QRect(376, 292, 0, 0);
    QTest::newRow("print caption") << S("PrintCaption") << QRect(16, 344, 0, 0);
    QTest::newRow("Label11") << S("Label11") << QRect(328, 72, 73, 0);
    QTest::newRow("Label19") << S("Label19") << QRect(328, 72 + 24 * 8, 73, 0);
    QTest::newRow("Edit14") << S("Edit14") << QRect(448, 72, 25, 20);
    QTest::newRow("Label40") << S("Label40") << QRect(496, 72, 0, 0);
    QTest::newRow("Label48") << S("Label48") << QRect(496, 72 + 24 * 8, 0, 0);
    QTest::newRow("CheckBox1") << S("CheckBox1") << QRect(560, 72, 65, 0);
    QTest::newRow("CheckBox9") << S("CheckBox9") << QRect(560, 72 + 24 * 8, 65, 0);
    QTest::newRow("CheckBox10") << S("CheckBox10") << QRect(312, 400, 0, 0);
    QTest::newRow("CheckBox11") << S("CheckBox11") << QRect(488, 328, 0, 0);
    QTest::newRow("CheckBox15") << S("CheckBox15") << QRect(488, 424, 0, 0);
}

void TestMainWindow::ClientSizeAndPlaces() {
    QFETCH(QString, name);
    QFETCH(QRect, rect);
    Fixture f;
    TUlvanForm& w = *f.form;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QSize client(w.width(), w.height() - w.menuBar()->height());
    QCOMPARE(client, QSize(642, 468));
    QCOMPARE(w.statusBar()->height(), 19);
    QCOMPARE(w.minimumSize(), w.maximumSize()); // not resizable
    auto* widget = w.findChild<QWidget*>(name);
    QVERIFY2(widget != nullptr, qPrintable(name));
    const QRect shown = ClientRect(w, widget);
    QCOMPARE(shown.topLeft(), rect.topLeft());
    if (rect.width() > 0 && qobject_cast<QCheckBox*>(widget) != nullptr) {
        // A check box grows when its caption needs more room in the screen's font.
        QVERIFY(shown.width() >= rect.width());
    } else if (rect.width() > 0) {
        QCOMPARE(shown.width(), rect.width());
    }
    if (rect.height() > 0) {
        QCOMPARE(shown.height(), rect.height());
    }
}

void TestMainWindow::Hints_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("hint");
    QTest::newRow("Button1") << S("Button1") << QStringLiteral("今日現在の日付を入力します");
    QTest::newRow("kaimyo") << S("kaimyo")
                            << QStringLiteral("直接入力できますが、右のボタンをクリックすると入力"
                                              "ダイアログボックスが表示されます");
    QTest::newRow("Button2") << S("Button2") << QStringLiteral("生年から行年を計算");
    QTest::newRow("CheckBox5") << S("CheckBox5")
                               << QStringLiteral(
                                      "ここがチェックされていると日付が逮夜（前日）となります");
    QTest::newRow("ComboBox4") << S("ComboBox4")
                               << QStringLiteral(
                                      "Ulvan表の本文表題に使用されるフォントを選択（毛筆体"
                                      "などが良いでしょう）");
    QTest::newRow("CheckBox14") << S("CheckBox14")
                                << QStringLiteral("ここのチェックをはずすと西暦のみで印刷します");
    QTest::newRow("ToolButton7") << S("ToolButton7") << QStringLiteral("故人データのクリア");
    QTest::newRow("ToolButton11") << S("ToolButton11")
                                  << QStringLiteral(
                                         "空白のUlvan表用紙を印刷します（入力データは印刷しない）");
    const std::pair<const char*, const char*> more[] = {
        {"Button4", "戒名・法名の入力ダイアログボックスを表示します"},
        {"yomi", "戒名によみがなをつけて印刷する場合に入力してください。"},
        {"zokumyo", "生前の名前を記入します"},
        {"gyonen", "亡くなった時の年齢（一般的には数え歳）を記入します"},
        {"Button5", "忌の名称や計算式をカスタマイズします"},
        {"CheckBox1", "ここがチェックされていると日付が逮夜（前日）となります"},
        {"CheckBox9", "ここがチェックされていると日付が逮夜（前日）となります"},
        {"ComboBox2", "Ulvan表の表題を選択したり、自分で変更設定したりできます。最大７文字まで。"},
        {"ComboBox3", "Ulvan表の表題に使用されるフォントを選択"},
        {"CheckBox10", "ここをチェックするとUlvan表の末尾に寺院名等が印刷されます"},
        {"Button3", "Ulvan表末尾に挿入する寺院名等の文書編集"},
        {"CheckBox11", "ここをチェックすると初月忌が印刷されます"},
        {"CheckBox12", "ここをチェックすると百箇日が印刷されます"},
        {"CheckBox13", "ここをチェックすると、前項と同月の場合、月を省略して印刷します"},
        {"CheckBox15", "戒名に読みがなを付けて印刷します"},
        {"ToolButton1", "ファイルからデータを取り込む"},
        {"ToolButton2", "ファイルにデータを追記"},
        {"ToolButton4", "Ulvan表を印刷します（入力データも印刷）"},
        {"ToolButton5", "印刷プレビュー画面を表示"},
        {"ToolButton13", "Ulvan表をPDFファイルに保存します（プリンタは不要）"},
        {"ToolButton9", "没年をもとに年回表を作成"},
        {"ToolButton10", "当該年度における年回早見表作成"},
    };
    for (const auto& [name, hint] : more) {
        QTest::newRow(name) << S(name) << S(hint);
    }
}

void TestMainWindow::MenuItems_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("hint");
    const char* const items[][3] = {
        {"Open1", "ﾌｧｲﾙから取り込み(&D)", "ファイルからデータを取り込む"},
        {"New1", "ﾌｧｲﾙに追記(&A)", "ファイルにデータを追記"},
        {"Print1", "Ulvan表の印刷(&P)", "Ulvan表を印刷します（入力データも印刷）"},
        {"PrintPreview1", "印刷ﾌﾟﾚﾋﾞｭｰ(&V)", "印刷プレビュー画面を表示"},
        {"Print2", "空白用紙の印刷(&Y)", "空白のUlvan表用紙を印刷します（入力データは印刷しない）"},
        {"SavePdf1", "PDFに保存…", "Ulvan表をPDFファイルに保存します（プリンタは不要）"},
        {"Exit1", "Ulvan表の終了(&X)", "Ulvan表の終了"},
        {"Find1", "故人データのクリア(&C)", "全てのデータ欄を消去"},
        {"T1", "寺院名等の編集(&J)", "Ulvan表末尾に挿入する寺院名等の編集を行ないます"},
        {"D1", "寺院名等のクリア(&D)", "寺院名等のデータを全て削除します"},
        {"N9", "Ulvan日付の詳細設定", ""},
        {"N4", "年回表（没年から求める）(&N)", "没年をもとに年回表を作成"},
        {"N7", "年回早見表（逆算）(&H)", "当該年度における年回早見表作成"},
        {"Contents1", "目次(&C)", "ヘルプの目次を表示"},
        {"SearchforHelpOn1", "ﾄﾋﾟｯｸの検索(&S)", "ヘルプ・トピックの検索"},
        {"About1", "ﾊﾞｰｼﾞｮﾝ情報(&A)", "現在ご使用のUlvan表のバージョンと著作権情報などを表示"},
    };
    for (const auto& item : items) {
        QTest::newRow(item[0]) << S(item[0]) << S(item[1]) << S(item[2]);
    }
}

void TestMainWindow::MenuItems() {
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, hint);
    Fixture f;
    TUlvanForm& w = *f.form;
    auto* action = w.findChild<QAction*>(name);
    QVERIFY2(action != nullptr, qPrintable(name));
    QCOMPARE(action->text(), caption);
    QCOMPARE(action->statusTip(), hint);
    // Highlighting the item puts its hint (or nothing) into the status bar.
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.statusBar()->showMessage(QStringLiteral("before"));
    auto* menu = qobject_cast<QMenu*>(action->parent());
    QVERIFY(menu != nullptr);
    w.menuBar()->setActiveAction(menu->menuAction());
    QTRY_VERIFY(menu->isVisible());
    QTest::mouseMove(menu, menu->actionGeometry(action).center());
    QTRY_COMPARE(w.statusBar()->currentMessage(), hint);
    menu->close();
}

void TestMainWindow::Captions_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    const char* const captions[][2] = {
        {"GroupBox1", "命日（日付計算に必要）"},
        {"GroupBox2", "戒名法名・俗名・行年（計算のみのときは不要）"},
        {"Button1", "きょう"},
        {"Button2", "参照"},
        {"Button3", "寺院名等の編集"},
        {"Button4", "入力"},
        {"Button5", "詳細設定"},
        {"Label52", "Ulvan日付の計算結果"},
        {"Label53", "日付数字を書きかえると印刷結果に反映されます"},
        {"Label6", "（　曜日）"},
        {"Label11", "初七日忌"},
        {"Label15", "初月忌"},
        {"Label18", "満Ulvan"},
        {"Label19", "百箇日忌"},
        {"CheckBox1", "逮夜日付"},
        {"CheckBox9", "逮夜日付"},
        {"RadioGroup1", "戒名法名欄の印刷様式"},
        {"RadioGroup1Item0", "天蓋・蓮台をつけて印刷"},
        {"RadioGroup1Item1", "線で囲んで印刷"},
        {"CheckBox10", "寺院名等を印刷"},
        {"CheckBox11", "初月忌を含めて印刷"},
        {"CheckBox12", "百箇日を含めて印刷"},
        {"CheckBox13", "同月の場合の省略"},
        {"CheckBox14", "和暦を使用して印刷"},
        {"CheckBox15", "戒名にルビをつける"},
    };
    for (const auto& caption : captions) {
        QTest::newRow(caption[0]) << S(caption[0]) << S(caption[1]);
    }
}

void TestMainWindow::Captions() {
    QFETCH(QString, name);
    QFETCH(QString, caption);
    Fixture f;
    QObject* control = f.form->findChild<QObject*>(name);
    QVERIFY2(control != nullptr, qPrintable(name));
    if (auto* group = qobject_cast<QGroupBox*>(control)) {
        QCOMPARE(group->title(), caption);
    } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        QCOMPARE(button->text(), caption);
    } else if (auto* text = qobject_cast<QLabel*>(control)) {
        QCOMPARE(text->text(), caption);
    } else {
        QFAIL(qPrintable(name));
    }
}

void TestMainWindow::InputMethodPerField_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("japanese");
    const std::pair<const char*, bool> fields[] = {
        {"kaimyo", true},     {"yomi", true},       {"zokumyo", true}, {"ComboBox1", true},
        {"ComboBox2", true},  {"Edit1", false},     {"Edit2", false},  {"Edit3", false},
        {"Edit4", false},     {"gyonen", false},    {"Edit5", false},  {"Edit22", false},
        {"ComboBox3", false}, {"ComboBox4", false},
    };
    for (const auto& [name, japanese] : fields) {
        QTest::newRow(name) << S(name) << japanese;
    }
}

void TestMainWindow::InputMethodPerField() {
    QFETCH(QString, name);
    QFETCH(bool, japanese);
    Fixture f;
    auto* widget = f.form->findChild<QWidget*>(name);
    QVERIFY2(widget != nullptr, qPrintable(name));
    // A combo box takes its typing in its line edit.
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        widget = combo->lineEdit();
    }
    QCOMPARE(widget->testAttribute(Qt::WA_InputMethodEnabled), japanese);
}

void TestMainWindow::Hints() {
    QFETCH(QString, name);
    QFETCH(QString, hint);
    Fixture f;
    auto* widget = f.form->findChild<QWidget*>(name);
    QVERIFY2(widget != nullptr, qPrintable(name));
    QCOMPARE(widget->toolTip(), hint);
    QCOMPARE(widget->statusTip(), hint);
}

void TestMainWindow::StatusBarShowsHint() {
    Fixture f;
    TUlvanForm& w = *f.form;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    // The mouse over a control with a hint, then over one without.
    QTest::mouseMove(w.Button5);
    QTRY_COMPARE(w.statusBar()->currentMessage(),
                 QStringLiteral("忌の名称や計算式をカスタマイズします"));
    QTest::mouseMove(w.Label6);
    QTRY_COMPARE(w.statusBar()->currentMessage(), QString());
    QTest::mouseMove(w.CheckBox15);
    QTRY_COMPARE(w.statusBar()->currentMessage(),
                 QStringLiteral("戒名に読みがなを付けて印刷します"));
}

void TestMainWindow::MenusInOrder() {
    Fixture f;
    const QList<QAction*> top = f.form->menuBar()->actions();
    QCOMPARE(top.size(), 4);
    const QStringList titles{QStringLiteral("ﾌｧｲﾙ(&F)"), QStringLiteral("編集(&E)"),
                             QStringLiteral("ｵﾌﾟｼｮﾝ(&O)"), QStringLiteral("ﾍﾙﾌﾟ(&H)")};
    const QStringList items[] = {L({"Open1", "New1", "CalendarExport1", "-", "Print1",
                                    "PrintPreview1", "Print2", "SavePdf1", "-", "Exit1"}),
                                 L({"Undo1", "-", "Find1", "-", "T1", "D1"}),
                                 L({"N9", "-", "N4", "N7", "DueList1"}),
                                 L({"Contents1", "SearchforHelpOn1", "-", "About1"})};
    for (int m = 0; m < 4; ++m) {
        QCOMPARE(top[m]->text(), titles[m]);
        QStringList names;
        for (QAction* action : top[m]->menu()->actions()) {
            names << (action->isSeparator() ? QStringLiteral("-") : action->objectName());
        }
        QCOMPARE(names, items[m]);
    }
    auto* print2 = f.form->findChild<QAction*>(QStringLiteral("Print2"));
    QCOMPARE(print2->text(), QStringLiteral("空白用紙の印刷(&Y)"));
    QCOMPARE(print2->statusTip(),
             QStringLiteral("空白のUlvan表用紙を印刷します（入力データは印刷しない）"));
}

void TestMainWindow::ToolBarInOrder() {
    Fixture f;
    auto* bar = f.form->findChild<QToolBar*>(QStringLiteral("ToolBar1"));
    QVERIFY(bar != nullptr);
    QStringList names;
    for (QAction* action : bar->actions()) {
        if (action->isSeparator()) {
            names << QStringLiteral("-");
        } else if (QWidget* widget = bar->widgetForAction(action)) {
            names << widget->objectName();
        }
    }
    const QStringList expected =
        L({"-", "ToolButton1", "ToolButton2", "-", "ToolButton4", "ToolButton5", "ToolButton11",
           "ToolButton13", "-", "ToolButton7", "-", "ToolButton9", "ToolButton10", "ToolButton12"});
    QCOMPARE(names, expected);
}

void TestMainWindow::TabOrderOfDate() {
    Fixture f;
    TUlvanForm& w = *f.form;
    QCOMPARE(w.Edit1->nextInFocusChain(), static_cast<QWidget*>(w.Edit2));
    QCOMPARE(w.Edit2->nextInFocusChain(), static_cast<QWidget*>(w.Edit3));
    QCOMPARE(w.Edit3->nextInFocusChain(), static_cast<QWidget*>(w.Edit4));
    QCOMPARE(w.Edit4->nextInFocusChain(), static_cast<QWidget*>(w.Button1));
}

void TestMainWindow::TypingYearDigitByDigit_data() {
    QTest::addColumn<EraChoice>("answer");
    QTest::addColumn<QString>("era");
    QTest::addColumn<QString>("eraYear");
    QTest::newRow("ending era") << EraChoice::Ending << QStringLiteral("平成")
                                << QStringLiteral("31");
    QTest::newRow("new era") << EraChoice::New << QStringLiteral("令和") << QStringLiteral(" 1");
    QTest::newRow("left without a choice") << EraChoice::None << QString() << QString();
}

void TestMainWindow::TypingYearDigitByDigit() {
    QFETCH(EraChoice, answer);
    QFETCH(QString, era);
    QFETCH(QString, eraYear);
    Fixture f;
    f.answer = answer;
    TUlvanForm& w = *f.form;
    const QStringList eras{QStringLiteral("－－"), QStringLiteral("－－"), QStringLiteral("－－")};
    const QStringList years{QStringLiteral(" 2"), QStringLiteral("20"), QStringLiteral("  ")};
    w.Edit1->setFocus();
    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(w.Edit1, QStringLiteral("2019").at(i).toLatin1());
        QCOMPARE(w.ComboBox1->currentText(), eras[i]);
        QCOMPARE(w.Edit2->text(), years[i]);
        QVERIFY(f.asked.empty());
    }
    QTest::keyClick(w.Edit1, '9');
    QCOMPARE(f.asked.size(), std::size_t{1});
    QCOMPARE(f.asked[0], std::size_t{67}); // 令和, the last entry
    QCOMPARE(w.ComboBox1->currentText(), era);
    QCOMPARE(w.ComboBox1->currentIndex(), era.isEmpty() ? -1 : w.ComboBox1->findText(era));
    QCOMPARE(w.Edit2->text(), eraYear);
    // No month: the schedule stays empty.
    QVERIFY(w.Schedule()[0].Month.empty());
    QCOMPARE(w.Label6->text(), QStringLiteral("（　曜日）"));
}

void TestMainWindow::TypingYearWithMonthDecides() {
    Fixture f;
    TUlvanForm& w = *f.form;
    TypeInto(w.Edit3, QStringLiteral("5"));
    TypeInto(w.Edit4, QStringLiteral("1"));
    w.Edit1->setFocus();
    const QString digits = QStringLiteral("2019");
    for (int i = 0; i < digits.size(); ++i) {
        QTest::keyClick(w.Edit1, digits.at(i).toLatin1());
        // Every key recomputes the schedule from the year typed so far.
        CompareShown(w, Expected(w, digits.left(i + 1), QStringLiteral("5"), QStringLiteral("1")));
    }
    QVERIFY(f.asked.empty());
    QCOMPARE(w.ComboBox1->currentText(), QStringLiteral("令和"));
    QCOMPARE(w.Edit2->text(), QStringLiteral(" 1"));
    QCOMPARE(w.Label6->text(), ToQ(WeekdayLabel(CalendarDate{2019, 5, 1})));
    // 初七日忌 on its eve: six days on, one back.
    QCOMPARE(w.MonthEdits[0]->text(), QStringLiteral("5"));
    QCOMPARE(w.DayEdits[0]->text(), QStringLiteral("6"));
}

void TestMainWindow::TypingYearWithRealEraDialog() {
    ScriptedInteraction ui;
    QTemporaryDir dir;
    TUlvanForm w(ui, dir.filePath(QStringLiteral("Dorim.conf")));
    TNengoForm nengo(&w);
    w.SetEraAsker(nengo.Asker());
    WhenModalOf<TNengoForm>([](TNengoForm* dialog) {
        QCOMPARE(dialog->Label1->text(), QStringLiteral("西暦2019年は、05月01日をもって"));
        QTest::mouseClick(dialog->SpeedButton1, Qt::LeftButton);
        QTest::mouseClick(dialog->Button1, Qt::LeftButton);
    });
    TypeInto(w.Edit1, QStringLiteral("2019"));
    QCOMPARE(w.ComboBox1->currentText(), QStringLiteral("平成"));
    QCOMPARE(w.Edit2->text(), QStringLiteral("31"));
}

void TestMainWindow::EraDialogLeftWithKey_data() {
    QTest::addColumn<int>("key");
    QTest::newRow("Enter") << int(Qt::Key_Return);
    QTest::newRow("Escape") << int(Qt::Key_Escape);
    QTest::newRow("Space") << int(Qt::Key_Space);
}

// The era question opened by a key release in the year field is left with a key; that key's
// press goes to the dialog, and when the dialog closed on the press its release reaches the
// field once the dialog is gone. The question is asked once.
void TestMainWindow::EraDialogLeftWithKey() {
    QFETCH(int, key);
    ScriptedInteraction ui;
    QTemporaryDir dir;
    TUlvanForm w(ui, dir.filePath(QStringLiteral("Dorim.conf")));
    TNengoForm nengo(&w);
    w.SetEraAsker(nengo.Asker());
    int shown = 0;
    bool closedOnPress = false;
    nengo.SetRunner([&](TNengoForm& dialog) {
        ++shown;
        if (shown > 1) {
            return; // asked again: leave it at once so that the test can report it
        }
        QTimer::singleShot(0, &dialog, [&] {
            // The key goes where the keyboard is in the dialog; Space presses the button
            // that has it, so the user has moved to OK first.
            QTRY_VERIFY(QApplication::focusWidget() != nullptr &&
                        QApplication::focusWidget()->window() == &dialog);
            if (key == Qt::Key_Space) {
                dialog.Button1->setFocus(Qt::TabFocusReason);
            }
            QWidget* focus = QApplication::focusWidget();
            QTest::keyPress(focus, Qt::Key(key));
            closedOnPress = !dialog.isVisible();
            if (!closedOnPress) {
                QTest::keyRelease(focus, Qt::Key(key));
            }
        });
        QTimer::singleShot(2000, &dialog, [&dialog] {
            if (dialog.isVisible()) {
                dialog.reject();
                QFAIL("the key did not leave the dialog");
            }
        });
        dialog.exec();
    });
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.Edit1->setFocus();
    TypeInto(w.Edit1, QStringLiteral("201"));
    QTest::keyClick(w.Edit1, '9');
    QCOMPARE(shown, 1);
    QVERIFY(!nengo.isVisible());
    if (closedOnPress) {
        // The release reaches what has the keyboard now: the year field below, once the
        // main window is active again.
        w.activateWindow();
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(w.Edit1));
        QTest::keyRelease(QApplication::focusWidget(), Qt::Key(key));
    }
    QCOMPARE(shown, 1);
    // Enter and Escape close the dialog on their press, Space on its release.
    QCOMPARE(closedOnPress, key != Qt::Key_Space);
    // Typing on counts again: a month that decides brings the era fields in step.
    TypeInto(w.Edit3, QStringLiteral("6"));
    QCOMPARE(w.ComboBox1->currentText(), QStringLiteral("令和"));
}

void TestMainWindow::UpDownSteps_data() {
    QTest::addColumn<QString>("upDown");
    QTest::addColumn<bool>("up");
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<bool>("beeps");
    QTest::newRow("day down into February")
        << S("UpDown4") << false << L({"2019", "3", "1"}) << L({"2019", "2", "28"}) << false;
    QTest::newRow("day up to a leap day")
        << S("UpDown4") << true << L({"2020", "2", "28"}) << L({"2020", "2", "29"}) << false;
    QTest::newRow("day up over the year end")
        << S("UpDown4") << true << L({"2019", "12", "31"}) << L({"2020", "1", "1"}) << false;
    QTest::newRow("leading zeros dropped")
        << S("UpDown4") << true << L({"2025", "03", "08"}) << L({"2025", "3", "9"}) << false;
    QTest::newRow("month up over the year end")
        << S("UpDown3") << true << L({"2019", "12", "5"}) << L({"2020", "1", "5"}) << false;
    QTest::newRow("month down below January")
        << S("UpDown3") << false << L({"2019", "1", "5"}) << L({"2018", "12", "5"}) << false;
    QTest::newRow("month up keeps the day")
        << S("UpDown3") << true << L({"2019", "1", "31"}) << L({"2019", "2", "31"}) << false;
    QTest::newRow("year up") << S("UpDown1") << true << L({"2019", "5", "1"})
                             << L({"2020", "5", "1"}) << false;
    QTest::newRow("year down past zero")
        << S("UpDown1") << false << L({"0", "", ""}) << L({"-1", "", ""}) << false;
    QTest::newRow("year beyond four digits")
        << S("UpDown1") << true << L({"9999", "", ""}) << L({"10000", "", ""}) << false;
    QTest::newRow("year at the top of the range")
        << S("UpDown1") << true << L({"2147483647", "", ""}) << L({"2147483648", "", ""}) << false;
    QTest::newRow("empty year beeps")
        << S("UpDown1") << true << L({"", "5", "1"}) << L({"", "5", "1"}) << true;
    QTest::newRow("empty month beeps")
        << S("UpDown3") << true << L({"2019", "", "1"}) << L({"2019", "", "1"}) << true;
    QTest::newRow("unreadable day beeps")
        << S("UpDown4") << false << L({"2019", "5", "x"}) << L({"2019", "5", "x"}) << true;
}

void TestMainWindow::UpDownSteps() {
    QFETCH(QString, upDown);
    QFETCH(bool, up);
    QFETCH(QStringList, before);
    QFETCH(QStringList, after);
    QFETCH(bool, beeps);
    Fixture f;
    f.answer = EraChoice::New;
    TUlvanForm& w = *f.form;
    w.Edit1->setText(before[0]);
    w.Edit3->setText(before[1]);
    w.Edit4->setText(before[2]);
    auto* control = w.findChild<UpDown*>(upDown);
    QVERIFY(control != nullptr);
    QTest::mouseClick(up ? control->UpButton() : control->DownButton(), Qt::LeftButton);
    QCOMPARE(w.Edit1->text(), after[0]);
    QCOMPARE(w.Edit3->text(), after[1]);
    QCOMPARE(w.Edit4->text(), after[2]);
    QCOMPARE(f.ui.Beeps.size(), std::size_t{beeps ? 1u : 0u});
    CompareShown(w, Expected(w, after[0], after[1], after[2]));
    // The release brings the era fields in step with the stepped date.
    const std::optional<std::int32_t> year = ParseInt(ToU16(after[0]));
    if (year) {
        const QString wareki =
            ToQ(WarekiOf(*year, ParseIntOr(ToU16(after[1]), 0), ParseIntOr(ToU16(after[2]), 0)));
        if (wareki.size() == 4) {
            QCOMPARE(w.Edit2->text(), wareki.mid(2, 2));
            // "　　" (beyond the table) is no item: no selection then.
            const bool listed = w.ComboBox1->findText(wareki.left(2)) >= 0;
            QCOMPARE(w.ComboBox1->currentText(), listed ? wareki.left(2) : QString());
        }
    } else {
        QCOMPARE(w.Edit2->text(), QStringLiteral("--"));
    }
}

void TestMainWindow::TodayButton() {
    Fixture f;
    TUlvanForm& w = *f.form;
    w.SetTodayProvider([] { return QDate(2025, 3, 8); });
    QTest::mouseClick(w.Button1, Qt::LeftButton);
    QCOMPARE(w.Edit1->text(), QStringLiteral("2025"));
    QCOMPARE(w.Edit3->text(), QStringLiteral("03"));
    QCOMPARE(w.Edit4->text(), QStringLiteral("08"));
    QCOMPARE(w.Label6->text(), QStringLiteral("（土曜日）"));
    QCOMPARE(w.ComboBox1->currentText(), QStringLiteral("令和"));
    QCOMPARE(w.Edit2->text(), QStringLiteral(" 7"));
    CompareShown(w, Expected(w, QStringLiteral("2025"), QStringLiteral("3"), QStringLiteral("8")));
    // A year before 1000 keeps four digits.
    w.SetTodayProvider([] { return QDate(987, 11, 2); });
    QTest::mouseClick(w.Button1, Qt::LeftButton);
    QCOMPARE(w.Edit1->text(), QStringLiteral("0987"));
}

void TestMainWindow::EraChosenSetsWesternYear_data() {
    QTest::addColumn<QString>("era");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("year");
    QTest::newRow("令和 1") << QStringLiteral("令和") << QStringLiteral("1")
                            << QStringLiteral("2019");
    QTest::newRow("no era 5") << QStringLiteral("－－") << QStringLiteral("5")
                              << QStringLiteral("5");
    QTest::newRow("昭和 64") << QStringLiteral("昭和") << QStringLiteral("64")
                             << QStringLiteral("1989");
    QTest::newRow("明治 0") << QStringLiteral("明治") << QStringLiteral("0")
                            << QStringLiteral("1867");
    // The era-year field as a conversion leaves it, with its leading blank.
    QTest::newRow("令和 blank 1") << QStringLiteral("令和") << QStringLiteral(" 1")
                                  << QStringLiteral("2019");
}

void TestMainWindow::EraChosenSetsWesternYear() {
    QFETCH(QString, era);
    QFETCH(QString, typed);
    QFETCH(QString, year);
    Fixture f;
    TUlvanForm& w = *f.form;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    // The user picks the era from the list with the keyboard.
    w.ComboBox1->setFocus();
    const int index = w.ComboBox1->findText(era);
    QVERIFY(index >= 0);
    for (int i = 0; i <= index; ++i) {
        QTest::keyClick(w.ComboBox1, Qt::Key_Down);
    }
    QCOMPARE(w.ComboBox1->currentText(), era);
    QVERIFY(w.Edit1->text().isEmpty()); // no era-year yet: the year is emptied
    TypeInto(w.Edit2, typed);
    QCOMPARE(w.Edit1->text(), year);
    CompareShown(w, Expected(w, year, QString(), QString()));
}

void TestMainWindow::EraYearUnreadableEmptiesYear() {
    Fixture f;
    TUlvanForm& w = *f.form;
    w.Edit1->setText(QStringLiteral("2019"));
    TypeInto(w.Edit2, QStringLiteral("x"));
    QVERIFY(w.Edit1->text().isEmpty());
    // A typed era name that is not an item is no selection: the year stays.
    w.Edit1->setText(QStringLiteral("2019"));
    w.ComboBox1->setCurrentIndex(0);
    w.ComboBox1->setEditText(QStringLiteral("令"));
    w.Edit2->clear();
    TypeInto(w.Edit2, QStringLiteral("3"));
    QCOMPARE(w.Edit1->text(), QStringLiteral("2019"));
}

void TestMainWindow::SameTextKeepsManualEdits() {
    Fixture f;
    TUlvanForm& w = *f.form;
    DeceasedData record;
    record.KiNen = u"2019";
    record.KiGatsu = u"5";
    record.KiNichi = u"1";
    w.ApplyRecord(record);
    TypeInto(w.MonthEdits[3], QStringLiteral("0"));
    const QString edited = w.MonthEdits[3]->text();
    // The same texts again change nothing, so the manual edit stays.
    w.ApplyRecord(record);
    QCOMPARE(w.MonthEdits[3]->text(), edited);
    // A new day recomputes every row.
    record.KiNichi = u"2";
    w.ApplyRecord(record);
    CompareShown(w, Expected(w, QStringLiteral("2019"), QStringLiteral("5"), QStringLiteral("2")));
}

// A row's edited date shows its own weekday; a date that does not exist shows none.
void TestMainWindow::EditedRowAndImpossibleDateLabels() {
    Fixture f;
    TUlvanForm& w = *f.form;
    DeceasedData record;
    record.KiNen = u"2023";
    record.KiGatsu = u"5";
    record.KiNichi = u"1";
    w.ApplyRecord(record);
    w.DayEdits[4]->selectAll();
    TypeInto(w.DayEdits[4], QStringLiteral("25"));
    w.MonthEdits[4]->selectAll();
    TypeInto(w.MonthEdits[4], QStringLiteral("6"));
    QCOMPARE(w.WeekLabels[4]->text(), QStringLiteral("（日曜日）")); // 2023-06-25
    w.DayEdits[4]->selectAll();
    TypeInto(w.DayEdits[4], QStringLiteral("31"));
    QCOMPARE(w.WeekLabels[4]->text(), QStringLiteral("（日付なし）")); // June has 30 days
    // The whole text in the label's width, clear of the eve box beside it.
    QVERIFY(w.WeekLabels[4]->x() + w.WeekLabels[4]->sizeHint().width() <= w.EveBoxes[4]->x());
    // A new date of death recomputes the row and its label.
    w.Edit4->setText(QStringLiteral("2"));
    QVERIFY(w.WeekLabels[4]->text() != QStringLiteral("（日付なし）"));
    w.Edit3->setText(QStringLiteral("2"));
    w.Edit4->setText(QStringLiteral("31"));
    QCOMPARE(w.Label6->text(), QStringLiteral("（日付なし）"));
}

void TestMainWindow::KeysThatChangeNothingLeaveTheEra() {
    Fixture f;
    TUlvanForm& w = *f.form;
    w.Edit1->setText(QStringLiteral("2019")); // 平成31 or 令和1: the date does not decide
    w.Edit3->clear();
    w.Edit1->setFocus();
    QTest::keyClick(w.Edit1, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(w.Edit1, Qt::Key_Left);
    QTest::keyClick(w.Edit1, Qt::Key_End);
    QVERIFY(f.asked.empty());
    // A key that changes the text still brings the era fields in step.
    QTest::keyClick(w.Edit1, Qt::Key_Backspace);
    QTest::keyClick(w.Edit1, Qt::Key_9);
    QCOMPARE(f.asked.size(), std::size_t{1});
}

// The due list counts such a record from its era; the import gives it the same year, and a
// long name or reading shows from its start.
void TestMainWindow::RecordWithOnlyItsEraGetsItsYear() {
    Fixture f;
    TUlvanForm& w = *f.form;
    DeceasedData record;
    record.KiNengo = u"平成";
    record.KiWanen = u"10";
    record.KiGatsu = u"4";
    record.KiNichi = u"1";
    record.Yomi = u"しゃくじょうしんいんでんだいこじほうみょうのよみがとてもながいばあい";
    w.ApplyRecord(record);
    QCOMPARE(w.Edit1->text(), QStringLiteral("1998"));
    QCOMPARE(w.MonthEdits[0]->text().isEmpty(), false); // the schedule is there
    QCOMPARE(w.yomi->cursorPosition(), 0);
    // A western year in the record is kept as it stands.
    record.KiNen = u"1997";
    w.ApplyRecord(record);
    QCOMPARE(w.Edit1->text(), QStringLiteral("1997"));
}

void TestMainWindow::EveBoxClickRecomputes() {
    Fixture f;
    TUlvanForm& w = *f.form;
    w.Edit1->setText(QStringLiteral("2019"));
    w.Edit3->setText(QStringLiteral("5"));
    w.Edit4->setText(QStringLiteral("1"));
    QTest::mouseClick(w.EveBoxes[0], Qt::LeftButton, {}, QPoint(4, 8));
    QVERIFY(!w.EveBoxes[0]->isChecked());
    QCOMPARE(w.DayEdits[0]->text(), QStringLiteral("7"));
    // Set in code, the box recomputes as well.
    w.EveBoxes[0]->setChecked(true);
    QCOMPARE(w.DayEdits[0]->text(), QStringLiteral("6"));
    CompareShown(w, Expected(w, QStringLiteral("2019"), QStringLiteral("5"), QStringLiteral("1")));
}

void TestMainWindow::ClearKeepsSettings() {
    Fixture f;
    TUlvanForm& w = *f.form;
    w.SetTodayProvider([] { return QDate(2024, 7, 14); });
    w.Today();
    w.kaimyo->setText(QStringLiteral("釋浄信"));
    w.yomi->setText(QStringLiteral("しゃくじょうしん"));
    w.zokumyo->setText(QStringLiteral("山田太郎"));
    w.gyonen->setText(QStringLiteral("88"));
    w.EveBoxes[2]->setChecked(false);
    w.CheckBox13->setChecked(false);
    w.SetKaimyoStyle(1);
    w.SetEditStr(QStringLiteral("frame 1\r\nframe 2\r\n"));
    const SheetOptions options = w.Options();
    const QStringList footer = w.EditList();
    QVERIFY(!w.Schedule()[0].Month.empty());

    QTest::mouseClick(w.findChild<QToolButton*>(QStringLiteral("ToolButton7")), Qt::LeftButton);
    QCOMPARE(w.Deceased(), DeceasedData{});
    QCOMPARE(w.ComboBox1->currentIndex(), -1);
    for (std::size_t r = 0; r < 9; ++r) {
        QVERIFY(w.Schedule()[r].Month.empty());
        QVERIFY(w.Schedule()[r].Day.empty());
        QCOMPARE(w.WeekLabels[r]->text(), QStringLiteral("（　曜日）"));
        QCOMPARE(w.EveBoxes[r]->isChecked(), r != 2 && r != kFirstMonthlyRow);
    }
    QCOMPARE(w.Label6->text(), QStringLiteral("（　曜日）"));
    QCOMPARE(w.Options(), options);
    QCOMPARE(w.EditList(), footer);
    QCOMPARE(f.ui.Log, QStringList()); // no question asked
}

void TestMainWindow::ClearFooterAsks_data() {
    QTest::addColumn<bool>("yes");
    QTest::newRow("yes") << true;
    QTest::newRow("no") << false;
}

void TestMainWindow::ClearFooterAsks() {
    QFETCH(bool, yes);
    Fixture f;
    TUlvanForm& w = *f.form;
    w.SetEditStr(QStringLiteral("a\r\nb\r\n"));
    int cleared = 0;
    w.OnFooterCleared = [&cleared] { ++cleared; };
    f.ui.AnswerConfirm(yes);
    w.findChild<QAction*>(QStringLiteral("D1"))->trigger();
    QCOMPARE(
        f.ui.Log,
        (QStringList{QStringLiteral("beep: exclamation"),
                     QStringLiteral("confirm: 確認 | 寺院名等のデータをすべて削除しますか？")}));
    QCOMPARE(f.ui.Questions.back().Kind, Interaction::ConfirmKind::Question);
    QCOMPARE(w.EditList().isEmpty(), yes);
    QCOMPARE(w.EditStr(), yes ? QString() : QStringLiteral("a\r\nb\r\n"));
    QCOMPARE(cleared, yes ? 1 : 0);
}

void TestMainWindow::ImportRecordEraNotListed() {
    Fixture f;
    TUlvanForm& w = *f.form;
    DeceasedData record;
    record.KiNen = u"1989";
    record.KiNengo = u"平";
    record.KiWanen = u" 1";
    record.KiGatsu = u"1";
    record.KiNichi = u"8";
    record.Kaimyo = u"A";
    record.Yomi = u"";
    w.ApplyRecord(record);
    QCOMPARE(w.ComboBox1->currentIndex(), -1);
    QCOMPARE(w.Edit2->text(), QStringLiteral(" 1"));
    CompareShown(w, Expected(w, QStringLiteral("1989"), QStringLiteral("1"), QStringLiteral("8")));
    // The era fields are taken as they stand: selecting the era in code does not convert
    // back to a western year (平成 1 would be 1989).
    record.KiNen = u"2000";
    record.KiNengo = u"平成";
    w.ApplyRecord(record);
    QCOMPARE(w.ComboBox1->currentText(), QStringLiteral("平成"));
    QCOMPARE(w.Deceased(), record);
}

void TestMainWindow::UnsetCommandBeeps() {
    Fixture f;
    TUlvanForm& w = *f.form;
    int printed = 0;
    w.OnPrint = [&printed] { ++printed; };
    w.findChild<QToolButton*>(QStringLiteral("ToolButton4"))->click();
    w.findChild<QAction*>(QStringLiteral("Print1"))->trigger();
    QCOMPARE(printed, 2);
    QVERIFY(f.ui.Beeps.empty());
    w.findChild<QToolButton*>(QStringLiteral("ToolButton9"))->click();
    QCOMPARE(f.ui.Beeps.size(), std::size_t{1});
}

void TestMainWindow::EditFooterCopiesBackOnOk_data() {
    QTest::addColumn<bool>("ok");
    QTest::newRow("ok") << true;
    QTest::newRow("cancel") << false;
}

void TestMainWindow::EditFooterCopiesBackOnOk() {
    QFETCH(bool, ok);
    Fixture f;
    TUlvanForm& w = *f.form;
    const QString before = QStringLiteral("0\r\n0\r\n10\r\n10\r\n\r\n\r\n\r\n\r\n\r\nold\r\n");
    w.SetEditStr(before);
    int calls = 0;
    // The editor reads the layout through the host interface and hands it back only on OK.
    w.OnEditFooter = [&w, &calls, ok] {
        ++calls;
        FooterLayout copy = w.Footer();
        [&] { QCOMPARE(copy.Field(0, FooterField::Content), std::u16string(u"old")); }();
        copy.SetField(0, FooterField::Content, u"new");
        if (ok) {
            w.SetFooter(copy);
        }
        return ok;
    };
    QTest::mouseClick(w.Button3, Qt::LeftButton);
    QCOMPARE(calls, 1);
    QString after = before;
    after.replace(QStringLiteral("old"), QStringLiteral("new"));
    QCOMPARE(w.EditStr(), ok ? after : before);
}

void TestMainWindow::StartupPictureOnlyWhenSlow_data() {
    QTest::addColumn<int>("afterMs");
    QTest::addColumn<int>("shownWhileCreating");
    QTest::newRow("slow start: shown until the loop runs") << 0 << 1;
    QTest::newRow("quick start: none") << 60 * 60 * 1000 << 0;
    QTest::newRow("no picture asked") << -1 << 0;
}

void TestMainWindow::StartupPictureOnlyWhenSlow() {
    QFETCH(int, afterMs);
    QFETCH(int, shownWhileCreating);
    QTemporaryDir dir;
    ScriptedInteraction ui;
    const auto pictures = [] {
        int shown = 0;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            shown += widget->objectName() == QStringLiteral("OpenForm") ? 1 : 0;
        }
        return shown;
    };
    const int before = pictures();
    TUlvanForm w(ui, dir.filePath(QStringLiteral("Dorim.conf")), afterMs);
    QCOMPARE(pictures(), before + shownWhileCreating);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(pictures(), before);
}

void TestMainWindow::ExitClosesAndSaves() {
    QTemporaryDir dir;
    ScriptedInteraction ui;
    const QString file = dir.filePath(QStringLiteral("Dorim.conf"));
    TUlvanForm w(ui, file);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.Edit1->setText(QStringLiteral("1999"));
    w.findChild<QAction*>(QStringLiteral("Exit1"))->trigger();
    QVERIFY(!w.isVisible());
    TUlvanForm again(ui, file);
    QCOMPARE(again.Edit1->text(), QStringLiteral("1999"));
}

void TestMainWindow::FieldLimitsBindTyping_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::newRow("year") << S("Edit1") << S("123456") << S("1234");
    QTest::newRow("era year") << S("Edit2") << S("123") << S("12");
    QTest::newRow("month") << S("Edit3") << S("123") << S("12");
    QTest::newRow("day") << S("Edit4") << S("123") << S("12");
    QTest::newRow("posthumous name")
        << S("kaimyo") << QString(40, QChar(u'釋')) << QString(32, QChar(u'釋'));
    QTest::newRow("secular name") << S("zokumyo") << QString(20, QChar(u'山'))
                                  << QString(16, QChar(u'山'));
    QTest::newRow("reading, no limit")
        << S("yomi") << QString(60, QChar(u'あ')) << QString(60, QChar(u'あ'));
}

void TestMainWindow::FieldLimitsBindTyping() {
    QFETCH(QString, name);
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    Fixture f;
    f.answer = EraChoice::New;
    auto* edit = f.form->findChild<QLineEdit*>(name);
    QVERIFY(edit != nullptr);
    TypeInto(edit, typed);
    QCOMPARE(edit->text(), kept);
    // Text set by the program is kept whole.
    edit->setText(typed);
    QCOMPARE(edit->text(), typed);
}

void TestMainWindow::HeldArrowRepeatsThenSyncsOnce() {
    Fixture f;
    TUlvanForm& w = *f.form;
    w.Edit1->setText(QStringLiteral("2019"));
    w.Edit3->setText(QStringLiteral("5"));
    w.Edit4->setText(QStringLiteral("1"));
    QToolButton* down = w.UpDown4->DownButton();
    int released = 0;
    connect(w.UpDown4, &UpDown::Released, this, [&released] { ++released; });
    QTest::mousePress(down, Qt::LeftButton);
    QCOMPARE(w.Edit4->text(), QStringLiteral("30")); // the press steps at once
    QCOMPARE(w.Edit3->text(), QStringLiteral("4"));
    QTRY_VERIFY_WITH_TIMEOUT(ParseIntOr(ToU16(w.Edit4->text()), 0) <= 27, 3000);
    QCOMPARE(released, 0);
    QVERIFY(w.Edit2->text().isEmpty()); // the era fields wait for the release
    QTest::mouseRelease(down, Qt::LeftButton);
    QCOMPARE(released, 1);
    QCOMPARE(w.ComboBox1->currentText(), QStringLiteral("平成"));
    QCOMPARE(w.Edit2->text(), QStringLiteral("31"));
    CompareShown(w, Expected(w, w.Edit1->text(), w.Edit3->text(), w.Edit4->text()));
}

void TestMainWindow::FontBoxFamiliesFilter_data() {
    QTest::addColumn<QStringList>("families");
    QTest::addColumn<QStringList>("listed");
    // Japanese faces only: a Latin face would print the sheet as empty boxes.
    QTest::newRow("latin faces dropped")
        << L({"DejaVu Sans", "DejaVu Sans Mono", "IPAMincho"}) << L({"IPAMincho"});
    QTest::newRow("no japanese face") << L({"DejaVu Sans", "DejaVu Sans Mono"}) << QStringList();
    // The proportional Japanese faces follow the fixed-pitch ones instead of being dropped.
    QTest::newRow("fixed pitch first") << L({"IPAPGothic", "IPAGothic", "IPAPMincho", "IPAMincho"})
                                       << L({"IPAGothic", "IPAMincho", "IPAPGothic", "IPAPMincho"});
    QTest::newRow("proportional only")
        << L({"DejaVu Sans", "IPAPGothic", "IPAPMincho"}) << L({"IPAPGothic", "IPAPMincho"});
    QTest::newRow("vertical variant dropped") << L({"@IPAGothic", "IPAGothic"}) << L({"IPAGothic"});
}

void TestMainWindow::FontBoxFamiliesFilter() {
    QFETCH(QStringList, families);
    QFETCH(QStringList, listed);
    for (const QString& family : families) {
        if (!family.startsWith(QLatin1Char('@')) && !QFontDatabase::hasFamily(family)) {
            QSKIP(qPrintable(family + QStringLiteral(" is not installed here")));
        }
    }
    QCOMPARE(FontBoxFamilies(families), listed);
}

void TestMainWindow::FontBoxesListEveryJapaneseFamily() {
    Fixture f;
    TUlvanForm& w = *f.form;
    QStringList title;
    QStringList body;
    for (int i = 0; i < w.ComboBox3->count(); ++i) {
        title << w.ComboBox3->itemText(i);
    }
    for (int i = 0; i < w.ComboBox4->count(); ++i) {
        body << w.ComboBox4->itemText(i);
    }
    QCOMPARE(body, title);
    // Every installed face that writes Japanese is offered, and nothing else.
    QStringList japanese;
    for (const QString& family : QFontDatabase::families()) {
        if (!QFontDatabase::isPrivateFamily(family) && !family.startsWith(QLatin1Char('@')) &&
            QFontDatabase::writingSystems(family).contains(QFontDatabase::Japanese)) {
            japanese << family;
        }
    }
    QVERIFY(!japanese.isEmpty()); // the set-up installs the IPA faces
    std::sort(japanese.begin(), japanese.end());
    QStringList sorted = title;
    std::sort(sorted.begin(), sorted.end());
    QCOMPARE(sorted, japanese);
    // The IPA faces with half-width Latin letters of one width lead the list.
    QVERIFY(title.indexOf(QStringLiteral("IPAGothic")) <
            title.indexOf(QStringLiteral("IPAPGothic")));
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
