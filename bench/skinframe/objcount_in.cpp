// Loaded into a process by ktobjects: counts that process's USER objects of one kind by asking
// about every handle index (a handle with a zero upper word names whatever lives at its index).
#include <windows.h>

namespace {

constexpr UINT_PTR kFirstHandle = 0x20;
constexpr UINT_PTR kLastHandle = 0xfffe;

bool OwnWindow(HANDLE h) {
    DWORD pid = 0;
    return IsWindow(static_cast<HWND>(h)) && GetWindowThreadProcessId(static_cast<HWND>(h), &pid) &&
           pid == GetCurrentProcessId();
}

bool IconOrCursor(HANDLE h) {
    ICONINFO info{};
    if (!GetIconInfo(static_cast<HICON>(h), &info)) return false;
    if (info.hbmMask) DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    return true;
}

}  // namespace

// kind: 0 windows, 1 menus, 2 icons and cursors, 3 accelerator tables.
extern "C" __declspec(dllexport) DWORD WINAPI CountUserObjects(void* kind) {
    DWORD n = 0;
    for (UINT_PTR i = kFirstHandle; i <= kLastHandle; i += 2) {
        HANDLE h = reinterpret_cast<HANDLE>(i);
        switch (reinterpret_cast<UINT_PTR>(kind)) {
            case 0: n += OwnWindow(h); break;
            case 1: n += IsMenu(static_cast<HMENU>(h)) != FALSE; break;
            case 2: n += IconOrCursor(h); break;
            case 3: n += CopyAcceleratorTableW(static_cast<HACCEL>(h), nullptr, 0) > 0; break;
        }
    }
    return n;
}
