#include "app/core/TypingEngine.h"

#include <algorithm>

namespace kt {

namespace {
// An unassigned virtual key: pressed between Alt down and Alt up it keeps the release from
// counting as a lone Alt.
constexpr std::uint16_t kVkMask = 0xE8;

struct Modifier {
    unsigned bit;
    std::uint16_t vk;
    bool needsMask;
};
constexpr Modifier kModifiers[] = {
    {kHeldLeftShift, 0xA0, false}, {kHeldRightShift, 0xA1, false}, {kHeldLeftControl, 0xA2, false},
    {kHeldRightControl, 0xA3, false}, {kHeldLeftAlt, 0xA4, true},  {kHeldRightAlt, 0xA5, true},
    {kHeldLeftWin, 0x5B, true},       {kHeldRightWin, 0x5C, true},
};
}  // namespace

std::vector<KeyEvent> ReleaseModifiers(unsigned held) {
    std::vector<KeyEvent> out;
    bool masked = false;
    for (const Modifier& m : kModifiers) {
        if (!(held & m.bit)) continue;
        if (m.needsMask && !masked) {
            out.push_back({false, kVkMask, false});
            out.push_back({false, kVkMask, true});
            masked = true;
        }
        out.push_back({false, m.vk, true});
    }
    return out;
}

std::vector<KeyEvent> ReleasePressedModifiers(const std::vector<KeyEvent>& burst) {
    std::vector<KeyEvent> out;
    bool masked = false;
    for (const KeyEvent& e : burst) {
        if (e.unicode || e.up) continue;
        bool modifier = e.code == kVkShift || e.code == kVkControl || e.code == kVkMenu, needsMask = e.code == kVkMenu;
        for (const Modifier& m : kModifiers)
            if (e.code == m.vk) modifier = true, needsMask = m.needsMask;
        KeyEvent up = e;
        up.up = true;
        if (!modifier || std::find(out.begin(), out.end(), up) != out.end()) continue;
        if (needsMask && !masked) {
            out.push_back({false, kVkMask, false});
            out.push_back({false, kVkMask, true});
            masked = true;
        }
        out.push_back(up);
    }
    return out;
}

namespace {
// Sends the burst; when the system takes only part of it, the part may end after a modifier
// went down, so every modifier the burst presses is let go again.
bool SendWhole(KeyInjector& injector, const std::vector<KeyEvent>& burst) {
    if (injector.Send(burst)) return true;
    const std::vector<KeyEvent> releases = ReleasePressedModifiers(burst);
    if (!releases.empty()) injector.SendReleases(releases);
    return false;
}
}  // namespace

TypingOutcome WaitForTarget(TypingTarget& target, TypingClock& clock) {
    if (!target.Exists()) return TypingOutcome::NoTarget;
    if (target.IsMinimised()) target.Restore();
    if (!target.HasKeyboardFocus()) {
        target.BringToFront();
        const std::uint64_t start = clock.NowMs();
        while (!target.HasKeyboardFocus()) {
            // A window closed while we wait is no target any more.
            if (!target.Exists()) return TypingOutcome::NoTarget;
            if (clock.NowMs() - start >= kFocusWaitMs) return TypingOutcome::NotInFront;
            clock.SleepMs(kFocusPollMs);
        }
    }
    return TypingOutcome::Ready;
}

TypingOutcome TypeIntoTarget(TypingTarget& target, KeyInjector& injector, TypingClock& clock,
                             const std::vector<KeyEvent>& plan) {
    const TypingOutcome ready = WaitForTarget(target, clock);
    if (ready != TypingOutcome::Ready) return ready;
    std::vector<KeyEvent> burst = ReleaseModifiers(injector.HeldModifiers());
    burst.insert(burst.end(), plan.begin(), plan.end());
    if (burst.empty()) return TypingOutcome::Typed;
    return SendWhole(injector, burst) ? TypingOutcome::Typed : TypingOutcome::NotSent;
}

TypingOutcome StrokeTyping::Next(TypingTarget& target, KeyInjector& injector) {
    do {
        if (Done()) return TypingOutcome::Typed;
        if (!target.Exists() || !target.HasKeyboardFocus()) return TypingOutcome::Interrupted;
        std::vector<KeyEvent> stroke = ReleaseModifiers(injector.HeldModifiers());
        const auto& keys = plan_.strokes[next_];
        stroke.insert(stroke.end(), keys.begin(), keys.end());
        if (!stroke.empty() && !SendWhole(injector, stroke)) return TypingOutcome::NotSent;
        ++next_;
    } while (!plan_.pauses.empty() && !Done() && plan_.pauses[next_ - 1] == 0);
    return TypingOutcome::Typed;
}

}  // namespace kt
