#include "store/DataLocation.h"
#include "store/StoreError.h"
#include "tests/common/TempDir.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include <sys/stat.h>

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

using Environment = std::map<std::string, std::string>;

EnvironmentLookup LookUpIn(const Environment& environment)
{
    return [&environment](const char* name) -> const char* {
        const auto found = environment.find(name);
        return found == environment.end() ? nullptr : found->second.c_str();
    };
}

TEST(UserDataFolderTest, FollowsAnAbsoluteXdgDataHomeElseHome)
{
    struct Case {
        const char* name;
        Environment environment;
        const char* expected; // nullptr: an error
    };
    const Case cases[] = {
        {"data home set", {{"XDG_DATA_HOME", "/data"}, {"HOME", "/home/u"}}, "/data/zentaro"},
        {"data home without home", {{"XDG_DATA_HOME", "/data"}}, "/data/zentaro"},
        {"only home", {{"HOME", "/home/u"}}, "/home/u/.local/share/zentaro"},
        {"empty data home", {{"XDG_DATA_HOME", ""}, {"HOME", "/home/u"}}, "/home/u/.local/share/zentaro"},
        {"relative data home is ignored", {{"XDG_DATA_HOME", "data"}, {"HOME", "/home/u"}},
         "/home/u/.local/share/zentaro"},
        {"dotted relative data home is ignored", {{"XDG_DATA_HOME", "./data"}, {"HOME", "/home/u"}},
         "/home/u/.local/share/zentaro"},
        {"relative data home without home", {{"XDG_DATA_HOME", "data"}}, nullptr},
        {"nothing set", {}, nullptr},
        {"empty home", {{"HOME", ""}}, nullptr},
    };
    for (const Case& c : cases) {
        if (c.expected)
            EXPECT_EQ(UserDataFolder(LookUpIn(c.environment)), fs::path(c.expected)) << c.name;
        else
            EXPECT_THROW(UserDataFolder(LookUpIn(c.environment)), StoreError) << c.name;
    }
}

TEST(DataFolderTest, PortableProgramsNeverAskTheEnvironment)
{
    const test::TempDir root;
    const ProgramLayout portable = FindProgramLayout(root.Path());
    const auto asked = [](const char* name) -> const char* {
        ADD_FAILURE() << "asked for " << name;
        return nullptr;
    };
    EXPECT_EQ(DataFolder(portable, asked), root.Path());
    EXPECT_EQ(PrepareDataFolder(portable, asked), root.Path());
    EXPECT_EQ(DataFileIn(root.Path()), root / "conversion data.kvx");
}

mode_t ModeOf(const fs::path& path)
{
    struct stat info {};
    EXPECT_EQ(::lstat(path.c_str(), &info), 0) << path;
    return info.st_mode & 07777;
}

// Sets the process's umask for as long as it lives.
class Umask {
public:
    explicit Umask(mode_t mask) : saved_(::umask(mask)) {}
    ~Umask() { ::umask(saved_); }
    Umask(const Umask&) = delete;
    Umask& operator=(const Umask&) = delete;

private:
    mode_t saved_;
};

class PrepareDataFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::create_directories(root / "usr/bin");
        fs::create_directories(root / "usr/share/zentaro");
        test::WriteFile(sample, "sample");
    }

    fs::path Prepare() { return PrepareDataFolder(FindProgramLayout(root / "usr/bin"), LookUpIn(environment)); }

    test::TempDir root;
    fs::path sample = root / "usr/share/zentaro/conversion data.kvx";
    Environment environment = {{"HOME", (root / "home").string()}};
    fs::path user = root / "home/.local/share/zentaro";
};

TEST_F(PrepareDataFolderTest, FirstUseCopiesTheSampleAndLaterUsesKeepTheUsersFile)
{
    const ProgramLayout layout = FindProgramLayout(root / "usr/bin");
    ASSERT_TRUE(layout.Installed());
    EXPECT_EQ(DataFolder(layout, LookUpIn(environment)), user);
    EXPECT_FALSE(fs::exists(root / "home")); // finding it creates nothing

    EXPECT_EQ(Prepare(), user);
    EXPECT_EQ(test::ReadFile(user / "conversion data.kvx"), "sample");
    EXPECT_EQ(std::distance(fs::directory_iterator(user), fs::directory_iterator()), 1) << "no temporary file left";

    test::WriteFile(user / "conversion data.kvx", "the user's rates");
    EXPECT_EQ(Prepare(), user);
    EXPECT_EQ(test::ReadFile(user / "conversion data.kvx"), "the user's rates");
    EXPECT_EQ(test::ReadFile(sample), "sample");
}

