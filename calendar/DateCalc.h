// Calendar arithmetic on plain (year, month, day) triples, Gregorian for every year.
// Used by the memorial schedule and by the main window's date fields.
//
// Nothing here validates a date: out-of-range months and days are normalised by the
// month-by-month rules below, and every routine gives a determinate result for any
// input in constant time (day-number based, no loop over the distance, no overflow).
// Remainders are truncating, so negative years have odd leap results: February of a
// negative year whose truncating remainder on the leap path is negative has 0 days.
#pragma once

#include "calendar/Messages.h"

#include <climits>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ulvan {

// Days in the month; 0 for a month outside 1..12, and 0 for February where the leap
// test of a negative year meets a negative remainder.
std::int32_t MonthDays(std::int64_t year, std::int32_t month);

// 365 or 366; 0 for a negative year where the leap test meets a negative remainder.
std::int32_t YearDays(std::int64_t year);

struct CalendarDate {
    std::int64_t year = 0;
    std::int32_t month = 0;
    std::int32_t day = 0;

    friend bool operator==(const CalendarDate&, const CalendarDate&) = default;
};

// The date moved by `count` days and normalised: a month of 0 or below counts as January
// of the same year, a month of 13 or more as January of the following year, and a day
// beyond the month's end rolls into the next month. The year is 64-bit so that moving a
// date near the end of the 32-bit range stays exact; years beyond +-2^53 and counts beyond
// +-5e18 (out of reach of any field) are taken at those bounds.
CalendarDate AddDays(CalendarDate date, std::int64_t count);

// Days from `from` to `to` by the field-wise linear count (out-of-range days count
// linearly). When `to` is earlier than `from` (compared year, then month, then day) the
// order message goes to `messages` (when given) and the result is 0.
std::int64_t DaysBetween(CalendarDate from, CalendarDate to, MessageSink* messages = nullptr);

// The weekday label of the date, counted from 1582-01-01 (a Friday): "（金曜日）" etc.;
// kBlankWeekday for years before 1582; kNoDateWeekday for a date that does not exist (month
// outside 1-12, day outside the month: 2月31日 is no date and gets no weekday).
std::u16string WeekdayLabel(CalendarDate date, MessageSink* messages = nullptr);

// WeekdayLabel for fields computed from field values, which may leave the 32-bit range
// (the day before a day of INT32_MIN).
std::u16string WeekdayLabelWide(std::int64_t year, std::int64_t month, std::int64_t day,
                                MessageSink* messages = nullptr);

// The first date on or after `from` with the given month and day, in a year up to
// `lastYear` (a 29 February waits for a leap year, found within eight years); none for a
// month and day that no year has. `from` must be a date that exists.
std::optional<CalendarDate> FirstDateOnOrAfter(CalendarDate from, std::int32_t month,
                                               std::int32_t day, std::int64_t lastYear = INT32_MAX);

inline constexpr std::u16string_view kBlankWeekday = u"（　曜日）";
inline constexpr std::u16string_view kNoDateWeekday = u"（日付なし）";

// The message of DaysBetween for a reversed pair of dates.
inline constexpr std::u16string_view kDateOrderMessage = u"日付の前後関係を確認して下さい。";

} // namespace ulvan
