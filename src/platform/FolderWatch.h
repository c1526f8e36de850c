// A watch on one folder: files added, removed, renamed or written there. A thread of its own
// waits on the system's change notification and hands each change to the thread that started
// the watch, through a message to a hidden window: `changed` runs there, between the window
// messages. Changes that come while one is still on its way are handed over once.
//
// Notifications can fail: the folder is deleted (and perhaps made again), or a share sends
// none. So the thread also looks at the folder's entries every kPollMs; a difference that no
// notification announced is handed over as a change, a folder made anew is watched anew, and a
// folder whose notifications cannot be had at all is followed by these looks alone
// (`polling` is told once, on the window's thread).
#pragma once
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

namespace kt {

class FolderWatch {
public:
    static constexpr DWORD kPollMs = 1000;

    FolderWatch() = default;
    ~FolderWatch() { Stop(); }
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;

    // Watches `folder` (its entries, not its sub-folders' content), also while it is missing.
    // False when no thread could be started: nothing runs.
    bool Start(const std::string& folder, std::function<void()> changed,
               std::function<void(const std::string& folder)> polling = {});
    void Stop();
    bool Active() const { return thread_ != nullptr; }
    const std::string& Folder() const { return folder_; }

private:
    static DWORD WINAPI Run(void* self);
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void Post(UINT message);
    std::string folder_;
    std::function<void()> changed_;
    std::function<void(const std::string&)> polling_;
    HANDLE change_ = INVALID_HANDLE_VALUE;
    FILETIME created_{};    // the folder's creation time: made anew, it is watched anew
    std::uint64_t seen_ = 0;  // the last look at the folder (0: no folder)
    HANDLE stop_ = nullptr;
    HANDLE thread_ = nullptr;
    HWND window_ = nullptr;
    std::atomic<bool> posted_{false};
};

}  // namespace kt
