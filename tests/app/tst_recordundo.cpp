// The record file from the main window: a case appended and imported again, also after a
// restart, and "元に戻す" bringing back what an import replaced.
#include "ModalDriver.h"
#include "ScriptedInteraction.h"
#include "Typing.h"
#include "app/UlvanMain.h"
#include "case/StoredCase.h"
#include "records/AddUnit.h"
#include "records/TakeUnit.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace ulvan;

namespace {

// Every text an import may replace or the schedule shows, in one list.
QStringList CaseTexts(const TUlvanForm& form) {
    QStringList texts;
    for (const QLineEdit* edit : {form.Edit1, form.Edit2, form.Edit3, form.Edit4, form.kaimyo,
                                  form.yomi, form.zokumyo, form.gyonen})
        texts.append(edit->text());
    texts.append(form.ComboBox1->currentText());
    texts.append(QString::number(form.ComboBox1->currentIndex()));
    for (std::size_t r = 0; r < 9; ++r) {
        texts.append(form.MonthEdits[r]->text());
        texts.append(form.DayEdits[r]->text());
        texts.append(form.WeekLabels[r]->text());
    }
    texts.append(form.Label6->text());
    return texts;
}

QAction* UndoAction(TUlvanForm& form) {
    return form.findChild<QAction*>(QStringLiteral("Undo1"));
}

struct Fixture {
    QTemporaryDir dir;
    ScriptedInteraction ui;
    std::unique_ptr<TUlvanForm> form;

    Fixture() { Start(); }

    // A fresh main window on the same settings, as after a restart.
    void Start() {
        form.reset();
        form = std::make_unique<TUlvanForm>(ui, dir.filePath(QStringLiteral("Dorim.conf")));
        form->SetTodayProvider([] { return QDate(2026, 4, 1); });
    }
    QString RecordPath() const { return dir.filePath(QStringLiteral("records.txt")); }

    void TypeCase() {
        for (const auto& [edit, text] : std::initializer_list<std::pair<QLineEdit*, QString>>{
                 {form->Edit1, QStringLiteral("2019")},
                 {form->Edit3, QStringLiteral("5")},
                 {form->Edit4, QStringLiteral("3")},
                 {form->kaimyo, QStringLiteral("釋浄心")},
                 {form->yomi, QString()},
                 {form->zokumyo, QStringLiteral("山田, 太郎")},
                 {form->gyonen, QStringLiteral("88")}}) {
            edit->setFocus();
            edit->selectAll();
            if (text.isEmpty())
                edit->clear();
            else
                TypeText(edit, text);
            QTest::keyClick(edit, Qt::Key_Tab);
        }
    }

    void Import() {
        TTakeForm take(*form, ui, form.get());
        WhenModalOf<TTakeForm>([](TTakeForm* shown) { shown->accept(); });
        QVERIFY(take.Run());
    }
};

} // namespace

class TestRecordUndo : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void appendedCaseImportsUnchangedAfterRestart_data() {
        QTest::addColumn<QByteArray>("start"); // the file before the append; empty: none
        QTest::newRow("UTF-8 register") << QByteArray("\xEF\xBB\xBF");
    }
    void appendedCaseImportsUnchangedAfterRestart() {
        QFETCH(QByteArray, start);
        Fixture f;
        if (!start.isEmpty()) {
            QFile file(f.RecordPath());
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(start);
        }
        f.TypeCase();
        const DeceasedData typed = f.form->Deceased();
        QCOMPARE(ToQ(typed.KiWanen), QStringLiteral(" 1")); // the era year of 2019 5 3
        {
            TAddForm add(*f.form, f.ui, f.form.get());
            WhenModalOf<TAddForm>([&f](TAddForm* shown) {
                shown->Edit1->setText(f.RecordPath());
                shown->accept();
            });
            add.Run();
        }
        QCOMPARE(f.form->statusBar()->currentMessage(),
                 QStringLiteral("追記しました: ") + f.RecordPath());
        QVERIFY(f.form->SaveSettings());
        f.Start();
        f.form->ClearDeceasedData();
        f.Import();
        QVERIFY(f.form->Deceased() == typed);
    }

    void undoBringsBackWhatTheImportReplaced() {
        Fixture f;
        QFile file(f.RecordPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("Imported/yomi,Z,1990,,,12,31,70\r\n");
        file.close();
        WriteDataFileName(f.form->SettingsFile(), ToU16(f.RecordPath()));
        f.TypeCase();
        f.form->MonthEdits[2]->setText(QStringLiteral("9")); // a hand edit
        const QStringList before = CaseTexts(*f.form);
        QVERIFY(!UndoAction(*f.form)->isEnabled());

        f.Import();
        QCOMPARE(f.form->kaimyo->text(), QStringLiteral("Imported"));
        QVERIFY(CaseTexts(*f.form) != before);
        QVERIFY(UndoAction(*f.form)->isEnabled());

        f.form->show();
        QVERIFY(QTest::qWaitForWindowActive(f.form.get()));
        f.form->CheckBox10->setFocus();
        QTest::keyClick(f.form->CheckBox10, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(CaseTexts(*f.form), before);
        QVERIFY(!UndoAction(*f.form)->isEnabled());
        QVERIFY(f.ui.Messages.isEmpty());
    }

    void ctrlZInATextFieldIsTheFieldsOwn() {
        Fixture f;
        QFile file(f.RecordPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("Imported/yomi,Z,1990,,,12,31,70\r\n");
        file.close();
        WriteDataFileName(f.form->SettingsFile(), ToU16(f.RecordPath()));
        f.Import();
        f.form->show();
        QVERIFY(QTest::qWaitForWindowActive(f.form.get()));
        f.form->zokumyo->setFocus();
        f.form->zokumyo->end(false);
        TypeText(f.form->zokumyo, QStringLiteral("X"));
        QTest::keyClick(f.form->zokumyo, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(f.form->zokumyo->text(), QStringLiteral("Z"));
        QCOMPARE(f.form->kaimyo->text(), QStringLiteral("Imported")); // the import stays
        QVERIFY(UndoAction(*f.form)->isEnabled());
    }

    void undoFirstInTheEditMenu() {
        Fixture f;
        QAction* undo = UndoAction(*f.form);
        QVERIFY(undo != nullptr);
        QCOMPARE(undo->text(), QStringLiteral("元に戻す(&U)"));
        QCOMPARE(undo->shortcut(), QKeySequence(QKeySequence::Undo));
        QVERIFY(!undo->statusTip().isEmpty());
        const auto* menu = f.form->findChild<QMenu*>(QStringLiteral("Edit1Menu"));
        QVERIFY(menu != nullptr);
        QCOMPARE(menu->actions().value(0), undo);
    }
};

QTEST_MAIN(TestRecordUndo)
#include "tst_recordundo.moc"
