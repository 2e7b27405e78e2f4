// The window 今年の年回該当者: listing a record file for a year, loading a row into the main
// window, printing and saving the list.
#include "FakeHost.h"
#include "FileLimits.h"
#include "ModalDriver.h"
#include "ScriptedInteraction.h"
#include "annual/Nenkai.h"
#include "case/CaseHost.h"
#include "case/StoredCase.h"
#include "records/DueUnit.h"
#include "records/RecordFile.h"
#include "records/RecordLine.h"
#include "sheet/QtText.h"
#include "ui/UpDown.h"

#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPdfWriter>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <set>

using namespace ulvan;

namespace {

DeceasedData Record(std::u16string name, std::u16string year, std::u16string month,
                    std::u16string day) {
    DeceasedData d;
    d.Kaimyo = std::move(name);
    d.Yomi = u"よみ";
    d.Zokumyo = u"俗名" + d.Kaimyo;
    d.KiNen = std::move(year);
    d.KiGatsu = std::move(month);
    d.KiNichi = std::move(day);
    d.GyoNen = u"90";
    return d;
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A register of `count` deaths, one a year from 1980, on varying days; every tenth
// without a year.
QString WriteRegister(const QTemporaryDir& dir, int count, RecordEncoding encoding) {
    std::u16string text;
    for (int i = 0; i < count; ++i) {
        const std::u16string n = ToU16(QString::number(i));
        const std::u16string year = i % 10 == 9 ? u"" : ToU16(QString::number(1980 + i % 46));
        text += WriteRecordLine(Record(u"釋" + n, year, ToU16(QString::number(1 + i % 12)),
                                       ToU16(QString::number(1 + i % 28)))) +
                u"\r\n";
    }
    const QString path = dir.filePath(QStringLiteral("kako%1.csv").arg(int(encoding)));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(QByteArray::fromStdString(EncodeRecordText(text, encoding).Bytes));
    return path;
}

} // namespace

class TestDueForm : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    FakeHost m_host;
    ScriptedInteraction m_interaction;

private Q_SLOTS:
    void init() {
        m_host = FakeHost();
        m_host.Today = QDate(2025, 6, 1);
        m_host.Settings = m_dir.filePath(QStringLiteral("settings.ini"));
        m_interaction.ClearRecords();
    }
    void cleanup() { QCOMPARE(m_interaction.PendingAnswers(), std::size_t(0)); }

    void opensOnThisYearAndTheStoredFile() {
        const QString path = WriteRegister(m_dir, 300, RecordEncoding::Cp932);
        WriteDataFileName(m_host.Settings, ToU16(path));
        TDueForm form(m_host, m_interaction);
        int rows = -1;
        QString year, era, count;
        WhenModalOf<TDueForm>([&](TDueForm* shown) {
            rows = shown->DueTable->rowCount();
            year = shown->YearEdit->text();
            era = shown->EraLabel->text();
            count = shown->CountLabel->text();
            shown->reject();
        });
        QCOMPARE(form.Run(), false);
        QCOMPARE(year, QStringLiteral("2025"));
        QCOMPARE(era, QStringLiteral("令和7年"));
        QVERIFY(rows > 0);
        QVERIFY2(count.startsWith(QStringLiteral("読み込み 300件")), qPrintable(count));
        QVERIFY2(count.endsWith(QStringLiteral("没年不明 30件")), qPrintable(count));
    }

    // Each listed record checked against the annual chart of its year of death.
    void everyRowAgreesWithTheAnnualChart() {
        const QString path = WriteRegister(m_dir, 300, RecordEncoding::Utf8);
        TDueForm form(m_host, m_interaction);
        form.FileEdit->setText(path);
        form.YearEdit->setText(QStringLiteral("2025"));
        form.Reload();
        QVERIFY(form.DueTable->rowCount() > 0);
        QCOMPARE(form.UndatedTable->rowCount(), 30);
        int previous = 0;
        for (int r = 0; r < form.DueTable->rowCount(); ++r) {
            const DueEntry& entry = form.List().Due[std::size_t(r)];
            const auto chart = ComputeNenkai(entry.Record.KiNen, u"", u"");
            QVERIFY(chart.has_value());
            const NenkaiResult& item = (*chart)[entry.Item];
            QCOMPARE(QString::fromStdU16String(item.WesternYear).trimmed(), QStringLiteral("2025"));
            QCOMPARE(form.DueTable->item(r, kDueMemorial)->text(),
                     ToQ(NenkaiItems()[entry.Item].Name));
            const int key = entry.Month * 100 + entry.Day;
            QVERIFY(key >= previous);
            previous = key;
        }
        // Deaths fall in 1980 … 2025: 一周忌 (2024) … 三十七回忌 (1989) are owed; 五十回忌
        // would need 1976.
        std::set<std::int64_t> years;
        for (const DueEntry& entry : form.List().Due)
            years.insert(entry.DeathYear);
        QCOMPARE(years, (std::set<std::int64_t>{1989, 1993, 1999, 2001, 2003, 2009, 2013, 2019,
                                                2023, 2024}));
    }

