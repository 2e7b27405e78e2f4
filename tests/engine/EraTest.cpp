#include "calendar/Era.h"

#include "calendar/TextUtil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <set>
#include <tuple>
#include <vector>

namespace ulvan {
namespace {

// ---- The table ---------------------------------------------------------------------------

TEST(NengoTable, HoldsSixtyEightTenCharacterEntriesInYearOrder) {
    const auto list = NengoList();
    ASSERT_EQ(list.size(), 68u);
    EXPECT_EQ(list.front(), u"00010000－－");
    EXPECT_EQ(list.back(), u"20190501令和");
    std::int32_t previousYear = 0;
    for (const auto entry : list) {
        ASSERT_EQ(entry.size(), 10u) << ToUtf8(entry);
        const auto year = ParseInt(entry.substr(0, 4));
        ASSERT_TRUE(year && ParseInt(entry.substr(4, 2)) && ParseInt(entry.substr(6, 2)));
        EXPECT_GT(*year, previousYear) << ToUtf8(entry);
        previousYear = *year;
    }
}

TEST(NengoTable, KeepsTheTraditionalCharacterForms) {
    const auto list = NengoList();
    for (const std::u16string_view entry :
         {u"13940705應永", u"14490728寳徳", u"14570928長祿", u"15010229文龜", u"15040230永正",
          u"15700423元龜", u"16240230寛永", u"16580723萬治", u"16730921延寳", u"16880930元祿",
          u"17040313寶永", u"17511027寶暦", u"18600318萬延", u"18650407慶應", u"18680908明治",
          u"19120730大正", u"19261225昭和", u"19890108平成"})
        EXPECT_NE(std::find(list.begin(), list.end(), entry), list.end()) << ToUtf8(entry);
}

TEST(NengoTable, ComboItemsAreTheNamesNewestFirst) {
    const auto list = NengoList();
    const auto items = EraComboItems();
    ASSERT_EQ(items.size(), list.size());
    EXPECT_EQ(items.front(), u"令和");
    EXPECT_EQ(items.back(), u"－－");
    for (std::size_t k = 0; k < items.size(); ++k)
        EXPECT_EQ(items[k], list[list.size() - 1 - k].substr(8));
    // Selecting by name must find one item only.
    EXPECT_EQ(std::set<std::u16string>(items.begin(), items.end()).size(), items.size());
}

// ---- WarekiOf without asking ---------------------------------------------------------------

struct WarekiCase {
    std::int64_t year;
    std::int32_t month;
    std::int32_t day;
    std::u16string expected;
};

class WarekiOfTest : public testing::TestWithParam<WarekiCase> {};

TEST_P(WarekiOfTest, ConvertsWithoutAsking) {
    const auto& c = GetParam();
    EXPECT_EQ(WarekiOf(c.year, c.month, c.day), c.expected);
    // An asker that must not be needed changes nothing for decided dates; undecided ones
    // are covered below.
    if (c.expected.size() != 8) {
        int asked = 0;
        const AskEraTransition ask = [&asked](std::size_t) {
            ++asked;
            return EraChoice::None;
        };
        EXPECT_EQ(WarekiOf(c.year, c.month, c.day, &ask), c.expected);
        EXPECT_EQ(asked, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Dates, WarekiOfTest,
    testing::Values(WarekiCase{0, 0, 0, u"－－--"}, WarekiCase{1, 0, 0, u"－－ 1"},
                    WarekiCase{2, 0, 0, u"－－ 2"}, WarekiCase{9, 5, 5, u"－－ 9"},
                    WarekiCase{10, 0, 0, u"－－10"}, WarekiCase{42, 0, 0, u"－－42"},
                    WarekiCase{99, 0, 0, u"－－99"}, WarekiCase{100, 0, 0, u"－－  "},
                    WarekiCase{1000, 0, 0, u"－－  "}, WarekiCase{1393, 12, 31, u"－－  "},
                    WarekiCase{1394, 6, 30, u"－－  "}, WarekiCase{1394, 7, 4, u"－－  "},
                    WarekiCase{1394, 7, 5, u"應永 1"}, WarekiCase{1394, 0, 0, u"－－  應永 1"},
                    WarekiCase{1394, 7, 0, u"－－  應永 1"}, WarekiCase{1504, 2, 29, u"文龜 4"},
                    WarekiCase{1504, 2, 30, u"永正 1"},
                    // 慶長 from 文祿5年10月27日, the table's own calendar
                    WarekiCase{1596, 10, 26, u"文祿 5"}, WarekiCase{1596, 10, 27, u"慶長 1"},
                    WarekiCase{1596, 11, 1, u"慶長 1"}, WarekiCase{1596, 11, 26, u"慶長 1"},
                    WarekiCase{1868, 9, 7, u"慶應 4"}, WarekiCase{1868, 9, 8, u"明治 1"},
                    WarekiCase{1868, 0, 0, u"慶應 4明治 1"}, WarekiCase{1911, 1, 1, u"明治44"},
                    WarekiCase{1912, 7, 29, u"明治45"}, WarekiCase{1912, 7, 30, u"大正 1"},
                    WarekiCase{1912, 0, 0, u"明治45大正 1"}, WarekiCase{1926, 12, 24, u"大正15"},
                    WarekiCase{1926, 12, 25, u"昭和 1"}, WarekiCase{1926, 0, 0, u"大正15昭和 1"},
                    WarekiCase{1989, 1, 7, u"昭和64"}, WarekiCase{1989, 1, 8, u"平成 1"},
                    WarekiCase{1989, 1, 0, u"昭和64平成 1"}, WarekiCase{1989, 2, 0, u"平成 1"},
                    WarekiCase{1990, 0, 0, u"平成 2"}, WarekiCase{2019, 4, 30, u"平成31"},
                    WarekiCase{2019, 5, 1, u"令和 1"}, WarekiCase{2019, 0, 0, u"平成31令和 1"},
                    WarekiCase{2019, 5, 0, u"平成31令和 1"}, WarekiCase{2019, 6, 0, u"令和 1"},
                    WarekiCase{2019, -3, 5, u"平成31"}, WarekiCase{2019, 13, -3, u"令和 1"},
                    WarekiCase{2019, 5, INT32_MIN, u"平成31"},
                    WarekiCase{2019, 5, INT32_MAX, u"令和 1"},
                    WarekiCase{2019, INT32_MIN, 0, u"平成31"}, WarekiCase{2020, 1, 1, u"令和 2"},
                    WarekiCase{2028, 1, 1, u"令和10"}, WarekiCase{2117, 1, 1, u"令和99"},
                    WarekiCase{2118, 1, 1, u"　　  "}, WarekiCase{INT32_MAX, 1, 1, u"　　  "},
                    WarekiCase{INT64_MAX, 0, 0, u"　　  "},
                    WarekiCase{std::int64_t{INT32_MAX} + 499, 12, 31, u"　　  "},
                    WarekiCase{-5, 1, 1, u""}, WarekiCase{-1, 0, 0, u""},
                    WarekiCase{INT32_MIN, 0, 0, u""}, WarekiCase{INT64_MIN, 0, 0, u""}));

// The era of a decided date is the last entry that starts on or before it, comparing year,
// month and day as numbers; its year counts from 1 in the starting year.
std::u16string ExpectedEra(std::int64_t year, std::int32_t month, std::int32_t day) {
    const auto list = NengoList();
    using Start = std::tuple<std::int64_t, std::int32_t, std::int32_t>;
    static const std::vector<Start> starts = [&list] {
        std::vector<Start> result;
        for (const auto entry : list)
            result.emplace_back(*ParseInt(entry.substr(0, 4)), *ParseInt(entry.substr(4, 2)),
                                *ParseInt(entry.substr(6, 2)));
        return result;
    }();
    std::size_t found = 0;
    for (std::size_t i = 0; i < starts.size(); ++i)
        if (starts[i] <= Start(year, month, day))
            found = i;
    const std::int64_t eraYear = year - std::get<0>(starts[found]) + 1;
    std::u16string text(list[found].substr(8));
    if (found + 1 == list.size() && eraYear >= 100)
        return u"　　  ";
    if (eraYear >= 100)
        return text + u"  ";
    std::u16string digits = DecimalText(eraYear);
    return text + (digits.size() == 1 ? u" " + digits : digits);
}

TEST(WarekiOfCalendar, AgreesWithTheLastEraStartedForEveryDecidedDate) {
    for (std::int64_t year = 2; year <= 2200; ++year)
        for (std::int32_t month = 1; month <= 12; ++month)
            for (std::int32_t day = 1; day <= 31; day += (year % 7 == 0 ? 1 : 5))
                ASSERT_EQ(WarekiOf(year, month, day), ExpectedEra(year, month, day))
                    << year << '-' << month << '-' << day;
}

TEST(WarekiOfCalendar, EraFieldsConvertBackToTheYear) {
    const auto items = EraComboItems();
    for (std::int64_t year = 2; year <= 2117; ++year) {
        const std::u16string wareki = WarekiOf(year, 12, 31);
        ASSERT_EQ(wareki.size(), 4u);
        const auto eraYear = ParseInt(std::u16string_view(wareki).substr(2));
        if (!eraYear)
            continue; // era year 100 or more is not shown
        const auto item = std::find(items.begin(), items.end(), wareki.substr(0, 2));
        ASSERT_NE(item, items.end());
        EXPECT_EQ(WesternYearOf(static_cast<std::int32_t>(item - items.begin()), *eraYear), year)
            << ToUtf8(wareki);
    }
}

// ---- WarekiOf asking ---------------------------------------------------------------------

struct AskCase {
    std::int64_t year;
    std::int32_t month;
    std::int32_t day;
    EraChoice choice;
    std::u16string expected;
    int askedIndex; // -1: must not ask
};

class WarekiAskTest : public testing::TestWithParam<AskCase> {};

TEST_P(WarekiAskTest, AsksOnlyWhenTheDateDoesNotDecide) {
    const auto& c = GetParam();
    std::vector<std::size_t> asked;
    const AskEraTransition ask = [&](std::size_t index) {
        asked.push_back(index);
        return c.choice;
    };
    EXPECT_EQ(WarekiOf(c.year, c.month, c.day, &ask), c.expected);
    if (c.askedIndex < 0) {
        EXPECT_TRUE(asked.empty());
    } else {
        ASSERT_EQ(asked.size(), 1u);
        EXPECT_EQ(asked[0], static_cast<std::size_t>(c.askedIndex));
    }
}

INSTANTIATE_TEST_SUITE_P(Choices, WarekiAskTest,
                         testing::Values(AskCase{2019, 0, 0, EraChoice::Ending, u"平成31", 67},
                                         AskCase{2019, 0, 0, EraChoice::New, u"令和 1", 67},
                                         AskCase{2019, 0, 0, EraChoice::None, u"", 67},
                                         AskCase{2019, 5, 0, EraChoice::New, u"令和 1", 67},
                                         AskCase{1868, 0, 0, EraChoice::Ending, u"慶應 4", 63},
                                         AskCase{1394, 0, 0, EraChoice::Ending, u"－－  ", 1},
                                         AskCase{1394, 7, 0, EraChoice::New, u"應永 1", 1},
                                         AskCase{1989, 1, 0, EraChoice::None, u"", 66},
                                         AskCase{2019, 5, 1, EraChoice::Ending, u"令和 1", -1},
                                         AskCase{2019, 4, 0, EraChoice::New, u"平成31", -1},
                                         AskCase{2020, 0, 0, EraChoice::Ending, u"令和 2", -1},
                                         AskCase{0, 0, 0, EraChoice::New, u"－－--", -1},
                                         AskCase{-3, 0, 0, EraChoice::New, u"", -1}));

TEST(WarekiAsk, AnEmptyAskerMeansNotAsking) {
    const AskEraTransition none;
    EXPECT_EQ(WarekiOf(2019, 0, 0, &none), u"平成31令和 1");
}

// ---- WesternYearOf -----------------------------------------------------------------------

struct WesternCase {
    std::int32_t comboIndex;
    std::int32_t eraYear;
    std::optional<std::int64_t> expected;
};

class WesternYearOfTest : public testing::TestWithParam<WesternCase> {};

TEST_P(WesternYearOfTest, CountsFromTheEraStart) {
    EXPECT_EQ(WesternYearOf(GetParam().comboIndex, GetParam().eraYear), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Items, WesternYearOfTest,
    testing::Values(WesternCase{0, 1, 2019}, WesternCase{0, 7, 2025}, WesternCase{1, 31, 2019},
                    WesternCase{1, 1, 1989}, WesternCase{3, 15, 1926}, WesternCase{4, 45, 1912},
                    WesternCase{67, 5, 5}, WesternCase{67, 1, 1}, WesternCase{67, 0, 0},
                    WesternCase{66, 1, 1394}, WesternCase{0, 0, 2018}, WesternCase{0, -5, 2013},
                    WesternCase{0, INT32_MAX, std::int64_t{2018} + INT32_MAX},
                    WesternCase{0, INT32_MIN, std::int64_t{2018} + INT32_MIN},
                    WesternCase{-1, 1, std::nullopt}, WesternCase{68, 1, std::nullopt},
                    WesternCase{INT32_MIN, 1, std::nullopt},
                    WesternCase{INT32_MAX, 1, std::nullopt}));

} // namespace
} // namespace ulvan
