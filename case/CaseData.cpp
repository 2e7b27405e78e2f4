#include "case/CaseData.h"

namespace ulvan {

NameAndReading SplitNameReading(std::u16string_view text) {
    const std::size_t slash = text.find(u'/');
    if (slash == std::u16string_view::npos) {
        return {std::u16string(text), std::nullopt};
    }
    return {std::u16string(text.substr(0, slash)), std::u16string(text.substr(slash + 1))};
}

std::u16string JoinNameReading(std::u16string_view name, std::u16string_view reading) {
    std::u16string joined;
    joined.reserve(name.size() + 1 + reading.size());
    joined.append(name).append(u"/").append(reading);
    return joined;
}

} // namespace ulvan
