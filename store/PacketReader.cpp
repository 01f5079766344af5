// Reads a data packet into a table in one pass: the metadata first, then
// the rows block by block straight into the columns' arrays.
#include "store/PacketReader.h"
#include "store/PacketFormat.h"
#include "store/StoreError.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>
#include <string_view>

namespace zentaro {
namespace {

using namespace packet;

constexpr std::size_t kMaxColumnName = 31;

const char* const kMismatch = "Mismatch in datapacket.";
const char* const kInvalidParameter = "Invalid parameter.";

class Reader {
public:
    explicit Reader(std::span<const std::byte> bytes) : bytes_(bytes) {}

    std::size_t Position() const { return position_; }
    std::size_t Remaining() const { return bytes_.size() - position_; }
    void Seek(std::size_t position)
    {
        if (position > bytes_.size())
            throw StoreError(kMismatch);
        position_ = position;
    }
    std::span<const std::byte> Take(std::size_t count)
    {
        Require(count);
        const auto piece = bytes_.subspan(position_, count);
        position_ += count;
        return piece;
    }
    // An unsigned integer of 1, 2 or 4 bytes.
    std::uint32_t Unsigned(std::size_t size)
    {
        const std::byte* p = Take(size).data();
        switch (size) {
        case 1: return LoadLittle<std::uint8_t>(p);
        case 2: return LoadLittle<std::uint16_t>(p);
        default: return LoadLittle<std::uint32_t>(p);
        }
    }
    std::uint8_t U8() { return static_cast<std::uint8_t>(Unsigned(1)); }
    std::uint16_t U16() { return static_cast<std::uint16_t>(Unsigned(2)); }
    std::uint32_t U32() { return Unsigned(4); }
    std::string_view Text(std::size_t count)
    {
        const auto piece = Take(count);
        return {reinterpret_cast<const char*>(piece.data()), piece.size()};
    }
    std::string_view Name() { return Text(U8()); }
    // Fails unless count more bytes are there; a failure tells how long the
    // packet would have to be.
    void Require(std::uint64_t count)
    {
        if (count > Remaining()) {
            needed_ = position_ + std::min<std::uint64_t>(count, SIZE_MAX - position_);
            throw StoreError(kMismatch);
        }
    }
    std::size_t Needed() const { return needed_; }

private:
    std::span<const std::byte> bytes_;
    std::size_t position_ = 0;
    std::size_t needed_ = 0;
};

// Reads a parameter's value by its type word and returns its raw bytes.
std::span<const std::byte> ReadValue(Reader& in, std::uint32_t typeWord)
{
    const std::uint32_t code = Code(typeWord);
    if ((typeWord & kCompoundMask) != 0 || (code >= kCodeFirstCompound && code <= kCodeLastCompound))
        throw StoreError(kMismatch);
    const std::size_t size = SizeHalf(typeWord);
    const bool varying = (typeWord & kVarying) != 0;
    if (varying && size != 1 && size != 2 && size != 4)
        throw StoreError(kMismatch);

    const std::size_t start = in.Position();
    const auto skipOne = [&] {
        if (varying)
            in.Take(in.Unsigned(size));
        else
            in.Take(size);
    };
    if ((typeWord & kArray) != 0) {
        const std::uint64_t count = in.U32();
        // Every element takes at least its size (a varying one its length
        // prefix), so a count that cannot fit is refused before any loop.
        in.Require(count * size);
        if (varying) {
            for (std::uint64_t i = 0; i < count; ++i)
                skipOne();
        } else {
            in.Take(static_cast<std::size_t>(count * size));
        }
    } else {
        skipOne();
    }
    const std::size_t end = in.Position();
    in.Seek(start);
    return in.Take(end - start);
}

std::uint32_t IntegerValue(std::span<const std::byte> value, std::uint32_t typeWord)
{
    const std::uint32_t code = Code(typeWord);
    const std::size_t size = SizeHalf(typeWord);
    if ((code != 1 && code != 2) || (typeWord & (kVarying | kArray)) != 0 || size == 0 || size > 8)
        throw StoreError(kInvalidParameter);
    std::uint64_t v = 0;
    for (std::size_t i = 0; i < size; ++i)
        v |= std::uint64_t(std::to_integer<std::uint8_t>(value[i])) << (8 * i);
    if (code == 1 && (std::to_integer<std::uint8_t>(value[size - 1]) & 0x80) != 0)
        return 0; // a negative width is no width
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(v, 0xFFFFFFFF));
}

std::vector<ChangeLogEntry> ReadChangeLog(std::span<const std::byte> value, std::uint32_t typeWord)
{
    if ((typeWord & kArray) == 0 || (typeWord & kVarying) != 0 || SizeHalf(typeWord) != 4)
        throw StoreError(kInvalidParameter);
    Reader in(value);
    const std::uint32_t count = in.U32();
    if (count < 3)
        throw StoreError(kInvalidParameter);
    std::vector<ChangeLogEntry> log(count / 3);
    const std::byte* p = in.Take(log.size() * 12).data();
    for (auto& entry : log) {
        entry.row = LoadLittle<std::uint32_t>(p);
        entry.previous = LoadLittle<std::uint32_t>(p + 4);
        entry.kind = LoadLittle<std::uint32_t>(p + 8) & 0xFF;
        p += 12;
    }
    return log;
}

ColumnKind ColumnKindOf(std::uint32_t typeWord, std::size_t& prefix)
{
    if ((typeWord & (kCompoundMask | kArray)) == 0) {
        const std::uint32_t code = Code(typeWord);
        const std::uint32_t size = SizeHalf(typeWord);
        if (code == kCodeText && (typeWord & kVarying) != 0 && (size == 1 || size == 2)) {
            prefix = size;
            return ColumnKind::Text;
        }
        if (code == kCodeFloat && (typeWord & kVarying) == 0 && size == 8)
            return ColumnKind::Float;
    }
    // Kinds the rate table never holds are not read.
    throw StoreError(kMismatch);
}


struct PacketHeader {
    std::uint16_t columnCount = 0;
    std::uint32_t rowCount = 0;
};

PacketHeader ReadHeader(Reader& in)
{
    if (in.Remaining() < 4)
        throw StoreError(kMismatch);
    const std::uint32_t magic = in.U32();
    // Anything without the binary magic would be the XML form, which is not read.
    if (magic != kPacketMagic && magic != kPacketMagicAlt)
        throw StoreError(kMismatch);
    const std::uint16_t major = in.U16();
    const std::uint16_t minor = in.U16();
    if (magic == kPacketMagic && (major > kMaxVersion || minor > kMaxVersion))
        throw StoreError(kMismatch);
    const std::uint32_t headerSize = in.U32();
    PacketHeader header;
    header.columnCount = in.U16();
    header.rowCount = in.U32();
    const std::uint32_t flags = in.U32();
    in.U16(); // first-row offset: the metadata is walked instead
    if ((flags & kFlagMetadata) == 0)
        throw StoreError("Datapacket contains no meta data.");
    if (headerSize < kHeaderSize)
        throw StoreError(kMismatch);
    in.Seek(headerSize);
    if (header.columnCount == 0)
        throw StoreError(kMismatch);
    return header;
}

// Reads the column definitions, and the length prefix each text column's
// type word gives its rows (0 for a float column).
void ReadColumns(Reader& in, std::uint16_t columnCount, TableData& table, std::vector<std::size_t>& prefixes)
{
    for (std::size_t c = 0; c < columnCount; ++c) {
        ColumnDef column;
        const std::string_view name = in.Name();
        if (name.empty())
            throw StoreError("Field name can't be null, datapacket may be corrupted");
        column.name = std::string(name.substr(0, kMaxColumnName));
        const std::uint32_t typeWord = in.U32();
        std::size_t prefix = 0;
        column.kind = ColumnKindOf(typeWord, prefix);
        column.attributes = in.U16();
        const std::uint16_t parameterCount = in.U16();
        std::uint32_t width = 0;
        for (std::uint16_t p = 0; p < parameterCount; ++p) {
            const std::string_view parameterName = in.Name();
            const std::uint32_t parameterType = in.U32();
            const auto value = ReadValue(in, parameterType);
            if (SameName(parameterName, kWidth))
                width = IntegerValue(value, parameterType);
            else
                column.kept.push_back({std::string(parameterName), parameterType, {value.begin(), value.end()}});
        }
        if (column.kind == ColumnKind::Text && width < 1)
            throw StoreError(kInvalidParameter);
        column.width = static_cast<std::uint16_t>(std::min<std::uint32_t>(width, 0xFFFF));
        prefixes.push_back(prefix);
        table.columns.push_back(std::move(column));
    }
}

// One dataset parameter: the change log, or one kept as it stands.
void ReadParameter(Reader& in, TableData& table)
{
    const std::string_view parameterName = in.Name();
    const std::uint32_t parameterType = in.U32();
    const auto value = ReadValue(in, parameterType);
    if (SameName(parameterName, kChangeLog))
        table.changeLog = ReadChangeLog(value, parameterType);
    else
        table.datasetParameters.push_back({std::string(parameterName), parameterType, {value.begin(), value.end()}});
}

constexpr std::size_t kFirstRead = 64 * 1024;
constexpr std::size_t kRowBlock = 64 * 1024;

// The packet's bytes as they are read: a window that starts at the first
// byte not yet taken and grows only when what is being read needs more.
// Never more than size bytes are read in all, whatever the source holds.
class PacketInput {
public:
    PacketInput(const ByteSource& read, std::size_t size) : read_(read), unread_(size)
    {
        window_.reserve(std::min(size, kFirstRead));
    }

