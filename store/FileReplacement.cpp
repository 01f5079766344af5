#include "store/FileReplacement.h"
#include "store/MessageText.h"
#include "store/StoreError.h"
#include "store/UniqueFd.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <random>
#include <string_view>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zentaro {
namespace {

constexpr int kMaxLinks = 40;
// Six random letters or digits follow the target's name, as mkstemp's would.
constexpr std::size_t kRandomLength = 6;
constexpr int kCreateAttempts = 100;

std::filesystem::path FolderOf(const std::filesystem::path& path)
{
    return path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
}

std::string TemporaryPrefix(const std::filesystem::path& target)
{
    return Joined({".", target.filename().string(), "."});
}

bool WriteAll(int fd, std::span<const std::byte> bytes)
{
    const std::byte* data = bytes.data();
    std::size_t size = bytes.size();
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (written == 0) {
            errno = ENOSPC;
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

mode_t NewFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// The last resort keeps the file's identity but not atomicity: a crash in
// the middle leaves a short file.
void RewriteInPlace(int fd, const std::filesystem::path& path, std::span<const std::byte> bytes)
{
    if (::ftruncate(fd, 0) != 0 || ::lseek(fd, 0, SEEK_SET) != 0 || !WriteAll(fd, bytes) || ::fsync(fd) != 0)
        throw StoreError(FileErrorText("Cannot create file", path, errno));
}

bool IsOurTemporary(std::string_view name, std::string_view prefix)
{
    if (!name.starts_with(prefix))
        return false;
    const std::string_view rest = name.substr(prefix.size());
    const auto alnum = [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    };
    return rest.size() == kRandomLength && std::all_of(rest.begin(), rest.end(), alnum);
}

// A fresh temporary name beside target for an exclusive open, which
// RemoveStaleTemporaries knows.
std::string RandomTemporaryName(const std::filesystem::path& target)
{
    static constexpr std::string_view kLetters = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    static thread_local std::mt19937 random{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, kLetters.size() - 1);
    std::string name = TemporaryPrefix(target);
    for (std::size_t i = 0; i < kRandomLength; ++i)
        name += kLetters[pick(random)];
    return (FolderOf(target) / name).string();
}

// Moves from to to unless something stands at to; false then.
bool RenameWithoutReplacing(const std::filesystem::path& from, const std::filesystem::path& to)
{
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // A file system without the flag: a hard link is made only where nothing stands.
    if (::link(from.c_str(), to.c_str()) != 0)
        return false;
    ::unlink(from.c_str());
    return true;
}

} // namespace

std::string FileErrorText(const char* what, const std::filesystem::path& path, const std::string& reason)
{
    std::error_code ignored;
    const auto full = std::filesystem::absolute(path, ignored);
    return std::string(what) + " \"" + QuotedInput((full.empty() ? path : full).string()) + "\". " + reason;
}

std::string FileErrorText(const char* what, const std::filesystem::path& path, int error)
{
    return FileErrorText(what, path, std::string(std::strerror(error)));
}

std::filesystem::path ResolvedFile(const std::filesystem::path& path)
{
    std::filesystem::path current = path;
    for (int hop = 0; hop < kMaxLinks; ++hop) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return current;
        std::error_code error;
        const auto target = std::filesystem::read_symlink(current, error);
        if (error)
            return current;
        current = target.is_absolute() ? target : FolderOf(current) / target;
    }
    return current; // a loop: opening it fails with the system's reason
}

void ReplaceFileContent(const std::filesystem::path& path, std::span<const std::byte> bytes)
{
    const auto fail = [&](int error) { throw StoreError(FileErrorText("Cannot create file", path, error)); };
    const std::filesystem::path target = ResolvedFile(path);

    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    UniqueFd current;
    if (exists) {
        if (!S_ISREG(existing.st_mode))
            throw StoreError(FileErrorText("Cannot create file", path, "Not a regular file"));
        // What the user may not write is never replaced, although the folder
        // would allow a rename over it.
        current = UniqueFd(::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC));
        if (!current.Valid())
            fail(errno);
    }

