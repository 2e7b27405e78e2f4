// Reading the settings file before relying on it: files that did not read cleanly are kept
// as a copy before the first save and the user is told once; files that cannot be read are
// reported and left alone; nothing blocks on a FIFO or a device; long values come back whole;
// a picture missing during a preview does not change the stored layout.
#include "ModalDriver.h"
#include "ScriptedInteraction.h"
#include "StoreKeys.h"
#include "app/CommandLine.h"
#include "app/UlvanMain.h"
#include "case/SettingsCheck.h"
#include "case/SettingsStore.h"
#include "case/StoredCase.h"
#include "footer/FooterRenderer.h"
#include "sheet/PrevUnit.h"
#include "sheet/QtText.h"
#include "sheet/SheetCommands.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

#include <sstream>
#include <string>
#include <vector>

using namespace ulvan;
using namespace ulvan::test;

namespace {

// What any start or check may take at most; a blocked read would take forever.
constexpr qint64 kTimeLimitMs = 5000;

QByteArray ReadBytes(const QString& file) {
    QFile in(file);
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
}

bool WriteBytes(const QString& file, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(file).absolutePath());
    QFile out(file);
    return out.open(QIODevice::WriteOnly | QIODevice::Truncate) && out.write(bytes) == bytes.size();
}

// The copies kept beside `file`.
QStringList CopiesOf(const QString& file) {
    const QFileInfo info(file);
    return QDir(info.absolutePath())
        .entryList({info.fileName() + QStringLiteral(".bak-*")}, QDir::Files);
}

// A store as the program writes it, with the title and the name in the first key.
QByteArray CleanStore(const QByteArray& title = "Ulvan\xe8\xa1\xa8") {
    return "[1.0]\nSetData\\TitName=" + title +
           "\nSetData\\FntName1=\xef\xbc\xad\xef\xbc\xb3 \xe6\x98\x8e\xe6\x9c\x9d\n";
}

// "Ulvan表" and "ＭＳ 明朝" in code page 932: 表 is 0x95 0x5C, its second byte a backslash.
const QByteArray kCp932Store =
    QByteArrayLiteral("[1.0]\nSetData\\TitName=Ulvan\x95\x5C\n"
                      "SetData\\FntName1=\x82\x6C\x82\x72 \x96\xBE\x92\xA9\n");

enum class Special { Fifo, Device, Folder, UnderPlainFile, NoPermission };

// Puts something unreadable where `file` is expected; false when it cannot be made here.
bool MakeSpecial(Special kind, const QString& file) {
    QDir().mkpath(QFileInfo(file).absolutePath());
    switch (kind) {
    case Special::Fifo:
        return mkfifo(QFile::encodeName(file).constData(), 0600) == 0;
    case Special::Device:
        return QFile::link(QStringLiteral("/dev/zero"), file);
    case Special::Folder:
        return QDir().mkpath(file);
    case Special::UnderPlainFile:
        return true; // the caller names a file under a plain file
    case Special::NoPermission:
        return WriteBytes(file, CleanStore()) &&
               QFile::setPermissions(file, QFileDevice::Permissions());
    }
    return false;
}

} // namespace

class TestSettingsRead : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    // The check on its own.
    void FileStates_data();
    void FileStates();
    void SpecialFilesUnreadableWithoutWaiting_data();
    void SpecialFilesUnreadableWithoutWaiting();

    // The main window's start and close.
    void UncleanFileCopiedAndToldOnce_data();
    void UncleanFileCopiedAndToldOnce();
    void LongValuesSurviveStartAndClose();
    void UnreadableFileReportedAndLeftAlone_data();
    void UnreadableFileReportedAndLeftAlone();
    void FirstStartSaysNothing();

    // The command line.
    void SheetCommandStopsOnUnreadableSettings_data();
    void SheetCommandStopsOnUnreadableSettings();

    // The footer's kind after a preview with its picture missing.
    void MissingPictureKindStoredAfterPreview();

private:
    QTemporaryDir m_dir;
    QString File() const { return m_dir.filePath(QStringLiteral("Pelvo/Dorim.conf")); }
};

