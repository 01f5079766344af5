#include "store/Maintenance.h"
#include "store/RateTable.h"

#include <string>

namespace zentaro {

std::size_t RemoveBatch(RateTable& table, std::string_view time)
{
    // The caller may hand over a view into the table's own text views.
    const std::string wanted(time);
    std::size_t deleted = 0;
    table.OrderByUploadTime();
    table.First();
    if (table.DBEdit1().Text() == wanted) {
        table.Delete();
        ++deleted;
    }
    for (;;) {
        if (table.DBEdit1().Text() == wanted) {
            table.Delete();
            ++deleted;
            continue;
        }
        if (table.AtLastRow())
            return deleted;
        table.Next();
    }
}

void ClearAll(RateTable& table) { table.EmptyTable(); }

} // namespace zentaro
