// The typing engine's window side on real windows: what counts as a target, restoring a
// minimised one, and the filter that keeps the program's own typed keys out of its windows.
#include <gtest/gtest.h>

#include <windows.h>

#include "Pump.h"
#include "platform/KeyInjector.h"

namespace {

int g_keys = 0;
LRESULT CALLBACK CountKeys(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_KEYDOWN || m == WM_CHAR) ++g_keys;
    return DefWindowProcA(h, m, w, l);
}

HWND MakeWindow(const char* title) {
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = CountKeys;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "KtTypingTargetTest";
        RegisterClassA(&wc);
        registered = true;
    }
    HWND h = CreateWindowExA(0, "KtTypingTargetTest", title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 200, 120,
                             nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    return h;
}

using kt::test_support::PumpFor;
using kt::test_support::PumpUntil;

TEST(Win32TypingTarget, ClosedReusedOrOwnWindowsAreNoTarget) {
    HWND self = MakeWindow("bar");
    HWND h = MakeWindow("target");
    const DWORD thread = GetCurrentThreadId();
    EXPECT_TRUE(kt::Win32TypingTarget(h, thread, self).Exists());
    EXPECT_FALSE(kt::Win32TypingTarget(nullptr, 0, self).Exists());
    EXPECT_FALSE(kt::Win32TypingTarget(self, thread, self).Exists());
    // The same number owned by another thread is another window.
    EXPECT_FALSE(kt::Win32TypingTarget(h, thread + 1, self).Exists());
    DestroyWindow(h);
    EXPECT_FALSE(kt::Win32TypingTarget(h, thread, self).Exists());
    DestroyWindow(self);
}

TEST(Win32TypingTarget, MinimisedTargetIsRestoredAndTakesTheFocus) {
    HWND self = MakeWindow("bar");
    HWND h = MakeWindow("target");
    ShowWindow(h, SW_MINIMIZE);
    PumpUntil([&] { return IsIconic(h) != FALSE; });
    PumpFor(100);  // Wine finishes the minimise on the X side after IsIconic already says so
    kt::Win32TypingTarget target(h, GetCurrentThreadId(), self);
    ASSERT_TRUE(target.IsMinimised());
    EXPECT_FALSE(target.HasKeyboardFocus());
    target.Restore();
    target.BringToFront();
    PumpUntil([&] { return target.HasKeyboardFocus(); });
    EXPECT_FALSE(target.IsMinimised());
    EXPECT_TRUE(target.HasKeyboardFocus());
    DestroyWindow(h);
    DestroyWindow(self);
}

TEST(Win32TypingTarget, TypedKeysThatReachTheProgramAreDropped) {
    HWND h = MakeWindow("bar");
    SetForegroundWindow(h);
    SetFocus(h);
    PumpUntil([&] { return GetForegroundWindow() == h && GetFocus() == h; });
    kt::InstallTypedKeyFilter();
    g_keys = 0;
    kt::Win32KeyInjector injector;
    ASSERT_TRUE(injector.Send({{false, 'A', false}, {false, 'A', true}, {false, ' ', false}, {false, ' ', true}}));
    // The user's own key comes after them: once it has arrived, the typed ones were handled.
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = 'B';
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof(INPUT));
    PumpUntil([&] { return g_keys >= 2; });
    PumpFor(50);
    EXPECT_EQ(g_keys, 2);  // the user's WM_KEYDOWN and its WM_CHAR, nothing of the typed keys
    DestroyWindow(h);
}

}  // namespace
