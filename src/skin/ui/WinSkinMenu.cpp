// The skinned menu bar: its items read from the window's menu, painted under the caption,
// opened with the mouse or the keyboard (the drop-down is the system's, its items owner-drawn
// while it shows). Also the menus' registration with the frame.
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

namespace menus {

HFONT MenuFont() {
    static ui::TFont font = [] {
        ui::TFont f;
        ui::AssignMenuFont(f);
        return f;
    }();
    return font.Handle();
}

bool ManagerActive() {
    TSkinManage* m = SkinManage();
    return m && m->Active();
}

int TextWidth(HDC dc, const std::string& text) {
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

}  // namespace menus

namespace {

// ---- Module state of the open drop-down.
struct TTracking {
    TWinSkinMenu* Bar = nullptr;
    int OpenIndex = -1;
    int SwitchTo = -1;
    HMENU OpenMenu = nullptr;
    POINT LastCursor{-1, -1};
    HHOOK Hook = nullptr;
    bool Escaped = false;  // the drop-down was closed with Esc, back to the bar
};
TTracking& Tracking() {
    static TTracking t;
    return t;
}

struct TMenuWindows {
    std::set<HMENU> Menus;
    int Count = 0;
};

BOOL CALLBACK CollectMenuWindow(HWND hwnd, LPARAM l) {
    char cls[16] = {0};
    GetClassNameA(hwnd, cls, sizeof cls);
    if (std::strcmp(cls, "#32768") == 0 && IsWindowVisible(hwnd)) {
        auto* out = reinterpret_cast<TMenuWindows*>(l);
        ++out->Count;
        if (auto menu = reinterpret_cast<HMENU>(SendMessageA(hwnd, MN_GETHMENU, 0, 0))) out->Menus.insert(menu);
    }
    return TRUE;
}

TMenuWindows OpenMenuWindows() {
    TMenuWindows w;
    EnumThreadWindows(GetCurrentThreadId(), CollectMenuWindow, reinterpret_cast<LPARAM>(&w));
    return w;
}

// What mask asks of the item at position i of menu.
bool ItemInfo(HMENU menu, int i, UINT mask, MENUITEMINFOA& info) {
    info.cbSize = sizeof info;
    info.fMask = mask;
    return GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info) != FALSE;
}

// True when the deepest selected item has a sub-menu that is not open yet: VK_RIGHT opens it.
bool SelectedOpensSubMenu() {
    const TMenuWindows open = OpenMenuWindows();
    for (HMENU menu : open.Menus) {
        const int count = GetMenuItemCount(menu);
        for (int i = 0; i < count; ++i) {
            MENUITEMINFOA info{};
            if (!ItemInfo(menu, i, MIIM_STATE | MIIM_SUBMENU, info)) continue;
            if ((info.fState & MFS_HILITE) && info.hSubMenu && !open.Menus.count(info.hSubMenu)) return true;
        }
    }
    return false;
}

LRESULT CALLBACK MenuFilterProc(int code, WPARAM w, LPARAM l) {
    TTracking& t = Tracking();
    const LRESULT next = CallNextHookEx(t.Hook, code, w, l);
    if (next || code != MSGF_MENU || !t.Bar) return next;
    const MSG* m = reinterpret_cast<const MSG*>(l);
    const int count = static_cast<int>(t.Bar->Items().size());
    int target = -1;
    if (m->message == WM_KEYDOWN && m->wParam == VK_ESCAPE && OpenMenuWindows().Count <= 1) t.Escaped = true;
    if (m->message == WM_KEYDOWN && count > 0) {
        WPARAM key = m->wParam;
        // In a menu that reads right to left the arrows point the other way along the bar.
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE;
        if (GetMenuItemInfoA(t.OpenMenu, 0, TRUE, &info) && (info.fType & MFT_RIGHTORDER))
            key = key == VK_LEFT ? VK_RIGHT : key == VK_RIGHT ? VK_LEFT : key;
        if (key == VK_LEFT && OpenMenuWindows().Count <= 1) target = (t.OpenIndex + count - 1) % count;
        else if (key == VK_RIGHT && !SelectedOpensSubMenu()) target = (t.OpenIndex + 1) % count;
    } else if (m->message == WM_MOUSEMOVE) {
        POINT p = m->pt;
        if (p.x != t.LastCursor.x || p.y != t.LastCursor.y) {
            t.LastCursor = p;
            RECT wr{};
            GetWindowRect(t.Bar->Frame().Window(), &wr);
            if (auto* b = dynamic_cast<TMenuBtn*>(t.Bar->HitItem(POINT{p.x - wr.left, p.y - wr.top})))
                target = b->ItemIndex;
        }
    }
    if (target < 0 || target == t.OpenIndex) return 0;
    // Close this drop-down; the bar opens the other one when TrackPopupMenu has returned.
    t.SwitchTo = target;
    EndMenu();
    return 1;
}

// Every item of menu and its sub-menus made owner-drawn; returns what to undo.
struct TSwitchedItem {
    HMENU Menu;
    UINT Position;
    UINT Type;
};
void SwitchToOwnerDraw(HMENU menu, std::vector<TSwitchedItem>& undo, int depth = 0) {
    if (!menu || depth > 16) return;
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOA info{};
        if (!ItemInfo(menu, i, MIIM_FTYPE | MIIM_SUBMENU, info)) continue;
        if (!(info.fType & MFT_OWNERDRAW) && !(info.fType & MFT_BITMAP)) {
            undo.push_back({menu, static_cast<UINT>(i), info.fType});
            // MIIM_FTYPE keeps the item's text, so it can be read back and given back.
            info.fMask = MIIM_FTYPE;
            info.fType |= MFT_OWNERDRAW;
            SetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
        }
        SwitchToOwnerDraw(info.hSubMenu, undo, depth + 1);
    }
}
void UndoOwnerDraw(const std::vector<TSwitchedItem>& undo) {
    for (const TSwitchedItem& s : undo) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE;
        info.fType = s.Type;
        SetMenuItemInfoA(s.Menu, s.Position, TRUE, &info);
    }
}

}  // namespace

