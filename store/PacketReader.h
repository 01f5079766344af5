#pragma once

#include "store/TableData.h"

#include <cstddef>
#include <functional>
#include <span>

namespace zentaro {

// Parses a whole packet (layout in PacketFormat.h); fails with StoreError
// and the packet's error texts.
TableData ParsePacket(std::span<const std::byte> bytes);

// A source of a packet's bytes: fills the start of the span it is given and
// returns how many bytes it gave, 0 at the end.
using ByteSource = std::function<std::size_t(std::span<std::byte>)>;

// The same from a source of size bytes that is read block by block, so that
// the packet's rows are never all in memory at once.
TableData ReadPacket(const ByteSource& read, std::size_t size);

} // namespace zentaro
