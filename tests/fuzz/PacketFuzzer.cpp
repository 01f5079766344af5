// Feeds arbitrary bytes to the packet reader; whatever it accepts must also
// write back and read again to the same packet. The reader that only
// streams the rows past (and checks the change log without keeping it) must
// fail exactly where the full reader fails, with the same text.
#include "store/DataPacket.h"
#include "store/StoreError.h"
#include "store/StoredRates.h"

#include <array>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace {

std::string StreamedFailure(std::span<const std::byte> bytes)
{
    const std::array<std::string_view, 2> currencies = {"USD", "JPY"};
    try {
        zentaro::SearchStoredRates(
            [&](zentaro::TableData& metadata, zentaro::PacketRowSink& sink) {
                std::size_t offset = 0;
                zentaro::StreamPacket(
                    [&](std::span<std::byte> into) {
                        const std::size_t count = std::min(into.size(), bytes.size() - offset);
                        std::memcpy(into.data(), bytes.data() + offset, count);
                        offset += count;
                        return count;
                    },
                    bytes.size(), metadata, zentaro::ChangeLogUse::CheckOnly, sink);
            },
            std::nullopt, currencies, '.');
    } catch (const zentaro::StoreError& error) {
        return error.what();
    }
    return {};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::byte> bytes(reinterpret_cast<const std::byte*>(data), size);
    std::string failure;
    try {
        const zentaro::TableData table = zentaro::ParsePacket(bytes);
        const auto packet = zentaro::BuildPacket(table);
        if (zentaro::BuildPacket(zentaro::ParsePacket(packet)) != packet)
            std::abort();
    } catch (const zentaro::StoreError& error) {
        failure = error.what();
    }
    if (StreamedFailure(bytes) != failure)
        std::abort();
    return 0;
}
