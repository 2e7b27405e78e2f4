#include "calendar/Era.h"

#include <array>

namespace ulvan {
namespace {

// Start date digits, then the era name; month and day are compared as plain numbers (two
// entries carry a February 30, as the historical tables do).
constexpr std::array<std::u16string_view, 68> kNengo = {
    u"00010000－－", u"13940705應永", u"14280427正長", u"14290905永享", u"14410217嘉吉",
    u"14440205文安", u"14490728寳徳", u"14520725享徳", u"14550725康正", u"14570928長祿",
    u"14601221寛正", u"14660228文正", u"14670305應仁", u"14690428文明", u"14870720長享",
    u"14890821延徳", u"14920719明應", u"15010229文龜", u"15040230永正", u"15210823大永",
    u"15280820享祿", u"15320729天文", u"15551023弘治", u"15580228永祿", u"15700423元龜",
    u"15730728天正", u"15921208文祿", u"15961027慶長", u"16150713元和", u"16240230寛永",
    u"16441216正保", u"16480215慶安", u"16520918承應", u"16550413明暦", u"16580723萬治",
    u"16610425寛文", u"16730921延寳", u"16810929天和", u"16840221貞享", u"16880930元祿",
    u"17040313寶永", u"17110425正徳", u"17160622享保", u"17360428元文", u"17410227寛保",
    u"17440221延享", u"17480712寛延", u"17511027寶暦", u"17640602明和", u"17721116安永",
    u"17810402天明", u"17890125寛政", u"18010205享和", u"18040211文化", u"18180422文政",
    u"18301210天保", u"18441202弘化", u"18480228嘉永", u"18541127安政", u"18600318萬延",
    u"18610219文久", u"18640220元治", u"18650407慶應", u"18680908明治", u"19120730大正",
    u"19261225昭和", u"19890108平成", u"20190501令和",
};

struct EraStart {
    std::int64_t year;
    std::int32_t month;
    std::int32_t day;
    std::u16string_view name;
};

constexpr std::int32_t Digits(std::u16string_view text, std::size_t pos, std::size_t count) {
    std::int32_t value = 0;
    for (std::size_t i = pos; i < pos + count; ++i)
        value = value * 10 + (text[i] - u'0');
    return value;
}

constexpr std::array<EraStart, kNengo.size()> MakeStarts() {
    std::array<EraStart, kNengo.size()> starts{};
    for (std::size_t i = 0; i < kNengo.size(); ++i)
        starts[i] = {Digits(kNengo[i], 0, 4), Digits(kNengo[i], 4, 2), Digits(kNengo[i], 6, 2),
                     kNengo[i].substr(8, 4)};
    return starts;
}

constexpr auto kStarts = MakeStarts();

static_assert([] {
    for (std::size_t i = 1; i < kStarts.size(); ++i)
        if (kStarts[i - 1].year >= kStarts[i].year)
            return false;
    return true;
}());

// Era name and era year as four characters: a one-digit year after a blank, two digits, or
// two blanks when the year is too large to show.
std::u16string Format(const EraStart& era, std::int64_t eraYear) {
    std::u16string text(era.name);
    if (eraYear >= 1 && eraYear <= 9) {
        text += u' ';
        text += static_cast<char16_t>(u'0' + eraYear);
    } else if (eraYear >= 10 && eraYear <= 99) {
        text += static_cast<char16_t>(u'0' + eraYear / 10);
        text += static_cast<char16_t>(u'0' + eraYear % 10);
    } else {
        text += u"  ";
    }
    return text;
}

} // namespace

std::span<const std::u16string_view> NengoList() {
    return kNengo;
}

std::vector<std::u16string> EraComboItems() {
    std::vector<std::u16string> items;
    items.reserve(kStarts.size());
    for (auto it = kStarts.rbegin(); it != kStarts.rend(); ++it)
        items.emplace_back(it->name);
    return items;
}

std::u16string WarekiOf(std::int64_t year, std::int32_t month, std::int32_t day,
                        const AskEraTransition* ask) {
    if (year == 0)
        return u"－－--";
    if (year == 1)
        return u"－－ 1";

    const EraStart& last = kStarts.back();
    if (year > last.year) {
        const std::int64_t eraYear = year - last.year + 1;
        if (eraYear >= 100)
            return u"　　  ";
        return Format(last, eraYear);
    }

    for (std::size_t i = 0; i < kStarts.size(); ++i) {
        const EraStart& era = kStarts[i];
        if (i + 1 < kStarts.size() && era.year < year && year < kStarts[i + 1].year)
            return Format(era, year - era.year + 1);
        // Years 0 and 1 are settled above, so the first entry never starts the year asked.
        if (era.year == year && i > 0) {
            const EraStart& ending = kStarts[i - 1];
            std::u16string before = Format(ending, year - ending.year + 1);
            std::u16string after = std::u16string(era.name) + u" 1";
            if (month != 0 && month < era.month)
                return before;
            if (month != 0 && month > era.month)
                return after;
            if (month == era.month && day != 0)
                return day < era.day ? before : after;
            // Month and day do not decide which era the date belongs to.
            if (ask == nullptr || !*ask)
                return before + after;
            switch ((*ask)(i)) {
            case EraChoice::Ending:
                return before;
            case EraChoice::New:
                return after;
            case EraChoice::None:
                break;
            }
            return {};
        }
    }
    return {}; // only negative years lie before every entry
}

std::optional<std::int64_t> WesternYearOf(std::int32_t comboIndex, std::int32_t eraYear) {
    const auto count = static_cast<std::int64_t>(kStarts.size());
    if (comboIndex < 0 || comboIndex >= count)
        return std::nullopt;
    const auto& era = kStarts[static_cast<std::size_t>(count - 1 - comboIndex)];
    return era.year + static_cast<std::int64_t>(eraYear) - 1;
}

} // namespace ulvan
