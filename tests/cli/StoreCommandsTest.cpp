#include "store/RateTable.h"
#include "tests/common/RunProcess.h"
#include "tests/common/TableRows.h"
#include "tests/common/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

namespace zentaro {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

test::ProcessResult Cli(std::vector<std::string> args)
{
    return test::RunProcess(ZENTARO_CLI, args);
}

class StoreCommands : public ::testing::Test {
protected:
    void SetUp() override
    {
        RateTable table('.', ByteCollation());
        const char* rows[][3] = {
            {"2013-01-28", "USD", "1.3444"},
            {"2013-01-28", "back\\slash\ttab", ""},
            {"2013-01-28", "JPY", "122.21"},
        };
        for (const auto& row : rows)
            test::AddRow(table, row[0], row[1], row[2]);
        // A control byte and a CR as a table could hold them after an import.
        test::AddRow(table, std::string("line\r\x01", 6), "EUR", "1E-5");
        table.First();
        table.Delete();
        table.SaveToFile(file);
    }

    test::TempDir dir;
    std::string file = (dir / "data.kvx").string();
};

TEST_F(StoreCommands, NewWritesTheEmptyTable)
{
    const auto path = (dir / "new.kvx").string();
    const auto result = Cli({"new", path});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(std::filesystem::file_size(path), 88u);
    EXPECT_EQ(Cli({"dump", path}).out, "");
}

TEST_F(StoreCommands, DumpListsVisibleRowsEscaped)
{
    const auto result = Cli({"dump", file});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out,
              "2013-01-28\tback\\\\slash\\ttab\t\n"
              "2013-01-28\tJPY\t122.21\n"
              "line\\r\\x01\tEUR\t1E-5\n");
}

TEST_F(StoreCommands, DumpAllShowsStatusesAndTheChangeLog)
{
    const auto result = Cli({"dump", "--all", file});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out,
              "06\t2013-01-28\tUSD\t1.3444\n"
              "04\t2013-01-28\tback\\\\slash\\ttab\t\n"
              "04\t2013-01-28\tJPY\t122.21\n"
              "04\tline\\r\\x01\tEUR\t1E-5\n"
              "log\t1\t0\t4\nlog\t2\t0\t4\nlog\t3\t0\t4\nlog\t4\t0\t4\nlog\t1\t0\t2\n");
}

TEST_F(StoreCommands, DecimalSeparatorOptionShapesTheNumbers)
{
    const auto result = Cli({"--decimal-separator", ",", "dump", file});
    EXPECT_THAT(result.out, HasSubstr("JPY\t122,21\n"));
}

TEST_F(StoreCommands, ErrorsGoToStandardErrorWithStatusOne)
{
    test::WriteFile(dir / "text.kvx", "2013-01-28\nUSD=1\n");
    const struct {
        std::vector<std::string> args;
        std::string err;
    } cases[] = {
        {{"dump", (dir / "text.kvx").string()}, "Mismatch in datapacket.\n"},
        {{"dump", (dir / "none.kvx").string()},
         "Cannot open file \"" + (dir / "none.kvx").string() + "\". No such file or directory\n"},
        {{"new", (dir / "no folder" / "x.kvx").string()},
         "Cannot create file \"" + (dir / "no folder" / "x.kvx").string() + "\". No such file or directory\n"},
    };
    for (const auto& c : cases) {
        const auto result = Cli(c.args);
        EXPECT_EQ(result.status, 1) << c.args[0];
        EXPECT_EQ(result.err, c.err);
        EXPECT_EQ(result.out, "");
    }
}

TEST_F(StoreCommands, UsageMistakesAreReported)
{
    for (const auto& args : std::vector<std::vector<std::string>>{
             {}, {"frobnicate"}, {"dump", file, file}, {"--decimal-separator", "ab", "dump", file}}) {
        const auto result = Cli(args);
        EXPECT_EQ(result.status, 1);
        EXPECT_THAT(result.err, HasSubstr("usage: zentaro-cli"));
    }
    const auto help = Cli({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_THAT(help.out, HasSubstr("dump [--all] [FILE]"));
}

TEST_F(StoreCommands, HelpListsEveryCommandOnceInItsOrderWithADescription)
{
    const auto help = Cli({"help"});
    ASSERT_EQ(help.status, 0);
    std::istringstream lines(help.out);
    std::vector<std::string> names;
    for (std::string line; std::getline(lines, line);) {
        if (!line.starts_with("  zentaro-cli "))
            continue;
        names.push_back(line.substr(14, line.find(' ', 14) - 14));
        std::string description;
        std::getline(lines, description);
        EXPECT_TRUE(description.starts_with("      ") && description.size() > 10) << names.back();
    }
    EXPECT_EQ(names, (std::vector<std::string>{"new", "dump", "import", "update", "remove", "clear", "times",
                                               "currencies", "convert", "convert", "history"}));
    // Every command listed is one the program runs: given too many arguments
    // each complains about its own arguments, not about an unknown command.
    for (const auto& name : names) {
        const auto run = Cli({name, "1", "2", "3", "4", "5", "6"});
        EXPECT_EQ(run.status, 1) << name;
        EXPECT_THAT(run.err, Not(HasSubstr("unknown command"))) << name;
    }
}

} // namespace
} // namespace zentaro
