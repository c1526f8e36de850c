// The typing target of the end-to-end tests and the demo: one window with a multi-line edit
// box that takes the keyboard focus.
#include <windows.h>

static HWND g_edit;

static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
    switch (m) {
        case WM_CREATE:
            g_edit = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "",
                                     WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN,
                                     0, 0, 10, 10, h, reinterpret_cast<HMENU>(100), nullptr, nullptr);
            SendMessageA(g_edit, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
            // No limit: long texts must arrive whole.
            SendMessageA(g_edit, EM_LIMITTEXT, 0, 0);
            return 0;
        case WM_SIZE:
            MoveWindow(g_edit, 0, 0, LOWORD(l), HIWORD(l), TRUE);
            return 0;
        case WM_SETFOCUS:
        case WM_ACTIVATE:
            if (m == WM_SETFOCUS || LOWORD(w) != WA_INACTIVE) SetFocus(g_edit);
            return m == WM_SETFOCUS ? 0 : DefWindowProcA(h, m, w, l);
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcA(h, m, w, l);
}

int WINAPI WinMain(HINSTANCE inst, HINSTANCE, LPSTR, int) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = inst;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = "KetravoTestTarget";
    RegisterClassA(&wc);
    HWND h = CreateWindowExA(0, "KetravoTestTarget", "Ketravo Test Target", WS_OVERLAPPEDWINDOW, 60, 60, 420, 300,
                             nullptr, nullptr, inst, nullptr);
    ShowWindow(h, SW_SHOWNORMAL);
    SetForegroundWindow(h);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
