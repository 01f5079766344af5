#include "store/NumberText.h"
#include "store/RateHistory.h"
#include "store/RateTable.h"
#include "tests/cli/CliCases.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace zentaro {
namespace {

const std::filesystem::path kExcerpt = std::filesystem::path(ZENTARO_ECB_DATA) / "ecb-eurofxref-hist-excerpt.csv";

std::vector<std::string> Split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::stringstream in(text);
    for (std::string part; std::getline(in, part, separator);)
        parts.push_back(part);
    return parts;
}

// The history file's own columns: day -> currency -> rate text, "N/A" left
// out and the euro at 1, as the ECB means them.
std::map<std::string, std::map<std::string, double>> ExcerptRates()
{
    const auto lines = Split(test::ReadFile(kExcerpt), '\n');
    const auto header = Split(lines.at(0), ',');
    std::map<std::string, std::map<std::string, double>> days;
    for (std::size_t l = 1; l < lines.size(); ++l) {
        const auto cells = Split(lines[l], ',');
        auto& day = days[cells.at(0)];
        day["EUR"] = 1;
        for (std::size_t c = 1; c < cells.size() && c < header.size(); ++c)
            if (cells[c] != "N/A" && !cells[c].empty())
                day[header[c]] = std::strtod(cells[c].c_str(), nullptr);
    }
    return days;
}

struct Expected {
    std::string date;
    double rate;
};

std::vector<Expected> ExpectedHistory(const std::string& from, const std::string& to)
{
    std::vector<Expected> expected;
    for (const auto& [date, rates] : ExcerptRates()) // a std::map: oldest first
        if (rates.contains(from) && rates.contains(to))
            expected.push_back({date, rates.at(to) / rates.at(from)});
    return expected;
}

class EcbHistory : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto imported = test::RunProcess(ZENTARO_CLI, {"import", file, kExcerpt.string()});
        ASSERT_EQ(imported.status, 0) << imported.err;
    }

    test::TempDir dir;
    std::string file = (dir / "data.kvx").string();
};

TEST_F(EcbHistory, SeriesMatchesTheFilesColumns)
{
    RateTable table('.');
    table.LoadFromFile(file);
    // USD and JPY every day; BGN not in 1999; CYP only in 1999; GBP against itself.
    const std::pair<const char*, const char*> pairs[] = {
        {"USD", "JPY"}, {"JPY", "USD"}, {"BGN", "USD"}, {"CYP", "JPY"}, {"EUR", "CZK"}, {"GBP", "GBP"}};
    for (const auto& [from, to] : pairs) {
        const auto expected = ExpectedHistory(from, to);
        const auto points = PairHistory(table, from, to);
        ASSERT_EQ(points.size(), expected.size()) << from << " in " << to;
        for (std::size_t i = 0; i < points.size(); ++i) {
            EXPECT_EQ(points[i].date, expected[i].date);
            EXPECT_NEAR(points[i].rate, expected[i].rate, std::abs(expected[i].rate) * 1e-14)
                << from << " in " << to << " on " << expected[i].date;
        }
    }
    EXPECT_EQ(ExpectedHistory("BGN", "USD").size(), 4u) << "the excerpt's 1999 days have no BGN";
    EXPECT_EQ(ExpectedHistory("CYP", "JPY").size(), 2u);
    EXPECT_TRUE(PairHistory(table, "CYP", "BGN").empty());
}

TEST_F(EcbHistory, CliPrintsTheSeriesInTheResultFormat)
{
    const auto result = test::RunProcess(ZENTARO_CLI, {"--decimal-separator", ",", "history", file, "USD", "JPY"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "");
    // The file's own rates in the result format, with the separator asked for.
    std::string expected;
    for (const auto& [date, rate] : ExpectedHistory("USD", "JPY"))
        expected += date + "\t" + ResultText(rate, ',') + "\n";
    EXPECT_EQ(result.out, expected);
    const auto lines = Split(result.out, '\n');
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines.front(), "1999-01-04\t113,436254"); // 133.73 / 1.1789
}

