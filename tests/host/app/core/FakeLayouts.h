// Keyboard layouts as tables, for planning and replaying key events without a system.
#pragma once
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "app/core/TypingPlan.h"

namespace kt::test {

// A layout given as character -> key scan, with a set of dead keys, over a Windows code page
// (the system's converter decides what each byte means). Replay() plays key events the way
// the system turns them into characters.
class TableLayout : public KeyboardLayout {
public:
    explicit TableLayout(const char* codePage = "CP1252") : codePage_(codePage) {}
    std::int16_t KeyScan(unsigned char c) const override;
    bool IsDeadKey(std::int16_t keyScan) const override { return dead_.count(keyScan) != 0; }
    std::u16string ToUtf16(unsigned char c) const override;
    std::uint16_t ScanCode(std::uint16_t vk) const override;
    // The character the key gives, with or without Shift; empty when none.
    std::u16string KeyCharacter(std::uint16_t vk, bool shift) const;
    // What the key types in that state, as Replay() plays it.
    std::u16string KeyText(std::int16_t keyScan) const override;

    // The characters that arrive in a window when the events are played on this layout.
    // Throws on unbalanced events, and on a key pressed while Ctrl or Alt is down: injected,
    // those are a shortcut for the target (and under Wine never AltGr), not a character.
    std::u16string Replay(const std::vector<KeyEvent>& events) const;
    // The text of a code-page string, as the scheme file means it.
    std::u16string Decode(std::string_view bytes) const;
    // The same text in UTF-8, as the program holds it.
    std::string Text(std::string_view bytes) const;

protected:
    void Add(unsigned char c, std::uint8_t vk, std::uint8_t state = 0);
    // a-z plain and A-Z with Shift on the keys of their names.
    void AddLatinLetters();
    // Marks the key of character c, in the state that types it, as dead.
    void Dead(unsigned char c) { dead_.insert(KeyScan(c)); }
    // Set-1 scan codes of a PC keyboard whose letter rows carry these virtual keys.
    void AddScanCodes(const char* top, const char* middle, const char* bottom);
    // The key, in that state, types c, whatever KeyScan names for c (a layout that answers
    // the two directions differently).
    void Types(std::uint8_t vk, std::uint8_t state, unsigned char c) {
        reverse_[static_cast<std::int16_t>(vk | (state << 8))] = c;
    }

private:
    const char* codePage_;
    std::map<unsigned char, std::int16_t> scan_;
    std::map<std::int16_t, unsigned char> reverse_;
    std::set<std::int16_t> dead_;
    std::map<std::uint16_t, std::uint16_t> scanCodes_;
};

class UsLayout : public TableLayout {
public:
    UsLayout();
};

// German: QWERTZ, AltGr characters, dead ^ and the accent key (´ and `).
class GermanLayout : public TableLayout {
public:
    GermanLayout();
};

// French: AZERTY, digits with Shift, @ # { } [ ] behind AltGr, dead ^ and ¨.
class FrenchLayout : public TableLayout {
public:
    FrenchLayout();
};

// Czech (Windows-1250): QWERTZ, accented letters on the digit row and digits with Shift,
// @ { } [ ] behind AltGr, dead ˇ and ´.
class CzechLayout : public TableLayout {
public:
    CzechLayout();
};

// Russian (Windows-1251): Cyrillic letters on the letter keys; Latin letters and @ have no key.
class RussianLayout : public TableLayout {
public:
    RussianLayout();
};

// Greek (Windows-1253) as Wine answers with the X layouts "gr,us": Greek letters on the
// letter keys, ";" and ":" on one key, no Latin letters.
class GreekLayout : public TableLayout {
public:
    GreekLayout();
};

}  // namespace kt::test
