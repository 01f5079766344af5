#pragma once

#include "store/TableData.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <sys/stat.h>

namespace zentaro {

// Which file a table was loaded from or saved to, and at which change: a
// save renames a new file in (another inode), a rewrite in place changes the
// times.
struct FileStamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modified = 0;
    std::int64_t modifiedNs = 0;
    std::int64_t changed = 0;
    std::int64_t changedNs = 0;
    bool operator==(const FileStamp&) const = default;

    static FileStamp Of(const struct stat& info);
    static std::optional<FileStamp> Of(const std::filesystem::path& path); // nullopt when missing
};

// The fields the three views show, in view order: upload time, currency, rate.
inline constexpr std::array<std::string_view, 3> kRateViewFields = {"tgl", "cur", "nilai"};

// Compares two upload times: < 0, 0 or > 0, like strcmp.
using Collation = std::function<int(std::string_view, std::string_view)>;

// The user's locale collation (LC_COLLATE from the environment), case-sensitive.
// Two ISO dates (YYYY-MM-DD) compare as their bytes, which is their order
// under any locale, without the cost of the locale's comparison.
Collation LocaleCollation();
// Plain byte order; for tests and scripts that need a fixed order.
Collation ByteCollation();

class RateTable;

// Consecutive visible rows that show one upload time: positions [first, end)
// in table order (see RateTable::VisibleRow).
struct UploadTimeRun {
    std::string tgl;
    std::size_t first = 0;
    std::size_t end = 0;
};

// A stored cell as the text views show it: the text, the rate as general
// number text, or the empty text for null.
std::string CellDisplayText(const ColumnValues& values, std::size_t row, char decimalSeparator);
// The same for a cell given by its parts: its flags, its column's kind, and
// its text (as the column holds it) or its number.
std::string CellDisplayText(std::uint8_t cellFlags, ColumnKind kind, std::string_view text, double number,
                            char decimalSeparator);

// How a post stores a text into a floating-point field: the empty text is
// null; a text that is not a number fails with "'<text>' is not a valid
// floating point value for field '<field>'", one too large for a double with
// "Floating point overflow".
std::optional<double> FloatFieldValue(std::string_view text, char decimalSeparator, std::string_view field);
// That failure's text.
std::string NotAFloatText(std::string_view text, std::string_view field);

// A hidden text field bound to one column of the table's current row.
// Reading gives the display text; writing stages a text that only Post stores.
class TextView {
public:
    // Valid until the next operation on the table or the view.
    std::string_view Text() const;
    void SetText(std::string_view text);

private:
    friend class RateTable;
    TextView(RateTable& table, std::size_t index) : table_(table), index_(index) {}

    RateTable& table_;
    std::size_t index_; // which of the three fields
    std::optional<std::string> staged_;
    // What the view shows for the current row; every change of the rows or
    // the cursor refreshes the views, so it never outlives the bytes it shows.
    mutable std::string_view shown_;
    mutable std::string display_; // a number's text, which shown_ then points into
    mutable std::size_t displayRow_ = SIZE_MAX;
};

// The in-memory rate table: rows of tgl (upload time), cur (currency code) and
// nilai (rate), one current row, and the stored rows with their change log as
// the data file keeps them. Its own errors carry the prefix "ClientDataSet1: ".
class RateTable {
public:
    explicit RateTable(char decimalSeparator = '.', Collation collation = LocaleCollation());
    RateTable(const RateTable&) = delete;
    RateTable& operator=(const RateTable&) = delete;

    bool Active() const { return active_; }
    bool Inserting() const { return inserting_; }
    std::size_t RecordCount() const { return everyRowInOrder_ ? data_.RowCount() : order_.size(); }
    // True when no row follows the current one, and on an empty table.
    bool AtLastRow() const;

    // Cursor and row operations. All fail on a closed table.
    void First();
    void Next();
    void Insert();
    void Post();
    void Cancel(); // drops a row being inserted
    void Delete();
    void EmptyTable();
    // The rows are always in the standing order ascending by upload time
    // (stable, by the table's collation), from every load and post on; this
    // applies it again and keeps the current row.
    void OrderByUploadTime();

