#include "store/DataFileLock.h"
#include "store/FileReplacement.h"
#include "store/StoreError.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <thread>

namespace zentaro {
namespace {

constexpr std::chrono::milliseconds kRetryEvery{20};

// A folder the user cannot write holds no lock file; its data file can then
// only be rewritten in place, and the folder itself carries the lock.
UniqueFd OpenLockTarget(const std::filesystem::path& lockFile)
{
    UniqueFd fd(::open(lockFile.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666));
    if (!fd.Valid())
        fd = UniqueFd(::open(lockFile.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (!fd.Valid()) {
        const int error = errno;
        const auto folder = lockFile.has_parent_path() ? lockFile.parent_path() : std::filesystem::path(".");
        fd = UniqueFd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (!fd.Valid())
            throw StoreError(FileErrorText("Cannot open file", lockFile, error));
    }
    return fd;
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
    : fd_(OpenLockTarget(LockFilePath(dataFile)))
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
