// zentaro-cli convert as a whole process, on the sample file and on the
// ECB's full history, next to GNU units doing the same conversion (skipped
// where units is not installed). The full-history run also reports the
// process's peak memory against the data file's size. That figure can be no
// lower than this benchmark's own size: a spawned child's peak starts at its
// parent's, which it shares until it executes the program. Below that floor,
// /usr/bin/time -v gives the program's own peak.
#include "bench/GeneratedHistory.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <sys/resource.h>

#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

// Runs a program with its output thrown away; its peak resident size in KiB
// goes to peakKiB when given.
int Run(std::vector<std::string> args, long* peakKiB = nullptr)
{
    std::vector<char*> argv;
    for (auto& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int spawned = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return -1;
    int status = 0;
    struct rusage usage {};
    wait4(child, &status, 0, &usage);
    if (peakKiB)
        *peakKiB = usage.ru_maxrss;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The benchmark's own folder, removed when the program ends.
const std::filesystem::path& Folder()
{
    struct Owned {
        std::filesystem::path path =
            std::filesystem::temp_directory_path() / ("zentaro-cli-bench-" + std::to_string(getpid()));
        Owned() { std::filesystem::create_directories(path); }
        ~Owned()
        {
            std::error_code ignored;
            std::filesystem::remove_all(path, ignored);
        }
    };
    static const Owned folder;
    return folder.path;
}

const std::string& SampleDataFile()
{
    static const std::string path = [] {
        const auto& folder = Folder();
        const std::string file = (folder / "conversion data.kvx").string();
        for (const char* day : {"2013-01-28", "2017-03-08", "2022-07-08"})
            Run({ZENTARO_CLI, "--decimal-separator", ".", "import", file,
                 std::string(ZENTARO_SAMPLES) + "/" + day + ".txt"});
        return file;
    }();
    return path;
}

void BM_ZentaroCliConvert(benchmark::State& state)
{
    const std::string& file = SampleDataFile();
    for (auto _ : state)
        if (Run({ZENTARO_CLI, "convert", file, "10", "USD", "JPY"}) != 0)
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
        Run({ZENTARO_CLI, "--decimal-separator", ".", "import", file, csv});
        return file;
    }();
    return path;
}

void BM_ZentaroCliConvertFullHistory(benchmark::State& state)
{
    const std::string& file = HistoryDataFile();
    const std::string from = zentaro::bench::CurrencyCode(0);
    const std::string to = zentaro::bench::CurrencyCode(5);
    long peakKiB = 0;
    for (auto _ : state)
        if (Run({ZENTARO_CLI, "--decimal-separator", ".", "convert", file, "10", from, to}, &peakKiB) != 0)
            state.SkipWithError("zentaro-cli convert failed");
    const double fileKiB = static_cast<double>(std::filesystem::file_size(file)) / 1024.0;
    state.counters["peakKiB"] = static_cast<double>(peakKiB);
    state.counters["fileKiB"] = fileKiB;
    state.counters["overFileKiB"] = static_cast<double>(peakKiB) - fileKiB;
}
BENCHMARK(BM_ZentaroCliConvertFullHistory)->Unit(benchmark::kMillisecond);

void BM_GnuUnitsConvert(benchmark::State& state)
{
    if (Run({"units", "-t", "10 USD", "JPY"}) != 0) {
        state.SkipWithError("GNU units is not installed");
        return;
    }
    long peakKiB = 0;
    for (auto _ : state)
        Run({"units", "-t", "10 USD", "JPY"}, &peakKiB);
    state.counters["peakKiB"] = static_cast<double>(peakKiB);
}
BENCHMARK(BM_GnuUnitsConvert)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
