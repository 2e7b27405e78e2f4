// The command-line face, driven through RunCommandLine with string streams.
#include "app/CommandLine.h"
#include "calendar/Schedule.h"
#include "calendar/TextUtil.h"
#include "sheet/QtText.h"

#include <QTest>

#include <algorithm>
#include <array>
#include <sstream>

using namespace ulvan;

namespace {

struct Run {
    int Code = 0;
    QStringList Lines; // stdout split at line ends, without the final empty piece
    QString Err;
};

Run RunWith(const QStringList& arguments) {
    std::vector<std::string> args;
    for (const QString& a : arguments)
        args.push_back(a.toStdString());
    std::ostringstream out;
    std::ostringstream err;
    Run run;
    run.Code = RunCommandLine(args, out, err);
    const QString text = QString::fromStdString(out.str());
    run.Lines = text.split(QLatin1Char('\n'));
    if (!run.Lines.isEmpty() && run.Lines.last().isEmpty())
        run.Lines.removeLast();
    run.Err = QString::fromStdString(err.str());
    return run;
}

QStringList Words(const char* text) {
    return QString::fromUtf8(text).split(QLatin1Char(' '));
}

} // namespace

class TestCommandLine : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void ScheduleOfJanuary31_data();
    void ScheduleOfJanuary31();
    void Outputs_data();
    void Outputs();
    void WrongCalls_data();
    void WrongCalls();
    void Help_data();
    void Help();
    void Parser_data();
    void Parser();
    void ParserRefusals_data();
    void ParserRefusals();
    void NamesBreakingTheRecord_data();
    void NamesBreakingTheRecord();
    void DatesThatDoNotExist_data();
    void DatesThatDoNotExist();
    void CommandTableOptions();
    void EchoedTextsStayOnOneLine_data();
    void EchoedTextsStayOnOneLine();
};

void TestCommandLine::ScheduleOfJanuary31_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("month");
    QTest::addColumn<QString>("day");
    QTest::addColumn<QString>("weekday");
    const char* rows[9][3] = {
        {"2", "5", "（火曜日）"},  {"2", "12", "（火曜日）"}, {"2", "19", "（火曜日）"},
        {"2", "26", "（火曜日）"}, {"2", "28", "（木曜日）"}, {"3", "5", "（火曜日）"},
        {"3", "12", "（火曜日）"}, {"3", "19", "（火曜日）"}, {"5", "9", "（木曜日）"}};
    for (int i = 0; i < 9; ++i) {
        QTest::addRow("row %d", i + 1)
            << i << QString::fromUtf8(rows[i][0]) << QString::fromUtf8(rows[i][1])
            << QString::fromUtf8(rows[i][2]);
    }
}

void TestCommandLine::ScheduleOfJanuary31() {
    QFETCH(int, row);
    QFETCH(QString, month);
    QFETCH(QString, day);
    QFETCH(QString, weekday);
    const Run run = RunWith(Words("schedule 2019 1 31"));
    QCOMPARE(run.Code, 0);
    QVERIFY(run.Err.isEmpty());
    QCOMPARE(run.Lines.size(), 9);
    const QStringList fields = run.Lines[row].split(QLatin1Char('\t'));
    QCOMPARE(fields.size(), 4);
    QVERIFY(!fields[0].isEmpty()); // the default row name
    QCOMPARE(fields[1], month);
    QCOMPARE(fields[2], day);
    QCOMPARE(fields[3], weekday);
}

