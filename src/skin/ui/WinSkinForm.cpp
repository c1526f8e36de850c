// The skinned frame of one top-level window: it replaces the window procedure, computes the
// client area, paints borders and caption from the skin and turns non-client mouse input into
// title-button actions. Painting errors are swallowed: a bad skin never breaks a window.
#include "skin/ui/WinSkinForm.h"

#include <windowsx.h>

#include <algorithm>
#include <cstddef>
#include <unordered_map>

#include "skin/data/SkinDraw.h"
#include "skin/ui/SkinColours.h"
#include "skin/ui/SkinRegion.h"
#include "ui/ExtCtrls.h"

namespace kt {

namespace {

constexpr LONG kCaptionStyles = WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;  // 0xB0000

std::unordered_map<HWND, TWinSkinForm*>& Frames() {
    static auto* frames = new std::unordered_map<HWND, TWinSkinForm*>();
    return *frames;
}
std::unordered_map<HWND, TWinSkinForm*>& MdiClients() {
    static auto* clients = new std::unordered_map<HWND, TWinSkinForm*>();
    return *clients;
}
TWinSkinForm* FrameOfWindow(HWND hwnd) {
    auto it = Frames().find(hwnd);
    return it == Frames().end() ? nullptr : it->second;
}

std::string ClassNameOf(HWND window) {
    char name[101] = {};
    GetClassNameA(window, name, 100);
    return name;
}

int Count(const TDataSkinObject& e) { return std::max(1, e.FrameCount); }

// Client and window sizes of a window.
SIZE WindowSize(HWND w) {
    RECT r{};
    GetWindowRect(w, &r);
    return {r.right - r.left, r.bottom - r.top};
}

// One frame edge drawn with the nine pieces of its element into a DIB of the given size.
void DrawEdge(TDibBitmap& dib, const TDataSkinBorder& e, bool stacked, bool active, int w, int h) {
    dib.SetSize(w, h);
    if (dib.Empty()) return;
    GdiFlush();
    FillRect(dib.View(), {0, 0, w, h}, 0);
    if (e.Image.Empty()) return;
    const int frame = active || Count(e) == 1 ? 1 : 2;
    DrawNinePiece(dib.View(), {0, 0, w, h}, e.Image, e.Margins(), stacked, e.Tile != 1, Count(e), frame, false);
}

}  // namespace

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

// ---- the frame -------------------------------------------------------------------------------

TWinSkinForm::TWinSkinForm() = default;

TWinSkinForm::~TWinSkinForm() {
    titleButtons_.clear();
    Detach();
    hoverTimer_.reset();
    menuBar_.reset();
    if (captionFont_) DeleteObject(captionFont_);
    if (faceBrush_) DeleteObject(faceBrush_);
    if (region_ && !regionOwnedBySystem_) DeleteObject(region_);
}

HBRUSH TWinSkinForm::FaceBrush() {
    const COLORREF want = skinData_ ? SkinColorRef(skinData_->ButtonFace) : GetSysColor(COLOR_BTNFACE);
    if (!faceBrush_ || want != faceBrushColour_) {
        if (faceBrush_) DeleteObject(faceBrush_);
        faceBrush_ = CreateSolidBrush(want);
        faceBrushColour_ = want;
    }
    return faceBrush_;
}

void TWinSkinForm::AttachForm(ui::TForm& form, TSkinData& data) {
    form_ = &form;
    window_ = form.Handle();
    skinData_ = &data;
    if (data.HasControl(xcMainMenu) && !formHooked_) {
        savedFormProc_ = form.WindowProc;
        form.WindowProc = [this](ui::TMessage& m) { FormHook(m); };
        formHooked_ = true;
    }
    CommonAttach();
    savedFormColor_ = form.Color();
    form.SetColor(data.ButtonFace);
    if (SkinPlugins().SetPopupMenusOwnerDraw) SkinPlugins().SetPopupMenusOwnerDraw(form, data, true);
}

void TWinSkinForm::AttachWindow(HWND window, TSkinData& data) {
    window_ = window;
    skinData_ = &data;
    CommonAttach();
}

void TWinSkinForm::CommonAttach() {
    if (procInstalled_ || !skinData_) return;
    const bool full = skinData_->HasControl(xcMainMenu);
    hoverTimer_ = std::make_unique<ui::TTimer>(nullptr);
    hoverTimer_->SetEnabled(false);
    hoverTimer_->SetInterval(250);
    hoverTimer_->OnTimer = [this] { HoverTick(); };
    className_ = ClassNameOf(window_);
    for (HWND child = GetWindow(window_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (ClassNameOf(child) == "MDIClient") {
            mdiClient_ = child;
            mdiRole_ = kMdiParent;
            if (TSkinManage* m = SkinManage()) m->MdiClient = child;
            break;
        }
    if (!full) {
        ComputeMetrics();
        if (SkinPlugins().ScanControls) SkinPlugins().ScanControls(*this, nullptr);
        return;
    }

    NONCLIENTMETRICSA ncm{};
    ncm.cbSize = sizeof ncm;
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
    captionFont_ = CreateFontIndirectA(&ncm.lfCaptionFont);
    {
        HDC dc = GetDC(nullptr);
        HGDIOBJ old = SelectObject(dc, captionFont_);
        SIZE sz{};
        GetTextExtentPoint32A(dc, " ", 1, &sz);
        spaceWidth_ = std::max<int>(1, sz.cx);
        SelectObject(dc, old);
        ReleaseDC(nullptr, dc);
    }
    doubleClickTime_ = GetDoubleClickTime();

    savedStyle_ = GetWindowLongA(window_, GWL_STYLE);
    const LONG ex = GetWindowLongA(window_, GWL_EXSTYLE);
    systemMenu_ = GetSystemMenu(window_, FALSE);
    MakeWindowIcon();
    RECT wr{}, cr{};
    GetWindowRect(window_, &wr);
    GetClientRect(window_, &cr);
    systemFrame_ = {(wr.right - wr.left) - cr.right, (wr.bottom - wr.top) - cr.bottom};
    captionStyleBits_ = savedStyle_ & kCaptionStyles;
    hasSysMenu_ = (savedStyle_ & WS_SYSMENU) || systemMenu_;
    hasMinBox_ = (savedStyle_ & WS_MINIMIZEBOX) != 0;
    hasMaxBox_ = (savedStyle_ & WS_MAXIMIZEBOX) != 0;
    captionStylesOn_ = true;
    ReadWindowState();
    if (ex & WS_EX_MDICHILD) mdiRole_ = kMdiChild;
    borderKind_ = kBorderOther;
    if ((savedStyle_ & WS_POPUP) && (savedStyle_ & WS_CAPTION) != WS_CAPTION)
        borderKind_ = kBorderPopup;
    else if ((ex & WS_EX_WINDOWEDGE) || (savedStyle_ & WS_THICKFRAME))
        borderKind_ = kBorderSizable;

    windowMenu_ = GetMenu(window_);
    if (windowMenu_ && mdiRole_ != kMdiChild && SkinPlugins().CreateMenuBar) {
        menuBar_ = SkinPlugins().CreateMenuBar(*this, windowMenu_, form_ ? form_->Menu() : nullptr);
        if (menuBar_) {
            menuBarHeight_ = GetSystemMetrics(SM_CYMENU);
            menuBar_->ReadItems(nullptr);
        }
    }

    unicode_ = IsWindowUnicode(window_) != FALSE;
    Frames()[window_] = this;
    oldProc_ = reinterpret_cast<WNDPROC>(
        unicode_ ? SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FrameProc))
                 : SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FrameProc)));
    procInstalled_ = true;

    TSkinManage* m = SkinManage();
    const bool mdiMax = m && m->MdiMaximized;
    if (!(mdiRole_ == kMdiChild && mdiMax) && windowState_ != kWindowMinimized) SetCaptionStyles(false);

    if (mdiRole_ == kMdiParent && mdiClient_) {
        MdiClients()[mdiClient_] = this;
        oldMdiClientProc_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(mdiClient_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MdiClientProc)));
    }

    ComputeMetrics();
    if (SkinPlugins().ScanControls) SkinPlugins().ScanControls(*this, nullptr);
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

