// The memorial days of a case as an iCalendar file (RFC 5545) that a phone or desktop
// calendar imports: all-day events, lines ending in CR LF and folded at 75 octets between
// characters, text escaped. Each event's UID is made from the date of death, the secular
// name and the row, so that the file written again after a row's date was corrected updates
// the event already imported (its SEQUENCE raised) instead of adding a second one.
#pragma once

#include "calendar/Schedule.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ulvan {

// A moment in UTC, for DTSTAMP.
struct UtcStamp {
    std::int32_t Year = 1970;
    std::int32_t Month = 1;
    std::int32_t Day = 1;
    std::int32_t Hour = 0;
    std::int32_t Minute = 0;
    std::int32_t Second = 0;
};

struct CalendarRequest {
    // The date of death as the main window's texts.
    std::u16string Year;
    std::u16string Month;
    std::u16string Day;
    std::u16string Zokumyo; // secular name, in each title
    // The nine rows as shown: names, offsets, eve flags, and the month and day results. A row
    // whose month or day differs from what its offset gives was edited by hand.
    MemorialSchedule Schedule;
    bool Annual = false; // also the annual memorials up to 五十回忌
    UtcStamp Stamp;
    // UID → SEQUENCE and date of the events of the file written before (ReadEarlierEvents).
    struct Earlier {
        std::int64_t Sequence = 0;
        std::string Start; // the DTSTART value, "YYYYMMDD"
    };
    std::map<std::string, Earlier, std::less<>> EarlierEvents;
};

struct CalendarEvent {
    std::string Uid;
    std::int64_t Year = 0;
    std::int32_t Month = 0;
    std::int32_t Day = 0;
    std::u16string Summary;
    std::u16string Description;
    std::int64_t Sequence = 0;
};

struct CalendarResult {
    enum class Status {
        Written,
        NoDate, // the date of death is not a date (year 1..9999, month, day within it)
    };
    Status Result = Status::NoDate;
    std::vector<CalendarEvent> Events;
    std::string Text; // the file's bytes (UTF-8)
    // Rows left out, each with the reason in Japanese (a hand-edited date that is no date).
    std::vector<std::u16string> Skipped;
};

CalendarResult BuildMemorialCalendar(const CalendarRequest& request);

// The events of a file written before: UID → SEQUENCE and DTSTART. Lines that do not read
// are passed over; an empty map for anything that is not such a file.
std::map<std::string, CalendarRequest::Earlier, std::less<>>
ReadEarlierEvents(std::string_view text);

// The pieces, for the tests and the reader above.
// TEXT value escaping: backslash, semicolon, comma and line breaks; other control
// characters dropped.
std::string EscapeCalendarText(std::u16string_view text);
// One content line folded: at most 75 octets a line, never inside a UTF-8 sequence, each
// continuation starting with a blank; every line ends in CR LF.
std::string FoldCalendarLine(std::string_view line);
// The reverse of folding: logical lines without their line ends.
std::vector<std::string> UnfoldCalendarLines(std::string_view text);

// The description of an annual memorial of a death on 29 February in a common year.
inline constexpr std::u16string_view kLeapDayNote =
    u"命日は2月29日です。うるう年でない年は2月28日としています。";
inline constexpr std::u16string_view kEditedNote = u"日付は手で直した月日です。";

} // namespace ulvan
