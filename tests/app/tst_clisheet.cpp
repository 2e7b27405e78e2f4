// `ulvan sheet`: the stored case read in the main window's order, and the PDF it writes.
// The settings store lives in a temporary XDG_CONFIG_HOME.
#include "StoreKeys.h"
#include "app/CliSheet.h"
#include "app/CommandLine.h"
#include "case/SettingsStore.h"
#include "sheet/PrintSheet.h"
#include "sheet/QtText.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QVariant>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

using namespace ulvan;
using namespace ulvan::test;

namespace {

struct StoredValue {
    QString Key;
    QString Name;
    QVariant Value; // bool, int or QString
};

void Store(const std::vector<StoredValue>& values) {
    for (const StoredValue& v : values) {
        SettingsStore store;
        QVERIFY(store.OpenKey(v.Key, true));
        if (v.Value.typeId() == QMetaType::Bool) {
            store.WriteBool(v.Name, v.Value.toBool());
        } else if (v.Value.typeId() == QMetaType::Int) {
            store.WriteInteger(v.Name, v.Value.toInt());
        } else {
            store.WriteString(v.Name, v.Value.toString());
        }
        QVERIFY(store.CloseKey());
    }
}

std::vector<StoredValue> FilledCase() {
    return {
        {kKeySetData, QStringLiteral("TitName"), QStringLiteral("忌日表")},
        {kKeySetData, QStringLiteral("FntName1"), QStringLiteral("IPAGothic")},
        {kKeySetData, QStringLiteral("FntName2"), QStringLiteral("IPAMincho")},
        {kKeySetData, QStringLiteral("KiNen"), QStringLiteral("2024")},
        {kKeySetData, QStringLiteral("KiNengo"), QStringLiteral("令和")},
        {kKeySetData, QStringLiteral("KiWanen"), QStringLiteral("6")},
        {kKeySetData, QStringLiteral("KiGatsu"), QStringLiteral("3")},
        {kKeySetData, QStringLiteral("KiNichi"), QStringLiteral("15")},
        {kKeySetData, QStringLiteral("Kaimyo"), QStringLiteral("釋浄念/しゃく/じょうねん")},
        {kKeySetData, QStringLiteral("Zokumyo"), QStringLiteral("山田太郎")},
        {kKeySetData, QStringLiteral("GyoNen"), QStringLiteral("82")},
        {kKeySetData, QStringLiteral("TaiA"), false},
        {kKeySetData, QStringLiteral("KaimyoStyle"), 1},
        {kKeyExtendSetUp, QStringLiteral("WarekiInsatsu"), false},
        {kKeyExtendSetUp, QStringLiteral("HatsuGatsuPrint"), false},
        {kKey2ndExtend, QStringLiteral("Add1"), 3},
        {kKey2ndExtend, QStringLiteral("KiName1"), QStringLiteral("三日忌")},
        {kKey2ndExtend, QStringLiteral("RubyPrint"), false},
    };
}

int Run(const std::vector<std::string>& args, std::string& err) {
    std::ostringstream out;
    std::ostringstream errors;
    std::vector<std::string> call{"sheet"};
    call.insert(call.end(), args.begin(), args.end());
    const int code = RunCommandLine(call, out, errors);
    err = errors.str();
    return code;
}

} // namespace

class TestCliSheet : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void WrongCalls_data();
    void WrongCalls();
    void LoadsInTheWindowsOrder();
    void EraAndNameSpecialForms_data();
    void EraAndNameSpecialForms();
    void WritesOneLandscapePage_data();
    void WritesOneLandscapePage();
    void MessagesGoToTheErrorStream();
    void UnwritableFileFails();
    void ReplacesEarlierFile();

private:
    QTemporaryDir m_dir;
};

void TestCliSheet::initTestCase() {
    QVERIFY(m_dir.isValid());
    qputenv("XDG_CONFIG_HOME", m_dir.filePath(QStringLiteral("config")).toLocal8Bit());
}

void TestCliSheet::init() {
    QFile::remove(SettingsStore::DefaultFile());
}

