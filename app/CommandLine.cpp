#include "app/CommandLine.h"

#include "app/CliDue.h"
#include "app/CliSheet.h"
#include "app/CommandOutput.h"

#include "annual/Nenkai.h"
#include "calendar/DateCalc.h"
#include "calendar/Era.h"
#include "calendar/Messages.h"
#include "calendar/Schedule.h"
#include "calendar/TextUtil.h"
#include "quicktable/QuickTable.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <ostream>

namespace ulvan {
namespace {

constexpr int kWrongCall = 2;

// One output record: the fields joined by tabs, UTF-8, one line.
void WriteRecord(std::ostream& out, std::initializer_list<std::u16string_view> fields) {
    bool first = true;
    for (const std::u16string_view field : fields) {
        if (!first)
            out << '\t';
        out << ToUtf8(field);
        first = false;
    }
    out << '\n';
}

int WrongCall(std::string_view command, std::string_view problem, std::ostream& err) {
    err << "ulvan " << command << ": " << problem << '\n';
    return kWrongCall;
}

void WriteCommandHelp(const Subcommand& command, std::ostream& out) {
    out << "ulvan " << command.Name << ' ' << command.Usage << "\n    " << command.HelpJa
        << "\n    " << command.HelpEn << '\n';
}

// Messages the engine would show in a message box go to the error stream; the result is
// still printed, as the window still shows it.
class StreamMessages : public MessageSink {
public:
    explicit StreamMessages(std::ostream& err)
        : m_err(err) {}
    void ShowMessage(std::u16string_view text) override { m_err << ToUtf8(text) << '\n'; }
    void Beep(BeepKind) override {}

private:
    std::ostream& m_err;
};

std::vector<std::string> SplitAtCommas(std::string_view text) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = text.find(',', start);
        parts.emplace_back(text.substr(start, comma - start));
        if (comma == std::string_view::npos)
            return parts;
        start = comma + 1;
    }
}

// Name texts become fields of the tab-separated output: a tab or a line break in one would
// add fields or records that are not there.
bool BreaksTheRecord(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x20 || byte == 0x7F)
            return true;
        // NEL (U+0085), LINE SEPARATOR (U+2028) and PARAGRAPH SEPARATOR (U+2029) in UTF-8.
        const std::string_view rest = text.substr(i);
        if (rest.starts_with("\xC2\x85") || rest.starts_with("\xE2\x80\xA8") ||
            rest.starts_with("\xE2\x80\xA9"))
            return true;
    }
    return false;
}

// A date that does not exist is still read as the window reads it (the result goes to the
// output as the window would show it), with a warning naming the field. With
// `zeroNotGiven`, a month or day of 0 means "not given" and is no warning.
struct DateFieldNames {
    std::string_view Month; // "MONTH", "--month"
    std::string_view Day;
};

void WarnIfNoSuchDate(std::string_view command, std::int32_t year, std::int32_t month,
                      std::int32_t day, bool zeroNotGiven, DateFieldNames fields,
                      std::ostream& err) {
    const auto warn = [&](std::string_view ja, std::string_view field, std::int32_t value,
                          std::string_view where) {
        err << "ulvan " << command << ": 警告: " << ja << "（" << field << "）の " << value << " は"
            << where
            << "ありません。ウィンドウと同じ読み方で計算した結果を出力します。 (warning: " << field
            << ' ' << value << " does not exist)\n";
    };
    if (zeroNotGiven && month == 0)
        return;
    if (month < 1 || month > 12) {
        warn("月", fields.Month, month, "");
        return;
    }
    if (zeroNotGiven && day == 0)
        return;
    if (day < 1 || day > MonthDays(year, month)) {
        std::string where = " ";
        where.append(std::to_string(year)).append("年");
        where.append(std::to_string(month)).append("月に");
        warn("日", fields.Day, day, where);
    }
}

