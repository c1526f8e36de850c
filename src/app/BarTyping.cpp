// The target window and the typing: Ctrl+T captures the window in front, a scheme button
// brings it back and types the button's text into it.
#include "app/BarLayout.h"
#include "app/ButtonFormDialog.h"
#include "app/TypingPlan.h"
#include "core/MessageService.h"
#include "platform/KeyInjector.h"
#include "platform/Win32KeyboardLayout.h"

namespace kt {

namespace {
constexpr int kHotKeyId = 1;
constexpr UINT kKeyT = 0x54;
}  // namespace

void TButtonForm::RegisterTypingHotKey() {
    if (!RegisterHotKey(Handle(), kHotKeyId, MOD_CONTROL, kKeyT))
        ShowMessage("ERROR: Unable to assign Ctrl+T as the hotkey.");
}

void TButtonForm::WndProc(ui::TMessage& m) {
    if (m.Msg == WM_HOTKEY) {
        if (m.WParam == kHotKeyId) TargetWindow = GetForegroundWindow();
        m.Result = 0;
        return;
    }
    if (m.Msg == kTrayIconMessage) {
        TrayIconMessage(m.LParam);
        m.Result = 0;
        return;
    }
    ui::TForm::WndProc(m);
}

void TButtonForm::RuntimeButtonClick(ui::TButton* sender) {
    SetForegroundWindow(TargetWindow);
    if (!TargetWindow || TargetWindow == Handle()) {
        ShowMessage("Press Ctrl+T on the Window where you want the typing to appear. Target window: " +
                    std::to_string(reinterpret_cast<ULONG_PTR>(TargetWindow)));
        return;
    }
    int k = 0;
    for (int i = 0; i < kButtonSlots; ++i)
        if (RuntimeButton[i] == sender) k = i + 1;
    if (k == 0) return;
    SendmessageText(ButtonText(ListBoxText, k));
}

void TButtonForm::SendmessageText(const std::string& text) {
    // The layout of the target's thread decides which keys make each character.
    HKL layout = GetKeyboardLayout(GetWindowThreadProcessId(TargetWindow, nullptr));
    Win32KeyboardLayout keyboard(layout);
    SendKeyPlan(PlanTyping(text, keyboard, RadioGroupEOL));
}

}  // namespace kt
