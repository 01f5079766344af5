#include "store/PacketReader.h"
#include "store/PacketWriter.h"
#include "store/RateTable.h"
#include "store/StoreError.h"
#include "tests/common/TableRows.h"
#include "tests/common/TempDir.h"
#include "tests/common/ErrorText.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace zentaro {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::StartsWith;

using test::Row;

TableData ParseFile(const std::filesystem::path& path)
{
    const std::string bytes = test::ReadFile(path);
    return ParsePacket(std::as_bytes(std::span(bytes.data(), bytes.size())));
}

std::string Message(const std::function<void()>& action) { return test::ErrorText<StoreError>(action); }

class RateTableTest : public ::testing::Test {
protected:
    void Add(const std::string& tgl, const std::string& cur, const std::string& nilai)
    {
        test::AddRow(table, tgl, cur, nilai);
    }

    Row Current() const
    {
        return {std::string(table.DBEdit1().Text()), std::string(table.DBEdit2().Text()),
                std::string(table.DBEdit3().Text())};
    }

    std::vector<Row> Rows()
    {
        std::vector<Row> rows;
        if (table.RecordCount() == 0)
            return rows;
        table.First();
        rows.push_back(Current());
        while (!table.AtLastRow()) {
            table.Next();
            rows.push_back(Current());
        }
        return rows;
    }

    void CloseByBrokenFile()
    {
        test::WriteFile(dir / "broken.kvx", "not a packet");
        EXPECT_THROW(table.LoadFromFile(dir / "broken.kvx"), StoreError);
    }

    test::TempDir dir;
    RateTable table{'.', ByteCollation()};
};

TEST_F(RateTableTest, NextPastTheEndKeepsTheLastRowCurrent)
{
    Add("T", "USD", "1");
    Add("T", "EUR", "0.9");
    table.First();
    for (int i = 0; i < 5; ++i)
        table.Next();
    EXPECT_EQ(Current(), (Row{"T", "EUR", "0.9"}));
    EXPECT_TRUE(table.AtLastRow());
}

TEST_F(RateTableTest, EmptyTableReadsEmptyTexts)
{
    table.First();
    EXPECT_EQ(Current(), (Row{"", "", ""}));
    EXPECT_TRUE(table.AtLastRow());
}

TEST_F(RateTableTest, RatesReadBackAsGeneralNumberText)
{
    Add("T", "A", "0.1");
    Add("T", "B", "1E-5");
    Add("T", "C", "1E15");
    Add("T", "D", "123456.5");
    Add("T", "E", "");
    Add("T", "F", "  7 ");
    EXPECT_THAT(Rows(), ElementsAre(Row{"T", "A", "0.1"}, Row{"T", "B", "1E-5"}, Row{"T", "C", "1E15"},
                                    Row{"T", "D", "123456.5"}, Row{"T", "E", ""}, Row{"T", "F", "7"}));
    EXPECT_TRUE(table.Data().values[2].IsNull(4));
}

TEST_F(RateTableTest, DecimalSeparatorShapesReadingAndWriting)
{
    table.SetDecimalSeparator(',');
    Add("T", "A", "1,5");
    EXPECT_EQ(Current().nilai, "1,5");
    EXPECT_EQ(Message([&] { Add("T", "B", "1.5"); }),
              "'1.5' is not a valid floating point value for field 'nilai'");
}

TEST_F(RateTableTest, TextsAreCutAndLoseTrailingSpaces)
{
    Add(" T  ", "  USD  ", "1");
    Add(std::string(120, 'x'), "EUR", "1");
    const auto rows = Rows();
    EXPECT_EQ(rows[0], (Row{" T", "  USD", "1"}));
    EXPECT_EQ(rows[1].tgl, std::string(100, 'x'));
}

TEST_F(RateTableTest, WritingAViewWhileBrowsingNeverReachesTheTable)
{
    Add("T", "USD", "1");
    table.First();
    table.DBEdit2().SetText("GBP");
    EXPECT_EQ(table.DBEdit2().Text(), "GBP");
    table.First();
    EXPECT_EQ(Current(), (Row{"T", "USD", "1"}));
    EXPECT_EQ(Message([&] { table.Post(); }), "ClientDataSet1: Dataset not in edit or insert mode");
}

TEST_F(RateTableTest, PostedRowsTakeTheirPlaceByUploadTimeWhateverIsCurrent)
{
    Add("B", "1", "1");
    Add("A", "2", "2");
    table.First();
    Add("C", "3", "3");
    Add("A", "4", "4");
    Add("B", "5", "5");
    EXPECT_EQ(Current().cur, "5");
    EXPECT_THAT(Rows(), ElementsAre(Row{"A", "2", "2"}, Row{"A", "4", "4"}, Row{"B", "1", "1"},
                                    Row{"B", "5", "5"}, Row{"C", "3", "3"}));
    // Storage keeps the order of posting.
    const auto& stored = table.Data().values[1];
    std::vector<std::string> posted;
    for (std::size_t row = 0; row < table.Data().RowCount(); ++row)
        posted.emplace_back(stored.Text(row));
    EXPECT_THAT(posted, ElementsAre("1", "2", "3", "4", "5"));
}