void TWinSkinForm::MakeWindowIcon() {
    const int cx = GetSystemMetrics(SM_CXSMICON), cy = GetSystemMetrics(SM_CYSMICON);
    HICON icon = reinterpret_cast<HICON>(SendMessageA(window_, WM_GETICON, ICON_SMALL, 0));
    if (!icon) icon = reinterpret_cast<HICON>(SendMessageA(window_, WM_GETICON, ICON_BIG, 0));
    if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrA(window_, GCLP_HICONSM));
    if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrA(window_, GCLP_HICON));
    if (icon) {
        icon_.SetSize(cx, cy);
        GdiFlush();
        FillRect(icon_.View(), {0, 0, cx, cy}, kMagenta);
        HICON small = static_cast<HICON>(CopyImage(icon, IMAGE_ICON, cx, cy, LR_COPYFROMRESOURCE));
        if (!small) small = static_cast<HICON>(CopyImage(icon, IMAGE_ICON, cx, cy, 0));
        DrawIconEx(icon_.Dc(), 0, 0, small ? small : icon, cx, cy, 0, nullptr, DI_NORMAL);
        if (small) DestroyIcon(small);
        GdiFlush();
        return;
    }
    // No icon of its own: the skin's default icon picture, else that of a main skin data.
    const TBitmap32* fallback = skinData_ && !skinData_->IconImage.Empty() ? &skinData_->IconImage : nullptr;
    if (!fallback)
        if (TSkinManage* m = SkinManage())
            for (auto it = m->SkinDatas.rbegin(); it != m->SkinDatas.rend(); ++it)
                if ((*it)->SkinFormtype == sfMainform && !(*it)->IconImage.Empty()) {
                    fallback = &(*it)->IconImage;
                    break;
                }
    if (fallback) icon_.Assign(*fallback);
}

