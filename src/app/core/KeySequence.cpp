#include "app/core/KeySequence.h"

#include "core/TextCodec.h"

#include <algorithm>

#include "app/core/KeyNames.h"

namespace kt {

namespace {

struct NamedKey {
    const char* name;
    std::uint16_t vk;
};
constexpr NamedKey kNamedKeys[] = {
    {"TAB", kVkTab},       {"ENTER", kVkReturn}, {"ESC", kVkEscape},   {"SPACE", kVkSpace},
    {"BACKSPACE", kVkBack}, {"BS", kVkBack},      {"DELETE", kVkDelete}, {"DEL", kVkDelete},
    {"INSERT", kVkInsert}, {"INS", kVkInsert},   {"HOME", kVkHome},     {"END", kVkEnd},
    {"PGUP", kVkPageUp},   {"PGDN", kVkPageDown}, {"UP", kVkUp},        {"DOWN", kVkDown},
    {"LEFT", kVkLeft},     {"RIGHT", kVkRight},
};

struct ModifierName {
    const char* name;
    unsigned bit;
    std::uint16_t vk;
};
// Pressed in this order, released in the reverse one.
constexpr ModifierName kModifierNames[] = {{"CTRL", kModCtrl, kVkControl},
                                           {"SHIFT", kModShift, kVkShift},
                                           {"ALT", kModAlt, kVkMenu}};

// A key name, or with `single` a letter or digit; 0 when it is none.
std::uint16_t KeyOfName(const std::string& name, bool single) {
    for (const NamedKey& k : kNamedKeys)
        if (name == k.name) return k.vk;
    const int n = FunctionKeyNumber(name);  // the name is in upper case
    if (n >= 1 && n <= 12) return static_cast<std::uint16_t>(kVkF1 + n - 1);
    if (single && name.size() == 1 && ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= '0' && name[0] <= '9')))
        return static_cast<std::uint16_t>(name[0]);
    return 0;
}

// Digits only, at most `max`.
bool ParseNumber(std::string_view s, unsigned min, unsigned max, unsigned& value) {
    if (s.empty() || s.size() > 6) return false;
    unsigned v = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + static_cast<unsigned>(c - '0');
    }
    if (v < min || v > max) return false;
    value = v;
    return true;
}

std::vector<std::string> Words(const std::string& s) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && s[i] == ' ') ++i;
        const std::size_t start = i;
        while (i < s.size() && s[i] != ' ') ++i;
        if (i > start) words.push_back(s.substr(start, i - start));
    }
    return words;
}

// The steps of one pair of braces; an empty text when it parsed, else the problem.
std::string ParseBraces(std::string_view content, std::string_view whole, std::vector<KeyStep>& steps) {
    const std::string upper = AsciiUpper(content);
    const std::vector<std::string> words = Words(upper);
    const std::string shown(whole);
    if (words.empty()) return "Empty braces " + shown;

    std::string compact;
    for (char c : upper)
        if (c != ' ') compact += c;
    if (compact.rfind("DELAY=", 0) == 0) {
        KeyStep step{KeyStep::Kind::SetDelay};
        if (!ParseNumber(std::string_view(compact).substr(6), 0, kMaxSequenceDelayMs, step.ms))
            return "The delay between keys must be 0 to 1000 ms in " + shown;
        steps.push_back(step);
        return {};
    }
    if (words[0] == "DELAY") {
        KeyStep step{KeyStep::Kind::Pause};
        if (words.size() != 2 || !ParseNumber(words[1], 0, kMaxPauseMs, step.ms))
            return "The pause must be 0 to 10000 ms in " + shown;
        steps.push_back(step);
        return {};
    }
    if (words.size() == 1 && words[0] == "CLEARFIELD") {
        steps.push_back({KeyStep::Kind::Key, {}, kVkHome, 0, 1, 0});
        steps.push_back({KeyStep::Kind::Key, {}, kVkEnd, kModShift, 1, 0});
        steps.push_back({KeyStep::Kind::Key, {}, kVkDelete, 0, 1, 0});
        return {};
    }
    if (words.size() > 2) return "Unknown key " + shown;

    KeyStep step{KeyStep::Kind::Key};
    std::vector<std::string> parts;
    for (std::size_t start = 0;;) {
        const std::size_t plus = words[0].find('+', start);
        parts.push_back(words[0].substr(start, plus == std::string::npos ? std::string::npos : plus - start));
        if (plus == std::string::npos) break;
        start = plus + 1;
    }
    for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
        const ModifierName* m = nullptr;
        for (const ModifierName& candidate : kModifierNames)
            if (parts[i] == candidate.name) m = &candidate;
        if (!m) return (parts[i].empty() ? "A key is missing before + in " : "Unknown modifier " + parts[i] + " in ") + shown;
        if (step.modifiers & m->bit) return "Modifier " + parts[i] + " given twice in " + shown;
        step.modifiers |= m->bit;
    }
    const std::string& key = parts.back();
    if (key.empty()) return "A key is missing after + in " + shown;
    step.vk = KeyOfName(key, parts.size() > 1);
    if (step.vk == 0) {
        for (const ModifierName& m : kModifierNames)
            if (key == m.name) return "A key is missing after " + key + " in " + shown;
        return "Unknown key " + shown;
    }
    if (words.size() == 2 && !ParseNumber(words[1], 1, kMaxKeyCount, step.count))
        return "The count must be 1 to 100 in " + shown;
    steps.push_back(step);
    return {};
}

