#pragma once

#include "store/TableData.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace zentaro {

inline constexpr std::uint32_t kPacketMagic = 0xBDE01996;
inline constexpr std::uint32_t kPacketMagicAlt = 0x0000ABCD;

// The binary data packet of a table; see the byte layout in DataPacket.cpp.
std::vector<std::byte> BuildPacket(const TableData& table);

// Parses a whole packet; fails with StoreError and the packet's error texts.
TableData ParsePacket(std::span<const std::byte> bytes);

// The same from a source of size bytes that read fills piece by piece (it
// returns how many bytes it gave, 0 at the end), so that the packet's rows
// are never all in memory at once.
TableData ReadPacket(const std::function<std::size_t(std::span<std::byte>)>& read, std::size_t size);

} // namespace zentaro
