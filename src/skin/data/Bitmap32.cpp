#include "skin/data/Bitmap32.h"

#include <algorithm>

namespace kt {

void TBitmap32::SetSize(int width, int height, Pixel fill) {
    if (width < 0 || height < 0 || std::int64_t(width) * height > kMaxPixels) throw EInvalidGraphic();
    if (width == 0 || height == 0) {
        Clear();
        return;
    }
    width_ = width;
    height_ = height;
    pixels_.assign(std::size_t(width) * height, fill);
}

void TBitmap32::Fill(Pixel p) { std::fill(pixels_.begin(), pixels_.end(), p); }

}  // namespace kt
