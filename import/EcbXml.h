#pragma once

#include "import/RatesDay.h"

#include <string_view>
#include <vector>

namespace zentaro {

// True when the bytes are XML whose root element is the ECB's gesmes
// Envelope. Parsing stops at the root element, so anything else is turned
// down within its first bytes.
bool IsEcbXml(std::string_view bytes);

// Reads the daily, 90-day or full-history XML: one day per Cube with a time,
// in the file's order. Fails with ImportError on XML that is not well formed,
// truncated, or not of the ECB's shape, on a date that is no day of the
// calendar, a day that lists EUR or a currency twice, and a file with more
// days or rates than one import takes.
std::vector<RatesDay> ReadEcbXml(std::string_view bytes);

} // namespace zentaro
