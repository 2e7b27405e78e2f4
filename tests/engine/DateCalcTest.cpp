#include "calendar/DateCalc.h"

#include "CalendarReference.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace ulvan {
namespace {

// Proleptic Gregorian day count from 1970-01-01, computed by the era/day-of-era method
// (independent of the engine's month walk); valid for any year of the 32-bit range.
std::int64_t CivilDays(std::int64_t y, std::int64_t m, std::int64_t d) {
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

std::u16string GregorianWeekday(std::int64_t y, std::int64_t m, std::int64_t d) {
    // 1970-01-01 was a Thursday.
    static const char16_t* const labels[] = {u"（木曜日）", u"（金曜日）", u"（土曜日）",
                                             u"（日曜日）", u"（月曜日）", u"（火曜日）",
                                             u"（水曜日）"};
    const std::int64_t days = CivilDays(y, m, d);
    return labels[((days % 7) + 7) % 7];
}

bool IsNormal(const CalendarDate& date) {
    return date.month >= 1 && date.month <= 12 && date.day >= 1 &&
           date.day <= MonthDays(date.year, date.month);
}

// ---- MonthDays and YearDays --------------------------------------------------------------

struct MonthDaysCase {
    std::int64_t year;
    std::int32_t month;
    std::int32_t expected;
};

class MonthDaysTest : public testing::TestWithParam<MonthDaysCase> {};

TEST_P(MonthDaysTest, FollowsTheTruncatingLeapTest) {
    const auto& c = GetParam();
    EXPECT_EQ(MonthDays(c.year, c.month), c.expected);
    EXPECT_EQ(MonthDays(c.year, c.month), reference::MonthDays(c.year, c.month));
}

INSTANTIATE_TEST_SUITE_P(
    Months, MonthDaysTest,
    testing::Values(MonthDaysCase{1900, 2, 28}, MonthDaysCase{2000, 2, 29},
                    MonthDaysCase{2024, 2, 29}, MonthDaysCase{2023, 2, 28},
                    MonthDaysCase{2019, 0, 0}, MonthDaysCase{2019, 13, 0}, MonthDaysCase{0, 2, 29},
                    MonthDaysCase{-1, 2, 0}, MonthDaysCase{-4, 2, 0}, MonthDaysCase{-100, 2, 0},
                    MonthDaysCase{-400, 2, 29}, MonthDaysCase{-800, 2, 29},
                    MonthDaysCase{-1, 1, 31}, MonthDaysCase{-1, 3, 31}, MonthDaysCase{1600, 2, 29},
                    MonthDaysCase{1700, 2, 28}, MonthDaysCase{2019, 1, 31},
                    MonthDaysCase{2019, 4, 30}, MonthDaysCase{2019, 6, 30},
                    MonthDaysCase{2019, 7, 31}, MonthDaysCase{2019, 8, 31},
                    MonthDaysCase{2019, 9, 30}, MonthDaysCase{2019, 11, 30},
                    MonthDaysCase{2019, 12, 31}, MonthDaysCase{2019, -5, 0},
                    MonthDaysCase{2019, INT32_MIN, 0}, MonthDaysCase{2019, INT32_MAX, 0},
                    MonthDaysCase{INT32_MAX, 2, 28}, MonthDaysCase{INT32_MIN, 2, 0},
                    MonthDaysCase{INT64_MAX, 2, 28}, MonthDaysCase{INT64_MIN, 2, 0}));

struct YearDaysCase {
    std::int64_t year;
    std::int32_t expected;
};

class YearDaysTest : public testing::TestWithParam<YearDaysCase> {};

TEST_P(YearDaysTest, FollowsTheTruncatingLeapTest) {
    EXPECT_EQ(YearDays(GetParam().year), GetParam().expected);
    EXPECT_EQ(YearDays(GetParam().year), reference::YearDays(GetParam().year));
}

INSTANTIATE_TEST_SUITE_P(Years, YearDaysTest,
                         testing::Values(YearDaysCase{1900, 365}, YearDaysCase{2000, 366},
                                         YearDaysCase{2024, 366}, YearDaysCase{2023, 365},
                                         YearDaysCase{0, 366}, YearDaysCase{-1, 0},
                                         YearDaysCase{-4, 0}, YearDaysCase{-100, 0},
                                         YearDaysCase{-400, 366}, YearDaysCase{INT32_MAX, 365},
                                         YearDaysCase{INT32_MIN, 0}, YearDaysCase{INT64_MIN, 0}));

// ---- AddDays ----------------------------------------------------------------------------

struct AddCase {
    CalendarDate start;
    std::int64_t count;
    CalendarDate expected;
};

class AddDaysTest : public testing::TestWithParam<AddCase> {};

TEST_P(AddDaysTest, Normalises) {
    const auto& c = GetParam();
    EXPECT_EQ(AddDays(c.start, c.count), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Dates, AddDaysTest,
    testing::Values(
        AddCase{{2019, 1, 31}, 6, {2019, 2, 6}}, AddCase{{2020, 2, 28}, 1, {2020, 2, 29}},
        AddCase{{2019, 12, 31}, 1, {2020, 1, 1}}, AddCase{{2019, 3, 1}, -1, {2019, 2, 28}},
        AddCase{{2019, 1, 1}, -1, {2018, 12, 31}}, AddCase{{2019, 2, 31}, 0, {2019, 3, 3}},
        AddCase{{2019, 13, 5}, 0, {2020, 1, 5}}, AddCase{{2019, 0, 5}, 0, {2019, 1, 5}},
        AddCase{{2019, 5, 31}, 99, {2019, 9, 7}},
        // A month of 0 or below with no day left used to walk backwards for ever.
        AddCase{{2019, 0, -10}, 0, {2018, 12, 21}}, AddCase{{2019, 0, 5}, -10, {2018, 12, 26}},
        AddCase{{2019, -5, 0}, 0, {2018, 12, 31}}, AddCase{{2019, 13, 0}, 0, {2019, 12, 31}},
        AddCase{{2019, 20, -5}, 0, {2019, 12, 26}}, AddCase{{2019, INT32_MAX, 1}, 0, {2020, 1, 1}},
        // February of a negative year with a negative remainder has no days at all.
        AddCase{{-1, 2, 1}, 0, {-1, 3, 1}}, AddCase{{-1, 3, 1}, -1, {-1, 1, 31}},
        AddCase{{-1, 2, 0}, 0, {-1, 1, 31}}, AddCase{{-400, 2, 28}, 1, {-400, 2, 29}},
        AddCase{{0, 1, 1}, -1, {-1, 12, 31}}, AddCase{{-1, 1, 1}, 337, {0, 1, 1}},
        // Years run past the 32-bit range instead of wrapping.
        AddCase{{INT32_MAX, 12, 31}, 1, {std::int64_t{INT32_MAX} + 1, 1, 1}},
        AddCase{{INT32_MAX, 13, 1}, 0, {std::int64_t{INT32_MAX} + 1, 1, 1}},
        AddCase{{INT32_MIN, 1, 1}, -1, {std::int64_t{INT32_MIN} - 1, 12, 31}}));

// The sound reading of a start month outside 1..12: the month-by-month walk passes it as
// January (same year for 0 and below, next year for 13 and above).
CalendarDate ExpectedByWalk(std::int64_t y, std::int64_t m, std::int64_t d, std::int64_t count) {
    // Enough steps for any walk that ends: one month per 28 days plus the months passed.
    const std::int64_t budget = (std::abs(d) + std::abs(count)) / 28 + std::abs(m) + 100;
    auto walked = reference::AddDays(y, m, d, count, budget);
    if (walked)
        return *walked;
    // Only a month of 0 or below with no day left keeps the walk going; the same start in
    // January ends.
    EXPECT_LE(m, 0);
    EXPECT_LE(d + count, 0);
    walked = reference::AddDays(y, 1, d, count);
    EXPECT_TRUE(walked.has_value());
    return walked.value_or(CalendarDate{});
}

TEST(AddDaysWalk, AgreesWithTheMonthByMonthWalkOnAGrid) {
    const std::vector<std::int64_t> years = {-801, -800, -799, -401, -400, -399, -101, -100,
                                             -5,   -4,   -3,   -2,   -1,   0,    1,    2,
                                             3,    4,    99,   100,  101,  399,  400,  401,
                                             1581, 1582, 1600, 1700, 1900, 2000, 2019, 2100};
    const std::vector<std::int32_t> days = {-70, -31, -1, 0, 1, 28, 29, 30, 31, 32, 60, 400};
    const std::vector<std::int64_t> counts = {-1000, -400, -366, -365, -60, -29, -1,  0,
                                              1,     28,   29,   59,   365, 366, 1000};
    int compared = 0;
    for (const auto y : years)
        for (std::int32_t m = -2; m <= 15; ++m)
            for (const auto d : days)
                for (const auto n : counts) {
                    const CalendarDate expected = ExpectedByWalk(y, m, d, n);
                    ASSERT_EQ(AddDays({y, m, d}, n), expected)
                        << y << '-' << m << '-' << d << " + " << n;
                    ++compared;
                }
    EXPECT_EQ(compared, 32 * 18 * 12 * 15);
}

TEST(AddDaysWalk, AgreesWithTheMonthByMonthWalkOnRandomDates) {
    std::mt19937_64 random(20190501);
    std::uniform_int_distribution<std::int64_t> year(-3000, 3000);
    std::uniform_int_distribution<std::int32_t> month(-20, 30);
    std::uniform_int_distribution<std::int32_t> day(-500, 500);
    std::uniform_int_distribution<std::int64_t> count(-5000, 5000);
    for (int i = 0; i < 100000; ++i) {
        const auto y = year(random);
        const auto m = month(random);
        const auto d = day(random);
        const auto n = count(random);
        ASSERT_EQ(AddDays({y, m, d}, n), ExpectedByWalk(y, m, d, n))
            << y << '-' << m << '-' << d << " + " << n;
    }
}

TEST(AddDaysWalk, AgreesOverCenturiesOfNegativeYears) {
    // Long walks cross several 400-year blocks of the negative years' odd calendar.
    for (const std::int64_t count : {-300000, -150001, 150001, 300000}) {
        for (const std::int64_t y : {-1200, -801, -400, -1, 0, 400}) {
            const auto walked = reference::AddDays(y, 6, 15, count);
            ASSERT_TRUE(walked.has_value());
            EXPECT_EQ(AddDays({y, 6, 15}, count), *walked) << y << " + " << count;
        }
    }
}

TEST(AddDaysLarge, AgreesWithGregorianDayCountsOverThe32BitRange) {
    std::mt19937_64 random(1582);
    std::uniform_int_distribution<std::int64_t> year(0, INT32_MAX);
    std::uniform_int_distribution<std::int32_t> month(1, 12);
    std::uniform_int_distribution<std::int64_t> count(INT32_MIN, INT32_MAX);
    for (int i = 0; i < 20000; ++i) {
        const CalendarDate start{year(random), month(random), 1};
        const std::int64_t n = count(random);
        const CalendarDate moved = AddDays(start, n);
        ASSERT_TRUE(IsNormal(moved));
        if (moved.year >= 0) {
            ASSERT_EQ(CivilDays(moved.year, moved.month, moved.day) -
                          CivilDays(start.year, start.month, start.day),
                      n)
                << start.year << '-' << start.month << " + " << n;
        }
    }
}

TEST(AddDaysLarge, MovingBackUndoesMovingForward) {
    const std::vector<std::int64_t> years = {INT32_MIN, -1000000, -401, -1, 0, 1, 2019, INT32_MAX};
    const std::vector<std::int32_t> monthsAndDays = {INT32_MIN, -1, 0,  1,  2,
                                                     12,        13, 29, 31, INT32_MAX};
    const std::vector<std::int64_t> counts = {INT32_MIN, -1,        0,
                                              1,         INT32_MAX, std::int64_t{INT32_MAX} * 3};
    for (const auto y : years)
        for (const auto m : monthsAndDays)
            for (const auto d : monthsAndDays)
                for (const auto n : counts) {
                    const CalendarDate normal = AddDays({y, m, d}, 0);
                    ASSERT_TRUE(IsNormal(normal));
                    const CalendarDate moved = AddDays({y, m, d}, n);
                    ASSERT_TRUE(IsNormal(moved));
                    ASSERT_EQ(AddDays(moved, -n), normal) << y << '-' << m << '-' << d;
                }
}

TEST(AddDaysLarge, ExtremeCountsStayDefined) {
    for (const std::int64_t n : {INT64_MIN, INT64_MIN + 1, INT64_MAX}) {
        for (const std::int64_t y : {INT64_MIN, std::int64_t{INT32_MIN}, std::int64_t{0},
                                     std::int64_t{INT32_MAX}, INT64_MAX}) {
            const CalendarDate moved = AddDays({y, INT32_MAX, INT32_MAX}, n);
            EXPECT_TRUE(IsNormal(moved));
            EXPECT_EQ(moved.year > 0, n > 0) << y << " + " << n;
        }
    }
}

// ---- DaysBetween ------------------------------------------------------------------------

struct BetweenCase {
    CalendarDate from;
    CalendarDate to;
    std::int64_t expected;
    bool message;
};

class DaysBetweenTest : public testing::TestWithParam<BetweenCase> {};

TEST_P(DaysBetweenTest, CountsOrRefuses) {
    const auto& c = GetParam();
    reference::MessageLog log;
    EXPECT_EQ(DaysBetween(c.from, c.to, &log), c.expected);
    if (c.message) {
        ASSERT_EQ(log.messages.size(), 1u);
        EXPECT_EQ(log.messages[0], u"日付の前後関係を確認して下さい。");
    } else {
        EXPECT_TRUE(log.messages.empty());
    }
    EXPECT_EQ(log.beeps, 0);
    // Without a sink the result is the same.
    EXPECT_EQ(DaysBetween(c.from, c.to), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Pairs, DaysBetweenTest,
    testing::Values(BetweenCase{{2019, 5, 1}, {2019, 5, 1}, 0, false},
                    BetweenCase{{2019, 5, 1}, {2019, 4, 30}, 0, true},
                    BetweenCase{{2019, 5, 1}, {2018, 12, 31}, 0, true},
                    BetweenCase{{2019, 5, 2}, {2019, 5, 1}, 0, true},
                    BetweenCase{{2019, 1, 1}, {2020, 1, 1}, 365, false},
                    BetweenCase{{2020, 1, 1}, {2021, 1, 1}, 366, false},
                    BetweenCase{{1582, 1, 1}, {2019, 5, 1}, 159731, false},
                    BetweenCase{{2019, 1, 31}, {2019, 3, 1}, 29, false},
                    // Out-of-range fields count linearly.
                    BetweenCase{{2019, 2, 1}, {2019, 2, 40}, 39, false},
                    BetweenCase{{2019, 0, 5}, {2019, 2, 1}, 27, false},
                    BetweenCase{{2018, 13, 1}, {2019, 1, 1}, 0, false},
                    BetweenCase{{2019, 1, 1}, {2019, 1, -5}, 0, true},
                    // The order is judged on the years as given, however large.
                    BetweenCase{{INT64_MAX, 1, 1}, {INT64_MAX - 1, 12, 31}, 0, true},
                    BetweenCase{{INT32_MIN, INT32_MIN, INT32_MIN},
                                {INT32_MAX, INT32_MAX, INT32_MAX},
                                790612211431,
                                false}));

TEST(DaysBetweenWalk, AgreesWithTheYearByYearSum) {
    std::mt19937_64 random(1989);
    std::uniform_int_distribution<std::int64_t> year(-1300, 2600);
    std::uniform_int_distribution<std::int64_t> span(-3, 50);
    std::uniform_int_distribution<std::int32_t> month(-20, 30);
    std::uniform_int_distribution<std::int32_t> day(-100, 100);
    for (int i = 0; i < 100000; ++i) {
        const auto y1 = year(random);
        const auto y2 = i % 10 == 0 ? year(random) : y1 + span(random);
        const CalendarDate from{y1, month(random), day(random)};
        const CalendarDate to{y2, i % 7 == 0 ? from.month : month(random), day(random)};
        reference::MessageLog log;
        const auto expected =
            reference::DaysBetween(from.year, from.month, from.day, to.year, to.month, to.day);
        ASSERT_EQ(DaysBetween(from, to, &log), expected.days)
            << from.year << '-' << from.month << '-' << from.day << " .. " << to.year << '-'
            << to.month << '-' << to.day;
        ASSERT_EQ(log.messages.size(), expected.orderMessage ? 1u : 0u);
    }
}

TEST(DaysBetweenWalk, IsTheNumberOfSingleStepsForValidDates) {
    std::mt19937_64 random(2025);
    std::uniform_int_distribution<std::int64_t> year(0, 3000);
    std::uniform_int_distribution<std::int32_t> month(1, 12);
    std::uniform_int_distribution<std::int32_t> day(1, 31);
    for (int i = 0; i < 20000; ++i) {
        const CalendarDate a = AddDays({year(random), month(random), day(random)}, 0);
        const CalendarDate b = AddDays({year(random), month(random), day(random)}, 0);
        const CalendarDate& from =
            CivilDays(a.year, a.month, a.day) <= CivilDays(b.year, b.month, b.day) ? a : b;
        const CalendarDate& to = &from == &a ? b : a;
        const std::int64_t n = DaysBetween(from, to);
        ASSERT_EQ(n, CivilDays(to.year, to.month, to.day) -
                         CivilDays(from.year, from.month, from.day));
        ASSERT_EQ(AddDays(from, n), to);
    }
}

// ---- WeekdayLabel -----------------------------------------------------------------------

struct LabelCase {
    CalendarDate date;
    std::u16string expected;
    bool message;
};

class WeekdayLabelTest : public testing::TestWithParam<LabelCase> {};

TEST_P(WeekdayLabelTest, LabelsTheDate) {
    const auto& c = GetParam();
    reference::MessageLog log;
    EXPECT_EQ(WeekdayLabel(c.date, &log), c.expected);
    EXPECT_EQ(log.messages.size(), c.message ? 1u : 0u);
    EXPECT_EQ(WeekdayLabel(c.date), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Dates, WeekdayLabelTest,
                         testing::Values(LabelCase{{1582, 1, 1}, u"（金曜日）", false},
                                         LabelCase{{1581, 12, 31}, u"（　曜日）", false},
                                         LabelCase{{1582, 10, 10}, u"（日曜日）", false},
                                         LabelCase{{2019, 5, 1}, u"（水曜日）", false},
                                         LabelCase{{2025, 1, 1}, u"（水曜日）", false},
                                         LabelCase{{INT32_MIN, 1, 1}, u"（　曜日）", false},
                                         // Dates that do not exist get no weekday, and no message.
                                         LabelCase{{2026, 2, 31}, u"（日付なし）", false},
                                         LabelCase{{2023, 2, 29}, u"（日付なし）", false},
                                         LabelCase{{2024, 2, 29}, u"（木曜日）", false},
                                         LabelCase{{2019, 4, 31}, u"（日付なし）", false},
                                         LabelCase{{2019, 13, 1}, u"（日付なし）", false},
                                         LabelCase{{1582, 0, 5}, u"（日付なし）", false},
                                         LabelCase{{1582, 1, 0}, u"（日付なし）", false},
                                         LabelCase{{1583, 1, -1000}, u"（日付なし）", false}));

TEST(WeekdayLabelCalendar, AgreesWithTheGregorianWeekdayFrom1582) {
    CalendarDate date{1582, 1, 1};
    for (int i = 0; i < 366 * 1100; ++i) {
        ASSERT_EQ(WeekdayLabel(date), GregorianWeekday(date.year, date.month, date.day))
            << date.year << '-' << date.month << '-' << date.day;
        date = AddDays(date, 1);
    }
    EXPECT_GT(date.year, 2680);
}

TEST(WeekdayLabelCalendar, AgreesWithTheReferenceForOddFields) {
    std::mt19937_64 random(1868);
    std::uniform_int_distribution<std::int64_t> year(1570, 1700);
    std::uniform_int_distribution<std::int32_t> month(-20, 30);
    std::uniform_int_distribution<std::int32_t> day(-2000, 2000);
    for (int i = 0; i < 100000; ++i) {
        const CalendarDate date{year(random), month(random), day(random)};
        reference::MessageLog log;
        const auto expected = reference::WeekdayLabel(date.year, date.month, date.day);
        ASSERT_EQ(WeekdayLabel(date, &log), expected.label)
            << date.year << '-' << date.month << '-' << date.day;
        ASSERT_EQ(log.messages.size(), expected.orderMessage ? 1u : 0u);
    }
}

TEST(WeekdayLabelCalendar, ExtremeFieldsGiveALabelOrNothing) {
    const std::vector<std::u16string> allowed = {u"（日付なし）", u"（　曜日）", u"（金曜日）",
                                                 u"（土曜日）",   u"（日曜日）", u"（月曜日）",
                                                 u"（火曜日）",   u"（水曜日）", u"（木曜日）"};
    for (const std::int64_t y : {INT64_MIN, std::int64_t{1582}, std::int64_t{INT32_MAX}, INT64_MAX})
        for (const std::int32_t m : {INT32_MIN, 0, 1, 12, INT32_MAX})
            for (const std::int32_t d : {INT32_MIN, 0, 1, INT32_MAX}) {
                const std::u16string label = WeekdayLabel({y, m, d});
                EXPECT_NE(std::find(allowed.begin(), allowed.end(), label), allowed.end());
            }
    // A valid date far in the future still gets its Gregorian weekday.
    EXPECT_EQ(WeekdayLabel({INT32_MAX, 12, 31}), GregorianWeekday(INT32_MAX, 12, 31));
}

} // namespace
} // namespace ulvan
