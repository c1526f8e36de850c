// The frame's window procedure and the form hook: which message the frame answers itself, in
// every state and only while it is laid out, and which it passes on (docs/design.md: "Who sees
// a message, in which order").
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

// ---- window procedure ------------------------------------------------------------------------

LRESULT TWinSkinForm::CallOld(UINT msg, WPARAM w, LPARAM l) { return frameProc_.CallOld(msg, w, l); }

LRESULT CALLBACK TWinSkinForm::FrameProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
    TWinSkinForm* f = ui::TSubclass::Find<TWinSkinForm>(hwnd, &FrameProc);
    if (!f) return ui::TSubclass::PassOn(hwnd, &FrameProc, msg, w, l);
    return f->WndProc(msg, w, l);
}

LRESULT TWinSkinForm::WndProc(UINT msg, WPARAM w, LPARAM l) {
    switch (msg) {
    case WM_DESTROY: {
        // The window takes the procedures with it: both go back whatever stands in front.
        const WNDPROC old = frameProc_.Old();
        const bool unicode = frameProc_.Unicode();
        HWND hwnd = window_;
        if (IsWindow(mdiClient_)) mdiClientProc_.Restore();
        frameProc_.Restore();
        region_ = nullptr;
        return ui::TSubclass::Call(old, unicode, hwnd, msg, w, l);
    }
    case WM_STYLECHANGED:
        if (w == WPARAM(GWL_STYLE)) savedStyle_ = reinterpret_cast<STYLESTRUCT*>(l)->styleNew;
        return CallOld(msg, w, l);
    case SKM_ISSKINNED: return 1;
    case SKM_FRAMEEXTRA: {
        if (FrameState == kFrameNew || borderKind_ == kBorderPopup) return 0;
        const int dx = leftWidth_ + rightWidth_ - systemFrame_.cx;
        const int dy = captionHeight_ + menuBarHeight_ + bottomHeight_ - systemFrame_.cy;
        return MAKELRESULT(static_cast<WORD>(static_cast<short>(dx)), static_cast<WORD>(static_cast<short>(dy)));
    }
    default: break;
    }
    if ((GetWindowLongA(window_, GWL_STYLE) & WS_CHILD) && mdiRole_ != kMdiChild) return CallOld(msg, w, l);
    LRESULT result = 0;
    if (HandleAnyState(msg, w, l, result)) return result;
    const bool skip = (mdiRole_ == kMdiChild && windowState_ != kWindowNormal) || FrameState == kFrameNew ||
                      windowState_ == kWindowMinimized;
    if (!skip && HandleFrameMessage(msg, w, l, result)) return result;
    return CallOld(msg, w, l);
}

