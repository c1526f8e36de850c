// The typing engine's decisions, apart from the windows it works on: whether a target can be
// typed into, bringing it back, waiting (bounded) until it really holds the keyboard focus,
// and neutralising modifier keys the user still holds, before the one burst of key events.
#pragma once
#include <cstdint>
#include <vector>

#include "app/core/TypingPlan.h"

namespace kt {

// The window captured by Ctrl+T.
class TypingTarget {
public:
    virtual ~TypingTarget() = default;
    // False when nothing was captured, the program's own bar was captured, or the window has
    // been closed since.
    virtual bool Exists() const = 0;
    virtual bool IsMinimised() const = 0;
    virtual void Restore() = 0;
    // Asks for the target to become the foreground window; it may take effect later.
    virtual void BringToFront() = 0;
    // True when the target is the foreground window and the keyboard focus is inside it, so
    // that the next key event reaches it.
    virtual bool HasKeyboardFocus() const = 0;
};

// Modifier keys as the injector reports them held.
enum ModifierKey : unsigned {
    kHeldLeftShift = 1u << 0,
    kHeldRightShift = 1u << 1,
    kHeldLeftControl = 1u << 2,
    kHeldRightControl = 1u << 3,
    kHeldLeftAlt = 1u << 4,
    kHeldRightAlt = 1u << 5,
    kHeldLeftWin = 1u << 6,
    kHeldRightWin = 1u << 7,
};

// Inserts key events into the system input stream.
class KeyInjector {
public:
    virtual ~KeyInjector() = default;
    // The modifier keys that are down right now (ModifierKey bits).
    virtual unsigned HeldModifiers() const = 0;
    // Inserts the whole burst at once; true when every event went in.
    virtual bool Send(const std::vector<KeyEvent>& burst) = 0;
};

class TypingClock {
public:
    virtual ~TypingClock() = default;
    virtual std::uint64_t NowMs() const = 0;
    virtual void SleepMs(unsigned ms) = 0;
};

enum class TypingOutcome {
    Typed,       // the burst went in
    NoTarget,    // nothing to type into: not captured, the bar itself, or closed
    NotInFront,  // the target did not come to the front with the focus in time
    NotSent,     // the system refused the events
};

// The longest wait for the target to take the focus, and the polling step.
inline constexpr unsigned kFocusWaitMs = 1000;
inline constexpr unsigned kFocusPollMs = 5;

// Key-up events for the held modifiers, so they cannot turn typed characters into shortcuts.
// A key that means nothing goes in before Alt or Win is let go: a lone Alt release would open
// the target's menu, a lone Win release the start menu.
std::vector<KeyEvent> ReleaseModifiers(unsigned held);

// Types `plan` into the target: checks it exists, restores it when minimised, brings it to
// the front and waits for the focus (at most kFocusWaitMs), then sends the held modifiers'
// releases and the plan as one burst. Nothing is sent unless the target holds the focus.
TypingOutcome TypeIntoTarget(TypingTarget& target, KeyInjector& injector, TypingClock& clock,
                             const std::vector<KeyEvent>& plan);

}  // namespace kt
