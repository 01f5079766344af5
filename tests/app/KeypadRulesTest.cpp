#include "app/KeypadRules.h"

#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>
#include <string>

namespace zentaro {
namespace {

TEST(KeypadRules, DigitReplacesOnlyALoneZero)
{
    struct Case {
        const char* amount;
        char digit;
        const char* expected;
    };
    const Case cases[] = {
        {"0", '1', "1"},     {"0", '0', "0"},   {"", '5', "5"},      {"12", '3', "123"},
        {"0.0", '1', "0.01"}, {"00", '1', "001"}, {"-0", '7', "-07"}, {" 0", '2', " 02"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DigitKeyText(c.amount, c.digit), c.expected) << '"' << c.amount << "\" + " << c.digit;
}

TEST(KeypadRules, SignNegatesNonZeroValuesAndLeavesZeroTexts)
{
    struct Case {
        const char* amount;
        char separator;
        std::optional<std::string> expected;
    };
    const Case cases[] = {
        {"7", '.', "-7"},
        {"-2", '.', "2"},
        {"0.1", '.', "-0.1"},
        {"1,5", ',', "-1,5"},
        {" 12 ", '.', "-12"},
        {"1E20", '.', "-1E20"},
        {"0.0", '.', std::nullopt},
        {"-0", '.', std::nullopt},
        {"0", '.', std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SignKeyText(c.amount, c.separator), c.expected) << '"' << c.amount << '"';
}

TEST(KeypadRules, SignOfATextThatIsNoNumberFails)
{
    for (const char* amount : {"", "-", "1.5"}) {
        try {
            SignKeyText(amount, ',');
            ADD_FAILURE() << '"' << amount << "\" was read as a number";
        } catch (const std::runtime_error& error) {
            EXPECT_EQ(error.what(), "'" + std::string(amount) + "' is not a valid floating point value");
        }
    }
}

struct ResultCase {
    const char* name;
    const char* first;
    char op;
    const char* second;
    char separator;
    const char* expected; // the result text, or the error's text
    bool fails;
};

// Test names carry the case; the listing needs no byte dump of it.
void PrintTo(const ResultCase& c, std::ostream* out) { *out << c.name; }

class KeypadResult : public ::testing::TestWithParam<ResultCase> {};

TEST_P(KeypadResult, CombinesTheOperandTexts)
{
    const ResultCase& c = GetParam();
    if (!c.fails) {
        EXPECT_EQ(KeypadResultText(c.first, c.op, c.second, c.separator), c.expected);
        return;
    }
    try {
        const std::string result = KeypadResultText(c.first, c.op, c.second, c.separator);
        ADD_FAILURE() << "gave \"" << result << '"';
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), c.expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, KeypadResult,
    ::testing::Values(
        ResultCase{"Sum", "12", '+', "3", '.', "15", false},
        ResultCase{"Difference", "7", '-', "9", '.', "-2", false},
        ResultCase{"Product", "2", '*', "4", '.', "8", false},
        ResultCase{"QuotientHasSixDecimals", "1", '/', "3", '.', "0.333333", false},
        ResultCase{"CommaSeparator", "1,5", '+', "1", ',', "2,5", false},
        ResultCase{"ExtendedPrecisionBeforeRounding", "0.1", '+', "0.2", '.', "0.3", false},
        ResultCase{"TinyResultRoundsToZero", "1", '/', "1E7", '.', "0", false},
        ResultCase{"DivisionByZero", "1", '/', "0", '.', "Floating point division by zero", true},
        ResultCase{"ZeroByZero", "0", '/', "0", '.', "Invalid floating point operation", true},
        ResultCase{"Overflow", "1E308", '*', "10", '.', "Floating point overflow", true},
        ResultCase{"FirstOperandNoNumber", "-", '+', "1", '.', "'-' is not a valid floating point value", true},
        ResultCase{"SecondOperandIsReadFirst", "x", '+', "y", '.', "'y' is not a valid floating point value",
                   true},
        ResultCase{"ForeignSeparator", "1.5", '+', "1", ',', "'1.5' is not a valid floating point value", true}),
    [](const ::testing::TestParamInfo<ResultCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace zentaro
