// Menus of the toolkit: what the system menu shows follows the item objects, commands reach
// the items, and the form dispatches its menus' commands and shortcuts.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "ui/Forms.h"
#include "ui/Menus.h"

using namespace kt::ui;

namespace {

std::string MenuText(HMENU menu, UINT command) {
    char buf[128] = {0};
    GetMenuStringA(menu, command, buf, sizeof buf, MF_BYCOMMAND);
    return buf;
}

MENUITEMINFOA Info(HMENU menu, UINT position) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_DATA;
    GetMenuItemInfoA(menu, position, TRUE, &info);
    return info;
}

TMenuItem* Item(TComponent* owner, TMenuItem* parent, const std::string& caption) {
    auto* i = new TMenuItem(owner);
    i->SetCaption(caption);
    parent->Add(i);
    return i;
}

}  // namespace

TEST(Menus, TheSystemMenuFollowsTheItems) {
    TForm form(nullptr);
    auto* menu = new TMainMenu(&form);
    TMenuItem* file = Item(&form, menu->Items(), "&File");
    TMenuItem* open = Item(&form, file, "&Open");
    TMenuItem* line = Item(&form, file, "-");
    TMenuItem* exit = Item(&form, file, "E&xit");
    form.SetMenu(menu);
    HMENU bar = GetMenu(form.Handle());
    ASSERT_EQ(bar, menu->Handle());
    ASSERT_EQ(GetMenuItemCount(bar), 1);
    HMENU sub = GetSubMenu(bar, 0);
    ASSERT_EQ(sub, file->Handle());
    EXPECT_EQ(GetMenuItemCount(sub), 3);
    EXPECT_EQ(Info(sub, 1).fType & MFT_SEPARATOR, static_cast<UINT>(MFT_SEPARATOR));
    EXPECT_EQ(MenuText(sub, exit->Command()), "E&xit");
    EXPECT_NE(open->Command(), exit->Command());
    EXPECT_NE(line->Command(), exit->Command());

    // State changes reach the entry in place; structure changes rebuild the list.
    open->SetChecked(true);
    open->SetEnabled(false);
    exit->SetShortCut(ShortCut('Q', scCtrl));
    EXPECT_TRUE(GetMenuState(sub, open->Command(), MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_TRUE(GetMenuState(sub, open->Command(), MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_EQ(MenuText(sub, exit->Command()), "E&xit\tCtrl+Q");
    exit->SetVisible(false);
    EXPECT_EQ(GetMenuItemCount(sub), 2);
    exit->SetVisible(true);
    TMenuItem* recent = new TMenuItem(&form);
    recent->SetCaption("Recent");
    file->Insert(1, recent);
    ASSERT_EQ(GetMenuItemCount(sub), 4);
    EXPECT_EQ(Info(sub, 1).wID, recent->Command());
    delete recent;
    EXPECT_EQ(GetMenuItemCount(sub), 3);
    EXPECT_EQ(Info(sub, 2).wID, exit->Command());

    // Owner drawing turns every entry into one the item draws, and the entry knows its item.
    menu->SetOwnerDraw(true);
    const MENUITEMINFOA drawn = Info(sub, 2);
    EXPECT_TRUE(drawn.fType & MFT_OWNERDRAW);
    EXPECT_EQ(TMenuItem::FromData(drawn.dwItemData), exit);
    EXPECT_EQ(Info(sub, 1).fType & (MFT_OWNERDRAW | MFT_SEPARATOR), static_cast<UINT>(MFT_OWNERDRAW | MFT_SEPARATOR));
}

TEST(Menus, CommandsAndShortcutsClickEnabledItemsOnly) {
    TForm form(nullptr);
    auto* menu = new TMainMenu(&form);
    TMenuItem* edit = Item(&form, menu->Items(), "&Edit");
    TMenuItem* copy = Item(&form, edit, "&Copy");
    TMenuItem* paste = Item(&form, edit, "&Paste");
    auto* action = new TAction(&form);
    action->Caption = "&Find";
    action->ShortCut = ShortCut('F', scCtrl);
    int copies = 0, pastes = 0, finds = 0;
    action->OnExecute = [&] { ++finds; };
    TMenuItem* find = Item(&form, edit, "x");
    find->SetAction(action);
    copy->OnClick = [&] { ++copies; };
    paste->OnClick = [&] { ++pastes; };
    copy->SetShortCut(ShortCut('C', scCtrl));
    paste->SetEnabled(false);
    form.SetMenu(menu);
    EXPECT_EQ(find->Caption(), "&Find");

    SendMessageA(form.Handle(), WM_COMMAND, MAKEWPARAM(copy->Command(), 0), 0);
    SendMessageA(form.Handle(), WM_COMMAND, MAKEWPARAM(paste->Command(), 0), 0);
    SendMessageA(form.Handle(), WM_COMMAND, MAKEWPARAM(find->Command(), 0), 0);
    EXPECT_EQ(copies, 1);
    EXPECT_EQ(pastes, 0);
    EXPECT_EQ(finds, 1);

    EXPECT_TRUE(form.IsShortCut(ShortCut('C', scCtrl)));
    EXPECT_TRUE(form.IsShortCut(ShortCut('F', scCtrl)));
    EXPECT_FALSE(form.IsShortCut(ShortCut('C', scCtrl | scShift)));
    EXPECT_EQ(copies, 2);
    EXPECT_EQ(finds, 2);
    paste->SetShortCut(ShortCut('V', scCtrl));
    EXPECT_FALSE(form.IsShortCut(ShortCut('V', scCtrl)));  // disabled
    EXPECT_EQ(pastes, 0);

    // A command number of an item that is gone is no longer dispatched.
    const UINT gone = copy->Command();
    delete copy;
    EXPECT_EQ(menu->FindItem(gone), nullptr);
    EXPECT_FALSE(menu->DispatchCommand(gone));
}

TEST(Menus, OwnerDrawnItemsMeasureAndDrawThroughTheirWindow) {
    TForm form(nullptr);
    auto* popup = new TPopupMenu(&form);
    TMenuItem* plain = Item(&form, popup->Items(), "Plain");
    TMenuItem* custom = Item(&form, popup->Items(), "Custom");
    popup->SetOwnerDraw(true);
    custom->OnMeasureItem = [](TMenuItem*, TCanvas&, int& width, int&) { width = 120; };
    bool drawnSelected = false;
    custom->OnDrawItem = [&](TMenuItem*, TCanvas& canvas, const RECT& r, bool selected) {
        drawnSelected = selected;
        canvas.Brush.Color = RGB(10, 20, 30);
        canvas.FillRect(r);
    };

    MEASUREITEMSTRUCT m{};
    m.CtlType = ODT_MENU;
    m.itemData = reinterpret_cast<ULONG_PTR>(custom);
    m.itemHeight = 5;
    SendMessageA(form.Handle(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&m));
    EXPECT_EQ(m.itemWidth, 120u);
    EXPECT_GE(m.itemHeight, 13u);  // the standard height stays
    MEASUREITEMSTRUCT p = m;
    p.itemData = reinterpret_cast<ULONG_PTR>(plain);
    SendMessageA(form.Handle(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&p));
    EXPECT_GT(p.itemWidth, 20u);

    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, 50, 20);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bmp);
    DRAWITEMSTRUCT d{};
    d.CtlType = ODT_MENU;
    d.itemData = reinterpret_cast<ULONG_PTR>(custom);
    d.itemState = ODS_SELECTED;
    d.hDC = dc;
    d.rcItem = {0, 0, 50, 20};
    SendMessageA(form.Handle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&d));
    EXPECT_TRUE(drawnSelected);
    EXPECT_EQ(GetPixel(dc, 25, 10), RGB(10, 20, 30));
    // The standard look fills the item with the menu's colour when it is not selected.
    d.itemData = reinterpret_cast<ULONG_PTR>(plain);
    d.itemState = 0;
    SendMessageA(form.Handle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&d));
    EXPECT_EQ(GetPixel(dc, 1, 1), GetSysColor(COLOR_MENU));
    // A number that is no live item is left to the system.
    d.itemData = 12345;
    EXPECT_FALSE(TMenu::HandleOwnerDrawMessage(WM_DRAWITEM, reinterpret_cast<LPARAM>(&d)));
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
}

