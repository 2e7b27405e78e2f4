// The settings store on its own, and the main window's load at creation and save at close:
// a closed window's case comes back at the next start, computed with the stored rows.
#include "ScriptedInteraction.h"
#include "StoreKeys.h"
#include "app/UlvanMain.h"
#include "calendar/Schedule.h"
#include "case/SettingsStore.h"
#include "ui/DialogSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <limits>
#include <memory>

using namespace ulvan;
using namespace ulvan::test;

namespace {

QStringList L(std::initializer_list<const char*> texts) {
    QStringList list;
    for (const char* text : texts) {
        list << QString::fromUtf8(text);
    }
    return list;
}

QString FileIn(const QTemporaryDir& dir) {
    return dir.filePath(QStringLiteral("Pelvo/Dorim.conf"));
}

// Writes `values` into key `path` of the store in `file`.
void Store(const QString& file, const QString& path,
           const std::vector<std::pair<QString, QVariant>>& values) {
    SettingsStore store(file);
    QVERIFY(store.OpenKey(path, true));
    for (const auto& [name, value] : values) {
        if (value.typeId() == QMetaType::Int) {
            store.WriteInteger(name, value.toInt());
        } else if (value.typeId() == QMetaType::Bool) {
            store.WriteBool(name, value.toBool());
        } else {
            store.WriteString(name, value.toString());
        }
    }
    QVERIFY(store.CloseKey());
}

QString Raw(const QString& file, const QString& group, const QString& name) {
    QSettings raw(file, QSettings::IniFormat);
    return raw.value(group + QLatin1Char('/') + name).toString();
}

} // namespace

class TestSettings : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void DefaultFileIsPerUser();
    void MissingKeyNotOpened();
    void TextsRoundTrip_data();
    void TextsRoundTrip();
    void BooleansAndIntegersStoredAsIntegers_data();
    void BooleansAndIntegersStoredAsIntegers();
    void MissingValues();
    void FailedWriteReported();
    void FirstCloseWritesEveryValue();
    void CaseComesBack();
    void KaimyoSlashRule_data();
    void KaimyoSlashRule();
    void StoredKaimyoRead_data();
    void StoredKaimyoRead();
    void StoredEraSelected_data();
    void StoredEraSelected();
    void StoredOffsetsUsedAtStartUp();
    void ClearedCaseStoredEmpty();
    void FolderThatIsAFileToldAtStartStillCloses();
    void FailedWriteKeepsEarlierStore();
};

void TestSettings::DefaultFileIsPerUser() {
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path()));
    QCOMPARE(SettingsStore::DefaultFile(), home.filePath(QStringLiteral("Pelvo/Dorim.conf")));
    qunsetenv("XDG_CONFIG_HOME");
}

void TestSettings::MissingKeyNotOpened() {
    QTemporaryDir dir;
    SettingsStore store(FileIn(dir));
    QVERIFY(!store.OpenKey(kKeySetData, false));
    QVERIFY(store.OpenKey(kKeySetData, true));
    store.WriteString(QStringLiteral("KiNen"), QStringLiteral("2019"));
    QVERIFY(store.CloseKey());
    SettingsStore again(FileIn(dir));
    QVERIFY(again.OpenKey(kKeySetData, false));
    QVERIFY(!again.OpenKey(kKeyTmplEdit, false));
    // The key path is the group inside the per-application file.
    QCOMPARE(Raw(FileIn(dir), QStringLiteral("1.0/SetData"), QStringLiteral("KiNen")),
             QStringLiteral("2019"));
}

void TestSettings::TextsRoundTrip_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QString();
    QTest::newRow("japanese") << QStringLiteral("釋浄信/しゃくじょうしん");
    QTest::newRow("commas") << QStringLiteral("a, b,c");
    QTest::newRow("lines") << QStringLiteral("line 1\r\nline 2\r\n");
    QTest::newRow("blanks") << QStringLiteral("  lead and trail  ");
    QTest::newRow("ini syntax") << QStringLiteral("[x]=;#\"\\ @Variant(1)");
    QTest::newRow("number text") << QStringLiteral("0042");
    QTest::newRow("surrogates") << QStringLiteral("𠮷野");
}

void TestSettings::TextsRoundTrip() {
    QFETCH(QString, text);
    QTemporaryDir dir;
    Store(FileIn(dir), kKeyTmplEdit, {{QStringLiteral("EditStr"), text}});
    SettingsStore store(FileIn(dir));
    QVERIFY(store.OpenKey(kKeyTmplEdit, false));
    QCOMPARE(store.ReadString(QStringLiteral("EditStr")), text);
}

