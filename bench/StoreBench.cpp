// Load, save and scan of a million-row table against plain file I/O of the
// same bytes. Run: bench-store [--benchmark_filter=...]
#include "store/PacketReader.h"
#include "store/PacketWriter.h"
#include "store/RateTable.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr std::size_t kRows = 1'000'000;
constexpr std::size_t kBatch = 200;
const char* const kCurrencies[] = {"USD", "JPY", "GBP", "CHF", "AUD", "CAD", "SEK", "NOK"};

std::filesystem::path Folder()
{
    static const std::filesystem::path folder = [] {
        auto path = std::filesystem::temp_directory_path() / ("zentaro-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(path);
        return path;
    }();
    return folder;
}

// A data file as a million imported rows leave it: 5,000 batches of 200 rates.
const std::filesystem::path& DataFile()
{
    static const std::filesystem::path path = [] {
        zentaro::TableData data = zentaro::TableData::RateTableDefinition();
        char tgl[32];
        for (std::size_t row = 0; row < kRows; ++row) {
            const std::size_t batch = row / kBatch;
            std::snprintf(tgl, sizeof tgl, "%04zu-%02zu-%02zu %04zu", 2000 + batch / 365,
                          1 + batch % 12, 1 + batch % 28, batch);
            data.status.push_back(zentaro::kRowInserted);
            data.values[0].AppendText(tgl);
            data.values[1].AppendText(kCurrencies[row % 8]);
            data.values[2].AppendFloat(1.0 + static_cast<double>(row % 1000) / 7.0);
            data.changeLog.push_back({static_cast<std::uint32_t>(row + 1), 0, zentaro::kChangeInsert});
        }
        const auto packet = zentaro::BuildPacket(data);
        const auto file = Folder() / "conversion data.kvx";
        std::FILE* out = std::fopen(file.c_str(), "wb");
        std::fwrite(packet.data(), 1, packet.size(), out);
        std::fclose(out);
        return file;
    }();
    return path;
}

std::vector<std::byte> ReadWhole(const std::filesystem::path& path)
{
    std::vector<std::byte> bytes(std::filesystem::file_size(path));
    const int fd = ::open(path.c_str(), O_RDONLY);
    std::size_t done = 0;
    while (done < bytes.size()) {
        const auto got = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (got <= 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    ::close(fd);
    return bytes;
}

void BM_ReadFileBytes(benchmark::State& state)
{
    const auto& path = DataFile();
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadWhole(path));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * std::filesystem::file_size(path)));
}
BENCHMARK(BM_ReadFileBytes)->Unit(benchmark::kMillisecond);

void BM_LoadFromFile(benchmark::State& state)
{
    const auto& path = DataFile();
    zentaro::RateTable table('.', zentaro::ByteCollation());
    for (auto _ : state)
        table.LoadFromFile(path);
    state.counters["rows"] = static_cast<double>(table.RecordCount());
}
BENCHMARK(BM_LoadFromFile)->Unit(benchmark::kMillisecond);

// Writing the same number of bytes to a new file and flushing it to disk,
// which is what a save must do to be safe.
void BM_WriteFileBytes(benchmark::State& state)
{
    const auto bytes = ReadWhole(DataFile());
    const auto target = Folder() / "plain.bin";
    for (auto _ : state) {
        const int fd = ::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        benchmark::DoNotOptimize(::write(fd, bytes.data(), bytes.size()));
        ::fsync(fd);
        ::close(fd);
    }
}
BENCHMARK(BM_WriteFileBytes)->Unit(benchmark::kMillisecond);

void BM_SaveToFile(benchmark::State& state)
{
    zentaro::RateTable table('.', zentaro::ByteCollation());
    table.LoadFromFile(DataFile());
    const auto target = Folder() / "saved.kvx";
    for (auto _ : state)
        table.SaveToFile(target);
}
BENCHMARK(BM_SaveToFile)->Unit(benchmark::kMillisecond);

void BM_BuildPacket(benchmark::State& state)
{
    zentaro::RateTable table('.', zentaro::ByteCollation());
    table.LoadFromFile(DataFile());
    for (auto _ : state)
        benchmark::DoNotOptimize(zentaro::BuildPacket(table.Data()));
}
BENCHMARK(BM_BuildPacket)->Unit(benchmark::kMillisecond);

void BM_ScanUploadTimeAndCurrency(benchmark::State& state)
{
    zentaro::RateTable table('.', zentaro::ByteCollation());
    table.LoadFromFile(DataFile());
    for (auto _ : state) {
        std::size_t bytes = 0;
        table.First();
        bytes += table.DBEdit1().Text().size() + table.DBEdit2().Text().size();
        while (!table.AtLastRow()) {
            table.Next();
            bytes += table.DBEdit1().Text().size() + table.DBEdit2().Text().size();
        }
        benchmark::DoNotOptimize(bytes);
    }
}
BENCHMARK(BM_ScanUploadTimeAndCurrency)->Unit(benchmark::kMillisecond);

// Peak resident memory of a fresh process that loads the file, against its size.
void BM_LoadPeakMemory(benchmark::State& state)
{
    const auto& path = DataFile();
    double peakBytes = 0;
    for (auto _ : state) {
        const pid_t child = ::fork();
        if (child == 0) {
            zentaro::RateTable table('.', zentaro::ByteCollation());
            table.LoadFromFile(path);
            ::_exit(table.RecordCount() == kRows ? 0 : 1);
        }
        int status = 0;
        rusage usage{};
        ::wait4(child, &status, 0, &usage);
        peakBytes = static_cast<double>(usage.ru_maxrss) * 1024;
    }
    state.counters["peak_MB"] = peakBytes / 1e6;
    state.counters["file_MB"] = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
    state.counters["peak_per_file"] = peakBytes / static_cast<double>(std::filesystem::file_size(path));
}
BENCHMARK(BM_LoadPeakMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(Folder());
    return 0;
}
