// The quick table window against a fake host: the year and era fields, the generated table,
// the editing commands, the save question, the text files in every encoding, failed saves
// and printing.
#include "FileLimits.h"
#include "ModalDriver.h"
#include "ScriptedInteraction.h"
#include "Typing.h"
#include "calendar/Era.h"
#include "case/CaseHost.h"
#include "quicktable/HayamiUnit.h"
#include "quicktable/QuickTable.h"
#include "records/Cp932.h"
#include "resources/HelpUnit.h"
#include "sheet/QtText.h"
#include "tests/support/Cp932Fixture.h"
#include "ui/UpDown.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

using namespace ulvan;

namespace {

// The host as the quick table window sees it: the era names and today.
class QuickTableHost final : public CaseHost {
public:
    QDate Today{2024, 4, 1};
    DeceasedData Deceased() const override { return {}; }
    SheetOptions Options() const override { return {}; }
    MemorialSchedule Schedule() const override { return DefaultSchedule(); }
    FooterLayout Footer() const override { return {}; }
    std::vector<std::u16string> EraItems() const override { return EraComboItems(); }
    QDate CurrentDate() const override { return Today; }
    QString SettingsFile() const override { return {}; }
    QWidget* HostWindow() const override { return nullptr; }
    void PrintMemorialSheet(bool) override {}
    void ShowPreview(PreviewKind) override {}
    void ApplyRecord(const DeceasedData&) override {}
    void SetFooter(const FooterLayout&) override {}
    void ShowStatusMessage(const QString&) override {}
};

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QString SaveQuestion(const QString& caption) {
    return QStringLiteral("ﾌｧｲﾙ") + caption +
           QStringLiteral("の内容が変更されています。\n変更を保存しますか？");
}

// The generated table for a year, with the era fields the window would set.
QString TableText(const std::u16string& year) {
    const EraFields era = SyncFiscalEra(year);
    return ToQ(BuildQuickTable(year, era.EraName, era.EraYear)->Text);
}

} // namespace

class TestHayami : public QObject {
    Q_OBJECT

private:
    QuickTableHost m_host;
    ScriptedInteraction m_ui;
    QPrinter m_printer{QPrinter::HighResolution};
    std::unique_ptr<THayamiForm> m_form;
    QTemporaryDir m_dir;

    QString Path(const QString& name) const { return m_dir.filePath(name); }

    // The window shown for a year, as the main window's command leaves it.
    void ShowFor(const QString& year) {
        m_form->Edit2->setText(year);
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    }

    // Types at the end of the text, as the user edits the table.
    void Edit(const QString& text) {
        m_form->RichEdit1->setFocus();
        m_form->RichEdit1->moveCursor(QTextCursor::End);
        TypeText(m_form->RichEdit1, text);
        QVERIFY(m_form->RichEdit1->document()->isModified());
    }

    void OpenFile(const QString& path) {
        m_ui.AnswerOpenFile(path);
        m_form->OpenFile();
    }

private Q_SLOTS:
    void init() {
        m_ui = ScriptedInteraction();
        m_form = std::make_unique<THayamiForm>(m_host, m_ui, m_printer);
        m_form->PrinterAvailable = [] { return false; };
        QApplication::clipboard()->clear();
    }

    void cleanup() {
        QCOMPARE(m_ui.PendingAnswers(), std::size_t{0});
        QCOMPARE(m_ui.UnscriptedCalls(), 0);
        m_form->RichEdit1->document()->setModified(false);
        m_form.reset();
    }

    // --- opening and the fields ---

    void executeShowsTheCurrentYear() {
        m_host.Today = QDate(2024, 12, 31);
        WhenModal([this](QWidget* widget) {
            QCOMPARE(widget, m_form.get());
            QCOMPARE(m_form->Edit2->text(), QStringLiteral("2024"));
            QCOMPARE(m_form->ComboBox1->currentText(), QStringLiteral("令和"));
            QCOMPARE(m_form->Edit3->text(), QStringLiteral(" 6"));
            QCOMPARE(m_form->windowTitle(), QStringLiteral("2024年度（令和 6年度）年回早見表"));
            QCOMPARE(m_form->RichEdit1->toPlainText(), TableText(u"2024"));
            QVERIFY(!m_form->RichEdit1->document()->isModified());
            widget->close();
        });
        m_form->Execute();
        QVERIFY(!m_form->isVisible());
    }

