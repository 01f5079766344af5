#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zentaro {

// A parameter the packet carried under a name the format gives no meaning to;
// kept byte for byte and written back after the generated parameters.
struct KeptParameter {
    std::string name;
    std::uint32_t typeWord = 0;
    std::vector<std::byte> value; // exactly the value bytes as they stood in the packet
    bool operator==(const KeptParameter&) const = default;
};

enum class ColumnKind : std::uint8_t { Text, Float };

struct ColumnDef {
    std::string name;
    ColumnKind kind = ColumnKind::Text;
    std::uint16_t width = 0; // maximum text length, text columns only
    std::uint16_t attributes = 0;
    std::vector<KeptParameter> kept;
    bool operator==(const ColumnDef&) const = default;
};

struct ChangeLogEntry {
    std::uint32_t row = 0;      // stored row number, from 1
    std::uint32_t previous = 0; // previous version's row number, 0 when none
    std::uint32_t kind = 0;     // kChangeInsert, kChangeDelete or kChangeModify
    bool operator==(const ChangeLogEntry&) const = default;
};

inline constexpr std::uint32_t kChangeModify = 8;
inline constexpr std::uint32_t kChangeInsert = 4;
inline constexpr std::uint32_t kChangeDelete = 2;

inline constexpr std::uint8_t kRowSuperseded = 0x01;
inline constexpr std::uint8_t kRowDeleted = 0x02;
inline constexpr std::uint8_t kRowInserted = 0x04;
inline constexpr std::uint8_t kRowNewVersion = 0x08;
inline constexpr std::uint8_t kRowUnused = 0x20;
inline constexpr std::uint8_t kRowHidden = kRowSuperseded | kRowDeleted | kRowUnused;

// Indicator bits of one cell, as a row's null indicator byte holds them.
inline constexpr std::uint8_t kCellNull = 0x01;
inline constexpr std::uint8_t kCellUnchanged = 0x02;

// The values of one column for every stored row. Texts share one arena so a
// million rows cost a few allocations, not millions.
class ColumnValues {
public:
    explicit ColumnValues(ColumnKind kind = ColumnKind::Text) : kind_(kind) {}

    ColumnKind Kind() const { return kind_; }
    void Reserve(std::size_t rows, std::size_t textBytes);
    void AppendText(std::string_view text);
    void AppendFloat(double value);
    void AppendEmpty(std::uint8_t cellFlags); // a null or unchanged cell

    std::size_t Size() const { return flags_.size(); }
    std::uint8_t Flags(std::size_t row) const { return flags_[row]; }
    bool IsNull(std::size_t row) const { return (flags_[row] & kCellNull) != 0; }
    std::string_view Text(std::size_t row) const
    {
        return std::string_view(arena_.data() + offset_[row], length_[row]);
    }
    double Float(std::size_t row) const { return number_[row]; }
    // True when two rows' texts are known equal without comparing them:
    // a text equal to the row before shares that row's bytes.
    bool SharesText(std::size_t a, std::size_t b) const
    {
        return offset_[a] == offset_[b] && length_[a] == length_[b];
    }
    std::size_t TextBytes() const { return arena_.size(); }

private:
    ColumnKind kind_;
    std::vector<std::uint8_t> flags_;
    // Text columns use the arena, float columns number_; the other side stays empty.
    std::string arena_;
    std::vector<std::uint32_t> offset_;
    std::vector<std::uint16_t> length_;
    std::vector<double> number_;
};

// Column and parameter names are compared without regard to ASCII case.
inline bool SameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; };
        if (upper(a[i]) != upper(b[i]))
            return false;
    }
    return true;
}

// Everything a data packet holds: column definitions, every stored row with
// its status (deleted ones included), the change log and kept parameters.
struct TableData {
    std::vector<ColumnDef> columns;
    std::vector<ColumnValues> values; // one per column
    std::vector<std::uint8_t> status; // one per stored row
    std::vector<ChangeLogEntry> changeLog;
    std::vector<KeptParameter> datasetParameters;

    std::size_t RowCount() const { return status.size(); }
    std::optional<std::size_t> ColumnIndex(std::string_view name) const;
    static bool Visible(std::uint8_t rowStatus) { return (rowStatus & kRowHidden) == 0; }

    // The rate table's three empty columns: tgl and cur (text, width 100), nilai (float).
    static TableData RateTableDefinition();
};

} // namespace zentaro
