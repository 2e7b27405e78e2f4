// The case the main window holds, as plain texts and flags, for everything that draws or
// prints it. Standard library only, so the sheet renderers can take these records without
// depending on any window. The main window builds them from its controls at the moment a
// renderer asks (TUlvanForm::Deceased(), TUlvanForm::Options()); nothing here is validated.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ulvan {

// The deceased's data: each field is the text of one control of the main window.
struct DeceasedData {
    std::u16string Kaimyo;  // posthumous name (`kaimyo`)
    std::u16string Yomi;    // its reading (`yomi`)
    std::u16string Zokumyo; // secular name (`zokumyo`)
    std::u16string GyoNen;  // age at death (`gyonen`)
    std::u16string KiNen;   // western year of death (`Edit1`)
    std::u16string KiNengo; // era name, the displayed text of `ComboBox1`
    std::u16string KiWanen; // era year (`Edit2`), may carry a leading blank
    std::u16string KiGatsu; // month of death (`Edit3`)
    std::u16string KiNichi; // day of death (`Edit4`)

    friend bool operator==(const DeceasedData&, const DeceasedData&) = default;
};

// The print options. The field names are the names under which the settings store keeps
// them. The canopy and lotus pictures are fixed resources and are not part of this record.
struct SheetOptions {
    std::u16string TitName;        // sheet title (`ComboBox2` text)
    std::u16string FntName1;       // title font family (`ComboBox3` text)
    std::u16string FntName2;       // body font family (`ComboBox4` text)
    std::int32_t KaimyoStyle = 0;  // 0 canopy and lotus pictures, 1 ruled box
    bool TmplNamePrint = true;     // print the footer
    bool HatsuGatsuPrint = true;   // print the first monthly memorial row
    bool HyakkaNichiPrint = true;  // print the hundredth-day row
    bool DogetsuShoryaku = true;   // omit a month equal to the previous row's
    bool WarekiInsatsu = true;     // era years on the sheet (off: western years only)
    bool RubyPrint = true;         // print the reading beside the posthumous name
    std::vector<std::u16string> EditList; // footer layout, one entry per stored line

    friend bool operator==(const SheetOptions&, const SheetOptions&) = default;
};

} // namespace ulvan
