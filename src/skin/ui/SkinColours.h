// Skin colour values on the screen: 0x80000000 + n is the system colour n, looked up when
// painting; a face brush is remade whenever the skin's ButtonFace changes.
#pragma once
#include <windows.h>

#include "skin/data/Bitmap32.h"
#include "skin/data/WinSkinData.h"

namespace kt {

COLORREF SkinColorRef(TColour colour);
// The same colour as a pixel of a drawing surface.
Pixel SkinPixel(TColour colour);

class TFaceBrush {
public:
    ~TFaceBrush() { Release(); }
    // The solid brush of the description's face colour; owned here.
    HBRUSH Get(const TSkinDescription& skin);
    // A solid brush of this colour, remade only when the colour changes.
    HBRUSH Get(COLORREF colour);
    void Release();

private:
    HBRUSH brush_ = nullptr;
    COLORREF colour_ = 0;
};

}  // namespace kt
