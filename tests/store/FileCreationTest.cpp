#include "store/FileReplacement.h"
#include "store/StoreError.h"
#include "tests/common/TempDir.h"

#include <gtest/gtest.h>

#include <string>

#include <sys/stat.h>

namespace zentaro {
namespace {

namespace fs = std::filesystem;

std::span<const std::byte> Bytes(std::string_view text) { return std::as_bytes(std::span(text)); }

std::vector<std::string> Names(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(CreateNewFileTest, MakesANewFileWholeWithTheModeOfANewFile)
{
    const test::TempDir dir;
    const mode_t saved = ::umask(027);
    EXPECT_TRUE(CreateNewFile(dir / "new", Bytes("content")));
    ::umask(saved);
    EXPECT_EQ(test::ReadFile(dir / "new"), "content");
    struct stat info {};
    ASSERT_EQ(::stat((dir / "new").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"new"});
}

TEST(TemporaryFileTest, IsItsOwnersAloneBesideTheTargetAndGoesWithTheObject)
{
    const test::TempDir dir;
    const mode_t saved = ::umask(0);
    fs::path path;
    {
        TemporaryFile file(dir / "target");
        path = file.Path();
        struct stat info {};
        ASSERT_EQ(::stat(path.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, 0600u);
        EXPECT_EQ(path.parent_path(), dir.Path());
        const std::string name = path.filename().string();
        EXPECT_TRUE(name.starts_with(".target.")) << name;
        EXPECT_EQ(name.size(), std::string(".target.").size() + 6) << name;
        EXPECT_NE(TemporaryFile(dir / "target").Path(), path);
    }
    ::umask(saved);
    EXPECT_FALSE(fs::exists(path));
    EXPECT_TRUE(Names(dir.Path()).empty());
}

TEST(CreateNewFileTest, WhateverStandsAtTheNameIsKeptAndNothingIsWritten)
{
    const test::TempDir dir;
    test::WriteFile(dir / "target", "kept");
    struct Case {
        const char* name;
        void (*plant)(const test::TempDir&);
    };
    const Case cases[] = {
        {"file", [](const test::TempDir& d) { test::WriteFile(d / "at", "old"); }},
        {"link to a file", [](const test::TempDir& d) { fs::create_symlink(d / "target", d / "at"); }},
        {"dangling link", [](const test::TempDir& d) { fs::create_symlink(d / "nowhere", d / "at"); }},
        {"folder", [](const test::TempDir& d) { fs::create_directory(d / "at"); }},
    };
    for (const Case& c : cases) {
        fs::remove_all(dir / "at");
        c.plant(dir);
        EXPECT_FALSE(CreateNewFile(dir / "at", Bytes("new"))) << c.name;
        EXPECT_EQ(test::ReadFile(dir / "target"), "kept") << c.name;
        EXPECT_FALSE(fs::exists(dir / "nowhere")) << c.name;
        EXPECT_EQ(Names(dir.Path()), (std::vector<std::string>{"at", "target"})) << c.name;
    }
}

TEST(CreateNewFileTest, MissingFolderIsAStoreErrorWithItsReason)
{
    const test::TempDir dir;
    try {
        CreateNewFile(dir / "missing/file", Bytes("x"));
        FAIL() << "no error";
    } catch (const StoreError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Cannot create file \"" + (dir / "missing/file").string() + "\". No such file or directory");
    }
}

} // namespace
} // namespace zentaro