HMENU menus::OpenDropDownMenu() { return Tracking().OpenMenu; }

// ---------------------------------------------------------------- TMenuBtn

void TMenuBtn::Paint() { Bar.PaintItem(*this); }

// ---------------------------------------------------------------- TWinSkinMenu

TWinSkinMenu::TWinSkinMenu(TWinSkinForm& frame, HMENU menu, ui::TMainMenu* mainMenu)
    : mainMenu_(mainMenu), frame_(frame), menu_(menu) {}

TWinSkinMenu::~TWinSkinMenu() {
    *alive_ = false;
    if (Tracking().Bar == this) Tracking().Bar = nullptr;
}

void TWinSkinMenu::ReadItems(HMENU menu) {
    // The open drop-down's item must outlive its TrackPopupMenu: read again once it closed.
    if (Tracking().Bar == this) {
        rereadPending_ = true;
        if (menu) rereadMenu_ = menu;
        return;
    }
    const bool given = menu != nullptr;
    if (!menu) menu = GetMenu(frame_.Window());
    if (menu) menu_ = menu;
    if (!menu_) return;
    items_.clear();
    const int count = GetMenuItemCount(menu_);
    for (int i = 0; i < count; ++i) {
        char text[kMaxCaption + 1] = {0};
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_TYPE;
        info.dwTypeData = text;
        info.cch = kMaxCaption;
        if (!GetMenuItemInfoA(menu_, static_cast<UINT>(i), TRUE, &info)) continue;
        auto b = std::make_unique<TMenuBtn>(frame_, *this);
        b->ItemIndex = static_cast<int>(items_.size());
        b->SubMenu = info.hSubMenu;
        b->Enabled = !(info.fState & (MFS_GRAYED | MFS_DISABLED));
        b->Visible = true;
        b->Command = info.wID;
        b->Caption = (info.fType & (MFT_OWNERDRAW | MFT_BITMAP | MFT_SEPARATOR)) ? std::string() : std::string(text);
        if (b->Caption.empty() && mainMenu_) {
            ui::TMenuItem* root = mainMenu_->Items();
            ui::TMenuItem* item = given ? mainMenu_->FindItem(info.wID)
                                        : (i < root->Count() ? root->Items(i) : nullptr);
            if (item && item != root) {
                item->InitiateAction();
                b->Caption = item->Caption().substr(0, kMaxCaption);
                b->Enabled = item->Enabled();
                b->Command = item->Command();
                b->SubMenu = item->Count() > 0 ? item->Handle() : nullptr;
            }
        }
        items_.push_back(std::move(b));
    }
    // The bar is drawn in the frame from now on; the frame gives the menu back when it detaches.
    if (GetMenu(frame_.Window())) SetMenu(frame_.Window(), nullptr);
}