    // Writes the table as one data packet with ReplaceFileContent, so a failed
    // save leaves the old file as it was. Closed: does nothing.
    void SaveToFile(const std::filesystem::path& path);
    // Replaces the table with the file's packet. A 0-byte file keeps the content.
    // A missing file fails but leaves the table open and empty; any other
    // failure (a folder, a FIFO, a device: not a regular file) leaves it closed.
    void LoadFromFile(const std::filesystem::path& path);
    // True while the table holds exactly what its last load or save of path
    // left there and the file has not changed since.
    bool HoldsFileContent(const std::filesystem::path& path) const;

    TextView& DBEdit1() { return views_[0]; } // tgl
    TextView& DBEdit2() { return views_[1]; } // cur
    TextView& DBEdit3() { return views_[2]; } // nilai
    const TextView& DBEdit1() const { return views_[0]; }
    const TextView& DBEdit2() const { return views_[1]; }
    const TextView& DBEdit3() const { return views_[2]; }

    // The stored rows, statuses and change log, as a save would write them.
    const TableData& Data() const { return data_; }
    // Stored row index (from 0) of the current row, if any.
    std::optional<std::size_t> CurrentStoredRow() const;

    // For scans that read rows without moving the cursor: the stored row at
    // a position (from 0 to RecordCount()) in table order, and the text a
    // view (0 tgl, 1 cur, 2 nilai) shows for one of them. The text may live
    // in scratch; valid until the next change.
    std::uint32_t VisibleRow(std::size_t position) const
    {
        return everyRowInOrder_ ? static_cast<std::uint32_t>(position) : order_[position];
    }
    std::string_view ShownText(std::size_t view, std::uint32_t storedRow, std::string& scratch) const;
    // Leaves the table as a walk of the cursor to the last row does: not
    // inserting, on the last row.
    void MoveToLastRow();
    // Leaves the table as a scan that stopped at this position in table order does.
    void MoveToRow(std::size_t position);
    // The visible rows as runs of one upload time, in table order. Built at
    // the first call after any change of the rows, so it is never stale.
    const std::vector<UploadTimeRun>& UploadTimeRuns() const;

    char DecimalSeparator() const { return separator_; }
    void SetDecimalSeparator(char separator)
    {
        separator_ = separator;
        RowsChanged();
    }

private:
    friend class TextView;

    void CheckActive() const;
    void RowsChanged() { runsValid_ = false; }
    void RefreshViews();
    void BuildOrder();
    void ListEveryRow(std::size_t count);
    std::optional<std::size_t> ColumnIndex(std::string_view name) const;
    void BindViews();
    // One new row's cells, every value converted.
    struct Cell {
        bool null = true;
        std::string text;
        double number = 0;
    };
    std::vector<Cell> StagedCells(const std::array<std::optional<std::string>, 3>& staged) const;
    std::size_t InsertPosition(std::uint32_t stored, std::size_t visible) const;
    void AppendRow(const std::array<std::optional<std::string>, 3>& staged);
    // Puts order_'s runs of one upload time in the collation's stable order.
    void SortRuns(const ColumnValues& texts, const std::function<std::size_t(std::size_t)>& runEnd);

    TableData data_;
    std::vector<std::uint32_t> order_; // visible stored rows in table order
    // Set when every stored row is visible and in order, as a loaded file's
    // rows mostly are: order_ is then empty, and position n is stored row n.
    bool everyRowInOrder_ = false;
    std::size_t cursor_ = 0; // position in table order
    bool active_ = true;
    bool inserting_ = false;
    char separator_;
    Collation collation_;
    std::array<TextView, 3> views_;
    std::array<std::optional<std::size_t>, 3> viewColumns_; // column of each view's field
    std::optional<FileStamp> stamp_; // set by a load or save, cleared by any change
    mutable std::vector<UploadTimeRun> runs_;
    mutable bool runsValid_ = false;
};

} // namespace zentaro
