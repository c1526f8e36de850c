#include "platform/Win32KeyboardLayout.h"

namespace kt {

std::int16_t Win32KeyboardLayout::KeyScan(unsigned char c) const {
    return static_cast<std::int16_t>(VkKeyScanExA(static_cast<CHAR>(c), layout_));
}

bool Win32KeyboardLayout::IsDeadKey(std::uint8_t vk) const {
    // The character of a dead key comes back with its top bit set.
    return (MapVirtualKeyExA(vk, MAPVK_VK_TO_CHAR, layout_) & 0x80000000u) != 0;
}

std::u16string Win32KeyboardLayout::ToUtf16(unsigned char c) const {
    const char byte = static_cast<char>(c);
    wchar_t wide[2];
    int n = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, &byte, 1, wide, 2);
    return n > 0 ? std::u16string(wide, wide + n) : std::u16string();
}

}  // namespace kt
