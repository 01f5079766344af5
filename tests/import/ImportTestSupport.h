#pragma once

#include "store/RateTable.h"
#include "tests/common/TableRows.h"

#include <ostream>
#include <string>
#include <tuple>
#include <vector>

namespace zentaro::test {

// One visible row as the text views show it: tgl, cur, nilai.
struct ShownRow {
    std::string tgl;
    std::string cur;
    std::string nilai;
    bool operator==(const ShownRow&) const = default;
    friend std::ostream& operator<<(std::ostream& out, const ShownRow& row)
    {
        return out << "{" << row.tgl << ", " << row.cur << ", " << row.nilai << "}";
    }
};

// Every visible row in table order, read through the text views.
inline std::vector<ShownRow> ShownRows(RateTable& table)
{
    std::vector<ShownRow> rows;
    if (table.RecordCount() == 0)
        return rows;
    table.First();
    for (;;) {
        rows.push_back({std::string(table.DBEdit1().Text()), std::string(table.DBEdit2().Text()),
                        std::string(table.DBEdit3().Text())});
        if (table.AtLastRow())
            return rows;
        table.Next();
    }
}

} // namespace zentaro::test
