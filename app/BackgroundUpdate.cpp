#include "app/BackgroundUpdate.h"
#include "import/RatesFile.h"
#include "import/UpdateFromUrl.h"
#include "store/DataFileChange.h"
#include "store/RateTable.h"

#include <exception>

namespace zentaro {

UpdateOutcome RunBackgroundUpdate(const BackgroundUpdateSettings& settings, const std::atomic<bool>& cancelled)
{
    try {
        CurlFetcher fetcher(settings.limits);
        const FetchedUpdate fetched = FetchUpdateFile(fetcher, settings.url, settings.dataFolder);
        if (fetched.message)
            return {UpdateOutcome::Failed, *fetched.message};
        if (cancelled)
            return {UpdateOutcome::Failed, "cancelled"};
        RateTable table(settings.decimalSeparator);
        ImportResult result;
        DataFileAccess access;
        access.lockWait = settings.lockWait;
        access.companions = {settings.dataFolder / kUpdateFileName};
        ChangeDataFile(table, settings.dataFile, access, [&] {
            result = ImportRatesFile(table, fetched.updateFile, settings.dataFile, kUrlUpdateSuccessText);
        });
        return {result.outcome == ImportOutcome::Added ? UpdateOutcome::Added : UpdateOutcome::AlreadyThere, {}};
    } catch (const std::exception& error) {
        return {UpdateOutcome::Failed, error.what()};
    }
}

} // namespace zentaro
