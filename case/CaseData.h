// The case the main window holds, as plain values: the deceased's data and the print options.
// The main window fills these from its controls (texts as they stand, unvalidated); the
// sheets, the print commands, the preview, the record file and `ulvan sheet` take them by
// value and never write back. Standard library only.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ulvan {

// The deceased's data: every field is the text of a main window control.
struct DeceasedData {
    std::u16string Kaimyo;  // kaimyo: posthumous name
    std::u16string Yomi;    // yomi: its reading
    std::u16string Zokumyo; // zokumyo: secular name
    std::u16string GyoNen;  // gyonen: age at death
    std::u16string KiNen;   // Edit1: western year of death
    std::u16string KiNengo; // ComboBox1 text: era name ("－－" or empty: no era)
    std::u16string KiWanen; // Edit2: era year
    std::u16string KiGatsu; // Edit3: month of death
    std::u16string KiNichi; // Edit4: day of death

    friend bool operator==(const DeceasedData&, const DeceasedData&) = default;
};

// The print options, under the names the settings store keeps them. The footer layout and
// the canopy and lotus pictures travel separately (they are not plain values).
struct SheetOptions {
    std::u16string TitName;       // ComboBox2 text: sheet title
    std::u16string FntName1;      // ComboBox3 text: title font family
    std::u16string FntName2;      // ComboBox4 text: body font family
    std::int32_t KaimyoStyle = 0; // RadioGroup1: 0 canopy and lotus, 1 ruled box
    bool TmplNamePrint = true;    // CheckBox10: print the footer
    bool HatsuGatsuPrint = true;  // CheckBox11: print the first monthly memorial row
    bool HyakkaNichiPrint = true; // CheckBox12: print the hundredth-day row
    bool DogetsuShoryaku = true;  // CheckBox13: omit a month equal to the row before
    bool WarekiInsatsu = true;    // CheckBox14: era calendar (off: western years)
    bool RubyPrint = true;        // CheckBox15: print the reading beside the name

    friend bool operator==(const SheetOptions&, const SheetOptions&) = default;
};

// The posthumous name and its reading travel as one text, name + "/" + reading (the stored
// case, the record file's first field).
struct NameAndReading {
    std::u16string Name;
    // Absent when the text had no "/": the reading field keeps what it holds.
    std::optional<std::u16string> Reading;
};

// Splits at the first "/": the text before it is the name, all after it (later "/"
// included, possibly empty) the reading.
NameAndReading SplitNameReading(std::u16string_view text);

// The joined form; the "/" is written even when the reading is empty.
std::u16string JoinNameReading(std::u16string_view name, std::u16string_view reading);

} // namespace ulvan
