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

// That piece between single quotes, as messages about input show it.
inline std::string SingleQuoted(std::string_view text)
{
    // Appended piece by piece: GCC 12 takes a quote + std::string for an overlapping copy (-Wrestrict).
    std::string quoted(1, '\'');
    quoted += QuotedInput(text);
    quoted += '\'';
    return quoted;
}

} // namespace zentaro
