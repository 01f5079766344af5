#pragma once

#include "store/RateTable.h"

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace zentaro::test {

// One row as its three text views hold it: date, currency, rate.
struct Row {
    std::string tgl, cur, nilai;
    bool operator==(const Row&) const = default;
    friend std::ostream& operator<<(std::ostream& out, const Row& row)
    {
        return out << "{" << row.tgl << "|" << row.cur << "|" << row.nilai << "}";
    }
};

// Adds one row the way an import does: insert, write the three views, post.
inline void AddRow(RateTable& table, std::string_view tgl, std::string_view cur, std::string_view nilai)
{
    table.Insert();
    table.DBEdit1().SetText(tgl);
    table.DBEdit2().SetText(cur);
    table.DBEdit3().SetText(nilai);
    table.Post();
}

inline void AddRows(RateTable& table, const std::vector<Row>& rows)
{
    for (const auto& row : rows)
        AddRow(table, row.tgl, row.cur, row.nilai);
}

} // namespace zentaro::test