void TestCommandLine::Outputs_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("lineCount");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("expected");

    auto row = [](const char* name, QStringList args, int count, int line, const char* text) {
        QTest::newRow(name) << args << count << line << QString::fromUtf8(text);
    };
    row("wareki undecided 1989", Words("wareki 1989 1 0"), 1, 0, "昭和64平成 1");
    row("wareki year only", Words("wareki 2019"), 1, 0, "平成31令和 1");
    row("wareki decided", Words("wareki 2019 5 1"), 1, 0, "令和 1");
    row("wareki month not a number", Words("wareki 2019 x y"), 1, 0, "平成31令和 1");
    row("wareki year not a number", Words("wareki abc"), 1, 0, "－－--");
    row("wareki empty year", QStringList{QStringLiteral("wareki"), QString()}, 1, 0, "－－--");
    row("wareki beyond last era", Words("wareki 2118 1 1"), 1, 0, "\u3000\u3000  ");
    row("wareki negative", Words("wareki -5 1 1"), 1, 0, "");
    row("wareki after --", Words("wareki -- -5"), 1, 0, "");

    row("annual month 3 first", Words("annual 2018 --month 3"), 21, 0, "一周忌\t2019\t平成\t31");
    row("annual month 3 second", Words("annual 2018 --month 3"), 21, 1, "三回忌\t2020\t令和\t 2");
    row("annual month=6", Words("annual 2018 --month=6"), 21, 0, "一周忌\t2019\t令和\t 1");
    row("annual month 5 day 1", Words("annual 2018 --month 5 --day 1"), 21, 0,
        "一周忌\t2019\t令和\t 1");
    row("annual year 0", Words("annual 0"), 21, 13, "百五十回忌\t 149\t－－\t  ");
    row("annual five digits", Words("annual 9600"), 21, 20, "五百回忌\t10099\t\u3000\u3000\t  ");
    row("annual not a year", Words("annual x"), 21, 20, "五百回忌\t\t\t");

    row("quicktable 2068 fiftieth", Words("quicktable 2068"), 26, 14,
        "五十回忌\u3000\u3000\u30002019年（平成31年\u3000または\u3000令和元年）没");
    row("quicktable 2068 caption", Words("quicktable 2068"), 26, 25,
        "caption\t2068年度（令和50年度）年回早見表");
    row("quicktable 2019 heading", Words("quicktable 2019"), 26, 1,
        "  2019年度（令和元年度）年回早見表");
    row("quicktable 2019 caption", Words("quicktable 2019"), 26, 25,
        "caption\t2019年度（令和 1年度）年回早見表");
    row("quicktable beyond last era", Words("quicktable 2118"), 26, 25,
        "caption\t2118年度（  年度）年回早見表");
    row("quicktable not a year", Words("quicktable x"), 1, 0, "caption\t");
    row("quicktable year with a letter", Words("quicktable 2027x"), 1, 0, "caption\t");
    row("quicktable full-width digits", Words("quicktable ２０２７"), 26, 25,
        "caption\t２０２７年度（令和 9年度）年回早見表"); // the field's text as typed
    row("annual full-width digits", Words("annual ２０１８ --month ３"), 21, 0,
        "一周忌\t2019\t平成\t31");

    row("schedule cleared",
        QStringList{QStringLiteral("schedule"), QString(), QStringLiteral("1"),
                    QStringLiteral("31")},
        9, 0, "初七日忌\t\t\t（\u3000曜日）");
    row("schedule offsets and eve",
        Words("schedule 2019 1 31 --offsets "
              "6,13,20,27,34,41,48,98 --eve 111101110"),
        9, 8, "百箇日忌\t5\t9\t（木曜日）");
    row("schedule eve off", Words("schedule 2019 1 31 --eve 000000000"), 9, 0,
        "初七日忌\t2\t6\t（水曜日）");
    row("schedule names", Words("schedule 2019 5 1 --names a,b,c,d,e,f,g,h,i"), 9, 4,
        "e\t6\t1\t（土曜日）");
    row("schedule empty name", Words("schedule 2019 5 1 --names ,,,,,,,,"), 9, 8,
        "\t8\t7\t（水曜日）");
}

void TestCommandLine::Outputs() {
    QFETCH(QStringList, args);
    QFETCH(int, lineCount);
    QFETCH(int, line);
    QFETCH(QString, expected);
    const Run run = RunWith(args);
    QCOMPARE(run.Code, 0);
    // A year that does not read prints what the window shows and says so.
    const qsizetype first = args.size() > 1 && args[1] == QStringLiteral("--") ? 2 : 1;
    const bool noYear = args.size() <= first;
    if (noYear || ParseInt(args[first].toStdU16String()))
        QCOMPARE(run.Err, QString());
    else
        QVERIFY2(run.Err.contains(QStringLiteral("警告: 年 '")), qPrintable(run.Err));
    QCOMPARE(run.Lines.size(), lineCount);
    QCOMPARE(run.Lines[line], expected);
}

