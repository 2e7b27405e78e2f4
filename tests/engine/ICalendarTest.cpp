#include "calendar/ICalendar.h"

#include "annual/Nenkai.h"
#include "calendar/DateCalc.h"
#include "calendar/TextUtil.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace ulvan {
namespace {

// A strict reader of what was written: every physical line ends in CR LF and has at most 75
// octets, a continuation starts with one blank and never splits a UTF-8 sequence; the
// logical lines are NAME[;PARAMS]:VALUE; events nest in one calendar.
struct ParsedEvent {
    std::map<std::string, std::string> Props; // name with parameters → value
};

std::vector<ParsedEvent> ParseStrictly(const std::string& text) {
    std::vector<ParsedEvent> events;
    EXPECT_TRUE(text.ends_with("\r\n"));
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        EXPECT_NE(end, std::string::npos);
        if (end == std::string::npos)
            break;
        const std::string_view line(text.data() + start, end - start);
        EXPECT_EQ(line.find('\n'), std::string_view::npos);
        EXPECT_EQ(line.find('\r'), std::string_view::npos);
        EXPECT_LE(line.size(), 75u);
        if (line.size() > 1 && line.front() == ' ') {
            EXPECT_NE(static_cast<unsigned char>(line[1]) & 0xC0, 0x80) << "split sequence";
        }
        if (end + 2 < text.size() && text[end + 2] == ' ' && !line.empty()) {
            EXPECT_NE(static_cast<unsigned char>(line.back()) & 0xC0, 0xC0) << "lead byte cut";
        }
        start = end + 2;
    }
    const std::vector<std::string> lines = UnfoldCalendarLines(text);
    EXPECT_FALSE(lines.empty());
    EXPECT_EQ(lines.front(), "BEGIN:VCALENDAR");
    EXPECT_EQ(lines.back(), "END:VCALENDAR");
    bool inside = false;
    for (std::size_t i = 1; i + 1 < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (line == "BEGIN:VEVENT") {
            EXPECT_FALSE(inside);
            inside = true;
            events.emplace_back();
            continue;
        }
        if (line == "END:VEVENT") {
            EXPECT_TRUE(inside);
            inside = false;
            continue;
        }
        const std::size_t colon = line.find(':');
        EXPECT_NE(colon, std::string::npos) << line;
        if (inside && colon != std::string::npos)
            events.back().Props[line.substr(0, colon)] = line.substr(colon + 1);
    }
    EXPECT_FALSE(inside);
    for (const ParsedEvent& event : events) {
        for (const char* required : {"UID", "DTSTAMP", "DTSTART;VALUE=DATE", "SUMMARY"})
            EXPECT_EQ(event.Props.count(required), 1u) << required;
    }
    return events;
}

CalendarRequest Request(std::u16string year, std::u16string month, std::u16string day) {
    CalendarRequest request;
    request.Year = std::move(year);
    request.Month = std::move(month);
    request.Day = std::move(day);
    request.Zokumyo = u"青木一郎";
    request.Schedule = DefaultSchedule();
    ComputeSchedule(request.Year, request.Month, request.Day, request.Schedule);
    request.Stamp = {2026, 12, 10, 3, 4, 5};
    return request;
}

std::string DateOf(std::int64_t y, std::int64_t m, std::int64_t d) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%04d%02d%02d", static_cast<int>(y), static_cast<int>(m),
                  static_cast<int>(d));
    return buffer;
}

struct DeathCase {
    std::u16string y, m, d;
};

class CalendarDates : public ::testing::TestWithParam<DeathCase> {};

