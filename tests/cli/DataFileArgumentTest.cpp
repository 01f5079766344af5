#include "store/RateTable.h"
#include "tests/common/RunProcess.h"
#include "tests/common/TableRows.h"
#include "tests/common/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>

namespace zentaro {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

// zentaro-cli copied into an install tree (prefix/bin beside
// prefix/share/zentaro with the sample data) and into a portable folder, run
// with a fresh HOME.
class DataFileArgument : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::create_directories(root / "usr/bin");
        fs::create_directories(root / "usr/share/zentaro");
        fs::create_directories(root / "portable");
        fs::create_directories(root / "home");
        for (const auto& folder : {root / "usr/bin", root / "portable"})
            fs::copy_file(ZENTARO_CLI, folder / "zentaro-cli");
        RateTable table('.', ByteCollation());
        test::AddRow(table, "2013-01-28", "USD", "1.25");
        test::AddRow(table, "2013-01-28", "JPY", "125");
        table.SaveToFile(sample);
        test::WriteFile(root / "update.txt", "2026-12-08\nUSD=2\nJPY=300\n");
    }

    test::ProcessResult Run(const fs::path& folder, std::vector<std::string> args)
    {
        args.insert(args.begin(), {"--decimal-separator", "."});
        std::vector<std::string> environment = {"HOME=" + (root / "home").string(), "LC_ALL=C"};
        if (dataHome)
            environment.push_back("XDG_DATA_HOME=" + *dataHome);
        return test::RunProcess((folder / "zentaro-cli").string(), args, environment);
    }
    test::ProcessResult Installed(std::vector<std::string> args) { return Run(root / "usr/bin", std::move(args)); }

    test::TempDir root;
    std::optional<std::string> dataHome;
    fs::path sample = root / "usr/share/zentaro/conversion data.kvx";
    fs::path userFile = root / "home/.local/share/zentaro/conversion data.kvx";
};

TEST_F(DataFileArgument, InstalledCliStartsFromTheSampleAndImportsIntoTheUsersFile)
{
    const std::string sampleBytes = test::ReadFile(sample);
    const auto help = Installed({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_THAT(help.out, HasSubstr('"' + userFile.string() + '"'));
    EXPECT_FALSE(fs::exists(userFile)); // the help only names it

    const auto converted = Installed({"convert", "10", "USD", "JPY"});
    EXPECT_EQ(converted.status, 0) << converted.err;
    EXPECT_EQ(converted.out, "1000\n");
    EXPECT_EQ(test::ReadFile(userFile), sampleBytes);

    const auto imported = Installed({"import", (root / "update.txt").string()});
    EXPECT_EQ(imported.status, 0) << imported.err;
    EXPECT_EQ(Installed({"times"}).out, "2013-01-28\n2026-12-08\n");
    EXPECT_EQ(Installed({"convert", "10", "USD", "JPY"}).out, "1500\n");
    EXPECT_EQ(Installed({"import", (root / "update.txt").string()}).status, 3);

    // The install tree holds what it held.
    EXPECT_EQ(test::ReadFile(sample), sampleBytes);
    std::vector<fs::path> installed;
    for (const auto& entry : fs::recursive_directory_iterator(root / "usr"))
        installed.push_back(entry.path());
    std::sort(installed.begin(), installed.end());
    EXPECT_EQ(installed, (std::vector<fs::path>{root / "usr/bin", root / "usr/bin/zentaro-cli", root / "usr/share",
                                                root / "usr/share/zentaro", sample}));
}

TEST_F(DataFileArgument, AUsersFolderThatCannotBePreparedIsTheErrorWithItsReason)
{
    fs::remove(root / "home");
    test::WriteFile(root / "home", "a file where a folder belongs");
    for (const auto& args : std::vector<std::vector<std::string>>{{"convert", "10", "USD", "JPY"}, {"times"}}) {
        const auto result = Installed(args);
        EXPECT_EQ(result.status, 1) << args[0];
        EXPECT_EQ(result.out, "") << args[0];
        EXPECT_EQ(result.err, "Cannot create folder \"" + userFile.parent_path().string() + "\". Not a directory\n");
    }
}

TEST_F(DataFileArgument, RelativeXdgDataHomeIsIgnoredAndAnAbsoluteOneFollowed)
{
    dataHome = "relative";
    EXPECT_EQ(Installed({"times"}).out, "2013-01-28\n");
    EXPECT_TRUE(fs::exists(userFile));
    EXPECT_FALSE(fs::exists(fs::current_path() / "relative"));

    dataHome = (root / "data").string();
    EXPECT_THAT(Installed({"--help"}).out, HasSubstr('"' + (root / "data/zentaro/conversion data.kvx").string() + '"'));
    EXPECT_EQ(Installed({"times"}).status, 0);
    EXPECT_TRUE(fs::exists(root / "data/zentaro/conversion data.kvx"));
}

TEST_F(DataFileArgument, PortableCliWorksBesideItself)
{
    const fs::path beside = root / "portable/conversion data.kvx";
    EXPECT_THAT(Run(root / "portable", {"--help"}).out, HasSubstr('"' + beside.string() + '"'));
    EXPECT_EQ(Run(root / "portable", {"import", (root / "update.txt").string()}).status, 0);
    EXPECT_EQ(Run(root / "portable", {"times"}).out, "2026-12-08\n");
    EXPECT_FALSE(fs::exists(root / "home/.local"));
}

TEST_F(DataFileArgument, AnExplicitFileWinsAndWrongCountsAreUsageErrors)
{
    const std::string other = (root / "other.kvx").string();
    EXPECT_EQ(Installed({"import", other, (root / "update.txt").string()}).status, 0);
    EXPECT_EQ(Installed({"times", other}).out, "2026-12-08\n");
    EXPECT_EQ(Installed({"convert", other, "1", "USD", "JPY"}).out, "150\n");
    EXPECT_FALSE(fs::exists(userFile));

    const std::vector<std::vector<std::string>> wrong = {
        {"convert", "1", "USD"},
        {"convert", other, "1", "USD", "JPY", "EUR"},
        {"import"},
        {"import", other, "a", "b"},
        {"times", other, "extra"},
        {"remove"},
        {"clear", other, "extra"},
    };
    for (const auto& args : wrong) {
        const auto result = Installed(args);
        EXPECT_EQ(result.status, 1) << args[0] << " " << args.size();
        EXPECT_THAT(result.err, HasSubstr("usage:")) << args[0] << " " << args.size();
    }
}

} // namespace
} // namespace zentaro
