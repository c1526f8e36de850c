// Skinned menus: the menu bar drawn inside the skinned frame (TWinSkinMenu with one TMenuBtn
// per top-level item), its drop-downs opened with TrackPopupMenu and followed by a
// message-filter hook, the painter of popup-menu windows (TWinSkinPopMenu) and the owner
// drawing of menu items from the skin's "MenuItem" and "MenuBackground" elements.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "skin/ui/SkinDib.h"
#include "skin/ui/WinSkinForm.h"

namespace kt {

class TWinSkinMenu;

// One top-level item of a skinned menu bar.
class TMenuBtn : public TNCObject {
public:
    TMenuBtn(TWinSkinForm& owner, TWinSkinMenu& bar) : TNCObject(owner), Bar(bar) {}
    void Paint() override;

    TWinSkinMenu& Bar;
    int ItemIndex = 0;
    std::string Caption;  // at most 80 characters, with its "&"
    bool Enabled = true;
    HMENU SubMenu = nullptr;
    UINT Command = 0;
};

class TWinSkinMenu : public TSkinMenuBarBase {
public:
    TWinSkinMenu(TWinSkinForm& frame, HMENU menu, ui::TMainMenu* mainMenu);
    ~TWinSkinMenu() override;

    void ReadItems(HMENU menu) override;
    HMENU Menu() const override { return menu_; }
    void Paint(HDC dc, const RECT& r) override;
    TNCObject* HitItem(POINT windowPoint) override;
    TNCObject* AcceleratorItem(WPARAM key) override;
    void OpenItem(TNCObject* item) override;
    void KeyboardMode() override;

    // Repaints one item in its state from the bar's last background.
    void PaintItem(TMenuBtn& item);
    const std::vector<std::unique_ptr<TMenuBtn>>& Items() const { return items_; }
    const RECT& BarRect() const { return barRect_; }
    TWinSkinForm& Frame() const { return frame_; }

private:
    void DrawCaption(HDC dc, const TMenuBtn& item, const RECT& r) const;
    int Track(TMenuBtn& item);
    // The bar's keyboard mode until an item is to open (returned) or the mode ends (null).
    TMenuBtn* KeyboardSelect(const std::vector<int>& usable, size_t& at);

    std::vector<std::unique_ptr<TMenuBtn>> items_;
    ui::TMainMenu* mainMenu_;
    RECT barRect_{};
    TWinSkinForm& frame_;
    TDibBitmap background_, scratch_;
    bool painting_ = false;
    HMENU menu_ = nullptr;
    bool rereadPending_ = false;
    int lastIndex_ = -1;        // the item whose drop-down was open last
    bool lastEscaped_ = false;  // and it closed with Esc, nothing chosen
    HMENU rereadMenu_ = nullptr;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

// The painter of one popup-menu window ("#32768"): border and background from the skin's
// "MenuBackground" element, everything to the system while the skin manager is not active.
class TWinSkinPopMenu : public TSkinControlBase {
public:
    TWinSkinPopMenu(HWND window, TSkinData& data);
    ~TWinSkinPopMenu() override;
    void Detach() override;
    HWND Window() const override { return window_; }

    // The menu the window shows (0 until the system has one in it).
    HMENU MenuHandle();
    // The whole window's background, built for the window's current size when missing; empty
    // when the skin has no "MenuBackground".
    const TDibBitmap& Background();
    // Where the client area starts in the background.
    POINT ClientOffset() const;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM w, LPARAM l);
    LRESULT WndProc(UINT msg, WPARAM w, LPARAM l);
    LRESULT CallOld(UINT msg, WPARAM w, LPARAM l);
    bool Usable() const;
    void PaintOutsideItems();

    ui::TSubclass subclass_;  // Proc in front of the popup window's procedure
    HWND window_;
    TSkinData& data_;
    TDibBitmap background_;
    HMENU menu_ = nullptr;
};

// The background of the popup window that shows menu, or null.
const TDibBitmap* PopMenuBackground(HMENU menu, POINT* clientOffset);

// One item of a menu drawn from the skin: background from the "MenuItem" element over the
// popup window's background (flat colours without them), then the item's content. rect is in
// the coordinates of dc; menu is the menu that holds the item.
void DrawSkinnedMenuItem(const TSkinDescription& skin, ui::TMenuItem& item, HDC dc, const RECT& rect, bool selected,
                         HMENU menu);

// Menu messages at a frame's window: drop-down and system-menu items measured and drawn from
// the skin; items of the toolkit's popup menus are left to their own handlers.
bool SkinMenuMessage(TWinSkinForm& frame, UINT msg, WPARAM w, LPARAM l, LRESULT& result);

// The popup menus a form owns drawn by the skin (on) or as before the skin took them (off).
void SetSkinPopupMenusOwnerDraw(ui::TForm& form, TSkinData& data, bool on);

// Registers the menu bar, the popup painter, the popup owner drawing and the menu messages
// with the skin manager's plug-ins. The program calls it once at start.
void InstallSkinMenus();

}  // namespace kt
