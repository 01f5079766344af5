#include "store/RateTable.h"
#include "store/DataFileInput.h"
#include "store/PacketReader.h"
#include "store/PacketWriter.h"
#include "store/FileReplacement.h"
#include "store/MessageText.h"
#include "store/NumberText.h"
#include "store/StoreError.h"

#include <algorithm>
#include <utility>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <memory>
#include <sys/stat.h>

namespace zentaro {
namespace {

constexpr std::string_view kTableName = "ClientDataSet1";

[[noreturn]] void TableError(std::string_view message)
{
    throw StoreError(std::string(kTableName) + ": " + std::string(message));
}

// A posted text is stored without its trailing blanks.
std::string StoredText(std::string_view text, std::size_t width)
{
    text = StoredTextOf(text, width);
    const auto last = text.find_last_not_of(' ');
    return std::string(last == std::string_view::npos ? std::string_view{} : text.substr(0, last + 1));
}

// YYYY-MM-DD: dates of this shape differ only in digits at the same places,
// and every locale sorts the digits 0 to 9.
bool IsIsoDate(std::string_view text)
{
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return false;
    for (const std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (text[i] < '0' || text[i] > '9')
            return false;
    return true;
}

} // namespace

Collation ByteCollation()
{
    return [](std::string_view a, std::string_view b) { return a.compare(b); };
}

Collation LocaleCollation()
{
    const char* name = std::getenv("LC_ALL");
    if (name == nullptr || *name == '\0')
        name = std::getenv("LC_COLLATE");
    if (name == nullptr || *name == '\0')
        name = std::getenv("LANG");
    const std::string_view localeName = name == nullptr ? "" : name;
    // The C locales collate by code point, which for UTF-8 is byte order.
    if (localeName.empty() || localeName == "C" || localeName == "POSIX" ||
        localeName.starts_with("C."))
        return ByteCollation();
    locale_t raw = newlocale(LC_COLLATE_MASK, "", static_cast<locale_t>(nullptr));
    if (raw == static_cast<locale_t>(nullptr))
        return ByteCollation();
    std::shared_ptr<std::remove_pointer_t<locale_t>> locale(raw, freelocale);
    return [locale](std::string_view a, std::string_view b) {
        if (a == b)
            return 0;
        if (IsIsoDate(a) && IsIsoDate(b))
            return a.compare(b);
        thread_local std::string left, right;
        left.assign(a);
        right.assign(b);
        return strcoll_l(left.c_str(), right.c_str(), locale.get());
    };
}

std::optional<double> FloatFieldValue(std::string_view text, char decimalSeparator, std::string_view field)
{
    if (text.empty())
        return std::nullopt;
    const auto value = ParseNumberText(text, decimalSeparator);
    if (!value)
        throw StoreError(NotAFloatText(text, field));
    return StoreAsDouble(*value);
}

std::string NotAFloatText(std::string_view text, std::string_view field)
{
    return SingleQuoted(text) + " is not a valid floating point value for field '" + std::string(field) + "'";
}

std::string CellDisplayText(std::uint8_t cellFlags, ColumnKind kind, std::string_view text, double number,
                            char decimalSeparator)
{
    if (cellFlags != 0)
        return {};
    if (kind == ColumnKind::Text)
        return std::string(text);
    return GeneralNumberText(number, decimalSeparator);
}

std::string CellDisplayText(const ColumnValues& values, std::size_t row, char decimalSeparator)
{
    const bool text = values.Kind() == ColumnKind::Text;
    return CellDisplayText(values.Flags(row), values.Kind(), text ? values.Text(row) : std::string_view(),
                           text ? 0.0 : values.Float(row), decimalSeparator);
}

std::string_view TextView::Text() const
{
    if (staged_)
        return *staged_;
    const auto stored = table_.CurrentStoredRow();
    if (!stored)
        return {};
    // A number's text is built once per row, not at every read.
    if (displayRow_ != *stored) {
        shown_ = table_.ShownText(index_, static_cast<std::uint32_t>(*stored), display_);
        displayRow_ = *stored;
    }
    return shown_;
}

void TextView::SetText(std::string_view text) { staged_ = std::string(text); }

std::string_view RateTable::ShownText(std::size_t view, std::uint32_t storedRow, std::string& scratch) const
{
    const auto column = viewColumns_[view];
    if (!column)
        return {};
    const auto& values = data_.values[*column];
    if (values.Flags(storedRow) != 0)
        return {};
    if (values.Kind() == ColumnKind::Text)
        return values.Text(storedRow);
    scratch = CellDisplayText(values, storedRow, separator_);
    return scratch;
}

const std::vector<UploadTimeRun>& RateTable::UploadTimeRuns() const
{
    if (runsValid_)
        return runs_;
    runs_.clear();
    std::string scratch;
    const auto tgl = viewColumns_[0];
    const ColumnValues* texts =
        tgl && data_.values[*tgl].Kind() == ColumnKind::Text ? &data_.values[*tgl] : nullptr;
    const std::size_t count = RecordCount();
    // Most rows share their upload time's bytes with the row before, and
    // sharing is an equality, so a run's rows are checked against its first.
    // A null upload time shows the empty text, so with nulls a run also
    // stops where the flags change.
    const auto runEnd = [&](std::size_t i) {
        const std::uint32_t first = VisibleRow(i);
        if (!texts || texts->Flags(first) != 0)
            return i + 1;
        if (everyRowInOrder_ && !texts->HasFlags())
            return texts->SharedTextEnd(i, count);
        std::size_t end = i + 1;
        while (end < count && texts->Flags(VisibleRow(end)) == 0 && texts->SharesText(VisibleRow(end), first))
            ++end;
        return end;
    };
    for (std::size_t i = 0; i < count;) {
        const std::size_t end = runEnd(i);
        const std::string_view text = ShownText(0, VisibleRow(i), scratch);
        if (runs_.empty() || text != runs_.back().tgl)
            runs_.push_back({std::string(text), i, end});
        else
            runs_.back().end = end;
        i = end;
    }
    runsValid_ = true;
    return runs_;
}

void RateTable::MoveToLastRow()
{
    CheckActive();
    inserting_ = false;
    cursor_ = RecordCount() == 0 ? 0 : RecordCount() - 1;
    RefreshViews();
}

void RateTable::MoveToRow(std::size_t position)
{
    CheckActive();
    inserting_ = false;
    cursor_ = std::min(position, RecordCount() == 0 ? 0 : RecordCount() - 1);
    RefreshViews();
}

RateTable::RateTable(char decimalSeparator, Collation collation)
    : data_(TableData::RateTableDefinition()),
      separator_(decimalSeparator),
      collation_(std::move(collation)),
      views_{TextView(*this, 0), TextView(*this, 1), TextView(*this, 2)}
{
    BindViews();
}

void RateTable::BindViews()
{
    for (std::size_t v = 0; v < views_.size(); ++v)
        viewColumns_[v] = ColumnIndex(kRateViewFields[v]);
}

void RateTable::CheckActive() const
{
    if (!active_)
        TableError("Cannot perform this operation on a closed dataset");
}

std::optional<std::size_t> RateTable::ColumnIndex(std::string_view name) const
{
    return data_.ColumnIndex(name);
}

std::optional<std::size_t> RateTable::CurrentStoredRow() const
{
    if (!active_ || inserting_ || RecordCount() == 0)
        return std::nullopt;
    return VisibleRow(cursor_);
}

bool RateTable::AtLastRow() const { return cursor_ + 1 >= RecordCount(); }

void RateTable::RefreshViews()
{
    for (auto& view : views_) {
        view.staged_.reset();
        view.displayRow_ = SIZE_MAX;
    }
}

void RateTable::BuildOrder()
{
    RowsChanged();
    order_.clear();
    everyRowInOrder_ = false;
    const std::size_t stored = data_.RowCount();
    const std::uint8_t* const status = data_.status.data();
    const auto tgl = viewColumns_[0];
    const ColumnValues* texts =
        tgl && data_.columns[*tgl].kind == ColumnKind::Text ? &data_.values[*tgl] : nullptr;
    // Rows come in runs that share one upload time's bytes, so runs are put
    // in order rather than rows: the stable order of the runs by their text
    // is the stable order of the rows. Most files are in order already, which
    // one comparison per run shows.
    const auto inOrder = [&](std::size_t count, auto rowAt, auto runEnd) {
        for (std::size_t first = 0; first < count;) {
            const std::size_t next = runEnd(first);
            if (next < count && collation_(texts->Text(rowAt(next)), texts->Text(rowAt(first))) < 0)
                return false;
            first = next;
        }
        return true;
    };
    std::uint8_t anyHidden = 0;
    for (std::size_t row = 0; row < stored; ++row)
        anyHidden |= status[row] & kRowHidden;
    if (anyHidden == 0 &&
        (!texts || inOrder(
                       stored, [](std::size_t position) { return static_cast<std::uint32_t>(position); },
                       [&](std::size_t first) { return texts->SharedTextEnd(first, stored); }))) {
        everyRowInOrder_ = true;
        order_.shrink_to_fit();
        return;
    }

    order_.resize(stored);
    std::uint32_t* const into = order_.data();
    std::size_t visible = 0;
    for (std::size_t row = 0; row < stored; ++row) {
        into[visible] = static_cast<std::uint32_t>(row);
        visible += TableData::Visible(status[row]) ? 1 : 0;
    }
    order_.resize(visible);
    const auto sharedEnd = [&](std::size_t first) {
        std::size_t end = first + 1;
        while (end < visible && texts->SharesText(into[end], into[first]))
            ++end;
        return end;
    };
    if (!texts || inOrder(visible, [into](std::size_t position) { return into[position]; }, sharedEnd))
        return;
    SortRuns(*texts, sharedEnd);
}

void RateTable::SortRuns(const ColumnValues& texts, const std::function<std::size_t(std::size_t)>& runEnd)
{
    const std::size_t visible = order_.size();
    const std::uint32_t* const from = order_.data();
    const auto textOf = [&](std::size_t position) { return texts.Text(from[position]); };
    struct Run {
        std::size_t first; // positions in order_
        std::size_t end;
    };
    std::vector<Run> runs;
    for (std::size_t i = 0; i < visible;) {
        const std::size_t end = runEnd(i);
        runs.push_back({i, end});
        i = end;
    }
    std::stable_sort(runs.begin(), runs.end(),
                     [&](const Run& a, const Run& b) { return collation_(textOf(a.first), textOf(b.first)) < 0; });
    std::vector<std::uint32_t> ordered;
    ordered.reserve(visible);
    for (const Run& run : runs)
        ordered.insert(ordered.end(), from + run.first, from + run.end);
    order_ = std::move(ordered);
}

// Lists the first count stored rows in order_, for a change after which
// they no longer stand in stored order.
void RateTable::ListEveryRow(std::size_t count)
{
    if (!everyRowInOrder_)
        return;
    order_.resize(count);
    for (std::size_t row = 0; row < count; ++row)
        order_[row] = static_cast<std::uint32_t>(row);
    everyRowInOrder_ = false;
}

void RateTable::First()
{
    CheckActive();
    inserting_ = false;
    cursor_ = 0;
    RefreshViews();
}

void RateTable::Next()
{
    CheckActive();
    if (inserting_) {
        inserting_ = false;
        RefreshViews();
        return;
    }
    if (cursor_ + 1 < RecordCount()) {
        ++cursor_;
        RefreshViews();
    }
}

void RateTable::Insert()
{
    CheckActive();
    if (inserting_)
        Post();
    inserting_ = true;
    RefreshViews();
}

void RateTable::Post()
{
    CheckActive();
    if (!inserting_)
        TableError("Dataset not in edit or insert mode");
    std::array<std::optional<std::string>, 3> staged;
    for (std::size_t i = 0; i < views_.size(); ++i)
        staged[i] = views_[i].staged_;
    AppendRow(staged);
}

std::vector<RateTable::Cell> RateTable::StagedCells(const std::array<std::optional<std::string>, 3>& staged) const
{
    std::vector<Cell> cells(data_.columns.size());
    for (std::size_t v = 0; v < views_.size(); ++v) {
        const auto column = viewColumns_[v];
        if (!column || !staged[v])
            continue;
        auto& cell = cells[*column];
        const auto& def = data_.columns[*column];
        if (def.kind == ColumnKind::Text) {
            cell.null = false;
            cell.text = StoredText(*staged[v], def.width);
            continue;
        }
        if (const auto value = FloatFieldValue(*staged[v], separator_, def.name)) {
            cell.null = false;
            cell.number = *value;
        }
    }
    return cells;
}

// Where a new stored row goes among the visible ones: after every row of
// its upload time or before.
std::size_t RateTable::InsertPosition(std::uint32_t stored, std::size_t visible) const
{
    std::size_t position = visible;
    const auto tgl = viewColumns_[0];
    if (!tgl || data_.columns[*tgl].kind != ColumnKind::Text)
        return position;
    const auto& values = data_.values[*tgl];
    std::size_t low = 0;
    while (low < position) {
        const std::size_t middle = low + (position - low) / 2;
        if (collation_(values.Text(stored), values.Text(VisibleRow(middle))) < 0)
            position = middle;
        else
            low = middle + 1;
    }
    return position;
}

void RateTable::AppendRow(const std::array<std::optional<std::string>, 3>& staged)
{
    // Convert every value first, so that a bad number leaves the table untouched.
    const std::vector<Cell> cells = StagedCells(staged);
    const std::size_t visibleBefore = RecordCount();
    for (std::size_t c = 0; c < cells.size(); ++c) {
        auto& values = data_.values[c];
        if (cells[c].null)
            values.AppendEmpty(kCellNull);
        else if (values.Kind() == ColumnKind::Text)
            values.AppendText(cells[c].text);
        else
            values.AppendFloat(cells[c].number);
    }
    const auto stored = static_cast<std::uint32_t>(data_.RowCount());
    data_.status.push_back(kRowInserted);
    stamp_.reset();
    data_.changeLog.push_back({stored + 1, 0, kChangeInsert});

    const std::size_t position = InsertPosition(stored, visibleBefore);
    // A row that ends a table of every stored row keeps it so.
    if (!everyRowInOrder_ || position != visibleBefore) {
        ListEveryRow(visibleBefore);
        order_.insert(order_.begin() + static_cast<std::ptrdiff_t>(position), stored);
    }
    RowsChanged();
    cursor_ = position;
    inserting_ = false;
    RefreshViews();
}

void RateTable::Cancel()
{
    CheckActive();
    inserting_ = false;
    RefreshViews();
}

void RateTable::Delete()
{
    CheckActive();
    if (inserting_) {
        Cancel();
        return;
    }
    if (RecordCount() == 0)
        TableError("Cannot perform this operation on an empty dataset");
    ListEveryRow(RecordCount());
    const std::uint32_t stored = order_[cursor_];
    data_.status[stored] |= kRowDeleted;
    stamp_.reset();
    data_.changeLog.push_back({stored + 1, 0, kChangeDelete});
    order_.erase(order_.begin() + static_cast<std::ptrdiff_t>(cursor_));
    RowsChanged();
    if (cursor_ >= order_.size() && cursor_ > 0)
        --cursor_;
    RefreshViews();
}

void RateTable::EmptyTable()
{
    CheckActive();
    TableData empty;
    empty.columns = std::move(data_.columns);
    empty.datasetParameters = std::move(data_.datasetParameters);
    for (const auto& column : empty.columns)
        empty.values.emplace_back(column.kind);
    data_ = std::move(empty);
    stamp_.reset();
    order_.clear();
    everyRowInOrder_ = false;
    RowsChanged();
    cursor_ = 0;
    inserting_ = false;
    RefreshViews();
}

void RateTable::OrderByUploadTime()
{
    CheckActive();
    const auto current = CurrentStoredRow();
    BuildOrder();
    cursor_ = 0;
    if (current && everyRowInOrder_) {
        cursor_ = *current;
    } else if (current) {
        const auto found = std::find(order_.begin(), order_.end(), *current);
        if (found != order_.end())
            cursor_ = static_cast<std::size_t>(found - order_.begin());
    }
    RefreshViews();
}

void RateTable::SaveToFile(const std::filesystem::path& path)
{
    if (!active_)
        return;
    if (inserting_) {
        const bool anyStaged = std::any_of(views_.begin(), views_.end(),
                                           [](const TextView& view) { return view.staged_.has_value(); });
        if (anyStaged)
            Post();
        else
            Cancel();
    }
    ReplaceFileContent(path, BuildPacket(data_));
    stamp_ = FileStamp::Of(path);
}

void RateTable::LoadFromFile(const std::filesystem::path& path)
{
    TableData previous = std::move(data_);
    const bool wasActive = active_;
    inserting_ = false;
    active_ = false;
    order_.clear();
    everyRowInOrder_ = false;
    RowsChanged();
    cursor_ = 0;
    RefreshViews();
    data_ = TableData{};

    const auto reopen = [&](TableData content) {
        data_ = std::move(content);
        BindViews();
        active_ = true;
        BuildOrder();
        cursor_ = 0;
        RefreshViews();
    };

    stamp_.reset();
    const DataFileInput input = OpenDataFileInput(path, [&] {
        // A missing file is a first start: keep working with an empty table.
        TableData empty;
        empty.columns = wasActive ? std::move(previous.columns) : TableData::RateTableDefinition().columns;
        for (const auto& column : empty.columns)
            empty.values.emplace_back(column.kind);
        reopen(std::move(empty));
    });
    if (input.info.st_size == 0) {
        reopen(wasActive ? std::move(previous) : TableData::RateTableDefinition());
        return;
    }
    previous = TableData{}; // free the old rows before the new ones arrive
    reopen(ReadPacket(input.Source(path), static_cast<std::size_t>(input.info.st_size)));
    stamp_ = FileStamp::Of(input.info);
}

FileStamp FileStamp::Of(const struct stat& info)
{
    return {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino),
            static_cast<std::int64_t>(info.st_size),  static_cast<std::int64_t>(info.st_mtim.tv_sec),
            static_cast<std::int64_t>(info.st_mtim.tv_nsec), static_cast<std::int64_t>(info.st_ctim.tv_sec),
            static_cast<std::int64_t>(info.st_ctim.tv_nsec)};
}

std::optional<FileStamp> FileStamp::Of(const std::filesystem::path& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return std::nullopt;
    return Of(info);
}

bool RateTable::HoldsFileContent(const std::filesystem::path& path) const
{
    return active_ && !inserting_ && stamp_ && FileStamp::Of(path) == stamp_;
}

} // namespace zentaro
