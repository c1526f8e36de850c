// What a painter that replaces a control's WindowProc sees: the parent's notifications about
// the control reflected to it, CM_DIALOGCHAR on Alt+letter, mouse enter and leave; and the
// keyboard walk of a dialog (Tab, radio arrows, Enter, Escape).
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "ui/Application.h"
#include "ui/Dialogs.h"
#include "ui/ExtCtrls.h"
#include "ui/Forms.h"
#include "ui/StdCtrls.h"

using namespace kt::ui;

namespace {

// Records every message that reaches a control's WindowProc, then passes it on.
struct Spy {
    std::vector<UINT> seen;
    explicit Spy(TControl* c) {
        TWndMethod old = c->WindowProc;
        c->WindowProc = [this, old](TMessage& m) {
            seen.push_back(m.Msg);
            old(m);
        };
    }
    bool Saw(UINT msg) const { return std::count(seen.begin(), seen.end(), msg) > 0; }
};

bool PumpUntil(const std::function<bool()>& done, DWORD ms = 2000) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > ms) return false;
        TApplication::Instance().ProcessMessages();
        Sleep(5);
    }
    return true;
}

void Pump() { PumpUntil([] { return false; }, 60); }

class OwnerDrawList : public TListBox {
public:
    using TListBox::TListBox;

protected:
    void CreateParams(TCreateParams& p) override {
        TListBox::CreateParams(p);
        p.style |= LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS;
    }
};

class TrackBar : public TWinControl {
public:
    TrackBar(TComponent* owner, bool vertical) : TWinControl(owner), vertical_(vertical) {}

protected:
    void CreateParams(TCreateParams& p) override {
        TWinControl::CreateParams(p);
        p.winClass = TRACKBAR_CLASSA;
        if (vertical_) p.style |= TBS_VERT;
    }

private:
    bool vertical_;
};

void PostKey(UINT msg, WPARAM key, bool shift = false) {
    BYTE state[256];
    GetKeyboardState(state);
    state[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(state);
    PostMessageW(GetFocus(), msg, key, msg == WM_SYSCHAR ? (1 << 29) : 1);
    Pump();
    state[VK_SHIFT] = 0;
    SetKeyboardState(state);
}

}  // namespace

TEST(Reflection, AReplacedWindowProcSeesEveryNotificationAboutItsControl) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    auto* form = new TForm(nullptr);
    form->SetBounds(50, 50, 420, 300);
    auto* button = new TButton(form);
    button->SetBounds(8, 8, 75, 25);
    button->SetParent(form);
    int clicks = 0;
    button->OnClick = [&] { ++clicks; };
    auto* edit = new TEdit(form);
    edit->SetBounds(8, 40, 100, 21);
    edit->SetParent(form);
    auto* label = new TLabel(form);
    label->SetCaption("label");
    label->SetBounds(8, 70, 100, 13);
    label->SetParent(form);
    auto* list = new OwnerDrawList(form);
    list->AddItem("one");
    list->SetBounds(120, 8, 100, 80);
    list->SetParent(form);
    auto* across = new TrackBar(form, false);
    across->SetBounds(8, 100, 200, 30);
    across->SetParent(form);
    auto* down = new TrackBar(form, true);
    down->SetBounds(240, 8, 30, 200);
    down->SetParent(form);

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
    for (TComponent* c : form->Components()) EXPECT_FALSE(c->IsKindOf("TGraphicControl")) << c->ClassName();
    TImage image(nullptr);
    TBevel bevel(nullptr);
    EXPECT_FALSE(image.IsKindOf("TGraphicControl"));
    EXPECT_FALSE(bevel.IsKindOf("TGraphicControl"));
    delete form;
}

