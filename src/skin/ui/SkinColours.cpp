#include "skin/ui/SkinColours.h"

#include "ui/Controls.h"

namespace kt {

COLORREF SkinColorRef(TColour colour) { return ui::ColorToRGB(colour); }

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