    void yearTypedRegeneratesWithItsEra_data() {
        QTest::addColumn<QString>("year");
        QTest::addColumn<QString>("era");
        QTest::addColumn<QString>("eraYear");
        QTest::addColumn<QString>("caption");
        QTest::newRow("2019 first Reiwa year") << "2019"
                                               << "令和"
                                               << " 1"
                                               << "2019年度（令和 1年度）年回早見表";
        QTest::newRow("1989 first Heisei year") << "1989"
                                                << "平成"
                                                << " 1"
                                                << "1989年度（平成 1年度）年回早見表";
        QTest::newRow("1500") << "1500"
                              << "明應"
                              << " 9"
                              << "1500年度（明應 9年度）年回早見表";
    }
    void yearTypedRegeneratesWithItsEra() {
        QFETCH(QString, year);
        QFETCH(QString, era);
        QFETCH(QString, eraYear);
        QFETCH(QString, caption);
        ShowFor(QStringLiteral("2024"));
        m_form->Edit2->clear();
        m_form->Edit2->setFocus();
        QTest::keyClicks(m_form->Edit2, year);
        QCOMPARE(m_form->ComboBox1->currentText(), era);
        QCOMPARE(m_form->Edit3->text(), eraYear);
        QCOMPARE(m_form->windowTitle(), caption);
        QCOMPARE(m_form->RichEdit1->toPlainText(), TableText(ToU16(year)));
    }

    void yearNotAnIntegerEmptiesTheTextKeepsTheCaption() {
        ShowFor(QStringLiteral("2024"));
        m_form->Edit2->setFocus();
        QTest::keyClick(m_form->Edit2, Qt::Key_Backspace); // "202": a table of its own
        const QString caption = m_form->windowTitle();
        QVERIFY(caption.startsWith(QStringLiteral("202年度")));
        QTest::keyClick(m_form->Edit2, Qt::Key_A); // "202a"
        QVERIFY(m_form->RichEdit1->toPlainText().isEmpty());
        QCOMPARE(m_form->windowTitle(), caption);
    }

    void eraChosenSetsTheYear() {
        ShowFor(QStringLiteral("2024"));
        const int heisei = m_form->ComboBox1->findText(QStringLiteral("平成"));
        QVERIFY(heisei > 0);
        m_form->ComboBox1->setCurrentIndex(heisei);
        Q_EMIT m_form->ComboBox1->activated(heisei);
        QCOMPARE(m_form->Edit2->text(), QStringLiteral("1994")); // 平成 6
        QCOMPARE(m_form->windowTitle(), QStringLiteral("1994年度（平成 6年度）年回早見表"));
    }

    void eraYearTypedSetsTheYear() {
        ShowFor(QStringLiteral("2024"));
        m_form->Edit3->clear();
        m_form->Edit3->setFocus();
        QTest::keyClicks(m_form->Edit3, QStringLiteral("1"));
        QCOMPARE(m_form->Edit2->text(), QStringLiteral("2019"));
        QCOMPARE(m_form->windowTitle(), QStringLiteral("2019年度（令和1年度）年回早見表"));
        QTest::keyClick(m_form->Edit3, Qt::Key_X);
        QVERIFY(m_form->Edit2->text().isEmpty());
        QVERIFY(m_form->RichEdit1->toPlainText().isEmpty());
    }

    void upDownStepsAndRegeneratesOnRelease() {
        ShowFor(QStringLiteral("2024"));
        QToolButton* up = m_form->UpDown1->UpButton();
        QTest::mouseClick(up, Qt::LeftButton);
        QCOMPARE(m_form->Edit2->text(), QStringLiteral("2025"));
        QCOMPARE(m_form->windowTitle(), QStringLiteral("2025年度（令和 7年度）年回早見表"));
        QTest::mouseClick(m_form->UpDown1->DownButton(), Qt::LeftButton);
        QTest::mouseClick(m_form->UpDown1->DownButton(), Qt::LeftButton);
        QCOMPARE(m_form->Edit2->text(), QStringLiteral("2023"));
        QVERIFY(m_ui.Beeps.empty());
    }

