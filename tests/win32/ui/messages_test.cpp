// What a painter that replaces a control's WindowProc sees: the parent's notifications about
// the control reflected to it, CM_DIALOGCHAR on Alt+letter, mouse enter and leave; and the
// keyboard walk of a dialog (Tab, radio arrows, Enter, Escape).
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "Pump.h"
#include "ui/Application.h"
#include "ui/Dialogs.h"
#include "ui/ExtCtrls.h"
#include "ui/StdCtrls.h"

using namespace kt::ui;

namespace {

// Records every message that reaches a control's WindowProc, then passes it on.
struct Spy {
    std::vector<UINT> seen;
    explicit Spy(TControl* c) {
        c->WindowProc = [this, old = c->WindowProc](TMessage& m) {
            seen.push_back(m.Msg);
            old(m);
        };
    }
    bool Saw(UINT msg) const { return std::count(seen.begin(), seen.end(), msg) > 0; }
};

using kt::test_support::Pump;
using kt::test_support::PumpUntil;

// A key message as the message loop gets it, with Shift held or not.
void PostKey(UINT msg, WPARAM key, bool shift = false) {
    BYTE state[256];
    GetKeyboardState(state);
    state[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(state);
    PostMessageW(GetFocus(), msg, key, msg == WM_SYSCHAR ? (1 << 29) : 1);
    Pump();  // a message posted to this thread, and what translating it posts, is handled at once
    state[VK_SHIFT] = 0;
    SetKeyboardState(state);
}

class OwnerDrawList : public TListBox {
    using TListBox::TListBox;
    void CreateParams(TCreateParams& p) override {
        TListBox::CreateParams(p);
        p.style |= LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS;
    }
};

template <DWORD Style>
class TrackBar : public TWinControl {
    using TWinControl::TWinControl;
    void CreateParams(TCreateParams& p) override {
        TWinControl::CreateParams(p);
        p.winClass = TRACKBAR_CLASSA;
        p.style |= Style;
    }
};

TForm* NewForm() {
    auto* form = new TForm(nullptr);
    form->SetBounds(50, 50, 420, 300);
    form->SetFormStyle(TFormStyle::fsStayOnTop);
    return form;
}

}  // namespace

TEST(Reflection, AReplacedWindowProcSeesEveryNotificationAboutItsControl) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    TForm* form = NewForm();
    auto* button = MakeControl<TButton>(form, form, "", "Go", 8, 8, 75, 25);
    auto* edit = MakeControl<TEdit>(form, form, "", "", 8, 40, 100, 21);
    auto* label = MakeControl<TLabel>(form, form, "", "label", 8, 70, 100, 13);
    auto* list = MakeControl<OwnerDrawList>(form, form, "", "", 120, 8, 100, 80);
    list->AddItem("one");
    auto* across = MakeControl<TrackBar<0>>(form, form, "", "", 8, 100, 200, 30);
    auto* down = MakeControl<TrackBar<TBS_VERT>>(form, form, "", "", 240, 8, 30, 200);
    int clicks = 0;
    button->OnClick = [&] { ++clicks; };

    Spy sButton(button), sEdit(edit), sLabel(label), sList(list), sAcross(across), sDown(down);
    form->Show();
    RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    list->AddItem("two");  // measured as it comes in
    SendMessageW(button->Handle(), BM_CLICK, 0, 0);
    SendMessageW(across->Handle(), WM_KEYDOWN, VK_RIGHT, 0);
    SendMessageW(down->Handle(), WM_KEYDOWN, VK_DOWN, 0);

    EXPECT_TRUE(sButton.Saw(CN_COMMAND));
    EXPECT_EQ(clicks, 1);  // the control's own handling still runs behind the painter
    EXPECT_TRUE(sButton.Saw(CN_CTLCOLORBTN));
    EXPECT_TRUE(sEdit.Saw(CN_CTLCOLOREDIT));
    EXPECT_TRUE(sLabel.Saw(CN_CTLCOLORSTATIC));
    EXPECT_TRUE(sList.Saw(CN_CTLCOLORLISTBOX));
    EXPECT_TRUE(sList.Saw(CN_DRAWITEM));
    EXPECT_TRUE(sList.Saw(CN_MEASUREITEM));
    EXPECT_TRUE(sAcross.Saw(CN_NOTIFY));
    EXPECT_TRUE(sAcross.Saw(CN_HSCROLL));
    EXPECT_TRUE(sDown.Saw(CN_VSCROLL));
    EXPECT_FALSE(sAcross.Saw(CN_VSCROLL));
    // Controls with a window of their own are no graphic controls.
    new TImage(form);
    new TBevel(form);
    for (TComponent* c : form->Components()) EXPECT_FALSE(c->IsKindOf("TGraphicControl")) << c->ClassName();
    delete form;
}

