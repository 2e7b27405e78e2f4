// The tool bar pictures, drawn by program at 16 x 16 pixels so that their source stays
// readable here. The first eight are the main window's image list in the order its tool
// buttons use; the quick table window's editing pictures follow.
#pragma once

#include <QIcon>
#include <QImage>

namespace ulvan {

enum class ToolIconId {
    Import = 0,      // ToolButton1: take a record from a file
    Append = 1,      // ToolButton2: append a record to a file
    Print = 2,       // ToolButton4: print the memorial sheet
    Preview = 3,     // ToolButton5: print preview
    Clear = 4,       // ToolButton7: clear the deceased's data
    AnnualChart = 5, // ToolButton9: annual memorial chart
    QuickTable = 6,  // ToolButton10: quick table of memorial years
    BlankSheet = 7,  // ToolButton11: print the blank sheet
    OpenText = 8,    // quick table: open a text file
    SaveText = 9,    // quick table: save as
    Cut = 10,        // quick table: cut
    Copy = 11,       // quick table: copy
    Paste = 12,      // quick table: paste
    Delete = 13,     // quick table: delete the selection
    DueList = 14,    // ToolButton12: this year's memorials from the record file
};

inline constexpr int kToolIconCount = 15;
inline constexpr int kToolIconSize = 16;

// The 16 x 16 picture (transparent background); `scale` 2 draws the same design at 32 x 32
// for high-density screens.
QImage ToolImage(ToolIconId id, int scale = 1);
// The picture at 16 x 16 and 32 x 32.
QIcon ToolIcon(ToolIconId id);

} // namespace ulvan
