#pragma once

#include "app/AutoUpdate.h"
#include "import/CurlFetcher.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>

namespace zentaro {

struct BackgroundUpdateSettings {
    std::string url;
    std::filesystem::path dataFolder; // holds the data file and "Last Update.txt"
    std::filesystem::path dataFile;
    FetchLimits limits;
    std::chrono::milliseconds lockWait{};
    char decimalSeparator = '.';
};

// "Update From URL" without a window: the update address downloaded to
// "Last Update.txt", then imported under the data file's lock into a table
// of its own, all or nothing, with one save. A batch already there is no
// failure. Safe off the window's thread.
UpdateOutcome RunBackgroundUpdate(const BackgroundUpdateSettings& settings, const std::atomic<bool>& cancelled);

} // namespace zentaro
