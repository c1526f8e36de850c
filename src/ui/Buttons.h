// The picture of a bit button or a speed button: a glyph strip of NumGlyphs frames (1 up,
// 2 disabled, 3 pressed, 4 down) and where it sits with the caption (Layout, Margin, Spacing).
// The buttons and their skin painters draw it the same way.
#pragma once
#include <windows.h>

#include <string>

#include "skin/data/Bitmap32.h"
#include "skin/data/GlyphLayout.h"

namespace kt::ui {

using kt::TButtonLayout;
using kt::TGlyphState;

class TButtonGlyph {
public:
    virtual ~TButtonGlyph() = default;

    const TBitmap32& Glyph() const { return glyph_; }
    void SetGlyph(const TBitmap32& glyph);
    // A copy of the bitmap's pixels (a resource loaded with LoadBitmap, for instance); the
    // caller keeps the handle. Raises EInvalidGraphic when the handle is no bitmap.
    void SetGlyph(HBITMAP bitmap);
    // A .bmp file; a missing file raises EInOutError, a bad one EInvalidGraphic.
    void LoadGlyph(const std::string& fileName);

    int NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(int n);  // kept within 1..4
    TButtonLayout Layout() const { return layout_; }
    void SetLayout(TButtonLayout layout);
    int Margin() const { return margin_; }
    void SetMargin(int margin);  // -1: glyph and caption centred
    int Spacing() const { return spacing_; }
    void SetSpacing(int spacing);  // -1: the free space shared out

    // Lays out and draws the glyph frame `index` (greyed when asked) and the caption inside r
    // of dc, the caption with dc's font in `textColour`; both moved `shift` pixels right and down.
    void DrawGlyphAndCaption(HDC dc, const RECT& r, const std::wstring& caption, int index, bool greyed,
                             COLORREF textColour, int shift) const;
    // The frame a button in this state shows, and whether it must be greyed (disabled without
    // a disabled frame).
    int FrameFor(TGlyphState state, bool& greyed) const;

protected:
    virtual void GlyphChanged() = 0;

private:
    TBitmap32 glyph_;
    int numGlyphs_ = 1;
    TButtonLayout layout_ = TButtonLayout::blGlyphLeft;
    int margin_ = -1;
    int spacing_ = 4;
};

}  // namespace kt::ui
