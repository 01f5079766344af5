#include "import/InputFile.h"
#include "import/ImportError.h"
#include "store/FileReplacement.h"

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>

namespace zentaro {

UniqueFd OpenInputFile(const std::filesystem::path& path, std::size_t maxSize)
{
    // Non-blocking, so that a FIFO without a writer cannot hold the open.
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!fd.Valid()) {
        const int error = errno;
        if (error == ENOENT || error == ENOTDIR)
            throw ImportError("File not found");
        throw ImportError(FileErrorText("Cannot open file", path, error));
    }
    struct stat info {};
    if (::fstat(fd.Get(), &info) != 0)
        throw ImportError(FileErrorText("Cannot open file", path, errno));
    if (S_ISDIR(info.st_mode))
        throw ImportError(FileErrorText("Cannot open file", path, EISDIR));
    if (!S_ISREG(info.st_mode))
        throw ImportError(FileErrorText("Cannot open file", path, "Not a regular file"));
    CheckInputSize(static_cast<std::uint64_t>(info.st_size), path, "Cannot open file", maxSize);
    return fd; // O_NONBLOCK means nothing to a regular file's reads
}

void CheckInputSize(std::uint64_t size, const std::filesystem::path& path, const char* what, std::size_t maxSize)
{
    if (size > maxSize)
        throw ImportError(FileErrorText(what, path, "The file is larger than " + std::to_string(maxSize >> 20) + " MiB"));
}

} // namespace zentaro
