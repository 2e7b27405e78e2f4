// The main window's small dialogs: detail settings, age calculator, posthumous-name editor.
#include "ModalDriver.h"
#include "ScriptedInteraction.h"
#include "Typing.h"
#include "app/AgeCalUnit.h"
#include "app/KaiUnit.h"
#include "app/ShosaiUnit.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

using namespace ulvan;

namespace {

// The standard rows as the dialog's "標準に戻す" buttons must restore them, written out here
// so that a wrong default table would be caught.
const std::array<QString, 9> kStandardNames = {
    QStringLiteral("初七日忌"), QStringLiteral("二七日忌"), QStringLiteral("三七日忌"),
    QStringLiteral("四七日忌"), QStringLiteral("初月忌"),   QStringLiteral("五七日忌"),
    QStringLiteral("六七日忌"), QStringLiteral("満Ulvan"),  QStringLiteral("百箇日忌")};
const std::array<QString, 8> kStandardOffsets = {
    QStringLiteral("6"),  QStringLiteral("13"), QStringLiteral("20"), QStringLiteral("27"),
    QStringLiteral("34"), QStringLiteral("41"), QStringLiteral("48"), QStringLiteral("99")};

// A setting far from the standard one in every field.
DetailSettings Unusual() {
    DetailSettings values;
    for (std::size_t row = 0; row < values.Schedule.size(); ++row) {
        values.Schedule[row].Name = u"名" + std::u16string(row + 1, u'〇');
        values.Schedule[row].Offset = static_cast<std::int32_t>(row) * 3 - 5;
        values.Schedule[row].Eve = row % 2 == 0;
        values.Schedule[row].Month = u"12";
    }
    values.HatsuGatsuPrint = false;
    values.HyakkaNichiPrint = false;
    return values;
}

bool SameSettings(const DetailSettings& a, const DetailSettings& b) {
    for (std::size_t row = 0; row < a.Schedule.size(); ++row) {
        if (a.Schedule[row].Name != b.Schedule[row].Name ||
            a.Schedule[row].Offset != b.Schedule[row].Offset ||
            a.Schedule[row].Eve != b.Schedule[row].Eve ||
            a.Schedule[row].Month != b.Schedule[row].Month) {
            return false;
        }
    }
    return a.HatsuGatsuPrint == b.HatsuGatsuPrint && a.HyakkaNichiPrint == b.HyakkaNichiPrint;
}

void EditEveryField(TShosaiForm* form) {
    for (QLineEdit* edit : form->NameEdits) {
        edit->setText(QStringLiteral("変更"));
    }
    for (QLineEdit* edit : form->OffsetEdits) {
        edit->setText(QStringLiteral("1"));
    }
    for (QCheckBox* box : form->EveBoxes) {
        box->toggle();
    }
    form->CheckBox10->toggle();
    form->CheckBox11->toggle();
}

} // namespace

class TestDialogs : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Detail settings
    void ShosaiControlsAndTexts();
    void ShosaiRoundTrip();
    void ShosaiCancelChangesNothing();
    void ShosaiOkReturnsEdits();
    void ShosaiRestore_data();
    void ShosaiRestore();
    void ShosaiRefusesNonIntegerOffset_data();
    void ShosaiRefusesNonIntegerOffset();

    // Age calculator
    void AgeEraSide_data();
    void AgeEraSide();
    void AgeWesternSide_data();
    void AgeWesternSide();
    void AgeComesToRestAfterOneExchange();
    void AgeTypedDigitByDigit();
    void AgeNoEraChangesNothing();
    void AgeLongYearsAreKeptWhole();
    void AgeCalcResult_data();
    void AgeCalcResult();
    void AgeCalcResets();
    void AgeResultsReadOnlyAndReadable();
    void AgeReferenceYearMessage_data();
    void AgeReferenceYearMessage();

    // Posthumous-name editor
    void KaiButtons();
    void KaiInsert_data();
    void KaiInsert();
    void KaiInsertUsesClipboard();
    void KaiTypingLimit();
    void KaiEditOkAndCancel();
};

// ---------------------------------------------------------------------------------------
// Detail settings

