#include "skin/ui/WinSkinControls.h"

#include <algorithm>

#include "skin/data/SkinDraw.h"
#include "skin/ui/SkinColours.h"
#include "ui/ComCtrls.h"
#include "ui/Forms.h"

namespace kt {

// ---------------------------------------------------------------- TSkinControl

TSkinControl::~TSkinControl() { Detach(); }

void TSkinControl::AttachControl(ui::TWinControl& control, TSkinData& data, bool recolour) {
    data_ = &data;
    control_ = &control;
    window_ = control.Handle();
    hook_.Install(control.WindowProc, [this](ui::TMessage& m) { MessageProc(m); });
    attached_ = true;
    host_.Painters.emplace_back(this);
    focused_ = GetFocus() == window_;
    enabled_ = IsWindowEnabled(window_) != FALSE;
    caption_ = ui::WindowText(window_);
    if (recolour) {
        recolour_ = true;
        savedColour_ = control.Color();
        savedParentColour_ = control.ParentColor();
        control.SetColor(data.ButtonFace);
    }
    InvalidateRect(window_, nullptr, TRUE);
}

void TSkinControl::AttachWindow(HWND window, TSkinData& data) {
    // One painter per window: a second one in the chain would find itself again behind it
    // and call itself for ever. The newer painter takes the window over.
    auto* held = ui::TSubclass::Find<TSkinControl>(window, &WindowHook);
    if (held && held != this) held->Detach();
    data_ = &data;
    window_ = window;
    enabled_ = IsWindowEnabled(window) != FALSE;
    caption_ = ui::WindowText(window);
    subclass_.Install(window, &WindowHook, this);
    bareWindow_ = true;
    attached_ = true;
    host_.Painters.emplace_back(this);
    InvalidateRect(window, nullptr, TRUE);
}

void TSkinControl::Detach() {
    if (!attached_) return;
    attached_ = false;
    if (host_.HotControl == this) host_.HotControl = nullptr;
    // Either way in: taken out while ours is the outermost; otherwise ours stays in the chain
    // and passes on, so that a hook or procedure put on after ours keeps working.
    hook_.Remove();
    subclass_.Remove(destroying_);
    if (recolour_ && control_ && host_.FrameState != kFrameDestroying) RestoreColour();
    recolour_ = false;
    if (IsWindow(window_) && !bareWindow_ && !destroying_) InvalidateRect(window_, nullptr, TRUE);
    FreeResources();
}

void TSkinControl::ReapplyColours() {
    if (!control_ || !data_) return;
    if (data_->Active()) {
        if (!recolour_) return;
        control_->SetColor(data_->ButtonFace);
    } else if (recolour_) {
        RestoreColour();
    }
}

void TSkinControl::RestoreColour() {
    control_->SetColor(savedColour_);
    if (savedParentColour_) control_->SetParentColor(true);
}

LRESULT CALLBACK TSkinControl::WindowHook(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
    TSkinControl* p = ui::TSubclass::Find<TSkinControl>(hwnd, &WindowHook);
    if (!p) return ui::TSubclass::PassOn(hwnd, &WindowHook, msg, w, l);
    ui::TMessage m{msg, w, l, 0};
    p->MessageProc(m);
    return m.Result;
}

void TSkinControl::MessageProc(ui::TMessage& m) {
    handled_ = false;
    // Detach (WM_NCDESTROY) forgets the procedures: keep what the message still needs.
    const std::shared_ptr<ui::TWindowProcHook::Link> link = hook_.CurrentLink();
    const WNDPROC old = subclass_.Old();
    const bool unicode = subclass_.Unicode();
    const HWND window = window_;
    bool passOn = true;
    try {
        passOn = BeforeMessage(m);
    } catch (...) {
        passOn = true;
    }
    if (!passOn) return;
    if (link && link->Saved)
        link->Saved(m);
    else if (old)
        m.Result = ui::TSubclass::Call(old, unicode, window, m.Msg, m.WParam, m.LParam);
    else
        m.Result = DefWindowProcW(window, m.Msg, m.WParam, m.LParam);
    if (!attached_) return;
    try {
        AfterMessage(m);
    } catch (...) {
        // A bad skin never breaks the window it paints.
    }
}

bool TSkinControl::BeforeMessage(ui::TMessage&) { return true; }

void TSkinControl::AfterMessage(ui::TMessage& m) {
    switch (m.Msg) {
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
        case WM_ENABLE:
        case ui::CM_ENABLEDCHANGED:
            Repaint();
            break;
        case WM_SETTEXT:
            caption_ = ui::WindowText(window_);
            Repaint();
            break;
        case WM_PAINT:
            PaintFrame(reinterpret_cast<HDC>(m.WParam));
            break;
        case WM_NCDESTROY:
            destroying_ = true;
            Detach();
            // The object may be freed and another made at its address: this painter is not its.
            control_ = nullptr;
            window_ = nullptr;
            break;
    }
}

void TSkinControl::PaintFrame(HDC dc) {
    if (!IsWindow(window_)) return;
    GetWindowRect(window_, &windowRect_);
    RECT r = windowRect_;
    OffsetRect(&r, -r.left, -r.top);
    HDC use = dc ? dc : GetWindowDC(window_);
    if (!use) return;
    try {
        Draw(use, r);
    } catch (...) {
        // A bad skin never breaks the window it paints.
    }
    if (!dc) ReleaseDC(window_, use);
}

void TSkinControl::Repaint() {
    if (!IsWindow(window_) || !GetParent(window_)) return;
    RECT r;
    GetWindowRect(window_, &r);
    OffsetRect(&r, -r.left, -r.top);
    InvalidateRect(window_, &r, FALSE);
    UpdateWindow(window_);
}

COLORREF TSkinControl::Colour(TColour c) const { return SkinColorRef(c); }

Pixel TSkinControl::PixelOf(TColour c) const { return SkinPixel(c); }

void TSkinControl::FillFace(HDC dc, const RECT& r) {
    HBRUSH b = CreateSolidBrush(Colour(data_ ? data_->ButtonFace : SysColour(COLOR_BTNFACE)));
    ::FillRect(dc, &r, b);
    DeleteObject(b);
}

void TSkinControl::StartFace(int w, int h) {
    bitmap_.SetSize(w, h);
    GdiFlush();
    kt::FillRect(bitmap_.View(), {0, 0, w, h}, SkinPixel(data_->ButtonFace));
}

void TSkinControl::BecomeHot() {
    TSkinControlBase* previous = host_.HotControl;
    if (previous == this) return;
    host_.HotControl = this;
    if (previous && IsWindow(previous->Window())) SendMessageW(previous->Window(), ui::CM_MOUSELEAVE, 0, 0);
}

HFONT TSkinControl::ControlFont() const {
    auto f = reinterpret_cast<HFONT>(Send(WM_GETFONT));
    return f ? f : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

int TSkinControl::HotChange(const ui::TMessage& m) {
    switch (m.Msg) {
        case ui::CM_MOUSEENTER: return 1;
        case ui::CM_MOUSELEAVE: return -1;
        case WM_MOUSEMOVE:
            if (control_ || (mouse_ & msHot)) return 0;
            {
                TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, window_, 0};
                TrackMouseEvent(&t);
            }
            return 1;
        case WM_MOUSELEAVE: return control_ ? 0 : -1;
    }
    return 0;
}

void TSkinControl::StopBeingHot() {
    if (host_.HotControl == this) host_.HotControl = nullptr;
}

}  // namespace kt
