// The skin manager and the skinned frame on real windows: which window gets a frame and from
// which skin data, what switching off gives back, and that switching and resizing leak nothing.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

#include "GuiObjects.h"
#include "Pump.h"
#include "skingen/BuiltinSkins.h"
#include "skin/data/SkinWriter.h"
#include "skin/ui/SkinColours.h"
#include "skin/ui/WinSkinForm.h"
#include "ui/Application.h"

using namespace kt;

namespace {

using test_support::PumpFor;
using test_support::PumpUntil;

std::unique_ptr<TSkinData> BlueSkin(TSkinFormType type = sfMainform, void* owner = nullptr) {
    auto d = std::make_unique<TSkinData>(owner);
    d->SkinFormtype = type;
    d->SkinStream = PackSkin(MakeBuiltinSkin(0));
    d->UnpackSkin();
    return d;
}

struct Shape {
    LONG style, exStyle;
    LONG_PTR proc;
    HMENU menu;
    RECT client;
    int region;
    bool operator==(const Shape& o) const {
        return style == o.style && exStyle == o.exStyle && proc == o.proc && menu == o.menu &&
               EqualRect(&client, &o.client) && region == o.region;
    }
};
Shape ShapeOf(HWND w) {
    Shape s{GetWindowLongA(w, GWL_STYLE), GetWindowLongA(w, GWL_EXSTYLE), GetWindowLongPtrW(w, GWLP_WNDPROC),
            GetMenu(w), {}, 0};
    GetClientRect(w, &s.client);
    HRGN r = CreateRectRgn(0, 0, 0, 0);
    s.region = GetWindowRgn(w, r);
    DeleteObject(r);
    return s;
}

using kt::test_support::GuiObjects;

// A window that says it is skinned already.
LRESULT CALLBACK SaysSkinned(HWND h, UINT m, WPARAM w, LPARAM l) {
    return m == SKM_ISSKINNED ? 1 : DefWindowProcA(h, m, w, l);
}

class SkinManageTest : public ::testing::Test {
protected:
    void SetUp() override {
        InstallSkinManager();
        data = BlueSkin();
        data->Loaded();
        ASSERT_NE(SkinManage(), nullptr);
    }
    void TearDown() override {
        for (ui::TForm* f : forms) delete f;
        data.reset();
        ReleaseSkinManager();
    }
    ui::TForm* MakeForm(const char* caption, int w = 300, int h = 200, ui::TBorderStyle border = ui::TBorderStyle::bsSizeable) {
        auto* f = new ui::TForm(nullptr);
        f->BorderStyle = border;
        f->SetCaption(caption);
        f->SetBounds(100, 100, w, h);
        f->Handle();
        forms.push_back(f);
        return f;
    }
    // Switching as the program does it, with the command carried out at once.
    void Switch(bool on) {
        data->SetActive(on);
        SkinManage()->RunCommand();
        PumpFor(30);
    }
    TSkinManage& M() { return *SkinManage(); }
    std::unique_ptr<TSkinData> data;
    std::vector<ui::TForm*> forms;
};

}  // namespace

