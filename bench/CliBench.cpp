// zentaro-cli convert as a whole process, next to GNU units doing the same
// conversion (skipped where units is not installed).
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

int Run(std::vector<std::string> args)
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
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

const std::string& SampleDataFile()
{
    static const std::string path = [] {
        const auto folder = std::filesystem::temp_directory_path() / ("zentaro-cli-bench-" + std::to_string(getpid()));
        std::filesystem::create_directories(folder);
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

void BM_GnuUnitsConvert(benchmark::State& state)
{
    if (Run({"units", "-t", "10 USD", "JPY"}) != 0) {
        state.SkipWithError("GNU units is not installed");
        return;
    }
    for (auto _ : state)
        Run({"units", "-t", "10 USD", "JPY"});
}
BENCHMARK(BM_GnuUnitsConvert)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
