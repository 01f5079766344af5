#include "controls/ColorSchemes.h"
#include "controls/XiButton.h"
#include "controls/XiPanel.h"
#include "tools/render/RenderProperties.h"
#include "tools/render/RenderSheet.h"

#include <QSet>

#include <gtest/gtest.h>

namespace zentaro {
namespace {

TEST(RenderPropertiesTest, ButtonAssignmentsGoThroughTheSetters)
{
    TXiButton button;
    for (const char* a : {"Width=22", "Height=24", "Caption=&OK", "ColorScheme=csNeoSky", "Layout=blGlyphTop",
                          "Spacing=-3", "Ctl3D=false", "HotTrack=False", "Cancel=true", "Default=true",
                          "ModalResult=2", "TransparentGlyph=false", "TabStop=false", "Enabled=false"})
        ApplyButtonProperty(button, QString::fromLatin1(a));
    EXPECT_EQ(button.size(), QSize(22, 24));
    EXPECT_EQ(button.Caption(), QStringLiteral("&OK"));
    EXPECT_EQ(button.ColorScheme(), TXiButton::csNeoSky);
    EXPECT_EQ(button.ColorFace(), 0x00FFEEDDu);
    EXPECT_EQ(button.Layout(), TButtonLayout::blGlyphTop);
    EXPECT_EQ(button.Spacing(), -3);
    EXPECT_FALSE(button.Ctl3D());
    EXPECT_FALSE(button.HotTrack());
    EXPECT_TRUE(button.Cancel());
    EXPECT_TRUE(button.Default());
    EXPECT_EQ(button.ModalResult(), 2);
    EXPECT_FALSE(button.TransparentGlyph());
    EXPECT_FALSE(button.TabStop());
    EXPECT_FALSE(button.isEnabled());
}

TEST(RenderPropertiesTest, AssignmentsApplyInOrder)
{
    TXiButton button;
    ApplyButtonProperty(button, QStringLiteral("OverColorText=$00ABCDEF"));
    EXPECT_EQ(button.OverColorText(), 0x00ABCDEFu);
    EXPECT_EQ(button.ColorScheme(), TXiButton::csCustom);
    ApplyButtonProperty(button, QStringLiteral("ColorScheme=csRose"));
    EXPECT_EQ(button.OverColorText(), 0u);
    ApplyButtonProperty(button, QStringLiteral("Gradient=true"));
    EXPECT_TRUE(button.Gradient());
    ApplyButtonProperty(button, QStringLiteral("ColorFocusRect=$00000001"));
    EXPECT_EQ(button.ColorScheme(), TXiButton::csCustom);
}

TEST(RenderPropertiesTest, StateAndFocusedSetTheDrawState)
{
    TXiButton button;
    ApplyButtonProperty(button, QStringLiteral("State=down"));
    ApplyButtonProperty(button, QStringLiteral("Focused=true"));
    EXPECT_EQ(button.DrawState(), TDrawState::dsDown);
    EXPECT_TRUE(button.Focused());
    ApplyButtonProperty(button, QStringLiteral("State=over"));
    EXPECT_EQ(button.DrawState(), TDrawState::dsOver);
    EXPECT_TRUE(button.Focused());
}

TEST(RenderPropertiesTest, PanelAssignments)
{
    TXiPanel panel;
    for (const char* a : {"ColorScheme=csSky", "FillDirection=fdDiagonal", "BevelOuter=bvLowered",
                          "BevelInner=bvSpace", "BevelWidth=2", "Alignment=taRightJustify", "Caption=Keys",
                          "ColorDark=$00010203"})
        ApplyPanelProperty(panel, QString::fromLatin1(a));
    EXPECT_EQ(panel.ColorScheme(), TXiPanel::csCustom);
    EXPECT_EQ(panel.ColorGrad(), 0x00FFE0C1u);
    EXPECT_EQ(panel.ColorDark(), 0x00010203u);
    EXPECT_EQ(panel.FillDirection(), TFillDirection::fdDiagonal);
    EXPECT_EQ(panel.BevelOuter(), TBevelCut::bvLowered);
    EXPECT_EQ(panel.BevelInner(), TBevelCut::bvSpace);
    EXPECT_EQ(panel.BevelWidth(), 2);
    EXPECT_EQ(panel.Alignment(), TAlignment::taRightJustify);
    EXPECT_EQ(panel.Caption(), QStringLiteral("Keys"));
}

TEST(RenderPropertiesTest, RejectedAssignments)
{
    const char* buttonCases[] = {
        "Bogus=1",      "ColorScheme=csNowhere", "ColorScheme=12", "Gradient=yes", "ColorFace=123456",
        "ColorFace=$", "ColorFace=$1FFFFFFFF",   "ColorFace=$GG", "Width=-1",     "Width=ten",
        "NoEquals",     "=true",                 "State=pressed", "Layout=left",  "FillDirection=fdVertical",
        "Glyph=/nonexistent/glyph.png",
    };
    for (const char* a : buttonCases) {
        TXiButton button;
        EXPECT_THROW(ApplyButtonProperty(button, QString::fromLatin1(a)), RenderError) << a;
    }
    const char* panelCases[] = {"ColorScheme=csNeoSky", "BevelOuter=raised", "Alignment=taMiddle",
                                "OverColorFace=$00000000", "State=down", "BevelWidth=-2"};
    for (const char* a : panelCases) {
        TXiPanel panel;
        EXPECT_THROW(ApplyPanelProperty(panel, QString::fromLatin1(a)), RenderError) << a;
    }
}

TEST(RenderPropertiesTest, SheetShowsEverySchemeFocusedAndThePanels)
{
    const QImage sheet = RenderSheet();
    QSet<QRgb> colors;
    for (int y = 0; y < sheet.height(); ++y)
        for (int x = 0; x < sheet.width(); ++x)
            colors.insert(sheet.pixel(x, y) & 0x00FFFFFFu);
    const auto has = [&colors](TColor c) { return colors.contains(qRgb(RedOf(c), GreenOf(c), BlueOf(c)) & 0x00FFFFFFu); };
    for (int k = 0; k < 12; ++k) {
        const auto scheme = static_cast<xibutton::TColorScheme>(k);
        const auto schemeColors = ButtonSchemeColors(scheme);
        EXPECT_TRUE(has(*(*schemeColors)[kColorFocusRect])) << SchemeName(scheme);
        EXPECT_TRUE(has(*(*schemeColors)[kDownColorSet + kColorBorder])) << SchemeName(scheme);
    }
    EXPECT_TRUE(has(0x0000699B)) << "the panels' dark bevel";
}

} // namespace
} // namespace zentaro
