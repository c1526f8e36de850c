// Skinned menus on real menus and windows: the popup menus a form owns handed to the skin's
// drawing and given back exactly, and the measures of their items.
#include <gtest/gtest.h>

#include "skin/ui/WinSkinMenu.h"
#include "ui/Forms.h"

using namespace kt;

namespace {

ui::TMenuItem* Add(ui::TComponent* owner, ui::TMenuItem* parent, const char* caption, int tag = 0) {
    auto* i = new ui::TMenuItem(owner);
    i->SetCaption(caption);
    i->Tag = tag;
    parent->Add(i);
    return i;
}

UINT ItemType(HMENU menu, UINT command) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    GetMenuItemInfoA(menu, command, FALSE, &info);
    return info.fType;
}

int MeasuredWidth(ui::TMenuItem* item) {
    HDC dc = GetDC(nullptr);
    int w = 0, h = 0;
    {
        ui::TCanvas canvas(dc);
        ui::AssignMenuFont(canvas.Font());
        item->MeasureItem(canvas, w, h);
    }
    ReleaseDC(nullptr, dc);
    return w;
}

}  // namespace

TEST(SkinPopupMenus, SkinTakesThePopupMenusAndGivesThemBackExactly) {
    ui::TForm form(nullptr);
    TSkinData data;
    auto* menu = new ui::TPopupMenu(&form);
    ui::TMenuItem* plain = Add(&form, menu->Items(), "&Plain");
    ui::TMenuItem* sub = Add(&form, menu->Items(), "Sub");
    ui::TMenuItem* inner = Add(&form, sub, "Inner");
    ui::TMenuItem* own = Add(&form, menu->Items(), "Own");
    ui::TMenuItem* never = Add(&form, menu->Items(), "Never", 999);
    int ownDrawn = 0;
    own->OnDrawItem = [&](ui::TMenuItem*, ui::TCanvas&, const RECT&, bool) { ++ownDrawn; };
    auto* kept = new ui::TPopupMenu(&form);  // already drawn by its owner, like the icon's menu
    kept->SetOwnerDraw(true);
    ui::TMenuItem* keptItem = Add(&form, kept->Items(), "Kept");
    auto* excluded = new ui::TPopupMenu(&form);
    excluded->Tag = 199;  // mod 100 is the skin's DisableTag
    Add(&form, excluded->Items(), "Excluded");
    HMENU handle = menu->Handle();
    const int plainWidth = MeasuredWidth(plain);

    for (int round = 0; round < 2; ++round) {  // a re-skin applies it again
        SetSkinPopupMenusOwnerDraw(form, data, true);
        EXPECT_TRUE(menu->OwnerDraw());
        EXPECT_TRUE(ItemType(handle, plain->Command()) & MFT_OWNERDRAW);
        EXPECT_TRUE(plain->OnDrawItem && inner->OnDrawItem && keptItem->OnDrawItem);
        EXPECT_FALSE(never->OnDrawItem);
        EXPECT_FALSE(excluded->OwnerDraw());
        EXPECT_EQ(MeasuredWidth(plain), plainWidth + 28);
        ui::TCanvas canvas;
        own->DrawItem(canvas, RECT{}, 0);
        EXPECT_EQ(ownDrawn, round + 1) << "an item with its own drawing keeps it";
    }

    SetSkinPopupMenusOwnerDraw(form, data, false);
    EXPECT_FALSE(menu->OwnerDraw());
    EXPECT_FALSE(ItemType(handle, plain->Command()) & MFT_OWNERDRAW) << "no owner-draw flag left behind";
    EXPECT_FALSE(plain->OnDrawItem || inner->OnDrawItem || keptItem->OnDrawItem);
    EXPECT_EQ(MeasuredWidth(plain), plainWidth);
    EXPECT_TRUE(own->OnDrawItem) << "the owner's drawing survives the skin going off";
    EXPECT_TRUE(kept->OwnerDraw());

    // Without popup menus among the skinned kinds nothing is taken.
    data.SkinControls &= ~SkinControlBit(xcPopupMenu);
    SetSkinPopupMenusOwnerDraw(form, data, true);
    EXPECT_FALSE(menu->OwnerDraw());
}
