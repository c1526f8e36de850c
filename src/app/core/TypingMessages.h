// What the bar tells the user when a typing cannot start or stops before its end.
#pragma once
#include <cstddef>
#include <string>

namespace kt {

// Why a typing one key stroke at a time stopped before its end.
enum class TypingStop {
    SwitchedAway,  // another window came to the front, or the target closed
    Escape,        // the user pressed Esc
    UserKey,       // the user pressed another key (or Caps Lock changed)
    Blocked,       // the system took fewer key events than it was given
};

// "Typing stopped: ... 12 of 40 characters were typed." (or "keys were pressed", for a keys
// text, whose count is of keys).
std::string TypingStoppedMessage(TypingStop why, std::size_t typed, std::size_t total, bool keys = false);

// A burst the system took only in part: `inserted` of `given` key events went in.
std::string BurstBlockedMessage(std::size_t inserted, std::size_t given);

// The target runs with administrator rights (a higher integrity level than the program's):
// said when it is captured and, as nothing is typed, again at a click.
std::string AdministratorWindowMessage(bool atCapture);

// The capture key pressed in one of the program's own windows.
std::string OwnWindowCapturedMessage(const std::string& captureKey);

// A button whose text line was longer than the reader takes (`limit` characters): the text is
// not whole, so nothing of it is typed.
std::string CutTextMessage(const std::string& caption, std::size_t limit);

}  // namespace kt