// The window shows an empty result for a year that does not read; the command line prints
// the same and says why.
void WarnIfNotAYear(std::string_view command, std::string_view text, std::ostream& err) {
    if (ParseInt(FromUtf8(text)))
        return;
    err << "ulvan " << command << ": 警告: 年 '" << Printable(text)
        << "' は整数として読めません。ウィンドウと同じく空の結果を出力します。 (warning: the year '"
        << Printable(text) << "' is not an integer; the result is empty)\n";
}

} // namespace

int ApplyScheduleOptions(const ParsedArguments& parsed, std::string_view command,
                         MemorialSchedule& schedule, std::ostream& err) {
    if (const std::string* offsets = parsed.Value("offsets")) {
        // The eight stored offsets skip the first monthly row, which has none.
        const std::vector<std::string> parts = SplitAtCommas(*offsets);
        if (parts.size() != kOffsetCount)
            return WrongCall(
                command,
                "--offsets には整数8個をカンマ区切りで指定してください (--offsets needs "
                "eight integers separated by commas)",
                err);
        MemorialOffsets values{};
        for (std::size_t i = 0; i < kOffsetCount; ++i) {
            const std::optional<std::int32_t> offset = ParseInt(FromUtf8(parts[i]));
            if (!offset)
                return WrongCall(command,
                                 "オフセット '" + Printable(parts[i]) +
                                     "' は整数ではありません (offset '" + Printable(parts[i]) +
                                     "' is not an integer)",
                                 err);
            values[i] = *offset;
        }
        SetOffsets(schedule, values);
    }
    if (const std::string* eve = parsed.Value("eve")) {
        if (eve->size() != schedule.size() || eve->find_first_not_of("01") != std::string::npos)
            return WrongCall(command,
                             "--eve には 0 か 1 を9個、111101111 のように指定してください (--eve "
                             "needs nine flags 0 or 1, such as 111101111)",
                             err);
        for (std::size_t i = 0; i < schedule.size(); ++i)
            schedule[i].Eve = (*eve)[i] == '1';
    }
    if (const std::string* names = parsed.Value("names")) {
        const std::vector<std::string> parts = SplitAtCommas(*names);
        if (parts.size() != schedule.size())
            return WrongCall(command,
                             "--names には名称9個をカンマ区切りで指定してください (--names needs "
                             "nine names separated by commas)",
                             err);
        for (std::size_t i = 0; i < schedule.size(); ++i) {
            if (BreaksTheRecord(parts[i]))
                return WrongCall(command,
                                 "--names の " + std::to_string(i + 1) +
                                     " 番目の名称にタブ・改行などの制御文字があります "
                                     "(a name may not hold a tab or a line break)",
                                 err);
            schedule[i].Name = FromUtf8(parts[i]);
        }
    }
    return 0;
}

