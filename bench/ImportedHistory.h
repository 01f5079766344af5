#pragma once

// The generated full history, written to a temporary folder and imported
// once into a data file there.
#include "bench/GeneratedHistory.h"
#include "import/RatesFile.h"
#include "store/RateTable.h"
#include "tests/common/TempDir.h"

#include <filesystem>

namespace zentaro::bench {

struct ImportedHistory {
    test::TempDir folder;
    std::filesystem::path csv = folder / "eurofxref-hist.csv";
    std::filesystem::path dataFile = folder / "conversion data.kvx";
    RateTable table{'.', ByteCollation()};

    ImportedHistory()
    {
        test::WriteFile(csv, HistoryCsv());
        ImportRatesFile(table, csv, dataFile, kFileUpdateSuccessText);
    }
};

} // namespace zentaro::bench
