#include "app/CommandLine.h"

#include "app/CliSheet.h"

#include "annual/Nenkai.h"
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

using Args = std::span<const std::string>;

struct Subcommand {
    std::string_view Name;
    std::string_view Usage;  // arguments after the name
    std::string_view HelpJa; // one line each
    std::string_view HelpEn;
    // Returns the exit code; after a wrong call (kWrongCall, message already written) the
    // dispatcher adds the usage line.
    int (*Run)(Args args, std::ostream& out, std::ostream& err);
};

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

// "--help" among a subcommand's options (before a "--").
bool AskedForHelp(Args args) {
    for (const std::string& arg : args) {
        if (arg == "--")
            return false;
        if (arg == "--help" || arg == "-h")
            return true;
    }
    return false;
}

const std::string* OptionValue(const ParsedArguments& parsed, std::string_view name) {
    const auto found = parsed.Options.find(name);
    return found == parsed.Options.end() ? nullptr : &found->second;
}

int RunSchedule(Args args, std::ostream& out, std::ostream& err) {
    constexpr std::string_view kName = "schedule";
    constexpr std::array<std::string_view, 3> known{"offsets", "eve", "names"};
    const auto parsed = ParseArguments(args, known, err);
    if (!parsed)
        return kWrongCall; // ParseArguments said why
    if (parsed->Positional.size() != 3)
        return WrongCall(kName, "give the year, month and day of death", err);

    MemorialSchedule schedule = DefaultSchedule();
    if (const std::string* offsets = OptionValue(*parsed, "offsets")) {
        // The eight stored offsets skip the first monthly row, which has none.
        const std::vector<std::string> parts = SplitAtCommas(*offsets);
        if (parts.size() != kOffsetCount)
            return WrongCall(kName, "--offsets needs eight integers separated by commas", err);
        MemorialOffsets values{};
        for (std::size_t i = 0; i < kOffsetCount; ++i) {
            const std::optional<std::int32_t> offset = ParseInt(FromUtf8(parts[i]));
            if (!offset)
                return WrongCall(kName, "offset '" + parts[i] + "' is not an integer", err);
            values[i] = *offset;
        }
        SetOffsets(schedule, values);
    }
    if (const std::string* eve = OptionValue(*parsed, "eve")) {
        if (eve->size() != schedule.size() || eve->find_first_not_of("01") != std::string::npos)
            return WrongCall(kName, "--eve needs nine flags 0 or 1, such as 111101111", err);
        for (std::size_t i = 0; i < schedule.size(); ++i)
            schedule[i].Eve = (*eve)[i] == '1';
    }
    if (const std::string* names = OptionValue(*parsed, "names")) {
        const std::vector<std::string> parts = SplitAtCommas(*names);
        if (parts.size() != schedule.size())
            return WrongCall(kName, "--names needs nine names separated by commas", err);
        for (std::size_t i = 0; i < schedule.size(); ++i)
            schedule[i].Name = FromUtf8(parts[i]);
    }

    StreamMessages messages(err);
    ComputeSchedule(FromUtf8(parsed->Positional[0]), FromUtf8(parsed->Positional[1]),
                    FromUtf8(parsed->Positional[2]), schedule, &messages);
    for (const MemorialDay& day : schedule)
        WriteRecord(out, {day.Name, day.Month, day.Day, day.WeekdayText});
    return 0;
}

int RunWareki(Args args, std::ostream& out, std::ostream& err) {
    constexpr std::string_view kName = "wareki";
    const auto parsed = ParseArguments(args, {}, err);
    if (!parsed)
        return kWrongCall; // ParseArguments said why
    const std::vector<std::string>& texts = parsed->Positional;
    if (texts.size() != 1 && texts.size() != 3)
        return WrongCall(kName, "give a year, or a year, month and day", err);

    const std::optional<std::int32_t> year = ParseInt(FromUtf8(texts[0]));
    if (!year) {
        // What the era fields show for a year field that is not an integer.
        WriteRecord(out, {u"－－--"});
        return 0;
    }
    const std::int32_t month = texts.size() == 3 ? ParseIntOr(FromUtf8(texts[1]), 0) : 0;
    const std::int32_t day = texts.size() == 3 ? ParseIntOr(FromUtf8(texts[2]), 0) : 0;
    WriteRecord(out, {WarekiOf(*year, month, day)});
    return 0;
}

