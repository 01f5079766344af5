#include "store/DataFileLock.h"
#include "tests/app/WindowFixture.h"
#include "tests/common/ChildProcess.h"
#include "tests/common/RunProcess.h"
#include "tests/common/ShownRows.h"

#include <QApplication>
#include <QFile>

#include <gmock/gmock.h>

#include <sys/fsuid.h>
#include <sys/stat.h>

namespace zentaro::test {
namespace {

using ::testing::ElementsAre;

const QString kFromFileSuccess = QStringLiteral("Succesfully Upload new conversion data!");

// While it lives, this thread's file accesses are those of an unprivileged
// user: saves into the root-owned program folder fail for want of permission.
class Unprivileged {
public:
    Unprivileged() { ::setfsuid(kUnprivilegedId); }
    ~Unprivileged() { ::setfsuid(0); }
    Unprivileged(const Unprivileged&) = delete;
    Unprivileged& operator=(const Unprivileged&) = delete;
    static bool Active() { return ::setfsuid(static_cast<uid_t>(-1)) == kUnprivilegedId; }
};

class DataFileSharing : public ::testing::Test, public WindowFixture {
protected:
    std::filesystem::path DataPath() const { return folder / kDataFileName; }

    std::vector<std::string> StoredTimes()
    {
        RateTable stored('.', ByteCollation());
        stored.LoadFromFile(DataPath());
        std::vector<std::string> times;
        for (const auto& row : ShownRows(stored))
            if (times.empty() || times.back() != row.tgl)
                times.push_back(row.tgl);
        return times;
    }

    void ImportFile(const std::string& name, const std::string& text)
    {
        WriteFile(folder / name, text);
        PickAndImport(name);
    }
    void PickAndImport(const std::string& name)
    {
        dialogs->openFile = QFile::decodeName((folder / name).c_str());
        form->Guard([this] { form->UpdateFromFile1Click(form.get()); });
    }
    void RemoveCurrent(bool yes)
    {
        dialogs->confirm = yes;
        form->Guard([this] { form->Removecurrentdata1Click(form.get()); });
    }
    void ClearAllData()
    {
        dialogs->confirm = true;
        form->Guard([this] { form->Clear1Click(form.get()); });
    }
    QString LastBox() const { return boxes.empty() ? QString() : boxes.back().text; }