void TestDialogs::ShosaiControlsAndTexts() {
    ScriptedInteraction ui;
    TShosaiForm form(ui);
    QCOMPARE(form.windowTitle(), QStringLiteral("忌の名称・日付計算式の詳細設定"));
    QCOMPARE(form.size(), QSize(568, 400));
    QVERIFY(!(form.windowFlags() & Qt::WindowCloseButtonHint));
    for (int i = 1; i <= 17; ++i) {
        QVERIFY(form.findChild<QLineEdit*>(QStringLiteral("Edit%1").arg(i)) != nullptr);
    }
    for (int i = 1; i <= 11; ++i) {
        QVERIFY(form.findChild<QCheckBox*>(QStringLiteral("CheckBox%1").arg(i)) != nullptr);
    }
    QCOMPARE(form.Button1->text(), QStringLiteral("標準に戻す"));
    QCOMPARE(form.Button2->toolTip(), QStringLiteral("日付の計算式を標準の設定にもどします"));
    QCOMPARE(form.Button4->text(), QStringLiteral("OK"));
    QCOMPARE(form.Button5->text(), QStringLiteral("ｷｬﾝｾﾙ"));
    QCOMPARE(form.EveBoxes[4]->text(), QStringLiteral("逮夜日付"));
    QCOMPARE(form.CheckBox10->text(), QStringLiteral("印刷する"));
    QCOMPARE(form.CheckBox11->toolTip(),
             QStringLiteral("ここがチェックされていると百箇日も含めて印刷されます"));
    // Row 5 follows the next month and has no offset field; rows 1-4 map to Edit10-13 and
    // rows 6-9 to Edit14-17.
    QVERIFY(form.OffsetEditOfRow(4) == nullptr);
    QCOMPARE(form.OffsetEditOfRow(0)->objectName(), QStringLiteral("Edit10"));
    QCOMPARE(form.OffsetEditOfRow(3)->objectName(), QStringLiteral("Edit13"));
    QCOMPARE(form.OffsetEditOfRow(5)->objectName(), QStringLiteral("Edit14"));
    QCOMPARE(form.OffsetEditOfRow(8)->objectName(), QStringLiteral("Edit17"));
    QStringList texts;
    for (const QLabel* label : form.findChildren<QLabel*>()) {
        texts << label->text();
    }
    QCOMPARE(texts.count(QStringLiteral("（逮夜はその前日）")), 9);
    QCOMPARE(texts.count(QStringLiteral("命日＋")), 8);
    QCOMPARE(texts.count(QStringLiteral("翌月同日")), 1);
    QVERIFY(texts.contains(QStringLiteral("初月忌で同日が無いときは繰り上げ")));
}

void TestDialogs::ShosaiRoundTrip() {
    ScriptedInteraction ui;
    TShosaiForm form(ui);
    const DetailSettings given = Unusual();
    form.SetValues(given);
    QCOMPARE(form.NameEdits[2]->text(), QStringLiteral("名〇〇〇"));
    QCOMPARE(form.OffsetEditOfRow(0)->text(), QStringLiteral("-5"));
    QCOMPARE(form.OffsetEditOfRow(8)->text(), QStringLiteral("19"));
    QVERIFY(form.EveBoxes[0]->isChecked());
    QVERIFY(!form.EveBoxes[1]->isChecked());
    QVERIFY(!form.CheckBox10->isChecked());
    QVERIFY(SameSettings(form.Values(), given));
}

void TestDialogs::ShosaiCancelChangesNothing() {
    ScriptedInteraction ui;
    TShosaiForm form(ui);
    WhenModalOf<TShosaiForm>([](TShosaiForm* f) {
        EditEveryField(f);
        f->Button1->click();
        QTest::mouseClick(f->Button5, Qt::LeftButton);
    });
    QVERIFY(!form.Edit(Unusual()).has_value());

    // Button2 followed by Cancel: nothing comes back either.
    WhenModalOf<TShosaiForm>([](TShosaiForm* f) {
        QTest::mouseClick(f->Button2, Qt::LeftButton);
        QTest::mouseClick(f->Button5, Qt::LeftButton);
    });
    QVERIFY(!form.Edit(Unusual()).has_value());
    QVERIFY(ui.Log.isEmpty());
}