    std::span<const std::byte> Window() const { return std::span(window_).subspan(start_); }
    std::size_t Position() const { return position_; } // of the window's first byte in the packet
    void Take(std::size_t count)
    {
        start_ += count;
        position_ += count;
    }

    // Reads until the window holds count bytes or the packet ends; false
    // when not one more byte came.
    bool Grow(std::size_t count)
    {
        window_.erase(window_.begin(), window_.begin() + static_cast<std::ptrdiff_t>(start_));
        start_ = 0;
        const std::size_t kept = window_.size();
        if (count <= kept)
            return true;
        window_.resize(kept + std::min(count - kept, unread_));
        const std::size_t got = ReadInto(std::span(window_).subspan(kept));
        window_.resize(kept + got);
        return got > 0;
    }

    // Once the metadata is read: a window grown large for it is given back,
    // so its memory is free before the rows arrive.
    void Shrink()
    {
        if (window_.capacity() <= 2 * kRowBlock)
            return;
        LoadVector<std::byte> rest(window_.begin() + static_cast<std::ptrdiff_t>(start_), window_.end());
        window_.swap(rest);
        start_ = 0;
    }

private:
    std::size_t ReadInto(std::span<std::byte> into)
    {
        std::size_t got = 0;
        while (got < into.size()) {
            const std::size_t more = read_(into.subspan(got));
            if (more == 0)
                break;
            got += more;
        }
        unread_ -= got;
        return got;
    }

