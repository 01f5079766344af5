// The binary data packet. All integers are little-endian and nothing is padded:
//   header (24 bytes): magic, two version words, header size, column count,
//     row count, flags (bit 0 metadata present, bit 1 first-row offset valid),
//     first-row offset;
//   per column: name, type word, attributes, parameter count, its parameters;
//   dataset parameter count and parameters ("CHANGE_LOG", kept ones);
//   rows: status byte, null indicator bytes (two bits per column), values.
#include "store/DataPacket.h"
#include "store/PacketFormat.h"
#include "store/StoreError.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <limits>
#include <string_view>

namespace zentaro {
namespace {

constexpr std::uint16_t kVersionMajor = 1;
constexpr std::uint16_t kMaxVersion = 3;
constexpr std::uint32_t kHeaderSize = 24;
constexpr std::size_t kRowCountOffset = 14;
constexpr std::size_t kFlagsOffset = 18;
constexpr std::size_t kFirstRowOffset = 22;
constexpr std::uint32_t kFlagMetadata = 0x1;
constexpr std::uint32_t kFlagFirstRowValid = 0x2;
constexpr std::size_t kMaxFirstRowOffset = 0xFFFF;
constexpr std::size_t kMaxColumnName = 31;
constexpr std::size_t kInitialBuffer = 32 * 1024;

// Type words: size half in bits 0-15, kind code in 16-21, then flags.
constexpr std::uint32_t kVarying = 0x00400000;
constexpr std::uint32_t kArray = 0x00800000;
constexpr std::uint32_t kCodeMask = 0x003F0000;
constexpr std::uint32_t kCompoundMask = 0xFF000000;
constexpr std::uint32_t kCodeFloat = 4;
constexpr std::uint32_t kCodeText = 9;
constexpr std::uint32_t kCodeFirstCompound = 12;
constexpr std::uint32_t kCodeLastCompound = 15;
constexpr std::uint32_t kFloatColumnType = (kCodeFloat << 16) | 8;
constexpr std::uint32_t kWidthType = 0x00020002;     // 2-byte unsigned integer
constexpr std::uint32_t kChangeLogType = 0x00820004; // array of 4-byte unsigned
constexpr std::size_t kWidePrefixFrom = 254;

constexpr std::string_view kWidth = "WIDTH";
constexpr std::string_view kChangeLog = "CHANGE_LOG";

const char* const kMismatch = "Mismatch in datapacket.";
const char* const kInvalidParameter = "Invalid parameter.";

std::uint32_t Code(std::uint32_t typeWord) { return (typeWord & kCodeMask) >> 16; }
std::uint32_t SizeHalf(std::uint32_t typeWord) { return typeWord & 0xFFFF; }

std::uint32_t TextColumnType(std::uint16_t width)
{
    const std::uint32_t prefix = width + 1u > kWidePrefixFrom ? 2 : 1;
    return (kCodeText << 16) | kVarying | prefix;
}

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

} // namespace

namespace {

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

namespace {

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

// One dataset parameter. A change log that is only checked is left in in:
// its bytes are returned to be skipped.
std::size_t ReadParameter(Reader& in, TableData& table, ChangeLogUse changeLog, std::size_t packetLeft)
{
    const std::string_view parameterName = in.Name();
    const std::uint32_t parameterType = in.U32();
    const bool changeLogShape = (parameterType & (kCompoundMask | kVarying)) == 0 &&
                                (parameterType & kArray) != 0 && SizeHalf(parameterType) == 4 &&
                                (Code(parameterType) < kCodeFirstCompound || Code(parameterType) > kCodeLastCompound);
    if (SameName(parameterName, kChangeLog) && changeLog == ChangeLogUse::CheckOnly && changeLogShape) {
        // The same checks as reading it, in the same order, without its entries.
        const std::uint64_t bytes = std::uint64_t{in.U32()} * 4;
        if (bytes > packetLeft - std::min(packetLeft, in.Position()))
            throw StoreError(kMismatch);
        if (bytes < 12)
            throw StoreError(kInvalidParameter);
        return static_cast<std::size_t>(bytes);
    }
    const auto value = ReadValue(in, parameterType);
    if (SameName(parameterName, kChangeLog))
        table.changeLog = ReadChangeLog(value, parameterType);
    else
        table.datasetParameters.push_back({std::string(parameterName), parameterType, {value.begin(), value.end()}});
    return 0;
}

constexpr std::size_t kFirstRead = 64 * 1024;
constexpr std::size_t kRowBlock = 64 * 1024;

// The packet's bytes as they are read: a window that starts at the first
// byte not yet taken and grows only when what is being read needs more.
// Never more than size bytes are read in all, whatever the source holds.
class PacketInput {
public:
    PacketInput(const ByteSource& read, const ByteSkip& skip, std::size_t size)
        : read_(read), skip_(skip), size_(size), unread_(size)
    {
        window_.reserve(std::min(size, kFirstRead));
    }

