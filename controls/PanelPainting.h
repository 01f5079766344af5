#pragma once

#include "controls/ControlTypes.h"
#include "controls/PixelBuffer.h"

namespace zentaro {

// One bevel of `lines` rings from ring `inset` inward: topLeft colours each
// ring's left column and top row (with the top-left and bottom-left
// corners), bottomRight its right column and bottom row (with the other two).
void PaintBevelFrame(PixelBuffer& buffer, int inset, int lines, TColor topLeft, TColor bottomRight);

// The outer bevel at the edge, the inner one inside it (or at the edge
// when there is no outer bevel). bvSpace is drawn like bvRaised.
void PaintPanelBevels(PixelBuffer& buffer, TBevelCut outer, TBevelCut inner, int bevelWidth, TColor light,
                      TColor dark);

// Left edge of the caption text.
int PanelCaptionX(int clientWidth, int textWidth, TAlignment alignment, int bevelWidth, TBevelCut outer,
                  TBevelCut inner);

} // namespace zentaro
