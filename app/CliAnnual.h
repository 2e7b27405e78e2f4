// `ulvan sheet --annual`: the annual chart of the stored case, as the annual chart window
// would print it after start-up when opened from the main window, written without a printer
// or a dialog.
#pragma once

#include "annual/NenkaiPage.h"

#include <QString>

namespace ulvan {

// The chart of the store `settingsFile` (empty: the per-user store): the stored year of
// death; the stored era and era year where they fit that year with the stored month and day
// (a choice the user made for a year in which the era changed), otherwise the era the year
// gives; the twenty-one anniversaries computed from the year with the stored month and day;
// the stored selection and title; the main window's stored case for everything else.
// Where the stored era does not fit a year in which an era began and month or day do not
// decide (the window would ask), the later era is taken and `messages` is told so.
NenkaiSheetInputs LoadStoredNenkaiInputs(const QString& settingsFile, MessageSink* messages);

} // namespace ulvan