// Each event's date is the schedule's date of its row, year included.
TEST_P(CalendarDates, EventsAreTheScheduleDates) {
    const DeathCase& c = GetParam();
    const CalendarRequest request = Request(c.y, c.m, c.d);
    const CalendarResult result = BuildMemorialCalendar(request);
    ASSERT_EQ(result.Result, CalendarResult::Status::Written);
    const std::vector<ParsedEvent> events = ParseStrictly(result.Text);
    ASSERT_EQ(events.size(), 9u);
    const auto dates =
        ScheduleDates(*ParseInt(c.y), *ParseInt(c.m), *ParseInt(c.d), request.Schedule);
    for (std::size_t i = 0; i < 9; ++i) {
        EXPECT_EQ(events[i].Props.at("DTSTART;VALUE=DATE"),
                  DateOf(dates[i].Year, dates[i].Month, dates[i].Day));
        // The month and day agree with what the window shows.
        EXPECT_EQ(DecimalText(dates[i].Month), request.Schedule[i].Month);
        EXPECT_EQ(DecimalText(dates[i].Day), request.Schedule[i].Day);
        const CalendarDate next = AddDays({dates[i].Year, static_cast<std::int32_t>(dates[i].Month),
                                           static_cast<std::int32_t>(dates[i].Day)},
                                          1);
        EXPECT_EQ(events[i].Props.at("DTEND;VALUE=DATE"), DateOf(next.year, next.month, next.day));
        EXPECT_EQ(events[i].Props.at("SUMMARY"),
                  ToUtf8(request.Schedule[i].Name + u"（青木一郎）"));
        EXPECT_EQ(events[i].Props.at("DTSTAMP"), "20261210T030405Z");
    }
}

INSTANTIATE_TEST_SUITE_P(Deaths, CalendarDates,
                         ::testing::Values(DeathCase{u"2025", u"4", u"1"},
                                           DeathCase{u"2024", u"12", u"20"}, // into next year
                                           DeathCase{u"2024", u"2", u"29"},
                                           DeathCase{u"2023", u"12", u"31"},
                                           DeathCase{u"1", u"1", u"1"}));

TEST(ICalendar, MemorialDayInTheNextYear) {
    const CalendarResult result = BuildMemorialCalendar(Request(u"2024", u"12", u"20"));
    const std::vector<ParsedEvent> events = ParseStrictly(result.Text);
    ASSERT_EQ(events.size(), 9u);
    // 百箇日忌: +99 on the eve → 98 days after 20 December 2024.
    EXPECT_EQ(events[8].Props.at("DTSTART;VALUE=DATE"), "20250328");
    EXPECT_EQ(events[0].Props.at("DTSTART;VALUE=DATE"), "20241225");
}

TEST(ICalendar, NoEventsForADateThatIsNone) {
    for (const DeathCase& c :
         {DeathCase{u"2025", u"2", u"29"}, DeathCase{u"", u"1", u"1"},
          DeathCase{u"10000", u"1", u"1"}, DeathCase{u"0", u"1", u"1"},
          DeathCase{u"2025", u"13", u"1"}, DeathCase{u"2147483647", u"12", u"31"}}) {
        const CalendarResult result = BuildMemorialCalendar(Request(c.y, c.m, c.d));
        EXPECT_EQ(result.Result, CalendarResult::Status::NoDate);
        EXPECT_TRUE(result.Text.empty());
    }
}

TEST(ICalendar, HandEditedRowFallsOnOrAfterTheDeath) {
    CalendarRequest request = Request(u"2024", u"12", u"20");
    request.Schedule[1].Month = u"1";
    request.Schedule[1].Day = u"3"; // before 20 December: next year
    request.Schedule[2].Month = u"12";
    request.Schedule[2].Day = u"30"; // after it: the same year
    request.Schedule[3].Month = u"2";
    request.Schedule[3].Day = u"29"; // the next 29 February: 2028
    request.Schedule[5].Month = u"4";
    request.Schedule[5].Day = u"31"; // no such day
    const CalendarResult result = BuildMemorialCalendar(request);
    const std::vector<ParsedEvent> events = ParseStrictly(result.Text);
    ASSERT_EQ(events.size(), 8u);
    EXPECT_EQ(events[1].Props.at("DTSTART;VALUE=DATE"), "20250103");
    EXPECT_EQ(events[2].Props.at("DTSTART;VALUE=DATE"), "20241230");
    EXPECT_EQ(events[3].Props.at("DTSTART;VALUE=DATE"), "20280229");
    EXPECT_EQ(events[1].Props.at("DESCRIPTION"), ToUtf8(kEditedNote));
    EXPECT_EQ(events[0].Props.count("DESCRIPTION"), 0u);
    ASSERT_EQ(result.Skipped.size(), 1u);
    EXPECT_NE(result.Skipped[0].find(request.Schedule[5].Name), std::u16string::npos);
}

