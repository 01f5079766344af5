#include "app/CurrencyNames.h"

#include <gtest/gtest.h>

namespace zentaro {
namespace {

TEST(CurrencyNamesTest, KnownCodesShowTheirNames)
{
    CurrencyNames english("en");
    const struct {
        const char* code;
        const char* entry;
    } kCases[] = {
        {"USD", "USD - US Dollar"},
        {"EUR", "EUR - Euro"},
        {"JPY", "JPY - Japanese Yen"},
        {"CHF", "CHF - Swiss Franc"},
    };
    for (const auto& c : kCases)
        EXPECT_EQ(english.EntryText(c.code), c.entry) << c.code;
    EXPECT_EQ(english.Name("USD"), "US Dollar");
}

TEST(CurrencyNamesTest, UnknownCodesShowAlone)
{
    CurrencyNames english("en");
    // Not a code ICU knows, lower case, too short, too long, not letters, empty.
    for (const char* code : {"ABX", "usd", "US", "USDX", "U$D", ""}) {
        EXPECT_EQ(english.Name(code), "") << code;
        EXPECT_EQ(english.EntryText(code), code) << code;
    }
}

TEST(CurrencyNamesTest, NamesFollowTheUsersLanguageElseEnglish)
{
    CurrencyNames german("de_DE");
    EXPECT_EQ(german.Name("USD"), "US-Dollar");
    EXPECT_EQ(german.EntryText("EUR"), "EUR - Euro");
    // A locale ICU has no names in falls back to English.
    CurrencyNames plain("C");
    EXPECT_EQ(plain.Name("USD"), "US Dollar");
}

} // namespace
} // namespace zentaro