TEST_F(SkinManageTest, OnlyWindowsThatPassEveryRuleGetAFrame) {
    M().ActivationCount = 1;
    Switch(true);
    ui::TForm* plain = MakeForm("Plain");
    ui::TForm* tagged = MakeForm("Tagged");
    tagged->Tag = 99;
    data->DisableTag = 5;  // the Tag rule is fixed at 99, whatever the skin data says
    EXPECT_TRUE(M().AttachForm(plain->Handle()));
    EXPECT_FALSE(M().AttachForm(plain->Handle()));  // already skinned
    EXPECT_FALSE(M().AttachForm(tagged->Handle()));
    EXPECT_EQ(SendMessageA(plain->Handle(), SKM_ISSKINNED, 0, 0), 1);

    WNDCLASSA wc{};
    wc.lpfnWndProc = SaysSkinned;
    wc.lpszClassName = "KtSaysSkinned";
    RegisterClassA(&wc);
    HWND other = CreateWindowA("KtSaysSkinned", "x", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "KtPlain";
    RegisterClassA(&wc);
    HWND empty = CreateWindowA("KtPlain", "e", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    EXPECT_FALSE(M().AttachForm(other));
    EXPECT_FALSE(M().AttachForm(empty));
    EXPECT_EQ(M().Forms.size(), 1u);
    // A window whose rectangle was empty is taken once it has a size.
    SetWindowPos(empty, nullptr, 0, 0, 50, 40, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(M().AttachForm(empty));
    DestroyWindow(other);
    DestroyWindow(empty);
    EXPECT_EQ(M().Forms.size(), 1u);  // a destroyed window's frame goes with it
}

TEST_F(SkinManageTest, TheSkinDataIsChosenByFormTypeAndWindowClass) {
    ui::TForm* a = MakeForm("A");
    ui::TForm* b = MakeForm("B");
    HWND dialog = CreateWindowA("#32770", "Box", WS_POPUP | WS_CAPTION, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
    auto only = BlueSkin(sfOnlyThisForm, a);
    M().AddSkinData(only.get());
    EXPECT_EQ(M().SelectSkinData(a->Handle()), only.get());
    EXPECT_EQ(M().SelectSkinData(b->Handle()), data.get());
    EXPECT_EQ(M().SelectSkinData(dialog), data.get());  // no dialog skin data: the main one
    auto dialogs = BlueSkin(sfDialog);
    M().AddSkinData(dialogs.get());
    EXPECT_EQ(M().SelectSkinData(dialog), dialogs.get());
    EXPECT_EQ(M().SelectSkinData(b->Handle()), data.get());
    M().RemoveSkinData(only.get());
    M().RemoveSkinData(dialogs.get());
    DestroyWindow(dialog);
}

TEST_F(SkinManageTest, AScrollBarCreatedStraightInASkinnedWindowIsRefused) {
    M().ActivationCount = 1;
    Switch(true);
    ui::TForm* skinned = MakeForm("Skinned");
    ui::TForm* plain = MakeForm("Plain");
    plain->Tag = 99;
    ASSERT_TRUE(M().AttachForm(skinned->Handle()));
    EXPECT_EQ(CreateWindowA("ScrollBar", "", WS_CHILD | SBS_VERT, 0, 0, 16, 80, skinned->Handle(), nullptr, nullptr, nullptr),
              nullptr);
    HWND ok = CreateWindowA("ScrollBar", "", WS_CHILD | SBS_VERT, 0, 0, 16, 80, plain->Handle(), nullptr, nullptr, nullptr);
    EXPECT_NE(ok, nullptr);
}

TEST_F(SkinManageTest, SwitchingOnBeforeAnyActivationWaitsForTheWindowsToBeActivated) {
    ui::TForm* f = MakeForm("Later");
    int changed = 0;
    data->OnSkinChanged = [&](TSkinData&) { ++changed; };
    data->SetActive(true);  // no window activated yet: acts at once, attaches nothing
    EXPECT_TRUE(M().Active());
    EXPECT_EQ(changed, 1);  // and says so, as the timer would have: the choice gets saved
    EXPECT_TRUE(M().Forms.empty());
    f->Show();
    SetActiveWindow(f->Handle());
    EXPECT_TRUE(PumpUntil([&] { return M().FrameOf(f->Handle()) != nullptr; }));
    EXPECT_EQ(M().ActivationCount, 1);
}

TEST_F(SkinManageTest, AnInactiveWindowUnderAShortCaptionGetsTheStripDownToTheSystemCaptionInTheFace) {
    // A skin whose caption is 10 rows high, shorter than the system's.
    data->FrameTop->Image = TBitmap32(64, 20, MakePixel(0, 0, 160));
    data->FrameTop->FrameCount = 2;
    data->FrameTop->LeftWidth = data->FrameTop->RightWidth = data->FrameTop->TopHeight = data->FrameTop->BottomHeight = 0;
    const int system = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CXFRAME);
    ASSERT_LT(10, system - 2);
    ui::TForm* f = MakeForm("Short", 320, 240);
    ui::TForm* other = MakeForm("Other", 200, 100);
    SetWindowPos(other->Handle(), nullptr, 500, 400, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    M().ActivationCount = 1;
    Switch(true);
    TWinSkinForm* frame = M().FrameOf(f->Handle());
    ASSERT_NE(frame, nullptr);
    ASSERT_EQ(frame->CaptionHeight(), 10);
    f->Show();
    SetForegroundWindow(f->Handle());
    ASSERT_TRUE(PumpUntil([&] { return frame->IsActive(); }));
    f->SetColor(RGB(255, 0, 0));  // a client that is not the face
    RedrawWindow(f->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
    PumpFor(30);
    const int x = frame->LeftWidth() + 150, inStrip = system - 2, below = system + 3;
    HDC dc = GetWindowDC(f->Handle());
    EXPECT_EQ(GetPixel(dc, x, inStrip), RGB(255, 0, 0));  // active: the client shows there
    other->Show();
    SetForegroundWindow(other->Handle());
    ASSERT_TRUE(PumpUntil([&] { return !frame->IsActive(); }));
    PumpFor(30);
    EXPECT_EQ(GetPixel(dc, x, 11), SkinColorRef(data->ButtonFace));
    EXPECT_EQ(GetPixel(dc, x, inStrip), SkinColorRef(data->ButtonFace));
    EXPECT_EQ(GetPixel(dc, x, below), RGB(255, 0, 0));  // the strip ends at the system caption's height
    ReleaseDC(f->Handle(), dc);
}

TEST_F(SkinManageTest, TheFrameTakesTheSkinsMarginsKeepsTheClientAndLaysOutTitleButtons) {
    ui::TForm* f = MakeForm("Frame", 320, 240);
    ui::TForm* single = MakeForm("No maximise box", 320, 240, ui::TBorderStyle::bsSingle);
    RECT before{};
    GetClientRect(f->Handle(), &before);
    M().ActivationCount = 1;
    Switch(true);
    TWinSkinForm* frame = M().FrameOf(f->Handle());
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->FrameState, kFrameNormal);
    RECT wr{}, cr{};
    GetWindowRect(f->Handle(), &wr);
    GetClientRect(f->Handle(), &cr);
    EXPECT_EQ(cr.right, before.right);
    EXPECT_EQ(cr.bottom, before.bottom);
    EXPECT_EQ(wr.right - wr.left, cr.right + frame->LeftWidth() + frame->RightWidth());
    EXPECT_EQ(wr.bottom - wr.top, cr.bottom + frame->CaptionHeight() + frame->BottomHeight());
    EXPECT_EQ(GetWindowLongA(f->Handle(), GWL_STYLE) & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
    // The caption is composed on the first paint; the close button sits Xcoord from the right.
    SendMessageA(f->Handle(), SKM_REPAINTFRAME, 0, 0);
    const int W = wr.right - wr.left;
    int visible = 0, closes = 0;
    for (auto& b : frame->TitleButtons()) {
        if (!b->Visible) continue;
        ++visible;
        if (b->Element.Action == 0 && b->Element.Align == 1) {
            ++closes;
            EXPECT_EQ(b->Rect.left, W - b->Element.XCoord);
            EXPECT_EQ(b->Rect.top, b->Element.YCoord);
        }
    }
    EXPECT_EQ(closes, 1) << "one close button, aligned to the right";
    EXPECT_GE(visible, 3);  // close, maximise (not restore), minimise
    TWinSkinForm* s = M().FrameOf(single->Handle());
    ASSERT_NE(s, nullptr);
    SendMessageA(single->Handle(), SKM_REPAINTFRAME, 0, 0);
    int shown = 0;
    for (auto& b : s->TitleButtons())
        if (b->Visible) {
            ++shown;
            EXPECT_NE(b->Element.Action, 1) << "a maximise button on a window without the box";
        }
    EXPECT_GE(shown, 1) << "not even the close button";
}

TEST_F(SkinManageTest, SwitchingOffGivesEveryWindowBackExactlyAndSwitchingLeaksNothing) {
    ui::TForm* f = MakeForm("Switch", 330, 210);
    HWND box = CreateWindowA("#32770", "A box", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 50, 50, 250, 120,
                             nullptr, nullptr, nullptr, nullptr);
    f->Show();
    const Shape formBefore = ShapeOf(f->Handle()), boxBefore = ShapeOf(box);
    M().ActivationCount = 1;
    Switch(true);
    SetForegroundWindow(box);  // a bare window is taken when it is activated
    ASSERT_TRUE(PumpUntil([&] { return M().FrameOf(box) != nullptr; }));
    PumpFor(30);
    ASSERT_NE(M().FrameOf(f->Handle()), nullptr);
    EXPECT_NE(GetWindowLongPtrW(f->Handle(), GWLP_WNDPROC), formBefore.proc);
    Switch(false);
    EXPECT_TRUE(M().Forms.empty());
    EXPECT_TRUE(ShapeOf(f->Handle()) == formBefore);
    EXPECT_TRUE(ShapeOf(box) == boxBefore);
    EXPECT_EQ(f->Color(), ui::clBtnFace);

    Switch(true);
    Switch(false);
    const auto start = GuiObjects();
    for (int i = 0; i < 100; ++i) {
        Switch(true);
        Switch(false);
    }
    EXPECT_EQ(GuiObjects(), start);
    EXPECT_TRUE(ShapeOf(f->Handle()) == formBefore);
    DestroyWindow(box);
}

TEST_F(SkinManageTest, AThousandResizesOfASkinnedWindowLeakNothing) {
    ui::TForm* f = MakeForm("Resize", 300, 200);
    f->Show();
    M().ActivationCount = 1;
    Switch(true);
    ASSERT_NE(M().FrameOf(f->Handle()), nullptr);
    auto resize = [&](int i) {
        SetWindowPos(f->Handle(), nullptr, 0, 0, 200 + i % 300, 150 + (i * 7) % 200, SWP_NOMOVE | SWP_NOZORDER);
        UpdateWindow(f->Handle());
    };
    for (int i = 0; i < 10; ++i) resize(i);
    PumpFor(30);
    const auto start = GuiObjects();
    for (int i = 0; i < 1000; ++i) resize(i);
    PumpFor(30);
    EXPECT_EQ(GuiObjects(), start);
    HRGN r = CreateRectRgn(0, 0, 0, 0);
    EXPECT_NE(GetWindowRgn(f->Handle(), r), ERROR);  // the Blue edges are shaped
    DeleteObject(r);
}

TEST_F(SkinManageTest, ABoxWhoseCaptionIsWiderThanItsClientIsWidenedAndItsChildrenShifted) {
    M().ActivationCount = 1;
    Switch(true);
    // Made after the skin is on, as the program's boxes are; taken when it is activated.
    HWND box = CreateWindowA("#32770", "A caption far longer than this little box is wide, really",
                             WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 50, 50, 120, 90, nullptr, nullptr, nullptr,
                             nullptr);
    HWND child = CreateWindowA("BUTTON", "OK", WS_CHILD | WS_VISIBLE, 10, 10, 60, 20, box, nullptr, nullptr, nullptr);
    RECT client{};
    GetClientRect(box, &client);
    SetForegroundWindow(box);
    ASSERT_TRUE(PumpUntil([&] { return M().FrameOf(box) != nullptr; }));
    PumpFor(30);
    TWinSkinForm* frame = M().FrameOf(box);
    RECT wr{}, after{};
    GetWindowRect(box, &wr);
    GetWindowRect(child, &after);
    const int narrow = client.right + frame->LeftWidth() + frame->RightWidth();
    EXPECT_GT(wr.right - wr.left, narrow);
    POINT p{after.left, after.top};
    ScreenToClient(box, &p);
    RECT widened{};
    GetClientRect(box, &widened);
    // Moved right and still inside the box. By how much depends on when the window system
    // answers the resizes (on a loaded machine the sizes read at attachment lag), so the exact
    // half of the widening is not asserted.
    EXPECT_GT(p.x, 10);
    EXPECT_LE(p.x + 60, widened.right);
    EXPECT_EQ(p.y, 10);
    DestroyWindow(box);
}

namespace {
LRESULT CALLBACK MdiFrameProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    HWND client = FindWindowExA(h, nullptr, "MDIClient", nullptr);
    return DefFrameProcA(h, client, m, w, l);
}
LRESULT CALLBACK MdiChildProc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefMDIChildProcA(h, m, w, l); }
}  // namespace

TEST_F(SkinManageTest, AnMdiParentAndTheChildrenItMakesAreSkinnedAndLetGoAgain) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = MdiFrameProc;
    wc.lpszClassName = "KtMdiFrame";
    RegisterClassA(&wc);
    wc.lpfnWndProc = MdiChildProc;
    wc.lpszClassName = "KtMdiChild";
    RegisterClassA(&wc);
    HWND parent = CreateWindowA("KtMdiFrame", "MDI", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 500, 400, nullptr,
                                nullptr, nullptr, nullptr);
    CLIENTCREATESTRUCT ccs{};
    HWND client = CreateWindowA("MDICLIENT", nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 400, 300, parent,
                                nullptr, nullptr, &ccs);
    const LONG_PTR original = GetWindowLongPtrW(client, GWLP_WNDPROC);
    M().ActivationCount = 1;
    Switch(true);
    ASSERT_TRUE(M().AttachForm(parent));
    TWinSkinForm* frame = M().FrameOf(parent);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->MdiRole(), kMdiParent);
    EXPECT_EQ(M().MdiClient, client);
    const LONG_PTR subclassed = GetWindowLongPtrW(client, GWLP_WNDPROC);
    EXPECT_NE(subclassed, original);  // the frame listens to the client

    MDICREATESTRUCTA mc{};
    mc.szClass = "KtMdiChild";
    mc.szTitle = "Child";
    mc.x = mc.y = 10;
    mc.cx = 200;
    mc.cy = 150;
    HWND child = reinterpret_cast<HWND>(SendMessageA(client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mc)));
    ASSERT_NE(child, nullptr);
    SendMessageA(client, WM_MDIREFRESHMENU, 0, 0);
    ASSERT_TRUE(PumpUntil([&] { return M().FrameOf(child) != nullptr; }));
    TWinSkinForm* childFrame = M().FrameOf(child);
    EXPECT_EQ(childFrame->MdiRole(), kMdiChild);
    SendMessageA(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(child), 0);
    EXPECT_EQ(M().FrameOf(child), nullptr);
    Switch(false);
    EXPECT_EQ(GetWindowLongPtrW(client, GWLP_WNDPROC), original);  // the client's own procedure is back
    DestroyWindow(parent);
}

