// A skinned menu item drawn on a memory DIB of white and read back column by column.
#pragma once
#include <utility>

#include "skin/data/SkinDraw.h"
#include "skin/ui/SkinDib.h"
#include "skin/ui/SkinMenuDraw.h"

namespace kt::menu_tests {

constexpr Pixel kBack = 0xFFFFFF;

struct TItemCanvas {
    const int W, H;
    TDibBitmap dib{W, H};
    ui::TCanvas canvas{dib.Dc()};
    explicit TItemCanvas(int w = 160, int h = 20) : W(w), H(h) {
        FillRect(dib.View(), {0, 0, W, H}, kBack);
        ui::AssignMenuFont(canvas.Font());
    }
    void Draw(const TSkinDescription& skin, ui::TMenuItem& item, bool selected) {
        DrawSkinMenuItem(skin, item, canvas, selected, RECT{0, 0, W, H});
        GdiFlush();
    }
    Pixel At(int x, int y) const { return dib.View().Row(y)[x] & kRgbMask; }
    int Count(Pixel p, int x0 = 0, int x1 = -1) const {
        int n = 0;
        for (int y = 0; y < H; ++y)
            for (int x = x0; x < (x1 < 0 ? W : x1); ++x) n += At(x, y) == p;
        return n;
    }
    bool Inked(int x) const {
        for (int y = 0; y < H; ++y)
            if (At(x, y) != kBack) return true;
        return false;
    }
    // The first and last columns with anything but the background, from x0 on.
    std::pair<int, int> InkColumns(int x0 = 0) const {
        int first = -1, last = -1;
        for (int x = x0; x < W; ++x)
            if (Inked(x)) {
                if (first < 0) first = x;
                last = x;
            }
        return {first, last};
    }
};

}  // namespace kt::menu_tests
