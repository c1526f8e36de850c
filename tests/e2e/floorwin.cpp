// The smallest program that shows one window: the floor the start-up benchmark compares with.
// Built a second time with KT_COMMON_CONTROLS and the program's manifest: the same window in a
// program that loads common controls 6, as KTRAVO.exe does.
#include <windows.h>
#ifdef KT_COMMON_CONTROLS
#include <commctrl.h>
#endif

static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcA(h, m, w, l);
}

int WINAPI WinMain(HINSTANCE inst, HINSTANCE, LPSTR, int) {
#ifdef KT_COMMON_CONTROLS
    InitCommonControls();
#endif
    WNDCLASSA wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = inst;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = "FloorWindow";
    RegisterClassA(&wc);
    HWND h = CreateWindowExA(WS_EX_TOPMOST, "FloorWindow", "Floor", WS_OVERLAPPEDWINDOW, 100, 100, 204, 161, nullptr,
                             nullptr, inst, nullptr);
    ShowWindow(h, SW_SHOWNORMAL);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
