#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace zentaro {

inline constexpr std::size_t kBodyBlockSize = 1025;

// What a download brought: the whole file, or why there is none.
struct DownloadOutcome {
    std::string bytes;
    std::string failure; // empty when the download succeeded
    bool Succeeded() const { return failure.empty(); }
};

// The two network services "Update From URL" needs. Addresses are passed as
// the user sees them; an implementation escapes them for the request itself.
// Failures carry the reason the user reads after the command's own text.
class UrlFetcher {
public:
    virtual ~UrlFetcher() = default;

    // Prepares the network library and starts one command: the transfers
    // after it share one deadline, and cancelled, when set, is asked while
    // they run; once it answers true the running transfer stops. Fails with
    // ImportError "Unable to initialize Wininet" when the library cannot start.
    virtual void Open(std::function<bool()> cancelled) = 0;

    // The body of the answer to url, whatever its status, as BodyText gives
    // it; fails with ImportError "Cannot open URL <url>: <reason>" when no
    // answer comes.
    virtual std::string ReadBody(const std::string& url) = 0;

    // The answer to url, whole; a failure when the transfer breaks off or
    // is cancelled, or the server answers with an error status, an empty
    // body, an HTML page (IsHtmlAnswer) or more than the size limit.
    virtual DownloadOutcome Download(const std::string& url) = 0;
};

// Whether text starts with prefix, ASCII letters of text taken in lower
// case; prefix is written in lower case.
bool StartsWithNoCase(std::string_view text, std::string_view prefix);

// The body as text: taken in blocks of 1,025 bytes, each cut at its first NUL.
std::string BodyText(std::string_view raw);

// Whether an answer is a web page rather than a file the import reads: a
// Content-Type of text/html, or a body whose first non-blank character is
// "<" and that is no XML document (an XML declaration without an html
// element). A login page sent with status 200 is such an answer.
bool IsHtmlAnswer(std::string_view contentType, std::string_view body);

// The address with spaces as %20 and every other byte that may not stand in
// a request line percent-encoded; "%" and the reserved characters stay.
std::string EscapeUrl(std::string_view url);

} // namespace zentaro
