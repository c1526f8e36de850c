// A watch on one folder: files added, removed, renamed or written there. A thread of its own
// waits on the system's change notification (no polling, never on a window's thread) and
// hands each change to the thread that started the watch, through a message to a hidden
// window: `changed` runs there, between the window messages. Changes that come while one is
// still on its way are handed over once.
#pragma once
#include <windows.h>

#include <atomic>
#include <functional>
#include <string>

namespace kt {

class FolderWatch {
public:
    FolderWatch() = default;
    ~FolderWatch() { Stop(); }
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;

    // Watches `folder` (its entries, not its sub-folders' content). False when the system
    // cannot watch it (missing folder, a share that offers no notifications): nothing runs.
    bool Start(const std::string& folder, std::function<void()> changed);
    void Stop();
    bool Active() const { return thread_ != nullptr; }
    const std::string& Folder() const { return folder_; }

private:
    static DWORD WINAPI Run(void* self);
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    std::string folder_;
    std::function<void()> changed_;
    HANDLE change_ = INVALID_HANDLE_VALUE;
    HANDLE stop_ = nullptr;
    HANDLE thread_ = nullptr;
    HWND window_ = nullptr;
    std::atomic<bool> posted_{false};
};

}  // namespace kt
