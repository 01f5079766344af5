#include "app/AmountPaste.h"

#include <gtest/gtest.h>

namespace zentaro {
namespace {

TEST(AmountPasteTest, TakesTheNumberTheTextHolds)
{
    const struct {
        const char* name;
        const char* text;
        char separator;
        const char* amount;
    } kCases[] = {
        {"grouped, point decimal", "1,234.50", '.', "1234.50"},
        {"grouped, point decimal, comma user", "1,234.50", ',', "1234,50"},
        {"grouped, comma decimal", "1.234,50", '.', "1234.50"},
        {"plain decimal", "12.5", '.', "12.5"},
        {"the user's separator", "12,5", ',', "12,5"},
        {"the other separator, not grouping", "12,50", '.', "12.50"},
        {"a,bcd in the other separator groups", "1,234", '.', "1234"},
        {"a,bcd in the user's separator is a decimal", "1,234", ',', "1,234"},
        {"two groups", "1,234,567", '.', "1234567"},
        {"two groups of points", "1.234.567", ',', "1234567"},
        {"in a sentence", "Total: USD 1,234.50 (paid)", '.', "1234.50"},
        {"negative", "-42.75", '.', "-42.75"},
        {"minus apart is no sign", "- 42", '.', "42"},
        {"leading fraction", ".5", '.', ".5"},
        {"first number only", "3 apples and 4 pears", '.', "3"},
        {"trailing mark dropped", "100.", '.', "100"},
        {"spaces end the number", "1 234", '.', "1"},
        {"digits only", "0042", '.', "0042"},
    };
    for (const auto& c : kCases)
        EXPECT_EQ(PastedAmount(c.text, c.separator), std::optional<std::string>(c.amount)) << c.name;
}

TEST(AmountPasteTest, TextWithoutDigitsPastesNothing)
{
    for (const char* text : {"", "abc", "-", ".,", "USD", "\t\n"})
        EXPECT_FALSE(PastedAmount(text, '.')) << '"' << text << '"';
}

} // namespace
} // namespace zentaro
