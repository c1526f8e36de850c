// The user's key presses anywhere on the desktop, while the program types slowly: a
// low-level keyboard hook that is in place only as long as a watch lives.
#pragma once
#include <windows.h>

#include <functional>

namespace kt {

// True for a key event the program injected itself (SendInput marks it injected, and the
// program tags every event it sends); every other key is the user's, or another program's
// typing on the user's behalf.
bool IsOwnTypedKey(DWORD hookFlags, ULONG_PTR extraInfo);

class UserKeyWatch {
public:
    // `onKeyDown(vk)` runs on the calling thread (it needs a message loop) for every key the
    // user presses from now on, before any window gets it; it returns true to keep the key
    // from every window (its release is kept back too, while the watch lives). Keys held
    // already when the watch starts count only once released and pressed again (no
    // auto-repeat of a held key).
    explicit UserKeyWatch(std::function<bool(unsigned vk)> onKeyDown);
    ~UserKeyWatch();
    UserKeyWatch(const UserKeyWatch&) = delete;
    UserKeyWatch& operator=(const UserKeyWatch&) = delete;
};

// True while the low-level hook is in place: from a watch's start to its end.
bool KeyWatchInstalled();

}  // namespace kt
