#include "app/CliDue.h"

#include "app/CommandLine.h"
#include "calendar/ICalendar.h"
#include "calendar/TextUtil.h"
#include "case/AtomicFile.h"
#include "records/DueList.h"
#include "records/RecordFileIo.h"
#include "sheet/QtText.h"

#include <QFile>
#include <QFileInfo>

#include <chrono>
#include <ctime>
#include <optional>
#include <ostream>

namespace ulvan {
namespace {

constexpr int kWrongCall = 2;
constexpr int kFailed = 1;
// An earlier calendar file larger than this is not one of ours: its sequences are not read.
constexpr qint64 kMaxEarlierCalendarBytes = 16 * 1024 * 1024;

// The name as the system spells it; nullopt (after a message) when it does not come back to
// the same bytes, which would name a different file.
std::optional<QString> FileArgument(std::string_view command, std::string_view option,
                                    const ParsedArguments& args, std::ostream& err) {
    const std::string* value = args.Value(option);
    if (value == nullptr || value->empty()) {
        err << "ulvan " << command << ": --" << option << " FILE を指定してください (--" << option
            << " FILE is required)\n";
        return std::nullopt;
    }
    const QByteArray bytes = QByteArray::fromStdString(*value);
    const QString name = QFile::decodeName(bytes);
    if (QFile::encodeName(name) != bytes) {
        err << "ulvan " << command << ": ファイル名 '" << Printable(*value)
            << "' は UTF-8 ではないため扱えません (the file name is not valid UTF-8)\n";
        return std::nullopt;
    }
    return name;
}

// A field of the tab-separated output: a tab or line break inside would add fields or
// records, so every control character becomes a blank.
std::string TabField(std::u16string_view text) {
    std::u16string clean(text);
    for (char16_t& c : clean) {
        if (c < u' ' || c == 0x7F || c == 0x85 || c == 0x2028 || c == 0x2029)
            c = u' ';
    }
    return ToUtf8(clean);
}

void WriteRow(std::ostream& out, const DueRow& row, bool csv) {
    if (csv) {
        out << ToUtf8(SpreadsheetCsvLine(row)) << '\n';
        return;
    }
    for (std::size_t i = 0; i < row.size(); ++i) {
        if (i != 0)
            out << '\t';
        out << TabField(row[i]);
    }
    out << '\n';
}

UtcStamp Now() {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm utc{};
    gmtime_r(&now, &utc);
    return {utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec};
}

} // namespace

int RunDueCommand(const ParsedArguments& args, std::ostream& out, std::ostream& err) {
    constexpr std::string_view kName = "due";
    if (args.Positional.size() != 1) {
        err << "ulvan due: 年を1つ指定してください (give the year)\n";
        return kWrongCall;
    }
    const std::optional<std::int32_t> year = ParseInt(FromUtf8(args.Positional[0]));
    if (!year) {
        err << "ulvan due: 年 '" << Printable(args.Positional[0])
            << "' は整数ではありません (the year is not an integer)\n";
        return kWrongCall;
    }
    const std::optional<QString> file = FileArgument(kName, "records", args, err);
    if (!file)
        return kWrongCall;
    const RecordFileLoad load = LoadRecordFile(*file);
    if (load.Result != RecordFileLoad::Status::Read) {
        const QString problem = load.Result == RecordFileLoad::Status::Missing
                                    ? QStringLiteral("記録ファイルがありません: ") + *file
                                    : *file + QStringLiteral(": ") + LoadProblemText(load);
        err << "ulvan due: " << Printable(problem.toStdString()) << '\n';
        return kFailed;
    }
    if (load.Text.HasUnreadable)
        err << "ulvan due: 警告: " << Printable(file->toStdString()) << ": "
            << Printable(LoadProblemText(load).toStdString()) << '\n';

    const DueList list = BuildDueList(load.Text.Lines, *year, args.Has("next"));
    const bool csv = args.Has("csv");
    if (csv)
        WriteRow(out, DueHeader(), true);
    for (const DueEntry& entry : list.Due)
        WriteRow(out, DueRowOf(entry), csv);
    for (const UndatedEntry& entry : list.Undated)
        WriteRow(out, UndatedRowOf(entry), csv);
    err << ToUtf8(DueCountText(list)) << '\n';
    return 0;
}

int RunIcalCommand(const ParsedArguments& args, std::ostream& out, std::ostream& err) {
    constexpr std::string_view kName = "ical";
    if (args.Positional.size() != 3) {
        err << "ulvan ical: 命日の年・月・日を指定してください (give the year, month and day of "
               "death)\n";
        return kWrongCall;
    }
    CalendarRequest request;
    request.Schedule = DefaultSchedule();
    if (const int code = ApplyScheduleOptions(args, kName, request.Schedule, err); code != 0)
        return code;
    const std::optional<QString> file = FileArgument(kName, "ics", args, err);
    if (!file)
        return kWrongCall;
    request.Year = FromUtf8(args.Positional[0]);
    request.Month = FromUtf8(args.Positional[1]);
    request.Day = FromUtf8(args.Positional[2]);
    if (const std::string* name = args.Value("name"))
        request.Zokumyo = FromUtf8(*name);
    request.Annual = args.Has("annual");
    request.Stamp = Now();
    ComputeSchedule(request.Year, request.Month, request.Day, request.Schedule);

    // The file written before keeps the sequence numbers that a calendar compares.
    QFile earlier(*file);
    if (QFileInfo(*file).isFile() && earlier.size() <= kMaxEarlierCalendarBytes &&
        earlier.open(QIODevice::ReadOnly)) {
        request.EarlierEvents = ReadEarlierEvents(earlier.readAll().toStdString());
    }

    const CalendarResult result = BuildMemorialCalendar(request);
    if (result.Result != CalendarResult::Status::Written) {
        err << "ulvan ical: 命日 " << Printable(args.Positional[0]) << "年"
            << Printable(args.Positional[1]) << "月" << Printable(args.Positional[2])
            << "日は日付になりません（1〜9999年の実在する日） (the date of death is not a date)\n";
        return kWrongCall;
    }
    for (const std::u16string& skipped : result.Skipped)
        err << "ulvan ical: 警告: " << TabField(skipped) << '\n';
    if (const FileWriteResult written = WriteFileAtomically(*file, result.Text); !written) {
        err << "ulvan ical: " << Printable(written.Message.toStdString()) << '\n';
        return kFailed;
    }
    for (const CalendarEvent& event : result.Events) {
        const std::u16string date = DecimalText(event.Year) + u"-" +
                                    (event.Month < 10 ? u"0" : u"") + DecimalText(event.Month) +
                                    u"-" + (event.Day < 10 ? u"0" : u"") + DecimalText(event.Day);
        out << ToUtf8(date) << '\t' << TabField(event.Summary) << '\t' << event.Sequence << '\n';
    }
    return 0;
}

} // namespace ulvan
