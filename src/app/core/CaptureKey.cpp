#include "app/core/CaptureKey.h"

#include <cctype>
#include <vector>

#include "app/core/KeyNames.h"

namespace kt {

namespace {

struct NamedKey {
    const char* name;
    std::uint8_t vk;
};
// Keys with a name that is the same on every layout (letters and digits are named by
// themselves, F1 to F24 by number).
constexpr NamedKey kNamedKeys[] = {
    {"Backspace", kVkBack},  {"Tab", kVkTab},      {"Enter", kVkReturn},       {"Pause", kVkPause},
    {"Space", kVkSpace},     {"PageUp", kVkPageUp}, {"PageDown", kVkPageDown}, {"End", kVkEnd},
    {"Home", kVkHome},       {"Left", kVkLeft},    {"Up", kVkUp},              {"Right", kVkRight},
    {"Down", kVkDown},       {"Insert", kVkInsert}, {"Delete", kVkDelete},     {"Num0", kVkNumpad0},
    {"Num1", kVkNumpad0 + 1}, {"Num2", kVkNumpad0 + 2}, {"Num3", kVkNumpad0 + 3}, {"Num4", kVkNumpad0 + 4},
    {"Num5", kVkNumpad0 + 5}, {"Num6", kVkNumpad0 + 6}, {"Num7", kVkNumpad0 + 7}, {"Num8", kVkNumpad0 + 8},
    {"Num9", kVkNumpad0 + 9},
};

constexpr struct {
    const char* name;
    unsigned bit;
} kModifierNames[] = {{"Ctrl", kKeyCtrl}, {"Alt", kKeyAlt}, {"Shift", kKeyShift}, {"Win", kKeyWin}};

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// Short spellings read besides the names above (never printed).
constexpr NamedKey kOtherSpellings[] = {{"Del", kVkDelete}, {"Ins", kVkInsert}};

// Why Windows keeps the key for itself, whatever program asks for it; null when it does not.
// RegisterHotKey fails for these (or, as with Alt+Tab, succeeds while the key never arrives).
const char* KeptBySystem(const CaptureKey& key) {
    const unsigned m = key.modifiers;
    const std::uint8_t vk = key.vk;
    if (vk == kVkF1 + 11) return "F12 belongs to the debugger, with any of Ctrl, Alt, Shift and Win";
    if (vk == kVkDelete && (m & kKeyCtrl) && (m & kKeyAlt)) return "it opens the security screen";
    if (vk == kVkTab && (m & (kKeyAlt | kKeyWin))) return "it switches between windows";
    if (!(m & kKeyWin)) return nullptr;
    if (vk == 'L') return "it locks the computer";
    // The shell's own keys: Win with a letter, a digit or a key of its window arrangement.
    const bool shellKey = (vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9') || vk == kVkSpace ||
                          vk == kVkPause || vk == kVkHome || (vk >= kVkLeft && vk <= kVkDown);
    if (shellKey && !(m & (kKeyCtrl | kKeyAlt))) return "the Windows shell uses the Win key with it";
    return nullptr;
}

// The virtual key of a key name; 0 when it names none.
std::uint8_t KeyOfName(std::string_view name) {
    if (name.size() == 1) {
        const auto c = static_cast<unsigned char>(std::toupper(static_cast<unsigned char>(name[0])));
        if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return c;
        return 0;
    }
    if ((name[0] == 'F' || name[0] == 'f') && name.size() <= 3) {
        const int n = FunctionKeyNumber(name);
        return n >= 1 && n <= 24 ? static_cast<std::uint8_t>(kVkF1 + n - 1) : 0;
    }
    for (const NamedKey& k : kNamedKeys)
        if (SameLetters(name, k.name)) return k.vk;
    for (const NamedKey& k : kOtherSpellings)
        if (SameLetters(name, k.name)) return k.vk;
    return 0;
}

}  // namespace

std::string KeyName(std::uint8_t vk) {
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) return std::string(1, static_cast<char>(vk));
    if (vk >= kVkF1 && vk < kVkF1 + 24) return "F" + std::to_string(vk - kVkF1 + 1);
    for (const NamedKey& k : kNamedKeys)
        if (k.vk == vk) return k.name;
    return {};
}

std::string CaptureKeyText(const CaptureKey& key) {
    std::string text;
    for (const auto& m : kModifierNames)
        if (key.modifiers & m.bit) text += std::string(m.name) + "+";
    return text + KeyName(key.vk);
}

std::string CaptureKeyProblem(const CaptureKey& key) {
    if (KeyName(key.vk).empty())
        return "The capture key must be a letter, a digit, F1 to F24 or a key such as Space or Insert, "
               "with Ctrl, Alt or Win";
    if (!(key.modifiers & (kKeyCtrl | kKeyAlt | kKeyWin)))
        return "The capture key " + CaptureKeyText(key) +
               " needs Ctrl, Alt or Win with it: without them it would fire whenever that key is typed";
    if (const char* why = KeptBySystem(key))
        return "Windows keeps " + CaptureKeyText(key) + " for itself (" + why + "): choose another capture key";
    return {};
}

std::string CaptureKeyLayoutProblem(const CaptureKey& key, const KeyboardLayout& layout) {
    // Ctrl+Alt is AltGr on many layouts: there the key types a character, which a capture
    // key would take from every program.
    if ((key.modifiers & (kKeyCtrl | kKeyAlt)) != (kKeyCtrl | kKeyAlt) || (key.modifiers & kKeyWin)) return {};
    const unsigned state = kScanCtrl | kScanAlt | (key.modifiers & kKeyShift ? kScanShift : 0u);
    const std::u16string typed = layout.KeyText(static_cast<std::int16_t>(key.vk | state << 8));
    if (typed.empty() || typed[0] < 0x20) return {};
    std::string named = "a character";
    for (unsigned c = 0x20; c < 0x100; ++c)
        if (layout.ToUtf16(static_cast<unsigned char>(c)) == typed)
            named = "\"" + std::string(1, static_cast<char>(c)) + "\"";
    return "On the current keyboard layout " + CaptureKeyText(key) + " types " + named +
           " (Ctrl+Alt is AltGr there), so it cannot be the capture key: choose another";
}

std::string CaptureKeyRefusal(const CaptureKey& key, const KeyboardLayout& layout) {
    const std::string problem = CaptureKeyProblem(key);
    return problem.empty() ? CaptureKeyLayoutProblem(key, layout) : problem;
}

bool ParseCaptureKey(std::string_view text, CaptureKey& key, std::string& problem) {
    const std::string shown(text);
    std::vector<std::string_view> parts;
    for (size_t start = 0;;) {
        const size_t plus = text.find('+', start);
        parts.push_back(Trim(text.substr(start, plus == std::string_view::npos ? std::string_view::npos : plus - start)));
        if (plus == std::string_view::npos) break;
        start = plus + 1;
    }
    const std::string example = ", such as Ctrl+T, Ctrl+Shift+Y or Alt+F9";
    CaptureKey read{0, 0};
    for (size_t i = 0; i + 1 < parts.size(); ++i) {
        unsigned bit = 0;
        for (const auto& m : kModifierNames)
            if (SameLetters(parts[i], m.name)) bit = m.bit;
        if (bit == 0 || (read.modifiers & bit)) {
            problem = "'" + shown + "' is not a key combination" + example;
            return false;
        }
        read.modifiers |= bit;
    }
    read.vk = parts.back().empty() ? 0 : KeyOfName(parts.back());
    if (read.vk == 0) {
        problem = "'" + shown + "' is not a key combination" + example;
        return false;
    }
    problem = CaptureKeyProblem(read);
    if (!problem.empty()) return false;
    key = read;
    return true;
}

std::string CaptureInstruction(const CaptureKey& key) {
    return "Press " + CaptureKeyText(key) + " on the Window where you want the typing to appear";
}

}  // namespace kt
