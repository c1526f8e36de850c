// The tab set on a real window: real keys and clicks choose the tab, OnChange may refuse, the
// scroller shows only when the tabs do not fit and moves the first tab shown.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>

#include "Pump.h"
#include "ui/Application.h"
#include "ui/Forms.h"
#include "ui/StdCtrls.h"
#include "ui/Tabs.h"

using namespace kt::ui;

namespace {

using kt::test_support::PumpUntil;

void Key(WORD vk) {
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = vk;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof(INPUT));
}

bool Empty(RECT r) { return IsRectEmpty(&r) != FALSE; }

struct TabSetTest : ::testing::Test {
    std::unique_ptr<TForm> form{new TForm(nullptr)};
    TTabSet* tabs = nullptr;
    TEdit* edit = nullptr;
    void Make(int width, std::vector<std::string> names) {
        form->SetBounds(100, 100, 420, 200);
        edit = MakeControl<TEdit>(form.get(), form.get(), "E", "", 10, 60, 100, 22);
        tabs = MakeControl<TTabSet>(form.get(), form.get(), "T", "", 10, 10, width, 24);
        tabs->SetTabs(std::move(names));
        tabs->SetTabIndex(0);
        form->Show();
        SetForegroundWindow(form->Handle());
    }
};

TEST_F(TabSetTest, RealArrowKeysAndClicksChooseTheTabAndOnChangeMayRefuse) {
    Make(380, {"One", "Two", "Three"});
    std::vector<int> asked;
    bool allow = true;
    tabs->OnChange = [&](int to, bool& ok) {
        asked.push_back(to);
        ok = allow;
    };
    EXPECT_FALSE(IsWindowVisible(tabs->Scroller()->Handle()));  // all fit
    const RECT third = tabs->TabRect(2);
    edit->SetFocus();
    SendMessageW(tabs->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(third.left + 5, 10));
    EXPECT_EQ(tabs->TabIndex(), 2);
    EXPECT_EQ(GetFocus(), tabs->Handle());
    // The arrows come through the message loop to the tab set, not to the form's dialog keys.
    for (WORD k : {VK_LEFT, VK_LEFT, VK_LEFT, VK_RIGHT}) Key(k);
    EXPECT_TRUE(PumpUntil([&] { return asked.size() == 4; }));
    EXPECT_EQ(asked, (std::vector<int>{2, 1, 0, 1}));  // nothing left of the first tab
    EXPECT_EQ(tabs->TabIndex(), 1);
    allow = false;
    Key(VK_RIGHT);
    EXPECT_TRUE(PumpUntil([&] { return asked.size() == 5; }));
    EXPECT_EQ(tabs->TabIndex(), 1);
    EXPECT_EQ(GetFocus(), tabs->Handle());
}

TEST_F(TabSetTest, TheScrollerShowsWhenTheTabsDoNotFitAndMovesTheFirstTab) {
    Make(200, {"General", "Keys", "Buttons", "Fonts", "Skins", "Folders", "Start", "Help"});
    HWND scroller = tabs->Scroller()->Handle();
    ASSERT_EQ(tabs->Components().front(), tabs->Scroller());
    EXPECT_TRUE(IsWindowVisible(scroller));
    EXPECT_TRUE(Empty(tabs->TabRect(7)));
    RECT sr, sw;
    GetClientRect(scroller, &sr);
    GetWindowRect(scroller, &sw);
    MapWindowPoints(nullptr, tabs->Handle(), reinterpret_cast<POINT*>(&sw), 2);
    // Its right arrow scrolls one tab on.
    SendMessageW(scroller, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(sr.right - 4, sr.bottom / 2));
    SendMessageW(scroller, WM_LBUTTONUP, 0, MAKELPARAM(sr.right - 4, sr.bottom / 2));
    EXPECT_TRUE(PumpUntil([&] { return tabs->FirstIndex() == 1; }, 500));
    EXPECT_TRUE(Empty(tabs->TabRect(0)));
    // Choosing the last tab brings it into sight, clear of the scroller, which follows.
    tabs->SetTabIndex(7);
    EXPECT_FALSE(Empty(tabs->TabRect(7)));
    EXPECT_LE(tabs->TabRect(7).right, sw.left);
    EXPECT_EQ(SendMessageW(scroller, UDM_GETPOS32, 0, 0), tabs->FirstIndex());
    tabs->SetFirstIndex(100);  // no further than the last tab allows
    EXPECT_FALSE(Empty(tabs->TabRect(7)));
    // Wide enough for all: no scroller, every tab from the first.
    tabs->SetWidth(600);
    EXPECT_FALSE(IsWindowVisible(scroller));
    EXPECT_EQ(tabs->FirstIndex(), 0);
    EXPECT_FALSE(Empty(tabs->TabRect(0)) || Empty(tabs->TabRect(7)));
}

}  // namespace
