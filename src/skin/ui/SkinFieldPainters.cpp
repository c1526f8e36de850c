// Painters of input fields and their companions: combo boxes (the arrow button), edits (the
// border), up-down arrows, track bars, progress bars and size grips.
#include "skin/ui/SkinPainters.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "skin/data/PainterGeometry.h"
#include "skin/data/SkinDraw.h"
#include "skin/ui/SkinColours.h"
#include "skin/ui/SkinPainterParts.h"
#include "ui/ComCtrls.h"
#include "ui/Dialogs.h"
#include "ui/Tabs.h"

namespace kt {

using namespace paint;

// ---------------------------------------------------------------- TSkinComBox

void TSkinComBox::AfterMessage(ui::TMessage& m) {
    switch (m.Msg) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            mouse_ |= msPressed;
            Repaint();
            return;
        case WM_LBUTTONUP:
            mouse_ &= ~msPressed;
            Repaint();
            return;
    }
    const int hot = HotChange(m);
    if (hot != 0) {
        mouse_ = hot > 0 ? (mouse_ | msHot) : 0;
        if (hot > 0) BecomeHot(); else StopBeingHot();
        Repaint();
        return;
    }
    TSkinControl::AfterMessage(m);
    // The list closing and the edit part's focus change the system's own drawing of the box.
    if (m.Msg == CB_SHOWDROPDOWN || m.Msg == WM_CAPTURECHANGED) Repaint();
}

int TSkinComBox::ButtonFrame() const {
    if (IsDisabled(window_)) return 3;
    if (mouse_ & msPressed) return 2;
    HWND f = GetFocus();
    if ((mouse_ & msHot) || f == window_ || (f && IsChild(window_, f))) return 4;
    return 1;
}

void TSkinComBox::Draw(HDC dc, const RECT& r) {
    if (!data_ || !HasImage(data_->ComboButton.get())) return;
    const TDataSkinObject& button = *data_->ComboButton;
    const int frame = ButtonFrame();
    // The window rectangle of a combo box includes its dropped list: the box is the client's
    // height, with the border of a control that has one (a date picker).
    RECT client;
    GetClientRect(window_, &client);
    POINT origin{0, 0};
    ClientToScreen(window_, &origin);
    RECT wr;
    GetWindowRect(window_, &wr);
    const int border = std::max<int>(origin.y - wr.top, 0);
    RECT box{r.left, r.top, r.right, std::min<LONG>(r.bottom, r.top + client.bottom + 2 * border)};
    TDibBitmap work;
    if (button.Style == 1) {
        const int bw = GetSystemMetrics(SM_CYVTHUMB);
        RECT area{box.right - bw - 1, box.top + 1, box.right - 1, box.bottom - 1};
        OverDraw(work, dc, area, [&](PixelView v) {
            FillRect(v, {0, 0, v.Width, v.Height}, SkinPixel(data_->ButtonShadow));
            DrawSingleFrame(v, {1, 1, v.Width - 1, v.Height - 1}, button.Image, button.Trans == 1,
                            std::max(1, button.FrameCount), frame);
        });
        return;
    }
    if (!HasImage(data_->SunkEdge.get())) return;
    const TDataSkinObject& sunk = *data_->SunkEdge;
    const int bw = GetSystemMetrics(SM_CXHSCROLL) + 2;
    OverDraw(work, dc, box, [&](PixelView v) {
        const int W = v.Width, H = v.Height;
        // The edges from the sunken-edge picture: one or two pixels, as its margins say.
        const int L = std::clamp(sunk.LeftWidth, 1, 2), T = std::clamp(sunk.TopHeight, 1, 2),
                  B = std::clamp(sunk.BottomHeight, 1, 2);
        TBitmap32 edge = BuildNinePiece(sunk.Image, sunk.Margins(), false, sunk.Tile != 0,
                                        std::max(1, sunk.FrameCount), frame == 3 ? std::min(3, sunk.FrameCount) : 1, W, H);
        if (edge.Empty()) return;
        auto copy = [&](int x0, int y0, int x1, int y1) {
            for (int y = y0; y < y1; ++y)
                for (int x = x0; x < x1; ++x) v.Row(y)[x] = edge.At(x, y);
        };
        copy(0, 0, L, H);
        copy(0, 0, W, T);
        copy(0, H - B, W, H);
        copy(W - 2, 0, W, H);
        const TRectI area{W - bw, T, W - 2, H - B};
        FillRect(v, area, SkinPixel(data_->ButtonFace));
        NinePiece(v, area, button, frame);
        if (HasImage(data_->ExtraImages.get())) {
            const TDataSkinObject& x = *data_->ExtraImages;
            const int fw = x.Image.Width() / 5, fh = x.Image.Height();
            const int ax = area.Left + (area.Width() - fw) / 2, ay = area.Top + (area.Height() - fh) / 2;
            DrawSingleFrame(v, {ax, ay, ax + fw, ay + fh}, x.Image, true, 5, frame);
        }
    });
}

