#include "import/UrlFetcher.h"
#include "store/MessageText.h"

namespace zentaro {

std::string BodyText(std::string_view raw)
{
    std::string text;
    text.reserve(raw.size());
    for (std::size_t start = 0; start < raw.size(); start += kBodyBlockSize) {
        const auto block = raw.substr(start, kBodyBlockSize);
        text += block.substr(0, block.find('\0'));
    }
    return text;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size())
        return false;
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (lower(text[i]) != prefix[i])
            return false;
    return true;
}

namespace {

bool ContainsNoCase(std::string_view text, std::string_view part)
{
    for (std::size_t at = 0; at + part.size() <= text.size(); ++at)
        if (StartsWithNoCase(text.substr(at), part))
            return true;
    return false;
}

} // namespace

bool IsHtmlAnswer(std::string_view contentType, std::string_view body)
{
    const auto type = contentType.find_first_not_of(" \t");
    if (type != std::string_view::npos && StartsWithNoCase(contentType.substr(type), "text/html"))
        return true;
    const auto first = body.find_first_not_of(" \t\r\n\f\v");
    if (first == std::string_view::npos || body[first] != '<')
        return false;
    const std::string_view rest = body.substr(first);
    return !StartsWithNoCase(rest, "<?xml") || ContainsNoCase(rest, "<html");
}

std::string EscapeUrl(std::string_view url)
{
    static constexpr std::string_view kUnsafe = "\"<>\\^`{|}";
    std::string escaped;
    escaped.reserve(url.size());
    for (char c : url) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte >= 0x7F || kUnsafe.find(c) != std::string_view::npos) {
            escaped += '%';
            AppendHex(escaped, byte, kUpperHexDigits);
        } else {
            escaped += c;
        }
    }
    return escaped;
}

} // namespace zentaro
