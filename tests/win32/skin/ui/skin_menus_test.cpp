// Skinned menus on real menus and windows: the popup menus a form owns handed to the skin's
// drawing and given back exactly, the menu bar in a skinned frame, the drop-down items'
// measures, and menus opened a thousand times without losing a GDI object.
#include <gtest/gtest.h>

#include <tuple>

#include "GuiObjects.h"
#include "Pump.h"
#include "skingen/BuiltinSkins.h"
#include "skin/data/SkinWriter.h"
#include "skin/ui/MenuItemCanvas.h"
#include "skin/ui/WinSkinMenu.h"
#include "ui/Application.h"
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

SIZE Measured(ui::TMenuItem* item) {
    int w = 0, h = 0;
    menu_tests::TItemCanvas c;  // the menu font
    item->MeasureItem(c.canvas, w, h);
    return {w, h};
}

// An item drawn by the skin at the size it was measured, as the menu shows it: the first and
// last columns holding ink and the widest gap of background between.
struct Ink {
    int first = -1, last = -1, gapStart = -1, gap = 0;
};
Ink DrawnInk(const TSkinDescription& skin, ui::TMenuItem& item, SIZE size) {
    menu_tests::TItemCanvas t(size.cx, size.cy);
    t.Draw(skin, item, false);
    Ink ink;
    std::tie(ink.first, ink.last) = t.InkColumns();
    for (int x = ink.first, blank = 0; x <= ink.last; ++x, blank = t.Inked(x - 1) ? 0 : blank + 1)
        if (blank > ink.gap) ink.gap = blank, ink.gapStart = x - blank;
    return ink;
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
    const SIZE plainSize = Measured(plain);

    for (int round = 0; round < 2; ++round) {  // a re-skin applies it again
        SetSkinPopupMenusOwnerDraw(form, data, true);
        EXPECT_TRUE(menu->OwnerDraw());
        EXPECT_TRUE(ItemType(handle, plain->Command()) & MFT_OWNERDRAW);
        EXPECT_TRUE(plain->OnDrawItem && inner->OnDrawItem && keptItem->OnDrawItem);
        EXPECT_FALSE(never->OnDrawItem);
        EXPECT_FALSE(excluded->OwnerDraw());
        // The skin's rule for popup items: 28 pixels wider than the toolkit measures them; and
        // drawn at that width the caption fits whole.
        const SIZE size = Measured(plain);
        const Ink ink = DrawnInk(data, *plain, size);
        EXPECT_EQ(size.cx, plainSize.cx + 28);
        EXPECT_GE(ink.last - ink.first + 1, menu_tests::TItemCanvas().canvas.TextWidth("Plain") - 3);
        EXPECT_LT(ink.last, size.cx - 1) << "the caption runs to the edge";
        ui::TCanvas canvas;
        own->DrawItem(canvas, RECT{}, 0);
        EXPECT_EQ(ownDrawn, round + 1) << "an item with its own drawing keeps it";
    }

    SetSkinPopupMenusOwnerDraw(form, data, false);
    EXPECT_FALSE(menu->OwnerDraw());
    EXPECT_FALSE(ItemType(handle, plain->Command()) & MFT_OWNERDRAW) << "no owner-draw flag left behind";
    EXPECT_FALSE(plain->OnDrawItem || inner->OnDrawItem || keptItem->OnDrawItem);
    EXPECT_EQ(Measured(plain).cx, plainSize.cx);
    EXPECT_TRUE(own->OnDrawItem) << "the owner's drawing survives the skin going off";
    EXPECT_TRUE(kept->OwnerDraw());

    // Without popup menus among the skinned kinds nothing is taken.
    data.SkinControls &= ~SkinControlBit(xcPopupMenu);
    SetSkinPopupMenusOwnerDraw(form, data, true);
    EXPECT_FALSE(menu->OwnerDraw());
}