    void upDownOnNoIntegerBeeps() {
        ShowFor(QStringLiteral("2024"));
        m_form->Edit2->setText(QStringLiteral("20x"));
        QTest::mouseClick(m_form->UpDown1->UpButton(), Qt::LeftButton);
        QCOMPARE(m_form->Edit2->text(), QStringLiteral("20x"));
        QCOMPARE(m_ui.Beeps, std::vector<BeepKind>{BeepKind::Default});
    }

    void recalculateRegeneratesWithoutAsking() {
        ShowFor(QStringLiteral("2024"));
        Edit(QStringLiteral("追記"));
        QTest::mouseClick(m_form->Button1, Qt::LeftButton);
        QCOMPARE(m_form->RichEdit1->toPlainText(), TableText(u"2024"));
        QVERIFY(!m_form->RichEdit1->document()->isModified());
        QVERIFY(m_ui.Log.isEmpty());
    }

    // Keys that leave the year as it was (Tab into the field, arrows, a refused up-down
    // step) keep the edits; a changed year regenerates.
    void keysThatKeepTheYearKeepTheEdits() {
        ShowFor(QStringLiteral("2024"));
        Edit(QStringLiteral("追記"));
        const QString edited = m_form->RichEdit1->toPlainText();
        m_form->Edit2->setFocus();
        QTest::keyClick(m_form->Edit2, Qt::Key_Left);
        QTest::keyClick(m_form->Edit2, Qt::Key_Shift);
        QKeyEvent tabRelease(QEvent::KeyRelease, Qt::Key_Tab, Qt::NoModifier);
        QApplication::sendEvent(m_form->Edit3, &tabRelease);
        QCOMPARE(m_form->RichEdit1->toPlainText(), edited);
        QVERIFY(m_form->RichEdit1->document()->isModified());
        QTest::keyClick(m_form->Edit2, Qt::Key_End);
        QTest::keyClick(m_form->Edit2, Qt::Key_Backspace);
        QTest::keyClick(m_form->Edit2, Qt::Key_5);
        QCOMPARE(m_form->RichEdit1->toPlainText(), TableText(u"2025"));
    }

    void refusedStepKeepsTheEdits() {
        ShowFor(QStringLiteral("2024"));
        m_form->Edit2->setFocus();
        QTest::keyClick(m_form->Edit2, Qt::Key_Backspace);
        QTest::keyClick(m_form->Edit2, Qt::Key_X); // "202x": no table
        QVERIFY(m_form->RichEdit1->toPlainText().isEmpty());
        m_form->RichEdit1->setPlainText(QStringLiteral("自分のメモ"));
        QTest::mouseClick(m_form->UpDown1->UpButton(), Qt::LeftButton);
        QCOMPARE(m_ui.Beeps, std::vector<BeepKind>{BeepKind::Default});
        QCOMPARE(m_form->RichEdit1->toPlainText(), QStringLiteral("自分のメモ"));
    }

    // --- the command states ---

    void commandStatesFollowSelectionAndClipboard() {
        ShowFor(QStringLiteral("2024"));
        const QList<QAction*> selectionActions{m_form->Cut1, m_form->Cut2,    m_form->Copy1,
                                               m_form->C1,   m_form->Delete1, m_form->Delete2};
        const QList<QToolButton*> selectionButtons{m_form->ToolButton6, m_form->ToolButton7,
                                                   m_form->ToolButton9};
        const auto selectionEnabled = [&](bool enabled) {
            for (QAction* action : selectionActions)
                QCOMPARE(action->isEnabled(), enabled);
            for (QToolButton* button : selectionButtons)
                QCOMPARE(button->isEnabled(), enabled);
        };
        const auto pasteEnabled = [&](bool enabled) {
            QCOMPARE(m_form->Paste1->isEnabled(), enabled);
            QCOMPARE(m_form->Paste2->isEnabled(), enabled);
            QCOMPARE(m_form->ToolButton8->isEnabled(), enabled);
        };
        selectionEnabled(false);
        pasteEnabled(false);
        m_form->SelectAll1->trigger();
        selectionEnabled(true);
        m_form->C1->trigger();
        pasteEnabled(true);
        QCOMPARE(QApplication::clipboard()->text(), TableText(u"2024"));
        m_form->Delete1->trigger();
        QVERIFY(m_form->RichEdit1->toPlainText().isEmpty());
        selectionEnabled(false);
        m_form->Paste2->trigger();
        QCOMPARE(m_form->RichEdit1->toPlainText(), TableText(u"2024"));
        QApplication::clipboard()->clear();
        pasteEnabled(false);
        m_form->RichEdit1->document()->setModified(false);
    }