void TestSettings::BooleansAndIntegersStoredAsIntegers_data() {
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("raw");
    QTest::newRow("true") << QVariant(true) << QStringLiteral("1");
    QTest::newRow("false") << QVariant(false) << QStringLiteral("0");
    QTest::newRow("offset") << QVariant(99) << QStringLiteral("99");
    QTest::newRow("negative") << QVariant(-7) << QStringLiteral("-7");
    QTest::newRow("lowest") << QVariant(std::numeric_limits<int>::min())
                            << QStringLiteral("-2147483648");
}

void TestSettings::BooleansAndIntegersStoredAsIntegers() {
    QFETCH(QVariant, value);
    QFETCH(QString, raw);
    QTemporaryDir dir;
    Store(FileIn(dir), kKey2ndExtend, {{QStringLiteral("V"), value}});
    QCOMPARE(Raw(FileIn(dir), QStringLiteral("1.0/2ndExtend"), QStringLiteral("V")), raw);
    SettingsStore store(FileIn(dir));
    QVERIFY(store.OpenKey(kKey2ndExtend, false));
    QCOMPARE(store.ReadInteger(QStringLiteral("V")), std::optional<std::int32_t>(raw.toInt()));
    QCOMPARE(store.ReadBool(QStringLiteral("V")), std::optional<bool>(raw != QStringLiteral("0")));
}

void TestSettings::MissingValues() {
    QTemporaryDir dir;
    Store(FileIn(dir), kKeySetData,
          {{QStringLiteral("KiNen"), QStringLiteral("x")}, {QStringLiteral("TaiA"), 0}});
    SettingsStore store(FileIn(dir));
    QVERIFY(store.OpenKey(kKeySetData, false));
    QCOMPARE(store.ReadString(QStringLiteral("Zokumyo")), QString());
    QVERIFY(!store.ReadBool(QStringLiteral("TaiB")).has_value());
    QVERIFY(!store.ReadInteger(QStringLiteral("KiNen")).has_value()); // not a number
    QCOMPARE(store.ReadBool(QStringLiteral("TaiA")), std::optional<bool>(false));
}

