// The newest day is current in every command, whatever order the days were
// imported in: today's ECB file first, then the history's older days, then
// an older update file.
#include "tests/common/RunProcess.h"
#include "tests/common/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace zentaro {
namespace {

using ::testing::ElementsAre;

class NewestIsCurrent : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const std::string& input : {std::string(ZENTARO_ECB_DATA) + "/ecb-eurofxref-2024-10-11.csv",
                                        std::string(ZENTARO_ECB_DATA) + "/ecb-eurofxref-hist-excerpt.csv"})
            ASSERT_EQ(Cli({"import", file, input}).status, 0) << input;
    }

    test::ProcessResult Cli(std::vector<std::string> args) const
    {
        args.insert(args.begin(), {"--decimal-separator", "."});
        return test::RunProcess(ZENTARO_CLI, args);
    }

    std::string Out(const std::vector<std::string>& args) const
    {
        const auto result = Cli(args);
        EXPECT_EQ(result.status, 0) << result.err;
        return result.out;
    }

    std::string Times() const { return Out({"times", file}); }
    std::string EuroToDollar() const { return Out({"convert", file, "100", "EUR", "USD"}); }

    test::TempDir dir;
    std::string file = (dir / "conversion data.kvx").string();
};

TEST_F(NewestIsCurrent, TheNewestDayIsCurrentThoughOlderDaysCameLater)
{
    EXPECT_EQ(Times(), "1999-01-04\n1999-01-05\n2008-10-24\n2024-10-09\n2024-10-10\n2024-10-11\n");
    // 2024-10-11's rate, not 2024-10-10's 109.32.
    EXPECT_EQ(EuroToDollar(), "109.38\n");
    // Currencies of the newest day: the 2024 list, not 1999's with its CYP and others.
    EXPECT_EQ(Out({"currencies", file}), Out({"currencies", file, "--time", "2024-10-11"}));
    EXPECT_THAT(Out({"currencies", file}), ::testing::Not(::testing::HasSubstr("CYP")));
    // The stored order is kept: the day imported first is stored first.
    EXPECT_THAT(Out({"dump", "--all", file}), ::testing::StartsWith("04\t2024-10-11\t"));
}

TEST_F(NewestIsCurrent, AnOlderUpdateFileImportedLastDoesNotBecomeCurrent)
{
    ASSERT_EQ(Cli({"import", file, std::string(ZENTARO_SAMPLES) + "/2013-01-28.txt"}).status, 0);
    EXPECT_EQ(Times(), "1999-01-04\n1999-01-05\n2008-10-24\n2013-01-28\n2024-10-09\n2024-10-10\n2024-10-11\n");
    EXPECT_EQ(EuroToDollar(), "109.38\n");
}

TEST_F(NewestIsCurrent, ARemovalKeepsTheOrderAndTheNextNewestBecomesCurrent)
{
    ASSERT_EQ(Cli({"import", file, std::string(ZENTARO_SAMPLES) + "/2013-01-28.txt"}).status, 0);
    ASSERT_EQ(Cli({"remove", file, "2024-10-11"}).status, 0);
    EXPECT_EQ(Times(), "1999-01-04\n1999-01-05\n2008-10-24\n2013-01-28\n2024-10-09\n2024-10-10\n");
    EXPECT_EQ(EuroToDollar(), "109.32\n");
    ASSERT_EQ(Cli({"remove", file, "1999-01-05"}).status, 0);
    EXPECT_EQ(Times(), "1999-01-04\n2008-10-24\n2013-01-28\n2024-10-09\n2024-10-10\n");
    EXPECT_EQ(EuroToDollar(), "109.32\n");
}

} // namespace
} // namespace zentaro
