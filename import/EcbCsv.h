#pragma once

#include "import/RatesDay.h"

#include <string_view>
#include <vector>

namespace zentaro {

// True when the first line, after a byte-order mark, is "Date" followed by
// currency codes, separated by "," or ", ".
bool IsEcbCsv(std::string_view bytes);

// Reads the daily CSV ("11 October 2024, 1.0938, ...") or the history CSV
// ("2024-10-11,1.0938,..."), one day per line in the file's order, without
// the missing ("N/A" or empty) rates. Fails with ImportError when a line's
// field count differs from the header's, a date cannot be read or is no day
// of the calendar, the header lists EUR or a code twice, or the file holds
// more days or rates than one import takes.
std::vector<RatesDay> ReadEcbCsv(std::string_view bytes);

} // namespace zentaro
