// The quick table (年回早見表): for a year, the year of death that owes each of the
// twenty-one annual memorials in it. The quick table window calls these with the texts of
// its fields and shows the result; nothing here keeps state.
#pragma once

#include "annual/Nenkai.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ulvan {

// The text after a row's label: "2018年（平成30年）没"; for a year in which the era changed
// "2019年（平成31年　または　令和元年）没"; a negative year has empty parentheses.
std::u16string DeathYearText(std::int64_t deathYear);

// Text: the heading lines and the 21 rows, lines separated by a single "\n" and no line
// break after the last row (the window's text control holds it as it is; files get CR LF
// when they are saved). Caption: the window caption for this table.
struct QuickTableText {
    std::u16string Text;
    std::u16string Caption;
};

// edit2: the western year field; comboText: the era combo's text; edit3: the era year field.
// The heading takes era name and era year from the two fields as they stand.
// nullopt when edit2 is not an integer (the window then empties its text and keeps its
// caption). Death years are computed in 64 bits, so no year wraps around.
std::optional<QuickTableText> BuildQuickTable(std::u16string_view edit2,
                                              std::u16string_view comboText,
                                              std::u16string_view edit3);

// The era fields for the western year field: the era in force on 31 December of that year;
// "－－" and "--" when the field is not an integer. The window selects the combo item equal
// to EraName (none when no item is) and writes EraYear into its era-year field.
EraFields SyncFiscalEra(std::u16string_view edit2);

} // namespace ulvan
