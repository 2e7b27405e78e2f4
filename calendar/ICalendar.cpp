#include "calendar/ICalendar.h"

#include "annual/Nenkai.h"
#include "calendar/DateCalc.h"
#include "calendar/TextUtil.h"

#include <algorithm>
#include <cstdio>
#include <tuple>

namespace ulvan {
namespace {

constexpr std::size_t kFoldOctets = 75;
constexpr std::int32_t kLastYearOfDate = 9999;     // a DATE value has four digits of year
constexpr std::int32_t kLastAnnualYearsAfter = 49; // 五十回忌

bool IsDate(std::int64_t year, std::int64_t month, std::int64_t day) {
    return year >= 1 && year <= kLastYearOfDate && month >= 1 && month <= 12 && day >= 1 &&
           day <= MonthDays(year, static_cast<std::int32_t>(month));
}

std::string DateValue(std::int64_t year, std::int32_t month, std::int32_t day) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%04d%02d%02d", static_cast<int>(year), month, day);
    return buffer;
}

// A stable 64-bit digest (FNV-1a) of the name, in hex: the UID must not change between runs.
std::string Digest(std::u16string_view text) {
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (const char byte : ToUtf8(text)) {
        hash ^= static_cast<unsigned char>(byte);
        hash *= 0x100000001b3ull;
    }
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "%016llx", static_cast<unsigned long long>(hash));
    return buffer;
}

std::string MakeUid(std::int64_t year, std::int32_t month, std::int32_t day,
                    std::u16string_view name, std::string_view row) {
    return DateValue(year, month, day) + "-" + Digest(name) + "-" + std::string(row) +
           "@ulvan.memorial";
}

std::u16string Title(std::u16string_view memorial, std::u16string_view zokumyo) {
    std::u16string title(memorial);
    if (!zokumyo.empty())
        title.append(u"（").append(zokumyo).append(u"）");
    return title;
}

std::string StampValue(const UtcStamp& s) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d%02d%02dT%02d%02d%02dZ", std::clamp(s.Year, 0, 9999),
                  std::clamp(s.Month, 1, 12), std::clamp(s.Day, 1, 31), std::clamp(s.Hour, 0, 23),
                  std::clamp(s.Minute, 0, 59), std::clamp(s.Second, 0, 60));
    return buffer;
}

void AddLine(std::string& out, std::string_view line) {
    out += FoldCalendarLine(line);
}

} // namespace

std::string EscapeCalendarText(std::u16string_view text) {
    std::string out;
    const std::string utf8 = ToUtf8(text);
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const char c = utf8[i];
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case ';':
            out += "\\;";
            break;
        case ',':
            out += "\\,";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            if (i + 1 >= utf8.size() || utf8[i + 1] != '\n')
                out += "\\n";
            break;
        default:
            if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F)
                out += c;
        }
    }
    return out;
}

std::string FoldCalendarLine(std::string_view line) {
    std::string out;
    std::size_t used = 0; // octets on the current physical line
    std::size_t i = 0;
    while (i < line.size()) {
        // The whole UTF-8 sequence starting here (continuation bytes follow the lead byte).
        std::size_t length = 1;
        while (i + length < line.size() &&
               (static_cast<unsigned char>(line[i + length]) & 0xC0) == 0x80)
            ++length;
        if (used + length > kFoldOctets) {
            out += "\r\n ";
            used = 1;
        }
        out.append(line.substr(i, length));
        used += length;
        i += length;
    }
    out += "\r\n";
    return out;
}

std::vector<std::string> UnfoldCalendarLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find("\r\n", start);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view physical = text.substr(start, end - start);
        if (!physical.empty() && (physical.front() == ' ' || physical.front() == '\t') &&
            !lines.empty())
            lines.back().append(physical.substr(1));
        else
            lines.emplace_back(physical);
        start = end + 2;
    }
    return lines;
}

std::map<std::string, CalendarRequest::Earlier, std::less<>>
ReadEarlierEvents(std::string_view text) {
    std::map<std::string, CalendarRequest::Earlier, std::less<>> events;
    std::string uid;
    CalendarRequest::Earlier event;
    bool inside = false;
    for (const std::string& line : UnfoldCalendarLines(text)) {
        if (line == "BEGIN:VEVENT") {
            inside = true;
            uid.clear();
            event = {};
        } else if (line == "END:VEVENT") {
            if (inside && !uid.empty())
                events[uid] = event;
            inside = false;
        } else if (inside && line.starts_with("UID:")) {
            uid = line.substr(4);
        } else if (inside && line.starts_with("SEQUENCE:")) {
            const auto value = ParseInt(FromUtf8(std::string_view(line).substr(9)));
            event.Sequence = value && *value >= 0 ? *value : 0;
        } else if (inside && line.starts_with("DTSTART;VALUE=DATE:")) {
            event.Start = line.substr(19);
        }
    }
    return events;
}

