// The record file: the import window, the append window and the appending itself, against a
// small fake host and files in a temporary folder.
#include "FileLimits.h"
#include "ModalDriver.h"
#include "ScriptedInteraction.h"
#include "case/CaseHost.h"
#include "case/StoredCase.h"
#include "records/AddUnit.h"
#include "records/RecordFileIo.h"
#include "records/RecordLine.h"
#include "records/TakeUnit.h"
#include "sheet/QtText.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace ulvan;

namespace {

// The host as the two windows see it: a case to append, and a log of what they asked.
class RecordHost : public CaseHost {
public:
    DeceasedData Case;
    QString Settings;
    std::vector<DeceasedData> Applied;
    QStringList Status;

    DeceasedData Deceased() const override { return Case; }
    SheetOptions Options() const override { return {}; }
    MemorialSchedule Schedule() const override { return DefaultSchedule(); }
    FooterLayout Footer() const override { return {}; }
    std::vector<std::u16string> EraItems() const override { return {u"令和", u"平成", u"－－"}; }
    QDate CurrentDate() const override { return QDate(2024, 4, 1); }
    QString SettingsFile() const override { return Settings; }
    QWidget* HostWindow() const override { return nullptr; }
    void PrintMemorialSheet(bool /*blank*/) override {}
    void ShowPreview(PreviewKind /*kind*/) override {}
    void ApplyRecord(const DeceasedData& record) override { Applied.push_back(record); }
    void SetFooter(const FooterLayout& /*layout*/) override {}
    void ShowStatusMessage(const QString& text) override { Status.append(text); }
};

DeceasedData SampleCase() {
    DeceasedData d;
    d.Kaimyo = u"釋浄心";
    d.Yomi = u"しゃくじょうしん";
    d.Zokumyo = u"山田 太郎";
    d.KiNen = u"2019";
    d.KiNengo = u"令和";
    d.KiWanen = u" 1";
    d.KiGatsu = u"5";
    d.KiNichi = u"3";
    d.GyoNen = u"88";
    return d;
}

DeceasedData AsciiCase(const std::u16string& name) {
    DeceasedData d;
    d.Kaimyo = name;
    d.Yomi = u"yomi";
    d.Zokumyo = u"Taro, Yamada";
    d.KiNen = u"2019";
    d.KiNengo = u"R";
    d.KiWanen = u" 1";
    d.KiGatsu = u"5";
    d.KiNichi = u"3";
    d.GyoNen = u"88";
    return d;
}

QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray LineOf(const DeceasedData& d) {
    const std::u16string line = WriteRecordLine(d);
    return ToQ(line).toLatin1();
}

using test::AsOrdinaryUser;
using test::FileSizeLimit;
using test::SmallFileSystem;

QByteArray LineOfCp932(const DeceasedData& d) {
    return QByteArray::fromStdString(
        EncodeRecordText(WriteRecordLine(d), RecordEncoding::Cp932).Bytes);
}

} // namespace