    const ByteSource& read_;
    std::size_t unread_;
    LoadVector<std::byte> window_;
    std::size_t start_ = 0;    // of the window in window_
    std::size_t position_ = 0; // of the window in the packet
};

// Runs parse on the window, growing it until parse finds what it reads
// there whole, then takes the bytes parse read. A failure stands once the
// packet has no more bytes. A piece that says how long it is (a large change
// log) makes the window grow to hold it at once rather than doubling towards it.
template <typename Parse>
void ParseGrowing(PacketInput& input, Parse&& parse)
{
    for (;;) {
        Reader in(input.Window());
        try {
            parse(in);
            input.Take(in.Position());
            return;
        } catch (const StoreError&) {
            const std::size_t needed = in.Needed() > SIZE_MAX - kFirstRead ? SIZE_MAX : in.Needed() + kFirstRead;
            if (!input.Grow(std::max({input.Window().size() * 2, needed, kFirstRead})))
                throw;
        }
    }
}


constexpr std::size_t kFirstArena = 64 * 1024;

// The rows being read, straight into the columns' arrays: they are sized for
// every row the header announces, written once (never zero-filled first),
// and cut to what was read. Texts go into one arena per column; a text equal
// to the row before shares that row's bytes, so a batch's upload time is
// stored once and nothing is allocated per row.
class RowFill {
public:
    RowFill(const std::vector<ColumnDef>& columns, const RowLayout& layout, std::uint32_t rowCount,
            std::size_t rowBytes)
        : layout_(layout), rowCount_(rowCount), columns_(columns.size())
    {
        status_.resize(rowCount);
        for (std::size_t c = 0; c < columns_.size(); ++c) {
            Column& column = columns_[c];
            auto& arrays = column.arrays;
            column.prefix = layout.prefixes[c];
            column.width = columns[c].width;
            arrays.flags.resize(rowCount);
            column.flags = arrays.flags.data();
            if (column.prefix == 0) {
                arrays.number.resize(rowCount);
                column.number = arrays.number.data();
            } else {
                arrays.offset.resize(rowCount);
                arrays.length.resize(rowCount);
                // Texts repeat from row to row, so the arena starts at a part
                // of the rows' bytes and grows when that is not enough.
                arrays.arena.resize(std::min(rowBytes, std::max(kFirstArena, rowBytes / 8)));
                column.offset = arrays.offset.data();
                column.length = arrays.length.data();
                column.arena = arrays.arena.data();
            }
        }
    }