void TestDialogs::ShosaiOkReturnsEdits() {
    ScriptedInteraction ui;
    TShosaiForm form(ui);
    WhenModalOf<TShosaiForm>([](TShosaiForm* f) {
        f->NameEdits[8]->clear(); // an empty name is allowed
        TypeText(f->NameEdits[0], QStringLiteral("忌"));
        f->OffsetEditOfRow(8)->setText(QStringLiteral("98"));
        f->OffsetEditOfRow(1)->setText(QStringLiteral(" -2147483648"));
        QTest::mouseClick(f->EveBoxes[8], Qt::LeftButton);
        QTest::mouseClick(f->CheckBox10, Qt::LeftButton);
        QTest::mouseClick(f->Button4, Qt::LeftButton);
    });
    const DetailSettings given = Unusual();
    const auto result = form.Edit(given);
    QVERIFY(result.has_value());
    QCOMPARE(ToQ(result->Schedule[0].Name), QStringLiteral("名〇忌"));
    QVERIFY(result->Schedule[8].Name.empty());
    QCOMPARE(result->Schedule[8].Offset, 98);
    QCOMPARE(result->Schedule[1].Offset, std::numeric_limits<std::int32_t>::min());
    QCOMPARE(result->Schedule[8].Eve, !given.Schedule[8].Eve);
    QCOMPARE(result->HatsuGatsuPrint, !given.HatsuGatsuPrint);
    QCOMPARE(result->HyakkaNichiPrint, given.HyakkaNichiPrint);
    // The first monthly row's offset and the result texts pass through.
    QCOMPARE(result->Schedule[4].Offset, given.Schedule[4].Offset);
    QVERIFY(result->Schedule[3].Month == u"12");
    QVERIFY(ui.Log.isEmpty());
}

void TestDialogs::ShosaiRestore_data() {
    QTest::addColumn<int>("button");
    QTest::addColumn<bool>("accept");
    QTest::newRow("names, OK") << 1 << true;
    QTest::newRow("offsets, OK") << 2 << true;
    QTest::newRow("checks, OK") << 3 << true;
    QTest::newRow("offsets, Cancel") << 2 << false;
}

void TestDialogs::ShosaiRestore() {
    QFETCH(int, button);
    QFETCH(bool, accept);
    ScriptedInteraction ui;
    TShosaiForm form(ui);
    WhenModalOf<TShosaiForm>([button, accept](TShosaiForm* f) {
        QPushButton* restore = button == 1 ? f->Button1 : button == 2 ? f->Button2 : f->Button3;
        QTest::mouseClick(restore, Qt::LeftButton);
        QTest::mouseClick(accept ? f->Button4 : f->Button5, Qt::LeftButton);
    });
    const DetailSettings given = Unusual();
    const auto result = form.Edit(given);
    QCOMPARE(result.has_value(), accept);
    if (!accept) {
        return;
    }
    for (std::size_t row = 0; row < 9; ++row) {
        const MemorialDay& day = result->Schedule[row];
        const QString name = ToQ(day.Name);
        QCOMPARE(name, button == 1 ? kStandardNames[row] : ToQ(given.Schedule[row].Name));
        if (row != 4) {
            const std::size_t k = row < 4 ? row : row - 1;
            QCOMPARE(day.Offset,
                     button == 2 ? kStandardOffsets[k].toInt() : given.Schedule[row].Offset);
        }
        QCOMPARE(day.Eve, button == 3 ? row != 4 : given.Schedule[row].Eve);
    }
    QCOMPARE(result->HatsuGatsuPrint, button == 3);
    QCOMPARE(result->HyakkaNichiPrint, button == 3);
}

void TestDialogs::ShosaiRefusesNonIntegerOffset_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QString();
    QTest::newRow("letters") << QStringLiteral("abc");
    QTest::newRow("kanji numerals") << QStringLiteral("九十九");
    QTest::newRow("overflow") << QStringLiteral("2147483648");
    QTest::newRow("trailing blank") << QStringLiteral("99 ");
}

