#include "import/CurlFetcher.h"
#include "import/ImportError.h"
#include "import/RatesFile.h"
#include "import/UpdateFromUrl.h"
#include "import/UpdateImport.h"
#include "store/RateTable.h"
#include "tests/import/ImportTestSupport.h"
#include "tests/common/TempDir.h"
#include "tests/import/TestHttpServer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <optional>
#include <set>
#include <ostream>
#include <string>

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
    limits.transferTimeout = 1500ms;
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
        std::optional<FetchedUpdate> fetched;
        std::optional<ImportResult> imported;
    };

    // The whole command as the window and the CLI run it.
    Run RunUpdate(const std::string& url, FetchLimits limits = ShortLimits())
    {
        Run run;
        CurlFetcher fetcher(limits);
        try {
            run.fetched = FetchUpdateFile(fetcher, url, folder_.Path());
            if (run.fetched->ReadyToImport())
                run.imported = ImportRatesFile(table_, run.fetched->updateFile, dataFile_, kUrlUpdateSuccessText);
        } catch (const ImportError& error) {
            run.error = error.what();
        }
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

    TestHttpServer server_;
    TempDir folder_;
    std::filesystem::path dataFile_ = folder_ / "conversion data.kvx";
    RateTable table_{'.', ByteCollation()};
};

TEST_F(UpdateFromUrl, GoodFileIsDownloadedAndImported)
{
    server_.Serve(kUpdateTarget, HttpAnswer(200, "OK", kUpdate));
    const auto url = server_.Address(kUpdatePath);

    const Run run = RunUpdate(url);

    ASSERT_EQ(run.error, "");
    EXPECT_EQ(run.fetched->body, kUpdate);
    ASSERT_TRUE(run.imported);
    EXPECT_EQ(run.imported->rowsAdded, 3u);
    EXPECT_EQ(run.imported->message, "Succesfully Uploaded new conversion data !");
    EXPECT_EQ(ReadFile(folder_ / kUpdateFileName), kUpdate);
    EXPECT_EQ(server_.Requests(), (std::vector<std::string>{kUpdateTarget, kUpdateTarget}));
    RateTable reloaded{'.', ByteCollation()};
    reloaded.LoadFromFile(dataFile_);
    EXPECT_EQ(reloaded.RecordCount(), 4u);
}

TEST_F(UpdateFromUrl, SecondRunIsADuplicate)
{
    server_.Serve(kUpdateTarget, HttpAnswer(200, "OK", kUpdate));
    RunUpdate(server_.Address(kUpdatePath));
    const std::string saved = ReadFile(dataFile_);

    const Run second = RunUpdate(server_.Address(kUpdatePath));

    ASSERT_TRUE(second.imported);
    EXPECT_EQ(second.imported->message, "Upload Time : 2026-12-08 ECB is already exist");
    EXPECT_EQ(ReadFile(dataFile_), saved);
}

TEST_F(UpdateFromUrl, RedirectIsFollowed)
{
    server_.Serve("/moved", "HTTP/1.1 302 Found\r\nLocation: /update/Last%20Update.txt\r\n"
                            "Content-Length: 0\r\nConnection: close\r\n\r\n");
    server_.Serve(kUpdateTarget, HttpAnswer(200, "OK", kUpdate));
    const Run run = RunUpdate(server_.Address("/moved"));
    ASSERT_TRUE(run.imported) << run.error;
    EXPECT_EQ(run.fetched->body, kUpdate);
    EXPECT_EQ(run.imported->rowsAdded, 3u);
}

struct AnswerCase {
    const char* name;
    std::string answer;
    std::string body; // what the connection check reads
};

void PrintTo(const AnswerCase& c, std::ostream* out) { *out << c.name; }

class FailedDownload : public UpdateFromUrl, public testing::WithParamInterface<AnswerCase> {};

TEST_P(FailedDownload, ShowsTheDownloadMessageAndImportsNothing)
{
    const auto& c = GetParam();
    server_.Serve(kUpdateTarget, c.answer);
    const std::string saved = ReadFile(dataFile_);
    const auto url = server_.Address(kUpdatePath);

    const Run run = RunUpdate(url);

    ASSERT_EQ(run.error, "");
    ASSERT_TRUE(run.fetched);
    EXPECT_EQ(run.fetched->body, c.body);
    EXPECT_EQ(run.fetched->message, "Error while downloading " + url);
    EXPECT_NE(url.find("Last Update.txt"), std::string::npos) << "the message shows the address as written";
    EXPECT_FALSE(run.imported);
    ExpectNothingChanged(saved);
}

const std::string kErrorPage = "<html><head><title>500 Internal Server Error</title></head>"
                               "<body><h1>Internal Server Error</h1></body></html>\n";

INSTANTIATE_TEST_SUITE_P(
    UpdateFromUrl, FailedDownload,
    testing::Values(
        AnswerCase{"NotFound", HttpAnswer(404, "Not Found", "no such file\n"), "no such file\n"},
        AnswerCase{"ServerErrorPage", HttpAnswer(500, "Internal Server Error", kErrorPage, "text/html"), kErrorPage},
        AnswerCase{"CutOffMidTransfer",
                   "HTTP/1.1 200 OK\r\nContent-Length: 4000\r\nConnection: close\r\n\r\n2026-12-08 ECB\nEUR=1\nUSD=1.05",
                   "2026-12-08 ECB\nEUR=1\nUSD=1.05"},
        // A sign-in page or a portal answers with status 200; it is no update file.
        AnswerCase{"LoginPageAsHtml", HttpAnswer(200, "OK", "2026-12-08 ECB\nEUR=1\n", "text/html; charset=utf-8"),
                   "2026-12-08 ECB\nEUR=1\n"},
        AnswerCase{"LoginPageAsText", HttpAnswer(200, "OK", "\n  <!DOCTYPE html>\n<p>Sign in</p>\n"),
                   "\n  <!DOCTYPE html>\n<p>Sign in</p>\n"},
        AnswerCase{"EmptyBody", HttpAnswer(200, "OK", ""), ""}),
    [](const testing::TestParamInfo<AnswerCase>& info) { return info.param.name; });