void TestSettingsRead::init() {
    QVERIFY(m_dir.isValid());
    ForgetUnreadablePictures();
}

void TestSettingsRead::cleanup() {
    // Back to an empty folder for the next test (a FIFO or a folder may stand there).
    QDir pelvo(m_dir.filePath(QStringLiteral("Pelvo")));
    QFile::setPermissions(File(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    pelvo.removeRecursively();
    QFile::remove(m_dir.filePath(QStringLiteral("plain")));
}

void TestSettingsRead::FileStates_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("state");
    QTest::addColumn<QString>("finding"); // part of a finding expected, if any

    const int clean = static_cast<int>(SettingsFileState::Clean);
    const int unclean = static_cast<int>(SettingsFileState::Unclean);
    QTest::newRow("as written") << CleanStore() << clean << QString();
    QTest::newRow("text starting with @") << CleanStore("@@mark") << clean << QString();
    QTest::newRow("text holding a NUL") << CleanStore("@String(a\\0b)") << clean << QString();
    QTest::newRow("40000 characters") << CleanStore(QByteArray(40000, 'x')) << clean << QString();
    QTest::newRow("code page 932") << kCp932Store << unclean << QStringLiteral("UTF-8");
    QTest::newRow("invalid UTF-8") << CleanStore("caf\xe9") << unclean << QStringLiteral("UTF-8");
    QTest::newRow("line without =") << CleanStore() + "SetData\\Zokumyo\n"
                                    << unclean << QStringLiteral("「=」");
    QTest::newRow("@Rect") << CleanStore("@Rect(1 2 3 4)") << unclean << QStringLiteral("@");
    QTest::newRow("@Variant") << CleanStore("@Variant(\\0\\0\\0\\x7f)") << unclean
                              << QStringLiteral("@");
    QTest::newRow("comment") << "; hand note\n" + CleanStore() << unclean << QStringLiteral("注釈");
    QTest::newRow("runs on into the next line")
        << CleanStore("C:\\") << unclean << QStringLiteral("\\");
}

void TestSettingsRead::FileStates() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, state);
    QFETCH(QString, finding);
    QVERIFY(WriteBytes(File(), bytes));
    const SettingsFileCheck check = CheckSettingsFile(File());
    QCOMPARE(static_cast<int>(check.State), state);
    if (finding.isEmpty()) {
        QVERIFY(check.Findings.empty());
    } else {
        QStringList findings;
        for (const std::u16string& f : check.Findings) {
            findings << ToQ(f);
        }
        QVERIFY2(findings.join(QLatin1Char('|')).contains(finding),
                 qPrintable(findings.join(QLatin1Char('|'))));
    }
}

void TestSettingsRead::SpecialFilesUnreadableWithoutWaiting_data() {
    QTest::addColumn<int>("kind");
    QTest::newRow("fifo") << static_cast<int>(Special::Fifo);
    QTest::newRow("device") << static_cast<int>(Special::Device);
    QTest::newRow("folder") << static_cast<int>(Special::Folder);
}

void TestSettingsRead::SpecialFilesUnreadableWithoutWaiting() {
    QFETCH(int, kind);
    QVERIFY(MakeSpecial(static_cast<Special>(kind), File()));
    QElapsedTimer timer;
    timer.start();
    const SettingsFileCheck check = CheckSettingsFile(File());
    QCOMPARE(check.State, SettingsFileState::Unreadable);
    QVERIFY(!SettingsFileUsable(File()));
    // Reading gives the defaults; writing is refused and leaves the thing as it was.
    QCOMPARE(ReadStoredCase(File()), StoredCase());
    QVERIFY(!WriteStoredCase(File(), StoredCase()));
    QVERIFY(timer.elapsed() < kTimeLimitMs);
    QVERIFY(!QFileInfo(File()).isFile());
}

void TestSettingsRead::UncleanFileCopiedAndToldOnce_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("code page 932") << kCp932Store;
    QTest::newRow("invalid UTF-8") << CleanStore("caf\xe9");
    QTest::newRow("line without =") << CleanStore() + "SetData\\Zokumyo\n";
    QTest::newRow("@Rect") << CleanStore("@Rect(1 2 3 4)");
}

