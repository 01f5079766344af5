#include "store/DataFileChange.h"
#include "store/DataFileLock.h"
#include "store/PacketReader.h"
#include "store/PacketWriter.h"
#include "store/FileReplacement.h"
#include "store/RateTable.h"
#include "store/StoreError.h"
#include "tests/common/ChildProcess.h"
#include "tests/common/TableRows.h"
#include "tests/common/TempDir.h"
#include "tests/common/ErrorText.h"

#include <gtest/gtest.h>

#include <csignal>
#include <set>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>

namespace zentaro {
namespace {

using namespace std::chrono_literals;
using test::ReadFile;
using test::RunInChild;
using test::kUnprivilegedId;

std::string ErrorOf(const std::function<void()>& action) { return test::ErrorText<StoreError>(action); }

// Names in folder that are neither data files nor lock files: the strays.
std::vector<std::string> Strays(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with("."))
            names.push_back(name);
    }
    return names;
}

class DataFileSafety : public ::testing::Test {
protected:
    void Add(std::string_view tgl, std::string_view cur, std::string_view nilai)
    {
        test::AddRow(table, tgl, cur, nilai);
    }
    std::string Packet() const
    {
        const auto bytes = BuildPacket(table.Data());
        return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
    }
    void RequireRoot()
    {
        if (::geteuid() != 0)
            GTEST_SKIP() << "needs root to act as another user";
    }
    // A folder the unprivileged user owns (or not), with a data file it owns
    // (or not) of the given mode, holding one batch.
    std::filesystem::path Prepare(bool userOwnsFolder, bool userOwnsFile, mode_t fileMode)
    {
        const auto folder = dir / "data";
        std::filesystem::create_directory(folder);
        ::chmod(dir.Path().c_str(), 0755);
        ::chmod(folder.c_str(), 0755);
        Add("A", "USD", "1");
        const auto file = folder / "conversion data.kvx";
        table.SaveToFile(file);
        const uid_t folderOwner = userOwnsFolder ? kUnprivilegedId : 0;
        const uid_t fileOwner = userOwnsFile ? kUnprivilegedId : 0;
        EXPECT_EQ(::chown(folder.c_str(), folderOwner, folderOwner), 0);
        EXPECT_EQ(::chown(file.c_str(), fileOwner, fileOwner), 0);
        EXPECT_EQ(::chmod(file.c_str(), fileMode), 0);
        return file;
    }

    test::TempDir dir;
    RateTable table{'.', ByteCollation()};
};

TEST_F(DataFileSafety, ALinkStaysALinkAndItsTargetGetsTheContent)
{
    std::filesystem::create_directory(dir / "real");
    Add("A", "USD", "1");
    table.SaveToFile(dir / "real" / "rates.kvx");
    const auto link = dir / "conversion data.kvx";
    std::filesystem::create_symlink("real/rates.kvx", link);

    Add("B", "EUR", "2");
    table.SaveToFile(link);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadFile(dir / "real" / "rates.kvx"), Packet());
    EXPECT_TRUE(Strays(dir.Path()).empty());
    EXPECT_TRUE(Strays(dir / "real").empty());

    // A dangling link gets its target created.
    std::filesystem::create_symlink("real/new.kvx", dir / "new.kvx");
    table.SaveToFile(dir / "new.kvx");
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "new.kvx"));
    EXPECT_EQ(ReadFile(dir / "real" / "new.kvx"), Packet());
}

