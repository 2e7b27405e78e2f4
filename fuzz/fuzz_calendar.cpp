// Throws arbitrary integers and texts at every calendar routine. Besides the sanitizers'
// checks, each call's result must keep the routine's own promises (a normalised date, a
// known label, a four- or eight-character era text); a broken promise aborts.
#include "calendar/DateCalc.h"
#include "calendar/Era.h"
#include "calendar/Messages.h"
#include "calendar/Schedule.h"
#include "calendar/TextUtil.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

using namespace ulvan;

void Check(bool ok) {
    if (!ok)
        std::abort();
}

class CountingSink : public MessageSink {
public:
    void ShowMessage(std::u16string_view text) override {
        Check(text == kDateOrderMessage);
        ++messages;
    }
    void Beep(BeepKind) override { std::abort(); } // the calendar never beeps
    int messages = 0;
};

bool IsNormal(const CalendarDate& date) {
    return date.month >= 1 && date.month <= 12 && date.day >= 1 &&
           date.day <= MonthDays(date.year, date.month);
}

bool IsLabel(std::u16string_view label) {
    static constexpr std::array<std::u16string_view, 9> labels = {
        u"",           u"（　曜日）", u"（金曜日）", u"（土曜日）", u"（日曜日）",
        u"（月曜日）", u"（火曜日）", u"（水曜日）", u"（木曜日）"};
    for (const auto candidate : labels)
        if (label == candidate)
            return true;
    return false;
}

// Either digits that parse, often near the edges, or arbitrary UTF-16 text.
std::u16string FieldText(FuzzedDataProvider& data) {
    switch (data.ConsumeIntegralInRange<int>(0, 3)) {
    case 0:
        return DecimalText(data.ConsumeIntegral<std::int32_t>());
    case 1:
        return DecimalText(data.ConsumeIntegralInRange<std::int32_t>(-40, 2200));
    case 2: {
        std::u16string text;
        const auto length = data.ConsumeIntegralInRange<std::size_t>(0, 14);
        for (std::size_t i = 0; i < length; ++i)
            text += static_cast<char16_t>(data.PickValueInArray(
                {u'0', u'1', u'5', u'9', u'-', u'+', u' ', u'x', u'\u3000', u'\uFF11'}));
        return text;
    }
    default: {
        std::u16string text;
        const auto length = data.ConsumeIntegralInRange<std::size_t>(0, 24);
        for (std::size_t i = 0; i < length; ++i)
            text += static_cast<char16_t>(data.ConsumeIntegral<std::uint16_t>());
        return text;
    }
    }
}

CalendarDate AnyDate(FuzzedDataProvider& data) {
    const std::int64_t year = data.ConsumeBool() ? data.ConsumeIntegral<std::int32_t>()
                                                 : data.ConsumeIntegral<std::int64_t>();
    return {year, data.ConsumeIntegral<std::int32_t>(), data.ConsumeIntegral<std::int32_t>()};
}

void FuzzDates(FuzzedDataProvider& data) {
    const CalendarDate date = AnyDate(data);
    const std::int32_t month = MonthDays(date.year, date.month);
    Check(month == 0 || (month >= 28 && month <= 31));
    const std::int32_t year = YearDays(date.year);
    Check(year == 0 || year == 365 || year == 366);

    const std::int64_t count = data.ConsumeBool() ? data.ConsumeIntegral<std::int32_t>()
                                                  : data.ConsumeIntegral<std::int64_t>();
    const CalendarDate moved = AddDays(date, count);
    Check(IsNormal(moved));
    // Inside the exact range a move is undone by the opposite move.
    constexpr std::int64_t exact = std::int64_t{1} << 40;
    if (date.year > -exact && date.year < exact && count > -exact && count < exact)
        Check(AddDays(moved, -count) == AddDays(date, 0));

    CountingSink sink;
    const CalendarDate other = AnyDate(data);
    const std::int64_t between = DaysBetween(date, other, &sink);
    Check(sink.messages <= 1);
    if (sink.messages == 1)
        Check(between == 0);
    // For real dates of non-negative years the count takes one date to the other.
    const CalendarDate a = AddDays({date.year % 100000, date.month, date.day}, 0);
    const CalendarDate b = AddDays({other.year % 100000, other.month, other.day}, 0);
    if (a.year >= 0 && b.year >= 0) {
        CountingSink order;
        const std::int64_t n = DaysBetween(a, b, &order);
        if (order.messages == 0)
            Check(AddDays(a, n) == b);
    }

    CountingSink labelSink;
    Check(IsLabel(WeekdayLabel(date, &labelSink)));
    Check(labelSink.messages <= 1);
    if (labelSink.messages == 1)
        Check(date.year == 1582);
}