void TestCliSheet::WrongCalls_data() {
    QTest::addColumn<QStringList>("args");
    QTest::newRow("nothing") << QStringList{};
    QTest::newRow("no file") << QStringList{QStringLiteral("--blank")};
    QTest::newRow("pdf without value") << QStringList{QStringLiteral("--pdf")};
    QTest::newRow("unknown paper") << QStringList{QStringLiteral("--pdf"), QStringLiteral("x.pdf"),
                                                  QStringLiteral("--paper"), QStringLiteral("A5")};
    QTest::newRow("unknown option") << QStringList{QStringLiteral("--pdf"), QStringLiteral("x.pdf"),
                                                   QStringLiteral("--colour")};
    QTest::newRow("pdf twice") << QStringList{QStringLiteral("--pdf"), QStringLiteral("x.pdf"),
                                              QStringLiteral("--pdf"), QStringLiteral("y.pdf")};
    QTest::newRow("pdf twice, once with =") << QStringList{
        QStringLiteral("--pdf=x.pdf"), QStringLiteral("--pdf"), QStringLiteral("y.pdf")};
    QTest::newRow("blank twice") << QStringList{QStringLiteral("--pdf"), QStringLiteral("x.pdf"),
                                                QStringLiteral("--blank"),
                                                QStringLiteral("--blank")};
    QTest::newRow("value taken from the next option")
        << QStringList{QStringLiteral("--pdf"), QStringLiteral("--blank")};
    QTest::newRow("blank with a value") << QStringList{
        QStringLiteral("--pdf"), QStringLiteral("x.pdf"), QStringLiteral("--blank=1")};
    QTest::newRow("paper twice") << QStringList{QStringLiteral("--pdf"), QStringLiteral("x.pdf"),
                                                QStringLiteral("--paper"), QStringLiteral("A4"),
                                                QStringLiteral("--paper=B5")};
    QTest::newRow("stray argument")
        << QStringList{QStringLiteral("--pdf"), QStringLiteral("x.pdf"), QStringLiteral("y.pdf")};
    QTest::newRow("empty file name") << QStringList{QStringLiteral("--pdf"), QString()};
}

void TestCliSheet::WrongCalls() {
    QFETCH(QStringList, args);
    std::vector<std::string> list;
    for (const QString& a : args) {
        list.push_back(a.toStdString());
    }
    std::string err;
    QCOMPARE(Run(list, err), 2);
    QVERIFY(!err.empty());
    QVERIFY(!QFile::exists(QStringLiteral("x.pdf")));
    QVERIFY(!QFile::exists(QStringLiteral("y.pdf")));
    QVERIFY(!QFile::exists(QStringLiteral("--blank")));
}

void TestCliSheet::LoadsInTheWindowsOrder() {
    Store(FilledCase());
    const MemorialSheetInputs in = LoadStoredSheetInputs(QString(), nullptr);
    QCOMPARE(ToQ(in.Deceased.Kaimyo), QStringLiteral("釋浄念"));
    QCOMPARE(ToQ(in.Deceased.Yomi), QStringLiteral("しゃく/じょうねん"));
    QCOMPARE(ToQ(in.Deceased.KiNengo), QStringLiteral("令和"));
    QCOMPARE(in.Options.KaimyoStyle, 1);
    QCOMPARE(in.Options.WarekiInsatsu, false);
    QCOMPARE(in.Options.HatsuGatsuPrint, false);
    QCOMPARE(in.Options.HyakkaNichiPrint, true); // not stored: the default
    QCOMPARE(in.Options.RubyPrint, false);
    // The stored offset, eve flag and name are in place before the schedule is computed.
    MemorialSchedule expected = DefaultSchedule();
    expected[0].Offset = 3;
    expected[0].Eve = false;
    expected[0].Name = u"三日忌";
    ComputeSchedule(u"2024", u"3", u"15", expected);
    QCOMPARE(in.Schedule[0].Offset, 3);
    QCOMPARE(in.Schedule[0].Eve, false);
    QCOMPARE(ToQ(in.Schedule[0].Name), QStringLiteral("三日忌"));
    for (std::size_t i = 0; i < 9; ++i) {
        QCOMPARE(in.Schedule[i].Month, expected[i].Month);
        QCOMPARE(in.Schedule[i].Day, expected[i].Day);
    }
    QCOMPARE(ToQ(in.Schedule[0].Day), QStringLiteral("18"));
}

void TestCliSheet::EraAndNameSpecialForms_data() {
    QTest::addColumn<QString>("era");
    QTest::addColumn<QString>("kaimyo");
    QTest::addColumn<QString>("eraShown");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reading");
    QTest::newRow("known era, name and reading")
        << QStringLiteral("平成") << QStringLiteral("釋浄念/しゃく") << QStringLiteral("平成")
        << QStringLiteral("釋浄念") << QStringLiteral("しゃく");
    QTest::newRow("unknown era, no slash") << QStringLiteral("平成元年") << QStringLiteral("釋浄念")
                                           << QString() << QStringLiteral("釋浄念") << QString();
    QTest::newRow("slash at the end")
        << QStringLiteral("－－") << QStringLiteral("釋浄念/") << QStringLiteral("－－")
        << QStringLiteral("釋浄念") << QString();
    QTest::newRow("empty") << QString() << QString() << QString() << QString() << QString();
}