TEST(Reflection, AltLetterComesAsDialogCharAndAFormHookCanClaimIt) {
    TForm* form = NewForm();
    auto* label = MakeControl<TLabel>(form, form, "", "&Name", 8, 8, 60, 13);
    auto* edit = MakeControl<TEdit>(form, form, "", "", 8, 24, 100, 21);
    label->ShowAccelChar = true;
    label->FocusControl = edit;
    auto* go = MakeControl<TButton>(form, form, "", "&Go", 8, 60, 75, 25);
    auto* box = MakeControl<TCheckBox>(form, form, "", "&Keep", 8, 90, 90, 17);
    int goClicks = 0;
    go->OnClick = [&] { ++goClicks; };
    Spy sGo(go);
    form->Show();
    SetForegroundWindow(form->Handle());
    edit->SetFocus();

    PostKey(WM_SYSCHAR, 'g');
    EXPECT_TRUE(sGo.Saw(CM_DIALOGCHAR));
    EXPECT_EQ(goClicks, 1);
    EXPECT_TRUE(go->Focused());
    PostKey(WM_SYSCHAR, 'N');
    EXPECT_TRUE(edit->Focused());
    PostKey(WM_SYSCHAR, 'k');
    EXPECT_TRUE(box->Checked());

    // A hook in front of the form (a skinned menu bar) takes the letter first.
    int claimed = 0;
    form->WindowProc = [&, old = form->WindowProc](TMessage& m) {
        if (m.Msg == CM_DIALOGCHAR && (m.WParam | 0x20) == 'g') {
            ++claimed;
            m.Result = 1;
        } else {
            old(m);
        }
    };
    PostKey(WM_SYSCHAR, 'G');
    EXPECT_EQ(claimed, 1);
    EXPECT_EQ(goClicks, 1);
    delete form;
}

TEST(Reflection, MouseEnterAndLeaveReachTheWindowProc) {
    TForm* form = NewForm();
    auto* button = MakeControl<TButton>(form, form, "", "", 20, 20, 100, 40);
    Spy spy(button);
    form->Show();
    SetForegroundWindow(form->Handle());
    RECT r;
    GetWindowRect(button->Handle(), &r);
    auto moveTo = [](int x, int y) {
        INPUT in{};
        in.type = INPUT_MOUSE;
        in.mi.dx = MulDiv(x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
        in.mi.dy = MulDiv(y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
        in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        SendInput(1, &in, sizeof in);
    };
    moveTo(r.left + 10, r.top + 10);
    EXPECT_TRUE(PumpUntil([&] { return spy.Saw(CM_MOUSEENTER); }));
    moveTo(r.right + 300, r.bottom + 200);
    EXPECT_TRUE(PumpUntil([&] { return spy.Saw(CM_MOUSELEAVE); }));
    delete form;
}

TEST(DialogKeys, TabRadioArrowsEnterAndEscapeAsInAnyDialog) {
    auto* form = new TDialogForm(nullptr);
    form->SetBounds(50, 50, 400, 300);
    auto* name = MakeControl<TEdit>(form, form, "", "", 8, 8, 100, 21);
    MakeControl<TEdit>(form, form, "", "", 8, 36, 100, 21)->SetEnabled(false);  // Tab passes it by
    auto* group = MakeControl<TRadioGroup>(form, form, "", "", 8, 64, 300, 40);
    group->SetColumns(3);
    group->SetItems({"A", "B", "C"});
    group->SetItemIndex(1);
    auto* list = MakeControl<TListBox>(form, form, "", "", 8, 110, 100, 60);
    list->AddItem("x");
    list->AddItem("y");
    auto* ok = MakeControl<TButton>(form, form, "", "", 200, 200, 75, 25);
    auto* cancel = MakeControl<TButton>(form, form, "", "", 290, 200, 75, 25);
    ok->Default = true;
    cancel->Cancel = true;
    int groupClicks = 0, oks = 0, cancels = 0;
    group->OnClick = [&] { ++groupClicks; };
    ok->OnClick = [&] { ++oks; };
    cancel->OnClick = [&] { ++cancels; };
    form->Show();
    SetForegroundWindow(form->Handle());
    name->SetFocus();

    std::vector<HWND> walk;
    for (int i = 0; i < 5; ++i) {
        PostKey(WM_KEYDOWN, VK_TAB);
        walk.push_back(GetFocus());
    }
    // The radio group is one stop, at its checked button.
    EXPECT_EQ(walk, (std::vector<HWND>{group->Button(1)->Handle(), list->Handle(), ok->Handle(), cancel->Handle(),
                                       name->Handle()}));
    PostKey(WM_KEYDOWN, VK_TAB, true);
    EXPECT_EQ(GetFocus(), cancel->Handle());

    group->Button(1)->SetFocus();
    PostKey(WM_KEYDOWN, VK_RIGHT);
    EXPECT_EQ(GetFocus(), group->Button(2)->Handle());
    EXPECT_EQ(group->ItemIndex(), 2);
    EXPECT_EQ(groupClicks, 1);
    PostKey(WM_KEYDOWN, VK_DOWN);  // round to the first
    EXPECT_EQ(group->ItemIndex(), 0);
    PostKey(WM_KEYDOWN, VK_LEFT);
    EXPECT_EQ(group->ItemIndex(), 2);

    // A list keeps its arrows.
    list->SetFocus();
    list->SetItemIndex(0);
    PostKey(WM_KEYDOWN, VK_DOWN);
    EXPECT_EQ(GetFocus(), list->Handle());
    EXPECT_EQ(list->ItemIndex(), 1);

    name->SetFocus();
    PostKey(WM_KEYDOWN, VK_RETURN);
    PostKey(WM_KEYDOWN, VK_ESCAPE);
    EXPECT_EQ(oks, 1);
    EXPECT_EQ(cancels, 1);
    cancel->SetFocus();
    PostKey(WM_KEYDOWN, VK_RETURN);  // Enter presses the focused button
    EXPECT_EQ(cancels, 2);
    EXPECT_EQ(oks, 1);
    delete form;
}
