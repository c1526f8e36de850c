// Painters of the status bar, header, tab set and date picker on real windows: where status
// texts land, the header's hot and pressed sections under the real mouse, the tab set's frames
// and scroller, the picker's painter by its mode and its calendar and keys under the skin.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>

#include "skin/data/SkinDraw.h"
#include "skin/ui/SkinColours.h"
#include "skin/ui/SkinPainters.h"
#include "skin/ui/SkinGallery.h"
#include "skin/ui/WinSkinControls.h"
#include "ui/Application.h"
#include "ui/ComCtrls.h"
#include "ui/Forms.h"
#include "ui/Tabs.h"

using namespace kt;

namespace {

bool PumpUntil(const std::function<bool()>& done, DWORD ms = 2000) {
    for (const DWORD start = GetTickCount();; Sleep(5)) {
        ui::TApplication::Instance().ProcessMessages();
        if (done()) return true;
        if (GetTickCount() - start > ms) return false;
    }
}

TSkinData& Blue() {
    static TSkinData* data = [] {
        auto* d = new TSkinData;
        gallery::LoadBuiltin(*d, 0);
        return d;
    }();
    return *data;
}

COLORREF Rgb(Pixel p) { return RGB(PixelR(p), PixelG(p), PixelB(p)); }

// Frame n's pixel at (x, y) of a strip of `count` frames side by side.
COLORREF FramePixel(const TBitmap32& image, int count, int frame, int x, int y) {
    const TRectI fr = FrameRect(image.Width(), image.Height(), false, count, frame);
    return Rgb(image.At(fr.Left + x, y));
}

// What the screen shows in a window (client coordinates), after painting what is due.
COLORREF ScreenPixel(HWND h, int x, int y) {
    UpdateWindow(h);
    ui::TApplication::Instance().ProcessMessages();
    HDC dc = GetDC(h);
    const COLORREF p = GetPixel(dc, x, y);
    ReleaseDC(h, dc);
    return p;
}

void MoveMouse(HWND h, int x, int y) {
    POINT p{x, y};
    ClientToScreen(h, &p);
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = MulDiv(p.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = MulDiv(p.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &in, sizeof in);
}

// Moves the real mouse to (x, y) of window h until done() holds: a window just shown may miss
// the first move, so it is sent again, one pixel aside and back.
bool MoveUntil(HWND h, int x, int y, const std::function<bool()>& done) {
    for (int i = 0; i < 20; ++i) {
        MoveMouse(h, x + (i & 1), y);
        if (PumpUntil(done, 150)) return true;
    }
    return false;
}

void Button(bool down) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    SendInput(1, &in, sizeof in);
}

template <class T>
T* PainterOn(TPainterSet& set, HWND h) {
    for (auto& p : set.Painters)
        if (p->Window() == h)
            if (auto* t = dynamic_cast<T*>(p.get())) return t;
    return nullptr;
}

struct SkinPainterTest : ::testing::Test {
    std::unique_ptr<ui::TForm> form{new ui::TForm(nullptr)};
    void SetUp() override {
        form->SetBounds(60, 60, 520, 300);
        form->Show();
        SetForegroundWindow(form->Handle());
        PumpUntil([] { return false; }, 50);
    }
    void Redraw() {
        RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
        ui::TApplication::Instance().ProcessMessages();
    }
};

// Which thirds (left 1, middle 2, right 4) of a panel hold pixels of the text colour.
int TextThirds(HWND bar, const RECT& panel, COLORREF text) {
    HDC dc = GetDC(bar);
    int thirds = 0;
    const int w = panel.right - panel.left;
    for (int y = panel.top + 3; y < panel.bottom - 3; ++y)
        for (int x = panel.left + 3; x < panel.right - 3; ++x)
            if (GetPixel(dc, x, y) == text) thirds |= 1 << std::min<int>(2, 3 * (x - panel.left) / w);
    ReleaseDC(bar, dc);
    return thirds;
}

using StatusPanels = SkinPainterTest;

TEST_F(StatusPanels, TextsSitLeftCentreAndRightWithAndWithoutTheSkinAndOnABareBar) {
    auto* bar = ui::MakeControl<ui::TStatusBar>(form.get(), nullptr, "S", "", 10, 10, 480, 24);
    bar->PanelWidths = {160, 160, 160};
    bar->PanelTexts = {"Ok", "Ok", "Ok"};
    bar->PanelAlignments = {ui::TAlignment::taLeftJustify, ui::TAlignment::taCenter, ui::TAlignment::taRightJustify};
    bar->SetSizeGrip(false);
    bar->SetParent(form.get());
    // A system bar that belongs to no control object: its texts say where they go.
    HWND bare = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | CCS_NOPARENTALIGN | CCS_NORESIZE,
                                10, 60, 480, 24, form->Handle(), nullptr, nullptr, nullptr);
    int rights[] = {160, 320, -1};
    SendMessageW(bare, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(rights));
    const wchar_t* texts[] = {L"Ok", L"\tOk", L"\t\tOk"};
    for (int i = 0; i < 3; ++i) SendMessageW(bare, SB_SETTEXTW, i, reinterpret_cast<LPARAM>(texts[i]));

