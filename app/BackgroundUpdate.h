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
    std::filesystem::path dataFile;
    FetchLimits limits;
    std::chrono::milliseconds lockWait{};
    char decimalSeparator = '.';
};

// "Update From URL" without a window, into a table of its own: the same
// routine as the command (lock, all or nothing, one save), its outcome told
// instead of shown. A batch already there is no failure. Safe off the
// window's thread.
UpdateOutcome RunBackgroundUpdate(const BackgroundUpdateSettings& settings, const std::atomic<bool>& cancelled);

} // namespace zentaro
