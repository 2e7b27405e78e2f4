// The scripted interaction that every window test answers its questions through, and the
// real one's construction.
#include "ModalDriver.h"
#include "ScriptedInteraction.h"
#include "app/QtInteraction.h"

#include <QDialog>
#include <QPrinter>
#include <QTest>

using namespace ulvan;

class TestInteraction : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void RecordsInOrder();
    void AnswersFromScript_data();
    void AnswersFromScript();
    void PrintDialogConfiguresPrinter();
    void UnscriptedCallFails();
    void ModalDriverReachesDialog();
    void RealInteractionConstructs();
};

void TestInteraction::RecordsInOrder() {
    ScriptedInteraction ui;
    ui.Beep(BeepKind::Exclamation);
    ui.AnswerConfirm(true);
    QVERIFY(ui.Confirm(QStringLiteral("警告"), QStringLiteral("続けますか？")));
    ui.ShowMessage(u"終わりました");
    ui.Beep(BeepKind::Default);
    const QStringList expected{
        QStringLiteral("beep: exclamation"), QStringLiteral("confirm: 警告 | 続けますか？"),
        QStringLiteral("message: 終わりました"), QStringLiteral("beep: default")};
    QCOMPARE(ui.Log, expected);
    QCOMPARE(ui.Messages, QStringList{QStringLiteral("終わりました")});
    QCOMPARE(ui.Questions.size(), std::size_t{1});
    QCOMPARE(ui.Questions[0].Caption, QStringLiteral("警告"));
    QCOMPARE(ui.Beeps.size(), std::size_t{2});
    QCOMPARE(ui.PendingAnswers(), std::size_t{0});
}

void TestInteraction::AnswersFromScript_data() {
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QString>("openPath");
    QTest::addColumn<QString>("savePath");
    QTest::newRow("yes, paths") << true << QStringLiteral("/tmp/a.csv")
                                << QStringLiteral("/tmp/b.txt");
    QTest::newRow("no, cancelled") << false << QString() << QString();
}

void TestInteraction::AnswersFromScript() {
    QFETCH(bool, yes);
    QFETCH(QString, openPath);
    QFETCH(QString, savePath);
    ScriptedInteraction ui;
    ui.AnswerOpenFile(openPath);
    ui.AnswerConfirm(yes);
    ui.AnswerSaveFile(savePath);
    QCOMPARE(ui.OpenFileName(nullptr, QStringLiteral("開く"), QStringLiteral("/tmp"),
                             QStringLiteral("*.csv")),
             openPath);
    QCOMPARE(ui.Confirm(QStringLiteral("確認"), QStringLiteral("?")), yes);
    QCOMPARE(ui.SaveFileName(nullptr, QStringLiteral("保存"), QString(), QString()), savePath);
    QCOMPARE(ui.Dialogs.size(), std::size_t{2});
    QVERIFY(ui.Dialogs[0].Kind == ScriptedInteraction::DialogKind::Open);
    QCOMPARE(ui.Dialogs[0].Filter, QStringLiteral("*.csv"));
    QCOMPARE(ui.UnscriptedCalls(), 0);
}

void TestInteraction::PrintDialogConfiguresPrinter() {
    ScriptedInteraction ui;
    ui.AnswerPrintDialog(false, [](QPrinter& p) { p.setDocName(QStringLiteral("wrong")); });
    ui.AnswerPrintDialog(true, [](QPrinter& p) { p.setDocName(QStringLiteral("set")); });
    QPrinter printer;
    printer.setDocName(QStringLiteral("before"));
    QVERIFY(!ui.PrintDialog(nullptr, printer));
    QCOMPARE(printer.docName(), QStringLiteral("before")); // a cancelled dialog changes nothing
    QVERIFY(ui.PrintDialog(nullptr, printer));
    QCOMPARE(printer.docName(), QStringLiteral("set"));
}

void TestInteraction::UnscriptedCallFails() {
    ScriptedInteraction ui;
    ui.AnswerSaveFile(QStringLiteral("/tmp/x.txt"));
    // A question where the script holds a save dialog: the test fails, the code under test
    // gets No, and the save answer stays for the call it was meant for.
    QEXPECT_FAIL("", "the script expected a save-file dialog", Continue);
    QVERIFY(!ui.Confirm(QStringLiteral("警告"), QStringLiteral("?")));
    QCOMPARE(ui.UnscriptedCalls(), 1);
    QCOMPARE(ui.PendingAnswers(), std::size_t{1});
    QCOMPARE(ui.SaveFileName(nullptr, QString(), QString(), QString()),
             QStringLiteral("/tmp/x.txt"));
    QCOMPARE(ui.Questions.size(), std::size_t{1}); // still recorded
}

void TestInteraction::ModalDriverReachesDialog() {
    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("driven"));
    QString seen;
    WhenModalOf<QDialog>([&seen](QDialog* d) {
        seen = d->windowTitle();
        d->accept();
    });
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    QCOMPARE(seen, QStringLiteral("driven"));
}

void TestInteraction::RealInteractionConstructs() {
    QtInteraction ui;
    Interaction& base = ui;
    QVERIFY(dynamic_cast<MessageSink*>(&base) != nullptr);
}

QTEST_MAIN(TestInteraction)
#include "tst_interaction.moc"