    void hintsInTheStatusBar() {
        ShowFor(QStringLiteral("2024"));
        QCOMPARE(m_form->ToolButton3->toolTip(),
                 QStringLiteral("テキストファイルとして名前をつけて保存します"));
        QCOMPARE(m_form->SaveAs1->statusTip(), QStringLiteral("テキストファイルとして保存します"));
        QStatusTipEvent tip(m_form->Exit1->statusTip());
        QApplication::sendEvent(m_form.get(), &tip);
        QCOMPARE(m_form->StatusBar1->currentMessage(), QStringLiteral("年回早見表を終了します"));
    }

    // --- the save question ---

    void closeCancelKeepsTheWindow() {
        ShowFor(QStringLiteral("2024"));
        Edit(QStringLiteral("追記"));
        const QString text = m_form->RichEdit1->toPlainText();
        m_ui.AnswerYesNoCancel(Interaction::Choice::Cancel);
        QVERIFY(!m_form->close());
        QVERIFY(m_form->isVisible());
        QCOMPARE(m_ui.Log,
                 QStringList({QStringLiteral("beep: exclamation"),
                              QStringLiteral("ask: 警告 | ") + SaveQuestion(m_form->Caption())}));
        QCOMPARE(m_form->RichEdit1->toPlainText(), text);
    }

    void closeYesThenCancelledDialogKeepsTheEdits() {
        ShowFor(QStringLiteral("2024"));
        Edit(QStringLiteral("追記"));
        m_ui.AnswerYesNoCancel(Interaction::Choice::Yes);
        m_ui.AnswerSaveFile(QString());
        QVERIFY(!m_form->close());
        QVERIFY(m_form->isVisible());
        QVERIFY(m_form->RichEdit1->document()->isModified());
        QVERIFY(m_form->RichEdit1->toPlainText().endsWith(QStringLiteral("追記")));
    }

    void closeNoDiscards() {
        ShowFor(QStringLiteral("2024"));
        Edit(QStringLiteral("追記"));
        m_ui.AnswerYesNoCancel(Interaction::Choice::No);
        QVERIFY(m_form->close());
    }

    void saveThenCloseAsksNothing() {
        ShowFor(QStringLiteral("2024"));
        Edit(QStringLiteral("追記"));
        m_ui.AnswerSaveFile(Path(QStringLiteral("saved.txt")));
        m_form->SaveAs1->trigger();
        QVERIFY(!m_form->RichEdit1->document()->isModified());
        m_ui.ClearRecords();
        QVERIFY(m_form->close());
        QVERIFY(m_ui.Log.isEmpty());
    }

    void openAsksFirstAndCancelAbandons() {
        ShowFor(QStringLiteral("2024"));
        Edit(QStringLiteral("追記"));
        m_ui.AnswerYesNoCancel(Interaction::Choice::Cancel);
        m_form->Open1->trigger();
        QCOMPARE(m_ui.Dialogs.size(), std::size_t{0}); // no open dialog
        QVERIFY(m_form->RichEdit1->document()->isModified());
    }

    void closeUnmodifiedAsksNothing() {
        ShowFor(QStringLiteral("2024"));
        QVERIFY(m_form->close());
        QVERIFY(m_ui.Log.isEmpty());
    }

    // --- text files ---