// ---------------------------------------------------------------- TSkinEdit

void TSkinEdit::AfterMessage(ui::TMessage& m) {
    if ((m.Msg == WM_PAINT && m.WParam == 0) || m.Msg == WM_NCPAINT) {
        PaintFrame(nullptr);
        return;
    }
    if (m.Msg == WM_PRINT) {
        PaintFrame(reinterpret_cast<HDC>(m.WParam));
        return;
    }
    if (m.Msg == WM_PAINT) return;
    TSkinControl::AfterMessage(m);
}

void TSkinEdit::Draw(HDC dc, const RECT& r) {
    if (!lookedForUpDown_) {
        lookedForUpDown_ = true;
        for (HWND c = GetWindow(window_, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            wchar_t name[32] = {};
            GetClassNameW(c, name, 32);
            if (lstrcmpiW(name, L"msctls_updown32") == 0 || lstrcmpiW(name, L"TSpinButton") == 0) {
                if (auto p = MakePainter(TPainterKind::UpDown, host_)) p.release()->AttachWindow(c, *data_);
                break;
            }
        }
    }
    RECT client;
    GetClientRect(window_, &client);
    if (client.right >= r.right - r.left && client.bottom >= r.bottom - r.top) return;  // no border
    HBRUSH shadow = CreateSolidBrush(SkinColorRef(data_->ButtonShadow));
    HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
    RECT inner = r;
    InflateRect(&inner, -1, -1);
    ::FrameRect(dc, &r, shadow);
    ::FrameRect(dc, &inner, white);
    DeleteObject(shadow);
    DeleteObject(white);
}

// ---------------------------------------------------------------- TSkinTrackBar

bool TSkinTrackBar::BeforeMessage(ui::TMessage& m) {
    if (m.Msg == WM_ERASEBKGND) {
        RECT r;
        GetClientRect(window_, &r);
        FillFace(reinterpret_cast<HDC>(m.WParam), r);
        m.Result = 1;
        return false;
    }
    if (m.Msg != ui::CN_NOTIFY && m.Msg != WM_NOTIFY) return true;
    auto* cd = reinterpret_cast<NMCUSTOMDRAW*>(m.LParam);
    if (!cd || cd->hdr.code != NM_CUSTOMDRAW || cd->hdr.hwndFrom != window_) return true;
    if (!HasImage(data_->Buttons.get())) return true;
    if (cd->dwDrawStage == CDDS_PREPAINT) {
        m.Result = CDRF_NOTIFYITEMDRAW;
        return false;
    }
    if (cd->dwDrawStage != CDDS_ITEMPREPAINT) return true;
    if (cd->dwItemSpec == TBCD_THUMB) {
        TDibBitmap work;
        const int frame = IsDisabled(window_) ? 3 : 4;
        OverDraw(work, cd->hdc, cd->rc, [&](PixelView v) {
            NinePiece(v, {0, 0, v.Width, v.Height}, *data_->Buttons, frame, 5);
        });
        m.Result = CDRF_SKIPDEFAULT;
        return false;
    }
    if (cd->dwItemSpec == TBCD_CHANNEL) {
        HBRUSH b = CreateSolidBrush(SkinColorRef(data_->ButtonShadow));
        ::FillRect(cd->hdc, &cd->rc, b);
        DeleteObject(b);
        m.Result = CDRF_SKIPDEFAULT;
        return false;
    }
    return true;
}

// ---------------------------------------------------------------- TSkinUpDown

const TDataSkinBorder* TSkinUpDown::Element() const {
    const bool horz = (GetWindowLongW(window_, GWL_STYLE) & UDS_HORZ) != 0;
    const TDataSkinBorder* e = horz ? data_->UpDownHorz.get() : data_->UpDownVert.get();
    return HasImage(e) ? e : nullptr;
}

// Without the skin's pictures the arrows still take the skin's colours (DrawFlat).
bool TSkinUpDown::HasPicture() const { return true; }

void TSkinUpDown::AfterMessage(ui::TMessage& m) {
    switch (m.Msg) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            RECT r;
            GetClientRect(window_, &r);
            const bool horz = (GetWindowLongW(window_, GWL_STYLE) & UDS_HORZ) != 0;
            const int x = static_cast<short>(LOWORD(m.LParam)), y = static_cast<short>(HIWORD(m.LParam));
            pressedHalf_ = horz ? (x >= r.right / 2 ? 1 : 0) : (y >= r.bottom / 2 ? 1 : 0);
            Repaint();
            return;
        }
        case WM_LBUTTONUP:
        case WM_CAPTURECHANGED:
            pressedHalf_ = -1;
            Repaint();
            return;
    }
    const int hot = HotChange(m);
    if (hot != 0) {
        mouse_ = hot > 0 ? unsigned(msHot) : 0u;
        Repaint();
        return;
    }
    TSkinControl::AfterMessage(m);
}

