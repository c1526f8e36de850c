#include "ui/ImgList.h"

#include <algorithm>

namespace kt::ui {

int TImageList::Add(const TBitmap32& picture) {
    TBitmap32 image(Width, Height, kMagenta);
    for (int y = 0; y < std::min(Height, picture.Height()); ++y)
        for (int x = 0; x < std::min(Width, picture.Width()); ++x) image.At(x, y) = picture.At(x, y);
    images_.push_back(std::move(image));
    return Count() - 1;
}

void TImageList::Draw(HDC dc, int x, int y, int index, bool enabled) const {
    if (index < 0 || index >= Count()) return;
    const TBitmap32& image = images_[static_cast<size_t>(index)];
    DrawOverPixels(dc, x, y, Width, Height, [&](PixelView out) {
        for (int row = 0; row < std::min(Height, image.Height()); ++row)
            for (int col = 0; col < std::min(Width, image.Width()); ++col) {
                Pixel p = image.At(col, row) & kRgbMask;
                if (p == kMagenta) continue;
                if (!enabled) {
                    const int grey = 128 + (PixelR(p) * 30 + PixelG(p) * 59 + PixelB(p) * 11) / 400;
                    p = MakePixel(grey, grey, grey);
                }
                out.Bits[row * out.Stride + col] = p;
            }
    });
}

void DrawOverPixels(HDC dc, int x, int y, int w, int h, const std::function<void(PixelView)>& draw) {
    if (w <= 0 || h <= 0) return;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!section || !bits) {
        if (section) DeleteObject(section);
        return;
    }
    HDC mem = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(mem, section);
    BitBlt(mem, 0, 0, w, h, dc, x, y, SRCCOPY);
    GdiFlush();
    draw({static_cast<Pixel*>(bits), w, h, w});
    BitBlt(dc, x, y, w, h, mem, 0, 0, SRCCOPY);
    SelectObject(mem, old);
    DeleteDC(mem);
    DeleteObject(section);
}

}  // namespace kt::ui
