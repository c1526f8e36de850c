// The typing target of the end-to-end tests and the demo: one window with a multi-line edit
// box that takes the keyboard focus.
//   kttarget [--title TITLE] [--no-focus]
// --no-focus: the window comes to the front but never holds the keyboard focus; any key
// message it gets anyway is written into its edit box, so a test sees it.
#include <windows.h>

#include <cstring>
#include <string>

static HWND g_edit;
static bool g_noFocus;

static void Record(const char* what, WPARAM key) {
    char line[32];
    wsprintfA(line, "[%s %u]", what, static_cast<unsigned>(key));
    int n = GetWindowTextLengthA(g_edit);
    SendMessageA(g_edit, EM_SETSEL, n, n);
    SendMessageA(g_edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(line));
}

static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
    switch (m) {
        case WM_CREATE:
            g_edit = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "",
                                     WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN,
                                     0, 0, 10, 10, h, reinterpret_cast<HMENU>(100), nullptr, nullptr);
            SendMessageA(g_edit, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
            // No limit: long texts must arrive whole.
            SendMessageA(g_edit, EM_LIMITTEXT, 0, 0);
            if (g_noFocus) EnableWindow(g_edit, FALSE);
            return 0;
        case WM_SIZE:
            MoveWindow(g_edit, 0, 0, LOWORD(l), HIWORD(l), TRUE);
            return 0;
        case WM_SETFOCUS:
            if (g_noFocus) SetFocus(nullptr);
            else SetFocus(g_edit);
            return 0;
        case WM_ACTIVATE:
            if (g_noFocus) return 0;  // no focus for anything
            if (LOWORD(w) != WA_INACTIVE) SetFocus(g_edit);
            return DefWindowProcA(h, m, w, l);
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            if (g_noFocus) Record("key", w);
            break;
        case WM_CHAR:
        case WM_SYSCHAR:
            if (g_noFocus) Record("char", w);
            break;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcA(h, m, w, l);
}

int WINAPI WinMain(HINSTANCE inst, HINSTANCE, LPSTR, int) {
    std::string title = "Ketravo Test Target";
    for (int i = 1; i < __argc; ++i) {
        if (!strcmp(__argv[i], "--no-focus")) g_noFocus = true;
        if (!strcmp(__argv[i], "--title") && i + 1 < __argc) title = __argv[++i];
    }
    WNDCLASSA wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = inst;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = "KetravoTestTarget";
    RegisterClassA(&wc);
    HWND h = CreateWindowExA(0, "KetravoTestTarget", title.c_str(), WS_OVERLAPPEDWINDOW, 60, 60, 420, 300, nullptr,
                             nullptr, inst, nullptr);
    ShowWindow(h, SW_SHOWNORMAL);
    SetForegroundWindow(h);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
