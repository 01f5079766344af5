#include "app/PlotGeometry.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <limits>

namespace zentaro {

namespace {

using namespace std::chrono;

constexpr std::array<const char*, 12> kMonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                     "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

year_month_day Civil(DayNumber day) { return year_month_day{sys_days{days{day}}}; }
DayNumber Number(year_month_day date) { return sys_days{date}.time_since_epoch().count(); }

// Back by a number of months; a day the shorter month lacks becomes its last.
DayNumber MonthsBack(DayNumber day, int monthCount)
{
    const year_month_day date = Civil(day);
    const year_month back = year_month{date.year(), date.month()} - months{monthCount};
    const year_month_day_last last{back.year(), month_day_last{back.month()}};
    return Number(year_month_day{back.year(), back.month(), std::min(date.day(), last.day())});
}

// The first tick at or after day for a step, as a year_month_day walk.
DayNumber FirstTick(DayNumber day, DateStep step)
{
    const year_month_day date = Civil(day);
    switch (step.unit) {
    case DateStep::Days: {
        if (step.count == 7) {
            // 1970-01-01 was a Thursday; Mondays are the days with (day + 3) % 7 == 0.
            const int offset = ((day + 3) % 7 + 7) % 7;
            return offset == 0 ? day : day + 7 - offset;
        }
        const int offset = (day % step.count + step.count) % step.count;
        return offset == 0 ? day : day + step.count - offset;
    }
    case DateStep::Months: {
        year_month at{date.year(), date.month()};
        if (date.day() != std::chrono::day{1})
            at += months{1};
        while ((static_cast<unsigned>(at.month()) - 1) % static_cast<unsigned>(step.count) != 0)
            at += months{1};
        return Number(at / 1);
    }
    case DateStep::Years: {
        int y = static_cast<int>(date.year());
        if (date.month() != January || date.day() != std::chrono::day{1})
            ++y;
        while (((y % step.count) + step.count) % step.count != 0)
            ++y;
        return Number(year{y} / January / 1);
    }
    }
    return day;
}

DayNumber NextTick(DayNumber day, DateStep step)
{
    switch (step.unit) {
    case DateStep::Days: return day + step.count;
    case DateStep::Months: {
        const year_month_day date = Civil(day);
        return Number((year_month{date.year(), date.month()} + months{step.count}) / 1);
    }
    case DateStep::Years: {
        const year_month_day date = Civil(day);
        return Number((date.year() + years{step.count}) / January / 1);
    }
    }
    return day + 1;
}

std::string TickLabel(DayNumber day, DateStep::Unit unit)
{
    const year_month_day date = Civil(day);
    const char* monthName = kMonthNames[static_cast<unsigned>(date.month()) - 1];
    char text[32];
    switch (unit) {
    case DateStep::Days:
        std::snprintf(text, sizeof text, "%s %02u", monthName, static_cast<unsigned>(date.day()));
        break;
    case DateStep::Months:
        std::snprintf(text, sizeof text, "%s %d", monthName, static_cast<int>(date.year()));
        break;
    case DateStep::Years: std::snprintf(text, sizeof text, "%d", static_cast<int>(date.year())); break;
    }
    return text;
}

int CountTicks(DaySpan span, DateStep step, int limit)
{
    int count = 0;
    for (DayNumber day = FirstTick(span.first, step); day <= span.last && count <= limit; day = NextTick(day, step))
        ++count;
    return count;
}

} // namespace

DaySpan RangeSpan(HistoryRange range, DayNumber firstDay, DayNumber lastDay)
{
    switch (range) {
    case HistoryRange::OneMonth: return {MonthsBack(lastDay, 1), lastDay};
    case HistoryRange::OneYear: return {MonthsBack(lastDay, 12), lastDay};
    case HistoryRange::FiveYears: return {MonthsBack(lastDay, 60), lastDay};
    case HistoryRange::All: break;
    }
    return {std::min(firstDay, lastDay), lastDay};
}

PointRange PointsInSpan(const std::vector<HistoryPoint>& points, DaySpan span)
{
    const auto before = [](const HistoryPoint& point, DayNumber day) { return point.day < day; };
    const auto begin = std::lower_bound(points.begin(), points.end(), span.first, before);
    const auto end = std::lower_bound(begin, points.end(), span.last + 1, before);
    return {static_cast<std::size_t>(begin - points.begin()), static_cast<std::size_t>(end - points.begin())};
}

std::optional<RangeSummary> SummarizeRange(const std::vector<HistoryPoint>& points, PointRange range)
{
    if (range.empty())
        return std::nullopt;
    RangeSummary summary;
    summary.minIndex = summary.maxIndex = range.begin;
    for (std::size_t i = range.begin + 1; i < range.end; ++i) {
        if (points[i].rate < points[summary.minIndex].rate)
            summary.minIndex = i;
        if (points[i].rate > points[summary.maxIndex].rate)
            summary.maxIndex = i;
    }
    summary.lastIndex = range.end - 1;
    summary.min = points[summary.minIndex].rate;
    summary.max = points[summary.maxIndex].rate;
    summary.last = points[summary.lastIndex].rate;
    return summary;
}

DateAxis MakeDateAxis(DaySpan span, int maxTicks)
{
    static constexpr std::array<DateStep, 16> kSteps = {{
        {DateStep::Days, 1},
        {DateStep::Days, 2},
        {DateStep::Days, 7},
        {DateStep::Months, 1},
        {DateStep::Months, 2},
        {DateStep::Months, 3},
        {DateStep::Months, 6},
        {DateStep::Years, 1},
        {DateStep::Years, 2},
        {DateStep::Years, 5},
        {DateStep::Years, 10},
        {DateStep::Years, 20},
        {DateStep::Years, 50},
        {DateStep::Years, 100},
        {DateStep::Years, 200},
        {DateStep::Years, 500},
    }};
    maxTicks = std::max(maxTicks, 1);
    DateAxis axis;
    axis.step = kSteps.back();
    for (const DateStep step : kSteps) {
        if (CountTicks(span, step, maxTicks) <= maxTicks) {
            axis.step = step;
            break;
        }
    }
    for (DayNumber day = FirstTick(span.first, axis.step); day <= span.last; day = NextTick(day, axis.step))
        axis.ticks.push_back({day, TickLabel(day, axis.step.unit)});
    return axis;
}

ValueAxis MakeValueAxis(double min, double max, int minTicks)
{
    if (!(max > min)) {
        const double around = std::fabs(min) > 0 ? std::fabs(min) * 0.01 : 1.0;
        min -= around;
        max += around;
    }
    minTicks = std::max(minTicks, 2);
    const double roughStep = (max - min) / (minTicks - 1);
    const int exponent = static_cast<int>(std::floor(std::log10(roughStep)));
    static constexpr std::array<double, 4> kMantissas = {5.0, 2.5, 2.0, 1.0};
    ValueAxis axis;
    // The largest nice step not above the rough one gives at least minTicks
    // ticks; 1 times the power of ten always is. 2.5 needs one more decimal.
    for (const double mantissa : kMantissas) {
        const double step = mantissa * std::pow(10.0, exponent);
        if (step <= roughStep * (1 + 1e-9)) {
            axis.step = step;
            axis.decimals = std::max(0, -exponent + (mantissa == 2.5 ? 1 : 0));
            break;
        }
    }
    axis.low = std::floor(min / axis.step + 1e-9) * axis.step;
    axis.high = std::ceil(max / axis.step - 1e-9) * axis.step;
    const auto count = static_cast<long>(std::llround((axis.high - axis.low) / axis.step));
    for (long i = 0; i <= count; ++i)
        axis.ticks.push_back(axis.low + static_cast<double>(i) * axis.step);
    return axis;
}

std::string ValueLabel(const ValueAxis& axis, double value, char decimalSeparator)
{
    // A tick that rounds to zero is "0", never "-0".
    const double scale = std::pow(10.0, axis.decimals);
    if (std::llround(value * scale) == 0)
        value = 0;
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", axis.decimals, value);
    std::string label = text;
    std::replace(label.begin(), label.end(), '.', decimalSeparator);
    return label;
}

double PlotMapping::X(DayNumber day) const
{
    const int days = span.last - span.first;
    if (days <= 0)
        return left + width / 2;
    return left + width * (day - span.first) / days;
}

double PlotMapping::Y(double value) const
{
    if (!(high > low))
        return top + height / 2;
    return top + height * (high - value) / (high - low);
}

double PlotMapping::DayAt(double x) const
{
    const int days = span.last - span.first;
    if (width <= 0)
        return span.first;
    return span.first + (x - left) * days / width;
}

std::optional<std::size_t> NearestPoint(const std::vector<HistoryPoint>& points, PointRange range,
                                        const PlotMapping& mapping, double x)
{
    if (range.empty())
        return std::nullopt;
    const double day = mapping.DayAt(x);
    const auto first = points.begin() + static_cast<std::ptrdiff_t>(range.begin);
    const auto last = points.begin() + static_cast<std::ptrdiff_t>(range.end);
    const auto after = std::lower_bound(first, last, day,
                                        [](const HistoryPoint& point, double d) { return point.day < d; });
    if (after == first)
        return range.begin;
    if (after == last)
        return range.end - 1;
    const auto before = after - 1;
    const std::size_t index = static_cast<std::size_t>(before - points.begin());
    return (after->day - day < day - before->day) ? index + 1 : index;
}

std::vector<std::size_t> LinePoints(const std::vector<HistoryPoint>& points, PointRange range,
                                    const PlotMapping& mapping)
{
    std::vector<std::size_t> line;
    std::size_t i = range.begin;
    while (i < range.end) {
        const auto column = static_cast<long>(std::floor(mapping.X(points[i].day)));
        std::size_t end = i + 1;
        std::size_t lowest = i, highest = i;
        while (end < range.end && static_cast<long>(std::floor(mapping.X(points[end].day))) == column) {
            if (points[end].rate < points[lowest].rate)
                lowest = end;
            if (points[end].rate > points[highest].rate)
                highest = end;
            ++end;
        }
        if (end - i <= 4) {
            for (std::size_t k = i; k < end; ++k)
                line.push_back(k);
        } else {
            std::array<std::size_t, 4> kept = {i, std::min(lowest, highest), std::max(lowest, highest), end - 1};
            for (std::size_t k = 0; k < kept.size(); ++k)
                if (line.empty() || line.back() != kept[k])
                    line.push_back(kept[k]);
        }
        i = end;
    }
    return line;
}

} // namespace zentaro
