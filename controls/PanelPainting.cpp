#include "controls/PanelPainting.h"

namespace zentaro {

void PaintBevelFrame(PixelBuffer& buffer, int inset, int lines, TColor topLeft, TColor bottomRight)
{
    PixelCanvas canvas(buffer);
    for (int k = inset; k < inset + lines; ++k) {
        const int w = buffer.width - 2 * k - 1;
        const int h = buffer.height - 2 * k - 1;
        canvas.SetPen(topLeft);
        canvas.MoveTo(k, k + h);
        canvas.LineTo(k, k);
        canvas.LineTo(k + w, k);
        canvas.SetPen(bottomRight);
        canvas.LineTo(k + w, k + h);
        canvas.LineTo(k, k + h);
    }
}

namespace {

void PaintBevel(PixelBuffer& buffer, TBevelCut cut, int inset, int bevelWidth, TColor light, TColor dark)
{
    switch (cut) {
    case TBevelCut::bvNone:
        break;
    case TBevelCut::bvLowered:
        PaintBevelFrame(buffer, inset, bevelWidth, dark, light);
        break;
    case TBevelCut::bvRaised:
    case TBevelCut::bvSpace:
        PaintBevelFrame(buffer, inset, bevelWidth, light, dark);
        break;
    }
}

} // namespace

void PaintPanelBevels(PixelBuffer& buffer, TBevelCut outer, TBevelCut inner, int bevelWidth, TColor light,
                      TColor dark)
{
    PaintBevel(buffer, outer, 0, bevelWidth, light, dark);
    PaintBevel(buffer, inner, outer != TBevelCut::bvNone ? bevelWidth : 0, bevelWidth, light, dark);
}

int PanelCaptionX(int clientWidth, int textWidth, TAlignment alignment, int bevelWidth, TBevelCut outer,
                  TBevelCut inner)
{
    const bool bothBevels = outer != TBevelCut::bvNone && inner != TBevelCut::bvNone;
    switch (alignment) {
    case TAlignment::taLeftJustify:
        return bevelWidth + 2 + (bothBevels ? bevelWidth : 0);
    case TAlignment::taRightJustify:
        return clientWidth - bevelWidth - 2 - textWidth - (bothBevels ? bevelWidth : 0);
    case TAlignment::taCenter:
        break;
    }
    return (clientWidth - textWidth) / 2;
}

} // namespace zentaro
