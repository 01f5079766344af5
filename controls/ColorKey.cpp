#include "controls/ColorKey.h"

namespace zentaro {

QImage WithoutKeyColor(const QImage& picture, QPoint keyPixel)
{
    QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    if (image.isNull() || !image.rect().contains(keyPixel))
        return image;
    constexpr QRgb kOpaque = 0xFF000000u;
    const QRgb key = image.pixel(keyPixel) | kOpaque;
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if ((line[x] | kOpaque) == key)
                line[x] = 0;
    }
    return image;
}

} // namespace zentaro
