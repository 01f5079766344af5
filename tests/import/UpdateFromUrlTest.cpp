#include "import/CurlFetcher.h"
#include "import/ImportError.h"
#include "import/RatesFile.h"
#include "import/UpdateFromUrl.h"
#include "import/UpdateImport.h"
#include "store/DataFileLock.h"
#include "store/RateTable.h"
#include "tests/common/ChildProcess.h"
#include "tests/common/TempDir.h"
#include "tests/common/ShownRows.h"
#include "tests/common/TestHttpServer.h"
#include "tests/common/TestTlsServer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <sys/resource.h>
#include <thread>

namespace zentaro {
namespace {

using namespace std::chrono_literals;
using namespace std::string_literals;
using test::HttpAnswer;
using test::ReadFile;
using test::TempDir;
using test::TestHttpServer;
using test::WriteFile;

constexpr char kUpdatePath[] = "/update/Last Update.txt";
constexpr char kUpdateTarget[] = "/update/Last%20Update.txt";
const std::string kUpdate = "2026-12-08 ECB\nEUR=1\nUSD=1.0512\nJPY=163.2\n";
const std::string kOlderCopy = "2026-12-01 ECB\nEUR=1\n";

FetchLimits ShortLimits()
{
    FetchLimits limits;
    limits.connectTimeout = 1000ms;
    limits.deadline = 1500ms;
    return limits;
}

struct BodyCase {
    const char* name;
    std::string raw;
    std::string text;
};

TEST(BodyText, BlocksOf1025BytesCutAtTheirFirstNul)
{
    const BodyCase cases[] = {
        {"Empty", "", ""},
        {"Short", "2026\nEUR=1\n", "2026\nEUR=1\n"},
        {"ExactlyOneBlockAndMore", std::string(1025, 'a') + "b", std::string(1025, 'a') + "b"},
        {"NulCutsItsBlock", "head\0tail"s + std::string(1100, 'x'), "head" + std::string(84, 'x')},
        {"NulStartsSecondBlock", std::string(1025, 'a') + '\0' + std::string(1025, 'b') + "c",
         std::string(1025, 'a') + "bc"},
        {"NulLastInBlock", std::string(1024, 'a') + '\0' + "b", std::string(1024, 'a') + "b"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(BodyText(c.raw), c.text);
    }
}

TEST(EscapeUrl, UnsafeBytesArePercentEncoded)
{
    const struct {
        const char* url;
        const char* escaped;
    } cases[] = {
        {"http://127.0.0.1:8080/update/Last Update.txt", "http://127.0.0.1:8080/update/Last%20Update.txt"},
        {"http://h/Last%20Update.txt", "http://h/Last%20Update.txt"},
        {"http://h/a b?q=x y&r=1#top", "http://h/a%20b?q=x%20y&r=1#top"},
        {"http://h/\"<>\\^`{|}", "http://h/%22%3C%3E%5C%5E%60%7B%7C%7D"},
        {"http://h/\t\x7f", "http://h/%09%7F"},
        {"http://h/caf\xC3\xA9", "http://h/caf%C3%A9"},
        {"http://user@h:1/~a-b_c.d/[x]!$'()*+,;=", "http://user@h:1/~a-b_c.d/[x]!$'()*+,;="},
    };
    for (const auto& c : cases)
        EXPECT_EQ(EscapeUrl(c.url), c.escaped);
}

TEST(IsHtmlAnswer, PagesAreToldFromFiles)
{
    const struct {
        const char* name;
        std::string_view contentType;
        std::string_view body;
        bool html;
    } cases[] = {
        {"UpdateFile", "text/plain", "2026-12-08 ECB\nEUR=1\n", false},
        {"HtmlType", "text/html", "2026-12-08 ECB\nEUR=1\n", true},
        {"HtmlTypeAnyCase", " Text/HTML; charset=utf-8", "x", true},
        {"Doctype", "", "<!DOCTYPE html><html></html>", true},
        {"TagAfterBlanks", "application/octet-stream", " \r\n\t<p>hello", true},
        {"XmlDocument", "text/xml", "<?xml version=\"1.0\"?>\n<gesmes:Envelope/>", false},
        {"XhtmlPage", "application/xml", "<?xml version=\"1.0\"?>\n<HTML><body/></HTML>", true},
        {"LessThanLater", "text/plain", "A<B\nEUR=1\n", false},
        {"Empty", "", "", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsHtmlAnswer(c.contentType, c.body), c.html) << c.name;
}

struct Options {
    FetchLimits limits = ShortLimits();
    std::filesystem::path caFile;
    std::function<bool()> cancelled;
};

class UpdateFromUrl : public testing::Test {
protected:
    void SetUp() override
    {
        ::setenv("no_proxy", "*", 1);
        WriteFile(folder_ / kUpdateFileName, kOlderCopy);
        test::AddRow(table_, "2026-11-24 ECB", "EUR", "1");
        table_.SaveToFile(dataFile_);
    }

    struct Run {
        std::string error;
        std::optional<UrlUpdateResult> result;
        std::chrono::steady_clock::duration took{};
        bool Imported() const
        {
            return result && (result->outcome == UrlUpdateOutcome::Added ||
                              result->outcome == UrlUpdateOutcome::Duplicate);
        }
    };

    // The whole command as the window and the CLI run it.
    Run RunUpdate(const std::string& url, const Options& options = {})
    {
        Run run;
        CurlFetcher fetcher(options.limits, options.caFile);
        UrlUpdateRequest request;
        request.url = url;
        request.dataFile = dataFile_;
        request.cancelled = options.cancelled;
        const auto start = std::chrono::steady_clock::now();
        try {
            run.result = RunUrlUpdate(table_, fetcher, request);
        } catch (const std::exception& error) {
            run.error = error.what();
        }
        run.took = std::chrono::steady_clock::now() - start;
        return run;
    }

    std::set<std::string> FolderContent() const
    {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder_.Path()))
            names.insert(entry.path().filename().string());
        return names;
    }

    // Nothing imported: data file, older copy and folder as they were.
    void ExpectNothingChanged(const std::string& savedData)
    {
        EXPECT_EQ(ReadFile(dataFile_), savedData);
        EXPECT_EQ(ReadFile(folder_ / kUpdateFileName), kOlderCopy);
        EXPECT_EQ(FolderContent(), (std::set<std::string>{"conversion data.kvx", "Last Update.txt"}));
        EXPECT_EQ(table_.RecordCount(), 1u);
    }

    std::size_t StoredRows()
    {
        RateTable reloaded{'.', ByteCollation()};
        reloaded.LoadFromFile(dataFile_);
        return reloaded.RecordCount();
    }

    TestHttpServer server_;
    TempDir folder_;
    std::filesystem::path dataFile_ = folder_ / "conversion data.kvx";
    RateTable table_{'.', ByteCollation()};
};

const std::set<std::string> kAfterImport = {"conversion data.kvx", "conversion data.kvx.lock", "Last Update.txt"};

TEST_F(UpdateFromUrl, GoodFileIsDownloadedAndImported)
{
    server_.Serve(kUpdateTarget, HttpAnswer(200, "OK", kUpdate));
    const auto url = server_.Address(kUpdatePath);

    const Run run = RunUpdate(url);

    ASSERT_EQ(run.error, "");
    EXPECT_EQ(run.result->outcome, UrlUpdateOutcome::Added);
    EXPECT_EQ(run.result->body, kUpdate);
    EXPECT_EQ(run.result->import.rowsAdded, 3u);
    EXPECT_EQ(run.result->message, "Succesfully Uploaded new conversion data !");
    EXPECT_EQ(ReadFile(folder_ / kUpdateFileName), kUpdate);
    EXPECT_EQ(server_.Requests(), (std::vector<std::string>{kUpdateTarget, kUpdateTarget}));
    EXPECT_EQ(StoredRows(), 4u);
    EXPECT_EQ(FolderContent(), kAfterImport) << "the download's own file is gone";
}

TEST_F(UpdateFromUrl, SecondRunIsADuplicate)
{
    server_.Serve(kUpdateTarget, HttpAnswer(200, "OK", kUpdate));
    RunUpdate(server_.Address(kUpdatePath));
    const std::string saved = ReadFile(dataFile_);

    const Run second = RunUpdate(server_.Address(kUpdatePath));

    ASSERT_TRUE(second.result) << second.error;
    EXPECT_EQ(second.result->outcome, UrlUpdateOutcome::Duplicate);
    EXPECT_EQ(second.result->message, "Upload Time : 2026-12-08 ECB is already exist");
    EXPECT_EQ(ReadFile(dataFile_), saved);
}

TEST_F(UpdateFromUrl, BadRateKeepsTheDataFileButTheCopyShowsTheDownload)
{
    const std::string bad = "2026-12-08 ECB\nEUR=1\nUSD=1,0x\n";
    server_.Serve(kUpdateTarget, HttpAnswer(200, "OK", bad));
    const std::string saved = ReadFile(dataFile_);

    const Run run = RunUpdate(server_.Address(kUpdatePath));

    EXPECT_EQ(run.error, "'1.0x' is not a valid floating point value for field 'nilai'");
    EXPECT_EQ(ReadFile(dataFile_), saved);
    EXPECT_EQ(ReadFile(folder_ / kUpdateFileName), bad);
    EXPECT_EQ(FolderContent(), kAfterImport);
}

TEST_F(UpdateFromUrl, RedirectIsFollowed)
{
    server_.Serve("/moved", "HTTP/1.1 302 Found\r\nLocation: /update/Last%20Update.txt\r\n"
                            "Content-Length: 0\r\nConnection: close\r\n\r\n");
    server_.Serve(kUpdateTarget, HttpAnswer(200, "OK", kUpdate));
    const Run run = RunUpdate(server_.Address("/moved"));
    ASSERT_TRUE(run.Imported()) << run.error;
    EXPECT_EQ(run.result->body, kUpdate);
    EXPECT_EQ(run.result->import.rowsAdded, 3u);
}

struct AnswerCase {
    const char* name;
    std::string answer;
    std::string body;   // what the connection check reads
    std::string reason; // after the download message
};

void PrintTo(const AnswerCase& c, std::ostream* out) { *out << c.name; }

class FailedDownload : public UpdateFromUrl, public testing::WithParamInterface<AnswerCase> {};

TEST_P(FailedDownload, ShowsTheDownloadMessageWithItsReasonAndImportsNothing)
{
    const auto& c = GetParam();
    server_.Serve(kUpdateTarget, c.answer);
    const std::string saved = ReadFile(dataFile_);
    const auto url = server_.Address(kUpdatePath);

    const Run run = RunUpdate(url);

    ASSERT_EQ(run.error, "");
    ASSERT_TRUE(run.result);
    EXPECT_EQ(run.result->outcome, UrlUpdateOutcome::DownloadFailed);
    EXPECT_EQ(run.result->body, c.body);
    EXPECT_EQ(run.result->message, "Error while downloading " + url + ": " + c.reason);
    EXPECT_NE(url.find("Last Update.txt"), std::string::npos) << "the message shows the address as written";
    ExpectNothingChanged(saved);
}

const std::string kErrorPage = "<html><head><title>500 Internal Server Error</title></head>"
                               "<body><h1>Internal Server Error</h1></body></html>\n";

INSTANTIATE_TEST_SUITE_P(
    UpdateFromUrl, FailedDownload,
    testing::Values(
        AnswerCase{"NotFound", HttpAnswer(404, "Not Found", "no such file\n"), "no such file\n",
                   "the server answered with status 404"},
        AnswerCase{"ServerErrorPage", HttpAnswer(500, "Internal Server Error", kErrorPage, "text/html"), kErrorPage,
                   "the server answered with status 500"},
        AnswerCase{"CutOffMidTransfer",
                   "HTTP/1.1 200 OK\r\nContent-Length: 4000\r\nConnection: close\r\n\r\n2026-12-08 ECB\nEUR=1\nUSD=1.05",
                   "2026-12-08 ECB\nEUR=1\nUSD=1.05", "the connection closed before the end of the file"},
        // A sign-in page or a portal answers with status 200; it is no update file.
        AnswerCase{"LoginPageAsHtml", HttpAnswer(200, "OK", "2026-12-08 ECB\nEUR=1\n", "text/html; charset=utf-8"),
                   "2026-12-08 ECB\nEUR=1\n", "the server sent a web page instead of the file"},
        AnswerCase{"LoginPageAsText", HttpAnswer(200, "OK", "\n  <!DOCTYPE html>\n<p>Sign in</p>\n"),
                   "\n  <!DOCTYPE html>\n<p>Sign in</p>\n", "the server sent a web page instead of the file"},
        AnswerCase{"EmptyBody", HttpAnswer(200, "OK", ""), "", "the server sent an empty file"}),
    [](const testing::TestParamInfo<AnswerCase>& info) { return info.param.name; });

TEST_F(UpdateFromUrl, TooLargeDownloadFails)
{
    std::string big = "2026-12-08 ECB\n";
    while (big.size() < 5000)
        big += "EUR=1\n";
    server_.Serve(kUpdateTarget, HttpAnswer(200, "OK", big));
    const std::string saved = ReadFile(dataFile_);
    Options options;
    options.limits.downloadLimit = 4096;

    const Run run = RunUpdate(server_.Address(kUpdatePath), options);

    ASSERT_TRUE(run.result) << run.error;
    EXPECT_EQ(run.result->body, big) << "the connection check has its own limit";
    EXPECT_EQ(run.result->message, "Error while downloading " + server_.Address(kUpdatePath) +
                                       ": the file is over the size limit of 4096 bytes");
    ExpectNothingChanged(saved);
}

TEST_F(UpdateFromUrl, ConnectionCheckStopsReadingAtItsLimit)
{
    server_.Serve("/big", HttpAnswer(200, "OK", std::string(10000, 'r')));
    FetchLimits limits = ShortLimits();
    limits.bodyLimit = 3000;
    CurlFetcher fetcher(limits);
    fetcher.Open({});
    EXPECT_EQ(fetcher.ReadBody(server_.Address("/big")), std::string(3000, 'r'));
}

TEST_F(UpdateFromUrl, NulInTheBodyCutsItsBlock)
{
    server_.Serve("/nul", HttpAnswer(200, "OK", "head\0tail"s + std::string(1100, 'x')));
    CurlFetcher fetcher(ShortLimits());
    fetcher.Open({});
    EXPECT_EQ(fetcher.ReadBody(server_.Address("/nul")), "head" + std::string(84, 'x'));
}

TEST_F(UpdateFromUrl, UnreachableAddressesCannotBeOpenedAndSayWhy)
{
    const test::SilentServer silent;
    server_.Serve("/loop", "HTTP/1.1 302 Found\r\nLocation: /loop\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
    const struct {
        const char* name;
        std::string url;
        std::string reason;
    } cases[] = {
        {"NeverAnswers", silent.Address(kUpdatePath), "timed out after 1.5 s"},
        {"ClosedPort", "http://127.0.0.1:" + std::to_string(test::ClosedPort()) + kUpdatePath,
         "could not connect to the server"},
        {"UnknownHost", "http://zentaro-update.invalid/update/Last Update.txt", "the host name is unknown"},
        {"NotHttp", "ftp://127.0.0.1/update/Last Update.txt", "only http and https addresses can be opened"},
        {"RedirectLoop", server_.Address("/loop"), "too many redirects (more than 5)"},
    };
    const std::string saved = ReadFile(dataFile_);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Run run = RunUpdate(c.url);
        EXPECT_LT(run.took, 10s);
        EXPECT_EQ(run.error, "Cannot open URL " + c.url + ": " + c.reason);
        EXPECT_FALSE(run.result);
        ExpectNothingChanged(saved);
    }
}

// A server that sends one byte at a time holds the command for its one
// deadline, not for a full deadline per transfer.
TEST_F(UpdateFromUrl, BothTransfersShareOneDeadline)
{
    const std::string answer = HttpAnswer(200, "OK", kUpdate + std::string(2000, '\n'));
    const std::size_t headers = answer.size() - kUpdate.size() - 2000;
    server_.ServeSlowly(kUpdateTarget, answer, headers + 15, 20ms);
    const std::string saved = ReadFile(dataFile_);
    Options options;
    options.limits.deadline = 2s;

    const Run run = RunUpdate(server_.Address(kUpdatePath), options);

    ASSERT_TRUE(run.result) << run.error;
    EXPECT_EQ(run.result->message,
              "Error while downloading " + server_.Address(kUpdatePath) + ": timed out after 2 s");
    EXPECT_TRUE(run.result->body.starts_with("2026-12-08 ECB\n")) << "the check takes what came before the deadline";
    EXPECT_GE(run.took, 1900ms);
    EXPECT_LT(run.took, 3500ms) << "each transfer had a deadline of its own";
    ExpectNothingChanged(saved);
    EXPECT_LE(FetchLimits{}.deadline, 60s);
}

TEST_F(UpdateFromUrl, ACancelledCommandImportsNothing)
{
    const std::string answer = HttpAnswer(200, "OK", kUpdate + std::string(2000, '\n'));
    server_.ServeSlowly(kUpdateTarget, answer, answer.size() - 2000, 50ms);
    const struct {
        const char* name;
        std::size_t cancelAtRequest; // cancelled once the server has seen this many requests
        std::size_t bodyLimit;
        std::size_t requests;
    } cases[] = {
        {"BeforeAnyRequest", 0, 1 << 20, 0},
        {"DuringTheConnectionCheck", 1, 1 << 20, 1},
        // The check stops at its limit at once; the download then waits for the slow rest.
        {"DuringTheDownload", 2, 10, 2},
    };
    const std::string saved = ReadFile(dataFile_);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::size_t before = server_.Requests().size();
        Options options;
        options.limits.deadline = 20s;
        options.limits.bodyLimit = c.bodyLimit;
        options.cancelled = [&] { return server_.Requests().size() - before >= c.cancelAtRequest; };

        const Run run = RunUpdate(server_.Address(kUpdatePath), options);

        ASSERT_TRUE(run.result) << run.error;
        EXPECT_EQ(run.result->outcome, UrlUpdateOutcome::Cancelled);
        EXPECT_EQ(run.result->message, "The download was cancelled.");
        EXPECT_EQ(server_.Requests().size() - before, c.requests);
        EXPECT_LT(run.took, 5s) << "the slow answer would take 100 s";
        ExpectNothingChanged(saved);
    }
}

// Both commands download before either may import: each must import what
// it downloaded itself, not what the other left in "Last Update.txt".
TEST_F(UpdateFromUrl, TwoUpdatesAtOnceEachImportTheirOwnBatch)
{
    server_.Serve("/a", HttpAnswer(200, "OK", "2026-12-08 A\nEUR=1\nUSD=1.05\n"));
    server_.Serve("/b", HttpAnswer(200, "OK", "2026-12-08 B\nEUR=1\nUSD=1.06\n"));
    const auto downloadsWaiting = [&] {
        std::size_t own = 0;
        for (const auto& name : FolderContent())
            own += name.starts_with(".Last Update.txt.") ? 1 : 0;
        return own;
    };
    std::optional<DataFileLock> held(std::in_place, dataFile_);
    struct Command {
        std::string url;
        std::string error;
        std::optional<UrlUpdateResult> result;
        std::thread thread;
    };
    Command commands[2];
    commands[0].url = server_.Address("/a");
    commands[1].url = server_.Address("/b");
    for (auto& command : commands) {
        command.thread = std::thread([&] {
            RateTable table{'.', ByteCollation()};
            CurlFetcher fetcher(ShortLimits());
            UrlUpdateRequest request;
            request.url = command.url;
            request.dataFile = dataFile_;
            request.access.lockWait = 20s;
            try {
                command.result = RunUrlUpdate(table, fetcher, request);
            } catch (const std::exception& error) {
                command.error = error.what();
            }
        });
    }
    const auto end = std::chrono::steady_clock::now() + 10s;
    while (downloadsWaiting() < 2 && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(5ms);
    EXPECT_EQ(downloadsWaiting(), 2u) << "each command keeps its download in a file of its own";
    held.reset();
    for (auto& command : commands)
        command.thread.join();

    for (const auto& [command, time] : {std::pair{&commands[0], "2026-12-08 A"}, std::pair{&commands[1], "2026-12-08 B"}}) {
        ASSERT_TRUE(command->result) << command->error;
        EXPECT_EQ(command->result->outcome, UrlUpdateOutcome::Added) << command->result->message;
        EXPECT_EQ(command->result->import.uploadTime, time);
    }
    EXPECT_EQ(StoredRows(), 5u);
    const std::string copy = ReadFile(folder_ / kUpdateFileName);
    EXPECT_TRUE(copy.starts_with("2026-12-08 A\n") || copy.starts_with("2026-12-08 B\n")) << copy;
    EXPECT_EQ(FolderContent(), kAfterImport);
}

// A download that cannot be written says why, and imports nothing.
TEST_F(UpdateFromUrl, AFailedWriteOfTheDownloadGivesItsReason)
{
    server_.Serve(kUpdateTarget, HttpAnswer(200, "OK", kUpdate));
    const auto url = server_.Address(kUpdatePath);
    const std::string saved = ReadFile(dataFile_);

    // A file size limit fails the write as a full disk would.
    const auto outcome = test::RunInChild([&]() -> std::string {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit small{16, 16};
        ::setrlimit(RLIMIT_FSIZE, &small);
        const Run run = RunUpdate(url);
        const std::string wanted = "Error while downloading " + url + ": Cannot create file \"" +
                                   (folder_ / kUpdateFileName).string() + "\". File too large";
        if (!run.result || run.result->outcome != UrlUpdateOutcome::DownloadFailed)
            return "no failed download: " + run.error;
        return run.result->message == wanted ? "" : run.result->message;
    }, 10s);
    ASSERT_TRUE(outcome.finished);
    EXPECT_EQ(outcome.text, "");
    ExpectNothingChanged(saved);

    dataFile_ = folder_ / "gone" / "conversion data.kvx";
    const Run missing = RunUpdate(url);
    ASSERT_TRUE(missing.result) << missing.error;
    EXPECT_EQ(missing.result->message, "Error while downloading " + url + ": Cannot create file \"" +
                                           (folder_ / "gone" / kUpdateFileName).string() +
                                           "\". No such file or directory");
    EXPECT_FALSE(std::filesystem::exists(folder_ / "gone"));
}

// A user who may not add files to the data file's folder (a shared
// installation) may still update files there that are writable.
TEST_F(UpdateFromUrl, AFolderThatTakesNoNewFileStillImports)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to act as another user";
    server_.Serve(kUpdateTarget, HttpAnswer(200, "OK", kUpdate));
    const auto url = server_.Address(kUpdatePath);
    { const DataFileLock made(dataFile_); }
    for (const auto& [path, mode] : {std::pair{folder_.Path(), 0755}, std::pair{dataFile_, 0666},
                                     std::pair{folder_ / kUpdateFileName, 0666},
                                     std::pair{DataFileLock::LockFilePath(dataFile_), 0644}})
        ASSERT_EQ(::chmod(path.c_str(), static_cast<mode_t>(mode)), 0) << path;

    const auto outcome = test::RunInChild([&]() -> std::string {
        const Run run = RunUpdate(url);
        if (!run.result)
            return run.error;
        return run.result->outcome == UrlUpdateOutcome::Added ? "" : run.result->message;
    }, 10s, true);
    ASSERT_TRUE(outcome.finished);
    EXPECT_EQ(outcome.text, "");
    EXPECT_EQ(StoredRows(), 4u);
    EXPECT_EQ(ReadFile(folder_ / kUpdateFileName), kUpdate);
    EXPECT_EQ(FolderContent(), kAfterImport);
}

// Over https the certificate must be trusted, and no redirect may lead from
// an https address to a plain one, however far down the chain.
TEST_F(UpdateFromUrl, HttpsIsTrustedOnlyWithItsCertificateAndNeverLeftForHttp)
{
    test::TestTlsServer tls;
    const auto redirect = [](const std::string& to) {
        return "HTTP/1.1 302 Found\r\nLocation: " + to + "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
    };
    tls.Serve(kUpdateTarget, HttpAnswer(200, "OK", kUpdate));
    tls.Serve("/moved", redirect(kUpdateTarget));
    tls.Serve("/to-http", redirect(server_.Address(kUpdateTarget)));
    tls.Serve("/back-to-http", redirect(server_.Address("/plain")));
    server_.Serve("/to-https", redirect(tls.Address("/back-to-http")));
    server_.Serve(kUpdateTarget, HttpAnswer(200, "OK", kUpdate));
    server_.Serve("/plain", HttpAnswer(200, "OK", kUpdate));
    const struct {
        const char* name;
        std::string url;
        bool trusted;
        std::string reason; // empty: imported
        std::vector<std::string> plainRequests;
    } cases[] = {
        {"Trusted", tls.Address(kUpdatePath), true, "", {}},
        {"RedirectWithinHttps", tls.Address("/moved"), true, "", {}},
        {"NotTrusted", tls.Address(kUpdatePath), false, "the server's certificate is not trusted", {}},
        {"HttpsToHttp", tls.Address("/to-http"), true, "a redirect from https to http is refused", {}},
        {"HttpToHttpsToHttp", server_.Address("/to-https"), true, "a redirect from https to http is refused",
         {"/to-https"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir folder;
        dataFile_ = folder / "conversion data.kvx";
        const std::size_t before = server_.Requests().size();
        Options options;
        options.limits.deadline = 10s;
        options.limits.connectTimeout = 5s;
        if (c.trusted)
            options.caFile = tls.CaFile();

        const Run run = RunUpdate(c.url, options);

        if (c.reason.empty()) {
            ASSERT_TRUE(run.result) << run.error;
            EXPECT_EQ(run.result->outcome, UrlUpdateOutcome::Added);
            EXPECT_EQ(ReadFile(folder / kUpdateFileName), kUpdate);
        } else {
            EXPECT_EQ(run.error, "Cannot open URL " + c.url + ": " + c.reason);
            EXPECT_FALSE(std::filesystem::exists(dataFile_));
        }
        const auto requests = server_.Requests();
        EXPECT_EQ(std::vector<std::string>(requests.begin() + static_cast<std::ptrdiff_t>(before), requests.end()),
                  c.plainRequests);
    }
}

// A fetcher that records its calls and answers as told.
class ScriptedFetcher : public UrlFetcher {
public:
    bool openFails = false;
    std::string failure; // the download's, when not empty
    std::string file = kUpdate;
    std::vector<std::string> calls;

    void Open(std::function<bool()>) override
    {
        calls.push_back("Open");
        if (openFails)
            throw ImportError("Unable to initialize Wininet");
    }
    std::string ReadBody(const std::string& url) override
    {
        calls.push_back("ReadBody " + url);
        return "body";
    }
    DownloadOutcome Download(const std::string& url) override
    {
        calls.push_back("Download " + url);
        return failure.empty() ? DownloadOutcome{file, ""} : DownloadOutcome{"", failure};
    }
};

TEST(RunUrlUpdate, StepsAndTheirOutcomes)
{
    const std::string url = "http://example.test/update/Last Update.txt";
    const std::vector<std::string> allSteps = {"Open", "ReadBody " + url, "Download " + url};
    const struct {
        const char* name;
        bool openFails;
        std::string failure;
        bool cancelAfterCheck;
        std::string error;
        UrlUpdateOutcome outcome;
        std::string message;
        std::vector<std::string> calls;
    } cases[] = {
        {"NoLibrary", true, "", false, "Unable to initialize Wininet", {}, "", {"Open"}},
        {"DownloadFails", false, "why", false, "", UrlUpdateOutcome::DownloadFailed,
         "Error while downloading " + url + ": why", allSteps},
        {"CancelledAfterTheCheck", false, "", true, "", UrlUpdateOutcome::Cancelled, "The download was cancelled.",
         {"Open", "ReadBody " + url}},
        {"Imported", false, "", false, "", UrlUpdateOutcome::Added, "Succesfully Uploaded new conversion data !",
         allSteps},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir folder;
        RateTable table('.', ByteCollation());
        ScriptedFetcher fetcher;
        fetcher.openFails = c.openFails;
        fetcher.failure = c.failure;
        UrlUpdateRequest request;
        request.url = url;
        request.dataFile = folder / "conversion data.kvx";
        request.cancelled = [&] { return c.cancelAfterCheck && fetcher.calls.size() >= 2; };
        try {
            const UrlUpdateResult result = RunUrlUpdate(table, fetcher, request);
            EXPECT_EQ(c.error, "");
            EXPECT_EQ(result.outcome, c.outcome);
            EXPECT_EQ(result.message, c.message);
            EXPECT_EQ(result.body, "body");
        } catch (const ImportError& error) {
            EXPECT_EQ(error.what(), c.error);
        }
        EXPECT_EQ(fetcher.calls, c.calls);
        const bool imported = c.outcome == UrlUpdateOutcome::Added && c.error.empty();
        EXPECT_EQ(std::filesystem::exists(folder / kUpdateFileName), imported);
        EXPECT_EQ(std::filesystem::exists(folder / "conversion data.kvx"), imported);
    }
}

TEST(LastUpdatePath, IsBesideTheDataFile)
{
    EXPECT_EQ(LastUpdatePath("/data/zentaro/conversion data.kvx"), "/data/zentaro/Last Update.txt");
    EXPECT_EQ(LastUpdatePath("rates.kvx"), std::filesystem::current_path() / "Last Update.txt");
}

TEST(DefaultUpdateUrl, IsTheConfiguredAddress)
{
    EXPECT_EQ(DefaultUpdateUrl(), ZENTARO_CONFIGURED_UPDATE_URL);
}

} // namespace
} // namespace zentaro
