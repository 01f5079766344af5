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

// The per-user data folder: $XDG_DATA_HOME/zentaro, or ~/.local/share/zentaro
// when XDG_DATA_HOME is unset or empty. This is the folder the window's
// QStandardPaths::AppDataLocation names, which takes even a relative
// XDG_DATA_HOME as it is. Fails with a StoreError when neither variable gives
// a folder.
std::filesystem::path UserDataFolder(const EnvironmentLookup& environment);
std::filesystem::path UserDataFolder();

// The folder of the data file and "Last Update.txt": the program's folder when
// portable, userFolder when installed.
std::filesystem::path DataFolder(const ProgramLayout& layout, const std::filesystem::path& userFolder);

// DataFolder, made ready for use: an installed program's first use creates
// userFolder with a copy of the sample data file; an existing data file is
// never replaced. Nothing is ever written into the install tree.
std::filesystem::path PrepareDataFolder(const ProgramLayout& layout, const std::filesystem::path& userFolder);

} // namespace zentaro
