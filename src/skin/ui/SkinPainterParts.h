// What the painter files share: drawing over a control, nine-piece elements, text. Internal
// to src/skin/ui.
#pragma once
#include <windows.h>

#include <algorithm>
#include <string>

#include "skin/data/SkinDraw.h"
#include "skin/data/WinSkinData.h"
#include "skin/ui/SkinDib.h"

namespace kt::paint {

inline TRectI ToRectI(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

// Lets f draw over what dc shows in r: the pixels are read, drawn on and written back.
template <class F>
void OverDraw(TDibBitmap& work, HDC dc, const RECT& r, F f) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return;
    work.SetSize(w, h);
    BitBlt(work.Dc(), 0, 0, w, h, dc, r.left, r.top, SRCCOPY);
    GdiFlush();
    f(work.View());
    BitBlt(dc, r.left, r.top, w, h, work.Dc(), 0, 0, SRCCOPY);
}

inline void NinePiece(PixelView v, const TRectI& r, const TDataSkinObject& e, int frame, int count = 0) {
    DrawNinePiece(v, r, e.Image, e.Margins(), false, e.Tile != 0, count ? count : std::max(1, e.FrameCount), frame,
                  e.Trans == 1);
}

inline void DrawTextIn(HDC dc, const std::wstring& text, RECT r, UINT align, COLORREF colour) {
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colour);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, align | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

inline bool IsDisabled(HWND h) { return (GetWindowLongW(h, GWL_STYLE) & WS_DISABLED) != 0; }

}  // namespace kt::paint