    bool Done() const { return rows_ == rowCount_; }

    // Takes the rows that lie whole at the start of bytes; returns the bytes they took.
    std::size_t Read(std::span<const std::byte> bytes)
    {
        const std::byte* p = bytes.data();
        const std::byte* const stop = p + bytes.size();
        // Locals, since every byte written may alias the members.
        const std::size_t indicatorBytes = layout_.indicatorBytes;
        const std::size_t longestRow = layout_.longestRow;
        const std::uint32_t rowCount = rowCount_;
        std::uint8_t* const status = status_.data();
        Column* const columns = columns_.data();
        const std::size_t columnCount = columns_.size();
        std::size_t row = rows_;
        for (; row < rowCount; ++row) {
            const auto left = static_cast<std::size_t>(stop - p);
            if (left < longestRow && RowSize({p, left}, layout_) == 0)
                break;
            status[row] = LoadLittle<std::uint8_t>(p);
            const std::byte* const indicators = p + 1;
            bool anyCell = false;
            for (std::size_t i = 0; i < indicatorBytes; ++i)
                anyCell |= indicators[i] != std::byte{0};
            p += 1 + indicatorBytes;
            for (std::size_t c = 0; c < columnCount; ++c) {
                Column& column = columns[c];
                const std::uint8_t cell = anyCell ? layout_.Cell(indicators, c) : 0;
                column.flags[row] = cell;
                if (cell != 0) {
                    if (column.prefix == 0) {
                        column.number[row] = 0.0;
                    } else {
                        column.offset[row] = static_cast<std::uint32_t>(column.used);
                        column.length[row] = 0;
                    }
                } else if (column.prefix == 0) {
                    column.number[row] = std::bit_cast<double>(LoadLittle<std::uint64_t>(p));
                    p += 8;
                } else {
                    const std::size_t length =
                        column.prefix == 1 ? LoadLittle<std::uint8_t>(p) : LoadLittle<std::uint16_t>(p);
                    p += column.prefix;
                    StoreText(column, row, reinterpret_cast<const char*>(p), length);
                    p += length;
                }
            }
        }
        rows_ = row;
        return static_cast<std::size_t>(p - bytes.data());
    }

    // Hands the rows read to the table.
    void Finish(TableData& table)
    {
        status_.resize(rows_);
        table.status = std::move(status_);
        for (std::size_t c = 0; c < columns_.size(); ++c) {
            Column& column = columns_[c];
            column.arrays.flags.resize(rows_);
            if (column.prefix == 0) {
                column.arrays.number.resize(rows_);
            } else {
                column.arrays.offset.resize(rows_);
                column.arrays.length.resize(rows_);
                column.arrays.arena.resize(column.used);
            }
            table.values.emplace_back(table.columns[c].kind, std::move(column.arrays));
        }
    }

private:
    // One column's arrays, written through plain pointers.
    struct Column {
        std::size_t prefix = 0; // of the length, 0 for a float column
        std::size_t width = 0;
        std::size_t used = 0; // of the arena
        std::uint8_t* flags = nullptr;
        double* number = nullptr;
        std::uint32_t* offset = nullptr;
        std::uint16_t* length = nullptr;
        char* arena = nullptr;
        ColumnValues::Arrays arrays;
    };

