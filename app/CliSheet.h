// `ulvan sheet`: the memorial sheet of the stored case, written to a PDF without a printer or
// a dialog. The case and options are read from the settings store in the order the main
// window loads them, so the PDF shows what the window would print after start-up.
#pragma once

#include "sheet/MemorialPage.h"

#include <QString>

#include <iosfwd>
#include <span>
#include <string>
#include <string_view>

namespace ulvan {

inline constexpr std::string_view kSheetUsage = "--pdf FILE [--blank] [--paper A4|B5|A3]";
inline constexpr std::string_view kSheetHelpJa =
    "保存されている故人データと設定からUlvan表をPDFに出力します（用紙は読む向きの横置き）。";
inline constexpr std::string_view kSheetHelpEn =
    "Writes the memorial sheet of the stored case and settings to a PDF, the page turned to "
    "the reading view (landscape); --blank writes the blank form.";

// The case as the main window holds it after loading `settingsFile` (empty: the per-user
// store): options, deceased's data, the schedule computed with the stored names, offsets and
// eve flags, and the footer. Messages of the computation go to `messages` (may be null).
MemorialSheetInputs LoadStoredSheetInputs(const QString& settingsFile, MessageSink* messages);

// Runs the subcommand; args are those after "sheet". 0 on success, 1 when the PDF could not
// be written, 2 for a wrong call.
int RunSheetCommand(std::span<const std::string> args, std::ostream& out, std::ostream& err);

} // namespace ulvan
