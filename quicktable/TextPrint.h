// Printing plain text as the quick table window does: the whole text in one font, from the
// top-left corner of the printable area, line after line, a new page whenever the next line
// does not fit. A line wider than the page wraps at a word boundary where there is one, else
// anywhere; nothing is cut off at the right edge.
#pragma once

#include <QString>

class QFont;
class QPagedPaintDevice;

namespace ulvan {

enum class TextPrintResult {
    Printed,
    NotStarted, // the device could not be painted on (no job was started)
    Broken,     // a page could not be started or the device reported an error
};

// Paints `text` ("\n" between lines) on `device` and ends the job. The font's size is taken
// in points, so the print is as large on paper as the text is on a screen of 96 dots per inch
// when the font has 0.75 points per screen pixel.
TextPrintResult PrintPlainText(const QString& text, const QFont& font, QPagedPaintDevice& device);

} // namespace ulvan
