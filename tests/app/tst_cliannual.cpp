// `ulvan sheet --annual`: the annual chart of the stored case, as the annual window shows it
// after start-up, and the PDF it writes. The settings store lives in a temporary
// XDG_CONFIG_HOME.
#include "StoreKeys.h"
#include "annual/NenkaiUnit.h"
#include "app/CliAnnual.h"
#include "app/CommandLine.h"
#include "case/SettingsStore.h"
#include "case/StoredCase.h"
#include "sheet/PrintSheet.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <sstream>
#include <string>
#include <vector>

using namespace ulvan;
using namespace ulvan::test;

namespace {

void StoreText(const QString& key, const QString& name, const QString& value) {
    SettingsStore store;
    QVERIFY(store.OpenKey(key, true));
    store.WriteString(name, value);
    QVERIFY(store.CloseKey());
}

void StoreDate(const QString& year, const QString& era, const QString& eraYear,
               const QString& month, const QString& day) {
    StoreText(kKeySetData, QStringLiteral("KiNen"), year);
    StoreText(kKeySetData, QStringLiteral("KiNengo"), era);
    StoreText(kKeySetData, QStringLiteral("KiWanen"), eraYear);
    StoreText(kKeySetData, QStringLiteral("KiGatsu"), month);
    StoreText(kKeySetData, QStringLiteral("KiNichi"), day);
}

class RecordingSink : public MessageSink {
public:
    void ShowMessage(std::u16string_view text) override { Messages.append(ToQ(text)); }
    void Beep(BeepKind) override {}
    QStringList Messages;
};

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

class TestCliAnnual : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void EraOfDeath_data();
    void EraOfDeath();
    void StoredSelectionAndTitle();
    void YearNotAnInteger();
    void WritesOneLandscapePage_data();
    void WritesOneLandscapePage();
    void TitleMessageIsTheAnnualOne();

private:
    QTemporaryDir m_dir;
};

void TestCliAnnual::initTestCase() {
    QVERIFY(m_dir.isValid());
    qputenv("XDG_CONFIG_HOME", m_dir.filePath(QStringLiteral("config")).toLocal8Bit());
}

void TestCliAnnual::init() {
    QFile::remove(SettingsStore::DefaultFile());
}

void TestCliAnnual::EraOfDeath_data() {
    QTest::addColumn<QString>("year");
    QTest::addColumn<QString>("storedEra");
    QTest::addColumn<QString>("storedEraYear");
    QTest::addColumn<QString>("month");
    QTest::addColumn<QString>("era");
    QTest::addColumn<QString>("eraYear");
    QTest::addColumn<bool>("told");
    // A decided year: the era the year gives, whatever was stored.
    QTest::newRow("decided") << "2018"
                             << "平成"
                             << "30"
                             << "3"
                             << "平成"
                             << "30" << false;
    QTest::newRow("decided, stored era wrong") << "2018"
                                               << "昭和"
                                               << "93"
                                               << "3"
                                               << "平成"
                                               << "30" << false;
    // An open year of change: the stored choice where it fits.
    QTest::newRow("open, stored ending era") << "2019"
                                             << "平成"
                                             << "31"
                                             << ""
                                             << "平成"
                                             << "31" << false;
    QTest::newRow("open, stored new era") << "2019"
                                          << "令和"
                                          << " 1"
                                          << ""
                                          << "令和"
                                          << " 1" << false;
    // An open year whose stored era does not fit: the later era, and a word on it.
    QTest::newRow("open, stored era wrong") << "2019"
                                            << "昭和"
                                            << "94"
                                            << ""
                                            << "令和"
                                            << " 1" << true;
    QTest::newRow("open, no era stored") << "1989"
                                         << ""
                                         << ""
                                         << ""
                                         << "平成"
                                         << " 1" << true;
}

void TestCliAnnual::EraOfDeath() {
    QFETCH(QString, year);
    QFETCH(QString, storedEra);
    QFETCH(QString, storedEraYear);
    QFETCH(QString, month);
    QFETCH(QString, era);
    QFETCH(QString, eraYear);
    QFETCH(bool, told);
    StoreDate(year, storedEra, storedEraYear, month, QString());
    RecordingSink sink;
    const NenkaiSheetInputs in = LoadStoredNenkaiInputs(QString(), &sink);
    QCOMPARE(ToQ(in.Chart.Year), year);
    QCOMPARE(ToQ(in.Chart.Era), era);
    QCOMPARE(ToQ(in.Chart.EraYear), eraYear);
    QCOMPARE(sink.Messages.size(), told ? 1 : 0);
    if (told) {
        QVERIFY(sink.Messages.front().contains(era));
        QVERIFY(sink.Messages.front().contains(year));
    }
}