namespace {

void Pump() { test_support::PumpFor(30); }

BOOL CALLBACK CollectMenu(HWND h, LPARAM l) {
    char cls[16] = {0};
    GetClassNameA(h, cls, sizeof cls);
    if (!lstrcmpA(cls, "#32768") && IsWindowVisible(h)) reinterpret_cast<std::vector<HWND>*>(l)->push_back(h);
    return TRUE;
}
std::vector<HWND> MenuWindows() {
    std::vector<HWND> out;
    EnumThreadWindows(GetCurrentThreadId(), CollectMenu, reinterpret_cast<LPARAM>(&out));
    return out;
}

// A helper window whose message, posted before a menu opens, is handled inside the menu's
// loop: it paints the open menus, notes how many there were, and closes them.
constexpr UINT kCloseMenu = WM_APP + 7;
int seenMenus = 0;
LRESULT CALLBACK Closer(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m != kCloseMenu) return DefWindowProcA(h, m, w, l);
    const auto open = MenuWindows();
    seenMenus = static_cast<int>(open.size());
    for (HWND menu : open) RedrawWindow(menu, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
    EndMenu();
    return 0;
}
HWND CloserWindow() {
    static HWND w = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = Closer;
        wc.lpszClassName = "KtMenuCloser";
        RegisterClassA(&wc);
        return CreateWindowA(wc.lpszClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    }();
    return w;
}

class SkinnedMenuBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        InstallSkinManager();
        InstallSkinMenus();
        data = std::make_unique<TSkinData>();
        data->SkinStream = PackSkin(MakeBuiltinSkin(0));
        data->UnpackSkin();
        data->Loaded();
        SkinManage()->ActivationCount = 1;
        Switch(true);
        form = new ui::TForm(nullptr);
        form->SetCaption("Menus");
        form->SetBounds(100, 100, 400, 300);
        menu = new ui::TMainMenu(form);
        file = Add(form, menu->Items(), "&File");
        open = Add(form, file, "&Open");
        open->SetShortCut(ui::ShortCut('O', ui::scCtrl));
        line = Add(form, file, "-");
        Add(form, file, "E&xit");
        edit = Add(form, menu->Items(), "&Edit");
        Add(form, edit, "&Undo");
        form->SetMenu(menu);
        popup = new ui::TPopupMenu(form);
        Add(form, popup->Items(), "&One");
        Add(form, popup->Items(), "-");
        Add(form, popup->Items(), "&Two");
        form->Show();
        SkinManage()->AttachForm(form->Handle());
        Pump();
        frame = SkinManage()->FrameOf(form->Handle());
        ASSERT_NE(frame, nullptr);
    }
    void TearDown() override {
        delete form;
        data.reset();
        ReleaseSkinManager();
    }
    void Switch(bool on) {
        data->SetActive(on);
        SkinManage()->RunCommand();
        Pump();
    }
    std::unique_ptr<TSkinData> data;
    ui::TForm* form = nullptr;
    ui::TMainMenu* menu = nullptr;
    ui::TPopupMenu* popup = nullptr;
    ui::TMenuItem *file = nullptr, *open = nullptr, *line = nullptr, *edit = nullptr;
    TWinSkinForm* frame = nullptr;
};

bool AnyOwnerDraw(HMENU m) {
    for (int i = 0; i < GetMenuItemCount(m); ++i) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_SUBMENU;
        GetMenuItemInfoA(m, UINT(i), TRUE, &info);
        if ((info.fType & MFT_OWNERDRAW) || (info.hSubMenu && AnyOwnerDraw(info.hSubMenu))) return true;
    }
    return false;
}

}  // namespace

