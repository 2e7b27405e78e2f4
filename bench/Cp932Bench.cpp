// Speed of the code page 932 codec on a 10 MB file: record files and quick table texts are
// read and written through it whole.
#include "quicktable/QuickTable.h"
#include "records/Cp932.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

constexpr std::size_t kFileBytes = 10 * 1024 * 1024;

// Quick tables of successive years, with CR LF: mostly kanji and kana, some ASCII digits.
std::u16string TenMegabyteText() {
    std::u16string text;
    std::string bytes;
    for (int year = 1400; bytes.size() < kFileBytes; ++year) {
        const std::u16string digits = [year] {
            std::u16string out;
            for (const char c : std::to_string(year))
                out.push_back(static_cast<char16_t>(c));
            return out;
        }();
        const ulvan::EraFields era = ulvan::SyncFiscalEra(digits);
        const auto table = ulvan::BuildQuickTable(digits, era.EraName, era.EraYear);
        std::u16string chunk;
        for (const char16_t unit : table->Text) {
            if (unit == u'\n')
                chunk += u'\r';
            chunk += unit;
        }
        chunk += u"\r\n";
        text += chunk;
        bytes += ulvan::EncodeCp932(chunk, nullptr);
    }
    return text;
}

const std::u16string& Text() {
    static const std::u16string text = TenMegabyteText();
    return text;
}

void BM_DecodeCp932(benchmark::State& state) {
    const std::string bytes = ulvan::EncodeCp932(Text(), nullptr);
    for (auto _ : state) {
        std::u16string text = ulvan::DecodeCp932(bytes, nullptr);
        benchmark::DoNotOptimize(text);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}
BENCHMARK(BM_DecodeCp932)->Unit(benchmark::kMillisecond);

// Throughput counted in bytes written, so both directions compare on the same file.
void BM_EncodeCp932(benchmark::State& state) {
    const std::u16string& text = Text();
    std::size_t written = 0;
    for (auto _ : state) {
        std::string bytes = ulvan::EncodeCp932(text, nullptr);
        written = bytes.size();
        benchmark::DoNotOptimize(bytes);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(written));
}
BENCHMARK(BM_EncodeCp932)->Unit(benchmark::kMillisecond);

} // namespace
