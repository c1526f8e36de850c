// Letting the test's windows work while a test waits, through the program's message loop.
#pragma once
#include <windows.h>

#include <functional>

#include "ui/Application.h"

namespace kt::test_support {

// Handles every message queued now.
inline void Pump() { ui::TApplication::Instance().ProcessMessages(); }

// Only for letting the window system settle, never before checking that nothing happened.
inline void PumpFor(DWORD ms) {
    for (const DWORD start = GetTickCount(); GetTickCount() - start < ms; Sleep(1)) Pump();
}

// Until `done` holds (true) or `ms` have passed (false).
inline bool PumpUntil(const std::function<bool()>& done, DWORD ms = 3000) {
    for (const DWORD start = GetTickCount();; Sleep(2)) {
        Pump();
        if (done()) return true;
        if (GetTickCount() - start > ms) return false;
    }
}

}  // namespace kt::test_support
