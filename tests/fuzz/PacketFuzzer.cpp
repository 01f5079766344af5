// Feeds arbitrary bytes to the packet reader; whatever it accepts must also
// write back and read again to the same packet.
#include "store/PacketReader.h"
#include "store/PacketWriter.h"
#include "store/StoreError.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::byte> bytes(reinterpret_cast<const std::byte*>(data), size);
    try {
        const zentaro::TableData table = zentaro::ParsePacket(bytes);
        const auto packet = zentaro::BuildPacket(table);
        if (zentaro::BuildPacket(zentaro::ParsePacket(packet)) != packet)
            std::abort();
    } catch (const zentaro::StoreError&) {
    }
    return 0;
}