    // The window open on batch A, then zentaro-cli adding batch B behind its back.
    void OpenAndLetTheCliAddB()
    {
        WriteTable({{"A", "USD", "1"}});
        Open();
        WriteFile(folder / "b.txt", "B\nUSD=2\n");
        const auto cli = RunProcess(ZENTARO_CLI, {"import", DataPath().string(), (folder / "b.txt").string()});
        ASSERT_EQ(cli.status, 0) << cli.err;
    }
};

TEST_F(DataFileSharing, TheWindowKeepsAndShowsWhatTheCliSaved)
{
    ASSERT_NO_FATAL_FAILURE(OpenAndLetTheCliAddB());

    // "No" still saves; it must not save the window's older table.
    RemoveCurrent(false);
    EXPECT_EQ(StoredTimes(), (std::vector<std::string>{"A", "B"}));
    EXPECT_THAT(Entries(form->ComboBox3), ElementsAre("A", "B"));

    ImportFile("c.txt", "C\nUSD=3\n");
    EXPECT_EQ(LastBox(), kFromFileSuccess);
    EXPECT_EQ(StoredTimes(), (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_THAT(Entries(form->ComboBox3), ElementsAre("A", "B", "C"));
}

// An import that adds nothing still loaded what another program saved:
// the lists show it too.
class DataFileSharingAddingNothing : public DataFileSharing,
                                     public ::testing::WithParamInterface<std::pair<std::string, std::string>> {};

TEST_P(DataFileSharingAddingNothing, StillShowsWhatTheCliSaved)
{
    ASSERT_NO_FATAL_FAILURE(OpenAndLetTheCliAddB());

    ImportFile("c.txt", GetParam().first);
    EXPECT_EQ(LastBox().toStdString(), GetParam().second);
    EXPECT_EQ(StoredTimes(), (std::vector<std::string>{"A", "B"}));
    EXPECT_THAT(Entries(form->ComboBox3), ElementsAre("A", "B"));
}

INSTANTIATE_TEST_SUITE_P(Imports, DataFileSharingAddingNothing,
                         ::testing::Values(std::pair<std::string, std::string>{"A\nUSD=5\n",
                                                                               "Upload Time : A is already exist"},
                                           std::pair<std::string, std::string>{
                                               "C\nUSD=x\n", "'x' is not a valid floating point value for field 'nilai'"}));

TEST_F(DataFileSharing, AFailedSaveLeavesTheFileContentInMemoryAndOnScreen)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to act as an unprivileged user";
    ::chmod(folder.Path().c_str(), 0755);
    WriteTable({{"A", "USD", "1"}, {"B", "USD", "2"}});
    // The user may read the lock file, so the lock holds and the save is what fails.
    { const DataFileLock made(DataPath()); }
    ::chmod(DataFileLock::LockFilePath(DataPath()).c_str(), 0644);
    Open();
    const std::string saved = ReadFile(DataPath());
    const auto failedSave = [&](const std::function<void()>& command) {
        const Unprivileged user;
        ASSERT_TRUE(Unprivileged::Active());
        boxes.clear();
        command();
        ASSERT_FALSE(boxes.empty());
        EXPECT_EQ(boxes.back().kind, Box::Error);
        EXPECT_TRUE(boxes.back().text.startsWith(QStringLiteral("Cannot create file \""))) << LastBox().toStdString();
        EXPECT_TRUE(boxes.back().text.endsWith(QStringLiteral("Permission denied."))) << LastBox().toStdString();
    };

    WriteFile(folder / "c.txt", "C\nUSD=3\n");
    failedSave([&] { PickAndImport("c.txt"); });
    EXPECT_EQ(ReadFile(DataPath()), saved);
    EXPECT_THAT(Entries(form->ComboBox3), ElementsAre("A", "B"));
    // The retry works: the failed batch is nowhere, not "already exist".
    PickAndImport("c.txt");
    EXPECT_EQ(LastBox(), kFromFileSuccess);
    EXPECT_EQ(StoredTimes(), (std::vector<std::string>{"A", "B", "C"}));

    Pick(form->ComboBox3, "A");
    failedSave([&] { RemoveCurrent(true); });
    EXPECT_THAT(Entries(form->ComboBox3), ElementsAre("A", "B", "C"));
    failedSave([&] { ClearAllData(); });
    EXPECT_THAT(Entries(form->ComboBox3), ElementsAre("A", "B", "C"));
    EXPECT_EQ(form->Table().RecordCount(), 3u);

    // The next command saves nothing that the user was told failed.
    ImportFile("d.txt", "D\nUSD=4\n");
    EXPECT_EQ(LastBox(), kFromFileSuccess);
    EXPECT_EQ(StoredTimes(), (std::vector<std::string>{"A", "B", "C", "D"}));
    EXPECT_THAT(Entries(form->ComboBox3), ElementsAre("A", "B", "C", "D"));
}

TEST_F(DataFileSharing, ABusyDataFileChangesNothing)
{
    lockWait = std::chrono::milliseconds(200);
    WriteTable({{"A", "USD", "1"}, {"B", "USD", "2"}});
    Open();
    const std::string saved = ReadFile(DataPath());
    {
        const DataFileLock held(DataPath());
        const std::function<void()> commands[] = {
            [&] { ClearAllData(); },
            [&] { RemoveCurrent(true); },
            [&] { ImportFile("c.txt", "C\nUSD=3\n"); },
        };
        for (const auto& command : commands) {
            boxes.clear();
            command();
            ASSERT_FALSE(boxes.empty());
            EXPECT_EQ(boxes.back(), (Box{Box::Error, QStringLiteral("The data file is in use by another program."), ""}));
            EXPECT_EQ(ReadFile(DataPath()), saved);
            EXPECT_THAT(Entries(form->ComboBox3), ElementsAre("A", "B"));
            EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the wait cursor is gone again";
        }
    }
    ImportFile("c.txt", "C\nUSD=3\n");
    EXPECT_EQ(LastBox(), kFromFileSuccess);
    EXPECT_EQ(StoredTimes(), (std::vector<std::string>{"A", "B", "C"}));
}

} // namespace
} // namespace zentaro::test
