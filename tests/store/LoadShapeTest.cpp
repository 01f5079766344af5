// What the load leaves out when a file does not need it: the cells' flags
// while no cell is null, the list of visible rows while every row is visible
// and in order. Each case checks that the table answers as if both were there.
#include "store/PacketReader.h"
#include "store/PacketWriter.h"
#include "store/RateTable.h"
#include "store/StoreError.h"
#include "tests/common/TableRows.h"
#include "tests/common/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

namespace zentaro {
namespace {

using Cell = std::optional<std::string>; // nullopt: null

struct NullCase {
    const char* name;
    std::size_t rows;
    // The null cells, as row * 3 + column.
    std::set<std::size_t> nulls;
};

std::string TextOf(std::size_t row, std::size_t column)
{
    // Runs of three rows share an upload time, as a batch's rows do.
    return column == 0 ? "2024-01-" + std::to_string(10 + row / 3) : "C" + std::to_string(row % 7);
}

TableData TableWithNulls(const NullCase& c)
{
    TableData table = TableData::RateTableDefinition();
    for (std::size_t row = 0; row < c.rows; ++row) {
        for (std::size_t column = 0; column < 3; ++column) {
            auto& values = table.values[column];
            if (c.nulls.count(row * 3 + column) != 0)
                values.AppendEmpty(kCellNull);
            else if (column == 2)
                values.AppendFloat(static_cast<double>(row) + 0.5);
            else
                values.AppendText(TextOf(row, column));
        }
        table.status.push_back(0);
    }
    return table;
}

void PrintTo(const NullCase& c, std::ostream* out) { *out << c.name; }

class NullCells : public ::testing::TestWithParam<NullCase> {};

TEST_P(NullCells, ReadBackCellByCellAndWrittenAgainByteForByte)
{
    const NullCase& c = GetParam();
    const TableData built = TableWithNulls(c);
    const auto bytes = BuildPacket(built);
    const TableData read = ParsePacket(bytes);
    ASSERT_EQ(read.RowCount(), c.rows);
    for (std::size_t row = 0; row < c.rows; ++row) {
        for (std::size_t column = 0; column < 3; ++column) {
            const auto& values = read.values[column];
            const bool null = c.nulls.count(row * 3 + column) != 0;
            ASSERT_EQ(values.IsNull(row), null) << row << "," << column;
            ASSERT_EQ(values.Flags(row), null ? kCellNull : 0) << row << "," << column;
            if (null)
                continue;
            if (column == 2)
                EXPECT_EQ(values.Float(row), static_cast<double>(row) + 0.5) << row;
            else
                EXPECT_EQ(values.Text(row), TextOf(row, column)) << row << "," << column;
        }
    }
    EXPECT_EQ(BuildPacket(read), bytes);
}

// 5000 rows take several of the reader's blocks, so a null that late is read
// in a later block than the first rows.
INSTANTIATE_TEST_SUITE_P(Load, NullCells,
                         ::testing::Values(NullCase{"NoNull", 40, {}},
                                           NullCase{"FirstTgl", 40, {0}},
                                           NullCase{"MiddleNilai", 40, {20 * 3 + 2}},
                                           NullCase{"LastCur", 40, {39 * 3 + 1}},
                                           NullCase{"WholeRow", 40, {9 * 3, 9 * 3 + 1, 9 * 3 + 2}},
                                           NullCase{"LateInALongTable", 5000, {4000 * 3 + 1, 4999 * 3 + 2}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(NullCellsAfterAnEdit, ARowPostedWithoutARateIsNullAndTheRowsBeforeAreNot)
{
    const test::TempDir folder;
    const auto file = folder / "data.kvx";
    RateTable table('.', ByteCollation());
    test::AddRows(table, {{"2024-01-01", "USD", "1.5"}, {"2024-01-01", "JPY", "150"}});
    table.SaveToFile(file);
    table.LoadFromFile(file);
    // A row without a rate, and one with a rate after it.
    table.Insert();
    table.DBEdit1().SetText("2024-01-02");
    table.DBEdit2().SetText("GBP");
    table.Post();
    test::AddRow(table, "2024-01-02", "CHF", "0.9");
    const auto check = [](const TableData& data) {
        ASSERT_EQ(data.RowCount(), 4u);
        const auto& nilai = data.values[2];
        EXPECT_FALSE(nilai.IsNull(0));
        EXPECT_FALSE(nilai.IsNull(1));
        EXPECT_TRUE(nilai.IsNull(2));
        EXPECT_FALSE(nilai.IsNull(3));
        EXPECT_EQ(nilai.Float(1), 150.0);
        EXPECT_EQ(nilai.Float(3), 0.9);
        EXPECT_FALSE(data.values[1].IsNull(2));
    };
    check(table.Data());
    table.SaveToFile(file);
    RateTable reloaded('.', ByteCollation());
    reloaded.LoadFromFile(file);
    check(reloaded.Data());
}

struct OrderCase {
    const char* name;
    std::vector<std::string> tgl;     // of each stored row
    std::vector<std::uint8_t> status; // of each stored row
    std::vector<std::uint32_t> order; // the visible stored rows in table order
};

void PrintTo(const OrderCase& c, std::ostream* out) { *out << c.name; }

class VisibleRows : public ::testing::TestWithParam<OrderCase> {
protected:
    // The table loaded from a file of the case's rows.
    void Load()
    {
        const OrderCase& c = GetParam();
        TableData data = TableData::RateTableDefinition();
        for (std::size_t row = 0; row < c.tgl.size(); ++row) {
            data.values[0].AppendText(c.tgl[row]);
            data.values[1].AppendText("C" + std::to_string(row));
            data.values[2].AppendFloat(static_cast<double>(row));
            data.status.push_back(c.status[row]);
        }
        const auto bytes = BuildPacket(data);
        test::WriteFile(file, std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
        table.LoadFromFile(file);
    }

    std::vector<std::uint32_t> Order() const
    {
        std::vector<std::uint32_t> order;
        for (std::size_t i = 0; i < table.RecordCount(); ++i)
            order.push_back(table.VisibleRow(i));
        return order;
    }

    // What the cursor shows, walking from the first row.
    std::vector<std::string> Currencies()
    {
        std::vector<std::string> shown;
        if (table.RecordCount() == 0)
            return shown;
        for (table.First();; table.Next()) {
            shown.emplace_back(table.DBEdit2().Text());
            if (table.AtLastRow())
                return shown;
        }
    }

    const test::TempDir folder;
    const std::filesystem::path file = folder / "data.kvx";
    RateTable table{'.', ByteCollation()};
};

std::vector<std::string> CurrenciesOf(const std::vector<std::uint32_t>& rows)
{
    std::vector<std::string> codes;
    for (const auto row : rows)
        codes.push_back("C" + std::to_string(row));
    return codes;
}

TEST_P(VisibleRows, LoadListsTheVisibleRowsInOrder)
{
    Load();
    EXPECT_EQ(Order(), GetParam().order);
    EXPECT_EQ(Currencies(), CurrenciesOf(GetParam().order));
}

TEST_P(VisibleRows, APostedRowGoesAfterItsUploadTime)
{
    Load();
    const std::vector<std::string> tgl = GetParam().tgl;
    const auto added = static_cast<std::uint32_t>(tgl.size());
    for (const std::string time : {"2024-01-02", "2024-01-09"}) {
        std::vector<std::uint32_t> expected = Order();
        const auto stored = static_cast<std::uint32_t>(table.Data().RowCount());
        auto place = expected.begin();
        while (place != expected.end() && table.Data().values[0].Text(*place) <= time)
            ++place;
        expected.insert(place, stored);
        test::AddRow(table, time, "C" + std::to_string(stored), "1");
        EXPECT_EQ(Order(), expected) << time;
        EXPECT_EQ(table.CurrentStoredRow(), stored) << time;
    }
    EXPECT_EQ(Currencies(), CurrenciesOf(Order()));
    EXPECT_EQ(table.Data().RowCount(), added + 2);
}

TEST_P(VisibleRows, ADeletedRowLeavesTheOthersInOrder)
{
    Load();
    std::vector<std::uint32_t> expected = GetParam().order;
    if (expected.empty()) {
        EXPECT_THROW(table.Delete(), StoreError);
        return;
    }
    table.First();
    table.Next(); // the second row, or the only one
    const std::size_t position = expected.size() > 1 ? 1 : 0;
    table.Delete();
    expected.erase(expected.begin() + static_cast<std::ptrdiff_t>(position));
    EXPECT_EQ(Order(), expected);
    EXPECT_EQ(Currencies(), CurrenciesOf(expected));
}

INSTANTIATE_TEST_SUITE_P(
    Load, VisibleRows,
    ::testing::Values(
        OrderCase{"EveryRowVisibleInOrder",
                  {"2024-01-01", "2024-01-01", "2024-01-03", "2024-01-03"}, {0, 0, 0, 0}, {0, 1, 2, 3}},
        OrderCase{"EveryRowVisibleNewestFirst",
                  {"2024-01-03", "2024-01-03", "2024-01-01", "2024-01-01"}, {0, 0, 0, 0}, {2, 3, 0, 1}},
        OrderCase{"DeletedAndSupersededRowsHidden",
                  {"2024-01-01", "2024-01-01", "2024-01-03", "2024-01-03"},
                  {kRowDeleted, 0, kRowSuperseded, 0},
                  {1, 3}},
        OrderCase{"HiddenRowsAndOutOfOrder",
                  {"2024-01-05", "2024-01-01", "2024-01-03", "2024-01-01"},
                  {0, kRowDeleted, 0, 0},
                  {3, 2, 0}},
        OrderCase{"EveryRowHidden", {"2024-01-01", "2024-01-02"}, {kRowDeleted, kRowDeleted}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

struct LogCase {
    const char* name;
    std::vector<ChangeLogEntry> entries;
};

void PrintTo(const LogCase& c, std::ostream* out) { *out << c.name; }

class ChangeLogRuns : public ::testing::TestWithParam<LogCase> {};

// The log keeps consecutive inserts as runs; whatever it merges, it gives
// back every entry as added, and a packet carries them all.
TEST_P(ChangeLogRuns, GiveBackEveryEntryAsAddedAndThroughAPacket)
{
    const auto& entries = GetParam().entries;
    ChangeLog log;
    for (const auto& entry : entries)
        log.push_back(entry);
    EXPECT_EQ(log.size(), entries.size());
    EXPECT_EQ(std::vector<ChangeLogEntry>(log.begin(), log.end()), entries);

    TableData table = TableData::RateTableDefinition();
    std::uint32_t rows = 0;
    for (const auto& entry : entries)
        rows = std::max(rows, entry.row);
    for (std::uint32_t row = 0; row < rows; ++row) {
        table.values[0].AppendText("2024-01-01");
        table.values[1].AppendText("C");
        table.values[2].AppendFloat(1);
        table.status.push_back(kRowInserted);
    }
    table.changeLog = log;
    const TableData read = ParsePacket(BuildPacket(table));
    EXPECT_EQ(read.changeLog, entries);
}

INSTANTIATE_TEST_SUITE_P(
    Load, ChangeLogRuns,
    ::testing::Values(LogCase{"Inserts", {{1, 0, 4}, {2, 0, 4}, {3, 0, 4}, {4, 0, 4}}},
                      LogCase{"InsertsThenDeletes", {{1, 0, 4}, {2, 0, 4}, {2, 0, 2}, {3, 0, 2}, {1, 0, 2}}},
                      LogCase{"AGapInTheRows", {{1, 0, 4}, {2, 0, 4}, {4, 0, 4}, {5, 0, 4}}},
                      LogCase{"RowsDownwards", {{3, 0, 4}, {2, 0, 4}, {1, 0, 4}}},
                      LogCase{"OneRowAgain", {{2, 0, 4}, {2, 0, 4}, {3, 0, 4}}},
                      LogCase{"ModifiesOfDifferentRows", {{3, 1, 8}, {4, 2, 8}, {5, 2, 8}, {6, 2, 4}}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace zentaro