void TWinSkinMenu::DrawCaption(HDC dc, const TMenuBtn& item, const RECT& r) const {
    const TSkinData* skin = frame_.SkinData();
    HGDIOBJ oldFont = SelectObject(dc, MenuFont());
    SetBkMode(dc, TRANSPARENT);
    const bool marked = item.Enabled && (item.State == kNCPressed || item.State == kNCHot);
    const TColour colour = !skin         ? SysColour(marked ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT)
                           : marked      ? skin->HilightText
                           : item.Enabled ? skin->MenuBarText
                                          : skin->ButtonShadow;
    SetTextColor(dc, SkinColorRef(colour));
    RECT box = r;
    DrawTextA(dc, item.Caption.c_str(), -1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, oldFont);
}

void TWinSkinMenu::Paint(HDC dc, const RECT& r) {
    const int W = r.right - r.left, H = r.bottom - r.top;
    if (W <= 0 || H <= 0) return;
    painting_ = true;
    const TSkinData* skin = frame_.SkinData();
    scratch_.SetSize(W, H);
    GdiFlush();
    PixelView view = scratch_.View();
    int x = 6;
    const TDataSkinObject* bar = skin && skin->MenuBar && !skin->MenuBar->Image.Empty() ? skin->MenuBar.get() : nullptr;
    if (bar) {
        const int frame = frame_.IsActive() ? 1 : 2;
        if (bar->Tile == 1)
            DrawNinePiece(view, {0, 0, W, H}, bar->Image, bar->Margins(), true, false, 2, frame, false);
        else
            DrawThreePiece(view, {0, 0, W, H}, bar->Image, true, false, 2, frame, bar->LeftWidth, bar->RightWidth);
        x = bar->LeftWidth + 4;
        if (W < x) x = 12;
    } else {
        FillRect(view, {0, 0, W, H}, SkinPixel(skin ? skin->Menubar : SysColour(COLOR_MENU)));
    }
    barRect_ = r;
    background_.SetSize(W, H);
    GdiFlush();
    std::memcpy(background_.View().Bits, view.Bits, sizeof(Pixel) * std::size_t(W) * std::size_t(H));

    HDC mdc = scratch_.Dc();
    HGDIOBJ oldFont = SelectObject(mdc, MenuFont());
    // The item under the keyboard or the mouse, and the open menu's title, in the colours of
    // a selected drop-down item: a thin light frame on a light bar is hardly seen.
    HBRUSH hilight = CreateSolidBrush(SkinColorRef(skin ? skin->Hilight : SysColour(COLOR_HIGHLIGHT)));
    for (auto& b : items_) {
        const int w = b->Caption.empty() ? 0 : TextWidth(mdc, ui::StripAccelerator(b->Caption)) + 10;
        const RECT local{x, 0, x + w, H - 1};
        if (w > 0) {
            if (b->State == kNCPressed || b->State == kNCHot) FillRect(mdc, &local, hilight);
            DrawCaption(mdc, *b, local);
        }
        b->Rect = RECT{r.left + local.left, r.top, r.left + local.right, r.top + H - 1};
        b->Visible = true;
        x += w;
    }
    DeleteObject(hilight);
    SelectObject(mdc, oldFont);
    // A maximised MDI child's minimise, restore and close buttons sit at the bar's right end.
    if (frame_.MdiRole() == kMdiParent) {
        GdiFlush();
        bool drawn = false;
        for (const auto& b : frame_.TitleButtons()) {
            const TDataSkinSysButton& e = b->Element;
            if (e.Visibility != 100 || !b->Visible || e.Image.Empty()) continue;
            const TRectI fr = FrameRect(e.Image.Width(), e.Image.Height(), false, std::max(1, e.FrameCount), 1);
            if (fr.IsEmpty()) continue;
            TransparentCopy(view, b->Rect.left - r.left, b->Rect.top - r.top, SubView(e.Image.View(), fr));
            drawn = true;
        }
        if (TSkinManage* m = SkinManage(); drawn && m && !m->MdiMaximized) m->MdiMaximized = true;
    }
    BitBlt(dc, r.left, r.top, W, H, mdc, 0, 0, SRCCOPY);
    painting_ = false;
}

