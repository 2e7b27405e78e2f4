#include "calendar/DateCalc.h"

#include <algorithm>
#include <array>

namespace ulvan {
namespace {

// Years are clamped to this magnitude before any arithmetic, so that day numbers, their
// sums with any count, and differences of day numbers all stay inside 64 bits. Dates of
// 32-bit years, the only ones the fields can hold, are far inside it.
constexpr std::int64_t kYearLimit = std::int64_t{1} << 53;
// Counts are clamped likewise; with kYearLimit the sum of a day number and a count stays
// below 8.4e18.
constexpr std::int64_t kCountLimit = std::int64_t{5'000'000'000'000'000'000};

constexpr std::int64_t ClampYear(std::int64_t year) {
    return std::clamp(year, -kYearLimit, kYearLimit);
}

// Days of the twelve months of a common year; February is settled by LeapFebruary.
constexpr std::array<std::int32_t, 12> kCommonMonths = {31, 28, 31, 30, 31, 30,
                                                        31, 31, 30, 31, 30, 31};

// February by the leap test with truncating remainders: a negative remainder on the path
// taken leaves the length at 0.
constexpr std::int32_t LeapFebruary(std::int64_t year) {
    const std::int64_t r4 = year % 4;
    if (r4 > 0)
        return 28;
    if (r4 < 0)
        return 0;
    const std::int64_t r100 = year % 100;
    if (r100 > 0)
        return 29;
    if (r100 < 0)
        return 0;
    const std::int64_t r400 = year % 400;
    if (r400 > 0)
        return 28;
    if (r400 < 0)
        return 0;
    return 29;
}

std::int32_t MonthLength(std::int64_t year, std::int64_t month) {
    if (month < 1 || month > 12)
        return 0;
    if (month == 2)
        return LeapFebruary(year);
    return kCommonMonths[static_cast<std::size_t>(month - 1)];
}

// Sum of the month lengths of months 1..last of the year (last clamped to 0..12).
std::int64_t MonthsPrefix(std::int64_t year, std::int64_t last) {
    last = std::clamp<std::int64_t>(last, 0, 12);
    std::int64_t sum = 0;
    for (std::int64_t m = 1; m <= last; ++m)
        sum += MonthLength(year, m);
    return sum;
}

// Sum of MonthDays(year, m) for m = first .. last (empty when last < first).
std::int64_t MonthsSum(std::int64_t year, std::int64_t first, std::int64_t last) {
    if (last < first)
        return 0;
    return MonthsPrefix(year, last) - MonthsPrefix(year, first - 1);
}

// Sum of YearDays over the years [0, year) for year >= 0, and minus the sum over
// [year, 0) for a negative year (where only multiples of 400 count, with 366 days).
std::int64_t YearDaysPrefix(std::int64_t year) {
    if (year >= 0) {
        const std::int64_t before = year - 1;
        const std::int64_t leaps =
            year == 0 ? 0 : before / 4 - before / 100 + before / 400 + 1; // year 0 is leap
        return 365 * year + leaps;
    }
    return -366 * ((-year) / 400);
}

// The calendar that the month-by-month walk of AddDays moves through: a year is the sum
// of its month lengths. For years 0 and above that is the Gregorian calendar; a negative
// year has February of 0 days (337 in all) unless it is a multiple of 400 (366).
constexpr std::int64_t kCycleDays = 146097;                  // 400 Gregorian years
constexpr std::int64_t kNegativeCycleDays = 399 * 337 + 366; // 400 negative years

// Day number of January 1 of the year, day 0 being January 1 of year 0.
std::int64_t DaysBeforeYear(std::int64_t year) {
    if (year >= 0)
        return YearDaysPrefix(year);
    const std::int64_t back = -year;
    return -(337 * back + 29 * (back / 400));
}

// The year that contains day number `day`.
std::int64_t YearOfDay(std::int64_t day) {
    if (day >= 0) {
        const std::int64_t cycles = day / kCycleDays;
        const std::int64_t rest = day % kCycleDays;
        // The proportional estimate is at most one year off inside a cycle.
        std::int64_t year = cycles * 400 + rest * 400 / kCycleDays;
        while (DaysBeforeYear(year) > day)
            --year;
        while (DaysBeforeYear(year + 1) <= day)
            ++year;
        return year;
    }
    // Counting backwards from year -1: each block of 400 years holds 399 short years and
    // ends with a multiple of 400 of full length.
    const std::int64_t back = -day - 1;
    const std::int64_t blocks = back / kNegativeCycleDays;
    const std::int64_t rest = back % kNegativeCycleDays;
    const std::int64_t inBlock = std::min<std::int64_t>(rest / 337, 399);
    return -400 * blocks - 1 - inBlock;
}

std::int64_t DayNumber(std::int64_t year, std::int64_t month, std::int64_t day) {
    return DaysBeforeYear(year) + MonthsPrefix(year, month - 1) + day - 1;
}

CalendarDate DateOfDay(std::int64_t number) {
    const std::int64_t year = YearOfDay(number);
    std::int64_t rest = number - DaysBeforeYear(year);
    std::int32_t month = 1;
    for (; month < 12; ++month) {
        const std::int32_t length = MonthLength(year, month);
        if (rest < length)
            break;
        rest -= length;
    }
    return {year, month, static_cast<std::int32_t>(rest + 1)};
}

std::int64_t Between(std::int64_t y1, std::int64_t m1, std::int64_t d1, std::int64_t y2,
                     std::int64_t m2, std::int64_t d2, MessageSink* messages) {
    const bool reversed = y1 > y2 || (y1 == y2 && (m1 > m2 || (m1 == m2 && d1 > d2)));
    if (reversed) {
        if (messages != nullptr)
            messages->ShowMessage(kDateOrderMessage);
        return 0;
    }
    y1 = ClampYear(y1);
    y2 = ClampYear(y2);
    if (y2 > y1) {
        return (YearDaysPrefix(y2) - YearDaysPrefix(y1 + 1)) + MonthsSum(y1, m1 + 1, 12) +
               MonthsSum(y2, 1, m2 - 1) + MonthLength(y1, m1) - d1 + d2;
    }
    if (m2 > m1)
        return MonthsSum(y1, m1 + 1, m2 - 1) + MonthLength(y1, m1) - d1 + d2;
    return d2 - d1;
}

constexpr std::array<std::u16string_view, 7> kWeekdays = {
    u"（金曜日）", u"（土曜日）", u"（日曜日）", u"（月曜日）",
    u"（火曜日）", u"（水曜日）", u"（木曜日）"};

} // namespace

std::int32_t MonthDays(std::int64_t year, std::int32_t month) {
    return MonthLength(year, month);
}

std::int32_t YearDays(std::int64_t year) {
    const std::int32_t february = LeapFebruary(year);
    return february == 0 ? 0 : 337 + february;
}

CalendarDate AddDays(CalendarDate date, std::int64_t count) {
    std::int64_t year = ClampYear(date.year);
    // The month walk passes months outside 1..12 without consuming days: one of 0 or below
    // becomes January of the same year, one of 13 or more January of the next.
    std::int32_t month = date.month;
    if (month < 1) {
        month = 1;
    } else if (month > 12) {
        month = 1;
        ++year;
    }
    count = std::clamp(count, -kCountLimit, kCountLimit);
    return DateOfDay(DayNumber(year, month, date.day) + count);
}

std::int64_t DaysBetween(CalendarDate from, CalendarDate to, MessageSink* messages) {
    return Between(from.year, from.month, from.day, to.year, to.month, to.day, messages);
}

std::u16string WeekdayLabel(CalendarDate date, MessageSink* messages) {
    return WeekdayLabelWide(date.year, date.month, date.day, messages);
}

std::u16string WeekdayLabelWide(std::int64_t year, std::int64_t month, std::int64_t day,
                                MessageSink* messages) {
    if (year < 1582)
        return std::u16string(kBlankWeekday);
    if (month < 1 || month > 12 || day < 1 ||
        day > MonthDays(year, static_cast<std::int32_t>(month)))
        return std::u16string(kNoDateWeekday);
    const std::int64_t elapsed = Between(1582, 1, 1, year, month, day, messages);
    const std::int64_t r = elapsed % 7;
    if (r < 0)
        return {};
    return std::u16string(kWeekdays[static_cast<std::size_t>(r)]);
}

std::optional<CalendarDate> FirstDateOnOrAfter(CalendarDate from, std::int32_t month,
                                               std::int32_t day, std::int64_t lastYear) {
    if (month < 1 || month > 12 || day < 1 || day > 31)
        return std::nullopt;
    std::int64_t year = from.year;
    if (month < from.month || (month == from.month && day < from.day))
        ++year;
    for (int tries = 0; tries < 9 && year <= lastYear; ++tries, ++year) {
        if (day <= MonthDays(year, month))
            return CalendarDate{year, month, day};
    }
    return std::nullopt;
}

} // namespace ulvan
