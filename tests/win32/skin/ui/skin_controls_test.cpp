// Control painters on real windows: which control gets which painter, the push button's mouse
// and keyboard, frames shown on the screen, detaching, and objects left behind.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

#include "GuiObjects.h"
#include "Pump.h"
#include "skin/data/BmpDecoder.h"
#include "skin/ui/SkinColours.h"
#include "skin/ui/SkinPainters.h"
#include "skin/ui/WinSkinControls.h"
#include "skin/ui/PainterTestKit.h"
#include "skin/ui/SkinGallery.h"
#include "ui/ComCtrls.h"
#include "ui/Dialogs.h"
#include "ui/StdCtrls.h"
#include "ui/Forms.h"

using namespace kt;
using namespace kt::painter_tests;

namespace {

using test_support::Pump;

struct FormFixture : ::testing::Test {
    std::unique_ptr<ui::TForm> form{new ui::TForm(nullptr)};
    void SetUp() override {
        form->SetBounds(100, 100, 400, 300);
        form->Show();
        SetForegroundWindow(form->Handle());
    }
    // What the screen shows at a point of a control.
    COLORREF ScreenPixel(ui::TWinControl* c, int x, int y) {
        RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
        Pump();
        HDC dc = GetWindowDC(c->Handle());
        const COLORREF p = GetPixel(dc, x, y);
        ReleaseDC(c->Handle(), dc);
        return p;
    }
};

COLORREF Rgb(Pixel p) { return RGB(PixelR(p), PixelG(p), PixelB(p)); }

// The Blue "Buttons" picture's top edge at x 4 (its LeftWidth) in frames 1 to 4, read once from
// the skin's buttons.bmp (five 24x22 frames): normal, pressed, disabled, hot.
constexpr COLORREF kButtonEdge[5] = {0, RGB(127, 135, 148), RGB(24, 70, 160), RGB(156, 170, 194), RGB(58, 122, 222)};

using SkinScan = FormFixture;

TEST_F(SkinScan, EachControlGetsItsPainterOnceAndDisableTagsAreLeftAlone) {
    auto* button = ui::MakeControl<ui::TButton>(form.get(), form.get(), "B", "B", 8, 8, 80, 24);
    auto* skipped = ui::MakeControl<ui::TButton>(form.get(), form.get(), "S", "S", 8, 40, 80, 24);
    skipped->Tag = 199;
    auto* negative = ui::MakeControl<ui::TButton>(form.get(), form.get(), "N", "N", 8, 72, 80, 24);
    negative->Tag = -99;  // remainder -99: not the disable tag
    auto* check = ui::MakeControl<ui::TCheckBox>(form.get(), form.get(), "C", "C", 100, 8, 80, 20);
    auto* list = ui::MakeControl<ui::TListBox>(form.get(), form.get(), "L", "", 100, 40, 80, 60);
    auto* memo = ui::MakeControl<ui::TMemo>(form.get(), form.get(), "M", "", 200, 40, 80, 60);
    auto* edit = ui::MakeControl<ui::TEdit>(form.get(), form.get(), "E", "", 200, 8, 80, 22);
    auto* combo = ui::MakeControl<ui::TComboBox>(form.get(), form.get(), "O", "", 290, 8, 80, 22);
    auto* group = ui::MakeControl<ui::TRadioGroup>(form.get(), form.get(), "G", "G", 100, 110, 120, 70);
    group->SetItems({"a", "b"});
    auto* lv = ui::MakeControl<ui::TListView>(form.get(), form.get(), "V", "", 230, 110, 120, 70);
    lv->Columns = {{"x", 50}};
    auto* late = new ui::TTabControl(form.get());  // no window yet: the scan makes one
    late->Tabs = {"t"};
    late->SetBounds(8, 190, 200, 60);
    late->SetParent(form.get());

    TPainterSet set;
    ScanControls(set.Host(), Blue(), form.get(), form->Handle(), nullptr);
    const std::size_t first = set.Painters.size();
    ScanControls(set.Host(), Blue(), form.get(), form->Handle(), nullptr);
    EXPECT_EQ(set.Painters.size(), first);

    EXPECT_NE(PainterOn<TSkinButton>(set, button->Handle()), nullptr);
    EXPECT_EQ(PainterOn<TSkinControl>(set, skipped->Handle()), nullptr);
    EXPECT_NE(PainterOn<TSkinButton>(set, negative->Handle()), nullptr);
    EXPECT_NE(PainterOn<TSkinCheckBox>(set, check->Handle()), nullptr);
    EXPECT_NE(PainterOn<TSkinScrollBar>(set, list->Handle()), nullptr);
    EXPECT_NE(PainterOn<TSkinScrollBar>(set, memo->Handle()), nullptr);
    EXPECT_NE(PainterOn<TSkinEdit>(set, edit->Handle()), nullptr);
    EXPECT_NE(PainterOn<TSkinComBox>(set, combo->Handle()), nullptr);
    EXPECT_NE(PainterOn<TSkinBox>(set, group->Handle()), nullptr);
    EXPECT_NE(PainterOn<TSkinCheckBox>(set, group->Button(0)->Handle()), nullptr);
    EXPECT_NE(PainterOn<TSkinListView>(set, lv->Handle()), nullptr);
    EXPECT_NE(PainterOn<TSkinTab>(set, late->Handle()), nullptr);
    EXPECT_TRUE(late->HandleAllocated());
    // The list view's header is painted too.
    HWND header = reinterpret_cast<HWND>(SendMessageW(lv->Handle(), 0x101F /* LVM_GETHEADER */, 0, 0));
    bool headerPainted = false;
    for (auto& p : set.Painters) headerPainted |= p->Window() == header && dynamic_cast<TSkinHeader*>(p.get());
    EXPECT_TRUE(headerPainted);
}

TEST(SkinScanRules, BareWindowsByClassAndStyleAndTheSkin3rdMapping) {
    struct Case {
        const char* cls;
        LONG style;
        TPainterKind kind;
    } cases[] = {
        {"button", BS_GROUPBOX, TPainterKind::None},        {"button", BS_AUTOCHECKBOX, TPainterKind::CheckBox},
        {"button", BS_3STATE, TPainterKind::CheckBox},      {"button", BS_AUTORADIOBUTTON, TPainterKind::RadioButton},
        {"button", BS_RADIOBUTTON, TPainterKind::RadioButton}, {"button", BS_PUSHBUTTON, TPainterKind::Button},
        {"button", BS_DEFPUSHBUTTON, TPainterKind::Button}, {"button", BS_OWNERDRAW, TPainterKind::None},
        {"combobox", CBS_SIMPLE, TPainterKind::None},       {"combobox", CBS_DROPDOWNLIST, TPainterKind::ComBox},
        {"scrollbar", SBS_SIZEGRIP, TPainterKind::Sizer},   {"scrollbar", SBS_HORZ, TPainterKind::ScControl},
        {"systabcontrol32", 0x2000, TPainterKind::None},    {"systabcontrol32", 0, TPainterKind::Tab},
        {"edit", 0, TPainterKind::Edit},                    {"static", 0, TPainterKind::None},
    };
    for (const Case& c : cases) EXPECT_EQ(BareWindowKind(c.cls, c.style), c.kind) << c.cls << " " << c.style;

    const std::vector<std::string> skin3rd = {"TMyEdit=Edit", "TMyEditor=combobox", "tmyedit=panel"};
    EXPECT_EQ(Skin3rdKind(skin3rd, "TMyEdit"), "edit");  // the first entry wins
    EXPECT_EQ(Skin3rdKind(skin3rd, "TMyEditor"), "combobox");
    EXPECT_EQ(Skin3rdKind(skin3rd, "TMy"), "");
}

TEST_F(SkinScan, ABareDialogsControlsArePaintedByWindowAndPutBackExactly) {
    HWND host = form->Handle();
    HWND group = CreateWindowExW(0, L"BUTTON", L"g", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 0, 0, 100, 100, host,
                                 nullptr, nullptr, nullptr);
    HWND push = CreateWindowExA(0, "BUTTON", "p", WS_CHILD | WS_VISIBLE, 110, 0, 80, 24, host,
                                reinterpret_cast<HMENU>(7), nullptr, nullptr);
    const LONG_PTR original = GetWindowLongPtrA(push, GWLP_WNDPROC);
    {
        TPainterSet set;
        ScanControls(set.Host(), Blue(), nullptr, host, nullptr);
        bool groupPainted = false, pushPainted = false;
        for (auto& p : set.Painters) {
            groupPainted |= p->Window() == group;
            pushPainted |= p->Window() == push && dynamic_cast<TSkinButton*>(p.get());
        }
        EXPECT_FALSE(groupPainted);
        EXPECT_TRUE(pushPainted);
        EXPECT_NE(GetWindowLongPtrA(push, GWLP_WNDPROC), original);
    }
    EXPECT_EQ(GetWindowLongPtrA(push, GWLP_WNDPROC), original);
    {
        // A second painter on the same window takes it over instead of calling itself for ever.
        TPainterSet set;
        MakePainter(TPainterKind::Button, set.Host()).release()->AttachWindow(push, Blue());
        MakePainter(TPainterKind::Button, set.Host()).release()->AttachWindow(push, Blue());
        RedrawWindow(push, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        SendMessageA(push, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("q"));
        char text[8] = {};
        GetWindowTextA(push, text, sizeof text);
        EXPECT_STREQ(text, "q");
    }
    EXPECT_EQ(GetWindowLongPtrA(push, GWLP_WNDPROC), original);
    DestroyWindow(group);
    DestroyWindow(push);
}

using SkinButton = FormFixture;

TEST_F(SkinButton, APressReleasedOutsideDoesNotClickAndInsideClicksOnce) {
    auto* b = ui::MakeControl<ui::TButton>(form.get(), form.get(), "B", "Press", 20, 20, 100, 30);
    int clicks = 0;
    b->OnClick = [&] { ++clicks; };
    TPainterSet set;
    ScanControls(set.Host(), Blue(), form.get(), form->Handle(), nullptr);
    HWND h = b->Handle();

    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    EXPECT_EQ(GetCapture(), h);
    SendMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(300, 10));
    SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(300, 10));
    Pump();
    EXPECT_EQ(clicks, 0);

    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    SendMessageW(h, ui::CM_MOUSELEAVE, 0, 0);  // leaving ends the press
    SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    Pump();
    EXPECT_EQ(clicks, 0);

    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(12, 12));
    Pump();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(GetFocus(), h);

    // The keyboard works as without the skin: Space clicks through the system button.
    SendMessageW(h, WM_KEYDOWN, VK_SPACE, 0);
    SendMessageW(h, WM_KEYUP, VK_SPACE, 0xC0000001);
    Pump();
    EXPECT_EQ(clicks, 2);
}

