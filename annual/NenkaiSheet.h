// The annual chart sheet: the page of the memorial sheet with a table of up to eleven annual
// memorials in place of the first hundred days. BuildNenkaiSheet lists its elements in
// drawing order (sheet/SheetLayout.h) through the memorial sheet's own element functions, so
// the paper, the frame, the name box, the title and date columns, the secular name, the age
// and the footer are the memorial sheet's. Pure functions of their inputs.
#pragma once

#include "annual/Nenkai.h"
#include "case/CaseData.h"
#include "sheet/SheetLayout.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ulvan {

inline constexpr std::u16string_view kNenkaiDefaultTitle = u"年回表";
inline constexpr std::int32_t kNenkaiSheetRows = 11;

// One printed anniversary: its name and the three texts of its result fields.
struct NenkaiRow {
    std::u16string Name;
    NenkaiResult Result;

    friend bool operator==(const NenkaiRow&, const NenkaiRow&) = default;
};

// What the annual chart window contributes: its title, its year of death as western year,
// era name and era year, and the printed anniversaries (PrintedItems: at most eleven).
struct NenkaiChart {
    std::u16string Title; // empty: the default title
    std::u16string Year;
    std::u16string Era; // "－－" or empty: no era
    std::u16string EraYear;
    std::vector<NenkaiRow> Rows;

    friend bool operator==(const NenkaiChart&, const NenkaiChart&) = default;
};

// The chart's title: the window's title, or "年回表" when it is empty.
std::u16string NenkaiTitle(std::u16string_view title);

// The printed rows of the window's results and check boxes: the first eleven checked items in
// list order, each with its name. `results` are the texts of the twenty-one rows.
std::vector<NenkaiRow> NenkaiPrintedRows(const std::array<NenkaiResult, 21>& results,
                                         const std::array<bool, 21>& checked);

// The cells of one row's years as drawn: the western year in kanji digits (blanks become
// U+3000, so a year below 1000 keeps its place in four cells), the era name, and the era
// year in kanji (一 for the first year) padded in front to three cells.
struct NenkaiYearCells {
    std::u16string WesternYear;
    std::u16string EraName;
    std::u16string EraYear;
};
NenkaiYearCells NenkaiYearTexts(const NenkaiResult& result);

// The deceased's data with the annual window's year of death in place of the main window's.
DeceasedData NenkaiDeceased(const DeceasedData& main, const NenkaiChart& chart);

// Everything the annual chart draws, in order. `blank`: only the printed form (frame, name
// box, title, names and year labels, the two column forms, the footer area). `reading`: the
// reading beside the posthumous name where RubyPrint asks for it (the preview only; the
// printed chart never carries it).
SheetDescription BuildNenkaiSheet(const DeceasedData& data, const SheetOptions& options,
                                  const NenkaiChart& chart, bool blank, bool reading);

// Positions of the annual table.
namespace annualsheet {
inline constexpr std::int32_t kRowBase = 3564;
inline constexpr double kRowStep = 0.0398;
inline constexpr double kNameStart = 0.1333;
inline constexpr double kNameSpan = 0.2429;
inline constexpr double kLabelEra = 0.5892;
inline constexpr double kLabelWestern = 0.6768;
inline constexpr double kYearEra = 0.4724;
inline constexpr double kYearWestern = 0.56;
inline constexpr double kEraName = 0.6476;
inline constexpr double kEraYear = 0.706;
// The cell step of the label and the years: the distance of the anchors above, one body
// font cell on A-series paper. Each character stands in its own cell, so the era year meets
// the label's closing 年 whatever the font's own advance.
inline constexpr double kCellPitch = 0.0292;
inline constexpr std::u16string_view kLabelWithEra = u"年（　　　　　年）";
inline constexpr std::u16string_view kLabelPlain = u"年";
} // namespace annualsheet

} // namespace ulvan