bool TWinSkinForm::HandleAnyState(UINT msg, WPARAM w, LPARAM l, LRESULT& result) {
    TSkinManage* m = SkinManage();
    switch (msg) {
    case WM_SIZE: {
        result = CallOld(msg, w, l);
        if (w == SIZE_RESTORED) windowState_ = kWindowNormal;
        else if (w == SIZE_MINIMIZED) windowState_ = kWindowMinimized;
        else if (w == SIZE_MAXIMIZED) windowState_ = kWindowMaximized;
        const bool mdiOut = mdiRole_ == kMdiChild && ((m && m->MdiMaximized) || windowState_ != kWindowNormal);
        if (windowState_ != kWindowMinimized && !mdiOut && (FrameState == kFrameNormal || FrameState == kFrameReskin))
            BuildRegion();
        return true;
    }
    case WM_ACTIVATE:
        active_ = LOWORD(w) != WA_INACTIVE;
        return false;
    case WM_ERASEBKGND:
        result = CallOld(msg, w, l);
        if (!form_) {
            RECT r{};
            GetClientRect(window_, &r);
            ::FillRect(reinterpret_cast<HDC>(w), &r, FaceBrush());
            result = 1;
        }
        return true;
    case WM_GETMINMAXINFO: {
        result = CallOld(msg, w, l);
        ReadWindowState();
        if (windowState_ == kWindowMinimized) {
            SetCaptionStyles(true);
        } else if (mdiRole_ != kMdiChild) {
            SetCaptionStyles(false);
        } else if (windowState_ == kWindowNormal) {
            if (m && m->MdiMaximized) m->SetMdiMaximized(false);
            SetCaptionStyles(false);
        } else if (windowState_ == kWindowMaximized) {
            SetCaptionStyles(true);
        }
        auto* mm = reinterpret_cast<MINMAXINFO*>(l);
        mm->ptMaxTrackSize = {GetSystemMetrics(SM_CXMAXIMIZED), GetSystemMetrics(SM_CYMAXIMIZED)};
        return true;
    }
    case WM_WINDOWPOSCHANGED:
        ReadWindowState();
        return false;
    case WM_COMMAND:
        switch (LOWORD(w)) {
        case SC_SIZE: case SC_MOVE: case SC_MINIMIZE: case SC_MAXIMIZE: case SC_NEXTWINDOW:
        case SC_PREVWINDOW: case SC_CLOSE: case SC_RESTORE:
            if (l == 0 && HIWORD(w) == 0) {
                PostMessageW(window_, WM_SYSCOMMAND, LOWORD(w), 0);
                result = 0;
                return true;
            }
            break;
        default: break;
        }
        return false;
    case WM_SYSCOMMAND: {
        const UINT cmd = UINT(w & 0xFFF0);
        if (cmd == SC_KEYMENU && l == ' ' && hasSysMenu_) {
            // Alt+Space: the system would not open a menu for a window without WS_SYSMENU.
            RECT wr{};
            GetWindowRect(window_, &wr);
            lastSystemMenu_.reset();
            ShowSystemMenu(wr.left + leftWidth_, wr.top + captionHeight_);
            result = 0;
            return true;
        }
        if (cmd == SC_KEYMENU && l != ' ' && l != '-' && !MenuTracking && !GetCapture()) {
            if (l == 0 || (menuBar_ && menuBar_->AcceleratorItem(WPARAM(l)))) {
                if (l == 0 && menuBar_) menuBar_->KeyboardMode();
                result = 1;
                return true;
            }
        }
        if (cmd == SC_MINIMIZE) windowState_ = kWindowMinimized;
        if (cmd == SC_MAXIMIZE) windowState_ = kWindowMaximized;
        if (cmd == SC_RESTORE) windowState_ = kWindowNormal;
        if (mdiRole_ == kMdiChild && (cmd == SC_MINIMIZE || cmd == SC_MAXIMIZE || cmd == SC_RESTORE))
            SetCaptionStyles(cmd != SC_RESTORE);
        return false;
    }
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
        result = CallOld(msg, w, l);
        if (!form_) {
            SetBkMode(reinterpret_cast<HDC>(w), TRANSPARENT);
            if (msg == WM_CTLCOLORSTATIC) result = reinterpret_cast<LRESULT>(FaceBrush());
        }
        return true;
    case SKM_ATTACHED:
        if (l == kAttachedMark) {
            OnAttached();
            result = 0;
            return true;
        }
        return false;
    case WM_SETTEXT:
    case WM_SETICON:
        // The system repaints its own caption for these: paint ours over it.
        result = CallOld(msg, w, l);
        if (msg == WM_SETICON) MakeWindowIcon();
        RepaintFrame();
        return true;
    case ui::CM_MENUCHANGED:
        result = CallOld(msg, w, l);
        if (menuBar_ && GetMenu(window_)) {
            menuBar_->ReadItems(nullptr);
            SetMenu(window_, nullptr);
        }
        return true;
    default: return false;
    }
}