void TestSettingsRead::UncleanFileCopiedAndToldOnce() {
    QFETCH(QByteArray, bytes);
    QVERIFY(WriteBytes(File(), bytes));
    ScriptedInteraction ui;
    {
        TUlvanForm form(ui, File());
        // Told once, at start, naming the copy; the copy holds the file as it was.
        QCOMPARE(ui.Messages.size(), 1);
        const QStringList copies = CopiesOf(File());
        QCOMPARE(copies.size(), 1);
        QVERIFY(ui.Messages[0].contains(copies[0]));
        QVERIFY(form.close());
    }
    const QStringList copies = CopiesOf(File());
    QCOMPARE(copies.size(), 1);
    QCOMPARE(ReadBytes(QFileInfo(File()).dir().filePath(copies[0])), bytes);
    // What the window saved reads cleanly: the next start says nothing and copies nothing.
    ui.ClearRecords();
    {
        TUlvanForm again(ui, File());
        QVERIFY(again.close());
    }
    QCOMPARE(ui.Messages.size(), 0);
    QCOMPARE(CopiesOf(File()).size(), 1);
}

void TestSettingsRead::LongValuesSurviveStartAndClose() {
    const QString name(40000, QChar(0x91CB)); // 釋 …
    const QString title = QStringLiteral("表").repeated(40000);
    {
        SettingsStore store(File());
        QVERIFY(store.OpenKey(kKeySetData, true));
        store.WriteString(QStringLiteral("Kaimyo"), name + QStringLiteral("/しゃく"));
        store.WriteString(QStringLiteral("TitName"), title);
        QVERIFY(store.CloseKey());
    }
    ScriptedInteraction ui;
    {
        TUlvanForm form(ui, File());
        QCOMPARE(form.kaimyo->text().size(), name.size());
        QCOMPARE(form.ComboBox2->currentText().size(), title.size());
        QVERIFY(form.close());
    }
    QCOMPARE(ui.Messages.size(), 0);
    QVERIFY(CopiesOf(File()).isEmpty());
    const StoredCase stored = ReadStoredCase(File());
    QCOMPARE(ToQ(stored.Deceased.Kaimyo), name);
    QCOMPARE(ToQ(stored.Options.TitName), title);
}

void TestSettingsRead::UnreadableFileReportedAndLeftAlone_data() {
    QTest::addColumn<int>("kind");
    QTest::newRow("fifo") << static_cast<int>(Special::Fifo);
    QTest::newRow("device") << static_cast<int>(Special::Device);
    QTest::newRow("folder") << static_cast<int>(Special::Folder);
    QTest::newRow("parent is a plain file") << static_cast<int>(Special::UnderPlainFile);
    QTest::newRow("no permission") << static_cast<int>(Special::NoPermission);
}

void TestSettingsRead::UnreadableFileReportedAndLeftAlone() {
    QFETCH(int, kind);
    const auto special = static_cast<Special>(kind);
    if (special == Special::NoPermission && geteuid() == 0) {
        QSKIP("the superuser reads a file of mode 000");
    }
    QString file = File();
    if (special == Special::UnderPlainFile) {
        QVERIFY(WriteBytes(m_dir.filePath(QStringLiteral("plain")), "x"));
        file = m_dir.filePath(QStringLiteral("plain/Dorim.conf"));
    }
    QVERIFY(MakeSpecial(special, file));
    const QFileInfo before(file);
    const QByteArray plainBefore = ReadBytes(m_dir.filePath(QStringLiteral("plain")));
    ScriptedInteraction ui;
    QElapsedTimer timer;
    timer.start();
    {
        TUlvanForm form(ui, file);
        QVERIFY(timer.elapsed() < kTimeLimitMs);
        QCOMPARE(ui.Messages.size(), 1);
        QVERIFY(ui.Messages[0].startsWith(QStringLiteral("設定ファイルを読めません: ") +
                                          QDir::toNativeSeparators(file) + QStringLiteral(" (")));
        // The window runs on its defaults.
        QCOMPARE(form.Options(), StoredCase().Options);
        QVERIFY(form.close());
    }
    // Closing neither writes nor complains about the file it could not read.
    QCOMPARE(ui.Messages.size(), 1);
    const QFileInfo after(file);
    QCOMPARE(after.exists(), before.exists());
    QCOMPARE(after.isFile(), before.isFile());
    QCOMPARE(after.isDir(), before.isDir());
    QCOMPARE(after.isSymLink(), before.isSymLink());
    QCOMPARE(ReadBytes(m_dir.filePath(QStringLiteral("plain"))), plainBefore);
    QVERIFY(CopiesOf(file).isEmpty());
}

