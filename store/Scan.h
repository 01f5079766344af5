#pragma once

#include "store/RateTable.h"

#include <type_traits>

namespace zentaro {

// A walk of the cursor over the rows: the first row, then each next row
// until the last one has been examined. An empty table is examined once,
// with no current row, so every view reads as the empty text. A visit that
// returns false ends the walk early; the result tells whether it ran to the
// end. zentaro-cli dump prints the rows with it; the rules of
// ConversionRules.h and RateHistory.h do not step the cursor but read the
// rows they need from the columns, and leave the cursor where this walk would.
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
