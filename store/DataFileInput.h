#pragma once

#include "store/PacketReader.h"
#include "store/UniqueFd.h"

#include <filesystem>
#include <functional>

#include <sys/stat.h>

namespace zentaro {

// A data file opened for reading: without blocking (a FIFO with no writer
// cannot hold the open) and only when it is a regular file.
struct DataFileInput {
    UniqueFd fd;
    struct stat info {};

    // Reads the file from where it stands, retrying interrupted reads; a
    // failure is "Cannot open file "<path>". <reason>".
    ByteSource Source(const std::filesystem::path& path) const;
};

// Fails with StoreError "Cannot open file "<path>". <reason>"; a missing
// file calls onMissing before it fails.
DataFileInput OpenDataFileInput(const std::filesystem::path& path, const std::function<void()>& onMissing = {});

} // namespace zentaro