TEST_F(SkinnedMenuBarTest, TheBarIsReadHitAndGivenBackWhole) {
    auto* bar = dynamic_cast<TWinSkinMenu*>(frame->MenuBar());
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(GetMenu(form->Handle()), nullptr) << "the frame draws the bar";
    ASSERT_EQ(bar->Items().size(), 2u);
    EXPECT_EQ(bar->Items()[1]->Caption, "&Edit");
    EXPECT_EQ(bar->Items()[0]->SubMenu, file->Handle());
    RedrawWindow(form->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    const RECT r = bar->Items()[1]->Rect;
    ASSERT_GT(r.right, r.left);
    EXPECT_EQ(bar->HitItem({(r.left + r.right) / 2, (r.top + r.bottom) / 2}), bar->Items()[1].get());
    EXPECT_EQ(bar->HitItem({r.right + 40, (r.top + r.bottom) / 2}), nullptr);
    EXPECT_EQ(bar->AcceleratorItem('e'), bar->Items()[1].get());
    EXPECT_EQ(bar->AcceleratorItem('Z'), nullptr);

    Switch(false);
    EXPECT_EQ(GetMenu(form->Handle()), menu->Handle());
    EXPECT_FALSE(AnyOwnerDraw(menu->Handle()));
    EXPECT_FALSE(popup->OwnerDraw());
}

TEST_F(SkinnedMenuBarTest, ADropDownItemFitsItsCaptionAndItsShortcutApartAtTheRight) {
    const int textHeight = menu_tests::TItemCanvas().canvas.TextHeight("W");
    MEASUREITEMSTRUCT m{};
    m.CtlType = ODT_MENU;
    m.itemID = open->Command();
    m.itemData = reinterpret_cast<ULONG_PTR>(open);
    EXPECT_TRUE(SendMessageA(form->Handle(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&m)));
    EXPECT_GE(int(m.itemHeight), textHeight + 4);  // rows of items do not overlap their text
    // Drawn at that size: "Open", a clear gap, then "Ctrl+O" ending near the right edge, inside.
    const SIZE size{LONG(m.itemWidth), LONG(m.itemHeight)};
    const Ink ink = DrawnInk(*data, *open, size);
    ASSERT_GE(ink.first, 0);
    EXPECT_GE(ink.gap, 8) << "caption and shortcut touch";
    EXPECT_GE(ink.gapStart - ink.first, menu_tests::TItemCanvas().canvas.TextWidth("Open") - 3) << "the caption is cut";
    EXPECT_GE(ink.last - (ink.gapStart + ink.gap) + 1, menu_tests::TItemCanvas().canvas.TextWidth("Ctrl+O") - 3) << "the shortcut is cut";
    EXPECT_LT(ink.last, size.cx - 2) << "the shortcut runs out of the menu";
    EXPECT_GT(ink.last, size.cx - 20) << "the shortcut is not right-aligned";
    m.itemID = line->Command();
    m.itemData = reinterpret_cast<ULONG_PTR>(line);
    SendMessageA(form->Handle(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&m));
    EXPECT_EQ(m.itemHeight, 8u);
}

TEST_F(SkinnedMenuBarTest, MenusOpenedAThousandTimesKeepNoGdiObject) {
    auto* bar = dynamic_cast<TWinSkinMenu*>(frame->MenuBar());
    ASSERT_NE(bar, nullptr);
    auto openBoth = [&] {
        PostMessageA(CloserWindow(), kCloseMenu, 0, 0);
        bar->OpenItem(bar->Items()[0].get());
        const int dropDown = seenMenus;
        PostMessageA(CloserWindow(), kCloseMenu, 0, 0);
        popup->Popup(200, 200, form->Handle());
        return dropDown + seenMenus;
    };
    ASSERT_EQ(openBoth(), 2);  // the first round makes what is kept for good (fonts, the check mark)
    Pump();
    const auto before = test_support::GuiObjects();
    for (int i = 0; i < 1000; ++i) ASSERT_EQ(openBoth(), 2) << i;
    Pump();
    EXPECT_EQ(test_support::GuiObjects(), before);
    EXPECT_FALSE(AnyOwnerDraw(file->Handle()));
}
