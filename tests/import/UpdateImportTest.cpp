#include "import/ImportError.h"
#include "import/RatesFile.h"
#include "import/UpdateImport.h"
#include "store/RateTable.h"
#include "tests/common/ShownRows.h"
#include "tests/common/TempDir.h"
#include "tests/common/ErrorText.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
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

class UpdateImport : public testing::Test {
protected:
    ImportResult Import(RateTable& table, std::string_view bytes,
                        std::string_view successText = kFileUpdateSuccessText)
    {
        WriteFile(updateFile_, bytes);
        return ImportRatesFile(table, updateFile_, dataFile_, successText);
    }
    ImportResult Import(std::string_view bytes, std::string_view successText = kFileUpdateSuccessText)
    {
        return Import(table_, bytes, successText);
    }

    std::string ImportFailure(std::string_view bytes)
    {
        return test::ErrorText<ImportError>([&] { Import(bytes); });
    }

    TempDir folder_;
    std::filesystem::path dataFile_ = folder_ / "conversion data.kvx";
    std::filesystem::path updateFile_ = folder_ / "update.txt";
    RateTable table_{'.', ByteCollation()};
};

TEST_F(UpdateImport, AddsTheBatchAfterExistingRowsAndSavesIt)
{
    AddRow(table_, "2026-12-01 ECB", "EUR", "1");
    table_.First();

    const auto result = Import("2026-12-08 ECB\nEUR=1\nUSD=1.0512\nJPY=163.2\n");

    EXPECT_EQ(result.outcome, ImportOutcome::Added);
    EXPECT_EQ(result.uploadTime, "2026-12-08 ECB");
    EXPECT_EQ(result.rowsAdded, 3u);
    EXPECT_EQ(result.message, kFileUpdateSuccessText);
    const std::vector<Row> expected = {{"2026-12-01 ECB", "EUR", "1"},
                                            {"2026-12-08 ECB", "EUR", "1"},
                                            {"2026-12-08 ECB", "USD", "1.0512"},
                                            {"2026-12-08 ECB", "JPY", "163.2"}};
    EXPECT_EQ(ShownRows(table_), expected);
    RateTable reloaded{'.', ByteCollation()};
    reloaded.LoadFromFile(dataFile_);
    EXPECT_EQ(ShownRows(reloaded), expected);
}

TEST_F(UpdateImport, SavedFileEqualsSavingAfterEveryRow)
{
    AddRow(table_, "A", "EUR", "1");
    table_.SaveToFile(dataFile_);
    Import("B\nEUR=1\nUSD=1.05\nCHF\nXAU=1E-5\n");

    RateTable rowByRow{'.', ByteCollation()};
    const auto rowByRowFile = folder_ / "row by row.kvx";
    AddRow(rowByRow, "A", "EUR", "1");
    rowByRow.SaveToFile(rowByRowFile);
    for (const auto& [code, rate] : {std::pair{"EUR", "1"}, {"USD", "1.05"}, {"CHF", ""}, {"XAU", "1E-5"}}) {
        AddRow(rowByRow, "B", code, rate);
        rowByRow.SaveToFile(rowByRowFile);
    }
    EXPECT_EQ(ReadFile(dataFile_), ReadFile(rowByRowFile));
}

TEST_F(UpdateImport, SameFileTwiceIsADuplicateAndChangesNothing)
{
    const std::string update = "2026-12-08 ECB\nEUR=1\nUSD=1.05\n";
    Import(update);
    const std::string saved = ReadFile(dataFile_);
    const auto rows = ShownRows(table_);

    const auto second = Import(update, kUrlUpdateSuccessText);

    EXPECT_EQ(second.outcome, ImportOutcome::Duplicate);
    EXPECT_EQ(second.rowsAdded, 0u);
    EXPECT_EQ(second.message, "Upload Time : 2026-12-08 ECB is already exist");
    EXPECT_EQ(second.scratch.edito4, "2026-12-08 ECB");
    EXPECT_EQ(second.scratch.edito1, "");
    EXPECT_EQ(ShownRows(table_), rows);
    EXPECT_EQ(ReadFile(dataFile_), saved);
}

