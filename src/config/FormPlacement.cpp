#include "config/FormPlacement.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <vector>

#include "core/DpiScale.h"
#include "core/Errors.h"
#include "skin/ui/WinSkinForm.h"
#include "ui/Application.h"

namespace kt {

namespace {

// How much of a window's caption a monitor must show for the user to grab it.
constexpr int kGripWidth = 40;

BOOL CALLBACK CollectWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    if (GetMonitorInfoA(monitor, &mi)) reinterpret_cast<std::vector<RECT>*>(data)->push_back(mi.rcWork);
    return TRUE;
}

int ToInt(long long v) { return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX)); }

// The stored size is the one the window has around its client with the system's frame, so a
// placement saved under one skin comes back under another, or none, with the same client.
SIZE SkinFrameExtra(ui::TForm& form) {
    if (!form.HandleAllocated()) return {0, 0};
    const LRESULT r = SendMessageA(form.Handle(), SKM_FRAMEEXTRA, 0, 0);
    return {static_cast<short>(LOWORD(r)), static_cast<short>(HIWORD(r))};
}

}  // namespace

void KeepOnScreen(int& left, int& top, int& width, int& height) {
    width = std::max(width, GetSystemMetrics(SM_CXMINTRACK));
    height = std::max(height, GetSystemMetrics(SM_CYMINTRACK));
    const long long l = left, t = top;
    const RECT wanted{ToInt(l), ToInt(t), ToInt(l + width), ToInt(t + height)};
    MONITORINFO nearest{};
    nearest.cbSize = sizeof nearest;
    if (!GetMonitorInfoA(MonitorFromRect(&wanted, MONITOR_DEFAULTTONEAREST), &nearest)) return;
    const RECT& work = nearest.rcWork;
    // Larger than the screen can show is no use either: the frame's far side would be lost.
    width = static_cast<int>(std::min<long long>(width, work.right - work.left));
    height = static_cast<int>(std::min<long long>(height, work.bottom - work.top));

    const int captionHeight = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME);
    const RECT caption{ToInt(l), ToInt(t), ToInt(l + width), ToInt(t + captionHeight)};
    std::vector<RECT> areas;
    EnumDisplayMonitors(nullptr, nullptr, CollectWorkArea, reinterpret_cast<LPARAM>(&areas));
    for (const RECT& area : areas) {
        RECT seen;
        if (IntersectRect(&seen, &caption, &area) && seen.right - seen.left >= std::min(kGripWidth, width) &&
            seen.bottom - seen.top >= captionHeight / 2)
            return;
    }
    // No monitor shows the caption: into the nearest work area, as close to the stored place as fits.
    left = ToInt(std::clamp<long long>(l, work.left, work.right - width));
    top = ToInt(std::clamp<long long>(t, work.top, work.bottom - height));
}

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
        int top = store.LoadIntegerFromRegistry(key, reg::kTop, def.top);
        int left = store.LoadIntegerFromRegistry(key, reg::kLeft, def.left);
        int width = store.LoadIntegerFromRegistry(key, reg::kWidth, def.width);
        int height = store.LoadIntegerFromRegistry(key, reg::kHeight, def.height);
        const bool centred = top == def.top && left == def.left && width == def.width && height == def.height;
        if (centred) {
            // Nothing stored: the designed size, at the screen's scale.
            width = form.DpiScaled(def.width);
            height = form.DpiScaled(def.height);
        } else {
            // A size stored at another resolution, at this one.
            const int stored = SanePixelsPerInch(
                store.LoadIntegerFromRegistry(key, reg::kPixelsPerInch, kDesignPixelsPerInch));
            width = Rescale(width, ui::TForm::ScreenPixelsPerInch(), stored);
            height = Rescale(height, ui::TForm::ScreenPixelsPerInch(), stored);
            KeepOnScreen(left, top, width, height);
        }
        const SIZE extra = SkinFrameExtra(form);
        form.SetBounds(left, top, width + extra.cx, height + extra.cy);
        form.Position = centred ? ui::TPosition::poDesktopCenter : ui::TPosition::poDesigned;
    } catch (const Exception& e) {
        // A corrupt setting must not stop the start: report it and use the defaults.
        ui::TApplication::Instance().HandleException(e);
        form.SetBounds(def.left, def.top, form.DpiScaled(def.width), form.DpiScaled(def.height));
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
    const SIZE extra = SkinFrameExtra(form);
    store.SaveIntegerToRegistry(key, reg::kTop, r.top);
    store.SaveIntegerToRegistry(key, reg::kLeft, r.left);
    store.SaveIntegerToRegistry(key, reg::kWidth, r.right - r.left - extra.cx);
    store.SaveIntegerToRegistry(key, reg::kHeight, r.bottom - r.top - extra.cy);
    store.SaveIntegerToRegistry(key, reg::kPixelsPerInch, ui::TForm::ScreenPixelsPerInch());
}

}  // namespace kt
