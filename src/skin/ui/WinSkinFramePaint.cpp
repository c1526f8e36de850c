// The frame's painting (edges, caption, title buttons, from the skin's pictures), its window
// region and the window size that keeps the client area as it was with the system's frame.
#include "skin/ui/WinSkinForm.h"

#include <windowsx.h>

#include <algorithm>
#include <cstddef>

#include "core/WindowFit.h"
#include "skin/ui/SkinColours.h"
#include "skin/ui/SkinManage.h"
#include "skin/ui/SkinRegion.h"
#include "skin/ui/WinSkinFrameParts.h"
#include "ui/ExtCtrls.h"

namespace kt {

using namespace frame;

// ---- painting --------------------------------------------------------------------------------

void TWinSkinForm::RepaintFrame() {
    if (!window_ || !frameProc_.Installed()) return;
    HDC dc = GetWindowDC(window_);
    if (!dc) return;
    PaintFrame(dc);
    ReleaseDC(window_, dc);
}

void TWinSkinForm::PaintFrame(HDC dc) {
    if (FrameState != kFrameNormal && FrameState != kFrameReskin) return;
    if (borderKind_ == kBorderPopup || !skinData_ || skinData_->Reloading()) return;
    if (mdiRole_ == kMdiChild && windowState_ != kWindowNormal) return;
    try {
        const SIZE s = WindowSize(window_);
        const int W = s.cx, H = s.cy;
        if (W <= 0 || H <= 0) return;
        TSkinData& d = *skinData_;
        DrawEdge(leftEdge_, *d.FrameLeft, false, active_, leftWidth_, H);
        DrawEdge(rightEdge_, *d.FrameRight, false, active_, rightWidth_, H);
        const int bw = W - leftWidth_ - rightWidth_;
        DrawEdge(bottomEdge_, *d.FrameBottom, true, active_, bw, bottomHeight_);
        if (!leftEdge_.Empty()) leftEdge_.Draw(dc, 0, 0);
        if (!rightEdge_.Empty()) rightEdge_.Draw(dc, W - rightWidth_, 0);
        if (!bottomEdge_.Empty()) bottomEdge_.Draw(dc, leftWidth_, H - bottomHeight_);
        ComposeCaption(W);
        if (!caption_.Empty()) caption_.Draw(dc, 0, 0);
        // The system draws its own, taller caption on deactivation: below a short caption the
        // strip it reaches takes the face again.
        const int systemCaption = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CXFRAME);
        if (!active_ && captionHeight_ + menuBarHeight_ < systemCaption) {
            const RECT strip{leftWidth_, captionHeight_, W - rightWidth_, systemCaption - menuBarHeight_};
            ::FillRect(dc, &strip, FaceBrush());
        }
        if (menuBar_ && menuBarHeight_ > 0) {
            const RECT r{leftWidth_, captionHeight_, W - rightWidth_, captionHeight_ + menuBarHeight_};
            menuBar_->Paint(dc, r);
        }
        // A press survives the repaint: clicking a button of an inactive window activates it
        // (and repaints the frame) between the press and the release.
        if (!(HotObject && HotObject->State == kNCPressed && (GetKeyState(VK_LBUTTON) & 0x8000))) HotObject = nullptr;
    } catch (...) {
        // A bad skin picture must not break the window's message loop.
    }
}

