// The one subclassing helper, and the order in which a skinned form's window procedures see a
// message (docs/design.md, "Who sees a message, in which order").
#include "ui/Subclass.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skin/ui/PainterTestKit.h"
#include "skin/ui/WinSkinForm.h"
#include "ui/Forms.h"

namespace kt::ui {
namespace {

struct Seen {
    std::vector<std::string>* log;
    const char* name;
};

LRESULT CALLBACK OursProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
    auto* self = TSubclass::Find<std::pair<Seen, TSubclass*>>(h, &OursProc);
    if (!self) return TSubclass::PassOn(h, &OursProc, msg, w, l);
    if (msg == WM_SETTEXT) self->first.log->push_back(self->first.name);
    return self->second->CallOld(msg, w, l);
}

WNDPROC g_outerOld = nullptr;
std::vector<std::string>* g_outerLog = nullptr;
LRESULT CALLBACK OuterProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
    if (msg == WM_SETTEXT) g_outerLog->push_back("outer");
    return CallWindowProcW(g_outerOld, h, msg, w, l);
}

std::wstring TextOf(HWND h) {
    wchar_t text[32] = {};
    GetWindowTextW(h, text, 32);
    return text;
}

TEST(Subclass, LeavesOnlyWhileOutermostAndOtherwisePassesMessagesOn) {
    std::vector<std::string> log;
    HWND h = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    const LONG_PTR system = GetWindowLongPtrW(h, GWLP_WNDPROC);
    TSubclass ours;
    std::pair<Seen, TSubclass*> owner{{&log, "ours"}, &ours};
    ours.Install(h, &OursProc, &owner);
    using Owner = std::pair<Seen, TSubclass*>;
    EXPECT_EQ(TSubclass::Find<Owner>(h, &OursProc), &owner);

    // Nobody in front: the system's procedure comes back.
    EXPECT_TRUE(ours.Remove());
    EXPECT_EQ(GetWindowLongPtrW(h, GWLP_WNDPROC), system);
    EXPECT_EQ(TSubclass::Find<Owner>(h, &OursProc), nullptr);

    // Another procedure put in front since: ours stays in the chain, passes on, sees nothing.
    ours.Install(h, &OursProc, &owner);
    g_outerLog = &log;
    g_outerOld = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&OuterProc)));
    SetWindowTextW(h, L"one");
    EXPECT_EQ(log, (std::vector<std::string>{"outer", "ours"}));  // the later one first
    EXPECT_FALSE(ours.Remove());
    EXPECT_EQ(GetWindowLongPtrW(h, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&OuterProc));
    SetWindowTextW(h, L"two");
    EXPECT_EQ(log, (std::vector<std::string>{"outer", "ours", "outer"}));
    EXPECT_EQ(TextOf(h), L"two");  // it reached the system's procedure through ours
    DestroyWindow(h);
}

TEST(Subclass, RestoreTakesItsProcedureOutWhateverStandsInFront) {
    HWND h = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    const LONG_PTR system = GetWindowLongPtrW(h, GWLP_WNDPROC);
    std::vector<std::string> log;
    TSubclass ours;
    std::pair<Seen, TSubclass*> owner{{&log, "ours"}, &ours};
    ours.Install(h, &OursProc, &owner);
    SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&OuterProc));
    ours.Restore();  // as in WM_DESTROY: the window takes the procedures with it
    EXPECT_EQ(GetWindowLongPtrW(h, GWLP_WNDPROC), system);
    EXPECT_FALSE(ours.Installed());
    DestroyWindow(h);
}

// A skinned form: the frame's procedure is in front of the toolkit's, and the toolkit's
// WindowProc chain runs the latest hook first, the frame's form hook behind the ones put on
// after it, the form's own handling last.
TEST(MessageOrder, FrameBeforeToolkitChainLatestHookFirst) {
    TForm form(nullptr);
    form.SetBounds(10, 10, 300, 200);
    HWND h = form.Handle();
    std::vector<std::string> log;
    auto hook = [&](const char* name) {
        form.WindowProc = [&log, name, previous = form.WindowProc](TMessage& m) {
            if (m.Msg == kt::SKM_ISSKINNED || m.Msg == kt::SKM_REAPPLY) log.push_back(name);
            previous(m);
        };
    };
    hook("before");
    kt::TWinSkinForm frame;
    frame.AttachForm(form, kt::painter_tests::Blue());
    hook("after");
    ASSERT_NE(GetWindowLongPtrW(h, GWLP_WNDPROC), 0);

    // The frame answers for itself: no hook of the chain sees the question.
    EXPECT_EQ(SendMessageW(h, kt::SKM_ISSKINNED, 0, 0), 1);
    EXPECT_TRUE(log.empty());
    // A message the frame passes on: the toolkit's chain, the hook put on last first; the
    // frame's form hook takes SKM_REAPPLY, so the hook before it never sees it.
    SendMessageW(h, kt::SKM_REAPPLY, 0, 0);
    EXPECT_EQ(log, std::vector<std::string>{"after"});

    frame.Detach();
    log.clear();
    EXPECT_EQ(SendMessageW(h, kt::SKM_ISSKINNED, 0, 0), 0);  // no frame: the chain sees it all
    EXPECT_EQ(log, (std::vector<std::string>{"after", "before"}));
}

}  // namespace
}  // namespace kt::ui
