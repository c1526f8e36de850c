#include "platform/KeyInjector.h"

#include <windows.h>

namespace kt {

bool SendKeyPlan(const std::vector<KeyEvent>& plan) {
    if (plan.empty()) return true;
    std::vector<INPUT> inputs(plan.size());
    for (size_t i = 0; i < plan.size(); ++i) {
        KEYBDINPUT& k = inputs[i].ki;
        inputs[i].type = INPUT_KEYBOARD;
        k = KEYBDINPUT{};
        if (plan[i].unicode) {
            k.wScan = plan[i].code;
            k.dwFlags = KEYEVENTF_UNICODE;
        } else {
            k.wVk = plan[i].code;
            k.wScan = 1;  // the program has always sent scan code 1 with its key events
        }
        if (plan[i].up) k.dwFlags |= KEYEVENTF_KEYUP;
    }
    UINT sent = SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    return sent == inputs.size();
}

}  // namespace kt