void TestSettings::FailedWriteReported() {
    QTemporaryDir dir;
    // A plain file where the store's folder should be: nothing can be written below it.
    QFile blocker(dir.filePath(QStringLiteral("Pelvo")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    SettingsStore store(FileIn(dir));
    QVERIFY(store.OpenKey(kKeySetData, true));
    store.WriteString(QStringLiteral("KiNen"), QStringLiteral("2019"));
    QVERIFY(!store.CloseKey());
}

void TestSettings::FirstCloseWritesEveryValue() {
    QTemporaryDir dir;
    ScriptedInteraction ui;
    {
        TUlvanForm form(ui, FileIn(dir));
        QVERIFY(form.close());
    }
    QSettings raw(FileIn(dir), QSettings::IniFormat);
    raw.beginGroup(QStringLiteral("1.0/SetData"));
    QStringList setData =
        L({"TaiA",     "TaiB",     "TaiC",    "TaiD",          "TaiE",        "TaiF",
           "TaiG",     "TaiH",     "TaiI",    "TmplNamePrint", "KaimyoStyle", "TitName",
           "FntName1", "FntName2", "KiNen",   "KiNengo",       "KiWanen",     "KiGatsu",
           "KiNichi",  "Kaimyo",   "Zokumyo", "GyoNen"});
    QStringList keys = raw.childKeys();
    keys.sort();
    setData.sort();
    QCOMPARE(keys, setData); // DataFileName belongs to the record windows
    QCOMPARE(raw.value(QStringLiteral("TaiE")).toString(), QStringLiteral("0"));
    QCOMPARE(raw.value(QStringLiteral("TaiA")).toString(), QStringLiteral("1"));
    QCOMPARE(raw.value(QStringLiteral("Kaimyo")).toString(), QStringLiteral("/"));
    raw.endGroup();
    raw.beginGroup(QStringLiteral("1.0/2ndExtend"));
    QCOMPARE(raw.childKeys().size(), 1 + 8 + 9);
    QCOMPARE(raw.value(QStringLiteral("Add8")).toString(), QStringLiteral("99"));
    QCOMPARE(raw.value(QStringLiteral("KiName8")).toString(), QStringLiteral("満Ulvan"));
    raw.endGroup();
    raw.beginGroup(QStringLiteral("1.0/ExtendSetUp"));
    QCOMPARE(raw.childKeys().size(), 4);
    raw.endGroup();
    QVERIFY(raw.contains(QStringLiteral("1.0/TmplEdit/EditStr")));
    QVERIFY(ui.Messages.isEmpty());
}

void TestSettings::CaseComesBack() {
    QTemporaryDir dir;
    ScriptedInteraction ui;
    DeceasedData deceased;
    SheetOptions options;
    MemorialSchedule schedule;
    {
        TUlvanForm form(ui, FileIn(dir));
        form.Edit1->setText(QStringLiteral("1989"));
        form.ComboBox1->setCurrentIndex(form.ComboBox1->findText(QStringLiteral("平成")));
        form.Edit2->setText(QStringLiteral(" 1"));
        form.Edit3->setText(QStringLiteral("1"));
        form.Edit4->setText(QStringLiteral("8"));
        form.kaimyo->setText(QStringLiteral("釋浄信"));
        form.yomi->setText(QStringLiteral("しゃく/じょうしん"));
        form.zokumyo->setText(QStringLiteral("山田 太郎"));
        form.gyonen->setText(QStringLiteral("八十八"));
        form.EveBoxes[0]->setChecked(false);
        form.EveBoxes[4]->setChecked(true);
        form.NameLabels[8]->setText(QStringLiteral("百ヶ日"));
        form.SetOffsets({7, 14, 21, 28, 35, 42, 49, 100});
        form.CheckBox10->setChecked(false);
        form.CheckBox12->setChecked(false);
        form.CheckBox15->setChecked(false);
        form.SetKaimyoStyle(1);
        form.ComboBox2->setEditText(QStringLiteral("Ulvan逮夜表"));
        form.ComboBox3->setEditText(QStringLiteral("ＭＳ 明朝"));
        form.ComboBox4->setEditText(QStringLiteral("some face"));
        form.SetEditStr(QStringLiteral("frame,1\r\n\r\nframe 2\r\n"));
        form.ComputeSchedule();
        deceased = form.Deceased();
        options = form.Options();
        schedule = form.Schedule();
        QVERIFY(form.close());
    }
    TUlvanForm again(ui, FileIn(dir));
    QCOMPARE(again.Deceased(), deceased);
    QCOMPARE(again.Options(), options);
    QCOMPARE(again.EditStr(), QStringLiteral("frame,1\r\n\r\nframe 2\r\n"));
    QCOMPARE(again.EditList().size(), 3);
    QCOMPARE(again.Offsets(), (std::array<std::int32_t, 8>{7, 14, 21, 28, 35, 42, 49, 100}));
    const MemorialSchedule shown = again.Schedule();
    for (std::size_t r = 0; r < 9; ++r) {
        QCOMPARE(shown[r].Name, schedule[r].Name);
        QCOMPARE(shown[r].Offset, schedule[r].Offset);
        QCOMPARE(shown[r].Eve, schedule[r].Eve);
        QCOMPARE(shown[r].Month, schedule[r].Month);
        QCOMPARE(shown[r].Day, schedule[r].Day);
        QCOMPARE(shown[r].WeekdayText, schedule[r].WeekdayText);
    }
    QCOMPARE(again.Label6->text(), QStringLiteral("（日曜日）"));
    QVERIFY(ui.Messages.isEmpty());
}

void TestSettings::KaimyoSlashRule_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reading");
    QTest::addColumn<QString>("stored");
    QTest::newRow("no reading") << QStringLiteral("釋浄信") << QString()
                                << QStringLiteral("釋浄信/");
    QTest::newRow("reading") << QStringLiteral("釋浄信") << QStringLiteral("しゃく")
                             << QStringLiteral("釋浄信/しゃく");
    QTest::newRow("nothing") << QString() << QString() << QStringLiteral("/");
    QTest::newRow("slash in reading")
        << QStringLiteral("A") << QStringLiteral("B/C") << QStringLiteral("A/B/C");
}

void TestSettings::KaimyoSlashRule() {
    QFETCH(QString, name);
    QFETCH(QString, reading);
    QFETCH(QString, stored);
    QTemporaryDir dir;
    ScriptedInteraction ui;
    {
        TUlvanForm form(ui, FileIn(dir));
        form.kaimyo->setText(name);
        form.yomi->setText(reading);
        QVERIFY(form.close());
    }
    QCOMPARE(Raw(FileIn(dir), QStringLiteral("1.0/SetData"), QStringLiteral("Kaimyo")), stored);
    TUlvanForm again(ui, FileIn(dir));
    QCOMPARE(again.kaimyo->text(), name);
    QCOMPARE(again.yomi->text(), reading);
}

void TestSettings::StoredKaimyoRead_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reading");
    QTest::newRow("name and reading")
        << QStringLiteral("A/B/C") << QStringLiteral("A") << QStringLiteral("B/C");
    QTest::newRow("trailing slash")
        << QStringLiteral("釋浄信/") << QStringLiteral("釋浄信") << QString();
    QTest::newRow("no slash") << QStringLiteral("釋浄信") << QStringLiteral("釋浄信") << QString();
    QTest::newRow("leading slash")
        << QStringLiteral("/よみ") << QString() << QStringLiteral("よみ");
}

