#pragma once

#include "store/RateTable.h"

#include <string_view>

namespace zentaro::test {

// Adds one row the way an import does: insert, write the three views, post.
inline void AddRow(RateTable& table, std::string_view tgl, std::string_view cur, std::string_view nilai)
{
    table.Insert();
    table.DBEdit1().SetText(tgl);
    table.DBEdit2().SetText(cur);
    table.DBEdit3().SetText(nilai);
    table.Post();
}

} // namespace zentaro::test
