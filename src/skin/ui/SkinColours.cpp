#include "skin/ui/SkinColours.h"

namespace kt {

COLORREF SkinColorRef(TColour colour) {
    const std::uint32_t c = std::uint32_t(colour);
    if (c & 0x80000000u) return GetSysColor(int(c & 0xFF));
    return COLORREF(c & 0xFFFFFF);
}

HBRUSH TFaceBrush::Get(const TSkinDescription& skin) {
    const COLORREF want = SkinColorRef(skin.FaceBrushColour);
    if (!brush_ || want != colour_) {
        Release();
        brush_ = CreateSolidBrush(want);
        colour_ = want;
    }
    return brush_;
}

void TFaceBrush::Release() {
    if (brush_) DeleteObject(brush_);
    brush_ = nullptr;
}

}  // namespace kt
