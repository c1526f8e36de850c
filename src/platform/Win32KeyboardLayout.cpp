#include "platform/Win32KeyboardLayout.h"

#include <algorithm>
#include <cwchar>

namespace kt {

namespace {
// The keyboard state that VkKeyScan's shift byte names: Shift, Ctrl, Alt.
void KeyStateOf(std::int16_t keyScan, BYTE (&state)[256]) {
    std::fill(state, state + 256, BYTE{0});
    if (keyScan & 0x100) state[VK_SHIFT] = 0x80;
    if (keyScan & 0x200) state[VK_CONTROL] = 0x80;
    if (keyScan & 0x400) state[VK_MENU] = 0x80;
}
}  // namespace

std::int16_t Win32KeyboardLayout::KeyScan(unsigned char c) const {
    return static_cast<std::int16_t>(VkKeyScanExA(static_cast<CHAR>(c), layout_));
}

bool Win32KeyboardLayout::IsDeadKey(std::int16_t keyScan) const {
    const UINT vk = keyScan & 0xFF;
    // The unshifted character of a dead key comes back with its top bit set.
    if (MapVirtualKeyExA(vk, MAPVK_VK_TO_CHAR, layout_) & 0x80000000u) return true;
    // A key may be dead only with Shift or AltGr (^ on Shift+6 of US-International): ask
    // for the character in that state. A dead key leaves itself pending in this thread's
    // buffer; pressing it a second time flushes it.
    BYTE state[256];
    KeyStateOf(keyScan, state);
    const UINT scanCode = MapVirtualKeyExA(vk, MAPVK_VK_TO_VSC, layout_);
    WCHAR chars[8];
    if (ToUnicodeEx(vk, scanCode, state, chars, 8, 0, layout_) >= 0) return false;
    ToUnicodeEx(vk, scanCode, state, chars, 8, 0, layout_);
    return true;
}

bool Win32KeyboardLayout::CapsLockShifts(std::int16_t keyScan) const {
    // Ask the layout for the key's character with Caps Lock off and on; only keys it changes
    // (letters, and on some layouts more) need Shift the other way round.
    const UINT vk = keyScan & 0xFF;
    BYTE state[256];
    KeyStateOf(keyScan, state);
    const UINT scanCode = MapVirtualKeyExA(vk, MAPVK_VK_TO_VSC, layout_);
    WCHAR off[8] = {}, on[8] = {};
    const int n = ToUnicodeEx(vk, scanCode, state, off, 8, 0, layout_);
    state[VK_CAPITAL] = 0x01;
    const int m = ToUnicodeEx(vk, scanCode, state, on, 8, 0, layout_);
    if (n <= 0 || m <= 0) return KeyboardLayout::CapsLockShifts(keyScan);
    return n != m || std::wmemcmp(off, on, static_cast<size_t>(n)) != 0;
}

std::uint16_t Win32KeyboardLayout::ScanCode(std::uint16_t vk) const {
    return static_cast<std::uint16_t>(MapVirtualKeyExA(vk, MAPVK_VK_TO_VSC, layout_) & 0xFF);
}

std::u16string Win32KeyboardLayout::KeyText(std::int16_t keyScan) const {
    const UINT vk = keyScan & 0xFF;
    BYTE state[256];
    KeyStateOf(keyScan, state);
    const UINT scanCode = MapVirtualKeyExA(vk, MAPVK_VK_TO_VSC, layout_);
    WCHAR chars[8];
    // Flag 4: leave the keyboard state alone (a dead key pending in the user's typing stays
    // pending); systems that do not know the flag ignore it.
    constexpr UINT kKeepKeyboardState = 0x4;
    const int n = ToUnicodeEx(vk, scanCode, state, chars, 8, kKeepKeyboardState, layout_);
    if (n < 0) {
        // A dead key after all: pressing it again takes it out of the buffer.
        ToUnicodeEx(vk, scanCode, state, chars, 8, kKeepKeyboardState, layout_);
        return {};
    }
    return std::u16string(chars, chars + (n > 8 ? 8 : n));
}

std::u16string Win32KeyboardLayout::ToUtf16(unsigned char c) const {
    const char byte = static_cast<char>(c);
    wchar_t wide[2];
    int n = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, &byte, 1, wide, 2);
    return n > 0 ? std::u16string(wide, wide + n) : std::u16string();
}

}  // namespace kt
