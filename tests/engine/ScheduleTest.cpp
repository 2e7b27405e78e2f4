#include "calendar/Schedule.h"

#include "CalendarReference.h"
#include "calendar/DateCalc.h"
#include "calendar/TextUtil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <random>
#include <vector>

namespace ulvan {
namespace {

// Weekday labels in the order of the days, Friday first.
const std::array<std::u16string, 7> kLabels = {u"（金曜日）", u"（土曜日）", u"（日曜日）",
                                               u"（月曜日）", u"（火曜日）", u"（水曜日）",
                                               u"（木曜日）"};

int LabelIndex(const std::u16string& label) {
    const auto it = std::find(kLabels.begin(), kLabels.end(), label);
    return it == kLabels.end() ? -1 : static_cast<int>(it - kLabels.begin());
}

MemorialSchedule Computed(std::u16string_view y, std::u16string_view m, std::u16string_view d,
                          MemorialSchedule schedule = DefaultSchedule()) {
    ComputeSchedule(y, m, d, schedule);
    return schedule;
}

void ExpectCleared(const MemorialSchedule& schedule) {
    for (const MemorialDay& row : schedule) {
        EXPECT_TRUE(row.Month.empty());
        EXPECT_TRUE(row.Day.empty());
        EXPECT_EQ(row.WeekdayText, u"（　曜日）");
    }
}

// ---- Defaults and clearing ------------------------------------------------------------------

TEST(ScheduleDefaults, AreTheNineObservancesOfAFirstStart) {
    const MemorialSchedule schedule = DefaultSchedule();
    const std::array<std::u16string, 9> names = {u"初七日忌", u"二七日忌", u"三七日忌",
                                                 u"四七日忌", u"初月忌",   u"五七日忌",
                                                 u"六七日忌", u"満Ulvan",  u"百箇日忌"};
    const std::array<std::int32_t, 9> offsets = {6, 13, 20, 27, 0, 34, 41, 48, 99};
    for (std::size_t i = 0; i < schedule.size(); ++i) {
        EXPECT_EQ(schedule[i].Name, names[i]);
        if (i != kFirstMonthlyRow) {
            EXPECT_EQ(schedule[i].Offset, offsets[i]);
        }
        EXPECT_EQ(schedule[i].Eve, i != kFirstMonthlyRow);
    }
    ExpectCleared(schedule);
}

class ScheduleClearTest : public testing::TestWithParam<std::array<std::u16string_view, 3>> {};

TEST_P(ScheduleClearTest, ClearsEveryResultWhenAFieldIsNotAnInteger) {
    MemorialSchedule schedule = Computed(u"2019", u"5", u"1");
    ASSERT_EQ(schedule[8].Day, u"7");
    const auto& texts = GetParam();
    ComputeSchedule(texts[0], texts[1], texts[2], schedule);
    ExpectCleared(schedule);
    EXPECT_EQ(schedule[0].Name, u"初七日忌"); // the settings stay
    EXPECT_EQ(schedule[8].Offset, 99);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ScheduleClearTest,
    testing::Values(std::array<std::u16string_view, 3>{u"2019", u"5", u""},
                    std::array<std::u16string_view, 3>{u"", u"5", u"1"},
                    std::array<std::u16string_view, 3>{u"2019", u"", u"1"},
                    std::array<std::u16string_view, 3>{u"二〇一九", u"5", u"1"},
                    std::array<std::u16string_view, 3>{u"2019 ", u"5", u"1"},
                    std::array<std::u16string_view, 3>{u"2019", u"5", u"1a"},
                    std::array<std::u16string_view, 3>{u"2147483648", u"5", u"1"},
                    std::array<std::u16string_view, 3>{u"2019", u"-", u"1"}));

TEST(ScheduleClear, ResetsResultsAndKeepsSettings) {
    MemorialSchedule schedule = Computed(u"2019", u"1", u"31");
    const std::u16string renamed = u"三七日";
    schedule[2].Name = renamed;
    ClearSchedule(schedule);
    ExpectCleared(schedule);
    EXPECT_EQ(schedule[2].Name, renamed);
}

// ---- Whole schedules --------------------------------------------------------------------

struct ScheduleCase {
    std::u16string_view year, month, day;
    std::array<std::u16string_view, 9> months;
    std::array<std::u16string_view, 9> days;
    std::array<std::u16string_view, 9> labels; // empty: not checked here
};

class ScheduleDefaultTest : public testing::TestWithParam<ScheduleCase> {};

TEST_P(ScheduleDefaultTest, FillsAllNineRows) {
    const auto& c = GetParam();
    const MemorialSchedule schedule = Computed(c.year, c.month, c.day);
    for (std::size_t i = 0; i < 9; ++i) {
        EXPECT_EQ(schedule[i].Month, c.months[i]) << "row " << i + 1;
        EXPECT_EQ(schedule[i].Day, c.days[i]) << "row " << i + 1;
        if (!c.labels[i].empty()) {
            EXPECT_EQ(schedule[i].WeekdayText, c.labels[i]) << "row " << i + 1;
        }
    }
}

constexpr std::u16string_view kTue = u"（火曜日）";
constexpr std::u16string_view kThu = u"（木曜日）";

INSTANTIATE_TEST_SUITE_P(
    Deaths, ScheduleDefaultTest,
    testing::Values(ScheduleCase{u"2019",
                                 u"1",
                                 u"31",
                                 {u"2", u"2", u"2", u"2", u"2", u"3", u"3", u"3", u"5"},
                                 {u"5", u"12", u"19", u"26", u"28", u"5", u"12", u"19", u"9"},
                                 {kTue, kTue, kTue, kTue, kThu, kTue, kTue, kTue, kThu}},
                    ScheduleCase{u"2019",
                                 u"5",
                                 u"1",
                                 {u"5", u"5", u"5", u"5", u"6", u"6", u"6", u"6", u"8"},
                                 {u"6", u"13", u"20", u"27", u"1", u"3", u"10", u"17", u"7"},
                                 {}},
                    ScheduleCase{u"2019",
                                 u"12",
                                 u"31",
                                 {u"1", u"1", u"1", u"1", u"1", u"2", u"2", u"2", u"4"},
                                 {u"5", u"12", u"19", u"26", u"31", u"2", u"9", u"16", u"7"},
                                 {}},
                    // Fields as the user may type them: leading blanks, a sign, leading zeros.
                    ScheduleCase{u" 2019",
                                 u"+05",
                                 u"01",
                                 {u"5", u"5", u"5", u"5", u"6", u"6", u"6", u"6", u"8"},
                                 {u"6", u"13", u"20", u"27", u"1", u"3", u"10", u"17", u"7"},
                                 {}},
                    // Out-of-range fields go through the same normalisation: 2019-13-0 is
                    // 2019-12-31; the first monthly row keeps the day of 0 in January.
                    ScheduleCase{u"2019",
                                 u"13",
                                 u"0",
                                 {u"1", u"1", u"1", u"1", u"1", u"2", u"2", u"2", u"4"},
                                 {u"5", u"12", u"19", u"26", u"0", u"2", u"9", u"16", u"7"},
                                 {}}));

TEST(ScheduleDefault, LeapYearFirstMonthly) {
    const MemorialSchedule schedule = Computed(u"2020", u"1", u"30");
    EXPECT_EQ(schedule[kFirstMonthlyRow].Month, u"2");
    EXPECT_EQ(schedule[kFirstMonthlyRow].Day, u"29");
    EXPECT_EQ(schedule[kFirstMonthlyRow].WeekdayText, u"（土曜日）");
}

// ---- The first monthly memorial -----------------------------------------------------------

struct FirstMonthlyCase {
    bool eve;
    std::u16string_view year, month, day;
    std::int64_t targetYear; // the year the weekday is taken from
    std::u16string_view expectedMonth, expectedDay;
};

class FirstMonthlyTest : public testing::TestWithParam<FirstMonthlyCase> {};

TEST_P(FirstMonthlyTest, FollowsTheSameDayRule) {
    const auto& c = GetParam();
    MemorialSchedule schedule = DefaultSchedule();
    schedule[kFirstMonthlyRow].Eve = c.eve;
    reference::MessageLog log;
    ComputeSchedule(c.year, c.month, c.day, schedule, &log);
    const MemorialDay& row = schedule[kFirstMonthlyRow];
    EXPECT_EQ(row.Month, c.expectedMonth);
    EXPECT_EQ(row.Day, c.expectedDay);
    const auto label = reference::WeekdayLabel(c.targetYear, *ParseInt(c.expectedMonth),
                                               std::stoll(ToUtf8(c.expectedDay)));
    EXPECT_EQ(row.WeekdayText, label.label);
    EXPECT_EQ(log.messages.size(), label.orderMessage ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Rule, FirstMonthlyTest,
    testing::Values(
        FirstMonthlyCase{false, u"2019", u"1", u"31", 2019, u"2", u"28"},
        FirstMonthlyCase{false, u"2019", u"3", u"31", 2019, u"4", u"30"},
        FirstMonthlyCase{true, u"2019", u"3", u"31", 2019, u"4", u"30"},
        FirstMonthlyCase{true, u"2019", u"5", u"1", 2019, u"5", u"31"},
        FirstMonthlyCase{true, u"2020", u"3", u"1", 2020, u"3", u"31"},
        FirstMonthlyCase{true, u"2019", u"2", u"1", 2019, u"2", u"28"},
        FirstMonthlyCase{true, u"2019", u"12", u"1", 2019, u"12", u"31"},
        FirstMonthlyCase{true, u"2019", u"1", u"30", 2019, u"2", u"28"},
        FirstMonthlyCase{true, u"2020", u"1", u"30", 2020, u"2", u"29"},
        FirstMonthlyCase{true, u"2019", u"5", u"15", 2019, u"6", u"14"},
        FirstMonthlyCase{false, u"2019", u"12", u"15", 2020, u"1", u"15"},
        FirstMonthlyCase{true, u"2019", u"12", u"31", 2020, u"1", u"30"},
        FirstMonthlyCase{false, u"2019", u"13", u"5", 2020, u"1", u"5"},
        FirstMonthlyCase{false, u"2019", u"2147483647", u"5", 2020, u"1", u"5"},
        // Months below 1 are not corrected: the following month has no days.
        FirstMonthlyCase{false, u"2019", u"-5", u"10", 2019, u"-4", u"0"},
        FirstMonthlyCase{true, u"2019", u"0", u"1", 2019, u"0", u"0"},
        FirstMonthlyCase{false, u"2019", u"2", u"-3", 2019, u"3", u"-3"},
        // The day before INT32_MIN is written out, not wrapped.
        FirstMonthlyCase{true, u"2019", u"5", u"-2147483648", 2019, u"6", u"-2147483649"},
        FirstMonthlyCase{false, u"-2147483648", u"12", u"2147483647", -2147483647, u"1", u"31"},
        // A 1582 target before January 1 by its fields is no date either.
        FirstMonthlyCase{false, u"1582", u"-1", u"5", 1582, u"0", u"0"},
        FirstMonthlyCase{true, u"1582", u"0", u"1", 1582, u"0", u"0"}));

TEST(ScheduleMessages, AnImpossibleTargetHasNoWeekdayAndNoMessage) {
    reference::MessageLog log;
    MemorialSchedule schedule = DefaultSchedule();
    ComputeSchedule(u"1582", u"-1", u"5", schedule, &log);
    EXPECT_TRUE(log.messages.empty());
    EXPECT_EQ(schedule[kFirstMonthlyRow].WeekdayText, u"（日付なし）");
    EXPECT_EQ(schedule[0].Month, u"1"); // the other rows normalise to January 1582
    EXPECT_EQ(schedule[0].Day, u"10");
    ComputeSchedule(u"1582", u"-1", u"5", schedule, nullptr);
    EXPECT_EQ(schedule[kFirstMonthlyRow].WeekdayText, u"（日付なし）");
}

// ---- A row edited by hand -------------------------------------------------------------

struct EditedRowCase {
    const char* name;
    std::u16string_view year, month, day, rowMonth, rowDay;
    std::u16string_view label;
};

class EditedRowTest : public testing::TestWithParam<EditedRowCase> {};

TEST_P(EditedRowTest, LabelFollowsTheEditedDate) {
    const auto& c = GetParam();
    EXPECT_EQ(EditedRowWeekday(c.year, c.month, c.day, c.rowMonth, c.rowDay), c.label);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EditedRowTest,
    testing::Values(
        // 2023-06-23 is a Friday; edited to 6/25, a Sunday.
        EditedRowCase{"LaterDaySameYear", u"2023", u"5", u"1", u"6", u"25", u"（日曜日）"},
        // Before the date of death: the next year's (2024-01-10, a Wednesday).
        EditedRowCase{"NextYear", u"2023", u"12", u"20", u"1", u"10", u"（水曜日）"},
        EditedRowCase{"TheDayOfDeathItself", u"2023", u"5", u"1", u"5", u"1", u"（月曜日）"},
        // A 29 February waits for a leap year: 2024-02-29, a Thursday.
        EditedRowCase{"LeapDay", u"2022", u"3", u"1", u"2", u"29", u"（木曜日）"},
        EditedRowCase{"NoSuchDay", u"2023", u"5", u"1", u"2", u"30", u"（日付なし）"},
        EditedRowCase{"Month13", u"2023", u"5", u"1", u"13", u"1", u"（日付なし）"},
        EditedRowCase{"RowNotANumber", u"2023", u"5", u"1", u"6", u"x", u"（　曜日）"},
        EditedRowCase{"NoDateOfDeath", u"", u"5", u"1", u"6", u"25", u"（　曜日）"},
        EditedRowCase{"DeathDateThatIsNoDate", u"2023", u"2", u"31", u"3", u"5", u"（　曜日）"}),
    [](const auto& row) { return std::string(row.param.name); });

// ---- Rows by offset -----------------------------------------------------------------------

TEST(ScheduleOffsets, EveryOffsetRowAgreesWithTheMonthByMonthWalk) {
    std::mt19937_64 random(4949);
    std::uniform_int_distribution<std::int32_t> year(-900, 2600);
    std::uniform_int_distribution<std::int32_t> month(-3, 15);
    std::uniform_int_distribution<std::int32_t> day(-40, 70);
    std::uniform_int_distribution<std::int32_t> offset(-400, 400);
    MemorialSchedule schedule = DefaultSchedule();
    for (int i = 0; i < 3000; ++i) {
        for (MemorialDay& row : schedule) {
            row.Offset = offset(random);
            row.Eve = (random() & 1) != 0;
        }
        const std::int32_t y = year(random);
        // A month below 1 with no day left is read as January (the walk would not end).
        const std::int32_t m = month(random);
        const std::int32_t d = day(random);
        ComputeSchedule(DecimalText(y), DecimalText(m), DecimalText(d), schedule);
        for (std::size_t r = 0; r < schedule.size(); ++r) {
            if (r == kFirstMonthlyRow)
                continue;
            const std::int64_t n = schedule[r].Offset - (schedule[r].Eve ? 1 : 0);
            const std::int32_t walkMonth = (m <= 0 && d + n <= 0) ? 1 : m;
            const auto walked = reference::AddDays(y, walkMonth, d, n);
            ASSERT_TRUE(walked.has_value());
            ASSERT_EQ(schedule[r].Month, DecimalText(walked->month)) << y << '-' << m << '-' << d;
            ASSERT_EQ(schedule[r].Day, DecimalText(walked->day)) << y << '-' << m << '-' << d;
            ASSERT_EQ(schedule[r].WeekdayText,
                      reference::WeekdayLabel(walked->year, walked->month, walked->day).label);
        }
    }
}

TEST(ScheduleOffsets, WeekdaysFollowFromTheEveFlags) {
    // Default offsets are 7k - 1 (and 99 = 14 * 7 + 1): without eve the seven-day rows fall
    // one weekday before the death and row 9 one after; with eve one further back each.
    for (const bool eve : {false, true}) {
        MemorialSchedule schedule = DefaultSchedule();
        for (MemorialDay& row : schedule)
            row.Eve = eve && (&row != &schedule[kFirstMonthlyRow]);
        CalendarDate death{1990, 1, 1};
        for (int i = 0; i < 800; ++i, death = AddDays(death, 11)) {
            ComputeSchedule(DecimalText(death.year), DecimalText(death.month),
                            DecimalText(death.day), schedule);
            const int deathDay = LabelIndex(WeekdayLabel(death));
            ASSERT_GE(deathDay, 0);
            for (std::size_t r = 0; r < schedule.size(); ++r) {
                if (r == kFirstMonthlyRow)
                    continue;
                const int shift = (r == 8 ? 1 : -1) - (eve ? 1 : 0);
                ASSERT_EQ(LabelIndex(schedule[r].WeekdayText), (deathDay + shift + 7) % 7)
                    << "row " << r + 1;
            }
        }
    }
}

TEST(ScheduleOffsets, ExtremeFieldsAndOffsetsGiveDefinedRows) {
    const std::vector<std::u16string> values = {u"-2147483648", u"-1", u"0",    u"1",
                                                u"12",          u"13", u"1582", u"2147483647"};
    MemorialSchedule schedule = DefaultSchedule();
    schedule[0].Offset = INT32_MIN;
    schedule[1].Offset = INT32_MAX;
    schedule[2].Offset = INT32_MIN;
    schedule[2].Eve = false;
    for (const auto& y : values)
        for (const auto& m : values)
            for (const auto& d : values) {
                ComputeSchedule(y, m, d, schedule);
                for (std::size_t r = 0; r < schedule.size(); ++r) {
                    if (r == kFirstMonthlyRow)
                        continue;
                    const std::int64_t n =
                        std::int64_t{schedule[r].Offset} - (schedule[r].Eve ? 1 : 0);
                    const CalendarDate target =
                        AddDays({*ParseInt(y), *ParseInt(m), *ParseInt(d)}, n);
                    ASSERT_EQ(schedule[r].Month, DecimalText(target.month));
                    ASSERT_EQ(schedule[r].Day, DecimalText(target.day));
                    ASSERT_GE(target.month, 1);
                    ASSERT_LE(target.month, 12);
                }
            }
}

} // namespace
} // namespace ulvan