void TWinSkinForm::SetCaptionStyles(bool on) {
    if (on == captionStylesOn_ || !IsWindow(window_)) return;
    captionStylesOn_ = on;
    LONG style = GetWindowLongA(window_, GWL_STYLE);
    style = on ? (style | captionStyleBits_) : (style & ~kCaptionStyles);
    SetWindowLongA(window_, GWL_STYLE, style);
}

void TWinSkinForm::ReadWindowState() {
    if (IsIconic(window_))
        windowState_ = kWindowMinimized;
    else if (IsZoomed(window_))
        windowState_ = kWindowMaximized;
    else
        windowState_ = kWindowNormal;
}

void TWinSkinForm::ComputeMetrics() {
    if (!skinData_ || skinData_->Reloading()) return;
    TSkinData& d = *skinData_;
    if (borderKind_ == kBorderPopup) {
        leftWidth_ = captionHeight_ = rightWidth_ = bottomHeight_ = 0;
        menuBarHeight_ = 0;
    } else {
        captionHeight_ = d.FrameTop->Image.Height() / Count(*d.FrameTop);
        leftWidth_ = d.FrameLeft->Image.Width() / Count(*d.FrameLeft);
        rightWidth_ = d.FrameRight->Image.Width() / Count(*d.FrameRight);
        bottomHeight_ = d.FrameBottom->Image.Height() / Count(*d.FrameBottom);
        menuBarHeight_ = menuBar_ ? GetSystemMetrics(SM_CYMENU) : 0;
    }
    titleButtons_.clear();
    HotObject = nullptr;
    for (auto& element : d.SysButtons) {
        if (!element) continue;
        if ((element->Action == 3 || element->Action == 11) && !icon_.Empty()) {
            if (element->Image.Empty()) {
                element->Image.SetSize(icon_.Width(), icon_.Height());
                GdiFlush();
                for (int y = 0; y < icon_.Height(); ++y)
                    std::copy_n(icon_.View().Row(y), icon_.Width(), element->Image.Row(y));
            }
            if (d.IconImage.Empty()) d.IconImage = element->Image;
            element->FrameCount = 1;
        }
        titleButtons_.push_back(std::make_unique<TWinSysButton>(*this, *element));
    }
}

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

