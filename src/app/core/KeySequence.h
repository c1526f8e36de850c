// Keys in braces: a button text that types named keys, key combinations and pauses besides its
// characters ("Jane{TAB}Doe{ENTER}", "{CTRL+A}{DELAY 500}x"). Only texts the user marked for it
// are read this way; everything outside braces is typed as it stands, every character.
//
//   {TAB} {ENTER} {ESC} {SPACE} {BACKSPACE} {BS} {DELETE} {DEL} {INSERT} {INS} {HOME} {END}
//   {PGUP} {PGDN} {UP} {DOWN} {LEFT} {RIGHT} {F1}...{F12}   in any letter case; {TAB 3}: 1 to 100
//   {CTRL+A} {SHIFT+TAB} {ALT+F} {CTRL+SHIFT+END}           CTRL, SHIFT, ALT + a key, letter or digit
//   {DELAY n}     a pause of n ms (0 to 10000) at that point
//   {DELAY=n}     n ms between keys (0 to 1000) from there to the end of the text
//   {CLEARFIELD}  empties a single-line field: Home, Shift+End, Delete
//   {{} {}}       a brace
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/core/TypingPlan.h"

namespace kt {

enum KeyModifier : unsigned { kModShift = 1, kModCtrl = 2, kModAlt = 4 };

inline constexpr unsigned kMaxKeyCount = 100;
inline constexpr unsigned kMaxPauseMs = 10000;
inline constexpr unsigned kMaxSequenceDelayMs = 1000;

struct KeyStep {
    enum class Kind { Text, Key, Pause, SetDelay };
    Kind kind = Kind::Text;
    std::string text;           // Text: typed as it stands
    std::uint16_t vk = 0;       // Key: the virtual key
    unsigned modifiers = 0;     // Key: KeyModifier bits, held around each press
    unsigned count = 1;         // Key: presses
    unsigned ms = 0;            // Pause, SetDelay

    bool operator==(const KeyStep&) const = default;
};

struct KeySequence {
    std::vector<KeyStep> steps;
    // Empty when the text parsed; else the problem and where it is, in words for the user
    // ("Unknown key {NOPE} at character 2"), and that character's position (1-based).
    std::string error;
    std::size_t errorAt = 0;

    bool Ok() const { return error.empty(); }
};

KeySequence ParseKeySequence(std::string_view text);

// The key strokes of a parsed sequence: each character as PlanCharacter types it, each key
// press as a real key stroke (virtual key and the layout's scan code) with its modifiers pressed
// before it and released after it, then the end-of-line key. `pauses` says how long to wait
// after each stroke: the key delay in force (`keyDelay`, or the text's {DELAY=n}) plus the
// {DELAY n} pauses that stand between the two strokes. A pause before the first stroke becomes
// an empty stroke. The sequence must have parsed.
TypingStrokes PlanKeySequence(const KeySequence& sequence, const KeyboardLayout& layout, int eol,
                              unsigned keyDelay, bool capsLock = false);

// True when some stroke of the plan waits after it: the plan goes stroke by stroke, else as
// one burst. A plan without pauses of its own follows the key delay.
bool NeedsTimedTyping(const TypingStrokes& plan, unsigned keyDelay);

// The message for a keys-in-braces button whose text does not parse: nothing of it is typed.
std::string KeySequenceRefusal(const std::string& caption, const KeySequence& sequence);

}  // namespace kt