TEST_F(SkinButton, ASpeedButtonClicksOnceAndLeavesTheFocusWhereItWas) {
    auto* edit = ui::MakeControl<ui::TEdit>(form.get(), form.get(), "E", "", 20, 60, 100, 24);
    auto* speed = ui::MakeControl<ui::TSpeedButton>(form.get(), form.get(), "S", "Tool", 20, 20, 60, 24);
    int clicks = 0;
    speed->OnClick = [&] { ++clicks; };
    auto press = [&](int upX) {
        SendMessageW(speed->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        SendMessageW(speed->Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(upX, 5));
        SendMessageW(speed->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(upX, 5));
        Pump();
    };
    for (bool skinned : {false, true}) {
        SCOPED_TRACE(skinned ? "skinned" : "system");
        TPainterSet set;
        if (skinned) {
            ScanControls(set.Host(), Blue(), form.get(), form->Handle(), nullptr);
            EXPECT_NE(PainterOn<TSkinSpeedButton>(set, speed->Handle()), nullptr);
        }
        edit->SetFocus();
        clicks = 0;
        press(300);  // released outside
        EXPECT_EQ(clicks, 0);
        press(8);
        EXPECT_EQ(clicks, 1);
        EXPECT_EQ(GetFocus(), edit->Handle());
        EXPECT_EQ(GetWindowLongA(speed->Handle(), GWL_STYLE) & WS_TABSTOP, 0);
    }
    EXPECT_TRUE(speed->SetEnumProperty("Flat", 1));
    EXPECT_TRUE(speed->Flat());
}

TEST_F(SkinButton, TheFaceShowsTheFrameOfEachStateAndDisabledStaysDisabled) {
    auto* b = ui::MakeControl<ui::TButton>(form.get(), form.get(), "B", "Face", 20, 20, 100, 30);
    auto* other = ui::MakeControl<ui::TEdit>(form.get(), form.get(), "E", "", 20, 80, 100, 22);
    TPainterSet set;
    ScanControls(set.Host(), Blue(), form.get(), form->Handle(), nullptr);
    auto* painter = PainterOn<TSkinButton>(set, b->Handle());
    ASSERT_NE(painter, nullptr);
    const int x = Blue().Buttons->LeftWidth;
    other->SetFocus();
    EXPECT_EQ(ScreenPixel(b, x, 0), kButtonEdge[1]);
    SendMessageW(b->Handle(), ui::CM_MOUSEENTER, 0, 0);
    EXPECT_EQ(ScreenPixel(b, x, 0), kButtonEdge[4]);
    EXPECT_EQ(set.HotControl, painter);
    SendMessageW(b->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(ScreenPixel(b, x, 0), kButtonEdge[2]);
    SendMessageW(b->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    Pump();
    int clicks = 0;
    b->OnClick = [&] { ++clicks; };
    b->SetEnabled(false);
    SendMessageW(b->Handle(), ui::CM_MOUSEENTER, 0, 0);
    EXPECT_EQ(painter->FaceFrame(), 3);
    EXPECT_EQ(ScreenPixel(b, x, 0), kButtonEdge[3]);
    EXPECT_EQ(clicks, 0);
}

TEST_F(SkinButton, WithoutAButtonsPictureTheSystemDrawsAndPressesIt) {
    TSkinData bare;
    gallery::LoadBuiltin(bare, 0);
    bare.Buttons->Image.Clear();
    auto* b = ui::MakeControl<ui::TButton>(form.get(), form.get(), "B", "Plain", 20, 20, 100, 30);
    TPainterSet set;
    ScanControls(set.Host(), bare, form.get(), form->Handle(), nullptr);
    SendMessageW(b->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_TRUE(SendMessageW(b->Handle(), BM_GETSTATE, 0, 0) & BST_PUSHED);
    SendMessageW(b->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
}

TEST_F(SkinButton, AnotherHookOnTheButtonKeepsWorkingWhicheverCameFirst) {
    auto* b = ui::MakeControl<ui::TButton>(form.get(), form.get(), "B", "Hooked", 20, 20, 100, 30);
    int clicks = 0, before = 0, after = 0;
    b->OnClick = [&] { ++clicks; };
    // A hook in front of the button's own handling, as the bar puts on its scheme buttons.
    auto hook = [](ui::TWinControl* c, int& seen) {
        auto previous = c->WindowProc;
        c->WindowProc = [previous, &seen](ui::TMessage& m) {
            if (m.Msg == WM_MOUSEMOVE) ++seen;
            previous(m);
        };
    };
    hook(b, before);
    auto set = std::make_unique<TPainterSet>();
    ScanControls(set->Host(), Blue(), form.get(), form->Handle(), nullptr);
    hook(b, after);
    HWND h = b->Handle();
    SendMessageW(h, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    Pump();
    EXPECT_EQ(clicks, 1);
    set.reset();  // skin off: the later hook stays, the painter only passes messages on
    SendMessageW(h, WM_MOUSEMOVE, 0, MAKELPARAM(6, 6));
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    Pump();
    EXPECT_EQ(clicks, 2);  // now the system button's own click
    EXPECT_EQ(before, 2);
    EXPECT_EQ(after, 2);
}

TEST_F(SkinButton, KeyboardUseIsUnchangedOnSkinnedControls) {
    auto* edit = ui::MakeControl<ui::TEdit>(form.get(), form.get(), "E", "", 20, 20, 120, 22);
    edit->TabOrder = 0;
    auto* list = ui::MakeControl<ui::TListBox>(form.get(), form.get(), "L", "", 20, 50, 120, 60);
    list->TabStop = true;
    list->TabOrder = 1;
    for (const char* s : {"a", "b", "c"}) list->AddItem(s);
    auto* combo = ui::MakeControl<ui::TComboBox>(form.get(), form.get(), "C", "", 160, 20, 120, 22);
    combo->TabOrder = 2;
    TPainterSet set;
    ScanControls(set.Host(), Blue(), form.get(), form->Handle(), nullptr);
    edit->SetFocus();
    for (wchar_t ch : std::wstring(L"typed")) SendMessageW(edit->Handle(), WM_CHAR, ch, 1);
    EXPECT_EQ(edit->Text(), "typed");
    form->SelectNext(edit, true);
    EXPECT_EQ(GetFocus(), list->Handle());
    list->SetItemIndex(0);
    SendMessageW(list->Handle(), WM_KEYDOWN, VK_DOWN, 1);
    EXPECT_EQ(list->ItemIndex(), 1);
    form->SelectNext(list, true);
    HWND focus = GetFocus();
    EXPECT_TRUE(focus == combo->Handle() || IsChild(combo->Handle(), focus));
    for (wchar_t ch : std::wstring(L"x1")) SendMessageW(focus, WM_CHAR, ch, 1);
    EXPECT_EQ(combo->Text(), "x1");
}

using GlyphButtons = FormFixture;

template <class T>
T* Glyphed(ui::TForm* f, const char* caption, int x, int w, int h, int frames) {
    auto* b = ui::MakeControl<T>(f, f, "", caption, x, 10, w, h);
    b->SetGlyph(gallery::MakeGlyph(frames));
    b->SetNumGlyphs(frames);
    return b;
}
COLORREF GlyphFrame(int k) { return Rgb(gallery::kGlyphColours[k - 1]); }

TEST_F(GlyphButtons, GlyphsShowWhereTheLayoutPutsThemInTheFrameOfTheirState) {
    auto* bit = Glyphed<ui::TBitBtn>(form.get(), "Glyph", 10, 150, 34, 3);
    bit->SetMargin(6);
    bit->SetLayout(ui::TButtonLayout::blGlyphRight);
    auto* three = Glyphed<ui::TSpeedButton>(form.get(), "", 170, 34, 34, 3);
    auto* one = Glyphed<ui::TSpeedButton>(form.get(), "", 210, 34, 34, 1);
    for (bool skinned : {false, true}) {
        SCOPED_TRACE(skinned ? "skinned" : "own drawing");
        TPainterSet set;
        if (skinned) ScanControls(set.Host(), Blue(), form.get(), form->Handle(), nullptr);
        // The system button's edge insets its drawing by 2; the skinned face has no such edge.
        const int inset = skinned ? 0 : 2, x = 150 - inset - 6 - 16, y = inset + (34 - 2 * inset - 16 + 1) / 2;
        EXPECT_EQ(ScreenPixel(bit, x + 8, y + 8), GlyphFrame(1));
        // The key colour shows the face, as beyond the caption on the same row.
        EXPECT_EQ(ScreenPixel(bit, x + 1, y + 1), ScreenPixel(bit, 12, y + 1));
        EXPECT_NE(ScreenPixel(bit, x + 1, y + 1), Rgb(gallery::kGlyphKey));
        if (!skinned) {
            SendMessageW(bit->Handle(), BM_SETSTATE, TRUE, 0);  // pressed: frame 3, one pixel on
            EXPECT_EQ(ScreenPixel(bit, x + 3 + 1, y + 8), GlyphFrame(3));
            EXPECT_NE(ScreenPixel(bit, x + 3, y + 8), GlyphFrame(3));
            SendMessageW(bit->Handle(), BM_SETSTATE, FALSE, 0);
        }
        for (ui::TWinControl* c : {static_cast<ui::TWinControl*>(bit), static_cast<ui::TWinControl*>(three),
                                   static_cast<ui::TWinControl*>(one)})
            c->SetEnabled(false);
        // Disabled: frame 2, or the first greyed; the skinned bit button keeps its first.
        EXPECT_EQ(ScreenPixel(bit, x + 8, y + 8), GlyphFrame(skinned ? 1 : 2));
        EXPECT_EQ(ScreenPixel(three, 17, 17), GlyphFrame(2));
        EXPECT_EQ(ScreenPixel(one, 17, 17), GetSysColor(COLOR_BTNSHADOW));
        for (ui::TWinControl* c : {static_cast<ui::TWinControl*>(bit), static_cast<ui::TWinControl*>(three),
                                   static_cast<ui::TWinControl*>(one)})
            c->SetEnabled(true);
    }
}

TEST_F(GlyphButtons, GroupedSpeedButtonsLatchAndPlainOnesNever) {
    auto* a = Glyphed<ui::TSpeedButton>(form.get(), "", 10, 60, 30, 4);
    auto* b = Glyphed<ui::TSpeedButton>(form.get(), "", 80, 60, 30, 4);
    auto* plain = Glyphed<ui::TSpeedButton>(form.get(), "", 150, 60, 30, 4);
    auto* other = ui::MakeControl<ui::TSpeedButton>(form.get(), form.get(), "", "O", 220, 10, 60, 30);
    a->GroupIndex = b->GroupIndex = 1;
    other->GroupIndex = 2;
    other->SetDown(true);
    auto click = [](ui::TSpeedButton* s) {
        SendMessageW(s->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        SendMessageW(s->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        Pump();
    };
    for (bool skinned : {false, true}) {
        SCOPED_TRACE(skinned ? "skinned" : "own drawing");
        TPainterSet set;
        if (skinned) ScanControls(set.Host(), Blue(), form.get(), form->Handle(), nullptr);
        a->AllowAllUp = b->AllowAllUp = false;
        a->SetDown(true);
        click(b);
        click(b);  // without AllowAllUp one of the group stays down
        b->SetDown(false);
        EXPECT_TRUE(b->Down());
        EXPECT_FALSE(a->Down());
        EXPECT_TRUE(other->Down());
        // Down shows glyph frame 4 (on the system's face one pixel on) and, skinned, face frame 2.
        EXPECT_EQ(ScreenPixel(b, 30 + !skinned, 15 + !skinned), GlyphFrame(4));
        EXPECT_EQ(ScreenPixel(a, 30, 15), GlyphFrame(1));
        if (skinned) {
            EXPECT_EQ(PainterOn<TSkinSpeedButton>(set, b->Handle())->FaceFrame(), 2);
        }
        b->AllowAllUp = true;
        click(b);
        EXPECT_FALSE(b->Down());
        click(plain);
        plain->SetDown(true);
        EXPECT_FALSE(plain->Down());
    }
}

TEST_F(GlyphButtons, AGlyphBitButtonKeepsTheKeysOfAPlainOne) {
    auto* edit = ui::MakeControl<ui::TEdit>(form.get(), form.get(), "E", "", 10, 10, 100, 22);
    auto* ok = new ui::TBitBtn(form.get());
    ok->SetKind(ui::TBitBtnKind::bkOK);
    ok->TabOrder = 1;
    ok->SetBounds(10, 50, 100, 30);
    ok->SetGlyph(gallery::MakeGlyph(2));
    ok->SetParent(form.get());
    int clicks = 0;
    ok->OnClick = [&] { ++clicks; };
    EXPECT_EQ(GetWindowLongW(ok->Handle(), GWL_STYLE) & 0xF, BS_OWNERDRAW);
    for (bool skinned : {false, true}) {
        TPainterSet set;
        if (skinned) ScanControls(set.Host(), Blue(), form.get(), form->Handle(), nullptr);
        edit->SetFocus();
        MSG enter{edit->Handle(), WM_KEYDOWN, VK_RETURN, 1, 0, {}};
        EXPECT_TRUE(ui::IsDialogKeyMessage(enter));  // the default button
        form->SelectNext(edit, true);
        EXPECT_EQ(GetFocus(), ok->Handle());
        SendMessageW(ok->Handle(), WM_KEYDOWN, VK_SPACE, 0);
        SendMessageW(ok->Handle(), WM_KEYUP, VK_SPACE, 0xC0000001);
        Pump();
    }
    EXPECT_EQ(clicks, 4);
    ok->SetGlyph(TBitmap32());  // without its glyph: the system's default button again
    EXPECT_EQ(GetWindowLongW(ok->Handle(), GWL_STYLE) & 0xF, BS_DEFPUSHBUTTON);
}

TEST(GlyphSources, ABitmapHandleAndABmpFileGiveTheSamePixels) {
    const TBitmap32 glyph = gallery::MakeGlyph(2);
    ui::TSpeedButton from(nullptr);
    HDC screen = GetDC(nullptr);
    HBITMAP h = CreateCompatibleBitmap(screen, glyph.Width(), glyph.Height());
    ReleaseDC(nullptr, screen);
    TDibBitmap dib;
    dib.Assign(glyph);
    HDC mem = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(mem, h);
    BitBlt(mem, 0, 0, glyph.Width(), glyph.Height(), dib.Dc(), 0, 0, SRCCOPY);
    SelectObject(mem, old);
    DeleteDC(mem);
    from.SetGlyph(h);
    DeleteObject(h);
    EXPECT_EQ(from.Glyph(), glyph);

    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    const std::string file = std::string(dir) + "ktglyph.bmp";
    const std::vector<std::uint8_t> bytes = EncodeBmp24(glyph);
    FILE* f = std::fopen(file.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    from.LoadGlyph(file);
    EXPECT_EQ(from.Glyph(), glyph);
    DeleteFileA(file.c_str());
    EXPECT_THROW(from.LoadGlyph(file), EInOutError);
    EXPECT_THROW(from.SetGlyph(static_cast<HBITMAP>(nullptr)), EInvalidGraphic);
}

using SkinPainters = FormFixture;

TEST_F(SkinPainters, CheckBoxFramesEdgeBordersAndDetachPutsTheControlBack) {
    auto* check = ui::MakeControl<ui::TCheckBox>(form.get(), form.get(), "C", "Check", 20, 20, 120, 20);
    auto* edit = ui::MakeControl<ui::TEdit>(form.get(), form.get(), "E", "", 20, 60, 120, 22);
    auto* flat = new ui::TEdit(form.get());
    flat->SetBounds(20, 100, 120, 22);
    flat->SetParent(form.get());
    SetWindowLongW(flat->Handle(), GWL_EXSTYLE, 0);
    SetWindowPos(flat->Handle(), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    auto* group = ui::MakeControl<ui::TRadioGroup>(form.get(), form.get(), "G", "G", 160, 20, 120, 60);
    group->SetItems({"a"});
    check->SetColor(0x00336699);
    const COLORREF flatBefore = ScreenPixel(flat, 0, 0);
    {
        TPainterSet set;
        ScanControls(set.Host(), Blue(), form.get(), form->Handle(), nullptr);
        auto* box = PainterOn<TSkinCheckBox>(set, check->Handle());
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(check->Color(), Blue().ButtonFace);
        check->SetChecked(true);
        check->SetEnabled(false);
        EXPECT_EQ(box->BoxFrame(), 4);
        // The box on the screen is frame 4 of the CheckButton picture, centred in its column:
        // the Blue checkbox.bmp (four 13x13 frames) has this colour at (6, 6) of frame 4.
        RECT r{0, 0, 120, 20};
        const RECT at = box->BoxRect(r);
        EXPECT_EQ(ScreenPixel(check, at.left + 6, at.top + 6), RGB(157, 166, 182));
        // The skinned edit's outer line is the shadow colour; the borderless one is left alone.
        EXPECT_EQ(ScreenPixel(edit, 0, 0), SkinColorRef(Blue().ButtonShadow));
        EXPECT_EQ(ScreenPixel(edit, 1, 1), RGB(255, 255, 255));
        EXPECT_EQ(ScreenPixel(flat, 0, 0), flatBefore);
    }
    EXPECT_EQ(check->Color(), 0x00336699);
    // A radio group's buttons follow the window's colour again, not the skin's.
    EXPECT_TRUE(group->Button(0)->ParentColor());
}

TEST_F(SkinPainters, ScrollBarsOfAListGoAlongItsClient) {
    auto* list = ui::MakeControl<ui::TListBox>(form.get(), form.get(), "L", "", 20, 20, 120, 80);
    for (int i = 0; i < 30; ++i) list->AddItem("item");
    TPainterSet set;
    ScanControls(set.Host(), Blue(), form.get(), form->Handle(), nullptr);
    auto* bars = PainterOn<TSkinScrollBar>(set, list->Handle());
    ASSERT_NE(bars, nullptr);
    RECT v, h, corner;
    bars->BarRects(v, h, corner);
    EXPECT_FALSE(IsRectEmpty(&v));
    EXPECT_TRUE(IsRectEmpty(&h));
    EXPECT_TRUE(IsRectEmpty(&corner));  // one bar: no corner square
    // Where the thumb sits for given numbers is a native test (painter_geometry_test.cpp).
}

TEST_F(SkinPainters, DraggingTheSkinnedThumbTracksWithRisingPositionsAndEndsOnRelease) {
    auto* list = ui::MakeControl<ui::TListBox>(form.get(), form.get(), "L", "", 20, 20, 120, 100);
    for (int i = 0; i < 60; ++i) list->AddItem("item");
    std::vector<std::pair<int, int>> scrolls;  // (code, position) as the list receives them
    auto previous = list->WindowProc;
    list->WindowProc = [&, previous](ui::TMessage& m) {
        if (m.Msg == WM_VSCROLL) scrolls.emplace_back(LOWORD(m.WParam), HIWORD(m.WParam));
        previous(m);
    };
    TPainterSet set;
    ScanControls(set.Host(), Blue(), form.get(), form->Handle(), nullptr);
    auto* bars = PainterOn<TSkinScrollBar>(set, list->Handle());
    ASSERT_NE(bars, nullptr);
    RECT v, h, corner, wr;
    bars->BarRects(v, h, corner);
    GetWindowRect(list->Handle(), &wr);
    SCROLLINFO si{sizeof si, SIF_ALL};
    GetScrollInfo(list->Handle(), SB_VERT, &si);
    const int len = v.bottom - v.top, arrow = std::min<int>(GetSystemMetrics(SM_CXHSCROLL), len / 2);
    const TThumb t = ThumbGeometry(si, len, arrow, GetSystemMetrics(SM_CYVTHUMB));
    ASSERT_GT(t.Length, 0);
    const POINT press{wr.left + (v.left + v.right) / 2, wr.top + v.top + t.Offset + t.Length / 2};
    for (int dy : {3, 6, 6, 12, 25, 400}) {
        POINT p{press.x, press.y + dy};
        ScreenToClient(list->Handle(), &p);
        PostMessageW(list->Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(p.x, p.y));
    }
    PostMessageW(list->Handle(), WM_LBUTTONUP, 0, 0);
    SendMessageW(list->Handle(), WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(press.x, press.y));
    Pump();

    ASSERT_GE(scrolls.size(), 3u);
    int last = si.nMin - 1;
    std::size_t i = 0;
    for (; i < scrolls.size() && scrolls[i].first == SB_THUMBTRACK; ++i) {
        EXPECT_GT(scrolls[i].second, last);  // rising, never the same twice
        last = scrolls[i].second;
    }
    EXPECT_EQ(last, si.nMax - static_cast<int>(si.nPage) + 1);  // dragged past the end: the last position
    ASSERT_EQ(scrolls.size(), i + 2);
    EXPECT_EQ(scrolls[i], std::make_pair(int(SB_THUMBPOSITION), last));
    EXPECT_EQ(scrolls[i + 1].first, SB_ENDSCROLL);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST(SkinGallery, SkinOnAndOffAHundredTimesLeavesNoObjectsBehind) {
    std::unique_ptr<ui::TForm> form(gallery::MakeGallery());
    form->Show();
    auto round = [&] {
        {
            TPainterSet set;
            ScanControls(set.Host(), Blue(), form.get(), form->Handle(), nullptr);
            RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
            Pump();
        }
        RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
        Pump();
    };
    round();  // the system's own first-use objects
    const auto before = test_support::GuiObjects();
    for (int i = 0; i < 100; ++i) round();
    EXPECT_EQ(test_support::GuiObjects(), before);

    // Buttons made and freed while the skin stays on, as the bar's are at each scheme change:
    // the painter of a freed button is freed at the next scan, so the list does not grow.
    TPainterSet set;
    auto made = [&] {
        auto* b = ui::MakeControl<ui::TButton>(form.get(), form.get(), "Runtime", "Run", 8, 560, 75, 25);
        ScanControls(set.Host(), Blue(), form.get(), form->Handle(), b);
        RedrawWindow(b->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        delete b;
    };
    made();
    const auto skinned = test_support::GuiObjects();
    for (int i = 0; i < 50; ++i) made();
    EXPECT_EQ(test_support::GuiObjects(), skinned);
    EXPECT_EQ(set.Painters.size(), 1u);  // the last button's, until the next scan
}

}  // namespace
