#include "store/DataFileLock.h"
#include "store/RateTable.h"
#include "tests/common/RunProcess.h"
#include "tests/common/ShownRows.h"
#include "tests/common/TempDir.h"
#include "tests/common/TestHttpServer.h"
#include "tests/common/ZipOf.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace zentaro {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

using CliRun = test::ProcessResult;

class ImportCommands : public testing::Test {
protected:
    void SetUp() override { ::setenv("no_proxy", "*", 1); }

    static CliRun Cli(std::vector<std::string> args)
    {
        args.insert(args.begin(), {"--decimal-separator", "."});
        return test::RunProcess(ZENTARO_CLI, args);
    }

    std::string Update(const char* name, const std::string& bytes)
    {
        const auto path = folder_ / name;
        WriteFile(path, bytes);
        return path.string();
    }

    std::multiset<std::string> UploadTimes()
    {
        RateTable table{'.', ByteCollation()};
        table.LoadFromFile(data_);
        std::multiset<std::string> times;
        for (const auto& row : test::ShownRows(table))
            times.insert(row.tgl);
        return times;
    }

    TempDir folder_;
    std::string data_ = (folder_ / "conversion data.kvx").string();
};

TEST_F(ImportCommands, ImportExitStatuses)
{
    const auto good = Update("good.txt", "2026-12-08 ECB\nEUR=1\nUSD=1.05\n");
    const auto bad = Update("bad.txt", "2026-12-09 ECB\nEUR=1\nUSD=1.05\nJPY=16O.2\n");

    const CliRun first = Cli({"import", data_, good});
    EXPECT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(first.out, "Succesfully Upload new conversion data!\n");
    EXPECT_EQ(UploadTimes(), (std::multiset<std::string>{"2026-12-08 ECB", "2026-12-08 ECB"}));
    const std::string saved = ReadFile(data_);

    const CliRun again = Cli({"import", data_, good});
    EXPECT_EQ(again.status, 3);
    EXPECT_EQ(again.out, "Upload Time : 2026-12-08 ECB is already exist\n");

    const CliRun failed = Cli({"import", data_, bad});
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(failed.out, "");
    EXPECT_EQ(failed.err, "'16O.2' is not a valid floating point value for field 'nilai'\n");

    const CliRun missing = Cli({"import", data_, (folder_ / "absent.txt").string()});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "File not found\n");

    EXPECT_EQ(Cli({"import"}).status, 1);
    EXPECT_EQ(Cli({"import", data_, good, good}).status, 1);
    EXPECT_EQ(ReadFile(data_), saved);
}

TEST_F(ImportCommands, AMissingDataFileComesOnlyFromASuccessfulImport)
{
    const struct {
        const char* name;
        std::string update;
        std::string error;
    } cases[] = {
        {"NoRates", Update("u.txt", "2026-12-08 ECB\n"), "The update file holds no rates.\n"},
        {"BadRate", Update("bad.txt", "2026-12-08 ECB\nEUR=x\n"),
         "'x' is not a valid floating point value for field 'nilai'\n"},
        {"NoUpdateFile", (folder_ / "absent.txt").string(), "File not found\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const CliRun run = Cli({"import", data_, c.update});
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, c.error);
        EXPECT_FALSE(std::filesystem::exists(data_));
    }
    // What killed saves and downloads left goes with the next change.
    const auto strays = {folder_ / ".conversion data.kvx.Zq81xA", folder_ / ".Last Update.txt.k2P0aB"};
    for (const auto& stray : strays)
        WriteFile(stray, "half a file");
    EXPECT_EQ(Cli({"import", data_, Update("good.txt", "2026-12-08 ECB\nEUR=1\n")}).status, 0);
    EXPECT_EQ(UploadTimes().size(), 1u);
    for (const auto& stray : strays)
        EXPECT_FALSE(std::filesystem::exists(stray)) << stray;
}

// A dozen imports of different batches at once, as separate programs: the
// lock makes each start from what the others saved, so none is lost.
TEST_F(ImportCommands, ConcurrentImportsKeepEveryBatch)
{
    constexpr int kWriters = 12;
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        std::filesystem::remove(data_);
        std::vector<pid_t> children;
        for (int i = 0; i < kWriters; ++i) {
            const std::string update =
                Update(('u' + std::to_string(i) + ".txt").c_str(), 'T' + std::to_string(i) + "\nEUR=1\nUSD=2\n");
            children.push_back(test::StartQuietly({ZENTARO_CLI, "--decimal-separator", ".", "import", data_, update}));
        }
        for (const pid_t child : children)
            EXPECT_EQ(test::WaitForProcess(child), 0);
        std::multiset<std::string> expected;
        for (int i = 0; i < kWriters; ++i) {
            const std::string time = 'T' + std::to_string(i);
            expected.insert({time, time});
        }
        EXPECT_EQ(UploadTimes(), expected);
        EXPECT_TRUE(std::filesystem::exists(data_ + ".lock"));
    }
}

