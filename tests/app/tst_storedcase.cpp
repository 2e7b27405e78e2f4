// The stored case: what the main window writes at close reads back equal; a missing key keeps
// all its defaults, a missing Boolean or integer keeps its default, a missing text reads as
// empty; a store written by earlier versions still reads; the window and `ulvan sheet` read
// the same store the same way.
#include "FileLimits.h"
#include "ScriptedInteraction.h"
#include "StoreKeys.h"
#include "app/CliSheet.h"
#include "app/UlvanMain.h"
#include "case/SettingsStore.h"
#include "case/StoredCase.h"
#include "sheet/QtText.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace ulvan;
using namespace ulvan::test;

namespace {

// A case in which every value differs from its default.
StoredCase FullCase() {
    StoredCase stored;
    stored.Deceased = {
        u"釋浄念", u"しゃくじょうねん", u"山田太郎", u"82", u"2019", u"平成", u"31", u"4", u"30"};
    stored.Options = {u"忌日表", u"IPAMincho", u"IPAGothic", 1,     false,
                      false,     false,        false,        false, false};
    for (std::size_t r = 0; r < stored.Rows.size(); ++r) {
        stored.Rows[r].Name = u"忌" + std::u16string(1, static_cast<char16_t>(u'一' + r));
        if (r != kFirstMonthlyRow) { // the first monthly row has no stored offset
            stored.Rows[r].Offset += 1;
        }
        stored.Rows[r].Eve = !stored.Rows[r].Eve;
    }
    stored.EditStr = u"0\r\n0\r\n100\r\n100\r\n\r\n\r\n\r\n\r\nP\r\n寺\r\n";
    return stored;
}

// The rows as the store keeps them: results are computed, never stored.
MemorialSchedule WithoutResults(MemorialSchedule rows) {
    ClearSchedule(rows);
    return rows;
}

// The INI group of a key path: "\Software\Pelvo\Dorim\1.0\SetData" → "1.0/SetData".
QString GroupOf(const QString& key) {
    return key.mid(kKeyRoot.size() - 4).replace(QLatin1Char('\\'), QLatin1Char('/'));
}

// Removes a value (or, with an empty name, a whole key) as a hand edit would.
void Remove(const QString& file, const QString& key, const QString& name = {}) {
    QSettings raw(file, QSettings::IniFormat);
    const QString group = GroupOf(key);
    raw.remove(name.isEmpty() ? group : group + QLatin1Char('/') + name);
    raw.sync();
    QCOMPARE(raw.status(), QSettings::NoError);
}

} // namespace

class TestStoredCase : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { QVERIFY(m_dir.isValid()); }
    void cleanup() { QFile::remove(File()); }
    void RoundTrip();
    void WindowWritesWhatReadsBack();
    void MissingKeyKeepsDefaults_data();
    void MissingKeyKeepsDefaults();
    void MissingValue_data();
    void MissingValue();
    void EarlierStoreReads();
    void WindowAndSheetCommandAgree();
    void WindowValuesKeptApart();
    void FullDiskKeepsEarlierStore();

private:
    QString File() const { return m_dir.filePath(QStringLiteral("Dorim.conf")); }
    QTemporaryDir m_dir;
};

void TestStoredCase::RoundTrip() {
    const StoredCase stored = FullCase();
    QVERIFY(WriteStoredCase(File(), stored));
    QVERIFY(ReadStoredCase(File()) == stored);
    // A first start: nothing stored gives the defaults.
    QVERIFY(ReadStoredCase(m_dir.filePath(QStringLiteral("none.conf"))) == StoredCase{});
}

void TestStoredCase::FullDiskKeepsEarlierStore() {
    SmallFileSystem disk(64 * 1024);
    if (!disk.Usable())
        QSKIP(disk.Why());
    const QString file = disk.Path(QStringLiteral("Dorim.conf"));
    QVERIFY(WriteStoredCase(file, StoredCase{}));
    QFile earlier(file);
    QVERIFY(earlier.open(QIODevice::ReadOnly));
    const QByteArray before = earlier.readAll();
    earlier.close();
    QVERIFY(before.size() > 200); // the store is smaller than Qt's write buffer
    QVERIFY(disk.Fill(4096));     // room for Qt's lock file, not for the store

    QVERIFY(!WriteStoredCase(file, FullCase()));
    QVERIFY(earlier.open(QIODevice::ReadOnly));
    QCOMPARE(earlier.readAll(), before);
    earlier.close();
    QCOMPARE(QDir(disk.Path(QString())).entryList(QDir::Files | QDir::Hidden),
             (QStringList{QStringLiteral(".filler"), QStringLiteral("Dorim.conf")}));
    // With room again the same save goes through whole.
    QVERIFY(QFile::remove(disk.Path(QStringLiteral(".filler"))));
    QVERIFY(WriteStoredCase(file, FullCase()));
    QVERIFY(ReadStoredCase(file) == FullCase());
}