TEST(Menus, ShortCutTexts) {
    EXPECT_EQ(ShortCutToText(ShortCut('T', scCtrl)), "Ctrl+T");
    EXPECT_EQ(ShortCutToText(ShortCut(VK_F5, scShift | scCtrl)), "Shift+Ctrl+F5");
    EXPECT_EQ(ShortCutToText(ShortCut(VK_DELETE, scAlt)), "Alt+Del");
    EXPECT_EQ(ShortCutToText(0), "");
}

TEST(Menus, MenuCharMatchesTheAmpersandLettersOfDrawnItems) {
    TForm form(nullptr);
    auto* menu = new TPopupMenu(&form);
    menu->SetOwnerDraw(true);
    Item(&form, menu->Items(), "&Open");
    Item(&form, menu->Items(), "-");
    Item(&form, menu->Items(), "E&xit");
    Item(&form, menu->Items(), "&Options");
    Item(&form, menu->Items(), "Save && &Quit");
    HMENU h = menu->Handle();
    auto answer = [&](char c) {
        return SendMessageA(form.Handle(), WM_MENUCHAR, MAKEWPARAM(c, MF_POPUP), reinterpret_cast<LPARAM>(h));
    };
    EXPECT_EQ(answer('x'), MAKELRESULT(2, MNC_EXECUTE));
    EXPECT_EQ(answer('Q'), MAKELRESULT(4, MNC_EXECUTE)) << "\"&&\" is no mark";
    // Two items share "o": the first is selected, not run.
    EXPECT_EQ(answer('o'), MAKELRESULT(0, MNC_SELECT));
    EXPECT_EQ(answer('z'), 0);
}
