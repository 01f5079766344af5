#include "import/UrlFetcher.h"


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

std::string EscapeUrl(std::string_view url)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    static constexpr std::string_view kUnsafe = "\"<>\\^`{|}";
    std::string escaped;
    escaped.reserve(url.size());
    for (char c : url) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte >= 0x7F || kUnsafe.find(c) != std::string_view::npos) {
            escaped += '%';
            escaped += kHex[byte >> 4];
            escaped += kHex[byte & 15];
        } else {
            escaped += c;
        }
    }
    return escaped;
}

} // namespace zentaro
