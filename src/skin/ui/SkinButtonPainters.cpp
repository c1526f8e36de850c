// Painters of the button family: push, bit and speed buttons drawn whole from "Buttons";
// check boxes and radio buttons with the box from "CheckBox" or "Radio".
#include "skin/ui/SkinPainters.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "skin/data/SkinDraw.h"
#include "skin/ui/SkinColours.h"
#include "skin/ui/SkinPainterParts.h"
#include "ui/ComCtrls.h"
#include "ui/Dialogs.h"
#include "ui/Tabs.h"

namespace kt {

using namespace paint;

bool TSkinControl::PaintWhole(ui::TMessage& m) {
    if (m.Msg == WM_ERASEBKGND) {
        m.Result = 1;
        return true;
    }
    if (m.Msg != WM_PAINT) return false;
    RECT r;
    GetClientRect(window_, &r);
    PAINTSTRUCT ps;
    HDC dc = m.WParam ? reinterpret_cast<HDC>(m.WParam) : BeginPaint(window_, &ps);
    try {
        Draw(dc, r);
    } catch (...) {
        // A bad skin picture must not break the control.
    }
    if (!m.WParam) EndPaint(window_, &ps);
    m.Result = 0;
    return true;
}

// ---------------------------------------------------------------- TSkinButton

bool TSkinButton::BeforeMessage(ui::TMessage& m) {
    if (!data_ || !HasImage(data_->Buttons.get())) return true;  // drawn the ordinary way
    switch (m.Msg) {
        case WM_PAINT: {
            RECT r;
            GetWindowRect(window_, &r);
            OffsetRect(&r, -r.left, -r.top);
            if (m.WParam) {
                Draw(reinterpret_cast<HDC>(m.WParam), r);
            } else {
                PAINTSTRUCT ps;
                HDC dc = BeginPaint(window_, &ps);
                try {
                    Draw(dc, r);
                } catch (...) {
                }
                EndPaint(window_, &ps);
            }
            m.Result = 0;
            return false;
        }
        case WM_ERASEBKGND: m.Result = 1; return false;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            // Only a window that is in front takes the focus on a press: a click into a window
            // that declines activation (the bar while another program is typed into) keeps it
            // where it is.
            if (TakesFocusOnPress() && GetFocus() != window_ && GetForegroundWindow() == GetAncestor(window_, GA_ROOT))
                SetFocus(window_);
            SetCapture(window_);
            down_ = true;
            mouse_ |= msPressed;
            Repaint();
            m.Result = 0;
            return false;
        }
        case WM_MOUSEMOVE:
            if (down_) {
                RECT r;
                GetClientRect(window_, &r);
                POINT p{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
                const unsigned want = PtInRect(&r, p) ? (mouse_ | msPressed) : (mouse_ & ~msPressed);
                if (want != mouse_) {
                    mouse_ = want;
                    Repaint();
                }
            }
            return true;
        case WM_CAPTURECHANGED:
            if (down_ && reinterpret_cast<HWND>(m.LParam) != window_) {
                down_ = false;
                mouse_ &= ~msPressed;
                Repaint();
            }
            return true;
    }
    return true;
}

void TSkinButton::PostClick() {
    HWND parent = GetParent(window_);
    if (!parent) return;
    if (control_)
        PostMessageW(parent, WM_COMMAND, 0, reinterpret_cast<LPARAM>(window_));
    else
        PostMessageW(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(window_), BN_CLICKED), reinterpret_cast<LPARAM>(window_));
}

