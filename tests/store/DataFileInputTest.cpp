#include "store/DataFileInput.h"
#include "store/StoreError.h"
#include "tests/common/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace zentaro {
namespace {

using test::TempDir;
using test::WriteFile;

TEST(ReadRegularFile, ReadsARegularFileWholeAndRefusesAnythingElse)
{
    TempDir folder;
    WriteFile(folder / "rates.txt", std::string("a\0b\n", 4));
    WriteFile(folder / "limit.txt", std::string(3 << 20, 'x'));
    WriteFile(folder / "large.txt", std::string((3 << 20) + 1, 'x'));
    ASSERT_EQ(::mkfifo((folder / "fifo").c_str(), 0644), 0);
    const struct {
        const char* name;
        std::filesystem::path path;
        std::string error; // empty: read
        int openError;     // what onOpenError was given, 0 when not called
    } cases[] = {
        {"regular", folder / "rates.txt", "", 0},
        {"at the cap", folder / "limit.txt", "", 0},
        {"over the cap", folder / "large.txt",
         "Opening \"" + (folder / "large.txt").string() + "\". The file is larger than 3 MiB", 0},
        {"missing", folder / "absent", "Opening \"" + (folder / "absent").string() + "\". No such file or directory",
         ENOENT},
        {"under a file", folder / "rates.txt" / "x",
         "Opening \"" + (folder / "rates.txt" / "x").string() + "\". Not a directory", ENOTDIR},
        {"FIFO", folder / "fifo", "Opening \"" + (folder / "fifo").string() + "\". Not a regular file", 0},
        {"folder", folder.Path(), "Opening \"" + folder.Path().string() + "\". Is a directory", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        int openError = 0;
        WholeFileRead how;
        how.maxSize = std::size_t{3} << 20;
        how.openFailure = "Opening";
        how.readFailure = "Reading";
        how.onOpenError = [&](int error) { openError = error; };
        try {
            const WholeFile file = ReadRegularFile(c.path, how);
            EXPECT_EQ(c.error, "");
            EXPECT_EQ(file.bytes, test::ReadFile(c.path));
            EXPECT_EQ(static_cast<std::size_t>(file.info.st_size), file.bytes.size());
        } catch (const StoreError& error) {
            EXPECT_EQ(error.what(), c.error);
        }
        EXPECT_EQ(openError, c.openError);
    }
}

// Only a missing data file is a first start: a path through a file is an error.
TEST(OpenDataFileInput, OnlyAMissingFileCallsOnMissing)
{
    TempDir folder;
    WriteFile(folder / "file", "x");
    const std::pair<std::filesystem::path, bool> cases[] = {{folder / "absent.kvx", true},
                                                            {folder / "file" / "d.kvx", false}};
    for (const auto& [path, missing] : cases) {
        bool called = false;
        EXPECT_THROW(OpenDataFileInput(path, [&] { called = true; }), StoreError);
        EXPECT_EQ(called, missing) << path;
    }
}

} // namespace
} // namespace zentaro
