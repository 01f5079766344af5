#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

namespace zentaro {

// The most an input file (an update file, a downloaded file, a zip's
// unpacked file) may hold.
inline constexpr std::size_t kMaxInputFileSize = std::size_t{16} << 20;

// Reads an input file whole after checking that it is what it seems: a
// regular file (never a FIFO, a device such as /dev/zero or a folder, which
// could block or never end) of at most kMaxInputFileSize bytes, also while
// it is read. Fails with ImportError: "File not found" when it does not
// exist, otherwise "Cannot open file" or "Cannot read file" with the file
// and the reason.
std::string ReadInputFile(const std::filesystem::path& path);

} // namespace zentaro
