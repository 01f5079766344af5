#include "import/UpdateFromUrl.h"
#include "import/UrlFetcher.h"
#include "store/MessageText.h"

#include <system_error>

namespace zentaro {

std::string DefaultUpdateUrl() { return ZENTARO_UPDATE_URL; }

std::string DownloadFailedMessage(std::string_view url)
{
    return "Error while downloading " + QuotedInput(url);
}

FetchedUpdate FetchUpdateFile(UrlFetcher& fetcher, const std::string& url,
                              const std::filesystem::path& folder)
{
    FetchedUpdate fetched;
    fetcher.Open();
    fetched.body = fetcher.ReadBody(url);
    fetched.updateFile = folder / kUpdateFileName;
    if (!fetcher.Download(url, fetched.updateFile)) {
        fetched.message = DownloadFailedMessage(url);
        return fetched;
    }
    std::error_code error;
    if (!std::filesystem::exists(fetched.updateFile, error))
        fetched.message = std::string(kUpdateFileMissingText);
    return fetched;
}

} // namespace zentaro