    auto check = [&](HWND h, COLORREF text, const char* what) {
        for (int i = 0; i < 3; ++i) {
            RECT pr;
            SendMessageW(h, SB_GETRECT, i, reinterpret_cast<LPARAM>(&pr));
            EXPECT_EQ(TextThirds(h, pr, text), 1 << i) << what << " panel " << i;
        }
    };
    Redraw();
    check(bar->Handle(), GetSysColor(COLOR_BTNTEXT), "system");
    check(bare, GetSysColor(COLOR_BTNTEXT), "bare system");
    TPainterSet set;
    ScanControls(set.Host(), Blue(), form.get(), form->Handle(), nullptr);
    ASSERT_NE(PainterOn<TSkinStatusBar>(set, bar->Handle()), nullptr);
    MakePainter(TPainterKind::StatusBar, set.Host()).release()->AttachWindow(bare, Blue());
    Redraw();
    const COLORREF skinned = SkinColorRef(Blue().StatusBarEdges->NormalColour2);
    check(bar->Handle(), skinned, "skinned");
    check(bare, skinned, "bare skinned");
    DestroyWindow(bare);

    // Text that follows the alignment tabs keeps the system's rule: each tab moves one place on.
    const auto parts = StatusTextParts(L"a\tb\tc\td", 0);
    ASSERT_EQ(parts.size(), 3u);
    EXPECT_EQ(parts[1].Text, L"b");
    EXPECT_EQ(parts[2].Align, UINT(DT_RIGHT));
    EXPECT_EQ(parts[2].Text, L"c");  // nothing goes further right than right
    EXPECT_TRUE(StatusTextParts(L"\t\t", 0).empty());
}

using SkinHeader = SkinPainterTest;

