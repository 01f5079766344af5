#pragma once

#include "store/DataPacket.h"
#include "store/UniqueFd.h"

#include <cstddef>
#include <filesystem>
#include <functional>
#include <limits>
#include <string>

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
    // Moves past bytes without reading them, once the last of them is known
    // to be there (a file cut short since it was opened fails as a read would).
    ByteSkip Skip() const;
};

// Fails with StoreError "Cannot open file "<path>". <reason>"; a missing
// file calls onMissing before it fails.
DataFileInput OpenDataFileInput(const std::filesystem::path& path, const std::function<void()>& onMissing = {});

// How a caller wants a whole file read. The texts start the messages of
// FileErrorText; every failure is a StoreError.
struct WholeFileRead {
    std::size_t maxSize = std::numeric_limits<std::size_t>::max() - 1;
    const char* openFailure = "Cannot open file";
    const char* readFailure = "Cannot open file";
    // Called with errno when the open itself fails, before the StoreError:
    // callers differ in which errors mean "no such file".
    std::function<void(int error)> onOpenError;
};

struct WholeFile {
    std::string bytes;
    struct stat info {}; // as the file stood when it was opened
};

// Opens path as a DataFileInput does (a regular file only, never blocking)
// and reads it whole. A file over maxSize is refused before a byte is read
// ("<openFailure> "<path>". The file is larger than N MiB"), and again when
// it grows past it while being read (the same with readFailure).
WholeFile ReadRegularFile(const std::filesystem::path& path, const WholeFileRead& how = {});

} // namespace zentaro
