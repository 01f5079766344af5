// The ECB's full history at its real size: importing it into an empty data
// file, importing one more day into it against one save of it, loading it
// (also with its newest day stored first), and the work of choosing an upload time (the currency pass, two lookups
// and a conversion).
#include "bench/ImportedHistory.h"
#include "import/RatesFile.h"
#include "store/ConversionRules.h"
#include "store/RateTable.h"
#include "tests/common/TempDir.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

namespace {

using zentaro::bench::HistoryCsv;
using zentaro::test::TempDir;
using zentaro::test::WriteFile;

struct History : zentaro::bench::ImportedHistory {
    int nextDay = zentaro::bench::kHistoryDays;
};

History& Shared()
{
    static History history;
    return history;
}

void BM_ImportFullHistoryIntoAnEmptyFile(benchmark::State& state)
{
    auto& history = Shared();
    const auto dataFile = history.folder / "fresh.kvx";
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::remove(dataFile);
        auto table = std::make_unique<zentaro::RateTable>('.', zentaro::ByteCollation());
        state.ResumeTiming();
        const auto result = zentaro::ImportRatesFile(*table, history.csv, dataFile, zentaro::kFileUpdateSuccessText);
        if (result.rowsAdded != zentaro::bench::kHistoryDays * (zentaro::bench::kHistoryCurrencies + 1))
            state.SkipWithError("the history was not added whole");
        state.PauseTiming();
        table.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ImportFullHistoryIntoAnEmptyFile)->Unit(benchmark::kMillisecond);

void BM_SaveFullHistory(benchmark::State& state)
{
    auto& history = Shared();
    for (auto _ : state)
        history.table.SaveToFile(history.dataFile);
    state.counters["rows"] = static_cast<double>(history.table.RecordCount());
}
BENCHMARK(BM_SaveFullHistory)->Unit(benchmark::kMillisecond);

void BM_ImportOneMoreDay(benchmark::State& state)
{
    auto& history = Shared();
    const auto daily = history.folder / "eurofxref-daily.xml";
    for (auto _ : state) {
        state.PauseTiming();
        WriteFile(daily, zentaro::bench::DailyXml(zentaro::bench::HistoryDate(history.nextDay++)));
        state.ResumeTiming();
        const auto result = zentaro::ImportRatesFile(history.table, daily, history.dataFile,
                                                     zentaro::kFileUpdateSuccessText);
        if (result.outcome != zentaro::ImportOutcome::Added)
            state.SkipWithError("the day was not added");
    }
}
BENCHMARK(BM_ImportOneMoreDay)->Unit(benchmark::kMillisecond);

void BM_LoadFullHistory(benchmark::State& state)
{
    auto& history = Shared();
    history.table.SaveToFile(history.dataFile);
    zentaro::RateTable table('.', zentaro::ByteCollation());
    for (auto _ : state)
        table.LoadFromFile(history.dataFile);
    state.counters["rows"] = static_cast<double>(table.RecordCount());
}
BENCHMARK(BM_LoadFullHistory)->Unit(benchmark::kMillisecond);

// The newest day stored first and the history after it, as importing
// today's file and then the history leaves the file: the load puts the
// batches in order by upload time with the user's collation.
void BM_LoadFullHistoryNewestStoredFirst(benchmark::State& state)
{
    static const TempDir folder;
    const auto dataFile = folder / "conversion data.kvx";
    const std::string newest = zentaro::bench::HistoryDate(zentaro::bench::kHistoryDays);
    {
        zentaro::RateTable table('.', zentaro::LocaleCollation());
        WriteFile(folder / "eurofxref-daily.xml", zentaro::bench::DailyXml(newest));
        WriteFile(folder / "eurofxref-hist.csv", HistoryCsv());
        for (const char* name : {"eurofxref-daily.xml", "eurofxref-hist.csv"})
            zentaro::ImportRatesFile(table, folder / name, dataFile, zentaro::kFileUpdateSuccessText);
    }
    zentaro::RateTable table('.', zentaro::LocaleCollation());
    for (auto _ : state)
        table.LoadFromFile(dataFile);
    if (zentaro::CurrentUploadTime(table) != newest)
        state.SkipWithError("the newest day is not current");
    state.counters["rows"] = static_cast<double>(table.RecordCount());
}
BENCHMARK(BM_LoadFullHistoryNewestStoredFirst)->Unit(benchmark::kMillisecond);

void BM_ChooseAnUploadTime(benchmark::State& state)
{
    auto& table = Shared().table;
    const std::string time = zentaro::bench::HistoryDate(zentaro::bench::kHistoryDays / 2);
    // What the window does: one pass gives both lists, then both rates and the conversion.
    for (auto _ : state) {
        const auto entries = zentaro::SortCurrencyEntries(zentaro::BuildCurrencyList(table, time).entries);
        const auto source = zentaro::LookUpStoredRate(table, time, entries.front());
        const auto target = zentaro::LookUpStoredRate(table, time, entries.back());
        const auto result = zentaro::ConvertWithRates("100", source, target, '.', zentaro::EmptyAmount::IsZero);
        if (!result)
            state.SkipWithError("no rate at that time");
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(BM_ChooseAnUploadTime)->Unit(benchmark::kMicrosecond);

void BM_UploadTimeList(benchmark::State& state)
{
    auto& table = Shared().table;
    for (auto _ : state)
        benchmark::DoNotOptimize(zentaro::BuildUploadTimeList(table));
}
BENCHMARK(BM_UploadTimeList)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
