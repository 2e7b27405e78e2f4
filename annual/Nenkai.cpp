#include "annual/Nenkai.h"

#include "calendar/Era.h"
#include "calendar/TextUtil.h"

namespace ulvan {
namespace {

constexpr std::array<NenkaiItemInfo, 21> kItems{{
    {u"一周忌", 1},      {u"三回忌", 2},         {u"七回忌", 6},      {u"十三回忌", 12},
    {u"十七回忌", 16},   {u"二十三回忌", 22},    {u"二十五回忌", 24}, {u"二十七回忌", 26},
    {u"三十三回忌", 32}, {u"三十七回忌", 36},    {u"五十回忌", 49},   {u"七十回忌", 69},
    {u"百回忌", 99},     {u"百五十回忌", 149},   {u"二百回忌", 199},  {u"二百五十回忌", 249},
    {u"三百回忌", 299},  {u"三百五十回忌", 349}, {u"四百回忌", 399},  {u"四百五十回忌", 449},
    {u"五百回忌", 499},
}};

constexpr std::size_t kPrintedRows = 11;

} // namespace

std::span<const NenkaiItemInfo, 21> NenkaiItems() {
    return kItems;
}

std::u16string PaddedYearText(std::int64_t year) {
    std::u16string text = DecimalText(year);
    if (text.size() < 4)
        text.insert(0, 4 - text.size(), u' ');
    return text;
}

EraFields EraFieldsOf(std::u16string_view wareki) {
    EraFields fields;
    fields.EraName = std::u16string(wareki.substr(0, 2));
    if (wareki.size() > 2)
        fields.EraYear = std::u16string(wareki.substr(2, 2));
    return fields;
}

std::optional<std::array<NenkaiResult, 21>> ComputeNenkai(std::u16string_view yearText,
                                                          std::u16string_view monthText,
                                                          std::u16string_view dayText) {
    const std::optional<std::int32_t> deathYear = ParseInt(yearText);
    if (!deathYear)
        return std::nullopt;
    const std::int32_t month = ParseIntOr(monthText, 0);
    const std::int32_t day = ParseIntOr(dayText, 0);

    std::array<NenkaiResult, 21> results;
    for (std::size_t i = 0; i < kItems.size(); ++i) {
        const std::int64_t year = std::int64_t{*deathYear} + kItems[i].YearsAfter;
        // Only the ending era is shown for an undecided year of change: characters 1–4.
        EraFields era = EraFieldsOf(WarekiOf(year, month, day));
        results[i] =
            NenkaiResult{PaddedYearText(year), std::move(era.EraName), std::move(era.EraYear)};
    }
    return results;
}

std::vector<std::size_t> PrintedItems(const std::array<bool, 21>& checked) {
    std::vector<std::size_t> printed;
    for (std::size_t i = 0; i < checked.size() && printed.size() < kPrintedRows; ++i) {
        if (checked[i])
            printed.push_back(i);
    }
    return printed;
}

} // namespace ulvan
