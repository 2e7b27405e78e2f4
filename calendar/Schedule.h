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

    friend bool operator==(const MemorialDay&, const MemorialDay&) = default;
};

using MemorialSchedule = std::array<MemorialDay, 9>;

// Row of the first monthly memorial, which follows "same day of the following month".
inline constexpr std::size_t kFirstMonthlyRow = 4;

// The eight stored offsets (the settings' Add1 … Add8, the detail dialog's offset fields)
// belong to the rows other than the first monthly one, in row order.
inline constexpr std::size_t kOffsetCount = 8;
using MemorialOffsets = std::array<std::int32_t, kOffsetCount>;

// The row that stored offset `k` (0 … 7) belongs to.
constexpr std::size_t OffsetRow(std::size_t k) {
    return k < kFirstMonthlyRow ? k : k + 1;
}

// The offsets of a schedule's rows, and the reverse; the first monthly row's Offset is
// neither read nor written.
MemorialOffsets OffsetsOf(const MemorialSchedule& schedule);
void SetOffsets(MemorialSchedule& schedule, const MemorialOffsets& offsets);

// Names, offsets and eve flags of a first start (also what "標準に戻す" restores), with
// cleared results.
MemorialSchedule DefaultSchedule();

// Empties Month and Day of every row and blanks every weekday label.
void ClearSchedule(MemorialSchedule& schedule);

// The full date of each row for a date of death, as ComputeSchedule shows its month and day:
// the offset (one day less on the eve) through AddDays, the first monthly row on the same day
// of the following month. Month and day are wide: the first monthly row's eve of a day of
// INT32_MIN lies outside the 32-bit range. Names and results of `schedule` are not read.
struct WideDate {
    std::int64_t Year = 0;
    std::int64_t Month = 0;
    std::int64_t Day = 0;

    friend bool operator==(const WideDate&, const WideDate&) = default;
};
std::array<WideDate, 9> ScheduleDates(std::int32_t year, std::int32_t month, std::int32_t day,
                                      const MemorialSchedule& schedule);

// Parses the three date-of-death texts with ParseInt and fills the results of all nine rows;
// when any text is not an integer the schedule is cleared instead. `messages` receives the
// date-order message that a 1582 date before January 1 can raise through its weekday.
// The weekday label of a row whose month or day the clerk edited by hand: of the first date
// on or after the date of death with that month and day; kNoDateWeekday when no year has
// that month and day, kBlankWeekday when the date of death or the row does not read.
std::u16string EditedRowWeekday(std::u16string_view yearText, std::u16string_view monthText,
                                std::u16string_view dayText, std::u16string_view rowMonth,
                                std::u16string_view rowDay);

void ComputeSchedule(std::u16string_view yearText, std::u16string_view monthText,
                     std::u16string_view dayText, MemorialSchedule& schedule,
                     MessageSink* messages = nullptr);

} // namespace ulvan
