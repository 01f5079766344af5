#pragma once

#include <QImage>
#include <QPoint>

namespace zentaro {

// A bitmap drawn transparently: every pixel of exactly the colour of its key
// pixel (a corner chosen by the control) becomes fully transparent; the
// others stay as they are. Alpha takes no part in the comparison, as a 24-bit
// bitmap has none. A null picture stays null.
QImage WithoutKeyColor(const QImage& picture, QPoint keyPixel);

// The key pixels the controls use.
inline QPoint TopLeftPixel(const QImage&) { return {0, 0}; }
inline QPoint BottomLeftPixel(const QImage& picture) { return {0, picture.height() - 1}; }

} // namespace zentaro