void TWinSkinMenu::PaintItem(TMenuBtn& item) {
    const int w = item.Rect.right - item.Rect.left, h = item.Rect.bottom - item.Rect.top;
    if (background_.Empty() || w <= 0 || h <= 0 || !frame_.Window()) return;
    TDibBitmap piece(w, h);
    BitBlt(piece.Dc(), 0, 0, w, h, background_.Dc(), item.Rect.left - barRect_.left, item.Rect.top - barRect_.top,
           SRCCOPY);
    const RECT local{0, 0, w, h};
    if (item.State == kNCPressed || item.State == kNCHot) {
        const TSkinData* skin = frame_.SkinData();
        HBRUSH hilight = CreateSolidBrush(SkinColorRef(skin ? skin->Hilight : SysColour(COLOR_HIGHLIGHT)));
        FillRect(piece.Dc(), &local, hilight);
        DeleteObject(hilight);
    }
    DrawCaption(piece.Dc(), item, local);
    HDC dc = GetWindowDC(frame_.Window());
    piece.Draw(dc, item.Rect.left, item.Rect.top);
    ReleaseDC(frame_.Window(), dc);
}

TNCObject* TWinSkinMenu::HitItem(POINT p) {
    for (auto& b : items_)
        if (!b->Caption.empty() && PtInRect(&b->Rect, p)) return b.get();
    return nullptr;
}

TNCObject* TWinSkinMenu::AcceleratorItem(WPARAM key) {
    const char ch = static_cast<char>(std::toupper(static_cast<unsigned char>(key & 0xFF)));
    if (!ch) return nullptr;
    for (auto& b : items_)
        if (b->Visible && ui::AcceleratorChar(b->Caption) == ch) return b.get();
    return nullptr;
}

void TWinSkinMenu::OpenItem(TNCObject* object) {
    auto* item = dynamic_cast<TMenuBtn*>(object);
    if (!item || Tracking().Bar) return;
    HWND window = frame_.Window();
    PostMessageA(window, WM_COMMAND, item->Command, 0);
    int index = item->ItemIndex;
    std::shared_ptr<bool> alive = alive_;
    // Switching by arrow key or mouse closes one drop-down and opens the next here.
    while (index >= 0 && index < static_cast<int>(items_.size()) && items_[index]->SubMenu) {
        index = Track(*items_[static_cast<size_t>(index)]);
        if (!*alive) return;
        if (rereadPending_) {
            rereadPending_ = false;
            ReadItems(std::exchange(rereadMenu_, nullptr));
            frame_.RepaintFrame();
            index = -1;
        }
    }
}

void TWinSkinMenu::KeyboardMode() {
    HWND window = frame_.Window();
    std::vector<int> usable;
    for (auto& b : items_)
        if (b->Visible && !b->Caption.empty()) usable.push_back(b->ItemIndex);
    if (usable.empty() || Tracking().Bar || !window) return;
    std::shared_ptr<bool> alive = alive_;
    size_t at = 0;
    for (;;) {
        TMenuBtn* open = KeyboardSelect(usable, at);
        if (!*alive || !open) return;
        lastEscaped_ = false;
        OpenItem(open);
        // Esc in a drop-down goes back to the bar, its item still selected, as the system's does.
        if (!*alive || !lastEscaped_ || GetActiveWindow() != window) return;
        for (size_t i = 0; i < usable.size(); ++i)
            if (usable[i] == lastIndex_) at = i;
    }
}

