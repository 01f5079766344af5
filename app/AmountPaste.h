#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zentaro {

// The amount a pasted text holds, as the amount field takes it: the first
// number in the text, its digits with the user's decimal separator and a
// "-" directly before it, thousands separators dropped. Of "," and "." the
// last one is the decimal point when both occur; one that occurs more than
// once, or "a,bcd" with another separator than the user's, groups
// thousands. nullopt when the text holds no digit.
std::optional<std::string> PastedAmount(std::string_view text, char decimalSeparator);

} // namespace zentaro
