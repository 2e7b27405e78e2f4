// `ulvan sheet`: the memorial sheet of the stored case, written to a PDF without a printer or
// a dialog. The case and options are read from the settings store in the order the main
// window loads them, so the PDF shows what the window would print after start-up.
#pragma once

#include "app/CommandLineOptions.h"
#include "sheet/MemorialPage.h"

#include <QString>

#include <array>
#include <iosfwd>
#include <string>
#include <string_view>

namespace ulvan {

inline constexpr std::string_view kSheetUsage =
    "--pdf FILE [--annual] [--blank] [--paper A4|B5|A3]";
inline constexpr std::string_view kSheetHelpJa =
    "保存されている故人データと設定からUlvan表（--annual: "
    "年回表）をPDFに出力します（用紙は読む向きの"
    "横置き）。";
inline constexpr std::string_view kSheetHelpEn =
    "Writes the memorial sheet of the stored case and settings to a PDF, the page turned to "
    "the reading view (landscape); --annual writes the annual chart instead, --blank the blank "
    "form.";

// The case as the main window holds it after loading `settingsFile` (empty: the per-user
// store): options, deceased's data, the schedule computed with the stored names, offsets and
// eve flags, and the footer. Messages of the computation go to `messages` (may be null).
MemorialSheetInputs LoadStoredSheetInputs(const QString& settingsFile, MessageSink* messages);

inline constexpr std::array<OptionRule, 4> kSheetOptions{{
    {"pdf", true},
    {"annual", false},
    {"blank", false},
    {"paper", true},
}};

// Runs the subcommand with its options read by kSheetOptions. 0 on success, 1 when the PDF
// could not be written (an earlier file of that name is then left as it was), 2 for a wrong
// call.
int RunSheetCommand(const ParsedArguments& args, std::ostream& out, std::ostream& err);

} // namespace ulvan
