// Reads a data packet into a table in one pass: the metadata first, then
// the rows block by block straight into the columns' arrays.
#include "store/PacketReader.h"
#include "store/PacketFormat.h"
#include "store/StoreError.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <limits>
#include <optional>
#include <string_view>
#include <utility>


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

// The change log's shape: an array of 4-byte words, three to an entry.
bool IsChangeLogType(std::uint32_t typeWord)
{
    return (typeWord & (kCompoundMask | kVarying)) == 0 && (typeWord & kArray) != 0 && SizeHalf(typeWord) == 4 &&
           (Code(typeWord) < kCodeFirstCompound || Code(typeWord) > kCodeLastCompound);
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

// One dataset parameter up to its value. A change log of its shape stops
// after its word count, which it returns: its entries are read block by
// block after it. Any other parameter is read whole and kept as it stands.
std::optional<std::uint32_t> ReadParameter(Reader& in, TableData& table)
{
    const std::string_view parameterName = in.Name();
    const std::uint32_t parameterType = in.U32();
    const bool changeLog = SameName(parameterName, kChangeLog);
    if (changeLog && IsChangeLogType(parameterType))
        return in.U32();
    const auto value = ReadValue(in, parameterType);
    if (changeLog)
        throw StoreError(kInvalidParameter);
    table.datasetParameters.push_back({std::string(parameterName), parameterType, {value.begin(), value.end()}});
    return std::nullopt;
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
// packet has no more bytes. A piece that says how long it is (a large kept
// parameter) makes the window grow to hold it at once rather than doubling
// towards it; the change log, as long as the rows, is read block by block
// instead (ReadChangeLog).
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


// The change log's entries after its word count, read a block at a time
// rather than held whole first: a long table's log is as long as its rows.
ChangeLog ReadChangeLog(PacketInput& input, std::uint32_t words, std::size_t size)
{
    constexpr std::size_t kWordBytes = 4;
    constexpr std::size_t kEntryBytes = 3 * kWordBytes;
    if (std::uint64_t{words} * kWordBytes > size - input.Position())
        throw StoreError(kMismatch);
    if (words < 3)
        throw StoreError(kInvalidParameter);
    ChangeLog log;
    // The words after the last whole entry are passed over.
    std::uint64_t rest = std::uint64_t{words} * kWordBytes;
    while (rest > 0) {
        const auto window = input.Window();
        const std::size_t entryBytes = rest >= kEntryBytes ? kEntryBytes : static_cast<std::size_t>(rest);
        if (window.size() < entryBytes) {
            if (!input.Grow(kRowBlock))
                throw StoreError(kMismatch);
            continue;
        }
        if (entryBytes < kEntryBytes) {
            input.Take(entryBytes);
            break;
        }
        const std::size_t count =
            std::min(static_cast<std::size_t>(rest / kEntryBytes), window.size() / kEntryBytes);
        const std::byte* p = window.data();
        for (std::size_t i = 0; i < count; ++i, p += kEntryBytes)
            log.push_back({LoadLittle<std::uint32_t>(p), LoadLittle<std::uint32_t>(p + kWordBytes),
                           LoadLittle<std::uint32_t>(p + 2 * kWordBytes) & 0xFF});
        input.Take(count * kEntryBytes);
        rest -= count * kEntryBytes;
    }
    return log;
}

constexpr std::size_t kFirstArena = 64 * 1024;

// The rows being read, straight into the columns' arrays: they are sized for
// every row the header announces, written once (never zero-filled first),
// and cut to what was read. Texts go into one arena per column; a text equal
// to the row before shares that row's bytes, so a batch's upload time is
// stored once and nothing is allocated per row. A column's flags are made at
// its first null or unchanged cell, so a file without one writes none.
class RowFill {
public:
    RowFill(const std::vector<ColumnDef>& columns, const RowLayout& layout, std::uint32_t rowCount,
            std::size_t rowBytes)
        : layout_(layout), rowCount_(rowCount), columns_(columns.size()), arrays_(columns.size())
    {
        status_.resize(rowCount);
        for (std::size_t c = 0; c < columns_.size(); ++c) {
            Column& column = columns_[c];
            auto& arrays = arrays_[c];
            column.prefix = layout.prefixes[c];
            column.width = columns[c].width;
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
                column.capacity = arrays.arena.size();
            }
        }
    }

    bool Done() const { return rows_ == rowCount_; }

    // Takes the rows that lie whole at the start of bytes; returns the bytes they took.
    std::size_t Read(std::span<const std::byte> bytes)
    {
        if (std::equal(layout_.prefixes.begin(), layout_.prefixes.end(), RateShape::kPrefixes.begin(),
                       RateShape::kPrefixes.end()))
            return ReadRows<RateShape>(bytes);
        return ReadRows<AnyShape>(bytes);
    }

    // Hands the rows read to the table.
    void Finish(TableData& table)
    {
        status_.resize(rows_);
        table.status = std::move(status_);
        for (std::size_t c = 0; c < columns_.size(); ++c) {
            auto& arrays = arrays_[c];
            if (columns_[c].flags != nullptr)
                arrays.flags.resize(rows_);
            if (columns_[c].prefix == 0) {
                arrays.number.resize(rows_);
            } else {
                arrays.offset.resize(rows_);
                arrays.length.resize(rows_);
                arrays.arena.resize(columns_[c].used);
            }
            table.values.emplace_back(table.columns[c].kind, std::move(arrays));
        }
    }

private:
    // One column's state while rows are read; its arrays are in arrays_.
    struct Column {
        std::size_t prefix = 0; // of the length, 0 for a float column
        std::size_t width = 0;
        std::size_t used = 0;     // of the arena
        std::size_t capacity = 0; // of the arena
        // The text of the row before, which an equal text shares.
        std::size_t lastOffset = 0;
        std::size_t lastLength = SIZE_MAX;
        std::uint8_t* flags = nullptr; // made at the first cell that needs one
        double* number = nullptr;
        std::uint32_t* offset = nullptr;
        std::uint16_t* length = nullptr;
        char* arena = nullptr;
    };

    // The shapes rows are read in: the rate table's own (two texts of up to
    // 254 bytes and a float), whose cells are read with every column's
    // layout known and its state in locals, and any other, read from the
    // layout and columns_ as they stand. Both run the same code.
    static constexpr std::size_t kAnyPrefix = SIZE_MAX;
    struct RateShape {
        static constexpr std::array<std::size_t, 3> kPrefixes = {1, 1, 0};
    };
    struct AnyShape {
        static constexpr std::array<std::size_t, 0> kPrefixes = {};
    };

    template <typename Shape>
    std::size_t ReadRows(std::span<const std::byte> bytes)
    {
        constexpr std::size_t kColumns = Shape::kPrefixes.size();
        const std::byte* p = bytes.data();
        const std::byte* const stop = p + bytes.size();
        const std::size_t indicatorBytes = kColumns != 0 ? (kColumns + 3) / 4 : layout_.indicatorBytes;
        const std::size_t longestRow = layout_.longestRow;
        const std::uint32_t rowCount = rowCount_;
        std::uint8_t* const status = status_.data();
        // Locals that no written byte can alias, unlike the members.
        std::array<Column, kColumns> local;
        std::copy_n(columns_.begin(), kColumns, local.begin());
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
            if constexpr (kColumns == 0) {
                for (std::size_t c = 0; c < columns_.size(); ++c)
                    ReadCell<kAnyPrefix>(columns_[c], c, row, anyCell ? layout_.Cell(indicators, c) : 0, p, stop);
            } else {
                ReadCells<Shape>(local, row, anyCell ? indicators : nullptr, p, stop,
                                 std::make_index_sequence<kColumns>());
            }
        }
        std::copy(local.begin(), local.end(), columns_.begin());
        rows_ = row;
        return static_cast<std::size_t>(p - bytes.data());
    }

    // The cells of a row of a fixed shape; indicators is null when no cell is
    // null or unchanged.
    template <typename Shape, std::size_t... C>
    [[gnu::always_inline]] void ReadCells(std::array<Column, sizeof...(C)>& columns, std::size_t row,
                                          const std::byte* indicators, const std::byte*& p, const std::byte* stop,
                                          std::index_sequence<C...>)
    {
        (ReadCell<Shape::kPrefixes[C]>(columns[C], C, row, indicators ? layout_.Cell(indicators, C) : 0, p, stop),
         ...);
    }

    // One cell of column c at p, which moves past it. Prefix is the
    // column's length prefix where the shape fixes it, else kAnyPrefix.
    template <std::size_t Prefix>
    [[gnu::always_inline]] void ReadCell(Column& column, std::size_t c, std::size_t row, std::uint8_t cell,
                                         const std::byte*& p, const std::byte* stop)
    {
        const std::size_t prefix = Prefix == kAnyPrefix ? column.prefix : Prefix;
        if (cell != 0) {
            if (column.flags == nullptr)
                column.flags = MakeFlags(c);
            column.flags[row] = cell;
            if (prefix == 0) {
                column.number[row] = 0.0;
            } else {
                column.offset[row] = static_cast<std::uint32_t>(column.used);
                column.length[row] = 0;
                column.lastOffset = column.used;
                column.lastLength = 0;
            }
        } else if (prefix == 0) {
            column.number[row] = std::bit_cast<double>(LoadLittle<std::uint64_t>(p));
            p += 8;
        } else {
            const std::size_t length = prefix == 1 ? LoadLittle<std::uint8_t>(p) : LoadLittle<std::uint16_t>(p);
            p += prefix;
            StoreText(column, c, row, reinterpret_cast<const char*>(p), length, stop);
            p += length;
        }
    }

    // The text StoredTextOf gives, shared with the row before where equal.
    // Inlined into the row loop: it runs for every text cell.
    [[gnu::always_inline]] void StoreText(Column& column, std::size_t c, std::size_t row, const char* text,
                                          std::size_t length, const std::byte* stop)
    {
        // Most texts repeat the one before byte for byte. A stored text holds
        // no zero byte and fits the width, so neither cut changes such a text.
        if (length == column.lastLength && SameTextBytes(text, column.arena + column.lastOffset, length)) {
            column.offset[row] = static_cast<std::uint32_t>(column.lastOffset);
            column.length[row] = static_cast<std::uint16_t>(length);
            return;
        }
        const std::size_t cut = std::min(length, column.width);
        if (column.used + cut + kWord > column.capacity) {
            column.arena = GrowArena(c, column.used + cut + kWord);
            column.capacity = arrays_[c].arena.size();
        }
        char* const into = column.arena + column.used;
        const std::size_t stored = CopyToZero(text, cut, into, stop);
        if (stored != length && stored == column.lastLength &&
            SameTextBytes(into, column.arena + column.lastOffset, stored)) {
            column.offset[row] = static_cast<std::uint32_t>(column.lastOffset);
            column.length[row] = static_cast<std::uint16_t>(stored);
            return;
        }
        column.offset[row] = static_cast<std::uint32_t>(column.used);
        column.length[row] = static_cast<std::uint16_t>(stored);
        column.lastOffset = column.used;
        column.lastLength = stored;
        column.used += stored;
    }

    // Copies text up to its first zero byte or cut bytes, as StoredTextOf
    // cuts, and returns how many it copied. A text of up to a word whose
    // word lies before stop moves as one word, into's room for it kept free
    // in the arena; a longer one byte by byte, which for short texts beats a
    // library call.
    static std::size_t CopyToZero(const char* text, std::size_t cut, char* into, const std::byte* stop)
    {
        if (cut <= kWord && reinterpret_cast<const std::byte*>(text) + kWord <= stop) {
            const auto word = LoadLittle<std::uint64_t>(reinterpret_cast<const std::byte*>(text));
            // The lowest set high bit marks the first zero byte.
            constexpr std::uint64_t kOnes = 0x0101010101010101;
            constexpr std::uint64_t kHighs = 0x8080808080808080;
            const std::uint64_t zeros = (word - kOnes) & ~word & kHighs;
            const auto firstZero = static_cast<std::size_t>(std::countr_zero(zeros) / 8);
            StoreLittle(reinterpret_cast<std::byte*>(into), word);
            return std::min(cut, firstZero);
        }
        std::size_t stored = 0;
        for (; stored < cut && text[stored] != '\0'; ++stored)
            into[stored] = text[stored];
        return stored;
    }

    static constexpr std::size_t kWord = 8;

    // Column c's flags, all 0, for every row the header announces.
    std::uint8_t* MakeFlags(std::size_t c)
    {
        auto& flags = arrays_[c].flags;
        flags.assign(rowCount_, 0);
        return flags.data();
    }

    // Column c's arena grown to hold at least bytes.
    char* GrowArena(std::size_t c, std::size_t bytes)
    {
        if (bytes > std::numeric_limits<std::uint32_t>::max())
            throw StoreError("Text column larger than 4 GiB.");
        auto& arena = arrays_[c].arena;
        arena.resize(std::max(bytes, 2 * arena.size()));
        return arena.data();
    }

    const RowLayout& layout_;
    const std::uint32_t rowCount_;
    std::size_t rows_ = 0;
    std::vector<std::uint8_t> status_;
    std::vector<Column> columns_;
    std::vector<ColumnValues::Arrays> arrays_;
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
        std::optional<std::uint32_t> changeLogWords;
        ParseGrowing(input, [&](Reader& in) {
            TableData parameter;
            changeLogWords = ReadParameter(in, parameter);
            for (auto& kept : parameter.datasetParameters)
                table.datasetParameters.push_back(std::move(kept));
        });
        if (changeLogWords)
            table.changeLog = ReadChangeLog(input, *changeLogWords, size);
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