    // The text StoredTextOf gives, shared with the row before where equal.
    static void StoreText(Column& column, std::size_t row, const char* text, std::size_t length)
    {
        const std::uint32_t previousOffset = row > 0 ? column.offset[row - 1] : 0;
        const std::size_t previousLength = row > 0 ? column.length[row - 1] : SIZE_MAX;
        // Most texts repeat the one before byte for byte. A stored text holds
        // no zero byte and fits the width, so neither cut changes such a text.
        if (column.used + length > std::numeric_limits<std::uint32_t>::max())
            throw StoreError("Text column larger than 4 GiB.");
        if (previousLength == length && SameTextBytes(text, column.arena + previousOffset, length)) {
            column.offset[row] = previousOffset;
            column.length[row] = static_cast<std::uint16_t>(length);
            return;
        }
        const std::size_t stored = StoredTextOf({text, length}, column.width).size();
        if (stored != length && previousLength == stored &&
            SameTextBytes(text, column.arena + previousOffset, stored)) {
            column.offset[row] = previousOffset;
            column.length[row] = static_cast<std::uint16_t>(stored);
            return;
        }
        if (column.used + stored > column.arrays.arena.size()) {
            column.arrays.arena.resize(std::max(column.used + stored, 2 * column.arrays.arena.size()));
            column.arena = column.arrays.arena.data();
        }
        // Texts are short: a loop copies them faster than a library call.
        char* const into = column.arena + column.used;
        for (std::size_t i = 0; i < stored; ++i)
            into[i] = text[i];
        column.offset[row] = static_cast<std::uint32_t>(column.used);
        column.length[row] = static_cast<std::uint16_t>(stored);
        column.used += stored;
    }

    const RowLayout& layout_;
    const std::uint32_t rowCount_;
    std::size_t rows_ = 0;
    std::vector<std::uint8_t> status_;
    std::vector<Column> columns_;
};

} // namespace

TableData ParsePacket(std::span<const std::byte> bytes)
{
    std::size_t offset = 0;
    return ReadPacket(
        [&](std::span<std::byte> into) {
            const std::size_t count = std::min(into.size(), bytes.size() - offset);
            std::memcpy(into.data(), bytes.data() + offset, count);
            offset += count;
            return count;
        },
        bytes.size());
}

TableData ReadPacket(const ByteSource& read, std::size_t size)
{
    // The metadata comes first. What a packet says of its own size is not
    // trusted before its metadata parses: the window starts at one read and
    // grows only as far as the metadata needs.
    PacketInput input(read, size);
    TableData table;
    PacketHeader header;
    std::uint16_t parameterCount = 0;
    std::vector<std::size_t> prefixes;
    ParseGrowing(input, [&](Reader& in) {
        TableData columns;
        std::vector<std::size_t> columnPrefixes;
        header = ReadHeader(in);
        ReadColumns(in, header.columnCount, columns, columnPrefixes);
        parameterCount = in.U16();
        table = std::move(columns);
        prefixes = std::move(columnPrefixes);
    });
    for (std::uint16_t p = 0; p < parameterCount; ++p) {
        ParseGrowing(input, [&](Reader& in) {
            TableData parameter;
            ReadParameter(in, parameter);
            if (!parameter.changeLog.empty())
                table.changeLog = std::move(parameter.changeLog);
            for (auto& kept : parameter.datasetParameters)
                table.datasetParameters.push_back(std::move(kept));
        });
    }

    // The rows are read block by block, so the whole packet is never held.
    const RowLayout layout(std::move(prefixes));
    const std::size_t rowBytes = size - input.Position();
    // Every row needs at least its status and indicator bytes: a count that
    // the rest of the packet cannot hold is refused before anything is
    // reserved or read for it.
    if (std::uint64_t{header.rowCount} * (1 + layout.indicatorBytes) > rowBytes)
        throw StoreError(kMismatch);
    input.Shrink();
    RowFill rows(table.columns, layout, header.rowCount, rowBytes);
    for (;;) {
        input.Take(rows.Read(input.Window()));
        if (rows.Done())
            break;
        // A row larger than a block makes the window grow to hold it.
        if (!input.Grow(input.Window().size() + kRowBlock))
            throw StoreError(kMismatch);
    }
    rows.Finish(table);
    return table;
}

} // namespace zentaro
