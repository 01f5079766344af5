#include "store/RateTable.h"
#include "tests/common/RunProcess.h"
#include "tests/common/TableRows.h"
#include "tests/common/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace zentaro {
namespace {

struct CliCase {
    const char* name;
    std::vector<std::string> args; // "DATA" stands for the data file
    int status;
    std::string out;
    std::string err;
};

// Test names carry the case; the listing needs no byte dump of it.
void PrintTo(const CliCase& c, std::ostream* out) { *out << c.name; }

class ConvertCommands : public ::testing::TestWithParam<CliCase> {
protected:
    void SetUp() override
    {
        RateTable table('.', ByteCollation());
        const char* rows[][3] = {
            {"OLD", "USD", "2"},   {"OLD", "GBP", "0.5"}, {"NEW", "usd", "7"}, {"NEW", "USD", "1"},
            {"NEW", "ZER", "0"},   {"NEW", "EUR", "0.9"}, {"NEW", "EUR", "0.8"},
        };
        for (const auto& row : rows)
            test::AddRow(table, row[0], row[1], row[2]);
        table.SaveToFile(file);
    }

    test::TempDir dir;
    std::string file = (dir / "data.kvx").string();
};

TEST_P(ConvertCommands, PrintsOrFails)
{
    std::vector<std::string> args{"--decimal-separator", "."};
    for (const auto& arg : GetParam().args)
        args.push_back(arg == "DATA" ? file : arg);
    const auto result = test::RunProcess(ZENTARO_CLI, args);
    EXPECT_EQ(result.status, GetParam().status) << result.err;
    EXPECT_EQ(result.out, GetParam().out);
    EXPECT_EQ(result.err, GetParam().err);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ConvertCommands,
    ::testing::Values(
        CliCase{"TimesInListOrder", {"times", "DATA"}, 0, "OLD\nNEW\n", ""},
        CliCase{"CurrenciesOfTheCurrentTimeSorted", {"currencies", "DATA"}, 0, "EUR\nusd\nUSD\nZER\n", ""},
        CliCase{"CurrenciesOfAnotherTime", {"currencies", "DATA", "--time", "OLD"}, 0, "GBP\nUSD\n", ""},
        CliCase{"CurrenciesOfAnUnknownTime", {"currencies", "--time", "NONE", "DATA"}, 1, "",
                "No rates at upload time NONE\n"},
        CliCase{"ConvertWithTheLastMatchingRate", {"convert", "DATA", "10", "USD", "EUR"}, 0, "8\n", ""},
        CliCase{"ConvertAtAnotherTime", {"convert", "DATA", "1", "GBP", "USD", "--time", "OLD"}, 0, "4\n", ""},
        CliCase{"SixDecimals", {"convert", "DATA", "1", "usd", "USD"}, 0, "0.142857\n", ""},
        CliCase{"EmptyAmountIsZero", {"convert", "DATA", "", "USD", "EUR"}, 0, "0\n", ""},
        CliCase{"UnknownSourceNeverUsesAStaleRate", {"convert", "DATA", "1", "GBP", "USD"}, 1, "",
                "Unknown currency GBP at upload time NEW\n"},
        CliCase{"UnknownTarget", {"convert", "DATA", "1", "USD", "Eur"}, 1, "",
                "Unknown currency Eur at upload time NEW\n"},
        CliCase{"BadAmount", {"convert", "DATA", "5-", "USD", "EUR"}, 1, "",
                "'5-' is not a valid floating point value\n"},
        CliCase{"DivisionByZero", {"convert", "DATA", "1", "ZER", "EUR"}, 1, "",
                "Floating point division by zero\n"},
        CliCase{"MissingFile", {"times", "/nonexistent/zentaro.kvx"}, 1, "",
                "Cannot open file \"/nonexistent/zentaro.kvx\". No such file or directory\n"}),
    [](const auto& info) { return std::string(info.param.name); });

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
    test::TempDir dir;
    const std::string file = (dir / "empty.kvx").string();
    RateTable('.', ByteCollation()).SaveToFile(file);
    const auto result = test::RunProcess(ZENTARO_CLI, {"convert", file, "1", "", ""});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "Unknown currency  at upload time \n");
}

} // namespace
} // namespace zentaro
