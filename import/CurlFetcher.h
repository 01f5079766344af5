#pragma once

#include "import/UrlFetcher.h"

#include <chrono>
#include <cstddef>
#include <filesystem>

namespace zentaro {

struct FetchLimits {
    std::chrono::milliseconds connectTimeout{15'000};
    std::chrono::milliseconds deadline{60'000};        // the whole command: both transfers together
    std::size_t bodyLimit = std::size_t{1} << 20;      // connection check: reading stops there
    std::size_t downloadLimit = std::size_t{16} << 20; // a larger download fails
};

// UrlFetcher over libcurl: HTTP and HTTPS only, redirects followed, but from
// an https address to https addresses only. caFile, when given, holds the
// certificates trusted instead of the system's.
class CurlFetcher : public UrlFetcher {
public:
    explicit CurlFetcher(FetchLimits limits = {}, std::filesystem::path caFile = {});
    ~CurlFetcher() override;
    CurlFetcher(const CurlFetcher&) = delete;
    CurlFetcher& operator=(const CurlFetcher&) = delete;

    void Open(std::function<bool()> cancelled) override;
    std::string ReadBody(const std::string& url) override;
    DownloadOutcome Download(const std::string& url) override;

private:
    struct Request;
    // Runs one transfer; the reason it failed, or empty.
    std::string Perform(const std::string& url, Request& request);

    FetchLimits limits_;
    std::filesystem::path caFile_;
    std::function<bool()> cancelled_;
    std::chrono::steady_clock::time_point deadline_;
    void* handle_ = nullptr; // CURL*, kept out of this header
};

} // namespace zentaro
