#include "tests/cli/CliCases.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace zentaro {
namespace {

using test::CliCase;

class ConvertCommands : public test::CliCaseTest {
protected:
    void SetUp() override
    {
        Save({{"2024-01-01", "USD", "2"},   {"2024-01-01", "GBP", "0.5"}, {"2024-01-02", "usd", "7"},
              {"2024-01-02", "USD", "1"},   {"2024-01-02", "ZER", "0"},   {"2024-01-02", "EUR", "0.9"},
              {"2024-01-02", "EUR", "0.8"}});
    }
};

TEST_P(ConvertCommands, PrintsOrFails)
{
    const auto result = RunCase();
    EXPECT_EQ(result.status, GetParam().status) << result.err;
    EXPECT_EQ(result.out, GetParam().out);
    EXPECT_EQ(result.err, GetParam().err);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ConvertCommands,
    ::testing::Values(
        CliCase{"TimesInListOrder", {"times", "DATA"}, 0, "2024-01-01\n2024-01-02\n", ""},
        CliCase{"CurrenciesOfTheCurrentTimeSorted", {"currencies", "DATA"}, 0, "EUR\nusd\nUSD\nZER\n", ""},
        CliCase{"CurrenciesOfAnotherTime", {"currencies", "DATA", "--time", "2024-01-01"}, 0, "GBP\nUSD\n", ""},
        CliCase{"CurrenciesOfAnUnknownTime", {"currencies", "--time", "NONE", "DATA"}, 1, "",
                "No rates at upload time NONE\n"},
        CliCase{"ConvertWithTheLastMatchingRate", {"convert", "DATA", "10", "USD", "EUR"}, 0, "8\n", ""},
        CliCase{"ConvertAtAnotherTime", {"convert", "DATA", "1", "GBP", "USD", "--time", "2024-01-01"}, 0, "4\n", ""},
        CliCase{"SixDecimals", {"convert", "DATA", "1", "usd", "USD"}, 0, "0.142857\n", ""},
        CliCase{"EmptyAmountIsZero", {"convert", "DATA", "", "USD", "EUR"}, 0, "0\n", ""},
        CliCase{"UnknownSourceNeverUsesAStaleRate", {"convert", "DATA", "1", "GBP", "USD"}, 1, "",
                "Unknown currency GBP at upload time 2024-01-02\n"},
        CliCase{"UnknownTarget", {"convert", "DATA", "1", "USD", "Eur"}, 1, "",
                "Unknown currency Eur at upload time 2024-01-02\n"},
        CliCase{"BadAmount", {"convert", "DATA", "5-", "USD", "EUR"}, 1, "",
                "'5-' is not a valid floating point value\n"},
        CliCase{"DivisionByZero", {"convert", "DATA", "1", "ZER", "EUR"}, 1, "",
                "Floating point division by zero\n"},
        CliCase{"MissingFile", {"times", "/nonexistent/zentaro.kvx"}, 1, "",
                "Cannot open file \"/nonexistent/zentaro.kvx\". No such file or directory\n"}),
    test::CliCaseName);

TEST(ConvertCommandsSeparator, CommaReadsAndWritesWithComma)
{
    test::TempDir dir;
    const std::string file = (dir / "data.kvx").string();
    RateTable table(',', ByteCollation());
    const char* rows[][2] = {{"A", "1"}, {"B", "3"}};
    for (const auto& row : rows)
        test::AddRow(table, "T", row[0], row[1]);
    table.SaveToFile(file);
    const auto result =
        test::RunProcess(ZENTARO_CLI, {"--decimal-separator", ",", "convert", file, "1,5", "B", "A"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "0,5\n");
}

TEST(ConvertCommandsEmptyTable, HasNoCurrencyToConvert)
{
    const test::DataFileFolder data;
    data.Save({});
    const auto result = test::RunProcess(ZENTARO_CLI, {"convert", data.file, "1", "", ""});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "Unknown currency  at upload time \n");
}

} // namespace
} // namespace zentaro