void TestSettingsRead::FirstStartSaysNothing() {
    ScriptedInteraction ui;
    {
        TUlvanForm form(ui, File());
        QVERIFY(form.close());
    }
    QCOMPARE(ui.Messages.size(), 0);
    QVERIFY(QFileInfo(File()).isFile());
    QCOMPARE(CheckSettingsFile(File()).State, SettingsFileState::Clean);
}

void TestSettingsRead::SheetCommandStopsOnUnreadableSettings_data() {
    QTest::addColumn<int>("kind");
    QTest::newRow("fifo") << static_cast<int>(Special::Fifo);
    QTest::newRow("device") << static_cast<int>(Special::Device);
    QTest::newRow("folder") << static_cast<int>(Special::Folder);
}

void TestSettingsRead::SheetCommandStopsOnUnreadableSettings() {
    QFETCH(int, kind);
    const QByteArray home = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.path()));
    QCOMPARE(SettingsStore::DefaultFile(), File());
    QVERIFY(MakeSpecial(static_cast<Special>(kind), File()));
    const QString pdf = m_dir.filePath(QStringLiteral("sheet.pdf"));
    std::ostringstream out;
    std::ostringstream err;
    QElapsedTimer timer;
    timer.start();
    const std::vector<std::string> args{"sheet", "--pdf", QFile::encodeName(pdf).toStdString()};
    const int code = RunCommandLine(args, out, err);
    QVERIFY(timer.elapsed() < kTimeLimitMs);
    qputenv("XDG_CONFIG_HOME", home);
    QCOMPARE(code, 1);
    const QString said = QString::fromStdString(err.str());
    QVERIFY2(said.startsWith(QStringLiteral("設定ファイルを読めません: ") + File()),
             qPrintable(said));
    QCOMPARE(said.count(QLatin1Char('\n')), 1);
    QVERIFY(!QFileInfo::exists(pdf));
}

void TestSettingsRead::MissingPictureKindStoredAfterPreview() {
    const QString picture = m_dir.filePath(QStringLiteral("gone.png"));
    FooterLayout layout;
    FooterFrame frame;
    frame.Left = u"0";
    frame.Top = u"0";
    frame.Right = u"3000";
    frame.Bottom = u"3000";
    frame.Kind = u"V";
    frame.Content = ToU16(picture);
    layout.Append(frame);
    ScriptedInteraction ui;
    {
        TUlvanForm form(ui, File());
        form.CheckBox10->setChecked(true); // the footer is printed
        form.SetFooter(layout);
        SheetCommands commands(form, ui);
        WhenModalOf<TPrevForm>([&ui](TPrevForm* preview) {
            // Painted as soon as the window is up; the message follows the paint.
            static_cast<void>(QTest::qWaitFor(
                [&] {
                    preview->PaintBox1->repaint();
                    return !ui.Messages.isEmpty();
                },
                30000));
            preview->close();
        });
        commands.ShowPreview(PreviewKind::Memorial);
        QVERIFY2(ui.Messages.contains(ToQ(kFooterLoadFailedMessage)),
                 qPrintable(ui.Log.join(QLatin1Char('|'))));
        QVERIFY(form.close());
    }
    const FooterLayout stored = FooterLayout::FromStored(ReadStoredCase(File()).EditStr);
    QCOMPARE(stored, layout);
    QCOMPARE(stored.Field(0, FooterField::Kind), std::u16string(u"V"));
}

QTEST_MAIN(TestSettingsRead)
#include "tst_settingsread.moc"