void TestDialogs::ShosaiRefusesNonIntegerOffset() {
    QFETCH(QString, text);
    ScriptedInteraction ui;
    TShosaiForm form(ui);
    bool stayedOpen = false;
    WhenModalOf<TShosaiForm>([&text, &stayedOpen](TShosaiForm* f) {
        f->OffsetEditOfRow(6)->setText(text);
        QTest::mouseClick(f->Button4, Qt::LeftButton);
        stayedOpen = f->isVisible();
        f->OffsetEditOfRow(6)->setText(QStringLiteral("40"));
        QTest::mouseClick(f->Button4, Qt::LeftButton);
    });
    const auto result = form.Edit(Unusual());
    QVERIFY(stayedOpen);
    QCOMPARE(ui.Messages.size(), 1);
    QVERIFY(result.has_value());
    QCOMPARE(result->Schedule[6].Offset, 40);
    // Read without OK, a non-integer keeps the offset that was given.
    form.SetValues(Unusual());
    form.OffsetEditOfRow(6)->setText(text);
    QCOMPARE(form.Values().Schedule[6].Offset, Unusual().Schedule[6].Offset);
}

// ---------------------------------------------------------------------------------------
// Age calculator

void TestDialogs::AgeEraSide_data() {
    QTest::addColumn<int>("keisanNen");
    QTest::addColumn<QString>("era");
    QTest::addColumn<QString>("eraYear");
    QTest::addColumn<QString>("western");
    QTest::addColumn<QString>("ages"); // counting, before, after birthday
    QTest::addColumn<QString>("eraYearAfter");
    QTest::newRow("昭和25 in 2019")
        << 2019 << QStringLiteral("昭和") << QStringLiteral("25") << QStringLiteral("1950")
        << QStringLiteral("70 68 69") << QStringLiteral("25");
    QTest::newRow("令和1") << 2024 << QStringLiteral("令和") << QStringLiteral("1")
                           << QStringLiteral("2019") << QStringLiteral("6 4 5")
                           << QStringLiteral("1");
    QTest::newRow("平成 1 with blank")
        << 2000 << QStringLiteral("平成") << QStringLiteral(" 1") << QStringLiteral("1989")
        << QStringLiteral("12 10 11") << QStringLiteral("1");
    QTest::newRow("明治1") << 1900 << QStringLiteral("明治") << QStringLiteral("1")
                           << QStringLiteral("1868") << QStringLiteral("33 31 32")
                           << QStringLiteral("1");
    // 大正15 is 1926, which the western side gives to 昭和 1.
    QTest::newRow("大正15 becomes 昭和1")
        << 1930 << QStringLiteral("大正") << QStringLiteral("15") << QStringLiteral("1926")
        << QStringLiteral("5 3 4") << QStringLiteral("1");
    // 昭和0 is 1925, which the western side gives to 大正14.
    QTest::newRow("昭和0 becomes 大正14")
        << 2000 << QStringLiteral("昭和") << QStringLiteral("0") << QStringLiteral("1925")
        << QStringLiteral("76 74 75") << QStringLiteral("14");
    QTest::newRow("birth after death")
        << 2000 << QStringLiteral("令和") << QStringLiteral("5") << QStringLiteral("2023")
        << QStringLiteral("-22 -24 -23") << QStringLiteral("5");
    QTest::newRow("not an integer") << 2019 << QStringLiteral("昭和") << QStringLiteral("x")
                                    << QString() << QStringLiteral("  ") << QStringLiteral("x");
}

void TestDialogs::AgeEraSide() {
    QFETCH(int, keisanNen);
    QFETCH(QString, era);
    QFETCH(QString, eraYear);
    QFETCH(QString, western);
    QFETCH(QString, ages);
    QFETCH(QString, eraYearAfter);
    TAgeCalForm form;
    form.Reset();
    form.SetKeisanNen(keisanNen);
    const int index = form.ComboBox1->findText(era);
    QVERIFY(index >= 0);
    form.ComboBox1->setCurrentIndex(index);
    Q_EMIT form.ComboBox1->activated(index); // the user's choice
    QTest::keyClicks(form.Edit1, eraYear);
    QCOMPARE(form.Edit2->text(), western);
    const QStringList expected = ages.split(u' ');
    QCOMPARE(form.Edit3->text(), expected[0]);
    QCOMPARE(form.Edit4->text(), expected[1]);
    QCOMPARE(form.Edit5->text(), expected[2]);
    QCOMPARE(form.Edit1->text(), eraYearAfter);
}

