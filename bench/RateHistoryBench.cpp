// The ECB's full history at its real size: the date rule (building the index
// of days once per load, then one typed date), a pair's series over every
// day, and zentaro-cli convert - on many lines as a whole process.
#include "bench/ImportedHistory.h"
#include "store/DateLookup.h"
#include "store/RateHistory.h"
#include "tests/common/RunProcess.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

using zentaro::bench::CurrencyCode;
using zentaro::bench::HistoryDate;
using zentaro::bench::kHistoryDays;

zentaro::bench::ImportedHistory& Shared()
{
    static zentaro::bench::ImportedHistory history;
    return history;
}

// What a window does when the user types a date after a load: the index of
// days, then the pick.
void BM_DateRuleAfterALoad(benchmark::State& state)
{
    auto& history = Shared();
    const std::string saturday = "2012-06-16";
    for (auto _ : state) {
        const auto dates = zentaro::UploadTimeDates::Of(history.table);
        auto choice = zentaro::ChooseUploadTimeOn(dates, saturday);
        if (choice.outcome != zentaro::DateOutcome::Picked)
            state.SkipWithError("no day picked");
        benchmark::DoNotOptimize(choice);
    }
    state.counters["days"] = static_cast<double>(zentaro::UploadTimeDates::Of(history.table).Entries().size());
}
BENCHMARK(BM_DateRuleAfterALoad)->Unit(benchmark::kMicrosecond);

// Each further typed date on the same load.
void BM_DateRuleOnTheIndex(benchmark::State& state)
{
    const auto dates = zentaro::UploadTimeDates::Of(Shared().table);
    std::vector<std::string> typed;
    for (int day = 0; day < kHistoryDays; day += 97)
        typed.push_back(HistoryDate(day));
    std::size_t next = 0;
    for (auto _ : state) {
        auto choice = zentaro::ChooseUploadTimeOn(dates, typed[next++ % typed.size()]);
        benchmark::DoNotOptimize(choice);
    }
}
BENCHMARK(BM_DateRuleOnTheIndex)->Unit(benchmark::kNanosecond);

void BM_PairHistoryWholeHistory(benchmark::State& state)
{
    auto& history = Shared();
    const std::string from = CurrencyCode(3);
    const std::string to = CurrencyCode(17);
    std::size_t points = 0;
    for (auto _ : state) {
        const auto series = zentaro::PairHistory(history.table, from, to);
        points = series.size();
        benchmark::DoNotOptimize(series.data());
    }
    if (points != static_cast<std::size_t>(kHistoryDays))
        state.SkipWithError("the series misses days");
    state.counters["points"] = static_cast<double>(points);
}
BENCHMARK(BM_PairHistoryWholeHistory)->Unit(benchmark::kMillisecond);

// The whole process: start, load of the full history, and state.range(0)
// lines over all 32 currencies, reported as conversions per second.
void BM_ZentaroCliConvertBatch(benchmark::State& state)
{
    auto& history = Shared();
    const auto lines = static_cast<int>(state.range(0));
    const std::string input = (history.folder / "batch.txt").string();
    {
        std::ofstream out(input, std::ios::binary);
        for (int i = 0; i < lines; ++i)
            out << (i % 1000) << "." << (i % 100) << ' ' << CurrencyCode(i % zentaro::bench::kHistoryCurrencies)
                << ' ' << CurrencyCode(i * 7 % zentaro::bench::kHistoryCurrencies) << '\n';
    }
    const std::vector<std::string> args = {ZENTARO_CLI, "--decimal-separator", ".", "convert",
                                           history.dataFile.string(), "-"};
    for (auto _ : state)
        if (zentaro::test::RunQuietly(args, input) != 0)
            state.SkipWithError("zentaro-cli convert - failed");
    state.counters["conversions/s"] =
        benchmark::Counter(static_cast<double>(lines), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_ZentaroCliConvertBatch)->Arg(200000)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
