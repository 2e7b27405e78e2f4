// The annual chart window against a small fake host: its event rules, what it keeps in the
// store between runs, its print and preview commands, and the preview's switching between the
// annual chart and the memorial sheet.
#include "ModalDriver.h"
#include "ScriptedInteraction.h"
#include "StoreKeys.h"
#include "Typing.h"

#include "annual/NenkaiUnit.h"
#include "calendar/Era.h"
#include "case/CaseHost.h"
#include "case/SettingsStore.h"
#include "case/StoredCase.h"
#include "sheet/PrevUnit.h"
#include "sheet/SheetCommands.h"
#include "ui/UpDown.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace ulvan;

namespace {

// The main window as the annual chart sees it: the case as plain values the test sets.
class FakeHost final : public CaseHost {
public:
    explicit FakeHost(QString file)
        : File(std::move(file)) {
        Data.KiNen = u"2018";
        Data.KiGatsu = u"3";
        Data.KiNichi = u"15";
        Data.Kaimyo = u"釋浄念信士";
        Data.Zokumyo = u"山田太郎";
        Data.GyoNen = u"82";
        Opts.FntName1 = u"IPAGothic";
        Opts.FntName2 = u"IPAMincho";
        Opts.TitName = u"忌日表";
        Opts.TmplNamePrint = false;
    }

    DeceasedData Deceased() const override { return Data; }
    SheetOptions Options() const override { return Opts; }
    MemorialSchedule Schedule() const override {
        MemorialSchedule schedule = DefaultSchedule();
        ulvan::ComputeSchedule(Data.KiNen, Data.KiGatsu, Data.KiNichi, schedule);
        return schedule;
    }
    FooterLayout Footer() const override { return Foot; }
    std::vector<std::u16string> EraItems() const override { return EraComboItems(); }
    QDate CurrentDate() const override { return QDate(2024, 3, 15); }
    QString SettingsFile() const override { return File; }
    QWidget* HostWindow() const override { return nullptr; }
    void PrintMemorialSheet(bool blank) override {
        if (Commands) {
            Commands->Print(blank);
        }
    }
    void ShowPreview(PreviewKind kind) override {
        Previews.push_back(kind);
        if (Commands) {
            Commands->ShowPreview(kind);
        }
    }
    void ApplyRecord(const DeceasedData& record) override { Data = record; }
    void SetFooter(const FooterLayout&) override {}
    void ShowStatusMessage(const QString&) override {}

