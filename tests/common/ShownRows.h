#pragma once

#include "store/RateTable.h"
#include "tests/common/TableRows.h"

#include <string>
#include <vector>

namespace zentaro::test {

// Every visible row in table order, read through the text views.
inline std::vector<Row> ShownRows(RateTable& table)
{
    std::vector<Row> rows;
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