int RunAnnual(Args args, std::ostream& out, std::ostream& err) {
    constexpr std::string_view kName = "annual";
    constexpr std::array<std::string_view, 2> known{"month", "day"};
    const auto parsed = ParseArguments(args, known, err);
    if (!parsed)
        return kWrongCall; // ParseArguments said why
    if (parsed->Positional.size() != 1)
        return WrongCall(kName, "give the year of death", err);

    const std::string* month = OptionValue(*parsed, "month");
    const std::string* day = OptionValue(*parsed, "day");
    const auto results =
        ComputeNenkai(FromUtf8(parsed->Positional[0]), month ? FromUtf8(*month) : std::u16string(),
                      day ? FromUtf8(*day) : std::u16string());
    const auto items = NenkaiItems();
    for (std::size_t i = 0; i < items.size(); ++i) {
        // A year that is not an integer leaves the result fields empty.
        const NenkaiResult blank;
        const NenkaiResult& r = results ? (*results)[i] : blank;
        WriteRecord(out, {items[i].Name, r.WesternYear, r.EraName, r.EraYear});
    }
    return 0;
}

int RunQuickTable(Args args, std::ostream& out, std::ostream& err) {
    constexpr std::string_view kName = "quicktable";
    const auto parsed = ParseArguments(args, {}, err);
    if (!parsed)
        return kWrongCall; // ParseArguments said why
    if (parsed->Positional.size() != 1)
        return WrongCall(kName, "give the year", err);

    // As the window opens: era fields from the year, then the table from all three fields.
    const std::u16string edit2 = FromUtf8(parsed->Positional[0]);
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

// The subcommands; adding one is adding a row.
constexpr std::array<Subcommand, 5> kSubcommands{{
    {"schedule", "YEAR MONTH DAY [--offsets A1,...,A8] [--eve 111101111] [--names N1,...,N9]",
     "忌日（初七日忌〜百箇日忌）の月・日・曜日を計算します。"
     "オフセット A1〜A8 は初月忌を除く8行、逮夜と名称は9行分。",
     "Memorial days of the first hundred days: name, month, day, weekday. The eight offsets "
     "skip the first monthly row; eve flags and names cover all nine rows.",
     RunSchedule},
    {"wareki", "YEAR [MONTH DAY]", "西暦の年月日を和暦（年号と年）に変換します。",
     "Converts a western date to its era text (era name and era year), as it stands.", RunWareki},
    {"annual", "YEAR [--month M] [--day D]",
     "没年から年回忌（一周忌〜五百回忌）の西暦・年号・年を計算します。",
     "Annual memorials of a year of death: name, western year, era name, era year.", RunAnnual},
    {"quicktable", "YEAR",
     "その年度の年回早見表の本文と、最後に caption 行でウィンドウの表題を出力します。",
     "The quick table text for a year, then a line 'caption<TAB>' with the window caption.",
     RunQuickTable},
    {"sheet", kSheetUsage, kSheetHelpJa, kSheetHelpEn, RunSheetCommand},
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

} // namespace

std::optional<ParsedArguments> ParseArguments(std::span<const std::string> args,
                                              std::span<const std::string_view> known,
                                              std::ostream& err) {
    ParsedArguments parsed;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || !arg.starts_with("--")) {
            parsed.Positional.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        std::string name = arg.substr(2);
        std::optional<std::string> value;
        if (const std::size_t equals = name.find('='); equals != std::string::npos) {
            value = name.substr(equals + 1);
            name.resize(equals);
        }
        if (std::find(known.begin(), known.end(), name) == known.end()) {
            err << "ulvan: unknown option '--" << name << "'\n";
            return std::nullopt;
        }
        if (parsed.Options.contains(name)) {
            err << "ulvan: option '--" << name << "' given twice\n";
            return std::nullopt;
        }
        if (!value) {
            if (i + 1 == args.size()) {
                err << "ulvan: option '--" << name << "' needs a value\n";
                return std::nullopt;
            }
            value = args[++i];
        }
        parsed.Options.emplace(std::move(name), std::move(*value));
    }
    return parsed;
}

int RunCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        err << "ulvan: no command given (ulvan --help)\n";
        return kWrongCall;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        WriteHelp(out);
        return 0;
    }
    for (const Subcommand& command : kSubcommands) {
        if (command.Name != args[0])
            continue;
        const Args rest = Args(args).subspan(1);
        if (AskedForHelp(rest)) {
            WriteCommandHelp(command, out);
            return 0;
        }
        const int code = command.Run(rest, out, err);
        if (code == kWrongCall)
            err << "usage: ulvan " << command.Name << ' ' << command.Usage << "\n(ulvan --help)\n";
        return code;
    }
    err << "ulvan: unknown command '" << args[0] << "'\nCommands:";
    for (const Subcommand& command : kSubcommands)
        err << ' ' << command.Name;
    err << "\n(ulvan --help)\n";
    return kWrongCall;
}

} // namespace ulvan
