// What the painter tests share: the Blue skin loaded once, and finding the painter a scan gave
// a window.
#pragma once
#include <windows.h>

#include "skin/ui/SkinGallery.h"
#include "skin/ui/WinSkinControls.h"

namespace kt::painter_tests {

inline TSkinData& Blue() {
    static TSkinData* data = [] {
        auto* d = new TSkinData;
        gallery::LoadBuiltin(*d, 0);
        return d;
    }();
    return *data;
}

// The painter of type T on window h, or null.
template <class T>
T* PainterOn(TPainterSet& set, HWND h) {
    for (auto& p : set.Painters)
        if (auto* t = dynamic_cast<T*>(p.get()); t && p->Window() == h) return t;
    return nullptr;
}

}  // namespace kt::painter_tests
