// A canvas over a device context: a brush, a pen and a font that are put into the context
// when a drawing call needs them, and the few drawing calls the program's windows use.
#pragma once
#include <windows.h>

#include <string>

#include "ui/Controls.h"
#include "ui/Font.h"

namespace kt::ui {

enum class TBrushStyle { bsSolid, bsClear };

struct TBrush {
    TColor Color = clWindow;
    TBrushStyle Style = TBrushStyle::bsSolid;
};

struct TPen {
    TColor Color = 0;
    int Width = 1;
};

class TCanvas {
public:
    TCanvas();
    explicit TCanvas(HDC dc) : TCanvas() { dc_ = dc; }
    ~TCanvas();
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    // The context is the caller's; the canvas leaves nothing of its own selected in it.
    HDC Handle() const { return dc_; }
    void SetHandle(HDC dc) { dc_ = dc; }

    TBrush Brush;
    TPen Pen;
    TFont& Font() { return font_; }

    // Draws text with a font made elsewhere (a rotated one, for instance) until the canvas
    // font is set again; the canvas frees it.
    void SetFontHandle(HFONT font);
    HFONT FontHandle() const;

    void FillRect(const RECT& r);
    void FrameRect(const RECT& r);
    // windows.h makes these TextOutA and DrawTextA; callers use the same headers.
    void TextOut(int x, int y, const std::string& text);
    // DrawTextA with the canvas's font and brush; returns the height of the text drawn.
    int DrawText(const std::string& text, RECT& r, UINT format);
    int TextWidth(const std::string& text);
    int TextHeight(const std::string& text);
    void MoveTo(int x, int y);
    void LineTo(int x, int y);

private:
    void PrepareText();
    HDC dc_ = nullptr;
    TFont font_;
    HFONT ownFont_ = nullptr;  // set by SetFontHandle
};

}  // namespace kt::ui
