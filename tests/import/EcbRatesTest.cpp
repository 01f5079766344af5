#include "import/EcbCsv.h"
#include "import/EcbXml.h"
#include "import/ImportError.h"
#include "import/RatesFile.h"
#include "store/RateTable.h"
#include "tests/common/TempDir.h"
#include "tests/common/ShownRows.h"
#include "tests/common/ZipOf.h"
#include "tests/common/ErrorText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace zentaro {
namespace {

using namespace std::string_literals;

using test::AddRow;
using test::ReadFile;
using test::Row;
using test::ShownRows;
using test::TempDir;
using test::WriteFile;
using test::ZipOf;

const std::filesystem::path kEcbFolder = ZENTARO_ECB_DATA;

// The rates a file lists, read with the test's own simple means, so that the
// import is checked against the file rather than against itself.
using FileRates = std::map<std::string, std::vector<std::pair<std::string, std::string>>>; // date -> (code, rate)

// The value of attribute name where it starts at pos (after spaces), moving pos past it.
std::optional<std::string> Attribute(const std::string& text, std::size_t& pos, const std::string& name)
{
    pos = text.find_first_not_of(" \t\r\n", pos);
    if (pos == std::string::npos || text.compare(pos, name.size() + 1, name + "=") != 0)
        return std::nullopt;
    const char quote = text[pos + name.size() + 1];
    const std::size_t start = pos + name.size() + 2;
    const std::size_t end = text.find(quote, start);
    pos = end + 1;
    return text.substr(start, end - start);
}

FileRates XmlRates(const std::string& text)
{
    FileRates rates;
    std::string day;
    for (std::size_t at = text.find("<Cube"); at != std::string::npos; at = text.find("<Cube", at + 1)) {
        std::size_t pos = at + 5;
        if (const auto time = Attribute(text, pos, "time")) {
            day = *time;
        } else if (const auto code = Attribute(text, pos, "currency")) {
            rates[day].emplace_back(*code, Attribute(text, pos, "rate").value());
        }
    }
    return rates;
}

std::string ReplacedAll(std::string text, const std::string& from, const std::string& to)
{
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

std::vector<std::string> CsvFields(const std::string& line)
{
    std::vector<std::string> fields;
    std::stringstream in(line);
    for (std::string field; std::getline(in, field, ',');) {
        field.erase(0, field.find_first_not_of(' '));
        fields.push_back(field);
    }
    return fields;
}

FileRates CsvRates(const std::string& text, const std::string& dailyDate = {})
{
    FileRates rates;
    std::stringstream in(text);
    std::string line;
    std::getline(in, line);
    const auto header = CsvFields(line);
    while (std::getline(in, line)) {
        const auto fields = CsvFields(line);
        const std::string date = dailyDate.empty() ? fields[0] : dailyDate;
        for (std::size_t i = 1; i < header.size() && i < fields.size(); ++i)
            if (!header[i].empty())
                rates[date].emplace_back(header[i], fields[i]);
    }
    return rates;
}

// The rows an import of these rates must give: oldest day first, EUR at 1,
// then the day's rates in the file's order without the missing ones.
std::vector<Row> ExpectedRows(const FileRates& rates)
{
    std::vector<Row> rows;
    for (const auto& [date, dayRates] : rates) {
        rows.push_back({date, "EUR", "1"});
        for (const auto& [code, rate] : dayRates)
            if (rate != "N/A" && !rate.empty())
                rows.push_back({date, code, rate});
    }
    return rows;
}

// Rates compare as numbers: the table shows "25.69" for the file's "25.690".
void ExpectSameRows(const std::vector<Row>& actual, const std::vector<Row>& expected)
{
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < actual.size(); ++i) {
        EXPECT_EQ(actual[i].tgl, expected[i].tgl) << "row " << i;
        EXPECT_EQ(actual[i].cur, expected[i].cur) << "row " << i;
        EXPECT_EQ(std::stod(actual[i].nilai), std::stod(expected[i].nilai)) << "row " << i << " " << expected[i];
    }
}

class EcbImport : public testing::Test {
protected:
    ImportResult Import(const std::string& bytes, const std::string& name = "rates")
    {
        WriteFile(folder_ / name, bytes);
        return ImportRatesFile(table_, folder_ / name, dataFile_, kFileUpdateSuccessText);
    }

