// Window regions from skin pictures: every pixel that is not the key colour (magenta, with the
// frame's tolerance of 1 per channel) belongs to the region.
#pragma once
#include <windows.h>

#include <vector>

#include "skin/data/Bitmap32.h"

namespace kt {

// Rows are batched into regions of at most kRegionBatch rectangles each (ExtCreateRegion is
// slow and may refuse very large requests) and OR-combined. An image that is all key colour
// gives an empty region, never null; null only when the system cannot make a region.
constexpr int kRegionBatch = 2000;
HRGN RegionFromRuns(const std::vector<TRectI>& runs);
HRGN RegionFromImage(ConstPixelView image, int xOffset, int yOffset, Pixel key = kMagenta, int dR = 1, int dG = 1,
                     int dB = 1);

}  // namespace kt