void TestDialogs::AgeWesternSide_data() {
    QTest::addColumn<QString>("western");
    QTest::addColumn<QString>("era");
    QTest::addColumn<QString>("eraYear");
    QTest::newRow("1989") << QStringLiteral("1989") << QStringLiteral("平成")
                          << QStringLiteral("1");
    QTest::newRow("2018") << QStringLiteral("2018") << QStringLiteral("平成")
                          << QStringLiteral("30");
    QTest::newRow("2019") << QStringLiteral("2019") << QStringLiteral("令和")
                          << QStringLiteral("1");
    QTest::newRow("1868") << QStringLiteral("1868") << QStringLiteral("明治")
                          << QStringLiteral("1");
    QTest::newRow("1867") << QStringLiteral("1867") << QStringLiteral("－－") << QString();
    QTest::newRow("1912") << QStringLiteral("1912") << QStringLiteral("大正")
                          << QStringLiteral("1");
    QTest::newRow("1926") << QStringLiteral("1926") << QStringLiteral("昭和")
                          << QStringLiteral("1");
    QTest::newRow("1988") << QStringLiteral("1988") << QStringLiteral("昭和")
                          << QStringLiteral("63");
    QTest::newRow("negative") << QStringLiteral("-5") << QStringLiteral("－－") << QString();
}

void TestDialogs::AgeWesternSide() {
    QFETCH(QString, western);
    QFETCH(QString, era);
    QFETCH(QString, eraYear);
    TAgeCalForm form;
    form.Reset();
    form.SetKeisanNen(2020);
    QTest::keyClicks(form.Edit2, western);
    QCOMPARE(form.Edit2->text(), western);
    QCOMPARE(form.ComboBox1->currentText(), era);
    QCOMPARE(form.Edit1->text(), eraYear);
    QCOMPARE(form.Edit5->text(), QString::number(2020 - western.toInt()));
}

void TestDialogs::AgeComesToRestAfterOneExchange() {
    TAgeCalForm form;
    form.Reset();
    form.SetKeisanNen(2019);
    form.ComboBox1->setCurrentIndex(form.ComboBox1->findText(QStringLiteral("昭和")));
    QTest::keyClicks(form.Edit1, QStringLiteral("2"));
    QSignalSpy eraChanges(form.Edit1, &QLineEdit::textChanged);
    QSignalSpy westernChanges(form.Edit2, &QLineEdit::textChanged);
    QSignalSpy ageChanges(form.Edit5, &QLineEdit::textChanged);
    QTest::keyClicks(form.Edit1, QStringLiteral("5"));
    // One typed change, one written western year, one age; the written-back era year equals
    // the typed one and fires nothing more.
    QCOMPARE(eraChanges.count(), 1);
    QCOMPARE(westernChanges.count(), 1);
    QCOMPARE(ageChanges.count(), 1);
    QCOMPARE(form.Edit2->text(), QStringLiteral("1950"));
    QCOMPARE(form.ComboBox1->currentText(), QStringLiteral("昭和"));
    QCOMPARE(form.Edit1->text(), QStringLiteral("25"));
}

void TestDialogs::AgeTypedDigitByDigit() {
    TAgeCalForm form;
    form.Reset();
    form.SetKeisanNen(2019);
    const QStringList steps{QStringLiteral("1"), QStringLiteral("19"), QStringLiteral("195"),
                            QStringLiteral("1950")};
    const QStringList counting{QStringLiteral("2019"), QStringLiteral("2001"),
                               QStringLiteral("1825"), QStringLiteral("70")};
    for (int i = 0; i < steps.size(); ++i) {
        QTest::keyClick(form.Edit2, steps[i].back().toLatin1());
        QCOMPARE(form.Edit2->text(), steps[i]); // never emptied on the way
        QCOMPARE(form.Edit3->text(), counting[i]);
        QCOMPARE(form.ComboBox1->currentText(),
                 i < 3 ? QStringLiteral("－－") : QStringLiteral("昭和"));
    }
    QCOMPARE(form.Edit1->text(), QStringLiteral("25"));
}

