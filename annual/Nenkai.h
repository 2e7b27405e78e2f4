// The twenty-one annual memorials (一周忌 … 五百回忌) of a year of death, as functions of the
// texts the annual chart window and the main window hold. The annual chart window writes the
// results into its fields; the chart sheet and the quick table read the same item list.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ulvan {

struct NenkaiItemInfo {
    std::u16string_view Name; // printed name, at most six characters
    std::int32_t YearsAfter;  // n回忌 falls n − 1 years after the year of death
};

// The fixed list, in window and chart order.
std::span<const NenkaiItemInfo, 21> NenkaiItems();

// The three texts of one item as the window shows them.
struct NenkaiResult {
    std::u16string WesternYear; // decimal, left-padded with blanks to four characters
    std::u16string EraName;     // characters 1–2 of the era conversion
    std::u16string EraYear;     // characters 3–4 of it (" 1", "31", "  ", or less)

    friend bool operator==(const NenkaiResult&, const NenkaiResult&) = default;
};

// yearText: the annual window's year field; monthText/dayText: the main window's month and
// day of death (a text that is not an integer counts as 0, "not given").
// nullopt when the year is not an integer: the window then clears its result fields.
// Item years are computed in 64 bits, so a year near the 32-bit limit gives the real year
// (beyond every era, hence a blank era designation) instead of wrapping around.
std::optional<std::array<NenkaiResult, 21>> ComputeNenkai(std::u16string_view yearText,
                                                          std::u16string_view monthText,
                                                          std::u16string_view dayText);

// Indices (0-based) of the items on the printed chart: the first eleven checked, in order.
std::vector<std::size_t> PrintedItems(const std::array<bool, 21>& checked);

// The era combo text and era-year text carried by a conversion result: characters 1–2 and
// 3–4 exactly (blank of a one-digit year kept), shorter or empty where the result is.
struct EraFields {
    std::u16string EraName;
    std::u16string EraYear;
};
EraFields EraFieldsOf(std::u16string_view wareki);

// The western year text of a result row: padded on the left with blanks to four characters;
// longer texts stay as they are.
std::u16string PaddedYearText(std::int64_t year);

} // namespace ulvan
