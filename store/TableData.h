#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <cstring>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <utility>
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

// The change log, entry by entry in the order of the changes. Rows that are
// added one after another log inserts of consecutive row numbers, so the log
// keeps runs: an entry and how many follow it, each with the next row number
// and the same previous row and kind. A table that was only ever added to
// keeps one run however long it is.
class ChangeLog {
    struct Run {
        ChangeLogEntry first;
        std::uint32_t count = 0; // entries in the run, first included
    };

public:
    class Iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = ChangeLogEntry;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = ChangeLogEntry;

        Iterator() = default;
        ChangeLogEntry operator*() const
        {
            const Run& run = (*runs_)[run_];
            return {run.first.row + step_, run.first.previous, run.first.kind};
        }
        Iterator& operator++()
        {
            if (++step_ == (*runs_)[run_].count) {
                ++run_;
                step_ = 0;
            }
            return *this;
        }
        Iterator operator++(int)
        {
            Iterator before = *this;
            ++*this;
            return before;
        }
        Iterator operator+(std::size_t count) const
        {
            Iterator moved = *this;
            while (count-- > 0)
                ++moved;
            return moved;
        }
        bool operator==(const Iterator& other) const { return run_ == other.run_ && step_ == other.step_; }

    private:
        friend class ChangeLog;
        Iterator(const std::vector<ChangeLog::Run>* runs, std::size_t run) : runs_(runs), run_(run) {}
        const std::vector<ChangeLog::Run>* runs_ = nullptr;
        std::size_t run_ = 0;
        std::uint32_t step_ = 0;
    };

    ChangeLog() = default;
    ChangeLog(std::initializer_list<ChangeLogEntry> entries)
    {
        for (const auto& entry : entries)
            push_back(entry);
    }

    void push_back(const ChangeLogEntry& entry)
    {
        ++size_;
        if (!runs_.empty()) {
            Run& last = runs_.back();
            if (last.first.previous == entry.previous && last.first.kind == entry.kind &&
                entry.row > last.first.row && entry.row - last.first.row == last.count) {
                ++last.count;
                return;
            }
        }
        runs_.push_back({entry, 1});
    }
    void assign(std::size_t count, const ChangeLogEntry& entry)
    {
        clear();
        for (std::size_t i = 0; i < count; ++i)
            push_back(entry);
    }
    void clear()
    {
        runs_.clear();
        size_ = 0;
    }
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    Iterator begin() const { return Iterator(&runs_, 0); }
    Iterator end() const { return Iterator(&runs_, runs_.size()); }

    // Equal when they hold the same entries, however they were added.
    bool operator==(const ChangeLog& other) const
    {
        return size_ == other.size_ && std::equal(begin(), end(), other.begin());
    }
    bool operator==(const std::vector<ChangeLogEntry>& entries) const
    {
        return size_ == entries.size() && std::equal(begin(), end(), entries.begin());
    }

private:
    std::vector<Run> runs_;
    std::size_t size_ = 0;
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

