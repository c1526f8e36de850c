// The typing plan: a button's text and the keyboard layout turned into the exact list of key
// events that types it, followed by the scheme's end-of-line key.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kt {

// Virtual keys the plan uses itself.
enum : std::uint16_t {
    kVkTab = 0x09,
    kVkReturn = 0x0D,
    kVkShift = 0x10,
    kVkControl = 0x11,
    kVkMenu = 0x12,
};

// Shift-state bits of a key scan (the high byte of VkKeyScanA).
enum : std::uint8_t { kScanShift = 1, kScanCtrl = 2, kScanAlt = 4 };

struct KeyEvent {
    bool unicode = false;     // true: a character event carrying `unit` (VK_PACKET)
    std::uint16_t code = 0;   // the virtual key, or the UTF-16 unit of a character event
    bool up = false;
    // A named key's scan code on the target's layout and whether it is one of the extended
    // keys (the cursor block); 0 sends the scan code the program has always sent.
    std::uint16_t scan = 0;
    bool extended = false;

    bool operator==(const KeyEvent&) const = default;
};

// The keyboard layout as the plan needs it.
class KeyboardLayout {
public:
    virtual ~KeyboardLayout() = default;
    // As VkKeyScanA: low byte the virtual key, high byte the shift state (kScanShift,
    // kScanCtrl, kScanAlt; Ctrl+Alt stands for AltGr); -1 when no key gives the character.
    virtual std::int16_t KeyScan(unsigned char c) const = 0;
    // True when the key, pressed in the shift state of `keyScan` (as KeyScan returns it), is a
    // dead key: it combines with the next character instead of typing its own.
    virtual bool IsDeadKey(std::int16_t keyScan) const = 0;
    // The character of a code-page byte in UTF-16; empty when the code page has none.
    virtual std::u16string ToUtf16(unsigned char c) const = 0;
    // The other direction: what the key gives, pressed in the shift state of `keyScan`, as
    // the layout turns it into characters (empty for a dead key or none), asked without
    // disturbing a dead key pending in the user's typing.
    virtual std::u16string KeyText(std::int16_t keyScan) const = 0;
    // True when Caps Lock turns the key, in the shift state of `keyScan`, into the other case
    // (as Shift would). Letter keys, unless a layout knows better.
    virtual bool CapsLockShifts(std::int16_t keyScan) const {
        const int vk = keyScan & 0xFF;
        return vk >= 'A' && vk <= 'Z';
    }
    // The scan code of a virtual key on this layout; 0 when unknown.
    virtual std::uint16_t ScanCode(std::uint16_t /*vk*/) const { return 0; }
};

// Key events for one character: its key, with Shift around it when the layout needs Shift,
// or a character event when the layout has no plain key for it: no key at all, a dead key,
// a key that needs Ctrl, Alt or AltGr, or a key that the layout, asked the other way round,
// does not confirm gives exactly that character, or a layout without the Latin letters (the
// target may be typing with the Latin layout that goes with it). Injected Ctrl and Alt are not AltGr everywhere (under
// Wine they never are) and on any system may fire the target's shortcuts, so the characters
// behind them go as themselves. With Caps Lock on, Shift is inverted for the keys Caps Lock
// affects, so the character still arrives as is.
void PlanCharacter(unsigned char c, const KeyboardLayout& layout, std::vector<KeyEvent>& out,
                   bool capsLock = false);

// The same for one character (a code point): one of the code page by its byte, as above, any
// other as character events (a surrogate pair beyond the Basic Multilingual Plane).
void PlanCodePoint(char32_t c, const KeyboardLayout& layout, std::vector<KeyEvent>& out, bool capsLock = false);

// The key strokes for a button: one per character (code point) of the UTF-8 `text`, in order, then one for the end-of-line key when there is one: Enter for
// index 1, Tab for 2. A stroke is what goes in at once when the typing is slowed down.
struct TypingStrokes {
    std::vector<std::vector<KeyEvent>> strokes;
    std::size_t characters = 0;  // the counted strokes before the end-of-line key
    // Strokes before the first counted one (an empty stroke that waits out the pause a keys
    // text starts with), and whether the count is of keys (a keys text: "{TAB 3}" presses three
    // keys) rather than of the text's characters.
    std::size_t uncounted = 0;
    bool countsKeys = false;
    // Milliseconds to wait after each stroke (as many as strokes), for a plan that sets its
    // own pace (keys in braces); empty: the key delay after every stroke.
    std::vector<unsigned> pauses;
};
TypingStrokes PlanStrokes(std::string_view text, const KeyboardLayout& layout, int eol,
                          bool capsLock = false);

// The same strokes as one burst.
std::vector<KeyEvent> Flatten(const TypingStrokes& strokes);
std::vector<KeyEvent> PlanTyping(std::string_view text, const KeyboardLayout& layout, int eol,
                                 bool capsLock = false);

}  // namespace kt
