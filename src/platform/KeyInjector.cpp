#include "platform/KeyInjector.h"

namespace kt {

unsigned Win32KeyInjector::HeldModifiers() const {
    static const struct {
        int vk;
        unsigned bit;
    } keys[] = {
        {VK_LSHIFT, kHeldLeftShift}, {VK_RSHIFT, kHeldRightShift}, {VK_LCONTROL, kHeldLeftControl},
        {VK_RCONTROL, kHeldRightControl}, {VK_LMENU, kHeldLeftAlt}, {VK_RMENU, kHeldRightAlt},
        {VK_LWIN, kHeldLeftWin},     {VK_RWIN, kHeldRightWin},
    };
    unsigned held = 0;
    for (const auto& k : keys)
        if (GetAsyncKeyState(k.vk) & 0x8000) held |= k.bit;
    // Some systems report only the side-neutral key.
    if (!(held & (kHeldLeftShift | kHeldRightShift)) && (GetAsyncKeyState(VK_SHIFT) & 0x8000)) held |= kHeldLeftShift;
    if (!(held & (kHeldLeftControl | kHeldRightControl)) && (GetAsyncKeyState(VK_CONTROL) & 0x8000))
        held |= kHeldLeftControl;
    if (!(held & (kHeldLeftAlt | kHeldRightAlt)) && (GetAsyncKeyState(VK_MENU) & 0x8000)) held |= kHeldLeftAlt;
    return held;
}

bool Win32KeyInjector::CapsLockOn() const { return (GetKeyState(VK_CAPITAL) & 1) != 0; }

bool Win32KeyInjector::Send(const std::vector<KeyEvent>& burst) {
    lastInserted_ = Insert(burst);
    lastGiven_ = burst.size();
    return lastInserted_ == lastGiven_;
}

std::size_t Win32KeyInjector::Insert(const std::vector<KeyEvent>& burst) {
    if (burst.empty()) return 0;
    std::vector<INPUT> inputs(burst.size());
    for (size_t i = 0; i < burst.size(); ++i) {
        inputs[i] = INPUT{};
        inputs[i].type = INPUT_KEYBOARD;
        KEYBDINPUT& k = inputs[i].ki;
        if (burst[i].unicode) {
            k.wScan = burst[i].code;
            k.dwFlags = KEYEVENTF_UNICODE;
        } else {
            k.wVk = burst[i].code;
            // A named key goes with its scan code, as from the keyboard; the characters with
            // scan code 1, which the program has always sent with them.
            k.wScan = burst[i].scan ? burst[i].scan : 1;
            if (burst[i].extended) k.dwFlags |= KEYEVENTF_EXTENDEDKEY;
        }
        if (burst[i].up) k.dwFlags |= KEYEVENTF_KEYUP;
        k.dwExtraInfo = kTypedKeyTag;
    }
    return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

bool Win32TypingTarget::Exists() const {
    return target_ && target_ != self_ && IsWindow(target_) &&
           GetWindowThreadProcessId(target_, nullptr) == thread_;
}

bool Win32TypingTarget::IsMinimised() const { return IsIconic(target_) != FALSE; }

void Win32TypingTarget::Restore() {
    // Asynchronous: a target that does not answer must not hang the bar.
    ShowWindowAsync(target_, SW_RESTORE);
}

void Win32TypingTarget::BringToFront() { SetForegroundWindow(target_); }

bool Win32TypingTarget::HasKeyboardFocus() const {
    if (GetForegroundWindow() != target_ || IsIconic(target_)) return false;
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(target_, nullptr), &info)) return false;
    return info.hwndFocus && (info.hwndFocus == target_ || IsChild(target_, info.hwndFocus));
}

std::uint64_t Win32TypingClock::NowMs() const {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<std::uint64_t>(now.QuadPart / (frequency.QuadPart / 1000));
}

namespace {
HHOOK g_filter = nullptr;

LRESULT CALLBACK TypedKeyFilter(int code, WPARAM remove, LPARAM l) {
    if (code == HC_ACTION && remove == PM_REMOVE) {
        MSG* msg = reinterpret_cast<MSG*>(l);
        if (msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST &&
            static_cast<ULONG_PTR>(GetMessageExtraInfo()) == kTypedKeyTag)
            msg->message = WM_NULL;
    }
    return CallNextHookEx(g_filter, code, remove, l);
}
}  // namespace

void InstallTypedKeyFilter() {
    if (!g_filter) g_filter = SetWindowsHookExA(WH_GETMESSAGE, TypedKeyFilter, nullptr, GetCurrentThreadId());
}

}  // namespace kt
