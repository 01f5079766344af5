#include "import/ImportError.h"
#include "import/InputFile.h"
#include "import/RatesFile.h"
#include "import/UpdateImport.h"
#include "store/RateTable.h"
#include "tests/common/ChildProcess.h"
#include "tests/common/TableRows.h"
#include "tests/common/TempDir.h"
#include "tests/common/ZipOf.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
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
    WriteFile(folder / "plain.txt", "x");

    const struct {
        std::filesystem::path path;
        std::string error; // empty: read whole
    } cases[] = {
        {folder / "fifo.txt", "Cannot open file \"" + (folder / "fifo.txt").string() + "\". Not a regular file"},
        {"/dev/zero", "Cannot open file \"/dev/zero\". Not a regular file"},
        {folder / "folder.txt", "Cannot open file \"" + (folder / "folder.txt").string() + "\". Is a directory"},
        {folder / "large.txt",
         "Cannot open file \"" + (folder / "large.txt").string() + "\". The file is larger than 16 MiB"},
        {folder / "limit.txt", ""},
        {folder / "absent.txt", "File not found"},
        {folder / "plain.txt" / "under a file", "File not found"}, // ENOTDIR
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.string());
        // In a child with a deadline: a reader that blocks or spins fails here.
        const auto outcome = test::RunInChild([&]() -> std::string {
            try {
                const std::string bytes = ReadInputFile(c.path);
                if (!c.error.empty())
                    return "read it";
                return bytes.size() == kMaxInputFileSize ? "" : "read " + std::to_string(bytes.size()) + " bytes";
            } catch (const ImportError& error) {
                return error.what() == c.error ? "" : error.what();
            }
        }, 10s);
        ASSERT_TRUE(outcome.finished) << "the reader hung";
        EXPECT_EQ(outcome.text, "");
    }
}

TEST(Messages, QuotedInputIsCutToAReadableLengthAndShowsControlBytes)
{
    TempDir folder;
    RateTable table('.', ByteCollation());
    test::AddRow(table, "A", "EUR", "1");
    test::AddRow(table, "a\tb\\c", "EUR", "1");
    WriteFile(folder / "u.txt", "B\nEUR=x" + std::string(10'000'000, '7') + "\n");
    WriteFile(folder / "tab.txt", "a\tb\\c\nEUR=1\n");
    const auto longName = folder / std::string(250, 'd');
    std::filesystem::create_directory(longName);
    const auto oddName = folder / "new\nline";
    std::filesystem::create_directory(oddName);
    const struct {
        const char* name;
        std::filesystem::path update;
        std::string message;
    } cases[] = {
        {"RateText", folder / "u.txt",
         "'x" + std::string(199, '7') + "...' is not a valid floating point value for field 'nilai'"},
        {"FileName", longName, "Cannot open file \"" + longName.string().substr(0, 200) + "...\". Is a directory"},
        {"FileNameWithLineEnd", oddName,
         "Cannot open file \"" + folder.Path().string() + "/new\\nline\". Is a directory"},
        // A backslash stays as typed; the tab shows.
        {"UploadTime", folder / "tab.txt", "Upload Time : a\\tb\\c is already exist"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            const ImportResult result = ImportRatesFile(table, c.update, folder / "data.kvx", kFileUpdateSuccessText);
            EXPECT_EQ(result.message, c.message);
        } catch (const ImportError& error) {
            EXPECT_EQ(error.what(), c.message);
        }
    }
}

// The peak memory of the process, in bytes.
std::size_t PeakMemory()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<std::size_t>(usage.ru_maxrss) * 1024;
}

std::string HistoryCsvOf(std::size_t days, std::size_t codes)
{
    std::string csv = "Date";
    for (std::size_t c = 0; c < codes; ++c)
        csv += std::string(",") + char('A' + c / 676) + char('A' + c / 26 % 26) + char('A' + c % 26);
    csv += ",\n";
    std::string line;
    for (std::size_t c = 0; c < codes; ++c)
        line += ",1.2345";
    line += ",\n";
    // 300 distinct days a year: the 1st to the 25th of each month.
    for (std::size_t d = 0; d < days; ++d) {
        const std::size_t month = 1 + d % 300 / 25, day = 1 + d % 25;
        csv += std::to_string(2000 + d / 300) + (month < 10 ? "-0" : "-") + std::to_string(month) +
               (day < 10 ? "-0" : "-") + std::to_string(day) + line;
    }
    return csv;
}

