// The data packet's byte layout, shared by its writer and its reader. All
// integers are little-endian and nothing is padded:
//   header (24 bytes): magic, two version words, header size, column count,
//     row count, flags (bit 0 metadata present, bit 1 first-row offset valid),
//     first-row offset;
//   per column: name, type word, attributes, parameter count, its parameters;
//   dataset parameter count and parameters ("CHANGE_LOG", kept ones);
//   rows: status byte, null indicator bytes (two bits per column), values.
#pragma once

#include "store/TableData.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>
#include <vector>

namespace zentaro {

inline constexpr std::uint32_t kPacketMagic = 0xBDE01996;
inline constexpr std::uint32_t kPacketMagicAlt = 0x0000ABCD;

namespace packet {

inline constexpr std::uint16_t kVersionMajor = 1;
inline constexpr std::uint16_t kMaxVersion = 3;
inline constexpr std::uint32_t kHeaderSize = 24;
inline constexpr std::size_t kRowCountOffset = 14;
inline constexpr std::size_t kFlagsOffset = 18;
inline constexpr std::size_t kFirstRowOffset = 22;
inline constexpr std::uint32_t kFlagMetadata = 0x1;
inline constexpr std::uint32_t kFlagFirstRowValid = 0x2;
inline constexpr std::size_t kMaxFirstRowOffset = 0xFFFF;

// Type words: size half in bits 0-15, kind code in 16-21, then flags.
inline constexpr std::uint32_t kVarying = 0x00400000;
inline constexpr std::uint32_t kArray = 0x00800000;
inline constexpr std::uint32_t kCodeMask = 0x003F0000;
inline constexpr std::uint32_t kCompoundMask = 0xFF000000;
inline constexpr std::uint32_t kCodeFloat = 4;
inline constexpr std::uint32_t kCodeText = 9;
inline constexpr std::uint32_t kCodeFirstCompound = 12;
inline constexpr std::uint32_t kCodeLastCompound = 15;
inline constexpr std::uint32_t kFloatColumnType = (kCodeFloat << 16) | 8;
inline constexpr std::uint32_t kWidthType = 0x00020002;     // 2-byte unsigned integer
inline constexpr std::uint32_t kChangeLogType = 0x00820004; // array of 4-byte unsigned

inline constexpr std::string_view kWidth = "WIDTH";
inline constexpr std::string_view kChangeLog = "CHANGE_LOG";

inline constexpr std::uint32_t Code(std::uint32_t typeWord) { return (typeWord & kCodeMask) >> 16; }
inline constexpr std::uint32_t SizeHalf(std::uint32_t typeWord) { return typeWord & 0xFFFF; }

// The type word this program writes for a text column: a one-byte length
// prefix while every text of the width fits it, else two bytes.
inline constexpr std::uint32_t TextColumnType(std::uint16_t width)
{
    const std::uint32_t prefix = width + 1u > 254 ? 2 : 1;
    return (kCodeText << 16) | kVarying | prefix;
}

} // namespace packet

template <typename T>
T ByteOrderSwapped(T v)
{
    auto bytes = std::bit_cast<std::array<std::byte, sizeof(T)>>(v);
    std::reverse(bytes.begin(), bytes.end());
    return std::bit_cast<T>(bytes);
}

// The one pair of little-endian helpers every fixed-width read and write
// goes through; p is not required to be aligned.
template <typename T>
T LoadLittle(const std::byte* p)
{
    T v;
    std::memcpy(&v, p, sizeof v);
    if constexpr (std::endian::native == std::endian::big)
        v = ByteOrderSwapped(v);
    return v;
}

template <typename T>
std::byte* StoreLittle(std::byte* p, T v)
{
    if constexpr (std::endian::native == std::endian::big)
        v = ByteOrderSwapped(v);
    std::memcpy(p, &v, sizeof v);
    return p + sizeof v;
}

// The shape of a packet's rows: the status byte, the null indicators, then
// per column a float's eight bytes or a text's length prefix and bytes.
struct RowLayout {
    std::size_t indicatorBytes = 0;
    std::vector<std::size_t> prefixes; // length prefix of a text column, 0 for a float one
    // The longest a row can be: rows that start at least this far from the
    // end of what was read lie there whole without measuring them.
    std::size_t longestRow = 0;

    // The prefixes are those the columns' type words give, one per column.
    explicit RowLayout(std::vector<std::size_t> lengthPrefixes);

    std::uint8_t Cell(const std::byte* indicators, std::size_t column) const
    {
        return static_cast<std::uint8_t>((std::to_integer<unsigned>(indicators[column / 4]) >> (2 * (column % 4))) &
                                         0x3);
    }
};

// The size of the row at the start of bytes, or 0 when it does not lie
// there whole.
std::size_t RowSize(std::span<const std::byte> bytes, const RowLayout& layout);

} // namespace zentaro