TEST_F(UpdateImport, DuplicateFoundBeyondFiveThousandRows)
{
    for (int i = 0; i < 5100; ++i)
        AddRow(table_, "old " + std::to_string(i), "EUR", "1");
    AddRow(table_, "2026-12-08 ECB", "EUR", "1");
    EXPECT_EQ(Import("2026-12-08 ECB\nEUR=1\n").outcome, ImportOutcome::Duplicate);
    EXPECT_EQ(table_.RecordCount(), 5101u);
}

TEST_F(UpdateImport, EmptyUploadTime)
{
    const auto onEmptyTable = Import("");
    EXPECT_EQ(onEmptyTable.outcome, ImportOutcome::Duplicate);
    EXPECT_EQ(onEmptyTable.message, "Upload Time :  is already exist");

    AddRow(table_, "A", "EUR", "1");
    EXPECT_THROW(Import(""), ImportError) << "no rate line follows";
    EXPECT_FALSE(std::filesystem::exists(dataFile_)) << "a batch without rows saves nothing";
}

TEST_F(UpdateImport, BatchesWithoutRows)
{
    AddRow(table_, "A", "EUR", "1");
    table_.SaveToFile(dataFile_);
    const std::string saved = ReadFile(dataFile_);
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"Empty", ""},
        {"OnlyUploadTime", "B"},
        {"UploadTimeThenEmptyLine", "C\n\nEUR=1\n"},
        {"CrOnlyLineEnds", "2026 ECB\rEUR=1\rUSD=1.1\r"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // Nothing to add is no success: the import is refused.
        try {
            Import(c.bytes);
            ADD_FAILURE() << "imported";
        } catch (const ImportError& error) {
            EXPECT_EQ(error.what(), kNoRatesText);
        }
        EXPECT_EQ(table_.RecordCount(), 1u);
        EXPECT_EQ(ReadFile(dataFile_), saved);
    }
}

TEST_F(UpdateImport, AtMostTwoHundredRateLines)
{
    std::string update = "T\n";
    for (int i = 1; i <= 250; ++i)
        update += 'C' + std::to_string(i) + '=' + std::to_string(i) + ".5\n";
    const auto result = Import(update);
    EXPECT_EQ(result.rowsAdded, 200u);
    const auto rows = ShownRows(table_);
    ASSERT_EQ(rows.size(), 200u);
    EXPECT_EQ(rows.back(), (Row{"T", "C200", "200.5"}));
    EXPECT_EQ(result.scratch.edito1, "C200=200.5");
    EXPECT_EQ(result.scratch.edito2, "C200");
    EXPECT_EQ(result.scratch.edito3, "200.5");
    EXPECT_EQ(result.scratch.lineCounter, 200u);
}

TEST_F(UpdateImport, EmptyLineEndsTheBatch)
{
    const auto result = Import("T\nA=1\nB=2\nC=3\n\nD=4\nE=5\n");
    EXPECT_EQ(result.rowsAdded, 3u);
    EXPECT_EQ(ShownRows(table_).back(), (Row{"T", "C", "3"}));
    EXPECT_EQ(result.scratch.edito1, "");
    EXPECT_EQ(result.scratch.edito2, "C");
    EXPECT_EQ(result.scratch.edito3, "") << "cleared for the line that ended the batch";
    EXPECT_EQ(result.scratch.lineCounter, 4u);
}

TEST_F(UpdateImport, ByteOrderMarkBelongsToTheUploadTime)
{
    Import("2026-12-08\nEUR=1\n");
    const auto marked = Import("\xEF\xBB\xBF" "2026-12-08\nEUR=1\n");
    EXPECT_EQ(marked.outcome, ImportOutcome::Added);
    EXPECT_EQ(ShownRows(table_).back().tgl, "\xEF\xBB\xBF" "2026-12-08");
}

