// Scroll bars from the skin: over a scrolling control's frame (list boxes, memos, list views)
// and the stand-alone scroll bar control; the thumb's geometry.
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

// ---------------------------------------------------------------- scroll bars

TThumb ThumbGeometry(const SCROLLINFO& si, int length, int arrow, int minThumb) {
    return ThumbGeometry(TScrollNumbers{si.nMin, si.nMax, si.nPage, si.nPos}, length, arrow, minThumb);
}

namespace {
// One bar composed 16 pixels thick and as long as the bar, then stretched onto its rectangle.
void DrawBar(HDC dc, const RECT& r, bool horz, const TScrollState& s, const TSkinData& d) {
    const int len = horz ? r.right - r.left : r.bottom - r.top;
    const int thick = horz ? r.bottom - r.top : r.right - r.left;
    if (len <= 0 || thick <= 0) return;
    TDibBitmap bar(horz ? len : 16, horz ? 16 : len);
    GdiFlush();
    PixelView v = bar.View();
    FillRect(v, {0, 0, v.Width, v.Height}, SkinPixel(d.ScrollbarColour));
    const int b = GetSystemMetrics(SM_CXHSCROLL);
    const int arrow = len < 2 * b ? len / 2 : b;
    auto along = [&](int from, int to) { return horz ? TRectI{from, 0, to, 16} : TRectI{0, from, 16, to}; };
    const TDataSkinObject* track = horz ? d.HorzScroll.get() : d.VertScroll.get();
    if (track && !track->Image.Empty())
        NinePiece(v, along(arrow, len - arrow), *track, 1, track->FrameCount > 0 ? track->FrameCount : 4);
    if (d.Scrollbar && !d.Scrollbar->Image.Empty()) {
        const int first = (horz ? 1 : 9) + (s.Pressed == SB_LINEUP ? 1 : 0);
        const int second = (horz ? 5 : 13) + (s.Pressed == SB_LINEDOWN ? 1 : 0);
        DrawSingleFrame(v, along(0, arrow), d.Scrollbar->Image, false, 23, first);
        DrawSingleFrame(v, along(len - arrow, len), d.Scrollbar->Image, false, 23, second);
    }
    const TDataSkinObject* thumb = horz ? d.HorzScrollThumb.get() : d.VertScrollThumb.get();
    if (s.Enabled && thumb && !thumb->Image.Empty()) {
        const TThumb t = ThumbGeometry(s.Info, len, arrow, GetSystemMetrics(horz ? SM_CXHTHUMB : SM_CYVTHUMB));
        if (t.Length > 0)
            NinePiece(v, along(t.Offset, t.Offset + t.Length), *thumb, s.Pressed == SB_THUMBTRACK ? 2 : 1);
    }
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, bar.Dc(), 0, 0, v.Width, v.Height, SRCCOPY);
}

bool SameInfo(const SCROLLINFO& a, const SCROLLINFO& b) {
    return a.nMin == b.nMin && a.nMax == b.nMax && a.nPage == b.nPage && a.nPos == b.nPos;
}

int PressedFor(WPARAM w) {
    switch (LOWORD(w)) {
        case SB_LINEUP: return SB_LINEUP;
        case SB_LINEDOWN: return SB_LINEDOWN;
        case SB_THUMBTRACK: return SB_THUMBTRACK;
        default: return -1;
    }
}
}  // namespace

void TSkinScrollBar::AttachControl(ui::TWinControl& control, TSkinData& data, bool recolour) {
    TSkinControl::AttachControl(control, data, recolour);
    SetWindowPos(window_, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED |
                     (IsWindowVisible(window_) ? SWP_SHOWWINDOW : 0));
}

void TSkinScrollBar::AttachWindow(HWND window, TSkinData& data) {
    TSkinControl::AttachWindow(window, data);
    SetWindowPos(window_, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED |
                     (IsWindowVisible(window_) ? SWP_SHOWWINDOW : 0));
}

void TSkinScrollBar::BarRects(RECT& vert, RECT& horz, RECT& corner) const {
    vert = horz = corner = RECT{};
    RECT wr, cr;
    GetWindowRect(window_, &wr);
    GetClientRect(window_, &cr);
    MapWindowPoints(window_, nullptr, reinterpret_cast<POINT*>(&cr), 2);
    OffsetRect(&cr, -wr.left, -wr.top);
    const LONG style = GetWindowLongW(window_, GWL_STYLE);
    const bool v = (style & WS_VSCROLL) != 0, h = (style & WS_HSCROLL) != 0;
    const int bv = GetSystemMetrics(SM_CXVSCROLL), bh = GetSystemMetrics(SM_CYHSCROLL);
    // The bars lie right of and below the client area, inside the border.
    if (v) vert = {cr.right, cr.top, cr.right + bv, cr.bottom};
    if (h) horz = {cr.left, cr.bottom, cr.right, cr.bottom + bh};
    if (v && h) corner = {cr.right, cr.bottom, cr.right + bv, cr.bottom + bh};
}

