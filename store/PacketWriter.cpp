#include "store/PacketWriter.h"
#include "store/PacketFormat.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <string_view>

namespace zentaro {
namespace {

using namespace packet;

constexpr std::size_t kInitialBuffer = 32 * 1024;

class Writer {
public:
    explicit Writer(std::size_t expected) { bytes_.reserve(std::max(expected, kInitialBuffer)); }

    std::size_t Size() const { return bytes_.size(); }
    void U8(std::uint8_t v) { bytes_.push_back(std::byte{v}); }
    void U16(std::uint16_t v) { StoreLittle(Grow(sizeof v), v); }
    void U32(std::uint32_t v) { StoreLittle(Grow(sizeof v), v); }
    void Raw(const void* data, std::size_t size)
    {
        const auto* p = static_cast<const std::byte*>(data);
        bytes_.insert(bytes_.end(), p, p + size);
    }
    void Name(std::string_view name)
    {
        const auto length = std::min<std::size_t>(name.size(), 255);
        U8(static_cast<std::uint8_t>(length));
        Raw(name.data(), length);
    }
    // Room for n more bytes, to be filled through the returned pointer.
    std::byte* Grow(std::size_t n)
    {
        const std::size_t at = bytes_.size();
        bytes_.resize(at + n);
        return bytes_.data() + at;
    }
    void PatchU16(std::size_t at, std::uint16_t v) { StoreLittle(bytes_.data() + at, v); }
    void PatchU32(std::size_t at, std::uint32_t v) { StoreLittle(bytes_.data() + at, v); }
    std::vector<std::byte> Take() { return std::move(bytes_); }

private:
    std::vector<std::byte> bytes_;
};

void WriteKept(Writer& out, const KeptParameter& parameter)
{
    out.Name(parameter.name);
    out.U32(parameter.typeWord);
    out.Raw(parameter.value.data(), parameter.value.size());
}

constexpr std::size_t kMetadataEstimate = 256;

void WriteHeader(Writer& out, std::size_t columnCount)
{
    out.U32(kPacketMagic);
    out.U16(kVersionMajor);
    out.U16(0);
    out.U32(kHeaderSize);
    out.U16(static_cast<std::uint16_t>(columnCount));
    out.U32(0);             // row count, patched once the rows are written
    out.U32(kFlagMetadata); // flags, patched likewise
    out.U16(0);             // first-row offset, patched likewise
}

void WriteColumns(Writer& out, const std::vector<ColumnDef>& columns)
{
    for (const auto& column : columns) {
        out.Name(column.name);
        out.U32(column.kind == ColumnKind::Text ? TextColumnType(column.width) : kFloatColumnType);
        out.U16(column.attributes);
        const std::size_t countAt = out.Size();
        std::uint16_t count = 0;
        out.U16(0);
        if (column.kind == ColumnKind::Text && column.width != 0) {
            out.Name(kWidth);
            out.U32(kWidthType);
            out.U16(column.width);
            ++count;
        }
        for (const auto& parameter : column.kept) {
            WriteKept(out, parameter);
            ++count;
        }
        out.PatchU16(countAt, count);
    }
}

void WriteParameters(Writer& out, const TableData& table)
{
    const std::size_t countAt = out.Size();
    std::uint16_t count = 0;
    out.U16(0);
    if (!table.changeLog.empty()) {
        out.Name(kChangeLog);
        out.U32(kChangeLogType);
        out.U32(static_cast<std::uint32_t>(table.changeLog.size() * 3));
        std::byte* p = out.Grow(table.changeLog.size() * 12);
        for (const auto& entry : table.changeLog)
            for (std::uint32_t v : {entry.row, entry.previous, entry.kind})
                p = StoreLittle(p, v);
        ++count;
    }
    for (const auto& parameter : table.datasetParameters) {
        WriteKept(out, parameter);
        ++count;
    }
    out.PatchU16(countAt, count);
}

// Which rows a packet holds and how many bytes they take, measured before
// writing so that they go into one piece of memory.
struct RowsToWrite {
    std::size_t indicatorBytes = 0;
    std::vector<std::size_t> prefixes; // length prefix of a text column, 0 for a float one
    bool allRows = false;              // with a change log, unused slots are kept too
    std::size_t bytes = 0;
    std::uint32_t count = 0;