void TWinSkinForm::ComposeCaption(int W) {
    if (captionHeight_ <= 0 || W <= 0) {
        caption_.SetSize(0, 0);
        return;
    }
    TSkinData& d = *skinData_;
    caption_.SetSize(W, captionHeight_);
    GdiFlush();
    PixelView v = caption_.View();
    FillRect(v, {0, 0, W, captionHeight_}, 0);
    // The side edges own the corners: their top rows come first.
    auto copyTop = [&](TDibBitmap& edge, int x) {
        if (edge.Empty()) return;
        const int h = std::min(edge.Height(), captionHeight_);
        ConstPixelView src = edge.View();
        OpaqueCopy(v, x, 0, SubView(src, {0, 0, edge.Width(), h}));
    };
    copyTop(leftEdge_, 0);
    copyTop(rightEdge_, W - rightWidth_);
    const TDataSkinBorder& top = *d.FrameTop;
    if (!top.Image.Empty() && W - leftWidth_ - rightWidth_ > 0) {
        const int frame = active_ || Count(top) == 1 ? 1 : 2;
        DrawNinePiece(v, {leftWidth_, 0, W - rightWidth_, captionHeight_}, top.Image, top.Margins(), true,
                      top.Tile != 1, Count(top), frame, false);
    }

    // Title text.
    const TDataSkinTitle& title = *d.Title;
    const int shift = title.LeftWidth, shiftVert = title.TopHeight, rightClip = title.RightWidth;
    const int backL = title.TextBackLeft, backR = title.TextBackRight;
    wchar_t buffer[1001] = {};
    GetWindowTextW(window_, buffer, 1000);
    std::wstring text = ui::ToWide(captionPrefix_) + buffer + ui::ToWide(captionSuffix_);
    HDC dc = caption_.Dc();
    HGDIOBJ oldFont = SelectObject(dc, captionFont_ ? captionFont_ : GetStockObject(DEFAULT_GUI_FONT));
    RECT ext{0, 0, 0, 0};
    DrawTextW(dc, text.c_str(), int(text.size()), &ext, DT_CALCRECT | DT_NOCLIP | DT_SINGLELINE);
    const int tw = ext.right - ext.left + backL + backR, th = ext.bottom - ext.top;
    const RECT cap{leftWidth_, 0, W - rightWidth_, captionHeight_};
    int left = cap.left;
    switch (title.TextAlignment) {
    case 0: left = cap.left + shift; break;
    case 1: left = cap.left + ((cap.right - cap.left) - tw) / 2; break;
    case 2: left = cap.right + rightClip - tw; break;
    default: break;
    }
    RECT tr{left, (captionHeight_ - th) / 2 + shiftVert / 2, left + tw, 0};
    tr.bottom = tr.top + th;
    if (savedStyle_ & WS_POPUP) {
        if (tr.right < rightmostButtonLeft_ - 5) tr.right = rightmostButtonLeft_ - 5;
    } else if (tr.right > cap.right - rightClip) {
        tr.right = cap.right - rightClip;
    }
    titleRect_ = tr;
    if (!title.Image.Empty() && tr.right > tr.left) {
        DrawThreePiece(v, {tr.left, tr.top, tr.right, tr.bottom}, title.Image, true, true, 2, active_ ? 1 : 2, backL,
                       backR);
        GdiFlush();
    }
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, SkinColorRef(active_ ? d.TitleTextActive : d.TitleTextNoActive));
    RECT textRect{tr.left + backL, tr.top, tr.right - backR, tr.bottom};
    if (textRect.right > textRect.left)
        DrawTextW(dc, text.c_str(), int(text.size()), &textRect, DT_END_ELLIPSIS | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, oldFont);
    GdiFlush();

    // Title buttons, each in the frame its state asks for.
    LayOutTitleButtons(W);
    for (auto& b : titleButtons_) {
        const TDataSkinSysButton& e = b->Element;
        TTitleButtonSpot spot{b->Visible, e.Action, {b->Rect.left, b->Rect.top, b->Rect.right, b->Rect.bottom}};
        if (!DrawnInCaption(e, spot)) continue;
        const TTitleButtonFrame f = b->State == kNCNormal ? CaptionButtonFrame(e, active_) : StateButtonFrame(e, b->State);
        const RECT& r = b->Rect;
        if (f.WindowIcon && !icon_.Empty()) {
            TransparentCopy(v, r.left, r.top, icon_.View());
        } else if (!e.Image.Empty()) {
            const TRectI fr = FrameRect(e.Image.Width(), e.Image.Height(), false, Count(e), f.Frame);
            if (!fr.IsEmpty()) TransparentCopy(v, r.left, r.top, SubView(e.Image.View(), fr));
        }
    }
}

void TWinSkinForm::PaintTitleButton(TWinSysButton&) {
    // A button's new state: the caption is composed again (it is small) and copied in one go,
    // so the button's transparent corners show the caption under it, never an older state.
    if (FrameState != kFrameNormal && FrameState != kFrameReskin) return;
    if (!skinData_ || skinData_->Reloading() || borderKind_ == kBorderPopup) return;
    try {
        const SIZE s = WindowSize(window_);
        ComposeCaption(s.cx);
        HDC dc = GetWindowDC(window_);
        if (!caption_.Empty()) caption_.Draw(dc, 0, 0);
        ReleaseDC(window_, dc);
    } catch (...) {
    }
}

// ---- region ----------------------------------------------------------------------------------

void TWinSkinForm::DeleteRegion() {
    if (region_ && !regionOwnedBySystem_) DeleteObject(region_);
    region_ = nullptr;
    regionOwnedBySystem_ = false;
}

