// Menus: item objects (caption, shortcut, enabled, checked, default, image index, sub-items,
// tag, an action) behind a main menu or a popup menu. Each item gets a command number of its
// own; a menu with OwnerDraw set lets its items draw and measure themselves.
#pragma once
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/Component.h"
#include "ui/Graphics.h"

namespace kt::ui {

// A key with its shift state: the virtual key in the low byte.
using TShortCut = unsigned short;
enum : unsigned short { scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000 };
inline TShortCut ShortCut(WORD key, unsigned short shift) { return static_cast<TShortCut>((key & 0xFF) | shift); }
// "Ctrl+Shift+F5" and the like; empty for no shortcut.
std::string ShortCutToText(TShortCut shortCut);

// A command that menu items can share: its caption, hint, enabled state and what it does.
class TAction : public TComponent {
    KT_CLASS(TAction, TComponent, "TBasicAction", "TCustomAction")
public:
    explicit TAction(TComponent* owner) : TComponent(owner) {}
    std::string Caption, Hint;
    bool Enabled = true;
    TShortCut ShortCut = 0;
    std::function<void()> OnExecute;
    // Lets the program bring Caption and Enabled up to date before the action is shown.
    std::function<void(TAction&)> OnUpdate;
    bool Execute();
};

class TImageList;
// The menu font of the screen.
void AssignMenuFont(TFont& font);
// The caption without its "&" marks ("&&" stays one "&").
std::string StripAccelerator(const std::string& caption);
// The "&" letter of a caption, upper case, or 0.
char AcceleratorChar(const std::string& caption);

class TMenu;
class TMenuItem;

// How an item is to be drawn.
enum TOwnerDrawState : unsigned { odSelected = 1, odGrayed = 2, odDisabled = 4, odChecked = 8, odDefault = 16 };

using TMenuDrawItemEvent = std::function<void(TMenuItem* sender, TCanvas& canvas, const RECT& rect, bool selected)>;
using TMenuMeasureItemEvent = std::function<void(TMenuItem* sender, TCanvas& canvas, int& width, int& height)>;

class TMenuItem : public TComponent {
    KT_CLASS(TMenuItem, TComponent)
public:
    explicit TMenuItem(TComponent* owner);
    ~TMenuItem() override;

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool v);
    bool Checked() const { return checked_; }
    void SetChecked(bool v);
    bool Visible() const { return visible_; }
    void SetVisible(bool v);
    bool Default() const { return default_; }
    void SetDefault(bool v);
    TShortCut ShortCut() const { return shortCut_; }
    void SetShortCut(TShortCut s);
    int ImageIndex = -1;
    std::string Hint;
    // Takes caption, hint, enabled state and shortcut from the action; a click executes it.
    TAction* Action() const { return action_; }
    void SetAction(TAction* action);
    // Runs the action's update and takes its caption, enabled state and shortcut again.
    void InitiateAction();

    bool IsLine() const { return caption_ == "-"; }
    // The number the item's WM_COMMAND carries.
    UINT Command() const { return command_; }

    // Sub-items.
    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem* Items(int index) const;
    TMenuItem* Parent() const { return parent_; }
    void Add(TMenuItem* item);
    void Insert(int index, TMenuItem* item);
    void Remove(TMenuItem* item);
    int IndexOf(const TMenuItem* item) const;
    // The menu the item belongs to, through its parents.
    TMenu* GetParentMenu() const;
    // The popup menu of an item with sub-items (made on demand); the menu bar for the root
    // item of a main menu.
    HMENU Handle();
    bool HandleAllocated() const { return handle_ != nullptr; }

    // Runs OnClick or the action, when enabled.
    virtual void Click();
    std::function<void()> OnClick;
    TMenuDrawItemEvent OnDrawItem;
    TMenuMeasureItemEvent OnMeasureItem;
    // Set while a skin draws the item through handlers of its own: the measurer to give back.
    std::optional<TMenuMeasureItemEvent> MeasureBeforeSkin;

