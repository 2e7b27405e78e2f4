// The main window's tool bar pictures, drawn by program at 16 x 16 pixels so that their
// source stays readable here. The numbering is the image-list order the tool buttons use.
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
};

inline constexpr int kToolIconCount = 8;
inline constexpr int kToolIconSize = 16;

// The 16 x 16 picture (transparent background); `scale` 2 draws the same design at 32 x 32
// for high-density screens.
QImage ToolImage(ToolIconId id, int scale = 1);
// The picture at 16 x 16 and 32 x 32.
QIcon ToolIcon(ToolIconId id);

} // namespace ulvan
