#include "app/BackgroundUpdate.h"
#include "import/UpdateFromUrl.h"
#include "store/RateTable.h"

#include <exception>

namespace zentaro {

UpdateOutcome RunBackgroundUpdate(const BackgroundUpdateSettings& settings, const std::atomic<bool>& cancelled)
{
    try {
        RateTable table(settings.decimalSeparator);
        CurlFetcher fetcher(settings.limits);
        UrlUpdateRequest request;
        request.url = settings.url;
        request.dataFile = settings.dataFile;
        request.access.lockWait = settings.lockWait;
        request.cancelled = [&cancelled] { return cancelled.load(); };
        const UrlUpdateResult result = RunUrlUpdate(table, fetcher, request);
        switch (result.outcome) {
        case UrlUpdateOutcome::Added: return {UpdateOutcome::Added, {}};
        case UrlUpdateOutcome::Duplicate: return {UpdateOutcome::AlreadyThere, {}};
        case UrlUpdateOutcome::DownloadFailed:
        case UrlUpdateOutcome::Cancelled: break;
        }
        return {UpdateOutcome::Failed, result.message};
    } catch (const std::exception& error) {
        return {UpdateOutcome::Failed, error.what()};
    }
}

} // namespace zentaro
