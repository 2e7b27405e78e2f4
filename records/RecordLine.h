// One line of the deceased-record file: eight comma-separated fields, the first holding the
// posthumous name and its reading joined by "/". This file does the line format only; the
// file's encoding and line endings belong to the import and append windows.
#pragma once

#include "case/CaseData.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ulvan {

// A record holds the main window's texts of one deceased, unchanged (digits and blanks as
// typed).
using DeceasedRecord = DeceasedData;

// Reading: fields are separated by commas; blanks and control characters between fields are
// skipped; an unquoted field ends at a blank, a control character or a comma (so an unquoted
// blank splits a field); a quoted field runs to its closing quote, "" standing for one
// quote; a comma that ends the line adds an empty last field. Bounded: one pass.
std::vector<std::u16string> SplitCommaText(std::u16string_view line);

// Writing: a field is quoted (quotes inside doubled) when it holds a blank, a control
// character, a quote or a comma; characters above U+00FF, the ideographic space included,
// never cause quoting; an empty field is written as nothing; no trailing comma.
// SplitCommaText gives the fields back, except that a list of one empty field reads as none.
std::u16string JoinCommaText(std::span<const std::u16string> fields);

// A line of a CSV file written for a spreadsheet, the one routine every such file goes
// through: the fields quoted as JoinCommaText quotes them, a line break inside a field
// written as a blank (one record, one line), and a field that a spreadsheet would run as a
// formula (one that starts with "=", "+", "-", "@", a tab or CR) written with an apostrophe
// in front, inside quotes, which spreadsheets show as the text itself. No line end.
std::u16string SpreadsheetCsvLine(std::span<const std::u16string> fields);

// The record's line: kaimyo/yomi, zokumyo, western year, era name, era year, month, day, age.
std::u16string WriteRecordLine(const DeceasedRecord& record);

// The reverse: missing fields count as empty, extra fields are ignored; the first field is
// split at its first "/" (the reading keeps any later "/"); without "/" it is all the name.
DeceasedRecord ReadRecordLine(std::u16string_view line);

} // namespace ulvan
