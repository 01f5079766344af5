#pragma once

#include "import/UpdateImport.h"
#include "store/DataFileChange.h"

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace zentaro {

class RateTable;
class UrlFetcher;

inline constexpr std::string_view kUpdateFileName = "Last Update.txt";
inline constexpr std::string_view kDownloadCancelledText = "The download was cancelled.";

// The update address this build was configured with.
std::string DefaultUpdateUrl();

// "Last Update.txt" in the folder of dataFile: the copy of the last download.
std::filesystem::path LastUpdatePath(const std::filesystem::path& dataFile);

// "Error while downloading <url>", then ": <reason>" when one is given.
std::string DownloadFailedMessage(std::string_view url, std::string_view reason = {});

struct UrlUpdateRequest {
    std::string url;
    std::filesystem::path dataFile;
    DataFileAccess access; // the lock's wait and the reload notices; "Last Update.txt" joins the companions
    // Asked before each step and, on the thread that runs the command, while
    // a transfer runs; once it answers true (it should keep doing so), the
    // command ends as cancelled. A std::stop_token fits as
    // [token] { return token.stop_requested(); }. The wait for the lock and
    // the import itself are not cancelled.
    std::function<bool()> cancelled;
};

enum class UrlUpdateOutcome {
    Added,          // the batch was imported
    Duplicate,      // its upload time was there already
    DownloadFailed, // message says why; nothing imported
    Cancelled,      // message is kDownloadCancelledText; nothing imported
};

struct UrlUpdateResult {
    UrlUpdateOutcome outcome = UrlUpdateOutcome::DownloadFailed;
    std::string message; // the text to show: the import's, or why nothing was imported
    std::string body;    // the connection check's body (the window's Memo1)
    ImportResult import; // the import's result, for Added and Duplicate
};

// The whole of "Update From URL", for the window, the CLI and any caller
// off the user-interface thread; it shows nothing itself:
//   1. start the fetcher (Open), read url's body as the connection check;
//   2. download url whole into a temporary file of this command's own,
//      beside "Last Update.txt" (the system's temporary folder when that
//      folder takes no new file);
//   3. under the data file's lock (ChangeDataFile), import that file with
//      the success text kUrlUpdateSuccessText, then replace "Last Update.txt"
//      with it, so that each command imports what it downloaded itself.
// Fails with ImportError "Unable to initialize Wininet", "Cannot open URL
// <url>: <reason>" and the import's errors, and with the data file's
// StoreErrors; a failed or cancelled download is an outcome, not an error.
// A cancelled or failed command leaves the data file and "Last Update.txt"
// as they were.
UrlUpdateResult RunUrlUpdate(RateTable& table, UrlFetcher& fetcher, const UrlUpdateRequest& request);

} // namespace zentaro
