// Connects the memorial sheet's commands to the main window: print, blank sheet and preview.
// The start-up code creates one after the main window and keeps it for the run; it reads the
// main window's values each time a sheet is drawn and writes back only a footer picture
// marked unreadable.
#pragma once

#include "sheet/PrintSheet.h"

#include <memory>

namespace ulvan {

class Interaction;
class TPrevForm;
class TUlvanForm;

class SheetCommands {
public:
    SheetCommands(TUlvanForm& main, Interaction& interaction);
    ~SheetCommands();
    SheetCommands(const SheetCommands&) = delete;
    SheetCommands& operator=(const SheetCommands&) = delete;

    MemorialSheetPrinter& Printer() { return m_printer; }
    TPrevForm& Preview() { return *m_preview; }

    // The main window's values as the sheets read them.
    static MemorialSheetInputs ReadInputs(const TUlvanForm& main);

private:
    MemorialSheetPrinter m_printer;
    std::unique_ptr<TPrevForm> m_preview;
};

} // namespace ulvan
