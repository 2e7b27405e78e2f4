// The program's stored settings: every key and value name of the settings store is spelled
// in StoredCase.cpp and nowhere else.
//
// The main window keeps its whole case (the deceased's data, the print options, the nine
// rows' names, offsets and eve flags, the footer layout) as one StoredCase, read once at its
// creation and written once when it closes. `ulvan sheet` reads the same StoredCase. The
// windows that keep values of their own (the annual chart, the record file windows) read and
// write them through the small functions at the end, at their own times.
//
// Reading follows the store's rules: a missing key leaves all its values at their defaults;
// a missing Boolean or integer value keeps its default; a missing text value reads as empty.
// `file` names the store's file; empty means the per-user store.
#pragma once

#include "calendar/Schedule.h"
#include "case/CaseData.h"

#include <QString>

#include <array>
#include <string>

namespace ulvan {

struct StoredCase {
    // The deceased's data as the fields held it. KiNengo is the era item that the stored era
    // text selects (the item equal to its first four characters), empty when none matches.
    DeceasedData Deceased;
    // The stored name had no "/": the reading field keeps what it holds; Deceased.Yomi is
    // then empty.
    bool KeepsReading = false;
    SheetOptions Options;
    // Name, Offset and Eve of the nine rows; the result texts are empty.
    MemorialSchedule Rows = DefaultSchedule();
    // The footer layout in its stored form (each line followed by CR LF).
    std::u16string EditStr;

    friend bool operator==(const StoredCase&, const StoredCase&) = default;
};

// The stored case, or the defaults of a first start where nothing is stored.
StoredCase ReadStoredCase(const QString& file);

// Writes every value of the main window's four keys, whether changed or not; the record
// file's path and the annual chart's title are left as they are. False when the store could
// not be written (the earlier file then stays whole).
bool WriteStoredCase(const QString& file, const StoredCase& stored);

// The annual chart window's values: the selection of its twenty-one rows (all selected when
// nothing is stored) and its title (empty when nothing is stored). The window writes the
// selection first, then the title.
inline constexpr std::size_t kNenkaiRowCount = 21;
using NenkaiSelection = std::array<bool, kNenkaiRowCount>;
NenkaiSelection ReadNenkaiSelection(const QString& file);
// The same over the window's current selection: a value missing from the store keeps the
// state `current` gives it (nothing stored at all: `current` unchanged).
NenkaiSelection ReadNenkaiSelection(const QString& file, const NenkaiSelection& current);
bool WriteNenkaiSelection(const QString& file, const NenkaiSelection& selection);
std::u16string ReadNenkaiTitle(const QString& file);
bool WriteNenkaiTitle(const QString& file, std::u16string_view title);

// The record file's path, shared by the import and append windows.
std::u16string ReadDataFileName(const QString& file);
bool WriteDataFileName(const QString& file, std::u16string_view path);

} // namespace ulvan
