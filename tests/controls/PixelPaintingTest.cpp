#include "controls/ButtonPainting.h"
#include "controls/GradientPainting.h"
#include "controls/PanelPainting.h"
#include "controls/PixelBuffer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zentaro {
namespace {

constexpr TColor kBlank = 0x00ABCDEF;
constexpr TColor kWhite = 0x00FFFFFF;

std::vector<std::pair<int, int>> PixelsOf(const PixelBuffer& buffer, TColor color)
{
    std::vector<std::pair<int, int>> at;
    for (int y = 0; y < buffer.height; ++y)
        for (int x = 0; x < buffer.width; ++x)
            if (buffer.At(x, y) == color)
                at.emplace_back(x, y);
    return at;
}

TEST(RoundHalfEvenTest, TiesGoToEven)
{
    const std::pair<double, int> cases[] = {
        {0.5, 0}, {1.5, 2}, {2.5, 2}, {3.5, 4}, {254.5, 254}, {-0.5, 0}, {-1.5, -2},
        {0.49999, 0}, {0.50001, 1}, {2.4, 2}, {2.6, 3}, {7.0, 7},
    };
    for (const auto& [value, expected] : cases)
        EXPECT_EQ(RoundHalfEven(value), expected) << value;
}

TEST(PixelCanvasTest, LineStopsShortOfItsEnd)
{
    PixelBuffer buffer(5, 5, kBlank);
    PixelCanvas canvas(buffer);
    canvas.SetPen(1);
    canvas.MoveTo(1, 3);
    canvas.LineTo(1, 0);
    canvas.SetPen(2);
    canvas.LineTo(4, 0);
    EXPECT_EQ(PixelsOf(buffer, 1), (std::vector<std::pair<int, int>>{{1, 1}, {1, 2}, {1, 3}}));
    EXPECT_EQ(PixelsOf(buffer, 2), (std::vector<std::pair<int, int>>{{1, 0}, {2, 0}, {3, 0}}));
}

TEST(PixelCanvasTest, RectangleOutlineAndFill)
{
    PixelBuffer buffer(6, 5, kBlank);
    PixelCanvas canvas(buffer);
    canvas.SetPen(1);
    const TColor brush = 2;
    canvas.Rectangle(1, 1, 5, 5, &brush);
    const std::vector<std::string> expected = {
        "......",
        ".1111.",
        ".1221.",
        ".1221.",
        ".1111.",
    };
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x) {
            const char c = expected[y][x];
            EXPECT_EQ(buffer.At(x, y), c == '.' ? kBlank : TColor(c - '0')) << x << "," << y;
        }
}

TEST(GradientTest, RowsRoundHalfToEven)
{
    // Red 0 -> 1 and 1 -> 2 over four rows step by 0.5: the ties split by parity.
    PixelBuffer up(1, 4, kBlank);
    PaintGradient(up, MakeColor(0, 1, 0), MakeColor(2, 3, 0), TFillDirection::fdVertical);
    const int red[] = {0, 0, 1, 2};
    const int green[] = {1, 2, 2, 2};
    for (int y = 0; y < 4; ++y) {
        EXPECT_EQ(RedOf(up.At(0, y)), red[y]) << y;
        EXPECT_EQ(GreenOf(up.At(0, y)), green[y]) << y;
    }
}

TEST(GradientTest, RunningSumNotMultiplication)
{
    // 7 -> 0 over six rows: after three additions the sum is 3.4999999999999991,
    // where 7 + 3 * step would give exactly 3.5 and round to 4.
    PixelBuffer buffer(2, 6, kBlank);
    PaintGradient(buffer, MakeColor(7, 0, 0), MakeColor(0, 0, 0), TFillDirection::fdVertical);
    EXPECT_EQ(RedOf(buffer.At(0, 3)), 3);
    EXPECT_EQ(RedOf(buffer.At(1, 3)), 3);
}

TEST(GradientTest, HorizontalColumnsAndNeverTheEndColour)
{
    PixelBuffer buffer(4, 3, kBlank);
    PaintGradient(buffer, MakeColor(0, 0, 0), MakeColor(0, 0, 40), TFillDirection::fdHorizontal);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(buffer.At(x, y), MakeColor(0, 0, 10 * x)) << x << "," << y;
}

