// Speed of the table computations that run on every keystroke in the annual chart and quick
// table windows, and of the kanji numerals that every printed number goes through.
#include "annual/Nenkai.h"
#include "quicktable/QuickTable.h"
#include "sheet/KanjiNumerals.h"

#include <benchmark/benchmark.h>

namespace {

void BM_ComputeNenkai(benchmark::State& state) {
    for (auto _ : state) {
        auto results = ulvan::ComputeNenkai(u"2018", u"5", u"1");
        benchmark::DoNotOptimize(results);
    }
}
BENCHMARK(BM_ComputeNenkai);

void BM_BuildQuickTable(benchmark::State& state) {
    for (auto _ : state) {
        const ulvan::EraFields era = ulvan::SyncFiscalEra(u"2068");
        auto table = ulvan::BuildQuickTable(u"2068", era.EraName, era.EraYear);
        benchmark::DoNotOptimize(table);
    }
}
BENCHMARK(BM_BuildQuickTable);

void BM_KanjiNumber(benchmark::State& state) {
    std::int64_t n = 0;
    for (auto _ : state) {
        auto text = ulvan::KanjiNumber(n);
        benchmark::DoNotOptimize(text);
        n = n == 150 ? 0 : n + 1;
    }
}
BENCHMARK(BM_KanjiNumber);

} // namespace
