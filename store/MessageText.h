#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

namespace zentaro {

inline constexpr std::size_t kMaxQuotedInput = 200;

// The pieces one after another. Build texts with this rather than with a
// literal + std::string: GCC 12 at -O2 takes the inlined copies of such a sum
// for overlapping ones and warns (-Wrestrict), which the warning-free build
// does not allow.
inline std::string Joined(std::initializer_list<std::string_view> pieces)
{
    std::size_t size = 0;
    for (const auto piece : pieces)
        size += piece.size();
    std::string text;
    text.reserve(size);
    for (const auto piece : pieces)
        text.append(piece);
    return text;
}

enum class Backslash { Escaped, Kept };

inline constexpr std::string_view kHexDigits = "0123456789abcdef";
inline constexpr std::string_view kUpperHexDigits = "0123456789ABCDEF";

// byte as two hex digits taken from digits.
inline void AppendHex(std::string& out, unsigned char byte, std::string_view digits = kHexDigits)
{
    out += digits[byte >> 4];
    out += digits[byte & 15];
}

// A text as every output of the CLI shows it: backslash, TAB, LF and CR as
// \\ \t \n \r, other bytes below 32 as \xHH, everything else unchanged. A
// zero byte thus stays visible instead of ending the text where C strings
// end. Messages keep a backslash as it is (Backslash::Kept): they name paths
// and times the user typed, and only their control bytes need showing.
inline std::string EscapedText(std::string_view text, Backslash backslash = Backslash::Escaped)
{
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
                AppendHex(out, byte);
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
inline std::string SingleQuoted(std::string_view text) { return Joined({"'", QuotedInput(text), "'"}); }

} // namespace zentaro