    // Owner drawing, called by the menu's window: the handlers when set, else the standard look.
    void DrawItem(TCanvas& canvas, const RECT& rect, unsigned state);
    void MeasureItem(TCanvas& canvas, int& width, int& height);

    // The item with that command among this one and its sub-items.
    TMenuItem* Find(UINT command);
    TMenuItem* FindShortCut(TShortCut shortCut);
    // A live item made by the toolkit, from the number the system hands back.
    static TMenuItem* FromData(ULONG_PTR data);

private:
    friend class TMenu;
    void Changed(bool structure);
    void FillMenuItemInfo(MENUITEMINFOW& info, std::wstring& text);
    void RebuildHandle();
    void AppendTo(HMENU menu);
    void DestroyHandle();
    std::string DisplayText() const;

    std::string caption_;
    bool enabled_ = true, checked_ = false, visible_ = true, default_ = false;
    TShortCut shortCut_ = 0;
    TAction* action_ = nullptr;
    UINT command_ = 0;
    TMenuItem* parent_ = nullptr;
    TMenu* menu_ = nullptr;  // set on the root item only
    std::vector<TMenuItem*> items_;
    HMENU handle_ = nullptr;
};

class TMenu : public TComponent {
    KT_CLASS(TMenu, TComponent)
public:
    explicit TMenu(TComponent* owner);
    ~TMenu() override;

    TMenuItem* Items() const { return items_; }
    HMENU Handle() { return items_->Handle(); }
    bool OwnerDraw() const { return ownerDraw_; }
    void SetOwnerDraw(bool v);
    // Pictures of the items (ImageIndex); not owned.
    TImageList* Images = nullptr;
    // Set while a skin draws the menu: whether it was owner-drawn before.
    std::optional<bool> OwnerDrawBeforeSkin;

    // The item behind a WM_COMMAND number, or null.
    TMenuItem* FindItem(UINT command) const { return items_->Find(command); }
    // Clicks the item behind a WM_COMMAND number; false when the menu has none.
    bool DispatchCommand(UINT command);
    // Clicks the enabled item with that shortcut; false when there is none.
    bool IsShortCut(TShortCut shortCut);

    // Answers WM_MEASUREITEM and WM_DRAWITEM for menu items; false when the message is not
    // for a menu item.
    static bool HandleOwnerDrawMessage(UINT msg, LPARAM l);
    // The answer to WM_MENUCHAR: owner-drawn items lose the system's "&" matching, so the
    // letter is matched against the items' captions here. 0 when no item has that letter.
    static LRESULT MenuCharAnswer(HMENU menu, WPARAM w);

protected:
    virtual bool IsMainMenu() const { return false; }
    // The structure changed after the handle was made.
    virtual void MenuChanged() {}

private:
    friend class TMenuItem;
    TMenuItem* items_;
    bool ownerDraw_ = false;
};

class TMainMenu : public TMenu {
    KT_CLASS(TMainMenu, TMenu)
public:
    explicit TMainMenu(TComponent* owner) : TMenu(owner) {}
    // Set by the form that shows the menu: redraws its menu bar after a change.
    std::function<void()> OnChange;

protected:
    bool IsMainMenu() const override { return true; }
    void MenuChanged() override;
};

enum class TPopupAlignment { paLeft, paRight, paCenter };

class TPopupMenu : public TMenu {
    KT_CLASS(TPopupMenu, TMenu)
public:
    explicit TPopupMenu(TComponent* owner) : TMenu(owner) {}
    // Where the menu opens against the point, and how its items align their text.
    TPopupAlignment Alignment = TPopupAlignment::paLeft;
    // Opens the menu with its top-left corner at the screen point and waits until it closes;
    // the chosen item is clicked after that. The menu reports to `window`, or else to its
    // owner's window.
    void Popup(int x, int y, HWND window = nullptr);
    std::function<void()> OnPopup;
    // The window the menu reports to while it is open: the owner's when the owner is a
    // windowed control.
    HWND OwnerWindow();
};

}  // namespace kt::ui
