#include "calendar/Schedule.h"

#include "calendar/DateCalc.h"
#include "calendar/TextUtil.h"

#include <algorithm>

namespace ulvan {
namespace {

struct RowDefault {
    std::u16string_view name;
    std::int32_t offset;
    bool eve;
};

// The day of death counts as day 1: +6 is the seventh day, +99 the hundredth.
constexpr std::array<RowDefault, 9> kDefaults = {{
    {u"初七日忌", 6, true},
    {u"二七日忌", 13, true},
    {u"三七日忌", 20, true},
    {u"四七日忌", 27, true},
    {u"初月忌", 0, false},
    {u"五七日忌", 34, true},
    {u"六七日忌", 41, true},
    {u"満Ulvan", 48, true},
    {u"百箇日忌", 99, true},
}};

// Target of the first monthly memorial: the same day of the following month, lowered to
// that month's last day; on its eve, the day before (the last day of the month of death
// when death fell on the 1st). Month and day are kept wide: a day of INT32_MIN minus one
// must not wrap.
WideDate FirstMonthly(std::int32_t year, std::int32_t month, std::int32_t day, bool eve) {
    if (eve && day == 1)
        return {year, month, MonthDays(year, month)};
    std::int64_t targetYear = year;
    std::int64_t targetMonth = std::int64_t{month} + 1;
    if (targetMonth > 12) {
        targetMonth = 1;
        ++targetYear;
    }
    const std::int64_t wanted = eve ? std::int64_t{day} - 1 : day;
    // targetMonth fits 32 bits here: it is 1, or month + 1 with month at most 11.
    const std::int64_t last = MonthDays(targetYear, static_cast<std::int32_t>(targetMonth));
    return {targetYear, targetMonth, std::min(wanted, last)};
}

} // namespace

std::array<WideDate, 9> ScheduleDates(std::int32_t year, std::int32_t month, std::int32_t day,
                                      const MemorialSchedule& schedule) {
    std::array<WideDate, 9> dates;
    for (std::size_t i = 0; i < schedule.size(); ++i) {
        const MemorialDay& row = schedule[i];
        if (i == kFirstMonthlyRow) {
            dates[i] = FirstMonthly(year, month, day, row.Eve);
            continue;
        }
        const std::int64_t count = std::int64_t{row.Offset} - (row.Eve ? 1 : 0);
        const CalendarDate target = AddDays({year, month, day}, count);
        dates[i] = {target.year, target.month, target.day};
    }
    return dates;
}

MemorialSchedule DefaultSchedule() {
    MemorialSchedule schedule;
    for (std::size_t i = 0; i < schedule.size(); ++i) {
        schedule[i].Name = kDefaults[i].name;
        schedule[i].Offset = kDefaults[i].offset;
        schedule[i].Eve = kDefaults[i].eve;
    }
    ClearSchedule(schedule);
    return schedule;
}

MemorialOffsets OffsetsOf(const MemorialSchedule& schedule) {
    MemorialOffsets offsets{};
    for (std::size_t k = 0; k < kOffsetCount; ++k) {
        offsets[k] = schedule[OffsetRow(k)].Offset;
    }
    return offsets;
}

void SetOffsets(MemorialSchedule& schedule, const MemorialOffsets& offsets) {
    for (std::size_t k = 0; k < kOffsetCount; ++k) {
        schedule[OffsetRow(k)].Offset = offsets[k];
    }
}

void ClearSchedule(MemorialSchedule& schedule) {
    for (MemorialDay& row : schedule) {
        row.Month.clear();
        row.Day.clear();
        row.WeekdayText = kBlankWeekday;
    }
}

void ComputeSchedule(std::u16string_view yearText, std::u16string_view monthText,
                     std::u16string_view dayText, MemorialSchedule& schedule,
                     MessageSink* messages) {
    const auto year = ParseInt(yearText);
    const auto month = ParseInt(monthText);
    const auto day = ParseInt(dayText);
    if (!year || !month || !day) {
        ClearSchedule(schedule);
        return;
    }
    const std::array<WideDate, 9> dates = ScheduleDates(*year, *month, *day, schedule);
    for (std::size_t i = 0; i < schedule.size(); ++i) {
        MemorialDay& row = schedule[i];
        const WideDate& target = dates[i];
        row.Month = DecimalText(target.Month);
        row.Day = DecimalText(target.Day);
        if (i == kFirstMonthlyRow) {
            row.WeekdayText = WeekdayLabelWide(target.Year, target.Month, target.Day, messages);
        } else {
            // AddDays gives a month of 1..12 and a day within it.
            row.WeekdayText = WeekdayLabel({target.Year, static_cast<std::int32_t>(target.Month),
                                            static_cast<std::int32_t>(target.Day)},
                                           messages);
        }
    }
}

std::u16string EditedRowWeekday(std::u16string_view yearText, std::u16string_view monthText,
                                std::u16string_view dayText, std::u16string_view rowMonth,
                                std::u16string_view rowDay) {
    const auto year = ParseInt(yearText);
    const auto month = ParseInt(monthText);
    const auto day = ParseInt(dayText);
    const auto shownMonth = ParseInt(rowMonth);
    const auto shownDay = ParseInt(rowDay);
    if (!year || !month || !day || !shownMonth || !shownDay)
        return std::u16string(kBlankWeekday);
    if (*month < 1 || *month > 12 || *day < 1 || *day > MonthDays(*year, *month))
        return std::u16string(kBlankWeekday); // the date of death itself says （日付なし）
    const std::optional<CalendarDate> shown =
        FirstDateOnOrAfter({*year, *month, *day}, *shownMonth, *shownDay);
    if (!shown)
        return std::u16string(kNoDateWeekday);
    return WeekdayLabel(*shown);
}

} // namespace ulvan
