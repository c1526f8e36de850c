#include "config/core/ProgramPicture.h"

#include <algorithm>
#include <cmath>

namespace kt {

TBitmap32 DrawProgramPicture(int size) {
    TBitmap32 bmp(size, size, kMagenta);
    if (size <= 0) return bmp;
    const double r = size * 0.22;    // corner radius
    const double rim = size * 0.08;  // lighter rim along the upper edge
    const double shadow = size * 0.04;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            // Distance outside the rounded square; the key is what lies inside it.
            const double px = x + 0.5, py = y + 0.5;
            const double cx = std::clamp(px, r, size - r), cy = std::clamp(py, r, size - r);
            const double d = std::hypot(px - cx, py - cy) - r;
            if (d > 0) continue;
            const double t = size > 1 ? double(y) / (size - 1) : 0.0;
            int red = int(40 + 30 * (1 - t)), green = int(90 + 60 * (1 - t)), blue = int(200 + 40 * (1 - t));
            const double u = double(x) / size, v = double(y) / size;
            const bool bar = 0.25 <= u && u < 0.75 && 0.22 <= v && v < 0.34;
            const bool stem = 0.44 <= u && u < 0.56 && 0.22 <= v && v < 0.78;
            if (bar || stem) {
                red = green = blue = 255;
            } else if (d > -rim && v < 0.5) {
                red = std::min(255, red + 50), green = std::min(255, green + 50), blue = std::min(255, blue + 15);
            } else if (d > -shadow && v >= 0.5) {
                red = red * 3 / 4, green = green * 3 / 4, blue = blue * 3 / 4;
            }
            bmp.At(x, y) = MakePixel(red, green, blue);
        }
    }
    return bmp;
}

}  // namespace kt