    std::span<const std::byte> Window() const { return std::span(window_).subspan(start_); }
    std::size_t Position() const { return position_; } // of the window's first byte in the packet
    std::size_t Size() const { return size_; }
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

    // Drops count bytes, reading through those that were not read yet;
    // fails when the packet ends first.
    void Skip(std::size_t count)
    {
        const std::size_t inWindow = std::min(count, Window().size());
        Take(inWindow);
        count -= inWindow;
        if (count == 0)
            return;
        window_.clear();
        start_ = 0;
        if (skip_ && count <= unread_ && skip_(count)) {
            unread_ -= count;
            position_ += count;
            return;
        }
        while (count > 0) {
            window_.resize(std::min({count, kRowBlock, unread_}));
            const std::size_t got = window_.empty() ? 0 : ReadInto(window_);
            if (got == 0)
                throw StoreError(kMismatch);
            position_ += got;
            count -= got;
        }
        window_.clear();
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
    const ByteSkip& skip_;
    const std::size_t size_;
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
// every row the header announces, written once, and cut to what was read.
class RowFill final : public PacketRowSink {
public:
    void Begin(const TableData&, const RowLayout& layout, std::uint32_t rowCount, std::size_t rowBytes) override
    {
        layout_ = &layout;
        rowCount_ = rowCount;
        status_.resize(rowCount);
        columns_.resize(layout.prefixes.size());
        for (std::size_t c = 0; c < columns_.size(); ++c) {
            Column& column = columns_[c];
            auto& arrays = column.arrays;
            column.prefix = layout.prefixes[c];
            column.width = layout.widths[c];
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

    bool Done() const override { return rows_ == rowCount_; }

    std::size_t Read(std::span<const std::byte> bytes) override
    {
        const DecodedRows decoded = DecodeRows(bytes, *layout_, rows_, rowCount_, *this);
        rows_ = decoded.next;
        return decoded.bytes;
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

    // The decoder's calls, one per row and cell.
    void Status(std::size_t row, std::uint8_t status) { status_[row] = status; }
    void Empty(std::size_t row, std::size_t c, std::uint8_t cell)
    {
        Column& column = columns_[c];
        column.flags[row] = cell;
        if (column.prefix == 0) {
            column.number[row] = 0.0;
        } else {
            column.offset[row] = static_cast<std::uint32_t>(column.used);
            column.length[row] = 0;
        }
    }
    void Number(std::size_t row, std::size_t c, double value)
    {
        Column& column = columns_[c];
        column.flags[row] = 0;
        column.number[row] = value;
    }
    void Text(std::size_t row, std::size_t c, const char* text, std::size_t length)
    {
        Column& column = columns_[c];
        column.flags[row] = 0;
        StoreText(column, row, text, length);
    }
    void EndRow(std::size_t) {}

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

    // The texts StoredTextOf gives, sharing the bytes of a text equal to the
    // one before as ColumnValues::AppendText does.
    static void StoreText(Column& column, std::size_t row, const char* text, std::size_t length)
    {
        const std::uint32_t previousOffset = row > 0 ? column.offset[row - 1] : 0;
        const std::size_t previousLength = row > 0 ? column.length[row - 1] : SIZE_MAX;
        // Most texts repeat the one before byte for byte. A stored text holds
        // no zero byte and fits the width, so neither cut changes such a text.
        if (previousLength == length && SameTextBytes(text, column.arena + previousOffset, length)) {
            if (column.used + length > std::numeric_limits<std::uint32_t>::max())
                throw StoreError("Text column larger than 4 GiB.");
            column.offset[row] = previousOffset;
            column.length[row] = static_cast<std::uint16_t>(length);
            return;
        }
        const std::size_t stored = StoredTextOf({text, length}, column.width).size();
        if (column.used + stored > std::numeric_limits<std::uint32_t>::max())
            throw StoreError("Text column larger than 4 GiB.");
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
        if (stored > 0)
            std::memcpy(column.arena + column.used, text, stored);
        column.offset[row] = static_cast<std::uint32_t>(column.used);
        column.length[row] = static_cast<std::uint16_t>(stored);
        column.used += stored;
    }

    const RowLayout* layout_ = nullptr;
    std::uint32_t rowCount_ = 0;
    std::size_t rows_ = 0;
    std::vector<std::uint8_t> status_;
    std::vector<Column> columns_;
};

} // namespace

RowLayout::RowLayout(const std::vector<ColumnDef>& columns, std::vector<std::size_t> lengthPrefixes)
    : indicatorBytes((columns.size() + 3) / 4), prefixes(std::move(lengthPrefixes))
{
    longestRow = 1 + indicatorBytes;
    for (std::size_t c = 0; c < columns.size(); ++c) {
        widths.push_back(columns[c].width);
        longestRow += prefixes[c] == 0 ? 8 : prefixes[c] + (prefixes[c] == 1 ? 0xFF : 0xFFFF);
    }
    rateShape = prefixes == std::vector<std::size_t>{1, 1, 0};
}

std::size_t RowSize(std::span<const std::byte> bytes, const RowLayout& layout)
{
    std::size_t size = 1 + layout.indicatorBytes;
    if (size > bytes.size())
        return 0;
    const std::byte* indicators = bytes.data() + 1;
    for (std::size_t c = 0; c < layout.prefixes.size(); ++c) {
        if (layout.Cell(indicators, c) != 0)
            continue;
        const std::size_t prefix = layout.prefixes[c];
        if (prefix == 0) {
            size += 8;
            continue;
        }
        if (size + prefix > bytes.size())
            return 0;
        size += prefix + (prefix == 1 ? LoadLittle<std::uint8_t>(bytes.data() + size)
                                      : LoadLittle<std::uint16_t>(bytes.data() + size));
    }
    return size <= bytes.size() ? size : 0;
}

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
    TableData table;
    RowFill rows;
    StreamPacket(read, size, table, ChangeLogUse::Keep, rows);
    rows.Finish(table);
    return table;
}

void StreamPacket(const ByteSource& read, std::size_t size, TableData& metadata, ChangeLogUse changeLog,
                  PacketRowSink& sink, const ByteSkip& skip)
{
    // The metadata comes first. What a packet says of its own size is not
    // trusted before its metadata parses: the window starts at one read and
    // grows only as far as the metadata needs.
    PacketInput input(read, skip, size);
    PacketHeader header;
    std::uint16_t parameterCount = 0;
    std::vector<std::size_t> prefixes;
    ParseGrowing(input, [&](Reader& in) {
        TableData table;
        std::vector<std::size_t> columnPrefixes;
        header = ReadHeader(in);
        ReadColumns(in, header.columnCount, table, columnPrefixes);
        parameterCount = in.U16();
        metadata = std::move(table);
        prefixes = std::move(columnPrefixes);
    });
    for (std::uint16_t p = 0; p < parameterCount; ++p) {
        std::size_t skip = 0;
        ParseGrowing(input, [&](Reader& in) {
            TableData parameter;
            skip = ReadParameter(in, parameter, changeLog, input.Size() - input.Position());
            if (!parameter.changeLog.empty())
                metadata.changeLog = std::move(parameter.changeLog);
            for (auto& kept : parameter.datasetParameters)
                metadata.datasetParameters.push_back(std::move(kept));
        });
        input.Skip(skip);
    }

    // The rows are read block by block, so the whole packet is never held.
    const RowLayout layout(metadata.columns, std::move(prefixes));
    const std::size_t rowBytes = size - input.Position();
    // Every row needs at least its status and indicator bytes: a count that
    // the rest of the packet cannot hold is refused before anything is
    // reserved or read for it.
    if (std::uint64_t{header.rowCount} * (1 + layout.indicatorBytes) > rowBytes)
        throw StoreError(kMismatch);
    input.Shrink();
    sink.Begin(metadata, layout, header.rowCount, rowBytes);
    for (;;) {
        input.Take(sink.Read(input.Window()));
        if (sink.Done())
            return;
        // A row larger than a block makes the window grow to hold it.
        if (!input.Grow(input.Window().size() + kRowBlock))
            throw StoreError(kMismatch);
    }
}

} // namespace zentaro