void TestCommandLine::WrongCalls_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("mention"); // the message names what was wrong
    QTest::newRow("nothing") << QStringList{} << QStringLiteral("--help");
    QTest::newRow("unknown command") << Words("bogus 1") << QStringLiteral("bogus");
    QTest::newRow("schedule two dates") << Words("schedule 2019 1") << QStringLiteral("day");
    QTest::newRow("schedule four dates") << Words("schedule 2019 1 31 5") << QStringLiteral("day");
    QTest::newRow("offsets too few")
        << Words("schedule 2019 1 31 --offsets 1,2") << QStringLiteral("--offsets");
    QTest::newRow("offset not a number")
        << Words("schedule 2019 1 31 --offsets 1,2,3,4,5,6,7,x") << QStringLiteral("'x'");
    QTest::newRow("eve short") << Words("schedule 2019 1 31 --eve 11") << QStringLiteral("--eve");
    QTest::newRow("eve letter") << Words("schedule 2019 1 31 --eve 11110111x")
                                << QStringLiteral("--eve");
    QTest::newRow("names too few")
        << Words("schedule 2019 1 31 --names a,b") << QStringLiteral("--names");
    QTest::newRow("unknown option")
        << Words("schedule 2019 1 31 --foo 1") << QStringLiteral("--foo");
    QTest::newRow("option twice") << Words("annual 2019 --month 1 --month 2")
                                  << QStringLiteral("twice");
    QTest::newRow("option without value")
        << Words("annual 2019 --month") << QStringLiteral("value");
    QTest::newRow("annual no year") << Words("annual") << QStringLiteral("year");
    QTest::newRow("wareki two") << Words("wareki 2019 5") << QStringLiteral("year");
    QTest::newRow("wareki none") << Words("wareki") << QStringLiteral("year");
    QTest::newRow("wareki option") << Words("wareki 2019 --month 5") << QStringLiteral("--month");
    QTest::newRow("quicktable two") << Words("quicktable 2019 2020") << QStringLiteral("year");
}

void TestCommandLine::WrongCalls() {
    QFETCH(QStringList, args);
    QFETCH(QString, mention);
    const Run run = RunWith(args);
    QCOMPARE(run.Code, 2);
    QVERIFY(run.Lines.isEmpty());
    QVERIFY2(run.Err.contains(mention), qPrintable(run.Err));
    // Japanese first, then English in brackets.
    const QString firstLine = run.Err.section(QLatin1Char('\n'), 0, 0);
    const qsizetype english = firstLine.lastIndexOf(QStringLiteral(" ("));
    QVERIFY2(english > 0, qPrintable(firstLine));
    QVERIFY2(std::any_of(firstLine.begin(), firstLine.begin() + english,
                         [](QChar c) { return c.unicode() > 0x7F; }),
             qPrintable(firstLine));
}

void TestCommandLine::Help_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QStringList>("mentions");
    const QStringList all{QStringLiteral("schedule"), QStringLiteral("wareki"),
                          QStringLiteral("annual"),   QStringLiteral("quicktable"),
                          QStringLiteral("和暦"),     QStringLiteral("era")};
    QTest::newRow("--help") << Words("--help") << all;
    QTest::newRow("-h") << Words("-h") << all;
    QTest::newRow("schedule --help")
        << Words("schedule --help") << QStringList{QStringLiteral("--offsets")};
    QTest::newRow("help after options")
        << Words("annual 2019 --month 3 --help") << QStringList{QStringLiteral("--month")};
}

void TestCommandLine::Help() {
    QFETCH(QStringList, args);
    QFETCH(QStringList, mentions);
    const Run run = RunWith(args);
    QCOMPARE(run.Code, 0);
    QVERIFY(run.Err.isEmpty());
    const QString text = run.Lines.join(QLatin1Char('\n'));
    for (const QString& m : mentions)
        QVERIFY2(text.contains(m), qPrintable(m));
}