    QString File;
    DeceasedData Data;
    SheetOptions Opts;
    std::vector<PreviewKind> Previews;
    FooterLayout Foot;
    SheetCommands* Commands = nullptr;
};

// Opens the window as the main window does, and closes it again with 閉じる; `inside` runs
// while it is open.
void OpenAndClose(TNenkaiForm& form, const std::function<void()>& inside = {}) {
    form.SetRunner([inside](TNenkaiForm& f) {
        if (inside) {
            inside();
        }
        QTest::mouseClick(f.Button3, Qt::LeftButton);
    });
    form.Open();
}

QStringList ResultTexts(const TNenkaiForm& form) {
    QStringList texts;
    for (std::size_t i = 0; i < 21; ++i) {
        texts << form.WesternEdits[i]->text() << form.EraNameEdits[i]->text()
              << form.EraYearEdits[i]->text();
    }
    return texts;
}

// A key typed into a field: press and release, as the user's keyboard delivers them.
void TypeKey(QWidget* field, Qt::Key key, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(field, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(field, &release);
}

} // namespace

class TestNenkaiForm : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void CreationFillsTheListsAndRows();
    void FirstRunIsAllCheckedAndStoresEverything();
    void SelectionAndTitleSurviveARestart();
    void MissingStoredValuesKeepTheirBoxes();
    void OpeningTakesTheMainWindowsYear();
    void ReopeningWithTheSameYearKeepsResults();
    void UpDownStepsOrBeeps();
    void KeyReleaseSyncsTheEra();
    void ChosenEraKeepsItsFields();
    void EraYearNotAnIntegerEmptiesTheYear();
    void YearNotAnIntegerClearsResults();
    void FirstYearOfAnEraAsksAndTheClosingKeyDoesNotAskAgain();
    void PrintReportsTheAnnualTitle();
    void PreviewKindFollowsItsOpener();
    void PrintsTheFilledAndBlankChartThroughThePrintDialog();

private:
    QString StoreFile() const { return m_dir->filePath(QStringLiteral("settings.ini")); }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestNenkaiForm::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestNenkaiForm::CreationFillsTheListsAndRows() {
    ScriptedInteraction ui;
    FakeHost host(StoreFile());
    QPrinter printer;
    TNenkaiForm form(host, ui, printer);
    const auto eras = EraComboItems();
    QCOMPARE(form.ComboBox1->count(), static_cast<int>(eras.size()));
    QCOMPARE(form.ComboBox1->itemText(0), QStringLiteral("令和"));
    QCOMPARE(form.ComboBox1->itemText(form.ComboBox1->count() - 1), QStringLiteral("－－"));
    QCOMPARE(form.ComboBox2->count(), 3);
    QCOMPARE(form.ComboBox2->itemText(0), QStringLiteral("年回表"));
    QCOMPARE(form.ComboBox2->itemText(1), QStringLiteral("年忌表"));
    QCOMPARE(form.ComboBox2->itemText(2), QStringLiteral("回忌表"));
    for (std::size_t i = 0; i < 21; ++i) {
        const QString caption = form.NameLabels[i]->text();
        QVERIFY(caption.startsWith(ToQ(NenkaiItems()[i].Name)));
        // Fourteen columns: a kanji takes two, a hyphen one.
        const qsizetype kanji = static_cast<qsizetype>(NenkaiItems()[i].Name.size());
        QCOMPARE(2 * kanji + (caption.size() - kanji), qsizetype{14});
        QVERIFY(form.WesternEdits[i]->isReadOnly());
        QVERIFY(form.EraNameEdits[i]->isReadOnly());
        QVERIFY(form.EraYearEdits[i]->isReadOnly());
        QCOMPARE(form.CheckBoxes[i]->objectName(), QStringLiteral("CheckBox%1").arg(i + 1));
        QCOMPARE(form.WesternEdits[i]->objectName(), QStringLiteral("Edit%1").arg(45 + i));
        QCOMPARE(form.EraNameEdits[i]->objectName(), QStringLiteral("Edit%1").arg(3 + i));
        QCOMPARE(form.EraYearEdits[i]->objectName(), QStringLiteral("Edit%1").arg(24 + i));
    }
    // Items 1-11 on the left, 12-21 on the right.
    QVERIFY(form.CheckBoxes[10]->x() < form.Panel1->x());
    QVERIFY(form.CheckBoxes[11]->x() > form.Panel1->x());
    QCOMPARE(form.CheckBoxes[11]->y(), form.CheckBoxes[0]->y());
}

void TestNenkaiForm::FirstRunIsAllCheckedAndStoresEverything() {
    ScriptedInteraction ui;
    FakeHost host(StoreFile());
    QPrinter printer;
    TNenkaiForm form(host, ui, printer);
    OpenAndClose(form, [&] {
        for (QCheckBox* box : form.CheckBoxes) {
            QVERIFY(box->isChecked());
        }
        QVERIFY(form.ComboBox2->currentText().isEmpty());
    });
    SettingsStore store(StoreFile());
    QVERIFY(store.OpenKey(test::kKeyNenkaiSel, false));
    for (char c = 'A'; c <= 'U'; ++c) {
        const QString name = QStringLiteral("Nen") + QLatin1Char(c);
        QCOMPARE(store.ReadBool(name), std::optional<bool>(true));
    }
    store.CloseKey();
    QVERIFY(store.OpenKey(test::kKeyExtendSetUp, false));
    QVERIFY(store.ValueExists(QStringLiteral("NenTitName")));
    QVERIFY(store.ReadString(QStringLiteral("NenTitName")).isEmpty());
}

void TestNenkaiForm::SelectionAndTitleSurviveARestart() {
    const QString longTitle = QStringLiteral("年回忌のご案内一覧表"); // more than seven
    {
        ScriptedInteraction ui;
        FakeHost host(StoreFile());
        QPrinter printer;
        TNenkaiForm form(host, ui, printer);
        OpenAndClose(form, [&] {
            QTest::mouseClick(form.CheckBoxes[1], Qt::LeftButton); // 三回忌
            form.ComboBox2->setEditText(QString());
            TypeText(form.ComboBox2->lineEdit(), longTitle);
        });
    }
    ScriptedInteraction ui;
    FakeHost host(StoreFile());
    QPrinter printer;
    TNenkaiForm form(host, ui, printer);
    QCOMPARE(form.ComboBox2->currentText(), longTitle);
    OpenAndClose(form, [&] {
        QVERIFY(!form.CheckBoxes[1]->isChecked());
        QVERIFY(form.CheckBoxes[0]->isChecked());
        QVERIFY(form.CheckBoxes[2]->isChecked());
    });
    QCOMPARE(ToQ(ReadNenkaiTitle(StoreFile())), longTitle);
}

void TestNenkaiForm::MissingStoredValuesKeepTheirBoxes() {
    {
        SettingsStore store(StoreFile());
        QVERIFY(store.OpenKey(test::kKeyNenkaiSel, true));
        store.WriteBool(QStringLiteral("NenA"), false);
        QVERIFY(store.CloseKey());
    }
    ScriptedInteraction ui;
    FakeHost host(StoreFile());
    QPrinter printer;
    TNenkaiForm form(host, ui, printer);
    form.CheckBoxes[2]->setChecked(false); // held by the window, not in the store
    OpenAndClose(form, [&] {
        QVERIFY(!form.CheckBoxes[0]->isChecked()); // stored
        QVERIFY(form.CheckBoxes[1]->isChecked());  // not stored: as it was
        QVERIFY(!form.CheckBoxes[2]->isChecked()); // not stored: as it was
    });
}

void TestNenkaiForm::OpeningTakesTheMainWindowsYear() {
    ScriptedInteraction ui;
    FakeHost host(StoreFile());
    QPrinter printer;
    TNenkaiForm form(host, ui, printer);
    OpenAndClose(form, [&] {
        QCOMPARE(form.Edit1->text(), QStringLiteral("2018"));
        QCOMPARE(form.ComboBox1->currentText(), QStringLiteral("平成"));
        QCOMPARE(form.Edit2->text(), QStringLiteral("30"));
        // Month 3 of death: 一周忌 2019 is still 平成31, 三回忌 2020 令和2.
        QCOMPARE(form.WesternEdits[0]->text(), QStringLiteral("2019"));
        QCOMPARE(form.EraNameEdits[0]->text(), QStringLiteral("平成"));
        QCOMPARE(form.EraYearEdits[0]->text(), QStringLiteral("31"));
        QCOMPARE(form.EraNameEdits[1]->text(), QStringLiteral("令和"));
        QCOMPARE(form.EraYearEdits[1]->text(), QStringLiteral(" 2"));
    });
}

void TestNenkaiForm::ReopeningWithTheSameYearKeepsResults() {
    ScriptedInteraction ui;
    FakeHost host(StoreFile());
    QPrinter printer;
    TNenkaiForm form(host, ui, printer);
    OpenAndClose(form);
    // The main window's month changes; the same year recomputes nothing.
    host.Data.KiGatsu = u"6";
    const QStringList before = ResultTexts(form);
    OpenAndClose(form, [&] { QCOMPARE(ResultTexts(form), before); });
    QCOMPARE(form.EraNameEdits[0]->text(), QStringLiteral("平成"));
    // Another year recomputes, with the month as it is now.
    host.Data.KiNen = u"2017";
    OpenAndClose(form);
    QCOMPARE(form.WesternEdits[0]->text(), QStringLiteral("2018"));
    QCOMPARE(form.WesternEdits[1]->text(), QStringLiteral("2019"));
    QCOMPARE(form.EraNameEdits[1]->text(), QStringLiteral("令和"));
    QCOMPARE(form.EraYearEdits[1]->text(), QStringLiteral(" 1"));
}

void TestNenkaiForm::UpDownStepsOrBeeps() {
    ScriptedInteraction ui;
    FakeHost host(StoreFile());
    QPrinter printer;
    TNenkaiForm form(host, ui, printer);
    form.Edit1->setText(QString());
    const QStringList empty = ResultTexts(form);
    QTest::mouseClick(form.UpDown1->UpButton(), Qt::LeftButton);
    QCOMPARE(ui.Beeps.size(), std::size_t{1});
    QCOMPARE(ui.Beeps.front(), BeepKind::Default);
    QVERIFY(form.Edit1->text().isEmpty());
    QCOMPARE(ResultTexts(form), empty);

    form.Edit1->setText(QStringLiteral("2019"));
    QCOMPARE(form.WesternEdits[0]->text(), QStringLiteral("2020"));
    QTest::mouseClick(form.UpDown1->UpButton(), Qt::LeftButton);
    QCOMPARE(form.Edit1->text(), QStringLiteral("2020"));
    for (std::size_t i = 0; i < 21; ++i) {
        QCOMPARE(form.WesternEdits[i]->text().toInt(), 2020 + NenkaiItems()[i].YearsAfter);
    }
    // The release brings the era fields in step.
    QCOMPARE(form.ComboBox1->currentText(), QStringLiteral("令和"));
    QCOMPARE(form.Edit2->text(), QStringLiteral(" 2"));
    QTest::mouseClick(form.UpDown1->DownButton(), Qt::LeftButton);
    QCOMPARE(form.Edit1->text(), QStringLiteral("2019"));
    QCOMPARE(ui.Beeps.size(), std::size_t{1});
}

void TestNenkaiForm::KeyReleaseSyncsTheEra() {
    ScriptedInteraction ui;
    FakeHost host(StoreFile());
    QPrinter printer;
    TNenkaiForm form(host, ui, printer);
    form.show();
    form.Edit1->setFocus();
    form.Edit1->clear();
    TypeKey(form.Edit1, Qt::Key_1, QStringLiteral("1"));
    TypeKey(form.Edit1, Qt::Key_8, QStringLiteral("8"));
    TypeKey(form.Edit1, Qt::Key_5, QStringLiteral("5"));
    TypeKey(form.Edit1, Qt::Key_0, QStringLiteral("0"));
    QCOMPARE(form.Edit1->text(), QStringLiteral("1850"));
    QCOMPARE(form.ComboBox1->currentText(), QStringLiteral("嘉永"));
    QCOMPARE(form.Edit2->text(), QStringLiteral(" 3"));
    QCOMPARE(form.EraNameEdits[0]->text(), QStringLiteral("嘉永"));
    QCOMPARE(form.EraYearEdits[0]->text(), QStringLiteral(" 4"));
    form.hide();
}

void TestNenkaiForm::ChosenEraKeepsItsFields() {
    ScriptedInteraction ui;
    FakeHost host(StoreFile());
    QPrinter printer;
    TNenkaiForm form(host, ui, printer);
    form.show();
    form.Edit2->setText(QStringLiteral("31"));
    const int heisei = form.ComboBox1->findText(QStringLiteral("平成"));
    QVERIFY(heisei >= 0);
    form.ComboBox1->setCurrentIndex(heisei);
    Q_EMIT form.ComboBox1->activated(heisei);
    QCOMPARE(form.Edit1->text(), QStringLiteral("2019"));
    QCOMPARE(form.ComboBox1->currentText(), QStringLiteral("平成"));
    QCOMPARE(form.Edit2->text(), QStringLiteral("31"));
    QCOMPARE(form.WesternEdits[0]->text(), QStringLiteral("2020"));
    // 令和 and 3 typed as era year: 2021.
    const int reiwa = form.ComboBox1->findText(QStringLiteral("令和"));
    form.ComboBox1->setCurrentIndex(reiwa);
    Q_EMIT form.ComboBox1->activated(reiwa);
    form.Edit2->setFocus();
    form.Edit2->clear();
    TypeKey(form.Edit2, Qt::Key_3, QStringLiteral("3"));
    QCOMPARE(form.Edit1->text(), QStringLiteral("2021"));
    QCOMPARE(form.WesternEdits[0]->text(), QStringLiteral("2022"));
    form.hide();
}

void TestNenkaiForm::EraYearNotAnIntegerEmptiesTheYear() {
    ScriptedInteraction ui;
    FakeHost host(StoreFile());
    QPrinter printer;
    TNenkaiForm form(host, ui, printer);
    form.show();
    form.Edit1->setText(QStringLiteral("2000"));
    form.Edit2->setFocus();
    form.Edit2->clear();
    TypeKey(form.Edit2, Qt::Key_A, QStringLiteral("a"));
    QVERIFY(form.Edit1->text().isEmpty());
    for (const QString& text : ResultTexts(form)) {
        QVERIFY(text.isEmpty());
    }
    form.hide();
}

void TestNenkaiForm::YearNotAnIntegerClearsResults() {
    ScriptedInteraction ui;
    FakeHost host(StoreFile());
    QPrinter printer;
    TNenkaiForm form(host, ui, printer);
    form.Edit1->setText(QStringLiteral("2000"));
    QVERIFY(!form.WesternEdits[0]->text().isEmpty());
    form.Edit1->setText(QStringLiteral("abc"));
    form.SyncDeathEra();
    for (const QString& text : ResultTexts(form)) {
        QVERIFY(text.isEmpty());
    }
    QCOMPARE(form.ComboBox1->currentText(), QStringLiteral("－－"));
    QCOMPARE(form.Edit2->text(), QStringLiteral("--"));
}

void TestNenkaiForm::FirstYearOfAnEraAsksAndTheClosingKeyDoesNotAskAgain() {
    ScriptedInteraction ui;
    FakeHost host(StoreFile());
    host.Data.KiGatsu.clear(); // the month does not decide 2019
    QPrinter printer;
    TNenkaiForm form(host, ui, printer);
    int asked = 0;
    form.SetEraAsker([&asked, &form](std::size_t) {
        ++asked;
        // The key that closes the question is pressed in the question and released over
        // the year field.
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(form.Edit1, &release);
        return EraChoice::New;
    });
    form.show();
    form.Edit1->setFocus();
    form.Edit1->setText(QStringLiteral("201"));
    TypeKey(form.Edit1, Qt::Key_9, QStringLiteral("9"));
    QCOMPARE(asked, 1);
    QCOMPARE(form.ComboBox1->currentText(), QStringLiteral("令和"));
    QCOMPARE(form.Edit2->text(), QStringLiteral(" 1"));
    // The results themselves never ask: the era that was ending shows for an open year.
    QCOMPARE(form.EraNameEdits[0]->text(), QStringLiteral("令和"));
    form.hide();
}

void TestNenkaiForm::PrintReportsTheAnnualTitle() {
    ScriptedInteraction ui;
    FakeHost host(StoreFile());
    QPrinter printer;
    TNenkaiForm form(host, ui, printer);
    form.ComboBox2->setEditText(QString());
    ui.AnswerPrintDialog(false);
    QTest::mouseClick(form.Button2, Qt::LeftButton);
    QCOMPARE(ui.Messages, QStringList{kNenkaiTitleMissingMessage});
    QCOMPARE(ui.Dialogs.size(), std::size_t{1});
    QCOMPARE(ui.PendingAnswers(), std::size_t{0});
}

void TestNenkaiForm::PreviewKindFollowsItsOpener() {
    ScriptedInteraction ui;
    FakeHost host(StoreFile());
    SheetCommands commands(host, ui);
    host.Commands = &commands;
    TNenkaiForm form(host, ui, commands.Printer().Printer());
    TPrevForm& preview = commands.Preview();
    int annualPaints = 0;
    preview.AnnualPainter = [&](Canvas& canvas, int w, int h, FooterDrawRequest& request) {
        ++annualPaints;
        form.PaintPreview(canvas, w, h, request);
    };
    preview.AnnualPrint = [&form] { form.PrintNenkaiSheet(false); };
    form.ComboBox2->setEditText(QString());

    // From the annual window: the annual chart, and its print button prints that chart.
    ui.AnswerPrintDialog(false);
    WhenModal([&](QWidget*) {
        preview.PaintBox1->repaint();
        QTest::mouseClick(preview.SpeedButton1, Qt::LeftButton);
        preview.close();
    });
    QTest::mouseClick(form.Button1, Qt::LeftButton);
    QCOMPARE(preview.PreviewKind, 1);
    QVERIFY(annualPaints >= 1);
    QCOMPARE(ui.Messages, QStringList{kNenkaiTitleMissingMessage});

    // From the main window: the memorial sheet again, printed as the memorial sheet.
    ui.ClearRecords();
    annualPaints = 0;
    host.Opts.TitName.clear();
    ui.AnswerPrintDialog(false);
    WhenModal([&](QWidget*) {
        preview.PaintBox1->repaint();
        QTest::mouseClick(preview.SpeedButton1, Qt::LeftButton);
        preview.close();
    });
    host.ShowPreview(PreviewKind::Memorial);
    QCOMPARE(preview.PreviewKind, 0);
    QCOMPARE(annualPaints, 0);
    QCOMPARE(ui.Messages, QStringList{kTitleMissingMessage});
    QCOMPARE(host.Previews, (std::vector<PreviewKind>{PreviewKind::Annual, PreviewKind::Memorial}));
}

void TestNenkaiForm::PrintsTheFilledAndBlankChartThroughThePrintDialog() {
    ScriptedInteraction ui;
    FakeHost host(StoreFile());
    host.Opts.TmplNamePrint = true;
    host.Data.Yomi = u"しゃくじょうねんしんじ";
    FooterFrame temple;
    temple.Left = u"500";
    temple.Top = u"1000";
    temple.Right = u"4500";
    temple.Bottom = u"9000";
    temple.FontHeight = u"1400";
    temple.Spacing = u"150";
    temple.FontFace = u"IPAMincho";
    temple.Bold = u"B";
    temple.Kind = u"P";
    temple.Content = u"浄土真宗　光明山　西念寺";
    host.Foot.Append(temple);
    QPrinter printer(QPrinter::HighResolution);
    TNenkaiForm form(host, ui, printer);
    OpenAndClose(form, [&] {
        form.ComboBox2->setEditText(QStringLiteral("年回表"));
        for (const auto& [button, name] :
             {std::pair{form.Button2, QStringLiteral("annual-chart.pdf")},
              std::pair{form.Button4, QStringLiteral("annual-blank.pdf")}}) {
            const QString file = m_dir->filePath(name);
            ui.AnswerPrintDialog(true, [file](QPrinter& p) {
                p.setOutputFormat(QPrinter::PdfFormat);
                p.setOutputFileName(file);
            });
            QTest::mouseClick(button, Qt::LeftButton);
            QVERIFY(QFileInfo(file).size() > 0);
            // For looking at the pages: ULVAN_PRINT_DUMP=/dir keeps a copy of each.
            const QByteArray dump = qgetenv("ULVAN_PRINT_DUMP");
            if (!dump.isEmpty()) {
                const QString copy = QString::fromLocal8Bit(dump) + QLatin1Char('/') + name;
                QFile::remove(copy);
                QVERIFY(QFile::copy(file, copy));
            }
        }
    });
    QCOMPARE(ui.Log, (QStringList{QStringLiteral("print"), QStringLiteral("print")}));
}

QTEST_MAIN(TestNenkaiForm)
#include "sheet/QtText.h"
#include "tst_nenkaiform.moc"
