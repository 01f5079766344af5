// zentaro-cli convert as a whole process, on the sample file and on the
// ECB's full history, next to GNU units doing the same conversion (skipped
// where units is not installed). The full-history run also reports the
// process's peak memory against the data file's size, measured through GNU
// time where it is installed: a child's peak starts at its parent's size, and
// time is far smaller than this benchmark.
#include "bench/GeneratedHistory.h"
#include "tests/common/RunProcess.h"
#include "tests/common/TempDir.h"

#include <benchmark/benchmark.h>

#include <fstream>

#include <filesystem>
#include <string>
#include <vector>

namespace {


// The benchmark's own folder, removed when the program ends.
const std::filesystem::path& Folder()
{
    static const zentaro::test::TempDir folder;
    return folder.Path();
}

// The peak resident size in KiB of one run of a program, as GNU time sees
// it; -1 where time is not installed or the run failed.
long PeakKiB(const std::vector<std::string>& args)
{
    const std::string report = (Folder() / "peak").string();
    std::vector<std::string> timed = {"/usr/bin/time", "-f", "%M", "-o", report};
    timed.insert(timed.end(), args.begin(), args.end());
    if (!std::filesystem::exists(timed[0]) || zentaro::test::RunQuietly(timed) != 0)
        return -1;
    long kib = -1;
    std::ifstream(report) >> kib;
    return kib;
}

const std::string& SampleDataFile()
{
    static const std::string path = [] {
        const auto& folder = Folder();
        const std::string file = (folder / "conversion data.kvx").string();
        for (const char* day : {"2013-01-28", "2017-03-08", "2022-07-08"})
            zentaro::test::RunQuietly({ZENTARO_CLI, "--decimal-separator", ".", "import", file,
                 std::string(ZENTARO_SAMPLES) + "/" + day + ".txt"});
        return file;
    }();
    return path;
}

void BM_ZentaroCliConvert(benchmark::State& state)
{
    const std::string& file = SampleDataFile();
    for (auto _ : state)
        if (zentaro::test::RunQuietly({ZENTARO_CLI, "convert", file, "10", "USD", "JPY"}) != 0)
            state.SkipWithError("zentaro-cli convert failed");
}
BENCHMARK(BM_ZentaroCliConvert)->Unit(benchmark::kMillisecond);

const std::string& HistoryDataFile()
{
    static const std::string path = [] {
        const auto& folder = Folder();
        const std::string csv = (folder / "eurofxref-hist.csv").string();
        std::ofstream(csv, std::ios::binary) << zentaro::bench::HistoryCsv();
        const std::string file = (folder / "history.kvx").string();
        zentaro::test::RunQuietly({ZENTARO_CLI, "--decimal-separator", ".", "import", file, csv});
        return file;
    }();
    return path;
}

void BM_ZentaroCliConvertFullHistory(benchmark::State& state)
{
    const std::string& file = HistoryDataFile();
    const std::string from = zentaro::bench::CurrencyCode(0);
    const std::string to = zentaro::bench::CurrencyCode(5);
    const std::vector<std::string> convert = {ZENTARO_CLI, "--decimal-separator", ".", "convert", file, "10", from, to};
    for (auto _ : state)
        if (zentaro::test::RunQuietly(convert) != 0)
            state.SkipWithError("zentaro-cli convert failed");
    const long peakKiB = PeakKiB(convert);
    const double fileKiB = static_cast<double>(std::filesystem::file_size(file)) / 1024.0;
    state.counters["peakKiB"] = static_cast<double>(peakKiB);
    state.counters["fileKiB"] = fileKiB;
    state.counters["overFileKiB"] = static_cast<double>(peakKiB) - fileKiB;
}
BENCHMARK(BM_ZentaroCliConvertFullHistory)->Unit(benchmark::kMillisecond);

void BM_GnuUnitsConvert(benchmark::State& state)
{
    if (zentaro::test::RunQuietly({"units", "-t", "10 USD", "JPY"}) != 0) {
        state.SkipWithError("GNU units is not installed");
        return;
    }
    for (auto _ : state)
        zentaro::test::RunQuietly({"units", "-t", "10 USD", "JPY"});
    state.counters["peakKiB"] = static_cast<double>(PeakKiB({"units", "-t", "10 USD", "JPY"}));
}
BENCHMARK(BM_GnuUnitsConvert)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
