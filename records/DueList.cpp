#include "records/DueList.h"

#include "annual/Nenkai.h"
#include "calendar/Era.h"
#include "calendar/TextUtil.h"

#include <algorithm>
#include <tuple>

namespace ulvan {
namespace {

constexpr std::u16string_view kNoEra = u"－－";

bool IsBlankLine(std::u16string_view line) {
    return std::all_of(line.begin(), line.end(),
                       [](char16_t c) { return c <= u' ' || c == u'\u3000'; });
}

// The item whose memorial falls `yearsAfter` years after the year of death.
std::optional<std::size_t> ItemAfter(std::int64_t yearsAfter) {
    const auto items = NenkaiItems();
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i].YearsAfter == yearsAfter)
            return i;
    }
    return std::nullopt;
}

// Month and day not given sort after the others.
std::int32_t SortKey(std::int32_t value, std::int32_t limit) {
    return value >= 1 && value <= limit ? value : limit + 1;
}

std::u16string EraOfFour(std::u16string_view four) {
    if (four.size() < 4)
        return {};
    const std::u16string_view name = four.substr(0, 2);
    std::u16string_view number = four.substr(2, 2);
    while (!number.empty() && number.front() == u' ')
        number.remove_prefix(1);
    if (name == kNoEra || name == u"　　" || number.empty() || number == u"--")
        return {};
    std::u16string text(name);
    text.append(number).append(u"年");
    return text;
}

std::u16string DateText(std::int64_t year, std::int32_t month, std::int32_t day) {
    std::u16string text = DecimalText(year) + u"年";
    if (month != 0) {
        text += DecimalText(month) + u"月";
        if (day != 0)
            text += DecimalText(day) + u"日";
    }
    return text;
}

std::u16string MonthDayText(std::int32_t month, std::int32_t day) {
    std::u16string text;
    if (month != 0) {
        text += DecimalText(month) + u"月";
        if (day != 0)
            text += DecimalText(day) + u"日";
    }
    return text;
}

} // namespace

std::optional<std::int64_t> RecordDeathYear(const DeceasedRecord& record) {
    if (const std::optional<std::int32_t> western = ParseInt(record.KiNen))
        return *western;
    const std::optional<std::int32_t> eraYear = ParseInt(record.KiWanen);
    if (!eraYear || record.KiNengo.empty() || record.KiNengo == kNoEra)
        return std::nullopt;
    const std::vector<std::u16string> items = EraComboItems();
    const auto found = std::find(items.begin(), items.end(), record.KiNengo);
    if (found == items.end())
        return std::nullopt;
    return WesternYearOf(static_cast<std::int32_t>(found - items.begin()), *eraYear);
}

DueList BuildDueList(std::span<const std::u16string> lines, std::int32_t year, bool withNext) {
    DueList list;
    const std::int64_t first = year;
    const std::int64_t last = withNext ? first + 1 : first;
    for (std::size_t line = 0; line < lines.size(); ++line) {
        if (IsBlankLine(lines[line]))
            continue;
        ++list.Read;
        DeceasedRecord record = ReadRecordLine(lines[line]);
        const std::optional<std::int64_t> deathYear = RecordDeathYear(record);
        if (!deathYear) {
            list.Undated.push_back({line, std::move(record)});
            continue;
        }
        const std::int32_t month = ParseIntOr(record.KiGatsu, 0);
        const std::int32_t day = ParseIntOr(record.KiNichi, 0);
        for (std::int64_t target = first; target <= last; ++target) {
            // Both years lie within ±2^33: the difference cannot overflow.
            if (const auto item = ItemAfter(target - *deathYear))
                list.Due.push_back({line, record, *deathYear, month, day, *item, target});
        }
    }
    const auto key = [](const DueEntry& e) {
        return std::tie(e.Year, e.Month, e.Day, e.Record.Yomi, e.Record.Kaimyo, e.Record.Zokumyo,
                        e.Line);
    };
    std::sort(list.Due.begin(), list.Due.end(), [&](const DueEntry& a, const DueEntry& b) {
        const auto ka = std::make_tuple(a.Year, SortKey(a.Month, 12), SortKey(a.Day, 31));
        const auto kb = std::make_tuple(b.Year, SortKey(b.Month, 12), SortKey(b.Day, 31));
        if (ka != kb)
            return ka < kb;
        return key(a) < key(b);
    });
    return list;
}

