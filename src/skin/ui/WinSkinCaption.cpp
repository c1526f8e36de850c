// The caption's items and mouse: title buttons laid out and worked (hot, pressed, their
// actions), the system menu, hit testing and the hover timer.
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

// ---- non-client items ------------------------------------------------------------------------

TNCObject::~TNCObject() {
    if (Owner.HotObject == this) Owner.HotObject = nullptr;
}

void TNCObject::Apply(TNCEvent e) {
    const bool isHot = Owner.HotObject == this;
    const bool another = Owner.HotObject && !isHot;
    const TNCTransition t = NCObjectTransition(e, Visible, State, isHot, another);
    if (!t.Acts) return;
    if (t.OtherHotLeaves && Owner.HotObject) Owner.HotObject->Leave();
    if (t.Hot > 0) Owner.HotObject = this;
    if (t.Hot < 0) Owner.HotObject = nullptr;
    State = t.State;
    Paint();
}

void TNCObject::MouseDown() { Apply(TNCEvent::MouseDown); }
void TNCObject::MouseUp() { Apply(TNCEvent::MouseUp); }
void TNCObject::MouseMove() { Apply(TNCEvent::MouseMove); }
void TNCObject::Leave() { Apply(TNCEvent::Leave); }

void TWinSysButton::Paint() { Owner.PaintTitleButton(*this); }

TTitleWindowFacts TWinSkinForm::WindowFacts() const {
    TTitleWindowFacts f;
    f.BorderKind = borderKind_;
    f.Maximized = windowState_ == kWindowMaximized;
    f.Minimized = windowState_ == kWindowMinimized;
    f.Active = active_;
    f.SystemMenu = hasSysMenu_;
    f.MaximizeBox = hasMaxBox_;
    f.MinimizeBox = hasMinBox_;
    TSkinManage* m = SkinManage();
    f.MdiChildMaximized = mdiRole_ == kMdiParent && m && m->MdiMaximized;
    f.MenuBarHeight = menuBarHeight_;
    return f;
}

void TWinSkinForm::LayOutTitleButtons(int W) {
    if (!skinData_) return;
    TTitleLayoutFacts lf;
    lf.Width = W;
    lf.TitleTextLeft = titleRect_.left;
    lf.TitleTextRight = titleRect_.right;
    lf.CaptionHeight = captionHeight_;
    lf.MenuBarHeight = menuBarHeight_;
    lf.RightWidth = rightWidth_;
    lf.MenuBarLeftWidth = skinData_->MenuBar ? skinData_->MenuBar->LeftWidth : 0;
    // The buttons were made from the skin data's entries in order, null entries skipped.
    const TTitleLayout layout = kt::LayOutTitleButtons(skinData_->SysButtons, WindowFacts(), lf);
    std::size_t next = 0;
    for (std::size_t i = 0; i < skinData_->SysButtons.size() && next < titleButtons_.size(); ++i) {
        if (!skinData_->SysButtons[i]) continue;
        TWinSysButton& b = *titleButtons_[next++];
        const TTitleButtonSpot& spot = layout.Spots[i];
        b.Visible = spot.Visible;
        b.Rect = {spot.Rect.Left, spot.Rect.Top, spot.Rect.Right, spot.Rect.Bottom};
    }
    rightmostButtonLeft_ = layout.RightmostButtonLeft;
}

// ---- caption mouse ---------------------------------------------------------------------------

POINT TWinSkinForm::ToWindowPoint(POINT p) const {
    RECT wr{};
    GetWindowRect(window_, &wr);
    // Screen to window coordinates: the same as screen to client plus the frame's margins, but
    // also right while the client area is empty.
    return {p.x - wr.left, p.y - wr.top};
}

int TWinSkinForm::HitTest(POINT pt, TNCObject** object) {
    *object = nullptr;
    for (auto& b : titleButtons_) {
        if (b->Visible && b->Element.Action >= 0 && PtInRect(&b->Rect, pt)) {
            *object = b.get();
            return 1;
        }
    }
    if (menuBar_)
        if (TNCObject* item = menuBar_->HitItem(pt)) {
            *object = item;
            return 2;
        }
    return 0;
}