bool TWinSkinForm::HandleFrameMessage(UINT msg, WPARAM w, LPARAM l, LRESULT& result) {
    switch (msg) {
    case WM_NCCALCSIZE: {
        result = CallOld(msg, w, l);
        RECT* r = reinterpret_cast<RECT*>(l);
        if (!w) {
            // The window rectangle in, the client rectangle out.
            const RECT wr = *r;
            *r = {wr.left + leftWidth_, wr.top + captionHeight_ + menuBarHeight_, wr.right - rightWidth_,
                  wr.bottom - bottomHeight_};
            if (r->right < r->left) r->right = r->left;
            if (r->bottom < r->top) r->bottom = r->top;
            result = 0;
            return true;
        }
        auto* p = reinterpret_cast<NCCALCSIZE_PARAMS*>(l);
        if ((mdiRole_ == kMdiChild && windowState_ != kWindowNormal) || borderKind_ == kBorderPopup || !p->lppos) {
            p->rgrc[1] = p->rgrc[0];
        } else {
            const WINDOWPOS& wp = *p->lppos;
            RECT c{wp.x + leftWidth_, wp.y + captionHeight_ + menuBarHeight_, wp.x + wp.cx - rightWidth_,
                   wp.y + wp.cy - bottomHeight_};
            if (c.right < c.left) c.right = c.left;
            if (c.bottom < c.top) c.bottom = c.top;
            p->rgrc[0] = c;
            p->rgrc[1] = c;
        }
        result = WVR_VALIDRECTS;
        return true;
    }
    case WM_NCHITTEST: result = NcHitTest(l); return true;
    case WM_NCPAINT: {
        HDC dc = GetDCEx(window_, w > 1 ? reinterpret_cast<HRGN>(w) : nullptr,
                         DCX_WINDOW | (w > 1 ? DCX_INTERSECTRGN : 0) | DCX_CACHE);
        if (!dc) dc = GetWindowDC(window_);
        PaintFrame(dc);
        ReleaseDC(window_, dc);
        result = 0;
        return true;
    }
    case WM_NCACTIVATE: {
        active_ = w != FALSE;
        if (hoverTimer_) hoverTimer_->SetEnabled(active_);
        if (!active_ && HotControl) {
            TSkinControlBase* hot = HotControl;
            HotControl = nullptr;
            SendMessageW(hot->Window(), ui::CM_MOUSELEAVE, 0, 0);
        }
        // -1: the system updates its state but draws no caption of its own.
        result = CallOld(msg, w, -1);
        if (!(mdiRole_ == kMdiChild && windowState_ != kWindowNormal)) RepaintFrame();
        result = TRUE;
        return true;
    }
    case WM_NCMOUSEMOVE: return (result = NcMouseMove(w, l)), true;
    case WM_NCLBUTTONDOWN: return (result = NcLButtonDown(w, l)), true;
    case WM_NCLBUTTONUP: return (result = NcLButtonUp(w, l)), true;
    case WM_NCLBUTTONDBLCLK: return (result = NcLButtonDblClk(w, l)), true;
    case WM_NCRBUTTONDOWN: return (result = NcRButtonDown(w, l)), true;
    case SKM_REPAINTFRAME:
        RepaintFrame();
        result = 0;
        return true;
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
        if (SkinPlugins().MenuMessage && SkinPlugins().MenuMessage(*this, msg, w, l, result)) return true;
        return false;
    default: return false;
    }
}

void TWinSkinForm::FormHook(ui::TMessage& m) {
    // The chain behind the hook, held for the message: a detach meanwhile takes the hook out.
    const auto link = formHook_.CurrentLink();
    auto previous = [&link](ui::TMessage& msg) {
        if (link && link->Saved) link->Saved(msg);
    };
    switch (m.Msg) {
    case WM_SETTEXT:
        previous(m);
        SetWindowPos(window_, nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        return;
    case SKM_REAPPLY: ReapplyColoursAndLayout(); return;
    case ui::CM_DIALOGCHAR:
        if (menuBar_ && (GetKeyState(VK_MENU) & 0x8000) && !(GetKeyState(VK_CONTROL) & 0x8000) &&
            !(GetKeyState(VK_SHIFT) & 0x8000)) {
            if (TNCObject* item = menuBar_->AcceleratorItem(m.WParam)) {
                RECT wr{};
                GetWindowRect(window_, &wr);
                PostMessageW(window_, WM_NCLBUTTONDOWN, HTCLIENT,
                             MAKELPARAM(wr.left + item->Rect.left + 1, wr.top + item->Rect.top + 1));
                m.Result = 1;
                return;
            }
        }
        break;
    default: break;
    }
    previous(m);
}

}  // namespace kt
