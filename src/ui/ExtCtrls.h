// Pictures and rules: a control that shows a bitmap, and an etched line.
#pragma once
#include "skin/data/Bitmap32.h"
#include "ui/Controls.h"

namespace kt::ui {

class TImage : public TWinControl {
    KT_CLASS(TImage, TWinControl, "TGraphicControl")
public:
    explicit TImage(TComponent* owner);
    const TBitmap32& Picture() const { return picture_; }
    void SetPicture(const TBitmap32& picture);
    bool Stretch = false;      // fill the control; else drawn at its own size in the corner
    bool Transparent = false;  // magenta shows the parent's colour
    bool SetEnumProperty(std::string_view name, int value) override;

    // What a paint puts into a w x h area over background colour `face` (0x00RRGGBB).
    TBitmap32 Compose(int w, int h, Pixel face) const;

protected:
    void CreateParams(TCreateParams& p) override;
    void WndProc(TMessage& m) override;

private:
    void Paint(HDC dc);
    TBitmap32 picture_;
};

enum class TBevelShape { bsTopLine, bsBox };

class TBevel : public TWinControl {
    KT_CLASS(TBevel, TWinControl, "TGraphicControl")
public:
    explicit TBevel(TComponent* owner);
    TBevelShape Shape = TBevelShape::bsTopLine;

protected:
    void CreateParams(TCreateParams& p) override;
};

}  // namespace kt::ui
