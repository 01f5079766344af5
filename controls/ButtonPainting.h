#pragma once

#include "controls/ControlTypes.h"
#include "controls/PixelBuffer.h"

namespace zentaro {

// The six colours of one state set, in colour-index order.
struct ButtonStateColors {
    TColor face = 0;
    TColor grad = 0;
    TColor dark = 0;
    TColor light = 0;
    TColor border = 0;
    TColor text = 0;
};

// The face: a black-outlined rectangle filled with face, then, with gradient,
// a vertical gradient from face toward grad over the whole bitmap.
void PaintButtonFace(PixelBuffer& buffer, const ButtonStateColors& colors, bool gradient);

// What goes over the caption: the border, the light and dark inner edges
// (with ctl3D) and the focus rectangle (when focused).
void PaintButtonFrame(PixelBuffer& buffer, const ButtonStateColors& colors, bool ctl3D, bool focused,
                      TColor focusRect);

struct ButtonContentInput {
    int width = 0;
    int height = 0;
    int textWidth = 0;   // of the caption, 0 when it is empty
    int textHeight = 0;
    bool hasCaption = false;
    bool hasGlyph = false;
    int glyphWidth = 0;
    int glyphHeight = 0;
    int spacing = 0;
    TButtonLayout layout = TButtonLayout::blGlyphLeft;
    bool down = false;
};

struct ButtonContentLayout {
    int glyphX = 0;
    int glyphY = 0;
    // The caption's rectangle (right and bottom exclusive).
    int textLeft = 0;
    int textTop = 0;
    int textRight = 0;
    int textBottom = 0;
};

// Places glyph and caption. Divisions truncate toward zero on purpose: the
// odd-size remainders fall differently for each layout.
ButtonContentLayout LayoutButtonContent(const ButtonContentInput& in);

} // namespace zentaro