    bool Chosen(const TableData& table, std::size_t row) const
    {
        return allRows || (table.status[row] & kRowUnused) == 0;
    }
};

RowsToWrite MeasureRows(const TableData& table)
{
    RowsToWrite rows;
    rows.indicatorBytes = (table.columns.size() + 3) / 4;
    rows.allRows = !table.changeLog.empty();
    for (const auto& column : table.columns)
        rows.prefixes.push_back(column.kind == ColumnKind::Text ? SizeHalf(TextColumnType(column.width)) : 0);
    for (std::size_t row = 0; row < table.RowCount(); ++row) {
        if (!rows.Chosen(table, row))
            continue;
        ++rows.count;
        rows.bytes += 1 + rows.indicatorBytes;
        for (std::size_t column = 0; column < table.columns.size(); ++column) {
            const auto& values = table.values[column];
            if (values.Flags(row) != 0)
                continue;
            if (values.Kind() == ColumnKind::Float)
                rows.bytes += 8;
            else
                rows.bytes += rows.prefixes[column] + std::max<std::size_t>(values.Text(row).size(), 1);
        }
    }
    return rows;
}

void WriteRows(Writer& out, const TableData& table, const RowsToWrite& rows)
{
    std::byte* p = out.Grow(rows.bytes);
    for (std::size_t row = 0; row < table.RowCount(); ++row) {
        if (!rows.Chosen(table, row))
            continue;
        *p++ = std::byte{table.status[row]};
        std::byte* indicators = p;
        std::fill(indicators, indicators + rows.indicatorBytes, std::byte{0});
        p += rows.indicatorBytes;
        for (std::size_t column = 0; column < table.columns.size(); ++column) {
            const auto& values = table.values[column];
            const std::uint8_t cell = values.Flags(row) & (kCellNull | kCellUnchanged);
            if (cell != 0) {
                indicators[column / 4] |= std::byte(cell << (2 * (column % 4)));
                continue;
            }
            if (values.Kind() == ColumnKind::Float) {
                p = StoreLittle(p, std::bit_cast<std::uint64_t>(values.Float(row)));
                continue;
            }
            std::string_view text = values.Text(row);
            // An empty text still needs one byte so that it differs from null.
            static constexpr char kZero = '\0';
            if (text.empty())
                text = std::string_view(&kZero, 1);
            p = rows.prefixes[column] == 1 ? StoreLittle(p, static_cast<std::uint8_t>(text.size()))
                                           : StoreLittle(p, static_cast<std::uint16_t>(text.size()));
            std::memcpy(p, text.data(), text.size());
            p += text.size();
        }
    }
}

} // namespace

std::vector<std::byte> BuildPacket(const TableData& table)
{
    const RowsToWrite rows = MeasureRows(table);
    std::size_t expected = kMetadataEstimate + table.changeLog.size() * 12 + rows.bytes;
    for (const auto& parameter : table.datasetParameters)
        expected += parameter.name.size() + parameter.value.size() + 5;

    Writer out(expected);
    WriteHeader(out, table.columns.size());
    WriteColumns(out, table.columns);
    WriteParameters(out, table);

    // The first-row offset is only given where it fits its 16 bits.
    std::uint32_t flags = kFlagMetadata;
    if (out.Size() <= kMaxFirstRowOffset) {
        out.PatchU16(kFirstRowOffset, static_cast<std::uint16_t>(out.Size()));
        flags |= kFlagFirstRowValid;
    }
    WriteRows(out, table, rows);
    out.PatchU32(kRowCountOffset, rows.count);
    out.PatchU32(kFlagsOffset, flags);
    return out.Take();
}

} // namespace zentaro