void TSkinButton::AfterMessage(ui::TMessage& m) {
    if (!data_ || !HasImage(data_->Buttons.get())) return TSkinControl::AfterMessage(m);
    switch (m.Msg) {
        case WM_KEYDOWN:
            if (m.WParam == VK_SPACE) {
                mouse_ |= msPressed;
                Repaint();
            }
            return;
        case WM_KEYUP:
            if (m.WParam == VK_SPACE) {
                mouse_ &= ~msPressed;
                Repaint();
            }
            return;
        case WM_LBUTTONUP:
            if (down_) {
                down_ = false;
                const bool inside = (mouse_ & msPressed) != 0;
                mouse_ &= ~msPressed;
                if (GetCapture() == window_) ReleaseCapture();
                Repaint();
                if (inside) PostClick();
            }
            return;
        case BM_SETSTATE:
        case BM_SETSTYLE:
        case WM_UPDATEUISTATE:
            // The system button draws these changes at once, without WM_PAINT.
            Repaint();
            return;
    }
    const int hot = HotChange(m);
    if (hot > 0 && !(mouse_ & msHot) && IsWindowEnabled(window_)) {
        mouse_ |= msHot;
        BecomeHot();
        Repaint();
        return;
    }
    if (hot < 0 && IsWindowEnabled(window_)) {
        // Leaving ends the press; with the mouse still captured, coming back in renews it.
        mouse_ &= ~unsigned(msHot | msPressed);
        StopBeingHot();
        Repaint();
        return;
    }
    TSkinControl::AfterMessage(m);
}

int TSkinButton::FaceFrame() {
    enabled_ = IsWindowEnabled(window_) != FALSE && !IsDisabled(window_);
    focused_ = GetFocus() == window_;
    const bool pushed = enabled_ && ((mouse_ & msPressed) || (Send(BM_GETSTATE) & BST_PUSHED));
    return kt::FaceFrame(enabled_, pushed, focused_ || (mouse_ & msHot));
}

void TSkinButton::Draw(HDC dc, const RECT& r) {
    const TDataSkinButton* e = data_ ? data_->Buttons.get() : nullptr;
    if (!HasImage(e)) return;
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return;
    const int frame = FaceFrame();
    StartFace(w, h);
    NinePiece(bitmap_.View(), {0, 0, w, h}, *e, frame, FaceCount());
    HDC bdc = bitmap_.Dc();
    HGDIOBJ oldFont = SelectObject(bdc, ControlFont());
    TColour text = data_->ButtonText;
    if (frame == 1) text = e->NormalColour2;
    if (frame == 4) text = e->MouseOverColour2;
    if (frame == 2) text = e->PressedColour2;
    const COLORREF colour = frame == 3 ? GetSysColor(COLOR_BTNSHADOW) : SkinColorRef(text);
    std::wstring caption = ui::WindowTextW(window_);
    if (caption.empty() && control_) caption = ui::ToWide(control_->Text());
    DrawContent(bdc, w, h, frame, caption, colour);
    SelectObject(bdc, oldFont);
    BitBlt(dc, r.left, r.top, w, h, bdc, 0, 0, SRCCOPY);
}

void TSkinButton::DrawContent(HDC bdc, int w, int h, int, const std::wstring& caption, COLORREF colour) {
    RECT calc{0, 0, w, h};
    SetBkMode(bdc, TRANSPARENT);
    SetTextColor(bdc, colour);
    DrawTextW(bdc, caption.c_str(), static_cast<int>(caption.size()), &calc, DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS);
    const int th = calc.bottom - calc.top;
    RECT tr{0, (h - th) / 2, w, (h - th) / 2 + th};
    DrawTextW(bdc, caption.c_str(), static_cast<int>(caption.size()), &tr, DT_CENTER | DT_EXPANDTABS);
}

// ---------------------------------------------------------------- TSkinBitButton, TSkinSpeedButton

bool TSkinBitButton::BeforeMessage(ui::TMessage& m) {
    // An owner-drawn button draws at once on some changes (press, focus): the skin draws then too.
    if (m.Msg == ui::CN_DRAWITEM && data_ && HasImage(data_->Buttons.get())) {
        RECT r;
        GetWindowRect(window_, &r);
        OffsetRect(&r, -r.left, -r.top);
        try {
            Draw(reinterpret_cast<const DRAWITEMSTRUCT*>(m.LParam)->hDC, r);
        } catch (...) {
        }
        m.Result = TRUE;
        return false;
    }
    return TSkinButton::BeforeMessage(m);
}

void TSkinBitButton::DrawContent(HDC bdc, int w, int h, int frame, const std::wstring& caption, COLORREF colour) {
    const auto* glyph = dynamic_cast<const ui::TButtonGlyph*>(control_);
    if (!glyph) return TSkinButton::DrawContent(bdc, w, h, frame, caption, colour);
    bool greyed = false;
    const int index = GlyphFrame(*glyph, greyed);
    glyph->DrawGlyphAndCaption(bdc, {0, 0, w, h}, caption, index, greyed, colour, 0);
}

