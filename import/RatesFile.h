#pragma once

#include "import/RatesDay.h"
#include "import/UpdateImport.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace zentaro {

class RateTable;

enum class RatesLayout { UpdateFile, EcbXml, EcbCsv, EcbZip };

// Recognises a file's layout from its content alone; anything that is not
// one of the ECB's layouts is an update file.
RatesLayout DetectRatesLayout(std::string_view bytes);

// Adds one batch per day that no row of the table has as its upload time:
// EUR at 1 first, then the day's rates in the file's order, leaving out
// "N/A" and empty rates. Days go in oldest first. Every rate of the file is
// checked before anything is added (a rate must be a plain decimal above 0;
// the message of one that is not names its day, and its line in a CSV), so a
// bad one leaves the table and dataFile as they were; dataFile is saved once. When every day was there
// already, the outcome is Duplicate with the newest day's message.
ImportResult ImportRateDays(RateTable& table, std::vector<RatesDay> days,
                            const std::filesystem::path& dataFile, std::string_view successText);

// The import every command runs on a file a user gives or downloads, read
// through ReadInputFile: the ECB's layouts through ImportRateDays, anything
// else as an update file through ImportUpdate.
ImportResult ImportRatesFile(RateTable& table, const std::filesystem::path& path,
                             const std::filesystem::path& dataFile, std::string_view successText);

} // namespace zentaro
