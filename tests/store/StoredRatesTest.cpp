// The rates read straight from a data file must be what a table loaded from
// that file answers: same upload time, same rate texts, same failures.
#include "store/StoredRates.h"
#include "store/ConversionRules.h"
#include "store/DataPacket.h"
#include "store/RateTable.h"
#include "store/StoreError.h"
#include "tests/common/TempDir.h"
#include "tests/common/TableRows.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <random>
#include <sys/stat.h>

namespace zentaro {
namespace {

using ::testing::ElementsAre;
using ::testing::Optional;

using Bytes = std::vector<std::byte>;

struct Answer {
    std::string uploadTime;
    std::vector<std::optional<std::string>> rates;
    std::string error; // empty when the file read
    bool operator==(const Answer&) const = default;
};

void PrintTo(const Answer& answer, std::ostream* out)
{
    *out << "time '" << answer.uploadTime << "' rates";
    for (const auto& rate : answer.rates)
        *out << ' ' << (rate ? "'" + *rate + "'" : "none");
    if (!answer.error.empty())
        *out << " error: " << answer.error;
}

// What the window's rules answer on a table loaded from the file.
Answer FromTable(const std::filesystem::path& file, std::optional<std::string_view> time,
                 const std::vector<std::string_view>& currencies)
{
    Answer answer;
    try {
        RateTable table('.', ByteCollation());
        table.LoadFromFile(file);
        answer.uploadTime = time ? std::string(*time) : CurrentUploadTime(table);
        for (const auto currency : currencies)
            answer.rates.push_back(LookUpStoredRate(table, answer.uploadTime, currency));
    } catch (const StoreError& error) {
        answer = {};
        answer.error = error.what();
    }
    return answer;
}

Answer FromStoredRates(const std::function<StoredRates()>& read)
{
    Answer answer;
    try {
        StoredRates stored = read();
        answer.uploadTime = std::move(stored.uploadTime);
        answer.rates = std::move(stored.rates);
    } catch (const StoreError& error) {
        answer = {};
        answer.error = error.what();
    }
    return answer;
}

Answer FromFile(const std::filesystem::path& file, std::optional<std::string_view> time,
                const std::vector<std::string_view>& currencies)
{
    return FromStoredRates([&] { return ReadStoredRates(file, time, currencies, '.'); });
}

// The same packet handed over in pieces of 1 to 7 bytes, so that rows, texts
// and the change log are cut at every place a block can end.
Answer FromPieces(const Bytes& packet, std::optional<std::string_view> time,
                  const std::vector<std::string_view>& currencies, unsigned seed)
{
    return FromStoredRates([&] {
        return SearchStoredRates(
            [&](TableData& metadata, PacketRowSink& sink) {
                std::mt19937 pieces(seed);
                std::size_t offset = 0;
                StreamPacket(
                    [&](std::span<std::byte> into) {
                        const std::size_t count =
                            std::min({into.size(), packet.size() - offset, std::size_t{1} + pieces() % 7});
                        std::memcpy(into.data(), packet.data() + offset, count);
                        offset += count;
                        return count;
                    },
                    packet.size(), metadata, ChangeLogUse::CheckOnly, sink);
            },
            time, currencies, '.');
    });
}

void WriteBytes(const std::filesystem::path& path, const Bytes& bytes)
{
    test::WriteFile(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

// --- tables as the program and others may have written them -----------------

struct Layout {
    const char* name;
    std::vector<ColumnDef> columns;
};

ColumnDef Text(const char* name, std::uint16_t width) { return {name, ColumnKind::Text, width, 0, {}}; }
ColumnDef Float(const char* name) { return {name, ColumnKind::Float, 0, 0, {}}; }

const Layout kLayouts[] = {
    {"as this program writes it", {Text("tgl", 100), Text("cur", 100), Float("nilai")}},
    {"narrow columns that cut texts", {Text("tgl", 7), Text("cur", 3), Float("nilai")}},
    {"other order, other case and a wide extra column",
     {Float("NILAI"), Text("memo", 300), Text("Cur", 100), Text("TGL", 100)}},
    {"the rate as text", {Text("tgl", 100), Text("cur", 100), Text("nilai", 20)}},
    {"the upload time as a number", {Float("tgl"), Text("cur", 100), Float("nilai")}},
    {"no currency column", {Text("tgl", 100), Float("nilai")}},
};

const std::string kTimes[] = {"2024-01-01", "2024-01-02", "2024-01-03", "2024-01", std::string("2024-01-01\0x", 12),
                              "",           "2024-01-01 "};
const std::string kCurrencies[] = {"USD", "JPY", "EUR", "usd", "US", "USDX", "", std::string("US\0D", 4)};
const std::string kRateTexts[] = {"1.5", "2,5", "abc", "", "1E3"};
const double kRates[] = {1.0, 0.5, 151.25, 1e-7, 3.0};
const double kTimeNumbers[] = {20240101.0, 20240102.0, 2024.5};
const std::uint8_t kStatuses[] = {0, kRowInserted, kRowInserted, kRowInserted, kRowNewVersion, kRowDeleted,
                                  kRowSuperseded, kRowUnused};

template <typename T, std::size_t N>
const T& Pick(std::mt19937& random, const T (&values)[N])
{
    return values[random() % N];
}

// Rows come in runs of one upload time, as imports write them; a run's time
// may repeat an earlier one. Some cells are null or unchanged, some texts
// hold zero bytes or outgrow their column.
TableData RandomTable(const Layout& layout, std::mt19937& random)
{
    TableData table;
    table.columns = layout.columns;
    for (const auto& column : table.columns)
        table.values.emplace_back(column.kind);
    const std::size_t rows = random() % 40;
    std::size_t runLeft = 0;
    std::size_t timeIndex = 0;
    for (std::size_t row = 0; row < rows; ++row) {
        if (runLeft == 0) {
            runLeft = 1 + random() % 6;
            timeIndex = random();
        }
        --runLeft;
        table.status.push_back(Pick(random, kStatuses));
        for (std::size_t c = 0; c < table.columns.size(); ++c) {
            auto& values = table.values[c];
            const std::string& name = table.columns[c].name;
            const unsigned dice = random() % 20;
            if (dice == 0) {
                values.AppendEmpty(kCellNull);
            } else if (dice == 1) {
                values.AppendEmpty(kCellUnchanged);
            } else if (SameName(name, "tgl")) {
                if (values.Kind() == ColumnKind::Float)
                    values.AppendFloat(kTimeNumbers[timeIndex % std::size(kTimeNumbers)]);
                else
                    values.AppendText(kTimes[timeIndex % std::size(kTimes)]);
            } else if (SameName(name, "cur") || SameName(name, "memo")) {
                values.AppendText(Pick(random, kCurrencies));
            } else if (values.Kind() == ColumnKind::Float) {
                values.AppendFloat(Pick(random, kRates));
            } else {
                values.AppendText(Pick(random, kRateTexts));
            }
        }
    }
    // A change log makes every stored row go into the packet, unused ones too.
    if (random() % 2 == 0)
        for (std::size_t row = 0; row < rows; ++row)
            table.changeLog.push_back({static_cast<std::uint32_t>(row + 1), 0, kChangeInsert});
    return table;
}

std::vector<std::string_view> RandomCurrencies(std::mt19937& random)
{
    return {Pick(random, kCurrencies), Pick(random, kCurrencies), Pick(random, kCurrencies)};
}

std::optional<std::string_view> RandomTime(std::mt19937& random)
{
    if (random() % 2 == 0)
        return std::nullopt;
    static const std::string kNumberTime = "20240101";
    if (random() % 8 == 0)
        return kNumberTime;
    return Pick(random, kTimes);
}

TEST(StoredRates, AnswerWhatTheLoadedTableAnswersOnRandomTables)
{
    test::TempDir dir;
    const auto file = dir / "conversion data.kvx";
    std::mt19937 random(20261208);
    for (const auto& layout : kLayouts) {
        for (int round = 0; round < 150; ++round) {
            const Bytes packet = BuildPacket(RandomTable(layout, random));
            WriteBytes(file, packet);
            for (int question = 0; question < 4; ++question) {
                const auto time = RandomTime(random);
                const auto currencies = RandomCurrencies(random);
                const Answer expected = FromTable(file, time, currencies);
                ASSERT_EQ(expected.error, "") << layout.name;
                EXPECT_EQ(FromFile(file, time, currencies), expected) << layout.name << ", round " << round;
                EXPECT_EQ(FromPieces(packet, time, currencies, random()), expected)
                    << layout.name << ", round " << round << ", in pieces";
            }
        }
    }
}

TEST(StoredRates, FailWhereTheLoadFailsWithTheSameText)
{
    test::TempDir dir;
    const auto file = dir / "conversion data.kvx";
    std::mt19937 random(8122026);
    const std::vector<std::string_view> currencies = {"USD", "JPY"};
    int failures = 0;
    for (int round = 0; round < 400; ++round) {
        Bytes packet = BuildPacket(RandomTable(kLayouts[round % std::size(kLayouts)], random));
        // A cut anywhere, or a few bytes changed anywhere: in the header, the
        // columns, the change log or the rows.
        if (round % 2 == 0) {
            packet.resize(random() % packet.size());
        } else {
            for (int flip = 0; flip < 1 + round % 3; ++flip)
                packet[random() % packet.size()] = std::byte(random());
        }
        WriteBytes(file, packet);
        const Answer expected = FromTable(file, std::nullopt, currencies);
        failures += expected.error.empty() ? 0 : 1;
        EXPECT_EQ(FromFile(file, std::nullopt, currencies), expected) << "round " << round;
    }
    EXPECT_GT(failures, 100); // the damage was real
}

TEST(StoredRates, FilesThatAreNotDataFiles)
{
    test::TempDir dir;
    WriteBytes(dir / "empty.kvx", {});
    std::filesystem::create_directory(dir / "folder.kvx");
    ASSERT_EQ(::mkfifo((dir / "fifo.kvx").c_str(), 0600), 0);
    const std::vector<std::string_view> currencies = {"USD"};
    for (const char* name : {"missing.kvx", "empty.kvx", "folder.kvx", "fifo.kvx"}) {
        for (const auto time : {std::optional<std::string_view>{}, std::optional<std::string_view>{"2024-01-01"}}) {
            const Answer expected = FromTable(dir / name, time, currencies);
            EXPECT_EQ(FromFile(dir / name, time, currencies), expected) << name;
        }
    }
    // An empty file is an empty table: no upload time, nothing to find.
    EXPECT_EQ(FromFile(dir / "empty.kvx", std::nullopt, currencies), (Answer{"", {std::nullopt}, ""}));
    EXPECT_THAT(FromFile(dir / "missing.kvx", std::nullopt, currencies).error,
                ::testing::StartsWith("Cannot open file"));
}

// The newest upload time decides, and its rates may stand in an earlier run
// of that time: the last matching row wins wherever it is.
struct RunCase {
    const char* name;
    std::vector<std::array<const char*, 3>> rows;
    std::optional<const char*> time;
    std::string uploadTime;
    std::vector<std::optional<std::string>> rates; // of USD and JPY
};

void PrintTo(const RunCase& c, std::ostream* out) { *out << c.name; }

class StoredRatesRuns : public ::testing::TestWithParam<RunCase> {};

TEST_P(StoredRatesRuns, TheLastMatchingRowGivesTheRate)
{
    test::TempDir dir;
    const auto file = dir / "conversion data.kvx";
    {
        RateTable table('.', ByteCollation());
        for (const auto& row : GetParam().rows)
            test::AddRow(table, row[0], row[1], row[2]);
        table.SaveToFile(file);
    }
    const std::vector<std::string_view> currencies = {"USD", "JPY"};
    const auto time = GetParam().time ? std::optional<std::string_view>(*GetParam().time) : std::nullopt;
    const Answer answer = FromFile(file, time, currencies);
    EXPECT_EQ(answer, (Answer{GetParam().uploadTime, GetParam().rates, ""}));
    EXPECT_EQ(answer, FromTable(file, time, currencies));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StoredRatesRuns,
    ::testing::Values(
        RunCase{"newest run holds both",
                {{"2024-01-01", "USD", "1.1"}, {"2024-01-01", "JPY", "160"}, {"2024-01-02", "USD", "1.2"},
                 {"2024-01-02", "JPY", "161"}},
                std::nullopt,
                "2024-01-02",
                {"1.2", "161"}},
        RunCase{"newest time's earlier run holds one",
                {{"2024-01-02", "USD", "1.3"}, {"2024-01-01", "USD", "1.1"}, {"2024-01-02", "JPY", "161"}},
                std::nullopt,
                "2024-01-02",
                {"1.3", "161"}},
        RunCase{"a currency only at another time",
                {{"2024-01-01", "USD", "1.1"}, {"2024-01-02", "JPY", "161"}},
                std::nullopt,
                "2024-01-02",
                {std::nullopt, "161"}},
        RunCase{"a time asked for",
                {{"2024-01-01", "USD", "1.1"}, {"2024-01-02", "USD", "1.2"}, {"2024-01-01", "USD", "1.15"}},
                "2024-01-01",
                "2024-01-01",
                {"1.15", std::nullopt}},
        RunCase{"a time not there", {{"2024-01-01", "USD", "1.1"}}, "1999-01-04", "1999-01-04",
                {std::nullopt, std::nullopt}}));

// A change log that is only checked is passed over where the source can skip,
// and read and dropped where it cannot; the answer is the same.
TEST(StoredRates, TheChangeLogIsPassedOverWhereTheSourceCanSkip)
{
    RateTable table('.', ByteCollation());
    for (int i = 0; i < 30000; ++i)
        test::AddRow(table, "2024-01-0" + std::to_string(1 + i / 10000), i % 2 ? "USD" : "JPY", std::to_string(i));
    const Bytes packet = BuildPacket(table.Data());
    const std::size_t logBytes = table.Data().changeLog.size() * 12;
    ASSERT_GT(logBytes, 3 * 64 * 1024u); // longer than the first read
    const std::vector<std::string_view> currencies = {"USD", "JPY"};

    const struct {
        const char* name;
        bool canSkip;
    } cases[] = {{"a source that skips", true}, {"a source that cannot", false}};
    for (const auto& c : cases) {
        std::size_t offset = 0;
        std::size_t read = 0;
        std::size_t skipped = 0;
        const StoredRates stored = SearchStoredRates(
            [&](TableData& metadata, PacketRowSink& sink) {
                StreamPacket(
                    [&](std::span<std::byte> into) {
                        const std::size_t count = std::min(into.size(), packet.size() - offset);
                        std::memcpy(into.data(), packet.data() + offset, count);
                        offset += count;
                        read += count;
                        return count;
                    },
                    packet.size(), metadata, ChangeLogUse::CheckOnly, sink, [&](std::size_t count) {
                        if (!c.canSkip || count > packet.size() - offset)
                            return false;
                        offset += count;
                        skipped += count;
                        return true;
                    });
            },
            std::nullopt, currencies, '.');
        EXPECT_EQ(stored.uploadTime, "2024-01-03") << c.name;
        EXPECT_THAT(stored.rates, ElementsAre(Optional(std::string("29999")), Optional(std::string("29998"))))
            << c.name;
        EXPECT_EQ(read + skipped, packet.size()) << c.name;
        if (c.canSkip)
            EXPECT_GT(skipped, logBytes - 64 * 1024) << c.name;
        else
            EXPECT_EQ(skipped, 0u) << c.name;
    }
}

} // namespace
} // namespace zentaro
