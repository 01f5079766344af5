#pragma once

#include "import/RatesDay.h"

#include <string_view>
#include <vector>

namespace zentaro {

// True when the bytes start with a zip signature.
bool IsZip(std::string_view bytes);

// Reads the one CSV file an ECB zip holds. Fails with ImportError when the
// archive is broken or holds no rates CSV.
std::vector<RatesDay> ReadEcbZip(std::string_view bytes);

} // namespace zentaro
