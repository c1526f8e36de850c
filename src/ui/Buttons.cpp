#include "ui/Buttons.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <vector>

#include "core/Errors.h"
#include "skin/data/BmpDecoder.h"
#include "ui/ImgList.h"

namespace kt::ui {

namespace {

Pixel ToPixel(COLORREF c) { return MakePixel(GetRValue(c), GetGValue(c), GetBValue(c)); }

// Draws on what dc shows: the pixels under the glyph are read, drawn on and written back,
// so any DC (a screen, a printer's, a memory bitmap's) takes the keyed copy.
void DrawGlyphOn(HDC dc, int x, int y, const TBitmap32& glyph, int numGlyphs, int index, bool greyed) {
    const int w = GlyphFrameWidth(glyph, numGlyphs) + 1, h = glyph.Height() + 1;  // +1: the embossed shadow
    if (w <= 1 || h <= 1) return;
    const TGreyColours grey{ToPixel(GetSysColor(COLOR_BTNHIGHLIGHT)), ToPixel(GetSysColor(COLOR_BTNSHADOW))};
    DrawOverPixels(dc, x, y, w, h, [&](PixelView v) {
        DrawGlyph(v, 0, 0, glyph, numGlyphs, index, greyed ? &grey : nullptr);
    });
}

}  // namespace

void TButtonGlyph::SetGlyph(const TBitmap32& glyph) {
    glyph_ = glyph;
    GlyphChanged();
}

void TButtonGlyph::SetGlyph(HBITMAP bitmap) {
    BITMAP info{};
    if (!bitmap || !GetObjectW(bitmap, sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight <= 0)
        throw EInvalidGraphic();
    TBitmap32 copy(info.bmWidth, info.bmHeight);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = info.bmWidth;
    bi.bmiHeader.biHeight = -info.bmHeight;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    HDC screen = GetDC(nullptr);
    const int rows = GetDIBits(screen, bitmap, 0, static_cast<UINT>(info.bmHeight), copy.Row(0), &bi, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (rows != info.bmHeight) throw EInvalidGraphic();
    for (int y = 0; y < copy.Height(); ++y)
        for (int x = 0; x < copy.Width(); ++x) copy.At(x, y) &= kRgbMask;
    SetGlyph(copy);
}

void TButtonGlyph::LoadGlyph(const std::string& fileName) {
    std::ifstream in(fileName, std::ios::binary);
    if (!in) throw EInOutError(FormatMessage1("Cannot open file %s", fileName));
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    SetGlyph(DecodeBmp(bytes));
}

void TButtonGlyph::SetNumGlyphs(int n) {
    numGlyphs_ = std::clamp(n, 1, 4);
    GlyphChanged();
}

void TButtonGlyph::SetLayout(TButtonLayout layout) {
    layout_ = layout;
    GlyphChanged();
}

void TButtonGlyph::SetMargin(int margin) {
    margin_ = std::max(margin, -1);
    GlyphChanged();
}

void TButtonGlyph::SetSpacing(int spacing) {
    spacing_ = std::max(spacing, -1);
    GlyphChanged();
}

int TButtonGlyph::FrameFor(TGlyphState state, bool& greyed) const {
    const int index = GlyphIndex(state, numGlyphs_);
    greyed = state == TGlyphState::Disabled && index != static_cast<int>(TGlyphState::Disabled);
    return index;
}

void TButtonGlyph::DrawGlyphAndCaption(HDC dc, const RECT& r, const std::wstring& caption, int index, bool greyed,
                                       COLORREF textColour, int shift) const {
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return;
    int textW = 0, textH = 0;
    if (!caption.empty()) {
        RECT calc{0, 0, w, h};
        DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &calc, DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS);
        textW = calc.right - calc.left;
        textH = calc.bottom - calc.top;
    }
    const int glyphW = GlyphFrameWidth(glyph_, numGlyphs_), glyphH = glyphW > 0 ? glyph_.Height() : 0;
    const TGlyphPlace p = LayoutGlyphButton(w, h, glyphW, glyphH, textW, textH, layout_, margin_, spacing_);
    const int x0 = r.left + shift, y0 = r.top + shift;
    if (glyphW > 0) DrawGlyphOn(dc, x0 + p.GlyphX, y0 + p.GlyphY, glyph_, numGlyphs_, index, greyed);
    if (textW > 0) {
        RECT tr{x0 + p.Text.Left, y0 + p.Text.Top, x0 + p.Text.Right, y0 + p.Text.Bottom};
        const int oldMode = SetBkMode(dc, TRANSPARENT);
        const COLORREF oldColour = SetTextColor(dc, textColour);
        DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &tr, DT_CENTER | DT_NOCLIP | DT_EXPANDTABS);
        SetTextColor(dc, oldColour);
        SetBkMode(dc, oldMode);
    }
}

}  // namespace kt::ui