// Saves by the unprivileged user, and one by root of that user's file.
TEST_F(DataFileSafety, SavesKeepOwnerAndModeAndNeverWriteWhatTheUserMayNot)
{
    RequireRoot();
    const struct {
        const char* name;
        bool byUser, ownsFolder, ownsFile;
        mode_t mode;
        bool saved;
        bool sameInode; // saved in place rather than replaced
    } cases[] = {
        {"RootSavesTheUsersFile", false, true, true, 0640, true, false},
        {"ReadOnlyFileInOwnFolder", true, true, true, 0400, false, true},
        {"WritableFileInOwnFolder", true, true, true, 0600, true, false},
        {"WritableFileInForeignFolder", true, false, true, 0644, true, true},
        {"ForeignFileInForeignFolder", true, false, false, 0644, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(dir / "data");
        table.EmptyTable();
        const auto file = Prepare(c.ownsFolder, c.ownsFile, c.mode);
        struct stat before {};
        ::stat(file.c_str(), &before);
        const std::string old = ReadFile(file);
        Add("B", "EUR", "2");
        const std::string wanted = Packet();

        const auto outcome = RunInChild([&]() -> std::string {
            const std::string error = ErrorOf([&] { table.SaveToFile(file); });
            if (c.saved)
                return error == "(no error)" ? "" : error;
            const std::string prefix = "Cannot create file \"" + file.string() + "\". Permission denied";
            return error == prefix ? "" : "unexpected: " + error;
        }, 10s, c.byUser);
        ASSERT_TRUE(outcome.finished);
        EXPECT_EQ(outcome.text, "");
        struct stat after {};
        ASSERT_EQ(::stat(file.c_str(), &after), 0);
        EXPECT_EQ(ReadFile(file), c.saved ? wanted : old);
        EXPECT_EQ(after.st_ino == before.st_ino, c.sameInode);
        EXPECT_EQ(after.st_mode & 07777, c.mode);
        EXPECT_EQ(after.st_uid, before.st_uid);
        EXPECT_EQ(after.st_gid, before.st_gid);
        EXPECT_TRUE(Strays(dir / "data").empty());
    }
}

TEST_F(DataFileSafety, FilesThatAreNotRegularAreRefusedAtOnce)
{
    ASSERT_EQ(::mkfifo((dir / "fifo.kvx").c_str(), 0644), 0);
    std::filesystem::create_directory(dir / "folder.kvx");
    for (const std::filesystem::path& path : {dir / "fifo.kvx", std::filesystem::path("/dev/zero"), dir / "folder.kvx"}) {
        SCOPED_TRACE(path.string());
        const auto outcome = RunInChild([&]() -> std::string {
            const std::string error = ErrorOf([&] { table.LoadFromFile(path); });
            if (!error.starts_with("Cannot open file \"" + path.string() + "\". "))
                return "load: " + error;
            if (table.Active())
                return "the table stayed open";
            return "";
        }, 5s);
        ASSERT_TRUE(outcome.finished) << "the load hung";
        EXPECT_EQ(outcome.text, "");
    }
    const auto saved = RunInChild([&]() -> std::string {
        return ErrorOf([&] { table.SaveToFile(dir / "fifo.kvx"); });
    }, 5s);
    ASSERT_TRUE(saved.finished) << "the save hung";
    EXPECT_EQ(saved.text, "Cannot create file \"" + (dir / "fifo.kvx").string() + "\". Not a regular file");
}

TEST_F(DataFileSafety, AKilledSaveLeavesAStrayThatTheNextChangeRemoves)
{
    const auto file = dir / "conversion data.kvx";
    for (int i = 0; i < 200'000; ++i)
        Add("2026-12-08 ECB with a long upload time", "CUR" + std::to_string(i % 100), "1.2345");
    table.SaveToFile(file);
    const std::string whole = ReadFile(file);

    // Kill saves until one dies with its temporary file on disk.
    bool strayLeft = false;
    for (int attempt = 0; attempt < 20 && !strayLeft; ++attempt) {
        const pid_t child = ::fork();
        if (child == 0) {
            try {
                for (;;)
                    table.SaveToFile(file);
            } catch (...) {
            }
            ::_exit(1);
        }
        int status = 0;
        while (Strays(dir.Path()).empty() && ::waitpid(child, &status, WNOHANG) == 0)
            std::this_thread::yield();
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        strayLeft = !Strays(dir.Path()).empty();
    }
    ASSERT_TRUE(strayLeft);
    EXPECT_EQ(ReadFile(file), whole);

    RateTable other('.', ByteCollation());
    ChangeDataFile(other, file, {}, [&] {
        test::AddRow(other, "B", "EUR", "2");
        other.SaveToFile(file);
    });
    EXPECT_TRUE(Strays(dir.Path()).empty());
    EXPECT_EQ(other.RecordCount(), 200'001u);
}

TEST_F(DataFileSafety, ATemporaryFileStillBeingWrittenIsKept)
{
    const auto file = dir / "conversion data.kvx";
    const auto live = dir / ".conversion data.kvx.Ab3dE9";
    const auto stale = dir / ".conversion data.kvx.zz9ZZ9";
    const auto foreign = dir / ".conversion data.kvx.notes";
    const auto foreignLong = dir / ".conversion data.kvx.123456.part";
    for (const auto& path : {live, stale, foreign, foreignLong})
        test::WriteFile(path, "x");
    UniqueFd writer(::open(live.c_str(), O_RDONLY));
    ASSERT_EQ(::flock(writer.Get(), LOCK_EX), 0);

    RemoveStaleTemporaries(file);
    EXPECT_TRUE(std::filesystem::exists(live));
    EXPECT_FALSE(std::filesystem::exists(stale));
    EXPECT_TRUE(std::filesystem::exists(foreign));
    EXPECT_TRUE(std::filesystem::exists(foreignLong));

    writer.Reset();
    RemoveStaleTemporaries(file);
    EXPECT_FALSE(std::filesystem::exists(live));
}

// A folder that root and the unprivileged user share, holding a data file
// both may write and, unless lockMode is 0, a lock file of the given owner
// and mode, as a user with a strict umask would have left it.
std::filesystem::path PrepareShared(const std::filesystem::path& folder, mode_t folderMode, uid_t lockOwner,
                                    mode_t lockMode)
{
    std::filesystem::create_directory(folder);
    EXPECT_EQ(::chmod(folder.c_str(), folderMode), 0);
    RateTable table('.', ByteCollation());
    test::AddRow(table, "A", "USD", "1");
    const auto file = folder / "conversion data.kvx";
    table.SaveToFile(file);
    EXPECT_EQ(::chmod(file.c_str(), 0666), 0);
    if (lockMode != 0) {
        const auto lock = DataFileLock::LockFilePath(file);
        UniqueFd fd(::open(lock.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600));
        EXPECT_TRUE(fd.Valid());
        EXPECT_EQ(::fchown(fd.Get(), lockOwner, lockOwner), 0);
        EXPECT_EQ(::fchmod(fd.Get(), lockMode), 0);
    }
    return file;
}

std::multiset<std::string> UploadTimes(const std::filesystem::path& file)
{
    RateTable table('.', ByteCollation());
    table.LoadFromFile(file);
    std::multiset<std::string> times;
    for (std::size_t row = 0; row < table.RecordCount(); ++row) {
        if (row == 0)
            table.First();
        else
            table.Next();
        times.insert(std::string(table.DBEdit1().Text()));
    }
    return times;
}

std::string LockRefusedText(const std::filesystem::path& file)
{
    return "Cannot open lock file \"" + file.string() + ".lock\": Permission denied";
}

// A process that waits until the write end of start closes, then adds the
// batch uploadTime to file, as the unprivileged user when byUser. It exits
// with 0 when the batch was added, 1 when the lock was refused, 2 otherwise.
pid_t StartWriter(const std::filesystem::path& file, const std::string& uploadTime, bool byUser, const int start[2])
{
    const pid_t child = ::fork();
    if (child != 0)
        return child;
    ::close(start[1]);
    if (byUser && (::setgid(test::kUnprivilegedId) != 0 || ::setuid(test::kUnprivilegedId) != 0))
        ::_exit(2);
    char go;
    if (::read(start[0], &go, 1) != 0)
        ::_exit(2);
    RateTable table('.', ByteCollation());
    DataFileAccess access;
    access.lockWait = 60s;
    const std::string error = ErrorOf([&] {
        ChangeDataFile(table, file, access, [&] {
            test::AddRow(table, uploadTime, "USD", "2");
            table.SaveToFile(file);
        });
    });
    ::_exit(error == "(no error)" ? 0 : error == LockRefusedText(file) ? 1 : 2);
}

// Root and the unprivileged user add batches to one shared data file at
// once. Whoever may open the lock file at all, if only for reading, takes
// the one lock; whoever may not is refused. No batch reported as added is
// ever lost.
TEST_F(DataFileSafety, TwoUsersChangingASharedFileAtOnceLoseNoBatch)
{
    RequireRoot();
    ::chmod(dir.Path().c_str(), 0755);
    constexpr int kWriters = 24;
    const struct {
        const char* name;
        uid_t lockOwner;
        mode_t lockMode;
        bool userRefused;
    } cases[] = {
        {"LockFileTheUserMayOnlyRead", 0, 0644, false},
        {"LockFileTheUserMadeUnderUmask077", test::kUnprivilegedId, 0600, false},
        {"LockFileTheUserMayNotOpen", 0, 0600, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto file = PrepareShared(dir / c.name, 0777, c.lockOwner, c.lockMode);
        int start[2];
        ASSERT_EQ(::pipe(start), 0);
        std::vector<pid_t> writers;
        for (int i = 0; i < kWriters; ++i) {
            const bool byUser = i % 2 == 1;
            writers.push_back(StartWriter(file, "T" + std::to_string(i), byUser, start));
        }
        ::close(start[0]);
        ::close(start[1]); // every writer starts now
        std::multiset<std::string> wanted = {"A"};
        for (int i = 0; i < kWriters; ++i) {
            int status = 0;
            ::waitpid(writers[i], &status, 0);
            const bool byUser = i % 2 == 1;
            const int expected = byUser && c.userRefused ? 1 : 0;
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == expected) << "writer " << i << ": " << status;
            if (WIFEXITED(status) && WEXITSTATUS(status) == 0)
                wanted.insert("T" + std::to_string(i));
        }
        EXPECT_EQ(UploadTimes(file), wanted);
    }
}

TEST_F(DataFileSafety, ALockFileThatCannotBeOpenedIsRefusedAndNothingChanges)
{
    RequireRoot();
    ::chmod(dir.Path().c_str(), 0755);
    const struct {
        const char* name;
        mode_t folderMode;
        mode_t lockMode; // 0: none yet
    } cases[] = {
        {"ForeignLockFileWithoutRead", 0777, 0600},
        {"NoLockFileInAFolderTheUserMayNotWrite", 0755, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto file = PrepareShared(dir / c.name, c.folderMode, 0, c.lockMode);
        const std::string before = ReadFile(file);
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir / c.name))
            names.insert(entry.path().filename().string());

        const auto outcome = RunInChild([&]() -> std::string {
            RateTable table('.', ByteCollation());
            bool changed = false;
            const std::string error = ErrorOf([&] {
                ChangeDataFile(table, file, {}, [&] {
                    changed = true;
                    test::AddRow(table, "B", "USD", "2");
                    table.SaveToFile(file);
                });
            });
            if (changed)
                return "the change ran";
            return error == LockRefusedText(file) ? "" : error;
        }, 10s, true);
        ASSERT_TRUE(outcome.finished);
        EXPECT_EQ(outcome.text, "");
        EXPECT_EQ(ReadFile(file), before);
        std::set<std::string> after;
        for (const auto& entry : std::filesystem::directory_iterator(dir / c.name))
            after.insert(entry.path().filename().string());
        EXPECT_EQ(after, names);
    }
}

TEST_F(DataFileSafety, ANewLockFileGetsTheModeOfAnyNewFile)
{
    const auto file = dir / "conversion data.kvx";
    for (const mode_t mask : {mode_t{022}, mode_t{077}}) {
        std::filesystem::remove(DataFileLock::LockFilePath(file));
        const mode_t old = ::umask(mask);
        { const DataFileLock lock(file); }
        ::umask(old);
        struct stat info {};
        ASSERT_EQ(::stat(DataFileLock::LockFilePath(file).c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, 0666 & ~mask) << std::oct << mask;
    }
}

long PeakKilobytes()
{
    struct rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

TEST(DataPacketCounts, ARowCountTheBytesCannotHoldIsRefusedBeforeAnyRowIsRead)
{
    // Two million rows of three nulls: a status byte and an indicator byte each.
    constexpr std::size_t kRows = 2'000'000;
    const RateTable table('.', ByteCollation());
    auto bytes = BuildPacket(table.Data());
    const std::size_t header = bytes.size();
    bytes.resize(header + 2 * kRows);
    for (std::size_t row = 0; row < kRows; ++row)
        bytes[header + 2 * row + 1] = std::byte{0x15};
    const auto setCount = [&](std::uint32_t count) {
        for (int i = 0; i < 4; ++i)
            bytes[14 + i] = std::byte(count >> (8 * i));
    };
    setCount(kRows);
    EXPECT_EQ(ParsePacket(bytes).RowCount(), kRows);

    for (const std::uint32_t count : {std::uint32_t{kRows + 1}, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
        setCount(count);
        const auto outcome = RunInChild([&]() -> std::string {
            const long before = PeakKilobytes();
            const std::string error = ErrorOf([&] { ParsePacket(bytes); });
            if (error != "Mismatch in datapacket.")
                return error;
            const long grown = PeakKilobytes() - before;
            // Far below what two million rows take in memory (over 40 MB);
            // twice the packet leaves room for the sanitizers' own bookkeeping.
            return grown * 1024 < 2 * static_cast<long>(bytes.size()) ? "" : "grew " + std::to_string(grown) + " kB";
        }, 30s);
        ASSERT_TRUE(outcome.finished);
        EXPECT_EQ(outcome.text, "") << count << " rows";
    }
}

} // namespace
} // namespace zentaro

namespace zentaro {
namespace {

// Whoever shows the table hears of every load a change makes, and of no other.
TEST(DataFileChangeReloads, AreReportedWheneverTheTableIsLoadedAgain)
{
    const struct {
        const char* name;
        bool otherProgramSaved;
        bool changeTouches;
        bool changeFails;
        int reloads;
    } cases[] = {
        {"nothing changed elsewhere, the change succeeds", false, true, false, 0},
        {"another program saved first", true, true, false, 1},
        {"a change that touched the table fails", false, true, true, 1},
        {"a change that touched nothing fails", false, false, true, 0},
        {"another program saved, then the change fails untouched", true, false, true, 1},
    };
    for (const auto& c : cases) {
        test::TempDir dir;
        const auto file = dir / "conversion data.kvx";
        RateTable table('.', ByteCollation());
        test::AddRow(table, "A", "USD", "1");
        table.SaveToFile(file);
        if (c.otherProgramSaved) {
            RateTable other('.', ByteCollation());
            test::AddRow(other, "B", "EUR", "2");
            other.SaveToFile(file);
        }
        int reloads = 0;
        DataFileAccess access;
        access.onReloaded = [&reloads] { ++reloads; };
        try {
            ChangeDataFile(table, file, access, [&] {
                if (c.changeTouches)
                    test::AddRow(table, "C", "JPY", "3");
                if (c.changeFails)
                    throw StoreError("failed on purpose");
                table.SaveToFile(file);
            });
            EXPECT_FALSE(c.changeFails) << c.name;
        } catch (const StoreError&) {
            EXPECT_TRUE(c.changeFails) << c.name;
        }
        EXPECT_EQ(reloads, c.reloads) << c.name;
        EXPECT_TRUE(table.HoldsFileContent(file)) << c.name;
    }
}

} // namespace
} // namespace zentaro
