// The content of skinned menu items, drawn on a memory DIB and read back pixel by pixel:
// text colours, the "&" caption's height, check marks with and without a picture, alignment
// and the shortcut's place; and the by-name property routine.
#include <gtest/gtest.h>

#include "skin/ui/MenuItemCanvas.h"
#include "ui/ImgList.h"
#include "ui/StdCtrls.h"

using namespace kt;
using namespace kt::menu_tests;

namespace {

constexpr int W = 160, H = 20;

Pixel AsPixel(COLORREF c) { return MakePixel(GetRValue(c), GetGValue(c), GetBValue(c)); }

TSkinDescription Colours() {
    TSkinDescription s;
    s.MenuText = 0x0000C0;      // red
    s.HilightText = 0x00C000;   // green
    s.ButtonShadow = 0xC00000;  // blue
    return s;
}

}  // namespace

TEST(SkinMenuItem, TextColourFollowsStateAndTheShadowRule) {
    ui::TMenuItem item(nullptr);
    item.SetCaption("WWWW");
    TSkinDescription skin = Colours();
    struct Case {
        bool enabled, selected, shadowIsText;
        COLORREF want;
    } cases[] = {
        {true, false, false, RGB(0xC0, 0, 0)},
        {true, true, false, RGB(0, 0xC0, 0)},
        {false, true, false, RGB(0, 0, 0xC0)},
        // A skin whose disabled colour equals its text colour would hide the state.
        {false, false, true, GetSysColor(COLOR_BTNSHADOW)},
    };
    for (const Case& c : cases) {
        item.SetEnabled(c.enabled);
        skin.ButtonShadow = c.shadowIsText ? skin.MenuText : 0xC00000;
        TItemCanvas t;
        t.Draw(skin, item, c.selected);
        EXPECT_GT(t.Count(AsPixel(c.want)), 10) << c.enabled << c.selected << c.shadowIsText;
    }
}

TEST(SkinMenuItem, AmpersandOrEmptyCaptionStillMeasuresALine) {
    TSkinDescription skin = Colours();
    ui::TMenuItem item(nullptr);
    TItemCanvas t;
    for (const char* text : {"&", ""}) {
        RECT r{20, 0, 150, 0};
        DrawSkinMenuItemText(skin, item, t.canvas, DT_CALCRECT | DT_SINGLELINE, false, r, text);
        EXPECT_GT(r.bottom - r.top, 8) << '"' << text << '"';
        EXPECT_GT(r.right, 20) << '"' << text << '"';
    }
}

TEST(SkinMenuItem, CheckMarkWithoutAndWithPicture) {
    TSkinDescription skin = Colours();
    ui::TPopupMenu menu(nullptr);
    auto* item = new ui::TMenuItem(&menu);
    item->SetCaption("x");
    menu.Items()->Add(item);

    item->SetChecked(true);
    TItemCanvas plain;
    plain.Draw(skin, *item, false);
    EXPECT_GT(plain.Count(AsPixel(GetSysColor(COLOR_BTNTEXT)), 1, 17), 5) << "the system check mark";

    // A red square inside a magenta ring: the ring shows what lies under the picture.
    ui::TImageList images(nullptr);
    TBitmap32 picture(16, 16, kMagenta);
    FillRect(picture.View(), {4, 4, 12, 12}, 0xFF0000);
    item->ImageIndex = images.Add(picture);
    menu.Images = &images;
    TItemCanvas pictured;
    pictured.Draw(skin, *item, false);
    EXPECT_EQ(pictured.At(9, 9), 0xFF0000u);
    EXPECT_EQ(pictured.Count(AsPixel(GetSysColor(COLOR_BTNTEXT)), 1, 17), 0) << "no check mark over a picture";
    const Pixel face = AsPixel(GetSysColor(COLOR_BTNFACE)), light = AsPixel(GetSysColor(COLOR_BTNHIGHLIGHT));
    const Pixel a = pictured.At(3, 3), b = pictured.At(4, 3);
    EXPECT_TRUE((a == face && b == light) || (a == light && b == face)) << std::hex << a << " " << b;
    EXPECT_EQ(pictured.At(1, 5), AsPixel(GetSysColor(COLOR_BTNSHADOW))) << "sunken edge";

    item->SetChecked(false);
    item->SetEnabled(false);
    TItemCanvas greyed;
    greyed.Draw(skin, *item, false);
    const Pixel g = greyed.At(9, 9);
    EXPECT_TRUE(PixelR(g) == PixelG(g) && PixelG(g) == PixelB(g)) << "a disabled picture is grey";
    EXPECT_EQ(greyed.At(3, 3), kBack) << "no pressed square when not checked";
}

TEST(SkinMenuItem, AlignmentAndShortcutPlace) {
    TSkinDescription skin = Colours();
    ui::TPopupMenu popup(nullptr);
    ui::TMainMenu bar(nullptr);
    auto add = [](ui::TMenu& m, const char* caption) {
        auto* i = new ui::TMenuItem(&m);
        i->SetCaption(caption);
        m.Items()->Add(i);
        return i;
    };
    ui::TMenuItem* inPopup = add(popup, "Wide");
    ui::TMenuItem* inBar = add(bar, "Wide");

    TItemCanvas left;
    left.Draw(skin, *inPopup, false);
    EXPECT_NEAR(left.InkColumns().first, 20, 2) << "caption after the glyph box";

    popup.Alignment = ui::TPopupAlignment::paRight;
    TItemCanvas right;
    right.Draw(skin, *inPopup, false);
    EXPECT_NEAR(right.InkColumns().second, W - 2, 2) << "right-aligned popup";

    // The alignment belongs to popup menus only.
    TItemCanvas main;
    main.Draw(skin, *inBar, false);
    EXPECT_NEAR(main.InkColumns().first, 20, 2);

    inBar->SetShortCut(ui::ShortCut('Q', ui::scCtrl));
    TItemCanvas keys;
    keys.Draw(skin, *inBar, false);
    EXPECT_NEAR(keys.InkColumns().second, W - 12, 2) << "shortcut ends 11 pixels before the edge";
    EXPECT_NEAR(keys.InkColumns().first, 20, 2);
}

TEST(SetEnumProperty, SetsOnlyEnumerationsTheComponentHas) {
    ui::TLabel label(nullptr);
    EXPECT_TRUE(SetEnumProperty(&label, "Transparent", "True"));
    EXPECT_TRUE(label.Transparent);
    // Unknown property, a property that is not an enumeration, an unknown value, no component.
    EXPECT_FALSE(SetEnumProperty(&label, "Flat", "False"));
    EXPECT_FALSE(SetEnumProperty(&label, "Caption", "False"));
    EXPECT_FALSE(SetEnumProperty(&label, "Transparent", "Maybe"));
    EXPECT_FALSE(SetEnumProperty(nullptr, "Transparent", "False"));
    EXPECT_TRUE(label.Transparent);
    EXPECT_TRUE(SetEnumProperty(&label, "Transparent", "False"));
    EXPECT_FALSE(label.Transparent);
}
