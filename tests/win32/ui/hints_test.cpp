// Hints: a control shows its hint when it or a parent asks for hints.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "ui/Application.h"
#include "ui/Forms.h"
#include "ui/StdCtrls.h"

using namespace kt::ui;

namespace {

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
    HWND tip = nullptr;  // the tip window the form owns
    while ((tip = FindWindowExA(nullptr, tip, TOOLTIPS_CLASSA, nullptr)) && GetWindow(tip, GW_OWNER) != root) {
    }
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 2);
    EXPECT_EQ(TipText(tip, root, asks->Handle()), "Add a scheme");
    EXPECT_EQ(TipText(tip, root, inner->Handle()), "The scheme's name");
    EXPECT_EQ(TipText(tip, root, silent->Handle()), "");
    delete form;
}

}  // namespace