TMenuBtn* TWinSkinMenu::KeyboardSelect(const std::vector<int>& usable, size_t& at) {
    HWND window = frame_.Window();
    std::shared_ptr<bool> alive = alive_;
    auto show = [&](size_t i, int state) {
        items_[static_cast<size_t>(usable[i])]->State = state;
        PaintItem(*items_[static_cast<size_t>(usable[i])]);
    };
    show(at, kNCHot);
    frame_.MenuTracking = true;
    // The keys come here until the bar is left: the focused control must not see them.
    TMenuBtn* open = nullptr;
    MSG m{};
    for (;;) {
        if (!GetMessageW(&m, nullptr, 0, 0)) {
            PostQuitMessage(static_cast<int>(m.wParam));
            break;
        }
        if (!*alive) return nullptr;
        if (GetActiveWindow() != window) {
            DispatchMessageW(&m);
            break;
        }
        const UINT msg = m.message;
        if (msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN) {
            const WPARAM key = m.wParam;
            if (key == VK_LEFT || key == VK_RIGHT) {
                show(at, kNCNormal);
                at = key == VK_RIGHT ? (at + 1) % usable.size() : (at + usable.size() - 1) % usable.size();
                show(at, kNCHot);
            } else if (key == VK_DOWN || key == VK_UP || key == VK_RETURN) {
                open = items_[static_cast<size_t>(usable[at])].get();
                break;
            } else if (key == VK_ESCAPE || key == VK_MENU || key == VK_F10) {
                break;
            } else if (auto* b = dynamic_cast<TMenuBtn*>(AcceleratorItem(MapVirtualKeyW(UINT(key), MAPVK_VK_TO_CHAR)))) {
                open = b;
                break;
            }
            continue;
        }
        if (msg == WM_CHAR || msg == WM_SYSCHAR) {
            if (auto* b = dynamic_cast<TMenuBtn*>(AcceleratorItem(m.wParam))) {
                open = b;
                break;
            }
            continue;
        }
        if (msg == WM_KEYUP || msg == WM_SYSKEYUP || msg == WM_DEADCHAR || msg == WM_SYSDEADCHAR) continue;
        if ((msg >= WM_LBUTTONDOWN && msg <= WM_MBUTTONDBLCLK) || (msg >= WM_NCLBUTTONDOWN && msg <= WM_NCMBUTTONDBLCLK)) {
            // A click ends the mode and then does what it does.
            show(at, kNCNormal);
            frame_.MenuTracking = false;
            DispatchMessageW(&m);
            return nullptr;
        }
        TranslateMessage(&m);
        DispatchMessageW(&m);
        if (!*alive) return nullptr;
    }
    if (!*alive) return nullptr;
    show(at, kNCNormal);
    frame_.MenuTracking = false;
    return open;
}

int TWinSkinMenu::Track(TMenuBtn& item) {
    HWND window = frame_.Window();
    TTracking& t = Tracking();
    t = TTracking{};
    t.Bar = this;
    t.OpenIndex = item.ItemIndex;
    t.OpenMenu = item.SubMenu;
    // Only a real move of the pointer switches drop-downs, not where it rests when one opens.
    GetCursorPos(&t.LastCursor);
    std::vector<TSwitchedItem> undo;
    SwitchToOwnerDraw(item.SubMenu, undo);

    frame_.MenuTracking = true;
    item.State = kNCPressed;
    PaintItem(item);
    RECT wr{};
    GetWindowRect(window, &wr);
    const int x = wr.left + item.Rect.left, y = wr.top + item.Rect.bottom;
    t.Hook = SetWindowsHookExA(WH_MSGFILTER, MenuFilterProc, nullptr, GetCurrentThreadId());
    UINT command = 0;
    std::shared_ptr<bool> alive = alive_;
    if (item.Enabled) {
        // The drop-down opens with its first item selected, so the keyboard can start at once.
        PostMessageA(window, WM_KEYDOWN, VK_DOWN, 0);
        command = static_cast<UINT>(TrackPopupMenu(item.SubMenu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON |
                                                                     TPM_RETURNCMD,
                                                   x, y, 0, window, nullptr));
    }
    if (t.Hook) UnhookWindowsHookEx(t.Hook);
    const int next = t.SwitchTo;
    lastIndex_ = item.ItemIndex;
    lastEscaped_ = t.Escaped && !command;
    t = TTracking{};
    UndoOwnerDraw(undo);
    if (command) PostMessageA(window, WM_COMMAND, command, 0);
    if (!*alive) return -1;
    frame_.MenuTracking = false;
    item.State = kNCNormal;
    PaintItem(item);
    return next;
}

void InstallSkinMenus() {
    TSkinPlugins& p = SkinPlugins();
    p.CreateMenuBar = [](TWinSkinForm& frame, HMENU menu, ui::TMainMenu* mainMenu) -> std::unique_ptr<TSkinMenuBarBase> {
        return std::make_unique<TWinSkinMenu>(frame, menu, mainMenu);
    };
    p.CreatePopMenuPainter = [](HWND window, TSkinData& data) -> std::unique_ptr<TSkinControlBase> {
        return std::make_unique<TWinSkinPopMenu>(window, data);
    };
    p.SetPopupMenusOwnerDraw = SetSkinPopupMenusOwnerDraw;
    p.MenuMessage = SkinMenuMessage;
}

}  // namespace kt
