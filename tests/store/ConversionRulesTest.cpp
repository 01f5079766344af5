#include "store/ConversionRules.h"
#include "store/RateTable.h"
#include "store/StoreError.h"
#include "tests/common/TempDir.h"
#include "tests/common/TableRows.h"
#include "tests/common/ErrorText.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>

namespace zentaro {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;
using ::testing::Optional;

using test::Row;

void Fill(RateTable& table, const std::vector<Row>& rows) { test::AddRows(table, rows); }

std::string Message(const std::function<void()>& action) { return test::ErrorText(action); }

// --- upload-time list -------------------------------------------------------

struct TimeListCase {
    const char* name;
    std::vector<Row> rows;
    std::vector<std::string> entries;
    std::string text;
};

// Test names carry the case; the listing needs no byte dump of it.
void PrintTo(const TimeListCase& c, std::ostream* out) { *out << c.name; }

class UploadTimeListTest : public ::testing::TestWithParam<TimeListCase> {};

TEST_P(UploadTimeListTest, OneEntryPerRunInTableOrder)
{
    RateTable table('.', ByteCollation());
    Fill(table, GetParam().rows);
    const UploadTimeList list = BuildUploadTimeList(table);
    EXPECT_THAT(list.entries, ElementsAreArray(GetParam().entries));
    EXPECT_EQ(list.text, GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Tables, UploadTimeListTest,
    ::testing::Values(
        TimeListCase{"EmptyTableGivesOneEmptyEntry", {}, {""}, ""},
        TimeListCase{"OneRow", {{"T1", "USD", "1"}}, {"T1"}, "T1"},
        TimeListCase{"BatchesOldestFirstNewestIsText",
                     {{"A", "USD", "1"}, {"A", "EUR", "2"}, {"B", "USD", "3"}, {"C", "USD", "4"}},
                     {"A", "B", "C"},
                     "C"},
        TimeListCase{"SeparatedRowsOfATimeStandTogether",
                     {{"A", "USD", "1"}, {"B", "USD", "2"}, {"A", "EUR", "3"}},
                     {"A", "B"},
                     "B"},
        TimeListCase{"DaysOldestFirstWhateverTheImportOrder",
                     {{"2024-10-11", "USD", "1"}, {"1999-01-04", "USD", "2"}, {"2024-10-10", "USD", "3"},
                      {"2010-01-01", "USD", "4"}},
                     {"1999-01-04", "2010-01-01", "2024-10-10", "2024-10-11"},
                     "2024-10-11"},
        TimeListCase{"CaseMatters", {{"a", "X", "1"}, {"A", "X", "1"}}, {"A", "a"}, "a"},
        TimeListCase{"EmptyTimeSortsFirst", {{"A", "X", "1"}, {"", "X", "1"}}, {"", "A"}, "A"}),
    [](const auto& info) { return std::string(info.param.name); });

// --- currency pass ----------------------------------------------------------

struct PassCase {
    const char* name;
    std::vector<Row> rows;
    std::string uploadTime;
    std::vector<std::string> entries;
    std::string text;
    std::string lastRateText;
};

void PrintTo(const PassCase& c, std::ostream* out) { *out << c.name; }

class CurrencyPassTest : public ::testing::TestWithParam<PassCase> {};

TEST_P(CurrencyPassTest, BuildsEntriesTextAndLastRate)
{
    RateTable table('.', ByteCollation());
    Fill(table, GetParam().rows);
    const CurrencyPass pass = BuildCurrencyList(table, GetParam().uploadTime);
    EXPECT_THAT(pass.entries, ElementsAreArray(GetParam().entries));
    EXPECT_EQ(pass.text, GetParam().text);
    EXPECT_EQ(pass.lastRateText, GetParam().lastRateText);
}

INSTANTIATE_TEST_SUITE_P(
    Tables, CurrencyPassTest,
    ::testing::Values(
        PassCase{"EmptyTable", {}, "", {""}, "", ""},
        PassCase{"OneRowStillSetsTheRate", {{"T", "USD", "1.5"}}, "T", {"USD"}, "USD", "1.5"},
        PassCase{"OrderMetAndLastCodeIsText",
                 {{"T", "USD", "1"}, {"T", "EUR", "0.9"}, {"T", "JPY", "120"}},
                 "T",
                 {"USD", "EUR", "JPY"},
                 "JPY",
                 "120"},
        PassCase{"OnlyTheGivenTime",
                 {{"2024-01-01", "GBP", "0.8"}, {"2024-01-02", "USD", "1"}, {"2024-01-02", "EUR", "0.9"}},
                 "2024-01-02",
                 {"USD", "EUR"},
                 "EUR",
                 "0.9"},
        PassCase{"RepeatedCodeInARowAddedOnce",
                 {{"T", "USD", "1"}, {"T", "USD", "2"}, {"T", "EUR", "3"}},
                 "T",
                 {"USD", "EUR"},
                 "EUR",
                 "3"},
        PassCase{"CodeWithAnotherBetweenAddedTwice",
                 {{"T", "USD", "1"}, {"T", "EUR", "2"}, {"T", "USD", "3"}},
                 "T",
                 {"USD", "EUR", "USD"},
                 "USD",
                 "3"},
        PassCase{"RateComesFromTheLastRowWhateverItsTime",
                 {{"T", "USD", "1"}, {"U", "EUR", "7"}},
                 "T",
                 {"USD"},
                 "USD",
                 "7"},
        PassCase{"NullRateReadsEmpty", {{"T", "USD", "1"}, {"T", "EUR", ""}}, "T", {"USD", "EUR"}, "EUR", ""},
        PassCase{"NoRowOfTheTime", {{"A", "USD", "1"}}, "B", {}, "", "1"},
        // Only the first row is added without comparing with the list's text.
        PassCase{"EmptyCodeAfterAnUnmatchedFirstRow", {{"A", "X", "1"}, {"B", "", "2"}}, "B", {}, "", "2"},
        PassCase{"EmptyCodeOnTheFirstRow", {{"A", "", "2"}, {"A", "X", "3"}}, "A", {"", "X"}, "X", "3"}),
    [](const auto& info) { return std::string(info.param.name); });

// --- sorted lists -----------------------------------------------------------

TEST(CurrencySortTest, ComparesWithoutRegardToCase)
{
    EXPECT_EQ(CompareCurrencyEntries("usd", "USD"), 0);
    EXPECT_LT(CompareCurrencyEntries("EUR", "usd"), 0);
    EXPECT_GT(CompareCurrencyEntries("jpy", "EUR"), 0);
    EXPECT_LT(CompareCurrencyEntries("US", "USD"), 0);
    EXPECT_LT(CompareCurrencyEntries("", "A"), 0);
    // Bytes above 127 sort after the letters, not before them as signed chars would.
    EXPECT_GT(CompareCurrencyEntries("\xc3\xa9", "z"), 0);
}

TEST(CurrencySortTest, SortIsStableForEntriesEqualButForCase)
{
    EXPECT_THAT(SortCurrencyEntries({"usd", "EUR", "USD", "jpy", "Usd", "aud"}),
                ElementsAre("aud", "EUR", "jpy", "usd", "USD", "Usd"));
    EXPECT_THAT(SortCurrencyEntries({}), IsEmpty());
}

TEST(CurrencySortTest, InsertPositionKeepsTheOrder)
{
    const std::vector<std::string> sorted{"aud", "EUR", "usd"};
    EXPECT_EQ(SortedInsertPosition(sorted, "AAA"), 0u);
    EXPECT_EQ(SortedInsertPosition(sorted, "chf"), 1u);
    EXPECT_EQ(SortedInsertPosition(sorted, "eur"), 2u); // after its equal
    EXPECT_EQ(SortedInsertPosition(sorted, "zar"), 3u);
    EXPECT_EQ(SortedInsertPosition({}, "x"), 0u);
}

TEST(CurrencySortTest, InsertingOneByOneEqualsSortingOnce)
{
    const std::vector<std::string> met{"USD", "eur", "JPY", "Eur", "", "aud", "usd", "EUR"};
    std::vector<std::string> list;
    for (const auto& entry : met)
        list.insert(list.begin() + static_cast<std::ptrdiff_t>(SortedInsertPosition(list, entry)), entry);
    EXPECT_EQ(list, SortCurrencyEntries(met));
}

// --- rate lookup ------------------------------------------------------------

class LookUpRateTest : public ::testing::Test {
protected:
    LookUpRateTest()
    {
        Fill(table, {{"OLD", "USD", "1.2"},
                     {"NEW", "USD", "1"},
                     {"NEW", "EUR", "0.9"},
                     {"NEW", "EUR", "0.95"},
                     {"NEW", "eur", "5"},
                     {"NEW", "GBP", ""}});
    }
    RateTable table{'.', ByteCollation()};
};

TEST_F(LookUpRateTest, FindsTheRateOfTimeAndCurrency)
{
    EXPECT_THAT(LookUpRate(table, "NEW", "USD"), Optional(std::string("1")));
    EXPECT_THAT(LookUpRate(table, "OLD", "USD"), Optional(std::string("1.2")));
}

TEST_F(LookUpRateTest, LastMatchWins)
{
    EXPECT_THAT(LookUpRate(table, "NEW", "EUR"), Optional(std::string("0.95")));
}

TEST_F(LookUpRateTest, ComparisonsAreExact)
{
    EXPECT_THAT(LookUpRate(table, "NEW", "eur"), Optional(std::string("5")));
    EXPECT_EQ(LookUpRate(table, "NEW", "EU"), std::nullopt);
    EXPECT_EQ(LookUpRate(table, "new", "USD"), std::nullopt);
    EXPECT_EQ(LookUpRate(table, "OLD", "EUR"), std::nullopt);
    EXPECT_EQ(LookUpRate(table, "NEW", ""), std::nullopt);
}

TEST_F(LookUpRateTest, NullRateIsFoundAsEmptyText)
{
    EXPECT_THAT(LookUpRate(table, "NEW", "GBP"), Optional(std::string()));
}

TEST(LookUpRateEmptyTableTest, EmptyTextsMatchTheEmptyViews)
{
    RateTable table('.', ByteCollation());
    EXPECT_EQ(CurrentUploadTime(table), BuildUploadTimeList(table).text);
    EXPECT_THAT(LookUpRate(table, "", ""), Optional(std::string()));
    EXPECT_EQ(LookUpRate(table, "", "USD"), std::nullopt);
}

TEST(ClosedTableTest, EveryScanFailsWithTheTableError)
{
    test::TempDir dir;
    test::WriteFile(dir / "bad.kvx", "not a data packet at all");
    RateTable table('.', ByteCollation());
    EXPECT_THROW(table.LoadFromFile(dir / "bad.kvx"), std::exception);
    ASSERT_FALSE(table.Active());
    const std::string closed = "ClientDataSet1: Cannot perform this operation on a closed dataset";
    EXPECT_EQ(Message([&] { BuildUploadTimeList(table); }), closed);
    EXPECT_EQ(Message([&] { CurrentUploadTime(table); }), closed);
    EXPECT_EQ(Message([&] { BuildCurrencyList(table, ""); }), closed);
    EXPECT_EQ(Message([&] { LookUpRate(table, "", ""); }), closed);
    EXPECT_EQ(Message([&] { LookUpStoredRate(table, "", ""); }), closed);
}

// --- beyond 5,000 rows ------------------------------------------------------

TEST(LargeTableTest, RowsBeyondTheFiveThousandthAreReached)
{
    RateTable table('.', ByteCollation());
    std::vector<Row> rows;
    for (int i = 0; i < 6000; ++i)
        rows.push_back({"EARLY", std::string("C").append(std::to_string(i)), std::to_string(i)});
    rows.push_back({"LATE", "USD", "1"});
    rows.push_back({"LATE", "EUR", "0.9"});
    Fill(table, rows);

    const UploadTimeList times = BuildUploadTimeList(table);
    EXPECT_THAT(times.entries, ElementsAre("EARLY", "LATE"));
    EXPECT_EQ(times.text, "LATE");

    const CurrencyPass pass = BuildCurrencyList(table, "LATE");
    EXPECT_THAT(pass.entries, ElementsAre("USD", "EUR"));
    EXPECT_EQ(pass.lastRateText, "0.9");
    EXPECT_EQ(BuildCurrencyList(table, "EARLY").entries.size(), 6000u);

    EXPECT_THAT(LookUpRate(table, "LATE", "USD"), Optional(std::string("1")));
    EXPECT_THAT(LookUpRate(table, "EARLY", "C5999"), Optional(std::string("5999")));
}

// --- conversion -------------------------------------------------------------

struct ConvertCase {
    const char* name;
    char separator;
    std::string amount, source, target;
    EmptyAmount empty;
    std::string expected; // result text, or the error's text
};

void PrintTo(const ConvertCase& c, std::ostream* out) { *out << c.name; }

class ConvertAmountTest : public ::testing::TestWithParam<ConvertCase> {};

TEST_P(ConvertAmountTest, ResultOrError)
{
    const auto& c = GetParam();
    std::string got;
    try {
        got = ConvertAmount(c.amount, c.source, c.target, c.separator, c.empty);
    } catch (const StoreError& error) {
        got = error.what();
    }
    EXPECT_EQ(got, c.expected);
}

constexpr auto kZero = EmptyAmount::IsZero;
constexpr auto kText = EmptyAmount::IsText;

INSTANTIATE_TEST_SUITE_P(
    Cases, ConvertAmountTest,
    ::testing::Values(
        ConvertCase{"UsdToEur", '.', "10", "1", "0.9", kZero, "9"},
        ConvertCase{"OneThird", '.', "1", "3", "1", kZero, "0.333333"},
        ConvertCase{"EmptyAmountIsZero", '.', "", "1", "0.9", kZero, "0"},
        ConvertCase{"EmptyAmountAsText", '.', "", "1", "0.9", kText, "'' is not a valid floating point value"},
        ConvertCase{"SeparatorAloneIsZero", '.', ".", "1", "2", kZero, "0"},
        ConvertCase{"CommaSeparator", ',', "1,5", "2", "3", kZero, "2,25"},
        ConvertCase{"PointIsNotTheCommaSeparator", ',', "1.5", "2", "3", kZero,
                    "'1.5' is not a valid floating point value"},
        ConvertCase{"HugeResultInGeneralForm", '.', "1E20", "1", "1", kZero, "1E20"},
        ConvertCase{"TinyNegativeIsZero", '.', "-0.0000001", "1", "1", kZero, "0"},
        ConvertCase{"RoundsHalfAwayFromZero", '.', "0.0000015", "1", "1", kZero, "0.000002"},
        ConvertCase{"Negative", '.', "-2", "4", "1", kZero, "-0.5"},
        ConvertCase{"BadAmountFirst", '.', "5-", "x", "y", kZero, "'5-' is not a valid floating point value"},
        ConvertCase{"BadSourceBeforeTarget", '.', "1", "x", "y", kZero, "'x' is not a valid floating point value"},
        ConvertCase{"BadTarget", '.', "1", "1", "y", kZero, "'y' is not a valid floating point value"},
        ConvertCase{"EmptyRateText", '.', "1", "", "1", kZero, "'' is not a valid floating point value"},
        ConvertCase{"DivisionByZero", '.', "1", "0", "2", kZero, "Floating point division by zero"},
        ConvertCase{"ZeroByZero", '.', "0", "0", "2", kZero, "Invalid floating point operation"},
        ConvertCase{"Overflow", '.', "1E300", "1E-300", "1", kZero, "Floating point overflow"},
        // The product may exceed a double as long as the quotient fits.
        ConvertCase{"ProductBeyondDouble", '.', "1E300", "1E300", "1E10", kZero, "10000000000"}),
    [](const auto& info) { return std::string(info.param.name); });

// --- conversion with rates that may be missing ---------------------------------

TEST(ConvertWithRatesTest, AMissingRateGivesNoResultButABadAmountStillFails)
{
    const std::optional<std::string> missing;
    struct Case {
        std::string amount;
        std::optional<std::string> source, target;
        EmptyAmount empty;
        std::string expected; // result text, "(none)", or the error's text
    };
    const Case cases[] = {
        {"10", "1", "0.9", kZero, "9"},
        {"10", missing, "0.9", kZero, "(none)"},
        {"10", "1", missing, kText, "(none)"},
        {"", "1", missing, kZero, "(none)"},
        {"", missing, "1", kText, "'' is not a valid floating point value"},
        {"5-", missing, missing, kZero, "'5-' is not a valid floating point value"},
    };
    for (const auto& c : cases) {
        std::string got;
        try {
            got = ConvertWithRates(c.amount, c.source, c.target, '.', c.empty).value_or("(none)");
        } catch (const StoreError& error) {
            got = error.what();
        }
        EXPECT_EQ(got, c.expected) << "amount '" << c.amount << "'";
    }
}

TEST(LookUpStoredRateTest, AnEmptyTableHasNoRowToFind)
{
    RateTable table('.', ByteCollation());
    EXPECT_EQ(LookUpStoredRate(table, "", ""), std::nullopt);
    Fill(table, {{"T", "USD", "2"}, {"T", "GBP", ""}});
    EXPECT_THAT(LookUpStoredRate(table, "T", "USD"), Optional(std::string("2")));
    EXPECT_THAT(LookUpStoredRate(table, "T", "GBP"), Optional(std::string()));
    EXPECT_EQ(LookUpStoredRate(table, "T", "usd"), std::nullopt);
}

TEST(KeptCurrencyTest, ChosenCodeOnlyWhereTheNewEntriesHoldItExactly)
{
    const CurrencyPass pass{{"USD", "EUR", "ZAR"}, "ZAR", "1"};
    EXPECT_EQ(KeptCurrency(pass, "EUR"), "EUR");
    EXPECT_EQ(KeptCurrency(pass, "eur"), "ZAR");
    EXPECT_EQ(KeptCurrency(pass, "JPY"), "ZAR");
}

} // namespace
} // namespace zentaro