void TestStoredCase::WindowWritesWhatReadsBack() {
    ScriptedInteraction ui;
    StoredCase expected;
    {
        TUlvanForm main(ui, File());
        main.ApplyStoredCase(FullCase());
        main.yomi->setText(QStringLiteral("よみ/二つ目")); // a "/" inside the reading
        expected = main.CurrentStoredCase();
        QVERIFY(main.SaveSettings());
    }
    StoredCase read = ReadStoredCase(File());
    expected.Rows = WithoutResults(expected.Rows);
    QVERIFY(read == expected);
    QCOMPARE(ToQ(read.Deceased.Yomi), QStringLiteral("よみ/二つ目"));
}

void TestStoredCase::MissingKeyKeepsDefaults_data() {
    QTest::addColumn<QString>("key");
    QTest::newRow("SetData") << kKeySetData;
    QTest::newRow("ExtendSetUp") << kKeyExtendSetUp;
    QTest::newRow("2ndExtend") << kKey2ndExtend;
    QTest::newRow("TmplEdit") << kKeyTmplEdit;
}

void TestStoredCase::MissingKeyKeepsDefaults() {
    QFETCH(QString, key);
    const StoredCase full = FullCase();
    QVERIFY(WriteStoredCase(File(), full));
    Remove(File(), key);
    QVERIFY(!SettingsStore(File()).KeyExists(key));
    const StoredCase read = ReadStoredCase(File());
    const StoredCase defaults;
    // Each key holds its own values: those of the removed key are the defaults, the others
    // are as written.
    const bool setData = key == kKeySetData;
    const bool extend = key == kKeyExtendSetUp;
    const bool second = key == kKey2ndExtend;
    QVERIFY(read.Deceased == (setData ? defaults.Deceased : full.Deceased));
    QCOMPARE(read.Options.TitName, setData ? defaults.Options.TitName : full.Options.TitName);
    QCOMPARE(read.Options.KaimyoStyle,
             setData ? defaults.Options.KaimyoStyle : full.Options.KaimyoStyle);
    QCOMPARE(read.Options.WarekiInsatsu,
             extend ? defaults.Options.WarekiInsatsu : full.Options.WarekiInsatsu);
    QCOMPARE(read.Options.HatsuGatsuPrint,
             extend ? defaults.Options.HatsuGatsuPrint : full.Options.HatsuGatsuPrint);
    QCOMPARE(read.Options.RubyPrint, second ? defaults.Options.RubyPrint : full.Options.RubyPrint);
    for (std::size_t r = 0; r < read.Rows.size(); ++r) {
        const MemorialDay& want = second ? defaults.Rows[r] : full.Rows[r];
        QCOMPARE(read.Rows[r].Name, want.Name);
        QCOMPARE(read.Rows[r].Offset, want.Offset);
        QCOMPARE(read.Rows[r].Eve, (setData ? defaults.Rows[r] : full.Rows[r]).Eve);
    }
    QCOMPARE(read.EditStr, key == kKeyTmplEdit ? defaults.EditStr : full.EditStr);
}

void TestStoredCase::MissingValue_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("name");
    // Booleans and integers keep their defaults; texts read as empty.
    QTest::newRow("Boolean TaiC") << kKeySetData << QStringLiteral("TaiC");
    QTest::newRow("Boolean WarekiInsatsu") << kKeyExtendSetUp << QStringLiteral("WarekiInsatsu");
    QTest::newRow("integer KaimyoStyle") << kKeySetData << QStringLiteral("KaimyoStyle");
    QTest::newRow("integer Add3") << kKey2ndExtend << QStringLiteral("Add3");
    QTest::newRow("text KiName3") << kKey2ndExtend << QStringLiteral("KiName3");
    QTest::newRow("text Zokumyo") << kKeySetData << QStringLiteral("Zokumyo");
    QTest::newRow("text EditStr") << kKeyTmplEdit << QStringLiteral("EditStr");
}

void TestStoredCase::MissingValue() {
    QFETCH(QString, key);
    QFETCH(QString, name);
    const StoredCase full = FullCase();
    QVERIFY(WriteStoredCase(File(), full));
    QVERIFY(
        QSettings(File(), QSettings::IniFormat).contains(GroupOf(key) + QLatin1Char('/') + name));
    Remove(File(), key, name);
    StoredCase want = full;
    const StoredCase defaults;
    if (name == QStringLiteral("TaiC")) {
        want.Rows[2].Eve = defaults.Rows[2].Eve;
    } else if (name == QStringLiteral("WarekiInsatsu")) {
        want.Options.WarekiInsatsu = defaults.Options.WarekiInsatsu;
    } else if (name == QStringLiteral("KaimyoStyle")) {
        want.Options.KaimyoStyle = defaults.Options.KaimyoStyle;
    } else if (name == QStringLiteral("Add3")) {
        want.Rows[2].Offset = defaults.Rows[2].Offset; // Add3 is the third row's offset
    } else if (name == QStringLiteral("KiName3")) {
        want.Rows[2].Name.clear();
    } else if (name == QStringLiteral("Zokumyo")) {
        want.Deceased.Zokumyo.clear();
    } else {
        want.EditStr.clear();
    }
    QVERIFY(ReadStoredCase(File()) == want);
}

