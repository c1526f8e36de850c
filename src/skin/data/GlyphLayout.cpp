#include "skin/data/GlyphLayout.h"

#include <algorithm>

#include "skin/data/SkinDraw.h"

namespace kt {

namespace {
int ClampGlyphs(int n) { return std::clamp(n, 1, 4); }
}  // namespace

TGlyphPlace LayoutGlyphButton(int clientW, int clientH, int glyphW, int glyphH, int textW, int textH,
                              TButtonLayout layout, int margin, int spacing) {
    const bool across = layout == TButtonLayout::blGlyphLeft || layout == TButtonLayout::blGlyphRight;
    TGlyphPlace p;
    int textX = 0, textY = 0;
    // Across the layout's axis both parts are centred.
    if (across) {
        p.GlyphY = (clientH - glyphH + 1) / 2;
        textY = (clientH - textH + 1) / 2;
    } else {
        p.GlyphX = (clientW - glyphW + 1) / 2;
        textX = (clientW - textW + 1) / 2;
    }
    // Nothing to keep apart: no gap.
    if (textW == 0 || glyphW == 0) spacing = 0;
    const int client = across ? clientW : clientH;
    const int glyph = across ? glyphW : glyphH;
    const int text = across ? textW : textH;
    if (margin == -1) {
        if (spacing == -1) {
            // Edge, gap and edge share the free space alike.
            margin = (client - glyph - text) / 3;
            spacing = margin;
        } else {
            margin = (client - glyph - spacing - text + 1) / 2;
        }
    } else if (spacing == -1) {
        // The caption centred in what the glyph leaves.
        spacing = (client - margin - glyph - text) / 2;
    }
    switch (layout) {
        case TButtonLayout::blGlyphLeft:
            p.GlyphX = margin;
            textX = p.GlyphX + glyphW + spacing;
            break;
        case TButtonLayout::blGlyphRight:
            p.GlyphX = clientW - margin - glyphW;
            textX = p.GlyphX - spacing - textW;
            break;
        case TButtonLayout::blGlyphTop:
            p.GlyphY = margin;
            textY = p.GlyphY + glyphH + spacing;
            break;
        case TButtonLayout::blGlyphBottom:
            p.GlyphY = clientH - margin - glyphH;
            textY = p.GlyphY - spacing - textH;
            break;
    }
    p.Text = {textX, textY, textX + textW, textY + textH};
    return p;
}

int GlyphIndex(TGlyphState state, int numGlyphs) {
    const int index = static_cast<int>(state);
    return index <= ClampGlyphs(numGlyphs) ? index : 1;
}

int GlyphFrameWidth(const TBitmap32& glyph, int numGlyphs) { return glyph.Width() / ClampGlyphs(numGlyphs); }

void DrawGlyph(PixelView dst, int x, int y, const TBitmap32& glyph, int numGlyphs, int index,
               const TGreyColours* greyed) {
    const TRectI fr = FrameRect(glyph.Width(), glyph.Height(), false, ClampGlyphs(numGlyphs), index);
    if (fr.IsEmpty()) return;
    const ConstPixelView frame = SubView(glyph.View(), fr);
    const Pixel key = frame.Row(frame.Height - 1)[0] & kRgbMask;
    if (!greyed) return TransparentCopy(dst, x, y, frame, key);
    // The shape in the highlight colour one pixel down and right, then in the shadow colour.
    for (int pass = 0; pass < 2; ++pass) {
        const int d = pass == 0 ? 1 : 0;
        const Pixel colour = pass == 0 ? greyed->Highlight : greyed->Shadow;
        for (int sy = 0; sy < frame.Height; ++sy) {
            const int ty = y + sy + d;
            if (ty < 0 || ty >= dst.Height) continue;
            const Pixel* row = frame.Row(sy);
            for (int sx = 0; sx < frame.Width; ++sx) {
                const int tx = x + sx + d;
                if (tx >= 0 && tx < dst.Width && (row[sx] & kRgbMask) != key) dst.Row(ty)[tx] = colour;
            }
        }
    }
}

}  // namespace kt
