// The scripted interaction that every window test answers its questions through, and the
// real one's construction.
#include "ModalDriver.h"
#include "ScriptedInteraction.h"
#include "ui/QtInteraction.h"

#include <QAbstractButton>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrinter>
#include <QTemporaryDir>
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
    void RealConfirmBox_data();
    void RealConfirmBox();
    void RealMessageBox();
    void RealYesNoCancelBox_data();
    void RealYesNoCancelBox();
    void RealPdfSaveDialog_data();
    void RealPdfSaveDialog();
};

void TestInteraction::RecordsInOrder() {
    ScriptedInteraction ui;
    ui.Beep(BeepKind::Exclamation);
    ui.AnswerConfirm(true);
    QVERIFY(ui.Confirm(Interaction::ConfirmKind::Warning, QStringLiteral("警告"),
                       QStringLiteral("続けますか？")));
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
    QCOMPARE(
        ui.Confirm(Interaction::ConfirmKind::Question, QStringLiteral("確認"), QStringLiteral("?")),
        yes);
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
    QVERIFY(!ui.Confirm(Interaction::ConfirmKind::Warning, QStringLiteral("警告"),
                        QStringLiteral("?")));
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

void TestInteraction::RealConfirmBox_data() {
    QTest::addColumn<QString>("press");
    QTest::addColumn<bool>("expected");
    QTest::newRow("yes") << QStringLiteral("はい(&Y)") << true;
    QTest::newRow("no") << QStringLiteral("いいえ(&N)") << false;
}

void TestInteraction::RealConfirmBox() {
    QFETCH(QString, press);
    QFETCH(bool, expected);
    QtInteraction ui;
    QStringList buttons;
    QString caption;
    QString text;
    WhenModalOf<QMessageBox>([&](QMessageBox* box) {
        caption = box->windowTitle();
        text = box->text();
        for (QAbstractButton* button : box->buttons()) {
            buttons << button->text();
        }
        for (QAbstractButton* button : box->buttons()) {
            if (button->text() == press) {
                button->click();
            }
        }
    });
    QCOMPARE(ui.Confirm(Interaction::ConfirmKind::Warning, QStringLiteral("警告"),
                        QStringLiteral("<b>印刷</b>しますか？")),
             expected);
    QCOMPARE(caption, QStringLiteral("警告"));
    QCOMPARE(text, QStringLiteral("<b>印刷</b>しますか？"));
    buttons.sort();
    QStringList wanted{QStringLiteral("はい(&Y)"), QStringLiteral("いいえ(&N)")};
    wanted.sort();
    QCOMPARE(buttons, wanted);
}

void TestInteraction::RealMessageBox() {
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Ulvan表3.0"));
    QtInteraction ui;
    QString caption;
    int buttonCount = 0;
    WhenModalOf<QMessageBox>([&](QMessageBox* box) {
        caption = box->windowTitle();
        buttonCount = static_cast<int>(box->buttons().size());
        box->accept();
    });
    ui.ShowMessage(u"忌日が入力されていませんので");
    QCOMPARE(caption, QStringLiteral("Ulvan表3.0"));
    QCOMPARE(buttonCount, 1);
}

void TestInteraction::RealYesNoCancelBox_data() {
    QTest::addColumn<QString>("press"); // empty: the Escape key
    QTest::addColumn<int>("expected");
    QTest::newRow("yes") << QStringLiteral("はい(&Y)") << int(Interaction::Choice::Yes);
    QTest::newRow("no") << QStringLiteral("いいえ(&N)") << int(Interaction::Choice::No);
    QTest::newRow("cancel") << QStringLiteral("キャンセル") << int(Interaction::Choice::Cancel);
    QTest::newRow("escape") << QString() << int(Interaction::Choice::Cancel);
}

void TestInteraction::RealYesNoCancelBox() {
    QFETCH(QString, press);
    QFETCH(int, expected);
    QtInteraction ui;
    QStringList buttons;
    QString text;
    WhenModalOf<QMessageBox>([&](QMessageBox* box) {
        text = box->text();
        for (QAbstractButton* button : box->buttons()) {
            buttons << button->text();
        }
        if (press.isEmpty()) {
            QTest::keyClick(box, Qt::Key_Escape);
            return;
        }
        for (QAbstractButton* button : box->buttons()) {
            if (button->text() == press) {
                button->click();
            }
        }
    });
    const QString question =
        QStringLiteral("ﾌｧｲﾙ<b>表</b>の内容が変更されています。\n変更を保存しますか？");
    QCOMPARE(int(ui.AskYesNoCancel(QStringLiteral("警告"), question)), expected);
    QCOMPARE(text, question); // plain text, shown as written
    buttons.sort();
    QStringList wanted{QStringLiteral("はい(&Y)"), QStringLiteral("いいえ(&N)"),
                       QStringLiteral("キャンセル")};
    wanted.sort();
    QCOMPARE(buttons, wanted);
}

QTEST_MAIN(TestInteraction)
#include "tst_interaction.moc"

void TestInteraction::RealPdfSaveDialog_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("existing"); // a file already in the folder; empty: none
    QTest::addColumn<int>("filter");       // the file type picked: A4, B5, A3
    QTest::addColumn<int>("answer");       // to "replace?": -1 not asked, 0 no, 1 yes
    QTest::addColumn<QString>("expected"); // the file to write; empty: nothing
    QTest::addColumn<int>("paper");
    const QString a4 = QStringLiteral("yamada.pdf");
    const int kA4 = QPageSize::A4;
    QTest::newRow("name without ending")
        << QStringLiteral("yamada") << QString() << 0 << -1 << a4 << kA4;
    QTest::newRow("B5 picked") << a4 << QString() << 1 << -1 << a4 << int(QPageSize::JisB5);
    QTest::newRow("A3 picked") << a4 << QString() << 2 << -1 << a4 << int(QPageSize::A3);
    QTest::newRow("earlier PDF kept")
        << QStringLiteral("yamada") << a4 << 0 << 0 << QString() << kA4;
    QTest::newRow("earlier PDF replaced") << QStringLiteral("yamada") << a4 << 0 << 1 << a4 << kA4;
    QTest::newRow("other ending, earlier PDF kept")
        << QStringLiteral("yamada.txt") << QStringLiteral("yamada.txt.pdf") << 0 << 0 << QString()
        << kA4;
    QTest::newRow("other ending, new PDF") << QStringLiteral("yamada.txt") << QString() << 0 << -1
                                           << QStringLiteral("yamada.txt.pdf") << kA4;
}

