#include "annual/NenkaiSheet.h"

#include "calendar/TextUtil.h"
#include "sheet/KanjiNumerals.h"
#include "sheet/MemorialSheet.h"

#include <algorithm>

namespace ulvan {

namespace {

using namespace annualsheet;

AcrossPos RowY(std::int32_t j) {
    return AcrossPos{kRowBase, kRowStep, 1.0, j - 1};
}

} // namespace

std::u16string NenkaiTitle(std::u16string_view title) {
    return std::u16string(title.empty() ? kNenkaiDefaultTitle : title);
}

std::vector<NenkaiRow> NenkaiPrintedRows(const std::array<NenkaiResult, 21>& results,
                                         const std::array<bool, 21>& checked) {
    std::vector<NenkaiRow> rows;
    for (const std::size_t i : PrintedItems(checked)) {
        rows.push_back(NenkaiRow{std::u16string(NenkaiItems()[i].Name), results[i]});
    }
    return rows;
}

NenkaiYearCells NenkaiYearTexts(const NenkaiResult& result) {
    NenkaiYearCells cells;
    // The whole western field: a year of five digits stays whole rather than losing its last.
    cells.WesternYear = KanjiDigits(result.WesternYear);
    cells.EraName = result.EraName;
    const auto eraYear = ParseInt(result.EraYear);
    cells.EraYear = PadFront(eraYear ? KanjiNumber(*eraYear) : std::u16string(), 3);
    return cells;
}

DeceasedData NenkaiDeceased(const DeceasedData& main, const NenkaiChart& chart) {
    DeceasedData data = main;
    data.KiNen = chart.Year;
    data.KiNengo = chart.Era;
    data.KiWanen = chart.EraYear;
    return data;
}

SheetDescription BuildNenkaiSheet(const DeceasedData& mainData, const SheetOptions& options,
                                  const NenkaiChart& chart, bool blank, bool reading) {
    using namespace sheetparts;
    const DeceasedData data = NenkaiDeceased(mainData, chart);
    SheetDescription sheet;
    sheet.Elements.reserve(400);

    AddTableFrame(sheet, kNenkaiSheetRows);
    AddNameBox(sheet, options);
    AddTitle(sheet, options, NenkaiTitle(chart.Title));

    // Anniversary names and their year labels.
    AddBodyFont(sheet, options);
    const std::int32_t printed =
        static_cast<std::int32_t>(std::min<std::size_t>(chart.Rows.size(), kNenkaiSheetRows));
    for (std::int32_t j = 1; j <= printed; ++j) {
        AddSpread(sheet, chart.Rows[static_cast<std::size_t>(j - 1)].Name, kNameStart, kNameSpan,
                  RowY(j));
        if (options.WarekiInsatsu) {
            AddRun(sheet, kLabelWithEra, kLabelEra, RowY(j));
        } else {
            AddRun(sheet, kLabelPlain, kLabelWestern, RowY(j));
        }
    }

    AddColumnForms(sheet, data, options, blank);
    AddFooterArea(sheet, options);
    if (blank) {
        return sheet;
    }

    const NameClass nameClass = AddPosthumousName(sheet, data, options);
    if (reading) {
        AddReading(sheet, data, options, nameClass);
    }
    AddSecularNameAgeAndDate(sheet, data, options);

    // The anniversaries' years, each value one run at the font's own advance.
    for (std::int32_t j = 1; j <= printed; ++j) {
        const NenkaiYearCells cells =
            NenkaiYearTexts(chart.Rows[static_cast<std::size_t>(j - 1)].Result);
        if (options.WarekiInsatsu) {
            AddRun(sheet, cells.WesternYear, kYearEra, RowY(j));
            AddRun(sheet, cells.EraName, kEraName, RowY(j));
            AddRun(sheet, cells.EraYear, kEraYear, RowY(j));
        } else {
            AddRun(sheet, cells.WesternYear, kYearWestern, RowY(j));
        }
    }
    return sheet;
}

} // namespace ulvan
