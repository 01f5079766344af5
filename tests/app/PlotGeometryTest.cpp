#include "app/PlotGeometry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zentaro {
namespace {

DayNumber Day(const char* date)
{
    const std::optional<DayNumber> day = CalendarDay(date);
    EXPECT_TRUE(day) << date;
    return day.value_or(0);
}

TEST(PlotRanges, EachRangeEndsAtTheLastDay)
{
    const struct {
        const char* name;
        HistoryRange range;
        const char* last;
        const char* first;
    } kCases[] = {
        {"month", HistoryRange::OneMonth, "2008-09-15", "2008-08-15"},
        {"month from a 31st", HistoryRange::OneMonth, "2008-03-31", "2008-02-29"},
        {"month across the year", HistoryRange::OneMonth, "2009-01-10", "2008-12-10"},
        {"year", HistoryRange::OneYear, "2008-09-15", "2007-09-15"},
        {"year from 29 February", HistoryRange::OneYear, "2008-02-29", "2007-02-28"},
        {"five years", HistoryRange::FiveYears, "2008-09-15", "2003-09-15"},
        {"all", HistoryRange::All, "2008-09-15", "1999-01-04"},
    };
    for (const auto& c : kCases) {
        const DaySpan span = RangeSpan(c.range, Day("1999-01-04"), Day(c.last));
        EXPECT_EQ(CalendarDayText(span.first), c.first) << c.name;
        EXPECT_EQ(CalendarDayText(span.last), c.last) << c.name;
    }
}

std::vector<HistoryPoint> Points(std::initializer_list<std::pair<const char*, double>> list)
{
    std::vector<HistoryPoint> points;
    for (const auto& [date, rate] : list)
        points.push_back({Day(date), date, rate});
    return points;
}

TEST(PlotRanges, PointsInSpanAndTheirSummary)
{
    const std::vector<HistoryPoint> points = Points({{"2008-09-01", 1.5},
                                                  {"2008-09-02", 1.2},
                                                  {"2008-09-05", 1.9},
                                                  {"2008-09-08", 1.2},
                                                  {"2008-09-09", 1.9},
                                                  {"2008-09-12", 1.4}});
    EXPECT_EQ(PointsInSpan(points, {Day("2008-09-02"), Day("2008-09-09")}), (PointRange{1, 5}));
    EXPECT_EQ(PointsInSpan(points, {Day("2008-09-03"), Day("2008-09-04")}), (PointRange{2, 2}));
    EXPECT_EQ(PointsInSpan(points, {Day("2008-01-01"), Day("2009-01-01")}), (PointRange{0, 6}));
    EXPECT_EQ(PointsInSpan(points, {Day("2008-09-13"), Day("2009-01-01")}), (PointRange{6, 6}));

    const auto all = SummarizeRange(points, {0, 6});
    ASSERT_TRUE(all);
    EXPECT_EQ(all->min, 1.2);
    EXPECT_EQ(all->minIndex, 1u); // the first of two equal lows
    EXPECT_EQ(all->max, 1.9);
    EXPECT_EQ(all->maxIndex, 2u);
    EXPECT_EQ(all->last, 1.4);
    const auto tail = SummarizeRange(points, {3, 5});
    ASSERT_TRUE(tail);
    EXPECT_EQ(tail->min, 1.2);
    EXPECT_EQ(tail->max, 1.9);
    EXPECT_EQ(tail->last, 1.9);
    EXPECT_FALSE(SummarizeRange(points, {2, 2}));
}

TEST(PlotDateAxis, StepsAndLabelsSuitTheRange)
{
    const struct {
        const char* name;
        const char* first;
        const char* last;
        int maxTicks;
        DateStep step;
        std::vector<std::string> labels; // the first ones, in order
        std::size_t count;
    } kCases[] = {
        {"a week, daily", "2008-09-08", "2008-09-14", 10, {DateStep::Days, 1}, {"Sep 08", "Sep 09", "Sep 10"}, 7},
        {"two weeks, every other day", "2008-09-01", "2008-09-14", 8, {DateStep::Days, 2}, {"Sep 02", "Sep 04"}, 7},
        {"a month, Mondays", "2008-08-15", "2008-09-15", 8, {DateStep::Days, 7},
         {"Aug 18", "Aug 25", "Sep 01", "Sep 08", "Sep 15"}, 5},
        {"a year, monthly", "2007-09-15", "2008-09-15", 12, {DateStep::Months, 1}, {"Oct 2007", "Nov 2007"}, 12},
        {"a year, every other month", "2007-09-15", "2008-09-15", 6, {DateStep::Months, 2},
         {"Nov 2007", "Jan 2008", "Mar 2008"}, 6},
        {"a year, quarterly", "2007-09-15", "2008-09-15", 4, {DateStep::Months, 3},
         {"Oct 2007", "Jan 2008", "Apr 2008", "Jul 2008"}, 4},
        {"five years, yearly", "2003-09-15", "2008-09-15", 8, {DateStep::Years, 1}, {"2004", "2005"}, 5},
        {"five years, half-yearly", "2003-09-15", "2008-09-15", 10, {DateStep::Months, 6},
         {"Jan 2004", "Jul 2004"}, 10},
        {"all days, every two years", "1999-01-04", "2024-06-28", 13, {DateStep::Years, 2}, {"2000", "2002"}, 13},
        {"all days, every five years", "1999-01-04", "2024-06-28", 6, {DateStep::Years, 5},
         {"2000", "2005", "2010", "2015", "2020"}, 5},
    };
    for (const auto& c : kCases) {
        const DateAxis axis = MakeDateAxis({Day(c.first), Day(c.last)}, c.maxTicks);
        EXPECT_EQ(axis.step, c.step) << c.name;
        EXPECT_EQ(axis.ticks.size(), c.count) << c.name;
        EXPECT_LE(axis.ticks.size(), static_cast<std::size_t>(c.maxTicks)) << c.name;
        for (std::size_t i = 0; i < c.labels.size() && i < axis.ticks.size(); ++i)
            EXPECT_EQ(axis.ticks[i].label, c.labels[i]) << c.name << " tick " << i;
        for (const DateTick& tick : axis.ticks) {
            EXPECT_GE(tick.day, Day(c.first)) << c.name;
            EXPECT_LE(tick.day, Day(c.last)) << c.name;
        }
    }
}

TEST(PlotDateAxis, SingleDayHasItsOwnTick)
{
    const DateAxis axis = MakeDateAxis({Day("2008-09-12"), Day("2008-09-12")}, 5);
    ASSERT_EQ(axis.ticks.size(), 1u);
    EXPECT_EQ(axis.ticks[0].label, "Sep 12");
}

TEST(PlotValueAxis, NiceStepsHoldTheValues)
{
    const struct {
        const char* name;
        double min, max;
        int minTicks;
        double low, high, step;
        int decimals;
        std::vector<std::string> labels;
    } kCases[] = {
        {"dollar in yen", 88.4, 151.9, 5, 80, 160, 10, 0, {"80", "90", "100"}},
        {"euro in dollars", 1.0712, 1.1203, 5, 1.07, 1.13, 0.01, 2, {"1.07", "1.08"}},
        {"steps of 2.5 carry a decimal more", 0, 10, 5, 0, 10, 2.5, 1, {"0.0", "2.5", "5.0", "7.5", "10.0"}},
        {"steps of 5", 0.0002, 0.0199, 4, 0, 0.02, 0.005, 3, {"0.000", "0.005", "0.010"}},
        {"steps of 2", 12, 21, 5, 12, 22, 2, 0, {"12", "14", "16", "18", "20", "22"}},
        {"one value", 2, 2, 5, 1.98, 2.02, 0.01, 2, {"1.98", "1.99", "2.00"}},
        {"around zero", -0.5, 0.25, 4, -0.5, 0.25, 0.25, 2, {"-0.50", "-0.25", "0.00", "0.25"}},
    };
    for (const auto& c : kCases) {
        const ValueAxis axis = MakeValueAxis(c.min, c.max, c.minTicks);
        EXPECT_DOUBLE_EQ(axis.step, c.step) << c.name;
        EXPECT_NEAR(axis.low, c.low, 1e-9) << c.name;
        EXPECT_NEAR(axis.high, c.high, 1e-9) << c.name;
        EXPECT_EQ(axis.decimals, c.decimals) << c.name;
        EXPECT_LE(axis.low, c.min) << c.name;
        EXPECT_GE(axis.high, c.max) << c.name;
        EXPECT_GE(axis.ticks.size(), static_cast<std::size_t>(c.minTicks)) << c.name;
        for (std::size_t i = 0; i < c.labels.size() && i < axis.ticks.size(); ++i)
            EXPECT_EQ(ValueLabel(axis, axis.ticks[i], '.'), c.labels[i]) << c.name << " tick " << i;
    }
}

TEST(PlotValueAxis, LabelsTakeTheSeparator)
{
    const ValueAxis axis = MakeValueAxis(1.0712, 1.1203, 5);
    EXPECT_EQ(ValueLabel(axis, 1.08, ','), "1,08");
}

TEST(PlotMappingTest, EndsOfTheSpanAndAxisMeetTheEdges)
{
    PlotMapping mapping{10, 20, 100, 50, {Day("2008-09-01"), Day("2008-09-11")}, 1.0, 2.0};
    EXPECT_DOUBLE_EQ(mapping.X(Day("2008-09-01")), 10);
    EXPECT_DOUBLE_EQ(mapping.X(Day("2008-09-11")), 110);
    EXPECT_DOUBLE_EQ(mapping.X(Day("2008-09-06")), 60);
    EXPECT_DOUBLE_EQ(mapping.Y(2.0), 20);
    EXPECT_DOUBLE_EQ(mapping.Y(1.0), 70);
    EXPECT_DOUBLE_EQ(mapping.Y(1.5), 45);
    EXPECT_DOUBLE_EQ(mapping.DayAt(60), Day("2008-09-06"));
}

TEST(PlotNearestPoint, PointerPicksTheNearestDay)
{
    const std::vector<HistoryPoint> points = Points({{"2008-09-01", 1}, {"2008-09-02", 2}, {"2008-09-05", 3},
                                                  {"2008-09-08", 4}, {"2008-09-11", 5}});
    // Ten pixels a day from 2008-09-01 at x = 0.
    const PlotMapping mapping{0, 0, 100, 50, {Day("2008-09-01"), Day("2008-09-11")}, 0, 10};
    const struct {
        const char* name;
        double x;
        std::size_t index;
    } kCases[] = {
        {"left of every point", -30, 0},
        {"on the first day", 0, 0},
        {"nearer the first", 4, 0},
        {"halfway: the earlier", 5, 0},
        {"nearer the second", 6, 1},
        {"in a gap, nearer the later", 30, 2},
        {"in a gap, nearer the earlier", 24, 1},
        {"on a day", 70, 3},
        {"right of every point", 400, 4},
    };
    for (const auto& c : kCases)
        EXPECT_EQ(NearestPoint(points, {0, points.size()}, mapping, c.x), c.index) << c.name;
    // Only the points of the range count.
    EXPECT_EQ(NearestPoint(points, {2, 4}, mapping, 0), 2u);
    EXPECT_EQ(NearestPoint(points, {2, 4}, mapping, 100), 3u);
    EXPECT_FALSE(NearestPoint(points, {3, 3}, mapping, 50));
}

TEST(PlotLine, ColumnsKeepTheirExtremes)
{
    // 100 days on 10 columns: every column holds 10 points.
    std::vector<HistoryPoint> points;
    for (int d = 0; d < 100; ++d)
        points.push_back({d, {}, d % 10 == 3 ? 1.0 : (d % 10 == 6 ? -1.0 : 0.0)});
    const PlotMapping mapping{0, 0, 10, 10, {0, 100}, -50, 100};
    const std::vector<std::size_t> line = LinePoints(points, {0, points.size()}, mapping);
    EXPECT_EQ(line.size(), 40u);
    EXPECT_EQ(std::vector<std::size_t>(line.begin(), line.begin() + 4), (std::vector<std::size_t>{0, 3, 6, 9}));
    for (std::size_t i = 1; i < line.size(); ++i)
        EXPECT_LT(line[i - 1], line[i]);
    EXPECT_EQ(line.back(), 99u);

    // Sparse points stay as they are.
    const PlotMapping wide{0, 0, 1000, 10, {0, 100}, -50, 100};
    EXPECT_EQ(LinePoints(points, {10, 20}, wide).size(), 10u);
}

} // namespace
} // namespace zentaro
