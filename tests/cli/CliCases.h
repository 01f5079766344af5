#pragma once

#include "store/RateTable.h"
#include "tests/common/RunProcess.h"
#include "tests/common/TableRows.h"
#include "tests/common/TempDir.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace zentaro::test {

// A data file in a folder of its own.
struct DataFileFolder {
    TempDir dir;
    std::string file = (dir / "data.kvx").string();

    void Save(const std::vector<Row>& rows) const
    {
        RateTable table('.', ByteCollation());
        AddRows(table, rows);
        table.SaveToFile(file);
    }
};

// One run of zentaro-cli and what it prints.
struct CliCase {
    const char* name;
    std::vector<std::string> args; // "DATA" stands for the data file
    int status;
    std::string out;
    std::string err;
};

// Test names carry the case; the listing needs no byte dump of it.
inline void PrintTo(const CliCase& c, std::ostream* out) { *out << c.name; }
inline std::string CliCaseName(const ::testing::TestParamInfo<CliCase>& info) { return info.param.name; }

// A table of runs over one data file.
class CliCaseTest : public ::testing::TestWithParam<CliCase>, protected DataFileFolder {
protected:
    // The case's command after "--decimal-separator .".
    ProcessResult RunCase() const
    {
        std::vector<std::string> args{"--decimal-separator", "."};
        for (const auto& arg : GetParam().args)
            args.push_back(arg == "DATA" ? file : arg);
        return RunProcess(ZENTARO_CLI, args);
    }
};

} // namespace zentaro::test
