// The era table and the conversion between western years and era years.
// The main window, the annual chart and the quick table all convert through these, and
// their era combo boxes are filled from EraComboItems().
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ulvan {

// The 68 ten-character entries, oldest first: four digits of the start year, two of the
// start month, two of the start day, then the two-character era name
// ("00010000－－" … "20190501令和"). The first entry stands for "no era".
std::span<const std::u16string_view> NengoList();

// The era combo box items: the era names newest first ("令和" … "－－"), 68 items.
// Item k denotes entry (count - 1 - k) of NengoList().
std::vector<std::u16string> EraComboItems();

enum class EraChoice {
    None,   // the dialog was left with neither era chosen
    Ending, // the era that was ending in that year
    New,    // the era that began in that year
};

// Asked only for a year in which an era began when month and day do not decide; receives
// the 0-based index in NengoList() of the era that begins in that year. A null pointer or an
// empty function means not asking.
using AskEraTransition = std::function<EraChoice(std::size_t newEraIndex)>;

// The four-character era text of a western date: era name in characters 1-2, the era
// year right-aligned in characters 3-4 (blanks when it is 100 or more). Month and day are
// 0 when not given. Special results: "－－--" for year 0, "－－ 1" for year 1, "　　  "
// for 100 or more years into the last era, empty for a negative year or when the asked
// choice was None. An undecided transition without `ask` gives the eight-character form:
// the ending era with its year followed by the new era with " 1".
std::u16string WarekiOf(std::int64_t year, std::int32_t month, std::int32_t day,
                        const AskEraTransition* ask = nullptr);

// Start year of the entry that combo item `comboIndex` denotes, plus eraYear - 1;
// nullopt when comboIndex denotes no entry (no selection, -1, or out of range).
std::optional<std::int64_t> WesternYearOf(std::int32_t comboIndex, std::int32_t eraYear);

} // namespace ulvan
