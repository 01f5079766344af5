#include "store/DataFileInput.h"
#include "store/FileReplacement.h"
#include "store/StoreError.h"

#include <cerrno>
#include <fcntl.h>
#include <limits>
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

} // namespace zentaro
