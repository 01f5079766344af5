// The binary data packet. All integers are little-endian and nothing is padded:
//   header (24 bytes): magic, two version words, header size, column count,
//     row count, flags (bit 0 metadata present, bit 1 first-row offset valid),
//     first-row offset;
//   per column: name, type word, attributes, parameter count, its parameters;
//   dataset parameter count and parameters ("CHANGE_LOG", kept ones);
//   rows: status byte, null indicator bytes (two bits per column), values.
#include "store/DataPacket.h"
#include "store/StoreError.h"

#include <algorithm>
#include <cstring>
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

std::byte* PutLittle(std::byte* p, std::uint64_t v, int size)
{
    for (int i = 0; i < size; ++i)
        *p++ = std::byte(v >> (8 * i));
    return p;
}

class Writer {
public:
    explicit Writer(std::size_t expected) { bytes_.reserve(std::max(expected, kInitialBuffer)); }

    std::size_t Size() const { return bytes_.size(); }
    void U8(std::uint8_t v) { bytes_.push_back(std::byte{v}); }
    void U16(std::uint16_t v) { Little(v, 2); }
    void U32(std::uint32_t v) { Little(v, 4); }
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
    void PatchU16(std::size_t at, std::uint16_t v) { Patch(at, v, 2); }
    void PatchU32(std::size_t at, std::uint32_t v) { Patch(at, v, 4); }
    std::vector<std::byte> Take() { return std::move(bytes_); }

private:
    void Little(std::uint32_t v, int size)
    {
        for (int i = 0; i < size; ++i)
            bytes_.push_back(std::byte(v >> (8 * i)));
    }
    void Patch(std::size_t at, std::uint32_t v, int size)
    {
        for (int i = 0; i < size; ++i)
            bytes_[at + static_cast<std::size_t>(i)] = std::byte(v >> (8 * i));
    }
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
        if (count > Remaining())
            throw StoreError(kMismatch);
        const auto piece = bytes_.subspan(position_, count);
        position_ += count;
        return piece;
    }
    std::uint32_t Unsigned(std::size_t size)
    {
        const auto piece = Take(size);
        std::uint32_t v = 0;
        for (std::size_t i = 0; i < size && i < 4; ++i)
            v |= std::to_integer<std::uint32_t>(piece[i]) << (8 * i);
        return v;
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

private:
    std::span<const std::byte> bytes_;
    std::size_t position_ = 0;
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
        if (count * size > in.Remaining())
            throw StoreError(kMismatch);
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
    for (auto& entry : log) {
        entry.row = in.U32();
        entry.previous = in.U32();
        entry.kind = in.U32() & 0xFF;
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

std::vector<std::byte> BuildPacket(const TableData& table)
{
    const bool allRows = !table.changeLog.empty();
    std::size_t expected = 256 + table.changeLog.size() * 12;
    for (const auto& values : table.values)
        expected += values.TextBytes() + values.Size() * 8;
    expected += table.RowCount() * 2;

    Writer out(expected);
    out.U32(kPacketMagic);
    out.U16(kVersionMajor);
    out.U16(0);
    out.U32(kHeaderSize);
    out.U16(static_cast<std::uint16_t>(table.columns.size()));
    out.U32(0);
    out.U32(kFlagMetadata);
    out.U16(0);

    for (const auto& column : table.columns) {
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

    const std::size_t datasetCountAt = out.Size();
    std::uint16_t datasetCount = 0;
    out.U16(0);
    if (!table.changeLog.empty()) {
        out.Name(kChangeLog);
        out.U32(kChangeLogType);
        out.U32(static_cast<std::uint32_t>(table.changeLog.size() * 3));
        std::byte* p = out.Grow(table.changeLog.size() * 12);
        for (const auto& entry : table.changeLog)
            for (std::uint32_t v : {entry.row, entry.previous, entry.kind})
                p = PutLittle(p, v, 4);
        ++datasetCount;
    }
    for (const auto& parameter : table.datasetParameters) {
        WriteKept(out, parameter);
        ++datasetCount;
    }
    out.PatchU16(datasetCountAt, datasetCount);

    std::uint32_t flags = kFlagMetadata;
    const auto markFirstRow = [&] {
        if (out.Size() <= kMaxFirstRowOffset) {
            out.PatchU16(kFirstRowOffset, static_cast<std::uint16_t>(out.Size()));
            flags |= kFlagFirstRowValid;
        }
    };

    const std::size_t indicatorBytes = (table.columns.size() + 3) / 4;
    std::vector<std::size_t> prefixes;
    for (const auto& column : table.columns)
        prefixes.push_back(column.kind == ColumnKind::Text ? SizeHalf(TextColumnType(column.width)) : 0);
    const auto chosen = [&](std::size_t row) { return allRows || (table.status[row] & kRowUnused) == 0; };

    // Size the rows first so that they are written into one piece of memory.
    std::size_t rowBytes = 0;
    std::uint32_t rowsWritten = 0;
    for (std::size_t row = 0; row < table.RowCount(); ++row) {
        if (!chosen(row))
            continue;
        ++rowsWritten;
        rowBytes += 1 + indicatorBytes;
        for (std::size_t column = 0; column < table.columns.size(); ++column) {
            const auto& values = table.values[column];
            if (values.Flags(row) != 0)
                continue;
            if (values.Kind() == ColumnKind::Float)
                rowBytes += 8;
            else
                rowBytes += prefixes[column] + std::max<std::size_t>(values.Text(row).size(), 1);
        }
    }
    if (rowsWritten > 0)
        markFirstRow();

    std::byte* p = out.Grow(rowBytes);
    for (std::size_t row = 0; row < table.RowCount(); ++row) {
        if (!chosen(row))
            continue;
        *p++ = std::byte{table.status[row]};
        std::byte* indicators = p;
        std::fill(indicators, indicators + indicatorBytes, std::byte{0});
        p += indicatorBytes;
        for (std::size_t column = 0; column < table.columns.size(); ++column) {
            const auto& values = table.values[column];
            const std::uint8_t cell = values.Flags(row) & (kCellNull | kCellUnchanged);
            if (cell != 0) {
                indicators[column / 4] |= std::byte(cell << (2 * (column % 4)));
                continue;
            }
            if (values.Kind() == ColumnKind::Float) {
                const double value = values.Float(row);
                std::uint64_t bits;
                std::memcpy(&bits, &value, sizeof bits);
                p = PutLittle(p, bits, 8);
                continue;
            }
            std::string_view text = values.Text(row);
            // An empty text still needs one byte so that it differs from null.
            static constexpr char kZero = '\0';
            if (text.empty())
                text = std::string_view(&kZero, 1);
            p = PutLittle(p, text.size(), static_cast<int>(prefixes[column]));
            std::memcpy(p, text.data(), text.size());
            p += text.size();
        }
    }
    if (rowsWritten == 0)
        markFirstRow();
    out.PatchU32(kRowCountOffset, rowsWritten);
    out.PatchU32(kFlagsOffset, flags);
    return out.Take();
}

TableData ParsePacket(std::span<const std::byte> bytes)
{
    Reader in(bytes);
    if (bytes.size() < 4)
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
    const std::uint16_t columnCount = in.U16();
    const std::uint32_t rowCount = in.U32();
    const std::uint32_t flags = in.U32();
    in.U16(); // first-row offset: the metadata is walked instead
    if ((flags & kFlagMetadata) == 0)
        throw StoreError("Datapacket contains no meta data.");
    if (headerSize < kHeaderSize)
        throw StoreError(kMismatch);
    in.Seek(headerSize);
    if (columnCount == 0)
        throw StoreError(kMismatch);

    TableData table;
    std::vector<std::size_t> prefixes(columnCount, 0);
    for (std::size_t c = 0; c < columnCount; ++c) {
        ColumnDef column;
        const std::string_view name = in.Name();
        if (name.empty())
            throw StoreError("Field name can't be null, datapacket may be corrupted");
        column.name = std::string(name.substr(0, kMaxColumnName));
        const std::uint32_t typeWord = in.U32();
        column.kind = ColumnKindOf(typeWord, prefixes[c]);
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
        table.columns.push_back(std::move(column));
    }

    const std::uint16_t datasetCount = in.U16();
    for (std::uint16_t p = 0; p < datasetCount; ++p) {
        const std::string_view parameterName = in.Name();
        const std::uint32_t parameterType = in.U32();
        const auto value = ReadValue(in, parameterType);
        if (SameName(parameterName, kChangeLog))
            table.changeLog = ReadChangeLog(value, parameterType);
        else
            table.datasetParameters.push_back({std::string(parameterName), parameterType, {value.begin(), value.end()}});
    }

    const std::size_t indicatorBytes = (columnCount + 3) / 4;
    // Every row needs at least its status and indicator bytes: a count that
    // the rest of the packet cannot hold is refused before anything is
    // reserved for it.
    if (std::uint64_t{rowCount} * (1 + indicatorBytes) > in.Remaining())
        throw StoreError(kMismatch);
    // A text column's texts share the bytes left after the rows' fixed part.
    const std::size_t textRoom = in.Remaining() - std::size_t{rowCount} * (1 + indicatorBytes);
    for (const auto& column : table.columns) {
        table.values.emplace_back(column.kind);
        table.values.back().Reserve(rowCount, column.kind == ColumnKind::Text ? textRoom : 0);
    }
    table.status.reserve(rowCount);

    for (std::uint32_t row = 0; row < rowCount; ++row) {
        table.status.push_back(in.U8());
        const auto indicators = in.Take(indicatorBytes);
        for (std::size_t c = 0; c < columnCount; ++c) {
            auto& values = table.values[c];
            const auto cell = static_cast<std::uint8_t>(
                (std::to_integer<unsigned>(indicators[c / 4]) >> (2 * (c % 4))) & 0x3);
            if (cell != 0) {
                values.AppendEmpty(cell);
                continue;
            }
            if (table.columns[c].kind == ColumnKind::Float) {
                const std::uint64_t low = in.U32();
                const std::uint64_t high = in.U32();
                const std::uint64_t bits = low | (high << 32);
                double value;
                std::memcpy(&value, &bits, sizeof value);
                values.AppendFloat(value);
                continue;
            }
            std::string_view text = in.Text(in.Unsigned(prefixes[c]));
            // Texts are zero-terminated in the table: "01 00" is the empty text.
            text = text.substr(0, std::min(text.find('\0'), std::size_t{table.columns[c].width}));
            values.AppendText(text);
        }
    }
    return table;
}

} // namespace zentaro
