#pragma once

#include "controls/ControlTypes.h"
#include "controls/PixelBuffer.h"

namespace zentaro {

// Nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
int RoundHalfEven(double value);

// Fills the bitmap with a two-colour gradient. Extent E is the width, the
// height or their sum; lines 0..E take colour numbers 0..E, each a running
// sum of start + step added line by line in double precision and rounded per
// channel. Line E and, for the diagonal, line 0 and column 0 are never
// painted, so `to` itself never appears. A zero extent paints nothing.
void PaintGradient(PixelBuffer& buffer, TColor from, TColor to, TFillDirection direction);

} // namespace zentaro
