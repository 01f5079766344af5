#pragma once

#include "store/RateTable.h"

#include <type_traits>

namespace zentaro {

// The scan every search in the program makes: the first row, then each next
// row until the last one has been examined, however long the table is. An
// empty table is examined once, with no current row, so every view reads as
// the empty text. A visit that returns false ends the scan early; the result
// tells whether it ran to the end.
template <typename Visit>
bool ScanRows(RateTable& table, Visit&& visit)
{
    table.First();
    for (;;) {
        if constexpr (std::is_same_v<std::invoke_result_t<Visit&>, bool>) {
            if (!visit())
                return false;
        } else {
            visit();
        }
        if (table.AtLastRow())
            return true;
        table.Next();
    }
}

} // namespace zentaro
