// `ulvan due` and `ulvan ical`, driven through RunCommandLine with string streams and files
// in a temporary folder.
#include "app/CommandLine.h"
#include "calendar/ICalendar.h"
#include "calendar/Schedule.h"
#include "calendar/TextUtil.h"
#include "records/DueList.h"
#include "records/RecordFile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <sstream>
#include <string>
#include <vector>

using namespace ulvan;

namespace {

struct Result {
    int Code = 0;
    QStringList Lines;
    QString Err;
};

Result Run(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    Result result;
    result.Code = RunCommandLine(args, out, err);
    result.Lines = QString::fromStdString(out.str()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    result.Err = QString::fromStdString(err.str());
    return result;
}

bool WriteBytes(const QString& path, const std::string& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) &&
           file.write(bytes.data(), qint64(bytes.size())) == qint64(bytes.size());
}

std::string ReadBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll().toStdString();
}

std::u16string RecordText() {
    // Two due in 2025 (七回忌, 十三回忌), one not, one without a readable year.
    return u"釋一郎/しゃくいちろう,青木一郎,2019,令和,1,5,1,80\r\n"
           u"釋花子/しゃくはなこ,\"髙橋, 花子\",,平成,25,1,20,91\r\n"
           u"釋三郎,佐藤三郎,2020,令和,2,3,3,70\r\n"
           u"釋不明,山田,不明,,,4,4,\r\n";
}

QStringList Args(std::initializer_list<const char*> texts) {
    QStringList list;
    for (const char* text : texts)
        list << QString::fromUtf8(text);
    return list;
}

} // namespace

class TestCliDue : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void DueListsTabSeparated_data();
    void DueListsTabSeparated();
    void DueCsvQuotesAsTheRecordFile();
    void DueErrors_data();
    void DueErrors();
    void IcalWritesTheScheduleDates();
    void IcalRewriteRaisesNothingWhenUnchanged();
    void IcalErrors_data();
    void IcalErrors();
    void IcalImportsWithPythonIcalendar();
};

void TestCliDue::DueListsTabSeparated_data() {
    QTest::addColumn<int>("encoding");
    QTest::newRow("cp932") << int(RecordEncoding::Cp932);
    QTest::newRow("utf8") << int(RecordEncoding::Utf8);
    QTest::newRow("utf8 bom") << int(RecordEncoding::Utf8Bom);
}

void TestCliDue::DueListsTabSeparated() {
    QFETCH(int, encoding);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("kako.csv"));
    const EncodedText bytes = EncodeRecordText(RecordText(), RecordEncoding(encoding));
    QVERIFY(bytes.Lost.empty());
    const std::string bom =
        RecordEncoding(encoding) == RecordEncoding::Utf8Bom ? "\xEF\xBB\xBF" : "";
    QVERIFY(WriteBytes(path, bom + bytes.Bytes));
    const Result run = Run({"due", "2025", "--records", path.toStdString()});
    QCOMPARE(run.Code, 0);
    QCOMPARE(run.Lines.size(), 3);
    const QStringList first = run.Lines[0].split(QLatin1Char('\t'));
    QCOMPARE(first.size(), int(kDueColumnCount));
    // 1/20 before 5/1.
    QCOMPARE(first[kDueMemorial], QStringLiteral("十三回忌"));
    QCOMPARE(first[kDueZokumyo], QStringLiteral("髙橋, 花子"));
    QCOMPARE(first[kDueDeathDate], QStringLiteral("2013年1月20日"));
    const QStringList second = run.Lines[1].split(QLatin1Char('\t'));
    QCOMPARE(second[kDueMemorial], QStringLiteral("七回忌"));
    QCOMPARE(second[kDueEraYear], QStringLiteral("令和7年"));
    const QStringList last = run.Lines[2].split(QLatin1Char('\t'));
    QCOMPARE(last[kDueMemorial], QString::fromStdU16String(std::u16string(kUndatedLabel)));
    QCOMPARE(last[kDueZokumyo], QStringLiteral("山田"));
    QVERIFY2(run.Err.contains(QStringLiteral("読み込み 4件")), qPrintable(run.Err));

    const Result withNext = Run({"due", "2025", "--next", "--records", path.toStdString()});
    QCOMPARE(withNext.Code, 0);
    QCOMPARE(withNext.Lines.size(), 4); // 佐藤三郎's 七回忌 in 2026
    QVERIFY(withNext.Lines[2].startsWith(QStringLiteral("七回忌\t2026\t")));
}

