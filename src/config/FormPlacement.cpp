#include "config/FormPlacement.h"

#include "core/Errors.h"
#include "ui/Application.h"

namespace kt {

void LoadFormPlacement(TVtRegistry& store, const std::string& key, const reg::Placement& def, ui::TForm& form) {
    try {
        const std::string state = store.LoadText(key, reg::kWindowState, reg::kStateNormal);
        if (state == reg::kStateMinimized) {
            form.SetWindowState(ui::TWindowState::wsMinimized);
            return;
        }
        if (state == reg::kStateMaximized) {
            form.SetWindowState(ui::TWindowState::wsMaximized);
            return;
        }
        if (state != reg::kStateNormal) return;  // unknown text: the designed placement stands
        const int top = store.LoadIntegerFromRegistry(key, reg::kTop, def.top);
        const int left = store.LoadIntegerFromRegistry(key, reg::kLeft, def.left);
        const int width = store.LoadIntegerFromRegistry(key, reg::kWidth, def.width);
        const int height = store.LoadIntegerFromRegistry(key, reg::kHeight, def.height);
        form.SetTop(top);
        form.SetLeft(left);
        form.SetWidth(width);
        form.SetHeight(height);
        form.Position = top == def.top && left == def.left && width == def.width && height == def.height
                            ? ui::TPosition::poDesktopCenter
                            : ui::TPosition::poDesigned;
    } catch (const Exception& e) {
        // A corrupt setting must not stop the start: report it and use the defaults.
        ui::TApplication::Instance().HandleException(e);
        form.SetBounds(def.left, def.top, def.width, def.height);
        form.SetWindowState(ui::TWindowState::wsNormal);
        form.Position = ui::TPosition::poDesktopCenter;
    }
}

void SaveFormPlacement(TVtRegistry& store, const std::string& key, ui::TForm& form) {
    const ui::TWindowState state = form.WindowState();
    const char* text = state == ui::TWindowState::wsMinimized   ? reg::kStateMinimized
                       : state == ui::TWindowState::wsMaximized ? reg::kStateMaximized
                                                                : reg::kStateNormal;
    store.SaveStringToRegistry(key, reg::kWindowState, text);
    if (state == ui::TWindowState::wsMaximized) return;
    // While minimised the window sits off screen: save where it comes back to.
    const RECT r = form.NormalBounds();
    store.SaveIntegerToRegistry(key, reg::kTop, r.top);
    store.SaveIntegerToRegistry(key, reg::kLeft, r.left);
    store.SaveIntegerToRegistry(key, reg::kWidth, r.right - r.left);
    store.SaveIntegerToRegistry(key, reg::kHeight, r.bottom - r.top);
}

}  // namespace kt
