// Month-by-month reference versions of the calendar routines, written the slow way on
// purpose: the engine computes the same results through day numbers, and the tests compare
// the two over many dates. Inputs must stay small; the walks stop after `budget` steps
// and report nullopt, which is how a walk that would never end shows up.
#pragma once

#include "calendar/DateCalc.h"
#include "calendar/Messages.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ulvan::reference {

// Truncating remainders throughout, as C++ `%` does: -1 % 4 == -1.
inline std::int64_t MonthDays(std::int64_t year, std::int64_t month) {
    switch (month) {
    case 1:
    case 3:
    case 5:
    case 7:
    case 8:
    case 10:
    case 12:
        return 31;
    case 4:
    case 6:
    case 9:
    case 11:
        return 30;
    case 2:
        break;
    default:
        return 0;
    }
    std::int64_t result = 0;
    const std::int64_t r4 = year % 4;
    if (r4 > 0) {
        result = 28;
    } else if (r4 == 0) {
        const std::int64_t r100 = year % 100;
        if (r100 > 0) {
            result = 29;
        } else if (r100 == 0) {
            const std::int64_t r400 = year % 400;
            if (r400 > 0)
                result = 28;
            else if (r400 == 0)
                result = 29;
        }
    }
    return result;
}

inline std::int64_t YearDays(std::int64_t year) {
    const std::int64_t february = MonthDays(year, 2);
    if (february == 28)
        return 365;
    if (february == 29)
        return 366;
    return 0;
}

inline std::optional<CalendarDate> AddDays(std::int64_t year, std::int64_t month, std::int64_t day,
                                           std::int64_t count, std::int64_t budget = 10'000'000) {
    day += count;
    for (;;) {
        if (--budget < 0)
            return std::nullopt;
        const std::int64_t n = MonthDays(year, month);
        if (day <= n)
            break;
        day -= n;
        ++month;
        if (month >= 13) {
            month = 1;
            ++year;
        }
    }
    while (day <= 0) {
        if (--budget < 0)
            return std::nullopt;
        --month;
        if (month == 0) {
            --year;
            month = 12;
        }
        day += MonthDays(year, month);
    }
    return CalendarDate{year, static_cast<std::int32_t>(month), static_cast<std::int32_t>(day)};
}

struct BetweenResult {
    std::int64_t days;
    bool orderMessage;
};

inline BetweenResult DaysBetween(std::int64_t y1, std::int64_t m1, std::int64_t d1, std::int64_t y2,
                                 std::int64_t m2, std::int64_t d2) {
    if (y1 > y2 || (y1 == y2 && m1 > m2) || (y1 == y2 && m1 == m2 && d1 > d2))
        return {0, true};
    std::int64_t sum = 0;
    if (y2 > y1) {
        for (std::int64_t y = y1 + 1; y < y2; ++y)
            sum += YearDays(y);
        for (std::int64_t m = m1 + 1; m <= 12; ++m)
            sum += MonthDays(y1, m);
        for (std::int64_t m = 1; m <= m2 - 1; ++m)
            sum += MonthDays(y2, m);
        return {sum + MonthDays(y1, m1) - d1 + d2, false};
    }
    if (m2 > m1) {
        for (std::int64_t m = m1 + 1; m <= m2 - 1; ++m)
            sum += MonthDays(y1, m);
        return {sum + MonthDays(y1, m1) - d1 + d2, false};
    }
    return {d2 - d1, false};
}

struct LabelResult {
    std::u16string label;
    bool orderMessage;
};

inline LabelResult WeekdayLabel(std::int64_t year, std::int64_t month, std::int64_t day) {
    static const char16_t* const labels[] = {u"（金曜日）", u"（土曜日）", u"（日曜日）",
                                             u"（月曜日）", u"（火曜日）", u"（水曜日）",
                                             u"（木曜日）"};
    if (year < 1582)
        return {u"（　曜日）", false};
    // A date that does not exist has no weekday.
    if (month < 1 || month > 12 || day < 1 || day > MonthDays(year, month))
        return {u"（日付なし）", false};
    const BetweenResult e = DaysBetween(1582, 1, 1, year, month, day);
    const std::int64_t r = e.days % 7;
    if (r < 0)
        return {u"", e.orderMessage};
    return {labels[r], e.orderMessage};
}

// Keeps the messages the engine reports.
class MessageLog : public MessageSink {
public:
    void ShowMessage(std::u16string_view text) override { messages.emplace_back(text); }
    void Beep(BeepKind) override { ++beeps; }

    std::vector<std::u16string> messages;
    int beeps = 0;
};

} // namespace ulvan::reference
