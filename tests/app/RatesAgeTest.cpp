#include "app/FollowDataFile.h"
#include "app/RatesAge.h"

#include <QTimeZone>

#include <gtest/gtest.h>

namespace zentaro::test {
namespace {

using namespace std::chrono_literals;

QDateTime Utc(int year, int month, int day, int hour, int minute = 0)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute), QTimeZone::utc());
}

TEST(EcbDay, ReadsOnlyRealDatesInTheEcbForm)
{
    EXPECT_EQ(EcbDay("2024-10-11"), QDate(2024, 10, 11));
    EXPECT_EQ(EcbDay("2024-02-29"), QDate(2024, 2, 29));
    for (const char* other : {"", "A", "2023-02-29", "2024-13-01", "2024-1-11", "20241011", "2024-10-11 ",
                              " 2024-10-11", "2024/10/11", "2024-10-1x", "11-10-2024"})
        EXPECT_EQ(EcbDay(other), std::nullopt) << other;
    EXPECT_EQ(NewestEcbDay({"2024-10-11", "B", "2025-01-02", "2024-12-31"}), QDate(2025, 1, 2));
    EXPECT_EQ(NewestEcbDay({"A", "B"}), std::nullopt);
}

struct PublicationCase {
    const char* name;
    QDateTime now;
    QDate expected;
};

class LatestPublication : public ::testing::TestWithParam<PublicationCase> {};

