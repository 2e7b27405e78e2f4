#include "app/CliAnnual.h"

#include "calendar/Era.h"
#include "calendar/TextUtil.h"
#include "case/StoredCase.h"

#include <optional>

namespace ulvan {

namespace {

// The era fields the window's year field leads to, or the stored ones where they fit.
EraFields DeathEraFields(const DeceasedData& stored, MessageSink* messages) {
    const std::optional<std::int32_t> year = ParseInt(stored.KiNen);
    if (!year) {
        return EraFieldsOf(u"－－--");
    }
    const std::int32_t month = ParseIntOr(stored.KiGatsu, 0);
    const std::int32_t day = ParseIntOr(stored.KiNichi, 0);
    const std::u16string wareki = WarekiOf(*year, month, day);
    // An undecided year of change gives the ending era's four characters, then the new era's.
    std::vector<EraFields> candidates{EraFieldsOf(std::u16string_view(wareki).substr(0, 4))};
    if (wareki.size() >= 8) {
        candidates.push_back(EraFieldsOf(std::u16string_view(wareki).substr(4, 4)));
    }
    const std::optional<std::int32_t> storedEraYear = ParseInt(stored.KiWanen);
    for (const EraFields& candidate : candidates) {
        if (!stored.KiNengo.empty() && candidate.EraName == stored.KiNengo && storedEraYear &&
            ParseInt(candidate.EraYear) == storedEraYear) {
            return candidate;
        }
    }
    if (candidates.size() == 2) {
        const EraFields& later = candidates[1];
        if (messages != nullptr) {
            messages->ShowMessage(u"年号確認: " + DecimalText(*year) + u"年は" +
                                  candidates[0].EraName + u"と" + later.EraName +
                                  u"の境の年で、月日から決まりません。" + later.EraName +
                                  u"としました。");
        }
        return later;
    }
    return candidates[0];
}

} // namespace

NenkaiSheetInputs LoadStoredNenkaiInputs(const QString& settingsFile, MessageSink* messages) {
    const StoredCase stored = ReadStoredCase(settingsFile);
    NenkaiSheetInputs inputs;
    inputs.Deceased = stored.Deceased;
    inputs.Options = stored.Options;
    inputs.Footer = FooterLayout::FromStored(stored.EditStr);
    inputs.Chart.Title = ReadNenkaiTitle(settingsFile);
    inputs.Chart.Year = stored.Deceased.KiNen;
    const EraFields era = DeathEraFields(stored.Deceased, messages);
    inputs.Chart.Era = era.EraName;
    inputs.Chart.EraYear = era.EraYear;
    const auto results =
        ComputeNenkai(stored.Deceased.KiNen, stored.Deceased.KiGatsu, stored.Deceased.KiNichi);
    if (results) {
        inputs.Chart.Rows = NenkaiPrintedRows(*results, ReadNenkaiSelection(settingsFile));
    }
    return inputs;
}

} // namespace ulvan