TEST_F(UpdateFromUrl, TooLargeDownloadFails)
{
    std::string big = "2026-12-08 ECB\n";
    while (big.size() < 5000)
        big += "EUR=1\n";
    server_.Serve(kUpdateTarget, HttpAnswer(200, "OK", big));
    const std::string saved = ReadFile(dataFile_);
    FetchLimits limits = ShortLimits();
    limits.downloadLimit = 4096;

    const Run run = RunUpdate(server_.Address(kUpdatePath), limits);

    ASSERT_TRUE(run.fetched) << run.error;
    EXPECT_EQ(run.fetched->body, big) << "the connection check has its own limit";
    EXPECT_EQ(run.fetched->message, "Error while downloading " + server_.Address(kUpdatePath));
    ExpectNothingChanged(saved);
}

TEST_F(UpdateFromUrl, ConnectionCheckStopsReadingAtItsLimit)
{
    server_.Serve("/big", HttpAnswer(200, "OK", std::string(10000, 'r')));
    FetchLimits limits = ShortLimits();
    limits.bodyLimit = 3000;
    CurlFetcher fetcher(limits);
    fetcher.Open();
    EXPECT_EQ(fetcher.ReadBody(server_.Address("/big")), std::string(3000, 'r'));
}

TEST_F(UpdateFromUrl, NulInTheBodyCutsItsBlock)
{
    server_.Serve("/nul", HttpAnswer(200, "OK", "head\0tail"s + std::string(1100, 'x')));
    CurlFetcher fetcher(ShortLimits());
    fetcher.Open();
    EXPECT_EQ(fetcher.ReadBody(server_.Address("/nul")), "head" + std::string(84, 'x'));
}

TEST_F(UpdateFromUrl, UnreachableAddressesCannotBeOpened)
{
    const test::SilentServer silent;
    const struct {
        const char* name;
        std::string url;
    } cases[] = {
        {"NeverAnswers", silent.Address(kUpdatePath)},
        {"ClosedPort", "http://127.0.0.1:" + std::to_string(test::ClosedPort()) + kUpdatePath},
        {"UnknownHost", "http://zentaro-update.invalid/update/Last Update.txt"},
        {"NotHttp", "ftp://127.0.0.1/update/Last Update.txt"},
    };
    const std::string saved = ReadFile(dataFile_);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto start = std::chrono::steady_clock::now();
        const Run run = RunUpdate(c.url);
        EXPECT_LT(std::chrono::steady_clock::now() - start, 10s);
        EXPECT_EQ(run.error, "Cannot open URL " + c.url);
        EXPECT_FALSE(run.fetched);
        ExpectNothingChanged(saved);
    }
}

// A fetcher that records its calls and answers as told.
class ScriptedFetcher : public UrlFetcher {
public:
    bool openFails = false;
    bool downloadSucceeds = true;
    std::string writes; // written to the path on a successful download, unless empty
    std::vector<std::string> calls;

    void Open() override
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
    bool Download(const std::string& url, const std::filesystem::path& path) override
    {
        calls.push_back("Download " + url + " -> " + path.filename().string());
        if (downloadSucceeds && !writes.empty())
            WriteFile(path, writes);
        return downloadSucceeds;
    }
};

TEST(FetchUpdateFile, StepsAndTheirMessages)
{
    TempDir folder;
    const std::string url = "http://example.test/update/Last Update.txt";
    const std::vector<std::string> allSteps = {"Open", "ReadBody " + url, "Download " + url + " -> Last Update.txt"};

    ScriptedFetcher noLibrary;
    noLibrary.openFails = true;
    EXPECT_THROW(FetchUpdateFile(noLibrary, url, folder.Path()), ImportError);
    EXPECT_EQ(noLibrary.calls, std::vector<std::string>{"Open"});

    ScriptedFetcher noFile; // reports success but leaves no file
    const auto missing = FetchUpdateFile(noFile, url, folder.Path());
    EXPECT_EQ(missing.message, "file not found : Last Update.txt");
    EXPECT_EQ(missing.body, "body");
    EXPECT_EQ(noFile.calls, allSteps);

    ScriptedFetcher failing;
    failing.downloadSucceeds = false;
    EXPECT_EQ(FetchUpdateFile(failing, url, folder.Path()).message, "Error while downloading " + url);

    ScriptedFetcher good;
    good.writes = kUpdate;
    const auto ready = FetchUpdateFile(good, url, folder.Path());
    EXPECT_TRUE(ready.ReadyToImport());
    EXPECT_EQ(ready.updateFile, folder / "Last Update.txt");
}

TEST(DefaultUpdateUrl, IsTheConfiguredAddress)
{
    EXPECT_EQ(DefaultUpdateUrl(), ZENTARO_CONFIGURED_UPDATE_URL);
}

} // namespace
} // namespace zentaro
