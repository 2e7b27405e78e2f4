// The memorial sheet's commands, on the main window (the values the sheets read are the
// controls' current texts; the print, blank-sheet and preview commands reach the print
// routine and the preview window) and on a fake host (what the commands read of a host and
// ask of it).
#include "FakeHost.h"
#include "ModalDriver.h"
#include "ScriptedInteraction.h"
#include "app/Application.h"
#include "app/UlvanMain.h"
#include "footer/FooterRenderer.h"
#include "sheet/MemorialSheet.h"
#include "sheet/PrevUnit.h"
#include "sheet/QtText.h"
#include "sheet/SheetCommands.h"
#include "tests/support/SampleCase.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPrinter>
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

    // On a fake host.
    void ReadsTheHostCase();
    void PreviewPaintsWhatTheHostHoldsAtEachPaint();
    void FooterLayoutKeptWhateverTheDrawingFound_data();
    void FooterLayoutKeptWhateverTheDrawingFound();
    void PreviewIsMadeOnFirstShowingAndKept();
    void PreviewSetUpRunsWhenTheWindowIsMade();
    void SheetOfAnImpossibleCaseAsksFirst_data();
    void SheetOfAnImpossibleCaseAsksFirst();

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
    QCOMPARE(ToQ(in.Deceased.Kaimyo), QStringLiteral("釋浄念"));
    QCOMPARE(ToQ(in.Deceased.GyoNen), QStringLiteral("82"));
    QCOMPARE(ToQ(in.Options.TitName), QStringLiteral("忌日表"));
    QCOMPARE(in.Options.WarekiInsatsu, false);
    QCOMPARE(ToQ(in.Schedule[2].Month), QStringLiteral("12"));
    QCOMPARE(in.Footer.FrameCount(), std::size_t{1});
    QCOMPARE(ToQ(in.Footer.Field(0, FooterField::Content)), QStringLiteral("寺"));
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

// --- on a fake host ---------------------------------------------------------------------------

namespace {

// A host case in which every part differs from a fresh one.
void FillHost(FakeHost& host) {
    const MemorialSheetInputs filled = test::FilledCase();
    host.DeceasedValue = filled.Deceased;
    host.OptionsValue = filled.Options;
    host.OptionsValue.KaimyoStyle = 1;
    host.ScheduleValue = filled.Schedule;
    host.ScheduleValue[3].Name = u"四七日";
    FooterFrame text;
    text.Kind = u"T";
    text.Content = u"寺";
    host.FooterValue.Append(text);
}

QString NameColumn(TPrevForm& preview) {
    RecordingCanvas canvas;
    preview.PreviewWidth = 1414;
    preview.PreviewHeight = 1000;
    preview.PaintPage(canvas);
    QString drawn;
    for (const CanvasCall& call : canvas.CallsOf(CanvasCall::Kind::Text)) {
        if (call.X1 == 1101) { // the name column, rnd(0.7785 * 1414)
            drawn += call.Text;
        }
    }
    return drawn;
}

} // namespace

void TestSheetCommands::ReadsTheHostCase() {
    FakeHost host;
    FillHost(host);
    const MemorialSheetInputs in = SheetCommands::ReadInputs(host);
    QVERIFY(in.Deceased == host.DeceasedValue);
    QVERIFY(in.Options == host.OptionsValue);
    QVERIFY(in.Schedule == host.ScheduleValue);
    QVERIFY(in.Footer == host.FooterValue);
}

void TestSheetCommands::PreviewPaintsWhatTheHostHoldsAtEachPaint() {
    ScriptedInteraction ui;
    FakeHost host;
    FillHost(host);
    SheetCommands commands(host, ui);
    for (const char16_t* name : {u"釋浄念", u"妙法"}) {
        host.DeceasedValue.Kaimyo = name;
        QCOMPARE(NameColumn(commands.Preview()), ToQ(name));
    }
    QVERIFY(ui.Log.isEmpty());
}

void TestSheetCommands::FooterLayoutKeptWhateverTheDrawingFound_data() {
    QTest::addColumn<QString>("picture");
    QTest::addColumn<bool>("marked");
    QTest::newRow("missing picture") << QStringLiteral("missing.bmp") << true;
    QTest::newRow("no picture frame") << QString() << false;
}

void TestSheetCommands::FooterLayoutKeptWhateverTheDrawingFound() {
    QFETCH(QString, picture);
    QFETCH(bool, marked);
    ScriptedInteraction ui;
    FakeHost host;
    FillHost(host);
    host.OptionsValue.TmplNamePrint = true;
    if (!picture.isEmpty()) {
        FooterFrame frame;
        frame.Left = u"0";
        frame.Top = u"0";
        frame.Right = u"2000";
        frame.Bottom = u"2000";
        frame.Kind = u"F";
        frame.Content = ToU16(m_dir.filePath(picture));
        host.FooterValue.Append(frame);
    }
    const FooterLayout before = host.FooterValue;
    const QString pdf = m_dir.filePath(QStringLiteral("host.pdf"));
    ui.AnswerPrintDialog(true, [pdf](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
    });
    SheetCommands commands(host, ui);
    commands.Print(false);
    QVERIFY(QFile::exists(pdf));
    // A missing picture is marked for the run only: the host's layout keeps the frame's own
    // kind, and nothing goes back to it.
    QCOMPARE(host.Footers.size(), std::size_t{0});
    QVERIFY(host.FooterValue == before);
    const std::size_t last = host.FooterValue.FrameCount() - 1;
    QCOMPARE(FooterKindForRun(host.FooterValue, last) == kFooterUnreadable, marked);
    ForgetUnreadablePictures();
    QVERIFY(host.Prints.empty()); // the commands print themselves, not through the host
}