TEST_F(ImportCommands, ABusyDataFileIsWaitedForThenGivenUp)
{
    ASSERT_EQ(Cli({"import", data_, Update("a.txt", "A\nEUR=1\n")}).status, 0);
    const std::string saved = ReadFile(data_);
    const auto update = Update("b.txt", "B\nEUR=1\n");
    {
        const DataFileLock held(data_);
        for (const char* command : {"import", "remove", "clear"}) {
            SCOPED_TRACE(command);
            std::vector<std::string> args{command, data_, "--lock-wait", "0.2"};
            if (std::string(command) == "import")
                args.push_back(update);
            if (std::string(command) == "remove")
                args.push_back("A");
            const CliRun run = Cli(args);
            EXPECT_EQ(run.status, 1);
            EXPECT_EQ(run.err, "The data file is in use by another program.\n");
            EXPECT_EQ(ReadFile(data_), saved);
        }
        EXPECT_EQ(Cli({"clear", data_, "--lock-wait", "soon"}).status, 1);
    }
    // Released while the CLI waits: it goes on.
    std::optional<DataFileLock> held(std::in_place, data_);
    std::thread release([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        held.reset();
    });
    const CliRun run = Cli({"import", data_, update});
    release.join();
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(UploadTimes(), (std::multiset<std::string>{"A", "B"}));
}

TEST_F(ImportCommands, RemoveAndClear)
{
    for (const char* time : {"C", "A", "B", "b"})
        ASSERT_EQ(Cli({"import", data_, Update("u.txt", std::string(time) + "\nEUR=1\nUSD=2\n")}).status, 0);

    const CliRun removed = Cli({"remove", data_, "B"});
    EXPECT_EQ(removed.status, 0) << removed.err;
    EXPECT_EQ(removed.out, "");
    EXPECT_EQ(UploadTimes(), (std::multiset<std::string>{"A", "A", "C", "C", "b", "b"}));

    const CliRun absent = Cli({"remove", data_, "Z"});
    EXPECT_EQ(absent.status, 1);
    EXPECT_EQ(absent.err, "No rates at upload time Z\n");
    EXPECT_EQ(UploadTimes().size(), 6u);

    const CliRun cleared = Cli({"clear", data_});
    EXPECT_EQ(cleared.status, 0) << cleared.err;
    EXPECT_TRUE(UploadTimes().empty());

    const CliRun emptyTime = Cli({"remove", data_, ""});
    EXPECT_EQ(emptyTime.status, 1);
    EXPECT_EQ(emptyTime.err, "ClientDataSet1: Cannot perform this operation on an empty dataset\n");

    EXPECT_EQ(Cli({"clear", (folder_ / "absent.kvx").string()}).status, 1);
}

TEST_F(ImportCommands, UpdateFromAServer)
{
    test::TestHttpServer server;
    server.Serve("/update/Last%20Update.txt", test::HttpAnswer(200, "OK", "2026-12-08 ECB\nEUR=1\nUSD=1.05\n"));
    const auto url = server.Address("/update/Last Update.txt");

    const CliRun first = Cli({"update", data_, "--url", url});
    EXPECT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(first.out, "Succesfully Uploaded new conversion data !\n");
    EXPECT_EQ(ReadFile(folder_ / "Last Update.txt"), "2026-12-08 ECB\nEUR=1\nUSD=1.05\n");
    EXPECT_EQ(UploadTimes().size(), 2u);

    const CliRun again = Cli({"update", "--url", url, data_});
    EXPECT_EQ(again.status, 3);
    EXPECT_EQ(again.out, "Upload Time : 2026-12-08 ECB is already exist\n");
    const std::string saved = ReadFile(data_);

    const auto missing = server.Address("/update/Missing File.txt");
    const CliRun notFound = Cli({"update", data_, "--url", missing});
    EXPECT_EQ(notFound.status, 1);
    EXPECT_EQ(notFound.err, "Error while downloading " + missing + ": the server answered with status 404\n");

    const auto closed = "http://127.0.0.1:" + std::to_string(test::ClosedPort()) + "/update/Last Update.txt";
    const CliRun refused = Cli({"update", data_, "--url", closed});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, "Cannot open URL " + closed + ": could not connect to the server\n");
    EXPECT_EQ(ReadFile(data_), saved);
}