TEST_F(PrepareDataFolderTest, PortableProgramKeepsItsDataBesideItAndCreatesNothing)
{
    fs::create_directories(root / "portable");
    const ProgramLayout layout = FindProgramLayout(root / "portable");
    EXPECT_EQ(PrepareDataFolder(layout, LookUpIn(environment)), root / "portable");
    EXPECT_FALSE(fs::exists(root / "home"));
    EXPECT_FALSE(fs::exists(root / "portable/conversion data.kvx"));
}

TEST_F(PrepareDataFolderTest, FolderThatCannotBeCreatedIsAStoreErrorWithItsReason)
{
    test::WriteFile(root / "home", "a file where a folder belongs");
    try {
        Prepare();
        FAIL() << "no error";
    } catch (const StoreError& error) {
        EXPECT_EQ(std::string(error.what()), "Cannot create folder \"" + user.string() + "\". Not a directory");
    }
}

TEST_F(PrepareDataFolderTest, RelativeXdgDataHomeIsIgnored)
{
    environment["XDG_DATA_HOME"] = "relative";
    EXPECT_EQ(Prepare(), user);
    EXPECT_EQ(test::ReadFile(user / "conversion data.kvx"), "sample");
    EXPECT_FALSE(fs::exists(fs::current_path() / "relative"));
}

TEST_F(PrepareDataFolderTest, CreatedFoldersArePrivateAndTheCopyIsANewFile)
{
    fs::permissions(sample, fs::perms(0755));
    struct Case {
        mode_t umask;
        mode_t file;
    };
    for (const Case c : {Case{022, 0644}, Case{077, 0600}, Case{002, 0664}}) {
        fs::remove_all(root / "home");
        fs::create_directories(root / "home");
        const Umask mask(c.umask);
        Prepare();
        EXPECT_EQ(ModeOf(root / "home/.local"), 0700u) << c.umask;
        EXPECT_EQ(ModeOf(user), 0700u) << c.umask;
        EXPECT_EQ(ModeOf(user / "conversion data.kvx"), c.file) << c.umask;
    }
    EXPECT_EQ(ModeOf(sample), 0755u);

    // A folder that is there keeps its mode.
    fs::remove_all(root / "home");
    fs::create_directories(user);
    fs::permissions(user, fs::perms(0755));
    Prepare();
    EXPECT_EQ(ModeOf(user), 0755u);
}

// A data folder others may write (a shared XDG_DATA_HOME) can hold links
// planted under the names a copy would use.
TEST_F(PrepareDataFolderTest, PlantedLinksAreNeverFollowed)
{
    environment["XDG_DATA_HOME"] = (root / "shared").string();
    const fs::path shared = root / "shared/zentaro";
    fs::create_directories(shared);
    fs::permissions(root / "shared", fs::perms(01777));
    const fs::path victim = root / "victim";
    test::WriteFile(victim, "not yours");

    fs::create_symlink(victim, shared / "conversion data.kvx.partial");
    EXPECT_EQ(Prepare(), shared);
    EXPECT_EQ(test::ReadFile(victim), "not yours");
    EXPECT_TRUE(fs::is_symlink(shared / "conversion data.kvx.partial"));
    EXPECT_FALSE(fs::is_symlink(shared / "conversion data.kvx"));
    EXPECT_EQ(test::ReadFile(shared / "conversion data.kvx"), "sample");

    // A link at the data file's own name stands for an existing data file:
    // kept, and nothing is made where it points.
    fs::remove(shared / "conversion data.kvx");
    fs::create_symlink(root / "elsewhere", shared / "conversion data.kvx");
    EXPECT_EQ(Prepare(), shared);
    EXPECT_TRUE(fs::is_symlink(shared / "conversion data.kvx"));
    EXPECT_FALSE(fs::exists(root / "elsewhere"));
}

TEST_F(PrepareDataFolderTest, UnreadableSampleIsAStoreErrorAndMakesNoDataFile)
{
    fs::remove(sample);
    fs::create_directory(sample);
    try {
        Prepare();
        FAIL() << "no error";
    } catch (const StoreError& error) {
        EXPECT_EQ(std::string(error.what()), "Cannot open file \"" + sample.string() + "\". Not a regular file");
    }
    EXPECT_TRUE(fs::is_directory(user));
    EXPECT_TRUE(fs::is_empty(user));
}

} // namespace
} // namespace zentaro
