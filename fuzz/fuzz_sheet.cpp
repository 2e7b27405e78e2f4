// Throws arbitrary texts, options and page sizes at the memorial sheet's layout and its two
// mappings. Every run must end in bounded time with sane results: each text element holds one
// character (or the age run), cell runs stop past two page lengths, and every mapped value is
// defined for any page size.
#include "sheet/MemorialSheet.h"
#include "sheet/PageMetrics.h"
#include "sheet/PreviewZoom.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

using namespace ulvan;

void Check(bool ok) {
    if (!ok)
        std::abort();
}

std::u16string Text(FuzzedDataProvider& data) {
    const std::string bytes = data.ConsumeRandomLengthString(64);
    std::u16string text;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        text.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                             (static_cast<unsigned char>(bytes[i + 1]) << 8)));
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider data(bytes, size);
    DeceasedData deceased;
    deceased.Kaimyo = Text(data);
    deceased.Yomi = Text(data);
    deceased.Zokumyo = Text(data);
    deceased.GyoNen = Text(data);
    deceased.KiNen = Text(data);
    deceased.KiNengo = Text(data);
    deceased.KiWanen = Text(data);
    deceased.KiGatsu = Text(data);
    deceased.KiNichi = Text(data);
    SheetOptions options;
    options.TitName = Text(data);
    options.FntName1 = Text(data);
    options.FntName2 = Text(data);
    options.KaimyoStyle = data.ConsumeIntegral<std::int32_t>();
    options.TmplNamePrint = data.ConsumeBool();
    options.HatsuGatsuPrint = data.ConsumeBool();
    options.HyakkaNichiPrint = data.ConsumeBool();
    options.DogetsuShoryaku = data.ConsumeBool();
    options.WarekiInsatsu = data.ConsumeBool();
    options.RubyPrint = data.ConsumeBool();
    MemorialSchedule schedule = DefaultSchedule();
    for (MemorialDay& day : schedule) {
        day.Name = Text(data);
        day.Month = Text(data);
        day.Day = Text(data);
    }
    const bool blank = data.ConsumeBool();
    const SheetMapping paper = SheetMapping::Paper(
        data.ConsumeIntegral<std::int32_t>(), data.ConsumeIntegral<std::int32_t>(),
        data.ConsumeIntegral<std::int32_t>(), data.ConsumeIntegral<std::int32_t>());
    const SheetMapping screen = SheetMapping::Screen(data.ConsumeIntegral<std::int32_t>(),
                                                     data.ConsumeIntegral<std::int32_t>());

    const SheetDescription sheet = BuildMemorialSheet(deceased, options, schedule, blank);
    Check(sheet.Elements.size() < 4000);
    for (const SheetElement& element : sheet.Elements) {
        if (const auto* text = std::get_if<SheetText>(&element)) {
            Check(!text->Text.empty());
            (void)paper.Map(text->X, text->Y);
            (void)screen.Map(text->X, text->Y);
        } else if (const auto* rect = std::get_if<SheetRect>(&element)) {
            const auto [a, b] = screen.MapRect(*rect);
            Check(a.X <= b.X && a.Y <= b.Y);
            (void)paper.MapRect(*rect);
        } else if (const auto* pen = std::get_if<SheetPen>(&element)) {
            (void)paper.PenWidth(*pen);
            (void)screen.PenWidth(*pen);
        } else if (const auto* font = std::get_if<SheetFont>(&element)) {
            Check(font->Face.size() >= 1 && font->Face[0] == u'@');
            (void)paper.FontHeight(*font);
        }
    }
    const ScheduleCells cells = ScheduleRowTexts(schedule, options);
    for (const auto& day : cells.Days) {
        Check(day.size() >= 3);
    }
    PageMetrics page{data.ConsumeIntegral<std::int32_t>(), data.ConsumeIntegral<std::int32_t>(),
                     data.ConsumeIntegral<std::int32_t>(), data.ConsumeIntegral<std::int32_t>(),
                     data.ConsumeIntegral<std::int32_t>(), data.ConsumeIntegral<std::int32_t>()};
    (void)ExceedsPrintableArea(page);
    const PreviewPage fitted =
        FitPreviewPage(data.ConsumeIntegral<std::int32_t>(), data.ConsumeIntegral<std::int32_t>());
    (void)ScalePreviewPage(fitted, kZoomInFactor);
    (void)ScalePreviewPage(fitted, kZoomOutFactor);
    return 0;
}
