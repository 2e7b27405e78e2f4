// Random bytes as a record file: its reading (encoding, line splitting, the Ctrl-Z end,
// decoding, the fields of each line) and the append that follows. Besides running clean under
// the sanitizers, appending must leave every earlier line as it was and add exactly the one
// line written.
#include "records/RecordFile.h"
#include "records/RecordLine.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>

namespace {

using namespace ulvan;

void Require(bool condition) {
    if (!condition)
        std::abort();
}

void CheckRead(std::string_view bytes) {
    const RecordFileText text = ReadRecordText(bytes);
    std::size_t lineEnds = 0;
    for (const char c : bytes.substr(0, RecordTextEnd(bytes)))
        lineEnds += c == '\n' ? 1 : 0;
    Require(text.Lines.size() <= lineEnds + 1);
    for (const std::u16string& line : text.Lines) {
        Require(line.find(u'\r') == std::u16string::npos);
        Require(line.find(u'\n') == std::u16string::npos);
        const DeceasedRecord record = ReadRecordLine(line);
        Require(record.Kaimyo.size() + record.Yomi.size() <= line.size());
    }
}

void CheckAppend(std::string_view existing, std::u16string_view lineText) {
    const AppendPlan plan = PlanRecordAppend(existing);
    Require(plan.CutAt <= existing.size());
    Require(existing.size() - plan.CutAt <= kEndMarkWindow);
    const EncodedText encoded = EncodeRecordText(lineText, plan.Encoding);
    Require(encoded.Bytes.find_first_of("\r\n\x1A") == std::string::npos ||
            lineText.find_first_of(u"\r\n\x1A") != std::u16string_view::npos);

    const std::string_view kept = existing.substr(0, plan.CutAt);
    const std::string after = std::string(kept) + AppendedBytes(plan, encoded.Bytes);
    // Only where the reader sees the whole of the kept bytes and the line is one line in the
    // same encoding can the result be compared line by line.
    if (RecordTextEnd(kept) != kept.size() ||
        encoded.Bytes.find_first_of("\r\n\x1A") != std::string::npos ||
        DetectRecordEncoding(after) != plan.Encoding)
        return;
    const RecordFileText before = ReadRecordText(kept);
    const RecordFileText now = ReadRecordText(after);
    Require(now.Lines.size() == before.Lines.size() + 1);
    Require(std::equal(before.Lines.begin(), before.Lines.end(), now.Lines.begin()));
    bool unreadable = false;
    Require(now.Lines.back() == DecodeRecordLine(encoded.Bytes, plan.Encoding, unreadable));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider data(bytes, size);
    const std::size_t lineLength = data.ConsumeIntegralInRange<std::size_t>(0, 64);
    std::u16string lineText;
    for (std::size_t i = 0; i < lineLength && data.remaining_bytes() > 0; ++i) {
        // Mostly ASCII and the common Japanese range, some of everything else.
        const auto pick = data.ConsumeIntegralInRange<int>(0, 3);
        if (pick == 0)
            lineText.push_back(data.ConsumeIntegralInRange<char16_t>(0x20, 0x7E));
        else if (pick == 1)
            lineText.push_back(data.ConsumeIntegralInRange<char16_t>(0x3000, 0x9FFF));
        else
            lineText.push_back(data.ConsumeIntegral<char16_t>());
    }
    const std::string file = data.ConsumeRemainingBytesAsString();
    CheckRead(file);
    CheckAppend(file, lineText);
    return 0;
}
