#pragma once

#include "store/TableData.h"

#include <cstddef>
#include <vector>

namespace zentaro {

// The binary data packet of a table (layout in PacketFormat.h), built in one
// piece of memory.
std::vector<std::byte> BuildPacket(const TableData& table);

} // namespace zentaro