bool IsExtendedKey(std::uint16_t vk) { return (vk >= kVkPageUp && vk <= kVkDown) || vk == kVkInsert || vk == kVkDelete; }

}  // namespace

KeySequence ParseKeySequence(std::string_view text) {
    KeySequence seq;
    std::string run;
    auto flush = [&] {
        if (run.empty()) return;
        seq.steps.push_back({KeyStep::Kind::Text, run});
        run.clear();
    };
    auto fail = [&](std::size_t at, const std::string& problem) {
        seq.steps.clear();
        seq.errorAt = at + 1;
        seq.error = problem + " at character " + std::to_string(at + 1);
        return seq;
    };
    for (std::size_t i = 0; i < text.size();) {
        const char c = text[i];
        if (c == '}') return fail(i, "A } that no { opens (type {}} for a brace)");
        if (c != '{') {
            run += c;
            ++i;
            continue;
        }
        const std::string_view three = text.substr(i, 3);
        if (three == "{{}" || three == "{}}") {
            run += three[1];
            i += 3;
            continue;
        }
        const std::size_t close = text.find('}', i + 1);
        const std::size_t reopen = text.find('{', i + 1);
        if (close == std::string_view::npos || reopen < close)
            return fail(i, "A { that is not closed (type {{} for a brace)");
        flush();
        const std::string problem = ParseBraces(text.substr(i + 1, close - i - 1), text.substr(i, close - i + 1), seq.steps);
        if (!problem.empty()) return fail(i, problem);
        i = close + 1;
    }
    flush();
    return seq;
}

TypingStrokes PlanKeySequence(const KeySequence& sequence, const KeyboardLayout& layout, int eol, unsigned keyDelay,
                              bool capsLock) {
    TypingStrokes plan;
    unsigned delay = keyDelay, pending = 0;
    // A new stroke: the one before it waits the delay in force now and the pauses between them.
    auto begin = [&]() -> std::vector<KeyEvent>& {
        if (!plan.strokes.empty()) {
            plan.pauses.back() = delay + pending;
        } else if (pending > 0) {
            plan.strokes.emplace_back();
            plan.pauses.push_back(pending);
        }
        pending = 0;
        plan.strokes.emplace_back();
        plan.pauses.push_back(0);
        return plan.strokes.back();
    };
    auto key = [&](std::vector<KeyEvent>& out, std::uint16_t vk, bool up) {
        out.push_back({false, vk, up, layout.ScanCode(vk), IsExtendedKey(vk)});
    };
    for (const KeyStep& step : sequence.steps) {
        switch (step.kind) {
            case KeyStep::Kind::Text:
                for (std::size_t i = 0; i < step.text.size();) PlanCodePoint(NextCodePoint(step.text, i), layout, begin(), capsLock);
                break;
            case KeyStep::Kind::Key:
                for (unsigned n = 0; n < step.count; ++n) {
                    std::vector<KeyEvent>& out = begin();
                    for (const ModifierName& m : kModifierNames)
                        if (step.modifiers & m.bit) key(out, m.vk, false);
                    key(out, step.vk, false);
                    key(out, step.vk, true);
                    for (auto m = std::rbegin(kModifierNames); m != std::rend(kModifierNames); ++m)
                        if (step.modifiers & m->bit) key(out, m->vk, true);
                }
                break;
            case KeyStep::Kind::Pause:
                pending += step.ms;
                break;
            case KeyStep::Kind::SetDelay:
                delay = step.ms;
                break;
        }
    }
    // A pause the text starts with is no key.
    plan.uncounted = !plan.strokes.empty() && plan.strokes.front().empty() ? 1 : 0;
    plan.characters = plan.strokes.size() - plan.uncounted;
    plan.countsKeys = true;
    if (eol == 1 || eol == 2) {  // Enter, Tab
        std::vector<KeyEvent>& out = begin();
        const std::uint16_t vk = eol == 2 ? kVkTab : kVkReturn;
        out.push_back({false, vk, false});
        out.push_back({false, vk, true});
    }
    return plan;
}

bool NeedsTimedTyping(const TypingStrokes& plan, unsigned keyDelay) {
    if (plan.pauses.empty()) return keyDelay > 0;
    return std::any_of(plan.pauses.begin(), plan.pauses.end(), [](unsigned p) { return p > 0; });
}

std::string KeySequenceRefusal(const std::string& caption, const KeySequence& sequence) {
    return "The button \"" + caption + "\" was not typed: " + sequence.error +
           " of its text. Nothing was typed; correct the text in the configuration window.";
}

}  // namespace kt
