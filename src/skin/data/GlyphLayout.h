// Buttons with a picture: where the glyph and the caption go inside a button, which frame of a
// glyph strip a state shows, and the drawing of that frame (its bottom-left pixel is the
// transparent colour). Shared by the toolkit's bit and speed buttons and their skin painters.
#pragma once
#include "skin/data/Bitmap32.h"

namespace kt {

enum class TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

struct TGlyphPlace {
    int GlyphX = 0, GlyphY = 0;
    TRectI Text;  // the caption's rectangle, as large as the caption measured
};

// Positions inside a client area of clientW x clientH. Margin is the gap between the edge and
// the glyph, Spacing the gap between glyph and caption; -1 asks for centring (see the .cpp).
TGlyphPlace LayoutGlyphButton(int clientW, int clientH, int glyphW, int glyphH, int textW, int textH,
                              TButtonLayout layout, int margin, int spacing);

// The frames of a glyph strip, side by side: 1 up, 2 disabled, 3 pressed, 4 down.
enum class TGlyphState { Up = 1, Disabled = 2, Pressed = 3, Down = 4 };
// The frame a state shows; 1 when the strip has fewer frames than the state needs.
int GlyphIndex(TGlyphState state, int numGlyphs);
// Size of one frame of the strip (NumGlyphs taken within 1..4).
int GlyphFrameWidth(const TBitmap32& glyph, int numGlyphs);

struct TGreyColours {
    Pixel Highlight, Shadow;
};
// Draws frame `index` of the strip at (x, y), clipped to dst; the frame's bottom-left pixel
// colour is left out. Greyed: the glyph's shape embossed in the two colours instead.
void DrawGlyph(PixelView dst, int x, int y, const TBitmap32& glyph, int numGlyphs, int index,
               const TGreyColours* greyed = nullptr);

}  // namespace kt
