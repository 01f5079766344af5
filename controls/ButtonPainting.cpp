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

namespace {

// The glyph's and the caption's place along one axis, where the caption
// alone would start at text.
struct AxisPlaces {
    int glyph;
    int text;
};

// The glyph before the caption (left or top). The spacing's odd pixel goes
// to the glyph's side; so does the glyph's own on the vertical axis.
AxisPlaces GlyphBefore(int text, int glyph, int spacing, bool hasCaption, bool glyphOddBefore)
{
    AxisPlaces at{text - glyph / 2 - (glyphOddBefore ? glyph % 2 : 0), text + glyph / 2};
    if (hasCaption) {
        at.glyph -= spacing / 2 + spacing % 2;
        at.text += spacing / 2;
    }
    return at;
}

// The glyph after the caption (right or bottom), of size textSize.
AxisPlaces GlyphAfter(int text, int textSize, int glyph, int spacing, bool hasCaption)
{
    AxisPlaces at{text + textSize - glyph / 2, text + (-glyph) / 2};
    if (hasCaption) {
        at.glyph += spacing / 2 + spacing % 2;
        at.text += (-spacing) / 2;
    }
    return at;
}

} // namespace

ButtonContentLayout LayoutButtonContent(const ButtonContentInput& in)
{
    const int tw = in.textWidth;
    const int th = in.textHeight;
    const int gw = in.glyphWidth;
    const int gh = in.glyphHeight;
    int tx = (in.width - tw) / 2;
    int ty = (in.height - th) / 2;
    int gx = 0;
    int gy = 0;

    if (in.hasGlyph) {
        AxisPlaces along{};
        const bool horizontal = in.layout == TButtonLayout::blGlyphLeft || in.layout == TButtonLayout::blGlyphRight;
        switch (in.layout) {
        case TButtonLayout::blGlyphLeft:
            along = GlyphBefore(tx, gw, in.spacing, in.hasCaption, false);
            break;
        case TButtonLayout::blGlyphRight:
            along = GlyphAfter(tx, tw, gw, in.spacing, in.hasCaption);
            break;
        case TButtonLayout::blGlyphTop:
            along = GlyphBefore(ty, gh, in.spacing, in.hasCaption, true);
            break;
        case TButtonLayout::blGlyphBottom:
            along = GlyphAfter(ty, th, gh, in.spacing, in.hasCaption);
            break;
        }
        if (horizontal) {
            gx = along.glyph;
            tx = along.text;
            gy = (in.height - gh) / 2;
        } else {
            gy = along.glyph;
            ty = along.text;
            gx = (in.width - gw) / 2;
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
