#pragma once

#include "store/UniqueFd.h"

#include <cstddef>
#include <filesystem>
#include <span>
#include <string>

namespace zentaro {

// "<what> "<absolute path>". <reason>", the path cut to a readable length.
std::string FileErrorText(const char* what, const std::filesystem::path& path, const std::string& reason);
std::string FileErrorText(const char* what, const std::filesystem::path& path, int error);

// The file that path names once every symbolic link on it is followed; path
// itself when it is no link. A dangling link gives the missing target.
std::filesystem::path ResolvedFile(const std::filesystem::path& path);

// Replaces the content of the file at path (links followed) with bytes, so
// that a reader sees either the old file or the new one, whole:
//   - the bytes go to a temporary file beside the target, are flushed to disk
//     and renamed over it; the temporary file is removed on every failure;
//   - an existing file keeps its owner, group and mode;
//   - a file the caller may not write is not replaced;
//   - where no temporary file can be made (a folder the caller cannot write)
//     or the owner cannot be kept, a writable file is rewritten in place.
// Fails with StoreError "Cannot create file "<path>". <reason>".
void ReplaceFileContent(const std::filesystem::path& path, std::span<const std::byte> bytes);

// Who may open a temporary file: its owner alone until it is given its final
// mode (0600), or whoever may open any new file of the user's (0666 less the
// umask).
enum class TemporaryAccess { OwnerOnly, AsNewFile };

// A new, empty file of this program's own beside target, of a fresh name
// (".<target's name>." and six random letters or digits) that it is opened
// exclusively under, never through a link; removed when the object goes.
// Its writer holds a lock on it meanwhile, so RemoveStaleTemporaries(target)
// run by another program keeps it, and removes it once a kill left it behind.
class TemporaryFile {
public:
    // Fails with StoreError "Cannot create file "<target>". <reason>".
    explicit TemporaryFile(const std::filesystem::path& target,
                           TemporaryAccess access = TemporaryAccess::OwnerOnly);
    // Owner only; sets error to the system's error number instead of failing,
    // 0 on success.
    TemporaryFile(const std::filesystem::path& target, int& error);
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    int Fd() const { return fd_.Get(); }
    // Appends bytes and flushes them to disk; fails with StoreError
    // "Cannot create file "<target>". <reason>" (a full disk, a size limit).
    void Write(std::span<const std::byte> bytes);
    // The file is no longer this object's to remove (it was renamed).
    void Release() { path_.clear(); }

private:
    int Create(const std::filesystem::path& target, TemporaryAccess access);

    std::filesystem::path target_;
    std::filesystem::path path_;
    UniqueFd fd_;
    int error_ = 0;
};

// Creates the file at path with bytes, whole or not at all, as any new file
// (mode 0666 less the umask), unless something stands at path already, even a
// link: then nothing is written and the result is false. The bytes go to a
// TemporaryFile beside it and are moved to path without replacing anything.
// Fails with StoreError "Cannot create file "<path>". <reason>".
bool CreateNewFile(const std::filesystem::path& path, std::span<const std::byte> bytes);

// Removes the temporary files that an interrupted ReplaceFileContent of path
// (a kill, a power loss) left beside it. One that a live program is still
// writing is kept: a writer holds a lock on its temporary file until the end.
void RemoveStaleTemporaries(const std::filesystem::path& path);

} // namespace zentaro
