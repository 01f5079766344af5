#include "controls/PixelImage.h"

namespace zentaro {

QColor ToQColor(TColor color)
{
    return QColor(RedOf(color), GreenOf(color), BlueOf(color));
}

TColor FromQRgb(QRgb rgb)
{
    return MakeColor(qRed(rgb), qGreen(rgb), qBlue(rgb));
}

QImage ToQImage(const PixelBuffer& buffer)
{
    QImage image(buffer.width, buffer.height, QImage::Format_RGB32);
    for (int y = 0; y < buffer.height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < buffer.width; ++x) {
            const TColor c = buffer.At(x, y);
            line[x] = qRgb(RedOf(c), GreenOf(c), BlueOf(c));
        }
    }
    return image;
}

PixelBuffer FromQImage(const QImage& image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    PixelBuffer buffer(rgb.width(), rgb.height());
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x)
            buffer.Set(x, y, FromQRgb(line[x]));
    }
    return buffer;
}

} // namespace zentaro
