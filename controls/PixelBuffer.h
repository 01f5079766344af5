#pragma once

#include "controls/ControlTypes.h"

#include <vector>

namespace zentaro {

// An off-screen bitmap of $00BBGGRR pixels, row by row from the top.
struct PixelBuffer {
    PixelBuffer() = default;
    PixelBuffer(int w, int h, TColor fill = 0);

    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    TColor At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
    // Pixels outside the bitmap are clipped away.
    void Set(int x, int y, TColor color);

    int width = 0;
    int height = 0;
    std::vector<TColor> pixels;
};

// Pen drawing with the window system's rules: a line includes its start
// point and stops short of its end point; a rectangle's outline runs along
// its left and top edges and one pixel inside its right and bottom edges.
class PixelCanvas {
public:
    explicit PixelCanvas(PixelBuffer& buffer) : buffer_(buffer) {}

    void SetPen(TColor color) { pen_ = color; }
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    // Outline in the pen colour; the inside filled with brush, if given.
    void Rectangle(int left, int top, int right, int bottom, const TColor* brush = nullptr);

private:
    PixelBuffer& buffer_;
    TColor pen_ = 0;
    int x_ = 0;
    int y_ = 0;
};

} // namespace zentaro
