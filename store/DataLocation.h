#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string_view>

namespace zentaro {

inline constexpr std::string_view kDataFileName = "conversion data.kvx";
// The name of the per-user data folder and of the installed share folder.
inline constexpr std::string_view kProgramDirName = "zentaro";

// Where a program's own files are. A program is installed when its folder is
// a prefix's "bin" and "<prefix>/share/zentaro" exists; otherwise it is
// portable (a build tree or an unpacked folder) and keeps everything beside it.
struct ProgramLayout {
    std::filesystem::path programFolder;
    std::optional<std::filesystem::path> shareFolder; // set when installed

    bool Installed() const { return shareFolder.has_value(); }
    // The sample data file an installed program starts the user's data with.
    std::optional<std::filesystem::path> SampleDataFile() const;
};

ProgramLayout FindProgramLayout(const std::filesystem::path& programFolder);

// The folder holding the running executable (from /proc/self/exe).
std::filesystem::path RunningProgramFolder();

using EnvironmentLookup = std::function<const char*(const char*)>;
// The process's own environment.
EnvironmentLookup ProcessEnvironment();

// The per-user data folder: $XDG_DATA_HOME/zentaro, or ~/.local/share/zentaro
// when XDG_DATA_HOME is unset, empty or relative (a relative one is invalid
// and ignored, so that the folder does not change with the current one).
// Fails with a StoreError when neither variable gives a folder.
std::filesystem::path UserDataFolder(const EnvironmentLookup& environment);

// The folder of the data file and "Last Update.txt", for the window and the
// CLI alike: the program's folder when portable, the user's data folder when
// installed (the environment is asked only then). Fails as UserDataFolder.
std::filesystem::path DataFolder(const ProgramLayout& layout, const EnvironmentLookup& environment);

// DataFolder, made ready for use: an installed program's first use creates
// the user's data folder (each folder it creates private to the user) with a
// copy of the sample data file, made as any new file is (mode 0666 less the
// umask) through a temporary file of a fresh name that is never a link.
// Whatever stands at the data file's name already, even a link, is kept.
// Nothing is ever written into the install tree. Fails with a StoreError
// that gives the reason.
std::filesystem::path PrepareDataFolder(const ProgramLayout& layout, const EnvironmentLookup& environment);

// The data file in a data folder.
inline std::filesystem::path DataFileIn(const std::filesystem::path& folder) { return folder / kDataFileName; }

} // namespace zentaro
