#include "platform/UserKeyWatch.h"

#include <bitset>

#include "platform/KeyInjector.h"

namespace kt {

namespace {
// One watch at a time: a low-level hook has no place for a context of its own.
HHOOK g_hook = nullptr;
std::function<bool(unsigned)> g_onKeyDown;
std::bitset<256> g_heldAtStart;
std::bitset<256> g_keptBack;  // pressed keys kept from the windows: their release is kept too

LRESULT CALLBACK WatchKeys(int code, WPARAM message, LPARAM l) {
    if (code == HC_ACTION) {
        const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(l);
        const unsigned vk = key->vkCode & 0xFF;
        const bool down = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
        if (!IsOwnTypedKey(key->flags, key->dwExtraInfo)) {
            if (!down) {
                g_heldAtStart.reset(vk);
                if (g_keptBack.test(vk)) {
                    g_keptBack.reset(vk);
                    return 1;
                }
            } else if (!g_heldAtStart.test(vk)) {
                if (g_keptBack.test(vk)) return 1;  // its auto-repeat
                if (g_onKeyDown && g_onKeyDown(vk)) {
                    g_keptBack.set(vk);
                    return 1;
                }
            }
        }
    }
    return CallNextHookEx(g_hook, code, message, l);
}
}  // namespace

bool IsOwnTypedKey(DWORD hookFlags, ULONG_PTR extraInfo) {
    return (hookFlags & LLKHF_INJECTED) != 0 && extraInfo == kTypedKeyTag;
}

UserKeyWatch::UserKeyWatch(std::function<bool(unsigned vk)> onKeyDown) {
    g_heldAtStart.reset();
    for (int vk = 1; vk < 256; ++vk)
        if (GetAsyncKeyState(vk) & 0x8000) g_heldAtStart.set(static_cast<size_t>(vk));
    g_onKeyDown = std::move(onKeyDown);
    if (!g_hook) g_hook = SetWindowsHookExA(WH_KEYBOARD_LL, WatchKeys, GetModuleHandleA(nullptr), 0);
}

UserKeyWatch::~UserKeyWatch() {
    // Gone with the typing, even while a kept-back key is down: a release that never comes
    // (Win+L or a session switch while Esc is held) would otherwise keep the hook for good,
    // and the next press of that key anywhere would be taken for its repeat. The stray release
    // that may reach a window is harmless.
    g_onKeyDown = nullptr;
    g_keptBack.reset();
    if (g_hook) UnhookWindowsHookEx(g_hook);
    g_hook = nullptr;
}

bool KeyWatchInstalled() { return g_hook != nullptr; }

}  // namespace kt
