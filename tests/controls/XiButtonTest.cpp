#include "controls/PixelImage.h"
#include "controls/XiButton.h"

#include <QImage>

#include <gtest/gtest.h>

namespace zentaro {
namespace {

constexpr TColor kGlyphColor = 0x000000FF;
constexpr TColor kGlyphKey = 0x00FF00FF;

TColor PixelAt(const QImage& image, int x, int y)
{
    return FromQRgb(image.pixel(x, y));
}

// A glyph of one colour whose top-left pixel carries the transparent key.
QImage MakeGlyph(int w, int h)
{
    QImage glyph(w, h, QImage::Format_RGB32);
    glyph.fill(ToQColor(kGlyphColor));
    glyph.setPixelColor(0, 0, ToQColor(kGlyphKey));
    return glyph;
}

// Bounding box of the pixels in one colour: {left, top, right, bottom}, inclusive.
std::array<int, 4> BoxOf(const QImage& image, TColor color)
{
    std::array<int, 4> box = {image.width(), image.height(), -1, -1};
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (PixelAt(image, x, y) == color) {
                box[0] = std::min(box[0], x);
                box[1] = std::min(box[1], y);
                box[2] = std::max(box[2], x);
                box[3] = std::max(box[3], y);
            }
    return box;
}

TEST(XiButtonTest, ValuesAfterConstruction)
{
    TXiButton button;
    EXPECT_EQ(button.size(), QSize(75, 25));
    EXPECT_TRUE(button.Ctl3D());
    EXPECT_EQ(button.Layout(), TButtonLayout::blGlyphLeft);
    EXPECT_TRUE(button.Glyph().isNull());
    EXPECT_EQ(button.Spacing(), 4);
    EXPECT_TRUE(button.TransparentGlyph());
    EXPECT_TRUE(button.Gradient());
    EXPECT_TRUE(button.HotTrack());
    EXPECT_FALSE(button.Cancel());
    EXPECT_FALSE(button.Default());
    EXPECT_EQ(button.ModalResult(), 0);
    EXPECT_TRUE(button.TabStop());
    EXPECT_TRUE(button.Caption().isEmpty());
    EXPECT_EQ(button.DrawState(), TDrawState::dsNormal);
    EXPECT_FALSE(button.Pressed());
    EXPECT_FALSE(button.Focused());
}

TEST(XiButtonTest, AcceleratorIsTheCharacterAfterTheFirstSingleAmpersand)
{
    const std::pair<const char*, QChar> cases[] = {
        {"&OK", u'O'}, {"Con&vert", u'v'}, {"A&&B", QChar()}, {"A&&B&c", u'c'},
        {"&&&x", u'x'}, {"Plain", QChar()}, {"End&", QChar()}, {"", QChar()},
    };
    for (const auto& [caption, expected] : cases)
        EXPECT_EQ(TXiButton::Accelerator(QString::fromLatin1(caption)), expected) << caption;
}

TEST(XiButtonTest, RenderedImageHasTheButtonsSize)
{
    TXiButton button;
    button.resize(40, 17);
    EXPECT_EQ(button.RenderImage().size(), QSize(40, 17));
}

TEST(XiButtonTest, EachStatePaintsWithItsColourSet)
{
    struct Case {
        TDrawState state;
        bool enabled;
        int base;
    };
    const Case cases[] = {
        {TDrawState::dsNormal, true, kColorFace},
        {TDrawState::dsOver, true, kOverColorSet},
        {TDrawState::dsDown, true, kDownColorSet},
        {TDrawState::dsNormal, false, kDisabledColorSet},
        {TDrawState::dsOver, false, kDisabledColorSet},
        {TDrawState::dsDown, false, kDisabledColorSet},
    };
    for (const Case& c : cases) {
        TXiButton button;
        for (int i = 0; i < kButtonColorCount; ++i)
            button.SetColor(i, MakeColor(i, 100 + i, 200));
        button.SetGradient(false);
        button.setEnabled(c.enabled);
        button.ShowDrawState(c.state, true);
        const QImage image = button.RenderImage();
        const auto label = ::testing::Message() << static_cast<int>(c.state) << " enabled " << c.enabled;
        EXPECT_EQ(PixelAt(image, 0, 0), button.Color(c.base + kColorBorder)) << label;
        EXPECT_EQ(PixelAt(image, 1, 10), button.Color(c.base + kColorLight)) << label;
        EXPECT_EQ(PixelAt(image, 73, 10), button.Color(c.base + kColorDark)) << label;
        EXPECT_EQ(PixelAt(image, 2, 10), button.Color(c.base + kColorFace)) << label;
        // The focus rectangle keeps its own colour in every set.
        EXPECT_EQ(PixelAt(image, 3, 10), button.ColorFocusRect()) << label;
    }
}

TEST(XiButtonTest, GradientRowsInsideTheFrame)
{
    TXiButton button; // csNeoDesert
    button.SetCtl3D(false);
    const QImage image = button.RenderImage();
    // Rows 1 and 23 of face 0x00C6ECFF -> grad 0x0037BEFF over 25 rows.
    EXPECT_EQ(PixelAt(image, 5, 1), MakeColor(255, 234, 192));
    EXPECT_EQ(PixelAt(image, 5, 23), MakeColor(255, 194, 66));
    button.SetGradient(false);
    EXPECT_EQ(PixelAt(button.RenderImage(), 5, 23), 0x00C6ECFFu);
}

TEST(XiButtonTest, Bitbtn2GlyphMovesOnePixelWhenPressed)
{
    TXiButton button;
    button.resize(22, 24);
    button.SetGlyph(MakeGlyph(13, 18));
    const auto normal = BoxOf(button.RenderImage(), kGlyphColor);
    EXPECT_EQ(normal, (std::array<int, 4>{5, 3, 17, 20}));

    button.ShowDrawState(TDrawState::dsDown, false);
    const auto down = BoxOf(button.RenderImage(), kGlyphColor);
    EXPECT_EQ(down, (std::array<int, 4>{6, 4, 18, 21}));
}

TEST(XiButtonTest, TransparentGlyphSkipsItsKeyColour)
{
    TXiButton button;
    button.resize(22, 24);
    button.SetGradient(false);
    button.SetGlyph(MakeGlyph(13, 18));
    EXPECT_EQ(PixelAt(button.RenderImage(), 5, 3), button.ColorFace());
    EXPECT_EQ(PixelAt(button.RenderImage(), 6, 3), kGlyphColor);
    button.SetTransparentGlyph(false);
    EXPECT_EQ(PixelAt(button.RenderImage(), 5, 3), kGlyphKey);
}

TEST(XiButtonTest, GlyphIsCopied)
{
    QImage glyph = MakeGlyph(4, 4);
    TXiButton button;
    button.SetGlyph(glyph);
    glyph.fill(Qt::white);
    EXPECT_EQ(FromQRgb(button.Glyph().pixel(2, 2)), kGlyphColor);
}

TEST(XiButtonTest, CaptionIsDrawnInTheTextColourInsideTheFrame)
{
    TXiButton button;
    button.SetGradient(false);
    button.SetCaption(QStringLiteral("&Wide"));
    button.SetColorText(0x000000FF);
    const QImage image = button.RenderImage();
    const auto box = BoxOf(image, 0x000000FF);
    ASSERT_GE(box[2], box[0]) << "no caption pixels in the text colour";
    EXPECT_GT(box[0], 3);
    EXPECT_LT(box[2], 71);
    // Centred within a pixel or two, whatever the font.
    EXPECT_NEAR((box[0] + box[2]) / 2.0, 37.0, 6.0);
}

} // namespace
} // namespace zentaro
