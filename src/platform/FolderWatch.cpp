#include "platform/FolderWatch.h"

#include <cstdint>

#include "platform/WidePaths.h"

namespace kt {

namespace {
constexpr UINT kFolderChanged = WM_APP + 0x36;
constexpr UINT kFolderPolled = WM_APP + 0x37;
constexpr const char* kWindowClass = "KetravoFolderWatch";
// After a look found a difference, how long a notification may still be on its way before the
// notifications count as missing.
constexpr DWORD kLateNotificationMs = 500;

constexpr DWORD kWatched = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME | FILE_NOTIFY_CHANGE_SIZE |
                           FILE_NOTIFY_CHANGE_LAST_WRITE;

// What a look at the folder sees: the folder itself (made anew has another creation time) and
// each entry's name, size and last write time, folded into one number.
std::uint64_t LookAt(const std::string& folder) {
    WIN32_FILE_ATTRIBUTE_DATA self;
    if (!GetFileAttributesExW(OpenablePath(folder).c_str(), GetFileExInfoStandard, &self) ||
        !(self.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return 0;  // no folder
    std::uint64_t h = 1469598103934665603ull;
    auto mix = [&h](const void* data, std::size_t size) {
        for (std::size_t i = 0; i < size; ++i) h = (h ^ static_cast<const unsigned char*>(data)[i]) * 1099511628211ull;
    };
    mix(&self.ftCreationTime, sizeof self.ftCreationTime);
    WIN32_FIND_DATAW entry;
    const HANDLE find = FindFirstFileW(OpenablePath(folder + "\\*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return h;
    do {
        mix(entry.cFileName, (lstrlenW(entry.cFileName) + 1) * sizeof(wchar_t));
        mix(&entry.nFileSizeLow, sizeof entry.nFileSizeLow);
        mix(&entry.nFileSizeHigh, sizeof entry.nFileSizeHigh);
        mix(&entry.ftLastWriteTime, sizeof entry.ftLastWriteTime);
    } while (FindNextFileW(find, &entry));
    FindClose(find);
    return h;
}

// The creation time alone: the same folder, or one made anew under its name.
bool SameFolder(const std::string& folder, FILETIME& created) {
    WIN32_FILE_ATTRIBUTE_DATA self;
    if (!GetFileAttributesExW(OpenablePath(folder).c_str(), GetFileExInfoStandard, &self)) return false;
    const bool same = CompareFileTime(&self.ftCreationTime, &created) == 0;
    created = self.ftCreationTime;
    return same;
}
}  // namespace

bool FolderWatch::Start(const std::string& folder, std::function<void()> changed,
                        std::function<void(const std::string&)> polling) {
    Stop();
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
    polling_ = std::move(polling);
    posted_ = false;
    // Armed and looked at before Start returns: a change right after it is never missed.
    change_ = FindFirstChangeNotificationW(OpenablePath(folder).c_str(), FALSE, kWatched);
    created_ = FILETIME{};
    SameFolder(folder, created_);
    seen_ = LookAt(folder);
    // A folder that is there but offers no notifications (a share that sends none).
    if (change_ == INVALID_HANDLE_VALUE && seen_ != 0) Post(kFolderPolled);
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
    polling_ = nullptr;
}

void FolderWatch::Post(UINT message) {
    if (message == kFolderChanged && posted_.exchange(true)) return;
    PostMessageA(window_, message, 0, 0);
}

DWORD WINAPI FolderWatch::Run(void* self) {
    auto* watch = static_cast<FolderWatch*>(self);
    const std::string folder = watch->folder_;
    HANDLE& change = watch->change_;  // Stop closes it once this thread has ended
    FILETIME& created = watch->created_;
    std::uint64_t& seen = watch->seen_;
    bool pollingTold = change == INVALID_HANDLE_VALUE && seen != 0;
    auto arm = [&] {
        if (change != INVALID_HANDLE_VALUE) FindCloseChangeNotification(change);
        change = FindFirstChangeNotificationW(OpenablePath(folder).c_str(), FALSE, kWatched);
        SameFolder(folder, created);
    };
    auto tellPolling = [&] {
        if (!pollingTold) watch->Post(kFolderPolled);
        pollingTold = true;
    };
    bool notified = false;  // a notification came since the last look
    int missed = 0;         // differences that no notification announced
    auto onNotified = [&] {
        notified = true;
        missed = 0;
        watch->Post(kFolderChanged);
        if (!FindNextChangeNotification(change)) {
            FindCloseChangeNotification(change);
            change = INVALID_HANDLE_VALUE;
        }
    };
    for (;;) {
        const HANDLE waits[2] = {watch->stop_, change};
        const DWORD count = change != INVALID_HANDLE_VALUE ? 2 : 1;
        const DWORD woke = WaitForMultipleObjects(count, waits, FALSE, kPollMs);
        if (woke == WAIT_OBJECT_0) break;
        if (woke == WAIT_OBJECT_0 + 1) {
            onNotified();
            continue;
        }
        if (woke == WAIT_FAILED && change != INVALID_HANDLE_VALUE) {
            FindCloseChangeNotification(change);
            change = INVALID_HANDLE_VALUE;
        }
        // A look of our own, after a second without notifications: the folder may be gone,
        // made anew, or changed without a word.
        const std::uint64_t now = LookAt(folder);
        const bool remade = now != 0 && !SameFolder(folder, created);
        if (notified && !remade) {
            notified = false;
            seen = now;
            continue;
        }
        notified = false;
        if (now == seen) continue;
        // A folder deleted or made anew is no sign against its notifications.
        if (change != INVALID_HANDLE_VALUE && !remade && now != 0) {
            if (WaitForSingleObject(change, kLateNotificationMs) == WAIT_OBJECT_0) {
                onNotified();
                continue;
            }
            // Twice unannounced: this folder's notifications cannot be relied on.
            if (++missed >= 2) tellPolling();
        }
        seen = now;
        if (now == 0) {
            if (change != INVALID_HANDLE_VALUE) FindCloseChangeNotification(change);
            change = INVALID_HANDLE_VALUE;
        } else if (change == INVALID_HANDLE_VALUE || remade) {
            arm();
            missed = 0;
        }
        watch->Post(kFolderChanged);
    }
    return 0;
}

LRESULT CALLBACK FolderWatch::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kFolderChanged || msg == kFolderPolled) {
        auto* watch = reinterpret_cast<FolderWatch*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        if (!watch) return 0;
        if (msg == kFolderPolled) {
            if (std::function<void(const std::string&)> polling = watch->polling_) polling(watch->folder_);
            return 0;
        }
        watch->posted_ = false;
        // A copy: the handler may stop or restart this watch.
        if (std::function<void()> changed = watch->changed_) changed();
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace kt
