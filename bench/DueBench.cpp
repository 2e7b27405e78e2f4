// This year's memorials from a register of 100,000 records (about 10 MB in code page 932):
// reading the file's bytes and building the list, as the list window and `ulvan due` do.
#include "records/DueList.h"
#include "records/RecordFile.h"
#include "records/RecordLine.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

using namespace ulvan;

std::u16string Digits(long long n) {
    std::u16string text;
    for (const char digit : std::to_string(n))
        text.push_back(static_cast<char16_t>(digit));
    return text;
}

// Deaths spread over 1900–2024 and over the year's days, every hundredth without a year.
std::string Register(int count) {
    std::u16string text;
    for (int n = 0; n < count; ++n) {
        DeceasedRecord record;
        record.Kaimyo = u"釋浄心信士第" + Digits(n);
        record.Yomi = u"しゃくじょうしんしんじ";
        record.Zokumyo = u"山田 太郎右衛門";
        record.KiNen = n % 100 == 0 ? u"" : Digits(1900 + n % 125);
        record.KiGatsu = Digits(1 + n % 12);
        record.KiNichi = Digits(1 + n % 28);
        record.GyoNen = u"88";
        text += WriteRecordLine(record) + u"\r\n";
    }
    return EncodeRecordText(text, RecordEncoding::Cp932).Bytes;
}

void BM_DueListOf100000Records(benchmark::State& state) {
    const std::string bytes = Register(100000);
    for (auto _ : state) {
        const RecordFileText text = ReadRecordText(bytes);
        const DueList list = BuildDueList(text.Lines, 2025, state.range(0) != 0);
        benchmark::DoNotOptimize(list.Due.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(bytes.size()));
}
BENCHMARK(BM_DueListOf100000Records)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
