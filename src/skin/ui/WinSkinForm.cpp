// The skinned frame of one top-level window: attaching (the window's procedure replaced, the
// metrics read from the skin, the menu bar and the controls taken over), re-skinning and
// detaching again. Painting errors are swallowed: a bad skin never breaks a window.
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

// ---- the frame -------------------------------------------------------------------------------

TWinSkinForm::TWinSkinForm() = default;

TWinSkinForm::~TWinSkinForm() {
    titleButtons_.clear();
    Detach();
    hoverTimer_.reset();
    menuBar_.reset();
    if (captionFont_) DeleteObject(captionFont_);
    if (region_ && !regionOwnedBySystem_) DeleteObject(region_);
}

HBRUSH TWinSkinForm::FaceBrush() {
    return faceBrush_.Get(skinData_ ? SkinColorRef(skinData_->ButtonFace) : GetSysColor(COLOR_BTNFACE));
}

void TWinSkinForm::AttachForm(ui::TForm& form, TSkinData& data) {
    form_ = &form;
    window_ = form.Handle();
    skinData_ = &data;
    if (data.HasControl(xcMainMenu) && !formHook_.Installed()) {
        formHook_.Install(form.WindowProc, [this](ui::TMessage& m) { FormHook(m); });
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
    if (frameProc_.Installed() || !skinData_) return;
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

    frameProc_.Install(window_, &FrameProc, this);

    TSkinManage* m = SkinManage();
    const bool mdiMax = m && m->MdiMaximized;
    if (!(mdiRole_ == kMdiChild && mdiMax) && windowState_ != kWindowMinimized) SetCaptionStyles(false);

    if (mdiRole_ == kMdiParent && mdiClient_) {
        mdiClientProc_.Install(mdiClient_, &MdiClientProc, this, ui::TSubclass::TCharset::Wide);
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
        HICON small = static_cast<HICON>(CopyImage(icon, IMAGE_ICON, cx, cy, LR_COPYFROMRESOURCE));
        if (!small) small = static_cast<HICON>(CopyImage(icon, IMAGE_ICON, cx, cy, 0));
        // Drawn over black and over white: the soft edges of its alpha become the key colour
        // or the icon's own, not a blend with magenta that the key would leave showing.
        auto drawOver = [&](Pixel background) {
            GdiFlush();
            FillRect(icon_.View(), {0, 0, cx, cy}, background);
            DrawIconEx(icon_.Dc(), 0, 0, small ? small : icon, cx, cy, 0, nullptr, DI_NORMAL);
            GdiFlush();
        };
        drawOver(MakePixel(0, 0, 0));
        TBitmap32 onBlack(cx, cy);
        OpaqueCopy(onBlack.View(), 0, 0, icon_.View());
        drawOver(MakePixel(255, 255, 255));
        KeyFromTwoBackgrounds(icon_.View(), onBlack.View());
        if (small) DestroyIcon(small);
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
    if (!frameProc_.Installed()) return;
    FrameState = kFrameReskin;
    if (form_ && SkinPlugins().SetPopupMenusOwnerDraw) SkinPlugins().SetPopupMenusOwnerDraw(*form_, *skinData_, true);
    if (windowState_ != kWindowMinimized && borderKind_ != kBorderPopup) ResizeForFrame(true);
    FrameState = kFrameNormal;
    regionW_ = regionH_ = -1;
    BuildRegion();
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

// ---- detach ----------------------------------------------------------------------------------

void TWinSkinForm::DetachControls() {
    HotControl = nullptr;
    // Painters may reach back into the list while they detach: take it first.
    auto painters = std::move(ControlPainters);
    ControlPainters.clear();
    for (auto& p : painters) p->Detach();
    // The form's popup menus and colour as they were before the skin.
    if (form_ && skinData_ && SkinPlugins().SetPopupMenusOwnerDraw)
        SkinPlugins().SetPopupMenusOwnerDraw(*form_, *skinData_, false);
    if (form_ && FrameState != kFrameDestroying) form_->SetColor(savedFormColor_);
}

void TWinSkinForm::Detach() {
    if (hoverTimer_) hoverTimer_->SetEnabled(false);
    if (!window_) return;
    const bool full = skinData_ ? skinData_->HasControl(xcMainMenu) : frameProc_.Installed();
    const bool alive = IsWindow(window_) != FALSE;
    const bool wasInstalled = frameProc_.Installed();
    if (!full && !wasInstalled) {
        // Only the controls were skinned: no frame to take off.
        DetachControls();
        if (FrameState != kFrameDestroying && alive)
            RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        window_ = nullptr;
        return;
    }
    if (alive && wasInstalled) SetCaptionStyles(true);
    formHook_.Remove();
    // The procedure goes back only when nobody subclassed on top of the frame since.
    frameProc_.Remove();
    DetachControls();
    if (menuBar_) {
        if (alive) SetMenu(window_, menuBar_->Menu());
        menuBar_.reset();
    }
    mdiClientProc_.Remove();
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

}  // namespace kt