namespace {

// A table of options like a subcommand's: two taking a value, one flag.
constexpr std::array<OptionRule, 3> kTrialOptions{
    {{"pdf", true}, {"paper", true}, {"blank", false}}};

std::vector<std::string> Strings(const QStringList& list) {
    std::vector<std::string> out;
    for (const QString& s : list)
        out.push_back(s.toStdString());
    return out;
}

} // namespace

void TestCommandLine::Parser_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QStringList>("positional");
    QTest::addColumn<QStringList>("options"); // name=value, sorted by name
    QTest::addColumn<bool>("help");
    QTest::newRow("nothing") << QStringList{} << QStringList{} << QStringList{} << false;
    QTest::newRow("value after space")
        << Words("--pdf a.pdf") << QStringList{} << Words("pdf=a.pdf") << false;
    QTest::newRow("value after =")
        << Words("--pdf=a.pdf") << QStringList{} << Words("pdf=a.pdf") << false;
    QTest::newRow("value starting with -- after =")
        << Words("--pdf=--blank") << QStringList{} << Words("pdf=--blank") << false;
    QTest::newRow("empty value after =")
        << Words("--pdf=") << QStringList{} << Words("pdf=") << false;
    QTest::newRow("negative number as value")
        << Words("--paper -5") << QStringList{} << Words("paper=-5") << false;
    QTest::newRow("flag") << Words("--blank x") << Words("x") << Words("blank=") << false;
    QTest::newRow("all three") << Words("1 --blank --paper B5 2 --pdf a") << Words("1 2")
                               << Words("blank= paper=B5 pdf=a") << false;
    QTest::newRow("negative positional")
        << Words("-5 -x") << Words("-5 -x") << QStringList{} << false;
    QTest::newRow("after --") << Words("-- --pdf --blank -h") << Words("--pdf --blank -h")
                              << QStringList{} << false;
    QTest::newRow("help") << Words("1 --help --bogus") << QStringList{} << QStringList{} << true;
    QTest::newRow("-h") << Words("--blank -h --blank") << QStringList{} << QStringList{} << true;
}

void TestCommandLine::Parser() {
    QFETCH(QStringList, args);
    QFETCH(QStringList, positional);
    QFETCH(QStringList, options);
    QFETCH(bool, help);
    const std::vector<std::string> list = Strings(args);
    std::ostringstream err;
    const auto parsed = ParseArguments(list, kTrialOptions, "trial", err);
    QVERIFY2(parsed.has_value(), err.str().c_str());
    QVERIFY(err.str().empty());
    QCOMPARE(parsed->Help, help);
    if (help)
        return; // the rest is not read
    QStringList gotPositional;
    for (const std::string& p : parsed->Positional)
        gotPositional << QString::fromStdString(p);
    QCOMPARE(gotPositional, positional);
    QStringList gotOptions;
    for (const auto& [name, value] : parsed->Options)
        gotOptions << QString::fromStdString(name + "=" + value);
    QCOMPARE(gotOptions, options);
}

void TestCommandLine::ParserRefusals_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("mention");
    QTest::newRow("unknown") << Words("--colour red") << QStringLiteral("'--colour' unknown");
    QTest::newRow("value twice") << Words("--pdf a --pdf b") << QStringLiteral("given twice");
    QTest::newRow("value twice, = and space")
        << Words("--pdf=a --pdf b") << QStringLiteral("given twice");
    QTest::newRow("flag twice") << Words("--blank --blank") << QStringLiteral("given twice");
    QTest::newRow("value missing at the end") << Words("--pdf") << QStringLiteral("needs a value");
    QTest::newRow("value would be another option")
        << Words("--pdf --blank") << QStringLiteral("needs a value");
    QTest::newRow("value would be the end of options")
        << Words("--pdf -- a") << QStringLiteral("needs a value");
    QTest::newRow("value would be an unknown option")
        << Words("--paper --x") << QStringLiteral("needs a value");
    QTest::newRow("flag with a value") << Words("--blank=yes") << QStringLiteral("takes no value");
    QTest::newRow("empty name") << Words("--=x") << QStringLiteral("unknown");
}

