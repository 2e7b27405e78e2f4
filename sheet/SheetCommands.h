// The memorial sheet's commands: print, blank sheet and preview, on the case of a host.
// The start-up code creates one after the main window and keeps it for the run; it reads
// the host's case each time a sheet is drawn and writes back only a footer layout the drawing
// changed (drawing marks a missing picture for the run only, so today none). The printer and
// the preview window are made on first use (neither is needed to show the main window), then
// kept: the printer chosen and the preview's zoom stay for the run.
#pragma once

#include "case/CaseHost.h"
#include "sheet/PrintSheet.h"

#include <functional>
#include <memory>
#include <vector>

namespace ulvan {

class Interaction;
class TPrevForm;

class SheetCommands {
public:
    SheetCommands(CaseHost& host, Interaction& interaction);
    ~SheetCommands();
    SheetCommands(const SheetCommands&) = delete;
    SheetCommands& operator=(const SheetCommands&) = delete;

    void Print(bool blank) { Printer().PrintMemorialSheet(blank); }
    void SavePdf() { Printer().SaveMemorialSheetPdf(false); }
    void ShowPreview(PreviewKind kind);

    MemorialSheetPrinter& Printer();
    TPrevForm& Preview();
    // Whether the preview window has been made yet.
    bool PreviewMade() const { return m_preview != nullptr; }
    // Runs `setUp` on the preview window when it is made, or now when it exists (the annual
    // chart hands its branch to the preview this way without making it at start-up).
    void WhenPreviewMade(std::function<void(TPrevForm&)> setUp);

    // The host's case as the sheets read it.
    static MemorialSheetInputs ReadInputs(const CaseHost& host);

private:
    CaseHost& m_host;
    Interaction& m_interaction;
    std::unique_ptr<MemorialSheetPrinter> m_printer;
    std::unique_ptr<TPrevForm> m_preview;
    std::vector<std::function<void(TPrevForm&)>> m_previewSetUps;
};

} // namespace ulvan
