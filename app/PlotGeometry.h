#pragma once

#include "store/RateHistory.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The geometry of a rate history's plot: which days a range shows, the date
// and value axes with their ticks and labels, where a point lies in pixels
// and which point lies nearest the pointer. Plain functions, so that the
// window only draws what they computed.
namespace zentaro {

enum class HistoryRange { OneMonth, OneYear, FiveYears, All };

// The days a range shows up to and including lastDay: one calendar month,
// one or five years back (a 31st or 29 February going back to a shorter
// month counts from that month's last day), or every day from firstDay.
struct DaySpan {
    DayNumber first = 0;
    DayNumber last = 0;
    bool operator==(const DaySpan&) const = default;
};
DaySpan RangeSpan(HistoryRange range, DayNumber firstDay, DayNumber lastDay);

// The points [begin, end) of a series ordered by day that lie in span.
struct PointRange {
    std::size_t begin = 0;
    std::size_t end = 0;
    bool empty() const { return begin == end; }
    std::size_t size() const { return end - begin; }
    bool operator==(const PointRange&) const = default;
};
PointRange PointsInSpan(const std::vector<HistoryPoint>& points, DaySpan span);

// The lowest, the highest and the last rate of the points in range, with
// the index of each; nullopt for no points. Of equal rates the first counts.
struct RangeSummary {
    std::size_t minIndex = 0;
    std::size_t maxIndex = 0;
    std::size_t lastIndex = 0;
    double min = 0;
    double max = 0;
    double last = 0;
};
std::optional<RangeSummary> SummarizeRange(const std::vector<HistoryPoint>& points, PointRange range);

// A step between the date axis's ticks.
struct DateStep {
    enum Unit { Days, Months, Years } unit = Days;
    int count = 1;
    bool operator==(const DateStep&) const = default;
};
struct DateTick {
    DayNumber day = 0;
    std::string label;
    bool operator==(const DateTick&) const = default;
};
struct DateAxis {
    DateStep step;
    std::vector<DateTick> ticks;
};
// Ticks on whole days, weeks (Mondays), months (the 1st) or years (1
// January), with the smallest step from 1, 2 and 7 days, 1, 2, 3 and 6
// months and 1, 2, 5, 10, 20 and 50 years that puts at most maxTicks ticks
// into span. Labels: "Sep 13" for steps of days, "Sep 2008" for steps of
// months, "2008" for steps of years.
DateAxis MakeDateAxis(DaySpan span, int maxTicks);

// A value axis from low to high with a tick every step; the labels carry
// decimals digits after the separator.
struct ValueAxis {
    double low = 0;
    double high = 1;
    double step = 1;
    int decimals = 0;
    std::vector<double> ticks;
};
// The axis that holds min and max with the largest nice step (1, 2, 2.5 or
// 5 times a power of ten) that still gives at least minTicks ticks, its ends
// on whole steps. A single value is given a span around it.
ValueAxis MakeValueAxis(double min, double max, int minTicks);
// value with the axis's decimals and the given separator, no thousands separators.
std::string ValueLabel(const ValueAxis& axis, double value, char decimalSeparator);

// Days and values to pixels of a plot area: the span's first day at the
// left edge, its last at the right, the axis's low at the bottom edge and
// its high at the top.
struct PlotMapping {
    double left = 0;
    double top = 0;
    double width = 1;
    double height = 1;
    DaySpan span;
    double low = 0;
    double high = 1;

    double X(DayNumber day) const;
    double Y(double value) const;
    // The day (fractional) under pixel column x.
    double DayAt(double x) const;
};

// The point in range whose day lies nearest the pointer's column x; of two
// equally near the earlier. nullopt for no points.
std::optional<std::size_t> NearestPoint(const std::vector<HistoryPoint>& points, PointRange range,
                                        const PlotMapping& mapping, double x);

// The points to draw as a line over the plot's columns: within each pixel
// column, the first, the lowest, the highest and the last point, in day
// order; runs of up to four points per column stay as they are. The drawn
// line then looks as with every point, at a few points per column.
std::vector<std::size_t> LinePoints(const std::vector<HistoryPoint>& points, PointRange range,
                                    const PlotMapping& mapping);

} // namespace zentaro