    int error = 0;
    std::optional<TemporaryFile> temporary(std::in_place, target, error);
    if (error != 0) {
        if (current.Valid() && (error == EACCES || error == EPERM)) {
            RewriteInPlace(current.Get(), path, bytes);
            return;
        }
        fail(error);
    }
    const int fd = temporary->Fd();

    mode_t mode = NewFileMode();
    if (exists) {
        mode = existing.st_mode & 07777;
        if ((existing.st_uid != ::geteuid() || existing.st_gid != ::getegid()) &&
            ::fchown(fd, existing.st_uid, existing.st_gid) != 0) {
            // Renaming would hand the file to another owner: keep it instead.
            temporary.reset();
            RewriteInPlace(current.Get(), path, bytes);
            return;
        }
    }
    if (::fchmod(fd, mode) != 0 || !WriteAll(fd, bytes) || ::fsync(fd) != 0 ||
        ::rename(temporary->Path().c_str(), target.c_str()) != 0)
        fail(errno);
    // The content is on disk and in place; closing cannot lose it any more.
    temporary->Release();
    temporary.reset();
    UniqueFd folder(::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.Valid())
        ::fsync(folder.Get());
}

int TemporaryFile::Create(const std::filesystem::path& target, TemporaryAccess access)
{
    target_ = target;
    const mode_t mode = access == TemporaryAccess::OwnerOnly ? 0600 : 0666;
    // Opened exclusively and never through a link: a folder others may write
    // can hold links planted under any name.
    for (int attempt = 0; attempt < kCreateAttempts; ++attempt) {
        std::string name = RandomTemporaryName(target);
        fd_ = UniqueFd(::open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode));
        if (fd_.Valid()) {
            path_ = std::move(name);
            // The lock tells RemoveStaleTemporaries that this file is still wanted.
            ::flock(fd_.Get(), LOCK_EX);
            return 0;
        }
        if (errno != EEXIST)
            return errno;
    }
    return EEXIST;
}

TemporaryFile::TemporaryFile(const std::filesystem::path& target, int& error)
    : error_(Create(target, TemporaryAccess::OwnerOnly))
{
    error = error_;
}

TemporaryFile::TemporaryFile(const std::filesystem::path& target, TemporaryAccess access)
    : error_(Create(target, access))
{
    if (error_ != 0)
        throw StoreError(FileErrorText("Cannot create file", target_, error_));
}

TemporaryFile::~TemporaryFile()
{
    if (!path_.empty())
        ::unlink(path_.c_str());
}

void TemporaryFile::Write(std::span<const std::byte> bytes)
{
    if (!WriteAll(fd_.Get(), bytes) || ::fsync(fd_.Get()) != 0)
        throw StoreError(FileErrorText("Cannot create file", target_, errno));
}

void RemoveStaleTemporaries(const std::filesystem::path& path)
{
    const std::filesystem::path target = ResolvedFile(path);
    const std::string prefix = TemporaryPrefix(target);
    std::error_code error;
    for (std::filesystem::directory_iterator entry(FolderOf(target), error), end; !error && entry != end;
         entry.increment(error)) {
        const std::filesystem::path candidate = entry->path();
        if (!IsOurTemporary(candidate.filename().string(), prefix))
            continue;
        UniqueFd fd(::open(candidate.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        struct stat info {};
        if (!fd.Valid() || ::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode))
            continue;
        if (::flock(fd.Get(), LOCK_EX | LOCK_NB) == 0)
            ::unlink(candidate.c_str());
    }
}

bool CreateNewFile(const std::filesystem::path& path, std::span<const std::byte> bytes)
{
    {
        TemporaryFile temporary(path, TemporaryAccess::AsNewFile);
        temporary.Write(bytes);
        if (!RenameWithoutReplacing(temporary.Path(), path)) {
            const int error = errno;
            if (error == EEXIST)
                return false;
            throw StoreError(FileErrorText("Cannot create file", path, error));
        }
        temporary.Release();
    }
    UniqueFd folder(::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.Valid())
        ::fsync(folder.Get());
    return true;
}

} // namespace zentaro
