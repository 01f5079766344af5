#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace zentaro {

class UrlFetcher;

inline constexpr std::string_view kUpdateFileName = "Last Update.txt";
inline constexpr std::string_view kUpdateFileMissingText = "file not found : Last Update.txt";

// The update address this build was configured with.
std::string DefaultUpdateUrl();

// "Error while downloading <url>"
std::string DownloadFailedMessage(std::string_view url);

struct FetchedUpdate {
    std::string body;                   // the connection check's body, for Memo1
    std::filesystem::path updateFile;   // "Last Update.txt" in the folder given
    std::optional<std::string> message; // set when the command ends here with a message
    bool ReadyToImport() const { return !message.has_value(); }
};

// The network half of "Update From URL": reads url's body as the connection
// check, then downloads url to "Last Update.txt" in folder. Fails with the
// fetcher's errors when the library cannot start or url cannot be opened
// (nothing downloaded then); a failed download or a missing local copy ends
// with the message to show. The import itself is the caller's next step.
FetchedUpdate FetchUpdateFile(UrlFetcher& fetcher, const std::string& url,
                              const std::filesystem::path& folder);

} // namespace zentaro
