#include "import/CurlFetcher.h"
#include "import/ImportError.h"
#include "import/SharedLibrary.h"
#include "store/MessageText.h"

// A library older than 7.85 knows only the bitmask forms of the protocol
// options, which newer headers mark as deprecated.
#define CURL_DISABLE_DEPRECATION
#include <curl/curl.h>

#include <algorithm>

namespace zentaro {
namespace {

constexpr char kAgent[] = "Zentaro/1.0";
constexpr char kProtocols[] = "http,https";
constexpr char kSecureProtocols[] = "https";
constexpr long kMaxRedirects = 5;
constexpr std::size_t kMebibyte = std::size_t{1} << 20;

constexpr char kInsecureRedirectText[] = "a redirect from https to http is refused";
constexpr char kCancelledText[] = "the transfer was cancelled";

// libcurl is loaded when the first request needs it rather than linked:
// with its thirty-odd libraries it would slow down every start of the CLI.
struct CurlApi {
    CURLcode (*globalInit)(long flags);
    CURL* (*easyInit)();
    CURLcode (*easySetopt)(CURL* curl, CURLoption option, ...);
    CURLcode (*easyPerform)(CURL* curl);
    CURLcode (*easyGetinfo)(CURL* curl, CURLINFO info, ...);
    const char* (*easyStrerror)(CURLcode code);
    void (*easyReset)(CURL* curl);
    void (*easyCleanup)(CURL* curl);
};

// nullptr when the library is missing or does not start.
const CurlApi* Api()
{
    static const CurlApi* const api = LoadLibraryApi<CurlApi>("libcurl.so.4", [](void* library, CurlApi& curl) {
        return Resolve(library, "curl_global_init", curl.globalInit) &&
               Resolve(library, "curl_easy_init", curl.easyInit) &&
               Resolve(library, "curl_easy_setopt", curl.easySetopt) &&
               Resolve(library, "curl_easy_perform", curl.easyPerform) &&
               Resolve(library, "curl_easy_getinfo", curl.easyGetinfo) &&
               Resolve(library, "curl_easy_strerror", curl.easyStrerror) &&
               Resolve(library, "curl_easy_reset", curl.easyReset) &&
               Resolve(library, "curl_easy_cleanup", curl.easyCleanup) &&
               curl.globalInit(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    });
    return api;
}

CURL* Curl(void* handle) { return static_cast<CURL*>(handle); }

// "60", "1.5", "0.25": seconds as a person writes them.
std::string Seconds(std::chrono::milliseconds time)
{
    const auto ms = std::max<long long>(0, time.count());
    std::string text = std::to_string(ms / 1000);
    if (ms % 1000 != 0) {
        std::string fraction = std::to_string(1000 + ms % 1000).substr(1);
        fraction.erase(fraction.find_last_not_of('0') + 1);
        text += '.';
        text += fraction;
    }
    return text;
}

std::string Size(std::size_t bytes)
{
    if (bytes >= kMebibyte && bytes % kMebibyte == 0)
        return std::to_string(bytes / kMebibyte) + " MiB";
    return std::to_string(bytes) + " bytes";
}

// What one request has seen so far. "Answered" means a final header block
// arrived: a redirect that curl follows is not an answer yet.
struct Transfer {
    CURL* curl = nullptr;
    std::size_t limit = 0;
    const std::function<bool()>* cancelled = nullptr;
    bool secure = false;           // the address requested last is https
    bool answered = false;
    bool limitReached = false;
    bool redirectInBlock = false;
    bool redirected = false;
    bool insecureRedirect = false;
    bool wasCancelled = false;
    std::chrono::milliseconds connectTimeout{0};
    std::chrono::milliseconds timeout{0};
    char error[CURL_ERROR_SIZE] = {};
    std::string body;
};

long Status(CURL* curl)
{
    long status = 0;
    Api()->easyGetinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    return status;
}

// Once an address is https every redirect must stay https: curl's own rule
// is set from the first address only, so the chain is followed here too.
bool FollowsSecurely(Transfer& transfer, std::string_view location)
{
    const auto start = location.find_first_not_of(" \t");
    location = start == std::string_view::npos ? std::string_view() : location.substr(start);
    transfer.redirected = true;
    if (StartsWithNoCase(location, "https:"))
        transfer.secure = true;
    else if (StartsWithNoCase(location, "http:") && transfer.secure)
        transfer.insecureRedirect = true;
    return !transfer.insecureRedirect;
}

std::size_t OnHeader(char* data, std::size_t size, std::size_t count, void* user)
{
    auto& transfer = *static_cast<Transfer*>(user);
    const std::string_view line(data, size * count);
    if (StartsWithNoCase(line, "location:")) {
        const long status = Status(transfer.curl);
        if (status >= 300 && status < 400) {
            transfer.redirectInBlock = true;
            if (!FollowsSecurely(transfer, line.substr(9)))
                return 0; // stops the transfer as a write error
        }
    }
    if (line == "\r\n" || line == "\n") {
        const long status = Status(transfer.curl);
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

// curl asks this often while data flows and about once a second while none does.
int OnProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    auto& transfer = *static_cast<Transfer*>(user);
    if (*transfer.cancelled && (*transfer.cancelled)())
        transfer.wasCancelled = true;
    return transfer.wasCancelled ? 1 : 0;
}

void SetProtocols(CURL* curl, CURLoption names, CURLoption mask, const char* text, long bits)
{
    if (Api()->easySetopt(curl, names, text) == CURLE_UNKNOWN_OPTION)
        Api()->easySetopt(curl, mask, bits);
}

// The limit that ended a transfer that timed out: the connection's own when
// no connection was made within it, otherwise the command's deadline.
std::chrono::milliseconds LimitReached(const Transfer& transfer, std::chrono::milliseconds deadline)
{
    curl_off_t connected = 0;
    Api()->easyGetinfo(transfer.curl, transfer.secure ? CURLINFO_APPCONNECT_TIME_T : CURLINFO_CONNECT_TIME_T,
                       &connected);
    return connected == 0 && transfer.connectTimeout < transfer.timeout ? transfer.connectTimeout : deadline;
}

std::string TimedOutText(std::chrono::milliseconds limit) { return "timed out after " + Seconds(limit) + " s"; }

// Why a transfer failed, in the words the user reads; empty when it did not.
std::string FailureReason(const Transfer& transfer, CURLcode result, std::chrono::milliseconds deadline)
{
    if (transfer.insecureRedirect)
        return kInsecureRedirectText;
    if (transfer.wasCancelled || result == CURLE_ABORTED_BY_CALLBACK)
        return kCancelledText;
    if (transfer.limitReached)
        return "the file is over the size limit of " + Size(transfer.limit);
    switch (result) {
    case CURLE_OK:
        return {};
    case CURLE_OPERATION_TIMEDOUT:
        return TimedOutText(LimitReached(transfer, deadline));
    case CURLE_HTTP_RETURNED_ERROR:
        return "the server answered with status " + std::to_string(Status(transfer.curl));
    case CURLE_TOO_MANY_REDIRECTS:
        return "too many redirects (more than " + std::to_string(kMaxRedirects) + ")";
    case CURLE_COULDNT_RESOLVE_HOST:
        return "the host name is unknown";
    case CURLE_COULDNT_CONNECT:
        return "could not connect to the server";
    case CURLE_PEER_FAILED_VERIFICATION:
        return "the server's certificate is not trusted";
    case CURLE_PARTIAL_FILE:
        return "the connection closed before the end of the file";
    case CURLE_UNSUPPORTED_PROTOCOL:
        if (!transfer.redirected)
            return "only http and https addresses can be opened";
        return std::string("a redirect to an address that is not ") + (transfer.secure ? "https" : "http or https") +
               " is refused";
    default:
        break;
    }
    if (transfer.error[0] != '\0')
        return transfer.error;
    return Api()->easyStrerror(result);
}

} // namespace

CurlFetcher::CurlFetcher(FetchLimits limits, std::filesystem::path caFile)
    : limits_(limits), caFile_(std::move(caFile))
{
}

CurlFetcher::~CurlFetcher()
{
    if (handle_)
        Api()->easyCleanup(Curl(handle_));
}

void CurlFetcher::Open(std::function<bool()> cancelled)
{
    if (Api() == nullptr)
        throw ImportError("Unable to initialize Wininet");
    if (!handle_)
        handle_ = Api()->easyInit();
    if (!handle_)
        throw ImportError("Unable to initialize Wininet");
    cancelled_ = std::move(cancelled);
    deadline_ = std::chrono::steady_clock::now() + limits_.deadline;
}

struct CurlFetcher::Request {
    Transfer transfer;
    bool failOnError = false; // an error status ends the transfer at once
};

std::string CurlFetcher::Perform(const std::string& url, Request& request)
{
    Transfer& transfer = request.transfer;
    CURL* curl = Curl(handle_);
    transfer.curl = curl;
    transfer.cancelled = &cancelled_;
    transfer.secure = StartsWithNoCase(url, "https:");
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline_ - std::chrono::steady_clock::now());
    if (left.count() <= 0)
        return TimedOutText(limits_.deadline);
    transfer.timeout = left;
    transfer.connectTimeout = std::min(limits_.connectTimeout, left);

    Api()->easyReset(curl);
    const std::string escaped = EscapeUrl(url);
    Api()->easySetopt(curl, CURLOPT_URL, escaped.c_str()); // curl copies the text
    Api()->easySetopt(curl, CURLOPT_USERAGENT, kAgent);
    Api()->easySetopt(curl, CURLOPT_NOSIGNAL, 1L);
    Api()->easySetopt(curl, CURLOPT_ERRORBUFFER, transfer.error);
    Api()->easySetopt(curl, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(transfer.connectTimeout.count()));
    Api()->easySetopt(curl, CURLOPT_TIMEOUT_MS, static_cast<long>(transfer.timeout.count()));
    Api()->easySetopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    Api()->easySetopt(curl, CURLOPT_MAXREDIRS, kMaxRedirects);
    SetProtocols(curl, CURLOPT_PROTOCOLS_STR, CURLOPT_PROTOCOLS, kProtocols, CURLPROTO_HTTP | CURLPROTO_HTTPS);
    if (transfer.secure)
        SetProtocols(curl, CURLOPT_REDIR_PROTOCOLS_STR, CURLOPT_REDIR_PROTOCOLS, kSecureProtocols, CURLPROTO_HTTPS);
    else
        SetProtocols(curl, CURLOPT_REDIR_PROTOCOLS_STR, CURLOPT_REDIR_PROTOCOLS, kProtocols,
                     CURLPROTO_HTTP | CURLPROTO_HTTPS);
    if (!caFile_.empty())
        Api()->easySetopt(curl, CURLOPT_CAINFO, caFile_.c_str());
    Api()->easySetopt(curl, CURLOPT_HEADERFUNCTION, OnHeader);
    Api()->easySetopt(curl, CURLOPT_HEADERDATA, &transfer);
    Api()->easySetopt(curl, CURLOPT_WRITEFUNCTION, OnBody);
    Api()->easySetopt(curl, CURLOPT_WRITEDATA, &transfer);
    Api()->easySetopt(curl, CURLOPT_XFERINFOFUNCTION, OnProgress);
    Api()->easySetopt(curl, CURLOPT_XFERINFODATA, &transfer);
    Api()->easySetopt(curl, CURLOPT_NOPROGRESS, 0L);
    if (request.failOnError)
        Api()->easySetopt(curl, CURLOPT_FAILONERROR, 1L);

    return FailureReason(transfer, Api()->easyPerform(curl), limits_.deadline);
}

std::string CurlFetcher::ReadBody(const std::string& url)
{
    if (!handle_)
        Open({});
    Request request;
    request.transfer.limit = limits_.bodyLimit;
    const std::string failure = Perform(url, request);
    // Once an answer has begun, a transfer that breaks off still counts:
    // the check only needs the server to answer.
    if (!failure.empty() && !request.transfer.answered)
        throw ImportError("Cannot open URL " + QuotedInput(url) + ": " + failure);
    return BodyText(request.transfer.body);
}

DownloadOutcome CurlFetcher::Download(const std::string& url)
{
    DownloadOutcome outcome;
    if (!handle_) {
        try {
            Open({});
        } catch (const ImportError& error) {
            outcome.failure = error.what();
            return outcome;
        }
    }
    // The whole answer is held: only a complete, plausible file may be imported.
    Request request;
    request.transfer.limit = limits_.downloadLimit;
    request.failOnError = true;
    outcome.failure = Perform(url, request);
    const Transfer& transfer = request.transfer;
    if (outcome.failure.empty()) {
        const char* contentType = nullptr;
        Api()->easyGetinfo(transfer.curl, CURLINFO_CONTENT_TYPE, &contentType);
        if (transfer.body.empty())
            outcome.failure = "the server sent an empty file";
        else if (IsHtmlAnswer(contentType ? contentType : "", transfer.body))
            outcome.failure = "the server sent a web page instead of the file";
    }
    if (outcome.Succeeded())
        outcome.bytes = std::move(request.transfer.body);
    return outcome;
}

} // namespace zentaro