bool TSkinSpeedButton::Pressed() const { return (mouse_ & msPressed) || (Send(BM_GETSTATE) & BST_PUSHED); }

bool TSkinSpeedButton::IsDown() const {
    const auto* speed = dynamic_cast<const ui::TSpeedButton*>(control_);
    return speed && speed->Down();
}

int TSkinSpeedButton::FaceFrame() {
    enabled_ = IsWindowEnabled(window_) != FALSE && !IsDisabled(window_);
    return kt::FaceFrame(enabled_, enabled_ && (Pressed() || IsDown()), (mouse_ & msHot) != 0);
}

int TSkinSpeedButton::GlyphFrame(const ui::TButtonGlyph& glyph, bool& greyed) {
    const bool enabled = IsWindowEnabled(window_) != FALSE && !IsDisabled(window_);
    const TGlyphState state = !enabled ? TGlyphState::Disabled
                              : Pressed() ? TGlyphState::Pressed
                              : IsDown()  ? TGlyphState::Down
                                          : TGlyphState::Up;
    return glyph.FrameFor(state, greyed);
}

// ---------------------------------------------------------------- TSkinCheckBox, radio buttons

bool TSkinCheckBox::BeforeMessage(ui::TMessage& m) {
    // The parent asks the control for its background: the skin's face, not the system's.
    if ((m.Msg == ui::CN_CTLCOLORSTATIC || m.Msg == ui::CN_CTLCOLORBTN) && data_) {
        SetBkColor(reinterpret_cast<HDC>(m.WParam), SkinColorRef(data_->FaceBrushColour));
        m.Result = reinterpret_cast<LRESULT>(face_.Get(*data_));
        return false;
    }
    return true;
}

void TSkinCheckBox::AfterMessage(ui::TMessage& m) {
    switch (m.Msg) {
        case BM_SETCHECK:
        case BM_SETSTATE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_LBUTTONDBLCLK:
        case WM_KEYUP:
        case WM_UPDATEUISTATE:
        case ui::CM_ENABLEDCHANGED:
            Repaint();
            return;
    }
    TSkinControl::AfterMessage(m);
}

int TSkinCheckBox::BoxFrame() const {
    return kt::BoxFrame((Send(BM_GETCHECK) & BST_CHECKED) != 0, IsDisabled(window_));
}

RECT TSkinCheckBox::BoxRect(const RECT& r) const {
    const TDataSkinButton& b = *data_->Buttons;
    const TBitmap32& image = radio_ ? b.RadioImage : b.CheckImage;
    const int count = std::max(1, radio_ ? b.RadioFrameCount : b.CheckFrameCount);
    const int bw = image.Width() / count, bh = image.Height();
    const bool right = (GetWindowLongW(window_, GWL_STYLE) & BS_RIGHTBUTTON) != 0;
    int x;
    if (bw < 15)
        x = right ? r.right - 14 + (14 - bw) / 2 : r.left + (14 - bw) / 2;
    else
        x = right ? r.right - 1 - bw : r.left;
    const int y = r.top + (r.bottom - r.top - bh) / 2;
    return {x, y, x + bw, y + bh};
}

void TSkinCheckBox::Draw(HDC dc, const RECT& r) {
    if (!data_ || !data_->Buttons) return;
    const TDataSkinButton& b = *data_->Buttons;
    const TBitmap32& image = radio_ ? b.RadioImage : b.CheckImage;
    const int count = std::max(1, radio_ ? b.RadioFrameCount : b.CheckFrameCount);
    if (image.Empty()) return;
    const RECT box = BoxRect(r);
    const int frame = BoxFrame();
    TDibBitmap work;
    OverDraw(work, dc, box, [&](PixelView v) {
        const TRectI all{0, 0, v.Width, v.Height};
        FillRect(v, all, SkinPixel(data_->ButtonFace));
        DrawSingleFrame(v, all, image, true, count, frame);
    });
}

}  // namespace kt
