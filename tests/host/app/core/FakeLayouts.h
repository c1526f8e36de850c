// Keyboard layouts as tables, for planning and replaying key events without a system.
#pragma once
#include <map>
#include <set>
#include <string>

#include "app/core/TypingPlan.h"

namespace kt::test {

// A layout given as character -> key scan, with a set of dead keys; the code page is
// Windows-1252. Replay() plays key events the way the system turns them into characters.
class TableLayout : public KeyboardLayout {
public:
    std::int16_t KeyScan(unsigned char c) const override;
    bool IsDeadKey(std::int16_t keyScan) const override { return dead_.count(keyScan) != 0; }
    std::u16string ToUtf16(unsigned char c) const override;

    // The characters that arrive in a window when the events are played on this layout.
    // Fails the calling test (via the returned text) on unbalanced or stray events.
    std::u16string Replay(const std::vector<KeyEvent>& events) const;

protected:
    void Add(unsigned char c, std::uint8_t vk, std::uint8_t state = 0);
    // Marks the key of character c, in the state that types it, as dead.
    void Dead(unsigned char c) { dead_.insert(KeyScan(c)); }

private:
    std::map<unsigned char, std::int16_t> scan_;
    std::map<std::int16_t, unsigned char> reverse_;
    std::set<std::int16_t> dead_;
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

}  // namespace kt::test
