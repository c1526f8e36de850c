// The typing engine's window side on real windows: what counts as a target, restoring a
// minimised one, and the filter that keeps the program's own typed keys out of its windows.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "Pump.h"
#include "app/core/KeySequence.h"
#include "platform/KeyInjector.h"
#include "platform/UserKeyWatch.h"
#include "platform/Win32KeyboardLayout.h"

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

struct KeyDown {
    WPARAM vk;
    UINT scan;
    bool extended, ctrl, shift;
};
std::vector<KeyDown> g_downs;
LRESULT CALLBACK RecordKeys(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_KEYDOWN || m == WM_SYSKEYDOWN)
        g_downs.push_back({w, static_cast<UINT>((l >> 16) & 0xFF), ((l >> 24) & 1) != 0, GetKeyState(VK_CONTROL) < 0,
                           GetKeyState(VK_SHIFT) < 0});
    return DefWindowProcA(h, m, w, l);
}

TEST(Win32KeyInjector, NamedKeysArriveWithTheirScanCodesAndModifiersOnlyAroundTheirKey) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = RecordKeys;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "KtKeyRecorder";
    RegisterClassA(&wc);
    HWND h = CreateWindowExA(0, "KtKeyRecorder", "keys", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 200, 120, nullptr,
                             nullptr, GetModuleHandleA(nullptr), nullptr);
    SetForegroundWindow(h);
    SetFocus(h);
    PumpUntil([&] { return GetForegroundWindow() == h && GetFocus() == h; });
    kt::Win32KeyboardLayout layout;
    EXPECT_EQ(layout.ScanCode('A'), MapVirtualKeyA('A', MAPVK_VK_TO_VSC));
    EXPECT_NE(layout.ScanCode(VK_HOME), 0);
    const kt::TypingStrokes plan = kt::PlanKeySequence(kt::ParseKeySequence("{CTRL+A}{SHIFT+END}x"), layout, -1, 0);
    kt::Win32KeyInjector injector;
    ASSERT_TRUE(injector.Send(kt::Flatten(plan)));
    PumpUntil([&] { return g_downs.size() >= 5; });
    PumpFor(50);
    ASSERT_EQ(g_downs.size(), 5u);
    EXPECT_EQ(g_downs[0].vk, static_cast<WPARAM>(VK_CONTROL));
    EXPECT_EQ(g_downs[1].vk, static_cast<WPARAM>('A'));
    EXPECT_EQ(g_downs[1].scan, layout.ScanCode('A'));
    EXPECT_TRUE(g_downs[1].ctrl);
    EXPECT_EQ(g_downs[3].vk, static_cast<WPARAM>(VK_END));
    EXPECT_EQ(g_downs[3].scan, layout.ScanCode(VK_END));
    EXPECT_TRUE(g_downs[3].extended);
    EXPECT_TRUE(g_downs[3].shift);
    EXPECT_FALSE(g_downs[3].ctrl);
    EXPECT_EQ(g_downs[4].vk, static_cast<WPARAM>('X'));
    EXPECT_FALSE(g_downs[4].ctrl || g_downs[4].shift || g_downs[4].extended);
    // Nothing is left held.
    for (int vk : {VK_CONTROL, VK_SHIFT, VK_MENU}) EXPECT_FALSE(GetAsyncKeyState(vk) & 0x8000) << vk;
    DestroyWindow(h);
}

TEST(UserKeyWatch, GoesWithTheTypingThoughAKeptBackKeyWasNeverReleased) {
    INPUT esc[2] = {};  // Esc down and kept back; its release comes too late (Win+L while it is held)
    esc[0].type = esc[1].type = INPUT_KEYBOARD;
    esc[0].ki.wVk = esc[1].ki.wVk = VK_ESCAPE;
    esc[1].ki.dwFlags = KEYEVENTF_KEYUP;
    bool seen = false;
    {
        kt::UserKeyWatch watch([&](unsigned vk) { return seen = vk == VK_ESCAPE; });
        SendInput(1, esc, sizeof(INPUT));
        ASSERT_TRUE(PumpUntil([&] { return seen; }));
    }
    EXPECT_FALSE(kt::KeyWatchInstalled());
    SendInput(1, esc + 1, sizeof(INPUT));
}

}  // namespace