TEST_P(LatestPublication, IsTheLastWorkingDayPastFourInFrankfurt)
{
    EXPECT_EQ(LatestEcbPublication(GetParam().now), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Clock, LatestPublication,
    ::testing::Values(
        // Summer: Frankfurt is two hours ahead of UTC.
        PublicationCase{"FridayAfterFourSummer", Utc(2024, 10, 11, 14, 0), QDate(2024, 10, 11)},
        PublicationCase{"FridayBeforeFourSummer", Utc(2024, 10, 11, 13, 59), QDate(2024, 10, 10)},
        PublicationCase{"Saturday", Utc(2024, 10, 12, 20, 0), QDate(2024, 10, 11)},
        PublicationCase{"MondayMorning", Utc(2024, 10, 14, 8, 0), QDate(2024, 10, 11)},
        // Winter: one hour ahead.
        PublicationCase{"TuesdayAtFourWinter", Utc(2024, 12, 10, 15, 0), QDate(2024, 12, 10)},
        PublicationCase{"TuesdayBeforeFourWinter", Utc(2024, 12, 10, 14, 59), QDate(2024, 12, 9)},
        // Already Monday in Frankfurt, still Sunday in UTC.
        PublicationCase{"SundayNightUtc", Utc(2024, 12, 15, 23, 30), QDate(2024, 12, 13)},
        // Friday morning in New York is Friday evening in Frankfurt.
        PublicationCase{"NewYorkMorning",
                        QDateTime(QDate(2024, 10, 11), QTime(11, 0), QTimeZone("America/New_York")),
                        QDate(2024, 10, 11)}),
    [](const auto& info) { return std::string(info.param.name); });

struct AgeCase {
    const char* name;
    const char* current;
    const char* newest;
    QDateTime now;
    const char* text;
    bool stale;
};

class RatesAgeLine : public ::testing::TestWithParam<AgeCase> {};

const QString kHowTo = QString::fromLatin1(kUpdateHowToText.data(), kUpdateHowToText.size());

TEST_P(RatesAgeLine, SaysTheDayItsAgeAndWhetherNewerRatesAreOut)
{
    const AgeCase& c = GetParam();
    const RatesAge age = DescribeRatesAge(c.current, c.newest, c.now, QLocale::c());
    EXPECT_EQ(age.text.toStdString(), c.text);
    EXPECT_EQ(age.stale, c.stale);
    EXPECT_EQ(age.hint, c.stale ? kHowTo : QString());
}

// Tuesday 9 Dec 2025, 11:00 in Frankfurt: Monday's rates are the latest.
const QDateTime kTuesdayMorning = Utc(2025, 12, 9, 10, 0);
// 17:00 in Frankfurt: Tuesday's are out.
const QDateTime kTuesdayEvening = Utc(2025, 12, 9, 16, 0);

INSTANTIATE_TEST_SUITE_P(
    Days, RatesAgeLine,
    ::testing::Values(
        AgeCase{"OldNewestDayWarns", "2024-10-11", "2024-10-11", kTuesdayMorning,
                "Rates of Fri 11 Oct 2024 \u00B7 424 days old", true},
        AgeCase{"OldDayPickedOnPurpose", "2024-10-11", "2025-12-08", kTuesdayMorning,
                "Rates of Fri 11 Oct 2024 \u00B7 424 days old", false},
        AgeCase{"Today", "2025-12-09", "2025-12-09", kTuesdayEvening, "Rates of today", false},
        AgeCase{"YesterdayIsTheLatest", "2025-12-08", "2025-12-08", kTuesdayMorning, "Rates of yesterday", false},
        AgeCase{"YesterdayAfterTodaysPublication", "2025-12-08", "2025-12-08", kTuesdayEvening,
                "Rates of yesterday", true},
        AgeCase{"FridayOverTheWeekend", "2025-12-05", "2025-12-05", Utc(2025, 12, 8, 10, 0),
                "Rates of Fri 5 Dec 2025 \u00B7 3 days old", false},
        AgeCase{"DayAhead", "2025-12-10", "2025-12-10", kTuesdayMorning, "Rates of Wed 10 Dec 2025", false},
        AgeCase{"NotADate", "Week 41", "Week 41", kTuesdayMorning, "Rates of Week 41", false},
        AgeCase{"NoUploadTime", "", "", kTuesdayMorning, "", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RatesAgeLineText, NamesDaysInTheUsersLanguage)
{
    const QLocale german(QLocale::German, QLocale::Germany);
    const RatesAge age = DescribeRatesAge("2024-10-11", "2024-10-11", kTuesdayMorning, german);
    EXPECT_TRUE(age.text.startsWith(QStringLiteral("Rates of ") + german.dayName(5, QLocale::ShortFormat)))
        << age.text.toStdString();
    EXPECT_TRUE(age.text.contains(german.monthName(10, QLocale::ShortFormat))) << age.text.toStdString();
    EXPECT_TRUE(age.text.endsWith(QStringLiteral("2024 \u00B7 424 days old"))) << age.text.toStdString();
}

TEST(RatesAgeLineText, AFailedUpdateIsInTheHint)
{
    const RatesAge stale =
        DescribeRatesAge("2024-10-11", "2024-10-11", kTuesdayMorning, QLocale::c(), "Cannot open URL x");
    EXPECT_EQ(stale.hint, QStringLiteral("Could not update: Cannot open URL x\n") + kHowTo);
    const RatesAge other = DescribeRatesAge("A", "A", kTuesdayMorning, QLocale::c(), "Error while downloading x");
    EXPECT_EQ(other.hint, QStringLiteral("Could not update: Error while downloading x"));
    EXPECT_FALSE(other.stale);
}

struct DueCase {
    const char* name;
    AutoUpdateState state;
    bool due;
};

class AutoUpdateDueRule : public ::testing::TestWithParam<DueCase> {};

TEST_P(AutoUpdateDueRule, FetchesOnlyWhenNewerRatesAreOutAndNotTooOften)
{
    EXPECT_EQ(AutoUpdateDue(GetParam().state, kTuesdayMorning, 1h), GetParam().due);
}

const QDate kMonday(2025, 12, 8);
const QDate kFriday(2025, 12, 5);

INSTANTIATE_TEST_SUITE_P(
    States, AutoUpdateDueRule,
    ::testing::Values(DueCase{"Stale", {true, false, kFriday, std::nullopt}, true},
                      DueCase{"Current", {true, false, kMonday, std::nullopt}, false},
                      DueCase{"NoEcbDayAtAll", {true, false, std::nullopt, std::nullopt}, true},
                      DueCase{"SwitchedOff", {false, false, kFriday, std::nullopt}, false},
                      DueCase{"AlreadyRunning", {true, true, kFriday, std::nullopt}, false},
                      DueCase{"TriedWithinTheHour", {true, false, kFriday, kTuesdayMorning.addSecs(-59 * 60)}, false},
                      DueCase{"TriedAnHourAgo", {true, false, kFriday, kTuesdayMorning.addSecs(-60 * 60)}, true},
                      // A clock set back must not hold the updates off for good.
                      DueCase{"TriedInTheFuture", {true, false, kFriday, kTuesdayMorning.addSecs(3600)}, true}),
    [](const auto& info) { return std::string(info.param.name); });

struct FollowCase {
    const char* name;
    const char* current;
    std::vector<std::string> before;
    std::vector<std::string> after;
    const char* expected;
};

class FollowedTime : public ::testing::TestWithParam<FollowCase> {};

TEST_P(FollowedTime, KeepsAPickedDayAndFollowsTheNewest)
{
    const FollowCase& c = GetParam();
    EXPECT_EQ(FollowedUploadTime(c.current, c.before, c.after, c.after.empty() ? "" : c.after.back()), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Changes, FollowedTime,
    ::testing::Values(FollowCase{"NewerDayOnTheNewest", "B", {"A", "B"}, {"A", "B", "C"}, "C"},
                      FollowCase{"NewerDayOnAPickedOne", "A", {"A", "B"}, {"A", "B", "C"}, "A"},
                      FollowCase{"OlderDayOnTheNewest", "B", {"A", "B"}, {"0", "A", "B"}, "B"},
                      FollowCase{"PickedDayRemoved", "A", {"A", "B"}, {"B", "C"}, "C"},
                      FollowCase{"NewestRemoved", "B", {"A", "B"}, {"A"}, "A"},
                      FollowCase{"FirstDayIntoAnEmptyTable", "", {""}, {"A"}, "A"},
                      FollowCase{"EverythingCleared", "A", {"A"}, {""}, ""}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace zentaro::test
