// Painters of the status bar, header, tab set and date picker on real windows: where status
// texts land, the header's hot and pressed sections under the real mouse, the tab set's frames
// and scroller, the picker's painter by its mode.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <memory>

#include "Pump.h"
#include "skin/ui/SkinColours.h"
#include "skin/ui/SkinPainters.h"
#include "skin/ui/PainterTestKit.h"
#include "skin/ui/SkinGallery.h"
#include "skin/ui/WinSkinControls.h"
#include "ui/Application.h"
#include "ui/Tabs.h"

using namespace kt;
using namespace kt::painter_tests;

namespace {

using test_support::PumpUntil;

// Colours of the Blue skin's pictures, read once from its sources (header.bmp: 20x18 frames,
// row 1 at x 10; tabs.bmp: 30x22 frames, row 1 at x 15; updownh.bmp: 16x16, left edge, row 8).
constexpr COLORREF kHeaderNormal = RGB(247, 249, 252), kHeaderPressed = RGB(188, 200, 218),
                   kHeaderHot = RGB(222, 233, 249);
constexpr COLORREF kTabSelected = RGB(58, 122, 222), kTabOther = RGB(240, 243, 250);
constexpr COLORREF kUpDownEdge = RGB(127, 135, 148);

// What the screen shows at (x, y) of a window's client area, once what is due is painted.
COLORREF ScreenPixel(HWND h, int x, int y) {
    UpdateWindow(h);
    HDC dc = GetDC(h);
    const COLORREF p = GetPixel(dc, x, y);
    ReleaseDC(h, dc);
    return p;
}

void Mouse(DWORD flags, HWND h = nullptr, int x = 0, int y = 0) {
    POINT p{x, y};
    if (h) ClientToScreen(h, &p);
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = MulDiv(p.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = MulDiv(p.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = flags | (h ? MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE : 0);
    SendInput(1, &in, sizeof in);
}

// A window just shown may miss the first move: it is sent again, one pixel aside and back.
bool MoveUntil(HWND h, int x, int y, const std::function<bool()>& done) {
    for (int i = 0; i < 20; ++i) {
        Mouse(0, h, x + (i & 1), y);
        if (PumpUntil(done, 150)) return true;
    }
    return false;
}

struct SkinPainterTest : ::testing::Test {
    std::unique_ptr<ui::TForm> form{new ui::TForm(nullptr)};
    void SetUp() override {
        form->SetBounds(60, 60, 520, 300);
        form->Show();
        SetForegroundWindow(form->Handle());
    }
    void Redraw() {
        RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        ui::TApplication::Instance().ProcessMessages();
    }
};

using SkinStatusBar = SkinPainterTest;

TEST_F(SkinStatusBar, TextsSitLeftCentreAndRightWithAndWithoutTheSkinAndOnABareBar) {
    auto* bar = ui::MakeControl<ui::TStatusBar>(form.get(), nullptr, "S", "", 10, 10, 480, 24);
    bar->PanelWidths = {160, 160, 160};
    bar->PanelTexts = {"Ok", "Ok", "Ok"};
    bar->PanelAlignments = {ui::TAlignment::taLeftJustify, ui::TAlignment::taCenter, ui::TAlignment::taRightJustify};
    bar->SetSizeGrip(false);
    bar->SetParent(form.get());
    // A system bar of no control object: its texts' leading tabs say where they go.
    HWND bare = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | CCS_NOPARENTALIGN | CCS_NORESIZE,
                                10, 60, 480, 24, form->Handle(), nullptr, nullptr, nullptr);
    int rights[] = {160, 320, -1};
    SendMessageW(bare, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(rights));
    const wchar_t* texts[] = {L"Ok", L"\tOk", L"\t\tOk"};
    for (int i = 0; i < 3; ++i) SendMessageW(bare, SB_SETTEXTW, i, reinterpret_cast<LPARAM>(texts[i]));
    // Panel i must show text-coloured pixels in its i-th third only.
    auto check = [&](COLORREF text, const char* what) {
        Redraw();
        for (HWND h : {bar->Handle(), bare}) {
            HDC dc = GetDC(h);
            for (int i = 0; i < 3; ++i) {
                RECT pr;
                SendMessageW(h, SB_GETRECT, i, reinterpret_cast<LPARAM>(&pr));
                int thirds = 0;
                for (int y = pr.top + 3; y < pr.bottom - 3; ++y)
                    for (int x = pr.left + 3; x < pr.right - 3; ++x)
                        if (GetPixel(dc, x, y) == text) thirds |= 1 << std::min<int>(2, 3 * (x - pr.left) / (pr.right - pr.left));
                EXPECT_EQ(thirds, 1 << i) << what << (h == bare ? " bare" : "") << " panel " << i;
            }
            ReleaseDC(h, dc);
        }
    };
    check(GetSysColor(COLOR_BTNTEXT), "system");
    TPainterSet set;
    ScanControls(set.Host(), Blue(), form.get(), form->Handle(), nullptr);
    ASSERT_NE(PainterOn<TSkinStatusBar>(set, bar->Handle()), nullptr);
    MakePainter(TPainterKind::StatusBar, set.Host()).release()->AttachWindow(bare, Blue());
    check(SkinColorRef(Blue().StatusBarEdges->NormalColour2), "skinned");
    DestroyWindow(bare);
    // Tabs within a text follow the system's rule: each moves the rest one place on, at most to the right.
    const auto parts = StatusTextParts(L"a\tb\tc\td", 0);
    ASSERT_EQ(parts.size(), 3u);
    EXPECT_EQ(parts[2].Text, L"c");
    EXPECT_EQ(parts[2].Align, UINT(DT_RIGHT));
}

using SkinHeader = SkinPainterTest;

TEST_F(SkinHeader, TheRealMouseMakesASectionHotAndPressedAndClicksAndResizesStillWork) {
    const TBitmap32& image = Blue().Headerbar->Image;
    const int count = Blue().Headerbar->FrameCount;
    const COLORREF normal = kHeaderNormal, pressed = kHeaderPressed, hot = kHeaderHot;
    auto* lv = ui::MakeControl<ui::TListView>(form.get(), nullptr, "V", "", 10, 10, 400, 120);
    lv->Columns = {{"Name", 100}, {"Text", 120}};
    int clicks = 0;
    lv->WindowProc = [&, previous = lv->WindowProc](ui::TMessage& m) {
        if (m.Msg == ui::CN_NOTIFY && reinterpret_cast<NMHDR*>(m.LParam)->code == LVN_COLUMNCLICK) ++clicks;
        previous(m);
    };
    lv->SetParent(form.get());
    auto set = std::make_unique<TPainterSet>();
    ScanControls(set->Host(), Blue(), form.get(), form->Handle(), nullptr);
    HWND header = reinterpret_cast<HWND>(SendMessageW(lv->Handle(), LVM_GETHEADER, 0, 0));
    ASSERT_NE(PainterOn<TSkinHeader>(*set, header), nullptr);
    RECT first, second;
    Header_GetItemRect(header, 0, &first);
    Header_GetItemRect(header, 1, &second);
    const int cx = (second.left + second.right) / 2, cy = second.bottom / 2;
    auto colour = [&](const RECT& r) { return ScreenPixel(header, (r.left + r.right) / 2, r.top + 1); };

    EXPECT_TRUE(MoveUntil(header, cx, cy, [&] { return colour(second) == hot && colour(first) == normal; }));
    EXPECT_TRUE(MoveUntil(header, first.left + 20, cy, [&] { return colour(first) == hot && colour(second) == normal; }));
    EXPECT_TRUE(MoveUntil(header, cx, cy, [&] { return colour(second) == hot && colour(first) == normal; }));
    Mouse(MOUSEEVENTF_LEFTDOWN);
    EXPECT_TRUE(PumpUntil([&] { return colour(second) == pressed; }));
    Mouse(MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(PumpUntil([&] { return clicks == 1 && colour(second) == hot; }));
    EXPECT_TRUE(MoveUntil(header, 200, 300, [&] { return colour(second) == normal; }));  // left
    // Dragging the divider still resizes the first column, and is no click.
    RECT now;
    auto width = [&] { return Header_GetItemRect(header, 0, &now) ? now.right - now.left : 0; };
    EXPECT_TRUE(MoveUntil(header, first.right - 1, cy, [&] {
        POINT p;
        GetCursorPos(&p);
        ScreenToClient(header, &p);
        return p.x == first.right - 1 && p.y == cy;
    }));
    Mouse(MOUSEEVENTF_LEFTDOWN);
    EXPECT_TRUE(PumpUntil([&] { return GetCapture() == header; }));
    Mouse(0, header, first.right + 40, cy);
    Mouse(MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(PumpUntil([&] { return GetCapture() == nullptr && width() >= 135; }));
    EXPECT_EQ(clicks, 1);

    // A picture of two frames: hot falls back to frame 1, pressed is still frame 2. The section
    // is made hot first, shown by the full picture; then the cut one draws it normal.
    TSkinData two;
    gallery::LoadBuiltin(two, 0);
    TBitmap32 cut(2 * image.Width() / count, image.Height());
    for (int y = 0; y < cut.Height(); ++y)
        for (int x = 0; x < cut.Width(); ++x) cut.At(x, y) = image.At(x, y);
    set.reset();
    TPainterSet other;
    MakePainter(TPainterKind::Header, other.Host()).release()->AttachWindow(header, two);
    Header_GetItemRect(header, 1, &now);
    auto redraw = [&] { RedrawWindow(header, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW); };
    EXPECT_TRUE(MoveUntil(header, (now.left + now.right) / 2, cy, [&] { return colour(now) == hot; }));
    two.Headerbar->Image = cut;
    two.Headerbar->FrameCount = 2;
    redraw();
    EXPECT_EQ(colour(now), normal);
    Mouse(MOUSEEVENTF_LEFTDOWN);
    EXPECT_TRUE(PumpUntil([&] { return colour(now) == pressed; }));
    Mouse(MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(PumpUntil([&] { return clicks == 2; }));
    EXPECT_TRUE(PumpUntil([&] { return colour(now) == normal; }));
}

using SkinTabSet = SkinPainterTest;

TEST_F(SkinTabSet, TheSelectedTabShowsFrameTwoTheScrollerIsSkinnedAndKeysStillWork) {
    auto* tabs = ui::MakeControl<ui::TTabSet>(form.get(), form.get(), "T", "", 10, 10, 240, 24);
    tabs->SetTabs({"General", "Keys", "Buttons", "Fonts", "Skins", "Folders", "Start", "Help"});
    tabs->SetTabIndex(1);
    TPainterSet set;
    ScanControls(set.Host(), Blue(), form.get(), form->Handle(), nullptr);
    auto* painter = PainterOn<TSkinTab31>(set, tabs->Handle());
    ASSERT_NE(painter, nullptr);
    HWND scroller = tabs->Scroller()->Handle();
    ASSERT_TRUE(IsWindowVisible(scroller));
    ASSERT_NE(PainterOn<TSkinUpDown>(set, scroller), nullptr);
    EXPECT_EQ(painter->ScrollerPainter(), PainterOn<TSkinUpDown>(set, scroller));
    Redraw();
    // The tabs hang below the page: the picture's top rows are at a tab's bottom.
    const COLORREF selected = kTabSelected, other = kTabOther;
    auto at = [&](int i) {
        const RECT r = tabs->TabRect(i);
        return ScreenPixel(tabs->Handle(), r.left + 6, r.bottom - 2);
    };
    EXPECT_EQ(at(1), selected);
    EXPECT_EQ(at(0), other);
    // The scroller's left edge is the up-down picture's, not the system's.
    RECT sr;
    GetClientRect(scroller, &sr);
    EXPECT_EQ(ScreenPixel(scroller, 0, sr.bottom / 2), kUpDownEdge);
    // Keys reach the tab set through the painter; the new tab is drawn selected.
    tabs->SetFocus();
    SendMessageW(tabs->Handle(), WM_KEYDOWN, VK_RIGHT, 1);
    EXPECT_EQ(tabs->TabIndex(), 2);
    EXPECT_EQ(at(2), selected);
    EXPECT_EQ(at(1), other);
}

TEST_F(SkinTabSet, WithoutTheirPicturesTheTabSetAndHeaderDrawThemselves) {
    TSkinData bare;
    gallery::LoadBuiltin(bare, 0);
    bare.Tabs.reset();
    bare.Headerbar.reset();
    auto* tabs = ui::MakeControl<ui::TTabSet>(form.get(), form.get(), "T", "", 10, 10, 240, 24);
    tabs->SetTabs({"One", "Two"});
    tabs->SetTabIndex(0);
    auto* lv = ui::MakeControl<ui::TListView>(form.get(), form.get(), "V", "", 10, 50, 300, 100);
    lv->Columns = {{"Name", 100}};
    TPainterSet set;
    MakePainter(TPainterKind::Tab31, set.Host()).release()->AttachControl(*tabs, bare, false);
    MakePainter(TPainterKind::ListView, set.Host()).release()->AttachControl(*lv, bare, false);
    Redraw();
    const RECT r = tabs->TabRect(1);  // an unselected tab, in the window colour as the tab set draws it
    EXPECT_EQ(ScreenPixel(tabs->Handle(), r.left + 4, r.bottom - 4), GetSysColor(COLOR_WINDOW));
}

TEST_F(SkinTabSet, TabsAtTheBottomTurnTheirPictureAndArrowsWithoutPicturesAreDrawnFlat) {
    TSkinData bare;
    gallery::LoadBuiltin(bare, 0);
    bare.UpDownHorz.reset(), bare.UpDownVert.reset();
    auto* tc = gallery::AddStyledTabs(form.get(), 10, 10, 240, 80, TCS_BOTTOM, nullptr);
    auto* upright = gallery::AddStyledTabs(form.get(), 10, 100, 240, 80, 0, nullptr);
    auto* ud = ui::MakeControl<ui::TUpDown>(form.get(), form.get(), "U", "", 300, 10, 18, 26);
    TPainterSet set;
    ScanControls(set.Host(), bare, form.get(), form->Handle(), nullptr);
    Redraw();
    // A bottom tab is the top one upside down.
    RECT top{}, bottom{};
    SendMessageW(upright->Handle(), TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&top));
    SendMessageW(tc->Handle(), TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&bottom));
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(ScreenPixel(tc->Handle(), bottom.left + 6, bottom.bottom - 1 - k),
                  ScreenPixel(upright->Handle(), top.left + 6, top.top + k)) << k;
    // The up-down's face is the skin's, with a dark edge under the upper button and an arrow.
    RECT u;
    GetClientRect(ud->Handle(), &u);
    EXPECT_EQ(ScreenPixel(ud->Handle(), 2, 2), SkinColorRef(bare.ButtonFace));
    EXPECT_EQ(ScreenPixel(ud->Handle(), u.right - 1, u.bottom / 2 - 1), SkinColorRef(bare.ButtonDkShadow));
    int arrow = 0;
    for (int y = 0; y < u.bottom / 2; ++y) arrow += ScreenPixel(ud->Handle(), (u.right - 2) / 2, y) == SkinColorRef(bare.ButtonText);
    EXPECT_GT(arrow, 1);
}

using SkinDatePicker = SkinPainterTest;

TEST_F(SkinDatePicker, TheDropDownPickerGetsTheComboPainterTheUpDownOneTheEditsWithItsArrows) {
    ui::TDateTimePicker* pickers[2];
    for (int i = 0; i < 2; ++i) {
        pickers[i] = ui::MakeControl<ui::TDateTimePicker>(form.get(), nullptr, "", "", 10, 10 + 40 * i, 150, 24);
        pickers[i]->DateMode = i ? ui::TDTDateMode::dmUpDown : ui::TDTDateMode::dmComboBox;
        pickers[i]->SetParent(form.get());
    }
    TPainterSet set;
    ScanControls(set.Host(), Blue(), form.get(), form->Handle(), nullptr);
    EXPECT_NE(PainterOn<TSkinComBox>(set, pickers[0]->Handle()), nullptr);
    EXPECT_NE(PainterOn<TSkinEdit>(set, pickers[1]->Handle()), nullptr);
    Redraw();
    HWND arrows = FindWindowExW(pickers[1]->Handle(), nullptr, UPDOWN_CLASSW, nullptr);
    ASSERT_NE(arrows, nullptr);
    EXPECT_NE(PainterOn<TSkinUpDown>(set, arrows), nullptr);
}

}  // namespace