void TSkinUpDown::DrawFlat(int w, int h, bool horz) {
    // A flat button per half in the skin's face colour: a dark outer and a shadow inner edge at
    // the right and bottom (at the left and top while pressed), the arrow in lines.
    HDC bdc = bitmap_.Dc();
    const bool disabled = IsDisabled(window_);
    auto fill = [bdc](const TRectI& r, TColour c) {
        const RECT rr{r.Left, r.Top, r.Right, r.Bottom};
        HBRUSH b = CreateSolidBrush(SkinColorRef(c));
        ::FillRect(bdc, &rr, b);
        DeleteObject(b);
    };
    for (int half = 0; half < 2; ++half) {
        TRectI b = horz ? TRectI{half * w / 2, 0, (half + 1) * w / 2, h} : TRectI{0, half * h / 2, w, (half + 1) * h / 2};
        const bool pressed = !disabled && pressedHalf_ == half;
        for (TColour edge : {data_->ButtonDkShadow, data_->ButtonShadow}) {
            if (b.IsEmpty()) break;
            if (pressed) {
                fill({b.Left, b.Top, b.Right, b.Top + 1}, edge);
                fill({b.Left, b.Top, b.Left + 1, b.Bottom}, edge);
                b = {b.Left + 1, b.Top + 1, b.Right, b.Bottom};
            } else {
                fill({b.Left, b.Bottom - 1, b.Right, b.Bottom}, edge);
                fill({b.Right - 1, b.Top, b.Right, b.Bottom}, edge);
                b = {b.Left, b.Top, b.Right - 1, b.Bottom - 1};
            }
        }
        const TArrow toward = horz ? (half ? TArrow::Right : TArrow::Left) : (half ? TArrow::Down : TArrow::Up);
        for (const TRectI& line : ArrowLines(b, toward)) fill(line, disabled ? data_->ButtonShadow : data_->ButtonText);
    }
}

void TSkinUpDown::Draw(HDC dc, const RECT& r) {
    const bool horz = (GetWindowLongW(window_, GWL_STYLE) & UDS_HORZ) != 0;
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return;
    StartFace(w, h);
    const TDataSkinBorder* e = Element();
    if (!e) {
        DrawFlat(w, h, horz);
        BitBlt(dc, r.left, r.top, w, h, bitmap_.Dc(), 0, 0, SRCCOPY);
        return;
    }
    const int count = std::max(1, e->FrameCount);
    const int perHalf = std::max(1, count / 2);
    const bool disabled = IsDisabled(window_);
    for (int half = 0; half < 2; ++half) {
        const TRectI hr = horz ? TRectI{half * w / 2, 0, (half + 1) * w / 2, h} : TRectI{0, half * h / 2, w, (half + 1) * h / 2};
        int state = disabled ? 3 : pressedHalf_ == half ? 2 : (mouse_ & msHot) ? 4 : 1;
        state = std::min(state, perHalf);
        const int frame = half * perHalf + state;
        NinePiece(bitmap_.View(), hr, *e, frame, count);
        if (!e->Image2.Empty()) DrawSingleFrame(bitmap_.View(), hr, e->Image2, true, count, frame);
    }
    BitBlt(dc, r.left, r.top, w, h, bitmap_.Dc(), 0, 0, SRCCOPY);
}

// ---------------------------------------------------------------- TSkinProgress

bool TSkinProgress::HasPicture() const { return HasImage(data_->Progress.get()); }

void TSkinProgress::Draw(HDC dc, const RECT& r) {
    const TDataSkinBorder& p = *data_->Progress;
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return;
    StartFace(w, h);
    NinePiece(bitmap_.View(), {0, 0, w, h}, p, 1, 2);
    const int lo = static_cast<int>(Send(PBM_GETRANGE, TRUE, 0)), hi = static_cast<int>(Send(PBM_GETRANGE, FALSE, 0));
    const int pos = std::clamp(static_cast<int>(Send(PBM_GETPOS)), lo, std::max(lo, hi));
    const int len = hi > lo ? MulDiv(w, pos - lo, hi - lo) : 0;
    if (len > 0) {
        if (!p.Image2.Empty()) {
            const int cw = p.Image2.Width();
            for (int x = 3; x + cw <= std::min(len, w - 3); x += cw)
                DrawSingleFrame(bitmap_.View(), {x, 2, x + cw, h - 2}, p.Image2, true, 1, 1);
        } else {
            NinePiece(bitmap_.View(), {0, 0, len, h}, p, 2, 2);
        }
    }
    BitBlt(dc, r.left, r.top, w, h, bitmap_.Dc(), 0, 0, SRCCOPY);
}

// ---------------------------------------------------------------- TSkinSizer

bool TSkinSizer::BeforeMessage(ui::TMessage& m) {
    if (m.Msg == WM_PAINT) {
        ValidateRect(window_, nullptr);
        m.Result = 0;
        return false;
    }
    if (m.Msg == WM_ERASEBKGND) {
        m.Result = 1;
        return false;
    }
    return true;
}

}  // namespace kt