void TestDialogs::AgeNoEraChangesNothing() {
    TAgeCalForm form;
    form.Reset();
    form.SetKeisanNen(2019);
    QTest::keyClicks(form.Edit1, QStringLiteral("12"));
    QVERIFY(form.Edit2->text().isEmpty());
    QVERIFY(form.Edit3->text().isEmpty());
    // A hand-typed era that is not in the table has no base either.
    form.ComboBox1->lineEdit()->clear();
    TypeText(form.ComboBox1->lineEdit(), QStringLiteral("昭"));
    QVERIFY(form.Edit2->text().isEmpty());
    // Typing the full name counts as choosing it.
    TypeText(form.ComboBox1->lineEdit(), QStringLiteral("和"));
    QCOMPARE(form.Edit2->text(), QStringLiteral("1937"));
}

void TestDialogs::AgeLongYearsAreKeptWhole() {
    // The length limits bind typing only: a four-digit era year written by the western side
    // must not be cut, or the era side would rewrite the western year the user typed.
    TAgeCalForm form;
    form.Reset();
    form.SetKeisanNen(std::numeric_limits<std::int32_t>::min());
    QTest::keyClicks(form.Edit2, QStringLiteral("9999"));
    QCOMPARE(form.Edit2->text(), QStringLiteral("9999"));
    QCOMPARE(form.ComboBox1->currentText(), QStringLiteral("令和"));
    QCOMPARE(form.Edit1->text(), QStringLiteral("7981"));
    QCOMPARE(form.Edit3->text(), QStringLiteral("-2147493646"));
    // Typing is still limited, but the long text may be shortened.
    QTest::keyClick(form.Edit1, Qt::Key_End);
    QTest::keyClick(form.Edit1, Qt::Key_Backspace);
    QCOMPARE(form.Edit1->text(), QStringLiteral("798"));
    QTest::keyClicks(form.Edit1, QStringLiteral("1"));
    QCOMPARE(form.Edit1->text(), QStringLiteral("798"));
    form.Edit1->clear();
    QTest::keyClicks(form.Edit1, QStringLiteral("123"));
    QCOMPARE(form.Edit1->text(), QStringLiteral("12"));
}

void TestDialogs::AgeCalcResult_data() {
    QTest::addColumn<int>("radio"); // 0 none
    QTest::addColumn<bool>("accept");
    QTest::addColumn<QString>("expected"); // "-" for no result
    QTest::newRow("counting") << 1 << true << QStringLiteral("70");
    QTest::newRow("before birthday") << 2 << true << QStringLiteral("68");
    QTest::newRow("after birthday") << 3 << true << QStringLiteral("69");
    QTest::newRow("no choice") << 0 << true << QStringLiteral("-");
    QTest::newRow("cancel") << 1 << false << QStringLiteral("-");
}

void TestDialogs::AgeCalcResult() {
    QFETCH(int, radio);
    QFETCH(bool, accept);
    QFETCH(QString, expected);
    TAgeCalForm form;
    WhenModalOf<TAgeCalForm>([radio, accept](TAgeCalForm* f) {
        f->ComboBox1->setCurrentIndex(f->ComboBox1->findText(QStringLiteral("昭和")));
        QTest::keyClicks(f->Edit1, QStringLiteral("25"));
        QRadioButton* radios[] = {nullptr, f->RadioButton1, f->RadioButton2, f->RadioButton3};
        if (radios[radio] != nullptr) {
            QTest::mouseClick(radios[radio], Qt::LeftButton);
        }
        QTest::mouseClick(accept ? f->Button1 : f->Button2, Qt::LeftButton);
    });
    const auto age = form.Calc(2019);
    QCOMPARE(age.value_or(QStringLiteral("-")), expected);
}