    void freshTableSavedAsCodePage932() {
        ShowFor(QStringLiteral("2024"));
        const QString path = Path(QStringLiteral("fresh.txt"));
        m_ui.AnswerSaveFile(path);
        QVERIFY(m_form->SaveAs());
        QCOMPARE(m_ui.Dialogs.back().Dir, m_form->Caption() + QStringLiteral(".txt"));
        QString expected = TableText(u"2024");
        expected.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
        const std::string bytes = EncodeCp932(ToU16(expected), nullptr);
        QCOMPARE(ReadAll(path), QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
        QCOMPARE(ReadAll(path).left(2), QByteArray("=="));
    }

    // What the window writes in code page 932 is what the hand-written fixture holds.
    void codePage932MatchesTheFixture() {
        ShowFor(QStringLiteral("2024"));
        QString text;
        QByteArray bytes;
        for (const test::Cp932Row& row : test::Cp932Rows()) {
            // Rows the text area cannot hold as typed text (control characters) and the
            // read-only rows stay out.
            const bool control = row.Text.size() == 1 && row.Text[0] < u' ';
            if (row.Way == test::Cp932Way::ReadOnly || control ||
                row.Text == std::u16string(u"\x7F"))
                continue;
            text += ToQ(row.Text);
            bytes += QByteArray(row.Bytes.data(), static_cast<qsizetype>(row.Bytes.size()));
        }
        m_form->RichEdit1->setPlainText(text);
        const QString path = Path(QStringLiteral("fixture.txt"));
        m_ui.AnswerSaveFile(path);
        QVERIFY(m_form->SaveAs());
        QCOMPARE(ReadAll(path).toHex(' '), bytes.replace("\n", "\n").toHex(' '));
    }

    void everyEncodingReadAndWrittenBack_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("encoding");
        const QString table = TableText(u"2068") + QStringLiteral("\n髙橋 﨑 〜");
        QString crlf = table;
        crlf.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
        QByteArray le("\xFF\xFE"), be("\xFE\xFF");
        for (const QChar c : crlf) {
            const char16_t u = c.unicode();
            le.append(static_cast<char>(u & 0xFF)).append(static_cast<char>(u >> 8));
            be.append(static_cast<char>(u >> 8)).append(static_cast<char>(u & 0xFF));
        }
        QString cp932Text = crlf;
        cp932Text.replace(QStringLiteral("〜"), QStringLiteral("～"));
        const std::string cp932 = EncodeCp932(ToU16(cp932Text), nullptr);
        QTest::newRow("UTF-16 LE") << le << int(TextEncoding::Utf16Le);
        QTest::newRow("UTF-16 BE") << be << int(TextEncoding::Utf16Be);
        QTest::newRow("UTF-8 with BOM")
            << QByteArray("\xEF\xBB\xBF") + crlf.toUtf8() << int(TextEncoding::Utf8Bom);
        QTest::newRow("UTF-8 without BOM") << crlf.toUtf8() << int(TextEncoding::Utf8);
        QTest::newRow("code page 932")
            << QByteArray(cp932.data(), static_cast<qsizetype>(cp932.size()))
            << int(TextEncoding::Cp932);
    }
    void everyEncodingReadAndWrittenBack() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, encoding);
        ShowFor(QStringLiteral("2024"));
        const QString path = Path(QStringLiteral("table.txt"));
        WriteAll(path, bytes);
        OpenFile(path);
        QCOMPARE(m_form->windowTitle(), QDir::toNativeSeparators(path));
        QCOMPARE(int(m_form->SaveEncoding()), encoding);
        QVERIFY(m_form->RichEdit1->toPlainText().startsWith(QStringLiteral("====")));
        QVERIFY(m_form->RichEdit1->toPlainText().contains(QStringLiteral("髙橋 﨑")));
        QVERIFY(!m_form->RichEdit1->document()->isModified());
        // Saved again under its own name (no second ".txt"), byte for byte.
        m_ui.AnswerSaveFile(path);
        QVERIFY(m_form->SaveAs());
        QCOMPARE(m_ui.Dialogs.back().Dir, QDir::toNativeSeparators(path));
        QCOMPARE(ReadAll(path), bytes);
        // A fresh table in the same run is written in the same encoding.
        QTest::mouseClick(m_form->Button1, Qt::LeftButton);
        const QString fresh = Path(QStringLiteral("fresh.txt"));
        m_ui.AnswerSaveFile(fresh);
        QVERIFY(m_form->SaveAs());
        OpenFile(fresh);
        QCOMPARE(int(m_form->SaveEncoding()), encoding);
        QCOMPARE(m_form->RichEdit1->toPlainText(), TableText(u"2024"));
    }

    // The dialogs start in the folder of the file last saved or opened in the run.
    void dialogsStartWhereTheLastFileWas() {
        ShowFor(QStringLiteral("2024"));
        const QString folder = Path(QStringLiteral("tables"));
        QVERIFY(QDir().mkpath(folder));
        m_ui.AnswerSaveFile(folder + QStringLiteral("/first.txt"));
        QVERIFY(m_form->SaveAs());
        m_ui.AnswerOpenFile(QString());
        m_form->OpenFile();
        QCOMPARE(m_ui.Dialogs.back().Dir, folder);
        m_ui.AnswerSaveFile(QString());
        QVERIFY(!m_form->SaveAs());
        QCOMPARE(m_ui.Dialogs.back().Dir,
                 QDir(folder).filePath(m_form->Caption() + QStringLiteral(".txt")));
    }

    void unrepresentableCharactersNamedThenUtf8() {
        ShowFor(QStringLiteral("2024"));
        m_form->RichEdit1->setPlainText(
            QStringLiteral("a\u00E9b\U00020BB7c\u20AC\u00E9\u00E9\u00E9"));
        const QString path = Path(QStringLiteral("named.txt"));
        m_ui.AnswerSaveFile(path);
        m_ui.AnswerConfirm(false);
        QVERIFY(!m_form->SaveAs());
        QVERIFY(!QFile::exists(path));
        const QString question = m_ui.Questions.back().Text;
        QVERIFY2(question.contains(QStringLiteral("全部で 6 文字")), qPrintable(question));
        QVERIFY(question.contains(QStringLiteral("「é」(U+00E9)")));
        QVERIFY(question.contains(QStringLiteral("「\U00020BB7」(U+20BB7)")));
        QVERIFY(question.contains(QStringLiteral("ほか")));

        m_ui.AnswerSaveFile(path);
        m_ui.AnswerConfirm(true);
        QVERIFY(m_form->SaveAs());
        QCOMPARE(ReadAll(path),
                 QByteArray("\xEF\xBB\xBF") +
                     QStringLiteral("a\u00E9b\U00020BB7c\u20AC\u00E9\u00E9\u00E9").toUtf8());
        QCOMPARE(m_form->SaveEncoding(), TextEncoding::Utf8Bom);
        // Later saves stay UTF-8 with its mark without asking.
        m_form->RichEdit1->setPlainText(QStringLiteral("令和"));
        m_ui.AnswerSaveFile(path);
        QVERIFY(m_form->SaveAs());
        QCOMPARE(ReadAll(path), QByteArray("\xEF\xBB\xBF") + QStringLiteral("令和").toUtf8());
    }

    void unreadableBytesReported() {
        ShowFor(QStringLiteral("2024"));
        const QString path = Path(QStringLiteral("broken.txt"));
        WriteAll(path, QByteArray("\x97\xDF\x85\x80x\x81"));
        OpenFile(path);
        QCOMPARE(m_form->RichEdit1->toPlainText(), QStringLiteral("令\uFFFDx\uFFFD"));
        QCOMPARE(m_ui.Messages.size(), 1);
        QVERIFY(m_ui.Messages[0].contains(QStringLiteral("2 箇所")));
    }

    void unopenableFilesLeaveTheText_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("reason");
        QTest::newRow("folder") << "folder"
                                << "通常のファイルではありません";
        QTest::newRow("over 64 MB") << "huge.txt"
                                    << "大きすぎます";
        QTest::newRow("missing") << "missing.txt"
                                 << "No such file";
    }
    void unopenableFilesLeaveTheText() {
        QFETCH(QString, name);
        QFETCH(QString, reason);
        ShowFor(QStringLiteral("2024"));
        QVERIFY(QDir().mkpath(Path(QStringLiteral("folder"))));
        QFile huge(Path(QStringLiteral("huge.txt")));
        QVERIFY(huge.open(QIODevice::WriteOnly));
        QVERIFY(huge.resize(64LL * 1024 * 1024 + 1)); // sparse
        huge.close();
        const QString text = m_form->RichEdit1->toPlainText();
        const QString caption = m_form->Caption();
        OpenFile(Path(name));
        QCOMPARE(m_ui.Messages.size(), 1);
        QVERIFY2(m_ui.Messages[0].contains(reason), qPrintable(m_ui.Messages[0]));
        QCOMPARE(m_form->RichEdit1->toPlainText(), text);
        QCOMPARE(m_form->Caption(), caption);
        QVERIFY(huge.remove());
    }

    // --- failed saves ---

    void readOnlyFolderKeepsTheOldFile() {
        ShowFor(QStringLiteral("2024"));
        const QString folder = Path(QStringLiteral("ro"));
        QVERIFY(QDir().mkpath(folder));
        const QString path = folder + QStringLiteral("/old.txt");
        WriteAll(path, QByteArray("old contents"));
        QVERIFY(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        const bool bypassed = ::access(folder.toLocal8Bit().constData(), W_OK) == 0;
        if (bypassed) {
            QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                              QFileDevice::ExeOwner);
            QSKIP("this user writes into read-only folders (root); the size limit test covers it");
        }
        Edit(QStringLiteral("追記"));
        m_ui.AnswerSaveFile(path);
        QVERIFY(!m_form->SaveAs());
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                          QFileDevice::ExeOwner);
        QCOMPARE(ReadAll(path), QByteArray("old contents"));
        QCOMPARE(m_ui.Messages.size(), 1);
        QVERIFY(m_ui.Messages[0].startsWith(QStringLiteral("保存できませんでした。")));
        QVERIFY(m_ui.Messages[0].contains(path));
        QVERIFY(m_ui.Messages[0].contains(QStringLiteral("元のファイルは変更されていません")));
        QVERIFY(m_form->RichEdit1->document()->isModified());
    }

    void folderThatCannotHoldFilesReported() {
        ShowFor(QStringLiteral("2024"));
        Edit(QStringLiteral("追記"));
        // A path below a plain file: no temporary file can be made there, not even by root.
        const QString blocker = Path(QStringLiteral("blocker"));
        WriteAll(blocker, QByteArray("x"));
        m_ui.AnswerSaveFile(blocker + QStringLiteral("/table.txt"));
        QVERIFY(!m_form->SaveAs());
        QCOMPARE(m_ui.Messages.size(), 1);
        QVERIFY(m_ui.Messages[0].contains(QStringLiteral("保存できませんでした")));
        QVERIFY(m_form->RichEdit1->document()->isModified());
        QCOMPARE(ReadAll(blocker), QByteArray("x"));
    }

    void writeFailingPartWayKeepsTheOldFile() {
        ShowFor(QStringLiteral("2024"));
        const QString path = Path(QStringLiteral("limited.txt"));
        WriteAll(path, QByteArray("old contents"));
        const QStringList before = QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden);
        m_form->RichEdit1->insertPlainText(QString(20000, QLatin1Char('x'))); // edited
        m_ui.AnswerSaveFile(path);

        rlimit old{};
        QCOMPARE(::getrlimit(RLIMIT_FSIZE, &old), 0);
        const auto previous = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = old;
        small.rlim_cur = 4096;
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &small), 0);
        const bool saved = m_form->SaveAs();
        ::setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, previous);

        QVERIFY(!saved);
        QCOMPARE(ReadAll(path), QByteArray("old contents"));
        QCOMPARE(m_ui.Messages.size(), 1);
        QVERIFY(m_ui.Messages[0].contains(QStringLiteral("元のファイルは変更されていません")));
        QVERIFY(m_form->RichEdit1->document()->isModified());
        // No temporary file left beside it.
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden), before);
    }

    // The table is smaller than Qt's write buffer: it used to reach the disk only at the
    // close, whose failure went unnoticed.
    void fullDiskKeepsTheOldFile() {
        test::SmallFileSystem disk(64 * 1024);
        if (!disk.Usable())
            QSKIP(disk.Why());
        ShowFor(QStringLiteral("2024"));
        const QString path = disk.Path(QStringLiteral("table.txt"));
        WriteAll(path, QByteArray("old contents"));
        QVERIFY(disk.Fill(0));
        Edit(QStringLiteral("追記"));
        m_ui.AnswerSaveFile(path);
        QVERIFY(!m_form->SaveAs());
        QCOMPARE(ReadAll(path), QByteArray("old contents"));
        QCOMPARE(m_ui.Messages.size(), 1);
        QVERIFY(m_ui.Messages[0].contains(QString::fromLocal8Bit(strerror(ENOSPC))));
        QVERIFY(m_form->RichEdit1->document()->isModified());
    }

    // --- printing ---

    void printsEveryPageAsPdfWithoutAPrinter() {
        ShowFor(QStringLiteral("2024"));
        QStringList lines;
        for (int i = 1; i <= 150; ++i)
            lines.append(QStringLiteral("%1行目 年回早見表の印刷").arg(i));
        m_form->RichEdit1->setPlainText(lines.join(QLatin1Char('\n')));
        const QString pdf = Path(QStringLiteral("print.pdf"));
        m_ui.AnswerConfirm(true);
        m_ui.AnswerSaveFile(pdf);
        m_form->Print1->trigger();
        QCOMPARE(m_ui.Dialogs.back().Dir, m_form->Caption() + QStringLiteral(".pdf"));
        const QByteArray bytes = ReadAll(pdf);
        QVERIFY(bytes.startsWith("%PDF"));
        QCOMPARE(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") +
                     bytes.count("/Type /Page>") + bytes.count("/Type /Page/"),
                 3);
        QVERIFY(m_ui.Messages.isEmpty());
    }

    // With a printer: no question, no dialog, the caption as the job's title.
    void printsOnTheApplicationsPrinter() {
        ShowFor(QStringLiteral("2024"));
        const QString pdf = Path(QStringLiteral("printer.pdf"));
        m_printer.setOutputFormat(QPrinter::PdfFormat);
        m_printer.setOutputFileName(pdf);
        m_form->PrinterAvailable = [] { return true; };
        m_form->ToolButton4->click();
        QVERIFY(m_ui.Log.isEmpty());
        QCOMPARE(m_printer.docName(), m_form->Caption());
        QVERIFY(ReadAll(pdf).startsWith("%PDF"));
        m_printer.setOutputFileName(QString());
    }

    void printDeclinedPrintsNothing() {
        ShowFor(QStringLiteral("2024"));
        m_ui.AnswerConfirm(false);
        m_form->ToolButton4->click();
        QCOMPARE(m_ui.Dialogs.size(), std::size_t{0});
    }

    void helpOpensTheGuideAtItsSection() {
        ShowFor(QStringLiteral("2024"));
        QStringList anchors;
        m_form->OnHelp = [&anchors](const QString& anchor) { anchors.append(anchor); };
        m_form->SearchforHelpOn1->trigger();
        QCOMPARE(anchors, QStringList{QStringLiteral("quicktable")});
        QFile help(QStringLiteral(":/help/Ulvan.html"));
        QVERIFY(help.open(QIODevice::ReadOnly));
        const QString page = QString::fromUtf8(help.readAll());
        QVERIFY(page.contains(QStringLiteral("name=\"quicktable\"")));
        QVERIFY(page.contains(QStringLiteral("href=\"#quicktable\""))); // in the contents
    }

    // The guide opened from the modal window stands over it and takes input.
    void helpStandsOverTheModalWindow() {
        QWidget home;
        THelpForm help(&home);
        bool over = false;
        QString fragment;
        m_form->OnHelp = [&](const QString& anchor) { help.ShowTopic(anchor, m_form.get()); };
        WhenModal([&](QWidget* widget) {
            QCOMPARE(widget, m_form.get());
            m_form->SearchforHelpOn1->trigger();
            over = help.isVisible() && help.parentWidget() == m_form.get();
            fragment = help.HelpText->source().fragment();
            m_form->Exit1->trigger();
        });
        m_form->Execute();
        QVERIFY(over);
        QCOMPARE(fragment, QStringLiteral("quicktable"));
        QCOMPARE(help.parentWidget(), &home);
    }
};

QTEST_MAIN(TestHayami)
#include "tst_hayami.moc"
