#pragma once

#include "controls/ControlTypes.h"
#include "controls/PixelBuffer.h"

#include <QColor>
#include <QImage>

namespace zentaro {

// Where $00BBGGRR colours meet Qt's ARGB.
QColor ToQColor(TColor color);
TColor FromQRgb(QRgb rgb);

QImage ToQImage(const PixelBuffer& buffer);
PixelBuffer FromQImage(const QImage& image);

} // namespace zentaro
