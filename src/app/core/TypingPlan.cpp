#include "app/core/TypingPlan.h"

#include "core/TextCodec.h"

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

// A layout without keys for the Latin letters (Greek, Russian) is never typed with alone: a
// Latin one goes with it for addresses and passwords, and the target may be typing with that
// one when the keys arrive (under Wine the X keyboard group of the target's last key press
// decides, which no program can ask). Its keys are then no sure way to any character.
bool TypesLatinLetters(const KeyboardLayout& layout) { return layout.KeyScan('a') != -1 && layout.KeyScan('z') != -1; }

}  // namespace

void PlanCharacter(unsigned char c, const KeyboardLayout& layout, std::vector<KeyEvent>& out, bool capsLock) {
    const std::int16_t scan = layout.KeyScan(c);
    const auto vk = static_cast<std::uint8_t>(scan & 0xFF);
    const auto state = static_cast<std::uint8_t>((scan >> 8) & 0xFF);
    // Only Shift may be held by the plan: Ctrl or Alt (AltGr included) would reach the target
    // as a shortcut or not at all; other bits (kana and the layout-specific ones) cannot be
    // produced by injected modifiers. A key goes only where the layout confirms the round
    // trip: one that names a key for a character but types another there (seen with a second
    // layout group under Wine) would put the wrong character into the text.
    const bool plainKey = scan != -1 && vk != 0 && vk != 0xFF && (state & ~kScanShift) == 0 &&
                          !layout.IsDeadKey(scan) && layout.KeyText(scan) == layout.ToUtf16(c) &&
                          TypesLatinLetters(layout);
    if (!plainKey) {
        PlanUnicode(c, layout, out);
        return;
    }
    bool shift = state & kScanShift;
    if (capsLock && layout.CapsLockShifts(scan)) shift = !shift;
    if (shift) Key(out, kVkShift, false);
    Press(out, vk);
    if (shift) Key(out, kVkShift, true);
}

void PlanCodePoint(char32_t c, const KeyboardLayout& layout, std::vector<KeyEvent>& out, bool capsLock) {
    if (c < 0x80) return PlanCharacter(static_cast<unsigned char>(c), layout, out, capsLock);
    std::string utf8;
    AppendUtf8(utf8, c);
    const std::u16string units = Utf8ToUtf16(utf8);
    // The layout is asked by code-page byte: a character of the code page goes by its byte,
    // so that its key is found as before; any other goes as itself (a character beyond the
    // Basic Multilingual Plane as its two surrogates).
    if (units.size() == 1)
        for (unsigned b = 0x80; b <= 0xFF; ++b)
            if (layout.ToUtf16(static_cast<unsigned char>(b)) == units)
                return PlanCharacter(static_cast<unsigned char>(b), layout, out, capsLock);
    for (char16_t unit : units) {
        out.push_back({true, static_cast<std::uint16_t>(unit), false});
        out.push_back({true, static_cast<std::uint16_t>(unit), true});
    }
}

TypingStrokes PlanStrokes(std::string_view text, const KeyboardLayout& layout, int eol, bool capsLock) {
    TypingStrokes plan;
    plan.strokes.reserve(text.size() + 1);
    for (std::size_t i = 0; i < text.size();) {
        plan.strokes.emplace_back();
        PlanCodePoint(NextCodePoint(text, i), layout, plan.strokes.back(), capsLock);
    }
    plan.characters = plan.strokes.size();
    if (eol == 1 || eol == 2) {
        plan.strokes.emplace_back();
        Press(plan.strokes.back(), eol == 2 ? kVkTab : kVkReturn);
    }
    return plan;
}

std::vector<KeyEvent> Flatten(const TypingStrokes& plan) {
    std::vector<KeyEvent> out;
    for (const auto& stroke : plan.strokes) out.insert(out.end(), stroke.begin(), stroke.end());
    return out;
}

std::vector<KeyEvent> PlanTyping(std::string_view text, const KeyboardLayout& layout, int eol, bool capsLock) {
    return Flatten(PlanStrokes(text, layout, eol, capsLock));
}

}  // namespace kt
