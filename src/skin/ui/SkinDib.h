// A 32-bit top-down DIB section whose pixels the portable raster routines draw on directly, and
// which GDI can draw text on (select it into Dc()) before it reaches the screen in one copy.
#pragma once
#include <windows.h>

#include "skin/data/Bitmap32.h"

namespace kt {

class TDibBitmap {
public:
    TDibBitmap() = default;
    TDibBitmap(int width, int height) { SetSize(width, height); }
    ~TDibBitmap();
    TDibBitmap(const TDibBitmap&) = delete;
    TDibBitmap& operator=(const TDibBitmap&) = delete;

    // Recreates the section (contents undefined); a zero side frees it. Raises EInvalidGraphic
    // when the system refuses the size.
    void SetSize(int width, int height);
    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return !bitmap_; }

    PixelView View() const { return {bits_, width_, height_, width_}; }
    HBITMAP Handle() const { return bitmap_; }
    // A memory DC with the section selected, made on first use.
    HDC Dc();

    void Assign(const TBitmap32& source);  // size and pixels of source
    // Copies to dc at (x, y), opaque or leaving dc where the pixels are magenta.
    void Draw(HDC dc, int x, int y, bool transparent = false);

private:
    void Release();
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ oldBitmap_ = nullptr;
    HDC dc_ = nullptr;
    Pixel* bits_ = nullptr;
    int width_ = 0, height_ = 0;
};

}  // namespace kt
