#include "store/TableData.h"
#include "store/StoreError.h"

#include <algorithm>
#include <limits>

namespace zentaro {
ColumnValues::ColumnValues(ColumnKind kind, Arrays arrays)
    : kind_(kind),
      flags_(std::move(arrays.flags)),
      arena_(std::move(arrays.arena)),
      offset_(std::move(arrays.offset)),
      length_(std::move(arrays.length)),
      number_(std::move(arrays.number))
{
    // The texts' places are the loader's to get right; the counts are checked.
    const std::size_t rows = Size();
    const bool fits = (flags_.empty() || flags_.size() == rows) &&
                      (kind == ColumnKind::Text ? length_.size() == rows && number_.empty()
                                                : arena_.empty() && offset_.empty() && length_.empty());
    if (!fits)
        throw StoreError("Column arrays do not fit together.");
}

void ColumnValues::AppendText(std::string_view text)
{
    if (arena_.size() + text.size() > std::numeric_limits<std::uint32_t>::max())
        throw StoreError("Text column larger than 4 GiB.");
    if (!flags_.empty())
        flags_.push_back(0);
    // Rows come in runs of one upload time: a text equal to the one before
    // shares its bytes, which keeps a long table's texts a fraction of its size.
    if (!length_.empty() && length_.back() == text.size() &&
        SameTextBytes(text.data(), arena_.data() + offset_.back(), text.size())) {
        offset_.push_back(offset_.back());
        length_.push_back(length_.back());
        return;
    }
    offset_.push_back(static_cast<std::uint32_t>(arena_.size()));
    length_.push_back(static_cast<std::uint16_t>(text.size()));
    arena_.insert(arena_.end(), text.begin(), text.end());
}

void ColumnValues::AppendFloat(double value)
{
    if (!flags_.empty())
        flags_.push_back(0);
    number_.push_back(value);
}

void ColumnValues::AppendFlags(std::uint8_t cellFlags)
{
    if (flags_.empty())
        flags_.assign(Size(), 0);
    flags_.push_back(cellFlags);
}

void ColumnValues::AppendEmpty(std::uint8_t cellFlags)
{
    AppendFlags(cellFlags);
    if (kind_ == ColumnKind::Text) {
        offset_.push_back(static_cast<std::uint32_t>(arena_.size()));
        length_.push_back(0);
    } else {
        number_.push_back(0.0);
    }
}

std::optional<std::size_t> TableData::ColumnIndex(std::string_view name) const
{
    for (std::size_t i = 0; i < columns.size(); ++i)
        if (SameName(columns[i].name, name))
            return i;
    return std::nullopt;
}

TableData TableData::RateTableDefinition()
{
    TableData table;
    table.columns = {
        ColumnDef{"tgl", ColumnKind::Text, 100, 0, {}},
        ColumnDef{"cur", ColumnKind::Text, 100, 0, {}},
        ColumnDef{"nilai", ColumnKind::Float, 0, 0, {}},
    };
    for (const auto& column : table.columns)
        table.values.emplace_back(column.kind);
    return table;
}

} // namespace zentaro