TEST_F(EcbHistory, CliRangeAndFailures)
{
    const auto range = test::RunProcess(
        ZENTARO_CLI, {"history", file, "EUR", "USD", "--since", "2008-01-01", "--until", "2024-10-10"});
    EXPECT_EQ(range.status, 0) << range.err;
    EXPECT_EQ(range.out, "2008-10-24\t1.2596\n2024-10-09\t1.0957\n2024-10-10\t1.0932\n");

    const auto since = test::RunProcess(ZENTARO_CLI, {"history", file, "EUR", "USD", "--since", "2024-10-11"});
    EXPECT_EQ(since.out, "2024-10-11\t1.0938\n");

    const auto none = test::RunProcess(ZENTARO_CLI, {"history", file, "CYP", "BGN"});
    EXPECT_EQ(none.status, 1);
    EXPECT_EQ(none.out, "");
    EXPECT_EQ(none.err, "No days with rates of both CYP and BGN\n");

    const auto emptyRange =
        test::RunProcess(ZENTARO_CLI, {"history", file, "CYP", "JPY", "--since", "2000-01-01", "--until", "2001-01-01"});
    EXPECT_EQ(emptyRange.status, 1);
    EXPECT_EQ(emptyRange.err, "No days with rates of both CYP and JPY since 2000-01-01 until 2001-01-01\n");

    const auto badDate = test::RunProcess(ZENTARO_CLI, {"history", file, "EUR", "USD", "--until", "2024-10-1"});
    EXPECT_EQ(badDate.status, 1);
    EXPECT_THAT(badDate.err, ::testing::StartsWith("zentaro-cli: --until takes a date YYYY-MM-DD\nusage:"));

    const auto oneCurrency = test::RunProcess(ZENTARO_CLI, {"history", "EUR"});
    EXPECT_EQ(oneCurrency.status, 1);
    EXPECT_THAT(oneCurrency.err, ::testing::StartsWith("zentaro-cli: history takes [FILE] FROM TO\n"));
}

// convert - with its standard input from a file.
test::ProcessResult ConvertFromInput(const std::vector<std::string>& args, const std::string& input,
                                     const test::TempDir& dir)
{
    const auto inputFile = dir / "input.txt";
    test::WriteFile(inputFile, input);
    return test::RunProcess(ZENTARO_CLI, args, {"LC_ALL=C"}, inputFile.string());
}

class BatchConvert : public ::testing::Test, protected test::DataFileFolder {
protected:
    void SetUp() override
    {
        Save({{"2008-09-12", "EUR", "1"}, {"2008-09-12", "USD", "4"}, {"2008-09-15", "EUR", "1"},
              {"2008-09-15", "USD", "2"}, {"2008-09-15", "JPY", "300"}, {"2008-09-15", "ZER", "0"}});
    }
};

TEST_F(BatchConvert, GoodLinesOnly)
{
    const auto result =
        ConvertFromInput({"convert", file, "-"}, "1 USD JPY\n10 EUR USD\n  2.5\tJPY   EUR \r\n7 USD USD", dir);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "150\n20\n0.008333\n7\n");
    EXPECT_EQ(result.err, "");
}

TEST_F(BatchConvert, BadLinesSayWhyOnStandardErrorAndLeaveTheirLineEmpty)
{
    const std::string input = "1 USD JPY\n"
                              "1 GBP JPY\n"   // unknown source
                              "5- USD EUR\n"  // bad amount
                              "\n"            // nothing
                              "1 USD\n"       // too few words
                              "1 USD JPY EUR\n"
                              "1 ZER EUR\n"   // division by zero
                              "3 EUR USD\n";
    const auto result = ConvertFromInput({"--decimal-separator", ".", "convert", file, "-"}, input, dir);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "150\n\n\n\n\n\n\n6\n");
    EXPECT_EQ(result.err, "line 2: Unknown currency GBP at upload time 2008-09-15\n"
                          "line 3: '5-' is not a valid floating point value\n"
                          "line 4: expected AMOUNT FROM TO\n"
                          "line 5: expected AMOUNT FROM TO\n"
                          "line 6: expected AMOUNT FROM TO\n"
                          "line 7: Floating point division by zero\n");
}

TEST_F(BatchConvert, TakesTheTimeOptionsAndTheSeparator)
{
    const auto on = ConvertFromInput({"--decimal-separator", ",", "convert", file, "-", "--on", "2008-09-14"},
                                     "1,5 EUR USD\n1 USD EUR\n1 EUR JPY\n", dir);
    EXPECT_EQ(on.status, 1);
    EXPECT_EQ(on.out, "6\n0,25\n\n");
    EXPECT_EQ(on.err, "line 3: Unknown currency JPY at upload time 2008-09-12\n");

    const auto missing = ConvertFromInput({"convert", file, "-", "--time", "2008-09-13"}, "1 EUR USD\n", dir);
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.out, "");
    EXPECT_EQ(missing.err, "No rates at upload time 2008-09-13 (the nearest earlier day is 2008-09-12)\n");

    const auto empty = ConvertFromInput({"convert", file, "-"}, "", dir);
    EXPECT_EQ(empty.status, 0);
    EXPECT_EQ(empty.out, "");
}

TEST_F(BatchConvert, ADashAmountWithCurrenciesIsOneConversion)
{
    const auto result = test::RunProcess(ZENTARO_CLI, {"convert", file, "-", "USD", "EUR"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "'-' is not a valid floating point value\n");
}

} // namespace
} // namespace zentaro