TEST_F(RateTableTest, StandingOrderPlacesNewRowsAfterEqualUploadTimes)
{
    Add("B", "1", "1");
    Add("A", "2", "2");
    Add("B", "3", "3");
    Add("A", "4", "4");
    EXPECT_EQ(Current().cur, "4");
    Add("0", "5", "5");
    table.OrderByUploadTime();
    EXPECT_EQ(Current().cur, "5");
    EXPECT_THAT(Rows(), ElementsAre(Row{"0", "5", "5"}, Row{"A", "2", "2"}, Row{"A", "4", "4"},
                                    Row{"B", "1", "1"}, Row{"B", "3", "3"}));
}

// A file whose batches are stored out of order, as an import of an older
// day after a newer one leaves them, reads in order from its first load.
TEST_F(RateTableTest, EveryLoadIsInTheStandingOrderButSavesKeepStorageOrder)
{
    TableData packet = TableData::RateTableDefinition();
    const char* rows[][3] = {{"2024-10-11", "USD", "1.09"}, {"2024-10-10", "USD", "1.1"},
                             {"2024-10-10", "JPY", "163"},  {"1999-01-04", "USD", "1.18"},
                             {"2024-10-11", "JPY", "162"},  {"2010-01-01", "USD", "1.4"}};
    for (const auto& row : rows) {
        packet.values[0].AppendText(row[0]);
        packet.values[1].AppendText(row[1]);
        packet.values[2].AppendFloat(std::stod(row[2]));
        packet.status.push_back(kRowInserted);
    }
    const auto packetBytes = BuildPacket(packet);
    const std::string bytes(reinterpret_cast<const char*>(packetBytes.data()), packetBytes.size());
    test::WriteFile(dir / "data.kvx", bytes);

    RateTable loaded('.', ByteCollation());
    loaded.LoadFromFile(dir / "data.kvx");
    std::vector<std::string> order;
    loaded.First();
    for (std::size_t i = 0; i < loaded.RecordCount(); ++i, loaded.Next())
        order.push_back(std::string(loaded.DBEdit1().Text()) + " " + std::string(loaded.DBEdit2().Text()));
    EXPECT_THAT(order, ElementsAre("1999-01-04 USD", "2010-01-01 USD", "2024-10-10 USD", "2024-10-10 JPY",
                                   "2024-10-11 USD", "2024-10-11 JPY"));
    // The first row is current after a load.
    loaded.First();
    EXPECT_EQ(loaded.DBEdit1().Text(), "1999-01-04");

    loaded.SaveToFile(dir / "again.kvx");
    EXPECT_EQ(test::ReadFile(dir / "again.kvx"), bytes);
}

TEST_F(RateTableTest, CollationDecidesTheStandingOrder)
{
    RateTable folded('.', [](std::string_view a, std::string_view b) {
        std::string x(a), y(b);
        for (auto* s : {&x, &y})
            for (char& c : *s)
                c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return x.compare(y);
    });
    for (const char* tgl : {"b", "C", "a"}) {
        folded.Insert();
        folded.DBEdit1().SetText(tgl);
        folded.Post();
    }
    folded.OrderByUploadTime();
    std::vector<std::string> order;
    folded.First();
    for (std::size_t i = 0; i < folded.RecordCount(); ++i, folded.Next())
        order.emplace_back(folded.DBEdit1().Text());
    EXPECT_THAT(order, ElementsAre("a", "b", "C"));
}

TEST_F(RateTableTest, DeleteMakesTheNextOrPreviousRowCurrent)
{
    Add("T", "A", "1");
    Add("T", "B", "2");
    Add("T", "C", "3");
    table.First();
    table.Next();
    table.Delete();
    EXPECT_EQ(Current().cur, "C");
    table.Delete();
    EXPECT_EQ(Current().cur, "A");
    table.Delete();
    EXPECT_EQ(Current(), (Row{"", "", ""}));
    EXPECT_EQ(Message([&] { table.Delete(); }),
              "ClientDataSet1: Cannot perform this operation on an empty dataset");
    const std::vector<ChangeLogEntry> deletes(table.Data().changeLog.begin() + 3, table.Data().changeLog.end());
    EXPECT_EQ(deletes, (std::vector<ChangeLogEntry>{{2, 0, 2}, {3, 0, 2}, {1, 0, 2}}));
}

TEST_F(RateTableTest, BadRateLeavesTheTableUntouchedAndStillInserting)
{
    Add("T", "A", "1");
    table.Insert();
    table.DBEdit1().SetText("T");
    table.DBEdit2().SetText("B");
    table.DBEdit3().SetText("1,234.5");
    EXPECT_EQ(Message([&] { table.Post(); }),
              "'1,234.5' is not a valid floating point value for field 'nilai'");
    EXPECT_TRUE(table.Inserting());
    EXPECT_EQ(table.Data().RowCount(), 1u);
    table.Cancel();
    EXPECT_THAT(Rows(), ElementsAre(Row{"T", "A", "1"}));
    EXPECT_EQ(Message([&] { Add("T", "C", "1E400"); }), "Floating point overflow");
}