const DueRow& DueHeader() {
    static const DueRow header{u"回忌", u"法要の年",     u"法要の年（和暦）", u"戒名", u"読み",
                               u"俗名", u"命日（和暦）", u"命日（西暦）",     u"行年"};
    return header;
}

std::u16string EraYearText(std::int64_t year, std::int32_t month, std::int32_t day) {
    const std::u16string wareki = WarekiOf(year, month, day);
    std::u16string text = EraOfFour(wareki);
    if (wareki.size() >= 8) {
        const std::u16string later = EraOfFour(std::u16string_view(wareki).substr(4, 4));
        if (!later.empty())
            text.append(u"/").append(later);
    }
    return text;
}

DueRow DueRowOf(const DueEntry& entry) {
    DueRow row;
    row[kDueMemorial] = NenkaiItems()[entry.Item].Name;
    row[kDueYear] = DecimalText(entry.Year);
    row[kDueEraYear] = EraYearText(entry.Year, entry.Month, entry.Day);
    row[kDueKaimyo] = entry.Record.Kaimyo;
    row[kDueYomi] = entry.Record.Yomi;
    row[kDueZokumyo] = entry.Record.Zokumyo;
    const std::u16string era = EraYearText(entry.DeathYear, entry.Month, entry.Day);
    row[kDueDeathWareki] =
        era.empty() ? std::u16string() : era + MonthDayText(entry.Month, entry.Day);
    row[kDueDeathDate] = DateText(entry.DeathYear, entry.Month, entry.Day);
    row[kDueAge] = entry.Record.GyoNen;
    return row;
}

DueRow UndatedRowOf(const UndatedEntry& entry) {
    DueRow row;
    row[kDueMemorial] = kUndatedLabel;
    row[kDueKaimyo] = entry.Record.Kaimyo;
    row[kDueYomi] = entry.Record.Yomi;
    row[kDueZokumyo] = entry.Record.Zokumyo;
    // The texts as the record holds them, so the clerk sees what did not read.
    std::u16string era = entry.Record.KiNengo == kNoEra ? u"" : entry.Record.KiNengo;
    era += entry.Record.KiWanen;
    row[kDueDeathWareki] = era;
    row[kDueDeathDate] = entry.Record.KiNen;
    if (!entry.Record.KiGatsu.empty() || !entry.Record.KiNichi.empty()) {
        const std::u16string monthDay = entry.Record.KiGatsu + u"月" + entry.Record.KiNichi + u"日";
        row[kDueDeathDate] += (row[kDueDeathDate].empty() ? u"" : u"年") + monthDay;
    }
    row[kDueAge] = entry.Record.GyoNen;
    return row;
}

std::u16string DueCsvText(const DueList& list) {
    std::u16string text;
    const auto add = [&text](const DueRow& row) {
        text += SpreadsheetCsvLine(row);
        text += u"\r\n";
    };
    add(DueHeader());
    for (const DueEntry& entry : list.Due)
        add(DueRowOf(entry));
    for (const UndatedEntry& entry : list.Undated)
        add(UndatedRowOf(entry));
    return text;
}

std::u16string DueCountText(const DueList& list) {
    return u"読み込み " + DecimalText(static_cast<std::int64_t>(list.Read)) + u"件　該当 " +
           DecimalText(static_cast<std::int64_t>(list.Due.size())) + u"件　没年不明 " +
           DecimalText(static_cast<std::int64_t>(list.Undated.size())) + u"件";
}

} // namespace ulvan
