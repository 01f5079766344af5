#include "store/DateLookup.h"
#include "store/RateTable.h"
#include "tests/common/TableRows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zentaro {
namespace {

TEST(CalendarDay, CountsDaysFromTheEpoch)
{
    EXPECT_EQ(CalendarDay("1970-01-01"), 0);
    EXPECT_EQ(CalendarDay("1969-12-31"), -1);
    EXPECT_EQ(CalendarDay("2000-03-01"), 10957 + 31 + 29);
    // Consecutive texts across month, leap-day and century ends are consecutive days.
    const char* steps[][2] = {{"1999-12-31", "2000-01-01"}, {"2000-02-28", "2000-02-29"}, {"2000-02-29", "2000-03-01"},
                              {"1900-02-28", "1900-03-01"}, {"2024-04-30", "2024-05-01"}};
    for (const auto& step : steps)
        EXPECT_EQ(*CalendarDay(step[1]) - *CalendarDay(step[0]), 1) << step[0];
}

TEST(CalendarDay, OnlyRealDaysWrittenExactlyAreDates)
{
    const char* notDates[] = {"2008-02-30", "2007-02-29", "1900-02-29", "2008-13-01", "2008-00-10", "2008-01-00",
                              "2008-04-31", "2008-9-13",  "08-09-13",   "2008-09-13 ", " 2008-09-13", "2008/09/13",
                              "2008-09-1x", "",           "Batch 7",    "2008-09-131"};
    for (const char* text : notDates)
        EXPECT_FALSE(CalendarDay(text)) << text;
    EXPECT_TRUE(CalendarDay("2000-02-29"));
    EXPECT_TRUE(CalendarDay("2008-12-31"));
}

TEST(CalendarDay, TextAndDayRoundTrip)
{
    // Every day of four centuries, which covers each leap-year rule.
    const DayNumber first = *CalendarDay("1900-01-01");
    const DayNumber last = *CalendarDay("2300-01-01");
    for (DayNumber day = first; day <= last; ++day) {
        const std::string text = CalendarDayText(day);
        ASSERT_EQ(CalendarDay(text), day) << text;
    }
    EXPECT_EQ(CalendarDayText(0), "1970-01-01");
    EXPECT_EQ(CalendarDayText(*CalendarDay("2024-10-11")), "2024-10-11");
}

struct DateCase {
    const char* name;
    std::vector<std::string> uploadTimes; // in table order
    const char* typed;
    DateOutcome outcome;
    const char* expected; // the pick, or the first day
};

void PrintTo(const DateCase& c, std::ostream* out) { *out << c.name; }

// Working days around a weekend (13 and 14 September 2008) and a holiday
// (25 and 26 December 2008), oldest first as ECB days are listed.
const std::vector<std::string> kDays = {"2008-09-11", "2008-09-12", "2008-09-15", "2008-12-23", "2008-12-24",
                                        "2008-12-29"};
// The same days newest first, among upload times that are not dates.
const std::vector<std::string> kMixed = {"zzz",        "2008-12-29", "2008-12-24", "2008-12-23", "2008-09-13 late",
                                         "2008-09-15", "9999-99-99", "2008-09-12", "Batch 1",    "2008-09-11",
                                         "2008-02-30", ""};

class DateRule : public ::testing::TestWithParam<DateCase> {};

TEST_P(DateRule, PicksTheNewestDayOnOrBefore)
{
    const DateCase& c = GetParam();
    const DateChoice choice = ChooseUploadTimeOn(UploadTimeDates(c.uploadTimes), c.typed);
    EXPECT_EQ(choice.outcome, c.outcome);
    if (c.outcome == DateOutcome::Picked) {
        EXPECT_EQ(choice.uploadTime, c.expected);
    }
    if (c.outcome == DateOutcome::BeforeFirstDay) {
        EXPECT_EQ(choice.firstDay, c.expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DateRule,
    ::testing::Values(
        DateCase{"WeekdayThatIsThere", kDays, "2008-09-12", DateOutcome::Picked, "2008-09-12"},
        DateCase{"Saturday", kDays, "2008-09-13", DateOutcome::Picked, "2008-09-12"},
        DateCase{"Sunday", kDays, "2008-09-14", DateOutcome::Picked, "2008-09-12"},
        DateCase{"MondayAfter", kDays, "2008-09-15", DateOutcome::Picked, "2008-09-15"},
        DateCase{"ChristmasDay", kDays, "2008-12-25", DateOutcome::Picked, "2008-12-24"},
        DateCase{"WeekAfterChristmas", kDays, "2008-12-28", DateOutcome::Picked, "2008-12-24"},
        DateCase{"AfterTheLastDay", kDays, "2030-01-01", DateOutcome::Picked, "2008-12-29"},
        DateCase{"BeforeTheFirstDay", kDays, "2008-09-10", DateOutcome::BeforeFirstDay, "2008-09-11"},
        DateCase{"FirstDay", kDays, "2008-09-11", DateOutcome::Picked, "2008-09-11"},
        DateCase{"MixedSaturdaySkipsATimeThatIsNoDate", kMixed, "2008-09-13", DateOutcome::Picked, "2008-09-12"},
        DateCase{"MixedHoliday", kMixed, "2008-12-26", DateOutcome::Picked, "2008-12-24"},
        DateCase{"MixedFarFutureNeverPicksANonDate", kMixed, "9999-12-31", DateOutcome::Picked, "2008-12-29"},
        DateCase{"MixedBeforeTheFirstDay", kMixed, "2008-02-29", DateOutcome::BeforeFirstDay, "2008-09-11"},
        DateCase{"NoUploadTimeIsADate", {"Batch 1", "2008-02-30", ""}, "2008-09-13", DateOutcome::NoDays, ""},
        DateCase{"EmptyList", {}, "2008-09-13", DateOutcome::NoDays, ""},
        DateCase{"TypedTextIsNotADate", kDays, "2008-9-13", DateOutcome::NotADate, ""},
        DateCase{"TypedDayDoesNotExist", kDays, "2008-09-31", DateOutcome::NotADate, ""},
        DateCase{"TypedNonDateUploadTime", kMixed, "Batch 1", DateOutcome::NotADate, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(UploadTimeDates, FromATableListsEachDayOnceOldestFirst)
{
    RateTable table('.', ByteCollation());
    // Newest first, a day in two runs, and upload times that are no dates.
    const char* rows[][2] = {{"2008-09-15", "USD"}, {"2008-09-15", "JPY"}, {"Batch", "USD"},     {"2008-09-11", "USD"},
                             {"2008-09-15", "GBP"}, {"2008-9-12", "USD"},  {"2008-09-12", "USD"}};
    for (const auto& row : rows)
        test::AddRow(table, row[0], row[1], "1");
    const UploadTimeDates dates = UploadTimeDates::Of(table);
    std::vector<std::string> listed;
    for (const auto& entry : dates.Entries()) {
        listed.push_back(entry.uploadTime);
        EXPECT_EQ(CalendarDayText(entry.day), entry.uploadTime);
    }
    EXPECT_EQ(listed, (std::vector<std::string>{"2008-09-11", "2008-09-12", "2008-09-15"}));
    ASSERT_NE(dates.FirstDay(), nullptr);
    EXPECT_EQ(dates.FirstDay()->uploadTime, "2008-09-11");
    EXPECT_EQ(dates.OnOrBefore(*CalendarDay("2008-09-14"))->uploadTime, "2008-09-12");
    EXPECT_EQ(dates.OnOrBefore(*CalendarDay("2008-09-10")), nullptr);
}

} // namespace
} // namespace zentaro