void TestSettings::StoredKaimyoRead() {
    QFETCH(QString, stored);
    QFETCH(QString, name);
    QFETCH(QString, reading);
    QTemporaryDir dir;
    Store(FileIn(dir), kKeySetData, {{QStringLiteral("Kaimyo"), stored}});
    ScriptedInteraction ui;
    TUlvanForm form(ui, FileIn(dir));
    QCOMPARE(form.kaimyo->text(), name);
    QCOMPARE(form.yomi->text(), reading);
}

void TestSettings::StoredEraSelected_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("selected");
    QTest::newRow("平成") << QStringLiteral("平成") << QStringLiteral("平成");
    QTest::newRow("part of a name") << QStringLiteral("昭") << QString();
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("no era") << QStringLiteral("－－") << QStringLiteral("－－");
    QTest::newRow("longer text") << QStringLiteral("平成元年") << QString();
}

void TestSettings::StoredEraSelected() {
    QFETCH(QString, stored);
    QFETCH(QString, selected);
    QTemporaryDir dir;
    // Stored as the year 2019 would give 令和: the stored era shows all the same.
    Store(FileIn(dir), kKeySetData,
          {{QStringLiteral("KiNen"), QStringLiteral("2019")},
           {QStringLiteral("KiNengo"), stored},
           {QStringLiteral("KiWanen"), QStringLiteral("31")},
           {QStringLiteral("KiGatsu"), QStringLiteral("5")},
           {QStringLiteral("KiNichi"), QStringLiteral("1")}});
    ScriptedInteraction ui;
    TUlvanForm form(ui, FileIn(dir));
    QCOMPARE(form.ComboBox1->currentText(), selected);
    QCOMPARE(form.ComboBox1->currentIndex(), form.ComboBox1->findText(selected));
    if (selected.isEmpty()) {
        QCOMPARE(form.ComboBox1->currentIndex(), -1);
    }
    QCOMPARE(form.Edit2->text(), QStringLiteral("31"));
    // A key that changes nothing leaves the stored era; the first key release that changes a
    // date field brings the era fields in step with the date.
    form.Edit1->setFocus();
    QTest::keyClick(form.Edit1, Qt::Key_End);
    QCOMPARE(form.ComboBox1->currentText(), selected);
    QTest::keyClick(form.Edit1, Qt::Key_Backspace);
    QTest::keyClick(form.Edit1, Qt::Key_9);
    QCOMPARE(form.ComboBox1->currentText(), QStringLiteral("令和"));
    QCOMPARE(form.Edit2->text(), QStringLiteral(" 1"));
    QCOMPARE(form.Edit1->text(), QStringLiteral("2019"));
}

void TestSettings::StoredOffsetsUsedAtStartUp() {
    QTemporaryDir dir;
    std::vector<std::pair<QString, QVariant>> rows;
    const int offsets[] = {7, 14, 21, 28, 35, 42, 49, 98};
    for (int i = 0; i < 8; ++i) {
        rows.emplace_back(QStringLiteral("Add%1").arg(i + 1), offsets[i]);
    }
    Store(FileIn(dir), kKey2ndExtend, rows);
    std::vector<std::pair<QString, QVariant>> setData{
        {QStringLiteral("KiNen"), QStringLiteral("2019")},
        {QStringLiteral("KiGatsu"), QStringLiteral("5")},
        {QStringLiteral("KiNichi"), QStringLiteral("1")}};
    const char* eves[] = {"TaiA", "TaiB", "TaiC", "TaiD", "TaiE", "TaiF", "TaiG", "TaiH", "TaiI"};
    for (const char* eve : eves) {
        setData.emplace_back(QString::fromLatin1(eve), false);
    }
    Store(FileIn(dir), kKeySetData, setData);
    ScriptedInteraction ui;
    TUlvanForm form(ui, FileIn(dir));
    MemorialSchedule expected = DefaultSchedule();
    std::size_t k = 0;
    for (std::size_t r = 0; r < 9; ++r) {
        expected[r].Eve = false;
        if (r != kFirstMonthlyRow) {
            expected[r].Offset = offsets[k++];
        }
        expected[r].Name.clear(); // KiName values missing from the key read as empty
    }
    ComputeSchedule(u"2019", u"5", u"1", expected);
    const MemorialSchedule shown = form.Schedule();
    for (std::size_t r = 0; r < 9; ++r) {
        QCOMPARE(shown[r].Month, expected[r].Month);
        QCOMPARE(shown[r].Day, expected[r].Day);
        QCOMPARE(shown[r].Name, std::u16string());
    }
    // Six plus one days later than with the default offsets and eve flags.
    QCOMPARE(form.DayEdits[0]->text(), QStringLiteral("8"));
    QCOMPARE(form.MonthEdits[8]->text(), QStringLiteral("8"));
    QCOMPARE(form.DayEdits[8]->text(), QStringLiteral("7"));
}