TEST_F(SkinHeader, TheRealMouseMakesASectionHotAndPressedAndClicksAndResizesStillWork) {
    const TBitmap32& image = Blue().Headerbar->Image;
    const int count = Blue().Headerbar->FrameCount;
    ASSERT_GE(count, 4);
    const COLORREF normal = FramePixel(image, count, 1, 10, 1), pressed = FramePixel(image, count, 2, 10, 1),
                   hot = FramePixel(image, count, 4, 10, 1);
    ASSERT_NE(normal, hot);
    ASSERT_NE(pressed, hot);
    auto* lv = ui::MakeControl<ui::TListView>(form.get(), nullptr, "V", "", 10, 10, 400, 120);
    lv->Columns = {{"Name", 100}, {"Text", 120}};
    int columnClicks = 0;
    lv->WindowProc = [&, previous = lv->WindowProc](ui::TMessage& m) {
        if (m.Msg == ui::CN_NOTIFY && reinterpret_cast<NMHDR*>(m.LParam)->code == LVN_COLUMNCLICK) ++columnClicks;
        previous(m);
    };
    lv->SetParent(form.get());
    auto set = std::make_unique<TPainterSet>();
    ScanControls(set->Host(), Blue(), form.get(), form->Handle(), nullptr);
    HWND header = reinterpret_cast<HWND>(SendMessageW(lv->Handle(), LVM_GETHEADER, 0, 0));
    auto* painter = PainterOn<TSkinHeader>(*set, header);
    ASSERT_NE(painter, nullptr);
    Redraw();
    RECT first, second;
    Header_GetItemRect(header, 0, &first);
    Header_GetItemRect(header, 1, &second);
    const int cx = (second.left + second.right) / 2, cy = (second.top + second.bottom) / 2;
    auto colour = [&](const RECT& r) { return ScreenPixel(header, (r.left + r.right) / 2, r.top + 1); };

    MoveMouse(header, 450, 200);  // start outside the header
    EXPECT_TRUE(MoveUntil(header, cx, cy, [&] { return colour(second) == hot; })) << std::hex << colour(second);
    EXPECT_EQ(colour(first), normal);
    // On to the next section, and back.
    EXPECT_TRUE(MoveUntil(header, (first.left + first.right) / 2, cy,
                          [&] { return colour(first) == hot && colour(second) == normal; }));
    EXPECT_TRUE(MoveUntil(header, cx, cy, [&] { return colour(second) == hot && colour(first) == normal; }));
    Button(true);
    EXPECT_TRUE(PumpUntil([&] { return colour(second) == pressed; }));
    EXPECT_EQ(painter->SectionFrame(1), 2);
    Button(false);
    EXPECT_TRUE(PumpUntil([&] { return columnClicks == 1 && colour(second) == hot; }));
    EXPECT_TRUE(MoveUntil(header, 200, 300, [&] { return colour(second) == normal; }));  // out of the header

    // Dragging the divider still resizes the first column.
    MoveMouse(header, first.right - 1, cy);
    PumpUntil([] { return false; }, 100);
    Button(true);
    PumpUntil([] { return false; }, 100);
    MoveMouse(header, first.right + 40, cy);
    PumpUntil([] { return false; }, 100);
    Button(false);
    EXPECT_TRUE(PumpUntil([&] {
        RECT now;
        Header_GetItemRect(header, 0, &now);
        return now.right - now.left >= 135;
    }));
    EXPECT_EQ(columnClicks, 1);

    // A picture of two frames: hot falls back to frame 1, pressed is still frame 2.
    TSkinData few;
    gallery::LoadBuiltin(few, 0);
    TBitmap32 two(2 * image.Width() / count, image.Height());
    for (int y = 0; y < two.Height(); ++y)
        for (int x = 0; x < two.Width(); ++x) two.At(x, y) = image.At(x, y);
    few.Headerbar->Image = two;
    few.Headerbar->FrameCount = 2;
    set.reset();
    TPainterSet other;
    MakePainter(TPainterKind::Header, other.Host()).release()->AttachWindow(header, few);
    auto* fewer = PainterOn<TSkinHeader>(other, header);
    ASSERT_NE(fewer, nullptr);
    RECT now;
    Header_GetItemRect(header, 1, &now);
    MoveUntil(header, (now.left + now.right) / 2, cy, [] { return false; });
    EXPECT_EQ(colour(now), normal);
    Button(true);
    EXPECT_TRUE(PumpUntil([&] { return colour(now) == pressed; }));
    Button(false);
    PumpUntil([&] { return columnClicks == 2; });
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
    auto* upDown = PainterOn<TSkinUpDown>(set, scroller);
    ASSERT_NE(upDown, nullptr);
    EXPECT_EQ(painter->ScrollerPainter(), upDown);
    Redraw();

    // The tabs hang below the page: the picture's top rows are at a tab's bottom.
    const TDataSkinBorder& t = *Blue().Tabs;
    const COLORREF selected = FramePixel(t.Image, t.FrameCount, 2, t.Image.Width() / t.FrameCount / 2, 1);
    const COLORREF other = FramePixel(t.Image, t.FrameCount, 1, t.Image.Width() / t.FrameCount / 2, 1);
    ASSERT_NE(selected, other);
    const RECT sel = tabs->TabRect(1), first = tabs->TabRect(0);
    EXPECT_EQ(ScreenPixel(tabs->Handle(), sel.left + 6, sel.bottom - 2), selected);
    EXPECT_EQ(ScreenPixel(tabs->Handle(), first.left + 6, first.bottom - 2), other);
    // The scroller's left edge is the up-down picture's, not the system's.
    const TDataSkinBorder& u = *Blue().UpDownHorz;
    RECT sr;
    GetClientRect(scroller, &sr);
    EXPECT_EQ(ScreenPixel(scroller, 0, sr.bottom / 2), FramePixel(u.Image, u.FrameCount, 1, 0, u.Image.Height() / 2));

    // The keys reach the tab set through the painter; the new tab is drawn selected.
    tabs->SetFocus();
    SendMessageW(tabs->Handle(), WM_KEYDOWN, VK_RIGHT, 1);
    EXPECT_EQ(tabs->TabIndex(), 2);
    const RECT now = tabs->TabRect(2), before = tabs->TabRect(1);
    EXPECT_EQ(ScreenPixel(tabs->Handle(), now.left + 6, now.bottom - 2), selected);
    EXPECT_EQ(ScreenPixel(tabs->Handle(), before.left + 6, before.bottom - 2), other);
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
    const RECT other = tabs->TabRect(1);
    EXPECT_EQ(ScreenPixel(tabs->Handle(), other.left + 4, other.bottom - 4), GetSysColor(COLOR_WINDOW));
}

