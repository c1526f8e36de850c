#include "app/core/TypingMessages.h"

namespace kt {

std::string TypingStoppedMessage(TypingStop why, std::size_t typed, std::size_t total, bool keys) {
    const std::string count = std::to_string(typed) + " of " + std::to_string(total) +
                              (keys ? " keys were pressed." : " characters were typed.");
    switch (why) {
        case TypingStop::SwitchedAway:
            return "Typing stopped: the target window is no longer in front with the focus. " + count;
        case TypingStop::Escape:
            return "Typing stopped: Esc was pressed. " + count;
        case TypingStop::UserKey:
            return "Typing stopped: a key was pressed while Ketravo was typing. " + count;
        case TypingStop::Blocked:
            return "Windows blocked the typing: it did not take all the keystrokes. " + count;
    }
    return count;
}

std::string BurstBlockedMessage(std::size_t inserted, std::size_t given) {
    if (inserted == 0) return "Windows blocked the typing: it took none of the keystrokes, so nothing was typed.";
    return "Windows blocked the typing: it took only " + std::to_string(inserted) + " of " + std::to_string(given) +
           " key events, so only the start of the text may have arrived.";
}

std::string AdministratorWindowMessage(bool atCapture) {
    return std::string("This window runs with administrator rights. Windows does not let a program with fewer "
                       "rights type into it") +
           (atCapture ? "." : ", so nothing was typed.") +
           " To type into it, start Ketravo as administrator (right-click KTRAVO.exe, \"Run as administrator\").";
}

std::string OwnWindowCapturedMessage(const std::string& captureKey) {
    return captureKey + " was pressed in one of Ketravo's own windows, which Ketravo cannot type into. Press " +
           captureKey + " on the Window where you want the typing to appear.";
}

std::string CutTextMessage(const std::string& caption, std::size_t limit) {
    return "The text of the button \"" + caption + "\" is longer than " + std::to_string(limit) +
           " characters: only its beginning could be read from the scheme file, so nothing was typed. Shorten "
           "the text in the scheme file.";
}

}  // namespace kt
