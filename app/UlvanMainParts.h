// What the main window's source files share: the texts and the font that more than one of
// them shows.
#pragma once

#include "calendar/DateCalc.h"
#include "sheet/QtText.h"
#include "ui/DialogSupport.h"

#include <QFont>
#include <QString>

namespace ulvan {

// The tool bar's height, part of the window's height.
inline constexpr int kToolBarHeight = 29;

// The weekday field of a date not yet complete.
inline QString BlankWeekdayText() {
    return ToQ(kBlankWeekday);
}
// The era box's entry for no era.
inline QString NoEraName() {
    return QStringLiteral("－－");
}
// The memorial names of the result rows, as designed; a longer name is condensed to fit.
inline QFont RowNameFont() {
    return UiFont(ToQ(kGothic), 12);
}

} // namespace ulvan