using SkinDatePicker = SkinPainterTest;

TEST_F(SkinDatePicker, EachModeGetsItsPainterAndTheCalendarAndKeysStillWork) {
    auto make = [&](ui::TDTDateMode mode, int top) {
        auto* p = ui::MakeControl<ui::TDateTimePicker>(form.get(), nullptr, "", "", 10, top, 150, 24);
        p->DateMode = mode;
        SYSTEMTIME day{};
        day.wYear = 2026, day.wMonth = 3, day.wDay = 14;
        p->SetDate(day);
        p->SetParent(form.get());
        return p;
    };
    auto* combo = make(ui::TDTDateMode::dmComboBox, 10);
    auto* upDown = make(ui::TDTDateMode::dmUpDown, 50);
    int dropped = 0, changes = 0;
    combo->OnChange = [&] { ++changes; };
    combo->WindowProc = [&, previous = combo->WindowProc](ui::TMessage& m) {
        if (m.Msg == ui::CN_NOTIFY && reinterpret_cast<NMHDR*>(m.LParam)->code == DTN_DROPDOWN) ++dropped;
        previous(m);
    };
    TPainterSet set;
    ScanControls(set.Host(), Blue(), form.get(), form->Handle(), nullptr);
    EXPECT_NE(PainterOn<TSkinComBox>(set, combo->Handle()), nullptr);
    EXPECT_NE(PainterOn<TSkinEdit>(set, upDown->Handle()), nullptr);
    Redraw();
    HWND arrows = FindWindowExW(upDown->Handle(), nullptr, UPDOWN_CLASSW, nullptr);
    ASSERT_NE(arrows, nullptr);
    EXPECT_NE(PainterOn<TSkinUpDown>(set, arrows), nullptr);

    // The drop-down button opens the calendar.
    RECT cr;
    GetClientRect(combo->Handle(), &cr);
    SendMessageW(combo->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(cr.right - 6, cr.bottom / 2));
    SendMessageW(combo->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(cr.right - 6, cr.bottom / 2));
    EXPECT_TRUE(PumpUntil([&] { return dropped == 1; }));
    HWND calendar = reinterpret_cast<HWND>(SendMessageW(combo->Handle(), DTM_GETMONTHCAL, 0, 0));
    EXPECT_TRUE(calendar && IsWindowVisible(calendar));
    SendMessageW(combo->Handle(), WM_KEYDOWN, VK_ESCAPE, 1);
    PumpUntil([] { return false; }, 50);

    // A click on the month, then Up: the next month.
    combo->SetFocus();
    SendMessageW(combo->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(6, cr.bottom / 2));
    SendMessageW(combo->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(6, cr.bottom / 2));
    SendMessageW(combo->Handle(), WM_KEYDOWN, VK_UP, 1);
    PumpUntil([&] { return changes > 0; });
    EXPECT_EQ(combo->Date().wMonth, 4);
    EXPECT_EQ(combo->Date().wDay, 14);
    EXPECT_GT(changes, 0);
}

}  // namespace
