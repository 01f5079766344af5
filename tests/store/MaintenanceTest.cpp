#include "store/Maintenance.h"
#include "store/RateTable.h"
#include "store/StoreError.h"
#include "tests/common/ShownRows.h"
#include "tests/common/TempDir.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace zentaro {
namespace {

using test::AddRow;
using test::ShownRows;
using test::TempDir;

std::vector<std::string> UploadTimes(RateTable& table)
{
    std::vector<std::string> times;
    for (const auto& row : ShownRows(table))
        times.push_back(row.tgl);
    return times;
}

void Fill(RateTable& table, const std::vector<std::string>& times)
{
    int n = 0;
    for (const auto& time : times)
        AddRow(table, time, 'C' + std::to_string(++n), "1");
}

struct RemovalCase {
    const char* name;
    std::vector<std::string> rows; // upload times in the order posted
    std::string time;
    std::size_t deleted;
    std::vector<std::string> left; // in order by upload time
};

void PrintTo(const RemovalCase& c, std::ostream* out) { *out << c.name; }

class RemoveBatchRules : public testing::TestWithParam<RemovalCase> {};

TEST_P(RemoveBatchRules, LeavesTheOtherBatchesInOrder)
{
    const auto& c = GetParam();
    RateTable table{'.', ByteCollation()};
    Fill(table, c.rows);
    table.First();
    EXPECT_EQ(RemoveBatch(table, c.time), c.deleted);
    EXPECT_EQ(UploadTimes(table), c.left);
}

INSTANTIATE_TEST_SUITE_P(
    Maintenance, RemoveBatchRules,
    testing::Values(
        RemovalCase{"MiddleOfABC", {"A", "A", "B", "B", "B", "C", "C"}, "B", 3, {"A", "A", "C", "C"}},
        RemovalCase{"FirstOfABC", {"B", "A", "C", "A"}, "A", 2, {"B", "C"}},
        RemovalCase{"LastOfABC", {"C", "A", "B", "C"}, "C", 2, {"A", "B"}},
        RemovalCase{"Interleaved", {"A", "B", "A", "C", "B"}, "B", 2, {"A", "A", "C"}},
        RemovalCase{"LetterCase", {"batch", "Batch", "BATCH", "Batch"}, "Batch", 2, {"BATCH", "batch"}},
        RemovalCase{"NoSuchTime", {"B", "A"}, "C", 0, {"A", "B"}},
        RemovalCase{"TrailingSpaceIsAnotherTime", {"A", "B"}, "A ", 0, {"A", "B"}},
        RemovalCase{"EveryRow", {"A", "A", "A"}, "A", 3, {}},
        RemovalCase{"OneRow", {"A"}, "A", 1, {}},
        RemovalCase{"EmptyTimeRows", {"A", "", ""}, "", 2, {"A"}},
        RemovalCase{"NothingOnEmptyTable", {}, "A", 0, {}}),
    [](const testing::TestParamInfo<RemovalCase>& info) { return info.param.name; });

TEST(RemoveBatch, EmptyTimeThatEmptiesTheTableFailsLikeTheTable)
{
    const struct {
        const char* name;
        std::vector<std::string> rows;
    } cases[] = {{"EmptyTable", {}}, {"OnlyEmptyTimes", {"", ""}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RateTable table{'.', ByteCollation()};
        Fill(table, c.rows);
        try {
            RemoveBatch(table, "");
            ADD_FAILURE() << "removed without error";
        } catch (const StoreError& error) {
            EXPECT_STREQ(error.what(), "ClientDataSet1: Cannot perform this operation on an empty dataset");
        }
    }
}

TEST(RemoveBatch, ReachesEveryRowOfLargeBatches)
{
    RateTable table{'.', ByteCollation()};
    std::vector<std::string> rows(1500, "A");
    rows.insert(rows.end(), 1200, "B");
    rows.insert(rows.end(), 10, "C");
    Fill(table, rows);

    EXPECT_EQ(RemoveBatch(table, "B"), 1200u);
    EXPECT_EQ(table.RecordCount(), 1510u);
    EXPECT_EQ(RemoveBatch(table, "A"), 1500u);
    EXPECT_EQ(UploadTimes(table), std::vector<std::string>(10, "C"));
}

TEST(RemoveBatch, TimeTakenFromTheTableItself)
{
    RateTable table{'.', ByteCollation()};
    Fill(table, {"B", "A", "B"});
    table.First();
    EXPECT_EQ(RemoveBatch(table, table.DBEdit1().Text()), 1u);
    EXPECT_EQ(UploadTimes(table), (std::vector<std::string>{"B", "B"}));
}

TEST(RemoveBatch, SavedFileHoldsExactlyTheRemainingRows)
{
    TempDir folder;
    RateTable table{'.', ByteCollation()};
    Fill(table, {"C", "B", "A", "B"});
    RemoveBatch(table, "B");
    table.SaveToFile(folder / "data.kvx");

    RateTable reloaded{'.', ByteCollation()};
    reloaded.LoadFromFile(folder / "data.kvx");
    reloaded.OrderByUploadTime();
    EXPECT_EQ(ShownRows(reloaded), ShownRows(table));
    EXPECT_EQ(reloaded.RecordCount(), 2u);
}

TEST(ClearAll, EmptiesTheTableForTheCallersSave)
{
    TempDir folder;
    RateTable table{'.', ByteCollation()};
    Fill(table, {"A", "B"});
    table.SaveToFile(folder / "data.kvx");
    ClearAll(table);
    EXPECT_EQ(table.RecordCount(), 0u);

    RateTable before{'.', ByteCollation()};
    before.LoadFromFile(folder / "data.kvx");
    EXPECT_EQ(before.RecordCount(), 2u) << "clearing does not save";

    table.SaveToFile(folder / "data.kvx");
    RateTable after{'.', ByteCollation()};
    after.LoadFromFile(folder / "data.kvx");
    EXPECT_EQ(after.RecordCount(), 0u);
    ClearAll(after); // an empty table empties again without error
    EXPECT_EQ(after.RecordCount(), 0u);
}

} // namespace
} // namespace zentaro