class TestRecordFiles : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    RecordHost m_host;
    ScriptedInteraction m_interaction;
    int m_fileNumber = 0;

    QString NewPath() {
        return m_dir.filePath(QStringLiteral("records%1.txt").arg(++m_fileNumber));
    }

    // Appends the host's case to `path` as the append window's OK does.
    bool Append(const QString& path) {
        TAddForm form(m_host, m_interaction);
        form.Edit1->setText(path);
        return form.AppendRecord();
    }

    std::unique_ptr<TTakeForm> LoadedTakeForm(const QString& path) {
        auto form = std::make_unique<TTakeForm>(m_host, m_interaction);
        form->Edit1->setText(path);
        form->LoadRecordFile();
        return form;
    }

    static QStringList ShownFields(const TTakeForm& form) {
        QStringList shown;
        for (const QLineEdit* edit : {form.Edit2, form.Edit11, form.Edit3, form.Edit4, form.Edit5,
                                      form.Edit6, form.Edit7, form.Edit8, form.Edit9})
            shown.append(edit->text());
        return shown;
    }

    static QStringList FieldsOf(const DeceasedData& d) {
        return {ToQ(d.Kaimyo),  ToQ(d.Yomi),    ToQ(d.Zokumyo), ToQ(d.KiNen), ToQ(d.KiNengo),
                ToQ(d.KiWanen), ToQ(d.KiGatsu), ToQ(d.KiNichi), ToQ(d.GyoNen)};
    }

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        // An ordinary user must reach the files when a test drops root.
        QFile::setPermissions(m_dir.path(), QFile::permissions(m_dir.path()) |
                                                QFileDevice::ExeOther | QFileDevice::ReadOther);
        m_host.Settings = m_dir.filePath(QStringLiteral("settings.ini"));
    }
    void init() {
        m_host.Case = AsciiCase(u"Shaku");
        m_host.Applied.clear();
        m_host.Status.clear();
        m_interaction.ClearRecords();
    }
    void cleanup() {
        QCOMPARE(m_interaction.PendingAnswers(), std::size_t{0});
        QCOMPARE(m_interaction.UnscriptedCalls(), 0);
    }

    // ---- the import window --------------------------------------------------------------

    void threeLinesOpenOnTheLastAndPageWithoutWrapping() {
        const QString path = NewPath();
        WriteBytes(path, "a1/r1\r\na2/r2\r\na3/r3\r\n");
        auto form = LoadedTakeForm(path);
        struct Step {
            int button; // 0 first … 3 last
            const char* index;
            const char* name;
        };
        const Step steps[] = {{-1, "3", "a3"}, {1, "2", "a2"}, {1, "1", "a1"}, {1, "1", "a1"},
                              {3, "3", "a3"},  {2, "3", "a3"}, {0, "1", "a1"}, {2, "2", "a2"}};
        for (const Step& step : steps) {
            if (step.button >= 0)
                QTest::mouseClick(form->RecordButtons[static_cast<std::size_t>(step.button)],
                                  Qt::LeftButton);
            QCOMPARE(form->Edit10->text(), QString::fromLatin1(step.index));
            QCOMPARE(form->Edit2->text(), QString::fromLatin1(step.name));
        }
    }

    void linesShowTheirFields_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QStringList>("shown");
        const auto fields = [](std::initializer_list<const char*> texts) {
            QStringList list;
            for (const char* text : texts)
                list.append(QString::fromUtf8(text));
            return list;
        };
        QTest::newRow("no slash") << QByteArray("name,z,2019,R,1,5,3,88")
                                  << fields({"name", "", "z", "2019", "R", "1", "5", "3", "88"});
        QTest::newRow("second slash") << QByteArray("name/read/more,z")
                                      << fields({"name", "read/more", "z", "", "", "", "", "", ""});
        QTest::newRow("quoted comma and doubled quote")
            << QByteArray("n/r,\"a,\"\"b\",2019")
            << fields({"n", "r", "a,\"b", "2019", "", "", "", "", ""});
        QTest::newRow("unquoted blank shifts")
            << QByteArray("n/r,Taro Yamada,2019,R")
            << fields({"n", "r", "Taro", "Yamada", "2019", "R", "", "", ""});
        QTest::newRow("empty reading") << QByteArray("n/,z,2019,R,\" 1\",5,3,88")
                                       << fields({"n", "", "z", "2019", "R", " 1", "5", "3", "88"});
        QTest::newRow("extra fields ignored")
            << QByteArray("n/r,z,1,2,3,4,5,6,7,8")
            << fields({"n", "r", "z", "1", "2", "3", "4", "5", "6"});
    }
    void linesShowTheirFields() {
        QFETCH(QByteArray, line);
        QFETCH(QStringList, shown);
        const QString path = NewPath();
        WriteBytes(path, line + "\r\n");
        auto form = LoadedTakeForm(path);
        QCOMPARE(ShownFields(*form), shown);
        QCOMPARE(form->Edit10->text(), QStringLiteral("1"));
    }

    void missingOrEmptyFileEmptiesTheRecordQuietly_data() {
        QTest::addColumn<bool>("create");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("missing") << false << QByteArray();
        QTest::newRow("empty") << true << QByteArray();
        QTest::newRow("only ctrl-z") << true
                                     << QByteArray("\x1A"
                                                   "a/b\r\n");
    }
    void missingOrEmptyFileEmptiesTheRecordQuietly() {
        QFETCH(bool, create);
        QFETCH(QByteArray, bytes);
        const QString full = NewPath();
        WriteBytes(full, "a/b,c\r\n");
        auto form = LoadedTakeForm(full);
        const QString path = NewPath();
        if (create)
            WriteBytes(path, bytes);
        form->Edit1->setText(path);
        form->LoadRecordFile();
        QCOMPARE(form->RecordCount(), 0);
        QCOMPARE(form->Edit10->text(), QString());
        QCOMPARE(ShownFields(*form), QStringList(9, QString()));
        for (const QToolButton* button : form->RecordButtons)
            QVERIFY(!button->isEnabled());
        QVERIFY(form->Label16->text().isEmpty());
        QVERIFY(m_interaction.Log.isEmpty());
    }

    void unreadableBytesAreSaidAndTheFileIsLeftAlone() {
        const QString path = NewPath();
        const QByteArray bytes("\xEF\xBB\xBF"
                               "a\xFF/r,z\r\n");
        WriteBytes(path, bytes);
        auto form = LoadedTakeForm(path);
        QCOMPARE(form->Edit2->text(), QStringLiteral("a\uFFFD"));
        QVERIFY(!form->Label16->text().isEmpty());
        QCOMPARE(ReadBytes(path), bytes);
    }

    void aFolderIsNotReadAsAFile() {
        auto form = LoadedTakeForm(m_dir.path());
        QCOMPARE(form->RecordCount(), 0);
        QVERIFY(!form->Label16->text().isEmpty());
    }

    void editedNameIsReadOnlyOnReload() {
        const QString first = NewPath();
        WriteBytes(first, "first/r\r\n");
        const QString second = NewPath();
        WriteBytes(second, "second/r\r\n");
        auto form = LoadedTakeForm(first);
        form->Edit1->setText(second);
        QCOMPARE(form->Edit2->text(), QStringLiteral("first"));
        QTest::mouseClick(form->SpeedButton5, Qt::LeftButton);
        QCOMPARE(form->Edit2->text(), QStringLiteral("second"));
    }

    void browsingLoadsTheChosenFile() {
        const QString path = NewPath();
        WriteBytes(path, "chosen/r\r\n");
        auto form = LoadedTakeForm(QString());
        m_interaction.AnswerOpenFile(path);
        QTest::mouseClick(form->Button1, Qt::LeftButton);
        QCOMPARE(form->Edit1->text(), path);
        QCOMPARE(form->Edit2->text(), QStringLiteral("chosen"));
    }

    void okCopiesTheShownRecordAndCancelNothing_data() {
        QTest::addColumn<bool>("ok");
        QTest::newRow("OK") << true;
        QTest::newRow("Cancel") << false;
    }
    void okCopiesTheShownRecordAndCancelNothing() {
        QFETCH(bool, ok);
        const QString path = NewPath();
        WriteBytes(path, LineOf(AsciiCase(u"one")) + "\r\n" + LineOf(AsciiCase(u"two")) + "\r\n");
        WriteDataFileName(m_host.Settings, ToU16(path));
        TTakeForm form(m_host, m_interaction);
        const QString typed = NewPath();
        WhenModalOf<TTakeForm>([ok, typed](TTakeForm* shown) {
            QCOMPARE(shown->Edit2->text(), QStringLiteral("two")); // the last record first
            QTest::mouseClick(shown->RecordButtons[0], Qt::LeftButton);
            shown->Edit1->setText(typed);
            QTest::mouseClick(ok ? shown->Button2 : shown->Button3, Qt::LeftButton);
        });
        QCOMPARE(form.Run(), ok);
        QCOMPARE(m_host.Applied.size(), ok ? 1u : 0u);
        if (ok)
            QVERIFY(m_host.Applied[0] == AsciiCase(u"one"));
        // The name typed is stored, whichever way the window closed.
        QCOMPARE(ToQ(ReadDataFileName(m_host.Settings)), typed);
    }

    void everyShowingReadsTheFileAgain() {
        const QString path = NewPath();
        WriteBytes(path, "one/r\r\n");
        WriteDataFileName(m_host.Settings, ToU16(path));
        TTakeForm form(m_host, m_interaction);
        QStringList seen;
        for (const char* line : {"two/r\r\n", "three/r\r\n"}) {
            WhenModalOf<TTakeForm>([&seen](TTakeForm* shown) {
                seen.append(shown->Edit2->text() + shown->Edit10->text());
                shown->reject();
            });
            form.Run();
            QFile file(path);
            QVERIFY(file.open(QIODevice::Append));
            file.write(line);
        }
        QCOMPARE(seen, (QStringList{QStringLiteral("one1"), QStringLiteral("two2")}));
    }

    // ---- appending ------------------------------------------------------------------------

    void appendToMissingFileCreatesOneLine() {
        const QString path = NewPath();
        QVERIFY(Append(path));
        QCOMPARE(ReadBytes(path), LineOf(m_host.Case) + "\r\n");
        QCOMPARE(m_host.Status, QStringList{AppendedStatusText(QDir::toNativeSeparators(path))});
    }

    void appendTwiceAddsTwoLinesAndImportOpensOnTheSecond() {
        const QString path = NewPath();
        QVERIFY(Append(path));
        m_host.Case = AsciiCase(u"Second");
        QVERIFY(Append(path));
        auto form = LoadedTakeForm(path);
        QCOMPARE(form->RecordCount(), 2);
        QCOMPARE(form->Edit10->text(), QStringLiteral("2"));
        QCOMPARE(form->Edit2->text(), QStringLiteral("Second"));
    }

    void appendedRecordReadsBackUnchanged_data() {
        QTest::addColumn<QString>("yomi");
        QTest::addColumn<QString>("zokumyo");
        QTest::addColumn<QString>("wanen");
        QTest::newRow("empty reading")
            << QString() << QStringLiteral("Taro") << QStringLiteral("5");
        QTest::newRow("comma in name")
            << QStringLiteral("r") << QStringLiteral("Yamada, Taro") << QStringLiteral("5");
        QTest::newRow("one-digit era year")
            << QStringLiteral("r") << QStringLiteral("T") << QStringLiteral(" 1");
        QTest::newRow("quote in name")
            << QStringLiteral("r") << QStringLiteral("\"T\"") << QStringLiteral("12");
    }
    void appendedRecordReadsBackUnchanged() {
        QFETCH(QString, yomi);
        QFETCH(QString, zokumyo);
        QFETCH(QString, wanen);
        m_host.Case.Yomi = ToU16(yomi);
        m_host.Case.Zokumyo = ToU16(zokumyo);
        m_host.Case.KiWanen = ToU16(wanen);
        const QString path = NewPath();
        QVERIFY(Append(path));
        auto form = LoadedTakeForm(path);
        QCOMPARE(ShownFields(*form), FieldsOf(m_host.Case));
    }

    void fileEndsChangeOnlyAfterTheirLastLine_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("kept");    // the earlier bytes, which must stay
        QTest::addColumn<QByteArray>("lineEnd"); // written before the record
        QTest::newRow("ends with CR LF")
            << QByteArray("a/r\r\n") << QByteArray("a/r\r\n") << QByteArray();
        QTest::newRow("last line without its end")
            << QByteArray("a/r\r\nb/r") << QByteArray("a/r\r\nb/r") << QByteArray("\r\n");
        QTest::newRow("ctrl-z replaced")
            << QByteArray("a/r\r\n\x1A") << QByteArray("a/r\r\n") << QByteArray();
        QTest::newRow("ctrl-z and more") << QByteArray("a/r\r\n\x1A\x1A"
                                                       "junk")
                                         << QByteArray("a/r\r\n") << QByteArray();
        QTest::newRow("unended line before ctrl-z")
            << QByteArray("a/r\x1A") << QByteArray("a/r") << QByteArray("\r\n");
    }
    void fileEndsChangeOnlyAfterTheirLastLine() {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, kept);
        QFETCH(QByteArray, lineEnd);
        const QString path = NewPath();
        WriteBytes(path, before);
        QVERIFY(Append(path));
        QCOMPARE(ReadBytes(path), kept + lineEnd + LineOf(m_host.Case) + "\r\n");
        auto form = LoadedTakeForm(path);
        QCOMPARE(form->Edit2->text(), ToQ(m_host.Case.Kaimyo));
    }

    void utf8FileIsAppendedInUtf8_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::newRow("without mark") << QByteArray("\xE9\x87\x8B/r\r\n");
        QTest::newRow("with mark") << QByteArray("\xEF\xBB\xBF\xE9\x87\x8B/r\r\n");
    }
    void utf8FileIsAppendedInUtf8() {
        QFETCH(QByteArray, before);
        m_host.Case = SampleCase();
        m_host.Case.Zokumyo = u"山田😀太郎"; // any character fits UTF-8
        const QString path = NewPath();
        WriteBytes(path, before);
        QVERIFY(Append(path));
        const QByteArray expected = before + ToQ(WriteRecordLine(m_host.Case)).toUtf8() + "\r\n";
        QCOMPARE(ReadBytes(path), expected);
        QVERIFY(m_interaction.Questions.empty());
        auto form = LoadedTakeForm(path);
        QCOMPARE(ShownFields(*form), FieldsOf(m_host.Case));
    }

    // A file in another encoding, or in two, gets no line that would leave it unreadable.
    void fileInAnotherOrMixedEncodingIsRefused_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("said");
        QTest::newRow("UTF-16") << QByteArray("\xFF\xFE"
                                              "a\0/\0\r\0\n\0",
                                              10)
                                << QStringLiteral("UTF-16");
        QTest::newRow("UTF-8 then code page 932")
            << QByteArray("\xE9\x87\x8B/r\r\n\xE1\x60/r\r\n") << QStringLiteral("2行目");
        QTest::newRow("code page 932 then UTF-8")
            << QByteArray("a/r\r\n\xE1\x60/r\r\nb\r\n\xE9\x87\x8B/r\r\n")
            << QStringLiteral("4行目");
    }
    void fileInAnotherOrMixedEncodingIsRefused() {
        QFETCH(QByteArray, before);
        QFETCH(QString, said);
        m_host.Case = SampleCase();
        const QString path = NewPath();
        WriteBytes(path, before);
        QVERIFY(!Append(path));
        QCOMPARE(ReadBytes(path), before);
        QCOMPARE(m_interaction.Messages.size(), 1);
        const QString& message = m_interaction.Messages[0];
        QVERIFY2(message.contains(QDir::toNativeSeparators(path)), qPrintable(message));
        QVERIFY2(message.contains(said), qPrintable(message));
        QVERIFY2(message.contains(QStringLiteral("何も追記していません")), qPrintable(message));
        QVERIFY(m_host.Status.isEmpty());
    }

    // Half-width kana are valid UTF-8 as well; such a file is code page 932 and stays so.
    void halfWidthKanaFileGetsCodePage932() {
        m_host.Case = SampleCase();
        const QString path = NewPath();
        const QByteArray before("\xC6\xBC/\xC6\xBC\r\n"); // ﾆｼ/ﾆｼ, also the UTF-8 "Ƽ/Ƽ"
        WriteBytes(path, before);
        QVERIFY(Append(path));
        QCOMPARE(ReadBytes(path), before + LineOfCp932(m_host.Case) + "\r\n");
    }

    void fullDiskLeavesTheFileByteIdentical() {
        SmallFileSystem disk(64 * 1024);
        if (!disk.Usable())
            QSKIP(disk.Why());
        const QString path = disk.Path(QStringLiteral("kako.txt"));
        // A whole number of pages: any byte more needs room that the disk does not have.
        const QByteArray before = QByteArray("a/r,bc\r\n").repeated(511) + "ab/cd\r\n\x1A";
        QCOMPARE(before.size(), 4096);
        WriteBytes(path, before);
        QVERIFY(disk.Fill(0));
        QVERIFY(!Append(path));
        QCOMPARE(ReadBytes(path), before);
        QCOMPARE(m_interaction.Messages.size(), 1);
        QVERIFY(m_interaction.Messages[0].contains(QString::fromLocal8Bit(std::strerror(ENOSPC))));
        QVERIFY(m_interaction.Messages[0].contains(QStringLiteral("何も追記していません")));
    }

    void lostCharactersAreNamedAndAskedAbout_data() {
        QTest::addColumn<bool>("yes");
        QTest::newRow("Yes writes ?") << true;
        QTest::newRow("No writes nothing") << false;
    }
    void lostCharactersAreNamedAndAskedAbout() {
        QFETCH(bool, yes);
        m_host.Case.Zokumyo = u"Taro😀";
        const QString path = NewPath();
        const QByteArray before("a/r\r\n");
        WriteBytes(path, before);
        m_interaction.AnswerConfirm(yes);
        QCOMPARE(Append(path), yes);
        QCOMPARE(m_interaction.Questions.size(), std::size_t{1});
        QVERIFY(m_interaction.Questions[0].Text.contains(QStringLiteral("😀")));
        DeceasedData written = m_host.Case;
        written.Zokumyo = u"Taro?";
        QCOMPARE(ReadBytes(path), yes ? before + LineOf(written) + "\r\n" : before);
        QCOMPARE(m_host.Status.size(), yes ? 1 : 0);
    }

    void declinedAppendCreatesNoFile() {
        m_host.Case.Kaimyo = u"😀";
        const QString path = NewPath();
        m_interaction.AnswerConfirm(false);
        QVERIFY(!Append(path));
        QVERIFY(!QFile::exists(path));
    }

    // ---- a failed append changes nothing ---------------------------------------------------

    void failedOpenIsReportedAndWritesNothing_data() {
        QTest::addColumn<QString>("where");
        QTest::newRow("folder in its place") << QStringLiteral("folder");
        QTest::newRow("missing folder") << QStringLiteral("missing/records.txt");
        QTest::newRow("no name") << QString();
    }
    void failedOpenIsReportedAndWritesNothing() {
        QFETCH(QString, where);
        QDir(m_dir.path()).mkpath(QStringLiteral("folder"));
        const QString path = where.isEmpty() ? where : m_dir.filePath(where);
        QVERIFY(!Append(path));
        QCOMPARE(m_interaction.Messages.size(), 1);
        QVERIFY(m_interaction.Messages[0].contains(QStringLiteral("何も追記していません")));
        QVERIFY(m_host.Status.isEmpty());
        QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("missing"))));
    }

    void readOnlyFileStaysByteIdentical() {
        const QString path = NewPath();
        const QByteArray before("a/r\r\nb/r");
        WriteBytes(path, before);
        QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadOther));
        {
            AsOrdinaryUser user;
            QVERIFY(!Append(path));
        }
        QCOMPARE(ReadBytes(path), before);
        QCOMPARE(m_interaction.Messages.size(), 1);
        QVERIFY(m_interaction.Messages[0].contains(QString::fromLocal8Bit(std::strerror(EACCES))));
    }

    void writeFailingPartWayLeavesTheFileByteIdentical_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::newRow("plain end") << QByteArray(300, 'x') + "\r\n";
        QTest::newRow("unended last line") << QByteArray(300, 'x');
        QTest::newRow("after a ctrl-z cut") << QByteArray(300, 'x') + "\r\n\x1A"
                                                                      "tail";
    }
    void writeFailingPartWayLeavesTheFileByteIdentical() {
        QFETCH(QByteArray, before);
        const QString path = NewPath();
        WriteBytes(path, before);
        const AppendPlan plan = PlanRecordAppend(before.toStdString());
        const std::uint64_t newEnd = plan.CutAt + plan.LineEnd.size() +
                                     static_cast<std::uint64_t>(LineOf(m_host.Case).size()) + 2;
        QVERIFY(newEnd > static_cast<std::uint64_t>(before.size()) + 4);
        bool appended = true;
        {
            // Room for the old bytes and a few new ones, not the whole record.
            FileSizeLimit limit(static_cast<rlim_t>(before.size()) + 4);
            appended = Append(path);
        }
        QVERIFY(!appended);
        QCOMPARE(ReadBytes(path), before);
        QCOMPARE(m_interaction.Messages.size(), 1);
        QVERIFY(m_interaction.Messages[0].contains(QString::fromLocal8Bit(std::strerror(EFBIG))));
        QVERIFY(m_interaction.Messages[0].contains(QStringLiteral("何も追記していません")));
        QVERIFY(m_host.Status.isEmpty());
    }

    void newFileFailingPartWayIsRemoved() {
        const QString path = NewPath();
        bool appended = true;
        {
            FileSizeLimit limit(4);
            appended = Append(path);
        }
        QVERIFY(!appended);
        QVERIFY(!QFile::exists(path));
    }

    // ---- how the windows look ----------------------------------------------------------------

    void everyControlLiesInsideTheWindow_data() {
        QTest::addColumn<bool>("take");
        QTest::newRow("import") << true;
        QTest::newRow("append") << false;
    }
    void everyControlLiesInsideTheWindow() {
        QFETCH(bool, take);
        const QString path = NewPath();
        m_host.Case = SampleCase();
        WriteBytes(path, "\xEF\xBB\xBF" + ToQ(WriteRecordLine(m_host.Case)).toUtf8() + "\r\n");
        std::unique_ptr<QDialog> dialog;
        if (take) {
            dialog = LoadedTakeForm(path);
        } else {
            auto add = std::make_unique<TAddForm>(m_host, m_interaction);
            add->Edit1->setText(path);
            dialog = std::move(add);
        }
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        const QRect client = dialog->rect();
        for (const QWidget* child : dialog->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (child->isVisible())
                QVERIFY2(client.contains(child->geometry()), qPrintable(child->objectName()));
        }
        // Set RECORD_WINDOW_SHOTS to a folder to look at the windows.
        const QString shots = qEnvironmentVariable("RECORD_WINDOW_SHOTS");
        if (!shots.isEmpty())
            QVERIFY(dialog->grab().save(QDir(shots).filePath(take ? QStringLiteral("take.png")
                                                                  : QStringLiteral("add.png"))));
    }

    // ---- the append window ----------------------------------------------------------------

    void appendWindowOkAppendsAndCancelOnlyStoresTheName_data() {
        QTest::addColumn<bool>("ok");
        QTest::newRow("OK") << true;
        QTest::newRow("Cancel") << false;
    }
    void appendWindowOkAppendsAndCancelOnlyStoresTheName() {
        QFETCH(bool, ok);
        WriteDataFileName(m_host.Settings, u"stored.txt");
        const QString chosen = NewPath();
        TAddForm form(m_host, m_interaction);
        m_interaction.AnswerSaveFile(chosen);
        WhenModalOf<TAddForm>([ok](TAddForm* shown) {
            QCOMPARE(shown->Edit1->text(), QStringLiteral("stored.txt"));
            QTest::mouseClick(shown->Button1, Qt::LeftButton);
            QTest::mouseClick(ok ? shown->Button2 : shown->Button3, Qt::LeftButton);
        });
        form.Run();
        QCOMPARE(QFile::exists(chosen), ok);
        QCOMPARE(ToQ(ReadDataFileName(m_host.Settings)), chosen);
    }
};

QTEST_MAIN(TestRecordFiles)
#include "tst_recordfiles.moc"