LRESULT TWinSkinForm::NcHitTest(LPARAM l) {
    const LRESULT system = CallOld(WM_NCHITTEST, 0, l);
    if (system == HTCLIENT || system == HTVSCROLL || system == HTHSCROLL) return system;
    // The system reckons with its own frame sizes; the skin's edges and caption decide here.
    const POINT pt = ToWindowPoint({GET_X_LPARAM(l), GET_Y_LPARAM(l)});
    const SIZE s = WindowSize(window_);
    if (pt.x < 0 || pt.y < 0 || pt.x >= s.cx || pt.y >= s.cy) return system;
    if (windowState_ == kWindowNormal && (savedStyle_ & WS_THICKFRAME)) {
        const int grip = 4, corner = 12;
        const bool left = pt.x < std::max(leftWidth_, grip), right = pt.x >= s.cx - std::max(rightWidth_, grip);
        const bool top = pt.y < grip, bottom = pt.y >= s.cy - std::max(bottomHeight_, grip);
        const bool nearLeft = pt.x < corner, nearRight = pt.x >= s.cx - corner;
        const bool nearTop = pt.y < corner, nearBottom = pt.y >= s.cy - corner;
        if ((top && nearLeft) || (left && nearTop)) return HTTOPLEFT;
        if ((top && nearRight) || (right && nearTop)) return HTTOPRIGHT;
        if ((bottom && nearLeft) || (left && nearBottom)) return HTBOTTOMLEFT;
        if ((bottom && nearRight) || (right && nearBottom)) return HTBOTTOMRIGHT;
        if (left) return HTLEFT;
        if (right) return HTRIGHT;
        if (top) return HTTOP;
        if (bottom) return HTBOTTOM;
    }
    if (pt.y < captionHeight_) return HTCAPTION;
    if (pt.y < captionHeight_ + menuBarHeight_) return menuBar_ ? HTMENU : HTCAPTION;
    return HTBORDER;
}

LRESULT TWinSkinForm::NcMouseMove(WPARAM w, LPARAM l) {
    if (active_) {
        TNCObject* hit = nullptr;
        if (HitTest(ToWindowPoint({GET_X_LPARAM(l), GET_Y_LPARAM(l)}), &hit)) {
            hit->MouseMove();
            return 0;
        }
    }
    if (HotObject) HotObject->Leave();
    return CallOld(WM_NCMOUSEMOVE, w, l);
}

