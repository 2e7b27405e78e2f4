// Random bytes through the code page 932 codec. Whatever a file holds, what is read from it
// is written back so that it reads the same, each unreadable sequence (U+FFFD) as "?"; the
// problems reported point at exactly the replaced sequences.
#include "records/Cp932.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

namespace {

using namespace ulvan;

void Require(bool condition) {
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    std::vector<CodecProblem> readProblems;
    const std::u16string text = DecodeCp932(bytes, &readProblems);
    Require(text.size() <= bytes.size());

    std::size_t replaced = 0;
    std::size_t previousEnd = 0;
    for (const CodecProblem& problem : readProblems) {
        Require(problem.Length == 1 || problem.Length == 2);
        Require(problem.Offset >= previousEnd && problem.Offset + problem.Length <= size);
        const auto first = static_cast<std::uint32_t>(data[problem.Offset]);
        Require(problem.Value ==
                (problem.Length == 1 ? first : first << 8 | data[problem.Offset + 1]));
        previousEnd = problem.Offset + problem.Length;
    }
    std::u16string expected = text;
    for (char16_t& unit : expected) {
        if (unit == u'\uFFFD') {
            unit = u'?';
            ++replaced;
        }
    }
    Require(replaced == readProblems.size());

    std::vector<CodecProblem> writeProblems;
    const std::string written = EncodeCp932(text, &writeProblems);
    Require(writeProblems.size() == replaced);
    for (const CodecProblem& problem : writeProblems)
        Require(problem.Value == 0xFFFD && text[problem.Offset] == u'\uFFFD');

    std::vector<CodecProblem> rereadProblems;
    Require(DecodeCp932(written, &rereadProblems) == expected);
    Require(rereadProblems.empty());

    // Encoding arbitrary UTF-16 (the same bytes read as code units) stays bounded and names
    // every "?" it did not get from a "?" of the text.
    std::u16string units(size / 2, u'\0');
    for (std::size_t i = 0; i + 1 < size; i += 2)
        units[i / 2] = static_cast<char16_t>(data[i] | data[i + 1] << 8);
    std::vector<CodecProblem> unitProblems;
    const std::string unitBytes = EncodeCp932(units, &unitProblems);
    Require(unitBytes.size() <= 2 * units.size());
    std::size_t questionMarks = 0;
    for (const char16_t unit : units)
        questionMarks += unit == u'?' ? std::size_t{1} : std::size_t{0};
    std::size_t written3F = 0;
    for (const char c : unitBytes)
        written3F += c == '?' ? std::size_t{1} : std::size_t{0};
    Require(written3F == unitProblems.size() + questionMarks); // a second byte is never 0x3F
    return 0;
}
