#pragma once

#include "store/DataFileLock.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <vector>

namespace zentaro {

class RateTable;

struct DataFileAccess {
    std::chrono::milliseconds lockWait = kDataFileLockWait;
    std::function<void()> onWaiting;            // runs once when the lock is not free at once
    bool createMissing = true;                  // a missing data file is an empty table, not an error
    std::vector<std::filesystem::path> companions; // other files whose stale temporaries go too
    std::function<void()> onReloaded;           // runs after each load of the table from the file
};

// One change of the data file, the same for the window and the CLI:
//   1. take the data file's lock (DataFileLock), for the whole change;
//   2. remove stale temporary files beside the data file and the companions;
//   3. bring table to the file's current content (reloaded unless it holds
//      it already), so that what another program saved is kept;
//   4. run change, which edits table and saves it.
// When change fails (a full disk, no permission, a bad input), the table is
// loaded again from the file, so that it holds nothing the user was told
// failed, and the error goes on to the caller. Whoever shows the table hears
// of every load through access.onReloaded, whatever the change's outcome.
void ChangeDataFile(RateTable& table, const std::filesystem::path& dataFile, const DataFileAccess& access,
                    const std::function<void()>& change);

} // namespace zentaro
