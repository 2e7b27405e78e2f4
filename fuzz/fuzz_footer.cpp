// The footer's stored form comes from the settings store, which a user can edit by hand:
// reading must accept anything, saving what was read must read back the same, and fitting
// must stay defined for any numbers.
#include "footer/FooterModel.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) {
        return 0;
    }
    const int width = 1 + (data[0] | (data[1] << 8));
    const int height = 1 + (data[2] | (data[3] << 8));
    std::u16string stored;
    for (std::size_t i = 4; i + 1 < size; i += 2) {
        stored.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
    }
    ulvan::FooterLayout layout = ulvan::FooterLayout::FromStored(stored);
    if (layout.Lines().size() % ulvan::kFooterFieldCount != 0) {
        std::abort();
    }
    for (std::size_t frame = 0; frame < layout.FrameCount(); ++frame) {
        ulvan::FitFooterText(layout, frame, width, height);
    }
    const std::u16string saved = layout.ToStored();
    if (!(ulvan::FooterLayout::FromStored(saved) == layout)) {
        std::abort();
    }
    return 0;
}
