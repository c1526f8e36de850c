#include "app/core/CaptureKey.h"

#include <cctype>
#include <vector>

namespace kt {

namespace {

struct NamedKey {
    const char* name;
    std::uint8_t vk;
};
// Keys with a name that is the same on every layout (letters and digits are named by
// themselves, F1 to F24 by number).
constexpr NamedKey kNamedKeys[] = {
    {"Backspace", 0x08}, {"Tab", 0x09},    {"Enter", 0x0D},    {"Pause", 0x13},   {"Space", 0x20},
    {"PageUp", 0x21},    {"PageDown", 0x22}, {"End", 0x23},    {"Home", 0x24},    {"Left", 0x25},
    {"Up", 0x26},        {"Right", 0x27},  {"Down", 0x28},     {"Insert", 0x2D},  {"Delete", 0x2E},
    {"Num0", 0x60},      {"Num1", 0x61},   {"Num2", 0x62},     {"Num3", 0x63},    {"Num4", 0x64},
    {"Num5", 0x65},      {"Num6", 0x66},   {"Num7", 0x67},     {"Num8", 0x68},    {"Num9", 0x69},
};

constexpr struct {
    const char* name;
    unsigned bit;
} kModifierNames[] = {{"Ctrl", kKeyCtrl}, {"Alt", kKeyAlt}, {"Shift", kKeyShift}, {"Win", kKeyWin}};

bool SameWord(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// The virtual key of a key name; 0 when it names none.
std::uint8_t KeyOfName(std::string_view name) {
    if (name.size() == 1) {
        const auto c = static_cast<unsigned char>(std::toupper(static_cast<unsigned char>(name[0])));
        if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return c;
        return 0;
    }
    if ((name[0] == 'F' || name[0] == 'f') && name.size() <= 3) {
        int n = 0;
        for (char c : name.substr(1)) {
            if (c < '0' || c > '9') return 0;
            n = n * 10 + (c - '0');
        }
        if (name[1] != '0' && n >= 1 && n <= 24) return static_cast<std::uint8_t>(0x70 + n - 1);
        return 0;
    }
    for (const NamedKey& k : kNamedKeys)
        if (SameWord(name, k.name)) return k.vk;
    return 0;
}

}  // namespace

std::string KeyName(std::uint8_t vk) {
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) return std::string(1, static_cast<char>(vk));
    if (vk >= 0x70 && vk <= 0x87) return "F" + std::to_string(vk - 0x70 + 1);
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
    return {};
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
            if (SameWord(parts[i], m.name)) bit = m.bit;
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