namespace {

int RunSchedule(const ParsedArguments& parsed, std::ostream& out, std::ostream& err) {
    constexpr std::string_view kName = "schedule";
    if (parsed.Positional.size() != 3)
        return WrongCall(
            kName, "命日の年・月・日を指定してください (give the year, month and day of death)",
            err);

    MemorialSchedule schedule = DefaultSchedule();
    if (const int code = ApplyScheduleOptions(parsed, kName, schedule, err); code != 0)
        return code;

    const std::u16string year = FromUtf8(parsed.Positional[0]);
    const std::u16string month = FromUtf8(parsed.Positional[1]);
    const std::u16string day = FromUtf8(parsed.Positional[2]);
    // Texts that are not integers clear the schedule, as in the window: nothing to warn of.
    const auto y = ParseInt(year);
    const auto m = ParseInt(month);
    const auto d = ParseInt(day);
    WarnIfNotAYear(kName, parsed.Positional[0], err);
    if (y && m && d)
        WarnIfNoSuchDate(kName, *y, *m, *d, false, {"MONTH", "DAY"}, err);
    StreamMessages messages(err);
    ComputeSchedule(year, month, day, schedule, &messages);
    for (const MemorialDay& row : schedule)
        WriteRecord(out, {row.Name, row.Month, row.Day, row.WeekdayText});
    return 0;
}

int RunWareki(const ParsedArguments& parsed, std::ostream& out, std::ostream& err) {
    constexpr std::string_view kName = "wareki";
    const std::vector<std::string>& texts = parsed.Positional;
    if (texts.size() != 1 && texts.size() != 3)
        return WrongCall(
            kName, "年、または年・月・日を指定してください (give a year, or a year, month and day)",
            err);

    const std::optional<std::int32_t> year = ParseInt(FromUtf8(texts[0]));
    if (!year) {
        WarnIfNotAYear(kName, texts[0], err);
        // What the era fields show for a year field that is not an integer.
        WriteRecord(out, {u"－－--"});
        return 0;
    }
    const std::int32_t month = texts.size() == 3 ? ParseIntOr(FromUtf8(texts[1]), 0) : 0;
    const std::int32_t day = texts.size() == 3 ? ParseIntOr(FromUtf8(texts[2]), 0) : 0;
    WarnIfNoSuchDate(kName, *year, month, day, true, {"MONTH", "DAY"}, err);
    WriteRecord(out, {WarekiOf(*year, month, day)});
    return 0;
}

int RunAnnual(const ParsedArguments& parsed, std::ostream& out, std::ostream& err) {
    constexpr std::string_view kName = "annual";
    if (parsed.Positional.size() != 1)
        return WrongCall(kName, "没年を1つ指定してください (give the year of death)", err);

    const std::string* month = parsed.Value("month");
    const std::string* day = parsed.Value("day");
    const std::u16string yearText = FromUtf8(parsed.Positional[0]);
    const std::u16string monthText = month ? FromUtf8(*month) : std::u16string();
    const std::u16string dayText = day ? FromUtf8(*day) : std::u16string();
    WarnIfNotAYear(kName, parsed.Positional[0], err);
    if (const auto year = ParseInt(yearText))
        WarnIfNoSuchDate(kName, *year, ParseIntOr(monthText, 0), ParseIntOr(dayText, 0), true,
                         {"--month", "--day"}, err);
    const auto results = ComputeNenkai(yearText, monthText, dayText);
    const auto items = NenkaiItems();
    for (std::size_t i = 0; i < items.size(); ++i) {
        // A year that is not an integer leaves the result fields empty.
        const NenkaiResult blank;
        const NenkaiResult& r = results ? (*results)[i] : blank;
        WriteRecord(out, {items[i].Name, r.WesternYear, r.EraName, r.EraYear});
    }
    return 0;
}

int RunQuickTable(const ParsedArguments& parsed, std::ostream& out, std::ostream& err) {
    constexpr std::string_view kName = "quicktable";
    if (parsed.Positional.size() != 1)
        return WrongCall(kName, "年度を1つ指定してください (give the year)", err);

    // As the window opens: era fields from the year, then the table from all three fields.
    const std::u16string edit2 = FromUtf8(parsed.Positional[0]);
    WarnIfNotAYear(kName, parsed.Positional[0], err);
    const EraFields era = SyncFiscalEra(edit2);
    const std::vector<std::u16string> items = EraComboItems();
    // The combo shows an era name only when it is one of its items.
    const bool listed = std::find(items.begin(), items.end(), era.EraName) != items.end();
    const std::u16string comboText = listed ? era.EraName : std::u16string();
    const auto table = BuildQuickTable(edit2, comboText, era.EraYear);
    // A year that is not an integer leaves the text empty; a window opened for the first
    // time has no earlier caption to keep.
    if (table)
        out << ToUtf8(table->Text) << '\n';
    WriteRecord(out, {u"caption", table ? std::u16string_view(table->Caption) : u""});
    return 0;
}

constexpr std::array<OptionRule, 3> kScheduleOptions{{{"offsets"}, {"eve"}, {"names"}}};
constexpr std::array<OptionRule, 2> kAnnualOptions{{{"month"}, {"day"}}};

// The subcommands; adding one is adding a row.
constexpr std::array<Subcommand, 7> kSubcommands{{
    {"schedule", "YEAR MONTH DAY [--offsets A1,...,A8] [--eve 111101111] [--names N1,...,N9]",
     "忌日（初七日忌〜百箇日忌）の月・日・曜日を計算します。"
     "オフセット A1〜A8 は初月忌を除く8行、逮夜と名称は9行分。",
     "Memorial days of the first hundred days: name, month, day, weekday. The eight offsets "
     "skip the first monthly row; eve flags and names cover all nine rows.",
     kScheduleOptions, RunSchedule},
    {"wareki",
     "YEAR [MONTH DAY]",
     "西暦の年月日を和暦（年号と年）に変換します。",
     "Converts a western date to its era text (era name and era year), as it stands.",
     {},
     RunWareki},
    {"annual", "YEAR [--month M] [--day D]",
     "没年から年回忌（一周忌〜五百回忌）の西暦・年号・年を計算します。",
     "Annual memorials of a year of death: name, western year, era name, era year.", kAnnualOptions,
     RunAnnual},
    {"quicktable",
     "YEAR",
     "その年度の年回早見表の本文と、最後に caption 行でウィンドウの表題を出力します。",
     "The quick table text for a year, then a line 'caption<TAB>' with the window caption.",
     {},
     RunQuickTable},
    {"sheet", kSheetUsage, kSheetHelpJa, kSheetHelpEn, kSheetOptions, RunSheetCommand},
    {"due", kDueUsage, kDueHelpJa, kDueHelpEn, kDueOptions, RunDueCommand},
    {"ical", kIcalUsage, kIcalHelpJa, kIcalHelpEn, kIcalOptions, RunIcalCommand},
}};

void WriteHelp(std::ostream& out) {
    out << "ulvan — 引数なしでウィンドウを開きます。引数があるとコマンドを実行し、結果を UTF-8 で"
           "1件1行、項目をタブ区切りで出力します。\n"
           "Without arguments ulvan opens its window. With arguments it runs one command and "
           "prints UTF-8, one record a line, fields separated by a tab.\n"
           "各引数はウィンドウの入力欄と同じ規則で読まれます（数字でない年は空欄と同じ）。\n"
           "Each argument is read like the window field it stands for.\n\n";
    for (const Subcommand& command : kSubcommands) {
        WriteCommandHelp(command, out);
        out << '\n';
    }
    out << "ulvan --help\n    この説明を表示します。\n    Shows this help.\n";
}

int Dispatch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        err << "ulvan: コマンドがありません (no command given; ulvan --help)\n";
        return kWrongCall;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        WriteHelp(out);
        return 0;
    }
    for (const Subcommand& command : kSubcommands) {
        if (command.Name != args[0])
            continue;
        const auto parsed =
            ParseArguments(std::span(args).subspan(1), command.Options, command.Name, err);
        int code = kWrongCall; // ParseArguments said why
        if (parsed && parsed->Help) {
            WriteCommandHelp(command, out);
            return 0;
        }
        if (parsed)
            code = command.Run(*parsed, out, err);
        if (code == kWrongCall)
            err << "usage: ulvan " << command.Name << ' ' << command.Usage << "\n(ulvan --help)\n";
        return code;
    }
    err << "ulvan: コマンド '" << Printable(args[0])
        << "' はありません (unknown command)\nCommands:";
    for (const Subcommand& command : kSubcommands)
        err << ' ' << command.Name;
    err << "\n(ulvan --help)\n";
    return kWrongCall;
}

} // namespace

std::span<const Subcommand> Subcommands() {
    return kSubcommands;
}

int RunCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const int code = Dispatch(args, out, err);
    return FinishStandardOutput(code, out, err);
}

} // namespace ulvan