bool TSkinScrollBar::ScrollChanged() {
    bool changed = false;
    for (int bar : {SB_VERT, SB_HORZ}) {
        TScrollState& s = bar == SB_VERT ? vert_ : horz_;
        SCROLLINFO si{sizeof si, SIF_ALL};
        if (!GetScrollInfo(window_, bar, &si)) si = SCROLLINFO{sizeof si};
        if (!SameInfo(si, s.Info)) changed = true;
        s.Info = si;
    }
    return changed;
}

void TSkinScrollBar::PaintBars(HDC dc) {
    RECT wr;
    GetWindowRect(window_, &wr);
    const LONG style = GetWindowLongW(window_, GWL_STYLE);
    if (wr.right - wr.left > 10000 || wr.bottom - wr.top > 10000 || !(style & (WS_HSCROLL | WS_VSCROLL))) return;
    ScrollChanged();
    // A disabled control's bars show no thumb, as the system's do.
    vert_.Enabled = horz_.Enabled = !IsDisabled(window_);
    RECT v, h, corner;
    BarRects(v, h, corner);
    if (!IsRectEmpty(&v)) DrawBar(dc, v, false, vert_, *data_);
    if (!IsRectEmpty(&h)) DrawBar(dc, h, true, horz_, *data_);
    if (!IsRectEmpty(&corner)) FillFace(dc, corner);
}

void TSkinScrollBar::PaintFrame(HDC dc) {
    if (!IsWindow(window_) || !data_) return;
    HDC use = dc ? dc : GetWindowDC(window_);
    if (!use) return;
    try {
        PaintBars(use);
    } catch (...) {
    }
    if (!dc) ReleaseDC(window_, use);
}

bool TSkinScrollBar::DragThumb(bool horz, POINT at) {
    RECT v, h, corner;
    BarRects(v, h, corner);
    const RECT bar = horz ? h : v;
    const int len = horz ? bar.right - bar.left : bar.bottom - bar.top;
    const int b = GetSystemMetrics(SM_CXHSCROLL);
    const int arrow = len < 2 * b ? len / 2 : b;
    TScrollState& s = horz ? horz_ : vert_;
    ScrollChanged();
    const SCROLLINFO si = s.Info;
    const TThumb t = ThumbGeometry(si, len, arrow, GetSystemMetrics(horz ? SM_CXHTHUMB : SM_CYVTHUMB));
    const int along = horz ? at.x - bar.left : at.y - bar.top;
    if (t.Length == 0 || along < t.Offset || along >= t.Offset + t.Length) return false;  // not on the thumb

    const UINT scrollMsg = horz ? WM_HSCROLL : WM_VSCROLL;
    const int track = len - 2 * arrow - t.Length;
    const int span = si.nMax - si.nMin + 1 - static_cast<int>(std::max<UINT>(si.nPage, 1)) + 1;
    const int lastAllowed = si.nMax - static_cast<int>(si.nPage) + (si.nPage ? 1 : 0);
    RECT wr;
    GetWindowRect(window_, &wr);
    POINT start{at.x + wr.left, at.y + wr.top};
    int pos = si.nPos;
    s.Pressed = SB_THUMBTRACK;
    PaintFrame(nullptr);
    SetCapture(window_);
    const int button = GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON;
    for (bool dragging = true; dragging && IsWindow(window_);) {
        MSG msg;
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            // Released where no message of ours arrives (outside the program's windows).
            if (!(GetAsyncKeyState(button) & 0x8000) || GetCapture() != window_) break;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
            continue;
        }
        switch (msg.message) {
            case WM_QUIT: PostQuitMessage(static_cast<int>(msg.wParam)); dragging = false; break;
            case WM_LBUTTONUP:
            case WM_NCLBUTTONUP: dragging = false; break;
            case WM_MOUSEMOVE:
            case WM_NCMOUSEMOVE: {
                POINT p{static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam))};
                if (msg.message == WM_MOUSEMOVE) ClientToScreen(msg.hwnd, &p);
                const int delta = horz ? p.x - start.x : p.y - start.y;
                const int offset = std::clamp(t.Offset - arrow + delta, 0, std::max(track, 0));
                int want = si.nMin + (track > 0 ? MulDiv(offset, span - 1, track) : 0);
                want = std::max(si.nMin, std::min(want, lastAllowed));
                if (want != pos) {
                    pos = want;
                    SCROLLINFO set{sizeof set, SIF_POS, 0, 0, 0, pos, 0};
                    SetScrollInfo(window_, horz ? SB_HORZ : SB_VERT, &set, FALSE);
                    SendMessageW(window_, scrollMsg, MAKEWPARAM(SB_THUMBTRACK, pos), 0);
                    PaintFrame(nullptr);
                }
                break;
            }
            default:
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
        }
        if (GetCapture() != window_) dragging = false;
    }
    if (GetCapture() == window_) ReleaseCapture();
    if (!IsWindow(window_)) return true;
    SendMessageW(window_, scrollMsg, MAKEWPARAM(SB_THUMBPOSITION, pos), 0);
    PostMessageW(window_, scrollMsg, SB_ENDSCROLL, 0);
    s.Pressed = -1;
    PaintFrame(nullptr);
    return true;
}

