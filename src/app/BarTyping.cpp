// The target window and the typing: Ctrl+T captures the window in front, a scheme button
// brings it back and types the button's text into it.
#include <algorithm>

#include "app/ButtonFormDialog.h"

#include <algorithm>

#include "app/core/BarLayout.h"
#include "app/core/SchemeFile.h"
#include "app/core/TargetRights.h"
#include "app/core/TypingEngine.h"
#include "app/core/TypingPlan.h"
#include "config/CaptureKeySetting.h"
#include "config/ConfigWindow.h"
#include "core/MessageService.h"
#include "platform/KeyInjector.h"
#include "platform/ProcessIntegrity.h"
#include "platform/UserKeyWatch.h"
#include "platform/Win32KeyboardLayout.h"

namespace kt {

namespace {
constexpr int kHotKeyId = 1;
constexpr UINT kNoRepeat = 0x4000;  // MOD_NOREPEAT: a held key fires once

// The key without its auto-repeat where the system knows how (Windows 7 on); the key as such
// elsewhere.
bool RegisterCaptureKey(HWND window, const CaptureKey& key) {
    return RegisterHotKey(window, kHotKeyId, key.modifiers | kNoRepeat, key.vk) ||
           RegisterHotKey(window, kHotKeyId, key.modifiers, key.vk);
}
constexpr UINT_PTR kTypingTimer = 0x4B54;
constexpr UINT_PTR kMessageTimer = 0x4B55;  // a message waiting for a menu or list to close

// A menu being tracked or a combo box's dropped list, in one of the program's windows, or the
// mouse held by one of them.
BOOL CALLBACK FindMenuOrList(HWND h, LPARAM found) {
    char cls[16] = {};
    GetClassNameA(h, cls, sizeof cls);
    if (IsWindowVisible(h) && (!lstrcmpA(cls, "#32768") || !lstrcmpiA(cls, "ComboLBox"))) {
        *reinterpret_cast<bool*>(found) = true;
        return FALSE;
    }
    return TRUE;
}

bool MenuOrListOpen() {
    bool found = false;
    EnumThreadWindows(GetCurrentThreadId(), FindMenuOrList, reinterpret_cast<LPARAM>(&found));
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    // Also while a window of the program holds the mouse (a menu being tracked, a window being
    // moved): the box would get no click until it lets go.
    if (GetGUIThreadInfo(GetCurrentThreadId(), &info) &&
        ((info.flags & (GUI_INMENUMODE | GUI_POPUPMENUMODE | GUI_INMOVESIZE)) || info.hwndCapture))
        found = true;
    return found;
}

bool ModifierHeld() {
    for (int vk : {VK_SHIFT, VK_CONTROL, VK_MENU, VK_LWIN, VK_RWIN})
        if (GetAsyncKeyState(vk) & 0x8000) return true;
    return false;
}

HHOOK g_mouseWatch = nullptr;

// Every mouse message of the program's windows, before the system acts on it (a click's
// activation included): once the pointer is on anything but a scheme button, the windows
// take activation again, so the click that follows activates them fully. A pointer that
// jumps from a scheme button straight into another window of the program tells the bar
// nothing else in time.
LRESULT CALLBACK WatchMouse(int code, WPARAM message, LPARAM l) {
    if (code == HC_ACTION && ButtonForm)
        ButtonForm->PointerOn(reinterpret_cast<MOUSEHOOKSTRUCT*>(l)->hwnd);
    return CallNextHookEx(g_mouseWatch, code, message, l);
}

BOOL CALLBACK RefuseActivation(HWND h, LPARAM changed) {
    const LONG ex = GetWindowLongA(h, GWL_EXSTYLE);
    if (IsWindowVisible(h) && !(ex & WS_EX_NOACTIVATE)) {
        SetWindowLongA(h, GWL_EXSTYLE, ex | WS_EX_NOACTIVATE);
        reinterpret_cast<std::vector<HWND>*>(changed)->push_back(h);
    }
    return TRUE;
}
}  // namespace

void TButtonForm::PointerOn(HWND window) {
    if (!refusingActivation_.empty() && !pressedButton_ && !IsSchemeButton(window)) SetTakesActivation(true);
}

void TButtonForm::RegisterTypingHotKey() {
    InstallTypedKeyFilter();
    if (!g_mouseWatch) g_mouseWatch = SetWindowsHookExA(WH_MOUSE, WatchMouse, nullptr, GetCurrentThreadId());
    CaptureWith = LoadCaptureKey(*VtRegistry1, BaseKey);
    Label1->SetCaption(CaptureInstruction(CaptureWith));
    HoldCaptureKey();
}

void TButtonForm::HoldCaptureKey() {
    if (captureKeyHeld_ || captureSuspended_ > 0) return;
    if (RegisterCaptureKey(Handle(), CaptureWith)) {
        captureKeyHeld_ = true;
        captureFailureShown_ = false;
        return;
    }
    // Said once until the bar is closed: showing the bar at start must not say it twice.
    if (captureFailureShown_) return;
    captureFailureShown_ = true;
    ShowMessage(CaptureKeyTakenMessage(CaptureWith));
}

void TButtonForm::ReleaseCaptureKey() {
    if (captureKeyHeld_) UnregisterHotKey(Handle(), kHotKeyId);
    captureKeyHeld_ = false;
    captureFailureShown_ = false;
}

bool TButtonForm::ChangeCaptureKey(const CaptureKey& key) {
    const bool held = captureKeyHeld_;
    if (held) UnregisterHotKey(Handle(), kHotKeyId);
    captureKeyHeld_ = false;
    // Tried first: a key another program holds leaves the old one in place.
    const bool free = RegisterCaptureKey(Handle(), key);
    if (free) UnregisterHotKey(Handle(), kHotKeyId);
    if (free) {
        CaptureWith = key;
        Label1->SetCaption(CaptureInstruction(CaptureWith));
    }
    if (held || (captureSuspended_ == 0 && IsWindowVisible(Handle()))) HoldCaptureKey();
    return free;
}

void TButtonForm::SuspendCaptureKey(bool suspended) {
    if (suspended) {
        if (captureSuspended_++ == 0 && captureKeyHeld_) {
            UnregisterHotKey(Handle(), kHotKeyId);
            captureKeyHeld_ = false;
        }
        return;
    }
    if (captureSuspended_ > 0 && --captureSuspended_ == 0 && IsWindowVisible(Handle())) HoldCaptureKey();
}

void TButtonForm::CaptureForeground() {
    const HWND front = GetForegroundWindow();
    DWORD process = 0;
    const DWORD thread = front ? GetWindowThreadProcessId(front, &process) : 0;
    if (front && process == GetCurrentProcessId()) {
        // The program cannot type into its own windows: refused now, not at the click.
        TargetWindow = nullptr;
        TargetThread = 0;
        TellUser(OwnWindowCapturedMessage(CaptureKeyText(CaptureWith)));
        return;
    }
    TargetWindow = front;
    TargetThread = thread;
    if (front && TargetRunsHigher(Win32ProcessRights(front))) TellUser(AdministratorWindowMessage(true));
}

void TButtonForm::TellUser(const std::string& text) {
    const auto& pending = pendingMessages_;
    if (text == shownMessage_ || std::find(pending.begin(), pending.end(), text) != pending.end()) return;
    pendingMessages_.push_back(text);
    ShowPendingMessages();
}

void TButtonForm::ShowPendingMessages() {
    // Asked from inside a box's own loop: that box closes first, then the loop below goes on.
    if (!shownMessage_.empty()) return;
    if (pendingMessages_.empty()) {
        KillTimer(Handle(), kMessageTimer);
        return;
    }
    if (MenuOrListOpen() || ModifierHeld()) {
        SetTimer(Handle(), kMessageTimer, 50, nullptr);
        return;
    }
    KillTimer(Handle(), kMessageTimer);
    while (!pendingMessages_.empty()) {
        const std::string text = pendingMessages_.front();
        pendingMessages_.erase(pendingMessages_.begin());
        shownMessage_ = text;
        ShowMessage(text);
        shownMessage_.clear();
    }
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
            if (m.WParam == kHotKeyId) CaptureForeground();
            m.Result = 0;
            return;
        case WM_TIMER:
            if (m.WParam == kTypingTimer) {
                if (strokeTyping_) TypeNextStroke();
                else KillTimer(Handle(), kTypingTimer);
                m.Result = 0;
                return;
            }
            if (m.WParam == kMessageTimer) {
                ShowPendingMessages();
                m.Result = 0;
                return;
            }
            break;
        case kDeleteRetiredMessage:
            DeleteRetiredButtons();
            m.Result = 0;
            return;
        case kUserStopMessage:
            if (strokeTyping_ && userStop_ >= 0) EndStrokeTyping(static_cast<int>(TypingOutcome::Interrupted),
                                                                 static_cast<TypingStop>(userStop_));
            m.Result = 0;
            return;
        case WM_SHOWWINDOW:
            // The icon is in place before the bar is first seen: a stand-in tray window that
            // appeared after the bar would take the activation from it.
            if (m.WParam) FinishNotificationIcon();
            // The capture key follows the bar (not a parent's minimising: lParam 0).
            if (m.LParam == 0) {
                if (m.WParam) HoldCaptureKey();
                else ReleaseCaptureKey();
            }
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
    // Its message box runs a modal loop in which the folder follow may rebuild the buttons:
    // this one stays alive until the click has returned.
    ++clicking_;
    struct Done {
        TButtonForm* bar;
        ~Done() {
            if (--bar->clicking_ == 0 && !bar->retired_.empty())
                PostMessageW(bar->Handle(), kDeleteRetiredMessage, 0, 0);
        }
    } done{this};
    Win32TypingTarget target(TargetWindow, TargetThread, Handle());
    if (!target.Exists()) {
        // Ctrl+T pressed with the bar in front brings the bar forward with the message.
        if (TargetWindow == Handle()) SetForegroundWindow(Handle());
        TellUser("Press " + CaptureKeyText(CaptureWith) +
                 " on the Window where you want the typing to appear. Target window: " +
                 std::to_string(reinterpret_cast<ULONG_PTR>(TargetWindow)));
        return;
    }
    // Windows would drop every key silently: said before anything is sent.
    if (TargetRunsHigher(Win32ProcessRights(TargetWindow))) {
        TellUser(AdministratorWindowMessage(false));
        return;
    }
    int k = 0;
    for (int i = 0; i < kButtonSlots; ++i)
        if (RuntimeButton[i] == sender) k = i + 1;
    if (k == 0) return;
    // A text read only in part would be typed as if whole: nothing goes, and the user is told.
    if (std::find(cutTexts_.begin(), cutTexts_.end(), static_cast<std::size_t>(k - 1)) != cutTexts_.end()) {
        TellUser(CutTextMessage(static_cast<std::size_t>(k - 1) < ListBoxCaption.size() ? ListBoxCaption[k - 1] : "",
                                kSchemeLineLimit));
        return;
    }
    if (static_cast<std::size_t>(k) <= ListBoxKeys.size() && ListBoxKeys[static_cast<std::size_t>(k - 1)]) {
        SendKeysText(k);
        return;
    }
    SendmessageText(ButtonText(ListBoxText, k));
}

void TButtonForm::SendmessageText(const std::string& text) {
    // The layout of the target's thread decides which keys make each character.
    HKL layout = GetKeyboardLayout(TargetThread);
    Win32KeyboardLayout keyboard(layout);
    Win32KeyInjector injector;
    TypePlan(PlanStrokes(text, keyboard, RadioGroupEOL, injector.CapsLockOn()), KeyDelay > 0);
}

void TButtonForm::TypePlan(TypingStrokes plan, bool timed) {
    Win32KeyInjector injector;
    auto target = std::make_unique<Win32TypingTarget>(TargetWindow, TargetThread, Handle());
    Win32TypingClock clock;
    typing_ = true;
    if (!timed) {
        const TypingOutcome outcome = TypeIntoTarget(*target, injector, clock, Flatten(plan));
        typing_ = false;
        if (outcome == TypingOutcome::NotSent) TellUser(BurstBlockedMessage(injector.LastInserted(), injector.LastGiven()));
        else ReportTypingOutcome(static_cast<int>(outcome));
        return;
    }
    // Slowed down: the first stroke now, each further one on the typing timer, so the bar
    // goes on answering while it types; typing_ refuses other clicks until the last stroke.
    const TypingOutcome ready = WaitForTarget(*target, clock);
    if (ready != TypingOutcome::Ready) {
        typing_ = false;
        ReportTypingOutcome(static_cast<int>(ready));
        return;
    }
    strokeTyping_ = std::make_unique<StrokeTyping>(std::move(plan));
    strokeTarget_ = std::move(target);
    // From the first stroke on, a key of the user's stops the typing before it can land
    // between typed characters; Esc stops it without reaching the target.
    userStop_ = -1;
    keyWatch_ = std::make_unique<UserKeyWatch>([this](unsigned vk) {
        if (!strokeTyping_) return false;
        const bool escape = vk == VK_ESCAPE;
        if (userStop_ < 0) {
            userStop_ = static_cast<int>(escape ? TypingStop::Escape : TypingStop::UserKey);
            KillTimer(Handle(), kTypingTimer);
            PostMessageA(Handle(), kUserStopMessage, 0, 0);
        }
        return escape;
    });
    TypeNextStroke();
}

void TButtonForm::TypeNextStroke() {
    if (userStop_ >= 0) {
        EndStrokeTyping(static_cast<int>(TypingOutcome::Interrupted), static_cast<TypingStop>(userStop_));
        return;
    }
    Win32KeyInjector injector;
    const TypingOutcome outcome = strokeTyping_->Next(*strokeTarget_, injector);
    if (outcome == TypingOutcome::Typed && !strokeTyping_->Done()) {
        // Armed anew after each stroke: a tick that came late is not made up for by one that
        // follows at once, so two strokes are never closer than the delay.
        SetTimer(Handle(), kTypingTimer, strokeTyping_->PauseBeforeNext(static_cast<unsigned>(KeyDelay)), nullptr);
        return;
    }
    EndStrokeTyping(static_cast<int>(outcome),
                    outcome == TypingOutcome::NotSent ? TypingStop::Blocked : TypingStop::SwitchedAway);
}

void TButtonForm::EndStrokeTyping(int result, TypingStop why) {
    const auto outcome = static_cast<TypingOutcome>(result);
    KillTimer(Handle(), kTypingTimer);
    keyWatch_.reset();
    userStop_ = -1;
    const std::unique_ptr<StrokeTyping> typing = std::move(strokeTyping_);
    strokeTarget_.reset();
    typing_ = false;
    if (outcome == TypingOutcome::Interrupted || outcome == TypingOutcome::NotSent) {
        TellUser(TypingStoppedMessage(why, typing->TypedCharacters(), typing->TotalCharacters(), typing->CountsKeys()));
        return;
    }
    ReportTypingOutcome(result);
}

void TButtonForm::ReportTypingOutcome(int outcome) {
    switch (static_cast<TypingOutcome>(outcome)) {
        case TypingOutcome::Typed:
        case TypingOutcome::Ready:
        case TypingOutcome::Interrupted:
            break;
        case TypingOutcome::NoTarget:
            TellUser("Press " + CaptureKeyText(CaptureWith) +
                     " on the Window where you want the typing to appear. Target window: " +
                     std::to_string(reinterpret_cast<ULONG_PTR>(TargetWindow)));
            break;
        case TypingOutcome::NotInFront:
            TellUser("The target window did not come to the front, so nothing was typed. Click into it, press " +
                     CaptureKeyText(CaptureWith) + " and try again.");
            break;
        case TypingOutcome::NotSent:
            TellUser(BurstBlockedMessage(0, 0));
            break;
    }
}

}  // namespace kt