CalendarResult BuildMemorialCalendar(const CalendarRequest& request) {
    CalendarResult result;
    const auto year = ParseInt(request.Year);
    const auto month = ParseInt(request.Month);
    const auto day = ParseInt(request.Day);
    if (!year || !month || !day || !IsDate(*year, *month, *day))
        return result;
    const CalendarDate death{*year, *month, *day};

    // What each row gives by its offset; a row showing another month or day was edited.
    const std::array<WideDate, 9> computed = ScheduleDates(*year, *month, *day, request.Schedule);
    for (std::size_t i = 0; i < request.Schedule.size(); ++i) {
        const MemorialDay& row = request.Schedule[i];
        const WideDate& date = computed[i];
        CalendarEvent event;
        // The date of death is a real date, so every row's month and day fit 32 bits.
        const bool edited = ParseInt(row.Month) != static_cast<std::int32_t>(date.Month) ||
                            ParseInt(row.Day) != static_cast<std::int32_t>(date.Day);
        if (edited) {
            const auto shown = FirstDateOnOrAfter(death, ParseIntOr(row.Month, 0),
                                                  ParseIntOr(row.Day, 0), kLastYearOfDate);
            if (!shown) {
                result.Skipped.push_back(row.Name + u"：" + row.Month + u"月" + row.Day +
                                         u"日は日付になりません。");
                continue;
            }
            event.Year = shown->year;
            event.Month = shown->month;
            event.Day = shown->day;
            event.Description = std::u16string(kEditedNote);
        } else {
            if (!IsDate(date.Year, date.Month, date.Day)) {
                result.Skipped.push_back(row.Name + u"：日付が暦の範囲を外れます。");
                continue;
            }
            event.Year = date.Year;
            event.Month = static_cast<std::int32_t>(date.Month);
            event.Day = static_cast<std::int32_t>(date.Day);
        }
        event.Summary = Title(row.Name, request.Zokumyo);
        event.Uid = MakeUid(*year, *month, *day, request.Zokumyo, "row" + std::to_string(i + 1));
        result.Events.push_back(std::move(event));
    }
    if (request.Annual) {
        for (const NenkaiItemInfo& item : NenkaiItems()) {
            if (item.YearsAfter > kLastAnnualYearsAfter)
                break;
            const std::int64_t target = std::int64_t{*year} + item.YearsAfter;
            if (target > kLastYearOfDate)
                break;
            CalendarEvent event;
            event.Year = target;
            event.Month = *month;
            event.Day = *day;
            if (*month == 2 && *day == 29 && MonthDays(target, 2) == 28) {
                event.Day = 28;
                event.Description = std::u16string(kLeapDayNote);
            }
            event.Summary = Title(item.Name, request.Zokumyo);
            event.Uid = MakeUid(*year, *month, *day, request.Zokumyo,
                                "annual" + std::to_string(item.YearsAfter + 1));
            result.Events.push_back(std::move(event));
        }
    }

    const std::string stamp = StampValue(request.Stamp);
    std::string& out = result.Text;
    AddLine(out, "BEGIN:VCALENDAR");
    AddLine(out, "VERSION:2.0");
    AddLine(out, "PRODID:-//Ulvan//Ulvan memorial days//JA");
    AddLine(out, "CALSCALE:GREGORIAN");
    AddLine(out, "METHOD:PUBLISH");
    for (CalendarEvent& event : result.Events) {
        const std::string start = DateValue(event.Year, event.Month, event.Day);
        if (const auto earlier = request.EarlierEvents.find(event.Uid);
            earlier != request.EarlierEvents.end()) {
            event.Sequence = earlier->second.Sequence;
            if (earlier->second.Start != start && event.Sequence < INT32_MAX)
                ++event.Sequence;
        }
        const CalendarDate next = AddDays({event.Year, event.Month, event.Day}, 1);
        AddLine(out, "BEGIN:VEVENT");
        AddLine(out, "UID:" + event.Uid);
        AddLine(out, "DTSTAMP:" + stamp);
        AddLine(out, "SEQUENCE:" + std::to_string(event.Sequence));
        AddLine(out, "DTSTART;VALUE=DATE:" + start);
        if (next.year <= kLastYearOfDate)
            AddLine(out, "DTEND;VALUE=DATE:" + DateValue(next.year, next.month, next.day));
        AddLine(out, "SUMMARY:" + EscapeCalendarText(event.Summary));
        if (!event.Description.empty())
            AddLine(out, "DESCRIPTION:" + EscapeCalendarText(event.Description));
        AddLine(out, "TRANSP:TRANSPARENT");
        AddLine(out, "END:VEVENT");
    }
    AddLine(out, "END:VCALENDAR");
    result.Result = CalendarResult::Status::Written;
    return result;
}

} // namespace ulvan