    std::string Failure(const std::string& bytes)
    {
        return test::ErrorText<ImportError>([&] { Import(bytes); });
    }

    struct Refusal {
        std::string name;
        std::string file;
        std::string error; // the whole message, or its start when it ends in "..."
    };

    // Each file is refused whole: the table and the data file keep the one
    // row they had.
    void ExpectRefused(const std::vector<Refusal>& cases)
    {
        AddRow(table_, "A", "USD", "1");
        table_.SaveToFile(dataFile_);
        const std::string saved = ReadFile(dataFile_);
        for (const auto& c : cases) {
            const std::string error = Failure(c.file);
            if (c.error.ends_with("..."))
                EXPECT_TRUE(error.starts_with(c.error.substr(0, c.error.size() - 3))) << c.name << ": " << error;
            else
                EXPECT_EQ(error, c.error) << c.name;
            EXPECT_EQ(ShownRows(table_), (std::vector<Row>{{"A", "USD", "1"}})) << c.name;
            EXPECT_EQ(ReadFile(dataFile_), saved) << c.name;
        }
    }

    TempDir folder_;
    std::filesystem::path dataFile_ = folder_ / "conversion data.kvx";
    RateTable table_{'.', ByteCollation()};
};

struct LayoutCase {
    const char* name;
    const char* file;
    bool zipped;
};

class EveryLayout : public EcbImport, public testing::WithParamInterface<LayoutCase> {};

TEST_P(EveryLayout, AddsEveryDayOfTheFileOldestFirst)
{
    const LayoutCase& c = GetParam();
    const std::string text = ReadFile(kEcbFolder / c.file);
    FileRates rates;
    if (std::string(c.file).ends_with(".xml"))
        rates = XmlRates(text);
    else if (std::string(c.file).find("hist") != std::string::npos)
        rates = CsvRates(text);
    else
        rates = CsvRates(text, "2024-10-11"); // the daily CSV's "11 October 2024"
    ASSERT_FALSE(rates.empty());

    const ImportResult result = Import(c.zipped ? ZipOf(std::string("e.csv"), text) : text);

    EXPECT_EQ(result.outcome, ImportOutcome::Added);
    EXPECT_EQ(result.message, kFileUpdateSuccessText);
    const auto expected = ExpectedRows(rates);
    EXPECT_EQ(result.rowsAdded, expected.size());
    ExpectSameRows(ShownRows(table_), expected);

    RateTable saved{'.', ByteCollation()};
    saved.LoadFromFile(dataFile_);
    ExpectSameRows(ShownRows(saved), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Files, EveryLayout,
    testing::Values(LayoutCase{"DailyXml2013", "ecb-eurofxref-2013-01-28.xml", false},
                    LayoutCase{"DailyXml2017", "ecb-eurofxref-2017-03-08.xml", false},
                    LayoutCase{"DailyXml2022", "ecb-eurofxref-2022-07-08.xml", false},
                    LayoutCase{"NinetyDayXml", "ecb-eurofxref-hist-90d-2020-12-10.xml", false},
                    LayoutCase{"DailyCsv", "ecb-eurofxref-2024-10-11.csv", false},
                    LayoutCase{"HistoryCsv", "ecb-eurofxref-hist-excerpt.csv", false},
                    LayoutCase{"DailyZip", "ecb-eurofxref-2024-10-11.csv", true},
                    LayoutCase{"HistoryZip", "ecb-eurofxref-hist-excerpt.csv", true}),
    [](const testing::TestParamInfo<LayoutCase>& info) { return info.param.name; });

TEST_F(EcbImport, ImportingAgainAddsNothing)
{
    const std::string text = ReadFile(kEcbFolder / "ecb-eurofxref-hist-excerpt.csv");
    Import(text);
    const std::string saved = ReadFile(dataFile_);
    const std::size_t rows = table_.RecordCount();

    const ImportResult again = Import(text);

    EXPECT_EQ(again.outcome, ImportOutcome::Duplicate);
    EXPECT_EQ(again.message, "Upload Time : 2024-10-11 is already exist");
    EXPECT_EQ(again.rowsAdded, 0u);
    EXPECT_EQ(table_.RecordCount(), rows);
    EXPECT_EQ(ReadFile(dataFile_), saved);
}

TEST_F(EcbImport, DaysAlreadyPresentAreSkippedAndTheRestAdded)
{
    const std::string text = ReadFile(kEcbFolder / "ecb-eurofxref-hist-90d-2020-12-10.xml");
    FileRates rates = XmlRates(text);
    ASSERT_EQ(rates.size(), 64u);
    AddRow(table_, "2020-12-10", "USD", "9");
    AddRow(table_, "2020-10-30", "USD", "8");

    const ImportResult result = Import(text);

    EXPECT_EQ(result.outcome, ImportOutcome::Added);
    rates.erase("2020-12-10");
    rates.erase("2020-10-30");
    std::vector<Row> expected = {{"2020-12-10", "USD", "9"}, {"2020-10-30", "USD", "8"}};
    const auto added = ExpectedRows(rates);
    expected.insert(expected.end(), added.begin(), added.end());
    // The table reads in order by upload time, the rows of one day in the order stored.
    std::stable_sort(expected.begin(), expected.end(),
                     [](const Row& a, const Row& b) { return a.tgl < b.tgl; });
    ExpectSameRows(ShownRows(table_), expected);
    EXPECT_EQ(result.rowsAdded, added.size());
}

TEST_F(EcbImport, MissingRatesAndTrailingSeparatorsAreLeftOut)
{
    const struct {
        const char* name;
        std::string file;
    } cases[] = {
        {"daily, trailing", "Date, USD, CYP, JPY, \n11 October 2024, 1.5, N/A, 160, \n"},
        {"daily, none trailing", "Date, USD, CYP, JPY\n11 October 2024, 1.5, N/A, 160\n"},
        {"history, empty rate", "Date,USD,CYP,JPY,\r\n2024-10-11,1.5,,160,\r\n"},
    };
    for (const auto& c : cases) {
        RateTable table{'.', ByteCollation()};
        WriteFile(folder_ / "rates.csv", c.file);
        ImportRatesFile(table, folder_ / "rates.csv", dataFile_, kFileUpdateSuccessText);
        EXPECT_EQ(ShownRows(table), (std::vector<Row>{{"2024-10-11", "EUR", "1"},
                                                          {"2024-10-11", "USD", "1.5"},
                                                          {"2024-10-11", "JPY", "160"}}))
            << c.name;
    }
}

TEST_F(EcbImport, RatesTakeTheTablesDecimalSeparator)
{
    RateTable table{',', ByteCollation()};
    WriteFile(folder_ / "rates.csv", "Date,USD,\n2024-10-11,1.0938,\n");
    ImportRatesFile(table, folder_ / "rates.csv", dataFile_, kFileUpdateSuccessText);
    EXPECT_EQ(ShownRows(table), (std::vector<Row>{{"2024-10-11", "EUR", "1"}, {"2024-10-11", "USD", "1,0938"}}));
}

TEST_F(EcbImport, MalformedFilesFailAndAddNothing)
{
    const std::string ninety = ReadFile(kEcbFolder / "ecb-eurofxref-hist-90d-2020-12-10.xml");
    const std::string daily = ReadFile(kEcbFolder / "ecb-eurofxref-2013-01-28.xml");
    std::string badRate = ninety;
    badRate.replace(badRate.rfind("rate=\"") + 6, 0, "1,0938\" x=\"");
    std::string shortLine = ReadFile(kEcbFolder / "ecb-eurofxref-hist-excerpt.csv");
    shortLine.insert(shortLine.find("\n2024-10-09") + 1, "2024-10-10,1.5,2\n");
    ExpectRefused({
        {"truncated XML", ninety.substr(0, ninety.size() / 2), "Malformed ECB rates file: ..."},
        {"comma in an XML rate (oldest day)", badRate,
         "'1,0938' is not a valid floating point value for field 'nilai' (day 2020-09-14)"},
        {"rate outside a day",
         "<gesmes:Envelope xmlns:gesmes='http://www.gesmes.org/xml/2002-08-01' "
         "xmlns='http://www.ecb.int/vocabulary/2002-08-01/eurofxref'><Cube><Cube currency='USD' rate='1'/>"
         "</Cube></gesmes:Envelope>",
         "Malformed ECB rates file: a rate outside a day (line 1)"},
        {"XML date", ReplacedAll(daily, "2013-01-28", "28.01.2013"),
         "Malformed ECB rates file: '28.01.2013' is not a date (line 8)"},
        {"CSV line with fewer fields", shortLine, "Malformed ECB rates file: line 4 has 3 fields, the header has 42"},
        {"CSV rate", "Date, USD, \n11 October 2024, 1.0938x, \n",
         "'1.0938x' is not a valid floating point value for field 'nilai' (day 2024-10-11, line 2)"},
        {"CSV month", "Date, USD, \n11 Octobre 2024, 1.0938, \n",
         "Malformed ECB rates file: line 2 does not start with a date: '11 Octobre 2024'"},
        {"CSV without days", "Date,USD,\n", "Malformed ECB rates file: no day of rates"},
    });
}

TEST_F(EcbImport, BrokenZipsAndOverlongFieldsFailAndAddNothing)
{
    const std::string daily = ReadFile(kEcbFolder / "ecb-eurofxref-2013-01-28.xml");
    const std::string history = ReadFile(kEcbFolder / "ecb-eurofxref-hist-excerpt.csv");
    std::string brokenZip = ZipOf("e.csv", history);
    brokenZip[brokenZip.size() / 3] ^= 0x5a;
    ExpectRefused({
        {"broken zip", brokenZip, "Malformed ECB rates file: broken zip file: ..."},
        {"cut zip", ZipOf("e.csv", history).substr(0, 60), "Malformed ECB rates file: broken zip file: ..."},
        {"zip of something else", ZipOf("notes.txt", "B\nUSD=1\n"),
         "Malformed ECB rates file: the zip file's notes.txt is not an ECB rates CSV"},
        // Input quoted in a message is cut, however long the file's field.
        {"long CSV rate", "Date, USD, \n11 October 2024, " + std::string(300, '9') + "x, \n",
         "'" + std::string(200, '9') +
             "...' is not a valid floating point value for field 'nilai' (day 2024-10-11, line 2)"},
        {"long CSV date", "Date, USD, \n" + std::string(300, 'x') + ", 1.0938, \n",
         "Malformed ECB rates file: line 2 does not start with a date: '" + std::string(200, 'x') + "...'"},
        {"long XML date", ReplacedAll(daily, "2013-01-28", std::string(300, '9')),
         "Malformed ECB rates file: '" + std::string(200, '9') + "...' is not a date (line 8)"},
    });
}

// Rates files written the way each ECB layout writes them, from a list of
// days (newest first, as the ECB lists them). The daily layouts hold the first day only.
struct TestDay {
    std::string date; // "YYYY-MM-DD", even when not a day of the calendar
    std::vector<std::pair<std::string, std::string>> rates;
};

std::string XmlStart()
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<gesmes:Envelope xmlns:gesmes=\"http://www.gesmes.org/xml/2002-08-01\" "
           "xmlns=\"http://www.ecb.int/vocabulary/2002-08-01/eurofxref\">\n<Cube>\n";
}

// Line 4 opens the day, each rate on a line of its own.
std::string DailyXml(const std::vector<TestDay>& days)
{
    std::string xml = XmlStart() + "<Cube time='" + days[0].date + "'>\n";
    for (const auto& [code, rate] : days[0].rates)
        xml += "<Cube currency='" + code + "' rate='" + rate + "'/>\n";
    return xml + "</Cube>\n</Cube>\n</gesmes:Envelope>\n";
}

// One line per day from line 4 on.
std::string HistoryXml(const std::vector<TestDay>& days)
{
    std::string xml = XmlStart();
    for (const auto& day : days) {
        xml += "<Cube time=\"" + day.date + "\">";
        for (const auto& [code, rate] : day.rates)
            xml += "<Cube currency=\"" + code + "\" rate=\"" + rate + "\"/>";
        xml += "</Cube>\n";
    }
    return xml + "</Cube></gesmes:Envelope>";
}

std::string CsvHeader(const TestDay& day, const char* separator)
{
    std::string header = "Date";
    for (const auto& rate : day.rates)
        header += separator + rate.first;
    return header + separator;
}

// "2024-10-11" as the daily CSV writes it: "11 October 2024".
std::string SpelledDate(const std::string& iso)
{
    static const char* const months[] = {"January", "February", "March",     "April",   "May",      "June",
                                         "July",    "August",   "September", "October", "November", "December"};
    return std::to_string(std::stoi(iso.substr(8))) + " " + months[std::stoi(iso.substr(5, 2)) - 1] + " " +
           iso.substr(0, 4);
}

std::string DailyCsv(const std::vector<TestDay>& days)
{
    std::string line = SpelledDate(days[0].date);
    for (const auto& rate : days[0].rates)
        line += ", " + rate.second;
    return CsvHeader(days[0], ", ") + " \n" + line + ", \n";
}

std::string HistoryCsv(const std::vector<TestDay>& days)
{
    std::string csv = CsvHeader(days[0], ",") + "\n";
    for (const auto& day : days) {
        csv += day.date;
        for (const auto& rate : day.rates)
            csv += "," + rate.second;
        csv += ",\n";
    }
    return csv;
}

enum class Family { DailyXml, HistoryXml, DailyCsv, HistoryCsv };

struct EcbLayout {
    const char* name;
    Family family;
    bool zipped;
};

constexpr EcbLayout kEcbLayouts[] = {
    {"DailyXml", Family::DailyXml, false},     {"HistoryXml", Family::HistoryXml, false},
    {"DailyCsv", Family::DailyCsv, false},     {"HistoryCsv", Family::HistoryCsv, false},
    {"DailyCsvZip", Family::DailyCsv, true},   {"HistoryCsvZip", Family::HistoryCsv, true},
};

std::string Written(const EcbLayout& layout, const std::vector<TestDay>& days, const std::string& before = {})
{
    std::string text;
    switch (layout.family) {
    case Family::DailyXml: text = DailyXml(days); break;
    case Family::HistoryXml: text = HistoryXml(days); break;
    case Family::DailyCsv: text = DailyCsv(days); break;
    case Family::HistoryCsv: text = HistoryCsv(days); break;
    }
    return layout.zipped ? ZipOf("eurofxref.csv", before + text) : before + text;
}

class EcbRefusals : public EcbImport, public testing::WithParamInterface<EcbLayout> {};

// Each file is refused whole: nothing of its good day is added.
TEST_P(EcbRefusals, RatesThatAreNotRatesAndDaysThatAreNotDays)
{
    const EcbLayout& layout = GetParam();
    const TestDay goodDay{"2024-10-10", {{"USD", "1.08"}, {"JPY", "161"}}};
    const auto first = [&](const std::string& date, const std::string& code, const std::string& rate) {
        return std::vector<TestDay>{{date, {{"USD", "1.09"}, {code, rate}}}, goodDay};
    };
    using Errors = std::array<std::string, 4>; // by Family
    const auto notARate = [](const std::string& rate) {
        const std::string text = "'" + rate + "' is not a valid floating point value for field 'nilai' (day 2024-10-11";
        return Errors{text + ")", text + ")", text + ", line 2)", text + ", line 2)"};
    };
    // The daily CSV writes its date as "30 February 2024".
    const auto notADate = [](const std::string& date, const std::string& dailyCsvDate) {
        const std::string xml = "Malformed ECB rates file: '" + date + "' is not a date (line 4)";
        const std::string csv = "Malformed ECB rates file: line 2 does not start with a date: '";
        return Errors{xml, xml, csv + dailyCsvDate + "'", csv + date + "'"};
    };
    const std::string eur = "Malformed ECB rates file: line 1 lists EUR, whose rate is always 1";
    const struct {
        const char* name;
        std::vector<TestDay> days;
        Errors errors;
    } cases[] = {
        {"EUR listed", first("2024-10-11", "EUR", "1"),
         {"Malformed ECB rates file: 2024-10-11 lists EUR, whose rate is always 1 (line 6)",
          "Malformed ECB rates file: 2024-10-11 lists EUR, whose rate is always 1 (line 4)", eur, eur}},
        {"code twice", first("2024-10-11", "USD", "1.1"),
         {"Malformed ECB rates file: 2024-10-11 lists USD twice (line 6)",
          "Malformed ECB rates file: 2024-10-11 lists USD twice (line 4)",
          "Malformed ECB rates file: 2024-10-11 lists USD twice (line 2)",
          "Malformed ECB rates file: 2024-10-11 lists USD twice (line 2)"}},
        {"rate 0", first("2024-10-11", "JPY", "0"), notARate("0")},
        {"rate 0.0000", first("2024-10-11", "JPY", "0.0000"), notARate("0.0000")},
        {"rate -1", first("2024-10-11", "JPY", "-1"), notARate("-1")},
        {"30 February", first("2024-02-30", "JPY", "160"), notADate("2024-02-30", "30 February 2024")},
        {"29 February of a common year", first("2023-02-29", "JPY", "160"), notADate("2023-02-29", "29 February 2023")},
        {"year 0", first("0000-01-01", "JPY", "160"), notADate("0000-01-01", "1 January 0000")},
    };
    std::vector<Refusal> refusals;
    for (const auto& c : cases)
        refusals.push_back({c.name, Written(layout, c.days), c.errors[static_cast<int>(layout.family)]});
    ExpectRefused(refusals);
}

TEST_P(EcbRefusals, AByteOrderMarkIsSkippedAndLeapDaysAreDays)
{
    const EcbLayout& layout = GetParam();
    const std::vector<TestDay> days = {{"2024-02-29", {{"USD", "1.09"}, {"JPY", "0.5"}}},
                                       {"2000-02-28", {{"USD", "1.08"}, {"JPY", "161"}}}};
    const ImportResult result = Import(Written(layout, days, "\xEF\xBB\xBF"));

    EXPECT_EQ(result.outcome, ImportOutcome::Added);
    std::vector<Row> expected = {
        {"2024-02-29", "EUR", "1"}, {"2024-02-29", "USD", "1.09"}, {"2024-02-29", "JPY", "0.5"}};
    if (layout.family == Family::HistoryXml || layout.family == Family::HistoryCsv)
        expected.insert(expected.begin(),
                        {{"2000-02-28", "EUR", "1"}, {"2000-02-28", "USD", "1.08"}, {"2000-02-28", "JPY", "161"}});
    EXPECT_EQ(ShownRows(table_), expected);
}

INSTANTIATE_TEST_SUITE_P(EveryLayout, EcbRefusals, testing::ValuesIn(kEcbLayouts),
                         [](const testing::TestParamInfo<EcbLayout>& info) { return info.param.name; });

TEST_F(EcbImport, ABadRateNamesItsDayAndLine)
{
    const struct {
        const char* name;
        std::string file;
        std::string error;
    } cases[] = {
        {"history CSV, third line", "Date,USD,\n2024-10-11,1.09,\n2024-10-10,1.0x,\n",
         "'1.0x' is not a valid floating point value for field 'nilai' (day 2024-10-10, line 3)"},
        {"blank lines counted", "Date,USD,\r\n\r\n2024-10-11,1.09,\r\n\r\n2024-10-10,,\r\n2024-10-09,1e3,\r\n",
         "'1e3' is not a valid floating point value for field 'nilai' (day 2024-10-09, line 6)"},
        {"XML, second day", HistoryXml({{"2024-10-11", {{"USD", "1.09"}}}, {"2024-10-10", {{"USD", "1,08"}}}}),
         "'1,08' is not a valid floating point value for field 'nilai' (day 2024-10-10)"},
        // A zero byte is shown, not taken for the end of the message.
        {"zero byte in a rate", "Date,USD,JPY,\n2024-10-11,1\0" "2,160,\n"s,
         "'1\\x002' is not a valid floating point value for field 'nilai' (day 2024-10-11, line 2)"},
        {"tab in a rate", "Date,USD,\n2024-10-11,1\t2,\n",
         "'1\\t2' is not a valid floating point value for field 'nilai' (day 2024-10-11, line 2)"},
        {"zero byte in a date", "Date,USD,\n2024-10\0-11,1.09,\n"s,
         "Malformed ECB rates file: line 2 does not start with a date: '2024-10\\x00-11'"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Failure(c.file), c.error) << c.name;
}

TEST(RatesLayout, IsRecognisedFromTheContentAlone)
{
    const std::string envelope = "<gesmes:Envelope xmlns:gesmes=\"http://www.gesmes.org/xml/2002-08-01\"/>";
    const struct {
        std::string bytes;
        RatesLayout layout;
    } cases[] = {
        {"Date,USD,JPY,\n2024-10-11,1,2,\n", RatesLayout::EcbCsv},
        {"Date, USD, JPY, \n", RatesLayout::EcbCsv},
        {"Date,USD\r\n", RatesLayout::EcbCsv},
        {"\xEF\xBB\xBF" "Date,USD,\n", RatesLayout::EcbCsv},
        {"\xEF\xBB\xBF" "2024-10-11\nUSD=1.09\n", RatesLayout::UpdateFile},
        {"\xEF\xBB" "Date,USD,\n", RatesLayout::UpdateFile},
        {"Date\nUSD=1\n", RatesLayout::UpdateFile},
        {"Date,usd\n", RatesLayout::UpdateFile},
        {"Date,USD=1\n", RatesLayout::UpdateFile},
        {"2024-10-11\nUSD=1.09\n", RatesLayout::UpdateFile},
        {"<?xml version=\"1.0\"?>\n" + envelope, RatesLayout::EcbXml},
        {"\n  " + envelope.substr(0, 80), RatesLayout::EcbXml},
        {"<Envelope xmlns=\"http://www.gesmes.org/xml/2002-08-02\"/>", RatesLayout::UpdateFile},
        {"<b>rates</b>\nUSD=1\n", RatesLayout::UpdateFile},
        {std::string("PK\x03\x04", 4) + "rest", RatesLayout::EcbZip},
        {"PK rates\nUSD=1\n", RatesLayout::UpdateFile},
        {"", RatesLayout::UpdateFile},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DetectRatesLayout(c.bytes), c.layout) << c.bytes;
}

TEST(EcbDates, OnlyDaysOfTheCalendarAreDates)
{
    const struct {
        const char* text;
        bool date;
    } cases[] = {
        {"2024-02-29", true},  {"2023-02-29", false}, {"2000-02-29", true},  {"1900-02-29", false},
        {"2024-04-30", true},  {"2024-04-31", false}, {"2024-12-31", true},  {"2024-13-01", false},
        {"0001-01-01", true},  {"0000-01-01", false}, {"9999-12-31", true},  {"2024-01-00", false},
        {"2024-1-01", false},  {"2024/01/01", false}, {"2024-01-01 ", false}, {"2024-0a-01", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsIsoDate(c.text), c.date) << c.text;
}

TEST(EcbReaders, KeepTheFilesOrderAndDates)
{
    const std::string xml =
        "<gesmes:Envelope xmlns:gesmes='http://www.gesmes.org/xml/2002-08-01' "
        "xmlns='http://www.ecb.int/vocabulary/2002-08-01/eurofxref'><Cube>"
        "<Cube time=\"2024-10-11\"><Cube currency='USD' rate=\"1.09\"/><Cube currency=\"JPY\" rate='162'/></Cube>"
        "<Cube\ntime='2024-10-10'>\n<Cube currency='USD'\n rate='1.08' /></Cube></Cube></gesmes:Envelope>";
    EXPECT_EQ(ReadEcbXml(xml), (std::vector<RatesDay>{{"2024-10-11", {{"USD", "1.09"}, {"JPY", "162"}}},
                                                     {"2024-10-10", {{"USD", "1.08"}}}}));
    EXPECT_EQ(ReadEcbCsv("Date, USD, \n1 May 2024, 1.07, \n\n31 December 1999, N/A, \n"),
              (std::vector<RatesDay>{{"2024-05-01", {{"USD", "1.07"}}, 2}, {"1999-12-31", {}, 4}}));
}

} // namespace
} // namespace zentaro
