#include "skin/ui/SkinDib.h"

#include <cstring>

#include "skin/data/SkinDraw.h"

namespace kt {

TDibBitmap::~TDibBitmap() { Release(); }

void TDibBitmap::Release() {
    if (dc_) {
        SelectObject(dc_, oldBitmap_);
        DeleteDC(dc_);
        dc_ = nullptr;
    }
    if (bitmap_) DeleteObject(bitmap_);
    bitmap_ = nullptr;
    bits_ = nullptr;
    width_ = height_ = 0;
}

void TDibBitmap::SetSize(int width, int height) {
    if (width == width_ && height == height_ && bitmap_) return;
    Release();
    if (width <= 0 || height <= 0) return;
    if (std::int64_t(width) * height > TBitmap32::kMaxPixels) throw EInvalidGraphic();
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;  // top-down: row 0 first, as in TBitmap32
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap_ || !bits) {
        bitmap_ = nullptr;
        throw EInvalidGraphic();
    }
    bits_ = static_cast<Pixel*>(bits);
    width_ = width;
    height_ = height;
}

HDC TDibBitmap::Dc() {
    if (!dc_ && bitmap_) {
        dc_ = CreateCompatibleDC(nullptr);
        oldBitmap_ = SelectObject(dc_, bitmap_);
        SetStretchBltMode(dc_, COLORONCOLOR);
    }
    return dc_;
}

void TDibBitmap::Assign(const TBitmap32& source) {
    SetSize(source.Width(), source.Height());
    if (!bits_) return;
    GdiFlush();  // GDI may still be drawing into the section
    std::memcpy(bits_, source.Row(0), sizeof(Pixel) * std::size_t(width_) * std::size_t(height_));
}

void TDibBitmap::Draw(HDC dc, int x, int y, bool transparent) {
    if (!bitmap_) return;
    if (!transparent) {
        BitBlt(dc, x, y, width_, height_, Dc(), 0, 0, SRCCOPY);
        return;
    }
    // Keyed copy done on our side: read what is under the target, key, write back in one copy.
    TDibBitmap under(width_, height_);
    BitBlt(under.Dc(), 0, 0, width_, height_, dc, x, y, SRCCOPY);
    GdiFlush();
    TransparentCopy(under.View(), 0, 0, View(), kMagenta);
    BitBlt(dc, x, y, width_, height_, under.Dc(), 0, 0, SRCCOPY);
}

}  // namespace kt
