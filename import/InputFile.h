#pragma once

#include "store/UniqueFd.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>

namespace zentaro {

// The most an input file (an update file, a downloaded file) may hold.
inline constexpr std::size_t kMaxInputFileSize = std::size_t{16} << 20;

// Opens an input file for reading after checking that it is what it seems:
// a regular file (never a FIFO, a device such as /dev/zero or a folder,
// which could block or never end) of at most maxSize bytes. Fails with
// ImportError: "File not found" when it does not exist, otherwise a text
// that names the file and the reason.
UniqueFd OpenInputFile(const std::filesystem::path& path, std::size_t maxSize = kMaxInputFileSize);

// Fails with ImportError ("<what> "<path>". The file is larger than N MiB")
// when size exceeds maxSize; a file may grow after it was opened, so readers
// check again as they read.
void CheckInputSize(std::uint64_t size, const std::filesystem::path& path, const char* what,
                    std::size_t maxSize = kMaxInputFileSize);

} // namespace zentaro
