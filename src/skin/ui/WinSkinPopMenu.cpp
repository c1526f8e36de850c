// The popup-menu window painter: the window's border and the space around the items from the
// skin's "MenuBackground"; the items themselves are drawn owner-drawn (WinSkinMenuItems.cpp).
#include "skin/ui/WinSkinMenu.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>
#include <set>
#include <utility>

#include "skin/data/SkinDraw.h"
#include "skin/ui/SkinColours.h"
#include "skin/ui/SkinManage.h"
#include "skin/ui/SkinMenuDraw.h"
#include "skin/ui/WinSkinMenuParts.h"
#include "ui/Forms.h"

namespace kt {

using namespace menus;

namespace {

// ---- The live popup painters (found by the menu they show).
std::map<HWND, TWinSkinPopMenu*>& PopPainters() {
    static std::map<HWND, TWinSkinPopMenu*> painters;
    return painters;
}

}  // namespace

// ---------------------------------------------------------------- TWinSkinPopMenu

TWinSkinPopMenu::TWinSkinPopMenu(HWND window, TSkinData& data) : window_(window), data_(data) {
    PopPainters()[window_] = this;
    subclass_.Install(window_, &TWinSkinPopMenu::Proc, this, ui::TSubclass::TCharset::Ansi);
}

TWinSkinPopMenu::~TWinSkinPopMenu() { Detach(); }

void TWinSkinPopMenu::Detach() {
    subclass_.Remove();
    auto it = PopPainters().find(window_);
    if (it != PopPainters().end() && it->second == this) PopPainters().erase(it);
    background_.SetSize(0, 0);
}

HMENU TWinSkinPopMenu::MenuHandle() {
    if (!menu_ && IsWindow(window_)) menu_ = reinterpret_cast<HMENU>(SendMessageA(window_, MN_GETHMENU, 0, 0));
    return menu_;
}

bool TWinSkinPopMenu::Usable() const {
    return !data_.Reloading() && data_.MenuBackground && !data_.MenuBackground->Image.Empty();
}

const TDibBitmap& TWinSkinPopMenu::Background() {
    RECT wr{};
    GetWindowRect(window_, &wr);
    const int W = wr.right - wr.left, H = wr.bottom - wr.top;
    if (!Usable() || W <= 0 || H <= 0) {
        background_.SetSize(0, 0);
        return background_;
    }
    if (background_.Width() != W || background_.Height() != H) {
        background_.SetSize(W, H);
        GdiFlush();
        const TDataSkinObject& e = *data_.MenuBackground;
        DrawNinePiece(background_.View(), {0, 0, W, H}, e.Image, e.Margins(), false, e.Tile != 0, 1, 1, false);
    }
    return background_;
}

POINT TWinSkinPopMenu::ClientOffset() const {
    RECT wr{};
    GetWindowRect(window_, &wr);
    POINT origin{0, 0};
    ClientToScreen(window_, &origin);
    return {origin.x - wr.left, origin.y - wr.top};
}

LRESULT TWinSkinPopMenu::CallOld(UINT msg, WPARAM w, LPARAM l) {
    return ui::TSubclass::Call(subclass_.Old(), false, window_, msg, w, l);
}

LRESULT CALLBACK TWinSkinPopMenu::Proc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
    auto* painter = ui::TSubclass::Find<TWinSkinPopMenu>(hwnd, &TWinSkinPopMenu::Proc);
    if (!painter) return ui::TSubclass::PassOn(hwnd, &TWinSkinPopMenu::Proc, msg, w, l, false);
    return painter->WndProc(msg, w, l);
}

// The parts of the client area no item covers (the system's border and margins) from the
// skin's background, after the system has drawn the items.
void TWinSkinPopMenu::PaintOutsideItems() {
    const TDibBitmap& back = Background();
    HMENU menu = MenuHandle();
    if (back.Empty() || !menu) return;
    HDC dc = GetDC(window_);
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        RECT r{};
        if (!GetMenuItemRect(nullptr, menu, static_cast<UINT>(i), &r)) continue;
        POINT tl{r.left, r.top}, br{r.right, r.bottom};
        ScreenToClient(window_, &tl);
        ScreenToClient(window_, &br);
        ExcludeClipRect(dc, tl.x, tl.y, br.x, br.y);
    }
    RECT client{};
    GetClientRect(window_, &client);
    const POINT off = ClientOffset();
    BitBlt(dc, 0, 0, client.right, client.bottom, const_cast<TDibBitmap&>(back).Dc(), off.x, off.y, SRCCOPY);
    ReleaseDC(window_, dc);
}

LRESULT TWinSkinPopMenu::WndProc(UINT msg, WPARAM w, LPARAM l) {
    if (msg == SKM_ISSKINNED) return 1;
    if (!ManagerActive()) return CallOld(msg, w, l);
    switch (msg) {
        case WM_DESTROY: {
            const WNDPROC old = subclass_.Old();
            HWND hwnd = window_;
            Detach();
            return ui::TSubclass::Call(old, false, hwnd, msg, w, l);
        }
        case WM_NCPAINT: {
            const TDibBitmap& back = Background();
            if (back.Empty()) return CallOld(msg, w, l);
            MenuHandle();
            // The outer 3-pixel ring; the items and the inside are drawn with the client area.
            HDC dc = GetWindowDC(window_);
            HDC src = const_cast<TDibBitmap&>(back).Dc();
            const int W = back.Width(), H = back.Height(), b = std::min({3, W, H});
            BitBlt(dc, 0, 0, W, b, src, 0, 0, SRCCOPY);
            BitBlt(dc, 0, H - b, W, b, src, 0, H - b, SRCCOPY);
            BitBlt(dc, 0, 0, b, H, src, 0, 0, SRCCOPY);
            BitBlt(dc, W - b, 0, b, H, src, W - b, 0, SRCCOPY);
            ReleaseDC(window_, dc);
            return 0;
        }
        case WM_PRINT: {
            const TDibBitmap& back = Background();
            if (back.Empty()) return CallOld(msg, w, l);
            HDC dc = reinterpret_cast<HDC>(w);
            BitBlt(dc, 0, 0, back.Width(), back.Height(), const_cast<TDibBitmap&>(back).Dc(), 0, 0, SRCCOPY);
            const int saved = SaveDC(dc);
            const int mode = SetBkMode(dc, TRANSPARENT);
            IntersectClipRect(dc, 3, 3, back.Width() - 3, back.Height() - 3);
            const LRESULT r = CallOld(msg, w, l);
            SetBkMode(dc, mode);
            RestoreDC(dc, saved);
            return r;
        }
        case WM_PAINT: {
            Background();  // ready before the items ask for it
            const LRESULT r = CallOld(msg, w, l);
            PaintOutsideItems();
            return r;
        }
        default: return CallOld(msg, w, l);
    }
}

const TDibBitmap* PopMenuBackground(HMENU menu, POINT* clientOffset) {
    if (!menu) return nullptr;
    for (auto& [hwnd, painter] : PopPainters()) {
        if (painter->MenuHandle() != menu) continue;
        const TDibBitmap& back = painter->Background();
        if (back.Empty()) return nullptr;
        if (clientOffset) *clientOffset = painter->ClientOffset();
        return &back;
    }
    return nullptr;
}

}  // namespace kt