TEST(Reflection, AltLetterComesAsDialogCharAndAFormHookCanClaimIt) {
    auto* form = new TForm(nullptr);
    form->SetBounds(50, 50, 300, 200);
    auto* label = new TLabel(form);
    label->SetCaption("&Name");
    label->ShowAccelChar = true;
    label->SetBounds(8, 8, 60, 13);
    label->SetParent(form);
    auto* edit = new TEdit(form);
    edit->SetBounds(8, 24, 100, 21);
    edit->SetParent(form);
    label->FocusControl = edit;
    auto* go = new TButton(form);
    go->SetCaption("&Go");
    go->SetBounds(8, 60, 75, 25);
    go->SetParent(form);
    int goClicks = 0;
    go->OnClick = [&] { ++goClicks; };
    auto* box = new TCheckBox(form);
    box->SetCaption("&Keep");
    box->SetBounds(8, 90, 90, 17);
    box->SetParent(form);
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
    TWndMethod old = form->WindowProc;
    form->WindowProc = [&](TMessage& m) {
        if (m.Msg == CM_DIALOGCHAR && (m.WParam == 'g' || m.WParam == 'G')) {
            ++claimed;
            m.Result = 1;
            return;
        }
        old(m);
    };
    PostKey(WM_SYSCHAR, 'g');
    EXPECT_EQ(claimed, 1);
    EXPECT_EQ(goClicks, 1);
    delete form;
}

TEST(Reflection, MouseEnterAndLeaveReachTheWindowProc) {
    auto* form = new TForm(nullptr);
    form->SetBounds(100, 100, 300, 200);
    form->SetFormStyle(TFormStyle::fsStayOnTop);
    auto* button = new TButton(form);
    button->SetBounds(20, 20, 100, 40);
    button->SetParent(form);
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
    moveTo(r.left + 12, r.top + 12);
    EXPECT_TRUE(PumpUntil([&] { return spy.Saw(CM_MOUSEENTER); }));
    moveTo(r.right + 150, r.bottom + 100);
    moveTo(r.right + 152, r.bottom + 102);
    EXPECT_TRUE(PumpUntil([&] { return spy.Saw(CM_MOUSELEAVE); }));
    delete form;
}

TEST(DialogKeys, TabRadioArrowsEnterAndEscapeAsInAnyDialog) {
    auto* form = new TDialogForm(nullptr);
    form->SetBounds(50, 50, 400, 300);
    auto* name = new TEdit(form);
    name->SetBounds(8, 8, 100, 21);
    name->SetParent(form);
    auto* off = new TEdit(form);  // disabled: Tab passes it by
    off->SetBounds(8, 36, 100, 21);
    off->SetEnabled(false);
    off->SetParent(form);
    auto* group = new TRadioGroup(form);
    group->SetBounds(8, 64, 300, 40);
    group->SetColumns(3);
    group->SetItems({"A", "B", "C"});
    group->SetItemIndex(1);
    group->SetParent(form);
    int groupClicks = 0;
    group->OnClick = [&] { ++groupClicks; };
    auto* list = new TListBox(form);
    list->AddItem("x");
    list->AddItem("y");
    list->SetBounds(8, 110, 100, 60);
    list->SetParent(form);
    auto* ok = new TButton(form);
    ok->Default = true;
    ok->SetBounds(200, 200, 75, 25);
    ok->SetParent(form);
    auto* cancel = new TButton(form);
    cancel->Cancel = true;
    cancel->SetBounds(290, 200, 75, 25);
    cancel->SetParent(form);
    int oks = 0, cancels = 0;
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
    const std::vector<HWND> expected{group->Button(1)->Handle(), list->Handle(), ok->Handle(), cancel->Handle(),
                                     name->Handle()};
    EXPECT_EQ(walk, expected);
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
    EXPECT_EQ(oks, 1);
    PostKey(WM_KEYDOWN, VK_ESCAPE);
    EXPECT_EQ(cancels, 1);
    // Enter on a focused button presses that button.
    cancel->SetFocus();
    PostKey(WM_KEYDOWN, VK_RETURN);
    EXPECT_EQ(cancels, 2);
    EXPECT_EQ(oks, 1);
    delete form;
}
