// A list of small pictures of one size, drawn by index (menu item images). Magenta is
// transparent, as in every picture of the program.
#pragma once
#include <windows.h>

#include <functional>
#include <vector>

#include "skin/data/Bitmap32.h"
#include "ui/Component.h"

namespace kt::ui {

// Lets draw change what dc shows in the w x h area at (x, y): the pixels are read into a 32-bit
// bitmap, drawn on there and written back in one copy, so that keyed and greyed images go onto
// any DC (a screen's, a printer's, a memory bitmap's).
void DrawOverPixels(HDC dc, int x, int y, int w, int h, const std::function<void(PixelView)>& draw);

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