TEST_F(SkinManageTest, ASkinWithoutFramePicturesStillSkinsWithoutBreakingTheWindow) {
    const std::string ini = "[TitlebarSkin]\r\nSkinName=Bare\r\n[Personality]\r\nTopFrame=0\r\nLeftFrame=-3\r\n";
    data->SkinStream = PackSkin({{"bare.ini", std::vector<std::uint8_t>(ini.begin(), ini.end())}});
    ASSERT_TRUE(data->UnpackSkin());
    ui::TForm* f = MakeForm("Bare", 300, 200);
    f->Show();
    RECT before{};
    GetClientRect(f->Handle(), &before);
    M().ActivationCount = 1;
    Switch(true);
    TWinSkinForm* frame = M().FrameOf(f->Handle());
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->CaptionHeight(), 0);
    for (int i = 0; i < 20; ++i) {
        SetWindowPos(f->Handle(), nullptr, 0, 0, 100 + i * 13, 80 + i * 7, SWP_NOMOVE | SWP_NOZORDER);
        RedrawWindow(f->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
    }
    SendMessageA(f->Handle(), WM_NCACTIVATE, FALSE, 0);
    EXPECT_TRUE(IsWindow(f->Handle()));
    Switch(false);
    SetWindowPos(f->Handle(), nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER);
    RECT after{};
    GetClientRect(f->Handle(), &after);
    EXPECT_EQ(after.right, before.right);
    EXPECT_EQ(after.bottom, before.bottom);
}
