#include "tests/cli/CliCases.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace zentaro {
namespace {

using DateCliCase = test::CliCase; // a usage error's text is followed by the usage

// Working days around a weekend (13-14 September 2008) and Christmas, and
// an upload time that is no date, current because it was imported last.
class DateOptions : public test::CliCaseTest {
protected:
    void SetUp() override
    {
        const char* days[][2] = {{"2008-09-11", "2"}, {"2008-09-12", "4"},  {"2008-09-15", "5"},
                                 {"2008-12-24", "8"}, {"2008-12-29", "10"}, {"Batch 7", "100"}};
        std::vector<test::Row> rows;
        for (const auto& day : days) {
            rows.push_back({day[0], "EUR", "1"});
            rows.push_back({day[0], "USD", day[1]});
            if (std::string_view(day[0]) == "2008-09-12")
                rows.push_back({day[0], "GBP", "0.8"});
        }
        Save(rows);
    }
};

TEST_P(DateOptions, PicksTheDayOrSaysWhyNot)
{
    const std::string before = test::ReadFile(file);
    const auto result = RunCase();
    EXPECT_EQ(result.status, GetParam().status) << result.err;
    EXPECT_EQ(result.out, GetParam().out);
    if (GetParam().err.starts_with("zentaro-cli: ")) {
        EXPECT_THAT(result.err, ::testing::StartsWith(GetParam().err + "usage:"));
    } else {
        EXPECT_EQ(result.err, GetParam().err);
    }
    if (result.status != 0) {
        EXPECT_EQ(test::ReadFile(file), before) << "a failed command left the file changed";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DateOptions,
    ::testing::Values(
        DateCliCase{"OnAWeekday", {"convert", "DATA", "1", "EUR", "USD", "--on", "2008-09-12"}, 0, "4\n", ""},
        DateCliCase{"OnASaturday", {"convert", "DATA", "1", "EUR", "USD", "--on", "2008-09-13"}, 0, "4\n", ""},
        DateCliCase{"OnASunday", {"convert", "--on", "2008-09-14", "DATA", "1", "EUR", "USD"}, 0, "4\n", ""},
        DateCliCase{"OnAHoliday", {"convert", "DATA", "2", "EUR", "USD", "--on", "2008-12-26"}, 0, "16\n", ""},
        DateCliCase{"OnAfterTheLastDaySkipsTheTimeThatIsNoDate",
                    {"convert", "DATA", "1", "EUR", "USD", "--on", "2099-01-01"}, 0, "10\n", ""},
        DateCliCase{"OnBeforeTheFirstDay", {"convert", "DATA", "1", "EUR", "USD", "--on", "2008-09-10"}, 1, "",
                    "No rates on or before 2008-09-10 (the first day is 2008-09-11)\n"},
        DateCliCase{"CurrenciesOnASunday", {"currencies", "DATA", "--on", "2008-09-14"}, 0, "EUR\nGBP\nUSD\n", ""},
        DateCliCase{"CurrenciesOnBeforeTheFirstDay", {"currencies", "DATA", "--on", "1999-01-01"}, 1, "",
                    "No rates on or before 1999-01-01 (the first day is 2008-09-11)\n"},
        DateCliCase{"OnADayThatDoesNotExist", {"convert", "DATA", "1", "EUR", "USD", "--on", "2008-09-31"}, 1, "",
                    "zentaro-cli: --on takes a date YYYY-MM-DD\n"},
        DateCliCase{"OnANonDate", {"currencies", "DATA", "--on", "Batch 7"}, 1, "",
                    "zentaro-cli: --on takes a date YYYY-MM-DD\n"},
        DateCliCase{"OnAndTimeTogether", {"currencies", "DATA", "--on", "2008-09-12", "--time", "2008-09-12"}, 1,
                    "", "zentaro-cli: --time and --on exclude each other\n"},
        DateCliCase{"NoOptionIsTheCurrentTime", {"convert", "DATA", "1", "EUR", "USD"}, 0, "100\n", ""},
        DateCliCase{"TimeStaysExact", {"convert", "DATA", "1", "EUR", "USD", "--time", "2008-09-15"}, 0, "5\n", ""},
        DateCliCase{"TimeThatIsNoDate", {"convert", "DATA", "1", "EUR", "USD", "--time", "Batch 7"}, 0, "100\n", ""},
        DateCliCase{"ConvertTimeOnASaturday", {"convert", "DATA", "1", "EUR", "USD", "--time", "2008-09-13"}, 1, "",
                    "No rates at upload time 2008-09-13 (the nearest earlier day is 2008-09-12)\n"},
        DateCliCase{"ConvertTimeBeforeTheFirstDay", {"convert", "DATA", "1", "EUR", "USD", "--time", "2008-01-02"},
                    1, "", "No rates at upload time 2008-01-02\n"},
        DateCliCase{"ConvertTimeThatIsNoDate", {"convert", "DATA", "1", "EUR", "USD", "--time", "Batch 8"}, 1, "",
                    "No rates at upload time Batch 8\n"},
        DateCliCase{"CurrenciesTimeOnAHoliday", {"currencies", "DATA", "--time", "2008-12-25"}, 1, "",
                    "No rates at upload time 2008-12-25 (the nearest earlier day is 2008-12-24)\n"},
        DateCliCase{"CurrenciesTimeDiffersInCase", {"currencies", "DATA", "--time", "batch 7"}, 1, "",
                    "No rates at upload time batch 7\n"},
        DateCliCase{"RemoveTimeOnASaturday", {"remove", "DATA", "2008-09-13"}, 1, "",
                    "No rates at upload time 2008-09-13 (the nearest earlier day is 2008-09-12)\n"},
        DateCliCase{"RemoveTimeThatIsNoDate", {"remove", "DATA", "Batch"}, 1, "", "No rates at upload time Batch\n"},
        DateCliCase{"RemoveTimeThatIsThere", {"remove", "DATA", "2008-09-12"}, 0, "", ""}),
    test::CliCaseName);

TEST(DateOptionsWithoutDays, OnSaysThatNoUploadTimeIsADate)
{
    const test::DataFileFolder data;
    data.Save({{"Batch 1", "EUR", "1"}, {"2008-9-12", "EUR", "1"}});
    const auto result =
        test::RunProcess(ZENTARO_CLI, {"convert", data.file, "1", "EUR", "EUR", "--on", "2008-09-12"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "No rates on or before 2008-09-12 (no upload time is a date)\n");
}

TEST(Version, PrintsTheProjectVersion)
{
    const auto result = test::RunProcess(ZENTARO_CLI, {"--version"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, std::string("zentaro-cli ") + ZENTARO_VERSION + "\n");
    EXPECT_EQ(result.err, "");
    EXPECT_THAT(result.out, ::testing::MatchesRegex("zentaro-cli [0-9]+\\.[0-9]+(\\.[0-9]+)*\n"));
}

} // namespace
} // namespace zentaro
