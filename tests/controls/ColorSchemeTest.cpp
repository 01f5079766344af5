#include "controls/ColorSchemes.h"
#include "controls/XiButton.h"
#include "controls/XiPanel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

namespace zentaro {
namespace {

constexpr int kNeoCount = 6;
constexpr int kButtonSchemeCount = 12; // csCustom, the last, sets nothing
constexpr int kPanelSchemeCount = 6;   // csDesert..csSun, after csCustom
constexpr std::array<int, 3> kEnabledSets = {0, kOverColorSet, kDownColorSet};
constexpr std::array<int, 4> kAllSets = {0, kOverColorSet, kDownColorSet, kDisabledColorSet};
constexpr TColor kWhite = 0x00FFFFFF;
constexpr TColor kBlack = 0x00000000;

xibutton::TColorScheme ButtonScheme(int k) { return static_cast<xibutton::TColorScheme>(k); }
xipanel::TColorScheme PanelScheme(int k) { return static_cast<xipanel::TColorScheme>(k + 1); }

std::array<std::optional<TColor>, kButtonColorCount> ButtonColors(int k)
{
    const auto colors = ButtonSchemeColors(ButtonScheme(k));
    return colors ? *colors : std::array<std::optional<TColor>, kButtonColorCount>{};
}

std::array<TColor, kPanelColorCount> PanelColors(int k)
{
    const auto colors = PanelSchemeColors(PanelScheme(k));
    return colors ? *colors : std::array<TColor, kPanelColorCount>{};
}

std::array<TColor, kButtonColorCount> ColorsOf(const TXiButton& button)
{
    std::array<TColor, kButtonColorCount> colors{};
    for (int i = 0; i < kButtonColorCount; ++i)
        colors[i] = button.Color(i);
    return colors;
}

bool IsGradientEnd(int index) { return index < kColorFocusRect && index % kOverColorSet == kColorGrad; }

// Perceived brightness, 0 to 255000.
int Luma(TColor c) { return 299 * RedOf(c) + 587 * GreenOf(c) + 114 * BlueOf(c); }

// The hue a scheme is named after: "Desert" is orange, "Silver" has none.
std::string HueName(TColor c)
{
    const int r = RedOf(c), g = GreenOf(c), b = BlueOf(c);
    const int hi = std::max({r, g, b}), lo = std::min({r, g, b});
    if (hi - lo < 8)
        return "grey";
    double hue = 0;
    if (hi == r)
        hue = 60.0 * (g - b) / (hi - lo);
    else if (hi == g)
        hue = 120 + 60.0 * (b - r) / (hi - lo);
    else
        hue = 240 + 60.0 * (r - g) / (hi - lo);
    hue = std::fmod(hue + 360, 360);
    if (hue < 15 || hue >= 345)
        return "red";
    if (hue < 48)
        return "orange";
    if (hue < 70)
        return "yellow";
    if (hue < 170)
        return "green";
    return hue < 260 ? "blue" : "purple";
}

std::string HueOfName(std::string_view scheme)
{
    const std::pair<std::string_view, std::string> hues[] = {
        {"Desert", "orange"}, {"Sky", "blue"}, {"Grass", "green"},
        {"Silver", "grey"},   {"Rose", "red"}, {"Sun", "yellow"},
    };
    for (const auto& [word, hue] : hues)
        if (scheme.ends_with(word))
            return hue;
    return "?";
}

TEST(ColorSchemeTest, OrdinalsOfBothEnumerations)
{
    EXPECT_EQ(static_cast<int>(TXiButton::csNeoDesert), 0);
    EXPECT_EQ(static_cast<int>(TXiButton::csNeoSun), 5);
    EXPECT_EQ(static_cast<int>(TXiButton::csDesert), 6);
    EXPECT_EQ(static_cast<int>(TXiButton::csSky), 8);
    EXPECT_EQ(static_cast<int>(TXiButton::csSilver), 11);
    EXPECT_EQ(static_cast<int>(TXiButton::csCustom), 12);
    EXPECT_EQ(static_cast<int>(TXiPanel::csCustom), 0);
    EXPECT_EQ(static_cast<int>(TXiPanel::csDesert), 1);
    EXPECT_EQ(static_cast<int>(TXiPanel::csSilver), 3);
    EXPECT_EQ(static_cast<int>(TXiPanel::csSun), 6);
    EXPECT_EQ(sizeof(TXiButton::TColorScheme), 1u);
    EXPECT_EQ(sizeof(TXiPanel::TColorScheme), 1u);
}

TEST(ColorSchemeTest, NamesRoundTrip)
{
    for (int k = 0; k <= 12; ++k) {
        const auto scheme = static_cast<xibutton::TColorScheme>(k);
        EXPECT_EQ(ButtonSchemeFromName(SchemeName(scheme)), scheme) << k;
    }
    for (int k = 0; k <= 6; ++k) {
        const auto scheme = static_cast<xipanel::TColorScheme>(k);
        EXPECT_EQ(PanelSchemeFromName(SchemeName(scheme)), scheme) << k;
    }
    EXPECT_EQ(SchemeName(TXiButton::csSun), "csSun");
    EXPECT_EQ(SchemeName(TXiPanel::csSun), "csSun");
    EXPECT_FALSE(PanelSchemeFromName("csNeoSky"));
    EXPECT_FALSE(ButtonSchemeFromName("csneosky"));
}

TEST(ColorSchemeTest, NeoSetsAllColoursClassicLeavesGradientEnds)
{
    for (int k = 0; k < kButtonSchemeCount; ++k) {
        const auto scheme = ButtonScheme(k);
        ASSERT_TRUE(ButtonSchemeColors(scheme));
        const auto colors = ButtonColors(k);
        for (int i = 0; i < kButtonColorCount; ++i) {
            const bool unchanged = k >= kNeoCount && IsGradientEnd(i);
            EXPECT_EQ(!colors[i], unchanged) << SchemeName(scheme) << " " << kButtonColorNames[i];
        }
        EXPECT_EQ(ButtonSchemeGradient(scheme), k < kNeoCount) << SchemeName(scheme);
    }
    EXPECT_FALSE(ButtonSchemeColors(TXiButton::csCustom));
    EXPECT_FALSE(ButtonSchemeGradient(TXiButton::csCustom));
    EXPECT_FALSE(ButtonSchemeColors(static_cast<xibutton::TColorScheme>(200)));
    EXPECT_FALSE(PanelSchemeColors(TXiPanel::csCustom));
    EXPECT_FALSE(PanelSchemeColors(static_cast<xipanel::TColorScheme>(7)));
}

// Captions are black except when disabled; the disabled set is one per family
// (neo, classic), and the two families' sets differ.
TEST(ColorSchemeTest, CaptionsAndDisabledSetsAreSharedByFamily)
{
    for (int k = 0; k < kButtonSchemeCount; ++k) {
        const auto colors = ButtonColors(k);
        const auto family = ButtonColors(k < kNeoCount ? 0 : kNeoCount);
        for (const int base : kEnabledSets)
            EXPECT_EQ(colors[base + kColorText], kBlack) << SchemeName(ButtonScheme(k)) << " " << base;
        for (int i = kDisabledColorSet; i < kColorFocusRect; ++i)
            EXPECT_EQ(colors[i], family[i]) << SchemeName(ButtonScheme(k)) << " " << kButtonColorNames[i];
    }
    EXPECT_NE(ButtonColors(0)[kDisabledColorSet + kColorFace], ButtonColors(kNeoCount)[kDisabledColorSet + kColorFace]);
}

// A raised set has its light edge lighter than its dark edge; the pressed set
// swaps them so the key looks sunk. The border is darker than either edge. A
// neo gradient darkens from the face when raised, and lightens when pressed
// or disabled.
TEST(ColorSchemeTest, SetsLookRaisedButThePressedOne)
{
    for (int k = 0; k < kButtonSchemeCount; ++k) {
        const auto colors = ButtonColors(k);
        for (const int base : kAllSets) {
            const auto luma = [&](int index) { return Luma(colors[base + index].value_or(0)); };
            const auto where = std::string(SchemeName(ButtonScheme(k))) + " set " + std::to_string(base);
            EXPECT_EQ(luma(kColorDark) > luma(kColorLight), base == kDownColorSet) << where;
            EXPECT_LT(luma(kColorBorder), std::min(luma(kColorDark), luma(kColorLight))) << where;
            if (k < kNeoCount) {
                EXPECT_EQ(luma(kColorGrad) < luma(kColorFace), base < kDownColorSet) << where;
            }
        }
    }
}

// Each scheme's faces and gradient ends carry the hue of its name, which also
// shows that no row of a table stands under another scheme's ordinal.
TEST(ColorSchemeTest, FacesHaveTheHueOfTheSchemeName)
{
    for (int k = 0; k < kButtonSchemeCount; ++k) {
        const auto name = SchemeName(ButtonScheme(k));
        const auto colors = ButtonColors(k);
        for (const int base : kEnabledSets)
            for (const int i : {base + kColorFace, base + kColorGrad})
                if (colors[i]) { // the classic schemes have no gradient ends
                    EXPECT_EQ(HueName(*colors[i]), HueOfName(name)) << name << " " << kButtonColorNames[i];
                }
    }
    for (int k = 0; k < kPanelSchemeCount; ++k) {
        const auto name = SchemeName(PanelScheme(k));
        const auto colors = PanelColors(k);
        EXPECT_EQ(HueName(colors[kPanelColorGrad]), HueOfName(name)) << name;
        EXPECT_EQ(HueName(colors[kPanelColorDark]), HueOfName(name)) << name;
    }
}

// The panel's gradient runs from a white face to a darker end; its dark bevel
// is darker than its light one.
TEST(ColorSchemeTest, PanelGradientsStartWhite)
{
    for (int k = 0; k < kPanelSchemeCount; ++k) {
        const auto colors = PanelColors(k);
        const auto name = SchemeName(PanelScheme(k));
        EXPECT_EQ(colors[kPanelColorFace], kWhite) << name;
        EXPECT_LT(Luma(colors[kPanelColorGrad]), Luma(kWhite)) << name;
        EXPECT_LT(Luma(colors[kPanelColorDark]), Luma(colors[kPanelColorLight])) << name;
    }
}

TEST(ColorSchemeTest, ApplyingAButtonSchemeSetsItsColoursAndKeepsTheRest)
{
    constexpr TColor kBefore = 0x00123456;
    for (int k = 0; k < kButtonSchemeCount; ++k) {
        TXiButton button;
        for (int i = 0; i < kButtonColorCount; ++i)
            button.SetColor(i, kBefore);
        button.SetGradient(k >= kNeoCount);
        button.SetColorScheme(ButtonScheme(k));
        const auto colors = ButtonColors(k);
        for (int i = 0; i < kButtonColorCount; ++i)
            EXPECT_EQ(button.Color(i), colors[i].value_or(kBefore)) << SchemeName(ButtonScheme(k)) << " " << i;
        EXPECT_EQ(button.ColorScheme(), ButtonScheme(k));
        EXPECT_EQ(button.Gradient(), k < kNeoCount);
    }
}

TEST(ColorSchemeTest, ApplyingAPanelSchemeSetsAllFourColours)
{
    for (int k = 0; k < kPanelSchemeCount; ++k) {
        TXiPanel panel;
        for (int i = 0; i < kPanelColorCount; ++i)
            panel.SetColor(i, 0x00123456);
        panel.SetColorScheme(PanelScheme(k));
        for (int i = 0; i < kPanelColorCount; ++i)
            EXPECT_EQ(panel.Color(i), PanelColors(k)[i]) << SchemeName(PanelScheme(k)) << " " << kPanelColorNames[i];
        EXPECT_EQ(panel.ColorScheme(), PanelScheme(k));
    }
}

TEST(ColorSchemeTest, FreshButtonIsNeoDesertWithWhiteGradientEnds)
{
    TXiButton button;
    EXPECT_EQ(button.ColorScheme(), TXiButton::csNeoDesert);
    EXPECT_TRUE(button.Gradient());
    const auto neoDesert = ButtonColors(0);
    for (int i = 0; i < kButtonColorCount; ++i) {
        // the normal set keeps the scheme's gradient end
        const bool white = IsGradientEnd(i) && i != kColorGrad;
        EXPECT_EQ(button.Color(i), white ? kWhite : neoDesert[i]) << kButtonColorNames[i];
    }
}

TEST(ColorSchemeTest, ClassicAfterNeoKeepsGradientEnds)
{
    TXiButton button;
    button.SetColorScheme(TXiButton::csNeoSky);
    button.SetColorScheme(TXiButton::csSky);
    EXPECT_EQ(button.ColorScheme(), TXiButton::csSky);
    EXPECT_FALSE(button.Gradient());
    const auto neoSky = *ButtonSchemeColors(TXiButton::csNeoSky);
    const auto sky = *ButtonSchemeColors(TXiButton::csSky);
    for (int i = 0; i < kButtonColorCount; ++i)
        EXPECT_EQ(button.Color(i), IsGradientEnd(i) ? neoSky[i] : sky[i]) << kButtonColorNames[i];

    button.SetColorScheme(TXiButton::csNeoGrass);
    EXPECT_TRUE(button.Gradient());
}

TEST(ColorSchemeTest, OneColourChangeMakesButtonCustom)
{
    for (int i = 0; i < kButtonColorCount; ++i) {
        TXiButton button;
        button.SetColorScheme(TXiButton::csNeoGrass);
        const auto before = ColorsOf(button);
        button.SetColor(i, 0x00123456);
        EXPECT_EQ(button.ColorScheme(), TXiButton::csCustom) << kButtonColorNames[i];
        auto expected = before;
        expected[i] = 0x00123456;
        EXPECT_EQ(ColorsOf(button), expected) << kButtonColorNames[i];
        EXPECT_TRUE(button.Gradient());
    }
}

TEST(ColorSchemeTest, NamedSettersUseTheirIndex)
{
    TXiButton button;
    button.SetDownColorBorder(0x00010203);
    button.SetColorFocusRect(0x00040506);
    EXPECT_EQ(button.Color(16), 0x00010203u);
    EXPECT_EQ(button.Color(24), 0x00040506u);
    EXPECT_EQ(button.ColorScheme(), TXiButton::csCustom);

    TXiPanel panel;
    panel.SetColorDark(0x00070809);
    EXPECT_EQ(panel.Color(3), 0x00070809u);
}

TEST(ColorSchemeTest, ApplyingCustomChangesNothing)
{
    for (const bool gradient : {true, false}) {
        TXiButton button;
        button.SetColorScheme(TXiButton::csNeoRose);
        button.SetGradient(gradient);
        const auto before = ColorsOf(button);
        button.SetColorScheme(TXiButton::csCustom);
        EXPECT_EQ(button.ColorScheme(), TXiButton::csCustom);
        EXPECT_EQ(ColorsOf(button), before);
        EXPECT_EQ(button.Gradient(), gradient);
    }
}

TEST(ColorSchemeTest, PanelColourChangeThenSchemeRestores)
{
    const auto sky = *PanelSchemeColors(TXiPanel::csSky);
    TXiPanel panel;
    panel.SetColorScheme(TXiPanel::csSky);
    panel.SetColorLight(0x00112233);
    EXPECT_EQ(panel.ColorScheme(), TXiPanel::csCustom);
    EXPECT_EQ(panel.ColorLight(), 0x00112233u);
    EXPECT_EQ(panel.ColorGrad(), sky[kPanelColorGrad]);

    panel.SetColorScheme(TXiPanel::csSky);
    EXPECT_EQ(panel.ColorScheme(), TXiPanel::csSky);
    for (int i = 0; i < kPanelColorCount; ++i)
        EXPECT_EQ(panel.Color(i), sky[i]) << kPanelColorNames[i];

    panel.SetColorFace(0x00000001);
    panel.SetColorScheme(TXiPanel::csCustom);
    EXPECT_EQ(panel.ColorFace(), 0x00000001u);
}

} // namespace
} // namespace zentaro
