#pragma once

#include "cli/Options.h"
#include "store/DateLookup.h"

#include <optional>
#include <string>
#include <string_view>

namespace zentaro {
class RateTable;
}

namespace zentaro::cli {

// The options that choose the upload time a command reads.
inline constexpr std::string_view kTimeOption = "--time";
inline constexpr std::string_view kOnOption = "--on";

// The upload time a command reads: --time T exactly, --on DATE by the date
// rule (the newest day on or before DATE), else the current one. A T that is
// not there fails with "No rates at upload time T", naming the nearest
// earlier day where there is one; so does a DATE before the first day.
std::string ChosenUploadTime(RateTable& table, const Options& options);

// Fails as --time does when the table does not hold uploadTime.
void RequireUploadTime(RateTable& table, std::string_view uploadTime);

// The day a date option gives, if given; a value that is not a date
// "YYYY-MM-DD" is a UsageError.
std::optional<DayNumber> DateOption(const Options& options, std::string_view name);

// The error of a currency the chosen upload time lacks.
std::string UnknownCurrencyText(std::string_view currency, std::string_view uploadTime);

} // namespace zentaro::cli
