#include "store/PacketFormat.h"

namespace zentaro {

RowLayout::RowLayout(std::vector<std::size_t> lengthPrefixes)
    : indicatorBytes((lengthPrefixes.size() + 3) / 4), prefixes(std::move(lengthPrefixes))
{
    longestRow = 1 + indicatorBytes;
    for (const std::size_t prefix : prefixes)
        longestRow += prefix == 0 ? 8 : prefix + (prefix == 1 ? 0xFF : 0xFFFF);
}

std::size_t RowSize(std::span<const std::byte> bytes, const RowLayout& layout)
{
    std::size_t size = 1 + layout.indicatorBytes;
    if (size > bytes.size())
        return 0;
    const std::byte* indicators = bytes.data() + 1;
    for (std::size_t c = 0; c < layout.prefixes.size(); ++c) {
        if (layout.Cell(indicators, c) != 0)
            continue;
        const std::size_t prefix = layout.prefixes[c];
        if (prefix == 0) {
            size += 8;
            continue;
        }
        if (size + prefix > bytes.size())
            return 0;
        size += prefix + (prefix == 1 ? LoadLittle<std::uint8_t>(bytes.data() + size)
                                      : LoadLittle<std::uint16_t>(bytes.data() + size));
    }
    return size <= bytes.size() ? size : 0;
}

} // namespace zentaro
