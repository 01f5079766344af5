#include "import/UpdateFromUrl.h"
#include "import/ImportError.h"
#include "import/RatesFile.h"
#include "import/UrlFetcher.h"
#include "store/FileReplacement.h"
#include "store/MessageText.h"
#include "store/StoreError.h"

#include <algorithm>
#include <cerrno>
#include <optional>
#include <span>

namespace zentaro {
namespace {

std::span<const std::byte> Bytes(const std::string& text) { return std::as_bytes(std::span(text.data(), text.size())); }

// The download's own file. Beside "Last Update.txt" it is cleaned up with
// the data file's other temporaries should a kill leave it behind; a folder
// that takes no new file still lets the command import.
void MakeDownloadFile(std::optional<TemporaryFile>& file, const std::filesystem::path& copy)
{
    int error = 0;
    file.emplace(copy, error);
    if (error == EACCES || error == EPERM || error == EROFS)
        file.emplace(std::filesystem::temp_directory_path() / "zentaro-download");
    else if (error != 0)
        throw StoreError(FileErrorText("Cannot create file", copy, error));
}

UrlUpdateResult Ended(UrlUpdateOutcome outcome, std::string message, std::string body = {})
{
    UrlUpdateResult result;
    result.outcome = outcome;
    result.message = std::move(message);
    result.body = std::move(body);
    return result;
}

// Step 3: under the data file's lock, the import of the downloaded file,
// then "Last Update.txt" replaced with what was downloaded, whatever the
// import made of it.
ImportResult ImportDownload(RateTable& table, const UrlUpdateRequest& request, const std::filesystem::path& downloaded,
                            std::span<const std::byte> bytes)
{
    const std::filesystem::path copy = LastUpdatePath(request.dataFile);
    DataFileAccess access = request.access;
    if (std::find(access.companions.begin(), access.companions.end(), copy) == access.companions.end())
        access.companions.push_back(copy);
    ImportResult result;
    ChangeDataFile(table, request.dataFile, access, [&] {
        try {
            result = ImportRatesFile(table, downloaded, request.dataFile, kUrlUpdateSuccessText);
        } catch (...) {
            try {
                ReplaceFileContent(copy, bytes);
            } catch (const StoreError&) {
                // The import's own error says more.
            }
            throw;
        }
        ReplaceFileContent(copy, bytes);
    });
    return result;
}

} // namespace

std::string DefaultUpdateUrl() { return ZENTARO_UPDATE_URL; }

std::filesystem::path LastUpdatePath(const std::filesystem::path& dataFile)
{
    std::error_code ignored;
    return std::filesystem::absolute(dataFile, ignored).parent_path() / kUpdateFileName;
}

std::string DownloadFailedMessage(std::string_view url, std::string_view reason)
{
    std::string message = "Error while downloading " + QuotedInput(url);
    if (!reason.empty()) {
        message += ": ";
        message += reason;
    }
    return message;
}

UrlUpdateResult RunUrlUpdate(RateTable& table, UrlFetcher& fetcher, const UrlUpdateRequest& request)
{
    const auto cancelled = [&request] { return request.cancelled && request.cancelled(); };
    const auto cancel = [](std::string body = {}) {
        return Ended(UrlUpdateOutcome::Cancelled, std::string(kDownloadCancelledText), std::move(body));
    };
    if (cancelled())
        return cancel();
    fetcher.Open(request.cancelled);
    std::string body;
    try {
        body = fetcher.ReadBody(request.url);
    } catch (const ImportError&) {
        if (cancelled())
            return cancel();
        throw;
    }
    if (cancelled())
        return cancel(std::move(body));

    DownloadOutcome download = fetcher.Download(request.url);
    if (cancelled())
        return cancel(std::move(body));
    if (!download.Succeeded())
        return Ended(UrlUpdateOutcome::DownloadFailed, DownloadFailedMessage(request.url, download.failure),
                     std::move(body));

    std::optional<TemporaryFile> downloaded;
    try {
        MakeDownloadFile(downloaded, LastUpdatePath(request.dataFile));
        downloaded->Write(Bytes(download.bytes));
    } catch (const StoreError& error) {
        return Ended(UrlUpdateOutcome::DownloadFailed, DownloadFailedMessage(request.url, error.what()),
                     std::move(body));
    }

    UrlUpdateResult result;
    result.body = std::move(body);
    result.import = ImportDownload(table, request, downloaded->Path(), Bytes(download.bytes));
    result.outcome = result.import.outcome == ImportOutcome::Added ? UrlUpdateOutcome::Added
                                                                   : UrlUpdateOutcome::Duplicate;
    result.message = result.import.message;
    return result;
}

} // namespace zentaro