void TestSettings::ClearedCaseStoredEmpty() {
    QTemporaryDir dir;
    ScriptedInteraction ui;
    {
        TUlvanForm form(ui, FileIn(dir));
        form.SetTodayProvider([] { return QDate(2024, 1, 2); });
        form.Today();
        form.kaimyo->setText(QStringLiteral("x"));
        QVERIFY(form.close());
    }
    {
        TUlvanForm form(ui, FileIn(dir));
        QCOMPARE(form.Edit1->text(), QStringLiteral("2024"));
        form.ClearDeceasedData();
        QVERIFY(form.close());
    }
    TUlvanForm form(ui, FileIn(dir));
    QCOMPARE(form.Deceased(), DeceasedData{});
    QVERIFY(form.Schedule()[0].Month.empty());
}

void TestSettings::FolderThatIsAFileToldAtStartStillCloses() {
    QTemporaryDir dir;
    QFile blocker(dir.filePath(QStringLiteral("Pelvo")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    ScriptedInteraction ui;
    TUlvanForm form(ui, FileIn(dir));
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(form.close());
    QVERIFY(!form.isVisible());
    // The settings' folder is a plain file: said at start, and nothing is written at close.
    QCOMPARE(ui.Messages.size(), 1);
    QVERIFY(ui.Messages[0].startsWith(QStringLiteral("設定ファイルを読めません")));
    QCOMPARE(QFileInfo(blocker.fileName()).size(), 0);
    QVERIFY(QFileInfo(blocker.fileName()).isFile());
}

namespace {

// Makes `folder` refuse new files: read-only permissions, and for a superuser (whom
// permissions do not stop) the immutable attribute. False when neither holds here.
bool MakeUnwritable(const QString& folder) {
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const auto refuses = [&folder] {
        QFile probe(folder + QStringLiteral("/probe"));
        if (probe.open(QIODevice::WriteOnly)) {
            probe.close();
            probe.remove();
            return false;
        }
        return true;
    };
    if (refuses()) {
        return true;
    }
    QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), folder});
    return refuses();
}

void MakeWritable(const QString& folder) {
    QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), folder});
    QFile::setPermissions(folder,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

} // namespace

void TestSettings::FailedWriteKeepsEarlierStore() {
    QTemporaryDir dir;
    ScriptedInteraction ui;
    {
        TUlvanForm form(ui, FileIn(dir));
        form.Edit1->setText(QStringLiteral("2001"));
        form.kaimyo->setText(QStringLiteral("前の戒名"));
        QVERIFY(form.close());
    }
    QFile file(FileIn(dir));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();
    const QString folder = dir.filePath(QStringLiteral("Pelvo"));
    if (!MakeUnwritable(folder)) {
        MakeWritable(folder);
        QSKIP("This platform offers no way to make a folder unwritable here");
    }
    {
        TUlvanForm form(ui, FileIn(dir));
        form.Edit1->setText(QStringLiteral("2002"));
        form.kaimyo->setText(QStringLiteral("次の戒名"));
        form.show();
        QVERIFY(form.close());
        QVERIFY(!form.isVisible());
    }
    MakeWritable(folder);
    QCOMPARE(ui.Messages.size(), 1);
    QVERIFY(ui.Messages[0].startsWith(QStringLiteral("設定を保存できませんでした")));
    // The earlier store is on disk unchanged and whole.
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), before);
    QVERIFY(before.contains("KiNen=2001"));
    QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{QStringLiteral("Dorim.conf")});
}

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"