LRESULT TWinSkinForm::NcLButtonDown(WPARAM w, LPARAM l) {
    TNCObject* hit = nullptr;
    const int kind = HitTest(ToWindowPoint({GET_X_LPARAM(l), GET_Y_LPARAM(l)}), &hit);
    if (kind) {
        if (!active_) SetForegroundWindow(window_);
        if (kind == 2 && menuBar_) {
            menuBar_->OpenItem(hit);
        } else {
            hit->MouseDown();
        }
        return 0;
    }
    if (windowState_ == kWindowMaximized && active_ && w == HTCAPTION) w = HTMENU;
    const bool edge = w >= HTLEFT && w <= HTBOTTOMRIGHT;
    if (w == HTCAPTION || edge) {
        // The move or resize starts once the pointer moves: a window manager that takes it
        // over would otherwise swallow the second click of a double click.
        if (!active_) SetForegroundWindow(window_);
        const POINT start{GET_X_LPARAM(l), GET_Y_LPARAM(l)};
        if (!DragDetect(window_, start)) return 0;
        // It follows the pointer from where it is now: the way it came so far is made up
        // first, so the window (or the edge) keeps its place under the pointer.
        POINT now{};
        GetCursorPos(&now);
        const int dx = now.x - start.x, dy = now.y - start.y;
        RECT wr{};
        GetWindowRect(window_, &wr);
        if (w == HTCAPTION) {
            OffsetRect(&wr, dx, dy);
        } else {
            if (w == HTLEFT || w == HTTOPLEFT || w == HTBOTTOMLEFT) wr.left += dx;
            if (w == HTRIGHT || w == HTTOPRIGHT || w == HTBOTTOMRIGHT) wr.right += dx;
            if (w == HTTOP || w == HTTOPLEFT || w == HTTOPRIGHT) wr.top += dy;
            if (w == HTBOTTOM || w == HTBOTTOMLEFT || w == HTBOTTOMRIGHT) wr.bottom += dy;
        }
        SetWindowPos(window_, nullptr, wr.left, wr.top, wr.right - wr.left, wr.bottom - wr.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        l = MAKELPARAM(now.x, now.y);
    }
    return CallOld(WM_NCLBUTTONDOWN, w, l);
}

LRESULT TWinSkinForm::NcLButtonUp(WPARAM w, LPARAM l) {
    const POINT screen{GET_X_LPARAM(l), GET_Y_LPARAM(l)};
    TNCObject* hit = nullptr;
    if (HitTest(ToWindowPoint(screen), &hit)) {
        if (hit == HotObject)
            for (auto& b : titleButtons_)
                if (b.get() == hit) {
                    hit->MouseUp();
                    RunTitleAction(*b, screen);
                    break;
                }
        return 0;
    }
    return CallOld(WM_NCLBUTTONUP, w, l);
}

LRESULT TWinSkinForm::NcLButtonDblClk(WPARAM w, LPARAM l) {
    TNCObject* hit = nullptr;
    if (HitTest(ToWindowPoint({GET_X_LPARAM(l), GET_Y_LPARAM(l)}), &hit)) return 0;  // a quick second click on a button
    // Anywhere else in the frame, borders included; a scroll bar keeps its own double click.
    if (w == HTVSCROLL || w == HTHSCROLL) return CallOld(WM_NCLBUTTONDBLCLK, w, l);
    ReadWindowState();
    if (windowState_ != kWindowNormal)
        PostMessageW(window_, WM_SYSCOMMAND, SC_RESTORE, 0);
    else if (hasMaxBox_)
        PostMessageW(window_, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    return 0;
}

LRESULT TWinSkinForm::NcRButtonDown(WPARAM w, LPARAM l) {
    if (w == HTCAPTION && mdiRole_ != kMdiChild) {
        ShowSystemMenu(GET_X_LPARAM(l), GET_Y_LPARAM(l));
        return 0;
    }
    return CallOld(WM_NCRBUTTONDOWN, w, l);
}

void TWinSkinForm::RunTitleAction(TWinSysButton& b, POINT screen) {
    const TTitleActionDecision d = DecideTitleAction(b.Element.Action, windowState_, mdiRole_ == kMdiParent, screen.x,
                                                     screen.y);
    if (d.NewWindowState >= 0) windowState_ = d.NewWindowState;
    if (d.ForgetHotObject) HotObject = nullptr;
    switch (d.Kind) {
    case TTitleActionKind::Close:
        if (hoverTimer_) hoverTimer_->SetEnabled(false);
        PostMessageW(window_, WM_CLOSE, 0, 0);
        break;
    case TTitleActionKind::SysCommand: PostMessageW(window_, WM_SYSCOMMAND, d.Command, 0); break;
    case TTitleActionKind::SystemMenu: ShowSystemMenu(d.MenuX, d.MenuY); break;
    case TTitleActionKind::MdiChildCommand:
        if (mdiClient_) {
            HWND child = reinterpret_cast<HWND>(SendMessageW(mdiClient_, WM_MDIGETACTIVE, 0, 0));
            if (child) SendMessageW(child, WM_SYSCOMMAND, d.Command, 0);
            TSkinManage* m = SkinManage();
            if (m && m->MdiMaximized && (!child || !IsWindow(child) || !IsZoomed(child))) m->SetMdiMaximized(false);
        }
        break;
    case TTitleActionKind::None: break;
    }
}

void TWinSkinForm::ShowSystemMenu(int x, int y) {
    const std::uint32_t now = GetTickCount();
    if (SystemMenuClosesWindow(lastSystemMenu_, now, doubleClickTime_)) {
        if (hoverTimer_) hoverTimer_->SetEnabled(false);
        PostMessageW(window_, WM_CLOSE, 0, 0);
        return;
    }
    lastSystemMenu_ = now;
    HMENU menu = GetSystemMenu(window_, FALSE);
    if (!menu) return;
    // The items' states follow the window, as the system sets them before its own menu opens.
    ReadWindowState();
    const UINT on = MF_BYCOMMAND | MF_ENABLED, off = MF_BYCOMMAND | MF_GRAYED;
    const bool sizable = (savedStyle_ & WS_THICKFRAME) != 0;
    EnableMenuItem(menu, SC_RESTORE, windowState_ != kWindowNormal ? on : off);
    EnableMenuItem(menu, SC_MOVE, windowState_ == kWindowNormal ? on : off);
    EnableMenuItem(menu, SC_SIZE, windowState_ == kWindowNormal && sizable ? on : off);
    EnableMenuItem(menu, SC_MINIMIZE, hasMinBox_ && windowState_ != kWindowMinimized ? on : off);
    EnableMenuItem(menu, SC_MAXIMIZE, hasMaxBox_ && windowState_ != kWindowMaximized ? on : off);
    // The system sets a system menu's items from the window's style as it opens it: while it is
    // open the style says what the title buttons offer, not the frame's stripped one.
    const bool stripped = !captionStylesOn_;
    if (stripped) SetCaptionStyles(true);
    const UINT cmd = UINT(TrackPopupMenu(menu, TPM_RIGHTBUTTON | TPM_RETURNCMD, x, y, 0, window_, nullptr));
    if (stripped && frameProc_.Installed()) SetCaptionStyles(false);
    if (cmd) PostMessageW(window_, WM_SYSCOMMAND, cmd, 0);
}

void TWinSkinForm::HoverTick() {
    if (MenuTracking) return;
    POINT p{};
    GetCursorPos(&p);
    if (HotObject) {
        const POINT wp = ToWindowPoint(p);
        if (!PtInRect(&HotObject->Rect, wp)) HotObject->Leave();
    }
    if (!form_ && HotControl) {
        RECT r{};
        GetWindowRect(HotControl->Window(), &r);
        if (!PtInRect(&r, p)) {
            TSkinControlBase* hot = HotControl;
            HotControl = nullptr;
            SendMessageW(hot->Window(), ui::CM_MOUSELEAVE, 0, 0);
        }
    }
}

}  // namespace kt