void TestCommandLine::ParserRefusals() {
    QFETCH(QStringList, args);
    QFETCH(QString, mention);
    const std::vector<std::string> list = Strings(args);
    std::ostringstream err;
    QVERIFY(!ParseArguments(list, kTrialOptions, "trial", err).has_value());
    const QString text = QString::fromStdString(err.str());
    QVERIFY2(text.startsWith(QStringLiteral("ulvan trial: オプション --")), qPrintable(text));
    QVERIFY2(text.contains(mention), qPrintable(text));
    QCOMPARE(text.count(QLatin1Char('\n')), 1); // one line
}

void TestCommandLine::NamesBreakingTheRecord_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("code");
    QTest::newRow("tab") << QStringLiteral("a\tb") << 2;
    QTest::newRow("line feed") << QStringLiteral("a\nb") << 2;
    QTest::newRow("carriage return") << QStringLiteral("a\r") << 2;
    QTest::newRow("other control") << QStringLiteral("\x1b[31m") << 2;
    QTest::newRow("line separator") << QStringLiteral("a\u2028b") << 2;
    QTest::newRow("next line") << QStringLiteral("a\u0085b") << 2;
    QTest::newRow("ideographic space is a name") << QStringLiteral("初\u3000七日") << 0;
    QTest::newRow("plain") << QStringLiteral("三日忌") << 0;
}

void TestCommandLine::NamesBreakingTheRecord() {
    QFETCH(QString, name);
    QFETCH(int, code);
    // The odd name in the fifth place.
    QStringList names(9, QStringLiteral("n"));
    names[4] = name;
    const Run run =
        RunWith({QStringLiteral("schedule"), QStringLiteral("2019"), QStringLiteral("1"),
                 QStringLiteral("31"), QStringLiteral("--names"), names.join(QLatin1Char(','))});
    QCOMPARE(run.Code, code);
    if (code == 2) {
        QVERIFY(run.Lines.isEmpty());
        QVERIFY2(run.Err.contains(QStringLiteral("--names の 5 番目")), qPrintable(run.Err));
    } else {
        QCOMPARE(run.Lines.size(), 9);
        QCOMPARE(run.Lines[4].split(QLatin1Char('\t')).first(), name);
    }
}

void TestCommandLine::DatesThatDoNotExist_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("warning"); // empty: none
    QTest::newRow("schedule 30 February")
        << Words("schedule 2019 2 30") << QStringLiteral("日（DAY）の 30 は 2019年2月に");
    QTest::newRow("schedule 29 February of a common year")
        << Words("schedule 2019 2 29") << QStringLiteral("日（DAY）の 29");
    QTest::newRow("schedule 29 February of a leap year")
        << Words("schedule 2020 2 29") << QString();
    QTest::newRow("schedule month 13")
        << Words("schedule 2019 13 1") << QStringLiteral("月（MONTH）の 13");
    QTest::newRow("schedule month 0")
        << Words("schedule 2019 0 1") << QStringLiteral("月（MONTH）の 0");
    QTest::newRow("schedule day 0")
        << Words("schedule 2019 1 0") << QStringLiteral("日（DAY）の 0");
    QTest::newRow("schedule day -3")
        << Words("schedule 2019 1 -3") << QStringLiteral("日（DAY）の -3");
    QTest::newRow("schedule 31 December") << Words("schedule 2019 12 31") << QString();
    QTest::newRow("schedule not a number") << Words("schedule 2019 x 1") << QString();
    QTest::newRow("wareki 31 April")
        << Words("wareki 2019 4 31") << QStringLiteral("日（DAY）の 31 は 2019年4月に");
    QTest::newRow("wareki month 13")
        << Words("wareki 2019 13 1") << QStringLiteral("月（MONTH）の 13");
    QTest::newRow("wareki day not given") << Words("wareki 1989 1 0") << QString();
    QTest::newRow("wareki year only") << Words("wareki 1989") << QString();
    QTest::newRow("annual --day 32")
        << Words("annual 2018 --month 5 --day 32") << QStringLiteral("日（--day）の 32");
    QTest::newRow("annual --month 14")
        << Words("annual 2018 --month 14") << QStringLiteral("月（--month）の 14");
    QTest::newRow("annual month only") << Words("annual 2018 --month 5") << QString();
}

