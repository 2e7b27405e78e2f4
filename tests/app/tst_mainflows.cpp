// The main window's dialogs, opened from its buttons and answered as a user would: the
// detail settings, the age calculator and the posthumous-name editor fill from the main
// window and copy back only on OK.
#include "ModalDriver.h"
#include "ScriptedInteraction.h"
#include "Typing.h"
#include "app/AgeCalUnit.h"
#include "app/KaiUnit.h"
#include "app/ShosaiUnit.h"
#include "app/UlvanMain.h"
#include "calendar/Schedule.h"
#include "ui/DialogSupport.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace ulvan;

namespace {

struct Fixture {
    QTemporaryDir dir;
    ScriptedInteraction ui;
    std::unique_ptr<TUlvanForm> form;

    Fixture() {
        form = std::make_unique<TUlvanForm>(ui, dir.filePath(QStringLiteral("Dorim.conf")));
        form->SetTodayProvider([] { return QDate(2026, 4, 1); });
        form->Edit1->setText(QStringLiteral("2019"));
        form->Edit3->setText(QStringLiteral("5"));
        form->Edit4->setText(QStringLiteral("1"));
    }
};

void SetField(QLineEdit* edit, const QString& text) {
    edit->selectAll();
    TypeText(edit, text);
}

} // namespace

class TestMainFlows : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void DetailCancelChangesNothing();
    void DetailOkApplies();
    void DetailRestoreOffsetsThenOk();
    void AgeFromYearOfDeath_data();
    void AgeFromYearOfDeath();
    void AgeCancelKeepsAge();
    void KaimyoEditor_data();
    void KaimyoEditor();
    void DialogMadeOnFirstUseAndKept_data();
    void DialogMadeOnFirstUseAndKept();
};

void TestMainFlows::DetailCancelChangesNothing() {
    Fixture f;
    const MemorialSchedule before = f.form->Schedule();
    const SheetOptions options = f.form->Options();
    WhenModalOf<TShosaiForm>([](TShosaiForm* dialog) {
        for (QLineEdit* name : dialog->NameEdits) {
            SetField(name, QStringLiteral("x"));
        }
        for (QLineEdit* offset : dialog->OffsetEdits) {
            SetField(offset, QStringLiteral("1"));
        }
        for (QCheckBox* eve : dialog->EveBoxes) {
            eve->click();
        }
        dialog->CheckBox10->click();
        QTest::mouseClick(dialog->Button5, Qt::LeftButton);
    });
    QTest::mouseClick(f.form->Button5, Qt::LeftButton);
    const MemorialSchedule after = f.form->Schedule();
    for (std::size_t r = 0; r < 9; ++r) {
        QCOMPARE(after[r].Name, before[r].Name);
        QCOMPARE(after[r].Offset, before[r].Offset);
        QCOMPARE(after[r].Eve, before[r].Eve);
        QCOMPARE(after[r].Month, before[r].Month);
        QCOMPARE(after[r].Day, before[r].Day);
    }
    QCOMPARE(f.form->Options(), options);
}

void TestMainFlows::DetailOkApplies() {
    Fixture f;
    WhenModalOf<TShosaiForm>([](TShosaiForm* dialog) {
        // The dialog opens with the main window's rows.
        QCOMPARE(dialog->NameEdits[8]->text(), QStringLiteral("百箇日忌"));
        QCOMPARE(dialog->OffsetEdits[7]->text(), QStringLiteral("99"));
        QVERIFY(!dialog->EveBoxes[4]->isChecked());
        SetField(dialog->NameEdits[8], QStringLiteral("百ヶ日"));
        SetField(dialog->OffsetEdits[0], QStringLiteral("7"));
        SetField(dialog->OffsetEdits[7], QStringLiteral("98"));
        dialog->EveBoxes[8]->click(); // row 9 off: 98 days without eve
        dialog->CheckBox10->click();  // the first monthly row is not printed
        QTest::mouseClick(dialog->Button4, Qt::LeftButton);
    });
    const QString hundredthMonth = f.form->MonthEdits[8]->text();
    const QString hundredthDay = f.form->DayEdits[8]->text();
    QTest::mouseClick(f.form->Button5, Qt::LeftButton);
    QCOMPARE(f.form->NameLabels[8]->text(), QStringLiteral("百ヶ日"));
    QCOMPARE(f.form->Offsets()[0], 7);
    QCOMPARE(f.form->Offsets()[7], 98);
    QVERIFY(!f.form->EveBoxes[8]->isChecked());
    QVERIFY(!f.form->CheckBox11->isChecked());
    QVERIFY(f.form->CheckBox12->isChecked());
    // 98 days without eve is the day 99 with eve gave.
    QCOMPARE(f.form->MonthEdits[8]->text(), hundredthMonth);
    QCOMPARE(f.form->DayEdits[8]->text(), hundredthDay);
    MemorialSchedule expected = f.form->Schedule();
    ComputeSchedule(u"2019", u"5", u"1", expected);
    for (std::size_t r = 0; r < 9; ++r) {
        QCOMPARE(ToQ(expected[r].Day), f.form->DayEdits[r]->text());
    }
    QCOMPARE(f.form->DayEdits[0]->text(), QStringLiteral("7")); // seven days on, eve before
}

