// The scan's registration with the frame, apart from the painters so that they can be used on
// windows without a frame.
#include "skin/ui/WinSkinControls.h"

namespace kt {

void InstallControlPainters() {
    SkinPlugins().ScanControls = [](TWinSkinForm& frame, ui::TControl* control) {
        if (!frame.SkinData()) return;
        ScanControls(TPainterHost::Of(frame), *frame.SkinData(), frame.Form(), frame.Window(), control);
    };
}

}  // namespace kt
