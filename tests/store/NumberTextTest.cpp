#include "store/NumberText.h"
#include "store/StoreError.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace zentaro {
namespace {

using ::testing::HasSubstr;

struct FormatCase {
    double value;
    char separator;
    const char* expected;
};

TEST(GeneralNumberText, FifteenSignificantDigitsPlainOrScientific)
{
    const FormatCase cases[] = {
        {0.0, '.', "0"},
        {-0.0, '.', "0"},
        {0.1, '.', "0.1"},
        {1e-5, '.', "1E-5"},
        {1e15, '.', "1E15"},
        {123456.5, '.', "123456.5"},
        {1.23456789012346e17, '.', "1.23456789012346E17"},
        {0.0001, '.', "0.0001"},
        {0.00009999, '.', "9.999E-5"},
        {999999999999999.0, '.', "999999999999999"},
        {1e14, '.', "100000000000000"},
        {1.0 / 3.0, '.', "0.333333333333333"},
        {0.1 + 0.2, '.', "0.3"},
        {-2.5, '.', "-2.5"},
        {-1e-10, '.', "-1E-10"},
        {1.5, ',', "1,5"},
        {1.5e20, ',', "1,5E20"},
        {122.21, '.', "122.21"},
        {9999999999999999.0, '.', "1E16"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GeneralNumberText(c.value, c.separator), c.expected) << c.value;
}

TEST(ResultText, SixDecimalsRoundedAwayFromZero)
{
    const FormatCase cases[] = {
        {9.0, '.', "9"},
        {1.0 / 3.0, '.', "0.333333"},
        {2.0 / 3.0, '.', "0.666667"},
        {-2.0 / 3.0, '.', "-0.666667"},
        {0.0, '.', "0"},
        {-0.0, '.', "0"},
        {-0.0000001, '.', "0"},
        {0.0000015, '.', "0.000002"},
        {0.9999996, '.', "1"},
        {-0.9999996, '.', "-1"},
        {12345.0000004, '.', "12345"},
        {123456789.123456789, '.', "123456789.123457"},
        {1e17, '.', "100000000000000000"},
        {1e18, '.', "1E18"},
        {1e20, '.', "1E20"},
        {-1e20, '.', "-1E20"},
        {1.5, ',', "1,5"},
        {0.5, '.', "0.5"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ResultText(c.value, c.separator), c.expected) << c.value;
}

struct ParseCase {
    const char* text;
    char separator;
    long double expected;
};

TEST(ParseNumberText, AcceptsTheNumberForms)
{
    const ParseCase cases[] = {
        {"1", '.', 1.0L},          {" 1.5 ", '.', 1.5L},   {"+2", '.', 2.0L},
        {"-3", '.', -3.0L},        {".", '.', 0.0L},       {"5.", '.', 5.0L},
        {".5", '.', 0.5L},         {"1e3", '.', 1000.0L},  {"1E+3", '.', 1000.0L},
        {"1e-3", '.', 0.001L},     {"1,5", ',', 1.5L},     {"  -0,25", ',', -0.25L},
        {"007", '.', 7.0L},        {"1E-4999", '.', 0.0L}, {"0.000e999", '.', 0.0L},
    };
    for (const auto& c : cases) {
        const auto value = ParseNumberText(c.text, c.separator);
        ASSERT_TRUE(value.has_value()) << c.text;
        EXPECT_EQ(*value, c.expected) << c.text;
    }
}

TEST(ParseNumberText, RejectsEverythingElse)
{
    const char* cases[] = {"",    " ",    "-",   "+",     "1.2.3", "1,5",  "1x",    "5-",
                           "1 000", "--1", "1e",  "e5",    "\t1",   "1E+",  "0x10",  "1.5 x",
                           "1E5000", "1e4999", "- 1", "1'000", "1e2.5", "1 e5"};
    for (const char* text : cases)
        EXPECT_FALSE(ParseNumberText(text, '.').has_value()) << text;
}

TEST(ParseNumberText, ReadsInExtendedPrecision)
{
    // Beyond a double's range but inside extended: read, then storing fails.
    const auto big = ParseNumberText("1E400", '.');
    ASSERT_TRUE(big.has_value());
    EXPECT_GT(*big, static_cast<long double>(std::numeric_limits<double>::max()));
    EXPECT_THROW(
        {
            try {
                TextToDouble("1E400", '.');
            } catch (const StoreError& error) {
                EXPECT_STREQ(error.what(), "Floating point overflow");
                throw;
            }
        },
        StoreError);
    // The exponent takes digits while it stays below 500: 500 itself is read.
    EXPECT_TRUE(ParseNumberText("1E500", '.').has_value());
}

TEST(TextToDouble, NamesTheTextThatIsNotANumber)
{
    try {
        TextToDouble("5-", '.');
        FAIL() << "no error";
    } catch (const StoreError& error) {
        EXPECT_STREQ(error.what(), "'5-' is not a valid floating point value");
    }
    EXPECT_DOUBLE_EQ(TextToDouble("0.8512", '.'), 0.8512);
}

TEST(GeneralNumberText, RoundTripsThroughTheNumberRule)
{
    const double values[] = {0.85450, 13011.59, 1466.53, 1e-7, 3.14159265358979, -42.0, 1e300};
    for (double value : values) {
        for (char separator : {'.', ','}) {
            const auto text = GeneralNumberText(value, separator);
            EXPECT_DOUBLE_EQ(TextToDouble(text, separator), value) << text;
        }
    }
}

struct ArithmeticErrorCase {
    double first;
    char op;
    double second;
    const char* message;
};

TEST(Calculate, ReportsErrorsInsteadOfInfinities)
{
    const ArithmeticErrorCase cases[] = {
        {1, '/', 0, "Floating point division by zero"},
        {-1, '/', 0, "Floating point division by zero"},
        {0, '/', 0, "Invalid floating point operation"},
        {1e308, '*', 10, "Floating point overflow"},
        {1e308, '+', 1e308, "Floating point overflow"},
        {-1e308, '-', 1e308, "Floating point overflow"},
        {1e308, '/', 1e-308, "Floating point overflow"},
    };
    for (const auto& c : cases) {
        try {
            Calculate(c.first, c.op, c.second);
            ADD_FAILURE() << c.first << c.op << c.second << " gave no error";
        } catch (const StoreError& error) {
            EXPECT_STREQ(error.what(), c.message) << c.first << c.op << c.second;
        }
    }
}

TEST(Calculate, ComputesInExtendedPrecision)
{
    EXPECT_EQ(Calculate(12, '+', 3), 15);
    EXPECT_EQ(Calculate(7, '-', 9), -2);
    EXPECT_EQ(Calculate(3, '*', 4), 12);
    EXPECT_EQ(Calculate(1, '/', 4), 0.25);
    // 1e308 * 10 / 100 overflows a double midway but not extended.
    EXPECT_DOUBLE_EQ(DivideToDouble(static_cast<long double>(1e308) * 10, 100), 1e307);
    EXPECT_EQ(Calculate(1e-320, '*', 1e-10), 0.0);
}

} // namespace
} // namespace zentaro
