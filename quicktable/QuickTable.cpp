#include "quicktable/QuickTable.h"

#include "calendar/Era.h"
#include "calendar/TextUtil.h"

#include <array>

namespace ulvan {
namespace {

// Each label is padded with ideographic spaces to seven characters so the year texts line
// up in the window's monospaced font.
constexpr std::array<std::u16string_view, 21> kRowLabels{
    u"一周忌　　　　", u"三回忌　　　　", u"七回忌　　　　", u"十三回忌　　　", u"十七回忌　　　",
    u"二十三回忌　　", u"二十五回忌　　", u"二十七回忌　　", u"三十三回忌　　", u"三十七回忌　　",
    u"五十回忌　　　", u"七十回忌　　　", u"百回忌　　　　", u"百五十回忌　　", u"二百回忌　　　",
    u"二百五十回忌　", u"三百回忌　　　", u"三百五十回忌　", u"四百回忌　　　", u"四百五十回忌　",
    u"五百回忌　　　"};

constexpr std::u16string_view kRule = u"==================================";
constexpr std::u16string_view kTitleTail = u"年度）年回早見表";

} // namespace

std::u16string DeathYearText(std::int64_t deathYear) {
    // Month and day 0: a year of era change always gives both eras.
    const std::u16string r = WarekiOf(deathYear, 0, 0);
    std::u16string text = DecimalText(deathYear);
    text += u"年（";
    text += std::u16string_view(r).substr(0, 4);
    if (r.size() <= 4) {
        text += u"年）没";
    } else {
        text += u"年　または　";
        text += std::u16string_view(r).substr(4, 2);
        text += u"元年）没";
    }
    return text;
}

std::optional<QuickTableText> BuildQuickTable(std::u16string_view edit2,
                                              std::u16string_view comboText,
                                              std::u16string_view edit3) {
    const std::optional<std::int32_t> year = ParseInt(edit2);
    if (!year)
        return std::nullopt;
    const std::u16string_view headingEraYear = edit3 == u" 1" ? u"元" : edit3;

    QuickTableText table;
    std::u16string& text = table.Text;
    text.reserve(1400);
    text += kRule;
    text += u"\n  ";
    text += edit2;
    text += u"年度（";
    text += comboText;
    text += headingEraYear;
    text += kTitleTail;
    text += u'\n';
    text += kRule;
    text += u"\n\n";

    const auto items = NenkaiItems();
    for (std::size_t i = 0; i < kRowLabels.size(); ++i) {
        if (i > 0)
            text += u'\n';
        text += kRowLabels[i];
        text += DeathYearText(std::int64_t{*year} - items[i].YearsAfter);
    }

    table.Caption = std::u16string(edit2);
    table.Caption += u"年度（";
    table.Caption += comboText;
    table.Caption += edit3;
    table.Caption += kTitleTail;
    return table;
}

EraFields SyncFiscalEra(std::u16string_view edit2) {
    const std::optional<std::int32_t> year = ParseInt(edit2);
    if (!year)
        return EraFieldsOf(u"－－--");
    return EraFieldsOf(WarekiOf(*year, 12, 31));
}

} // namespace ulvan
