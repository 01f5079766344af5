#include "store/DataLocation.h"
#include "store/FileReplacement.h"
#include "store/StoreError.h"
#include "store/UniqueFd.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace zentaro {
namespace {

namespace fs = std::filesystem;

bool IsFolder(const fs::path& path)
{
    std::error_code ignored;
    return fs::is_directory(path, ignored);
}

bool Exists(const fs::path& path)
{
    std::error_code ignored;
    return fs::exists(path, ignored);
}

// Nothing at all stands at path: not even a link, dangling or not.
bool IsFree(const fs::path& path)
{
    std::error_code ignored;
    return fs::symlink_status(path, ignored).type() == fs::file_type::not_found;
}

const char* AbsoluteValue(const EnvironmentLookup& environment, const char* name)
{
    const char* value = environment(name);
    return value && *value == '/' ? value : nullptr;
}

// The folder and every missing folder above it, each private to the user.
void CreateFolders(const fs::path& folder)
{
    std::vector<fs::path> missing;
    // The walk up stops at whatever stands there: a file gives "Not a directory" below it.
    for (fs::path at = folder; !at.empty() && IsFree(at); at = at.parent_path()) {
        missing.push_back(at);
        if (at == at.parent_path())
            break;
    }
    for (auto at = missing.rbegin(); at != missing.rend(); ++at)
        if (::mkdir(at->c_str(), 0700) != 0 && !(errno == EEXIST && IsFolder(*at)))
            throw StoreError(FileErrorText("Cannot create folder", folder, errno));
    if (!IsFolder(folder))
        throw StoreError(FileErrorText("Cannot create folder", folder, ENOTDIR));
}

std::vector<std::byte> ReadSample(const fs::path& sample)
{
    const auto fail = [&](int error) {
        throw StoreError(FileErrorText("Cannot open file", sample, error));
    };
    UniqueFd fd(::open(sample.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat info {};
    if (!fd.Valid() || ::fstat(fd.Get(), &info) != 0)
        fail(errno);
    if (!S_ISREG(info.st_mode))
        throw StoreError(FileErrorText("Cannot open file", sample, "Not a regular file"));
    std::vector<std::byte> bytes;
    std::byte buffer[64 * 1024];
    for (;;) {
        const ssize_t got = ::read(fd.Get(), buffer, sizeof buffer);
        if (got == 0)
            return bytes;
        if (got < 0 && errno != EINTR)
            fail(errno);
        if (got > 0)
            bytes.insert(bytes.end(), buffer, buffer + got);
    }
}

} // namespace

std::optional<fs::path> ProgramLayout::SampleDataFile() const
{
    if (!shareFolder)
        return std::nullopt;
    return DataFileIn(*shareFolder);
}

ProgramLayout FindProgramLayout(const fs::path& programFolder)
{
    ProgramLayout layout{programFolder, std::nullopt};
    const fs::path folder = programFolder.lexically_normal();
    // "prefix/bin/" normalises with an empty last element.
    const fs::path bin = folder.has_filename() ? folder : folder.parent_path();
    if (bin.filename() != "bin")
        return layout;
    const fs::path share = bin.parent_path() / "share" / kProgramDirName;
    if (IsFolder(share))
        layout.shareFolder = share;
    return layout;
}

fs::path RunningProgramFolder()
{
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    if (error)
        throw StoreError(FileErrorText("Cannot find the running program", "/proc/self/exe", error.message()));
    return self.parent_path();
}

EnvironmentLookup ProcessEnvironment()
{
    return [](const char* name) { return static_cast<const char*>(std::getenv(name)); };
}

fs::path UserDataFolder(const EnvironmentLookup& environment)
{
    if (const char* dataHome = AbsoluteValue(environment, "XDG_DATA_HOME"))
        return fs::path(dataHome) / kProgramDirName;
    const char* home = environment("HOME");
    if (!home || *home == '\0')
        throw StoreError("Cannot find the user's data folder: neither XDG_DATA_HOME nor HOME is set");
    return fs::path(home) / ".local" / "share" / kProgramDirName;
}

fs::path DataFolder(const ProgramLayout& layout, const EnvironmentLookup& environment)
{
    return layout.Installed() ? UserDataFolder(environment) : layout.programFolder;
}

fs::path PrepareDataFolder(const ProgramLayout& layout, const EnvironmentLookup& environment)
{
    const std::optional<fs::path> sample = layout.SampleDataFile();
    if (!sample)
        return layout.programFolder;
    const fs::path userFolder = UserDataFolder(environment);
    CreateFolders(userFolder);
    const fs::path dataFile = DataFileIn(userFolder);
    // A missing sample leaves the data file missing, which the load reports.
    if (IsFree(dataFile) && Exists(*sample)) {
        // Another program that got there first made the same copy.
        CreateNewFile(dataFile, ReadSample(*sample));
    }
    return userFolder;
}

} // namespace zentaro