// ---- painting --------------------------------------------------------------------------------

void TWinSkinForm::RepaintFrame() {
    if (!window_ || !procInstalled_) return;
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
    SetWindowPos(window_, nullptr, 0, 0, w, h, SWP_FRAMECHANGED | SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
}

void TWinSkinForm::OnAttached() {
    attachFinished_ = true;
    if (FrameState == kFrameNew) {
        TSkinManage* m = SkinManage();
        if (mdiRole_ == kMdiChild && m && m->MdiMaximized) {
            SetCaptionStyles(true);
        } else if (windowState_ != kWindowMinimized && borderKind_ != kBorderPopup) {
            FrameState = kFrameResizing;
            // The menu bar is part of the frame as the system's was: the client keeps its size.
            ResizeForFrame(true, true);
            FrameState = kFrameNormal;
            BuildRegion();
        }
    }
    FrameState = kFrameNormal;
    active_ = GetActiveWindow() == window_;
    if (hoverTimer_) hoverTimer_->SetEnabled(true);
    RepaintFrame();
}

void TWinSkinForm::Reskin() {
    FreeTitleButtons();
    ComputeMetrics();
    ReapplyColoursAndLayout();
}

void TWinSkinForm::ReapplyColoursAndLayout() {
    if (!skinData_) return;
    const TColor face = skinData_->ButtonFace;
    if (form_) {
        form_->SetColor(face);
        for (ui::TComponent* c : form_->Components())
            // A dialog the form owns has a window, and a frame, of its own.
            if (auto* f = dynamic_cast<ui::TForm*>(c); f && f->Parent()) f->SetColor(face);
    }
    for (auto& p : ControlPainters) p->ReapplyColours();
    if (!procInstalled_) return;
    FrameState = kFrameReskin;
    if (form_ && SkinPlugins().SetPopupMenusOwnerDraw) SkinPlugins().SetPopupMenusOwnerDraw(*form_, *skinData_, true);
    if (windowState_ != kWindowMinimized && borderKind_ != kBorderPopup) ResizeForFrame(true);
    FrameState = kFrameNormal;
    regionW_ = regionH_ = -1;
    BuildRegion();
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void TWinSkinForm::MdiMaximizedChanged(bool maximized) {
    if (!procInstalled_) return;
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

// ---- detach ----------------------------------------------------------------------------------

void TWinSkinForm::DetachControls() {
    HotControl = nullptr;
    // Painters may reach back into the list while they detach: take it first.
    auto painters = std::move(ControlPainters);
    ControlPainters.clear();
    for (auto& p : painters) p->Detach();
}

void TWinSkinForm::Detach() {
    if (hoverTimer_) hoverTimer_->SetEnabled(false);
    if (!window_) return;
    const bool full = skinData_ ? skinData_->HasControl(xcMainMenu) : procInstalled_;
    if (!full && !procInstalled_) {
        DetachControls();
        if (form_ && skinData_ && SkinPlugins().SetPopupMenusOwnerDraw)
            SkinPlugins().SetPopupMenusOwnerDraw(*form_, *skinData_, false);
        if (form_ && FrameState != kFrameDestroying) form_->SetColor(savedFormColor_);
        if (FrameState != kFrameDestroying && IsWindow(window_)) {
            RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        }
        window_ = nullptr;
        return;
    }
    const bool alive = IsWindow(window_) != FALSE;
    if (alive && procInstalled_) SetCaptionStyles(true);
    if (formHooked_ && form_) {
        form_->WindowProc = savedFormProc_;
        formHooked_ = false;
    }
    if (alive && procInstalled_) {
        const LONG_PTR current = unicode_ ? GetWindowLongPtrW(window_, GWLP_WNDPROC) : GetWindowLongPtrA(window_, GWLP_WNDPROC);
        // Only take the procedure back when nobody subclassed on top of the frame since.
        if (current == reinterpret_cast<LONG_PTR>(&FrameProc)) {
            if (unicode_)
                SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(oldProc_));
            else
                SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(oldProc_));
        }
    }
    Frames().erase(window_);
    const bool wasInstalled = procInstalled_;
    procInstalled_ = false;
    DetachControls();
    if (form_ && skinData_ && SkinPlugins().SetPopupMenusOwnerDraw)
        SkinPlugins().SetPopupMenusOwnerDraw(*form_, *skinData_, false);
    if (form_ && FrameState != kFrameDestroying) form_->SetColor(savedFormColor_);
    if (menuBar_) {
        if (alive) SetMenu(window_, menuBar_->Menu());
        menuBar_.reset();
    }
    if (mdiClient_ && oldMdiClientProc_) {
        if (IsWindow(mdiClient_)) SetWindowLongPtrW(mdiClient_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(oldMdiClientProc_));
        MdiClients().erase(mdiClient_);
        oldMdiClientProc_ = nullptr;
    }
    caption_.SetSize(0, 0);
    const int menuH = menuBarHeight_;
    if (alive && wasInstalled && FrameState != kFrameDestroying && (mdiRole_ == kMdiChild || !(GetWindowLongA(window_, GWL_STYLE) & WS_CHILD))) {
        RECT wr{};
        GetWindowRect(window_, &wr);
        POINT p{wr.left, wr.top};
        if (mdiRole_ == kMdiChild) {
            HWND parent = GetParent(window_);
            ScreenToClient(parent, &p);
        }
        if (windowState_ == kWindowNormal) {
            const int W = wr.right - wr.left, H = wr.bottom - wr.top;
            SetWindowPos(window_, nullptr, p.x, p.y, W + systemFrame_.cx - leftWidth_ - rightWidth_,
                         H + systemFrame_.cy - captionHeight_ - menuH - bottomHeight_,
                         SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER);
        } else {
            SetWindowPos(window_, nullptr, 0, 0, 0, 0,
                         SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        }
    }
    if (alive && wasInstalled) SetWindowRgn(window_, nullptr, TRUE);
    region_ = nullptr;  // the system freed it with the call above (or with the window)
    regionOwnedBySystem_ = false;
    regionW_ = regionH_ = -1;
    HotObject = nullptr;
    titleButtons_.clear();
}

// ---- window procedure ------------------------------------------------------------------------

LRESULT TWinSkinForm::CallOld(UINT msg, WPARAM w, LPARAM l) {
    return unicode_ ? CallWindowProcW(oldProc_, window_, msg, w, l) : CallWindowProcA(oldProc_, window_, msg, w, l);
}

LRESULT CALLBACK TWinSkinForm::FrameProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
    TWinSkinForm* f = FrameOfWindow(hwnd);
    if (!f) return DefWindowProcW(hwnd, msg, w, l);
    return f->WndProc(msg, w, l);
}

LRESULT TWinSkinForm::WndProc(UINT msg, WPARAM w, LPARAM l) {
    switch (msg) {
    case WM_DESTROY: {
        WNDPROC old = oldProc_;
        const bool unicode = unicode_;
        HWND hwnd = window_;
        if (mdiClient_ && oldMdiClientProc_ && IsWindow(mdiClient_)) {
            SetWindowLongPtrW(mdiClient_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(oldMdiClientProc_));
            MdiClients().erase(mdiClient_);
            oldMdiClientProc_ = nullptr;
        }
        if (unicode)
            SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
        else
            SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
        Frames().erase(hwnd);
        procInstalled_ = false;
        region_ = nullptr;
        return unicode ? CallWindowProcW(old, hwnd, msg, w, l) : CallWindowProcA(old, hwnd, msg, w, l);
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
    switch (m.Msg) {
    case WM_SETTEXT:
        savedFormProc_(m);
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
    savedFormProc_(m);
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
    if (stripped && procInstalled_) SetCaptionStyles(false);
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

// ---- MDI client ------------------------------------------------------------------------------

LRESULT CALLBACK TWinSkinForm::MdiClientProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
    auto it = MdiClients().find(hwnd);
    if (it == MdiClients().end()) return DefWindowProcW(hwnd, msg, w, l);
    TWinSkinForm* f = it->second;
    WNDPROC old = f->oldMdiClientProc_;
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
