// The tab set on a real window: real keys and clicks choose the tab, OnChange may refuse, the
// scroller shows only when the tabs do not fit and moves the first tab shown.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>

#include "ui/Application.h"
#include "ui/Forms.h"
#include "ui/StdCtrls.h"
#include "ui/Tabs.h"

using namespace kt::ui;

namespace {

bool PumpUntil(const std::function<bool()>& done, DWORD ms = 2000) {
    for (const DWORD start = GetTickCount(); !done(); Sleep(5)) {
        if (GetTickCount() - start > ms) return false;
        TApplication::Instance().ProcessMessages();
    }
    return true;
}

void Key(WORD vk) {
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = vk;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof(INPUT));
}

bool Empty(RECT r) { return IsRectEmpty(&r) != FALSE; }

COLORREF PixelAt(HWND h, int x, int y) {
    RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    HDC dc = GetDC(h);
    const COLORREF p = GetPixel(dc, x, y);
    ReleaseDC(h, dc);
    return p;
}

struct TabSetTest : ::testing::Test {
    std::unique_ptr<TForm> form{new TForm(nullptr)};
    TEdit* edit = nullptr;
    void SetUp() override {
        form->SetBounds(100, 100, 420, 200);
        edit = MakeControl<TEdit>(form.get(), form.get(), "E", "", 10, 60, 100, 22);
        form->Show();
        SetForegroundWindow(form->Handle());
    }
};

TEST_F(TabSetTest, RealArrowKeysAndClicksChooseTheTabAndOnChangeMayRefuse) {
    auto* tabs = MakeControl<TTabSet>(form.get(), form.get(), "T", "", 10, 10, 380, 24);
    tabs->SetTabs({"One", "Two", "Three"});
    tabs->SetTabIndex(0);
    std::vector<int> asked;
    bool allow = true;
    tabs->OnChange = [&](int to, bool& ok) {
        asked.push_back(to);
        ok = allow;
    };
    EXPECT_FALSE(IsWindowVisible(tabs->Scroller()->Handle()));  // all fit

    // A click on a tab chooses it and takes the focus from the edit.
    edit->SetFocus();
    RECT third = tabs->TabRect(2);
    ASSERT_FALSE(Empty(third));
    SendMessageW(tabs->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM((third.left + third.right) / 2, 10));
    SendMessageW(tabs->Handle(), WM_LBUTTONUP, 0, MAKELPARAM((third.left + third.right) / 2, 10));
    EXPECT_EQ(tabs->TabIndex(), 2);
    EXPECT_EQ(GetFocus(), tabs->Handle());

    // The arrows through the message loop reach the tab set, not the form's dialog keys.
    Key(VK_LEFT);
    EXPECT_TRUE(PumpUntil([&] { return tabs->TabIndex() == 1; }));
    Key(VK_LEFT);
    EXPECT_TRUE(PumpUntil([&] { return tabs->TabIndex() == 0; }));
    Key(VK_LEFT);  // the first tab: nothing further left
    Key(VK_RIGHT);
    EXPECT_TRUE(PumpUntil([&] { return tabs->TabIndex() == 1; }));
    EXPECT_EQ(GetFocus(), tabs->Handle());
    EXPECT_EQ(asked, (std::vector<int>{2, 1, 0, 1}));

    allow = false;
    Key(VK_RIGHT);
    PumpUntil([&] { return asked.size() == 5; });
    EXPECT_EQ(asked.size(), 5u);
    EXPECT_EQ(tabs->TabIndex(), 1);

    // Drawn the ordinary way: the selected tab in the page's colour, the others in the window colour.
    const RECT sel = tabs->TabRect(1), other = tabs->TabRect(0);
    EXPECT_EQ(PixelAt(tabs->Handle(), sel.left + 4, sel.bottom - 4), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(PixelAt(tabs->Handle(), other.left + 4, other.bottom - 4), GetSysColor(COLOR_WINDOW));
}

TEST_F(TabSetTest, TheScrollerShowsWhenTheTabsDoNotFitAndMovesTheFirstTab) {
    auto* tabs = MakeControl<TTabSet>(form.get(), form.get(), "T", "", 10, 10, 200, 24);
    tabs->SetTabs({"General", "Keys", "Buttons", "Fonts", "Skins", "Folders", "Start", "Help"});
    tabs->SetTabIndex(0);
    HWND scroller = tabs->Scroller()->Handle();
    ASSERT_EQ(tabs->Components().front(), tabs->Scroller());
    EXPECT_TRUE(IsWindowVisible(scroller));
    EXPECT_TRUE(Empty(tabs->TabRect(7)));  // the last tab is out of sight
    RECT sr;
    GetClientRect(scroller, &sr);
    const RECT first = tabs->TabRect(0);
    RECT sw;
    GetWindowRect(scroller, &sw);
    MapWindowPoints(nullptr, tabs->Handle(), reinterpret_cast<POINT*>(&sw), 2);
    EXPECT_LE(first.right, sw.left);  // no tab under the scroller

    // Its right arrow scrolls one tab on.
    SendMessageW(scroller, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(sr.right - 4, sr.bottom / 2));
    SendMessageW(scroller, WM_LBUTTONUP, 0, MAKELPARAM(sr.right - 4, sr.bottom / 2));
    PumpUntil([&] { return tabs->FirstIndex() == 1; }, 500);
    EXPECT_EQ(tabs->FirstIndex(), 1);
    EXPECT_TRUE(Empty(tabs->TabRect(0)));

    // Choosing the last tab brings it into sight; the scroller follows.
    tabs->SetTabIndex(7);
    const RECT last = tabs->TabRect(7);
    EXPECT_FALSE(Empty(last));
    EXPECT_LE(last.right, sw.left);
    EXPECT_EQ(SendMessageW(scroller, UDM_GETPOS32, 0, 0), tabs->FirstIndex());
    tabs->SetFirstIndex(100);  // no further than the last tab allows
    EXPECT_FALSE(Empty(tabs->TabRect(7)));

    // Wide enough for all: no scroller, and every tab from the first.
    tabs->SetWidth(600);
    PumpUntil([] { return false; }, 50);
    EXPECT_FALSE(IsWindowVisible(scroller));
    EXPECT_EQ(tabs->FirstIndex(), 0);
    EXPECT_FALSE(Empty(tabs->TabRect(0)));
    EXPECT_FALSE(Empty(tabs->TabRect(7)));
}

}  // namespace