// The save dialog of a sheet's PDF: the paper from the file type, the ".pdf" ending added,
// and replacing an earlier PDF asked however the name was typed.
void TestInteraction::RealPdfSaveDialog() {
    QFETCH(QString, typed);
    QFETCH(QString, existing);
    QFETCH(int, filter);
    QFETCH(int, answer);
    QFETCH(QString, expected);
    QFETCH(int, paper);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    if (!existing.isEmpty()) {
        QFile file(dir.filePath(existing));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    bool asked = false;
    const auto answerQuestion = [&](QMessageBox* box) {
        asked = true;
        box->button(answer == 1 ? QMessageBox::Yes : QMessageBox::No)->click();
    };
    WhenModalOf<QFileDialog>([&](QFileDialog* dialog) {
        dialog->selectNameFilter(dialog->nameFilters().at(filter));
        if (answer >= 0)
            WhenModalOf<QMessageBox>(answerQuestion);
        // selectFile leaves the name field alone once it has the focus, which on a loaded
        // machine it may already have: the name is typed into the field, as the user types it.
        dialog->selectFile(typed);
        if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
            name->setText(typed);
        QMetaObject::invokeMethod(dialog, "accept");
        if (dialog->isVisible())
            dialog->reject();
    });
    QtInteraction ui;
    QPageSize::PageSizeId chosen = QPageSize::A4;
    const QString file = ui.SavePdfFileName(nullptr, QStringLiteral("PDFに保存"),
                                            dir.filePath(QStringLiteral("x.pdf")), chosen);
    QTRY_COMPARE(asked, answer >= 0);
    QCOMPARE(file, expected.isEmpty() ? QString() : dir.filePath(expected));
    if (!expected.isEmpty())
        QCOMPARE(int(chosen), paper);
}
