// The nine memorial observances of the first hundred days after a death.
// The main window owns one MemorialSchedule; its names, offsets and eve flags are settings,
// its Month/Day/WeekdayText are the result fields that ComputeSchedule overwrites.
#pragma once

#include "calendar/Messages.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace ulvan {

struct MemorialDay {
    std::u16string Name;
    std::int32_t Offset = 0; // days after the date of death; unused by the first monthly row
    bool Eve = false;        // moved to the day before
    std::u16string Month;
    std::u16string Day;
    std::u16string WeekdayText;
};

using MemorialSchedule = std::array<MemorialDay, 9>;

// Row of the first monthly memorial, which follows "same day of the following month".
inline constexpr std::size_t kFirstMonthlyRow = 4;

// Names, offsets and eve flags of a first start (also what "標準に戻す" restores), with
// cleared results.
MemorialSchedule DefaultSchedule();

// Empties Month and Day of every row and blanks every weekday label.
void ClearSchedule(MemorialSchedule& schedule);

// Parses the three date-of-death texts with ParseInt and fills the results of all nine rows;
// when any text is not an integer the schedule is cleared instead. `messages` receives the
// date-order message that a 1582 date before January 1 can raise through its weekday.
void ComputeSchedule(std::u16string_view yearText, std::u16string_view monthText,
                     std::u16string_view dayText, MemorialSchedule& schedule,
                     MessageSink* messages = nullptr);

} // namespace ulvan
