// MDI: the client window's procedure (children attached as they are made, scroll bars off,
// the window menu followed) and a child's frame when the children are maximised or not.
#include "skin/ui/WinSkinForm.h"

#include <windowsx.h>

#include <algorithm>
#include <cstddef>

#include "skin/ui/SkinColours.h"
#include "skin/ui/SkinManage.h"
#include "skin/ui/SkinRegion.h"
#include "skin/ui/WinSkinFrameParts.h"
#include "ui/ExtCtrls.h"

namespace kt {

using namespace frame;

void TWinSkinForm::MdiMaximizedChanged(bool maximized) {
    if (!frameProc_.Installed()) return;
    if (maximized) {
        if (region_) {
            SetWindowRgn(window_, nullptr, TRUE);
            region_ = nullptr;
            regionOwnedBySystem_ = false;
        }
        SetCaptionStyles(true);
        return;
    }
    ReadWindowState();
    if (windowState_ == kWindowMinimized) {
        SetCaptionStyles(true);
        return;
    }
    windowState_ = kWindowNormal;
    regionW_ = regionH_ = -1;
    BuildRegion();
    SetCaptionStyles(false);
    if (!region_)
        SetWindowPos(window_, nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

// ---- MDI client ------------------------------------------------------------------------------

LRESULT CALLBACK TWinSkinForm::MdiClientProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
    TWinSkinForm* f = ui::TSubclass::Find<TWinSkinForm>(hwnd, &MdiClientProc);
    if (!f) return ui::TSubclass::PassOn(hwnd, &MdiClientProc, msg, w, l);
    const WNDPROC old = f->mdiClientProc_.Old();
    TSkinManage* m = SkinManage();
    switch (msg) {
    case WM_NCCALCSIZE:
        if (f->skinData_ && f->skinData_->HasControl(xcMainMenu))
            SetWindowLongW(hwnd, GWL_STYLE, GetWindowLongW(hwnd, GWL_STYLE) & ~(WS_HSCROLL | WS_VSCROLL));
        break;
    case WM_MDICREATE: {
        LRESULT r = CallWindowProcW(old, hwnd, msg, w, l);
        f->newMdiChild_ = reinterpret_cast<HWND>(r);
        return r;
    }
    case WM_MDIDESTROY: {
        if (m) m->DetachForm(reinterpret_cast<HWND>(w));
        LRESULT r = CallWindowProcW(old, hwnd, msg, w, l);
        if (m) {
            BOOL maximized = FALSE;
            SendMessageW(hwnd, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized));
            m->SetMdiMaximized(maximized != FALSE);
        }
        return r;
    }
    case WM_MDITILE:
    case WM_MDICASCADE:
        if (m) m->MdiMaximized = false;
        break;
    case WM_MDISETMENU: {
        LRESULT r = CallWindowProcW(old, hwnd, msg, w, l);
        if (f->menuBar_) f->menuBar_->ReadItems(w ? reinterpret_cast<HMENU>(w) : nullptr);
        return r;
    }
    case WM_MDIREFRESHMENU: {
        LRESULT r = CallWindowProcW(old, hwnd, msg, w, l);
        if (f->newMdiChild_ && m) {
            const bool was = m->ActivatingAll;
            m->ActivatingAll = true;
            m->AttachForm(f->newMdiChild_);
            m->ActivatingAll = was;
            PostMessageW(f->window_, SKM_REPAINTFRAME, 0, 0);
        }
        f->newMdiChild_ = nullptr;
        return r;
    }
    default: break;
    }
    return CallWindowProcW(old, hwnd, msg, w, l);
}

}  // namespace kt
