#include "app/RememberedChoice.h"
#include "tests/common/TempDir.h"

#include <gtest/gtest.h>

namespace zentaro {
namespace {

TEST(RememberedChoiceTest, SavedChoiceLoadsAgain)
{
    test::TempDir folder;
    const QString file = QString::fromStdString((folder / "zentaro.conf").string());
    EXPECT_FALSE(RememberedChoice(file).Load()) << "nothing before the first save";
    RememberedChoice(file).Save({"USD", "JPY", "1234.5"});
    EXPECT_EQ(RememberedChoice(file).Load(), (Choice{"USD", "JPY", "1234.5"}));
    RememberedChoice(file).Save({"GBP", "CHF", ""});
    EXPECT_EQ(RememberedChoice(file).Load(), (Choice{"GBP", "CHF", ""}));
}

TEST(RememberedChoiceTest, WithoutAFileNothingIsKept)
{
    const RememberedChoice none{QString()};
    EXPECT_FALSE(none.Keeps());
    none.Save({"USD", "JPY", "1"});
    EXPECT_FALSE(none.Load());
}

TEST(RememberedChoiceTest, FirstStartPicksEuroAndTheLocalesCurrency)
{
    const std::vector<std::string> offered = {"CHF", "EUR", "GBP", "JPY", "USD"};
    const struct {
        const char* name;
        std::vector<std::string> offered;
        const char* locale;
        std::optional<std::string> from, to;
    } kCases[] = {
        {"both offered", offered, "JPY", "EUR", "JPY"},
        {"locale currency missing", offered, "SEK", "EUR", std::nullopt},
        {"euro missing", {"USD", "JPY"}, "JPY", std::nullopt, "JPY"},
        {"a euro locale", offered, "EUR", "EUR", std::nullopt},
        {"no locale currency", offered, "", "EUR", std::nullopt},
        {"nothing offered", {}, "USD", std::nullopt, std::nullopt},
    };
    for (const auto& c : kCases) {
        const FirstPair pair = FirstStartPair(c.offered, c.locale);
        EXPECT_EQ(pair.from, c.from) << c.name;
        EXPECT_EQ(pair.to, c.to) << c.name;
    }
}

} // namespace
} // namespace zentaro