void TestCliDue::DueCsvQuotesAsTheRecordFile() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("kako.csv"));
    QVERIFY(WriteBytes(path, EncodeRecordText(RecordText(), RecordEncoding::Utf8).Bytes));
    const Result run = Run({"due", "2025", "--records", path.toStdString(), "--csv"});
    QCOMPARE(run.Code, 0);
    QCOMPARE(run.Lines.size(), 4); // header + 2 + 没年不明
    std::vector<std::u16string> header = SplitCommaText(run.Lines[0].toStdU16String());
    QCOMPARE(header.size(), std::size_t(kDueColumnCount));
    QCOMPARE(header[0], DueHeader()[0]);
    const std::vector<std::u16string> row = SplitCommaText(run.Lines[1].toStdU16String());
    QCOMPARE(row[kDueZokumyo], std::u16string(u"髙橋, 花子"));
}

void TestCliDue::DueErrors_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");
    QTest::newRow("no year") << Args({"due", "--records", "x"}) << 2 << QStringLiteral("年を1つ");
    QTest::newRow("year not a number")
        << Args({"due", "二〇二五", "--records", "x"}) << 2 << QStringLiteral("整数ではありません");
    QTest::newRow("no records") << Args({"due", "2025"}) << 2
                                << QStringLiteral("--records FILE を指定");
    QTest::newRow("missing file") << Args({"due", "2025", "--records", "/nonexistent/kako.csv"})
                                  << 1 << QStringLiteral("記録ファイルがありません");
    QTest::newRow("a folder") << Args({"due", "2025", "--records", "/tmp"}) << 1
                              << QStringLiteral("/tmp: ");
}

void TestCliDue::DueErrors() {
    QFETCH(QStringList, args);
    QFETCH(int, code);
    QFETCH(QString, message);
    std::vector<std::string> call;
    for (const QString& arg : args)
        call.push_back(arg.toStdString());
    const Result run = Run(call);
    QCOMPARE(run.Code, code);
    QVERIFY2(run.Err.contains(message), qPrintable(run.Err));
    QVERIFY(run.Lines.isEmpty());
}

void TestCliDue::IcalWritesTheScheduleDates() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("青木.ics"));
    const Result run = Run({"ical", "2024", "12", "20", "--name", "青木一郎", "--eve", "000000000",
                            "--annual", "--ics", path.toStdString()});
    QCOMPARE(run.Code, 0);
    const std::string text = ReadBytes(path);
    MemorialSchedule expected = DefaultSchedule();
    for (MemorialDay& row : expected)
        row.Eve = false;
    const auto dates = ScheduleDates(2024, 12, 20, expected);
    const std::vector<std::string> lines = UnfoldCalendarLines(text);
    std::vector<std::string> starts;
    for (const std::string& line : lines) {
        if (line.starts_with("DTSTART;VALUE=DATE:"))
            starts.push_back(line.substr(19));
    }
    QCOMPARE(starts.size(), std::size_t(9 + 11));
    for (std::size_t i = 0; i < 9; ++i) {
        const QString want = QStringLiteral("%1%2%3")
                                 .arg(dates[i].Year, 4, 10, QLatin1Char('0'))
                                 .arg(dates[i].Month, 2, 10, QLatin1Char('0'))
                                 .arg(dates[i].Day, 2, 10, QLatin1Char('0'));
        QCOMPARE(QString::fromStdString(starts[i]), want);
        QVERIFY(run.Lines[int(i)].startsWith(want.left(4) + QLatin1Char('-')));
    }
    // 百箇日忌 without the eve: 99 days on, in the next year.
    QCOMPARE(starts[8], std::string("20250329"));
    QVERIFY(text.find(ToUtf8(u"SUMMARY:初七日忌（青木一郎）")) != std::string::npos);
}

void TestCliDue::IcalRewriteRaisesNothingWhenUnchanged() {
    QTemporaryDir dir;
    const std::string path = dir.filePath(QStringLiteral("a.ics")).toStdString();
    QCOMPARE(Run({"ical", "2025", "4", "1", "--ics", path}).Code, 0);
    const Result again = Run({"ical", "2025", "4", "1", "--ics", path});
    QCOMPARE(again.Code, 0);
    for (const QString& line : again.Lines)
        QVERIFY2(line.endsWith(QStringLiteral("\t0")), qPrintable(line));
    // Offsets changed: the first row's date moves, its sequence rises.
    const Result moved =
        Run({"ical", "2025", "4", "1", "--offsets", "7,13,20,27,34,41,48,99", "--ics", path});
    QCOMPARE(moved.Code, 0);
    QVERIFY2(moved.Lines[0].endsWith(QStringLiteral("\t1")), qPrintable(moved.Lines[0]));
    QVERIFY2(moved.Lines[1].endsWith(QStringLiteral("\t0")), qPrintable(moved.Lines[1]));
}

