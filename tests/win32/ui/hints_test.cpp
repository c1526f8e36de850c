// Hints: a control shows its hint when it or a parent asks for hints.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <utility>
#include <vector>

#include "ui/Application.h"
#include "ui/Forms.h"
#include "ui/StdCtrls.h"

using namespace kt::ui;

namespace {

// The tip windows a top-level window owns: the ones the system shows over it.
BOOL CALLBACK CollectTip(HWND h, LPARAM l) {
    auto* found = reinterpret_cast<std::pair<HWND, std::vector<HWND>>*>(l);
    char cls[32] = {0};
    GetClassNameA(h, cls, sizeof cls);
    if (!lstrcmpiA(cls, TOOLTIPS_CLASSA) && GetWindow(h, GW_OWNER) == found->first) found->second.push_back(h);
    return TRUE;
}
std::vector<HWND> TipWindowsOf(HWND root) {
    std::pair<HWND, std::vector<HWND>> found{root, {}};
    EnumThreadWindows(GetCurrentThreadId(), CollectTip, reinterpret_cast<LPARAM>(&found));
    return found.second;
}

std::string TipText(HWND tip, HWND root, HWND control) {
    char buf[256] = {0};
    TTTOOLINFOA ti{};
    ti.cbSize = TTTOOLINFOA_V1_SIZE;
    ti.hwnd = root;
    ti.uId = reinterpret_cast<UINT_PTR>(control);
    ti.lpszText = buf;
    SendMessageA(tip, TTM_GETTEXTA, sizeof buf, reinterpret_cast<LPARAM>(&ti));
    return buf;
}

TEST(Hints, ControlsAskingForHintsOrInsideAHintingParentGetTheirTip) {
    auto* form = new TForm(nullptr);
    auto* asks = new TButton(form);
    asks->Hint = "Add a scheme";
    asks->ShowHint = true;
    asks->SetParent(form);
    auto* silent = new TButton(form);
    silent->Hint = "not shown";
    silent->SetParent(form);
    auto* group = new TGroupBox(form);
    group->ShowHint = true;
    group->SetParent(form);
    auto* inner = new TEdit(form);
    inner->Hint = "The scheme's name";
    inner->SetParent(group);
    auto* noHint = new TEdit(form);
    noHint->SetParent(group);

    HWND root = form->Handle();
    const auto tips = TipWindowsOf(root);
    ASSERT_EQ(tips.size(), 1u);  // one for the whole window
    HWND tip = tips[0];
    EXPECT_EQ(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 2);
    EXPECT_EQ(TipText(tip, root, asks->Handle()), "Add a scheme");
    EXPECT_EQ(TipText(tip, root, inner->Handle()), "The scheme's name");
    EXPECT_EQ(TipText(tip, root, silent->Handle()), "");
    delete form;
}

}  // namespace
