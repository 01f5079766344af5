#include "import/UpdateFile.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace zentaro {
namespace {

using namespace std::string_literals;

std::vector<std::string> ReadLines(UpdateFileReader& reader, std::size_t count)
{
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < count; ++i)
        lines.push_back(reader.ReadLine());
    return lines;
}

struct LineCase {
    const char* name;
    std::string bytes;
    std::vector<std::string> lines; // what successive reads give, trailing empties included
};

void PrintTo(const LineCase& c, std::ostream* out) { *out << c.name; }

class LineRules : public testing::TestWithParam<LineCase> {};

TEST_P(LineRules, ReadLine)
{
    const auto& c = GetParam();
    UpdateFileReader reader(c.bytes);
    EXPECT_EQ(ReadLines(reader, c.lines.size()), c.lines);
}

INSTANTIATE_TEST_SUITE_P(
    UpdateFileReader, LineRules,
    testing::Values(
        LineCase{"Lf", "a\nb\n", {"a", "b", "", ""}},
        LineCase{"CrLf", "a\r\nb\r\n", {"a", "b", ""}},
        LineCase{"NoFinalLineEnd", "a\nb", {"a", "b", "", ""}},
        LineCase{"EmptyFile", "", {"", "", ""}},
        LineCase{"LoneCrDropped", "a\rb\nc", {"ab", "c", ""}},
        LineCase{"CrOnlyFileIsOneLine", "2026 ECB\rEUR=1\rUSD=1.1\r", {"2026 ECBEUR=1USD=1.1", ""}},
        LineCase{"CrBeforeCrLf", "a\r\r\nb", {"a", "b"}},
        LineCase{"EmptyLines", "a\n\n\r\nb", {"a", "", "", "b"}},
        LineCase{"NulCutsLine", "ab\0cd\nef"s, {"ab", "ef", ""}},
        LineCase{"NulAtLineStart", "\0x\ny"s, {"", "y"}},
        LineCase{"NulAndByte26", "a\0b\x1a" "c\nd"s, {"a", "d"}},
        LineCase{"Byte26EndsLineAndSkipsRest", "ab\x1a" "cd\nef", {"ab", "ef", ""}},
        LineCase{"Byte26AtLineStart", "\x1a" "zz\nef", {"", "ef"}},
        LineCase{"Byte26SkipsPastLoneCr", "ab\x1a" "c\rd\ne", {"ab", "e"}},
        LineCase{"Byte26BeforeCrLf", "ab\x1a\r\nc", {"ab", "c"}},
        LineCase{"Byte26AtEnd", "ab\x1a", {"ab", ""}},
        LineCase{"ByteOrderMarkKept", "\xEF\xBB\xBF" "2026\nEUR=1", {"\xEF\xBB\xBF" "2026", "EUR=1"}},
        LineCase{"HighBytesUnchanged", "\xE9\xFF\x7F\t\n", {"\xE9\xFF\x7F\t", ""}},
        LineCase{"NoLengthLimit", std::string(100000, 'x') + "\nz", {std::string(100000, 'x'), "z", ""}}),
    [](const testing::TestParamInfo<LineCase>& info) { return info.param.name; });

struct BatchCase {
    const char* name;
    std::string bytes; // after the upload time line
    std::size_t lines;
    std::string lastRead;
    std::size_t linesRead;
};

TEST(ReadRateLines, BatchEnds)
{
    std::string lines250;
    for (int i = 1; i <= 250; ++i)
        lines250 += 'C' + std::to_string(i) + '=' + std::to_string(i) + '\n';
    const BatchCase cases[] = {
        {"EndOfFile", "A=1\nB=2", 2, "", 3},
        {"EmptyLineAfterThird", "A=1\nB=2\nC=3\n\nD=4\nE=5\n", 3, "", 4},
        {"EmptyLineFirst", "\nA=1\n", 0, "", 1},
        {"NulLineEnds", "A=1\n\0B=2\nC=3\n"s, 1, "", 2},
        {"At200", lines250, 200, "C200=200", 200},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string bytes = "2026-12-08 ECB\n" + c.bytes;
        auto reader = UpdateFileReader(bytes);
        EXPECT_EQ(reader.ReadLine(), "2026-12-08 ECB");
        const RateLines batch = ReadRateLines(reader);
        EXPECT_EQ(batch.lines.size(), c.lines);
        EXPECT_EQ(batch.lastRead, c.lastRead);
        EXPECT_EQ(batch.linesRead, c.linesRead);
        if (!batch.lines.empty()) {
            EXPECT_EQ(batch.lines.front().substr(0, 2), c.bytes.substr(0, 2));
        }
    }
}

struct SplitCase {
    const char* name;
    const char* line;
    const char* code;
    const char* valueText;
    const char* rateTextComma; // decimal separator ","
    const char* rateTextPoint; // decimal separator "."
};

void PrintTo(const SplitCase& c, std::ostream* out) { *out << c.name; }

class SplitRules : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitRules, CodeValueAndRateText)
{
    const auto& c = GetParam();
    const SplitLine split = SplitRateLine(c.line);
    EXPECT_EQ(split.code, c.code);
    EXPECT_EQ(split.valueText, c.valueText);
    EXPECT_EQ(RateText(split.valueText, ','), c.rateTextComma);
    EXPECT_EQ(RateText(split.valueText, '.'), c.rateTextPoint);
}

INSTANTIATE_TEST_SUITE_P(
    UpdateFile, SplitRules,
    testing::Values(
        SplitCase{"Plain", "EUR=0.8512", "EUR", "0.8512", "0,8512", "0.8512"},
        SplitCase{"Integer", "USD=1", "USD", "1", "1", "1"},
        SplitCase{"SpacesKept", "AUD = 1.2", "AUD ", " 1.2", " 1,2", " 1.2"},
        SplitCase{"ThousandsBecomeSeparators", "JPY=1,234.5", "JPY", "1,234.5", "1,234,5", "1.234.5"},
        SplitCase{"FirstCharacterKept", "GBP=.5", "GBP", ".5", ".5", ".5"},
        SplitCase{"FirstCommaKept", "GBP=,5", "GBP", ",5", ",5", ",5"},
        SplitCase{"FurtherEqualsRemoved", "X=Y=2.5", "X", "Y2.5", "Y2,5", "Y2.5"},
        SplitCase{"ManyEquals", "A=1=2==3=", "A", "123", "123", "123"},
        SplitCase{"NoEquals", "CHF", "CHF", "", "", ""},
        SplitCase{"LeadingEqualsIsCode", "=3.5", "=3.5", "", "", ""},
        SplitCase{"LeadingEqualsThenSplit", "==3.5", "=", "3.5", "3,5", "3.5"},
        SplitCase{"EmptyValue", "A=", "A", "", "", ""},
        SplitCase{"OnlyEquals", "A===", "A", "", "", ""},
        SplitCase{"OneCharacter", "x", "x", "", "", ""},
        SplitCase{"OneCharacterValue", "A=.", "A", ".", ".", "."},
        SplitCase{"EmptyLine", "", "", "", "", ""}),
    [](const testing::TestParamInfo<SplitCase>& info) { return info.param.name; });

} // namespace
} // namespace zentaro