void TestCliDue::IcalErrors_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");
    QTest::newRow("no file") << Args({"ical", "2025", "4", "1"}) << 2
                             << QStringLiteral("--ics FILE を指定");
    QTest::newRow("no date") << Args({"ical", "2025", "2", "29", "--ics", "/tmp/x.ics"}) << 2
                             << QStringLiteral("日付になりません");
    QTest::newRow("bad offsets") << Args({"ical", "2025", "4", "1", "--offsets", "1,2", "--ics",
                                          "/tmp/x.ics"})
                                 << 2 << QStringLiteral("--offsets");
    QTest::newRow("unwritable") << Args({"ical", "2025", "4", "1", "--ics",
                                         "/nonexistent/dir/x.ics"})
                                << 1 << QStringLiteral("ファイルを書き込めません");
}

void TestCliDue::IcalErrors() {
    QFETCH(QStringList, args);
    QFETCH(int, code);
    QFETCH(QString, message);
    std::vector<std::string> call;
    for (const QString& arg : args)
        call.push_back(arg.toStdString());
    const Result run = Run(call);
    QCOMPARE(run.Code, code);
    QVERIFY2(run.Err.contains(message), qPrintable(run.Err));
}

void TestCliDue::IcalImportsWithPythonIcalendar() {
    // The system's interpreter, which the Debian package serves (a python3 earlier on the
    // PATH may be another installation).
    const QString system = QStringLiteral("/usr/bin/python3");
    const QString python =
        QFile::exists(system) ? system : QStandardPaths::findExecutable(QStringLiteral("python3"));
    // build.sh installs both; a missing one is a broken set-up, not a reason to pass.
    QVERIFY2(!python.isEmpty(), "python3 is not installed");
    QProcess probe;
    probe.start(python, {QStringLiteral("-c"), QStringLiteral("import icalendar")});
    probe.waitForFinished(30000);
    QVERIFY2(probe.exitCode() == 0, "python3-icalendar is not installed");
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.ics"));
    QCOMPARE(Run({"ical", "2020", "2", "29", "--name",
                  "とても長い俗名の方のための題名がここに入りますとても長い俗名", "--annual",
                  "--ics", path.toStdString()})
                 .Code,
             0);
    // The library's strict parser; each event's start date and title printed back.
    const QString script =
        QStringLiteral("import sys, icalendar\n"
                       "cal = icalendar.Calendar.from_ical(open(sys.argv[1], 'rb').read())\n"
                       "for e in cal.walk('VEVENT'):\n"
                       "    errors = getattr(e, 'errors', [])\n"
                       "    if errors: sys.exit('errors: %r' % errors)\n"
                       "    print(e.decoded('DTSTART').isoformat(), str(e['SUMMARY']))\n");
    QProcess parse;
    parse.start(python, {QStringLiteral("-c"), script, path});
    QVERIFY(parse.waitForFinished(60000));
    const QString stderrText = QString::fromUtf8(parse.readAllStandardError());
    QVERIFY2(parse.exitCode() == 0, qPrintable(stderrText));
    QVERIFY2(stderrText.trimmed().isEmpty(), qPrintable(stderrText));
    const QStringList lines = QString::fromUtf8(parse.readAllStandardOutput())
                                  .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 9 + 11);
    QVERIFY2(lines[9].startsWith(QStringLiteral("2021-02-28 一周忌（とても長い")),
             qPrintable(lines[9]));
    MemorialSchedule schedule = DefaultSchedule();
    const auto dates = ScheduleDates(2020, 2, 29, schedule);
    for (int i = 0; i < 9; ++i) {
        const QString want = QStringLiteral("%1-%2-%3")
                                 .arg(dates[std::size_t(i)].Year, 4, 10, QLatin1Char('0'))
                                 .arg(dates[std::size_t(i)].Month, 2, 10, QLatin1Char('0'))
                                 .arg(dates[std::size_t(i)].Day, 2, 10, QLatin1Char('0'));
        QVERIFY2(lines[i].startsWith(want + QLatin1Char(' ')), qPrintable(lines[i]));
    }
}

QTEST_GUILESS_MAIN(TestCliDue)
#include "tst_clidue.moc"
