// The memorial sheet's commands: print, blank sheet and preview, on the case of a host.
// The start-up code creates one after the main window and keeps it for the run; it reads
// the host's case each time a sheet is drawn and writes back only a footer picture marked
// unreadable.
#pragma once

#include "case/CaseHost.h"
#include "sheet/PrintSheet.h"

#include <memory>

namespace ulvan {

class Interaction;
class TPrevForm;

class SheetCommands {
public:
    SheetCommands(CaseHost& host, Interaction& interaction);
    ~SheetCommands();
    SheetCommands(const SheetCommands&) = delete;
    SheetCommands& operator=(const SheetCommands&) = delete;

    void Print(bool blank) { m_printer.PrintMemorialSheet(blank); }
    void ShowPreview(PreviewKind kind);

    MemorialSheetPrinter& Printer() { return m_printer; }
    TPrevForm& Preview() { return *m_preview; }

    // The host's case as the sheets read it.
    static MemorialSheetInputs ReadInputs(const CaseHost& host);

private:
    MemorialSheetPrinter m_printer;
    std::unique_ptr<TPrevForm> m_preview;
};

} // namespace ulvan