bool TSkinScrollBar::BeforeMessage(ui::TMessage& m) {
    switch (m.Msg) {
        case WM_NCLBUTTONDOWN:
            if (m.WParam == HTHSCROLL || m.WParam == HTVSCROLL) {
                RECT wr;
                GetWindowRect(window_, &wr);
                const POINT at{static_cast<short>(LOWORD(m.LParam)) - wr.left, static_cast<short>(HIWORD(m.LParam)) - wr.top};
                if (DragThumb(m.WParam == HTHSCROLL, at)) {
                    m.Result = 0;
                    return false;
                }
            }
            break;
        case WM_NCMOUSEMOVE:
            if (m.WParam == HTHSCROLL || m.WParam == HTVSCROLL) {
                m.Result = 0;
                return false;
            }
            break;
        case WM_HSCROLL:
            horz_.Pressed = PressedFor(m.WParam);
            break;
        case WM_VSCROLL:
            vert_.Pressed = PressedFor(m.WParam);
            break;
    }
    return true;
}

void TSkinScrollBar::AfterMessage(ui::TMessage& m) {
    switch (m.Msg) {
        case WM_NCPAINT: PaintFrame(nullptr); return;
        case WM_PRINT: PaintFrame(reinterpret_cast<HDC>(m.WParam)); return;
        case WM_HSCROLL:
        case WM_VSCROLL:
        case WM_NCLBUTTONUP:
        case WM_CAPTURECHANGED:
        case WM_ENABLE:
        case ui::CM_ENABLEDCHANGED:
            if (m.Msg == WM_NCLBUTTONUP || m.Msg == WM_CAPTURECHANGED) vert_.Pressed = horz_.Pressed = -1;
            PaintFrame(nullptr);
            return;
        case WM_NCDESTROY: TSkinControl::AfterMessage(m); return;
        case WM_PAINT: return;  // the control paints its client; the bars are the frame's
    }
    TSkinControl::AfterMessage(m);
    // The system draws its own bar at once whenever the numbers change (a key, the wheel, new items).
    if (Attached() && ScrollChanged()) PaintFrame(nullptr);
}

void TSkinListView::AttachControl(ui::TWinControl& control, TSkinData& data, bool recolour) {
    TSkinScrollBar::AttachControl(control, data, recolour);
    HWND header = reinterpret_cast<HWND>(Send(LVM_GETHEADER));
    if (header)
        if (auto p = MakePainter(TPainterKind::Header, host_)) p.release()->AttachWindow(header, data);
}

bool TSkinScControl::BeforeMessage(ui::TMessage& m) {
    if (!data_ || !HasImage(data_->Scrollbar.get())) return true;
    if (PaintWhole(m)) return false;
    switch (m.Msg) {
        case ui::CN_HSCROLL:
        case ui::CN_VSCROLL:
            state_.Pressed = PressedFor(m.WParam);
            break;
    }
    return true;
}

void TSkinScControl::AfterMessage(ui::TMessage& m) {
    // Asking the control for its numbers is itself a message (SBM_GETSCROLLINFO): not again from there.
    const bool ownQuestion = m.Msg >= SBM_SETPOS && m.Msg <= SBM_GETSCROLLBARINFO;
    if (!data_ || !HasImage(data_->Scrollbar.get()) || m.Msg == WM_PAINT || m.Msg == WM_NCDESTROY || ownQuestion)
        return TSkinControl::AfterMessage(m);
    SCROLLINFO si{sizeof si, SIF_ALL};
    GetScrollInfo(window_, SB_CTL, &si);
    bool repaint = !SameInfo(si, state_.Info);
    switch (m.Msg) {
        case WM_LBUTTONUP:
        case WM_CAPTURECHANGED:
            state_.Pressed = -1;
            repaint = true;
            break;
        case WM_LBUTTONDOWN:
        case ui::CN_HSCROLL:
        case ui::CN_VSCROLL:
            repaint = true;
            break;
    }
    state_.Info = si;
    // The system control draws itself at once on a press or a new position: ours goes over it.
    if (repaint) Repaint();
    TSkinControl::AfterMessage(m);
}

void TSkinScControl::Draw(HDC dc, const RECT& r) {
    state_.Info = SCROLLINFO{sizeof(SCROLLINFO), SIF_ALL};
    GetScrollInfo(window_, SB_CTL, &state_.Info);
    state_.Enabled = !IsDisabled(window_);
    const bool vert = (GetWindowLongW(window_, GWL_STYLE) & SBS_VERT) != 0;
    DrawBar(dc, r, !vert, state_, *data_);
}

}  // namespace kt
