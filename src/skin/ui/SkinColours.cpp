#include "skin/ui/SkinColours.h"

#include "ui/Controls.h"

namespace kt {

COLORREF SkinColorRef(TColour colour) { return ui::ColorToRGB(colour); }

Pixel SkinPixel(TColour colour) {
    const COLORREF rgb = SkinColorRef(colour);
    return MakePixel(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

HBRUSH TFaceBrush::Get(const TSkinDescription& skin) { return Get(SkinColorRef(skin.FaceBrushColour)); }

HBRUSH TFaceBrush::Get(COLORREF want) {
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
