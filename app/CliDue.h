// `ulvan due` (the year's annual memorials of a record file) and `ulvan ical` (a case's
// memorial days as an iCalendar file).
#pragma once

#include "app/CommandLineOptions.h"

#include <array>
#include <iosfwd>

namespace ulvan {

inline constexpr std::array<OptionRule, 3> kDueOptions{
    {{"next", false}, {"records"}, {"csv", false}}};
inline constexpr std::string_view kDueUsage = "YEAR [--next] --records FILE [--csv]";
inline constexpr std::string_view kDueHelpJa =
    "記録ファイルから、その年（--next で翌年も）に年回忌を迎える故人を一覧します。"
    "没年の読めない記録は最後に「没年不明」として出力します。--csv でカンマ区切り（見出し付き）。";
inline constexpr std::string_view kDueHelpEn =
    "Records of the file that owe an annual memorial in YEAR (and the next with --next): "
    "memorial, year, era year, name, reading, secular name, death (era, western), age; records "
    "whose year of death does not read come last as 没年不明. --csv: comma-separated, quoted as "
    "the record file is, with a header line.";
int RunDueCommand(const ParsedArguments& args, std::ostream& out, std::ostream& err);

inline constexpr std::array<OptionRule, 6> kIcalOptions{
    {{"offsets"}, {"eve"}, {"names"}, {"annual", false}, {"name"}, {"ics"}}};
inline constexpr std::string_view kIcalUsage =
    "YEAR MONTH DAY [--offsets A1,...,A8] [--eve 111101111] [--names N1,...,N9] [--annual] "
    "[--name TEXT] --ics FILE";
inline constexpr std::string_view kIcalHelpJa =
    "命日から忌日9件（--annual で五十回忌までの年回忌も）を終日の予定として iCalendar "
    "ファイルに書き出します。--name は俗名（予定の題に入ります）。同じファイルに書き直すと、"
    "日付を直した予定は SEQUENCE を上げて更新されます。";
inline constexpr std::string_view kIcalHelpEn =
    "Writes the nine memorial days (with --annual also the annual memorials up to the 50th) as "
    "all-day events to an iCalendar file; --name is the secular name in each title. Written "
    "again to the same file, an event whose date changed gets a higher SEQUENCE.";
int RunIcalCommand(const ParsedArguments& args, std::ostream& out, std::ostream& err);

} // namespace ulvan