void TWinSkinForm::BuildRegion() {
    if (!skinData_ || skinData_->Reloading() || !IsWindow(window_)) return;
    const SIZE s = WindowSize(window_);
    const int W = s.cx, H = s.cy;
    if (W <= 0 || H <= 0) return;
    if (mdiRole_ == kMdiChild && windowState_ != kWindowNormal) return;
    if (W == regionW_ && H == regionH_ && mdiRole_ != kMdiChild && FrameState != kFrameReskin) return;
    TSkinData& d = *skinData_;
    regionW_ = W;
    regionH_ = H;
    const bool anyTrans = d.FrameLeft->Trans || d.FrameRight->Trans || d.FrameTop->Trans || d.FrameBottom->Trans;
    HRGN region = nullptr;
    try {
        if (!anyTrans || borderKind_ == kBorderPopup) {
            region = CreateRectRgn(0, 0, W, H);
        } else {
            region = CreateRectRgn(leftWidth_, captionHeight_, W - rightWidth_, H - bottomHeight_);
            auto add = [&](HRGN part) {
                if (!part) return;
                CombineRgn(region, region, part, RGN_OR);
                DeleteObject(part);
            };
            auto rect = [&](int l, int t, int r, int b) { add(CreateRectRgn(l, t, r, b)); };
            TDibBitmap scratch;
            if (d.FrameLeft->Trans == 1 && H > 1 && leftWidth_ > 0) {
                DrawEdge(scratch, *d.FrameLeft, false, true, leftWidth_, H);
                add(RegionFromImage(scratch.View(), 0, 0));
            } else {
                rect(0, 0, leftWidth_, H);
            }
            if (d.FrameRight->Trans == 1 && H > 1 && rightWidth_ > 0) {
                DrawEdge(scratch, *d.FrameRight, false, true, rightWidth_, H);
                add(RegionFromImage(scratch.View(), W - rightWidth_, 0));
            } else {
                rect(W - rightWidth_, 0, W, H);
            }
            const int bw = W - leftWidth_ - rightWidth_;
            if (d.FrameBottom->Trans == 1 && bottomHeight_ >= 2 && bw > 0) {
                DrawEdge(scratch, *d.FrameBottom, true, true, bw, bottomHeight_);
                add(RegionFromImage(scratch.View(), leftWidth_, H - bottomHeight_));
            } else {
                rect(leftWidth_, H - bottomHeight_, W - rightWidth_, H);
            }
            if (d.FrameTop->Trans == 1 && captionHeight_ > 1 && bw > 0) {
                // The composed caption, so that text and buttons are part of the shape.
                if (caption_.Empty() || caption_.Width() != W) ComposeCaption(W);
                if (!caption_.Empty()) {
                    GdiFlush();
                    ConstPixelView cv = caption_.View();
                    add(RegionFromImage(SubView(cv, {leftWidth_, 0, W - rightWidth_, captionHeight_}), leftWidth_, 0));
                } else {
                    DrawEdge(scratch, *d.FrameTop, true, true, bw, captionHeight_);
                    add(RegionFromImage(scratch.View(), leftWidth_, 0));
                }
            } else {
                rect(leftWidth_, 0, W - rightWidth_, captionHeight_);
            }
        }
    } catch (...) {
        if (region) DeleteObject(region);
        return;
    }
    if (!region) return;
    DeleteRegion();
    if (SetWindowRgn(window_, region, TRUE)) {
        region_ = region;
        regionOwnedBySystem_ = true;  // the system frees it from now on
    } else {
        DeleteObject(region);
    }
}

// ---- size and layout -------------------------------------------------------------------------

void TWinSkinForm::ResizeForFrame(bool withMenuBar, bool fromSystemFrame) {
    if (windowState_ == kWindowMaximized) {
        SetWindowPos(window_, nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        return;
    }
    RECT cr{};
    if (fromSystemFrame) {
        // Until the frame is laid out the window's outer size is meant for the system frame it
        // was measured with (menu included), whatever the system made of it since: the menu
        // taken off by the menu bar would otherwise add its height to the client at every attach.
        RECT wr{};
        GetWindowRect(window_, &wr);
        cr.right = std::max<LONG>(0, (wr.right - wr.left) - systemFrame_.cx);
        cr.bottom = std::max<LONG>(0, (wr.bottom - wr.top) - systemFrame_.cy);
    } else {
        GetClientRect(window_, &cr);
    }
    int w = cr.right + leftWidth_ + rightWidth_;
    const int h = cr.bottom + captionHeight_ + bottomHeight_ + (withMenuBar ? menuBarHeight_ : 0);
    const std::string cls = className_;
    if ((cls == "TMessageForm" || cls == "#32770") && skinData_) {
        const TDataSkinTitle& t = *skinData_->Title;
        const int length = GetWindowTextLengthW(window_);
        const int need = (length + 7) * spaceWidth_ + leftWidth_ + rightWidth_ + t.LeftWidth + t.RightWidth +
                         t.TextBackLeft + t.TextBackRight;
        if (need > w && !dialogWidened_) {
            // Once per frame: a later resize (a re-skin, or the window manager answering
            // late) finds the children already in place.
            dialogWidened_ = true;
            const int dx = (need - w) / 2;
            for (HWND c = GetWindow(window_, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
                RECT r{};
                GetWindowRect(c, &r);
                POINT p{r.left, r.top};
                ScreenToClient(window_, &p);
                SetWindowPos(c, nullptr, p.x + dx, p.y, 0, 0,
                             SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSENDCHANGING | SWP_NOOWNERZORDER);
            }
            w = need;
        } else if (need > w) {
            w = need;
        }
    }
    // The skin's frame may be larger than the system's: the window still fits its work area.
    RECT wr{};
    GetWindowRect(window_, &wr);
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    if (!(GetWindowLongW(window_, GWL_STYLE) & WS_CHILD) &&
        GetMonitorInfoA(MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST), &mi)) {
        const RECT& a = mi.rcWork;
        const TBounds fit = FitInWorkArea({wr.left, wr.top, w, h}, {a.left, a.top, a.right - a.left, a.bottom - a.top});
        SetWindowPos(window_, nullptr, fit.Left, fit.Top, fit.Width, fit.Height,
                     SWP_FRAMECHANGED | SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    SetWindowPos(window_, nullptr, 0, 0, w, h, SWP_FRAMECHANGED | SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
}

}  // namespace kt