namespace zentaro {
namespace {

// The rules as the cursor reads the rows, one step at a time, for comparison.
struct CursorScan {
    std::vector<std::string> tgl, cur, nilai;
    explicit CursorScan(RateTable& table)
    {
        table.First();
        for (bool more = table.RecordCount() > 0; more;) {
            tgl.emplace_back(table.DBEdit1().Text());
            cur.emplace_back(table.DBEdit2().Text());
            nilai.emplace_back(table.DBEdit3().Text());
            more = !table.AtLastRow();
            table.Next();
        }
    }
    std::optional<std::string> LastMatch(const std::string& time, const std::string& currency) const
    {
        std::optional<std::string> rate;
        for (std::size_t i = 0; i < tgl.size(); ++i)
            if (tgl[i] == time && cur[i] == currency)
                rate = nilai[i];
        return rate;
    }
};

// Compares every rule with the stepwise reading of the table as it is now.
void ExpectRulesMatchStepwiseReading(RateTable& table, const std::vector<std::string>& times,
                                     const std::vector<std::string>& codes)
{
    const CursorScan scan(table);
    ASSERT_FALSE(scan.tgl.empty());

    const UploadTimeList list = BuildUploadTimeList(table);
    std::vector<std::string> runs;
    for (std::size_t i = 0; i < scan.tgl.size(); ++i)
        if (i == 0 || scan.tgl[i] != scan.tgl[i - 1])
            runs.push_back(scan.tgl[i]);
    EXPECT_EQ(list.entries, runs);
    EXPECT_EQ(list.text, scan.tgl.back());
    EXPECT_EQ(table.CurrentStoredRow(), table.VisibleRow(table.RecordCount() - 1));
    table.First();
    EXPECT_EQ(CurrentUploadTime(table), list.text);
    EXPECT_EQ(table.CurrentStoredRow(), table.VisibleRow(table.RecordCount() - 1));

    for (const auto& time : times) {
        const CurrencyPass pass = BuildCurrencyList(table, time);
        std::vector<std::string> entries;
        std::string text;
        for (std::size_t i = 0; i < scan.tgl.size(); ++i)
            if (scan.tgl[i] == time && (i == 0 || scan.cur[i] != text))
                entries.push_back(text = scan.cur[i]);
        EXPECT_EQ(pass.entries, entries) << time;
        EXPECT_EQ(pass.text, text) << time;
        EXPECT_EQ(pass.lastRateText, scan.nilai.back());
        for (const auto& code : codes)
            EXPECT_EQ(LookUpRate(table, time, code), scan.LastMatch(time, code)) << time << " " << code;
        EXPECT_EQ(table.CurrentStoredRow(), table.VisibleRow(table.RecordCount() - 1));
    }

    // The scan that looks for an upload time stops on the first row showing it.
    auto sought = times;
    sought.push_back("not there");
    for (const auto& time : sought) {
        const auto first = std::find(scan.tgl.begin(), scan.tgl.end(), time);
        EXPECT_EQ(HoldsUploadTime(table, time), first != scan.tgl.end()) << time;
        const std::size_t stop = first != scan.tgl.end() ? static_cast<std::size_t>(first - scan.tgl.begin())
                                                         : scan.tgl.size() - 1;
        EXPECT_EQ(table.CurrentStoredRow(), table.VisibleRow(stop)) << time;
        EXPECT_EQ(table.DBEdit1().Text(), scan.tgl[stop]) << time;
    }
}

// An empty table is scanned once with the empty texts its views show, so the
// empty upload time is met there and no other; a deleted row shows nothing.
TEST(HoldsUploadTime, EmptyTablesAndDeletedRows)
{
    const struct {
        const char* name;
        std::vector<Row> rows;
        bool deleteFirst;
        const char* time;
        bool holds;
    } cases[] = {
        {"empty table, empty time", {}, false, "", true},
        {"empty table, a time", {}, false, "2024-10-11", false},
        {"a row, its time", {{"2024-10-11", "USD", "1.5"}}, false, "2024-10-11", true},
        {"a row, the empty time", {{"2024-10-11", "USD", "1.5"}}, false, "", false},
        {"the only row deleted", {{"2024-10-11", "USD", "1.5"}}, true, "2024-10-11", false},
        {"the only row deleted, empty time", {{"2024-10-11", "USD", "1.5"}}, true, "", true},
        {"a row with the empty time", {{"", "USD", "1.5"}}, false, "", true},
        {"times differ in case", {{"a", "USD", "1.5"}}, false, "A", false},
    };
    for (const auto& c : cases) {
        RateTable table('.', ByteCollation());
        Fill(table, c.rows);
        if (c.deleteFirst) {
            table.First();
            table.Delete();
        }
        EXPECT_EQ(HoldsUploadTime(table, c.time), c.holds) << c.name;
    }
}

TEST(RulesOnAShuffledTable, GiveWhatStepwiseReadingGivesAfterEveryChange)
{
    std::mt19937 random(20261208);
    const std::vector<std::string> times = {"2024-10-11", "2024-10-10", "", "A"};
    const std::vector<std::string> codes = {"USD", "usd", "JPY", "", "EUR"};
    const test::TempDir folder;
    for (const bool ordered : {false, true}) {
        RateTable table('.', ByteCollation());
        for (int round = 0; round < 4; ++round) {
            SCOPED_TRACE("ordered " + std::to_string(ordered) + ", round " + std::to_string(round));
            for (int i = 0; i < 100; ++i) {
                const auto& time = times[random() % times.size()];
                const auto& code = codes[random() % codes.size()];
                test::AddRow(table, time, code, random() % 7 == 0 ? "" : std::to_string(random() % 1000) + ".5");
            }
            ExpectRulesMatchStepwiseReading(table, times, codes);
            // Deleted rows must leave every result at once.
            table.First();
            for (int i = 0; i < 15; ++i) {
                for (unsigned skip = random() % 5; skip > 0; --skip)
                    table.Next();
                table.Delete();
            }
            ExpectRulesMatchStepwiseReading(table, times, codes);
            if (ordered) {
                table.OrderByUploadTime();
                ExpectRulesMatchStepwiseReading(table, times, codes);
            }
        }
        table.SaveToFile(folder / "rates.kvx");
        RateTable loaded('.', ByteCollation());
        test::AddRow(loaded, "only before loading", "USD", "1");
        BuildUploadTimeList(loaded);
        loaded.LoadFromFile(folder / "rates.kvx");
        ExpectRulesMatchStepwiseReading(loaded, times, codes);
    }
}

} // namespace
} // namespace zentaro
