#include "import/CurlFetcher.h"
#include "import/SharedLibrary.h"
#include "import/ImportError.h"
#include "store/FileReplacement.h"
#include "store/MessageText.h"
#include "store/StoreError.h"

#include <curl/curl.h>
#include <dlfcn.h>

#include <span>

namespace zentaro {
namespace {

constexpr char kAgent[] = "Zentaro/1.0";
constexpr char kProtocols[] = "http,https";
constexpr long kMaxRedirects = 5;

// libcurl is loaded when the first request needs it rather than linked:
// with its thirty-odd libraries it would slow down every start of the CLI.
struct CurlApi {
    CURLcode (*globalInit)(long flags);
    CURL* (*easyInit)();
    CURLcode (*easySetopt)(CURL* curl, CURLoption option, ...);
    CURLcode (*easyPerform)(CURL* curl);
    CURLcode (*easyGetinfo)(CURL* curl, CURLINFO info, ...);
    void (*easyReset)(CURL* curl);
    void (*easyCleanup)(CURL* curl);
};

// nullptr when the library is missing or does not start.
const CurlApi* Api()
{
    static const CurlApi* const api = []() -> const CurlApi* {
        void* library = ::dlopen("libcurl.so.4", RTLD_NOW | RTLD_LOCAL);
        if (library == nullptr)
            return nullptr;
        static CurlApi loaded{};
        const bool resolved = Resolve(library, "curl_global_init", loaded.globalInit) &&
                              Resolve(library, "curl_easy_init", loaded.easyInit) &&
                              Resolve(library, "curl_easy_setopt", loaded.easySetopt) &&
                              Resolve(library, "curl_easy_perform", loaded.easyPerform) &&
                              Resolve(library, "curl_easy_getinfo", loaded.easyGetinfo) &&
                              Resolve(library, "curl_easy_reset", loaded.easyReset) &&
                              Resolve(library, "curl_easy_cleanup", loaded.easyCleanup);
        if (!resolved || loaded.globalInit(CURL_GLOBAL_DEFAULT) != CURLE_OK)
            return nullptr;
        return &loaded;
    }();
    return api;
}

CURL* Curl(void* handle) { return static_cast<CURL*>(handle); }

// What one request has seen so far. "Answered" means a final header block
// arrived: a redirect that curl follows is not an answer yet.
struct Transfer {
    CURL* curl = nullptr;
    std::size_t limit = 0;
    bool answered = false;
    bool limitReached = false;
    bool redirectInBlock = false;
    std::string body;
};

std::size_t OnHeader(char* data, std::size_t size, std::size_t count, void* user)
{
    auto& transfer = *static_cast<Transfer*>(user);
    const std::string_view line(data, size * count);
    if (StartsWithNoCase(line, "location:"))
        transfer.redirectInBlock = true;
    if (line == "\r\n" || line == "\n") {
        long status = 0;
        Api()->easyGetinfo(transfer.curl, CURLINFO_RESPONSE_CODE, &status);
        const bool redirect = status >= 300 && status < 400 && transfer.redirectInBlock;
        if (status >= 200 && !redirect)
            transfer.answered = true;
        transfer.redirectInBlock = false;
    }
    return size * count;
}

std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* user)
{
    auto& transfer = *static_cast<Transfer*>(user);
    const std::size_t length = size * count;
    transfer.answered = true;
    const std::size_t room = transfer.limit - transfer.body.size();
    if (length > room) {
        // Stops the transfer: curl treats a short count as a write error.
        transfer.body.append(data, room);
        transfer.limitReached = true;
        return 0;
    }
    transfer.body.append(data, length);
    return length;
}

} // namespace

CurlFetcher::CurlFetcher(FetchLimits limits) : limits_(limits) {}

CurlFetcher::~CurlFetcher()
{
    if (handle_)
        Api()->easyCleanup(Curl(handle_));
}

void CurlFetcher::Open()
{
    if (Api() == nullptr)
        throw ImportError("Unable to initialize Wininet");
    if (!handle_)
        handle_ = Api()->easyInit();
    if (!handle_)
        throw ImportError("Unable to initialize Wininet");
}

void CurlFetcher::Prepare(const std::string& url)
{
    CURL* curl = Curl(handle_);
    Api()->easyReset(curl);
    const std::string escaped = EscapeUrl(url);
    Api()->easySetopt(curl, CURLOPT_URL, escaped.c_str()); // curl copies the text
    Api()->easySetopt(curl, CURLOPT_USERAGENT, kAgent);
    Api()->easySetopt(curl, CURLOPT_NOSIGNAL, 1L);
    Api()->easySetopt(curl, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(limits_.connectTimeout.count()));
    Api()->easySetopt(curl, CURLOPT_TIMEOUT_MS, static_cast<long>(limits_.transferTimeout.count()));
    Api()->easySetopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    Api()->easySetopt(curl, CURLOPT_MAXREDIRS, kMaxRedirects);
    Api()->easySetopt(curl, CURLOPT_PROTOCOLS_STR, kProtocols);
    Api()->easySetopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, kProtocols);
}

std::string CurlFetcher::ReadBody(const std::string& url)
{
    Open();
    Prepare(url);
    CURL* curl = Curl(handle_);
    Transfer transfer;
    transfer.curl = curl;
    transfer.limit = limits_.bodyLimit;
    Api()->easySetopt(curl, CURLOPT_HEADERFUNCTION, OnHeader);
    Api()->easySetopt(curl, CURLOPT_HEADERDATA, &transfer);
    Api()->easySetopt(curl, CURLOPT_WRITEFUNCTION, OnBody);
    Api()->easySetopt(curl, CURLOPT_WRITEDATA, &transfer);
    const CURLcode result = Api()->easyPerform(curl);
    // Once an answer has begun, a transfer that breaks off still counts:
    // the check only needs the server to answer.
    if (result != CURLE_OK && !transfer.answered)
        throw ImportError("Cannot open URL " + QuotedInput(url));
    return BodyText(transfer.body);
}

bool CurlFetcher::Download(const std::string& url, const std::filesystem::path& path)
{
    try {
        Open();
    } catch (const ImportError&) {
        return false;
    }
    Prepare(url);
    CURL* curl = Curl(handle_);
    // The whole answer is held first: only a complete, plausible file may
    // replace the local copy, and it does so as the data file's saves do.
    Transfer transfer;
    transfer.curl = curl;
    transfer.limit = limits_.downloadLimit;
    Api()->easySetopt(curl, CURLOPT_FAILONERROR, 1L);
    Api()->easySetopt(curl, CURLOPT_WRITEFUNCTION, OnBody);
    Api()->easySetopt(curl, CURLOPT_WRITEDATA, &transfer);
    const CURLcode result = Api()->easyPerform(curl);
    long status = 0;
    Api()->easyGetinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    const char* contentType = nullptr;
    Api()->easyGetinfo(curl, CURLINFO_CONTENT_TYPE, &contentType);

    if (result != CURLE_OK || status >= 400 || transfer.limitReached || transfer.body.empty() ||
        IsHtmlAnswer(contentType ? contentType : "", transfer.body))
        return false;
    try {
        ReplaceFileContent(path, std::as_bytes(std::span(transfer.body.data(), transfer.body.size())));
    } catch (const StoreError&) {
        return false;
    }
    return true;
}

} // namespace zentaro
