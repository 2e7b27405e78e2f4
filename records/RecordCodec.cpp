#include "records/RecordCodec.h"

#include "records/Cp932.h"

namespace ulvan {

std::u16string DecodeAnsiText(std::string_view bytes, bool& unreadable) {
    std::vector<CodecProblem> problems;
    std::u16string text = DecodeCp932(bytes, &problems);
    if (!problems.empty()) {
        unreadable = true;
    }
    return text;
}

std::string EncodeAnsiText(std::u16string_view text, std::vector<char32_t>& lost) {
    std::vector<CodecProblem> problems;
    std::string bytes = EncodeCp932(text, &problems);
    for (const CodecProblem& problem : problems) {
        lost.push_back(static_cast<char32_t>(problem.Value));
    }
    return bytes;
}

} // namespace ulvan
