// This year's annual memorials from the record file: which deceased owe one of the
// twenty-one annual memorials (一周忌 … 五百回忌) in a year, or in that year and the next.
// The list window, its printout and CSV file, and `ulvan due` all show what is built here.
#pragma once

#include "records/RecordLine.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ulvan {

// The year of death of a record: the western year when it is an integer, otherwise the era
// year counted from the start of the named era (the era box's names; "－－" or none is no
// era). nullopt when neither gives a year.
std::optional<std::int64_t> RecordDeathYear(const DeceasedRecord& record);

struct DueEntry {
    std::size_t Line = 0; // 0-based index of the record's line in the file
    DeceasedRecord Record;
    std::int64_t DeathYear = 0;
    std::int32_t Month = 0; // month and day of death, 0 when not an integer
    std::int32_t Day = 0;
    std::size_t Item = 0;  // index into NenkaiItems()
    std::int64_t Year = 0; // the year the memorial falls in
};

struct UndatedEntry {
    std::size_t Line = 0;
    DeceasedRecord Record;
};

struct DueList {
    // Sorted by the memorial's year, then month and day of death (not given: after the
    // others), then reading, posthumous name, secular name, and line.
    std::vector<DueEntry> Due;
    // Records whose year of death does not read (没年不明), in file order.
    std::vector<UndatedEntry> Undated;
    std::size_t Read = 0; // records read: lines that are not blank
};

// The list for `year` (and year + 1 with `withNext`) from the file's lines. One pass over
// the lines and a sort; no loop over years.
DueList BuildDueList(std::span<const std::u16string> lines, std::int32_t year, bool withNext);

// The columns of a listed record, the same in the window, the printout, the CSV file and
// the command line.
enum DueColumn : std::size_t {
    kDueMemorial,    // 回忌
    kDueYear,        // 法要の年 (western)
    kDueEraYear,     // 法要の年 (era)
    kDueKaimyo,      // 戒名
    kDueYomi,        // 読み
    kDueZokumyo,     // 俗名
    kDueDeathWareki, // 命日 in the era calendar
    kDueDeathDate,   // 命日 in the western calendar
    kDueAge,         // 行年
    kDueColumnCount
};
using DueRow = std::array<std::u16string, kDueColumnCount>;

// The column captions.
const DueRow& DueHeader();

// The label under which records without a readable year of death are listed.
inline constexpr std::u16string_view kUndatedLabel = u"没年不明";

DueRow DueRowOf(const DueEntry& entry);
// A 没年不明 record: the label as its memorial, its own texts in the other columns.
DueRow UndatedRowOf(const UndatedEntry& entry);

// An era text of a date as a reader writes it: "令和7年", "平成31年/令和1年" for a year of
// change that month and day do not decide; empty outside the eras.
std::u16string EraYearText(std::int64_t year, std::int32_t month, std::int32_t day);

// The list as a CSV text for a spreadsheet: the header, the due records, then the 没年不明
// ones, each line written by SpreadsheetCsvLine (no field runs as a formula) and ended by
// CR LF.
std::u16string DueCsvText(const DueList& list);

// The count line: "読み込み 120件　該当 14件　没年不明 2件".
std::u16string DueCountText(const DueList& list);

} // namespace ulvan
