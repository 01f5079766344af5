#include "store/DataFileInput.h"
#include "store/FileReplacement.h"
#include "store/StoreError.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace zentaro {

DataFileInput OpenDataFileInput(const std::filesystem::path& path, const std::function<void()>& onMissing)
{
    DataFileInput input;
    input.fd = UniqueFd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!input.fd.Valid()) {
        const int error = errno;
        if (error == ENOENT && onMissing)
            onMissing();
        throw StoreError(FileErrorText("Cannot open file", path, error));
    }
    if (::fstat(input.fd.Get(), &input.info) != 0)
        throw StoreError(FileErrorText("Cannot open file", path, errno));
    if (S_ISDIR(input.info.st_mode))
        throw StoreError(FileErrorText("Cannot open file", path, EISDIR));
    if (!S_ISREG(input.info.st_mode))
        throw StoreError(FileErrorText("Cannot open file", path, "Not a regular file"));
    return input;
}

ByteSource DataFileInput::Source(const std::filesystem::path& path) const
{
    return [fd = fd.Get(), path](std::span<std::byte> into) -> std::size_t {
        for (;;) {
            const ssize_t got = ::read(fd, into.data(), into.size());
            if (got >= 0)
                return static_cast<std::size_t>(got);
            if (errno != EINTR)
                throw StoreError(FileErrorText("Cannot open file", path, errno));
        }
    };
}

} // namespace zentaro