TEST(GradientTest, DiagonalColourNumberIsXPlusY)
{
    // Extent 10 + 6 = 16 and blue 0 -> 160, so colour number n is blue 10 n.
    PixelBuffer buffer(10, 6, kBlank);
    PaintGradient(buffer, MakeColor(0, 0, 0), MakeColor(0, 0, 160), TFillDirection::fdDiagonal);
    for (int y = 0; y < 6; ++y) {
        EXPECT_EQ(buffer.At(0, y), kBlank) << "column 0 is not painted, row " << y;
        for (int x = 1; x < 10; ++x)
            EXPECT_EQ(buffer.At(x, y), MakeColor(0, 0, 10 * (x + y))) << x << "," << y;
    }
}

TEST(GradientTest, ZeroExtentPaintsNothing)
{
    PixelBuffer buffer(3, 0);
    PaintGradient(buffer, 0, kWhite, TFillDirection::fdVertical);
    PixelBuffer wide(0, 3);
    PaintGradient(wide, 0, kWhite, TFillDirection::fdHorizontal);
    EXPECT_TRUE(buffer.pixels.empty());
    EXPECT_TRUE(wide.pixels.empty());
}

TEST(ButtonPaintingTest, GradientFirstAndLastRow)
{
    // csNeoDesert's normal set on a 75 x 25 face.
    const ButtonStateColors colors{0x00C6ECFF, 0x0037BEFF, 0, 0, 0, 0};
    PixelBuffer buffer(75, 25, kBlank);
    PaintButtonFace(buffer, colors, true);
    for (int x = 0; x < 75; ++x) {
        EXPECT_EQ(buffer.At(x, 0), 0x00C6ECFFu) << x;
        // face + 24/25 (grad - face): green 236 - 44.16, blue 198 - 137.28.
        EXPECT_EQ(buffer.At(x, 24), MakeColor(255, 192, 61)) << x;
    }
    EXPECT_EQ(buffer.At(10, 12), MakeColor(255, 214, 129)); // green 236 - 22.08, blue 198 - 68.64
}

TEST(ButtonPaintingTest, FlatFaceHasBlackOutlineUnderTheBorder)
{
    const ButtonStateColors colors{0x00112233, 0x00FFFFFF, 0, 0, 0, 0};
    PixelBuffer buffer(8, 6, kBlank);
    PaintButtonFace(buffer, colors, false);
    EXPECT_EQ(PixelsOf(buffer, 0x00112233).size(), 6u * 4u);
    EXPECT_EQ(PixelsOf(buffer, 0x00000000).size(), 8u * 6u - 6u * 4u);
    EXPECT_EQ(buffer.At(0, 0), 0u);
    EXPECT_EQ(buffer.At(7, 5), 0u);
}

TEST(ButtonPaintingTest, BorderEdgesAndFocusRectangle)
{
    constexpr TColor kFace = 10, kBorder = 1, kLight = 2, kDark = 3, kFocus = 4;
    const ButtonStateColors colors{kFace, kFace, kDark, kLight, kBorder, 0};
    constexpr int kW = 12, kH = 9;
    PixelBuffer buffer(kW, kH, kFace);
    PaintButtonFrame(buffer, colors, true, true, kFocus);
    const std::vector<std::string> expected = {
        "111111111111",
        "122222222231",
        "12........31",
        "12.444444.31",
        "12.4....4.31",
        "12.444444.31",
        "12........31",
        "123333333331",
        "111111111111",
    };
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            const char c = expected[y][x];
            EXPECT_EQ(buffer.At(x, y), c == '.' ? kFace : TColor(c - '0')) << x << "," << y;
        }
}

TEST(ButtonPaintingTest, WithoutCtl3DOrFocusOnlyTheBorder)
{
    const ButtonStateColors colors{10, 10, 3, 2, 1, 0};
    PixelBuffer buffer(75, 25, 10);
    PaintButtonFrame(buffer, colors, false, false, 4);
    EXPECT_EQ(PixelsOf(buffer, 1).size(), 2u * 75u + 2u * 23u);
    EXPECT_EQ(PixelsOf(buffer, 10).size(), 73u * 23u);
}

struct LayoutCase {
    const char* name;
    ButtonContentInput in;
    int glyphX, glyphY, textLeft, textTop;
};

