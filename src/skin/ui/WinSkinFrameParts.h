// What the files of the skinned frame share: small helpers over the window and the skin's
// frame elements. Internal to src/skin/ui.
#pragma once
#include <windows.h>

#include <algorithm>
#include <string>

#include "skin/data/SkinDraw.h"
#include "skin/data/WinSkinData.h"
#include "skin/ui/SkinDib.h"

namespace kt::frame {

constexpr LONG kCaptionStyles = WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;  // 0xB0000

inline std::string ClassNameOf(HWND window) {
    char name[101] = {};
    GetClassNameA(window, name, 100);
    return name;
}

// The frames of an element's picture (at least 1).
inline int Count(const TDataSkinObject& e) { return std::max(1, e.FrameCount); }

// The outer size of a window.
inline SIZE WindowSize(HWND w) {
    RECT r{};
    GetWindowRect(w, &r);
    return {r.right - r.left, r.bottom - r.top};
}

// One frame edge drawn with the nine pieces of its element into a DIB of the given size.
inline void DrawEdge(TDibBitmap& dib, const TDataSkinBorder& e, bool stacked, bool active, int w, int h) {
    dib.SetSize(w, h);
    if (dib.Empty()) return;
    GdiFlush();
    FillRect(dib.View(), {0, 0, w, h}, 0);
    if (e.Image.Empty()) return;
    const int frame = active || Count(e) == 1 ? 1 : 2;
    DrawNinePiece(dib.View(), {0, 0, w, h}, e.Image, e.Margins(), stacked, e.Tile != 1, Count(e), frame, false);
}

}  // namespace kt::frame
