#include "store/DataFileInput.h"
#include "store/FileReplacement.h"
#include "store/StoreError.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <limits>
#include <string>
#include <unistd.h>

namespace zentaro {
namespace {

constexpr std::size_t kReadStep = 64 * 1024;

// The one open of a file for reading: non-blocking, so that a FIFO without a
// writer cannot hold it, and refused unless the file is a regular one.
DataFileInput OpenRegularFile(const std::filesystem::path& path, const char* failure,
                              const std::function<void(int)>& onOpenError)
{
    DataFileInput input;
    input.fd = UniqueFd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!input.fd.Valid()) {
        const int error = errno;
        if (onOpenError)
            onOpenError(error);
        throw StoreError(FileErrorText(failure, path, error));
    }
    if (::fstat(input.fd.Get(), &input.info) != 0)
        throw StoreError(FileErrorText(failure, path, errno));
    if (S_ISDIR(input.info.st_mode))
        throw StoreError(FileErrorText(failure, path, EISDIR));
    if (!S_ISREG(input.info.st_mode))
        throw StoreError(FileErrorText(failure, path, "Not a regular file"));
    return input;
}

// The one read loop: retries an interrupted read, gives the count or -errno.
ssize_t ReadSome(int fd, void* into, std::size_t size)
{
    for (;;) {
        const ssize_t got = ::read(fd, into, size);
        if (got >= 0 || errno != EINTR)
            return got >= 0 ? got : -errno;
    }
}

StoreError TooLarge(const char* failure, const std::filesystem::path& path, std::size_t maxSize)
{
    const std::string reason = "The file is larger than " + std::to_string(maxSize >> 20) + " MiB";
    return StoreError(FileErrorText(failure, path, reason));
}

} // namespace

DataFileInput OpenDataFileInput(const std::filesystem::path& path, const std::function<void()>& onMissing)
{
    return OpenRegularFile(path, "Cannot open file", [&](int error) {
        if (error == ENOENT && onMissing)
            onMissing();
    });
}

ByteSource DataFileInput::Source(const std::filesystem::path& path) const
{
    return [fd = fd.Get(), path](std::span<std::byte> into) -> std::size_t {
        const ssize_t got = ReadSome(fd, into.data(), into.size());
        if (got < 0)
            throw StoreError(FileErrorText("Cannot open file", path, static_cast<int>(-got)));
        return static_cast<std::size_t>(got);
    };
}

ByteSkip DataFileInput::Skip() const
{
    return [fd = fd.Get()](std::size_t count) {
        if (count == 0)
            return true;
        if (count - 1 > static_cast<std::size_t>(std::numeric_limits<off_t>::max()) ||
            ::lseek(fd, static_cast<off_t>(count - 1), SEEK_CUR) < 0)
            return false;
        char last = 0;
        return ::read(fd, &last, 1) == 1;
    };
}

WholeFile ReadRegularFile(const std::filesystem::path& path, const WholeFileRead& how)
{
    const std::size_t maxSize = std::min(how.maxSize, std::numeric_limits<std::size_t>::max() - 1);
    const DataFileInput input = OpenRegularFile(path, how.openFailure, how.onOpenError);
    const auto size = static_cast<std::uint64_t>(input.info.st_size);
    if (size > maxSize)
        throw TooLarge(how.openFailure, path, maxSize);

    WholeFile file{{}, input.info};
    // One byte beyond the size seen, so that the end (or a growth) shows at once.
    file.bytes.resize(static_cast<std::size_t>(size) + 1);
    std::size_t used = 0;
    for (;;) {
        if (used == file.bytes.size()) {
            if (used > maxSize)
                throw TooLarge(how.readFailure, path, maxSize);
            file.bytes.resize(std::min(used + kReadStep, maxSize + 1));
        }
        const ssize_t got = ReadSome(input.fd.Get(), file.bytes.data() + used, file.bytes.size() - used);
        if (got < 0)
            throw StoreError(FileErrorText(how.readFailure, path, static_cast<int>(-got)));
        if (got == 0)
            break;
        used += static_cast<std::size_t>(got);
    }
    file.bytes.resize(used);
    return file;
}

} // namespace zentaro
