#include "app/core/TypingPlan.h"

namespace kt {

namespace {

void Key(std::vector<KeyEvent>& out, std::uint16_t vk, bool up) { out.push_back({false, vk, up}); }

void Press(std::vector<KeyEvent>& out, std::uint16_t vk) {
    Key(out, vk, false);
    Key(out, vk, true);
}

void PlanUnicode(unsigned char c, const KeyboardLayout& layout, std::vector<KeyEvent>& out) {
    // An undefined code-page byte has no character to type.
    for (char16_t unit : layout.ToUtf16(c)) {
        out.push_back({true, static_cast<std::uint16_t>(unit), false});
        out.push_back({true, static_cast<std::uint16_t>(unit), true});
    }
}

}  // namespace

void PlanCharacter(unsigned char c, const KeyboardLayout& layout, std::vector<KeyEvent>& out, bool capsLock) {
    const std::int16_t scan = layout.KeyScan(c);
    const auto vk = static_cast<std::uint8_t>(scan & 0xFF);
    const auto state = static_cast<std::uint8_t>((scan >> 8) & 0xFF);
    const bool ctrl = state & kScanCtrl, alt = state & kScanAlt;
    // Ctrl or Alt alone would reach the target as a shortcut; other bits (kana and the
    // layout-specific ones) cannot be produced by injected modifiers.
    const bool plainKey = scan != -1 && vk != 0 && vk != 0xFF &&
                          (state & ~(kScanShift | kScanCtrl | kScanAlt)) == 0 && ctrl == alt &&
                          !layout.IsDeadKey(scan);
    if (!plainKey) {
        PlanUnicode(c, layout, out);
        return;
    }
    bool shift = state & kScanShift;
    if (capsLock && !ctrl && layout.CapsLockShifts(scan)) shift = !shift;
    if (shift) Key(out, kVkShift, false);
    if (ctrl) Key(out, kVkControl, false);
    if (alt) Key(out, kVkMenu, false);
    Press(out, vk);
    if (alt) Key(out, kVkMenu, true);
    if (ctrl) Key(out, kVkControl, true);
    if (shift) Key(out, kVkShift, true);
}

std::vector<KeyEvent> PlanTyping(std::string_view text, const KeyboardLayout& layout, int eol, bool capsLock) {
    std::vector<KeyEvent> out;
    out.reserve(text.size() * 4 + 2);
    for (char ch : text) PlanCharacter(static_cast<unsigned char>(ch), layout, out, capsLock);
    if (eol == 2)
        Press(out, kVkTab);
    else if (eol == 1)
        Press(out, kVkReturn);
    return out;
}

}  // namespace kt
