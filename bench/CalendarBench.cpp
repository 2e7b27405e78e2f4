// Speed of the calendar routines that run on every keystroke in a date field: the memorial
// schedule, the era conversion and date moves by very large counts (which must not cost more
// than small ones).
#include "calendar/DateCalc.h"
#include "calendar/Era.h"
#include "calendar/Schedule.h"

#include <benchmark/benchmark.h>

#include <climits>

namespace {

void BM_ComputeSchedule(benchmark::State& state) {
    ulvan::MemorialSchedule schedule = ulvan::DefaultSchedule();
    for (auto _ : state) {
        ulvan::ComputeSchedule(u"2019", u"1", u"31", schedule);
        benchmark::DoNotOptimize(schedule);
    }
}
BENCHMARK(BM_ComputeSchedule);

void BM_ComputeScheduleExtreme(benchmark::State& state) {
    ulvan::MemorialSchedule schedule = ulvan::DefaultSchedule();
    for (auto _ : state) {
        ulvan::ComputeSchedule(u"2147483647", u"-2147483648", u"-2147483648", schedule);
        benchmark::DoNotOptimize(schedule);
    }
}
BENCHMARK(BM_ComputeScheduleExtreme);

void BM_WarekiOf(benchmark::State& state) {
    // The newest eras sit at the end of the table walk; the undecided year builds the
    // eight-character form.
    const std::int64_t year = state.range(0);
    for (auto _ : state) {
        auto text = ulvan::WarekiOf(year, 0, 0);
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(BM_WarekiOf)->Arg(1400)->Arg(2000)->Arg(2019)->Arg(INT32_MAX);

void BM_AddDays(benchmark::State& state) {
    const std::int64_t count = state.range(0);
    ulvan::CalendarDate date{2019, 5, 1};
    for (auto _ : state) {
        benchmark::DoNotOptimize(date);
        auto moved = ulvan::AddDays(date, count);
        benchmark::DoNotOptimize(moved);
    }
}
BENCHMARK(BM_AddDays)->Arg(1)->Arg(99)->Arg(INT32_MAX)->Arg(INT32_MIN)->Arg(INT64_MAX);

void BM_WeekdayLabel(benchmark::State& state) {
    const ulvan::CalendarDate date{state.range(0), 12, 31};
    for (auto _ : state) {
        auto label = ulvan::WeekdayLabel(date);
        benchmark::DoNotOptimize(label);
    }
}
BENCHMARK(BM_WeekdayLabel)->Arg(2019)->Arg(INT32_MAX);

void BM_DaysBetween(benchmark::State& state) {
    const ulvan::CalendarDate from{INT32_MIN, INT32_MIN, INT32_MIN};
    const ulvan::CalendarDate to{INT32_MAX, INT32_MAX, INT32_MAX};
    for (auto _ : state) {
        benchmark::DoNotOptimize(ulvan::DaysBetween(from, to));
    }
}
BENCHMARK(BM_DaysBetween);

} // namespace
