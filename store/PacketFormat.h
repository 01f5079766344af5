// The parts of the data packet's byte layout that both the table's loader
// and the readers that stream rows without keeping them need: the
// little-endian helpers, the shape of a row and the row decoder.
#pragma once

#include "store/TableData.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

namespace zentaro {

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

// What reading the rows needs to know of the columns.
struct RowLayout {
    std::size_t indicatorBytes = 0;
    std::vector<std::size_t> prefixes; // length prefix of a text column, 0 for a float one
    std::vector<std::size_t> widths;
    // The layout this program writes: two short texts and a float, in that
    // order. Its rows are decoded without looking the layout up per cell.
    bool rateShape = false;
    // The longest a row can be: rows that start at least this far from the
    // end of what was read lie there whole without measuring them.
    std::size_t longestRow = 0;

    // The prefixes are those the columns' type words give, one per column.
    RowLayout(const std::vector<ColumnDef>& columns, std::vector<std::size_t> lengthPrefixes);

    std::uint8_t Cell(const std::byte* indicators, std::size_t column) const
    {
        return static_cast<std::uint8_t>((std::to_integer<unsigned>(indicators[column / 4]) >> (2 * (column % 4))) &
                                         0x3);
    }
};

// The size of the row at the start of bytes, or 0 when it does not lie
// there whole.
std::size_t RowSize(std::span<const std::byte> bytes, const RowLayout& layout);

// Decodes one row that lies whole at p and hands it to sink; returns where
// the next row starts. See DecodeRows.
template <typename Sink>
const std::byte* DecodeRow(const std::byte* p, const RowLayout& layout, std::size_t row, Sink& sink)
{
    sink.Status(row, LoadLittle<std::uint8_t>(p));
    const std::byte* indicators = p + 1;
    bool anyCell = false;
    for (std::size_t i = 0; i < layout.indicatorBytes; ++i)
        anyCell |= indicators[i] != std::byte{0};
    p += 1 + layout.indicatorBytes;
    const std::size_t columnCount = layout.prefixes.size();
    for (std::size_t c = 0; c < columnCount; ++c) {
        const std::uint8_t cell = anyCell ? layout.Cell(indicators, c) : 0;
        const std::size_t prefix = layout.prefixes[c];
        if (cell != 0) {
            sink.Empty(row, c, cell);
        } else if (prefix == 0) {
            sink.Number(row, c, std::bit_cast<double>(LoadLittle<std::uint64_t>(p)));
            p += 8;
        } else {
            const std::size_t length = prefix == 1 ? LoadLittle<std::uint8_t>(p) : LoadLittle<std::uint16_t>(p);
            p += prefix;
            sink.Text(row, c, reinterpret_cast<const char*>(p), length);
            p += length;
        }
    }
    sink.EndRow(row);
    return p;
}

struct DecodedRows {
    std::size_t next = 0;  // the row number after the last one decoded
    std::size_t bytes = 0; // the bytes those rows took
};

// Decodes rows numbered from first up to end, as many as lie whole at the
// start of bytes, and hands each to sink in order:
//   sink.Status(row, statusByte);
//   per column: sink.Empty(row, column, cellFlags) for a null or unchanged
//     cell, sink.Number(row, column, value), or sink.Text(row, column,
//     bytes, length) with the text as stored, before any cut;
//   sink.EndRow(row).
// A sink may take a row of the rate table's own layout with nothing null in
// one call instead: sink.RateRow(row, status, text, length, text, length, value).
template <typename Sink>
DecodedRows DecodeRows(std::span<const std::byte> bytes, const RowLayout& layout, std::size_t first,
                       std::size_t end, Sink& sink)
{
    const std::byte* p = bytes.data();
    const std::byte* const stop = p + bytes.size();
    std::size_t row = first;
    for (; row < end; ++row) {
        const auto left = static_cast<std::size_t>(stop - p);
        if (left < layout.longestRow && RowSize({p, left}, layout) == 0)
            break;
        // The row lies whole at p from here on.
        if (!layout.rateShape || p[1] != std::byte{0}) {
            p = DecodeRow(p, layout, row, sink);
            continue;
        }
        // Nothing null: status, indicators, two texts with a one-byte length, eight bytes.
        const std::size_t firstLength = LoadLittle<std::uint8_t>(p + 2);
        const std::byte* const firstText = p + 3;
        const std::size_t secondLength = LoadLittle<std::uint8_t>(firstText + firstLength);
        const std::byte* const secondText = firstText + firstLength + 1;
        const std::byte* const number = secondText + secondLength;
        const std::uint8_t status = LoadLittle<std::uint8_t>(p);
        const double value = std::bit_cast<double>(LoadLittle<std::uint64_t>(number));
        if constexpr (requires { sink.RateRow(row, status, "", firstLength, "", secondLength, value); }) {
            sink.RateRow(row, status, reinterpret_cast<const char*>(firstText), firstLength,
                         reinterpret_cast<const char*>(secondText), secondLength, value);
        } else {
            sink.Status(row, status);
            sink.Text(row, 0, reinterpret_cast<const char*>(firstText), firstLength);
            sink.Text(row, 1, reinterpret_cast<const char*>(secondText), secondLength);
            sink.Number(row, 2, value);
            sink.EndRow(row);
        }
        p = number + 8;
    }
    return {row, static_cast<std::size_t>(p - bytes.data())};
}

} // namespace zentaro
