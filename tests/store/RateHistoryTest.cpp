#include "store/ConversionRules.h"
#include "store/NumberText.h"
#include "store/RateHistory.h"
#include "store/RateTable.h"
#include "tests/common/TableRows.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace zentaro {
namespace {

using Series = std::vector<std::pair<std::string, std::string>>;

using test::Row;

class RateHistoryTest : public ::testing::Test {
protected:
    void Add(std::initializer_list<Row> rows)
    {
        for (const auto& row : rows)
            test::AddRow(table, row.tgl, row.cur, row.nilai);
    }

    // The series as date and result text, which is how a reader sees it.
    Series Shown(std::string_view from, std::string_view to,
                                                           const DayRange& range = {})
    {
        Series shown;
        for (const auto& point : PairHistory(table, from, to, range)) {
            EXPECT_EQ(CalendarDay(point.date), point.day) << point.date;
            shown.emplace_back(point.date, ResultText(point.rate, '.'));
        }
        return shown;
    }

    RateTable table{'.', ByteCollation()};
};

TEST_F(RateHistoryTest, DaysOldestFirstWithBothCurrenciesOnly)
{
    Add({{"2008-09-15", "USD", "2"}, {"2008-09-15", "JPY", "300"},
         {"2008-09-12", "USD", "4"}, {"2008-09-12", "JPY", "100"},
         {"2008-09-11", "USD", "5"}, // JPY missing that day
         {"2008-09-10", "JPY", "7"},
         {"2008-09-09", "USD", "3"}, {"2008-09-09", "JPY", "1"}});
    EXPECT_EQ(Shown("USD", "JPY"), (Series{{"2008-09-09", "0.333333"}, {"2008-09-12", "25"}, {"2008-09-15", "150"}}));
    EXPECT_EQ(Shown("JPY", "USD"), (Series{{"2008-09-09", "3"}, {"2008-09-12", "0.04"}, {"2008-09-15", "0.006667"}}));
    EXPECT_EQ(Shown("USD", "USD").size(), 4u);
    EXPECT_TRUE(Shown("usd", "JPY").empty());
    EXPECT_TRUE(Shown("USD", "GBP").empty());
}

TEST_F(RateHistoryTest, UploadTimesThatAreNotDatesAreLeftOut)
{
    Add({{"Batch 1", "USD", "1"}, {"Batch 1", "JPY", "2"}, {"2008-9-12", "USD", "1"}, {"2008-9-12", "JPY", "3"},
         {"2008-02-30", "USD", "1"}, {"2008-02-30", "JPY", "4"}, {"2008-09-12", "USD", "1"},
         {"2008-09-12", "JPY", "5"}});
    EXPECT_EQ(Shown("USD", "JPY"), (Series{{"2008-09-12", "5"}}));
}

TEST_F(RateHistoryTest, EachPointIsTheWindowsConversionOfOne)
{
    // Rates with more digits than a double's text keeps, a currency listed
    // twice in a day, and a day in two runs: whatever the window converts 1
    // into, the series holds.
    Add({{"2008-09-12", "USD", "1.23456789012345678"}, {"2008-09-12", "JPY", "161.9876543210987"},
         {"2008-09-12", "USD", "1.5"}, {"2008-09-15", "USD", "0.3"}, {"2008-09-15", "JPY", "0.7"},
         {"2008-09-12", "JPY", "150"}, {"2008-09-16", "USD", "3.14159265358979"}, {"2008-09-16", "JPY", "1E-7"}});
    const auto points = PairHistory(table, "USD", "JPY");
    ASSERT_EQ(points.size(), 3u);
    for (const auto& point : points) {
        const auto window = ConvertWithRates("1", LookUpStoredRate(table, point.date, "USD"),
                                             LookUpStoredRate(table, point.date, "JPY"), '.', EmptyAmount::IsZero);
        ASSERT_TRUE(window) << point.date;
        EXPECT_EQ(ResultText(point.rate, '.'), *window) << point.date;
    }
    EXPECT_EQ(points[0].rate, 100.0); // the later rows of 2008-09-12 count: 150 / 1.5
}

TEST_F(RateHistoryTest, DaysWithoutAValueAreLeftOut)
{
    Add({{"2008-09-10", "USD", ""}, {"2008-09-10", "JPY", "2"}, // a null rate
         {"2008-09-11", "USD", "0"}, {"2008-09-11", "JPY", "2"}, // division by zero
         {"2008-09-12", "USD", "0"}, {"2008-09-12", "JPY", "0"}, // 0 / 0
         {"2008-09-15", "USD", "2"}, {"2008-09-15", "JPY", "0"}});
    EXPECT_EQ(Shown("USD", "JPY"), (Series{{"2008-09-15", "0"}}));
}

TEST_F(RateHistoryTest, RangeKeepsBothEnds)
{
    for (const char* day : {"2008-09-10", "2008-09-11", "2008-09-12", "2008-09-15"}) {
        test::AddRow(table, day, "USD", "1");
        test::AddRow(table, day, "JPY", "2");
    }
    const auto dates = [&](const DayRange& range) {
        std::vector<std::string> listed;
        for (const auto& point : PairHistory(table, "USD", "JPY", range))
            listed.push_back(point.date);
        return listed;
    };
    using Dates = std::vector<std::string>;
    EXPECT_EQ(dates({CalendarDay("2008-09-11"), CalendarDay("2008-09-12")}), (Dates{"2008-09-11", "2008-09-12"}));
    EXPECT_EQ(dates({CalendarDay("2008-09-13"), std::nullopt}), (Dates{"2008-09-15"}));
    EXPECT_EQ(dates({std::nullopt, CalendarDay("2008-09-10")}), (Dates{"2008-09-10"}));
    EXPECT_TRUE(dates({CalendarDay("2008-09-12"), CalendarDay("2008-09-11")}).empty());
    EXPECT_EQ(dates({}).size(), 4u);
}

TEST_F(RateHistoryTest, EmptyTableHasNoHistory) { EXPECT_TRUE(PairHistory(table, "", "").empty()); }

} // namespace
} // namespace zentaro
