// Importing a 200-line update file into a table of 1,000,000 rows, against
// one save of that table: the import scans every row once and saves once.
#include "import/RatesFile.h"
#include "import/UpdateImport.h"
#include "store/RateTable.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace {

constexpr int kBatches = 5000;
constexpr int kBatchRows = 200;

std::string Code(int i) { return 'C' + std::to_string(1000 + i); }

struct Workspace {
    std::filesystem::path folder;
    zentaro::RateTable table{'.', zentaro::ByteCollation()};
    int nextBatch = 0;

    Workspace()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "zentaro-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            std::abort();
        folder = pattern;
        for (int batch = 0; batch < kBatches; ++batch) {
            const std::string time = "2026-01-01 batch " + std::to_string(batch);
            for (int row = 0; row < kBatchRows; ++row) {
                table.Insert();
                table.DBEdit1().SetText(time);
                table.DBEdit2().SetText(Code(row));
                table.DBEdit3().SetText(std::to_string(row + 1) + ".2345");
                table.Post();
            }
        }
    }
    ~Workspace() { std::filesystem::remove_all(folder); }

    std::filesystem::path WriteUpdate()
    {
        const auto path = folder / "update.txt";
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << "2026-12-08 new " << nextBatch++ << "\r\n";
        for (int row = 0; row < kBatchRows; ++row)
            out << Code(row) << "=" << row + 1 << ".5678\r\n";
        return path;
    }
};

Workspace& Shared()
{
    static Workspace workspace;
    return workspace;
}

void BM_SaveMillionRows(benchmark::State& state)
{
    auto& work = Shared();
    for (auto _ : state)
        work.table.SaveToFile(work.folder / "conversion data.kvx");
    state.counters["rows"] = static_cast<double>(work.table.RecordCount());
}

void BM_ImportBatchIntoMillionRows(benchmark::State& state)
{
    auto& work = Shared();
    for (auto _ : state) {
        state.PauseTiming();
        const auto update = work.WriteUpdate();
        state.ResumeTiming();
        const auto result = zentaro::ImportRatesFile(work.table, update, work.folder / "conversion data.kvx",
                                                     zentaro::kFileUpdateSuccessText);
        if (result.rowsAdded != kBatchRows)
            state.SkipWithError("the batch was not added");
    }
    state.counters["rows"] = static_cast<double>(work.table.RecordCount());
}

BENCHMARK(BM_SaveMillionRows)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportBatchIntoMillionRows)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
