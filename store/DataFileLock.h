#pragma once

#include "store/UniqueFd.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <string_view>

namespace zentaro {

inline constexpr std::chrono::milliseconds kDataFileLockWait{10'000};
inline constexpr std::string_view kDataFileBusyText = "The data file is in use by another program.";

// The exclusive lock that every command changing the data file holds for its
// whole read-change-save: an advisory flock on "<data file>.lock" beside the
// data file (links followed), created when missing and never deleted, so
// that every program agrees on one lock whatever it replaces. A user who may
// not write the lock file locks it through a read-only open; one who may not
// open it at all gets an error, never a lock on anything else. Readers take
// no lock: saves replace the data file whole.
class DataFileLock {
public:
    // Waits up to wait for the lock; onWaiting runs once when the lock is not
    // free at once. Fails with StoreError kDataFileBusyText when the wait
    // ends, and with "Cannot open lock file "<path>": <reason>" when the
    // lock file can be opened neither for writing nor for reading.
    explicit DataFileLock(const std::filesystem::path& dataFile, std::chrono::milliseconds wait = kDataFileLockWait,
                          const std::function<void()>& onWaiting = {});

    static std::filesystem::path LockFilePath(const std::filesystem::path& dataFile);

private:
    UniqueFd fd_; // closing it releases the lock
};

} // namespace zentaro