void PrintTo(const LayoutCase& c, std::ostream* os)
{
    *os << c.name;
}

class ButtonLayoutTest : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(ButtonLayoutTest, GlyphAndCaptionPositions)
{
    const LayoutCase& c = GetParam();
    const ButtonContentLayout at = LayoutButtonContent(c.in);
    EXPECT_EQ(at.glyphX, c.glyphX);
    EXPECT_EQ(at.glyphY, c.glyphY);
    EXPECT_EQ(at.textLeft, c.textLeft);
    EXPECT_EQ(at.textTop, c.textTop);
    EXPECT_EQ(at.textRight - at.textLeft, c.in.textWidth);
    EXPECT_EQ(at.textBottom - at.textTop, c.in.textHeight);
}

using L = TButtonLayout;
// Fields: width, height, textWidth, textHeight, hasCaption, hasGlyph, glyphWidth, glyphHeight, spacing, layout, down.
INSTANTIATE_TEST_SUITE_P(
    Layouts, ButtonLayoutTest,
    ::testing::Values(
        LayoutCase{"Bitbtn2", {22, 24, 0, 16, false, true, 13, 18, 4, L::blGlyphLeft, false}, 5, 3, 17, 4},
        LayoutCase{"Bitbtn2Pressed", {22, 24, 0, 16, false, true, 13, 18, 4, L::blGlyphLeft, true}, 6, 4, 18, 5},
        LayoutCase{"CaptionOnly", {75, 25, 30, 15, true, false, 0, 0, 4, L::blGlyphLeft, false}, 0, 0, 22, 5},
        LayoutCase{"CaptionOnlyPressed", {75, 25, 30, 15, true, false, 0, 0, 4, L::blGlyphLeft, true}, 0, 0, 23, 6},
        // tx 22; glyph 22 - 8 - 2 - 1 = 11, text 22 + 8 + 2 = 32.
        LayoutCase{"LeftOddSpacing", {75, 25, 30, 15, true, true, 16, 16, 5, L::blGlyphLeft, false}, 11, 4, 32, 5},
        // Odd glyph width, spacing 0: glyph 22 - 6 = 16 .. 28, text from 28: one shared column.
        LayoutCase{"LeftOddGlyphOverlaps", {75, 25, 30, 15, true, true, 13, 13, 0, L::blGlyphLeft, false}, 16, 6, 28, 5},
        // glyph 22 + 30 - 8 + 2 + 1 = 47; text 22 - 8 - 2 = 12.
        LayoutCase{"RightOddSpacing", {75, 25, 30, 15, true, true, 16, 16, 5, L::blGlyphRight, false}, 47, 4, 12, 5},
        // ty 17; glyph 17 - 6 - 1 - 2 - 0 = 8, text 17 + 6 + 2 = 25.
        LayoutCase{"TopOddGlyph", {75, 50, 30, 15, true, true, 16, 13, 4, L::blGlyphTop, false}, 29, 8, 22, 25},
        // glyph 17 + 15 - 6 + 2 = 28, text 17 - 6 - 2 = 9.
        LayoutCase{"Bottom", {75, 50, 30, 15, true, true, 16, 13, 4, L::blGlyphBottom, false}, 29, 28, 22, 9},
        LayoutCase{"BottomPressed", {75, 50, 30, 15, true, true, 16, 13, 4, L::blGlyphBottom, true}, 30, 29, 23, 10},
        // Wider than the button: negative offsets truncate toward zero.
        LayoutCase{"NarrowButton", {10, 5, 31, 15, true, false, 0, 0, 4, L::blGlyphLeft, false}, 0, 0, -10, -5}),
    [](const ::testing::TestParamInfo<LayoutCase>& info) { return std::string(info.param.name); });

