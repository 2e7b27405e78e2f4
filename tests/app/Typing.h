// Typing any text into a widget as key events. QTest::keyClicks only knows ASCII; this sends
// each character (code point) as a key press carrying its text, as an input method would
// deliver a committed character.
#pragma once

#include <QString>

class QWidget;

namespace ulvan {

void TypeText(QWidget* widget, const QString& text);

} // namespace ulvan
