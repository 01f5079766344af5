#include "store/PacketReader.h"
#include "store/PacketWriter.h"
#include "store/RateTable.h"
#include "store/StoreError.h"
#include "tests/common/TempDir.h"
#include "tests/common/TableRows.h"
#include "tests/common/ErrorText.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

namespace zentaro {
namespace {

using Bytes = std::vector<std::byte>;

Bytes FromHex(std::initializer_list<int> values)
{
    Bytes bytes;
    for (int v : values)
        bytes.push_back(std::byte(v));
    return bytes;
}

Bytes FromString(std::string_view text)
{
    Bytes bytes(text.size());
    std::memcpy(bytes.data(), text.data(), text.size());
    return bytes;
}

const Bytes kEmptyPacket = FromHex({
    0x96, 0x19, 0xE0, 0xBD, 0x01, 0x00, 0x00, 0x00, 0x18, 0x00, 0x00, 0x00, 0x03, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00, 0x58, 0x00, 0x03, 0x74, 0x67, 0x6C,
    0x01, 0x00, 0x49, 0x00, 0x00, 0x00, 0x01, 0x00, 0x05, 0x57, 0x49, 0x44, 0x54, 0x48,
    0x02, 0x00, 0x02, 0x00, 0x64, 0x00, 0x03, 0x63, 0x75, 0x72, 0x01, 0x00, 0x49, 0x00,
    0x00, 0x00, 0x01, 0x00, 0x05, 0x57, 0x49, 0x44, 0x54, 0x48, 0x02, 0x00, 0x02, 0x00,
    0x64, 0x00, 0x05, 0x6E, 0x69, 0x6C, 0x61, 0x69, 0x08, 0x00, 0x04, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00,
});

Bytes OneRowPacket()
{
    Bytes bytes(kEmptyPacket.begin(), kEmptyPacket.begin() + 86);
    bytes[14] = std::byte{1};
    bytes[22] = std::byte{0x77};
    const Bytes tail = FromHex({
        0x01, 0x00, 0x0A, 0x43, 0x48, 0x41, 0x4E, 0x47, 0x45, 0x5F, 0x4C, 0x4F, 0x47, 0x04,
        0x00, 0x82, 0x00, 0x03, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
        0x00, 0x04, 0x00, 0x00, 0x00, 0x04, 0x00, 0x01, 0x31, 0x01, 0x41, 0x00, 0x00, 0x00,
        0x00, 0x00, 0x00, 0xF0, 0x3F,
    });
    bytes.insert(bytes.end(), tail.begin(), tail.end());
    return bytes;
}

Bytes FileBytes(const std::filesystem::path& path) { return FromString(test::ReadFile(path)); }

std::string ErrorOf(const Bytes& bytes)
{
    return test::ErrorText<StoreError>([&] { ParsePacket(bytes); });
}

void PutU16(Bytes& bytes, std::size_t at, std::uint16_t v)
{
    bytes[at] = std::byte(v & 0xFF);
    bytes[at + 1] = std::byte(v >> 8);
}

TEST(DataPacket, EmptyRateTableIsTheEightyEightByteGolden)
{
    EXPECT_EQ(BuildPacket(TableData::RateTableDefinition()), kEmptyPacket);
    test::TempDir dir;
    RateTable table;
    table.SaveToFile(dir / "data.kvx");
    EXPECT_EQ(FileBytes(dir / "data.kvx"), kEmptyPacket);
}

TEST(DataPacket, OneInsertedRowIsTheGoldenPacket)
{
    test::TempDir dir;
    RateTable table;
    test::AddRow(table, "1", "A", "1");
    table.SaveToFile(dir / "data.kvx");
    const Bytes golden = OneRowPacket();
    ASSERT_EQ(golden.size(), 133u);
    EXPECT_EQ(FileBytes(dir / "data.kvx"), golden);
}

TEST(DataPacket, DeletedRowsStayStoredWithTheirChangeLog)
{
    test::TempDir dir;
    RateTable table;
    test::AddRow(table, "T", "USD", "1");
    test::AddRow(table, "T", "EUR", "0.9");
    table.First();
    table.Delete();
    table.SaveToFile(dir / "data.kvx");

    const TableData data = ParsePacket(FileBytes(dir / "data.kvx"));
    ASSERT_EQ(data.RowCount(), 2u);
    EXPECT_EQ(data.status[0], 0x06);
    EXPECT_EQ(data.status[1], 0x04);
    EXPECT_EQ(data.values[1].Text(0), "USD");
    const std::vector<ChangeLogEntry> log = {{1, 0, 4}, {2, 0, 4}, {1, 0, 2}};
    EXPECT_EQ(data.changeLog, log);

    RateTable loaded;
    loaded.LoadFromFile(dir / "data.kvx");
    EXPECT_EQ(loaded.RecordCount(), 1u);
    loaded.First();
    EXPECT_EQ(loaded.DBEdit2().Text(), "EUR");
}

TEST(DataPacket, EmptiedTableSavesTheEmptyPacketAgain)
{
    test::TempDir dir;
    RateTable table;
    test::AddRow(table, "T", "USD", "1");
    table.EmptyTable();
    table.SaveToFile(dir / "data.kvx");
    EXPECT_EQ(FileBytes(dir / "data.kvx"), kEmptyPacket);
}

TEST(DataPacket, NullRateAndEmptyTextEncodings)
{
    RateTable table;
    test::AddRow(table, "T", "", "");
    const Bytes packet = BuildPacket(table.Data());
    // Row: status 04, indicator 10 (nilai null), "T", empty cur as 01 00, no rate.
    const Bytes row = FromHex({0x04, 0x10, 0x01, 0x54, 0x01, 0x00});
    ASSERT_GE(packet.size(), row.size());
    EXPECT_TRUE(std::equal(row.begin(), row.end(), packet.end() - static_cast<std::ptrdiff_t>(row.size())));

    const TableData data = ParsePacket(packet);
    EXPECT_FALSE(data.values[1].IsNull(0));
    EXPECT_EQ(data.values[1].Text(0), "");
    EXPECT_TRUE(data.values[2].IsNull(0));
}

TableData RichTable()
{
    TableData table = TableData::RateTableDefinition();
    table.columns[0].kept.push_back({"NOTE", 0x00490001, FromHex({0x02, 0x68, 0x69})});
    table.datasetParameters.push_back({"LCID", 0x00020004, FromHex({0x09, 0x04, 0x00, 0x00})});
    table.datasetParameters.push_back({"MD_SEMANTICS", 0x00020004, FromHex({0x01, 0x00, 0x00, 0x00})});
    const struct {
        std::uint8_t status;
        const char* tgl;
        const char* cur; // nullptr: null
        std::optional<double> nilai;
    } rows[] = {
        {0x04, "2013-01-28", "USD", 1.3444},
        {0x06, "2013-01-28", "JPY", 122.21},
        {0x04, "", "", std::nullopt},
        {0x00, "loaded as unmodified", nullptr, -0.5},
    };
    for (const auto& row : rows) {
        table.status.push_back(row.status);
        table.values[0].AppendText(row.tgl);
        if (row.cur)
            table.values[1].AppendText(row.cur);
        else
            table.values[1].AppendEmpty(kCellNull);
        if (row.nilai)
            table.values[2].AppendFloat(*row.nilai);
        else
            table.values[2].AppendEmpty(kCellNull);
    }
    table.changeLog = {{1, 0, 4}, {2, 0, 4}, {3, 0, 4}, {2, 0, 2}};
    return table;
}

void ExpectSameTable(const TableData& a, const TableData& b)
{
    EXPECT_EQ(a.columns, b.columns);
    EXPECT_EQ(a.status, b.status);
    EXPECT_EQ(a.changeLog, b.changeLog);
    EXPECT_EQ(a.datasetParameters, b.datasetParameters);
    ASSERT_EQ(a.values.size(), b.values.size());
    for (std::size_t c = 0; c < a.values.size(); ++c) {
        ASSERT_EQ(a.values[c].Size(), b.values[c].Size());
        for (std::size_t r = 0; r < a.values[c].Size(); ++r) {
            EXPECT_EQ(a.values[c].Flags(r), b.values[c].Flags(r)) << c << "," << r;
            if (a.values[c].Flags(r) != 0)
                continue;
            if (a.columns[c].kind == ColumnKind::Text)
                EXPECT_EQ(a.values[c].Text(r), b.values[c].Text(r));
            else
                EXPECT_EQ(a.values[c].Float(r), b.values[c].Float(r));
        }
    }
}

TEST(DataPacket, RoundTripKeepsRowsStatusesLogAndKeptParameters)
{
    const TableData table = RichTable();
    const Bytes packet = BuildPacket(table);
    const TableData parsed = ParsePacket(packet);
    ExpectSameTable(table, parsed);
    EXPECT_EQ(BuildPacket(parsed), packet);
}

TEST(DataPacket, KeptParametersFollowTheGeneratedOnes)
{
    const Bytes packet = BuildPacket(RichTable());
    const std::string text(reinterpret_cast<const char*>(packet.data()), packet.size());
    EXPECT_LT(text.find("WIDTH"), text.find("NOTE"));
    EXPECT_LT(text.find("CHANGE_LOG"), text.find("LCID"));
    EXPECT_LT(text.find("LCID"), text.find("MD_SEMANTICS"));
}

TEST(DataPacket, WithoutChangeLogUnusedSlotsAreLeftOut)
{
    TableData table = TableData::RateTableDefinition();
    for (std::uint8_t status : {std::uint8_t{0}, kRowUnused, std::uint8_t{0}}) {
        table.status.push_back(status);
        table.values[0].AppendText(status ? "unused" : "kept");
        table.values[1].AppendText("X");
        table.values[2].AppendFloat(1);
    }
    const TableData parsed = ParsePacket(BuildPacket(table));
    ASSERT_EQ(parsed.RowCount(), 2u);
    EXPECT_EQ(parsed.values[0].Text(1), "kept");
}

TEST(DataPacket, LongChangeLogDropsTheFirstRowOffset)
{
    TableData table = TableData::RateTableDefinition();
    table.status.push_back(kRowInserted);
    table.values[0].AppendText("T");
    table.values[1].AppendText("C");
    table.values[2].AppendFloat(2);
    table.changeLog.assign(5452, {1, 0, 4});
    Bytes packet = BuildPacket(table);
    EXPECT_EQ(std::to_integer<int>(packet[18]), 3);
    EXPECT_EQ(std::to_integer<int>(packet[22]) | std::to_integer<int>(packet[23]) << 8, 107 + 12 * 5452);

    table.changeLog.assign(5453, {1, 0, 4});
    packet = BuildPacket(table);
    EXPECT_EQ(std::to_integer<int>(packet[18]), 1);
    EXPECT_EQ(std::to_integer<int>(packet[22]), 0);
    EXPECT_EQ(std::to_integer<int>(packet[23]), 0);
    const TableData parsed = ParsePacket(packet);
    EXPECT_EQ(parsed.changeLog.size(), 5453u);
    EXPECT_EQ(parsed.values[1].Text(0), "C");
}

TEST(DataPacket, TextLongerThanItsWidthIsCut)
{
    Bytes packet = OneRowPacket();
    PutU16(packet, 46, 1); // tgl's WIDTH
    Bytes longer(packet.begin(), packet.begin() + 121);
    const Bytes value = FromHex({0x03, 0x31, 0x32, 0x33});
    longer.insert(longer.end(), value.begin(), value.end());
    longer.insert(longer.end(), packet.begin() + 123, packet.end());
    const TableData parsed = ParsePacket(longer);
    EXPECT_EQ(parsed.values[0].Text(0), "1");
    EXPECT_EQ(parsed.values[1].Text(0), "A");
}

// The length prefix of a text column's rows is what its type word says,
// even where another writer chose it against the width.
TEST(DataPacket, TheTypeWordGivesTheRowsLengthPrefix)
{
    TableData table = TableData::RateTableDefinition();
    table.columns[0].width = 300; // written with two-byte lengths
    table.values[0].AppendText("2024-01-01");
    table.values[1].AppendText("USD");
    table.values[2].AppendFloat(1.5);
    table.status.push_back(kRowInserted);
    Bytes packet = BuildPacket(table);
    ASSERT_EQ(packet[46], std::byte{0x2C}); // tgl's WIDTH
    PutU16(packet, 46, 100);
    const TableData parsed = ParsePacket(packet);
    EXPECT_EQ(parsed.columns[0].width, 100);
    EXPECT_EQ(parsed.values[0].Text(0), "2024-01-01");
    EXPECT_EQ(parsed.values[1].Text(0), "USD");
    EXPECT_EQ(parsed.values[2].Float(0), 1.5);
}

TEST(DataPacket, ParameterNamesAreComparedWithoutCase)
{
    Bytes packet = OneRowPacket();
    std::memcpy(packet.data() + 37, "width", 5);
    std::memcpy(packet.data() + 89, "change_log", 10);
    const TableData parsed = ParsePacket(packet);
    EXPECT_EQ(parsed.columns[0].width, 100);
    EXPECT_TRUE(parsed.columns[0].kept.empty());
    EXPECT_EQ(parsed.changeLog.size(), 1u);
}

struct BadPacket {
    const char* name;
    Bytes bytes;
    const char* message;
};

std::vector<BadPacket> BadPackets()
{
    // One byte of the one-row packet changed.
    const struct {
        const char* name;
        std::size_t offset;
        std::uint8_t value;
        const char* message;
    } changes[] = {
        {"version first word 4", 4, 4, "Mismatch in datapacket."},
        {"version second word 4", 6, 4, "Mismatch in datapacket."},
        {"flags 0", 18, 0, "Datapacket contains no meta data."},
        {"no columns", 12, 0, "Mismatch in datapacket."},
        {"nameless column", 24, 0, "Field name can't be null, datapacket may be corrupted"},
        {"text column without width", 46, 0, "Invalid parameter."},
        {"change log of two elements", 103, 2, "Invalid parameter."},
        {"change log not an array", 101, 0x02, "Invalid parameter."},
        {"unknown column kind", 80, 0x0A, "Mismatch in datapacket."},
        {"header size past the end", 9, 0x10, "Mismatch in datapacket."},
        {"huge row count", 17, 0x7F, "Mismatch in datapacket."},
    };
    std::vector<BadPacket> cases;
    for (const auto& change : changes) {
        Bytes bytes = OneRowPacket();
        bytes[change.offset] = std::byte{change.value};
        cases.push_back({change.name, std::move(bytes), change.message});
    }
    cases.push_back({"plain text file of rates", FromString("2013-01-28\nUSD=1.3444\n"),
                     "Mismatch in datapacket."});
    cases.push_back({"XML form", FromString("\xEF\xBB\xBF <?xml version=\"1.0\"?><DATAPACKET/>"),
                     "Mismatch in datapacket."});
    cases.push_back({"three bytes", FromHex({0x96, 0x19, 0xE0}), "Mismatch in datapacket."});
    return cases;
}

TEST(DataPacket, DamagedPacketsFailWithTheirTexts)
{
    for (const auto& c : BadPackets())
        EXPECT_EQ(ErrorOf(c.bytes), c.message) << c.name;
}

// An empty packet whose dataset parameter is an array of the given type word
// and element count, followed by valueBytes.
Bytes WithArrayParameter(std::uint32_t typeWord, std::uint32_t count, const Bytes& valueBytes)
{
    Bytes packet(kEmptyPacket.begin(), kEmptyPacket.begin() + 86);
    const Bytes head = FromHex({0x01, 0x00, 0x04, 'K', 'E', 'P', 'T'});
    packet.insert(packet.end(), head.begin(), head.end());
    for (std::uint32_t v : {typeWord, count})
        for (int i = 0; i < 4; ++i)
            packet.push_back(std::byte(v >> (8 * i)));
    packet.insert(packet.end(), valueBytes.begin(), valueBytes.end());
    return packet;
}

TEST(DataPacket, ArrayCountsAreCheckedBeforeTheyAreWalked)
{
    // Four billion elements of size 0 take no bytes: kept as they are, at once.
    const Bytes empty = WithArrayParameter(0x00820000, 0xFFFFFFFF, {});
    const TableData parsed = ParsePacket(empty);
    ASSERT_EQ(parsed.datasetParameters.size(), 1u);
    EXPECT_EQ(parsed.datasetParameters[0].value, FromHex({0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(ParsePacket(BuildPacket(parsed)).datasetParameters, parsed.datasetParameters);
    // Length-prefixed elements each need their prefix at least.
    EXPECT_EQ(ErrorOf(WithArrayParameter(0x00C90001, 0xFFFFFFFF, FromHex({0x00}))), "Mismatch in datapacket.");
    const Bytes texts = WithArrayParameter(0x00C90001, 2, FromHex({0x01, 'a', 0x02, 'b', 'c'}));
    EXPECT_EQ(ParsePacket(texts).datasetParameters[0].value.size(), 9u);
}

TEST(DataPacket, AlternativeMagicSkipsTheVersionCheck)
{
    Bytes packet = OneRowPacket();
    const Bytes alt = FromHex({0xCD, 0xAB, 0x00, 0x00, 0x09, 0x00, 0x09, 0x00});
    std::copy(alt.begin(), alt.end(), packet.begin());
    EXPECT_EQ(ParsePacket(packet).RowCount(), 1u);
}

// A table whose change log alone is larger than the first read and whose rows
// span many blocks, with runs of equal upload times as imports leave them.
TableData LongTable()
{
    RateTable table('.', ByteCollation());
    for (int row = 0; row < 30000; ++row)
        test::AddRow(table, "2024-10-" + std::to_string(10 + row / 3000), row % 7 == 0 ? "" : 'C' + std::to_string(row % 33),
                     row % 11 == 0 ? "" : std::to_string(row) + ".25");
    table.First();
    for (int i = 0; i < 50; ++i)
        table.Delete();
    return table.Data();
}

TEST(DataPacket, ReadingInPiecesOfAnySizeGivesTheWholeTable)
{
    const Bytes packet = BuildPacket(LongTable());
    ASSERT_GT(packet.size(), 600'000u);
    std::mt19937 random(11);
    for (const std::size_t largest : {std::size_t{1}, std::size_t{7}, std::size_t{4096}, packet.size()}) {
        std::size_t offset = 0;
        const auto read = [&](std::span<std::byte> into) {
            const std::size_t count = std::min({into.size(), packet.size() - offset, 1 + random() % largest});
            std::memcpy(into.data(), packet.data() + offset, count);
            offset += count;
            return count;
        };
        const TableData parsed = ReadPacket(read, packet.size());
        EXPECT_EQ(parsed.RowCount(), 30000u) << largest;
        EXPECT_EQ(BuildPacket(parsed), packet) << largest;
    }
}

TEST(DataPacket, NothingBeyondTheGivenSizeIsRead)
{
    const Bytes packet = BuildPacket(LongTable());
    Bytes source = packet;
    source.resize(packet.size() + 100'000, std::byte{0x7F});
    const struct {
        const char* name;
        std::size_t size;
        bool parses;
    } cases[] = {
        {"the packet's size", packet.size(), true},
        {"one byte short", packet.size() - 1, false},
        {"the last row short", packet.size() - 20, false},
    };
    for (const auto& c : cases) {
        std::size_t offset = 0;
        std::size_t largestAsked = 0;
        const auto read = [&](std::span<std::byte> into) {
            largestAsked = std::max(largestAsked, offset + into.size());
            const std::size_t count = std::min(into.size(), source.size() - offset);
            std::memcpy(into.data(), source.data() + offset, count);
            offset += count;
            return count;
        };
        try {
            const TableData parsed = ReadPacket(read, c.size);
            EXPECT_TRUE(c.parses) << c.name;
            EXPECT_EQ(BuildPacket(parsed), packet) << c.name;
        } catch (const StoreError& error) {
            EXPECT_FALSE(c.parses) << c.name;
            EXPECT_STREQ(error.what(), "Mismatch in datapacket.") << c.name;
        }
        EXPECT_LE(largestAsked, c.size) << c.name;
    }
}

TEST(DataPacket, SourceEndingEarlyFailsAtEveryStage)
{
    const Bytes packet = BuildPacket(LongTable());
    // In the header, in the change log, in the first rows and in the last row.
    for (const std::size_t end : {std::size_t{10}, std::size_t{100'000}, std::size_t{400'000}, packet.size() - 1}) {
        std::size_t offset = 0;
        const auto read = [&](std::span<std::byte> into) {
            const std::size_t count = std::min(into.size(), end - offset);
            std::memcpy(into.data(), packet.data() + offset, count);
            offset += count;
            return count;
        };
        try {
            ReadPacket(read, packet.size());
            ADD_FAILURE() << "no error at " << end;
        } catch (const StoreError& error) {
            EXPECT_STREQ(error.what(), "Mismatch in datapacket.") << end;
        }
    }
}

TEST(DataPacket, EveryTruncationFailsCleanly)
{
    const Bytes full = BuildPacket(RichTable());
    for (std::size_t size = 0; size < full.size(); ++size) {
        const Bytes cut(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(size));
        EXPECT_EQ(ErrorOf(cut), "Mismatch in datapacket.") << "cut at " << size;
    }
}

TEST(DataPacket, RandomDamageNeverCrashes)
{
    const Bytes full = BuildPacket(RichTable());
    std::mt19937 random(20261208);
    std::uniform_int_distribution<std::size_t> position(0, full.size() - 1);
    std::uniform_int_distribution<int> value(0, 255);
    for (int round = 0; round < 3000; ++round) {
        Bytes damaged = full;
        for (int i = 0; i < 1 + round % 4; ++i)
            damaged[position(random)] = std::byte(value(random));
        try {
            const TableData parsed = ParsePacket(damaged);
            BuildPacket(parsed); // whatever parsed must also write
        } catch (const StoreError&) {
        }
    }
}

// A text as the table keeps it: cut at the first zero byte and at the width.
std::string Kept(const std::string& text, std::size_t width)
{
    return text.substr(0, std::min(text.find('\0'), width));
}

// 3,000 rows whose second column holds runs of texts, as upload times come,
// between changes, and some texts never seen before, so that the texts
// outgrow a first guess; and that table as loading must give it back.
std::pair<TableData, TableData> TextTables(const std::vector<std::string>& texts, std::uint16_t width,
                                           std::mt19937& random)
{
    TableData written = TableData::RateTableDefinition();
    written.columns[1].width = width;
    TableData expected = written;
    std::string text;
    for (int row = 0; row < 3000; ++row) {
        if (random() % 2 == 0)
            text = texts[random() % texts.size()];
        if (random() % 4 == 0)
            text = text.substr(0, 200) + std::to_string(row);
        for (TableData* table : {&written, &expected}) {
            table->status.push_back(kRowInserted);
            table->values[0].AppendText(std::to_string(row / 40));
            table->values[2].AppendFloat(row + 0.5);
        }
        if (random() % 10 == 0) {
            written.values[1].AppendEmpty(kCellNull);
            expected.values[1].AppendEmpty(kCellNull);
        } else {
            written.values[1].AppendText(text);
            expected.values[1].AppendText(Kept(text, width));
        }
    }
    return {std::move(written), std::move(expected)};
}

TEST(DataPacket, LoadedTextsAreCutAndSharedAsAppendingThemWould)
{
    const std::vector<std::string> shortTexts = {
        "", "A", "AB", std::string("A\0B", 3), std::string("\0", 1), std::string("AB\0", 3),
        "ABCDEFGHIJ", "ABCDEFGHIJK", "ABCDEFGHIJKLMNOPQRSTU", std::string(255, 'x'),
    };
    std::vector<std::string> allTexts = shortTexts;
    allTexts.push_back(std::string(1500, 'y'));
    allTexts.push_back(std::string(60'000, 'z'));
    std::mt19937 random(7);
    // Widths below 254 give one-byte length prefixes, the others two bytes.
    for (const std::uint16_t width : {1, 3, 10, 253, 254, 2000}) {
        SCOPED_TRACE("width " + std::to_string(width));
        const auto& texts = width < 254 ? shortTexts : allTexts;
        const auto [written, expected] = TextTables(texts, width, random);
        const Bytes packet = BuildPacket(written);
        std::size_t offset = 0;
        const auto read = [&](std::span<std::byte> into) {
            const std::size_t count = std::min({into.size(), packet.size() - offset, 1 + random() % 5000});
            std::memcpy(into.data(), packet.data() + offset, count);
            offset += count;
            return count;
        };
        for (const TableData& parsed : {ParsePacket(packet), ReadPacket(read, packet.size())}) {
            ExpectSameTable(parsed, expected);
            for (std::size_t c = 0; c < 2; ++c) {
                const ColumnValues& got = parsed.values[c];
                const ColumnValues& want = expected.values[c];
                EXPECT_EQ(got.TextBytes(), want.TextBytes()) << c;
                for (std::size_t r = 1; r < got.Size(); ++r)
                    ASSERT_EQ(got.SharesText(r, r - 1), want.SharesText(r, r - 1)) << c << "," << r;
            }
        }
    }
}

TEST(ColumnValuesTest, ArraysThatDoNotFitTogetherAreRefused)
{
    const auto arrays = [](std::size_t flags, std::size_t offsets, std::size_t lengths, std::size_t numbers,
                           std::size_t arena) {
        ColumnValues::Arrays made;
        made.flags.assign(flags, 0);
        made.offset.assign(offsets, 0);
        made.length.assign(lengths, 0);
        made.number.assign(numbers, 0.0);
        made.arena.assign(arena, 'x');
        return made;
    };
    const struct {
        const char* name;
        ColumnKind kind;
        ColumnValues::Arrays arrays;
        bool fits;
    } cases[] = {
        {"text rows", ColumnKind::Text, arrays(2, 2, 2, 0, 5), true},
        {"text without rows", ColumnKind::Text, arrays(0, 0, 0, 0, 0), true},
        {"text offset missing", ColumnKind::Text, arrays(2, 1, 2, 0, 5), false},
        {"text length missing", ColumnKind::Text, arrays(2, 2, 1, 0, 5), false},
        {"text with numbers", ColumnKind::Text, arrays(2, 2, 2, 2, 5), false},
        {"float rows", ColumnKind::Float, arrays(3, 0, 0, 3, 0), true},
        {"float number missing", ColumnKind::Float, arrays(3, 0, 0, 2, 0), false},
        {"float with texts", ColumnKind::Float, arrays(3, 3, 3, 3, 0), false},
        {"float with an arena", ColumnKind::Float, arrays(3, 0, 0, 3, 4), false},
    };
    for (const auto& c : cases) {
        if (c.fits) {
            const ColumnValues values(c.kind, c.arrays);
            EXPECT_EQ(values.Size(), c.arrays.flags.size()) << c.name;
            EXPECT_EQ(values.Kind(), c.kind) << c.name;
        } else {
            EXPECT_THROW(ColumnValues(c.kind, c.arrays), StoreError) << c.name;
        }
    }
}

} // namespace
} // namespace zentaro