void TestCliAnnual::StoredSelectionAndTitle() {
    StoreDate(QStringLiteral("2000"), QStringLiteral("平成"), QStringLiteral("12"),
              QStringLiteral("3"), QStringLiteral("15"));
    NenkaiSelection selection;
    selection.fill(true);
    selection[1] = false; // 三回忌
    QVERIFY(WriteNenkaiSelection(SettingsStore::DefaultFile(), selection));
    QVERIFY(WriteNenkaiTitle(SettingsStore::DefaultFile(), u"回忌表"));
    const NenkaiSheetInputs in = LoadStoredNenkaiInputs(QString(), nullptr);
    QCOMPARE(ToQ(in.Chart.Title), QStringLiteral("回忌表"));
    QCOMPARE(in.Chart.Rows.size(), std::size_t{11});
    QCOMPARE(ToQ(in.Chart.Rows[0].Name), QStringLiteral("一周忌"));
    QCOMPARE(ToQ(in.Chart.Rows[1].Name), QStringLiteral("七回忌"));
    QCOMPARE(ToQ(in.Chart.Rows[1].Result.WesternYear), QStringLiteral("2006"));
    QCOMPARE(ToQ(in.Chart.Rows[10].Name), QStringLiteral("七十回忌"));
    QCOMPARE(ToQ(in.Deceased.KiGatsu), QStringLiteral("3"));
}

void TestCliAnnual::YearNotAnInteger() {
    StoreDate(QStringLiteral("abc"), QString(), QString(), QString(), QString());
    RecordingSink sink;
    const NenkaiSheetInputs in = LoadStoredNenkaiInputs(QString(), &sink);
    QCOMPARE(ToQ(in.Chart.Era), QStringLiteral("－－"));
    QCOMPARE(ToQ(in.Chart.EraYear), QStringLiteral("--"));
    QVERIFY(in.Chart.Rows.empty());
    QVERIFY(sink.Messages.isEmpty());
}

void TestCliAnnual::WritesOneLandscapePage_data() {
    QTest::addColumn<QStringList>("extra");
    QTest::addColumn<double>("longSide"); // points
    QTest::newRow("A4") << QStringList{} << 841.89;
    QTest::newRow("A4 blank") << QStringList{QStringLiteral("--blank")} << 841.89;
    QTest::newRow("B5") << QStringList{QStringLiteral("--paper"), QStringLiteral("B5")} << 728.5;
}

void TestCliAnnual::WritesOneLandscapePage() {
    QFETCH(QStringList, extra);
    QFETCH(double, longSide);
    StoreDate(QStringLiteral("2018"), QStringLiteral("平成"), QStringLiteral("30"),
              QStringLiteral("3"), QStringLiteral("15"));
    const QString file = m_dir.filePath(
        QStringLiteral("annual-%1.pdf").arg(QString::fromLatin1(QTest::currentDataTag())));
    std::vector<std::string> args{"--annual", "--pdf", file.toStdString()};
    for (const QString& a : extra) {
        args.push_back(a.toStdString());
    }
    std::string err;
    QCOMPARE(Run(args, err), 0);
    QFile pdf(file);
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    const QByteArray data = pdf.readAll();
    QVERIFY(data.startsWith("%PDF"));
    const QRegularExpression box(QStringLiteral("/MediaBox \\[0 0 ([0-9.]+) ([0-9.]+)\\]"));
    int pages = 0;
    for (auto it = box.globalMatch(QString::fromLatin1(data)); it.hasNext();) {
        const auto m = it.next();
        ++pages;
        QVERIFY2(m.captured(1).toDouble() > m.captured(2).toDouble(), "turned to the reading view");
        QVERIFY(std::abs(m.captured(1).toDouble() - longSide) < 2.0);
    }
    QCOMPARE(pages, 1);
}

void TestCliAnnual::TitleMessageIsTheAnnualOne() {
    StoreDate(QStringLiteral("2018"), QStringLiteral("平成"), QStringLiteral("30"),
              QStringLiteral("3"), QStringLiteral("15"));
    StoreText(kKeySetData, QStringLiteral("TitName"), QStringLiteral("忌日表"));
    std::string err;
    const QString file = m_dir.filePath(QStringLiteral("untitled.pdf"));
    QCOMPARE(Run({"--annual", "--pdf", file.toStdString()}, err), 0);
    const QString text = QString::fromStdString(err);
    QVERIFY2(text.contains(kNenkaiTitleMissingMessage), qPrintable(text));
    QVERIFY(!text.contains(kTitleMissingMessage));
}

QTEST_MAIN(TestCliAnnual)
#include "sheet/QtText.h"
#include "tst_cliannual.moc"