void TestCliSheet::EraAndNameSpecialForms() {
    QFETCH(QString, era);
    QFETCH(QString, kaimyo);
    QFETCH(QString, eraShown);
    QFETCH(QString, name);
    QFETCH(QString, reading);
    Store({{kKeySetData, QStringLiteral("KiNengo"), era},
           {kKeySetData, QStringLiteral("Kaimyo"), kaimyo}});
    const MemorialSheetInputs in = LoadStoredSheetInputs(QString(), nullptr);
    QCOMPARE(ToQ(in.Deceased.KiNengo), eraShown);
    QCOMPARE(ToQ(in.Deceased.Kaimyo), name);
    QCOMPARE(ToQ(in.Deceased.Yomi), reading);
}

void TestCliSheet::WritesOneLandscapePage_data() {
    QTest::addColumn<QStringList>("extra");
    QTest::addColumn<double>("longSide"); // points
    QTest::newRow("A4") << QStringList{} << 841.89;
    QTest::newRow("A4 blank") << QStringList{QStringLiteral("--blank")} << 841.89;
    QTest::newRow("B5") << QStringList{QStringLiteral("--paper"), QStringLiteral("B5")} << 728.5;
    QTest::newRow("A3") << QStringList{QStringLiteral("--paper"), QStringLiteral("A3")} << 1190.55;
}

void TestCliSheet::WritesOneLandscapePage() {
    QFETCH(QStringList, extra);
    QFETCH(double, longSide);
    Store(FilledCase());
    const QString file = m_dir.filePath(
        QStringLiteral("sheet-%1.pdf").arg(QString::fromLatin1(QTest::currentDataTag())));
    std::vector<std::string> args{"--pdf", file.toStdString()};
    for (const QString& a : extra) {
        args.push_back(a.toStdString());
    }
    std::string err;
    QCOMPARE(Run(args, err), 0);
    QFile pdf(file);
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    const QByteArray data = pdf.readAll();
    QVERIFY(data.startsWith("%PDF"));
    QVERIFY2(data.size() < 500 * 1024, qPrintable(QString::number(data.size())));
    const QRegularExpression box(QStringLiteral("/MediaBox \\[0 0 ([0-9.]+) ([0-9.]+)\\]"));
    int pages = 0;
    for (auto it = box.globalMatch(QString::fromLatin1(data)); it.hasNext();) {
        const auto m = it.next();
        ++pages;
        const double w = m.captured(1).toDouble();
        const double h = m.captured(2).toDouble();
        QVERIFY2(w > h, "the page is turned to the reading view");
        QVERIFY(std::abs(w - longSide) < 2.0);
    }
    QCOMPARE(pages, 1);
    QVERIFY(data.contains("/FontFile2")); // the fonts travel with the file
}

void TestCliSheet::MessagesGoToTheErrorStream() {
    Store({{kKeySetData, QStringLiteral("KiNen"), QStringLiteral("2024")}});
    std::string err;
    const QString file = m_dir.filePath(QStringLiteral("defaults.pdf"));
    QCOMPARE(Run({"--pdf", file.toStdString()}, err), 0);
    const QString text = QString::fromStdString(err);
    const qsizetype fonts = text.indexOf(kFontMissingMessage);
    const qsizetype title = text.indexOf(kTitleMissingMessage);
    QVERIFY(fonts >= 0);
    QVERIFY(title > fonts);
    QVERIFY(QFile::exists(file));
}

void TestCliSheet::UnwritableFileFails() {
    std::string err;
    const QString file = m_dir.filePath(QStringLiteral("no/such/dir/sheet.pdf"));
    QCOMPARE(Run({"--pdf", file.toStdString()}, err), 1);
    const QString text = QString::fromStdString(err);
    QVERIFY2(text.contains(QStringLiteral("ファイルを書き込めません: ") + file), qPrintable(text));
}

void TestCliSheet::ReplacesEarlierFile() {
    Store(FilledCase());
    const QString file = m_dir.filePath(QStringLiteral("earlier.pdf"));
    {
        QFile earlier(file);
        QVERIFY(earlier.open(QIODevice::WriteOnly));
        earlier.write(QByteArray(200000, 'x')); // longer than the new sheet
    }
    std::string err;
    QCOMPARE(Run({"--pdf", file.toStdString()}, err), 0);
    QFile pdf(file);
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    const QByteArray data = pdf.readAll();
    QVERIFY(data.startsWith("%PDF"));
    QVERIFY(!data.contains("xxxx")); // nothing of the earlier file remains
    QVERIFY(data.trimmed().endsWith("%%EOF"));
}

QTEST_MAIN(TestCliSheet)
#include "tst_clisheet.moc"
