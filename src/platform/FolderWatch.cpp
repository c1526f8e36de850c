#include "platform/FolderWatch.h"

namespace kt {

namespace {
constexpr UINT kFolderChanged = WM_APP + 0x36;
constexpr const char* kWindowClass = "KetravoFolderWatch";
}  // namespace

bool FolderWatch::Start(const std::string& folder, std::function<void()> changed) {
    Stop();
    change_ = FindFirstChangeNotificationA(folder.c_str(), FALSE,
                                           FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME |
                                               FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE);
    if (change_ == INVALID_HANDLE_VALUE) return false;
    static const ATOM atom = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = WindowProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = kWindowClass;
        return RegisterClassA(&wc);
    }();
    (void)atom;
    window_ = CreateWindowExA(0, kWindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleA(nullptr),
                              nullptr);
    stop_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!window_ || !stop_) {
        Stop();
        return false;
    }
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    folder_ = folder;
    changed_ = std::move(changed);
    posted_ = false;
    thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
    if (!thread_) {
        Stop();
        return false;
    }
    return true;
}

void FolderWatch::Stop() {
    if (thread_) {
        SetEvent(stop_);
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
        thread_ = nullptr;
    }
    if (stop_) CloseHandle(stop_), stop_ = nullptr;
    if (change_ != INVALID_HANDLE_VALUE) FindCloseChangeNotification(change_), change_ = INVALID_HANDLE_VALUE;
    // A change still on its way finds no watch: the window goes with its messages.
    if (window_) DestroyWindow(window_), window_ = nullptr;
    changed_ = nullptr;
}

DWORD WINAPI FolderWatch::Run(void* self) {
    auto* watch = static_cast<FolderWatch*>(self);
    const HANDLE waits[2] = {watch->stop_, watch->change_};
    for (;;) {
        const DWORD woke = WaitForMultipleObjects(2, waits, FALSE, INFINITE);
        if (woke != WAIT_OBJECT_0 + 1) return 0;  // stopped, or the notification failed
        if (!watch->posted_.exchange(true)) PostMessageA(watch->window_, kFolderChanged, 0, 0);
        if (!FindNextChangeNotification(watch->change_)) return 0;
    }
}

LRESULT CALLBACK FolderWatch::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kFolderChanged) {
        auto* watch = reinterpret_cast<FolderWatch*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        if (watch) {
            watch->posted_ = false;
            // A copy: the handler may stop or restart this watch.
            if (std::function<void()> changed = watch->changed_) changed();
        }
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace kt
