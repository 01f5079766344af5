#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace zentaro {

class RateTable;

// The success texts of the two import commands, as the user sees them.
inline constexpr std::string_view kUrlUpdateSuccessText = "Succesfully Uploaded new conversion data !";
inline constexpr std::string_view kFileUpdateSuccessText = "Succesfully Upload new conversion data!";
inline constexpr std::string_view kNoRatesText = "The update file holds no rates.";

// Fails with the texts a post of rateText into the rate field would give
// (as ImportError), so a batch can be checked before any row is touched; a
// rate of 0 or below fails with the same text as one that is no number.
void CheckRateText(const std::string& rateText, char decimalSeparator);

// Inserts and posts one row; a failed post cancels the row.
void PostRateRow(RateTable& table, std::string_view uploadTime, std::string_view code, std::string_view rateText);

// "Upload Time : <time> is already exist"
std::string DuplicateUploadTimeMessage(std::string_view uploadTime);

// The window's hidden scratch fields as an import leaves them.
struct ImportScratch {
    std::string edito1;          // the last line read
    std::string edito2;          // the last currency code split off
    std::string edito3;          // the last rate text, empty when an empty line ended the batch
    std::string edito4;          // the upload time
    std::size_t lineCounter = 0; // rate lines read, the ending empty line included
};

enum class ImportOutcome { Added, Duplicate };

struct ImportResult {
    ImportOutcome outcome = ImportOutcome::Added;
    std::string uploadTime; // line 1 as read
    std::size_t rowsAdded = 0;
    std::string message;    // the success text given, or the duplicate message
    ImportScratch scratch;
};

// Imports one batch from an update file's bytes: line 1 is the upload time;
// when no row of the table has it, every rate line is checked first, then
// one row per line is posted and dataFile is saved once. A rate text that is not a number fails before
// anything is added, so the table and dataFile stay as they were. A batch
// without rate lines is refused with ImportError kNoRatesText.
ImportResult ImportUpdate(RateTable& table, std::string_view bytes,
                          const std::filesystem::path& dataFile, std::string_view successText);

} // namespace zentaro