void TestSheetCommands::SheetOfAnImpossibleCaseAsksFirst_data() {
    QTest::addColumn<QString>("command"); // print, pdf, preview
    QTest::addColumn<bool>("longName");
    QTest::addColumn<bool>("yes");
    for (const char* command : {"print", "pdf", "preview"}) {
        QTest::addRow("%s, No", command) << QString::fromLatin1(command) << false << false;
        QTest::addRow("%s, long name, Yes", command)
            << QString::fromLatin1(command) << true << true;
    }
}

// 2月31日 goes out only when the clerk says so; a name that will not print is said first.
void TestSheetCommands::SheetOfAnImpossibleCaseAsksFirst() {
    QFETCH(QString, command);
    QFETCH(bool, longName);
    QFETCH(bool, yes);
    ScriptedInteraction ui;
    FakeHost host;
    FillHost(host);
    host.DeceasedValue.KiGatsu = u"2";
    host.DeceasedValue.KiNichi = u"31";
    if (longName)
        host.DeceasedValue.Kaimyo = u"一二三四五六七八九十一二三四五六七";
    ui.AnswerConfirm(yes);
    if (yes && command == QStringLiteral("print"))
        ui.AnswerPrintDialog(false);
    if (yes && command == QStringLiteral("pdf"))
        ui.AnswerSaveFile(QString());
    SheetCommands commands(host, ui);
    if (yes && command == QStringLiteral("preview")) {
        WhenModal([](QWidget* preview) { preview->close(); });
    }
    if (command == QStringLiteral("print"))
        commands.Print(false);
    else if (command == QStringLiteral("pdf"))
        commands.SavePdf();
    else
        commands.ShowPreview(PreviewKind::Memorial);
    QCOMPARE(ui.Questions.size(), std::size_t{1});
    QCOMPARE(ui.Questions[0].Kind, Interaction::ConfirmKind::Warning);
    QCOMPARE(ui.Questions[0].Text,
             QStringLiteral("命日の日付が存在しません（2月31日）。このまま印刷しますか？"));
    QCOMPARE(ui.Messages.contains(ToQ(kNameNotPrintedMessage)), longName);
    QVERIFY(std::count(ui.Beeps.begin(), ui.Beeps.end(), BeepKind::Exclamation) >= 1);
    // No: nothing more happens. Yes: the command goes on to its dialog or window.
    QCOMPARE(commands.PreviewMade(), yes && command == QStringLiteral("preview"));
    QCOMPARE(ui.PendingAnswers(), std::size_t{0});
    // The blank form asks nothing.
    ui.ClearRecords();
    ui.AnswerPrintDialog(false);
    commands.Print(true);
    QVERIFY(ui.Questions.empty());
}

void TestSheetCommands::PreviewIsMadeOnFirstShowingAndKept() {
    ScriptedInteraction ui;
    QWidget window;
    FakeHost host;
    host.Window = &window;
    SheetCommands commands(host, ui);
    QVERIFY(!commands.PreviewMade());
    QVERIFY(window.findChildren<TPrevForm*>().isEmpty());

    int showings = 0;
    TPrevForm* first = nullptr;
    WhenModalOf<TPrevForm>([&](TPrevForm* form) {
        ++showings;
        first = form;
        form->ZoomIn();
        form->close();
    });
    commands.ShowPreview(PreviewKind::Memorial);
    QCOMPARE(showings, 1);
    QCOMPARE(first->parentWidget(), &window); // it stands over the host's window
    const std::int32_t zoomed = first->ZoomLevel;
    QVERIFY(zoomed != 0);

    TPrevForm* second = nullptr;
    std::int32_t zoomShown = -1;
    WhenModalOf<TPrevForm>([&](TPrevForm* form) {
        second = form;
        zoomShown = form->ZoomLevel;
        form->close();
    });
    commands.ShowPreview(PreviewKind::Memorial);
    QCOMPARE(second, first);
    QCOMPARE(zoomShown, zoomed);
    QCOMPARE(window.findChildren<TPrevForm*>().size(), 1);
}

void TestSheetCommands::PreviewSetUpRunsWhenTheWindowIsMade() {
    ScriptedInteraction ui;
    FakeHost host;
    SheetCommands commands(host, ui);
    std::vector<TPrevForm*> early;
    commands.WhenPreviewMade([&early](TPrevForm& form) { early.push_back(&form); });
    QVERIFY(early.empty());
    QVERIFY(!commands.PreviewMade());

    TPrevForm& preview = commands.Preview();
    QCOMPARE(early, std::vector<TPrevForm*>{&preview});
    commands.Preview();
    QCOMPARE(early.size(), std::size_t{1}); // once, not at every use

    std::vector<TPrevForm*> late;
    commands.WhenPreviewMade([&late](TPrevForm& form) { late.push_back(&form); });
    QCOMPARE(late, std::vector<TPrevForm*>{&preview});
}

QTEST_MAIN(TestSheetCommands)
#include "tst_sheetcommands.moc"