// An allocator that leaves new elements of a plain type uninitialised: a
// vector sized up front for a bulk load is written once, not zero-filled first.
template <typename T>
struct UninitialisedAllocator : std::allocator<T> {
    using std::allocator<T>::allocator;
    template <typename U>
    struct rebind {
        using other = UninitialisedAllocator<U>;
    };
    template <typename U>
    void construct(U* p) noexcept
    {
        ::new (static_cast<void*>(p)) U;
    }
    template <typename U, typename... Args>
    void construct(U* p, Args&&... args)
    {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
};
template <typename T>
using LoadVector = std::vector<T, UninitialisedAllocator<T>>;

// Byte equality of two short texts of n bytes: a word at a time, the last
// piece as two pieces that may overlap, since a call to memcmp costs more
// than the compare itself.
inline bool SameTextBytes(const char* a, const char* b, std::size_t n)
{
    const auto same = [](const char* x, const char* y, auto piece) {
        std::memcpy(&piece, x, sizeof piece);
        auto other = piece;
        std::memcpy(&other, y, sizeof other);
        return piece == other;
    };
    if (n >= 8) {
        for (std::size_t i = 0; i + 8 <= n; i += 8)
            if (!same(a + i, b + i, std::uint64_t{}))
                return false;
        return same(a + n - 8, b + n - 8, std::uint64_t{});
    }
    if (n >= 4)
        return same(a, b, std::uint32_t{}) && same(a + n - 4, b + n - 4, std::uint32_t{});
    if (n >= 2)
        return same(a, b, std::uint16_t{}) && same(a + n - 2, b + n - 2, std::uint16_t{});
    return n == 0 || *a == *b;
}

// A text as a text column holds it: cut at the first zero byte (texts are
// zero-terminated in the table: "01 00" is the empty text) and at the
// column's width.
inline std::string_view StoredTextOf(std::string_view text, std::size_t width)
{
    // Byte by byte: texts are short, and a library call costs more than they do.
    const std::size_t cut = std::min(text.size(), width);
    std::size_t length = 0;
    while (length < cut && text[length] != '\0')
        ++length;
    return text.substr(0, length);
}

// The values of one column for every stored row. Texts share one arena so a
// million rows cost a few allocations, not millions. The cells' flags are
// kept only once a cell is null or unchanged: most columns have none, and
// their rows then cost no flag byte.
class ColumnValues {
public:
    // The arrays behind a column, for a loader that fills many rows at once.
    // A text column uses arena, offset and length; a float column number.
    // flags is either empty (no cell is null or unchanged) or one per row.
    // Every row's text lies inside the arena.
    struct Arrays {
        LoadVector<std::uint8_t> flags;
        LoadVector<char> arena;
        LoadVector<std::uint32_t> offset;
        LoadVector<std::uint16_t> length;
        LoadVector<double> number;
    };

    explicit ColumnValues(ColumnKind kind = ColumnKind::Text) : kind_(kind) {}
    // Takes over arrays that a loader filled; fails with StoreError when
    // they do not fit together.
    ColumnValues(ColumnKind kind, Arrays arrays);

    ColumnKind Kind() const { return kind_; }
    void AppendText(std::string_view text);
    void AppendFloat(double value);
    void AppendEmpty(std::uint8_t cellFlags); // a null or unchanged cell

    std::size_t Size() const { return kind_ == ColumnKind::Text ? offset_.size() : number_.size(); }
    std::uint8_t Flags(std::size_t row) const { return flags_.empty() ? 0 : flags_[row]; }
    bool IsNull(std::size_t row) const { return (Flags(row) & kCellNull) != 0; }
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
    // The end of the stored rows from first on, before end, that share
    // first's text: one pass over the arrays for a run of rows in stored order.
    std::size_t SharedTextEnd(std::size_t first, std::size_t end) const
    {
        const std::uint32_t offset = offset_[first];
        const std::uint16_t length = length_[first];
        std::size_t row = first + 1;
        while (row < end && offset_[row] == offset && length_[row] == length)
            ++row;
        return row;
    }
    // False when every cell holds a value, so that Flags is 0 for every row.
    bool HasFlags() const { return !flags_.empty(); }
    std::size_t TextBytes() const { return arena_.size(); }

private:
    // A row appended with flags: the rows before it get theirs (all 0) first.
    void AppendFlags(std::uint8_t cellFlags);

    ColumnKind kind_;
    LoadVector<std::uint8_t> flags_; // empty while every cell holds a value
    // Text columns use the arena, float columns number_; the other side stays empty.
    LoadVector<char> arena_;
    LoadVector<std::uint32_t> offset_;
    LoadVector<std::uint16_t> length_;
    LoadVector<double> number_;
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
    ChangeLog changeLog;
    std::vector<KeptParameter> datasetParameters;

    std::size_t RowCount() const { return status.size(); }
    std::optional<std::size_t> ColumnIndex(std::string_view name) const;
    static bool Visible(std::uint8_t rowStatus) { return (rowStatus & kRowHidden) == 0; }

    // The rate table's three empty columns: tgl and cur (text, width 100), nilai (float).
    static TableData RateTableDefinition();
};

} // namespace zentaro
