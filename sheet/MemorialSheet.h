// The memorial sheet: the page that lists the memorial services of the first hundred days
// under the deceased's posthumous name. BuildMemorialSheet lists its elements in drawing
// order (sheet/SheetLayout.h); the printer, the preview and `ulvan sheet` all draw that one
// list. Pure functions of their inputs; nothing is validated, unparsable numbers print as
// blanks.
#pragma once

#include "calendar/Schedule.h"
#include "case/CaseData.h"
#include "sheet/SheetLayout.h"

#include <array>
#include <cstdint>
#include <string>

namespace ulvan {

// The title printed for a title setting: the setting, or "Ulvan表" when it is empty.
std::u16string SheetTitle(std::u16string_view titName);
// Vertical faces: "@" + family, or the fall-back face when the family is empty.
std::u16string TitleFace(std::u16string_view fntName1);
std::u16string BodyFace(std::u16string_view fntName2);

// Number of schedule rows printed: 9, one less for each of the first monthly and the
// hundredth-day rows left out.
std::int32_t PrintedRowCount(const SheetOptions& options);

// The nine entries of the schedule table after the first monthly row's shift, as drawn: month
// texts with the same-month omission and their filling (the 月 always in the third cell), day
// texts filled to three cells. Only the first PrintedRowCount entries are printed.
struct ScheduleCells {
    std::array<std::u16string, 9> Names;
    std::array<std::u16string, 9> Months;
    std::array<std::u16string, 9> Days;
};
ScheduleCells ScheduleRowTexts(const MemorialSchedule& schedule, const SheetOptions& options);

// Texts of the filled cells of the date and age, padded to their cells.
std::u16string AgeText(std::u16string_view gyoNen);           // four characters
std::u16string EraYearText(std::u16string_view kiWanen);      // three; 1 → 元
std::u16string WesternYearText(std::u16string_view kiNen);    // five or more
std::u16string MonthOfDeathText(std::u16string_view kiGatsu); // two
std::u16string DayOfDeathText(std::u16string_view kiNichi);   // three
// The printed form of the death-date column: era prefix, then the year/month/day marks.
std::u16string DeathDateForm(const DeceasedData& data, const SheetOptions& options, bool blank);

// Posthumous name placement classes by character count.
enum class NameClass { None, Single, Short, Long, Small };
NameClass ClassifyName(std::size_t characters);

// What the memorial sheet of a case would print wrong without a word: asked or said before it
// is printed, previewed or saved (never for the blank form, which prints neither).
struct SheetCaseCheck {
    // The date of death's month and day ("2月31日") when its year, month and day read but the
    // date does not exist; empty otherwise.
    std::u16string MissingDate;
    // A posthumous name of 17 characters or more: neither it nor its reading is printed.
    bool NameNotPrinted = false;
};
SheetCaseCheck CheckSheetCase(const DeceasedData& data);
// "命日の日付が存在しません（2月31日）。このまま印刷しますか？"
std::u16string MissingDateQuestion(std::u16string_view monthDay);
inline constexpr std::u16string_view kNameNotPrintedMessage =
    u"戒名・法名が16文字を超えているため印刷されません（読みも印刷されません）";

// The elements the memorial sheet shares with the annual chart, each appending its part of
// the page in drawing order. The annual chart calls the same functions with its own row
// count, title and date of death, so both sheets keep one frame, name box and columns.
namespace sheetparts {
// 1. The table frame with `rows` bands: outline, the rules between the bands, the double
// rule under the headings.
void AddTableFrame(SheetDescription& sheet, std::int32_t rows);
// 2. The name box: canopy and lotus, or the ruled box (KaimyoStyle).
void AddNameBox(SheetDescription& sheet, const SheetOptions& options);
// 3. The title column: the title font and `title` spread over the title span, any length.
void AddTitle(SheetDescription& sheet, const SheetOptions& options, std::u16string_view title);
// The body font, set before the row headings and again after the name and reading.
void AddBodyFont(SheetDescription& sheet, const SheetOptions& options);
// 5, 6. The printed forms of the death-date and secular-name columns.
void AddColumnForms(SheetDescription& sheet, const DeceasedData& data, const SheetOptions& options,
                    bool blank);
// 7. The footer area, when the footer is printed.
void AddFooterArea(SheetDescription& sheet, const SheetOptions& options);
// 8. The posthumous name by its class (nothing above sixteen characters); its class.
NameClass AddPosthumousName(SheetDescription& sheet, const DeceasedData& data,
                            const SheetOptions& options);
// 9. The reading beside the name, when RubyPrint is on and the name was placed.
void AddReading(SheetDescription& sheet, const DeceasedData& data, const SheetOptions& options,
                NameClass nameClass);
// 10-14. Body font, secular name, age and the date of death (era year or western year,
// month, day) from `data`.
void AddSecularNameAgeAndDate(SheetDescription& sheet, const DeceasedData& data,
                              const SheetOptions& options);
} // namespace sheetparts

// Everything the memorial sheet draws, in order. `blank`: only the printed form (table
// frame, name box, title, headings and marks, the two column forms, the footer area).
SheetDescription BuildMemorialSheet(const DeceasedData& data, const SheetOptions& options,
                                    const MemorialSchedule& schedule, bool blank);

// Positions of the memorial sheet that other sheets and the preview share.
namespace memorial {
inline constexpr double kFrameLeft = 0.119;
inline constexpr double kFrameRight = 0.8809;
inline constexpr std::int32_t kFrameTop = 3468;
inline constexpr std::int32_t kFrameBottom = 7845;
inline constexpr double kFrameBand = 0.4377;
inline constexpr std::int32_t kRows = 9;
inline constexpr std::int32_t kRowBase = 3608;
inline constexpr double kRowStep = 0.0486;
inline constexpr double kCellStep = 0.0337;
inline constexpr double kBodyHeight = 0.0206;
inline constexpr double kTitleHeight = 0.035;
inline constexpr std::int32_t kFooterTop = 7878;
inline constexpr std::int32_t kFooterBottom = 9326;
} // namespace memorial

} // namespace ulvan
