// Keys in braces: a button whose text names keys, combinations and pauses.
#include "app/ButtonFormDialog.h"
#include "app/core/KeySequence.h"
#include "platform/KeyInjector.h"
#include "platform/Win32KeyboardLayout.h"

namespace kt {

void TButtonForm::SendKeysText(int k) {
    const std::size_t i = static_cast<std::size_t>(k - 1);
    // The whole text is read before anything goes: a text written by hand that does not
    // parse types nothing at all.
    const KeySequence sequence = ParseKeySequence(i < ListBoxText.size() ? ListBoxText[i] : std::string());
    if (!sequence.Ok()) {
        TellUser(KeySequenceRefusal(i < ListBoxCaption.size() ? ListBoxCaption[i] : std::string(), sequence));
        return;
    }
    Win32KeyboardLayout keyboard(GetKeyboardLayout(TargetThread));
    Win32KeyInjector injector;
    const unsigned delay = KeyDelay > 0 ? static_cast<unsigned>(KeyDelay) : 0u;
    TypingStrokes plan = PlanKeySequence(sequence, keyboard, RadioGroupEOL, delay, injector.CapsLockOn());
    const bool timed = NeedsTimedTyping(plan, delay);
    TypePlan(std::move(plan), timed);
}

}  // namespace kt
