// What the program's two ways of naming a key share (the capture key's "Ctrl+PageUp" and the
// braces' "{PGUP}"): the virtual keys they name, the function-key numbers and a comparison
// that ignores case. Each keeps its own spellings.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "app/core/TypingPlan.h"  // kVkTab, kVkReturn and the modifier keys

namespace kt {

enum : std::uint16_t {
    kVkBack = 0x08,
    kVkPause = 0x13,
    kVkEscape = 0x1B,
    kVkSpace = 0x20,
    kVkPageUp = 0x21,
    kVkPageDown = 0x22,
    kVkEnd = 0x23,
    kVkHome = 0x24,
    kVkLeft = 0x25,
    kVkUp = 0x26,
    kVkRight = 0x27,
    kVkDown = 0x28,
    kVkInsert = 0x2D,
    kVkDelete = 0x2E,
    kVkNumpad0 = 0x60,  // to Numpad9 = 0x69
    kVkF1 = 0x70,       // to F24 = 0x87
};

// Equal but for the case of ASCII letters.
bool SameLetters(std::string_view a, std::string_view b);
// ASCII letters in upper case, every other byte as it is.
std::string AsciiUpper(std::string_view s);
// n of a name "F<n>" (F or f, then one or two digits, no leading zero); 0 for any other name.
int FunctionKeyNumber(std::string_view name);

}  // namespace kt
