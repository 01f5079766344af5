#include "controls/PixelImage.h"
#include "controls/XiButton.h"
#include "controls/XiPanel.h"

#include <QImage>
#include <QTest>

#include <gtest/gtest.h>

namespace zentaro {
namespace {

constexpr TColor kWhite = 0x00FFFFFF;
constexpr TColor kLight = 0x00008FD5;
constexpr TColor kDark = 0x0000699B;

TColor PixelAt(const QImage& image, int x, int y)
{
    return FromQRgb(image.pixel(x, y));
}

TEST(XiPanelTest, ValuesAfterConstruction)
{
    TXiPanel panel;
    EXPECT_EQ(panel.ColorScheme(), TXiPanel::csDesert);
    EXPECT_EQ(panel.FillDirection(), TFillDirection::fdVertical);
    EXPECT_EQ(panel.ColorFace(), kWhite);
    EXPECT_EQ(panel.ColorGrad(), 0x00A4E1FFu);
    EXPECT_EQ(panel.ColorLight(), kLight);
    EXPECT_EQ(panel.ColorDark(), kDark);
    EXPECT_EQ(panel.Alignment(), TAlignment::taCenter);
    EXPECT_EQ(panel.BevelInner(), TBevelCut::bvNone);
    EXPECT_EQ(panel.BevelOuter(), TBevelCut::bvRaised);
    EXPECT_EQ(panel.BevelWidth(), 1);
    EXPECT_TRUE(panel.Caption().isEmpty());
}

TEST(XiPanelTest, KeypadPanelAsPainted)
{
    TXiPanel panel;
    panel.resize(109, 135);
    const QImage image = panel.RenderImage();
    ASSERT_EQ(image.size(), QSize(109, 135));
    EXPECT_EQ(PixelAt(image, 0, 0), kLight);
    EXPECT_EQ(PixelAt(image, 107, 0), kLight);
    EXPECT_EQ(PixelAt(image, 108, 0), kDark);
    EXPECT_EQ(PixelAt(image, 0, 134), kLight);
    EXPECT_EQ(PixelAt(image, 1, 134), kDark);
    EXPECT_EQ(PixelAt(image, 108, 134), kDark);
    EXPECT_EQ(PixelAt(image, 1, 1), MakeColor(255, 255, 254)); // blue 255 - 91/135 = 254.33
    EXPECT_EQ(PixelAt(image, 50, 67), MakeColor(255, 240, 210));
}

TEST(XiPanelTest, DiagonalWithoutBevelsLeavesColumnZeroToTheFace)
{
    TXiPanel panel;
    panel.resize(30, 20);
    panel.SetBevelOuter(TBevelCut::bvNone);
    panel.SetColorFace(MakeColor(0, 0, 0));
    panel.SetColorGrad(MakeColor(0, 0, 250)); // extent 50: colour number n is blue 5 n
    panel.SetFillDirection(TFillDirection::fdDiagonal);
    const QImage image = panel.RenderImage();
    for (int y = 0; y < 20; ++y) {
        EXPECT_EQ(PixelAt(image, 0, y), MakeColor(0, 0, 0)) << y;
        for (int x = 1; x < 30; ++x)
            ASSERT_EQ(PixelAt(image, x, y), MakeColor(0, 0, 5 * (x + y))) << x << "," << y;
    }
}

TEST(XiPanelTest, CaptionSitsInsideWithItsAlignment)
{
    TXiPanel panel;
    panel.resize(200, 40);
    panel.SetColorScheme(TXiPanel::csSilver);
    panel.SetFillDirection(TFillDirection::fdHorizontal);
    panel.SetCaption(QStringLiteral("Rates"));

    // Text pixels are those that differ from their column's gradient colour,
    // taken from row 4, inside the bevels and above the centred caption.
    const auto textColumns = [&panel] {
        const QImage image = panel.RenderImage();
        int left = image.width(), right = -1;
        for (int y = 5; y < image.height() - 5; ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) != image.pixel(x, 4)) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
        return std::pair{left, right};
    };
    panel.SetAlignment(TAlignment::taLeftJustify);
    const auto [left, leftEnd] = textColumns();
    ASSERT_GE(leftEnd, left) << "caption not drawn";
    EXPECT_GE(left, 3); // bevel width + 2
    EXPECT_LE(left, 6);
    panel.SetBevelInner(TBevelCut::bvLowered);
    EXPECT_EQ(textColumns().first, left + 1);

    panel.SetAlignment(TAlignment::taRightJustify);
    const auto [right, rightEnd] = textColumns();
    EXPECT_LE(rightEnd, 200 - 1 - 2 - 1 - 1);
    EXPECT_GE(rightEnd, 190);
    EXPECT_EQ(rightEnd - right, leftEnd - left);

    panel.SetAlignment(TAlignment::taCenter);
    const auto [centre, centreEnd] = textColumns();
    EXPECT_NEAR((centre + centreEnd) / 2.0, 100.0, 3.0);
}

TEST(XiPanelTest, ChildrenAreDrawnOverThePanel)
{
    TXiPanel panel;
    panel.resize(109, 135);
    auto* key = new TXiButton(&panel);
    key->setGeometry(10, 10, 30, 25);
    key->SetGradient(false);
    key->SetHotTrack(false); // wherever earlier tests left the pointer
    panel.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
    const QImage shown = panel.grab().toImage();
    EXPECT_EQ(FromQRgb(shown.pixel(20, 20)), key->ColorFace());
    EXPECT_EQ(FromQRgb(shown.pixel(0, 60)), kLight);
}

} // namespace
} // namespace zentaro
