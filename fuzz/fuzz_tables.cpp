// Random integers and texts at the kanji numerals, the annual memorial items, the quick table
// and the comma-separated record form. Besides running clean under the sanitizers, each
// routine must keep the properties its callers rely on.
#include "annual/Nenkai.h"
#include "calendar/TextUtil.h"
#include "quicktable/QuickTable.h"
#include "records/RecordLine.h"
#include "sheet/KanjiNumerals.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstdlib>

namespace {

using namespace ulvan;

void Require(bool condition) {
    if (!condition)
        std::abort();
}

// Texts biased towards what the parsers care about: digits, signs, blanks, separators,
// quotes, full-width characters and surrogate halves, with arbitrary code units mixed in.
std::u16string RandomText(FuzzedDataProvider& data) {
    static constexpr std::array<char16_t, 24> kAlphabet{
        u'0',  u'1',  u'2',  u'5',      u'9',      u' ',  u'-',  u'+',
        u',',  u'"',  u'/',  u'\t',     u'\0',     u'\r', u'\n', u'\u3000',
        u'令', u'和', u'－', u'\xD842', u'\xDFB7', u'a',  u'０', u'\x1A'};
    std::u16string text;
    const std::size_t length = data.ConsumeIntegralInRange<std::size_t>(0, 24);
    for (std::size_t i = 0; i < length && data.remaining_bytes() > 0; ++i) {
        if (data.ConsumeBool())
            text.push_back(
                kAlphabet[data.ConsumeIntegralInRange<std::size_t>(0, kAlphabet.size() - 1)]);
        else
            text.push_back(data.ConsumeIntegral<char16_t>());
    }
    return text;
}

std::u16string YearText(FuzzedDataProvider& data) {
    return data.ConsumeBool() ? DecimalText(data.ConsumeIntegral<std::int32_t>())
                              : RandomText(data);
}

void CheckKanji(FuzzedDataProvider& data) {
    const auto n = data.ConsumeIntegral<std::int64_t>();
    const std::u16string kanji = KanjiNumber(n);
    Require(kanji.empty() == (n < 0 || n > 150));
    Require(kanji.size() <= 5);

    const std::u16string text = RandomText(data);
    std::size_t converted = 0;
    for (const char16_t c : text)
        converted += (c == u' ' || (c >= u'0' && c <= u'9')) ? std::size_t{1} : std::size_t{0};
    Require(KanjiDigits(text).size() == converted);
    const std::size_t count = CharCount(text);
    Require(count <= text.size() && 2 * count >= text.size());
}

void CheckNenkai(FuzzedDataProvider& data) {
    const std::u16string year = YearText(data);
    const std::u16string month = YearText(data);
    const std::u16string day = YearText(data);
    const auto results = ComputeNenkai(year, month, day);
    const std::optional<std::int32_t> parsed = ParseInt(year);
    Require(results.has_value() == parsed.has_value());
    if (results) {
        for (std::size_t i = 0; i < results->size(); ++i) {
            const NenkaiResult& r = (*results)[i];
            Require(r.WesternYear.size() >= 4 && r.EraName.size() <= 2 && r.EraYear.size() <= 2);
            const std::int64_t expected = std::int64_t{*parsed} + NenkaiItems()[i].YearsAfter;
            std::u16string trimmed = r.WesternYear;
            trimmed.erase(0, trimmed.find_first_not_of(u' '));
            Require(trimmed == DecimalText(expected));
        }
    }

    std::array<bool, 21> checked{};
    for (bool& box : checked)
        box = data.ConsumeBool();
    const std::vector<std::size_t> printed = PrintedItems(checked);
    Require(printed.size() <= 11);
    for (std::size_t i = 0; i < printed.size(); ++i) {
        Require(checked[printed[i]]);
        Require(i == 0 || printed[i - 1] < printed[i]);
    }
}

void CheckQuickTable(FuzzedDataProvider& data) {
    const auto death = data.ConsumeBool() ? data.ConsumeIntegral<std::int64_t>()
                                          : std::int64_t{data.ConsumeIntegral<std::int32_t>()};
    const std::u16string text = DeathYearText(death);
    Require(text.starts_with(DecimalText(death) + u"年（") && text.ends_with(u"）没"));

    const std::u16string edit2 = YearText(data);
    const EraFields era = SyncFiscalEra(edit2);
    Require(era.EraName.size() <= 2 && era.EraYear.size() <= 2);
    const bool synced = data.ConsumeBool();
    const std::u16string combo = synced ? era.EraName : RandomText(data);
    const std::u16string edit3 = synced ? era.EraYear : RandomText(data);
    const auto table = BuildQuickTable(edit2, combo, edit3);
    Require(table.has_value() == ParseInt(edit2).has_value());
    if (table) {
        std::size_t lines = 1;
        for (const char16_t c : table->Text)
            lines += c == u'\n' ? std::size_t{1} : std::size_t{0};
        // Texts from the fields could hold line breaks of their own.
        Require(lines >= 25);
        Require(table->Caption.starts_with(edit2));
    }
}

void CheckCommaText(FuzzedDataProvider& data) {
    const std::u16string line = RandomText(data);
    const std::vector<std::u16string> fields = SplitCommaText(line);
    // A lone empty field is the one list the written form cannot tell from no field.
    if (!(fields.size() == 1 && fields[0].empty()))
        Require(SplitCommaText(JoinCommaText(fields)) == fields);

    std::vector<std::u16string> made(data.ConsumeIntegralInRange<std::size_t>(0, 9));
    for (std::u16string& field : made)
        field = RandomText(data);
    const std::u16string joined = JoinCommaText(made);
    if (!(made.size() == 1 && made[0].empty()))
        Require(SplitCommaText(joined) == made);

    DeceasedRecord record;
    for (std::u16string* field :
         {&record.Kaimyo, &record.Yomi, &record.Zokumyo, &record.KiNen, &record.KiNengo,
          &record.KiWanen, &record.KiGatsu, &record.KiNichi, &record.GyoNen})
        *field = RandomText(data);
    const DeceasedRecord read = ReadRecordLine(WriteRecordLine(record));
    // The name ends at its first "/"; everything else comes back unchanged.
    if (record.Kaimyo.find(u'/') == std::u16string::npos) {
        Require(read.Kaimyo == record.Kaimyo && read.Yomi == record.Yomi);
    }
    Require(read.Zokumyo == record.Zokumyo && read.KiNen == record.KiNen &&
            read.KiNengo == record.KiNengo && read.KiWanen == record.KiWanen &&
            read.KiGatsu == record.KiGatsu && read.KiNichi == record.KiNichi &&
            read.GyoNen == record.GyoNen);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider data(bytes, size);
    switch (data.ConsumeIntegralInRange<int>(0, 3)) {
    case 0:
        CheckKanji(data);
        break;
    case 1:
        CheckNenkai(data);
        break;
    case 2:
        CheckQuickTable(data);
        break;
    default:
        CheckCommaText(data);
        break;
    }
    return 0;
}
