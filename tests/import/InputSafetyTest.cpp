#include "import/ImportError.h"
#include "import/InputFile.h"
#include "import/UpdateFile.h"
#include "import/UpdateImport.h"
#include "store/RateTable.h"
#include "tests/common/ChildProcess.h"
#include "tests/common/TableRows.h"
#include "tests/common/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace zentaro {
namespace {

using namespace std::chrono_literals;
using test::TempDir;
using test::WriteFile;

TEST(InputFile, WhatIsNotARegularFileOrTooLargeIsRefusedAtOnce)
{
    TempDir folder;
    ASSERT_EQ(::mkfifo((folder / "fifo.txt").c_str(), 0644), 0);
    std::filesystem::create_directory(folder / "folder.txt");
    WriteFile(folder / "large.txt", "2026-12-08 ECB\nEUR=1\n");
    ASSERT_EQ(::truncate((folder / "large.txt").c_str(), (16 << 20) + 1), 0);
    WriteFile(folder / "limit.txt", "");
    ASSERT_EQ(::truncate((folder / "limit.txt").c_str(), 16 << 20), 0);

    const struct {
        std::filesystem::path path;
        std::string reason; // empty: accepted
    } cases[] = {
        {folder / "fifo.txt", "Not a regular file"},
        {"/dev/zero", "Not a regular file"},
        {folder / "folder.txt", "Is a directory"},
        {folder / "large.txt", "The file is larger than 16 MiB"},
        {folder / "limit.txt", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.string());
        // In a child with a deadline: a reader that blocks or spins fails here.
        const auto outcome = test::RunInChild([&]() -> std::string {
            try {
                UpdateFileReader reader(c.path);
                while (!reader.ReadLine().empty()) {
                }
                return c.reason.empty() ? "" : "read it";
            } catch (const ImportError& error) {
                const std::string expected = "Cannot open file \"" + c.path.string() + "\". " + c.reason;
                return error.what() == expected ? "" : error.what();
            }
        }, 10s);
        ASSERT_TRUE(outcome.finished) << "the reader hung";
        EXPECT_EQ(outcome.text, "");
    }
}

TEST(Messages, QuotedInputIsCutToAReadableLength)
{
    TempDir folder;
    RateTable table('.', ByteCollation());
    test::AddRow(table, "A", "EUR", "1");
    WriteFile(folder / "u.txt", "B\nEUR=x" + std::string(10'000'000, '7') + "\n");
    const auto longName = folder / std::string(250, 'd');
    std::filesystem::create_directory(longName);
    const struct {
        const char* name;
        std::filesystem::path update;
        std::string message;
    } cases[] = {
        {"RateText", folder / "u.txt",
         "'x" + std::string(199, '7') + "...' is not a valid floating point value for field 'nilai'"},
        {"FileName", longName, "Cannot open file \"" + longName.string().substr(0, 200) + "...\". Is a directory"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            ImportUpdateFile(table, c.update, folder / "data.kvx", kFileUpdateSuccessText);
            ADD_FAILURE() << "imported";
        } catch (const ImportError& error) {
            EXPECT_EQ(error.what(), c.message);
        }
    }
}

} // namespace
} // namespace zentaro