TEST(ICalendar, AnnualMemorialsUpToTheFiftieth) {
    CalendarRequest request = Request(u"2020", u"2", u"29");
    request.Annual = true;
    const CalendarResult result = BuildMemorialCalendar(request);
    const std::vector<ParsedEvent> events = ParseStrictly(result.Text);
    std::size_t annual = 0;
    for (const NenkaiItemInfo& item : NenkaiItems())
        annual += item.YearsAfter <= 49 ? 1 : 0;
    ASSERT_EQ(events.size(), 9u + annual);
    // 一周忌 2021: no 29 February, the 28th with a note; 十七回忌 2036 is a leap year.
    EXPECT_EQ(events[9].Props.at("DTSTART;VALUE=DATE"), "20210228");
    EXPECT_EQ(events[9].Props.at("SUMMARY"), ToUtf8(u"一周忌（青木一郎）"));
    EXPECT_EQ(events[9].Props.at("DESCRIPTION"), ToUtf8(kLeapDayNote));
    EXPECT_EQ(events[13].Props.at("SUMMARY"), ToUtf8(u"十七回忌（青木一郎）"));
    EXPECT_EQ(events[13].Props.at("DTSTART;VALUE=DATE"), "20360229");
    EXPECT_EQ(events[13].Props.count("DESCRIPTION"), 0u);
    EXPECT_EQ(events.back().Props.at("SUMMARY"), ToUtf8(u"五十回忌（青木一郎）"));
    EXPECT_EQ(events.back().Props.at("DTSTART;VALUE=DATE"), "20690228");
}

TEST(ICalendar, AnnualMemorialsStopAtYear9999) {
    CalendarRequest request = Request(u"9990", u"1", u"1");
    request.Annual = true;
    const std::vector<ParsedEvent> events = ParseStrictly(BuildMemorialCalendar(request).Text);
    ASSERT_EQ(events.size(), 9u + 3u); // 一周忌, 三回忌, 七回忌
}

std::vector<std::string> Uids(const CalendarResult& result) {
    std::vector<std::string> uids;
    for (const CalendarEvent& event : result.Events)
        uids.push_back(event.Uid);
    return uids;
}

TEST(ICalendar, UidsFollowDeathNameAndRow) {
    const CalendarResult first = BuildMemorialCalendar(Request(u"2025", u"4", u"1"));
    const std::vector<std::string> uids = Uids(first);
    // Unique within the file, and the same when written again.
    EXPECT_EQ(std::set<std::string>(uids.begin(), uids.end()).size(), uids.size());
    EXPECT_EQ(Uids(BuildMemorialCalendar(Request(u"2025", u"4", u"1"))), uids);
    CalendarRequest otherName = Request(u"2025", u"4", u"1");
    otherName.Zokumyo = u"青木二郎";
    CalendarRequest otherDeath = Request(u"2025", u"4", u"2");
    for (const CalendarRequest& other : {otherName, otherDeath}) {
        const std::vector<std::string> changed = Uids(BuildMemorialCalendar(other));
        for (std::size_t i = 0; i < uids.size(); ++i)
            EXPECT_NE(changed[i], uids[i]);
    }
}

TEST(ICalendar, CorrectedRowKeepsItsUidWithSequenceRaised) {
    const CalendarResult first = BuildMemorialCalendar(Request(u"2025", u"4", u"1"));
    CalendarRequest again = Request(u"2025", u"4", u"1");
    again.Schedule[0].Day = u"9";
    again.EarlierEvents = ReadEarlierEvents(first.Text);
    ASSERT_EQ(again.EarlierEvents.size(), 9u);
    const CalendarResult second = BuildMemorialCalendar(again);
    EXPECT_EQ(Uids(second), Uids(first));
    EXPECT_EQ(second.Events[0].Sequence, 1);
    EXPECT_EQ(second.Events[1].Sequence, 0);
    // Written a third time unchanged: the sequence stays.
    CalendarRequest third = again;
    third.EarlierEvents = ReadEarlierEvents(second.Text);
    const CalendarResult thirdResult = BuildMemorialCalendar(third);
    EXPECT_EQ(thirdResult.Events[0].Sequence, 1);
    EXPECT_NE(thirdResult.Text.find("SEQUENCE:1\r\n"), std::string::npos);
}

