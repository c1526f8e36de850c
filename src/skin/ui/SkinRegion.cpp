#include "skin/ui/SkinRegion.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "skin/data/SkinDraw.h"

namespace kt {

namespace {

HRGN Batch(const TRectI* rects, int count) {
    std::vector<unsigned char> buf(sizeof(RGNDATAHEADER) + sizeof(RECT) * std::size_t(std::max(count, 1)));
    auto* data = reinterpret_cast<RGNDATA*>(buf.data());
    data->rdh.dwSize = sizeof(RGNDATAHEADER);
    data->rdh.iType = RDH_RECTANGLES;
    data->rdh.nCount = DWORD(count);
    data->rdh.nRgnSize = DWORD(sizeof(RECT) * std::size_t(count));
    RECT bound{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    RECT* out = reinterpret_cast<RECT*>(data->Buffer);
    for (int i = 0; i < count; ++i) {
        const TRectI& r = rects[i];
        out[i] = RECT{r.Left, r.Top, r.Right, r.Bottom};
        bound.left = std::min<LONG>(bound.left, r.Left);
        bound.top = std::min<LONG>(bound.top, r.Top);
        bound.right = std::max<LONG>(bound.right, r.Right);
        bound.bottom = std::max<LONG>(bound.bottom, r.Bottom);
    }
    if (count == 0) bound = RECT{0, 0, 0, 0};
    data->rdh.rcBound = bound;
    return ExtCreateRegion(nullptr, DWORD(buf.size()), data);
}

}  // namespace

HRGN RegionFromRuns(const std::vector<TRectI>& runs) {
    HRGN result = CreateRectRgn(0, 0, 0, 0);
    if (!result) return nullptr;
    for (std::size_t start = 0; start < runs.size(); start += kRegionBatch) {
        const int n = int(std::min<std::size_t>(kRegionBatch, runs.size() - start));
        HRGN part = Batch(runs.data() + start, n);
        if (!part) {
            DeleteObject(result);
            return nullptr;
        }
        CombineRgn(result, result, part, RGN_OR);
        DeleteObject(part);
    }
    return result;
}

HRGN RegionFromImage(ConstPixelView image, int xOffset, int yOffset, Pixel key, int dR, int dG, int dB) {
    return RegionFromRuns(RegionRuns(image, xOffset, yOffset, key, dR, dG, dB));
}

}  // namespace kt