void TestDialogs::AgeCalcResets() {
    TAgeCalForm form;
    form.SetKeisanNen(2019);
    QTest::keyClicks(form.Edit2, QStringLiteral("1950"));
    form.RadioButton2->setChecked(true);
    bool wasReset = false;
    WhenModalOf<TAgeCalForm>([&wasReset](TAgeCalForm* f) {
        wasReset = f->ComboBox1->currentText() == QStringLiteral("－－") &&
                   f->Edit1->text().isEmpty() && f->Edit2->text().isEmpty() &&
                   f->Edit3->text().isEmpty() && f->Edit5->text().isEmpty() &&
                   !f->RadioButton1->isChecked() && !f->RadioButton2->isChecked() &&
                   !f->RadioButton3->isChecked();
        QCOMPARE(f->KeisanNen(), 2030);
        QTest::mouseClick(f->Button1, Qt::LeftButton);
    });
    QVERIFY(!form.Calc(2030).has_value());
    QVERIFY(wasReset);
}

// The three results are for reading only, and read as plainly as any field: typing changes
// nothing, and their digits are drawn in the normal text colour, not greyed.
void TestDialogs::AgeResultsReadOnlyAndReadable() {
    TAgeCalForm form;
    form.SetKeisanNen(2024);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.Edit2->setText(QStringLiteral("1950"));
    const QColor text = form.palette().color(QPalette::Active, QPalette::Text);
    for (QLineEdit* age : {form.Edit3, form.Edit4, form.Edit5}) {
        QVERIFY(!age->text().isEmpty());
        QVERIFY2(age->isEnabled(), qPrintable(age->objectName()));
        QVERIFY2(age->isReadOnly(), qPrintable(age->objectName()));
        const QString before = age->text();
        QTest::keyClicks(age, QStringLiteral("9"));
        QCOMPARE(age->text(), before);
        // The darkest ink of the digits is the text colour (glyph edges are lighter).
        const QImage picture = age->grab().toImage();
        int darkest = 255;
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                darkest = std::min(darkest, qGray(picture.pixel(x, y)));
            }
        }
        QVERIFY2(darkest <= qGray(text.rgb()) + 48,
                 qPrintable(QStringLiteral("%1: darkest %2").arg(age->objectName()).arg(darkest)));
    }
}

void TestDialogs::AgeReferenceYearMessage_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");
    QTest::addColumn<bool>("message");
    QTest::newRow("year") << QStringLiteral("2019") << 2019 << false;
    QTest::newRow("negative year") << QStringLiteral("-40") << -40 << false;
    QTest::newRow("empty") << QString() << 2026 << true;
    QTest::newRow("not a number") << QStringLiteral("二〇一九") << 2026 << true;
}

void TestDialogs::AgeReferenceYearMessage() {
    QFETCH(QString, text);
    QFETCH(int, expected);
    QFETCH(bool, message);
    ScriptedInteraction ui;
    QCOMPARE(AgeReferenceYear(text, 2026, ui), expected);
    QCOMPARE(ui.Messages.size(), message ? 1 : 0);
    if (message) {
        QCOMPARE(ui.Messages[0],
                 QStringLiteral("忌日が入力されていませんので\n今年の年齢として計算します。"));
    }
}

// ---------------------------------------------------------------------------------------
// Posthumous-name editor

void TestDialogs::KaiButtons() {
    TKaiForm form;
    QCOMPARE(form.windowTitle(), QStringLiteral("戒名・法名入力"));
    QCOMPARE(form.size(), QSize(297, 348));
    const QStringList captions =
        QStringLiteral("院 庵 軒 釋 尼 譽 居士 信士 禪定門 大姉 信女 禪定尼 童 孩 "
                       "嬰 水 子 女 児 清")
            .split(u' ');
    for (int i = 0; i < 20; ++i) {
        auto* button = form.findChild<QToolButton*>(QStringLiteral("SpeedButton%1").arg(i + 1));
        QVERIFY(button != nullptr);
        QCOMPARE(button->text(), captions[i]);
        QCOMPARE(button->width(), captions[i].size() == 1 ? 25 : 57);
        QVERIFY(form.GroupBox1->rect().contains(button->geometry()));
    }
    QVERIFY(!form.Edit1->isVisible());
    QCOMPARE(form.Label2->text(), QStringLiteral("最大１６文字まで入力できます"));
}