TEST(ICalendar, ReadEarlierEventsPassesOverOtherText) {
    EXPECT_TRUE(ReadEarlierEvents("").empty());
    EXPECT_TRUE(ReadEarlierEvents("\x00\xFF garbage\r\n\r\n").empty());
    const auto events = ReadEarlierEvents(
        "BEGIN:VEVENT\r\nUID:a\r\n b\r\nSEQUENCE:99999999999\r\nDTSTART;VALUE=DATE:20250101\r\n"
        "END:VEVENT\r\n");
    ASSERT_EQ(events.count("ab"), 1u);
    EXPECT_EQ(events.at("ab").Sequence, 0);
    EXPECT_EQ(events.at("ab").Start, "20250101");
}

struct EscapeCase {
    std::u16string in;
    std::string out;
};

class Escaping : public ::testing::TestWithParam<EscapeCase> {};

TEST_P(Escaping, TextValues) {
    EXPECT_EQ(EscapeCalendarText(GetParam().in), GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(Cases, Escaping,
                         ::testing::Values(EscapeCase{u"a,b;c\\d", "a\\,b\\;c\\\\d"},
                                           EscapeCase{u"a\nb\r\nc\rd", "a\\nb\\nc\\nd"},
                                           EscapeCase{u"a\tb\x01", "ab"},
                                           EscapeCase{u"初七日忌（青木）", "初七日忌（青木）"}));

TEST(ICalendar, FoldsLongJapaneseTitlesBetweenCharacters) {
    // 3-octet characters after a 8-octet "SUMMARY:" cannot end at octet 75 exactly, and a
    // 4-octet one (𠮷) follows, so a naive cut would split both.
    std::u16string title;
    for (int i = 0; i < 30; ++i)
        title += u"忌";
    title += u"𠮷𠮷𠮷";
    const std::string line = "SUMMARY:" + EscapeCalendarText(title);
    const std::string folded = FoldCalendarLine(line);
    std::size_t start = 0;
    std::size_t physical = 0;
    while (start < folded.size()) {
        const std::size_t end = folded.find("\r\n", start);
        ASSERT_NE(end, std::string::npos);
        const std::string_view part(folded.data() + start, end - start);
        EXPECT_LE(part.size(), 75u);
        // Each piece is valid UTF-8 on its own.
        const std::string_view text = physical == 0 ? part : part.substr(1);
        EXPECT_EQ(ToUtf8(FromUtf8(text)), text);
        start = end + 2;
        ++physical;
    }
    EXPECT_GE(physical, 2u);
    const std::vector<std::string> unfolded = UnfoldCalendarLines(folded);
    ASSERT_EQ(unfolded.size(), 1u);
    EXPECT_EQ(unfolded[0], line);
}

TEST(ICalendar, ShortLineIsNotFolded) {
    EXPECT_EQ(FoldCalendarLine("VERSION:2.0"), "VERSION:2.0\r\n");
    const std::string exact(75, 'x');
    EXPECT_EQ(FoldCalendarLine(exact), exact + "\r\n");
    EXPECT_EQ(FoldCalendarLine(exact + "y"), exact + "\r\n y\r\n");
}

TEST(ICalendar, NameWithSeparatorsIsEscapedInTheTitle) {
    CalendarRequest request = Request(u"2025", u"4", u"1");
    request.Zokumyo = u"青木,一郎;\n";
    const std::vector<ParsedEvent> events = ParseStrictly(BuildMemorialCalendar(request).Text);
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events[0].Props.at("SUMMARY"), ToUtf8(u"初七日忌（青木\\,一郎\\;\\n）"));
}

} // namespace
} // namespace ulvan
