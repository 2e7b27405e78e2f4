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

// A value of the row: its characters one cell each from fx on.
void AddValue(SheetDescription& sheet, std::u16string_view text, double fx, std::int32_t j) {
    AddPitched(sheet, text, fx, kCellPitch, RowY(j));
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
            AddValue(sheet, kLabelWithEra, kLabelEra, j);
        } else {
            AddValue(sheet, kLabelPlain, kLabelWestern, j);
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

    // The anniversaries' years in the cells of their labels.
    for (std::int32_t j = 1; j <= printed; ++j) {
        const NenkaiYearCells cells =
            NenkaiYearTexts(chart.Rows[static_cast<std::size_t>(j - 1)].Result);
        if (options.WarekiInsatsu) {
            AddValue(sheet, cells.WesternYear, kYearEra, j);
            AddValue(sheet, cells.EraName, kEraName, j);
            AddValue(sheet, cells.EraYear, kEraYear, j);
        } else {
            AddValue(sheet, cells.WesternYear, kYearWestern, j);
        }
    }
    return sheet;
}

} // namespace ulvan
