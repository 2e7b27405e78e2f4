// The memorial sheet's commands on the main window: the values the sheets read are the
// controls' current texts, and the print, blank-sheet and preview commands reach the print
// routine and the preview window.
#include "ModalDriver.h"
#include "ScriptedInteraction.h"
#include "app/Application.h"
#include "app/UlvanMain.h"
#include "sheet/PrevUnit.h"
#include "sheet/SheetCommands.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

using namespace ulvan;

class TestSheetCommands : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void ReadsTheControlsAsTheyStand();
    void CommandsReachPrintAndPreview_data();
    void CommandsReachPrintAndPreview();
    void PreviewDrawsTheCurrentValues();

private:
    QString SettingsFile() const { return m_dir.filePath(QStringLiteral("settings.ini")); }
    QTemporaryDir m_dir;
};

void TestSheetCommands::initTestCase() {
    QVERIFY(m_dir.isValid());
}

void TestSheetCommands::ReadsTheControlsAsTheyStand() {
    ScriptedInteraction ui;
    TUlvanForm main(ui, SettingsFile());
    SheetCommands commands(main, ui);
    main.Edit1->setText(QStringLiteral("2024"));
    main.Edit3->setText(QStringLiteral("3"));
    main.Edit4->setText(QStringLiteral("15"));
    main.kaimyo->setText(QStringLiteral("釋浄念"));
    main.yomi->setText(QStringLiteral("しゃくじょうねん"));
    main.zokumyo->setText(QStringLiteral("山田太郎"));
    main.gyonen->setText(QStringLiteral("82"));
    main.ComboBox2->setEditText(QStringLiteral("忌日表"));
    main.MonthEdits[2]->setText(QStringLiteral("12")); // overwritten by hand
    main.CheckBox14->setChecked(false);
    main.SetEditStr(QStringLiteral("0\r\n0\r\n100\r\n100\r\n\r\n\r\n\r\n\r\nP\r\n寺\r\n"));

    const MemorialSheetInputs in = SheetCommands::ReadInputs(main);
    QCOMPARE(in.Deceased, main.Deceased());
    QCOMPARE(QString::fromStdU16String(in.Deceased.Kaimyo), QStringLiteral("釋浄念"));
    QCOMPARE(QString::fromStdU16String(in.Deceased.GyoNen), QStringLiteral("82"));
    QCOMPARE(QString::fromStdU16String(in.Options.TitName), QStringLiteral("忌日表"));
    QCOMPARE(in.Options.WarekiInsatsu, false);
    QCOMPARE(QString::fromStdU16String(in.Schedule[2].Month), QStringLiteral("12"));
    QCOMPARE(in.Footer.FrameCount(), std::size_t{1});
    QCOMPARE(QString::fromStdU16String(in.Footer.Field(0, FooterField::Content)),
             QStringLiteral("寺"));
}

void TestSheetCommands::CommandsReachPrintAndPreview_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("preview");
    QTest::newRow("Print1") << QStringLiteral("Print1") << false;
    QTest::newRow("Print2") << QStringLiteral("Print2") << false;
    QTest::newRow("PrintPreview1") << QStringLiteral("PrintPreview1") << true;
}

void TestSheetCommands::CommandsReachPrintAndPreview() {
    QFETCH(QString, action);
    QFETCH(bool, preview);
    ScriptedInteraction ui;
    TUlvanForm main(ui, SettingsFile());
    SheetCommands commands(main, ui);
    ConnectSheetCommands(main, commands);
    main.ComboBox2->setEditText(QString());
    auto* item = main.findChild<QAction*>(action);
    QVERIFY(item != nullptr);
    if (preview) {
        int kind = -1;
        WhenModalOf<TPrevForm>([&kind](TPrevForm* form) {
            kind = form->PreviewKind;
            form->close();
        });
        item->trigger();
        QCOMPARE(kind, 0);
        QVERIFY(ui.Log.isEmpty()); // the preview asks nothing
    } else {
        ui.AnswerPrintDialog(false);
        item->trigger();
        // The title is empty, so its message comes before the dialog.
        QVERIFY(ui.Log.size() >= 2);
        QCOMPARE(ui.Log.last(), QStringLiteral("print"));
        QVERIFY(ui.Log.contains(QStringLiteral("message: ") + kTitleMissingMessage));
    }
    QCOMPARE(ui.PendingAnswers(), std::size_t{0});
}

void TestSheetCommands::PreviewDrawsTheCurrentValues() {
    ScriptedInteraction ui;
    TUlvanForm main(ui, SettingsFile());
    SheetCommands commands(main, ui);
    for (const QString& name : {QStringLiteral("釋浄念"), QStringLiteral("妙法")}) {
        main.kaimyo->setText(name);
        RecordingCanvas canvas;
        commands.Preview().PreviewWidth = 1414;
        commands.Preview().PreviewHeight = 1000;
        commands.Preview().PaintPage(canvas);
        QString drawn;
        for (const CanvasCall& call : canvas.CallsOf(CanvasCall::Kind::Text)) {
            if (call.X1 == 1101) { // the name column, rnd(0.7785 * 1414)
                drawn += call.Text;
            }
        }
        QCOMPARE(drawn, name);
    }
}

QTEST_MAIN(TestSheetCommands)
#include "tst_sheetcommands.moc"
