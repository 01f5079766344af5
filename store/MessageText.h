#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zentaro {

inline constexpr std::size_t kMaxQuotedInput = 200;

// A piece of input (a rate text, an upload time, a file name) as a message
// quotes it: cut to a readable length, so a hostile 10 MB line never becomes
// a 10 MB message.
inline std::string QuotedInput(std::string_view text)
{
    if (text.size() <= kMaxQuotedInput)
        return std::string(text);
    return std::string(text.substr(0, kMaxQuotedInput)) + "...";
}

} // namespace zentaro