    void nextYearSwitchAndUpDown() {
        const QString path = WriteRegister(m_dir, 50, RecordEncoding::Cp932);
        TDueForm form(m_host, m_interaction);
        form.FileEdit->setText(path);
        form.YearEdit->setText(QStringLiteral("2025"));
        form.Reload();
        const int thisYear = form.DueTable->rowCount();
        form.NextCheck->setChecked(true);
        const int both = form.DueTable->rowCount();
        QVERIFY(both > thisYear);
        form.NextCheck->setChecked(false);
        QTest::mouseClick(form.YearUpDown->UpButton(), Qt::LeftButton);
        QCOMPARE(form.YearEdit->text(), QStringLiteral("2026"));
        QCOMPARE(form.DueTable->rowCount(), both - thisYear);
        form.YearEdit->setText(QStringLiteral("二〇二五"));
        QCOMPARE(form.DueTable->rowCount(), 0);
        QVERIFY(!form.PrintButton->isEnabled());
        form.YearEdit->setText(QStringLiteral("2147483647"));
        QTest::mouseClick(form.YearUpDown->UpButton(), Qt::LeftButton);
        QCOMPARE(form.YearEdit->text(), QStringLiteral("2147483647"));
    }

    void doubleClickAndEnterLoadTheRecord_data() {
        QTest::addColumn<bool>("enter");
        QTest::newRow("double-click") << false;
        QTest::newRow("Enter") << true;
    }
    void doubleClickAndEnterLoadTheRecord() {
        QFETCH(bool, enter);
        const QString path = WriteRegister(m_dir, 50, RecordEncoding::Cp932);
        WriteDataFileName(m_host.Settings, ToU16(path));
        TDueForm form(m_host, m_interaction);
        DeceasedData expected;
        WhenModalOf<TDueForm>([&](TDueForm* shown) {
            QTableWidget* table = shown->DueTable;
            QVERIFY(table->rowCount() > 1);
            expected = shown->List().Due[1].Record;
            table->setFocus();
            table->setCurrentCell(1, 0);
            if (enter) {
                QTest::keyClick(table, Qt::Key_Return);
            } else {
                const QRect cell = table->visualItemRect(table->item(1, 2));
                // A double-click comes after the press of its first click.
                QTest::mousePress(table->viewport(), Qt::LeftButton, {}, cell.center());
                QTest::mouseRelease(table->viewport(), Qt::LeftButton, {}, cell.center());
                QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell.center());
            }
        });
        QCOMPARE(form.Run(), true);
        QCOMPARE(m_host.Records.size(), std::size_t(1));
        QVERIFY(m_host.Records[0] == expected);
    }

    void undatedRowLoadsToo() {
        const QString path = WriteRegister(m_dir, 20, RecordEncoding::Cp932);
        TDueForm form(m_host, m_interaction);
        form.FileEdit->setText(path);
        form.Reload();
        QCOMPARE(form.UndatedTable->rowCount(), 2);
        form.LoadRow(1, true);
        QCOMPARE(m_host.Records.size(), std::size_t(1));
        QCOMPARE(m_host.Records[0].Kaimyo, std::u16string(u"釋19"));
    }

    void missingFileSaysSo() {
        TDueForm form(m_host, m_interaction);
        form.FileEdit->setText(m_dir.filePath(QStringLiteral("none.csv")));
        form.Reload();
        QVERIFY(form.ProblemLabel->text().contains(QStringLiteral("ありません")));
        QCOMPARE(form.DueTable->rowCount(), 0);
        QVERIFY(!form.SaveButton->isEnabled());
    }

    void savesCsvInEitherEncoding_data() {
        QTest::addColumn<int>("combo");
        QTest::newRow("UTF-8 with BOM") << 0;
        QTest::newRow("code page 932") << 1;
    }
    void savesCsvInEitherEncoding() {
        QFETCH(int, combo);
        const QString path = WriteRegister(m_dir, 100, RecordEncoding::Cp932);
        TDueForm form(m_host, m_interaction);
        form.FileEdit->setText(path);
        form.Reload();
        form.EncodingCombo->setCurrentIndex(combo);
        const QString out = m_dir.filePath(QStringLiteral("out%1.csv").arg(combo));
        m_interaction.AnswerSaveFile(out);
        QVERIFY(form.SaveCsv());
        const QByteArray bytes = ReadAll(out);
        QCOMPARE(bytes.startsWith("\xEF\xBB\xBF"), combo == 0);
        const RecordFileText text = ReadRecordText(bytes.toStdString());
        QCOMPARE(text.Encoding, combo == 0 ? RecordEncoding::Utf8Bom : RecordEncoding::Cp932);
        QVERIFY(!text.HasUnreadable);
        QCOMPARE(text.Lines.size(), 1 + form.List().Due.size() + form.List().Undated.size());
        QCOMPARE(SplitCommaText(text.Lines[0])[kDueMemorial], DueHeader()[kDueMemorial]);
        QCOMPARE(SplitCommaText(text.Lines[1])[kDueKaimyo], form.List().Due[0].Record.Kaimyo);
        QCOMPARE(m_host.StatusMessages.size(), 1);
    }

    void cp932SaveAsksBeforeLosingCharacters() {
        QFile file(m_dir.filePath(QStringLiteral("emoji.csv")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QStringLiteral("釋😀/よみ,名,2024,,,1,1,9\r\n").toUtf8());
        file.close();
        TDueForm form(m_host, m_interaction);
        form.FileEdit->setText(file.fileName());
        form.Reload();
        QCOMPARE(form.DueTable->rowCount(), 1);
        form.EncodingCombo->setCurrentIndex(1);
        const QString out = m_dir.filePath(QStringLiteral("lost.csv"));
        m_interaction.AnswerSaveFile(out);
        m_interaction.AnswerConfirm(false);
        QVERIFY(!form.SaveCsv());
        QVERIFY(!QFile::exists(out));
    }

    void saveFailureIsReported() {
        const QString path = WriteRegister(m_dir, 20, RecordEncoding::Cp932);
        TDueForm form(m_host, m_interaction);
        form.FileEdit->setText(path);
        form.Reload();
        m_interaction.AnswerSaveFile(m_dir.filePath(QStringLiteral("no/such/dir/x.csv")));
        QVERIFY(!form.SaveCsv());
        QCOMPARE(m_interaction.Messages.size(), 1);
        QVERIFY(m_interaction.Messages[0].contains(QStringLiteral("書き込めません")));
    }

    void fullDiskSaveKeepsTheEarlierFile() {
        test::SmallFileSystem disk(64 * 1024);
        if (!disk.Usable())
            QSKIP(disk.Why());
        const QString out = disk.Path(QStringLiteral("list.csv"));
        const QByteArray earlier("an earlier list\r\n");
        QVERIFY(disk.Put(QStringLiteral("list.csv"), earlier));
        QVERIFY(disk.Fill(4096));
        TDueForm form(m_host, m_interaction);
        form.FileEdit->setText(WriteRegister(m_dir, 200, RecordEncoding::Cp932));
        form.Reload();
        m_interaction.AnswerSaveFile(out);
        QVERIFY(!form.SaveCsv());
        QCOMPARE(m_interaction.Messages.size(), 1);
        QVERIFY(m_interaction.Messages[0].contains(QString::fromLocal8Bit(strerror(ENOSPC))));
        QCOMPARE(ReadAll(out), earlier);
        QVERIFY(m_host.StatusMessages.isEmpty());
    }

    void printsPageAfterPage() {
        const QString path = WriteRegister(m_dir, 2000, RecordEncoding::Cp932);
        TDueForm form(m_host, m_interaction);
        form.FileEdit->setText(path);
        form.Reload();
        QVERIFY(form.List().Due.size() > 100);
        QBuffer pdf;
        pdf.open(QIODevice::WriteOnly);
        DuePrintResult result;
        {
            QPdfWriter writer(&pdf);
            writer.setPageOrientation(QPageLayout::Landscape);
            result = form.PaintTo(writer);
        }
        QVERIFY(result.Ok);
        QVERIFY2(result.Pages > 2, qPrintable(QString::number(result.Pages)));
        if (qEnvironmentVariableIsSet("ULVAN_DUE_PDF")) {
            QFile out(qEnvironmentVariable("ULVAN_DUE_PDF"));
            if (out.open(QIODevice::WriteOnly))
                out.write(pdf.data());
        }
    }

    void fileNameIsStoredOnClose() {
        TDueForm form(m_host, m_interaction);
        const QString typed = m_dir.filePath(QStringLiteral("typed.csv"));
        WhenModalOf<TDueForm>([&](TDueForm* shown) {
            shown->FileEdit->setText(typed);
            QTest::mouseClick(shown->CloseButton, Qt::LeftButton);
        });
        QCOMPARE(form.Run(), false);
        QCOMPARE(ToQ(ReadDataFileName(m_host.Settings)), typed);
    }

    // The picture for the README: ULVAN_DUE_PNG=docs/due-window.png.
    void screenshot() {
        if (!qEnvironmentVariableIsSet("ULVAN_DUE_PNG"))
            QSKIP("ULVAN_DUE_PNG not set");
        const QString path = WriteRegister(m_dir, 300, RecordEncoding::Cp932);
        TDueForm form(m_host, m_interaction);
        form.FileEdit->setText(path);
        form.YearEdit->setText(QStringLiteral("2025"));
        form.Reload();
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY(form.grab().save(qEnvironmentVariable("ULVAN_DUE_PNG")));
    }
};

QTEST_MAIN(TestDueForm)
#include "tst_dueform.moc"
