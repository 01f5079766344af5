#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zentaro {

inline constexpr std::size_t kMaxQuotedInput = 200;

enum class Backslash { Escaped, Kept };

// A text as every output of the CLI shows it: backslash, TAB, LF and CR as
// \\ \t \n \r, other bytes below 32 as \xHH, everything else unchanged. A
// zero byte thus stays visible instead of ending the text where C strings
// end. Messages keep a backslash as it is (Backslash::Kept): they name paths
// and times the user typed, and only their control bytes need showing.
inline std::string EscapedText(std::string_view text, Backslash backslash = Backslash::Escaped)
{
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '\\': out += backslash == Backslash::Escaped ? "\\\\" : "\\"; break;
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        default:
            if (byte < 32) {
                out += "\\x";
                out += kHex[byte >> 4];
                out += kHex[byte & 15];
            } else {
                out += c;
            }
        }
    }
    return out;
}

// A piece of input (a rate text, an upload time, a file name) as a message
// quotes it: cut to a readable length, so a hostile 10 MB line never becomes
// a 10 MB message, and with its control bytes shown as escapes.
inline std::string QuotedInput(std::string_view text)
{
    if (text.size() <= kMaxQuotedInput)
        return EscapedText(text, Backslash::Kept);
    return EscapedText(text.substr(0, kMaxQuotedInput), Backslash::Kept) + "...";
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
