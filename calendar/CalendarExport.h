// "カレンダーに書き出す…": the memorial days of the main window's case written as an
// iCalendar file that a phone or desktop calendar imports.
#pragma once

#include <QString>

class QWidget;

namespace ulvan {

class CaseHost;
class Interaction;

// Asks whether the annual memorials go in too, then for the file, and writes it (reading the
// file it replaces for the sequence numbers of events already imported). A date of death
// that is no date, a failed write or rows left out are said in a message; the status bar
// reports the file written. True when a file was written.
bool ExportMemorialCalendar(CaseHost& host, Interaction& interaction, QWidget* parent);

// The question before the file dialog.
inline constexpr char16_t kAnnualQuestion[] =
    u"一周忌から五十回忌までの年回忌も、予定として書き出しますか？";

} // namespace ulvan