void TestMainFlows::DetailRestoreOffsetsThenOk() {
    Fixture f;
    f.form->SetOffsets({1, 2, 3, 4, 5, 6, 7, 8});
    f.form->ComputeSchedule();
    WhenModalOf<TShosaiForm>([](TShosaiForm* dialog) {
        QTest::mouseClick(dialog->Button2, Qt::LeftButton);
        QTest::mouseClick(dialog->Button4, Qt::LeftButton);
    });
    f.form->EditDetailSettings();
    QCOMPARE(f.form->Offsets(), (std::array<std::int32_t, 8>{6, 13, 20, 27, 34, 41, 48, 99}));
    MemorialSchedule expected = f.form->Schedule();
    ComputeSchedule(u"2019", u"5", u"1", expected);
    for (std::size_t r = 0; r < 9; ++r) {
        QCOMPARE(f.form->DayEdits[r]->text(), ToQ(expected[r].Day));
        QCOMPARE(f.form->MonthEdits[r]->text(), ToQ(expected[r].Month));
    }
}

void TestMainFlows::AgeFromYearOfDeath_data() {
    QTest::addColumn<QString>("yearOfDeath");
    QTest::addColumn<int>("keisanNen");
    QTest::addColumn<QString>("age");
    QTest::addColumn<bool>("told");
    QTest::newRow("year given") << QStringLiteral("2020") << 2020 << QStringLiteral("71") << false;
    QTest::newRow("no year: this year") << QString() << 2026 << QStringLiteral("77") << true;
}

void TestMainFlows::AgeFromYearOfDeath() {
    QFETCH(QString, yearOfDeath);
    QFETCH(int, keisanNen);
    QFETCH(QString, age);
    QFETCH(bool, told);
    Fixture f;
    f.form->Edit1->setText(yearOfDeath);
    WhenModalOf<TAgeCalForm>([](TAgeCalForm* dialog) {
        SetField(dialog->Edit2, QStringLiteral("1950"));
        QTest::mouseClick(dialog->RadioButton1, Qt::LeftButton);
        QTest::mouseClick(dialog->Button1, Qt::LeftButton);
    });
    QTest::mouseClick(f.form->Button2, Qt::LeftButton);
    QCOMPARE(f.form->KeisanNen, keisanNen);
    QCOMPARE(f.form->gyonen->text(), age); // counting age: year of death - birth + 1
    QCOMPARE(f.ui.Messages.size(), told ? 1 : 0);
    if (told) {
        QCOMPARE(f.ui.Messages[0],
                 QStringLiteral("忌日が入力されていませんので\n今年の年齢として計算します。"));
    }
}

void TestMainFlows::AgeCancelKeepsAge() {
    Fixture f;
    f.form->gyonen->setText(QStringLiteral("88"));
    WhenModalOf<TAgeCalForm>([](TAgeCalForm* dialog) {
        SetField(dialog->Edit2, QStringLiteral("1950"));
        QTest::mouseClick(dialog->RadioButton1, Qt::LeftButton);
        QTest::mouseClick(dialog->Button2, Qt::LeftButton);
    });
    QTest::mouseClick(f.form->Button2, Qt::LeftButton);
    QCOMPARE(f.form->gyonen->text(), QStringLiteral("88"));
}

void TestMainFlows::KaimyoEditor_data() {
    QTest::addColumn<bool>("ok");
    QTest::newRow("ok") << true;
    QTest::newRow("cancel") << false;
}

void TestMainFlows::KaimyoEditor() {
    QFETCH(bool, ok);
    Fixture f;
    f.form->kaimyo->setText(QStringLiteral("釋"));
    WhenModalOf<TKaiForm>([ok](TKaiForm* dialog) {
        QCOMPARE(dialog->Kaimyo->text(), QStringLiteral("釋"));
        dialog->Kaimyo->end(false);
        TypeText(dialog->Kaimyo, QStringLiteral("浄信"));
        QTest::mouseClick(ok ? dialog->OkBttn : dialog->CanBttn, Qt::LeftButton);
    });
    QTest::mouseClick(f.form->Button4, Qt::LeftButton);
    QCOMPARE(f.form->kaimyo->text(), ok ? QStringLiteral("釋浄信") : QStringLiteral("釋"));
}

void TestMainFlows::DialogMadeOnFirstUseAndKept_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QByteArray>("dialog");
    QTest::newRow("Button5") << QStringLiteral("Button5") << QByteArray("ulvan::TShosaiForm");
    QTest::newRow("Button2") << QStringLiteral("Button2") << QByteArray("ulvan::TAgeCalForm");
    QTest::newRow("Button4") << QStringLiteral("Button4") << QByteArray("ulvan::TKaiForm");
}

void TestMainFlows::DialogMadeOnFirstUseAndKept() {
    QFETCH(QString, button);
    QFETCH(QByteArray, dialog);
    Fixture f;
    const auto made = [&f, &dialog] {
        int count = 0;
        for (const QWidget* child : f.form->findChildren<QWidget*>()) {
            count += child->isWindow() && child->metaObject()->className() == dialog ? 1 : 0;
        }
        return count;
    };
    QCOMPARE(made(), 0); // nothing made before the user asks
    QList<QWidget*> shown;
    for (int showing = 0; showing < 2; ++showing) {
        WhenModal([&shown](QWidget* window) {
            shown.append(window);
            window->close();
        });
        QTest::mouseClick(f.form->findChild<QPushButton*>(button), Qt::LeftButton);
    }
    QCOMPARE(shown.size(), 2);
    QCOMPARE(QByteArray(shown[0]->metaObject()->className()), dialog);
    QCOMPARE(shown[1], shown[0]); // the same window, keeping its controls
    QCOMPARE(made(), 1);
}

QTEST_MAIN(TestMainFlows)
#include "tst_mainflows.moc"
