#include "store/DataFileLock.h"
#include "store/FileReplacement.h"
#include "store/MessageText.h"
#include "store/StoreError.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <thread>

namespace zentaro {
namespace {

constexpr std::chrono::milliseconds kRetryEvery{20};

// "Cannot open lock file "<absolute path>": <reason>"
std::string LockFileErrorText(const std::filesystem::path& lockFile, int error)
{
    std::error_code ignored;
    const auto full = std::filesystem::absolute(lockFile, ignored);
    return "Cannot open lock file \"" + QuotedInput((full.empty() ? lockFile : full).string()) + "\": " +
           std::strerror(error);
}

// Every writer must lock this one file or fail: a writer that locked
// anything else would not exclude the others. An flock needs no write
// access, so a lock file that another user made under a strict umask is
// opened for reading. A missing one is created as any new file is, with
// mode 0666 less the umask.
UniqueFd OpenLockFile(const std::filesystem::path& lockFile)
{
    UniqueFd fd(::open(lockFile.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666));
    if (fd.Valid())
        return fd;
    const int writeError = errno;
    fd = UniqueFd(::open(lockFile.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (fd.Valid())
        return fd;
    // A missing file that may not be created: the creation's reason says why.
    const int error = errno == ENOENT ? writeError : errno;
    throw StoreError(LockFileErrorText(lockFile, error));
}

} // namespace

std::filesystem::path DataFileLock::LockFilePath(const std::filesystem::path& dataFile)
{
    std::filesystem::path lockFile = ResolvedFile(dataFile);
    lockFile += ".lock";
    return lockFile;
}

DataFileLock::DataFileLock(const std::filesystem::path& dataFile, std::chrono::milliseconds wait,
                           const std::function<void()>& onWaiting)
    : fd_(OpenLockFile(LockFilePath(dataFile)))
{
    const auto deadline = std::chrono::steady_clock::now() + wait;
    bool waiting = false;
    for (;;) {
        if (::flock(fd_.Get(), LOCK_EX | LOCK_NB) == 0)
            return;
        if (errno == EINTR)
            continue;
        if (errno != EWOULDBLOCK)
            throw StoreError(FileErrorText("Cannot lock file", LockFilePath(dataFile), errno));
        if (std::chrono::steady_clock::now() >= deadline)
            throw StoreError(std::string(kDataFileBusyText));
        if (!waiting && onWaiting)
            onWaiting();
        waiting = true;
        std::this_thread::sleep_for(kRetryEvery);
    }
}

} // namespace zentaro