void TestStoredCase::EarlierStoreReads() {
    // A store as earlier versions of the program wrote it, byte for byte.
    QFile file(File());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[1.0]\n"
               "2ndExtend\\Add1=7\n2ndExtend\\Add2=14\n2ndExtend\\Add3=21\n2ndExtend\\Add4=28\n"
               "2ndExtend\\Add5=35\n2ndExtend\\Add6=42\n2ndExtend\\Add7=49\n2ndExtend\\Add8=100\n"
               "2ndExtend\\KiName1=\\x521d\\x4e03\\x65e5\\x5fcc\n"
               "2ndExtend\\RubyPrint=0\n"
               "ExtendSetUp\\WarekiInsatsu=0\n"
               "SetData\\Kaimyo=\\x91cb\\x6d44\\x5ff5/\\x3057\\x3083\\x304f\n"
               "SetData\\KiGatsu=4\nSetData\\KiNen=2019\n"
               "SetData\\KiNengo=\\x5e73\\x6210\n"
               "SetData\\KiNichi=30\nSetData\\KiWanen=31\nSetData\\TaiA=0\n");
    file.close();
    const StoredCase read = ReadStoredCase(File());
    QCOMPARE(read.Deceased.KiNen, std::u16string(u"2019"));
    QCOMPARE(read.Deceased.KiNengo, std::u16string(u"平成"));
    QCOMPARE(read.Deceased.Kaimyo, std::u16string(u"釋浄念"));
    QCOMPARE(read.Deceased.Yomi, std::u16string(u"しゃく"));
    QCOMPARE(read.Options.RubyPrint, false);
    QCOMPARE(read.Options.WarekiInsatsu, false);
    QCOMPARE(read.Rows[0].Name, std::u16string(u"初七日忌"));
    QCOMPARE(read.Rows[0].Offset, 7);
    QCOMPARE(read.Rows[0].Eve, false);
    QCOMPARE(read.Rows[8].Offset, 100);
    QCOMPARE(read.Rows[2].Name, std::u16string()); // present key, missing text
}

void TestStoredCase::WindowAndSheetCommandAgree() {
    QVERIFY(WriteStoredCase(File(), FullCase()));
    Remove(File(), kKey2ndExtend, QStringLiteral("KiName3"));
    const MemorialSheetInputs sheet = LoadStoredSheetInputs(File(), nullptr);
    ScriptedInteraction ui;
    TUlvanForm main(ui, File());
    const MemorialSchedule shown = main.Schedule();
    for (std::size_t r = 0; r < shown.size(); ++r) {
        QCOMPARE(sheet.Schedule[r].Name, shown[r].Name);
        QCOMPARE(sheet.Schedule[r].Offset, shown[r].Offset);
        QCOMPARE(sheet.Schedule[r].Eve, shown[r].Eve);
        QCOMPARE(sheet.Schedule[r].Month, shown[r].Month);
        QCOMPARE(sheet.Schedule[r].Day, shown[r].Day);
    }
    QVERIFY(sheet.Schedule[2].Name.empty());
    QVERIFY(sheet.Deceased == main.Deceased());
    QVERIFY(sheet.Options == main.Options());
}

void TestStoredCase::WindowValuesKeptApart() {
    // The annual chart's and the record windows' values survive the main window's write,
    // and theirs leave the case alone.
    NenkaiSelection selection;
    selection.fill(true);
    selection[1] = false;
    QVERIFY(WriteNenkaiSelection(File(), selection));
    QVERIFY(WriteNenkaiTitle(File(), u"回忌表"));
    QVERIFY(WriteDataFileName(File(), u"/home/寺/過去帳.csv"));
    QVERIFY(WriteStoredCase(File(), FullCase()));
    QVERIFY(ReadNenkaiSelection(File()) == selection);
    QCOMPARE(ReadNenkaiTitle(File()), std::u16string(u"回忌表"));
    QCOMPARE(ReadDataFileName(File()), std::u16string(u"/home/寺/過去帳.csv"));
    QVERIFY(ReadStoredCase(File()) == FullCase());
    // Nothing stored: every row selected, no title, no file.
    const QString none = m_dir.filePath(QStringLiteral("none.conf"));
    NenkaiSelection all;
    all.fill(true);
    QVERIFY(ReadNenkaiSelection(none) == all);
    QVERIFY(ReadNenkaiTitle(none).empty());
    QVERIFY(ReadDataFileName(none).empty());
}

QTEST_MAIN(TestStoredCase)
#include "tst_storedcase.moc"
