#pragma once

#include <cstddef>
#include <string_view>

namespace zentaro {

class RateTable;

// Removes every row whose upload time equals time exactly (case-sensitive,
// nothing trimmed), after applying the order by upload time. Steps through
// the rows, deleting the current one while it matches and moving on
// otherwise, until the last row has been examined. Returns the rows deleted.
// On an empty table an empty time still tries the deletion and fails with the
// table's own empty-dataset error. Saving is the caller's.
std::size_t RemoveBatch(RateTable& table, std::string_view time);

// Removes all rows. Saving is the caller's.
void ClearAll(RateTable& table);

} // namespace zentaro