// A zip whose headers say the entry holds claimedSize bytes, whatever it holds.
std::string WithClaimedSize(std::string zip, std::uint32_t claimedSize)
{
    const auto put = [&](std::size_t at) {
        for (int i = 0; i < 4; ++i)
            zip[at + static_cast<std::size_t>(i)] = static_cast<char>(claimedSize >> (8 * i) & 0xff);
    };
    put(22);                                            // the local header's uncompressed size
    put(zip.find(std::string("PK\x01\x02", 4)) + 24); // the central directory's
    return zip;
}

// Each refusal comes fast (the child's deadline) and within a bound of
// memory: the input read whole, a copy, and some slack; no day is built.
// AddressSanitizer keeps freed blocks in quarantine, so that peaks there
// count every byte ever allocated: the bounds are checked without it.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kPeaksAreMeaningful = false;
#else
constexpr bool kPeaksAreMeaningful = true;
#endif

TEST(BoundedWork, LargeInputsAreRefusedFastWithinAMemoryBound)
{
    const std::string inflating = std::string(17 << 20, '7'); // more than 16 MiB unpacked, a few KB packed
    const std::string overRows = HistoryCsvOf(4'001, 100);    // 404,001 rows
    const std::string overDays = HistoryCsvOf(50'001, 1);     // 50,001 days
    const struct {
        const char* name;
        std::string file;
        std::size_t bound; // growth of the peak memory, bytes
        std::string error;
    } cases[] = {
        {"inflating zip", test::ZipOf("eurofxref-hist.csv", "Date,USD,\n" + inflating), 4 << 20,
         "The zip file's eurofxref-hist.csv unpacks to more than 16 MiB; one import takes at most that"},
        {"zip whose header lies", WithClaimedSize(test::ZipOf("e.csv", "Date,USD,\n" + inflating), 1000), 8 << 20,
         "Malformed ECB rates file: broken zip file: e.csv unpacks to more bytes than its header says"},
        {"zip whose header claims more",
         WithClaimedSize(test::ZipOf("e.csv", "Date,USD,\n" + std::string(5000, '\n')), 100'000),
         8 << 20, "Malformed ECB rates file: broken zip file: e.csv unpacks to fewer bytes than its header says"},
        {"CSV over the row limit", overRows, 2 * overRows.size() + (4 << 20),
         "The rates file holds more than 400,000 rates; one import takes at most 400,000 rows"},
        // An update file's longest line is held a few times at most.
        {"update file of one long line", std::string(kMaxInputFileSize, 'T'), 3 * kMaxInputFileSize + (4 << 20),
         std::string(kNoRatesText)},
        {"update file with a long rate", "T\nUSD=x" + std::string(kMaxInputFileSize - 8, '7'),
         3 * kMaxInputFileSize + (4 << 20),
         "'x" + std::string(199, '7') + "...' is not a valid floating point value for field 'nilai'"},
        {"CSV over the day limit", overDays, 2 * overDays.size() + (4 << 20),
         "The rates file holds more than 50,000 days; one import takes at most 50,000"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir folder;
        WriteFile(folder / "rates", c.file);
        const auto outcome = test::RunInChild([&]() -> std::string {
            RateTable table('.', ByteCollation());
            const std::size_t before = PeakMemory();
            try {
                ImportRatesFile(table, folder / "rates", folder / "data.kvx", kFileUpdateSuccessText);
                return "imported";
            } catch (const ImportError& error) {
                if (error.what() != c.error)
                    return error.what();
            }
            const std::size_t growth = PeakMemory() - before;
            if (kPeaksAreMeaningful && growth > c.bound)
                return "the peak memory grew by " + std::to_string(growth >> 20) + " MiB";
            return table.RecordCount() == 0 && !std::filesystem::exists(folder / "data.kvx") ? "" : "added rows";
        }, 20s);
        ASSERT_TRUE(outcome.finished) << "the import took too long";
        EXPECT_EQ(outcome.text, "");
    }
}

// The whole ECB history fits well within the limits.
TEST(BoundedWork, AFileAtTheLimitsIsImported)
{
    TempDir folder;
    WriteFile(folder / "rates", HistoryCsvOf(4'000, 99)); // 400,000 rows
    RateTable table('.', ByteCollation());
    const ImportResult result = ImportRatesFile(table, folder / "rates", folder / "data.kvx", kFileUpdateSuccessText);
    EXPECT_EQ(result.rowsAdded, 400'000u);
}

} // namespace
} // namespace zentaro
