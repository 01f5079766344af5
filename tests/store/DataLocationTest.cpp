#include "store/DataLocation.h"
#include "store/StoreError.h"
#include "tests/common/TempDir.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace zentaro {
namespace {

namespace fs = std::filesystem;

TEST(ProgramLayoutTest, InstalledOnlyInAPrefixBinWithTheShareFolderBeside)
{
    struct Case {
        const char* name;
        const char* programFolder; // below the test folder
        const char* shareFolder;   // created below the test folder, or nullptr
        bool installed;
    };
    const Case cases[] = {
        {"prefix with share", "usr/bin", "usr/share/zentaro", true},
        {"trailing separator", "usr/bin/", "usr/share/zentaro", true},
        {"bin without share", "usr/bin", nullptr, false},
        {"share of another program", "usr/bin", "usr/share/other", false},
        {"build tree", "build/app", "build/share/zentaro", false},
        {"unpacked folder", "zentaro-1.0", "share/zentaro", false},
    };
    for (const Case& c : cases) {
        const test::TempDir root;
        fs::create_directories(root / c.programFolder);
        if (c.shareFolder)
            fs::create_directories(root / c.shareFolder);
        const ProgramLayout layout = FindProgramLayout(root / c.programFolder);
        EXPECT_EQ(layout.Installed(), c.installed) << c.name;
        if (c.installed) {
            EXPECT_EQ(layout.shareFolder, (root / "usr/share/zentaro").lexically_normal()) << c.name;
            EXPECT_EQ(layout.SampleDataFile(), (root / "usr/share/zentaro/conversion data.kvx").lexically_normal());
        } else {
            EXPECT_EQ(layout.SampleDataFile(), std::nullopt) << c.name;
        }
    }
}

TEST(UserDataFolderTest, FollowsXdgDataHomeAndItsDefault)
{
    struct Case {
        const char* name;
        std::map<std::string, std::string> environment;
        const char* expected; // nullptr: an error
    };
    const Case cases[] = {
        {"data home set", {{"XDG_DATA_HOME", "/data"}, {"HOME", "/home/u"}}, "/data/zentaro"},
        {"data home without home", {{"XDG_DATA_HOME", "/data"}}, "/data/zentaro"},
        {"only home", {{"HOME", "/home/u"}}, "/home/u/.local/share/zentaro"},
        {"empty data home", {{"XDG_DATA_HOME", ""}, {"HOME", "/home/u"}}, "/home/u/.local/share/zentaro"},
        {"relative data home, taken as the window takes it", {{"XDG_DATA_HOME", "data"}, {"HOME", "/home/u"}},
         "data/zentaro"},
        {"nothing set", {}, nullptr},
        {"empty home", {{"HOME", ""}}, nullptr},
    };
    for (const Case& c : cases) {
        const auto lookup = [&](const char* name) -> const char* {
            const auto found = c.environment.find(name);
            return found == c.environment.end() ? nullptr : found->second.c_str();
        };
        if (c.expected)
            EXPECT_EQ(UserDataFolder(lookup), fs::path(c.expected)) << c.name;
        else
            EXPECT_THROW(UserDataFolder(lookup), StoreError) << c.name;
    }
}

class PrepareDataFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::create_directories(root / "usr/bin");
        fs::create_directories(root / "usr/share/zentaro");
        test::WriteFile(root / "usr/share/zentaro/conversion data.kvx", "sample");
    }

    test::TempDir root;
    fs::path user = root / "home/.local/share/zentaro";
};

TEST_F(PrepareDataFolderTest, FirstUseCopiesTheSampleAndLaterUsesKeepTheUsersFile)
{
    const ProgramLayout layout = FindProgramLayout(root / "usr/bin");
    ASSERT_TRUE(layout.Installed());
    EXPECT_EQ(DataFolder(layout, user), user);
    EXPECT_FALSE(fs::exists(user)); // finding it creates nothing

    EXPECT_EQ(PrepareDataFolder(layout, user), user);
    EXPECT_EQ(test::ReadFile(user / "conversion data.kvx"), "sample");
    EXPECT_FALSE(fs::exists(user / "conversion data.kvx.partial"));

    test::WriteFile(user / "conversion data.kvx", "the user's rates");
    EXPECT_EQ(PrepareDataFolder(layout, user), user);
    EXPECT_EQ(test::ReadFile(user / "conversion data.kvx"), "the user's rates");
    EXPECT_EQ(test::ReadFile(root / "usr/share/zentaro/conversion data.kvx"), "sample");
}

TEST_F(PrepareDataFolderTest, PortableProgramKeepsItsDataBesideItAndCreatesNothing)
{
    fs::create_directories(root / "portable");
    const ProgramLayout layout = FindProgramLayout(root / "portable");
    EXPECT_EQ(PrepareDataFolder(layout, user), root / "portable");
    EXPECT_FALSE(fs::exists(root / "home"));
    EXPECT_FALSE(fs::exists(root / "portable/conversion data.kvx"));
}

TEST_F(PrepareDataFolderTest, FolderThatCannotBeCreatedIsAStoreError)
{
    test::WriteFile(root / "home", "a file where a folder belongs");
    const ProgramLayout layout = FindProgramLayout(root / "usr/bin");
    try {
        PrepareDataFolder(layout, user);
        FAIL() << "no error";
    } catch (const StoreError& error) {
        EXPECT_NE(std::string(error.what()).find(user.string()), std::string::npos) << error.what();
    }
}

} // namespace
} // namespace zentaro