TEST_F(RateTableTest, EveryOperationFailsOnAClosedTable)
{
    CloseByBrokenFile();
    EXPECT_FALSE(table.Active());
    const std::function<void()> operations[] = {
        [&] { table.First(); },  [&] { table.Next(); },        [&] { table.Insert(); },
        [&] { table.Post(); },   [&] { table.Delete(); },      [&] { table.EmptyTable(); },
        [&] { table.Cancel(); }, [&] { table.OrderByUploadTime(); },
    };
    for (const auto& operation : operations)
        EXPECT_EQ(Message(operation), "ClientDataSet1: Cannot perform this operation on a closed dataset");
    EXPECT_EQ(table.DBEdit1().Text(), "");
}

TEST_F(RateTableTest, ClosedTableNeverOverwritesTheFile)
{
    test::WriteFile(dir / "data.kvx", "precious but unreadable");
    EXPECT_THAT(Message([&] { table.LoadFromFile(dir / "data.kvx"); }), "Mismatch in datapacket.");
    table.SaveToFile(dir / "data.kvx");
    EXPECT_EQ(test::ReadFile(dir / "data.kvx"), "precious but unreadable");
}

TEST_F(RateTableTest, ZeroByteFileKeepsTheContent)
{
    Add("T", "USD", "1");
    test::WriteFile(dir / "data.kvx", "");
    table.LoadFromFile(dir / "data.kvx");
    EXPECT_THAT(Rows(), ElementsAre(Row{"T", "USD", "1"}));
}

TEST_F(RateTableTest, MissingFileFailsButLeavesAnOpenEmptyTable)
{
    Add("T", "USD", "1");
    const auto path = dir / "absent.kvx";
    EXPECT_EQ(Message([&] { table.LoadFromFile(path); }),
              "Cannot open file \"" + path.string() + "\". No such file or directory");
    EXPECT_TRUE(table.Active());
    EXPECT_EQ(table.RecordCount(), 0u);
    Add("U", "EUR", "1");
    table.SaveToFile(path);
    EXPECT_EQ(ParseFile(path).RowCount(), 1u);
}

TEST_F(RateTableTest, LoadReplacesRowsAndMakesTheFirstCurrent)
{
    Add("T", "USD", "1");
    Add("T", "EUR", "0.9");
    table.SaveToFile(dir / "data.kvx");
    RateTable other('.', ByteCollation());
    other.Insert();
    other.DBEdit1().SetText("old");
    other.Post();
    other.LoadFromFile(dir / "data.kvx");
    EXPECT_EQ(other.DBEdit2().Text(), "USD");
    EXPECT_EQ(other.RecordCount(), 2u);
    EXPECT_EQ(other.Data().changeLog.size(), 2u);
}

TEST_F(RateTableTest, SavePostsAPendingRowOrDropsAnUntouchedOne)
{
    table.Insert();
    table.SaveToFile(dir / "a.kvx");
    EXPECT_EQ(table.RecordCount(), 0u);
    table.Insert();
    table.DBEdit2().SetText("USD");
    table.SaveToFile(dir / "b.kvx");
    EXPECT_EQ(table.RecordCount(), 1u);
    const TableData saved = ParseFile(dir / "b.kvx");
    EXPECT_TRUE(saved.values[0].IsNull(0)); // never written: null, not empty
    EXPECT_EQ(saved.values[1].Text(0), "USD");
}

TEST_F(RateTableTest, FailedSaveNamesThePathAndKeepsTheOldFile)
{
    const auto missingFolder = dir / "no such folder" / "data.kvx";
    EXPECT_EQ(Message([&] { table.SaveToFile(missingFolder); }),
              "Cannot create file \"" + missingFolder.string() + "\". No such file or directory");

    Add("T", "USD", "1");
    table.SaveToFile(dir / "data.kvx");
    const std::string before = test::ReadFile(dir / "data.kvx");
    for (int i = 0; i < 2000; ++i)
        Add("T", 'C' + std::to_string(i), "1.5");

    // A file size limit makes the write fall short, as a full disk would.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 4096;
    setrlimit(RLIMIT_FSIZE, &small);
    const std::string message = Message([&] { table.SaveToFile(dir / "data.kvx"); });
    setrlimit(RLIMIT_FSIZE, &old);

    EXPECT_THAT(message, StartsWith("Cannot create file \"" + (dir / "data.kvx").string() + "\". "));
    EXPECT_THAT(message, HasSubstr("too large"));
    EXPECT_EQ(test::ReadFile(dir / "data.kvx"), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST_F(RateTableTest, EmptyTableStartsNumberingAgain)
{
    Add("T", "A", "1");
    table.First();
    table.Delete();
    table.EmptyTable();
    Add("T", "B", "2");
    EXPECT_EQ(table.Data().RowCount(), 1u);
    EXPECT_EQ(table.Data().changeLog, (std::vector<ChangeLogEntry>{{1, 0, 4}}));
}

} // namespace
} // namespace zentaro
