// A list of small pictures of one size, drawn by index (menu item images). Magenta is
// transparent, as in every picture of the program.
#pragma once
#include <windows.h>

#include <vector>

#include "skin/data/Bitmap32.h"
#include "ui/Component.h"

namespace kt::ui {

class TImageList : public TComponent {
    KT_CLASS(TImageList, TComponent, "TCustomImageList")
public:
    explicit TImageList(TComponent* owner, int width = 16, int height = 16)
        : TComponent(owner), Width(width), Height(height) {}
    const int Width, Height;

    // Returns the new image's index; the picture is cut or padded (transparent) to the list's size.
    int Add(const TBitmap32& picture);
    int Count() const { return static_cast<int>(images_.size()); }
    // Draws image `index` at (x, y); a disabled image is drawn grey. Nothing for a bad index.
    void Draw(HDC dc, int x, int y, int index, bool enabled = true) const;

private:
    std::vector<TBitmap32> images_;
};

}  // namespace kt::ui