void FuzzEras(FuzzedDataProvider& data) {
    const std::int64_t year = data.PickValueInArray<std::int64_t>(
        {data.ConsumeIntegral<std::int64_t>(), data.ConsumeIntegral<std::int32_t>(),
         data.ConsumeIntegralInRange<std::int64_t>(-5, 2200)});
    const auto month = data.ConsumeBool() ? data.ConsumeIntegralInRange<std::int32_t>(-1, 13)
                                          : data.ConsumeIntegral<std::int32_t>();
    const auto day = data.ConsumeBool() ? data.ConsumeIntegralInRange<std::int32_t>(-1, 32)
                                        : data.ConsumeIntegral<std::int32_t>();
    const std::u16string plain = WarekiOf(year, month, day);
    Check(plain.empty() == (year < 0));
    Check(plain.size() == 4 || plain.size() == 8 || plain.empty());

    int asked = 0;
    const auto choice = data.PickValueInArray({EraChoice::None, EraChoice::Ending, EraChoice::New});
    const AskEraTransition ask = [&](std::size_t index) {
        ++asked;
        Check(index > 0 && index < NengoList().size());
        return choice;
    };
    const std::u16string asking = WarekiOf(year, month, day, &ask);
    Check(asked == (plain.size() == 8 ? 1 : 0));
    if (asked == 0)
        Check(asking == plain);
    else if (choice == EraChoice::Ending)
        Check(asking == plain.substr(0, 4));
    else if (choice == EraChoice::New)
        Check(asking == plain.substr(4));
    else
        Check(asking.empty());

    const auto index = data.ConsumeBool() ? data.ConsumeIntegralInRange<std::int32_t>(-2, 70)
                                          : data.ConsumeIntegral<std::int32_t>();
    const auto eraYear = data.ConsumeIntegral<std::int32_t>();
    const auto western = WesternYearOf(index, eraYear);
    Check(western.has_value() == (index >= 0 && index < 68));
}

void FuzzSchedule(FuzzedDataProvider& data) {
    MemorialSchedule schedule = DefaultSchedule();
    for (MemorialDay& row : schedule) {
        if (data.ConsumeBool())
            row.Offset = data.ConsumeIntegral<std::int32_t>();
        row.Eve = data.ConsumeBool();
    }
    const std::u16string year = FieldText(data);
    const std::u16string month = FieldText(data);
    const std::u16string day = FieldText(data);
    CountingSink sink;
    ComputeSchedule(year, month, day, schedule, data.ConsumeBool() ? &sink : nullptr);
    const bool parsed = ParseInt(year) && ParseInt(month) && ParseInt(day);
    for (std::size_t i = 0; i < schedule.size(); ++i) {
        const MemorialDay& row = schedule[i];
        Check(row.Month.empty() != parsed && row.Day.empty() != parsed);
        Check(IsLabel(row.WeekdayText));
        if (parsed && i != kFirstMonthlyRow) {
            const auto m = ParseInt(row.Month);
            Check(m && *m >= 1 && *m <= 12);
            const auto d = ParseInt(row.Day);
            Check(d && *d >= 1 && *d <= 31);
        }
    }
    Check(sink.messages <= 1);
}

void FuzzParse(FuzzedDataProvider& data) {
    const std::u16string text = FieldText(data);
    if (const auto value = ParseInt(text))
        Check(ParseInt(DecimalText(*value)) == value);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider data(bytes, size);
    switch (data.ConsumeIntegralInRange<int>(0, 3)) {
    case 0:
        FuzzDates(data);
        break;
    case 1:
        FuzzEras(data);
        break;
    case 2:
        FuzzSchedule(data);
        break;
    default:
        FuzzParse(data);
        break;
    }
    return 0;
}
