// Letting the test's windows work while a test waits, through the program's own message loop:
// the one helper of every Win32 test for it.
#pragma once
#include <windows.h>

#include <functional>

#include "ui/Application.h"

namespace kt::test_support {

// Handles every message queued now.
inline void Pump() { ui::TApplication::Instance().ProcessMessages(); }

// Handles messages for `ms`: only for letting the window system settle, never before checking
// that something did not happen.
inline void PumpFor(DWORD ms) {
    for (const DWORD start = GetTickCount(); GetTickCount() - start < ms; Sleep(1)) Pump();
}

// Handles messages until `done` holds or `ms` have passed; says whether it held. Activation and
// painting pass through the window manager: on a loaded machine they take a while.
inline bool PumpUntil(const std::function<bool()>& done, DWORD ms = 3000) {
    for (const DWORD start = GetTickCount();; Sleep(2)) {
        Pump();
        if (done()) return true;
        if (GetTickCount() - start > ms) return false;
    }
}

}  // namespace kt::test_support
