#include "controls/ButtonPainting.h"

#include "controls/GradientPainting.h"

namespace zentaro {

void PaintButtonFace(PixelBuffer& buffer, const ButtonStateColors& colors, bool gradient)
{
    const int w = buffer.width;
    const int h = buffer.height;
    PixelCanvas canvas(buffer);
    canvas.SetPen(0x00000000);
    canvas.Rectangle(0, 0, w, h, &colors.face);
    if (gradient)
        PaintGradient(buffer, colors.face, colors.grad, TFillDirection::fdVertical);
}

void PaintButtonFrame(PixelBuffer& buffer, const ButtonStateColors& colors, bool ctl3D, bool focused,
                      TColor focusRect)
{
    const int w = buffer.width;
    const int h = buffer.height;
    PixelCanvas canvas(buffer);
    canvas.SetPen(colors.border);
    canvas.Rectangle(0, 0, w, h);
    if (ctl3D) {
        canvas.SetPen(colors.light);
        canvas.MoveTo(1, h - 2);
        canvas.LineTo(1, 1);
        canvas.LineTo(w - 1, 1);
        canvas.SetPen(colors.dark);
        canvas.MoveTo(w - 2, 1);
        canvas.LineTo(w - 2, h - 2);
        canvas.LineTo(1, h - 2);
    }
    if (focused) {
        canvas.SetPen(focusRect);
        canvas.Rectangle(3, 3, w - 3, h - 3);
    }
}

ButtonContentLayout LayoutButtonContent(const ButtonContentInput& in)
{
    const int tw = in.textWidth;
    const int th = in.textHeight;
    const int gw = in.glyphWidth;
    const int gh = in.glyphHeight;
    const int s = in.spacing;
    int tx = (in.width - tw) / 2;
    int ty = (in.height - th) / 2;
    int gx = 0;
    int gy = 0;

    if (in.hasGlyph) {
        switch (in.layout) {
        case TButtonLayout::blGlyphLeft:
            gy = (in.height - gh) / 2;
            gx = tx - gw / 2;
            tx = tx + gw / 2;
            if (in.hasCaption) {
                gx = gx - s / 2 - s % 2;
                tx = tx + s / 2;
            }
            break;
        case TButtonLayout::blGlyphRight:
            gy = (in.height - gh) / 2;
            gx = tx + tw - gw / 2;
            tx = tx + (-gw) / 2;
            if (in.hasCaption) {
                gx = gx + s / 2 + s % 2;
                tx = tx + (-s) / 2;
            }
            break;
        case TButtonLayout::blGlyphTop:
            gx = (in.width - gw) / 2;
            gy = ty - gh / 2 - gh % 2;
            ty = ty + gh / 2;
            if (in.hasCaption) {
                gy = gy - s / 2 - s % 2;
                ty = ty + s / 2;
            }
            break;
        case TButtonLayout::blGlyphBottom:
            gx = (in.width - gw) / 2;
            gy = ty + th - gh / 2;
            ty = ty + (-gh) / 2;
            if (in.hasCaption) {
                gy = gy + s / 2 + s % 2;
                ty = ty + (-s) / 2;
            }
            break;
        }
        if (in.down) {
            ++gx;
            ++gy;
        }
    }
    if (in.down) {
        ++tx;
        ++ty;
    }
    return {gx, gy, tx, ty, tx + tw, ty + th};
}

} // namespace zentaro
