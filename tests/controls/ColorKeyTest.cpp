#include "controls/ColorKey.h"

#include <gtest/gtest.h>

namespace zentaro {
namespace {

// 3 x 2: white in the top-left and bottom-right corners, red in the bottom-left.
QImage Corners()
{
    QImage picture(3, 2, QImage::Format_RGB32);
    picture.fill(qRgb(0, 0, 255));
    picture.setPixel(0, 0, qRgb(255, 255, 255));
    picture.setPixel(2, 1, qRgb(255, 255, 255));
    picture.setPixel(0, 1, qRgb(255, 0, 0));
    picture.setPixel(1, 1, qRgb(254, 0, 0));
    return picture;
}

TEST(ColorKeyTest, OnlyPixelsOfExactlyTheKeyColourBecomeTransparent)
{
    struct Case {
        const char* name;
        QPoint key;
        std::vector<QPoint> transparent;
    };
    const QImage picture = Corners();
    const Case cases[] = {
        {"top-left key", TopLeftPixel(picture), {{0, 0}, {2, 1}}},
        {"bottom-left key, a near colour stays", BottomLeftPixel(picture), {{0, 1}}},
        {"a key outside the picture keys nothing", {5, 5}, {}},
    };
    for (const Case& c : cases) {
        const QImage keyed = WithoutKeyColor(picture, c.key);
        ASSERT_EQ(keyed.size(), picture.size()) << c.name;
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                const bool keyedOut = std::find(c.transparent.begin(), c.transparent.end(), QPoint(x, y)) !=
                                      c.transparent.end();
                const QRgb expected = keyedOut ? qRgba(0, 0, 0, 0) : picture.pixel(x, y);
                EXPECT_EQ(keyed.pixel(x, y), expected) << c.name << " at " << x << "," << y;
            }
        }
    }
}

TEST(ColorKeyTest, AlphaTakesNoPartAndANullPictureStaysNull)
{
    QImage picture(2, 1, QImage::Format_ARGB32);
    picture.setPixel(0, 0, qRgba(10, 20, 30, 255));
    picture.setPixel(1, 0, qRgba(10, 20, 30, 128));
    const QImage keyed = WithoutKeyColor(picture, {0, 0});
    EXPECT_EQ(keyed.pixel(0, 0), 0u);
    EXPECT_EQ(keyed.pixel(1, 0), 0u);
    EXPECT_TRUE(WithoutKeyColor(QImage(), {0, 0}).isNull());
}

} // namespace
} // namespace zentaro
