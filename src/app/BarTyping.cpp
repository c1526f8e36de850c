// The target window and the typing: Ctrl+T captures the window in front, a scheme button
// brings it back and types the button's text into it.
#include "app/ButtonFormDialog.h"
#include "app/core/BarLayout.h"
#include "app/core/TypingEngine.h"
#include "app/core/TypingPlan.h"
#include "config/ConfigWindow.h"
#include "core/MessageService.h"
#include "platform/KeyInjector.h"
#include "platform/Win32KeyboardLayout.h"

namespace kt {

namespace {
constexpr int kHotKeyId = 1;
constexpr UINT kKeyT = 0x54;

BOOL CALLBACK RefuseActivation(HWND h, LPARAM changed) {
    const LONG ex = GetWindowLongA(h, GWL_EXSTYLE);
    if (IsWindowVisible(h) && !(ex & WS_EX_NOACTIVATE)) {
        SetWindowLongA(h, GWL_EXSTYLE, ex | WS_EX_NOACTIVATE);
        reinterpret_cast<std::vector<HWND>*>(changed)->push_back(h);
    }
    return TRUE;
}
}  // namespace

void TButtonForm::RegisterTypingHotKey() {
    InstallTypedKeyFilter();
    if (!RegisterHotKey(Handle(), kHotKeyId, MOD_CONTROL, kKeyT))
        ShowMessage("ERROR: Unable to assign Ctrl+T as the hotkey.");
}

bool TButtonForm::IsSchemeButton(HWND hwnd) {
    if (!hwnd) return false;
    for (ui::TButton* b : RuntimeButton)
        if (b && b->HandleAllocated() && b->Handle() == hwnd) return true;
    return false;
}

bool TButtonForm::SchemeButtonUnderCursor() {
    POINT p;
    if (!GetCursorPos(&p)) return false;
    return IsSchemeButton(WindowFromPoint(p));
}

void TButtonForm::SetTakesActivation(bool takes) {
    // A click on a scheme button must leave the target in front, as an on-screen keyboard
    // does: while the pointer is over one, the program's windows refuse activation, so
    // neither the system nor the window manager moves the focus to one of them (offered the
    // focus by a click, a window that declines passes it to another window of its program
    // that accepts).
    if (takes) {
        for (HWND h : refusingActivation_)
            if (IsWindow(h)) SetWindowLongA(h, GWL_EXSTYLE, GetWindowLongA(h, GWL_EXSTYLE) & ~WS_EX_NOACTIVATE);
        refusingActivation_.clear();
        return;
    }
    if (!refusingActivation_.empty()) return;
    EnumThreadWindows(GetCurrentThreadId(), RefuseActivation, reinterpret_cast<LPARAM>(&refusingActivation_));
}

void TButtonForm::WndProc(ui::TMessage& m) {
    switch (m.Msg) {
        case WM_HOTKEY:
            if (m.WParam == kHotKeyId) {
                TargetWindow = GetForegroundWindow();
                TargetThread = GetWindowThreadProcessId(TargetWindow, nullptr);
            }
            m.Result = 0;
            return;
        case WM_SHOWWINDOW:
            // The icon is in place before the bar is first seen: a stand-in tray window that
            // appeared after the bar would take the activation from it.
            if (m.WParam) FinishNotificationIcon();
            break;
        case kTrayIconMessage:
            TrayIconMessage(m.LParam);
            m.Result = 0;
            return;
        case WM_QUERYENDSESSION:
            // The session may end only once unsaved button edits are saved or given up.
            m.Result = ConfigWindowLetsProgramEnd() ? TRUE : FALSE;
            return;
        case WM_SETCURSOR:
            SetTakesActivation(!IsSchemeButton(reinterpret_cast<HWND>(m.WParam)));
            break;
        case WM_MOUSEACTIVATE:
            // Also asked when the window manager offers the focus on a click: the pointer
            // then tells where the click is.
            if (SchemeButtonUnderCursor()) {
                SetTakesActivation(false);
                m.Result = MA_NOACTIVATE;
                return;
            }
            SetTakesActivation(true);
            break;
    }
    ui::TForm::WndProc(m);
}

void TButtonForm::HookSchemeButton(ui::TButton* button) {
    // A push button takes the focus when pressed, which would activate the bar; while the bar
    // is not in front the scheme button follows the mouse itself and only clicks.
    auto previous = button->WindowProc;
    button->WindowProc = [this, button, previous](ui::TMessage& m) {
        const HWND h = button->Handle();
        auto pointerInside = [&] {
            POINT p{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
            RECT r;
            GetClientRect(h, &r);
            return PtInRect(&r, p) != FALSE;
        };
        switch (m.Msg) {
            case WM_LBUTTONDOWN:
            case WM_LBUTTONDBLCLK:
                if (GetForegroundWindow() == Handle()) break;
                SetCapture(h);
                SendMessageA(h, BM_SETSTATE, TRUE, 0);
                pressedButton_ = button;
                m.Result = 0;
                return;
            case WM_MOUSEMOVE:
                if (pressedButton_ != button) break;
                SendMessageA(h, BM_SETSTATE, pointerInside(), 0);
                m.Result = 0;
                return;
            case WM_LBUTTONUP: {
                if (pressedButton_ != button) break;
                const bool inside = pointerInside();
                pressedButton_ = nullptr;
                ReleaseCapture();
                SendMessageA(h, BM_SETSTATE, FALSE, 0);
                m.Result = 0;
                if (inside) button->Click();
                return;
            }
            case ui::CM_MOUSELEAVE:
                // Off the buttons the bar is an ordinary window again.
                if (!pressedButton_) SetTakesActivation(true);
                break;
            case WM_CAPTURECHANGED:
                if (pressedButton_ == button && reinterpret_cast<HWND>(m.LParam) != h) {
                    pressedButton_ = nullptr;
                    SendMessageA(h, BM_SETSTATE, FALSE, 0);
                }
                break;
        }
        previous(m);
    };
}

void TButtonForm::ForgetSchemeButton(ui::TButton* button) {
    if (pressedButton_ == button) {
        pressedButton_ = nullptr;
        if (GetCapture() && GetCapture() == button->Handle()) ReleaseCapture();
    }
}

void TButtonForm::RuntimeButtonClick(ui::TButton* sender) {
    // A click that arrives while a burst is being prepared (the wait for the focus) is the
    // user's impatience or a stray key: one burst at a time.
    if (typing_) return;
    Win32TypingTarget target(TargetWindow, TargetThread, Handle());
    if (!target.Exists()) {
        // Ctrl+T pressed with the bar in front brings the bar forward with the message.
        if (TargetWindow == Handle()) SetForegroundWindow(Handle());
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
    HKL layout = GetKeyboardLayout(TargetThread);
    Win32KeyboardLayout keyboard(layout);
    Win32KeyInjector injector;
    const std::vector<KeyEvent> plan = PlanTyping(text, keyboard, RadioGroupEOL, injector.CapsLockOn());
    Win32TypingTarget target(TargetWindow, TargetThread, Handle());
    Win32TypingClock clock;
    typing_ = true;
    const TypingOutcome outcome = TypeIntoTarget(target, injector, clock, plan);
    typing_ = false;
    switch (outcome) {
        case TypingOutcome::Typed:
            break;
        case TypingOutcome::NoTarget:
            ShowMessage("Press Ctrl+T on the Window where you want the typing to appear. Target window: " +
                        std::to_string(reinterpret_cast<ULONG_PTR>(TargetWindow)));
            break;
        case TypingOutcome::NotInFront:
            ShowMessage("The target window did not come to the front, so nothing was typed. "
                        "Click into it, press Ctrl+T and try again.");
            break;
        case TypingOutcome::NotSent:
            ShowMessage("The keystrokes could not be sent to the target window, so nothing was typed.");
            break;
    }
}

}  // namespace kt
