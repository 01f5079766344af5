#include "controls/GradientPainting.h"

#include <algorithm>
#include <cmath>

namespace zentaro {

int RoundHalfEven(double value)
{
    const double floor = std::floor(value);
    const double fraction = value - floor;
    double result = floor;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(floor, 2.0) != 0.0))
        result = floor + 1.0;
    return static_cast<int>(result);
}

namespace {

int Channel(double value)
{
    return std::clamp(RoundHalfEven(value), 0, 255);
}

} // namespace

void PaintGradient(PixelBuffer& buffer, TColor from, TColor to, TFillDirection direction)
{
    const int cw = buffer.width;
    const int ch = buffer.height;
    int extent = 0;
    switch (direction) {
    case TFillDirection::fdHorizontal: extent = cw; break;
    case TFillDirection::fdVertical: extent = ch; break;
    case TFillDirection::fdDiagonal: extent = cw + ch; break;
    }
    if (extent == 0)
        return;

    const double stepR = static_cast<double>(RedOf(to) - RedOf(from)) / extent;
    const double stepG = static_cast<double>(GreenOf(to) - GreenOf(from)) / extent;
    const double stepB = static_cast<double>(BlueOf(to) - BlueOf(from)) / extent;
    double r = RedOf(from);
    double g = GreenOf(from);
    double b = BlueOf(from);

    PixelCanvas canvas(buffer);
    for (int i = 0; i <= extent; ++i) {
        canvas.SetPen(MakeColor(Channel(r), Channel(g), Channel(b)));
        switch (direction) {
        case TFillDirection::fdHorizontal:
            canvas.MoveTo(i, 0);
            canvas.LineTo(i, ch);
            break;
        case TFillDirection::fdVertical:
            canvas.MoveTo(0, i);
            canvas.LineTo(cw, i);
            break;
        case TFillDirection::fdDiagonal:
            canvas.MoveTo(i, 0);
            canvas.LineTo(0, i);
            break;
        }
        // Repeated addition, not from + i * step: the rounding of the sum is part of the look.
        r += stepR;
        g += stepG;
        b += stepB;
    }
}

} // namespace zentaro
