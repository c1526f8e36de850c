// Keys-in-braces parser and planner: any text must parse or be refused with a position inside
// it, and a parsed one must plan to key strokes that leave no key down.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string_view>

#include "app/core/KeySequence.h"

namespace {
void Check(bool ok) {
    if (!ok) std::abort();
}

// Letters and digits on their own keys, everything else as a character event.
struct Layout : kt::KeyboardLayout {
    std::int16_t KeyScan(unsigned char c) const override {
        if (c >= 'a' && c <= 'z') return static_cast<std::int16_t>(c - 'a' + 'A');
        if (c >= 'A' && c <= 'Z') return static_cast<std::int16_t>(c | (kt::kScanShift << 8));
        if (c >= '0' && c <= '9') return c;
        return -1;
    }
    bool IsDeadKey(std::int16_t) const override { return false; }
    std::u16string ToUtf16(unsigned char c) const override { return std::u16string(1, c); }
    std::uint16_t ScanCode(std::uint16_t vk) const override { return vk; }
    // Each key types the character it was named for, so the plan takes every key it finds.
    std::u16string KeyText(std::int16_t keyScan) const override {
        const char16_t c = static_cast<char16_t>(keyScan & 0xFF);
        if (c >= 'A' && c <= 'Z' && !(keyScan & (kt::kScanShift << 8))) return std::u16string(1, c - 'A' + 'a');
        return std::u16string(1, c);
    }
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const kt::KeySequence seq = kt::ParseKeySequence(text);
    if (!seq.Ok()) {
        Check(seq.steps.empty() && seq.errorAt >= 1 && seq.errorAt <= size);
        return 0;
    }
    if (text.find_first_of("{}") == std::string_view::npos)
        Check(size == 0 ? seq.steps.empty() : seq.steps.size() == 1 && seq.steps[0].text == text);
    std::size_t keys = 0;
    for (const kt::KeyStep& s : seq.steps) {
        if (s.kind == kt::KeyStep::Kind::Key) {
            Check(s.count >= 1 && s.count <= kt::kMaxKeyCount);
            keys += s.count;
        }
        if (s.kind == kt::KeyStep::Kind::Pause) Check(s.ms <= kt::kMaxPauseMs);
        if (s.kind == kt::KeyStep::Kind::SetDelay) Check(s.ms <= kt::kMaxSequenceDelayMs);
    }
    Layout layout;
    const kt::TypingStrokes plan = kt::PlanKeySequence(seq, layout, 1, 0);
    Check(plan.pauses.size() == plan.strokes.size());
    std::map<std::uint16_t, int> down;
    for (const auto& stroke : plan.strokes)
        for (const kt::KeyEvent& e : stroke) {
            if (e.unicode) continue;
            int& n = down[e.code];
            n += e.up ? -1 : 1;
            Check(n == 0 || n == 1);
        }
    for (const auto& [vk, n] : down) Check(n == 0);
    Check(plan.strokes.size() >= keys + 1);
    return 0;
}
