#include "store/DataFileChange.h"
#include "store/FileReplacement.h"
#include "store/RateTable.h"
#include "store/StoreError.h"

namespace zentaro {
namespace {

void LoadCurrent(RateTable& table, const std::filesystem::path& dataFile, bool createMissing,
                 const std::function<void()>& onReloaded)
{
    if (table.HoldsFileContent(dataFile))
        return;
    // A load that fails still changed the table (emptied or closed it).
    struct Notify {
        const std::function<void()>& onReloaded;
        ~Notify()
        {
            if (onReloaded)
                onReloaded();
        }
    } notify{onReloaded};
    std::error_code error;
    // A dangling link counts as missing: the save creates its target.
    const bool missing = !std::filesystem::exists(dataFile, error) && !error;
    if (!missing || !createMissing) {
        table.LoadFromFile(dataFile);
        return;
    }
    // No file yet: the load fails but leaves an open, empty table to start from.
    try {
        table.LoadFromFile(dataFile);
    } catch (const StoreError&) {
    }
}

} // namespace

void ChangeDataFile(RateTable& table, const std::filesystem::path& dataFile, const DataFileAccess& access,
                    const std::function<void()>& change)
{
    const DataFileLock lock(dataFile, access.lockWait, access.onWaiting);
    RemoveStaleTemporaries(dataFile);
    for (const auto& companion : access.companions)
        RemoveStaleTemporaries(companion);
    LoadCurrent(table, dataFile, access.createMissing, access.onReloaded);
    try {
        change();
    } catch (...) {
        try {
            LoadCurrent(table, dataFile, true, access.onReloaded);
        } catch (const std::exception&) {
            // The change's own error says more than a second failure would.
        }
        throw;
    }
}

} // namespace zentaro
