// The process's GDI and USER objects. Wine answers 0 to GetGuiResources, so there the slots of
// the handle tables are probed: a GDI handle whose upper word is 0 names whatever object lives
// at that index, and a USER handle likewise (menus, and this process's windows).
#pragma once
#include <windows.h>

#include <utility>

namespace kt::test_support {

inline DWORD GdiObjects() {
    if (DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return n;
    DWORD n = 0;
    for (UINT_PTR i = 1; i < 0x10000; ++i)
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(i))) ++n;
    return n;
}

inline DWORD UserObjects() {
    if (DWORD n = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)) return n;
    DWORD n = 0;
    const DWORD self = GetCurrentProcessId();
    for (UINT_PTR i = 0x20; i < 0x10000; i += 2) {
        if (IsMenu(reinterpret_cast<HMENU>(i))) {
            ++n;
        } else if (IsWindow(reinterpret_cast<HWND>(i))) {
            DWORD pid = 0;
            GetWindowThreadProcessId(reinterpret_cast<HWND>(i), &pid);
            n += pid == self;
        }
    }
    return n;
}

inline std::pair<DWORD, DWORD> GuiObjects() { return {GdiObjects(), UserObjects()}; }

}  // namespace kt::test_support
