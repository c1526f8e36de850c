// The typing engine's decisions, apart from the windows it works on: whether a target can be
// typed into, bringing it back, waiting (bounded) until it really holds the keyboard focus,
// and neutralising modifier keys the user still holds, before the one burst of key events or,
// for targets that drop keys coming in a burst, key strokes one at a time.
#pragma once
#include <cstddef>
#include <cstdint>
#include <utility>
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
    // Inserts key-ups after a burst that went in only in part, leaving what is known of that
    // burst (how much of it went in) as it is.
    virtual void SendReleases(const std::vector<KeyEvent>& keys) { Send(keys); }
};

class TypingClock {
public:
    virtual ~TypingClock() = default;
    virtual std::uint64_t NowMs() const = 0;
    virtual void SleepMs(unsigned ms) = 0;
};

enum class TypingOutcome {
    Typed,        // the burst, or the key stroke, went in
    Ready,        // the target holds the focus: typing can start
    NoTarget,     // nothing to type into: not captured, the bar itself, or closed
    NotInFront,   // the target did not come to the front with the focus in time
    NotSent,      // the system refused the events
    Interrupted,  // another window took the focus, or the target closed, while typing slowly
};

// The longest wait for the target to take the focus, and the polling step.
inline constexpr unsigned kFocusWaitMs = 1000;
inline constexpr unsigned kFocusPollMs = 5;

// Key-up events for the held modifiers, so they cannot turn typed characters into shortcuts.
// A key that means nothing goes in before Alt or Win is let go: a lone Alt release would open
// the target's menu, a lone Win release the start menu.
std::vector<KeyEvent> ReleaseModifiers(unsigned held);
// Key-up events for every modifier that goes down somewhere in `burst`, sent after a burst the
// system took only in part: whatever part went in, no modifier stays held.
std::vector<KeyEvent> ReleasePressedModifiers(const std::vector<KeyEvent>& burst);

// Checks the target exists, restores it when minimised, brings it to the front and waits for
// the focus (at most kFocusWaitMs). Ready, NoTarget or NotInFront.
TypingOutcome WaitForTarget(TypingTarget& target, TypingClock& clock);

// Types `plan` into the target: WaitForTarget, then the held modifiers' releases and the plan
// as one burst. Nothing is sent unless the target holds the focus.
TypingOutcome TypeIntoTarget(TypingTarget& target, KeyInjector& injector, TypingClock& clock,
                             const std::vector<KeyEvent>& plan);

// The longest delay between key strokes a user can choose.
inline constexpr unsigned kMaxKeyDelayMs = 1000;

// Typing one key stroke at a time, for a caller that waits the delay between two calls of
// Next (on a timer, so that its windows stay responsive meanwhile). Before every stroke the
// target must still hold the focus: when it does not, nothing more is sent, so no key stroke
// reaches a window the user switched to.
class StrokeTyping {
public:
    explicit StrokeTyping(TypingStrokes plan) : plan_(std::move(plan)) {}
    // Sends the next stroke with the releases of the modifiers held now: Typed, Interrupted
    // (the target lost the focus or closed; nothing sent) or NotSent.
    TypingOutcome Next(TypingTarget& target, KeyInjector& injector);
    bool Done() const { return next_ >= plan_.strokes.size(); }
    // The wait before the next call of Next: the plan's own pause after the last stroke sent
    // (a plan with pauses sends the strokes between two pauses in one call), or the key delay.
    unsigned PauseBeforeNext(unsigned keyDelay) const {
        return plan_.pauses.empty() || next_ == 0 ? keyDelay : plan_.pauses[next_ - 1];
    }
    // The characters (or, for a keys text, the keys) whose strokes went in, and all of them.
    std::size_t TypedCharacters() const {
        const std::size_t counted = next_ > plan_.uncounted ? next_ - plan_.uncounted : 0;
        return counted < plan_.characters ? counted : plan_.characters;
    }
    std::size_t TotalCharacters() const { return plan_.characters; }
    bool CountsKeys() const { return plan_.countsKeys; }

private:
    TypingStrokes plan_;
    std::size_t next_ = 0;
};

}  // namespace kt
