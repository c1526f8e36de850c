// Key injection and the target window over Win32, for the typing engine.
#pragma once
#include <windows.h>

#include <vector>

#include "app/core/TypingEngine.h"

namespace kt {

// Every key event the program types carries this extra information, so the program can tell
// its own key strokes from the user's and never act on one that reached its own windows.
inline constexpr ULONG_PTR kTypedKeyTag = 0x4B54594Eu;

class Win32KeyInjector : public KeyInjector {
public:
    unsigned HeldModifiers() const override;
    // Whether Caps Lock is on for the user's typing now.
    bool CapsLockOn() const;
    // One SendInput call, so the user's own key strokes cannot come in between.
    bool Send(const std::vector<KeyEvent>& burst) override;
    void SendReleases(const std::vector<KeyEvent>& keys) override { Insert(keys); }
    // The events of the last Send that the system took, and how many it was given: fewer
    // when something (another program blocking input, a window of higher rights) refused them.
    std::size_t LastInserted() const { return lastInserted_; }
    std::size_t LastGiven() const { return lastGiven_; }

private:
    // One SendInput call: the number of events the system took.
    static std::size_t Insert(const std::vector<KeyEvent>& burst);
    std::size_t lastInserted_ = 0, lastGiven_ = 0;
};

class Win32TypingTarget : public TypingTarget {
public:
    // `thread`: the thread that owned the target when it was captured; a handle that now
    // belongs to another thread is a new window that reused the number. `self`: the
    // program's own window, which is never a target.
    Win32TypingTarget(HWND target, DWORD thread, HWND self) : target_(target), thread_(thread), self_(self) {}
    bool Exists() const override;
    bool IsMinimised() const override;
    void Restore() override;
    void BringToFront() override;
    bool HasKeyboardFocus() const override;

private:
    HWND target_;
    DWORD thread_;
    HWND self_;
};

class Win32TypingClock : public TypingClock {
public:
    std::uint64_t NowMs() const override;
    void SleepMs(unsigned ms) override { Sleep(ms); }
};

// Installs, for the calling thread, a filter that turns every key message carrying
// kTypedKeyTag into WM_NULL before it is handled: a typed key that lands in one of the
// program's own windows (it lost the race for the focus) can then never press its buttons.
void InstallTypedKeyFilter();

}  // namespace kt
