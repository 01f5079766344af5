#pragma once

#include "import/UrlFetcher.h"

#include <chrono>
#include <cstddef>

namespace zentaro {

struct FetchLimits {
    std::chrono::milliseconds connectTimeout{15'000};
    std::chrono::milliseconds transferTimeout{60'000}; // the whole request, connection included
    std::size_t bodyLimit = std::size_t{1} << 20;      // connection check: reading stops there
    std::size_t downloadLimit = std::size_t{16} << 20; // a larger download fails
};

// UrlFetcher over libcurl: HTTP and HTTPS only, redirects followed.
class CurlFetcher : public UrlFetcher {
public:
    explicit CurlFetcher(FetchLimits limits = {});
    ~CurlFetcher() override;
    CurlFetcher(const CurlFetcher&) = delete;
    CurlFetcher& operator=(const CurlFetcher&) = delete;

    void Open() override;
    std::string ReadBody(const std::string& url) override;
    bool Download(const std::string& url, const std::filesystem::path& path) override;

private:
    void Prepare(const std::string& url);

    FetchLimits limits_;
    void* handle_ = nullptr; // CURL*, kept out of this header
};

} // namespace zentaro