TEST(PanelPaintingTest, KeypadPanelPixels)
{
    // 109 x 135, csDesert, fdVertical, raised outer bevel of width 1, no inner bevel.
    constexpr TColor kGrad = 0x00A4E1FF, kLight = 0x00008FD5, kDark = 0x0000699B;
    PixelBuffer buffer(109, 135, kBlank);
    PaintGradient(buffer, kWhite, kGrad, TFillDirection::fdVertical);
    PaintPanelBevels(buffer, TBevelCut::bvRaised, TBevelCut::bvNone, 1, kLight, kDark);

    for (int x = 0; x < 108; ++x)
        EXPECT_EQ(buffer.At(x, 0), kLight) << x;
    EXPECT_EQ(buffer.At(108, 0), kDark);
    for (int y = 0; y < 135; ++y)
        EXPECT_EQ(buffer.At(0, y), kLight) << y;
    for (int y = 0; y < 135; ++y)
        EXPECT_EQ(buffer.At(108, y), kDark) << y;
    for (int x = 1; x < 109; ++x)
        EXPECT_EQ(buffer.At(x, 134), kDark) << x;

    // Inside, each row has one colour falling from white toward the end colour.
    int lastGreen = 256, lastBlue = 256;
    for (int y = 1; y < 134; ++y) {
        const TColor row = buffer.At(1, y);
        for (int x = 2; x < 108; ++x)
            ASSERT_EQ(buffer.At(x, y), row) << x << "," << y;
        EXPECT_EQ(RedOf(row), 255);
        EXPECT_LE(GreenOf(row), lastGreen);
        EXPECT_LE(BlueOf(row), lastBlue);
        lastGreen = GreenOf(row);
        lastBlue = BlueOf(row);
    }
    // Row 67: green 255 - 67 * 30/135 = 240.11, blue 255 - 67 * 91/135 = 209.84.
    EXPECT_EQ(buffer.At(50, 67), MakeColor(255, 240, 210));
    // Row 133, the last inside the bevel: blue 255 - 133 * 91/135 = 165.35.
    EXPECT_EQ(buffer.At(50, 133), MakeColor(255, 225, 165));
}

TEST(PanelPaintingTest, BevelRingsAndInsets)
{
    constexpr TColor kLight = 1, kDark = 2;
    struct Case {
        const char* name;
        TBevelCut outer, inner;
        int width;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"LoweredOuter", TBevelCut::bvLowered, TBevelCut::bvNone, 1,
         {"222221", "2....1", "2....1", "211111"}},
        {"SpaceIsRaised", TBevelCut::bvSpace, TBevelCut::bvNone, 1,
         {"111112", "1....2", "1....2", "122222"}},
        {"InnerAtEdgeWithoutOuter", TBevelCut::bvNone, TBevelCut::bvLowered, 1,
         {"222221", "2....1", "2....1", "211111"}},
        {"RaisedOuterLoweredInner", TBevelCut::bvRaised, TBevelCut::bvLowered, 1,
         {"111112", "122212", "121112", "122222"}},
        {"TwoRings", TBevelCut::bvRaised, TBevelCut::bvNone, 2,
         {"111112", "111122", "112222", "122222"}},
    };
    for (const Case& c : cases) {
        PixelBuffer buffer(6, 4, 0);
        PaintPanelBevels(buffer, c.outer, c.inner, c.width, kLight, kDark);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 6; ++x) {
                const char e = c.expected[y][x];
                EXPECT_EQ(buffer.At(x, y), e == '.' ? 0u : TColor(e - '0')) << c.name << " " << x << "," << y;
            }
    }
}

TEST(PanelPaintingTest, CaptionX)
{
    using A = TAlignment;
    using B = TBevelCut;
    struct Case {
        A alignment;
        B outer, inner;
        int bevelWidth, expected;
    };
    const Case cases[] = {
        {A::taLeftJustify, B::bvRaised, B::bvNone, 3, 5},
        {A::taLeftJustify, B::bvNone, B::bvRaised, 3, 5},
        {A::taLeftJustify, B::bvRaised, B::bvLowered, 3, 8},
        {A::taRightJustify, B::bvRaised, B::bvNone, 2, 100 - 2 - 2 - 21},
        {A::taRightJustify, B::bvRaised, B::bvSpace, 2, 100 - 2 - 2 - 21 - 2},
        {A::taCenter, B::bvRaised, B::bvLowered, 2, 39},
        {A::taCenter, B::bvNone, B::bvNone, 2, 39},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PanelCaptionX(100, 21, c.alignment, c.bevelWidth, c.outer, c.inner), c.expected)
            << static_cast<int>(c.alignment) << " " << static_cast<int>(c.outer) << " " << static_cast<int>(c.inner);
}

} // namespace
} // namespace zentaro
