// Start-up and shutdown of the windowed program: the application's title, the main window
// (complete before any other window, since the others copy from it), the other windows made
// on first use, and the message loop. Closing the main window saves its settings and ends
// the program.
#pragma once

#include "ui/OnFirstUse.h"

namespace ulvan {

class SheetCommands;
class TNenkaiForm;
class TUlvanForm;

// The main window's print, blank-sheet and preview commands go to `commands`.
void ConnectSheetCommands(TUlvanForm& main, SheetCommands& commands);

// The main window's annual chart command opens `annual` (made then if not yet); the preview's
// annual branch draws and prints that window's chart.
void ConnectAnnualChart(TUlvanForm& main, SheetCommands& commands, OnFirstUse<TNenkaiForm>& annual);

// Creating the main window shows the start-up picture once it has taken this long: long
// enough that the clerk would otherwise wonder whether the program started.
inline constexpr int kStartupPictureAfterMs = 300;

// Puts Qt's own Japanese texts (print dialog, page set-up, file dialogs, standard buttons)
// into the running application; false when they are not installed, and the program then
// carries on with Qt's English.
bool InstallQtJapanese();

// Runs the windowed program; returns the exit code of the message loop.
int RunApplication(int& argc, char** argv);

} // namespace ulvan