void TestCommandLine::DatesThatDoNotExist() {
    QFETCH(QStringList, args);
    QFETCH(QString, warning);
    const Run run = RunWith(args);
    QCOMPARE(run.Code, 0);
    if (warning.isEmpty()) {
        QCOMPARE(run.Err, QString());
    } else {
        QVERIFY2(run.Err.contains(QStringLiteral("警告: ") + warning), qPrintable(run.Err));
        QCOMPARE(run.Err.count(QLatin1Char('\n')), 1);
    }
    // The output is the window's reading all the same.
    if (args[0] == QStringLiteral("schedule")) {
        MemorialSchedule expected = DefaultSchedule();
        ComputeSchedule(ToU16(args[1]), ToU16(args[2]), ToU16(args[3]), expected);
        QCOMPARE(run.Lines.size(), 9);
        for (int i = 0; i < 9; ++i) {
            const QStringList fields = run.Lines[i].split(QLatin1Char('\t'));
            QCOMPARE(fields[1], ToQ(expected[std::size_t(i)].Month));
            QCOMPARE(fields[2], ToQ(expected[std::size_t(i)].Day));
        }
    } else {
        QVERIFY(!run.Lines.isEmpty());
    }
}

void TestCommandLine::CommandTableOptions() {
    // Every subcommand answers --help and refuses an option given twice, by the same rules.
    for (const Subcommand& command : Subcommands()) {
        const QString name = QString::fromUtf8(command.Name.data(), qsizetype(command.Name.size()));
        const Run help = RunWith({name, QStringLiteral("--help")});
        QCOMPARE(help.Code, 0);
        QVERIFY(help.Lines.join(QLatin1Char('\n')).contains(name));
        for (const OptionRule& option : command.Options) {
            const QString flag =
                QStringLiteral("--") +
                QString::fromUtf8(option.Name.data(), qsizetype(option.Name.size()));
            QStringList args{name, flag};
            if (option.TakesValue)
                args << QStringLiteral("1");
            args << args.mid(1);
            const Run twice = RunWith(args);
            QCOMPARE(twice.Code, 2);
            QVERIFY2(twice.Err.contains(QStringLiteral("given twice")), qPrintable(twice.Err));
        }
    }
}

void TestCommandLine::EchoedTextsStayOnOneLine_data() {
    // Texts from the command line quoted in a message: a line break or an escape sequence in
    // one must not reach the terminal as such.
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("shown");
    QTest::newRow("option name") << QStringList{QStringLiteral("annual"), QStringLiteral("2019"),
                                                QStringLiteral("--mo\nnth"), QStringLiteral("1")}
                                 << QStringLiteral("--mo\\x0Anth");
    QTest::newRow("command") << QStringList{QStringLiteral("\x1b[2Jbogus")}
                             << QStringLiteral("\\x1B[2Jbogus");
    QTest::newRow("offset") << QStringList{QStringLiteral("schedule"),
                                           QStringLiteral("2019"),
                                           QStringLiteral("1"),
                                           QStringLiteral("31"),
                                           QStringLiteral("--offsets"),
                                           QStringLiteral("1,2,3,4,5,6,7,8\r")}
                            << QStringLiteral("8\\x0D");
    QTest::newRow("paper") << QStringList{QStringLiteral("sheet"), QStringLiteral("--pdf=x.pdf"),
                                          QStringLiteral("--paper"), QStringLiteral("A4\n")}
                           << QStringLiteral("A4\\x0A");
}

void TestCommandLine::EchoedTextsStayOnOneLine() {
    QFETCH(QStringList, args);
    QFETCH(QString, shown);
    const Run run = RunWith(args);
    QCOMPARE(run.Code, 2);
    const QString first = run.Err.section(QLatin1Char('\n'), 0, 0);
    QVERIFY2(first.contains(shown), qPrintable(run.Err));
    QVERIFY(!run.Err.contains(QLatin1Char('\x1b')));
    QVERIFY(!run.Err.contains(QLatin1Char('\r')));
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