TEST_F(ImportCommands, EcbFilesAddOneBatchPerDayOnce)
{
    const std::string history = (std::filesystem::path(ZENTARO_ECB_DATA) / "ecb-eurofxref-hist-excerpt.csv").string();
    const std::string daily = Update("daily.csv", "Date, USD, JPY, \n11 October 2024, 1.0938, 162.94, \n");

    const CliRun first = Cli({"import", data_, daily});
    EXPECT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(first.out, "Succesfully Upload new conversion data!\n");
    EXPECT_EQ(UploadTimes(), (std::multiset<std::string>{"2024-10-11", "2024-10-11", "2024-10-11"}));

    // The history holds that day too: only the other days are added.
    const CliRun rest = Cli({"import", data_, history});
    EXPECT_EQ(rest.status, 0) << rest.err;
    const auto times = UploadTimes();
    EXPECT_EQ(times.count("2024-10-11"), 3u);
    EXPECT_GT(times.count("1999-01-04"), 1u);
    const std::string saved = ReadFile(data_);

    const CliRun again = Cli({"import", data_, history});
    EXPECT_EQ(again.status, 3);
    EXPECT_EQ(again.out, "Upload Time : 2024-10-11 is already exist\n");
    EXPECT_EQ(ReadFile(data_), saved);

    // The program loads the zip library itself, at the first zip.
    const std::string zipped = Update("eurofxref-hist.zip", test::ZipOf("eurofxref-hist.csv", ReadFile(history)));
    const CliRun zipAgain = Cli({"import", data_, zipped});
    EXPECT_EQ(zipAgain.status, 3) << zipAgain.err;
    EXPECT_EQ(zipAgain.out, "Upload Time : 2024-10-11 is already exist\n");
    const CliRun brokenZip = Cli({"import", data_, Update("broken.zip", ReadFile(zipped).substr(0, 100))});
    EXPECT_EQ(brokenZip.status, 1);
    EXPECT_EQ(brokenZip.err, "Malformed ECB rates file: broken zip file: Not a zip archive\n");

    const CliRun broken = Cli({"import", data_, Update("broken.xml", ReadFile(std::filesystem::path(ZENTARO_ECB_DATA) / "ecb-eurofxref-2017-03-08.xml").substr(0, 700))});
    EXPECT_EQ(broken.status, 1);
    EXPECT_TRUE(broken.err.starts_with("Malformed ECB rates file: ")) << broken.err;
    EXPECT_EQ(ReadFile(data_), saved);
}

// A zero byte in a rate reaches standard error whole: the message shows it
// as \x00, and the CLI escapes the message as it escapes every text.
TEST_F(ImportCommands, ErrorsOfEcbFilesSayWhereAndShowEveryByte)
{
    using namespace std::string_literals;
    const struct {
        const char* name;
        std::string file;
        std::string err;
    } cases[] = {
        {"zero byte", "Date,USD,\n2024-10-11,1\0" "2,\n"s,
         "'1\\\\x002' is not a valid floating point value for field 'nilai' (day 2024-10-11, line 2)\n"},
        {"EUR listed", "Date,USD,EUR,\n2024-10-11,1.09,1,\n",
         "Malformed ECB rates file: line 1 lists EUR, whose rate is always 1\n"},
        {"rate 0", "Date,USD,\n2024-10-11,1.09,\n2024-10-10,0,\n",
         "'0' is not a valid floating point value for field 'nilai' (day 2024-10-10, line 3)\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const CliRun run = Cli({"import", data_, Update("rates.csv", c.file)});
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, c.err);
        EXPECT_FALSE(std::filesystem::exists(data_));
    }
}

TEST_F(ImportCommands, UpdateFromAServerOfTheDailyXml)
{
    const std::string xml = ReadFile(std::filesystem::path(ZENTARO_ECB_DATA) / "ecb-eurofxref-2022-07-08.xml");
    test::TestHttpServer server;
    server.Serve("/stats/eurofxref/eurofxref-daily.xml", test::HttpAnswer(200, "OK", xml, "text/xml"));
    const auto url = server.Address("/stats/eurofxref/eurofxref-daily.xml");

    const CliRun first = Cli({"update", data_, "--url", url});
    EXPECT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(first.out, "Succesfully Uploaded new conversion data !\n");
    const auto times = UploadTimes();
    EXPECT_EQ(std::set<std::string>(times.begin(), times.end()), std::set<std::string>{"2022-07-08"});
    // EUR and one row per currency the file lists.
    std::size_t listed = 0;
    for (auto at = xml.find("currency="); at != std::string::npos; at = xml.find("currency=", at + 1))
        ++listed;
    EXPECT_EQ(times.size(), listed + 1);

    const CliRun again = Cli({"update", data_, "--url", url});
    EXPECT_EQ(again.status, 3);
    EXPECT_EQ(again.out, "Upload Time : 2022-07-08 is already exist\n");
}

} // namespace
} // namespace zentaro