TEST_F(UpdateImport, StoredFormOfTheUploadTimeIsNotRecognisedAgain)
{
    const struct {
        const char* name;
        std::string uploadTime;
        std::string stored;
    } cases[] = {
        {"LongerThan100", std::string(120, 'T'), std::string(100, 'T')},
        {"TrailingSpace", "2026-12-08 ", "2026-12-08"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RateTable table{'.', ByteCollation()};
        const std::string update = c.uploadTime + "\nEUR=1\n";
        EXPECT_EQ(Import(table, update).outcome, ImportOutcome::Added);
        EXPECT_EQ(Import(table, update).outcome, ImportOutcome::Added);
        const auto rows = ShownRows(table);
        ASSERT_EQ(rows.size(), 2u);
        EXPECT_EQ(rows[1].tgl, c.stored);
    }
}

TEST_F(UpdateImport, LetterCaseMakesADifferentUploadTime)
{
    Import("Batch\nEUR=1\n");
    EXPECT_EQ(Import("BATCH\nEUR=1\n").outcome, ImportOutcome::Added);
    EXPECT_EQ(Import("Batch\nEUR=1\n").outcome, ImportOutcome::Duplicate);
}

struct RateLineCase {
    const char* name;
    char separator;
    const char* line;
    const char* cur;   // stored code, when the line imports
    const char* nilai; // rate as DBEdit3 shows it
    const char* error; // or the error of the import
};

void PrintTo(const RateLineCase& c, std::ostream* out) { *out << c.name; }

class RateLineOutcome : public testing::TestWithParam<RateLineCase> {};

TEST_P(RateLineOutcome, OneLineBatch)
{
    const auto& c = GetParam();
    TempDir folder;
    WriteFile(folder / "u.txt", "T\n"s + c.line + "\n");
    RateTable table{c.separator, ByteCollation()};
    if (c.error) {
        try {
            ImportRatesFile(table, folder / "u.txt", folder / "d.kvx", kFileUpdateSuccessText);
            ADD_FAILURE() << "imported " << c.line;
        } catch (const ImportError& error) {
            EXPECT_STREQ(error.what(), c.error);
        }
        EXPECT_EQ(table.RecordCount(), 0u);
        EXPECT_FALSE(std::filesystem::exists(folder / "d.kvx"));
        return;
    }
    ImportRatesFile(table, folder / "u.txt", folder / "d.kvx", kFileUpdateSuccessText);
    EXPECT_EQ(ShownRows(table), (std::vector<Row>{{"T", c.cur, c.nilai}}));
}

INSTANTIATE_TEST_SUITE_P(
    UpdateImport, RateLineOutcome,
    testing::Values(
        RateLineCase{"CommaPlain", ',', "EUR=0.8512", "EUR", "0,8512", nullptr},
        RateLineCase{"CommaInteger", ',', "USD=1", "USD", "1", nullptr},
        RateLineCase{"CommaSpaces", ',', "AUD = 1.2", "AUD", "1,2", nullptr},
        RateLineCase{"CommaThousands", ',', "JPY=1,234.5", nullptr, nullptr,
                     "'1,234,5' is not a valid floating point value for field 'nilai'"},
        RateLineCase{"CommaFirstPoint", ',', "GBP=.5", nullptr, nullptr,
                     "'.5' is not a valid floating point value for field 'nilai'"},
        RateLineCase{"PointFirstPoint", '.', "GBP=.5", "GBP", "0.5", nullptr},
        RateLineCase{"CommaFurtherEquals", ',', "X=Y=2.5", nullptr, nullptr,
                     "'Y2,5' is not a valid floating point value for field 'nilai'"},
        RateLineCase{"NoEqualsIsNull", ',', "CHF", "CHF", "", nullptr},
        RateLineCase{"LeadingEqualsIsNull", ',', "=3.5", "=3.5", "", nullptr},
        RateLineCase{"LeadingSpaceOfCodeKept", '.', " NZD=1.7", " NZD", "1.7", nullptr},
        RateLineCase{"PointCommaInFile", '.', "SEK=11,2", "SEK", "11.2", nullptr},
        RateLineCase{"Exponent", '.', "XAU=1e-5", "XAU", "1E-5", nullptr},
        RateLineCase{"SpacesOnly", '.', "ZAR=  ", nullptr, nullptr,
                     "'  ' is not a valid floating point value for field 'nilai'"},
        RateLineCase{"Overflow", '.', "ZWL=1e400", nullptr, nullptr, "Floating point overflow"},
        RateLineCase{"ExtendedOverflow", '.', "ZWL=1e499", nullptr, nullptr, "Floating point overflow"},
        // A rate of 0 or below would fail every conversion with it.
        RateLineCase{"Zero", '.', "ZAR=0", nullptr, nullptr,
                     "'0' is not a valid floating point value for field 'nilai'"},
        RateLineCase{"ZeroWithFraction", ',', "ZAR=0.000", nullptr, nullptr,
                     "'0,000' is not a valid floating point value for field 'nilai'"},
        RateLineCase{"Negative", '.', "ZAR=-1", nullptr, nullptr,
                     "'-1' is not a valid floating point value for field 'nilai'"},
        RateLineCase{"NegativeZero", '.', "ZAR=-0", nullptr, nullptr,
                     "'-0' is not a valid floating point value for field 'nilai'"},
        RateLineCase{"ExponentTooLong", '.', "ZWL=1e5000", nullptr, nullptr,
                     "'1e5000' is not a valid floating point value for field 'nilai'"}),
    [](const testing::TestParamInfo<RateLineCase>& info) { return info.param.name; });

TEST_F(UpdateImport, BadLineAddsNothingAndLeavesTheFileAsItWas)
{
    AddRow(table_, "A", "EUR", "1");
    table_.SaveToFile(dataFile_);
    const std::string saved = ReadFile(dataFile_);
    const auto rows = ShownRows(table_);

    EXPECT_EQ(ImportFailure("B\nEUR=1\nUSD=1.05\nJPY=16O.2\nCHF=0.94\n"),
              "'16O.2' is not a valid floating point value for field 'nilai'");

    EXPECT_EQ(ReadFile(dataFile_), saved);
    EXPECT_EQ(ShownRows(table_), rows);
    EXPECT_FALSE(table_.Inserting());
    // The corrected file is then accepted: the failed one left no trace of B.
    EXPECT_EQ(Import("B\nEUR=1\nUSD=1.05\nJPY=160.2\nCHF=0.94\n").rowsAdded, 4u);
}

TEST_F(UpdateImport, BadLineBeyondTheBatchIsNotRead)
{
    EXPECT_EQ(Import("T\nEUR=1\n\nJPY=bad\n").rowsAdded, 1u);
}

TEST_F(UpdateImport, MissingUpdateFile)
{
    EXPECT_THROW(
        {
            try {
                ImportRatesFile(table_, folder_ / "absent.txt", dataFile_, kFileUpdateSuccessText);
            } catch (const ImportError& error) {
                EXPECT_STREQ(error.what(), "File not found");
                throw;
            }
        },
        ImportError);
    EXPECT_FALSE(std::filesystem::exists(dataFile_));
}

TEST_F(UpdateImport, ClosedTableFailsWithTheTableError)
{
    WriteFile(dataFile_, "not a data packet at all");
    EXPECT_ANY_THROW(table_.LoadFromFile(dataFile_));
    ASSERT_FALSE(table_.Active());
    try {
        Import("T\nEUR=1\n");
        ADD_FAILURE() << "imported into a closed table";
    } catch (const std::exception& error) {
        EXPECT_STREQ(error.what(), "ClientDataSet1: Cannot perform this operation on a closed dataset");
    }
}

} // namespace
} // namespace zentaro
