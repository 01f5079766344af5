#include "store/DataLocation.h"
#include "store/FileReplacement.h"
#include "store/StoreError.h"

#include <cstdlib>
#include <system_error>

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

} // namespace

std::optional<fs::path> ProgramLayout::SampleDataFile() const
{
    if (!shareFolder)
        return std::nullopt;
    return *shareFolder / kDataFileName;
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

fs::path UserDataFolder(const EnvironmentLookup& environment)
{
    const char* dataHome = environment("XDG_DATA_HOME");
    if (dataHome && *dataHome != '\0')
        return fs::path(dataHome) / kProgramDirName;
    const char* home = environment("HOME");
    if (!home || *home == '\0')
        throw StoreError("Cannot find the user's data folder: neither XDG_DATA_HOME nor HOME is set");
    return fs::path(home) / ".local" / "share" / kProgramDirName;
}

fs::path UserDataFolder()
{
    return UserDataFolder([](const char* name) { return static_cast<const char*>(std::getenv(name)); });
}

fs::path DataFolder(const ProgramLayout& layout, const fs::path& userFolder)
{
    return layout.Installed() ? userFolder : layout.programFolder;
}

fs::path PrepareDataFolder(const ProgramLayout& layout, const fs::path& userFolder)
{
    const std::optional<fs::path> sample = layout.SampleDataFile();
    if (!sample)
        return layout.programFolder;
    std::error_code error;
    fs::create_directories(userFolder, error);
    if (error)
        throw StoreError(FileErrorText("Cannot create folder", userFolder, error.message()));
    const fs::path dataFile = userFolder / kDataFileName;
    if (!Exists(dataFile) && Exists(*sample)) {
        // Copied beside and renamed, so an interrupted copy never looks like a data file.
        const fs::path partial = userFolder / (std::string(kDataFileName) + ".partial");
        fs::copy_file(*sample, partial, fs::copy_options::overwrite_existing, error);
        if (!error)
            fs::permissions(partial, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add, error);
        if (!error)
            fs::rename(partial, dataFile, error);
        if (error) {
            std::error_code ignored;
            fs::remove(partial, ignored);
            throw StoreError(FileErrorText("Cannot copy the sample data file to", dataFile, error.message()));
        }
    }
    return userFolder;
}

} // namespace zentaro
