#include "controls/PixelBuffer.h"

#include <cstdlib>

namespace zentaro {

PixelBuffer::PixelBuffer(int w, int h, TColor fill)
    : width(w < 0 ? 0 : w), height(h < 0 ? 0 : h),
      pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill)
{
}

void PixelBuffer::Set(int x, int y, TColor color)
{
    if (Contains(x, y))
        pixels[static_cast<std::size_t>(y) * width + x] = color;
}

void PixelCanvas::MoveTo(int x, int y)
{
    x_ = x;
    y_ = y;
}

void PixelCanvas::LineTo(int x, int y)
{
    // Bresenham; exact for the horizontal, vertical and 45-degree lines drawn here.
    const int dx = std::abs(x - x_);
    const int dy = -std::abs(y - y_);
    const int sx = x_ < x ? 1 : -1;
    const int sy = y_ < y ? 1 : -1;
    int err = dx + dy;
    int px = x_;
    int py = y_;
    while (px != x || py != y) {
        buffer_.Set(px, py, pen_);
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            px += sx;
        }
        if (e2 <= dx) {
            err += dx;
            py += sy;
        }
    }
    x_ = x;
    y_ = y;
}

void PixelCanvas::Rectangle(int left, int top, int right, int bottom, const TColor* brush)
{
    if (right - left < 1 || bottom - top < 1)
        return;
    if (brush)
        for (int y = top + 1; y < bottom - 1; ++y)
            for (int x = left + 1; x < right - 1; ++x)
                buffer_.Set(x, y, *brush);
    for (int x = left; x < right; ++x) {
        buffer_.Set(x, top, pen_);
        buffer_.Set(x, bottom - 1, pen_);
    }
    for (int y = top; y < bottom; ++y) {
        buffer_.Set(left, y, pen_);
        buffer_.Set(right - 1, y, pen_);
    }
}

} // namespace zentaro
