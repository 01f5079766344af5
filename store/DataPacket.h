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

// A source of a packet's bytes: fills the start of the span it is given and
// returns how many bytes it gave, 0 at the end.
using ByteSource = std::function<std::size_t(std::span<std::byte>)>;

// Passes over count bytes of a source without handing them out; false when
// the source cannot (then they are read and dropped) or ends before them.
using ByteSkip = std::function<bool(std::size_t count)>;

// The same from a source of size bytes that is read piece by piece, so that
// the packet's rows are never all in memory at once.
TableData ReadPacket(const ByteSource& read, std::size_t size);

struct RowLayout;

// Takes a packet's rows as they are read, block by block.
class PacketRowSink {
public:
    virtual ~PacketRowSink() = default;
    // Once the metadata is read, before any row: the columns and parameters,
    // the rows' layout, how many rows the header announces and how many
    // bytes the packet has after its metadata.
    virtual void Begin(const TableData& metadata, const RowLayout& layout, std::uint32_t rowCount,
                       std::size_t rowBytes) = 0;
    // Takes the rows that lie whole at the start of bytes (see DecodeRows);
    // returns the bytes they took.
    virtual std::size_t Read(std::span<const std::byte> bytes) = 0;
    // True once every row the header announced was taken.
    virtual bool Done() const = 0;
};

// Whether a reader keeps the change log or only checks it; a reader that
// answers a question and throws the table away has no use for it.
enum class ChangeLogUse { Keep, CheckOnly };

// Reads a packet's metadata into metadata and hands its rows to sink, failing
// exactly where ReadPacket fails and with the same texts. A change log that
// is only checked is passed over with skip where one is given.
void StreamPacket(const ByteSource& read, std::size_t size, TableData& metadata, ChangeLogUse changeLog,
                  PacketRowSink& sink, const ByteSkip& skip = {});

} // namespace zentaro
