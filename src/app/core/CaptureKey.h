// The capture key as the user chooses it and the settings keep it: text such as "Ctrl+T",
// "Ctrl+Shift+Y" or "Alt+F9" (Ctrl, Alt, Shift and Win joined by "+", then a letter, a digit
// or a key name), read in any letter case.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "app/core/TypingPlan.h"  // KeyboardLayout

namespace kt {

// Modifier bits, with the values of RegisterHotKey's MOD_ALT, MOD_CONTROL, MOD_SHIFT, MOD_WIN.
enum : unsigned { kKeyAlt = 1, kKeyCtrl = 2, kKeyShift = 4, kKeyWin = 8 };

struct CaptureKey {
    unsigned modifiers = kKeyCtrl;  // kKey* bits
    std::uint8_t vk = 'T';          // the virtual key
    bool operator==(const CaptureKey&) const = default;
};

inline constexpr CaptureKey kDefaultCaptureKey{};

// The key's name ("T", "5", "F9", "Space"...); empty for a key that has none here.
std::string KeyName(std::uint8_t vk);
// "Ctrl+Shift+Y": the modifiers in the order Ctrl, Alt, Shift, Win, then the key's name.
std::string CaptureKeyText(const CaptureKey& key);
// Why the key cannot capture (empty when it can): a key of its own, and Ctrl, Alt or Win
// with it, so that typing with Shift alone never fires it; not one that Windows keeps for
// itself (F12, Ctrl+Alt+Delete, Alt+Tab, Win+L and the shell's Win keys), named as such.
std::string CaptureKeyProblem(const CaptureKey& key);
// Why the key cannot capture on this keyboard layout (empty when it can): Ctrl+Alt with a key
// that the layout types a character with (AltGr), naming the character.
std::string CaptureKeyLayoutProblem(const CaptureKey& key, const KeyboardLayout& layout);
// Both questions, the layout's last.
std::string CaptureKeyRefusal(const CaptureKey& key, const KeyboardLayout& layout);
// Reads a stored or typed text; false, with `problem` saying why, when it names no usable
// key. Blanks around the parts are allowed.
bool ParseCaptureKey(std::string_view text, CaptureKey& key, std::string& problem);

// The bar's instruction for this key.
std::string CaptureInstruction(const CaptureKey& key);

}  // namespace kt
