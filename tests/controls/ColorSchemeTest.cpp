#include "controls/ColorSchemes.h"
#include "controls/XiButton.h"
#include "controls/XiPanel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

namespace zentaro {
namespace {

constexpr std::array<int, 4> kGradientEnds = {kColorGrad, kOverColorSet + kColorGrad, kDownColorSet + kColorGrad,
                                              kDisabledColorSet + kColorGrad};

bool IsGradientEnd(int index)
{
    return std::find(kGradientEnds.begin(), kGradientEnds.end(), index) != kGradientEnds.end();
}

std::array<TColor, kButtonColorCount> ColorsOf(const TXiButton& button)
{
    std::array<TColor, kButtonColorCount> colors{};
    for (int i = 0; i < kButtonColorCount; ++i)
        colors[i] = button.Color(i);
    return colors;
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

// A few cells from each table, chosen where neighbouring columns or rows differ.
struct ButtonCell {
    xibutton::TColorScheme scheme;
    int index;
    TColor color;
};

TEST(ColorSchemeTest, ButtonTableCells)
{
    const ButtonCell cells[] = {
        {TXiButton::csNeoDesert, kColorFace, 0x00C6ECFF},
        {TXiButton::csNeoSky, kOverColorSet + kColorGrad, 0x00FFA346},
        {TXiButton::csNeoGrass, kDownColorSet + kColorLight, 0x00177D3E},
        {TXiButton::csNeoSilver, kOverColorSet + kColorBorder, 0x00757575},
        {TXiButton::csNeoRose, kDownColorSet + kColorDark, 0x00CECEFF},
        {TXiButton::csNeoSun, kColorFocusRect, 0x0000BBBB},
        {TXiButton::csNeoSun, kDisabledColorSet + kColorGrad, 0x00FFFFFF},
        {TXiButton::csDesert, kColorFace, 0x0095DDFF},
        {TXiButton::csGrass, kOverColorSet + kColorBorder, 0x0017793D},
        {TXiButton::csSky, kDownColorSet + kColorLight, 0x00FF9122},
        {TXiButton::csSun, kColorFocusRect, 0x00008CF4},
        {TXiButton::csRose, kDownColorSet + kColorFace, 0x009F9FFF},
        {TXiButton::csSilver, kDisabledColorSet + kColorBorder, 0x00C4C4C4},
    };
    for (const auto& cell : cells) {
        const auto colors = ButtonSchemeColors(cell.scheme);
        ASSERT_TRUE(colors) << SchemeName(cell.scheme);
        EXPECT_EQ((*colors)[cell.index], cell.color) << SchemeName(cell.scheme) << " " << kButtonColorNames[cell.index];
    }
}

TEST(ColorSchemeTest, NeoSetsAllColoursClassicLeavesGradientEnds)
{
    for (int k = 0; k < 12; ++k) {
        const auto scheme = static_cast<xibutton::TColorScheme>(k);
        const auto colors = ButtonSchemeColors(scheme);
        ASSERT_TRUE(colors);
        for (int i = 0; i < kButtonColorCount; ++i) {
            const bool unchanged = k >= 6 && IsGradientEnd(i);
            EXPECT_EQ(!(*colors)[i], unchanged) << SchemeName(scheme) << " " << kButtonColorNames[i];
        }
        EXPECT_EQ(ButtonSchemeGradient(scheme), k < 6) << SchemeName(scheme);
    }
    EXPECT_FALSE(ButtonSchemeColors(TXiButton::csCustom));
    EXPECT_FALSE(ButtonSchemeGradient(TXiButton::csCustom));
    EXPECT_FALSE(ButtonSchemeColors(static_cast<xibutton::TColorScheme>(200)));
}

TEST(ColorSchemeTest, PanelTableRows)
{
    const std::pair<xipanel::TColorScheme, std::array<TColor, 4>> rows[] = {
        {TXiPanel::csDesert, {0x00FFFFFF, 0x00A4E1FF, 0x00008FD5, 0x0000699B}},
        {TXiPanel::csGrass, {0x00FFFFFF, 0x00B0F2CB, 0x003EB56A, 0x00156F37}},
        {TXiPanel::csSilver, {0x00FFFFFF, 0x00DAE0DE, 0x007D7D7D, 0x00626262}},
        {TXiPanel::csSky, {0x00FFFFFF, 0x00FFE0C1, 0x00F0964D, 0x00B35900}},
        {TXiPanel::csRose, {0x00FFFFFF, 0x00CCCCFF, 0x000651CC, 0x0000009D}},
        {TXiPanel::csSun, {0x00FFFFFF, 0x00BFFFFF, 0x00009595, 0x00006464}},
    };
    for (const auto& [scheme, colors] : rows) {
        TXiPanel panel;
        panel.SetColorScheme(scheme);
        EXPECT_EQ(panel.ColorFace(), colors[0]) << SchemeName(scheme);
        EXPECT_EQ(panel.ColorGrad(), colors[1]) << SchemeName(scheme);
        EXPECT_EQ(panel.ColorLight(), colors[2]) << SchemeName(scheme);
        EXPECT_EQ(panel.ColorDark(), colors[3]) << SchemeName(scheme);
        EXPECT_EQ(panel.ColorScheme(), scheme);
    }
}

TEST(ColorSchemeTest, FreshButtonIsNeoDesertWithWhiteGradientEnds)
{
    TXiButton button;
    EXPECT_EQ(button.ColorScheme(), TXiButton::csNeoDesert);
    EXPECT_EQ(button.OverColorGrad(), 0x00FFFFFFu);
    EXPECT_EQ(button.DownColorGrad(), 0x00FFFFFFu);
    EXPECT_EQ(button.DisabledColorGrad(), 0x00FFFFFFu);
    EXPECT_EQ(button.ColorGrad(), 0x0037BEFFu); // the normal set keeps the scheme's end
    EXPECT_EQ(button.ColorFace(), 0x00C6ECFFu);
    EXPECT_TRUE(button.Gradient());
}

TEST(ColorSchemeTest, ClassicAfterNeoKeepsGradientEnds)
{
    TXiButton button;
    button.SetColorScheme(TXiButton::csNeoSky);
    button.SetColorScheme(TXiButton::csSky);
    EXPECT_EQ(button.ColorScheme(), TXiButton::csSky);
    EXPECT_FALSE(button.Gradient());
    EXPECT_EQ(button.ColorGrad(), 0x00FFB66Cu);
    EXPECT_EQ(button.OverColorGrad(), 0x00FFA346u);
    EXPECT_EQ(button.DownColorGrad(), 0x00FFCE9Du);
    EXPECT_EQ(button.DisabledColorGrad(), 0x00FFFFFFu);
    EXPECT_EQ(button.ColorFace(), 0x00FFE0C1u);
    EXPECT_EQ(button.ColorFocusRect(), 0x00DC9B14u);

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
    TXiPanel panel;
    panel.SetColorScheme(TXiPanel::csSky);
    panel.SetColorLight(0x00112233);
    EXPECT_EQ(panel.ColorScheme(), TXiPanel::csCustom);
    EXPECT_EQ(panel.ColorLight(), 0x00112233u);
    EXPECT_EQ(panel.ColorGrad(), 0x00FFE0C1u);

    panel.SetColorScheme(TXiPanel::csSky);
    EXPECT_EQ(panel.ColorScheme(), TXiPanel::csSky);
    EXPECT_EQ(panel.ColorFace(), 0x00FFFFFFu);
    EXPECT_EQ(panel.ColorGrad(), 0x00FFE0C1u);
    EXPECT_EQ(panel.ColorLight(), 0x00F0964Du);
    EXPECT_EQ(panel.ColorDark(), 0x00B35900u);

    panel.SetColorFace(0x00000001);
    panel.SetColorScheme(TXiPanel::csCustom);
    EXPECT_EQ(panel.ColorFace(), 0x00000001u);
}

} // namespace
} // namespace zentaro
