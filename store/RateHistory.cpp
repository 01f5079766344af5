#include "store/RateHistory.h"
#include "store/NumberText.h"
#include "store/RateTable.h"
#include "store/StoreError.h"

#include <algorithm>
#include <cstdint>

namespace zentaro {
namespace {

constexpr std::uint32_t kNoRow = UINT32_MAX;

// The rows of one day that a lookup of each currency would find.
struct DayRows {
    DayNumber day = 0;
    std::uint32_t from = kNoRow;
    std::uint32_t to = kNoRow;
};

// Codes are a few bytes long: compared in place rather than through a call
// to memcmp, on each row a day's search meets.
bool SameCode(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i])
            return false;
    return true;
}

bool InRange(DayNumber day, const DayRange& range)
{
    return (!range.since || day >= *range.since) && (!range.until || day <= *range.until);
}

// The window's conversion of the amount 1: both rates read from the texts
// their view shows, then target x 1 / source in extended precision. Where
// the window would fail (a null rate, a source of 0) the day has no value.
std::optional<double> RateOfOne(const RateTable& table, const DayRows& rows, std::string& scratch)
{
    const char separator = table.DecimalSeparator();
    try {
        const double source = TextToDouble(table.ShownText(2, rows.from, scratch), separator);
        const double target = TextToDouble(table.ShownText(2, rows.to, scratch), separator);
        constexpr double kAmount = 1;
        return DivideToDouble(static_cast<long double>(target) * kAmount, source);
    } catch (const StoreError&) {
        return std::nullopt;
    }
}

} // namespace

std::vector<HistoryPoint> PairHistory(const RateTable& table, std::string_view from, std::string_view to,
                                      const DayRange& range)
{
    std::vector<DayRows> days;
    std::string scratch;
    for (const auto& run : table.UploadTimeRuns()) {
        const auto day = CalendarDay(run.tgl);
        if (!day || !InRange(*day, range))
            continue;
        DayRows found{*day};
        // The last match counts, as in a lookup: searched from the run's end.
        for (std::size_t i = run.end; i-- > run.first && (found.from == kNoRow || found.to == kNoRow);) {
            const std::uint32_t row = table.VisibleRow(i);
            const std::string_view cur = table.ShownText(1, row, scratch);
            if (found.from == kNoRow && SameCode(cur, from))
                found.from = row;
            if (found.to == kNoRow && SameCode(cur, to))
                found.to = row;
        }
        days.push_back(found);
    }

    // One upload time in two runs is one day whose later rows count.
    std::stable_sort(days.begin(), days.end(), [](const DayRows& a, const DayRows& b) { return a.day < b.day; });
    std::vector<HistoryPoint> points;
    points.reserve(days.size());
    for (std::size_t i = 0; i < days.size();) {
        DayRows merged = days[i];
        for (++i; i < days.size() && days[i].day == merged.day; ++i) {
            if (days[i].from != kNoRow)
                merged.from = days[i].from;
            if (days[i].to != kNoRow)
                merged.to = days[i].to;
        }
        if (merged.from == kNoRow || merged.to == kNoRow)
            continue;
        if (const auto rate = RateOfOne(table, merged, scratch))
            points.push_back({merged.day, CalendarDayText(merged.day), *rate});
    }
    return points;
}

} // namespace zentaro