void TestDialogs::KaiInsert_data() {
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("caret");
    QTest::addColumn<int>("selection");
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("after");
    const QString full = QString(32, QChar(u'空'));
    QTest::newRow("at the end") << QStringLiteral("釋") << 1 << 0 << 8 << QStringLiteral("釋信士");
    QTest::newRow("in the middle")
        << QStringLiteral("釋清") << 1 << 0 << 4 << QStringLiteral("釋釋清");
    QTest::newRow("replacing a selection")
        << QStringLiteral("院居士尼") << 1 << 2 << 10 << QStringLiteral("院大姉尼");
    QTest::newRow("empty field") << QString() << 0 << 0 << 9 << QStringLiteral("禪定門");
    QTest::newRow("full: nothing") << full << 32 << 0 << 1 << full;
    QTest::newRow("one left: cut to fit") << QString(31, QChar(u'空')) << 0 << 0 << 12
                                          << QStringLiteral("禪") + QString(31, QChar(u'空'));
    QTest::newRow("full, selection makes room")
        << full << 0 << 2 << 9 << QStringLiteral("禪定") + QString(30, QChar(u'空'));
    QTest::newRow("over-long text kept")
        << QString(40, QChar(u'空')) << 3 << 0 << 2 << QString(40, QChar(u'空'));
}

void TestDialogs::KaiInsert() {
    QFETCH(QString, before);
    QFETCH(int, caret);
    QFETCH(int, selection);
    QFETCH(int, button);
    QFETCH(QString, after);
    TKaiForm form;
    form.Kaimyo->setText(before);
    if (selection > 0) {
        form.Kaimyo->setSelection(caret, selection);
    } else {
        form.Kaimyo->setCursorPosition(caret);
    }
    QTest::mouseClick(form.SpeedButtons[static_cast<std::size_t>(button - 1)], Qt::LeftButton);
    QCOMPARE(form.Kaimyo->text(), after);
    QVERIFY(CharCount(form.Kaimyo->text()) <= std::max<qsizetype>(32, CharCount(before)));
}

void TestDialogs::KaiInsertUsesClipboard() {
    TKaiForm form;
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText(QStringLiteral("前の内容"));
    form.Kaimyo->setText(QStringLiteral("釋"));
    form.Kaimyo->end(false);
    QTest::mouseClick(form.SpeedButtons[10], Qt::LeftButton); // 信女
    QCOMPARE(form.Kaimyo->text(), QStringLiteral("釋信女"));
    QCOMPARE(clipboard->text(), QStringLiteral("信女"));
    QVERIFY(form.Edit1->text().isEmpty());
}

void TestDialogs::KaiTypingLimit() {
    TKaiForm form;
    form.Kaimyo->setText(QString(31, QChar(u'空')));
    form.Kaimyo->end(false);
    QTest::keyClicks(form.Kaimyo, QStringLiteral("abc"));
    QCOMPARE(CharCount(form.Kaimyo->text()), 32);
    QTest::mouseClick(form.ClrBttn, Qt::LeftButton);
    QVERIFY(form.Kaimyo->text().isEmpty());
}

void TestDialogs::KaiEditOkAndCancel() {
    TKaiForm form;
    WhenModalOf<TKaiForm>([](TKaiForm* f) {
        QTest::mouseClick(f->SpeedButtons[6], Qt::LeftButton); // 居士
        QTest::mouseClick(f->OkBttn, Qt::LeftButton);
    });
    QCOMPARE(form.Edit(QStringLiteral("清風")).value_or(QString()), QStringLiteral("清風居士"));
    WhenModalOf<TKaiForm>([](TKaiForm* f) {
        QTest::mouseClick(f->ClrBttn, Qt::LeftButton);
        QTest::mouseClick(f->CanBttn, Qt::LeftButton);
    });
    QVERIFY(!form.Edit(QStringLiteral("清風")).has_value());
}

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
